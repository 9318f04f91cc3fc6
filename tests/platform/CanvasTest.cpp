#include <gtest/gtest.h>

#include <vector>

#include "platform/Graphics.h"

namespace permora {
namespace {

constexpr uint32_t kBackground = 0x00102030;

// A bitmap filled with the background colour.
struct TBlank : TBitmap {
  TBlank(int32_t width, int32_t height) : TBitmap(width, height) {
    Canvas().Brush.Color = PixelToColor(kBackground);
    Canvas().FillRect(Rect(0, 0, width, height));
  }
};

// Every pixel a colour of its own: red carries x, green y.
uint32_t Distinct(int32_t x, int32_t y) { return 0x00800000u | static_cast<uint32_t>(x) << 16 | static_cast<uint32_t>(y) << 8 | 0x40u; }

struct TDistinctPixels : TBitmap {
  TDistinctPixels(int32_t width, int32_t height) : TBitmap(width, height) {
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) SetPixel(x, y, Distinct(x, y));
  }
};

// The pixels of `bitmap` that differ from the background, as (x, y) pairs.
std::vector<TPoint> Touched(const TBitmap& bitmap) {
  std::vector<TPoint> points;
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x)
      if (bitmap.Pixel(x, y) != kBackground) points.push_back({x, y});
  return points;
}

// ---- StretchDraw ----------------------------------------------------------------------------------

struct StretchCase {
  const char* name;
  int32_t sourceWidth, sourceHeight;
  TRect rect;                 // in a 9x7 target
  std::vector<int> columns;   // the source column of each target column of the normalised rect
  std::vector<int> rows;
};

void PrintTo(const StretchCase& c, std::ostream* os) { *os << c.name; }

class StretchDraw : public testing::TestWithParam<StretchCase> {};

// Target pixel d of D takes source pixel floor((2d + 1) * S / (2D)); the tables hold that worked out
// by hand, mirrored where the rectangle is reversed.
TEST_P(StretchDraw, TakesTheNearestSourcePixel) {
  const StretchCase& c = GetParam();
  const TDistinctPixels source(c.sourceWidth, c.sourceHeight);
  TBlank target(9, 7);
  target.Canvas().StretchDraw(c.rect, source);
  const int32_t left = std::min(c.rect.Left, c.rect.Right), top = std::min(c.rect.Top, c.rect.Bottom);
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 9; ++x) {
      const int32_t i = x - left, j = y - top;
      const bool inside = i >= 0 && i < static_cast<int32_t>(c.columns.size()) && j >= 0 &&
                          j < static_cast<int32_t>(c.rows.size());
      const uint32_t expected = inside ? Distinct(c.columns[i], c.rows[j]) : kBackground;
      EXPECT_EQ(target.Pixel(x, y), expected) << "at " << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StretchDraw,
    testing::Values(StretchCase{"Enlarge3x2To7x5", 3, 2, Bounds(1, 1, 7, 5), {0, 0, 1, 1, 1, 2, 2}, {0, 0, 1, 1, 1}},
                    StretchCase{"Reduce7x5To3x2", 7, 5, Bounds(2, 3, 3, 2), {1, 3, 5}, {1, 3}},
                    StretchCase{"Enlarge3To4", 3, 2, Bounds(0, 0, 4, 2), {0, 1, 1, 2}, {0, 1}},
                    StretchCase{"SameSize", 3, 2, Bounds(4, 4, 3, 2), {0, 1, 2}, {0, 1}},
                    StretchCase{"MirroredLeftRight", 3, 2, Rect(8, 1, 1, 6), {2, 2, 1, 1, 1, 0, 0}, {0, 0, 1, 1, 1}},
                    StretchCase{"MirroredUpDown", 3, 2, Rect(1, 6, 8, 1), {0, 0, 1, 1, 1, 2, 2}, {1, 1, 1, 0, 0}},
                    StretchCase{"ReducedAndMirrored", 7, 5, Rect(3, 2, 0, 0), {5, 3, 1}, {3, 1}}),
    [](const testing::TestParamInfo<StretchCase>& info) { return std::string(info.param.name); });

TEST(StretchDrawClipping, DrawsOnlyTheVisiblePartOfAHugeRectangle) {
  // Each target pixel still takes the pixel the whole rectangle's formula gives it.
  const TDistinctPixels source(3, 2);
  TBlank target(4, 4);
  target.Canvas().StretchDraw(Rect(-2000000000, -1000000000, 2000000000, 1000000000), source);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(target.Pixel(x, y), Distinct(1, 1)) << x << "," << y;
}

// ---- Clipping -------------------------------------------------------------------------------------

