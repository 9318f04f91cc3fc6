#include <gtest/gtest.h>

#include "platform/Graphics.h"

namespace permora {
namespace {

struct SizeCase {
  int32_t height;
  int32_t size;  // points at 96 pixels per inch, rounded to the nearest
};

class FontSize : public testing::TestWithParam<SizeCase> {};

TEST_P(FontSize, ConvertsBetweenPixelsAndPointsRounded) {
  TFont font;
  font.SetHeight(GetParam().height);
  EXPECT_EQ(font.Size(), GetParam().size) << "height " << GetParam().height;
}

INSTANTIATE_TEST_SUITE_P(Table, FontSize,
                         testing::Values(SizeCase{-12, 9}, SizeCase{-13, 10}, SizeCase{-11, 8}, SizeCase{-14, 11},
                                         SizeCase{-16, 12}, SizeCase{13, -10}, SizeCase{0, 0}));

TEST(FontSize, SettingTheSizeGivesTheNearestHeight) {
  TFont font;
  const std::pair<int32_t, int32_t> sizeToHeight[] = {{9, -12}, {10, -13}, {8, -11}, {11, -15}, {12, -16}, {-9, 12}};
  for (const auto& [size, height] : sizeToHeight) {
    font.SetSize(size);
    EXPECT_EQ(font.Height(), height) << "size " << size;
  }
}

TEST(FontDefaults, AreThePlatformsOwn) {
  const TFont font;
  EXPECT_EQ(font.Name(), "ＭＳ Ｐゴシック");
  EXPECT_EQ(font.Height(), -12);
  EXPECT_EQ(font.Size(), 9);
  EXPECT_EQ(font.Charset(), SHIFTJIS_CHARSET);
  EXPECT_EQ(font.Color(), clWindowText);
  EXPECT_TRUE(font.Style().Empty());
}

}  // namespace
}  // namespace permora
