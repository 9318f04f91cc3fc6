#include "platform/SpeedButton.h"

#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "support/BlockTextRenderer.h"
#include "support/ScriptedHost.h"

namespace permora {
namespace {

using testing_support::TBlockTextScope;
using testing_support::TScriptedHost;

// One letter per pixel: F face, H highlight, S shadow, D dark shadow, T text, G grey text.
uint32_t PixelOf(char code) {
  switch (code) {
    case 'F': return ColorToPixelValue(clBtnFace);
    case 'H': return ColorToPixelValue(clBtnHighlight);
    case 'S': return ColorToPixelValue(clBtnShadow);
    case 'D': return ColorToPixelValue(cl3DDkShadow);
    case 'T': return ColorToPixelValue(clWindowText);
    case 'G': return ColorToPixelValue(clGrayText);
    default: return 0xDEADBEEF;
  }
}

// Paints the button alone on a form of its size and compares every pixel with the picture.
void ExpectPaint(TForm& form, TSpeedButton& button, const std::vector<std::string>& picture) {
  form.Repaint();
  const TBitmap& s = form.Surface();
  for (int y = 0; y < static_cast<int>(picture.size()); ++y)
    for (int x = 0; x < static_cast<int>(picture[y].size()); ++x)
      EXPECT_EQ(s.Pixel(x + button.Left(), y + button.Top()), PixelOf(picture[y][x])) << "at " << x << "," << y;
}

struct PaintCase {
  const char* name;
  TButtonState state;
  bool enabled;
  const char* caption;
  std::vector<std::string> picture;
};

class SpeedButtonPaint : public testing::TestWithParam<PaintCase> {
 protected:
  TBlockTextScope text;
  TForm form{nullptr};
};

TEST_P(SpeedButtonPaint, DrawsTheClassicFace) {
  const PaintCase& c = GetParam();
  auto* b = new TSpeedButton(&form);
  form.SetClientWidth(12);
  form.SetClientHeight(10);
  b->SetBounds(0, 0, 12, 10);
  b->SetParent(&form);
  b->SetCaption(c.caption);
  b->SetState(c.state);
  b->SetEnabled(c.enabled);
  ExpectPaint(form, *b, c.picture);
}

INSTANTIATE_TEST_SUITE_P(
    Looks, SpeedButtonPaint,
    testing::Values(
        PaintCase{"Raised", TButtonState::bsUp, true, "",
                  {"HHHHHHHHHHHD",
                   "HFFFFFFFFFSD",
                   "HFFFFFFFFFSD",
                   "HFFFFFFFFFSD",
                   "HFFFFFFFFFSD",
                   "HFFFFFFFFFSD",
                   "HFFFFFFFFFSD",
                   "HFFFFFFFFFSD",
                   "HSSSSSSSSSSD",
                   "DDDDDDDDDDDD"}},
        PaintCase{"HeldDown", TButtonState::bsDown, true, "",
                  {"DDDDDDDDDDDD",
                   "DSSSSSSSSSSH",
                   "DSFFFFFFFFFH",
                   "DSFFFFFFFFFH",
                   "DSFFFFFFFFFH",
                   "DSFFFFFFFFFH",
                   "DSFFFFFFFFFH",
                   "DSFFFFFFFFFH",
                   "DSFFFFFFFFFH",
                   "DHHHHHHHHHHH"}},
        PaintCase{"CaptionCentred", TButtonState::bsUp, true, "a",
                  {"HHHHHHHHHHHD",
                   "HFFFFFFFFFSD",
                   "HFFFTTTTFFSD",
                   "HFFFTTTTFFSD",
                   "HFFFTTTTFFSD",
                   "HFFFTTTTFFSD",
                   "HFFFTTTTFFSD",
                   "HFFFTTTTFFSD",
                   "HSSSSSSSSSSD",
                   "DDDDDDDDDDDD"}},
        PaintCase{"LatchedCaptionMovesDownRight", TButtonState::bsExclusive, true, "a",
                  {"DDDDDDDDDDDD",
                   "DSSSSSSSSSSH",
                   "DSFFFFFFFFFH",
                   "DSFFFTTTTFFH",
                   "DSFFFTTTTFFH",
                   "DSFFFTTTTFFH",
                   "DSFFFTTTTFFH",
                   "DSFFFTTTTFFH",
                   "DSFFFTTTTFFH",
                   "DHHHHHHHHHHH"}},
        PaintCase{"DisabledIsRaisedWithGreyCaption", TButtonState::bsDown, false, "a",
                  {"HHHHHHHHHHHD",
                   "HFFFFFFFFFSD",
                   "HFFFGGGGFFSD",
                   "HFFFGGGGFFSD",
                   "HFFFGGGGFFSD",
                   "HFFFGGGGFFSD",
                   "HFFFGGGGFFSD",
                   "HFFFGGGGFFSD",
                   "HSSSSSSSSSSD",
                   "DDDDDDDDDDDD"}}),
    [](const testing::TestParamInfo<PaintCase>& info) { return std::string(info.param.name); });

TEST(SpeedButtonPaintTiny, StaysInsideItsBounds) {
  TBlockTextScope text;
  TForm form{nullptr};
  form.SetColor(clRed);
  form.SetClientWidth(6);
  form.SetClientHeight(6);
  for (const TButtonState state : {TButtonState::bsUp, TButtonState::bsDown}) {
    for (int size = 0; size <= 3; ++size) {
      TSpeedButton b(&form);
      b.SetBounds(2, 2, size, size);
      b.SetParent(&form);
      b.SetCaption("long caption");
      b.SetState(state);
      form.Repaint();
      for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
          if (b.BoundsRect().Contains({x, y})) continue;
          EXPECT_EQ(form.Surface().Pixel(x, y), ColorToPixelValue(clRed)) << size << " at " << x << "," << y;
        }
      }
    }
  }
}

