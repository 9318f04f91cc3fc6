#include "platform/qt/QtTextRenderer.h"

#include <gtest/gtest.h>

#include <set>

namespace permora {
namespace {

constexpr uint32_t kBackground = 0x00123456;

struct QtText : testing::Test {
  static void SetUpTestSuite() { EnsureGuiApplication(); }

  TQtTextRenderer renderer;
  TFont font;  // the platform's default: "ＭＳ Ｐゴシック", 12 pixels

  TSize Measure(const String& text, uint32_t flags = 0) const { return renderer.Measure(font, text, flags); }

  // Draws into a fresh bitmap filled with the background.
  std::unique_ptr<TBitmap> DrawnBitmap(const String& text, const TRect& box, uint32_t flags = 0,
                                       TSize size = {120, 60}) const {
    auto target = std::make_unique<TBitmap>(size.cx, size.cy);
    for (int32_t y = 0; y < size.cy; ++y)
      for (int32_t x = 0; x < size.cx; ++x) target->SetPixel(x, y, kBackground);
    renderer.Draw(*target, Rect(0, 0, size.cx, size.cy), font, text, box, flags);
    return target;
  }
  // Row-major pixels of a drawing.
  std::vector<uint32_t> Drawn(const String& text, const TRect& box, uint32_t flags = 0, TSize size = {120, 60}) const {
    const auto b = DrawnBitmap(text, box, flags, size);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < size.cy; ++y)
      for (int32_t x = 0; x < size.cx; ++x) pixels.push_back(b->Pixel(x, y));
    return pixels;
  }

  // The smallest rectangle that holds every pixel the drawing changed (empty when none).
  static TRect Touched(const std::vector<uint32_t>& pixels, int32_t width = 120, TRect within = {0, 0, INT32_MAX, INT32_MAX}) {
    TRect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    const int32_t height = static_cast<int32_t>(pixels.size()) / width;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        if (within.Contains({x, y}) && pixels[static_cast<std::size_t>(y * width + x)] != kBackground) r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
                                               std::max(r.Bottom, y + 1)};
    return r.Left == INT32_MAX ? TRect{} : r;
  }
};

TEST_F(QtText, FontNamesAreMatchedThroughTheTable) {
  EXPECT_EQ(TQtTextRenderer::MatchedFamily(font), "IPAPGothic");
  font.SetName("ＭＳ ゴシック");
  EXPECT_EQ(TQtTextRenderer::MatchedFamily(font), "IPAGothic");
  font.SetName("Tahoma");
  EXPECT_EQ(TQtTextRenderer::MatchedFamily(font), "DejaVu Sans");
}

TEST_F(QtText, TwoLinesAreAsWideAsTheWiderAndTwiceAsHigh) {
  const TSize one = Measure("Open");
  const TSize wide = Measure("Open the door");
  ASSERT_GT(one.cx, 0);
  ASSERT_GT(one.cy, 0);
  EXPECT_GT(wide.cx, one.cx);
  EXPECT_EQ(wide.cy, one.cy);
  EXPECT_EQ(Measure("Open\nOpen the door"), (TSize{wide.cx, 2 * one.cy}));
  EXPECT_EQ(Measure("Open the door\nOpen"), (TSize{wide.cx, 2 * one.cy}));
  // A line is the font's character extent without leading: about the 12-pixel height.
  EXPECT_GE(one.cy, 12);
  EXPECT_LE(one.cy, 16);
}

struct SameMeasureRow {
  const char* name;
  const char* text;
  uint32_t flags;
  const char* same;
  uint32_t sameFlags;
};

const SameMeasureRow kSameMeasures[] = {
    {"PrefixTakesNoRoom", "&Save", 0, "Save", 0},
    {"PrefixInTheMiddle", "Sa&ve", 0, "Save", 0},
    {"DoubleAmpersandIsOne", "Save && load", 0, "Save & load", DT_NOPREFIX},
    {"LoneAmpersandAtTheEndIsDropped", "Save&", 0, "Save", 0},
    {"CrLfIsOneBreak", "ab\r\ncd", 0, "ab\ncd", 0},
    {"CrAloneBreaks", "ab\rcd", 0, "ab\ncd", 0},
    {"TrailingBreakStartsNoLine", "ab\n", 0, "ab", 0},
    {"TabIsNotExpanded", "a\tb", 0, "a b", 0},
    {"SingleLineLeavesBreaksOut", "ab\ncd", DT_SINGLELINE, "abcd", 0},
    {"JapaneseWithPrefix", "保存(&S)", 0, "保存(S)", 0},
};

class SameMeasure : public QtText, public testing::WithParamInterface<SameMeasureRow> {};

TEST_P(SameMeasure, MeasuresAsTheOther) {
  const SameMeasureRow& row = GetParam();
  EXPECT_EQ(Measure(row.text, row.flags), Measure(row.same, row.sameFlags));
}

