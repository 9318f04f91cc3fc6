#include "platform/JPEG.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "platform/JPEGErrors.h"

#include <jpeglib.h>  // first: it sets the options that number the codes in jerror.h
#include <jerror.h>
#include "support/PictureFiles.h"

namespace permora {
namespace {

using test::MakeJPEG;
using test::TJPEGShape;

uint8_t Channel(uint32_t pixel, int c) { return static_cast<uint8_t>(pixel >> (16 - 8 * c)); }

// A picture with detail everywhere: gradients crossed with a pattern, so that sampling the
// wrong row or column shows.
uint8_t Busy(int x, int y, int c) { return static_cast<uint8_t>((x * 7 + y * 13 + c * 50) ^ (x * y + c * 17)); }

std::vector<uint8_t> BusyJPEG(int width, int height, bool progressive = false, J_COLOR_SPACE space = JCS_RGB) {
  TJPEGShape shape;
  shape.Width = width;
  shape.Height = height;
  shape.Progressive = progressive;
  shape.Input = space;
  return MakeJPEG(shape, Busy);
}

std::unique_ptr<TBitmap> DrawnAt(const TJPEGImage& jpeg, int width, int height) {
  auto target = std::make_unique<TBitmap>(width, height);
  TCanvas canvas(*target);
  jpeg.Draw(canvas, Rect(0, 0, width, height));
  return target;
}

String JPEGMessage(int number) { return "JPEG エラー #" + std::to_string(number); }

// ---- Release 6a numbers -----------------------------------------------------------------------

struct NumberCase {
  int LibraryCode;
  int32_t Release6a;
};

class Release6aNumbers : public testing::TestWithParam<NumberCase> {};

TEST_P(Release6aNumbers, MapByName) { EXPECT_EQ(JPEGErrorNumber6a(GetParam().LibraryCode), GetParam().Release6a); }

INSTANTIATE_TEST_SUITE_P(
    Anchors, Release6aNumbers,
    testing::Values(NumberCase{JMSG_NOMESSAGE, 0}, NumberCase{JERR_ARITH_NOTIMPL, 1}, NumberCase{JERR_BAD_LENGTH, 9},
                    NumberCase{JERR_CONVERSION_NOTIMPL, 25}, NumberCase{JERR_DAC_VALUE, 27},
                    NumberCase{JERR_BAD_HUFF_TABLE, 28}, NumberCase{JERR_DHT_INDEX, 29},
                    NumberCase{JERR_DQT_INDEX, 30}, NumberCase{JERR_INPUT_EMPTY, 41},
                    NumberCase{JERR_NO_IMAGE, 50}, NumberCase{JERR_NO_QUANT_TABLE, 51}, NumberCase{JERR_NO_SOI, 52},
                    NumberCase{JERR_OUT_OF_MEMORY, 53}, NumberCase{JWRN_TOO_MUCH_DATA, 122},
                    NumberCase{JERR_BAD_DCT_COEF, 123}, NumberCase{JERR_BAD_CROP_SPEC, 124},
                    NumberCase{JERR_BAD_DROP_SAMPLING, 128}, NumberCase{5000, 6000}),
    [](const testing::TestParamInfo<NumberCase>& info) { return "Code" + std::to_string(info.param.LibraryCode); });

// ---- Bad input: each case loads or draws, or fails with its number -------------------------------

std::vector<uint8_t> SmallJPEG() { return test::SolidJPEG(16, 16, 200, 40, 40); }

std::vector<uint8_t> WithByte(std::vector<uint8_t> data, std::size_t at, uint8_t value) {
  data.at(at) = value;
  return data;
}

std::vector<uint8_t> WithoutSegments(std::vector<uint8_t> data, int marker) {
  for (std::size_t at; (at = test::FindMarker(data, marker)) != std::string::npos;) {
    const std::size_t length = static_cast<std::size_t>(data[at + 2]) << 8 | data[at + 3];
    data.erase(data.begin() + static_cast<std::ptrdiff_t>(at), data.begin() + static_cast<std::ptrdiff_t>(at + 2 + length));
  }
  return data;
}

std::vector<uint8_t> WithSize(std::vector<uint8_t> data, int width, int height) {
  const std::size_t sof = test::FindMarker(data, 0xC0) != std::string::npos ? test::FindMarker(data, 0xC0)
                                                                             : test::FindMarker(data, 0xC2);
  data.at(sof + 5) = static_cast<uint8_t>(height >> 8);
  data.at(sof + 6) = static_cast<uint8_t>(height);
  data.at(sof + 7) = static_cast<uint8_t>(width >> 8);
  data.at(sof + 8) = static_cast<uint8_t>(width);
  return data;
}

// A progressive file whose last scan is repeated: libjpeg warns about each repetition (ignored)
// and decodes it again.
std::vector<uint8_t> WithRepeatedLastScan(const std::vector<uint8_t>& data, int repeats) {
  std::size_t last = 0;
  for (std::size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] == 0xFF && data[i + 1] == 0xDA) last = i;
  const std::size_t end = data.size() - 2;  // the EOI
  std::vector<uint8_t> result(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(end));
  for (int i = 0; i < repeats; ++i)
    result.insert(result.end(), data.begin() + static_cast<std::ptrdiff_t>(last),
                  data.begin() + static_cast<std::ptrdiff_t>(end));
  result.push_back(0xFF);
  result.push_back(0xD9);
  return result;
}

int ScansOf(const std::vector<uint8_t>& data) {
  int scans = 0;
  for (std::size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] == 0xFF && data[i + 1] == 0xDA) ++scans;
  return scans;
}

