#include <gtest/gtest.h>

#include "platform/Graphics.h"

namespace permora {
namespace {

struct RgbCase {
  const char* name;
  TColor color;
  TColor rgb;  // 0x00BBGGRR
};

void PrintTo(const RgbCase& c, std::ostream* os) { *os << c.name; }

class ColorToRGBTable : public testing::TestWithParam<RgbCase> {};

TEST_P(ColorToRGBTable, ResolvesSystemColoursThroughTheClassicTable) {
  EXPECT_EQ(ColorToRGB(GetParam().color), GetParam().rgb);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColorToRGBTable,
    testing::Values(RgbCase{"PlainColourUnchanged", 0x00123456, 0x00123456},
                    RgbCase{"NoneUnchanged", clNone, clNone},
                    RgbCase{"ScrollBar0", clScrollBar, 0x00C0C0C0},
                    RgbCase{"Desktop1", clBackground, 0x00808000},
                    RgbCase{"ActiveCaption2", clActiveCaption, 0x00800000},
                    RgbCase{"BtnFace15", clBtnFace, 0x00C0C0C0},
                    RgbCase{"BtnShadow16", clBtnShadow, 0x00808080},
                    RgbCase{"BtnHighlight20", clBtnHighlight, 0x00FFFFFF},
                    RgbCase{"InfoBk24", clInfoBk, 0x00E1FFFF},
                    RgbCase{"Index25IsBlack", SystemColor(25), clBlack},
                    // The whole number names the colour, not its low byte (261 would be 5, white).
                    RgbCase{"Index261IsBlack", SystemColor(261), clBlack},
                    RgbCase{"HugeIndexIsBlack", 0xFFFFFFFFu, clBlack}),
    [](const testing::TestParamInfo<RgbCase>& info) { return std::string(info.param.name); });

class TScheme final : public ISystemColors {
 public:
  TColor SysColor(int n) const override { return n == 15 ? 0x00332211 : 0xAA000000u | static_cast<TColor>(n); }
};

TEST(SystemColors, AReplacedTableIsUsedUntilTheClassicOneIsBack) {
  const TScheme scheme;
  SetSystemColors(&scheme);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x00332211u);
  EXPECT_EQ(ColorToRGB(clBtnText), 18u);  // the table's fourth byte is not a colour
  EXPECT_EQ(ColorToPixelValue(clBtnFace), 0x00112233u);
  SetSystemColors(nullptr);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x00C0C0C0u);
}

TEST(ColorToPixelValue, SwapsRedAndBlue) {
  EXPECT_EQ(ColorToPixelValue(clRed), 0x00FF0000u);
  EXPECT_EQ(ColorToPixelValue(clBlue), 0x000000FFu);
  EXPECT_EQ(PixelToColor(0xAB112233u), 0x00332211u);
}

struct ColorTextCase {
  const char* text;
  bool valid;
  TColor color;
};

class StringToColorTable : public testing::TestWithParam<ColorTextCase> {};

TEST_P(StringToColorTable, TakesNamesHexAndDecimalOnly) {
  const ColorTextCase& c = GetParam();
  TColor color = 0x01010101;
  EXPECT_EQ(StringToColor(c.text, color), c.valid) << c.text;
  EXPECT_EQ(color, c.valid ? c.color : 0x01010101u) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Table, StringToColorTable,
                         testing::Values(ColorTextCase{"clBtnFace", true, clBtnFace},
                                         ColorTextCase{"clNone", true, clNone},
                                         ColorTextCase{"$00FF0000", true, clBlue},
                                         ColorTextCase{"$8000000F", true, clBtnFace},
                                         ColorTextCase{"-2147483633", true, clBtnFace},
                                         ColorTextCase{"255", true, clRed},
                                         ColorTextCase{"clbtnface", false, 0},
                                         ColorTextCase{"", false, 0},
                                         ColorTextCase{"$", false, 0},
                                         ColorTextCase{"$ FF", false, 0},
                                         ColorTextCase{"$-1", false, 0},
                                         ColorTextCase{"$0x12", false, 0},
                                         ColorTextCase{" 12", false, 0},
                                         ColorTextCase{"+12", false, 0},
                                         ColorTextCase{"12 ", false, 0},
                                         ColorTextCase{"$100000000", false, 0},
                                         ColorTextCase{"-2147483649", false, 0}));

TEST(ColorToString, NamesWhatHasANameAndWritesTheRestInHex) {
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(clWhite), "clWhite");
  EXPECT_EQ(ColorToString(0x00C0FFC0), "$00C0FFC0");
  EXPECT_EQ(ColorToString(SystemColor(30)), "$8000001E");
  for (const TColor color : {clInfoBk, clNone, clDefault, TColor{0x00ABCDEF}, TColor{0xFFFFFFFF}}) {
    TColor back = 0;
    ASSERT_TRUE(StringToColor(ColorToString(color), back));
    EXPECT_EQ(back, color);
  }
}

}  // namespace
}  // namespace permora