// A control that records the group notifications that reach it.
class TGroupSpy : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_BUTTONPRESSED) seen.push_back({m.WParam, m.LParam});
    TGraphicControl::Dispatch(m);
  }
  std::vector<std::pair<intptr_t, intptr_t>> seen;
};

struct GroupFixture : testing::Test {
  TBlockTextScope text;
  TScriptedHost host;
  TForm form{nullptr};
  TSpeedButton* a = new TSpeedButton(&form);
  TSpeedButton* b = new TSpeedButton(&form);
  TGroupSpy* spy = new TGroupSpy(&form);
  int clicksA = 0, clicksB = 0;
  void CountA(TObject*) { ++clicksA; }
  void CountB(TObject*) { ++clicksB; }
  void SetUp() override {
    form.SetClientWidth(100);
    form.SetClientHeight(40);
    a->SetBounds(0, 0, 20, 20);
    b->SetBounds(30, 0, 20, 20);
    spy->SetBounds(80, 0, 5, 5);
    for (TControl* c : std::initializer_list<TControl*>{a, b, spy}) c->SetParent(&form);
    a->OnClick = TNotifyEvent(this, &GroupFixture::CountA);
    b->OnClick = TNotifyEvent(this, &GroupFixture::CountB);
    form.Show();
  }
  void Group(int index) {
    a->SetGroupIndex(index);
    b->SetGroupIndex(index);
  }
  static intptr_t Sender(const TSpeedButton* s) { return reinterpret_cast<intptr_t>(static_cast<const TObject*>(s)); }
};

TEST_F(GroupFixture, UngroupedClickRaisesOnClickAndNeverLatches) {
  host.Click(form, {5, 5});
  EXPECT_EQ(clicksA, 1);
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), TButtonState::bsUp);
  a->SetDown(true);
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(spy->seen.empty());
}

TEST_F(GroupFixture, PressedLookFollowsThePointerWhileHeld) {
  host.Press(form, {5, 5});
  EXPECT_EQ(a->State(), TButtonState::bsDown);
  host.Move(form, {50, 30});
  EXPECT_EQ(a->State(), TButtonState::bsUp);
  host.Move(form, {6, 6});
  EXPECT_EQ(a->State(), TButtonState::bsDown);
  host.Release(form, {50, 30});
  EXPECT_EQ(clicksA, 0);
  EXPECT_EQ(a->State(), TButtonState::bsUp);
}

TEST_F(GroupFixture, ReleaseOutsideWithoutAMoveStillComesUp) {
  Group(1);
  host.Press(form, {5, 5});
  host.Release(form, {90, 30});
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), TButtonState::bsUp);
  EXPECT_EQ(clicksA, 0);
}

TEST_F(GroupFixture, ExclusiveGroupLatchesOneAtATime) {
  Group(1);
  host.Click(form, {5, 5});
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), TButtonState::bsExclusive);
  host.Click(form, {5, 5});  // the latched member of an exclusive group stays down, and still clicks
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(clicksA, 2);
  host.Click(form, {35, 5});
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), TButtonState::bsUp);
  EXPECT_EQ(clicksB, 1);
}

TEST_F(GroupFixture, AllowAllUpSpreadsOverTheGroupAndLetsTheLatchedOneUp) {
  Group(1);
  a->SetAllowAllUp(true);
  EXPECT_TRUE(b->AllowAllUp());
  host.Click(form, {35, 5});
  host.Click(form, {35, 5});
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(b->State(), TButtonState::bsUp);
}

TEST_F(GroupFixture, NotifiesTheGroupWhenIndexAllowAllUpOrDownChange) {
  a->SetGroupIndex(3);
  a->SetGroupIndex(3);
  a->SetAllowAllUp(true);
  a->SetAllowAllUp(true);
  a->SetDown(true);
  a->SetDown(true);
  a->SetDown(false);
  const auto msg = std::pair<intptr_t, intptr_t>{3, Sender(a)};
  EXPECT_EQ(spy->seen, (std::vector<std::pair<intptr_t, intptr_t>>{msg, msg, msg, msg}));
}

TEST_F(GroupFixture, IgnoresOtherGroupsAndItsOwnNotification) {
  a->SetGroupIndex(1);
  b->SetGroupIndex(2);
  a->SetDown(true);
  b->SetDown(true);
  EXPECT_TRUE(a->Down());
  EXPECT_TRUE(b->Down());
  TMessage own{CM_BUTTONPRESSED, 1, Sender(a), 0};
  form.Broadcast(own);
  EXPECT_TRUE(a->Down());
  TMessage nobody{CM_BUTTONPRESSED, 1, 0, 0};
  form.Broadcast(nobody);
  EXPECT_TRUE(a->Down());
}

TEST_F(GroupFixture, OtherButtonsAndDisabledButtonsDoNotPress) {
  Group(1);
  host.Press(form, {5, 5}, WM_RBUTTONDOWN);
  host.Release(form, {5, 5}, WM_RBUTTONUP);
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->State(), TButtonState::bsUp);
  a->SetEnabled(false);
  host.Click(form, {5, 5});  // a disabled control is not hit at all
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(clicksA, 0);
}

TEST_F(GroupFixture, DoubleClickIsTwoClicks) {
  host.Click(form, {5, 5});
  host.Press(form, {5, 5}, WM_LBUTTONDBLCLK);
  host.Release(form, {5, 5});
  EXPECT_EQ(clicksA, 2);
}

}  // namespace
}  // namespace permora