enum class Stage { Loads, DrawFails, LoadFails };

struct BadInputCase {
  const char* Name;
  std::function<std::vector<uint8_t>()> Make;
  Stage Where;
  int Number;  // for the failing stages
};

class JPEGBadInput : public testing::TestWithParam<BadInputCase> {};

TEST_P(JPEGBadInput, EndsWithItsNumberOrDraws) {
  const BadInputCase& c = GetParam();
  TJPEGImage jpeg;
  if (c.Where == Stage::LoadFails) {
    try {
      jpeg.LoadFromData(c.Make());
      FAIL() << "loaded";
    } catch (const EJPEG& e) {
      EXPECT_EQ(e.Message(), JPEGMessage(c.Number));
    }
    return;
  }
  ASSERT_NO_THROW(jpeg.LoadFromData(c.Make()));
  if (c.Where == Stage::Loads) {
    EXPECT_NO_THROW(DrawnAt(jpeg, 75, 100));
    return;
  }
  try {
    DrawnAt(jpeg, 75, 100);
    FAIL() << "drawn";
  } catch (const EJPEG& e) {
    EXPECT_EQ(e.Message(), JPEGMessage(c.Number));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, JPEGBadInput,
    testing::Values(
        BadInputCase{"TextFile", [] { return test::Bytes("just some text\n"); }, Stage::LoadFails, 52},
        BadInputCase{"PNGSignature",
                     [] { return std::vector<uint8_t>{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13}; },
                     Stage::LoadFails, 52},
        BadInputCase{"OnlySOI", [] { return std::vector<uint8_t>{0xFF, 0xD8}; }, Stage::LoadFails, 50},
        BadInputCase{"EmptyFile", [] { return std::vector<uint8_t>{}; }, Stage::DrawFails, 41},
        BadInputCase{"BadMarkerLength",
                     [] {
                       auto d = SmallJPEG();
                       const std::size_t dqt = test::FindMarker(d, 0xDB);
                       return WithByte(WithByte(d, dqt + 2, 0), dqt + 3, 1);
                     },
                     Stage::LoadFails, 9},
        BadInputCase{"BadDQTIndex",
                     [] {
                       auto d = SmallJPEG();
                       return WithByte(d, test::FindMarker(d, 0xDB) + 4, 0x05);
                     },
                     Stage::LoadFails, 30},
        BadInputCase{"NoQuantisationTable", [] { return WithoutSegments(SmallJPEG(), 0xDB); }, Stage::DrawFails, 51},
        BadInputCase{"CMYKAsRGB", [] { return BusyJPEG(16, 16, false, JCS_CMYK); }, Stage::DrawFails, 25},
        BadInputCase{"Claims65000x65000", [] { return WithSize(SmallJPEG(), 65000, 65000); }, Stage::DrawFails, 53},
        BadInputCase{"ProgressiveClaims65000x65000", [] { return WithSize(BusyJPEG(16, 16, true), 65000, 65000); },
                     Stage::DrawFails, 53},
        BadInputCase{"MoreThan1000Scans", [] { return WithRepeatedLastScan(BusyJPEG(16, 16, true), 1000); },
                     Stage::DrawFails, JPEGTooManyScans},
        BadInputCase{"Exactly1000Scans",
                     [] {
                       const auto d = BusyJPEG(16, 16, true);
                       return WithRepeatedLastScan(d, 1000 - ScansOf(d));
                     },
                     Stage::Loads, 0},
        BadInputCase{"GarbageAfterEOI",
                     [] {
                       auto d = SmallJPEG();
                       const auto junk = test::Bytes("trailing junk \xFF\xD8\xFF");
                       d.insert(d.end(), junk.begin(), junk.end());
                       return d;
                     },
                     Stage::Loads, 0},
        BadInputCase{"CorruptEntropyData",
                     [] {
                       auto d = BusyJPEG(64, 64);
                       const std::size_t sos = test::FindMarker(d, 0xDA);
                       for (std::size_t i = sos + 20; i + 2 < d.size(); i += 7) d[i] = static_cast<uint8_t>(d[i] ^ 0x5A);
                       return d;
                     },
                     Stage::Loads, 0},
        BadInputCase{"CutAfterHeader",
                     [] {
                       auto d = BusyJPEG(64, 64);
                       d.resize(test::FindMarker(d, 0xDA) + 14);
                       return d;
                     },
                     Stage::Loads, 0},
        BadInputCase{"ProgressiveCutHalfWay",
                     [] {
                       auto d = BusyJPEG(64, 64, true);
                       d.resize(d.size() / 2);
                       return d;
                     },
                     Stage::Loads, 0}),
    [](const testing::TestParamInfo<BadInputCase>& info) { return info.param.Name; });

TEST(JPEGBadInput, WarningFloodIsIgnored) {
  // Thousands of bytes of junk before a marker raise a warning each time libjpeg resyncs.
  auto d = SmallJPEG();
  const std::size_t sof = test::FindMarker(d, 0xC0);
  std::vector<uint8_t> junk(200000, 0x55);
  d.insert(d.begin() + static_cast<std::ptrdiff_t>(sof), junk.begin(), junk.end());
  TJPEGImage jpeg;
  ASSERT_NO_THROW(jpeg.LoadFromData(d));
  const auto cell = DrawnAt(jpeg, 75, 100);
  EXPECT_NEAR(Channel(cell->Pixel(40, 50), 0), 200, 4);
}

// ---- Decoding ---------------------------------------------------------------------------------

TEST(JPEGLoad, ReadsTheHeaderOnly) {
  TJPEGImage jpeg;
  jpeg.LoadFromData(BusyJPEG(203, 157, true));
  EXPECT_EQ(jpeg.Width(), 203);
  EXPECT_EQ(jpeg.Height(), 157);
  EXPECT_TRUE(jpeg.MultipleScans());
  EXPECT_FALSE(jpeg.Grayscale());
  EXPECT_FALSE(jpeg.Empty());
  jpeg.LoadFromData(BusyJPEG(8, 9, false, JCS_GRAYSCALE));
  EXPECT_TRUE(jpeg.Grayscale());
  EXPECT_FALSE(jpeg.MultipleScans());
}

TEST(JPEGLoad, FailedLoadKeepsThePicture) {
  TJPEGImage jpeg;
  jpeg.LoadFromData(test::SolidJPEG(20, 10, 0, 0, 255));
  EXPECT_THROW(jpeg.LoadFromData(test::Bytes("no jpeg")), EJPEG);
  EXPECT_EQ(jpeg.Width(), 20);
  EXPECT_GT(Channel(DrawnAt(jpeg, 5, 5)->Pixel(2, 2), 2), 240);
}

TEST(JPEGLoad, EmptyFileIsNotAnEmptyPicture) {
  TJPEGImage jpeg;
  EXPECT_TRUE(jpeg.Empty());
  jpeg.LoadFromData({});
  EXPECT_FALSE(jpeg.Empty());
  EXPECT_EQ(jpeg.Width(), 0);
}

// The sampled decode gives exactly the full-size decode stretched by the platform's choice.
struct SamplingCase {
  const char* Name;
  int SourceWidth;
  int SourceHeight;
  int Width;
  int Height;
  bool Progressive;
  J_COLOR_SPACE Space;
};

class JPEGSampling : public testing::TestWithParam<SamplingCase> {};

TEST_P(JPEGSampling, EqualsFullDecodeStretched) {
  const SamplingCase& c = GetParam();
  const auto data = BusyJPEG(c.SourceWidth, c.SourceHeight, c.Progressive, c.Space);
  const auto full = DecodeJPEGScaled(data, c.SourceWidth, c.SourceHeight);
  const auto cell = DecodeJPEGScaled(data, c.Width, c.Height);
  ASSERT_EQ(cell->Width(), c.Width);
  ASSERT_EQ(cell->Height(), c.Height);
  for (int y = 0; y < c.Height; ++y)
    for (int x = 0; x < c.Width; ++x)
      ASSERT_EQ(cell->Pixel(x, y), full->Pixel(StretchSourceIndex(x, c.Width, c.SourceWidth),
                                                StretchSourceIndex(y, c.Height, c.SourceHeight)))
          << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, JPEGSampling,
    testing::Values(SamplingCase{"ShrinkBaseline", 403, 517, 75, 100, false, JCS_RGB},
                    SamplingCase{"ShrinkLandscape", 640, 480, 75, 100, false, JCS_RGB},
                    SamplingCase{"ShrinkProgressive", 403, 517, 75, 100, true, JCS_RGB},
                    SamplingCase{"ShrinkGrayscale", 301, 299, 75, 100, false, JCS_GRAYSCALE},
                    SamplingCase{"EnlargeSmall", 30, 40, 75, 100, false, JCS_RGB},
                    SamplingCase{"EnlargeTiny", 3, 2, 75, 100, false, JCS_RGB},
                    SamplingCase{"SameSize", 75, 100, 75, 100, false, JCS_RGB}),
    [](const testing::TestParamInfo<SamplingCase>& info) { return info.param.Name; });

TEST(JPEGDecode, FullDecodeMatchesTheSource) {
  // Quality 95 at 4:2:0 keeps a smooth picture within a few levels.
  TJPEGShape shape;
  shape.Width = 64;
  shape.Height = 48;
  const auto data = MakeJPEG(shape, [](int x, int y, int c) { return static_cast<uint8_t>(c == 0 ? x * 4 : c == 1 ? y * 5 : 128); });
  const auto full = DecodeJPEGScaled(data, 64, 48);
  for (int y = 4; y < 44; y += 7)
    for (int x = 4; x < 60; x += 9) {
      EXPECT_NEAR(Channel(full->Pixel(x, y), 0), x * 4, 6);
      EXPECT_NEAR(Channel(full->Pixel(x, y), 1), y * 5, 6);
      EXPECT_NEAR(Channel(full->Pixel(x, y), 2), 128, 6);
    }
}

std::set<int> GreyLevels236() {
  std::set<int> levels;
  for (int j = 0; j < 236; ++j) levels.insert((j * 255 + 117) / 235);
  return levels;
}

TEST(JPEGDecode, GrayscaleIsDitheredTo236Levels) {
  const std::set<int> allowed = GreyLevels236();
  // A flat grey that lies between two of the 236 levels.
  int between = 100;
  while (allowed.count(between)) ++between;
  const int below = *std::prev(allowed.lower_bound(between));
  const int above = *allowed.upper_bound(between);
  TJPEGShape shape;
  shape.Width = 256;
  shape.Height = 64;
  shape.Input = JCS_GRAYSCALE;
  shape.Quality = 100;
  // A ramp above the flat grey.
  const auto data =
      MakeJPEG(shape, [=](int x, int y, int) { return static_cast<uint8_t>(y < 32 ? x : between); });
  const auto full = DecodeJPEGScaled(data, 256, 64);
  std::set<int> ramp, flat;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 256; ++x) {
      const uint32_t p = full->Pixel(x, y);
      ASSERT_EQ(p, Channel(p, 2) * 0x010101u) << "not grey";
      ASSERT_EQ(allowed.count(Channel(p, 2)), 1u) << Channel(p, 2);
      if (y < 32) ramp.insert(Channel(p, 2));
      if (y >= 34) flat.insert(Channel(p, 2));
    }
  EXPECT_GT(ramp.size(), 200u);
  // Floyd–Steinberg mixes the two neighbouring levels; without dithering the area would be one.
  EXPECT_EQ(flat, (std::set<int>{below, above}));
}

