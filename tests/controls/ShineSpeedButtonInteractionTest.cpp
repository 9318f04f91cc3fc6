// The button's answers to scripted input through the host: a form routing the mouse, a pointer
// and keyboard the test moves, and timers ticked by hand. Every step is checked for the visual
// state, Down, the events raised, the paints asked for (R repaint, I invalidate) and the timer.

#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "controls/ShineSpdBtn.h"
#include "platform/Forms.h"
#include "platform/SpeedButton.h"
#include "support/BlockTextRenderer.h"
#include "support/ScriptedHost.h"

namespace permora {
namespace {

using testing_support::TBlockTextScope;
using testing_support::TScriptedHost;

// Records the paints the button asks for; a repaint is one R, not also an I.
class TTrackedButton : public TShineSpeedButton {
 public:
  using TShineSpeedButton::TShineSpeedButton;
  void Invalidate() override {
    if (!FInRepaint) paints += 'I';
    TShineSpeedButton::Invalidate();
  }
  void Repaint() override {
    paints += 'R';
    repaintStates.push_back(State());
    FInRepaint = true;
    TShineSpeedButton::Repaint();
    FInRepaint = false;
  }
  std::string paints;
  std::vector<TVisualState> repaintStates;  // the state each repaint shows

 private:
  bool FInRepaint = false;
};

// Records the group notifications that reach it.
class TNotificationSpy : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_BUTTONPRESSED) ++notifications;
    TGraphicControl::Dispatch(m);
  }
  int notifications = 0;
};

const char* StateName(TVisualState s) {
  static const char* names[] = {"vsActiveDown", "vsDown", "vsActive", "vsUp", "vsDisabled"};
  return names[static_cast<int>(s)];
}

struct InteractionFixture : testing::Test {
  TScriptedHost host;
  TBlockTextScope text;
  TForm form{nullptr};
  TTrackedButton* a = new TTrackedButton(&form);
  TTrackedButton* b = new TTrackedButton(&form);
  std::string events;

  static constexpr TPoint kOverA{15, 15};  // client (5, 5) of a
  static constexpr TPoint kOverB{45, 15};
  static constexpr TPoint kAway{80, 40};   // the bare form: client (70, 30) of a

  void SetUp() override {
    form.SetClientWidth(120);
    form.SetClientHeight(50);
    a->SetBounds(10, 10, 20, 20);
    b->SetBounds(40, 10, 20, 20);
    for (TTrackedButton* button : {a, b}) {
      button->SetParent(&form);
      button->SetName(button == a ? "A" : "B");
      button->OnClick = TNotifyEvent(this, &InteractionFixture::Clicked);
      button->OnDblClick = TNotifyEvent(this, &InteractionFixture::DoubleClicked);
      button->OnMouseEnter = TMouseMoveEvent(this, &InteractionFixture::Entered);
      button->OnMouseLeave = TMouseMoveEvent(this, &InteractionFixture::Left);
    }
    form.Show();
    host.Warp(form, kAway);
    a->paints.clear();
    b->paints.clear();
  }

  void Note(const String& what, TObject* sender) {
    if (sender != a) events += static_cast<TComponent*>(sender)->Name() + ".";
    events += what + " ";
  }
  void Clicked(TObject* sender) { Note("click", sender); }
  void DoubleClicked(TObject* sender) { Note("dbl", sender); }
  void Entered(TObject* sender, TShiftState shift, int32_t x, int32_t y) { Note(Where("enter", shift, x, y), sender); }
  void Left(TObject* sender, TShiftState shift, int32_t x, int32_t y) { Note(Where("leave", shift, x, y), sender); }
  static String Where(const char* what, TShiftState shift, int32_t x, int32_t y) {
    std::ostringstream s;
    s << what << "(" << x << "," << y << (shift.Contains(ssShift) ? ",shift" : "") << ")";
    return s.str();
  }

  // One step of a scenario and what button a shows afterwards.
  struct Step {
    const char* what;
    std::function<void()> act;
    TVisualState state;
    bool down;
    std::string events;  // space-separated, each followed by a space
    std::string paints;
    bool timer;
  };
  void Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      SCOPED_TRACE(step.what);
      events.clear();
      a->paints.clear();
      step.act();
      EXPECT_STREQ(StateName(a->State()), StateName(step.state));
      EXPECT_EQ(a->Down(), step.down);
      EXPECT_EQ(events, step.events);
      EXPECT_EQ(a->paints, step.paints);
      EXPECT_EQ(a->ActiveTimer()->Enabled(), step.timer);
      EXPECT_EQ(a->ActiveTimer()->Running(), step.timer);
    }
  }
  std::function<void()> MoveTo(TPoint p) {
    return [this, p] { host.Move(form, p); };
  }
  std::function<void()> PressAt(TPoint p, uint32_t msg = WM_LBUTTONDOWN) {
    return [this, p, msg] { host.Press(form, p, msg); };
  }
  std::function<void()> ReleaseAt(TPoint p, uint32_t msg = WM_LBUTTONUP) {
    return [this, p, msg] { host.Release(form, p, msg); };
  }
  std::function<void()> ClickAt(TPoint p) {
    return [this, p] { host.Click(form, p); };
  }
  std::function<void()> Tick() {
    return [this] { host.Timers.TickAll(); };
  }
  void Group(int index) {
    a->SetGroupIndex(index);
    b->SetGroupIndex(index);
  }
};

