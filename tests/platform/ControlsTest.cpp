#include "platform/Controls.h"

#include <gtest/gtest.h>

#include "platform/Forms.h"

namespace permora {
namespace {

// A control that paints itself in one colour and records the messages and paints it gets.
class TProbe : public TGraphicControl {
 public:
  TProbe(TComponent* owner, TColor color) : TGraphicControl(owner), FColour(color) {
    SetControlStyle({csCaptureMouse, csDoubleClicks});
  }
  void Dispatch(TMessage& message) override {
    messages.push_back(message.Msg);
    TGraphicControl::Dispatch(message);
  }
  std::vector<uint32_t> messages;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    Canvas().Brush.Color = FColour;
    Canvas().FillRect(ClientRect());
    // Drawing past the control's bounds must stay inside them.
    Canvas().FillRect(Rect(-50, -50, 500, 500));
  }

 private:
  TColor FColour;
};

struct FormFixture : testing::Test {
  TForm form{nullptr};
  TProbe* left = new TProbe(&form, clRed);
  TProbe* right = new TProbe(&form, clBlue);
  void SetUp() override {
    form.SetClientWidth(40);
    form.SetClientHeight(20);
    form.SetColor(clWhite);
    left->SetBounds(0, 0, 10, 10);
    right->SetBounds(20, 0, 10, 10);
    left->SetParent(&form);
    right->SetParent(&form);
    form.Repaint();
  }
};

TEST_F(FormFixture, PaintsEachControlInsideItsBoundsOnly) {
  const TBitmap& s = form.Surface();
  EXPECT_EQ(s.Pixel(5, 5), ColorToPixelValue(clRed));
  EXPECT_EQ(s.Pixel(25, 5), ColorToPixelValue(clBlue));
  EXPECT_EQ(s.Pixel(15, 5), 0x00FFFFFFu);
  EXPECT_EQ(s.Pixel(5, 15), 0x00FFFFFFu);
}

TEST_F(FormFixture, InvalidateWaitsForUpdateAndRepaintDoesNot) {
  const int before = left->paints;
  left->Invalidate();
  EXPECT_EQ(left->paints, before);
  form.Update();
  EXPECT_EQ(left->paints, before + 1);
  right->Repaint();
  EXPECT_EQ(right->paints, 2);
}

TEST_F(FormFixture, CaptureKeepsMovesAndReleaseWithThePressedControl) {
  form.MouseInput(WM_MOUSEMOVE, {}, {5, 5});
  form.MouseInput(WM_LBUTTONDOWN, {ssLeft}, {5, 5});
  EXPECT_EQ(GetCaptureControl(), left);
  form.MouseInput(WM_MOUSEMOVE, {ssLeft}, {25, 5});
  form.MouseInput(WM_LBUTTONUP, {}, {25, 5});
  EXPECT_EQ(GetCaptureControl(), nullptr);
  EXPECT_EQ(left->messages,
            (std::vector<uint32_t>{CM_MOUSEENTER, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, CM_MOUSELEAVE}));
  EXPECT_EQ(right->messages, (std::vector<uint32_t>{CM_MOUSEENTER}));
}

TEST_F(FormFixture, SettersSendTheirNotifications) {
  left->messages.clear();
  left->SetEnabled(false);
  left->SetCaption("x");
  left->SetCaption("x");
  EXPECT_EQ(left->messages, (std::vector<uint32_t>{CM_ENABLEDCHANGED, CM_TEXTCHANGED}));
}

TEST_F(FormFixture, BroadcastStopsAtTheFirstNonZeroResult) {
  TMessage m{CM_BUTTONPRESSED, 1, 0, 0};
  form.Broadcast(m);
  EXPECT_EQ(left->messages.back(), CM_BUTTONPRESSED);
  EXPECT_EQ(right->messages.back(), CM_BUTTONPRESSED);
}

TEST(IsAccel, FindsThePrefixedCharacter) {
  EXPECT_TRUE(IsAccel('y', "はい(&Y)"));
  EXPECT_TRUE(IsAccel('S', "&save"));
  EXPECT_FALSE(IsAccel('A', "&&A"));
  EXPECT_TRUE(IsAccel('B', "&A&B"));  // the last prefix counts
  EXPECT_FALSE(IsAccel('A', "&A&B"));
  EXPECT_FALSE(IsAccel('A', "A"));
}

}  // namespace
}  // namespace permora