TEST(JPEGDecode, ArithmeticCodedFileDecodes) {
  TJPEGShape shape;
  shape.Arithmetic = true;
  const auto data = MakeJPEG(shape, [](int, int, int c) { return static_cast<uint8_t>(c == 1 ? 220 : 30); });
  TJPEGImage jpeg;
  jpeg.LoadFromData(data);
  const auto cell = DrawnAt(jpeg, 75, 100);
  EXPECT_NEAR(Channel(cell->Pixel(37, 50), 1), 220, 4);
  EXPECT_NEAR(Channel(cell->Pixel(37, 50), 0), 30, 4);
}

TEST(JPEGDecode, TruncatedFileFillsInTheRest) {
  auto data = BusyJPEG(64, 256);
  const auto whole = DecodeJPEGScaled(data, 64, 256);
  data.resize(data.size() / 2);
  const auto part = DecodeJPEGScaled(data, 64, 256);
  // The rows before the cut are decoded as in the whole file.
  for (int x = 0; x < 64; ++x) EXPECT_EQ(part->Pixel(x, 3), whole->Pixel(x, 3));
}

// ---- Drawing into a cell -----------------------------------------------------------------------

TEST(JPEGDraw, FillsTheWholeRectangleOfItsCanvas) {
  TJPEGImage jpeg;
  jpeg.LoadFromData(test::SolidJPEG(640, 480, 10, 200, 30));
  TBitmap window(300, 300);
  window.Canvas().Brush.Color = clWhite;
  window.Canvas().FillRect(Rect(0, 0, 300, 300));
  jpeg.Draw(window.Canvas(), Bounds(75, 100, 75, 100));
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x) {
      const bool inside = x >= 75 && x < 150 && y >= 100 && y < 200;
      const uint32_t p = window.Pixel(x, y);
      if (!inside) {
        ASSERT_EQ(p, 0x00FFFFFFu) << x << "," << y;
        continue;
      }
      ASSERT_NEAR(Channel(p, 0), 10, 4);
      ASSERT_NEAR(Channel(p, 1), 200, 4);
      ASSERT_NEAR(Channel(p, 2), 30, 4);
    }
}

