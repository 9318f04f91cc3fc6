// How the shining speed button answers the mouse, the hover timer, the accelerator key and
// changes of Enabled, and how it keeps a group of buttons on one parent mutually exclusive.
// Transitions caused by the user's pointer repaint at once; those during a press or caused by
// other objects only invalidate.

#include <memory>

#include "controls/ShineSpdBtn.h"
#include "platform/SpeedButton.h"

namespace permora {

namespace {

bool InsideClient(const TControl& control, int32_t x, int32_t y) {
  return x >= 0 && x < control.Width() && y >= 0 && y < control.Height();
}

}  // namespace

// ---- Groups --------------------------------------------------------------------------------------

void TShineSpeedButton::SetDown(bool Value) {
  if (Value == FDown) return;
  // A button outside a group never latches.
  if (FGroupIndex == 0) return;
  if (FAllowAllUp) {
    FDown = Value;
    GroupUpdateStatus(FGroupIndex);
    FState = FDown ? vsDown : vsUp;
  } else {
    // The latched member of an exclusive group comes up only when another member is pressed.
    if (FDown) return;
    FDown = true;
    GroupUpdateStatus(FGroupIndex);
    FState = vsDown;
  }
  Repaint();
}

void TShineSpeedButton::SetAllowAllUp(bool Value) {
  if (Value == FAllowAllUp) return;
  FAllowAllUp = Value;
  GroupUpdateStatus(FGroupIndex);
}

void TShineSpeedButton::SetGroupIndex(int32_t Value) {
  if (Value == FGroupIndex) return;
  GroupUpdateStatus(Value);
}

void TShineSpeedButton::GroupUpdateStatus(int32_t Index) {
  FGroupIndex = Index;
  TWinControl* parent = Parent();
  if (Index == 0 || !parent) return;
  // The group speaks the platform speed button's notification, so a stand-in of that class
  // carries this button's values to every member, platform speed buttons included.
  auto proxy = std::make_unique<TSpeedButton>(parent);
  proxy->SetVisible(false);  // it never shows, so its coming and going paints nothing
  FGroupProxy = proxy.get();
  struct TProxyRemoval {
    TShineSpeedButton& button;
    TWinControl& parent;
    std::unique_ptr<TSpeedButton>& proxy;
    ~TProxyRemoval() {
      parent.RemoveControl(proxy.get());
      proxy.reset();
      button.FGroupProxy = nullptr;
    }
  } removal{*this, *parent, proxy};
  parent->InsertControl(proxy.get());
  proxy->SetGroupIndex(FGroupIndex);
  proxy->SetAllowAllUp(FAllowAllUp);
  proxy->SetDown(FDown);
  TMessage message{CM_BUTTONPRESSED, FGroupIndex, reinterpret_cast<intptr_t>(static_cast<TObject*>(proxy.get())), 0};
  parent->Broadcast(message);
}

void TShineSpeedButton::CMButtonPressed(TMessage& Message) {
  if (Message.WParam != FGroupIndex) return;
  auto* sender = dynamic_cast<TSpeedButton*>(reinterpret_cast<TObject*>(Message.LParam));
  if (!sender || sender == FGroupProxy) return;
  if (sender->Down() && FDown) {
    // Released by another member: no setter, so no further notification.
    FDown = false;
    FState = vsUp;
    Invalidate();
  }
  FAllowAllUp = sender->AllowAllUp();
}

// ---- Hover ---------------------------------------------------------------------------------------

void TShineSpeedButton::UpdateTracking() {
  if (!Enabled()) return;
  const TControl* target = FindDragTarget(GetCursorPos(), true);
  // Deliberately the opposite of the truth, so that the guard of the handler reached passes.
  FMouseInControl = target != this;
  if (FMouseInControl)
    Perform(CM_MOUSELEAVE);
  else
    Perform(CM_MOUSEENTER);
}

void TShineSpeedButton::CMMouseEnter(TMessage&) {
  const TPoint p = ScreenToClient(GetCursorPos());
  MouseEnter(CurrentShiftState(), p.X, p.Y);
}

void TShineSpeedButton::CMMouseLeave(TMessage&) {
  const TPoint p = ScreenToClient(GetCursorPos());
  MouseLeave(CurrentShiftState(), p.X, p.Y);
}

void TShineSpeedButton::MouseEnter(TShiftState Shift, int32_t X, int32_t Y) {
  if (OnMouseEnter) OnMouseEnter(this, Shift, X, Y);
  if (FMouseInControl || !Enabled() || DragMode() == dmAutomatic || GetCapture()) return;
  FMouseInControl = true;
  if (FState == vsUp)
    FState = vsActive;
  else if (FState == vsDown)
    FState = vsActiveDown;
  Repaint();
  FActiveTimer->SetEnabled(true);
}

void TShineSpeedButton::MouseLeave(TShiftState Shift, int32_t X, int32_t Y) {
  if (OnMouseLeave) OnMouseLeave(this, Shift, X, Y);
  if (!FMouseInControl || !Enabled() || FDragging) return;
  FActiveTimer->SetEnabled(false);
  FMouseInControl = false;
  if (FState == vsActive)
    FState = vsUp;
  else if (FState == vsActiveDown)
    FState = vsDown;
  Repaint();
}

void TShineSpeedButton::ActiveButtonTimerOnTimer(TObject*) {
  if (!FMouseInControl || !Enabled() || FDragging) {
    FActiveTimer->SetEnabled(false);
    return;
  }
  // Catches a leave that no notification reported; only the rectangle counts.
  const TPoint p = ScreenToClient(GetCursorPos());
  if (InsideClient(*this, p.X, p.Y)) return;
  MouseLeave(CurrentShiftState(), p.X, p.Y);
}

// ---- Pressing ------------------------------------------------------------------------------------

void TShineSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  FState = vsActiveDown;
  if (!FDown) Invalidate();
  FDragging = true;
}