TEST_F(InteractionFixture, EnterAndLeave) {
  Run({
      {"enter with shift held", [this] { host.Input.Keys.insert(VK_SHIFT); host.Move(form, kOverA); },
       vsActive, false, "enter(5,5,shift) ", "R", true},
      {"leave", [this] { host.Input.Keys.clear(); host.Move(form, kAway); }, vsUp, false, "leave(70,30) ", "R", false},
  });
  EXPECT_EQ(a->ActiveTimer()->Interval(), 200u);
}

TEST_F(InteractionFixture, TheTimerCatchesAMissedLeave) {
  Run({
      {"enter", MoveTo(kOverA), vsActive, false, "enter(5,5) ", "R", true},
      {"tick while over", Tick(), vsActive, false, "", "", true},
      {"pointer gone unnoticed", [this] { host.Warp(form, kAway); }, vsActive, false, "", "", true},
      {"tick", Tick(), vsUp, false, "leave(70,30) ", "R", false},
      {"the late leave only raises the event", MoveTo(kAway), vsUp, false, "leave(70,30) ", "", false},
  });
}

TEST_F(InteractionFixture, UngroupedPressAndReleaseInsideClicksOnce) {
  Run({
      {"enter", MoveTo(kOverA), vsActive, false, "enter(5,5) ", "R", true},
      {"press", PressAt(kOverA), vsActiveDown, false, "", "I", true},
      {"tick during the press stops the timer", Tick(), vsActiveDown, false, "", "", false},
      {"release inside", ReleaseAt(kOverA), vsActive, false, "click enter(5,5) ", "RR", true},
  });
}

TEST_F(InteractionFixture, UngroupedDragOutsideAndBackThenReleaseOutside) {
  Run({
      {"enter", MoveTo(kOverA), vsActive, false, "enter(5,5) ", "R", true},
      {"press", PressAt(kOverA), vsActiveDown, false, "", "I", true},
      {"drag outside", MoveTo(kAway), vsUp, false, "", "I", true},
      {"back inside", MoveTo(kOverA), vsActiveDown, false, "", "I", true},
      {"move inside without a change", MoveTo({16, 16}), vsActiveDown, false, "", "", true},
      {"release outside", ReleaseAt(kAway), vsUp, false, "leave(70,30) leave(70,30) ", "R", false},
  });
}

TEST_F(InteractionFixture, ARightReleaseEndsALeftPress) {
  Run({
      {"press", PressAt(kOverA), vsActiveDown, false, "enter(5,5) ", "RI", true},
      // The left button still holds the capture, so the hover look waits for the next move.
      {"right release", ReleaseAt(kOverA, WM_RBUTTONUP), vsUp, false, "click enter(5,5) ", "R", true},
      {"left release has nothing to end", ReleaseAt(kOverA), vsUp, false, "", "", true},
      {"the next move brings the hover look back", MoveTo({16, 16}), vsActive, false, "enter(6,6) ", "R", true},
  });
}

TEST_F(InteractionFixture, DoubleClickOnAnUngroupedButtonIsTwoClicks) {
  Run({
      {"enter", MoveTo(kOverA), vsActive, false, "enter(5,5) ", "R", true},
      {"first click", ClickAt(kOverA), vsActive, false, "click enter(5,5) ", "IRR", true},
      {"second press", PressAt(kOverA, WM_LBUTTONDBLCLK), vsActiveDown, false, "", "I", true},
      {"second release", ReleaseAt(kOverA), vsActive, false, "click enter(5,5) ", "RR", true},
  });
}

TEST_F(InteractionFixture, DoubleClickOnALatchedButtonRaisesOnDblClick) {
  Group(1);
  Run({
      {"enter", MoveTo(kOverA), vsActive, false, "enter(5,5) ", "R", true},
      {"first click latches", ClickAt(kOverA), vsActiveDown, true, "click enter(5,5) ", "IRRR", true},
      {"second press", PressAt(kOverA, WM_LBUTTONDBLCLK), vsActiveDown, true, "dbl ", "", true},
      {"second release keeps it latched", ReleaseAt(kOverA), vsActiveDown, true, "click enter(5,5) ", "RR", true},
  });
}

