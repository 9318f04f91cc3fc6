#include <gtest/gtest.h>

#include "controls/ShineSpdBtn.h"
#include "platform/Forms.h"
#include "support/BlockTextRenderer.h"
#include "tests/controls/ButtonTestSupport.h"

namespace permora {
namespace {

using testing_support::TBlockTextScope;

// The colours of the paint tests, one letter each. Raised set: F face, H highlight, S shadow,
// D dark shadow; pressed set: P face, h highlight, s shadow, d dark shadow.
constexpr TColor kFace = 0x00C0C0C0, kHighlight = 0x00FFFFFF, kShadow = 0x00808080, kDark = 0x00000000;
constexpr TColor kPFace = 0x00808000, kPHighlight = 0x0000FFFF, kPShadow = 0x000000FF, kPDark = 0x00FF0000;
constexpr TColor kBehind = 0x0000FF00;  // the form beneath the button: 'g'

struct TLetter {
  char letter;
  TColor color;
};
constexpr TLetter kLetters[] = {{'F', kFace}, {'H', kHighlight}, {'S', kShadow},      {'D', kDark},
                                {'P', kPFace}, {'h', kPHighlight}, {'s', kPShadow}, {'d', kPDark},
                                {'g', kBehind}};

char LetterOf(uint32_t pixel) {
  for (const TLetter& l : kLetters)
    if (ColorToPixelValue(l.color) == pixel) return l.letter;
  return '?';
}

struct PaintFixture : testing::Test {
  TBlockTextScope text;
  TForm form{nullptr};
  TShineSpeedButton* button = new TShineSpeedButton(&form);

