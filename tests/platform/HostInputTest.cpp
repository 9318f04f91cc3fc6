// The host side that windowless buttons rely on: capture around a press, double clicks, the
// control under a screen point, palette changes reaching every control.

#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "support/ScriptedHost.h"

namespace permora {
namespace {

using testing_support::TScriptedHost;

class TRecorder : public TGraphicControl {
 public:
  explicit TRecorder(TComponent* owner, TControlStyle style = {csCaptureMouse, csDoubleClicks})
      : TGraphicControl(owner) {
    SetControlStyle(style);
  }
  void Dispatch(TMessage& m) override {
    messages.push_back(m.Msg);
    if (m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_MBUTTONDBLCLK) lastMouse = m.Msg;
    TGraphicControl::Dispatch(m);
  }
  std::vector<uint32_t> messages;
  uint32_t lastMouse = 0;
  bool captureSeenAtRelease = true;
  TShiftState lastPressShift;

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override {
    lastPressShift = shift;
    TGraphicControl::MouseDown(button, shift, x, y);
  }
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override {
    captureSeenAtRelease = GetCapture();
    TGraphicControl::MouseUp(button, shift, x, y);
  }
};

struct HostFixture : testing::Test {
  TScriptedHost host;
  TForm form{nullptr};
  TRecorder* plain = new TRecorder(&form);
  TRecorder* single = new TRecorder(&form, {csCaptureMouse});
  void SetUp() override {
    form.SetClientWidth(60);
    form.SetClientHeight(20);
    plain->SetBounds(0, 0, 10, 10);
    single->SetBounds(20, 0, 10, 10);
    plain->SetParent(&form);
    single->SetParent(&form);
    form.Show();
  }
};

TEST_F(HostFixture, CaptureIsGoneWhenTheReleaseIsHandled) {
  host.Press(form, {5, 5});
  EXPECT_TRUE(GetCapture());
  host.Release(form, {5, 5});
  EXPECT_FALSE(plain->captureSeenAtRelease);
  EXPECT_FALSE(GetCapture());
}

TEST_F(HostFixture, ARightPressTakesNoCapture) {
  host.Press(form, {5, 5}, WM_RBUTTONDOWN);
  EXPECT_FALSE(GetCapture());
  host.Release(form, {5, 5}, WM_RBUTTONUP);
}

struct DoubleClickCase {
  const char* name;
  uint32_t dblclk;
  uint32_t press;
};

class HostDoubleClicks : public HostFixture, public testing::WithParamInterface<DoubleClickCase> {};

TEST_P(HostDoubleClicks, ArriveOnlyWhereTheControlAsksForThem) {
  const auto [name, dblclk, press] = GetParam();
  form.MouseInput(dblclk, {}, {5, 5});
  SetCaptureControl(nullptr);  // a left double click captures, as a press does
  form.MouseInput(dblclk, {}, {25, 5});
  EXPECT_EQ(plain->lastMouse, dblclk);
  EXPECT_TRUE(plain->lastPressShift.Contains(ssDouble));
  EXPECT_EQ(single->lastMouse, press);
  EXPECT_FALSE(single->lastPressShift.Contains(ssDouble));
  SetCaptureControl(nullptr);
}

INSTANTIATE_TEST_SUITE_P(EachButton, HostDoubleClicks,
                         testing::Values(DoubleClickCase{"Left", WM_LBUTTONDBLCLK, WM_LBUTTONDOWN},
                                         DoubleClickCase{"Right", WM_RBUTTONDBLCLK, WM_RBUTTONDOWN},
                                         DoubleClickCase{"Middle", WM_MBUTTONDBLCLK, WM_MBUTTONDOWN}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostFixture, FindDragTargetSeesDisabledControlsOnlyWhenAsked) {
  single->SetEnabled(false);
  const TPoint over = form.ClientToScreen({25, 5});
  EXPECT_EQ(FindDragTarget(over, true), single);
  EXPECT_EQ(FindDragTarget(over, false), &form);
  EXPECT_EQ(FindDragTarget(form.ClientToScreen({5, 5}), false), plain);
  EXPECT_EQ(FindDragTarget(form.ClientToScreen({-5, 5}), true), nullptr);
}

TEST_F(HostFixture, ShowingNeedsEveryParentVisible) {
  EXPECT_TRUE(plain->Showing());
  form.SetVisible(false);
  EXPECT_FALSE(plain->Showing());
  form.SetVisible(true);
  plain->SetVisible(false);
  EXPECT_FALSE(plain->Showing());
}

TEST_F(HostFixture, PaletteChangeReachesEveryControlOfEveryForm) {
  TForm other{nullptr};
  auto* panel = new TWinControl(&other);
  panel->SetParent(&other);
  auto* nested = new TRecorder(&other);
  nested->SetParent(panel);
  plain->messages.clear();
  single->messages.clear();
  SystemColorsChanged();
  for (TRecorder* r : {plain, single, nested}) EXPECT_EQ(r->messages, (std::vector<uint32_t>{CM_SYSCOLORCHANGE}));
}

}  // namespace
}  // namespace permora
