#include "platform/Button.h"

namespace permora {

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
}

const TClassInfo& TButton::StaticClassInfo() {
  namespace p = published;
  static const TClassInfo info("TButton", &TWinControl::StaticClassInfo(),
                               {
                                   TControl::PublishedProperty("Left"),
                                   TControl::PublishedProperty("Top"),
                                   TControl::PublishedProperty("Width"),
                                   TControl::PublishedProperty("Height"),
                                   TControl::PublishedProperty("Caption"),
                                   TControl::PublishedProperty("Enabled"),
                                   p::Integer<TButton>("TabOrder", &TButton::TabOrder, &TButton::SetTabOrder, -1),
                                   TControl::PublishedProperty("Visible"),
                                   TControl::PublishedProperty("OnClick"),
                               },
                               published::ComponentFactory<TButton>());
  return info;
}

void TButton::DefaultHandler(TMessage& message) {
  if (message.Msg == CM_DIALOGCHAR) {
    if (Visible() && Enabled() && IsAccel(static_cast<uint32_t>(message.WParam), Caption())) {
      Click();
      message.Result = 1;
    }
    return;
  }
  TWinControl::DefaultHandler(message);
}

void TButton::PaintTo(TBitmap& surface, TPoint offset, const TRect& clip) {
  TCanvas canvas(surface, offset, clip);
  TRect face = ClientRect();
  canvas.Brush.Color = clBtnFace;
  canvas.FillRect(face);
  // Classic raised bevel: light on the top and left, dark on the bottom and right.
  canvas.Pen.Color = clBtnHighlight;
  canvas.MoveTo(face.Left, face.Bottom - 1);
  canvas.LineTo(face.Left, face.Top);
  canvas.LineTo(face.Right - 1, face.Top);
  canvas.Pen.Color = cl3DDkShadow;
  canvas.LineTo(face.Right - 1, face.Bottom - 1);
  canvas.LineTo(face.Left - 1, face.Bottom - 1);
  canvas.Pen.Color = clBtnShadow;
  canvas.MoveTo(face.Left + 1, face.Bottom - 2);
  canvas.LineTo(face.Right - 2, face.Bottom - 2);
  canvas.LineTo(face.Right - 2, face.Top);
  if (Caption().empty()) return;
  canvas.Font().SetColor(Enabled() ? clBtnText : clGrayText);
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.DrawText(Caption(), face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace permora