  void SetUp() override {
    form.SetColor(kBehind);
    form.SetClientWidth(300);
    form.SetClientHeight(300);
    button->SetParent(&form);
    TShineBtnColors& up = *button->Colors();
    up.SetColor(kFace);
    up.SetHighlight(kHighlight);
    up.SetShadow(kShadow);
    up.SetDarkShadow(kDark);
    TShineBtnColors& down = *button->PressedColors();
    down.SetColor(kPFace);
    down.SetHighlight(kPHighlight);
    down.SetShadow(kPShadow);
    down.SetDarkShadow(kPDark);
  }
  // Paints the button in a state and reads its pixels back from the form.
  const TBitmap& PaintIn(TVisualState state) {
    button->SetState(state);
    form.Repaint();
    return form.Surface();
  }
  uint32_t At(int x, int y) const { return form.Surface().Pixel(button->Left() + x, button->Top() + y); }
  std::vector<std::string> Letters(TVisualState state) {
    PaintIn(state);
    std::vector<std::string> rows;
    for (int y = 0; y < button->Height(); ++y) {
      std::string row;
      for (int x = 0; x < button->Width(); ++x) row += LetterOf(At(x, y));
      rows.push_back(row);
    }
    return rows;
  }
};

// ---- Frames ---------------------------------------------------------------------------------------

struct FrameRow {
  const char* name;
  TFrameType type;
  TVisualState state;
  std::vector<std::string> picture;
};

class FramePaint : public PaintFixture, public testing::WithParamInterface<FrameRow> {};

TEST_P(FramePaint, DrawsEverySpanInItsColourAndLeavesTheCornersAlone) {
  const FrameRow& row = GetParam();
  button->SetBounds(3, 2, 6, 5);
  button->SetFrameType(row.type);
  EXPECT_EQ(Letters(row.state), row.picture);
}

INSTANTIATE_TEST_SUITE_P(
    Types, FramePaint,
    testing::Values(
        FrameRow{"FlatRaised", ftFlatFrame, vsUp, {"HHHHHF", "HFFFFS", "HFFFFS", "HFFFFS", "FSSSSS"}},
        FrameRow{"FlatPressed", ftFlatFrame, vsDown, {"sssssP", "sPPPPh", "sPPPPh", "sPPPPh", "Phhhhh"}},
        FrameRow{"NormalRaised", ftNormalFrame, vsActive, {"HHHHHF", "HFFFSD", "HFFFSD", "HSSSSD", "FDDDDD"}},
        FrameRow{"NormalPressed", ftNormalFrame, vsActiveDown, {"dddddP", "dssssh", "dsPPPh", "dsPPPh", "Phhhhh"}},
        FrameRow{"EnclosedRaised", ftEnclosedFrame, vsUp, {"DDDDDD", "DHHHFD", "DHFFSD", "DFSSSD", "DDDDDD"}},
        // The outline keeps the raised set's dark shadow when pressed.
        FrameRow{"EnclosedPressed", ftEnclosedFrame, vsDown, {"DDDDDD", "DsssPD", "DsPPhD", "DPhhhD", "DDDDDD"}}),
    [](const testing::TestParamInfo<FrameRow>& info) { return std::string(info.param.name); });

struct FrameWhenRow {
  const char* name;
  bool upFrame, activeFrame, downFrame;
  TVisualState state;
  bool enabled;
  char corner;  // the pixel at (0, 0): a frame colour, or the face when no frame is drawn
};

class FrameWhen : public PaintFixture, public testing::WithParamInterface<FrameWhenRow> {};

TEST_P(FrameWhen, FollowsTheFrameSwitchOfTheState) {
  const FrameWhenRow& row = GetParam();
  button->SetBounds(0, 0, 6, 5);
  button->SetUpFrame(row.upFrame);
  button->SetActiveFrame(row.activeFrame);
  button->SetDownFrame(row.downFrame);
  button->SetEnabled(row.enabled);
  EXPECT_EQ(Letters(row.state)[0][0], row.corner);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, FrameWhen,
    testing::Values(FrameWhenRow{"NoUpFrameLeavesUpBare", false, true, true, vsUp, true, 'F'},
                    FrameWhenRow{"NoUpFrameLeavesDisabledBare", false, true, true, vsUp, false, 'F'},
                    FrameWhenRow{"NoUpFrameStillFramesActive", false, true, true, vsActive, true, 'H'},
                    FrameWhenRow{"NoUpFrameStillFramesActiveDown", false, true, true, vsActiveDown, true, 'd'},
                    FrameWhenRow{"NoActiveFrameLeavesActiveBare", true, false, true, vsActive, true, 'F'},
                    FrameWhenRow{"NoActiveFrameLeavesActiveDownBare", true, false, true, vsActiveDown, true, 'P'},
                    FrameWhenRow{"NoActiveFrameStillFramesDown", true, false, true, vsDown, true, 'd'},
                    FrameWhenRow{"NoDownFrameLeavesDownBare", true, true, false, vsDown, true, 'P'}),
    [](const testing::TestParamInfo<FrameWhenRow>& info) { return std::string(info.param.name); });

TEST_F(PaintFixture, ADisabledButtonIsPaintedDisabledWhateverItsStateWas) {
  button->SetBounds(0, 0, 6, 5);
  button->SetEnabled(false);
  EXPECT_EQ(Letters(vsActiveDown), (std::vector<std::string>{"HHHHHF", "HFFFSD", "HFFFSD", "HSSSSD", "FDDDDD"}));
  EXPECT_EQ(button->State(), vsDisabled);
}

// ---- Gradient -------------------------------------------------------------------------------------

struct GradientRow {
  const char* name;
  uint8_t startRed, endRed;
  std::vector<std::pair<int, int>> entries;  // entry index, red value
};

class GradientPaint : public PaintFixture, public testing::WithParamInterface<GradientRow> {};

TEST_P(GradientPaint, TruncatesEachEntryTowardTheStart) {
  const GradientRow& row = GetParam();
  // 256 pixels wide: pixel i shows entry i. Other channels equal at both ends, so they stay.
  button->SetBounds(0, 0, 256, 3);
  button->SetUpFrame(false);
  button->Colors()->SetGradation(true);
  button->Colors()->SetColor(0x00402000u | row.startRed);
  button->Colors()->SetGradColor(0x00402000u | row.endRed);
  PaintIn(vsUp);
  for (const auto& [i, red] : row.entries) {
    EXPECT_EQ(At(i, 1), static_cast<uint32_t>(red) << 16 | 0x2040u) << "entry " << i;
    EXPECT_EQ(At(i, 0), At(i, 2)) << "a horizontal gradient is the same in every row";
  }
}

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, GradientPaint,
    testing::Values(GradientRow{"Falling", 200, 0, {{0, 200}, {1, 200}, {2, 199}, {127, 101}, {128, 100}, {254, 1}, {255, 0}}},
                    GradientRow{"Rising", 0, 100, {{1, 0}, {2, 0}, {3, 1}, {128, 50}, {255, 100}}},
                    GradientRow{"Flat", 77, 77, {{0, 77}, {100, 77}, {255, 77}}}),
    [](const testing::TestParamInfo<GradientRow>& info) { return std::string(info.param.name); });

TEST_F(PaintFixture, VerticalGradientRunsFromTopToBottomInThePressedSet) {
  button->SetBounds(0, 0, 2, 256);
  button->SetDownFrame(false);
  button->PressedColors()->SetGradation(true);
  button->PressedColors()->SetGradVertical(true);
  button->PressedColors()->SetColor(0x000000FF);
  button->PressedColors()->SetGradColor(0x00FF0000);
  PaintIn(vsDown);
  EXPECT_EQ(At(0, 0), 0x00FF0000u);
  EXPECT_EQ(At(1, 0), 0x00FF0000u);
  EXPECT_EQ(At(0, 128), 0x007F0080u);  // red 255 - 255*128/255 = 127, blue 128
  EXPECT_EQ(At(1, 255), 0x000000FFu);
}

TEST_F(PaintFixture, AWideGradientGivesEachEntryTwoColumns) {
  form.SetClientWidth(512);
  button->SetBounds(0, 0, 512, 2);
  button->SetUpFrame(false);
  button->Colors()->SetGradation(true);
  button->Colors()->SetColor(0x00000000);
  button->Colors()->SetGradColor(0x000000FF);
  PaintIn(vsUp);
  for (int entry = 0; entry < 256; ++entry) {
    ASSERT_EQ(At(2 * entry, 0), static_cast<uint32_t>(entry) << 16) << entry;
    ASSERT_EQ(At(2 * entry + 1, 0), static_cast<uint32_t>(entry) << 16) << entry;
  }
}

TEST_F(PaintFixture, ASolidFaceIgnoresTheGradientColour) {
  button->SetBounds(0, 0, 8, 4);
  button->SetUpFrame(false);
  button->Colors()->SetGradColor(kPDark);
  PaintIn(vsUp);
  EXPECT_EQ(At(7, 3), ColorToPixelValue(kFace));
  EXPECT_EQ(At(0, 0), ColorToPixelValue(kFace));
}

// ---- Glyph ---------------------------------------------------------------------------------------

struct GlyphFixture : PaintFixture {
  void SetUp() override {
    PaintFixture::SetUp();
    button->SetBounds(0, 0, 20, 16);
    button->SetUpFrame(false);
    button->SetActiveFrame(false);
    button->SetDownFrame(false);
    button->SetActiveImage(aiNormal);
    button->PressedColors()->SetColor(kFace);
    TBitmap glyph;
    art::Draw(glyph, {"oo.", "o..", "..."});
    button->SetGlyph(&glyph);
  }
  // The top-left corner of the glyph's opaque pixels on the form.
  TPoint GlyphCorner(TVisualState state) {
    PaintIn(state);
    for (int y = 0; y < button->Height(); ++y)
      for (int x = 0; x < button->Width(); ++x)
        if (At(x, y) == art::Opaque) return {x, y};
    return {-1, -1};
  }
};

TEST_F(GlyphFixture, PressedStatesMoveTheGlyphOnePixelRightAndDown) {
  const TPoint up = GlyphCorner(vsUp);
  ASSERT_NE(up.X, -1);
  EXPECT_EQ(GlyphCorner(vsActive), up);
  EXPECT_EQ(GlyphCorner(vsDown), (TPoint{up.X + 1, up.Y + 1}));
  EXPECT_EQ(GlyphCorner(vsActiveDown), (TPoint{up.X + 1, up.Y + 1}));
}

TEST_F(GlyphFixture, TheTransparentColourLeavesTheFaceVisible) {
  const TPoint p = GlyphCorner(vsUp);
  EXPECT_EQ(At(p.X + 1, p.Y + 1), ColorToPixelValue(kFace));
  EXPECT_EQ(At(p.X + 1, p.Y), art::Opaque);
}

TEST_F(GlyphFixture, DisabledDefaultPaintsTheMaskInHighlightThenShadow) {
  button->SetDisabledHighlight(kPHighlight);
  button->SetDisabledShadow(kPShadow);
  button->SetEnabled(false);
  button->SetState(vsDisabled);
  const auto mask = button->CreateStateGlyph();
  ASSERT_NE(mask, nullptr);
  TPoint p;
  TRect textBox;
  button->CalcDrawPosition(button->Canvas(), p, textBox);
  PaintIn(vsDisabled);
  int shadows = 0;
  for (int y = 0; y < mask->Height() + 1; ++y) {
    for (int x = 0; x < mask->Width() + 1; ++x) {
      const auto white = [&](int mx, int my) {
        return mx >= 0 && my >= 0 && mx < mask->Width() && my < mask->Height() &&
               (mask->Pixel(mx, my) & 0x00FFFFFFu) == 0x00FFFFFFu;
      };
      TColor expected = kFace;
      if (white(x - 1, y - 1)) expected = kPHighlight;
      if (white(x, y)) expected = kPShadow;
      shadows += expected == kPShadow;
      EXPECT_EQ(At(p.X + x, p.Y + y), ColorToPixelValue(expected)) << x << "," << y;
    }
  }
  EXPECT_GT(shadows, 0) << "the mask marks some pixels";
}

TEST_F(GlyphFixture, DisabledOtherEffectsDrawTheImageUnshifted) {
  button->SetDisabledImage(diGrayscale);
  button->SetEnabled(false);
  button->SetState(vsDisabled);
  const auto image = button->CreateStateGlyph();
  ASSERT_NE(image, nullptr);
  TPoint p;
  TRect textBox;
  button->CalcDrawPosition(button->Canvas(), p, textBox);
  PaintIn(vsDisabled);
  EXPECT_EQ(At(p.X, p.Y), image->Pixel(0, 0) & 0x00FFFFFFu);
  EXPECT_EQ(At(p.X + 2, p.Y + 2), ColorToPixelValue(kFace)) << "transparent colour left out";
}

// ---- Caption --------------------------------------------------------------------------------------

struct CaptionPass {
  TColor color;
  int dx, dy;
};

struct CaptionRow {
  const char* name;
  TVisualState state;
  TColor fontShadow, fontHighlight;
  std::vector<CaptionPass> passes;  // in drawing order, offsets from the text box
  bool activeFont;                  // the caption is measured and drawn in ActiveFont
};

constexpr TColor kText = 0x00112233, kActiveText = 0x00332211, kFontShadow = 0x00445566,
                 kFontHighlight = 0x00665544, kDisabledHi = 0x00778899, kDisabledSh = 0x00998877;

class CaptionPaint : public PaintFixture, public testing::WithParamInterface<CaptionRow> {};

TEST_P(CaptionPaint, DrawsThePassesInOrderAtTheirOffsets) {
  const CaptionRow& row = GetParam();
  button->SetBounds(0, 0, 30, 30);
  button->SetUpFrame(false);
  button->SetActiveFrame(false);
  button->SetDownFrame(false);
  button->PressedColors()->SetColor(kFace);
  // Two lines of different lengths, so that a later pass shows over an earlier one beside the text.
  button->SetCaption("aaa\na");
  button->Font()->SetColor(kText);
  button->ActiveFont()->SetColor(kActiveText);
  button->ActiveFont()->SetHeight(-16);  // a different block height shows which font was used
  button->SetFontShadow(row.fontShadow);
  button->SetFontHighlight(row.fontHighlight);
  button->SetDisabledHighlight(kDisabledHi);
  button->SetDisabledShadow(kDisabledSh);
  if (row.state == vsDisabled) button->SetEnabled(false);

  // The expected picture: the face, then each pass drawn with the same renderer at its offset.
  TBitmap expected(30, 30);
  TCanvas canvas(expected);
  canvas.Brush.Color = kFace;
  canvas.FillRect(Rect(0, 0, 30, 30));
  canvas.Font().Assign(row.activeFont ? button->ActiveFont() : button->Font());
  button->SetState(row.state);
  TPoint glyphPos;
  TRect box;
  button->CalcDrawPosition(canvas, glyphPos, box);
  const int shift = row.state == vsDown || row.state == vsActiveDown ? 1 : 0;
  for (const CaptionPass& pass : row.passes) {
    canvas.Font().SetColor(pass.color);
    TRect r{box.Left + shift + pass.dx, box.Top + shift + pass.dy, box.Right + shift + pass.dx,
            box.Bottom + shift + pass.dy};
    canvas.DrawText("aaa\na", r, DT_CENTER | DT_VCENTER);
  }
  PaintIn(row.state);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) ASSERT_EQ(At(x, y), expected.Pixel(x, y)) << "at " << x << "," << y;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Passes, CaptionPaint,
    testing::Values(
        CaptionRow{"PlainSinglePass", vsUp, clNone, clNone, {{kText, 0, 0}}, false},
        CaptionRow{"ShadowThenText", vsUp, kFontShadow, clNone, {{kFontShadow, 1, 1}, {kText, 0, 0}}, false},
        CaptionRow{"HighlightThenText", vsUp, clNone, kFontHighlight, {{kFontHighlight, -1, -1}, {kText, 0, 0}}, false},
        CaptionRow{"ShadowHighlightText", vsUp, kFontShadow, kFontHighlight,
                   {{kFontShadow, 1, 1}, {kFontHighlight, -1, -1}, {kText, 0, 0}}, false},
        CaptionRow{"ActiveUsesActiveFont", vsActive, kFontShadow, clNone,
                   {{kFontShadow, 1, 1}, {kActiveText, 0, 0}}, true},
        CaptionRow{"DownMovesEveryPass", vsDown, kFontShadow, kFontHighlight,
                   {{kFontShadow, 1, 1}, {kFontHighlight, -1, -1}, {kText, 0, 0}}, false},
        CaptionRow{"ActiveDownMovesEveryPass", vsActiveDown, clNone, kFontHighlight,
                   {{kFontHighlight, -1, -1}, {kActiveText, 0, 0}}, true},
        CaptionRow{"DisabledIsEngravedInFont", vsDisabled, kFontShadow, kFontHighlight,
                   {{kDisabledHi, 1, 1}, {kDisabledSh, 0, 0}}, false}),
    [](const testing::TestParamInfo<CaptionRow>& info) { return std::string(info.param.name); });