TEST_F(InteractionFixture, ExclusiveGroup) {
  Group(1);
  Run({
      {"enter", MoveTo(kOverA), vsActive, false, "enter(5,5) ", "R", true},
      {"click latches", ClickAt(kOverA), vsActiveDown, true, "click enter(5,5) ", "IRRR", true},
      {"leave shows it down", MoveTo(kAway), vsDown, true, "leave(70,30) ", "R", false},
      {"clicking the latched one again keeps it", ClickAt(kOverA), vsActiveDown, true,
       "enter(5,5) click enter(5,5) ", "RRR", true},
      {"clicking the other releases it", [this] { host.Move(form, kOverB); host.Click(form, kOverB); }, vsUp,
       false, "leave(35,5) B.enter(5,5) B.click B.enter(5,5) ", "RI", false},
  });
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(b->State(), vsActiveDown);
  EXPECT_EQ(a->GroupProxy(), nullptr);
  EXPECT_EQ(form.ControlCount(), 2) << "no proxy is left behind";
}

TEST_F(InteractionFixture, GroupedReleaseOutsideShowsTheHoverLookUntilTrackingEndsIt) {
  Group(1);
  a->SetDown(true);
  host.Move(form, kOverA);
  Run({
      {"press", PressAt(kOverA), vsActiveDown, true, "", "", true},
      {"drag outside", MoveTo(kAway), vsDown, true, "", "I", true},
  });
  a->repaintStates.clear();
  Run({
      {"release outside", ReleaseAt(kAway), vsDown, true, "leave(70,30) leave(70,30) ", "RR", false},
  });
  EXPECT_EQ(a->repaintStates, (std::vector<TVisualState>{vsActiveDown, vsDown}));
}

TEST_F(InteractionFixture, AllowAllUpSpreadsOverTheGroupAndLetsTheLastOneUp) {
  auto* platform = new TSpeedButton(&form);
  platform->SetBounds(70, 10, 20, 20);
  platform->SetParent(&form);
  Group(1);
  platform->SetGroupIndex(1);
  a->SetAllowAllUp(true);
  EXPECT_TRUE(b->AllowAllUp());
  EXPECT_TRUE(platform->AllowAllUp());
  EXPECT_EQ(a->paints, "") << "AllowAllUp asks for no paint";
  Run({
      {"enter", MoveTo(kOverA), vsActive, false, "enter(5,5) ", "R", true},
      {"click latches", ClickAt(kOverA), vsActiveDown, true, "click enter(5,5) ", "IRRR", true},
      {"click again releases", ClickAt(kOverA), vsActive, false, "click enter(5,5) ", "RR", true},
  });
}

TEST_F(InteractionFixture, AGroupWithAPlatformSpeedButton) {
  auto* platform = new TSpeedButton(&form);
  platform->SetBounds(70, 10, 20, 20);
  platform->SetParent(&form);
  a->SetGroupIndex(1);
  platform->SetGroupIndex(1);
  host.Click(form, {75, 15});
  EXPECT_TRUE(platform->Down());
  Run({
      {"pressing the button releases the platform one", ClickAt(kOverA), vsActiveDown, true,
       "enter(5,5) click enter(5,5) ", "RIRRR", true},
  });
  EXPECT_FALSE(platform->Down());
  Run({
      {"pressing the platform one releases the button",
       [this] { host.Move(form, {75, 15}); host.Click(form, {75, 15}); }, vsUp, false, "leave(65,5) ", "RI",
       false},
  });
  EXPECT_TRUE(platform->Down());
}

TEST_F(InteractionFixture, SetDownOnlyLatchesInAGroup) {
  Run({
      {"no group", [this] { a->SetDown(true); }, vsUp, false, "", "", false},
      {"in a group", [this] { Group(1); a->SetDown(true); }, vsDown, true, "", "R", false},
      {"the latched member of an exclusive group stays", [this] { a->SetDown(false); }, vsDown, true, "", "", false},
      {"another member takes over", [this] { b->SetDown(true); }, vsUp, false, "", "I", false},
  });
}

TEST_F(InteractionFixture, ClickDownHookShowsThePressedLookWhileOnClickRuns) {
  TVisualState seen = vsUp;
  struct TWatcher {
    TShineSpeedButton* button;
    TVisualState* seen;
    void Saw(TObject*) { *seen = button->State(); }
  } watcher{a, &seen};
  a->SetClickDownHook(true);
  a->OnClick = TNotifyEvent(&watcher, &TWatcher::Saw);
  Run({
      {"click from the code", [this] { a->Click(); }, vsUp, false, "", "RR", false},
  });
  EXPECT_EQ(seen, vsActiveDown);
  seen = vsUp;
  Run({
      {"enter", MoveTo(kOverA), vsActive, false, "enter(5,5) ", "R", true},
      {"click with the mouse", ClickAt(kOverA), vsActive, false, "enter(5,5) ", "IRRRR", true},
  });
  EXPECT_EQ(seen, vsActiveDown);
}

