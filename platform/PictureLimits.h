#pragma once
// Bounds that keep a hostile picture file from taking unbounded memory or time.

#include <cstdint>

namespace permora {

// The largest picture (width × height) a loader accepts: 512 Mi pixels, 2 GiB as 32-bit pixels.
inline constexpr uint64_t MaxPicturePixels = uint64_t{512} * 1024 * 1024;

// The most scans a JPEG file may have; real progressive files have about ten.
inline constexpr int MaxJPEGScans = 1000;

}  // namespace permora