TEST(JPEGDraw, DrawsTheSameAgainFromWhatItKept) {
  TJPEGImage jpeg;
  jpeg.LoadFromData(BusyJPEG(403, 517));
  const auto first = DrawnAt(jpeg, 75, 100);
  const auto second = DrawnAt(jpeg, 75, 100);
  const auto expected = DecodeJPEGScaled(BusyJPEG(403, 517), 75, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 75; ++x) {
      ASSERT_EQ(first->Pixel(x, y), expected->Pixel(x, y));
      ASSERT_EQ(second->Pixel(x, y), expected->Pixel(x, y));
    }
}

TEST(JPEGDraw, EmptyPictureDrawsNothing) {
  TJPEGImage jpeg;
  TBitmap target(10, 10);
  target.Canvas().Brush.Color = clWhite;
  target.Canvas().FillRect(Rect(0, 0, 10, 10));
  jpeg.Draw(target.Canvas(), Rect(0, 0, 10, 10));
  EXPECT_EQ(target.Pixel(5, 5), 0x00FFFFFFu);
}

TEST(JPEGDraw, FailedDrawFailsAgainNextTime) {
  TJPEGImage jpeg;
  jpeg.LoadFromData({});
  EXPECT_THROW(DrawnAt(jpeg, 75, 100), EJPEG);
  EXPECT_THROW(DrawnAt(jpeg, 75, 100), EJPEG);
}

