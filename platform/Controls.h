#pragma once
// Controls: windowless controls (TControl, TGraphicControl) that paint on their parent's surface,
// and window controls (TWinControl) that keep the child list, route mouse input and messages.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/TypInfo.h"

namespace permora {

class TWinControl;
class TCustomForm;

// ---- Messages ------------------------------------------------------------------------------------

struct TMessage {
  uint32_t Msg = 0;
  intptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr uint32_t CM_BASE = 0xB000;
inline constexpr uint32_t CM_DIALOGCHAR = CM_BASE + 6;
inline constexpr uint32_t CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr uint32_t CM_FONTCHANGED = CM_BASE + 14;
inline constexpr uint32_t CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr uint32_t CM_MOUSEENTER = CM_BASE + 19;
inline constexpr uint32_t CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr uint32_t CM_BUTTONPRESSED = CM_BASE + 24;
inline constexpr uint32_t CM_SYSCOLORCHANGE = CM_BASE + 36;

// Mouse messages carry the client position in LParam (x in the low 16 bits, y in the next 16,
// both signed) and the shift state bits in WParam.
intptr_t PointToLParam(TPoint p);
TPoint LParamToPoint(intptr_t lparam);

// ---- Enumerations --------------------------------------------------------------------------------

enum class TShiftStateElement : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateElement>;
using enum TShiftStateElement;

enum class TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

enum class TControlStyleElement : uint8_t {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
  csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
  csDisplayDragImage, csReflector, csActionClient, csMenuEvents
};
using TControlStyle = TSet<TControlStyleElement>;
using enum TControlStyleElement;

enum class TDragMode : uint8_t { dmManual, dmAutomatic };
using enum TDragMode;
const TEnumInfo& DragModeInfo();

enum class TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using enum TAlign;
const TEnumInfo& AlignInfo();

enum class TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
using enum TAnchorKind;
const TEnumInfo& AnchorKindInfo();

enum class TBiDiMode : uint8_t { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
using enum TBiDiMode;
const TEnumInfo& BiDiModeInfo();

// A mouse cursor shape; 0 is the default arrow, the standard shapes are negative.
using TCursor = int16_t;
inline constexpr TCursor crDefault = 0;

// Where a button's glyph stands beside its caption.
enum class TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using enum TButtonLayout;
const TEnumInfo& ButtonLayoutInfo();

// The size limits of a control (0: no limit). Kept and streamed; nothing here enforces them.
class TSizeConstraints : public TPersistent {
 public:
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  void Assign(const TPersistent* Source) override;

  int32_t MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int32_t value) { FMaxHeight = value; }
  int32_t MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int32_t value) { FMaxWidth = value; }
  int32_t MinHeight() const { return FMinHeight; }
  void SetMinHeight(int32_t value) { FMinHeight = value; }
  int32_t MinWidth() const { return FMinWidth; }
  void SetMinWidth(int32_t value) { FMinWidth = value; }

 private:
  int32_t FMaxHeight = 0;
  int32_t FMaxWidth = 0;
  int32_t FMinHeight = 0;
  int32_t FMinWidth = 0;
};

using TMouseEvent = TMethodPointer<TObject*, TMouseButton, TShiftState, int32_t, int32_t>;
using TMouseMoveEvent = TMethodPointer<TObject*, TShiftState, int32_t, int32_t>;

// ---- TControl ------------------------------------------------------------------------------------

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  void SetParentComponent(TComponent* parent) override;
  // The form the control is on, or null.
  TCustomForm* ParentForm() const;

