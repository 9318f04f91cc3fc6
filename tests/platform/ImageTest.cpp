#include "platform/Image.h"

#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/JPEG.h"

namespace permora {
namespace {

// A 2 x 2 picture with four colours, so that where each quarter lands shows.
std::unique_ptr<TBitmap> FourColours(int32_t width = 2, int32_t height = 2) {
  auto bitmap = std::make_unique<TBitmap>(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      bitmap->SetPixel(x, y, y < height / 2 ? (x < width / 2 ? 0xFF0000u : 0x00FF00u) : (x < width / 2 ? 0x0000FFu : 0xFFFF00u));
  return bitmap;
}

struct ImageFixture : testing::Test {
  TForm form{nullptr};
  TImage* image = new TImage(&form);
  void SetUp() override {
    form.SetClientWidth(100);
    form.SetClientHeight(120);
    form.SetColor(clWhite);
    image->SetBounds(10, 10, 75, 100);
    image->SetParent(&form);
  }
  uint32_t At(int32_t x, int32_t y) {
    form.Update();
    return form.Surface().Pixel(10 + x, 10 + y);
  }
};

TEST_F(ImageFixture, AnEmptyImageDrawsNothing) {
  form.Repaint();
  EXPECT_EQ(At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(At(74, 99), 0xFFFFFFu);
}

TEST_F(ImageFixture, StretchFillsTheWholeRectangleWhateverTheProportions) {
  image->SetStretch(true);
  image->Picture().SetGraphic(FourColours());
  EXPECT_EQ(At(0, 0), 0xFF0000u);
  EXPECT_EQ(At(36, 49), 0xFF0000u);
  EXPECT_EQ(At(38, 49), 0x00FF00u);
  EXPECT_EQ(At(74, 0), 0x00FF00u);
  EXPECT_EQ(At(0, 50), 0x0000FFu);
  EXPECT_EQ(At(74, 99), 0xFFFF00u);
}

TEST_F(ImageFixture, WithoutStretchThePictureKeepsItsSizeAtTheTopLeftOrCentred) {
  image->Picture().SetGraphic(FourColours(10, 10));
  EXPECT_EQ(At(0, 0), 0xFF0000u);
  EXPECT_EQ(At(9, 9), 0xFFFF00u);
  EXPECT_EQ(At(10, 10), 0xFFFFFFu);
  image->SetCenter(true);
  form.Repaint();
  EXPECT_EQ(At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(At(32, 45), 0xFF0000u);  // (75 - 10) / 2, (100 - 10) / 2
  EXPECT_EQ(At(41, 54), 0xFFFF00u);
}

TEST_F(ImageFixture, ProportionalKeepsTheAspectRatio) {
  image->SetStretch(true);
  image->SetProportional(true);
  image->Picture().SetGraphic(FourColours(4, 2));
  EXPECT_EQ(image->DestRect(), Bounds(0, 0, 75, 37));
  EXPECT_EQ(At(0, 0), 0xFF0000u);
  EXPECT_EQ(At(74, 36), 0xFFFF00u);
  EXPECT_EQ(At(0, 37), 0xFFFFFFu);
  image->SetCenter(true);
  EXPECT_EQ(image->DestRect(), Bounds(0, 31, 75, 37));
}

TEST_F(ImageFixture, EmptyingThePictureShowsTheBackgroundAgain) {
  image->SetStretch(true);
  image->Picture().SetGraphic(FourColours());
  ASSERT_EQ(At(0, 0), 0xFF0000u);
  image->Picture().Assign(nullptr);
  EXPECT_EQ(At(0, 0), 0xFFFFFFu);
}

TEST_F(ImageFixture, ItsCanvasIsAPictureBitmapOfItsOwnSize) {
  TCanvas& canvas = image->Canvas();
  ASSERT_NE(image->Picture().Graphic(), nullptr);
  EXPECT_EQ(image->Picture().Width(), 75);
  EXPECT_EQ(image->Picture().Height(), 100);
  canvas.Brush.Color = clBlue;
  canvas.FillRect(Rect(0, 0, 75, 100));
  EXPECT_EQ(image->Picture().Bitmap().Pixel(40, 40), 0x0000FFu);
  EXPECT_EQ(At(40, 40), 0x0000FFu);
  image->Picture().SetGraphic(std::make_unique<TJPEGImage>());
  EXPECT_THROW(image->Canvas(), EInvalidOperation);
}

TEST_F(ImageFixture, AHiddenImageIsNeverDrawn) {
  image->SetStretch(true);
  image->SetVisible(false);
  image->Picture().SetGraphic(FourColours());
  form.Repaint();
  EXPECT_EQ(At(0, 0), 0xFFFFFFu);
}

}  // namespace
}  // namespace permora