void TShineSpeedButton::MouseMove(TShiftState Shift, int32_t X, int32_t Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (FDragging) {
    const TVisualState state = InsideClient(*this, X, Y) ? vsActiveDown : FDown ? vsDown : vsUp;
    if (state == FState) return;
    FState = state;
    Invalidate();
  } else if (!FMouseInControl) {
    UpdateTracking();
  }
}

void TShineSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  const bool inside = InsideClient(*this, X, Y);
  if (FGroupIndex == 0) {
    FState = vsUp;
    FMouseInControl = false;
    FDown = false;
    if (inside) Repaint();
  } else if (inside) {
    SetDown(!FDown);
    if (FDown) Repaint();
  } else {
    FState = FDown ? vsActiveDown : vsActive;
    Repaint();
  }
  FDragging = false;
  if (inside) Click();
  // Settles the hover look for wherever the pointer is now.
  UpdateTracking();
}

void TShineSpeedButton::Click() {
  const TVisualState saved = FState;
  if (FClickDownHook) {
    FState = vsActiveDown;
    Repaint();
  }
  TGraphicControl::Click();
  if (FClickDownHook) {
    FState = saved;
    Repaint();
  }
}

void TShineSpeedButton::WMLButtonDblClick(TMessage& Message) {
  // The platform's handling delivers the press (flagged ssDouble) to MouseDown.
  TGraphicControl::Dispatch(Message);
  if (FDown) DblClick();
}

// ---- Other notifications -------------------------------------------------------------------------

void TShineSpeedButton::CMEnabledChanged(TMessage&) {
  FDown = false;  // directly: the rest of the group is not told
  FState = Enabled() ? vsUp : vsDisabled;
  UpdateTracking();
  Invalidate();
}

void TShineSpeedButton::CMDialogChar(TMessage& Message) {
  const bool accepted = IsAccel(static_cast<uint32_t>(Message.WParam), Caption()) && Enabled() && Visible() &&
                        Parent() && Parent()->Showing();
  if (!accepted) {
    TGraphicControl::Dispatch(Message);
    return;
  }
  if (FAccelCharDown) SetDown(!FDown);
  Click();
  Message.Result = 1;
}

void TShineSpeedButton::CMFontChanged(TMessage&) { Invalidate(); }

void TShineSpeedButton::CMTextChanged(TMessage&) { Invalidate(); }

void TShineSpeedButton::CMSysColorChange(TMessage&) { Invalidate(); }

void TShineSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClick(Message);
      return;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      return;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(Message);
      return;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      return;
    case CM_TEXTCHANGED:
      CMTextChanged(Message);
      return;
    case CM_MOUSEENTER:
      CMMouseEnter(Message);
      return;
    case CM_MOUSELEAVE:
      CMMouseLeave(Message);
      return;
    case CM_BUTTONPRESSED:
      CMButtonPressed(Message);
      return;
    case CM_SYSCOLORCHANGE:
      CMSysColorChange(Message);
      return;
    default:
      TGraphicControl::Dispatch(Message);
  }
}

}  // namespace permora
