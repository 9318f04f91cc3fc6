#include "platform/BitmapReader.h"

#include <array>
#include <bit>
#include <cstddef>

#include "platform/PictureLimits.h"
#include "platform/SystemFiles.h"

namespace permora {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

enum TCompression : uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(String(messages::InvalidBitmap)); }
[[noreturn]] void EndsEarly() { throw EReadError(String(messages::ReadError)); }

// Little-endian reads within the file; a read past its end is the file ending early.
class TByteReader {
 public:
  explicit TByteReader(std::span<const uint8_t> bytes) : FBytes(bytes) {}
  std::size_t Size() const { return FBytes.size(); }
  void Require(uint64_t offset, uint64_t length) const {
    if (offset > FBytes.size() || length > FBytes.size() - offset) EndsEarly();
  }
  uint8_t U8(std::size_t offset) const {
    Require(offset, 1);
    return FBytes[offset];
  }
  uint16_t U16(std::size_t offset) const {
    Require(offset, 2);
    return static_cast<uint16_t>(FBytes[offset] | FBytes[offset + 1] << 8);
  }
  uint32_t U32(std::size_t offset) const {
    Require(offset, 4);
    return uint32_t{FBytes[offset]} | uint32_t{FBytes[offset + 1]} << 8 | uint32_t{FBytes[offset + 2]} << 16 |
           uint32_t{FBytes[offset + 3]} << 24;
  }
  const uint8_t* At(std::size_t offset) const { return FBytes.data() + offset; }

 private:
  std::span<const uint8_t> FBytes;
};

// One colour channel of a 16- or 32-bit pixel, scaled to 0..255.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Maximum = 0;

  explicit TChannel(uint32_t mask = 0) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Maximum = mask >> Shift;
  }
  uint32_t Of(uint32_t pixel) const {
    if (Maximum == 0) return 0;
    const uint64_t value = (pixel & Mask) >> Shift;
    return static_cast<uint32_t>((value * 255 + Maximum / 2) / Maximum);
  }
};

struct TBitmapHeader {
  uint32_t HeaderSize = 0;
  int64_t Width = 0;
  int64_t Height = 0;  // rows; positive
  bool TopDown = false;
  uint16_t BitCount = 0;
  uint32_t Compression = BI_RGB;
  uint32_t ColorsUsed = 0;
  std::array<uint32_t, 3> Masks{};  // red, green, blue
  bool HasMasks = false;
  std::size_t PaletteOffset = 0;
  std::size_t PaletteEntrySize = 4;
  std::size_t PaletteCount = 0;
  std::size_t PixelOffset = 0;
};

