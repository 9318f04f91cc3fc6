#include "platform/SpeedButton.h"

namespace permora {

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  // No csClickEvents: the button decides itself when a release is a click.
  SetControlStyle({csCaptureMouse, csDoubleClicks});
  SetBounds(0, 0, 23, 22);
  FFont.OnChange = TNotifyEvent(this, &TSpeedButton::FontChanged);
}

TSpeedButton::~TSpeedButton() = default;

const TClassInfo& TSpeedButton::StaticClassInfo() {
  namespace p = published;
  static const TClassInfo info(
      "TSpeedButton", &TGraphicControl::StaticClassInfo(),
      {
          TControl::PublishedProperty("Left"),
          TControl::PublishedProperty("Top"),
          TControl::PublishedProperty("Width"),
          TControl::PublishedProperty("Height"),
          p::Boolean<TSpeedButton>("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp, false),
          p::Integer<TSpeedButton>("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0),
          p::Boolean<TSpeedButton>("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false),
          TControl::PublishedProperty("Caption"),
          TControl::PublishedProperty("Enabled"),
          p::Object<TSpeedButton>("Font", &TSpeedButton::FontObject),
          TControl::PublishedProperty("Visible"),
          TControl::PublishedProperty("OnClick"),
      },
      published::ComponentFactory<TSpeedButton>());
  return info;
}

void TSpeedButton::SetDown(bool value) {
  if (FGroupIndex == 0) value = false;
  if (value == FDown) return;
  // The latched member of an exclusive group is released only by another member.
  if (FDown && !FAllowAllUp) return;
  FDown = value;
  FState = value ? TButtonState::bsExclusive : TButtonState::bsUp;
  Invalidate();
  NotifyGroup();
}

void TSpeedButton::SetGroupIndex(int32_t value) {
  if (value == FGroupIndex) return;
  FGroupIndex = value;
  NotifyGroup();
}

void TSpeedButton::SetAllowAllUp(bool value) {
  if (value == FAllowAllUp) return;
  FAllowAllUp = value;
  NotifyGroup();
}

void TSpeedButton::SetState(TButtonState value) {
  if (value == FState) return;
  FState = value;
  Invalidate();
}

void TSpeedButton::NotifyGroup() {
  if (FGroupIndex == 0 || !Parent()) return;
  TMessage message{CM_BUTTONPRESSED, FGroupIndex, reinterpret_cast<intptr_t>(static_cast<TObject*>(this)), 0};
  Parent()->Broadcast(message);
}

void TSpeedButton::CMButtonPressed(TMessage& message) {
  if (message.WParam != FGroupIndex) return;
  auto* sender = dynamic_cast<TSpeedButton*>(reinterpret_cast<TObject*>(message.LParam));
  if (!sender || sender == this) return;
  if (sender->Down() && FDown) {
    FDown = false;
    FState = TButtonState::bsUp;
    Invalidate();
  }
  FAllowAllUp = sender->AllowAllUp();
}

void TSpeedButton::FontChanged(TObject*) { Perform(CM_FONTCHANGED); }

void TSpeedButton::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_BUTTONPRESSED:
      CMButtonPressed(message);
      return;
    case CM_ENABLEDCHANGED:
      if (!Enabled()) FDragging = false;
      Invalidate();
      return;
    default:
      TGraphicControl::Dispatch(message);
  }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  if (!FDown) SetState(TButtonState::bsDown);
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!FDragging) return;
  const bool inside = ClientRect().Contains({x, y});
  if (FDown)
    SetState(TButtonState::bsExclusive);
  else
    SetState(inside ? TButtonState::bsDown : TButtonState::bsUp);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!FDragging) return;
  FDragging = false;
  const bool inside = ClientRect().Contains({x, y});
  if (inside) SetDown(!FDown);
  // Settles the look also when the release comes without a move after the press.
  SetState(FDown ? TButtonState::bsExclusive : TButtonState::bsUp);
  if (inside) Click();
}

void TSpeedButton::Paint() {
  const bool pressed = Enabled() && Pressed();
  TCanvas& canvas = Canvas();
  DrawFace(canvas, pressed);
  DrawCaption(canvas, pressed);
}

namespace {

void FillSpan(TCanvas& canvas, TColor color, const TRect& span) {
  canvas.Brush.Color = color;
  canvas.FillRect(span);
}

}  // namespace

void TSpeedButton::DrawFace(TCanvas& canvas, bool pressed) {
  const int32_t w = Width(), h = Height();
  FillSpan(canvas, clBtnFace, Rect(0, 0, w, h));
  if (pressed) {
    // Sunken: dark edge and shadow line on the top and left, light edge on the bottom and right.
    FillSpan(canvas, cl3DDkShadow, Rect(0, 0, w, 1));
    FillSpan(canvas, cl3DDkShadow, Rect(0, 0, 1, h));
    FillSpan(canvas, clBtnShadow, Rect(1, 1, w - 1, 2));
    FillSpan(canvas, clBtnShadow, Rect(1, 1, 2, h - 1));
    FillSpan(canvas, clBtnHighlight, Rect(1, h - 1, w, h));
    FillSpan(canvas, clBtnHighlight, Rect(w - 1, 1, w, h));
  } else {
    // Raised: light edge on the top and left, shadow line and dark edge on the bottom and right.
    FillSpan(canvas, clBtnHighlight, Rect(0, 0, w - 1, 1));
    FillSpan(canvas, clBtnHighlight, Rect(0, 0, 1, h - 1));
    FillSpan(canvas, clBtnShadow, Rect(1, h - 2, w - 1, h - 1));
    FillSpan(canvas, clBtnShadow, Rect(w - 2, 1, w - 1, h - 1));
    FillSpan(canvas, cl3DDkShadow, Rect(0, h - 1, w, h));
    FillSpan(canvas, cl3DDkShadow, Rect(w - 1, 0, w, h));
  }
}

void TSpeedButton::DrawCaption(TCanvas& canvas, bool pressed) {
  if (Caption().empty()) return;
  canvas.Font().Assign(&FFont);
  if (!Enabled()) canvas.Font().SetColor(clGrayText);
  canvas.Brush.Style = TBrushStyle::bsClear;
  TRect box = ClientRect();
  if (pressed) box = Rect(box.Left + 1, box.Top + 1, box.Right + 1, box.Bottom + 1);
  canvas.DrawText(Caption(), box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  canvas.Brush.Style = TBrushStyle::bsSolid;
}

}  // namespace permora
