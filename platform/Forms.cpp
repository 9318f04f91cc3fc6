#include "platform/Forms.h"

#include <algorithm>

namespace permora {

namespace {
std::vector<TCustomForm*>& FormList() {
  static std::vector<TCustomForm*> forms;
  return forms;
}

TRect UnionRect(const TRect& a, const TRect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}
}  // namespace

const std::vector<TCustomForm*>& AllForms() { return FormList(); }

namespace {
void SendSysColorChange(TControl& control) {
  control.Perform(CM_SYSCOLORCHANGE);
  if (!control.InheritsFrom(TWinControl::StaticClassInfo())) return;
  auto& parent = static_cast<TWinControl&>(control);
  // A receiver may leave the list while it handles the message: walk a copy.
  std::vector<TControl*> children;
  for (int i = 0; i < parent.ControlCount(); ++i) children.push_back(parent.Controls(i));
  for (TControl* child : children) SendSysColorChange(*child);
}
}  // namespace

void SystemColorsChanged() {
  const std::vector<TCustomForm*> forms = FormList();
  for (TCustomForm* form : forms) SendSysColorChange(*form);
}

const TEnumInfo& FormBorderStyleInfo() {
  static const TEnumInfo info{"TFormBorderStyle",
                              {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
  return info;
}

const TEnumInfo& FormStyleInfo() {
  static const TEnumInfo info{"TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
  return info;
}

const TEnumInfo& PositionInfo() {
  static const TEnumInfo info{"TPosition",
                              {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                               "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}};
  return info;
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  SetVisible(false);
  FormList().push_back(this);
}

TCustomForm::~TCustomForm() {
  // Components and controls go first, while the form is still whole.
  auto& forms = FormList();
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  FWindow.reset();
}

const TClassInfo& TCustomForm::StaticClassInfo() {
  namespace p = published;
  static const TClassInfo info(
      "TCustomForm", &TWinControl::StaticClassInfo(),
      {
          TControl::PublishedProperty("Left"),
          TControl::PublishedProperty("Top"),
          p::Integer<TCustomForm>("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth),
          p::Integer<TCustomForm>("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight),
          TControl::PublishedProperty("Caption"),
          p::Color<TCustomForm>("Color", &TCustomForm::Color, &TCustomForm::SetColor, clBtnFace),
          p::Enumeration<TCustomForm, TFormBorderStyle>("BorderStyle", FormBorderStyleInfo(), &TCustomForm::BorderStyle,
                                                        &TCustomForm::SetBorderStyle, TFormBorderStyle::bsSizeable),
          p::Enumeration<TCustomForm, TFormStyle>("FormStyle", FormStyleInfo(), &TCustomForm::FormStyle,
                                                  &TCustomForm::SetFormStyle, TFormStyle::fsNormal),
          p::Enumeration<TCustomForm, TPosition>("Position", PositionInfo(), &TCustomForm::Position,
                                                 &TCustomForm::SetPosition, TPosition::poDesigned),
          p::Object<TCustomForm>("Font", &TCustomForm::FontObject),
          p::Event<TCustomForm, TNotifyEvent>("OnActivate", &TCustomForm::GetOnActivate, &TCustomForm::SetOnActivate),
      });
  return info;
}

const TClassInfo& TForm::StaticClassInfo() {
  static const TClassInfo info("TForm", &TCustomForm::StaticClassInfo());
  return info;
}

void TCustomForm::SetClientWidth(int32_t value) {
  FSurface.SetSize(value, FSurface.Height());
  SetBounds(Left(), Top(), value, Height());
  InvalidateRect(ClientRect());
}

void TCustomForm::SetClientHeight(int32_t value) {
  FSurface.SetSize(FSurface.Width(), value);
  SetBounds(Left(), Top(), Width(), value);
  InvalidateRect(ClientRect());
}

void TCustomForm::Show() {
  SetVisible(true);
  if (!FWindow) {
    if (IWindowFactory* factory = PlatformServices().Windows) FWindow = factory->CreateWindow(*this);
  }
  if (FWindow) {
    FWindow->SetCaption(Caption());
    FWindow->Show();
  }
  Update();
}

void TCustomForm::Close() {
  if (FClosed) return;
  FClosed = true;
  if (OnClose) OnClose(this);
  if (FWindow) FWindow->Hide();
  SetVisible(false);
}

void TCustomForm::InvalidateRect(const TRect& rect) {
  const TRect visible = IntersectRect(rect, ClientRect());
  if (visible.IsEmpty()) return;
  const bool wasValid = FInvalid.IsEmpty();
  FInvalid = UnionRect(FInvalid, visible);
  if (wasValid && FWindow) FWindow->SchedulePaint();
}

void TCustomForm::Invalidate() { InvalidateRect(ClientRect()); }

void TCustomForm::Repaint() {
  Invalidate();
  Update();
}

void TCustomForm::Update() {
  if (FInvalid.IsEmpty()) return;
  const TRect rect = FInvalid;
  FInvalid = TRect{};
  PaintRect(rect);
  if (FWindow) FWindow->Present(rect);
}

void TCustomForm::PaintRect(const TRect& rect) {
  TCanvas canvas(FSurface);
  canvas.Brush.Color = Color();
  canvas.FillRect(rect);
  PaintChildren(FSurface, {0, 0}, rect);
}

void TCustomForm::Activate() { DoActivate(); }

void TCustomForm::DoActivate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::DefaultHandler(TMessage& message) {
  if (message.Msg == CM_TEXTCHANGED) {
    if (FWindow) FWindow->SetCaption(Caption());
    return;
  }
  TWinControl::DefaultHandler(message);
}

}  // namespace permora