  int32_t Left() const { return FLeft; }
  int32_t Top() const { return FTop; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  void SetLeft(int32_t value) { SetBounds(value, FTop, FWidth, FHeight); }
  void SetTop(int32_t value) { SetBounds(FLeft, value, FWidth, FHeight); }
  void SetWidth(int32_t value) { SetBounds(FLeft, FTop, value, FHeight); }
  void SetHeight(int32_t value) { SetBounds(FLeft, FTop, FWidth, value); }
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }

  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool value);  // sends CM_ENABLEDCHANGED
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool value);
  // Visible, and so is every parent up to the form.
  bool Showing() const;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& value);  // sends CM_TEXTCHANGED
  const String& Hint() const { return FHint; }
  void SetHint(const String& value) { FHint = value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value) { FShowHint = value; }
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool value) { FParentShowHint = value; }
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode value) { FDragMode = value; }
  // Kept and streamed for the controls that publish them; layout and drawing do not use them.
  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign value) { FAlign = value; }
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors value) { FAnchors = value; }
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode value) { FBiDiMode = value; }
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool value) { FParentBiDiMode = value; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor value) { FCursor = value; }
  TSizeConstraints* Constraints() const { return FConstraints.get(); }
  void SetConstraints(const TSizeConstraints* value) { FConstraints->Assign(value); }
  // The linked action component, or null; a plain reference, not owned.
  TComponent* Action() const { return FAction; }
  void SetAction(TComponent* value) { FAction = value; }

  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle value) { FControlStyle = value; }

  // A paint later, from the event loop.
  virtual void Invalidate();
  // A paint now: the control is painted (and shown) before the call returns.
  virtual void Repaint();
  void Refresh() { Repaint(); }
  // Paints what is invalid now.
  virtual void Update();

  // Sends a message to this control: WindowProc, which is Dispatch.
  intptr_t Perform(uint32_t msg, intptr_t wparam = 0, intptr_t lparam = 0);
  // Routes a message by its number; what a control does not handle goes to DefaultHandler.
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);

  // Client and screen coordinates.
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // The position of the client area's origin in its form's client area.
  TPoint FormOffset() const;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;

  // The handlers an event publishes; layout files bind them.
  const TNotifyEvent& GetOnClick() const { return OnClick; }
  void SetOnClick(const TNotifyEvent& e) { OnClick = e; }
  const TNotifyEvent& GetOnDblClick() const { return OnDblClick; }
  void SetOnDblClick(const TNotifyEvent& e) { OnDblClick = e; }
  const TMouseEvent& GetOnMouseDown() const { return OnMouseDown; }
  void SetOnMouseDown(const TMouseEvent& e) { OnMouseDown = e; }
  const TMouseMoveEvent& GetOnMouseMove() const { return OnMouseMove; }
  void SetOnMouseMove(const TMouseMoveEvent& e) { OnMouseMove = e; }
  const TMouseEvent& GetOnMouseUp() const { return OnMouseUp; }
  void SetOnMouseUp(const TMouseEvent& e) { OnMouseUp = e; }

  // Published properties that descendants choose to publish (Left, Top, Width, Height, Caption,
  // Enabled, Visible, Hint, ShowHint, ParentShowHint, DragMode, Action, Align, Anchors, BiDiMode,
  // ParentBiDiMode, Constraints, Cursor, OnClick, OnDblClick, OnMouseDown, OnMouseMove, OnMouseUp),
  // by name.
  static TPropInfo PublishedProperty(const String& name);

  virtual void Click();
  virtual void DblClick();

 protected:
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  virtual void Paint() {}

 private:
  friend class TWinControl;
  void HandleMouseMessage(TMessage& message);
  // Paints the control's part of its form's surface; the clip is in client coordinates.
  virtual void PaintTo(TBitmap& surface, TPoint offset, const TRect& clip);

  TWinControl* FParent = nullptr;
  int32_t FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FEnabled = true;
  bool FVisible = true;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TDragMode FDragMode = dmManual;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  TCursor FCursor = crDefault;
  std::unique_ptr<TSizeConstraints> FConstraints = std::make_unique<TSizeConstraints>();
  TComponent* FAction = nullptr;
  String FCaption;
  String FHint;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
};

// A windowless control with a canvas of its own on its parent's surface.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Draws on the control's area of its form's surface, clipped to the control; valid in Paint.
  TCanvas& Canvas();

 private:
  void PaintTo(TBitmap& surface, TPoint offset, const TRect& clip) override;
  TCanvas* FPaintCanvas = nullptr;  // the canvas of the paint under way
  std::unique_ptr<TBitmap> FDetachedSurface;
  std::unique_ptr<TCanvas> FDetachedCanvas;
};

// ---- TWinControl ---------------------------------------------------------------------------------

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(static_cast<std::size_t>(index)); }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // Hands the message to each child in child order; stops early when one sets Result non-zero.
  void Broadcast(TMessage& message);

  // The topmost visible child whose bounds hold p (client coordinates); disabled ones only
  // when allowDisabled.
  TControl* ControlAtPos(TPoint p, bool allowDisabled) const;

  // Mouse input from the backend, in client coordinates of this control.
  void MouseInput(uint32_t msg, TShiftState shift, TPoint p);
  // The pointer left the window.
  void MouseExit();
  // A character typed with Alt (or in a dialog): offered to the children as CM_DIALOGCHAR.
  bool DialogChar(uint32_t character);

  TColor Color() const { return FColor; }
  void SetColor(TColor value);

 protected:
  void PaintChildren(TBitmap& surface, TPoint offset, const TRect& clip);

 private:
  void PaintTo(TBitmap& surface, TPoint offset, const TRect& clip) override;
  void SetMouseControl(TControl* control);
  TControl* FMouseControl = nullptr;
  std::vector<TControl*> FControls;
  TColor FColor = clBtnFace;
};

// The control that holds the mouse capture (a left press on a csCaptureMouse control), or null.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);
// Whether any window or control holds the mouse capture.
bool GetCapture();
// The control under a screen point, over every form; disabled controls when allowDisabled.
TControl* FindDragTarget(TPoint screenPos, bool allowDisabled);
// The pointer's screen position and the keyboard state, from the backend.
TPoint GetCursorPos();
bool KeyIsDown(int virtualKey);
// The shift state read from the keyboard state; ssDouble is never set.
TShiftState CurrentShiftState();
// True when text holds "&" + key (letter case ignored, "&&" being no prefix).
bool IsAccel(uint32_t key, const String& text);

}  // namespace permora