// ---- Encoding ---------------------------------------------------------------------------------

TEST(JPEGEncode, AssignedBitmapRoundTrips) {
  TBitmap bitmap(40, 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 40; ++x) bitmap.SetPixel(x, y, x < 20 ? 0x00FF0000u : 0x000000FFu);  // red | blue
  TJPEGImage jpeg;
  jpeg.Assign(&bitmap);
  jpeg.SetCompressionQuality(90);
  const auto decoded = test::DecodeWithLibjpeg(jpeg.SavedData());
  ASSERT_EQ(decoded.Width, 40);
  ASSERT_EQ(decoded.Height, 24);
  EXPECT_NEAR(decoded.Pixel(5, 12, 0), 255, 8);
  EXPECT_NEAR(decoded.Pixel(5, 12, 2), 0, 8);
  EXPECT_NEAR(decoded.Pixel(35, 12, 0), 0, 8);
  EXPECT_NEAR(decoded.Pixel(35, 12, 2), 255, 8);
}

TEST(JPEGEncode, EmptyPictureIsRefusedByLibjpeg) {
  TJPEGImage jpeg;
  try {
    jpeg.SavedData();
    FAIL();
  } catch (const EJPEG& e) {
    EXPECT_EQ(e.Message(), JPEGMessage(JPEGErrorNumber6a(JERR_EMPTY_IMAGE)));
  }
}

TEST(JPEGEncode, LoadedFileIsSavedUnchanged) {
  const auto data = BusyJPEG(20, 20);
  TJPEGImage jpeg;
  jpeg.LoadFromData(data);
  EXPECT_EQ(jpeg.SavedData(), data);
}

}  // namespace
}  // namespace permora
