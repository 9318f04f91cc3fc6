#pragma once
// Reads a screenshot in the X window dump format that xwd writes (ZPixmap, 24 or 32 bits per
// pixel): its header is big-endian, its pixels in the byte order the header names.

#include <cstdint>
#include <stdexcept>
#include <string>

#include "support/OneColourPictures.h"

namespace permora::testing_support {

class TXwdImage {
 public:
  explicit TXwdImage(std::string file) : FFile(std::move(file)) {
    if (FFile.size() < 100) throw std::runtime_error("xwd file too short");
    const uint32_t headerSize = Field(0);
    if (Field(2) != 2) throw std::runtime_error("xwd file is not a ZPixmap");
    FWidth = static_cast<int>(Field(4));
    FHeight = static_cast<int>(Field(5));
    FLsbFirst = Field(7) == 0;
    FBitsPerPixel = Field(11);
    FBytesPerLine = Field(12);
    FRedMask = Field(14);
    FGreenMask = Field(15);
    FBlueMask = Field(16);
    const uint32_t colours = Field(19);
    FData = headerSize + colours * 12;
    if (FBitsPerPixel != 32 && FBitsPerPixel != 24) throw std::runtime_error("xwd pixels of unexpected size");
    if (FData + static_cast<std::size_t>(FBytesPerLine) * FHeight > FFile.size())
      throw std::runtime_error("xwd file cut short");
  }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  TRgb At(int x, int y) const {
    const std::size_t at = FData + static_cast<std::size_t>(y) * FBytesPerLine + static_cast<std::size_t>(x) * (FBitsPerPixel / 8);
    uint32_t value = 0;
    const unsigned bytes = FBitsPerPixel / 8;
    for (unsigned i = 0; i < bytes; ++i) {
      const uint32_t b = static_cast<uint8_t>(FFile[at + i]);
      value |= FLsbFirst ? b << (8 * i) : b << (8 * (bytes - 1 - i));
    }
    return {Channel(value, FRedMask), Channel(value, FGreenMask), Channel(value, FBlueMask)};
  }

 private:
  uint32_t Field(int index) const {
    const auto* p = reinterpret_cast<const uint8_t*>(FFile.data()) + index * 4;
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
  }
  static uint8_t Channel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    return static_cast<uint8_t>((value & mask) >> shift);
  }

  std::string FFile;
  int FWidth = 0;
  int FHeight = 0;
  bool FLsbFirst = true;
  uint32_t FBitsPerPixel = 32;
  uint32_t FBytesPerLine = 0;
  uint32_t FRedMask = 0, FGreenMask = 0, FBlueMask = 0;
  std::size_t FData = 0;
};

}  // namespace permora::testing_support