INSTANTIATE_TEST_SUITE_P(Table, SameMeasure, testing::ValuesIn(kSameMeasures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(QtText, NoPrefixMeasuresTheAmpersands) {
  EXPECT_GT(Measure("&Save", DT_NOPREFIX).cx, Measure("Save").cx);
  EXPECT_EQ(Measure("a\n\nb").cy, 3 * Measure("a").cy);
  EXPECT_EQ(Measure(""), (TSize{0, 0}));
}

TEST_F(QtText, JapaneseTextHasGlyphs) {
  const TSize size = Measure("ペルモラ");
  EXPECT_GT(size.cx, 4 * 8) << "four full-width characters";
  EXPECT_FALSE(Touched(Drawn("ペルモラ", Rect(0, 0, 120, 60))).IsEmpty());
}

TEST_F(QtText, EveryDrawnPixelIsTheFontColour) {
  for (int32_t height : {-12, -30}) {
    font.SetHeight(height);
    font.SetColor(clRed);
    const auto pixels = Drawn("Wag &Qy ペルモラ\r\n@%&&", Rect(0, 0, 300, 100), 0, {300, 100});
    const std::set<uint32_t> colours(pixels.begin(), pixels.end());
    EXPECT_EQ(colours, (std::set<uint32_t>{kBackground, 0x00FF0000u})) << "height " << height;
  }
}

TEST_F(QtText, DrawnLinesFitTheirMeasuredBox) {
  for (const TFontStyles style : {TFontStyles{}, TFontStyles{TFontStyle::fsBold}, TFontStyles{TFontStyle::fsItalic}})
  for (const char* name : {"ＭＳ Ｐゴシック", "Tahoma"})
  for (const char* text : {"Save", "&Open file\nQuit", "Wyg\r\n保存(&S)", "A&&B"}) {
    font.SetName(name);
    font.SetStyle(style);
    const TSize size = Measure(text);
    const TRect touched = Touched(Drawn(text, Rect(10, 5, 110, 55)));  // room to spare: no clipping
    const String what = String(text) + " in " + name + " style " + std::to_string(style.Bits());
    ASSERT_FALSE(touched.IsEmpty()) << what;
    EXPECT_GE(touched.Left, 10) << what;
    EXPECT_GE(touched.Top, 5) << what;
    EXPECT_LE(touched.Right, 10 + size.cx) << what;
    EXPECT_LE(touched.Bottom, 5 + size.cy) << what;
  }
}

TEST_F(QtText, PrefixUnderlinesTheNextCharacterOnly) {
  const TRect box = Rect(0, 0, 120, 60);
  const auto plain = Drawn("Save", box);
  const auto marked = Drawn("&Save", box);
  const int32_t s = Measure("S").cx;
  const int32_t lineHeight = Measure("S").cy;
  int extra = 0;
  for (int32_t y = 0; y < 60; ++y)
    for (int32_t x = 0; x < 120; ++x) {
      const std::size_t i = static_cast<std::size_t>(y * 120 + x);
      if (marked[i] == plain[i]) continue;
      EXPECT_EQ(plain[i], kBackground) << "the characters themselves are drawn alike";
      EXPECT_LT(x, s) << "the underline stays under the S";
      EXPECT_LT(y, lineHeight) << "the underline stays in its line";
      ++extra;
    }
  EXPECT_GE(extra, s - 1) << "an underline as wide as the S";
  // "&&" draws one ampersand, not underlined.
  EXPECT_EQ(Drawn("A&&B", box), Drawn("A&B", box, DT_NOPREFIX));
}

TEST_F(QtText, CentredLinesAndClipping) {
  const TSize narrow = Measure("i");
  const TSize wide = Measure("WWWWWW");
  const TRect box = Bounds(0, 0, wide.cx, 2 * wide.cy);
  // The short first line sits in the middle of the box.
  const TRect first = Touched(Drawn("i\nWWWWWW", box, DT_CENTER), 120, Rect(0, 0, 120, wide.cy));
  ASSERT_FALSE(first.IsEmpty());
  const int32_t left = (wide.cx - narrow.cx) / 2;
  EXPECT_GE(first.Left, left);
  EXPECT_LE(first.Right, left + narrow.cx);

  // Nothing outside the box, however long the text.
  const TRect small = Rect(20, 10, 40, 16);
  const TRect touched = Touched(Drawn("a very long caption\nand more", small));
  ASSERT_FALSE(touched.IsEmpty());
  EXPECT_GE(touched.Left, small.Left);
  EXPECT_GE(touched.Top, small.Top);
  EXPECT_LE(touched.Right, small.Right);
  EXPECT_LE(touched.Bottom, small.Bottom);
  // And nothing outside the clip.
  TBitmap target(120, 60);
  renderer.Draw(target, Rect(0, 0, 5, 60), font, "Wide text", Rect(0, 0, 120, 60), 0);
  for (int32_t y = 0; y < 60; ++y)
    for (int32_t x = 5; x < 120; ++x) ASSERT_EQ(target.Pixel(x, y), 0u);
}

TEST_F(QtText, BoldIsWider) {
  font.SetName("Tahoma");  // DejaVu Sans has a bold face of its own
  const int32_t regular = Measure("Bold text").cx;
  font.SetStyle({TFontStyle::fsBold});
  EXPECT_GT(Measure("Bold text").cx, regular);
}

TEST(QtTextWithoutApplication, EnsureIsIdempotent) {
  EnsureGuiApplication();
  EnsureGuiApplication();
  EXPECT_NO_THROW(TQtTextRenderer());
}

}  // namespace
}  // namespace permora
