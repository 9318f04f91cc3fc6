#include "controls/ShineSpdBtn.h"

#include <gtest/gtest.h>

#include "tests/controls/ButtonTestSupport.h"

namespace permora {
namespace {

using Art = std::vector<std::string>;

uint32_t Pixel(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

TEST(ColorToPixel, SwapsRedAndBlueAndResolvesSystemColours) {
  EXPECT_EQ(ColorToPixel(clYellow), 0x00FFFF00u);
  EXPECT_EQ(ColorToPixel(clBlue), 0x000000FFu);
  EXPECT_EQ(ColorToPixel(0x00332211), 0x00112233u);
  EXPECT_EQ(ColorToPixel(clHighlight), 0x00000080u);  // classic table: 0 0 128
  EXPECT_EQ(ColorToPixel(clBtnFace), 0x00C0C0C0u);
}

// A button in a given state with a glyph drawn from art, and what CreateStateGlyph makes of it.
struct StateGlyphFixture : testing::Test {
  TShineSpeedButton button{nullptr};

  std::unique_ptr<TBitmap> Make(TVisualState state, const Art& glyph) {
    TBitmap picture;
    art::Draw(picture, glyph);
    button.SetGlyph(&picture);
    TShineSpeedButtonPeer::SetState(button, state);
    auto image = button.CreateStateGlyph();
    EXPECT_EQ(art::Read(*button.Glyph()), glyph) << "the glyph itself never changes";
    return image;
  }
  Art Light(TActiveImageType effect, const Art& glyph) {
    button.SetActiveImage(effect);
    return art::Read(*Make(vsActive, glyph));
  }
  Art Disabled(TDisabledImageType effect, const Art& glyph) {
    button.SetDisabledImage(effect);
    return art::Read(*Make(vsDisabled, glyph));
  }
};

// ---- Colour effects on single pixels ---------------------------------------------------------------

struct PixelEffectRow {
  const char* name;
  TVisualState state;
  TActiveImageType active;
  TDisabledImageType disabled;
  TColor face;  // Colors.Color
  uint32_t in;
  uint32_t out;
};

constexpr uint32_t kWorked = 0x006432C9;  // (100, 50, 201)

const PixelEffectRow kPixelEffects[] = {
    {"Normal", vsActive, aiNormal, diDefault, clBtnFace, kWorked, kWorked},
    {"Xor", vsActive, aiXorLight, diDefault, clBtnFace, kWorked, Pixel(155, 205, 201)},
    {"Half", vsActive, aiHalfLight, diDefault, clBtnFace, kWorked, Pixel(177, 152, 100)},
    {"Quater", vsActive, aiQuaterLight, diDefault, clBtnFace, kWorked, Pixel(216, 203, 50)},
    {"Add", vsActive, aiAddLight, diDefault, clBtnFace, kWorked, Pixel(255, 255, 201)},
    {"XorActiveDown", vsActiveDown, aiXorLight, diDefault, clBtnFace, kWorked, Pixel(155, 205, 201)},
    {"UpIsPlain", vsUp, aiXorLight, diGrayscale, clBtnFace, kWorked, kWorked},
    {"DownIsPlain", vsDown, aiAddLight, diGrayscale, clBtnFace, kWorked, kWorked},
    {"Gray", vsDisabled, aiXorLight, diGrayscale, clBtnFace, kWorked, Pixel(117, 117, 117)},
    {"GrayRed", vsDisabled, aiNormal, diGrayscale, clBtnFace, Pixel(255, 0, 0), Pixel(85, 85, 85)},
    {"GrayDark", vsDisabled, aiNormal, diGrayscale, clBtnFace, Pixel(10, 20, 31), Pixel(20, 20, 20)},
    {"AlphaHalfOnWhite", vsDisabled, aiNormal, diAlphaHalfTrans, clWhite, 0, Pixel(127, 127, 127)},
    {"AlphaQuaterOnWhite", vsDisabled, aiNormal, diAlphaQuaterTrans, clWhite, 0, Pixel(191, 191, 191)},
    // The up face, a system colour resolved: 192 192 192.
    {"AlphaHalfOnButtonFace", vsDisabled, aiNormal, diAlphaHalfTrans, clBtnFace, kWorked, Pixel(146, 121, 196)},
};

class PixelEffect : public StateGlyphFixture, public testing::WithParamInterface<PixelEffectRow> {};

TEST_P(PixelEffect, RecoloursOpaquePixelsAndKeepsTheKeyColour) {
  const PixelEffectRow& row = GetParam();
  button.SetActiveImage(row.active);
  button.SetDisabledImage(row.disabled);
  button.Colors()->SetColor(row.face);
  button.PressedColors()->SetColor(clRed);  // never the blend colour
  // Two opaque pixels above, the key colour at the bottom left and an opaque one beside it.
  TBitmap picture(2, 2);
  picture.SetPixel(0, 0, row.in);
  picture.SetPixel(1, 0, row.in | 0xAB000000u);  // the fourth byte carries no colour
  picture.SetPixel(0, 1, art::Key);
  picture.SetPixel(1, 1, row.in);
  button.SetGlyph(&picture);
  TShineSpeedButtonPeer::SetState(button, row.state);
  const auto image = button.CreateStateGlyph();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 2);
  EXPECT_EQ(image->Height(), 2);
  EXPECT_EQ(image->Pixel(0, 0) & 0x00FFFFFFu, row.out);
  EXPECT_EQ(image->Pixel(1, 0) & 0x00FFFFFFu, row.out);
  EXPECT_EQ(image->Pixel(1, 1) & 0x00FFFFFFu, row.out);
  EXPECT_EQ(image->Pixel(0, 1), art::Key);
  EXPECT_TRUE(image->Transparent());
  EXPECT_EQ(image->TransparentColor(), PixelToColor(art::Key));
  EXPECT_EQ(image->HandleType(), TBitmapHandleType::bmDDB);
}

INSTANTIATE_TEST_SUITE_P(Table, PixelEffect, testing::ValuesIn(kPixelEffects),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Outline, alternating pattern, edge mask -------------------------------------------------------

struct ArtEffectRow {
  const char* name;
  bool disabled;
  int effect;  // TActiveImageType or TDisabledImageType
  Art glyph;
  Art expected;
};

const ArtEffectRow kArtEffects[] = {
    {"FrameLightAroundOnePixel", false, static_cast<int>(aiFrameLight),
     {".....", ".....", "..o..", ".....", "....."},
     {".....", "..L..", ".LoL.", "..L..", "....."}},
    {"FrameLight2AroundOnePixel", false, static_cast<int>(aiFrameLight2),
     {".....", ".....", "..o..", ".....", "....."},
     {"..L..", ".LLL.", "LLoLL", ".LLL.", "..L.."}},
    // The ring stops at the picture's edges.
    {"FrameLightAtTheEdge", false, static_cast<int>(aiFrameLight),
     {"o....", ".....", "....."},
     {"oL...", "L....", "....."}},
    // Every colour other than the key is opaque; the outline only touches key pixels.
    {"FrameLightTwoColours", false, static_cast<int>(aiFrameLight),
     {"......", ".ob...", "......", "......"},
     {".LL...", "LobL..", ".LL...", "......"}},
    {"MaskLight4x4", false, static_cast<int>(aiMaskLight),
     {"oooo", "oooo", "oooo", ".ooo"},
     {"oLoL", "LoLo", "oLoL", ".oLo"}},
    {"MaskLight3x3", false, static_cast<int>(aiMaskLight),
     {"ooo", "ooo", ".oo"},
     {"oLo", "LoL", ".Lo"}},
    {"MaskLight3Wide4High", false, static_cast<int>(aiMaskLight),
     {"ooo", "ooo", "ooo", ".oo"},
     {"oLo", "oLo", "oLo", ".Lo"}},
    {"MaskLight4Wide3High", false, static_cast<int>(aiMaskLight),
     {"oooo", "oooo", ".ooo"},
     {"oLoL", "oLoL", ".LoL"}},
    // The odd turn at x = 1 falls on a transparent pixel.
    {"MaskLightTransparentTakesATurn", false, static_cast<int>(aiMaskLight),
     {"o.oo", "....", "....", "...."},
     {"o.oL", "....", "....", "...."}},
    {"MaskTransLeavesTheSamePixelsOut", true, static_cast<int>(diMaskTrans),
     {"oooo", "oooo", "oooo", ".ooo"},
     {"o.o.", ".o.o", "o.o.", ".o.o"}},
    {"EdgeMaskOnePixel", true, static_cast<int>(diDefault),
     {".....", ".....", "..o..", ".....", "....."},
     {"kkkkk", "kWWkk", "kWWkk", "kkkkk", "kkkkk"}},
    {"EdgeMaskBlock", true, static_cast<int>(diDefault),
     {".....", ".oo..", ".oo..", ".....", "....."},
     {"WWWkk", "WkWkk", "WWWkk", "kkkkk", "kkkkk"}},
    // A boundary between two opaque colours is an edge too.
    {"EdgeMaskColourBoundary", true, static_cast<int>(diDefault),
     {"oob", "oob", "..."},
     {"kWk", "WWk", "kkk"}},
    {"EdgeMaskOneRow", true, static_cast<int>(diDefault), {"o.o.o"}, {"kkkkk"}},
    {"EdgeMaskOneColumn", true, static_cast<int>(diDefault), {"o", ".", "o"}, {"k", "k", "k"}},
};

class ArtEffect : public StateGlyphFixture, public testing::WithParamInterface<ArtEffectRow> {};

TEST_P(ArtEffect, MakesTheExpectedImage) {
  const ArtEffectRow& row = GetParam();
  const Art result = row.disabled ? Disabled(static_cast<TDisabledImageType>(row.effect), row.glyph)
                                  : Light(static_cast<TActiveImageType>(row.effect), row.glyph);
  EXPECT_EQ(result, row.expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ArtEffect, testing::ValuesIn(kArtEffects),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StateGlyphFixture, EdgeMaskIsMonochromeWithBlackLeftOut) {
  button.SetDisabledImage(diDefault);
  const auto mask = Make(vsDisabled, {"..", "o.", ".."});
  EXPECT_EQ(mask->PixelFormat(), TPixelFormat::pf1bit);
  EXPECT_TRUE(mask->Transparent());
  EXPECT_EQ(mask->TransparentColor(), clBlack);
}

TEST_F(StateGlyphFixture, OutlineAtTheCornerMakesLightTheTransparentColour) {
  for (TActiveImageType effect : {aiFrameLight, aiFrameLight2}) {
    button.SetActiveImage(effect);
    const auto image = Make(vsActive, {"...", "...", ".o."});
    EXPECT_EQ(image->Pixel(0, 2), art::Light);
    EXPECT_EQ(image->TransparentColor(), clYellow) << "the outline is left out when drawn";
  }
  button.SetActiveImage(aiFrameLight2);
  const auto image = Make(vsActive, {"....", "....", "..o."});  // distance 2 from the corner
  EXPECT_EQ(image->TransparentColor(), clYellow);
  button.SetActiveImage(aiFrameLight);
  EXPECT_EQ(Make(vsActive, {"....", "....", "..o."})->TransparentColor(), PixelToColor(art::Key));
}

TEST_F(StateGlyphFixture, AllKeyColourGlyphIsLeftAsItIs) {
  const Art blank = {"...", "...", "..."};
  for (int e = 0; e <= static_cast<int>(aiMaskLight); ++e)
    EXPECT_EQ(Light(static_cast<TActiveImageType>(e), blank), blank) << "light effect " << e;
  for (int e = 1; e <= static_cast<int>(diMaskTrans); ++e)
    EXPECT_EQ(Disabled(static_cast<TDisabledImageType>(e), blank), blank) << "disabled effect " << e;
  EXPECT_EQ(Disabled(diDefault, blank), (Art{"kkk", "kkk", "kkk"}));
}

TEST_F(StateGlyphFixture, OnePixelGlyphGivesAnImage) {
  for (TVisualState state : {vsActiveDown, vsDown, vsActive, vsUp, vsDisabled}) {
    const auto image = Make(state, {"o"});
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), 1);
  }
}

TEST_F(StateGlyphFixture, ShineColourIsTheLightOfEveryEffect) {
  button.SetShineColor(clRed);
  button.SetActiveImage(aiFrameLight);
  const auto image = Make(vsActive, {"...", ".o.", "..."});
  EXPECT_EQ(image->Pixel(1, 0), 0x00FF0000u);
}

// Changes the button face between two state images, as a change of the desktop's scheme would.
class TSwitchableColors final : public ISystemColors {
 public:
  TColor face = 0x00FFFFFF;
  TColor SysColor(int n) const override { return n == 15 ? face : ClassicSystemColors().SysColor(n); }
};

TEST_F(StateGlyphFixture, SystemColoursResolveAtEachCall) {
  TSwitchableColors colors;
  SetSystemColors(&colors);
  struct Restore {
    ~Restore() { SetSystemColors(nullptr); }
  } restore;
  button.SetDisabledImage(diAlphaHalfTrans);
  EXPECT_EQ(Make(vsDisabled, {"o", "."})->Pixel(0, 0), Pixel(135, 143, 151));  // (255 + 16) / 2 ...
  colors.face = 0x00000000;
  EXPECT_EQ(Make(vsDisabled, {"o", "."})->Pixel(0, 0), Pixel(8, 16, 24));
}

TEST_F(StateGlyphFixture, EmptyGlyphGivesNoImage) {
  for (TVisualState state : {vsActiveDown, vsDown, vsActive, vsUp, vsDisabled}) {
    TShineSpeedButtonPeer::SetState(button, state);
    EXPECT_EQ(button.CreateStateGlyph(), nullptr);
  }
}

// ---- The glyph as a 32-bit picture -------------------------------------------------------------

// An asymmetric black and white "F": any bit depth holds it exactly.
const Art kLetterF = {"kkkkk", "kWWWk", "kWkkk", "kWWkk", "kWkkk", "kkkkk"};

class GlyphFormat : public testing::TestWithParam<TPixelFormat> {};

TEST_P(GlyphFormat, BecomesTheSame32BitDeviceIndependentPicture) {
  TSpyButton button(nullptr);
  TBitmap given;
  art::Draw(given, kLetterF);
  given.SetPixelFormat(GetParam());
  given.SetHandleType(TBitmapHandleType::bmDDB);
  button.TakeInvalidates();
  button.SetGlyph(&given);
  const TBitmap& glyph = *button.Glyph();
  EXPECT_EQ(glyph.PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(glyph.HandleType(), TBitmapHandleType::bmDIB);
  EXPECT_EQ(art::Read(glyph), kLetterF);
  EXPECT_GE(button.TakeInvalidates(), 1);
  // The given bitmap stays as it was and separate from the glyph.
  EXPECT_EQ(given.PixelFormat(), GetParam());
  EXPECT_EQ(given.HandleType(), TBitmapHandleType::bmDDB);
  given.SetPixel(0, 0, art::White);
  EXPECT_EQ(glyph.Pixel(0, 0), art::Black);
}

INSTANTIATE_TEST_SUITE_P(Table, GlyphFormat,
                         testing::Values(TPixelFormat::pf24bit, TPixelFormat::pf8bit, TPixelFormat::pf1bit,
                                         TPixelFormat::pfDevice),
                         [](const auto& info) {
                           switch (info.param) {
                             case TPixelFormat::pf24bit: return std::string("Bits24");
                             case TPixelFormat::pf8bit: return std::string("Bits8");
                             case TPixelFormat::pf1bit: return std::string("Bits1");
                             default: return std::string("Device");
                           }
                         });

TEST(GlyphChanges, AGlyphChangedInPlaceIsMade32BitAgain) {
  // A layout file fills the glyph in place, past SetGlyph.
  TSpyButton button(nullptr);
  button.Glyph()->SetSize(3, 2);
  button.Glyph()->SetPixelFormat(TPixelFormat::pf8bit);
  EXPECT_EQ(button.Glyph()->PixelFormat(), TPixelFormat::pf32bit);
  button.Glyph()->SetHandleType(TBitmapHandleType::bmDDB);
  EXPECT_EQ(button.Glyph()->HandleType(), TBitmapHandleType::bmDIB);
  EXPECT_GE(button.TakeInvalidates(), 2);
}

TEST(GlyphChanges, NoneEmptiesTheGlyphAndInvalidates) {
  TSpyButton button(nullptr);
  TBitmap given(4, 4);
  button.SetGlyph(&given);
  TBitmap* own = button.Glyph();
  button.TakeInvalidates();
  button.SetGlyph(nullptr);
  EXPECT_EQ(button.Glyph(), own);
  EXPECT_EQ(own->Width(), 0);
  EXPECT_EQ(own->Height(), 0);
  EXPECT_EQ(button.CreateStateGlyph(), nullptr);
  EXPECT_EQ(button.TakeInvalidates(), 1);
  // Still watched after the empty step.
  own->SetSize(2, 2);
  EXPECT_GE(button.TakeInvalidates(), 1);
}

}  // namespace
}  // namespace permora