struct ClipCase {
  const char* name;
  void (*draw)(TCanvas&);
  std::vector<TPoint> touched;  // in the 6x6 bitmap, row by row
};

void PrintTo(const ClipCase& c, std::ostream* os) { *os << c.name; }

class Clipping : public testing::TestWithParam<ClipCase> {};

// The canvas works at origin (1, 1) of a 6x6 bitmap with the clip rectangle (0, 0)-(3, 3) in its own
// coordinates: only bitmap pixels 1..3 in each direction may change.
TEST_P(Clipping, WritesNothingOutsideTheClipRectangle) {
  TBlank bitmap(6, 6);
  TCanvas canvas(bitmap, {1, 1}, Rect(0, 0, 3, 3));
  canvas.Brush.Color = clRed;
  canvas.Pen.Color = clRed;
  GetParam().draw(canvas);
  const auto touched = Touched(bitmap);
  ASSERT_EQ(touched.size(), GetParam().touched.size());
  for (std::size_t i = 0; i < touched.size(); ++i) EXPECT_EQ(touched[i], GetParam().touched[i]) << i;
}

std::vector<TPoint> Square(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  std::vector<TPoint> points;
  for (int32_t y = top; y < bottom; ++y)
    for (int32_t x = left; x < right; ++x) points.push_back({x, y});
  return points;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Clipping,
    testing::Values(
        ClipCase{"FillLargerThanEverything", [](TCanvas& c) { c.FillRect(Rect(-50, -50, 50, 50)); }, Square(1, 1, 4, 4)},
        ClipCase{"FillOverTheTopLeft", [](TCanvas& c) { c.FillRect(Rect(-3, -3, 1, 2)); }, Square(1, 1, 2, 3)},
        ClipCase{"FillOutside", [](TCanvas& c) { c.FillRect(Rect(3, 0, 9, 9)); }, {}},
        ClipCase{"LineAcross",
                 [](TCanvas& c) {
                   c.MoveTo(-10, 1);
                   c.LineTo(20, 1);
                 },
                 Square(1, 2, 4, 3)},
        ClipCase{"DiagonalLine",
                 [](TCanvas& c) {
                   c.MoveTo(-2, -2);
                   c.LineTo(7, 7);
                 },
                 {{1, 1}, {2, 2}, {3, 3}}},
        ClipCase{"DrawOverTheEdge", [](TCanvas& c) { c.Draw(1, -2, TDistinctPixels(5, 4)); }, Square(2, 1, 4, 3)},
        ClipCase{"PixelOutside", [](TCanvas& c) { c.SetPixel(3, 0, clRed); }, {}},
        ClipCase{"MaskOverTheEdge",
                 [](TCanvas& c) {
                   TBitmap mask(4, 4);
                   mask.Canvas().Brush.Color = clWhite;
                   mask.Canvas().FillRect(Rect(0, 0, 4, 4));
                   c.PaintThroughMask(-2, 1, mask, clRed);
                 },
                 Square(1, 2, 3, 4)},
        ClipCase{"CopyOverTheEdge",
                 [](TCanvas& c) {
                   TDistinctPixels source(4, 4);
                   c.CopyRect(Rect(2, 2, 6, 6), source.Canvas(), Rect(0, 0, 4, 4));
                 },
                 {{3, 3}}}),
    [](const testing::TestParamInfo<ClipCase>& info) { return std::string(info.param.name); });

// ---- Lines ----------------------------------------------------------------------------------------

