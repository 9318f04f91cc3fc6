#include "platform/BitmapReader.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace permora {
namespace {

// ---- Bitmap files built byte by byte ------------------------------------------------------------

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

enum class Header { Core12, Info40, V4, V5 };

struct TFile {
  Header Kind = Header::Info40;
  int32_t Width = 0;
  int32_t Height = 0;  // negative: top-down
  uint16_t Planes = 1;
  uint16_t Bits = 24;
  uint32_t Compression = 0;
  uint32_t ColorsUsed = 0;
  std::vector<uint32_t> Palette;  // 0x00RRGGBB
  std::vector<uint32_t> Masks;    // red, green, blue: after a 40-byte header, or inside a longer one
  Bytes Pixels;
  bool OffBitsZero = false;
};

uint32_t HeaderSize(Header kind) {
  switch (kind) {
    case Header::Core12: return 12;
    case Header::Info40: return 40;
    case Header::V4: return 108;
    case Header::V5: return 124;
  }
  return 0;
}

Bytes Build(const TFile& f) {
  Bytes info;
  const uint32_t size = HeaderSize(f.Kind);
  Put32(info, size);
  if (f.Kind == Header::Core12) {
    Put16(info, static_cast<uint32_t>(f.Width));
    Put16(info, static_cast<uint32_t>(f.Height));
    Put16(info, f.Planes);
    Put16(info, f.Bits);
  } else {
    Put32(info, static_cast<uint32_t>(f.Width));
    Put32(info, static_cast<uint32_t>(f.Height));
    Put16(info, f.Planes);
    Put16(info, f.Bits);
    Put32(info, f.Compression);
    Put32(info, static_cast<uint32_t>(f.Pixels.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, f.ColorsUsed);
    Put32(info, 0);
    if (f.Kind != Header::Info40) {
      for (std::size_t i = 0; i < 3; ++i) Put32(info, i < f.Masks.size() ? f.Masks[i] : 0);
      while (info.size() < size) info.push_back(0);
    } else {
      for (uint32_t m : f.Masks) Put32(info, m);
    }
  }
  for (uint32_t c : f.Palette) {
    info.push_back(static_cast<uint8_t>(c));
    info.push_back(static_cast<uint8_t>(c >> 8));
    info.push_back(static_cast<uint8_t>(c >> 16));
    if (f.Kind != Header::Core12) info.push_back(0);
  }
  Bytes file{'B', 'M'};
  Put32(file, static_cast<uint32_t>(14 + info.size() + f.Pixels.size()));
  Put32(file, 0);
  Put32(file, f.OffBitsZero ? 0 : static_cast<uint32_t>(14 + info.size()));
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), f.Pixels.begin(), f.Pixels.end());
  return file;
}

// The test picture: a red "F" on blue, 5 wide (odd: every depth needs row padding) and 6 high,
// so that a flip in either direction or a red–blue swap shows.
constexpr int kWidth = 5;
constexpr int kHeight = 6;
constexpr const char* kShape[kHeight] = {"FFFF.", "F....", "FFF..", "F....", "F....", "F...."};
constexpr uint32_t kRed = 0x00FF0000;
constexpr uint32_t kBlue = 0x000000FF;
bool InF(int x, int y) { return kShape[y][x] == 'F'; }
uint32_t Expected(int x, int y) { return InF(x, y) ? kRed : kBlue; }

