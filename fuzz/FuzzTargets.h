#pragma once
// What each fuzz target does with one input; the CTest replay of kept inputs runs the same code.
// Only the platform's own exceptions may leave a loader: anything else (a crash, a sanitizer
// report, another exception) is a fault.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/BitmapReader.h"
#include "platform/JPEG.h"

namespace permora::fuzz {

inline void LoadBitmap(const uint8_t* data, std::size_t size) {
  TBitmap bitmap;
  try {
    ReadBitmapFile(std::span<const uint8_t>(data, size), bitmap);
  } catch (const EInvalidGraphic&) {
  } catch (const EReadError&) {
  }
}

inline void LoadJPEGHeader(const uint8_t* data, std::size_t size) {
  TJPEGImage jpeg;
  try {
    jpeg.LoadFromData(std::vector<uint8_t>(data, data + size));
  } catch (const EJPEG&) {
  }
}

inline void DrawJPEGCell(const uint8_t* data, std::size_t size) {
  TJPEGImage jpeg;
  try {
    jpeg.LoadFromData(std::vector<uint8_t>(data, data + size));
    TBitmap cell(75, 100);
    jpeg.Draw(cell.Canvas(), Rect(0, 0, 75, 100));
  } catch (const EJPEG&) {
  }
}

}  // namespace permora::fuzz
