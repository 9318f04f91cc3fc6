#include "platform/Controls.h"

#include <algorithm>

#include "platform/Forms.h"
#include "platform/Services.h"

namespace permora {

namespace {
TControl* gCaptureControl = nullptr;
}

TPlatformServices& PlatformServices() {
  static TPlatformServices services;
  return services;
}

intptr_t PointToLParam(TPoint p) {
  return static_cast<intptr_t>(static_cast<uint16_t>(p.X)) | static_cast<intptr_t>(static_cast<uint16_t>(p.Y)) << 16;
}

TPoint LParamToPoint(intptr_t lparam) {
  return {static_cast<int16_t>(lparam & 0xFFFF), static_cast<int16_t>(lparam >> 16 & 0xFFFF)};
}

const TEnumInfo& DragModeInfo() {
  static const TEnumInfo info{"TDragMode", {"dmManual", "dmAutomatic"}};
  return info;
}

const TEnumInfo& AlignInfo() {
  static const TEnumInfo info{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"}};
  return info;
}

const TEnumInfo& AnchorKindInfo() {
  static const TEnumInfo info{"TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"}};
  return info;
}

const TEnumInfo& BiDiModeInfo() {
  static const TEnumInfo info{
      "TBiDiMode", {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"}};
  return info;
}

const TEnumInfo& ButtonLayoutInfo() {
  static const TEnumInfo info{"TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};
  return info;
}

// ---- TSizeConstraints ----------------------------------------------------------------------------

const TClassInfo& TSizeConstraints::StaticClassInfo() {
  namespace p = published;
  using C = TSizeConstraints;
  static const TClassInfo info("TSizeConstraints", &TPersistent::StaticClassInfo(),
                               {
                                   p::Integer<C>("MaxHeight", &C::MaxHeight, &C::SetMaxHeight, 0),
                                   p::Integer<C>("MaxWidth", &C::MaxWidth, &C::SetMaxWidth, 0),
                                   p::Integer<C>("MinHeight", &C::MinHeight, &C::SetMinHeight, 0),
                                   p::Integer<C>("MinWidth", &C::MinWidth, &C::SetMinWidth, 0),
                               });
  return info;
}

void TSizeConstraints::Assign(const TPersistent* Source) {
  if (Source && Source->InheritsFrom(StaticClassInfo())) {
    const auto& c = static_cast<const TSizeConstraints&>(*Source);
    FMaxHeight = c.FMaxHeight;
    FMaxWidth = c.FMaxWidth;
    FMinHeight = c.FMinHeight;
    FMinWidth = c.FMinWidth;
    return;
  }
  TPersistent::Assign(Source);
}

// ---- TControl ------------------------------------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {}

TControl::~TControl() {
  if (gCaptureControl == this) gCaptureControl = nullptr;
  if (FParent) FParent->RemoveControl(this);
}

const TClassInfo& TControl::StaticClassInfo() {
  static const TClassInfo info("TControl", &TComponent::StaticClassInfo());
  return info;
}

TPropInfo TControl::PublishedProperty(const String& name) {
  namespace p = published;
  if (name == "Left") return p::Integer<TControl>("Left", &TControl::Left, &TControl::SetLeft, std::nullopt);
  if (name == "Top") return p::Integer<TControl>("Top", &TControl::Top, &TControl::SetTop, std::nullopt);
  if (name == "Width") return p::Integer<TControl>("Width", &TControl::Width, &TControl::SetWidth, std::nullopt);
  if (name == "Height") return p::Integer<TControl>("Height", &TControl::Height, &TControl::SetHeight, std::nullopt);
  if (name == "Caption") return p::Str<TControl>("Caption", &TControl::Caption, &TControl::SetCaption);
  if (name == "Enabled") return p::Boolean<TControl>("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
  if (name == "Visible") return p::Boolean<TControl>("Visible", &TControl::Visible, &TControl::SetVisible, true);
  if (name == "Hint") return p::Str<TControl>("Hint", &TControl::Hint, &TControl::SetHint, String());
  if (name == "ShowHint") return p::Boolean<TControl>("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false);
  if (name == "ParentShowHint")
    return p::Boolean<TControl>("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
  if (name == "DragMode")
    return p::Enumeration<TControl, TDragMode>("DragMode", DragModeInfo(), &TControl::DragMode, &TControl::SetDragMode,
                                               dmManual);
  if (name == "Action")
    // A reference to another component: kept in code, not in layout files.
    return p::NotStored(p::Str<TControl>(
        "Action", [](const TControl& c) { return c.Action() ? c.Action()->Name() : String(); },
        [](TControl& c, const String& n) { c.SetAction(c.Owner() ? c.Owner()->FindComponent(n) : nullptr); }));
  if (name == "Align")
    return p::Enumeration<TControl, TAlign>("Align", AlignInfo(), &TControl::Align, &TControl::SetAlign, alNone);
  if (name == "Anchors")
    return p::Set<TControl, TAnchorKind>("Anchors", AnchorKindInfo(), &TControl::Anchors, &TControl::SetAnchors,
                                         TAnchors{akLeft, akTop});
  if (name == "BiDiMode")
    return p::Enumeration<TControl, TBiDiMode>("BiDiMode", BiDiModeInfo(), &TControl::BiDiMode, &TControl::SetBiDiMode,
                                               bdLeftToRight);
  if (name == "ParentBiDiMode")
    return p::Boolean<TControl>("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode, true);
  if (name == "Cursor")
    return p::Integer<TControl>("Cursor", [](const TControl& c) { return int32_t{c.Cursor()}; },
                                [](TControl& c, int32_t v) { c.SetCursor(static_cast<TCursor>(v)); }, int32_t{crDefault});
  if (name == "Constraints") return p::Object<TControl>("Constraints", &TControl::Constraints);
  if (name == "OnClick") return p::Event<TControl, TNotifyEvent>("OnClick", &TControl::GetOnClick, &TControl::SetOnClick);
  if (name == "OnDblClick")
    return p::Event<TControl, TNotifyEvent>("OnDblClick", &TControl::GetOnDblClick, &TControl::SetOnDblClick);
  if (name == "OnMouseDown")
    return p::Event<TControl, TMouseEvent>("OnMouseDown", &TControl::GetOnMouseDown, &TControl::SetOnMouseDown);
  if (name == "OnMouseMove")
    return p::Event<TControl, TMouseMoveEvent>("OnMouseMove", &TControl::GetOnMouseMove, &TControl::SetOnMouseMove);
  if (name == "OnMouseUp")
    return p::Event<TControl, TMouseEvent>("OnMouseUp", &TControl::GetOnMouseUp, &TControl::SetOnMouseUp);
  throw EInvalidOperation("TControl publishes no property " + name);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent) {
  if (parent && parent->InheritsFrom(TWinControl::StaticClassInfo())) SetParent(static_cast<TWinControl*>(parent));
}

TCustomForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
  if (c->InheritsFrom(TCustomForm::StaticClassInfo())) return const_cast<TCustomForm*>(static_cast<const TCustomForm*>(c));
  return nullptr;
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  const bool shown = FVisible && FParent;
  if (shown) Invalidate();
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  if (shown) Invalidate();
}

void TControl::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetVisible(bool value) {
  if (value == FVisible) return;
  // Invalidate while visible so that the area it leaves is painted again.
  if (FVisible) Invalidate();
  FVisible = value;
  if (FVisible) Invalidate();
}

void TControl::SetCaption(const String& value) {
  if (value == FCaption) return;
  FCaption = value;
  Perform(CM_TEXTCHANGED);
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

TPoint TControl::FormOffset() const {
  TPoint p{0, 0};
  for (const TControl* c = this; c->FParent; c = c->FParent) {
    p.X += c->FLeft;
    p.Y += c->FTop;
  }
  return p;
}

void TControl::Invalidate() {
  if (!FVisible) return;
  if (TCustomForm* form = ParentForm(); form && form != this) {
    const TPoint offset = FormOffset();
    form->InvalidateRect(Bounds(offset.X, offset.Y, FWidth, FHeight));
  }
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::Update() {
  if (TCustomForm* form = ParentForm(); form && form != this) form->Update();
}

intptr_t TControl::Perform(uint32_t msg, intptr_t wparam, intptr_t lparam) {
  TMessage message{msg, wparam, lparam, 0};
  Dispatch(message);
  return message.Result;
}

void TControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      HandleMouseMessage(message);
      return;
    default:
      DefaultHandler(message);
  }
}

void TControl::DefaultHandler(TMessage& message) {
  switch (message.Msg) {
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
    case CM_SYSCOLORCHANGE:
      Invalidate();
      break;
    default:
      break;
  }
}

void TControl::HandleMouseMessage(TMessage& message) {
  const TPoint p = LParamToPoint(message.LParam);
  TShiftState shift = TShiftState::FromBits(static_cast<uint64_t>(message.WParam));
  switch (message.Msg) {
    case WM_MOUSEMOVE:
      MouseMove(shift, p.X, p.Y);
      return;
    case WM_LBUTTONDOWN:
      MouseDown(mbLeft, shift, p.X, p.Y);
      return;
    case WM_RBUTTONDOWN:
      MouseDown(mbRight, shift, p.X, p.Y);
      return;
    case WM_MBUTTONDOWN:
      MouseDown(mbMiddle, shift, p.X, p.Y);
      return;
    case WM_LBUTTONDBLCLK:
      // A double click is a press flagged ssDouble; csClickEvents controls also get DblClick.
      if (FControlStyle.Contains(csClickEvents)) DblClick();
      MouseDown(mbLeft, shift.Include(ssDouble), p.X, p.Y);
      return;
    case WM_RBUTTONDBLCLK:
      MouseDown(mbRight, shift.Include(ssDouble), p.X, p.Y);
      return;
    case WM_MBUTTONDBLCLK:
      MouseDown(mbMiddle, shift.Include(ssDouble), p.X, p.Y);
      return;
    case WM_LBUTTONUP: {
      const bool inside = ClientRect().Contains(p);
      MouseUp(mbLeft, shift, p.X, p.Y);
      if (inside && FControlStyle.Contains(csClickEvents)) Click();
      return;
    }
    case WM_RBUTTONUP:
      MouseUp(mbRight, shift, p.X, p.Y);
      return;
    case WM_MBUTTONUP:
      MouseUp(mbMiddle, shift, p.X, p.Y);
      return;
    default:
      return;
  }
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

TPoint TControl::ClientToScreen(TPoint p) const {
  const TPoint offset = FormOffset();
  TPoint origin{0, 0};
  if (TCustomForm* form = ParentForm(); form && form->Window()) origin = form->Window()->ClientOrigin();
  return {p.X + offset.X + origin.X, p.Y + offset.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  const TPoint zero = ClientToScreen({0, 0});
  return {p.X - zero.X, p.Y - zero.Y};
}

void TControl::PaintTo(TBitmap&, TPoint, const TRect&) {}

// ---- TGraphicControl -----------------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() = default;

const TClassInfo& TGraphicControl::StaticClassInfo() {
  static const TClassInfo info("TGraphicControl", &TControl::StaticClassInfo());
  return info;
}

TCanvas& TGraphicControl::Canvas() {
  if (FPaintCanvas) return *FPaintCanvas;
  if (!FDetachedCanvas) {
    // Outside a paint the canvas draws on a bitmap that nobody shows.
    FDetachedSurface = std::make_unique<TBitmap>(0, 0);
    FDetachedCanvas = std::make_unique<TCanvas>(*FDetachedSurface);
  }
  return *FDetachedCanvas;
}

void TGraphicControl::PaintTo(TBitmap& surface, TPoint offset, const TRect& clip) {
  TCanvas canvas(surface, offset, IntersectRect(clip, ClientRect()));
  FPaintCanvas = &canvas;
  struct ClearOnExit {
    TCanvas*& slot;
    ~ClearOnExit() { slot = nullptr; }
  } clear{FPaintCanvas};
  Paint();
}

// ---- TWinControl ---------------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  for (TControl* c : FControls) c->FParent = nullptr;
  FControls.clear();
}

const TClassInfo& TWinControl::StaticClassInfo() {
  static const TClassInfo info("TWinControl", &TControl::StaticClassInfo());
  return info;
}

void TWinControl::InsertControl(TControl* control) {
  if (control->FParent) control->FParent->RemoveControl(control);
  FControls.push_back(control);
  control->FParent = this;
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  const auto it = std::find(FControls.begin(), FControls.end(), control);
  if (it == FControls.end()) return;
  control->Invalidate();
  FControls.erase(it);
  control->FParent = nullptr;
  if (FMouseControl == control) FMouseControl = nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
  // A receiver may change the list (a group proxy leaves it): walk a copy, skipping the departed.
  const std::vector<TControl*> receivers = FControls;
  for (TControl* c : receivers) {
    if (std::find(FControls.begin(), FControls.end(), c) == FControls.end()) continue;
    c->Dispatch(message);
    if (message.Result != 0) return;
  }
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (c->Visible() && (allowDisabled || c->Enabled()) && c->BoundsRect().Contains(p)) return c;
  }
  return nullptr;
}

namespace {
// A control without csDoubleClicks gets a second quick press as a plain press.
uint32_t DoubleClickAsPress(uint32_t msg) {
  switch (msg) {
    case WM_LBUTTONDBLCLK:
      return WM_LBUTTONDOWN;
    case WM_RBUTTONDBLCLK:
      return WM_RBUTTONDOWN;
    case WM_MBUTTONDBLCLK:
      return WM_MBUTTONDOWN;
    default:
      return msg;
  }
}
}  // namespace

void TWinControl::SetMouseControl(TControl* control) {
  if (control == FMouseControl) return;
  TControl* previous = FMouseControl;
  FMouseControl = control;
  if (previous) previous->Perform(CM_MOUSELEAVE, 0, 0);
  if (control) control->Perform(CM_MOUSEENTER, 0, 0);
}

void TWinControl::MouseInput(uint32_t msg, TShiftState shift, TPoint p) {
  TControl* target = gCaptureControl;
  if (!target) {
    target = ControlAtPos(p, false);
    SetMouseControl(ControlAtPos(p, true));
  }
  if (!target) {
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) return;
    return;
  }
  uint32_t delivered = msg;
  if (!target->ControlStyle().Contains(csDoubleClicks)) delivered = DoubleClickAsPress(msg);
  if ((delivered == WM_LBUTTONDOWN || delivered == WM_LBUTTONDBLCLK) && target->ControlStyle().Contains(csCaptureMouse))
    gCaptureControl = target;
  // The capture ends before the release is handled, so the handler already sees it gone.
  const bool releasesCapture = msg == WM_LBUTTONUP && gCaptureControl == target;
  if (releasesCapture) gCaptureControl = nullptr;
  const TPoint local{p.X - target->Left(), p.Y - target->Top()};
  target->Perform(delivered, static_cast<intptr_t>(shift.Bits()), PointToLParam(local));
  // The pointer may have ended over another control while the capture held.
  if (releasesCapture) SetMouseControl(ControlAtPos(p, true));
}

void TWinControl::MouseExit() {
  if (!gCaptureControl) SetMouseControl(nullptr);
}

bool TWinControl::DialogChar(uint32_t character) {
  TMessage message{CM_DIALOGCHAR, static_cast<intptr_t>(character), 0, 0};
  Broadcast(message);
  return message.Result != 0;
}

void TWinControl::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  Invalidate();
}

void TWinControl::PaintChildren(TBitmap& surface, TPoint offset, const TRect& clip) {
  for (TControl* c : FControls) {
    if (!c->Visible()) continue;
    const TRect bounds = c->BoundsRect();
    const TRect visible = IntersectRect(bounds, clip);
    if (visible.IsEmpty()) continue;
    const TRect local{visible.Left - bounds.Left, visible.Top - bounds.Top, visible.Right - bounds.Left,
                      visible.Bottom - bounds.Top};
    c->PaintTo(surface, {offset.X + bounds.Left, offset.Y + bounds.Top}, local);
  }
}

void TWinControl::PaintTo(TBitmap& surface, TPoint offset, const TRect& clip) {
  TCanvas canvas(surface, offset, clip);
  canvas.Brush.Color = FColor;
  canvas.FillRect(clip);
  PaintChildren(surface, offset, clip);
}

// ---- Capture, pointer, keyboard ------------------------------------------------------------------

TControl* GetCaptureControl() { return gCaptureControl; }

void SetCaptureControl(TControl* control) { gCaptureControl = control; }

bool GetCapture() { return gCaptureControl != nullptr; }

TControl* FindDragTarget(TPoint screenPos, bool allowDisabled) {
  const auto& forms = AllForms();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    TCustomForm* form = *it;
    if (!form->Visible() || !form->Window()) continue;
    const TPoint p = form->ScreenToClient(screenPos);
    if (!form->ClientRect().Contains(p)) continue;
    TControl* c = form->ControlAtPos(p, allowDisabled);
    return c ? c : form;
  }
  return nullptr;
}

TPoint GetCursorPos() {
  if (IInputState* input = PlatformServices().Input) return input->CursorPos();
  return {-1, -1};
}

bool KeyIsDown(int virtualKey) {
  IInputState* input = PlatformServices().Input;
  return input && input->KeyIsDown(virtualKey);
}

TShiftState CurrentShiftState() {
  TShiftState s;
  if (KeyIsDown(VK_LBUTTON)) s.Include(ssLeft);
  if (KeyIsDown(VK_RBUTTON)) s.Include(ssRight);
  if (KeyIsDown(VK_MBUTTON)) s.Include(ssMiddle);
  if (KeyIsDown(VK_SHIFT)) s.Include(ssShift);
  if (KeyIsDown(VK_CONTROL)) s.Include(ssCtrl);
  if (KeyIsDown(VK_MENU)) s.Include(ssAlt);
  return s;
}

bool IsAccel(uint32_t key, const String& text) {
  // The hot key is the character after the last single "&"; "&&" stands for "&" itself.
  int hotKey = -1;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    ++i;
    if (text[i] != '&') hotKey = static_cast<unsigned char>(text[i]);
  }
  auto fold = [](uint32_t ch) { return ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch; };
  return hotKey >= 0 && fold(static_cast<uint32_t>(hotKey)) == fold(key);
}

}  // namespace permora
