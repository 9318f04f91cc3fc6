#include "controls/ShineSpdBtn.h"

#include <gtest/gtest.h>

#include "platform/qt/QtTextRenderer.h"
#include "tests/controls/ButtonTestSupport.h"

namespace permora {
namespace {

// Measures every text as one fixed size, so that the layout table is exact.
class TFixedSizeRenderer final : public ITextRenderer {
 public:
  TSize size;
  mutable std::vector<uint32_t> measureFlags;
  TSize Measure(const TFont&, const String&, uint32_t flags) const override {
    measureFlags.push_back(flags);
    return size;
  }
  void Draw(TBitmap&, const TRect&, const TFont&, const String&, const TRect&, uint32_t) const override {}
};

struct LayoutRow {
  const char* name;
  TSize client;
  TSize glyph;    // 0 x 0: no glyph
  TSize caption;  // 0 x 0: no caption
  TButtonLayout layout;
  int32_t margin;
  int32_t spacing;
  TPoint glyphPos;
  TRect textBox;
};

const LayoutRow kLayouts[] = {
    // Of 9 spare pixels on each axis, 4 go left (above) and 5 right (below).
    {"DefaultButtonCentresAGlyph", {25, 25}, {16, 16}, {}, blGlyphLeft, -1, 4, {4, 4}, {20, 4, 20, 4}},
    {"GlyphLeftCentred", {75, 25}, {16, 16}, {30, 13}, blGlyphLeft, -1, 4, {12, 4}, {32, 5, 62, 18}},
    {"GlyphRightWithMargin", {75, 25}, {16, 16}, {30, 13}, blGlyphRight, 2, 4, {57, 4}, {23, 5, 53, 18}},
    {"GlyphLeftWithMargin", {75, 25}, {16, 16}, {30, 13}, blGlyphLeft, 3, 4, {3, 4}, {23, 5, 53, 18}},
    {"GlyphTopCentred", {40, 50}, {16, 16}, {30, 13}, blGlyphTop, -1, 4, {12, 8}, {5, 28, 35, 41}},
    {"GlyphTopWithMargin", {40, 50}, {16, 16}, {30, 13}, blGlyphTop, 0, 4, {12, 0}, {5, 20, 35, 33}},
    // The glyph's last row is the client's last row.
    {"GlyphBottomMarginZero", {40, 50}, {16, 16}, {30, 13}, blGlyphBottom, 0, 4, {12, 34}, {5, 17, 35, 30}},
    {"GlyphBottomCentred", {40, 50}, {16, 16}, {30, 13}, blGlyphBottom, -1, 4, {12, 25}, {5, 8, 35, 21}},
    // Without a glyph no spacing is added and the caption alone is centred.
    {"NoGlyphLeft", {75, 25}, {}, {30, 13}, blGlyphLeft, -1, 4, {22, 6}, {22, 6, 52, 19}},
    {"NoGlyphRight", {75, 25}, {}, {30, 13}, blGlyphRight, -1, 4, {52, 6}, {22, 6, 52, 19}},
    {"NoGlyphTop", {75, 25}, {}, {30, 13}, blGlyphTop, -1, 4, {22, 6}, {22, 6, 52, 19}},
    {"NoGlyphBottom", {75, 25}, {}, {30, 13}, blGlyphBottom, -1, 4, {22, 19}, {22, 6, 52, 19}},
    // Without a caption no spacing is added either.
    {"NoCaptionCentred", {75, 25}, {16, 16}, {}, blGlyphLeft, -1, 4, {29, 4}, {45, 4, 45, 4}},
    {"NoCaptionLeftMargin", {75, 25}, {16, 16}, {}, blGlyphLeft, 3, 4, {3, 4}, {19, 4, 19, 4}},
    {"NoCaptionRightMargin", {75, 25}, {16, 16}, {}, blGlyphRight, 3, 4, {56, 4}, {56, 4, 56, 4}},
    {"NoCaptionTopMargin", {75, 25}, {16, 16}, {}, blGlyphTop, 3, 4, {29, 3}, {29, 19, 29, 19}},
    {"NoCaptionBottomMargin", {75, 25}, {16, 16}, {}, blGlyphBottom, 3, 4, {29, 6}, {29, 6, 29, 6}},
    {"NothingToShow", {75, 25}, {}, {}, blGlyphLeft, -1, 4, {37, 12}, {37, 12, 37, 12}},
    // 5 pixels of overflow: 2 on the left, 3 on the right.
    {"WiderThanTheClient", {20, 20}, {25, 10}, {}, blGlyphLeft, -1, 4, {-2, 5}, {23, 5, 23, 5}},
    {"TallerThanTheClient", {20, 20}, {10, 25}, {}, blGlyphTop, -1, 4, {5, -2}, {5, 23, 5, 23}},
    {"AnyNegativeMarginCentres", {75, 25}, {16, 16}, {30, 13}, blGlyphLeft, -7, 4, {12, 4}, {32, 5, 62, 18}},
    // The caption begins 3 pixels before the glyph's right edge.
    {"NegativeSpacingOverlaps", {75, 25}, {16, 16}, {30, 13}, blGlyphLeft, -1, -3, {16, 4}, {29, 5, 59, 18}},
    // A caption wider than the client keeps its full width.
    {"CaptionWiderThanTheClient", {75, 25}, {}, {100, 13}, blGlyphLeft, -1, 4, {-12, 6}, {-12, 6, 88, 19}},
    // The smaller element is centred across the axis; odd spare pixels go below.
    {"TallCaptionCentresTheGlyph", {75, 40}, {16, 16}, {30, 27}, blGlyphLeft, -1, 4, {12, 11}, {32, 6, 62, 33}},
};

class ContentLayout : public testing::TestWithParam<LayoutRow> {
 protected:
  void SetUp() override {
    try {
      previous = &TextRenderer();
    } catch (const EInvalidOperation&) {
      previous = nullptr;  // none installed yet
    }
    SetTextRenderer(&renderer);
  }
  void TearDown() override { SetTextRenderer(previous); }