// Rows of the picture encoded by `pixel`, padded to 4 bytes, in file order.
Bytes Rows(int bits, bool topDown, const std::function<uint32_t(int x, int y)>& value) {
  Bytes out;
  const std::size_t stride = (static_cast<std::size_t>(kWidth) * bits + 31) / 32 * 4;
  for (int r = 0; r < kHeight; ++r) {
    const int y = topDown ? r : kHeight - 1 - r;
    Bytes row(stride, 0);
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t v = value(x, y);
      switch (bits) {
        case 1: row[x / 8] = static_cast<uint8_t>(row[x / 8] | v << (7 - x % 8)); break;
        case 4: row[x / 2] = static_cast<uint8_t>(row[x / 2] | v << (x % 2 ? 0 : 4)); break;
        default:
          for (int i = 0; i < bits / 8; ++i) row[static_cast<std::size_t>(x * bits / 8 + i)] = static_cast<uint8_t>(v >> (8 * i));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

uint32_t Index(int x, int y) { return InF(x, y) ? 1 : 0; }

TFile Indexed(Header kind, uint16_t bits, bool topDown) {
  TFile f;
  f.Kind = kind;
  f.Width = kWidth;
  f.Height = topDown ? -kHeight : kHeight;
  f.Bits = bits;
  f.Palette.assign(std::size_t{1} << bits, 0x00123456);
  f.Palette[0] = kBlue;
  f.Palette[1] = kRed;
  f.Pixels = Rows(bits, topDown, Index);
  return f;
}

TFile TrueColour(Header kind, uint16_t bits, bool topDown, std::function<uint32_t(int, int)> value,
                 std::vector<uint32_t> masks = {}) {
  TFile f;
  f.Kind = kind;
  f.Width = kWidth;
  f.Height = topDown ? -kHeight : kHeight;
  f.Bits = bits;
  f.Masks = std::move(masks);
  f.Compression = f.Masks.empty() ? 0 : 3;
  f.Pixels = Rows(bits, topDown, value);
  return f;
}

// ---- Decoded pixels per depth, compression and row order ---------------------------------------

struct DecodeCase {
  const char* Name;
  std::function<TFile()> Make;
  std::function<uint32_t(int, int)> Pixel = Expected;
};

class BitmapDecode : public testing::TestWithParam<DecodeCase> {};

TEST_P(BitmapDecode, GivesExactPixels) {
  const Bytes file = Build(GetParam().Make());
  TBitmap bitmap;
  ReadBitmapFile(file, bitmap);
  ASSERT_EQ(bitmap.Width(), kWidth);
  ASSERT_EQ(bitmap.Height(), kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) EXPECT_EQ(bitmap.Pixel(x, y), GetParam().Pixel(x, y)) << x << "," << y;
}

uint32_t Bgr24(int x, int y) { return Expected(x, y); }  // bytes blue, green, red
uint32_t Rgb555(int x, int y) { return InF(x, y) ? 0x7C00 : 0x001F; }
uint32_t Rgb565(int x, int y) { return InF(x, y) ? 0xF800 : 0x001F; }
uint32_t Xrgb32(int x, int y) { return Expected(x, y) | 0xAB000000u; }  // the fourth byte is no colour
uint32_t Xbgr32(int x, int y) { return InF(x, y) ? 0x000000FFu : 0x00FF0000u; }
// 5-6-5 values in the middle of their ranges: 16/31, 32/63, 8/31 of full scale.
uint32_t Mid565(int x, int y) { return InF(x, y) ? (16u << 11 | 32u << 5 | 8u) : 0; }
uint32_t Mid565Expected(int x, int y) { return InF(x, y) ? (132u << 16 | 130u << 8 | 66u) : 0; }

INSTANTIATE_TEST_SUITE_P(
    Depths, BitmapDecode,
    testing::Values(
        DecodeCase{"Indexed1BottomUp", [] { return Indexed(Header::Info40, 1, false); }},
        DecodeCase{"Indexed1TopDown", [] { return Indexed(Header::Info40, 1, true); }},
        DecodeCase{"Indexed4BottomUp", [] { return Indexed(Header::Info40, 4, false); }},
        DecodeCase{"Indexed4TopDown", [] { return Indexed(Header::Info40, 4, true); }},
        DecodeCase{"Indexed8BottomUp", [] { return Indexed(Header::Info40, 8, false); }},
        DecodeCase{"Indexed8TopDown", [] { return Indexed(Header::Info40, 8, true); }},
        DecodeCase{"Indexed8ShortTable",
                   [] {
                     TFile f = Indexed(Header::Info40, 8, false);
                     f.Palette.resize(2);
                     f.ColorsUsed = 2;
                     return f;
                   }},
        DecodeCase{"Indexed8PixelOffsetZero",
                   [] {
                     TFile f = Indexed(Header::Info40, 8, false);
                     f.OffBitsZero = true;
                     return f;
                   }},
        DecodeCase{"LastRowWithoutPadding", [] {
                     TFile f = TrueColour(Header::Info40, 24, true, Bgr24);
                     f.Pixels.pop_back();
                     return f;
                   }},
        DecodeCase{"Core4", [] { return Indexed(Header::Core12, 4, false); }},
        DecodeCase{"Core24", [] { return TrueColour(Header::Core12, 24, false, Bgr24); }},
        DecodeCase{"Rgb24BottomUp", [] { return TrueColour(Header::Info40, 24, false, Bgr24); }},
        DecodeCase{"Rgb24TopDown", [] { return TrueColour(Header::Info40, 24, true, Bgr24); }},
        DecodeCase{"V4Rgb24", [] { return TrueColour(Header::V4, 24, false, Bgr24); }},
        DecodeCase{"V5Rgb24", [] { return TrueColour(Header::V5, 24, true, Bgr24); }},
        DecodeCase{"Rgb16Default555", [] { return TrueColour(Header::Info40, 16, false, Rgb555); }},
        DecodeCase{"Rgb16Bitfields565", [] { return TrueColour(Header::Info40, 16, true, Rgb565, {0xF800, 0x07E0, 0x001F}); }},
        DecodeCase{"Rgb16Bitfields565MidValues",
                   [] { return TrueColour(Header::Info40, 16, false, Mid565, {0xF800, 0x07E0, 0x001F}); },
                   Mid565Expected},
        DecodeCase{"V5Bitfields565", [] { return TrueColour(Header::V5, 16, false, Rgb565, {0xF800, 0x07E0, 0x001F}); }},
        DecodeCase{"Rgb32Default", [] { return TrueColour(Header::Info40, 32, false, Xrgb32); }},
        DecodeCase{"Rgb32BitfieldsSwapped",
                   [] { return TrueColour(Header::Info40, 32, true, Xbgr32, {0x000000FF, 0x0000FF00, 0x00FF0000}); }},
        DecodeCase{"Rle8",
                   [] {
                     TFile f = Indexed(Header::Info40, 8, false);
                     f.Compression = 1;
                     // Bottom row first; row 2 from the top in absolute mode (5 bytes + padding).
                     f.Pixels = {1, 1, 4, 0, 0, 0,   1, 1, 4, 0, 0, 0,   1, 1, 4, 0, 0, 0,
                                 0, 5, 1, 1, 1, 0, 0, 0, 0, 0,         1, 1, 4, 0, 0, 0,
                                 4, 1, 1, 0, 0, 1};
                     return f;
                   }},
        DecodeCase{"Rle4",
                   [] {
                     TFile f = Indexed(Header::Info40, 4, false);
                     f.Compression = 2;
                     // Runs alternate the two nibbles; row 2 from the top in absolute mode.
                     f.Pixels = {1, 0x11, 4, 0x00, 0, 0,   1, 0x11, 4, 0x00, 0, 0,   1, 0x11, 4, 0x00, 0, 0,
                                 0, 5, 0x11, 0x10, 0x00, 0, 0, 0,                1, 0x11, 4, 0x00, 0, 0,
                                 4, 0x11, 1, 0x00, 0, 1};
                     return f;
                   }},
        DecodeCase{"Rle8DeltaAndEarlyEndsLeaveBlack",
                   [] {
                     TFile f = Indexed(Header::Info40, 8, false);
                     f.Compression = 1;
                     // Bottom row: 2 red, then a delta 1 right and 1 up; one red there; the next
                     // row ends at once; then 5 blue and the end of the picture.
                     f.Pixels = {2, 1, 0, 2, 1, 1, 1, 1, 0, 0, 0, 0, 5, 0, 0, 1};
                     return f;
                   },
                   [](int x, int y) -> uint32_t {
                     if (y == 5) return x < 2 ? kRed : 0;
                     if (y == 4) return x == 3 ? kRed : 0;
                     if (y == 2) return kBlue;
                     return 0;
                   }},
        DecodeCase{"Rle4RunsClippedAtTheRightEdge",
                   [] {
                     TFile f = Indexed(Header::Info40, 4, true);
                     f.Compression = 2;
                     // Top-down; a run of 9 in a row of 5; an absolute run of 7 in a row of 5.
                     f.Pixels = {9, 0x10, 0, 0, 0, 7, 0x01, 0x01, 0x01, 0x00, 0, 1};
                     return f;
                   },
                   [](int x, int y) -> uint32_t {
                     if (y == 0) return x % 2 == 0 ? kRed : kBlue;
                     if (y == 1) return x % 2 == 0 ? kBlue : kRed;
                     return 0;
                   }}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return info.param.Name; });

// ---- Errors --------------------------------------------------------------------------------------

enum class Failure { Invalid, ReadError };

struct ErrorCase {
  const char* Name;
  std::function<Bytes()> Make;
  Failure Expect;
};

class BitmapErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(BitmapErrors, RaiseTheirMessage) {
  const Bytes file = GetParam().Make();
  TBitmap bitmap(3, 2);
  bitmap.SetPixel(1, 1, 0x00112233);
  try {
    ReadBitmapFile(file, bitmap);
    FAIL() << "read";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(GetParam().Expect, Failure::Invalid);
    EXPECT_EQ(e.Message(), "ビットマップイメージが不正です");
  } catch (const EReadError& e) {
    EXPECT_EQ(GetParam().Expect, Failure::ReadError);
    EXPECT_EQ(e.Message(), "ストリームからの読み込みエラー");
  }
  // The bitmap keeps what it had.
  ASSERT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.Pixel(1, 1), 0x00112233u);
}

Bytes Valid24() { return Build(TrueColour(Header::Info40, 24, false, Bgr24)); }

Bytes Patched(Bytes b, std::size_t at, uint32_t value, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) b.at(at + static_cast<std::size_t>(i)) = static_cast<uint8_t>(value >> (8 * i));
  return b;
}

Bytes Cut(Bytes b, std::size_t size) {
  b.resize(size);
  return b;
}

TFile Sized(int32_t width, int32_t height, uint16_t bits, uint32_t compression = 0) {
  TFile f;
  f.Width = width;
  f.Height = height;
  f.Bits = bits;
  f.Compression = compression;
  if (bits <= 8) f.Palette.assign(std::size_t{1} << bits, 0);
  return f;
}

INSTANTIATE_TEST_SUITE_P(
    Files, BitmapErrors,
    testing::Values(
        ErrorCase{"NotBM", [] { return Patched(Valid24(), 0, 'B' | 'X' << 8, 2); }, Failure::Invalid},
        ErrorCase{"TextFile", [] { return Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!', '!', '!', '!'}; },
                  Failure::Invalid},
        ErrorCase{"PlanesTwo", [] { return Patched(Valid24(), 26, 2, 2); }, Failure::Invalid},
        ErrorCase{"CorePlanesZero", [] { return Patched(Build(TrueColour(Header::Core12, 24, false, Bgr24)), 22, 0, 2); },
                  Failure::Invalid},
        ErrorCase{"HeaderSize20", [] { return Patched(Valid24(), 14, 20); }, Failure::Invalid},
        ErrorCase{"Depth7", [] { return Patched(Valid24(), 28, 7, 2); }, Failure::Invalid},
        ErrorCase{"CompressionJPEG", [] { return Patched(Valid24(), 30, 4); }, Failure::Invalid},
        ErrorCase{"Rle8At4Bits", [] { return Build(Sized(4, 4, 4, 1)); }, Failure::Invalid},
        ErrorCase{"Rle4At8Bits", [] { return Build(Sized(4, 4, 8, 2)); }, Failure::Invalid},
        ErrorCase{"BitfieldsAt24Bits", [] { return Build(Sized(4, 4, 24, 3)); }, Failure::Invalid},
        ErrorCase{"WidthZero", [] { return Build(Sized(0, 4, 24)); }, Failure::Invalid},
        ErrorCase{"WidthNegative", [] { return Build(Sized(-5, 4, 24)); }, Failure::Invalid},
        ErrorCase{"HeightZero", [] { return Build(Sized(4, 0, 24)); }, Failure::Invalid},
        ErrorCase{"HeightMostNegative", [] { return Build(Sized(4, INT32_MIN, 24)); }, Failure::Invalid},
        ErrorCase{"Claims100000Squared", [] { return Build(Sized(100000, 100000, 24)); }, Failure::Invalid},
        ErrorCase{"Rle8Claims30000Squared", [] { return Build(Sized(30000, 30000, 8, 1)); }, Failure::Invalid},
        ErrorCase{"Claims20000SquaredInAFewBytes", [] { return Build(Sized(20000, 20000, 24)); }, Failure::ReadError},
        ErrorCase{"ShorterThanFileHeader", [] { return Cut(Valid24(), 10); }, Failure::ReadError},
        ErrorCase{"ShorterThanInfoHeader", [] { return Cut(Valid24(), 30); }, Failure::ReadError},
        ErrorCase{"ShorterThanV5Header", [] { return Cut(Build(TrueColour(Header::V5, 24, false, Bgr24)), 100); },
                  Failure::ReadError},
        ErrorCase{"MasksMissing", [] { return Cut(Build(TrueColour(Header::Info40, 16, false, Rgb565, {0xF800, 0x07E0, 0x001F})), 60); },
                  Failure::ReadError},
        ErrorCase{"PaletteShort", [] { return Cut(Build(Indexed(Header::Info40, 8, false)), 54 + 40); }, Failure::ReadError},
        // The last row may lack its padding (1 byte here), but not a pixel byte.
        ErrorCase{"PixelDataShort", [] { return Cut(Valid24(), Valid24().size() - 2); }, Failure::ReadError},
        ErrorCase{"PixelOffsetPastTheEnd", [] { return Patched(Valid24(), 10, 100000); }, Failure::ReadError},
        ErrorCase{"RleWithoutEnd",
                  [] {
                    TFile f = Indexed(Header::Info40, 8, false);
                    f.Compression = 1;
                    f.Pixels = {5, 1, 0, 0, 5, 1};
                    return Build(f);
                  },
                  Failure::ReadError},
        ErrorCase{"RleAbsoluteRunPastTheEnd",
                  [] {
                    TFile f = Indexed(Header::Info40, 8, false);
                    f.Compression = 1;
                    f.Pixels = {0, 200, 1, 1, 1};
                    return Build(f);
                  },
                  Failure::ReadError},
        ErrorCase{"RleDeltaCutShort",
                  [] {
                    TFile f = Indexed(Header::Info40, 8, false);
                    f.Compression = 1;
                    f.Pixels = {0, 2, 1};
                    return Build(f);
                  },
                  Failure::ReadError}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return info.param.Name; });

TEST(BitmapRunLength, DeltaFarOutsideThePictureEndsIt) {
  TFile f = Indexed(Header::Info40, 8, false);
  f.Compression = 1;
  f.Pixels = {1, 1, 0, 2, 255, 255, 3, 1};  // no end mark needed: the delta leaves the picture
  TBitmap bitmap;
  ReadBitmapFile(Build(f), bitmap);
  EXPECT_EQ(bitmap.Pixel(0, kHeight - 1), kRed);
  EXPECT_EQ(bitmap.Pixel(1, kHeight - 1), 0u);
}

}  // namespace
}  // namespace permora