TEST_F(PaintFixture, TheButtonsOwnFontsKeepTheirColours) {
  button->SetBounds(0, 0, 30, 20);
  button->SetCaption("a");
  button->SetFontShadow(kFontShadow);
  const TColor before = button->Font()->Color();
  PaintIn(vsUp);
  EXPECT_EQ(button->Font()->Color(), before);
}

// ---- Transparent and tiny ----------------------------------------------------------------------------

TEST_F(PaintFixture, TransparentPaintsNoBackground) {
  button->SetBounds(0, 0, 20, 10);
  button->SetTransparent(true);
  button->SetFrameType(ftFlatFrame);
  const auto rows = Letters(vsUp);
  EXPECT_EQ(rows[0][0], 'H');
  EXPECT_EQ(rows[4][10], 'g') << "the form shows through";
  EXPECT_EQ(rows[9][19], 'S');
}

TEST_F(PaintFixture, TinyButtonsPaintInsideTheirBoundsOnly) {
  TBitmap glyph;
  art::Draw(glyph, {"oob", "o.b", "..."});
  button->SetGlyph(&glyph);
  button->SetCaption("x&y\nz");
  button->SetFontShadow(kFontShadow);
  button->SetFontHighlight(kFontHighlight);
  for (TFrameType type : {ftFlatFrame, ftNormalFrame, ftEnclosedFrame}) {
    for (TVisualState state : {vsActiveDown, vsDown, vsActive, vsUp, vsDisabled}) {
      for (int w = 0; w <= 3; ++w) {
        for (int h = 0; h <= 3; ++h) {
          button->SetFrameType(type);
          button->SetEnabled(state != vsDisabled);
          button->SetBounds(10, 10, w, h);
          PaintIn(state);
          const TBitmap& s = form.Surface();
          for (int y = 7; y < 17; ++y) {
            for (int x = 7; x < 17; ++x) {
              if (button->BoundsRect().Contains({x, y})) continue;
              ASSERT_EQ(s.Pixel(x, y), ColorToPixelValue(kBehind)) << w << "x" << h << " at " << x << "," << y;
            }
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace permora