bool DepthIsKnown(uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool CompressionFits(uint32_t compression, uint16_t bits) {
  switch (compression) {
    case BI_RGB: return true;
    case BI_RLE8: return bits == 8;
    case BI_RLE4: return bits == 4;
    case BI_BITFIELDS: return bits == 16 || bits == 32;
    default: return false;
  }
}

void ReadCoreHeader(const TByteReader& file, TBitmapHeader& h) {
  const std::size_t at = kFileHeaderSize;
  file.Require(at, kCoreHeaderSize);
  h.Width = file.U16(at + 4);
  h.Height = file.U16(at + 6);
  if (file.U16(at + 8) != 1) InvalidBitmap();
  h.BitCount = file.U16(at + 10);
  h.PaletteEntrySize = 3;
}

void ReadInfoHeader(const TByteReader& file, TBitmapHeader& h) {
  const std::size_t at = kFileHeaderSize;
  file.Require(at, h.HeaderSize);
  h.Width = static_cast<int32_t>(file.U32(at + 4));
  const int64_t height = static_cast<int32_t>(file.U32(at + 8));
  h.TopDown = height < 0;
  h.Height = height < 0 ? -height : height;
  if (file.U16(at + 12) != 1) InvalidBitmap();
  h.BitCount = file.U16(at + 14);
  h.Compression = file.U32(at + 16);
  h.ColorsUsed = file.U32(at + 32);
}

void ReadMasks(const TByteReader& file, TBitmapHeader& h) {
  // A 40-byte header is followed by the three masks; longer headers hold them.
  const std::size_t masks = kFileHeaderSize + 40;
  file.Require(masks, 12);
  h.Masks = {file.U32(masks), file.U32(masks + 4), file.U32(masks + 8)};
  h.HasMasks = true;
}

void CheckHeader(const TBitmapHeader& h) {
  if (!DepthIsKnown(h.BitCount) || !CompressionFits(h.Compression, h.BitCount)) InvalidBitmap();
  if (h.Width <= 0 || h.Height == 0) InvalidBitmap();
  if (static_cast<uint64_t>(h.Width) * static_cast<uint64_t>(h.Height) > MaxPicturePixels) InvalidBitmap();
}

void LocateTables(const TByteReader& file, uint32_t offBits, TBitmapHeader& h) {
  std::size_t end = kFileHeaderSize + h.HeaderSize;
  if (h.HasMasks && h.HeaderSize == kInfoHeaderSize) end += 12;
  h.PaletteOffset = end;
  if (h.BitCount <= 8) {
    const std::size_t full = std::size_t{1} << h.BitCount;
    h.PaletteCount = h.HeaderSize != kCoreHeaderSize && h.ColorsUsed != 0 && h.ColorsUsed < full ? h.ColorsUsed : full;
    file.Require(end, h.PaletteCount * h.PaletteEntrySize);
    end += h.PaletteCount * h.PaletteEntrySize;
  }
  // The pixel data starts where the file header says, unless that points into the headers
  // (writers that leave it 0): then right after them.
  h.PixelOffset = offBits >= end ? offBits : end;
  if (h.PixelOffset > file.Size()) EndsEarly();
}

TBitmapHeader ReadHeaders(const TByteReader& file) {
  file.Require(0, kFileHeaderSize);
  if (file.U8(0) != 'B' || file.U8(1) != 'M') InvalidBitmap();
  const uint32_t offBits = file.U32(10);
  TBitmapHeader h;
  h.HeaderSize = file.U32(kFileHeaderSize);
  if (h.HeaderSize == kCoreHeaderSize)
    ReadCoreHeader(file, h);
  else if (h.HeaderSize >= kInfoHeaderSize)
    ReadInfoHeader(file, h);
  else
    InvalidBitmap();
  CheckHeader(h);
  if (h.Compression == BI_BITFIELDS) ReadMasks(file, h);
  LocateTables(file, offBits, h);
  return h;
}

std::vector<uint32_t> ReadPalette(const TByteReader& file, const TBitmapHeader& h) {
  // Indices past a short table are black.
  std::vector<uint32_t> palette(h.BitCount <= 8 ? std::size_t{1} << h.BitCount : 0, 0);
  for (std::size_t i = 0; i < h.PaletteCount; ++i) {
    const uint8_t* entry = file.At(h.PaletteOffset + i * h.PaletteEntrySize);  // blue, green, red
    palette[i] = uint32_t{entry[2]} << 16 | uint32_t{entry[1]} << 8 | entry[0];
  }
  return palette;
}

std::array<TChannel, 3> ChannelsOf(const TBitmapHeader& h) {
  if (h.HasMasks) return {TChannel(h.Masks[0]), TChannel(h.Masks[1]), TChannel(h.Masks[2])};
  if (h.BitCount == 16) return {TChannel(0x7C00), TChannel(0x03E0), TChannel(0x001F)};
  return {TChannel(0x00FF0000), TChannel(0x0000FF00), TChannel(0x000000FF)};
}

uint64_t RowStride(const TBitmapHeader& h) { return (static_cast<uint64_t>(h.Width) * h.BitCount + 31) / 32 * 4; }

// The last row may lack its padding.
void RequireUncompressedData(const TByteReader& file, const TBitmapHeader& h) {
  const uint64_t lastRow = (static_cast<uint64_t>(h.Width) * h.BitCount + 7) / 8;
  file.Require(h.PixelOffset, RowStride(h) * static_cast<uint64_t>(h.Height - 1) + lastRow);
}

int32_t TargetRow(const TBitmapHeader& h, int64_t fileRow) {
  return static_cast<int32_t>(h.TopDown ? fileRow : h.Height - 1 - fileRow);
}

void DecodeUncompressed(const TByteReader& file, const TBitmapHeader& h, const std::vector<uint32_t>& palette,
                        TBitmap& target) {
  const auto channels = ChannelsOf(h);
  const int32_t width = static_cast<int32_t>(h.Width);
  const uint64_t stride = RowStride(h);
  for (int64_t r = 0; r < h.Height; ++r) {
    const uint8_t* row = file.At(static_cast<std::size_t>(h.PixelOffset + stride * static_cast<uint64_t>(r)));
    uint32_t* out = target.ScanLine(TargetRow(h, r));
    for (int32_t x = 0; x < width; ++x) {
      switch (h.BitCount) {
        case 1: out[x] = palette[row[x >> 3] >> (7 - (x & 7)) & 1]; break;
        case 4: out[x] = palette[row[x >> 1] >> ((x & 1) ? 0 : 4) & 0x0F]; break;
        case 8: out[x] = palette[row[x]]; break;
        case 24: out[x] = uint32_t{row[3 * x + 2]} << 16 | uint32_t{row[3 * x + 1]} << 8 | row[3 * x]; break;
        default: {
          const uint8_t* p = row + x * (h.BitCount / 8);
          const uint32_t v = h.BitCount == 16 ? uint32_t{p[0]} | uint32_t{p[1]} << 8
                                              : uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 |
                                                    uint32_t{p[3]} << 24;
          out[x] = channels[0].Of(v) << 16 | channels[1].Of(v) << 8 | channels[2].Of(v);
        }
      }
    }
  }
}

// Walks run-length data; with a target it also writes the pixels. The first pass (no target)
// checks that the data is complete, so that the second cannot fail half-way.
class TRunLengthDecoder {
 public:
  TRunLengthDecoder(const TByteReader& file, const TBitmapHeader& h, const std::vector<uint32_t>& palette)
      : FFile(file), FHeader(h), FPalette(palette), FFour(h.BitCount == 4) {}

  void Run(TBitmap* target) {
    FTarget = target;
    std::size_t at = FHeader.PixelOffset;
    int64_t x = 0;
    int64_t y = 0;  // in file order: the first row of the data is y 0
    while (y < FHeader.Height) {
      const uint8_t count = FFile.U8(at);
      const uint8_t value = FFile.U8(at + 1);
      at += 2;
      if (count > 0) {
        for (int i = 0; i < count; ++i) Put(x++, y, FFour ? (i & 1 ? value & 0x0F : value >> 4) : value);
        continue;
      }
      switch (value) {
        case 0:  // end of line
          x = 0;
          ++y;
          break;
        case 1:  // end of picture
          return;
        case 2:  // delta
          x += FFile.U8(at);
          y += FFile.U8(at + 1);
          at += 2;
          break;
        default: {  // absolute run of `value` pixels, padded to a 16-bit boundary
          const std::size_t bytes = FFour ? (value + 1u) / 2 : value;
          FFile.Require(at, bytes);
          for (int i = 0; i < value; ++i) {
            const uint8_t b = FFile.U8(at + (FFour ? i / 2 : i));
            Put(x++, y, FFour ? (i & 1 ? b & 0x0F : b >> 4) : b);
          }
          at += bytes + (bytes & 1);
        }
      }
    }
  }

 private:
  void Put(int64_t x, int64_t y, uint8_t index) {
    // Runs past the end of a line or of the picture are clipped.
    if (!FTarget || x >= FHeader.Width || y >= FHeader.Height) return;
    FTarget->ScanLine(TargetRow(FHeader, y))[x] = FPalette[index];
  }

  const TByteReader& FFile;
  const TBitmapHeader& FHeader;
  const std::vector<uint32_t>& FPalette;
  const bool FFour;
  TBitmap* FTarget = nullptr;
};

}  // namespace

void ReadBitmapFile(std::span<const uint8_t> bytes, TBitmap& target) {
  const TByteReader file(bytes);
  const TBitmapHeader h = ReadHeaders(file);
  const std::vector<uint32_t> palette = ReadPalette(file, h);
  const bool runLength = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
  TRunLengthDecoder runs(file, h, palette);
  if (runLength)
    runs.Run(nullptr);
  else
    RequireUncompressedData(file, h);
  // Nothing below can fail on the file's account; the old pixels go before the new ones come.
  target.SetSize(0, 0);
  target.SetSize(static_cast<int32_t>(h.Width), static_cast<int32_t>(h.Height));
  if (runLength)
    runs.Run(&target);
  else
    DecodeUncompressed(file, h, palette, target);
  target.Modified();
}

void TBitmap::LoadFromFile(const String& fileName) { ReadBitmapFile(SystemFiles().ReadRegularFile(fileName), *this); }

}  // namespace permora