  TFixedSizeRenderer renderer;
  const ITextRenderer* previous = nullptr;
};

TEST_P(ContentLayout, PlacesGlyphAndTextBox) {
  const LayoutRow& row = GetParam();
  TShineSpeedButton button(nullptr);
  button.SetBounds(0, 0, row.client.cx, row.client.cy);
  TBitmap glyph(row.glyph.cx, row.glyph.cy);
  button.SetGlyph(&glyph);
  renderer.size = row.caption;
  if (row.caption.cx > 0) button.SetCaption("Caption");
  button.SetLayout(row.layout);
  button.SetMargin(row.margin);
  button.SetSpacing(row.spacing);

  TBitmap surface(row.client.cx, row.client.cy);
  TCanvas canvas(surface);
  TPoint glyphPos{-999, -999};
  TRect textBox{-999, -999, -999, -999};
  button.CalcDrawPosition(canvas, glyphPos, textBox);
  EXPECT_EQ(glyphPos, row.glyphPos);
  EXPECT_EQ(textBox, row.textBox);
  if (row.caption.cx > 0) {
    // Measured in multi-line mode with no other option.
    EXPECT_EQ(renderer.measureFlags, std::vector<uint32_t>{DT_CALCRECT});
  } else {
    EXPECT_TRUE(renderer.measureFlags.empty()) << "an empty caption is not measured";
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ContentLayout, testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace permora

namespace permora {
namespace {

// The caption measured by the real text service, in the font the canvas holds.
struct MeasuredCaption : testing::Test {
  static void SetUpTestSuite() { EnsureGuiApplication(); }
  void SetUp() override {
    try {
      previous = &TextRenderer();
    } catch (const EInvalidOperation&) {
      previous = nullptr;
    }
    SetTextRenderer(&renderer);
    button.SetBounds(0, 0, 120, 60);
  }
  void TearDown() override { SetTextRenderer(previous); }

  TRect TextBox(const String& caption) {
    button.SetCaption(caption);
    TBitmap surface(120, 60);
    TCanvas canvas(surface);
    canvas.Font().Assign(button.Font());
    TPoint glyphPos;
    TRect box;
    button.CalcDrawPosition(canvas, glyphPos, box);
    return box;
  }

  TQtTextRenderer renderer;
  const ITextRenderer* previous = nullptr;
  TShineSpeedButton button{nullptr};
};

TEST_F(MeasuredCaption, TwoLinesGrowTheBlock) {
  const TRect one = TextBox("Open");
  const TRect wider = TextBox("Open all");
  const TRect two = TextBox("Open\r\nOpen all");
  EXPECT_EQ(two.Width(), wider.Width());
  EXPECT_EQ(two.Height(), 2 * one.Height());
  EXPECT_EQ(two.Top, (60 - two.Height()) / 2);
}

TEST_F(MeasuredCaption, AmpersandsMeasureAsDrawn) {
  EXPECT_EQ(TextBox("&Save").Width(), TextBox("Save").Width());
  EXPECT_EQ(TextBox("a&b").Width(), TextBox("ab").Width());
  // Two ampersands measure as one.
  EXPECT_EQ(TextBox("a&&b").Width(), renderer.Measure(*button.Font(), "a&b", DT_NOPREFIX).cx);
  EXPECT_GT(TextBox("a&&b").Width(), TextBox("ab").Width());
}

}  // namespace
}  // namespace permora