struct LineCase {
  const char* name;
  TPoint from, to;
  std::vector<TPoint> pixels;  // row by row
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LineTo : public testing::TestWithParam<LineCase> {};

TEST_P(LineTo, LeavesOutTheEndPoint) {
  const LineCase& c = GetParam();
  TBlank bitmap(6, 6);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Pen.Color = clBlue;
  canvas.MoveTo(c.from.X, c.from.Y);
  canvas.LineTo(c.to.X, c.to.Y);
  EXPECT_EQ(canvas.PenPos(), c.to);
  const auto touched = Touched(bitmap);
  ASSERT_EQ(touched.size(), c.pixels.size());
  for (std::size_t i = 0; i < touched.size(); ++i) {
    EXPECT_EQ(touched[i], c.pixels[i]) << i;
    EXPECT_EQ(bitmap.Pixel(touched[i].X, touched[i].Y), 0x000000FFu);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, LineTo,
                         testing::Values(LineCase{"Right", {1, 2}, {4, 2}, {{1, 2}, {2, 2}, {3, 2}}},
                                         LineCase{"Left", {4, 2}, {1, 2}, {{2, 2}, {3, 2}, {4, 2}}},
                                         LineCase{"Down", {0, 0}, {0, 3}, {{0, 0}, {0, 1}, {0, 2}}},
                                         LineCase{"Diagonal", {3, 3}, {0, 0}, {{1, 1}, {2, 2}, {3, 3}}},
                                         LineCase{"ToItself", {2, 2}, {2, 2}, {}}),
                         [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

// ---- Masks, transparency, copies --------------------------------------------------------------------

TEST(PaintThroughMask, WhiteTakesTheColourAndBlackStays) {
  TBitmap mask(3, 2);
  mask.SetPixel(0, 0, 0x00FFFFFF);
  mask.SetPixel(2, 0, 0x00FFFFFF);
  mask.SetPixel(1, 1, 0x00FFFFFF);
  TBlank target(4, 3);
  target.Canvas().PaintThroughMask(1, 1, mask, clRed);
  const uint32_t red = 0x00FF0000;
  const uint32_t expected[3][4] = {{kBackground, kBackground, kBackground, kBackground},
                                   {kBackground, red, kBackground, red},
                                   {kBackground, kBackground, red, kBackground}};
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(target.Pixel(x, y), expected[y][x]) << x << "," << y;
}

// A 3x2 picture whose bottom-left colour appears once more; (1, 0) has a colour of its own.
struct TTransparentPicture : TDistinctPixels {
  TTransparentPicture() : TDistinctPixels(3, 2) {
    SetPixel(2, 0, Pixel(0, 1));
    SetTransparent(true);
  }
};

void ExpectDrawnExcept(const TBitmap& target, const TBitmap& picture, uint32_t leftOut) {
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x) {
      const uint32_t p = picture.Pixel(x, y);
      EXPECT_EQ(target.Pixel(x + 1, y + 1), p == leftOut ? kBackground : p) << x << "," << y;
    }
}

TEST(TransparentDraw, AutomaticModeLeavesOutTheBottomLeftColour) {
  const TTransparentPicture picture;
  TBlank target(5, 4);
  target.Canvas().Draw(1, 1, picture);
  ExpectDrawnExcept(target, picture, picture.Pixel(0, 1));
  EXPECT_EQ(target.Pixel(3, 1), kBackground);  // the same colour elsewhere is left out too
}

TEST(TransparentDraw, FixedModeLeavesOutTheColourSet) {
  TTransparentPicture picture;
  picture.SetTransparentColor(PixelToColor(picture.Pixel(1, 0)));
  TBlank target(5, 4);
  target.Canvas().Draw(1, 1, picture);
  ExpectDrawnExcept(target, picture, picture.Pixel(1, 0));
  EXPECT_EQ(target.Pixel(1, 2), picture.Pixel(0, 1));
}

TEST(TransparentDraw, AnOpaqueBitmapIsDrawnWhole) {
  TTransparentPicture picture;
  picture.SetTransparent(false);
  TBlank target(5, 4);
  target.Canvas().Draw(1, 1, picture);
  ExpectDrawnExcept(target, picture, 0xFFFFFFFF);
}

TEST(CopyRect, CopiesOneToOne) {
  TDistinctPixels picture(4, 3);
  TBlank target(5, 5);
  target.Canvas().CopyRect(Rect(3, 2, 5, 4), picture.Canvas(), Rect(1, 1, 3, 3));
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 5; ++x) {
      const bool inside = x >= 3 && y >= 2 && y < 4;
      EXPECT_EQ(target.Pixel(x, y), inside ? Distinct(x - 2, y - 1) : kBackground) << x << "," << y;
    }
}

TEST(CopyRect, CopiesWithinOneBitmapFromWhatWasThereBefore) {
  TDistinctPixels bitmap(4, 1);
  bitmap.Canvas().CopyRect(Rect(1, 0, 4, 1), bitmap.Canvas(), Rect(0, 0, 3, 1));
  EXPECT_EQ(bitmap.Pixel(0, 0), Distinct(0, 0));
  for (int32_t x = 1; x < 4; ++x) EXPECT_EQ(bitmap.Pixel(x, 0), Distinct(x - 1, 0)) << x;
}

TEST(CopyRect, StretchesAndMirrorsLikeStretchDraw) {
  TDistinctPixels picture(3, 2);
  TBlank copied(9, 7), drawn(9, 7);
  copied.Canvas().CopyRect(Rect(8, 1, 1, 6), picture.Canvas(), Rect(0, 0, 3, 2));
  drawn.Canvas().StretchDraw(Rect(8, 1, 1, 6), picture);
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 9; ++x) EXPECT_EQ(copied.Pixel(x, y), drawn.Pixel(x, y)) << x << "," << y;
  EXPECT_EQ(copied.Pixel(1, 1), Distinct(2, 0));
}

}  // namespace
}  // namespace permora