TEST_F(InteractionFixture, AcceleratorKey) {
  a->SetCaption("&Run");
  a->SetGroupIndex(1);
  a->paints.clear();
  Run({
      {"without AccelCharDown it only clicks", [this] { EXPECT_TRUE(form.DialogChar('R')); }, vsUp, false, "click ",
       "", false},
      {"with AccelCharDown it latches and clicks",
       [this] {
         a->SetAccelCharDown(true);
         EXPECT_TRUE(form.DialogChar('r'));
       },
       vsDown, true, "click ", "IR", false},
      {"another key does nothing", [this] { EXPECT_FALSE(form.DialogChar('x')); }, vsDown, true, "", "", false},
      {"not while invisible",
       [this] {
         a->SetVisible(false);
         EXPECT_FALSE(form.DialogChar('r'));
         a->SetVisible(true);
       },
       vsDown, true, "", "II", false},
      {"not while disabled",
       [this] {
         a->SetEnabled(false);
         EXPECT_FALSE(form.DialogChar('r'));
       },
       vsDisabled, false, "", "I", false},
  });
}

TEST_F(InteractionFixture, DisablingALatchedButtonReleasesItQuietly) {
  auto* spy = new TNotificationSpy(&form);
  spy->SetParent(&form);
  Group(1);
  a->SetDown(true);
  b->paints.clear();
  spy->notifications = 0;
  Run({
      {"disable", [this] { a->SetEnabled(false); }, vsDisabled, false, "", "I", false},
      {"enable with the pointer away", [this] { a->SetEnabled(true); }, vsUp, false, "leave(70,30) ", "RI", false},
      {"disable over it", [this] { host.Move(form, kOverA); a->SetEnabled(false); }, vsDisabled, false,
       "enter(5,5) ", "RI", true},
      {"the next tick stops the timer", Tick(), vsDisabled, false, "", "", false},
      {"enable over it", [this] { a->SetEnabled(true); }, vsActive, false, "enter(5,5) ", "RI", true},
  });
  EXPECT_EQ(spy->notifications, 0);
  EXPECT_EQ(b->paints, "");
}

TEST_F(InteractionFixture, InputThatDoesNotApplyIsIgnored) {
  Group(1);
  auto* other = new TSpeedButton(&form);
  other->SetParent(&form);
  other->SetBounds(0, 40, 5, 5);
  a->SetDown(true);
  const intptr_t sender = reinterpret_cast<intptr_t>(static_cast<TObject*>(other));
  Run({
      {"enter", MoveTo(kOverA), vsActiveDown, true, "enter(5,5) ", "R", true},
      {"right press", PressAt(kOverA, WM_RBUTTONDOWN), vsActiveDown, true, "", "", true},
      {"right release", ReleaseAt(kOverA, WM_RBUTTONUP), vsActiveDown, true, "", "", true},
      {"another group's notification",
       [&] {
         other->SetGroupIndex(2);
         other->SetDown(true);
         TMessage m{CM_BUTTONPRESSED, 2, sender, 0};
         form.Broadcast(m);
       },
       vsActiveDown, true, "", "", true},
      {"a notification naming no button",
       [&] {
         TMessage m{CM_BUTTONPRESSED, 1, 0, 0};
         form.Broadcast(m);
       },
       vsActiveDown, true, "", "", true},
      {"a press while disabled",
       [this] {
         a->SetEnabled(false);
         a->Perform(WM_LBUTTONDOWN, 0, PointToLParam({5, 5}));
       },
       vsDisabled, false, "", "I", true},
  });
  EXPECT_FALSE(a->Dragging());
}

TEST_F(InteractionFixture, AutomaticDragModeNeverShowsTheHoverLook) {
  a->SetDragMode(dmAutomatic);
  Run({
      {"move in", MoveTo(kOverA), vsUp, false, "enter(5,5) enter(5,5) ", "", false},
      {"move within", MoveTo({16, 16}), vsUp, false, "enter(6,6) ", "", false},
  });
}

TEST(ShineSpeedButtonGroup, WithoutAParentOnlyStoresTheIndex) {
  TShineSpeedButton button(nullptr);
  button.SetGroupIndex(3);
  EXPECT_EQ(button.GroupIndex(), 3);
  button.SetDown(true);
  EXPECT_TRUE(button.Down());
  EXPECT_EQ(button.GroupProxy(), nullptr);
}

}  // namespace
}  // namespace permora
