#pragma once
// Forms: top-level window controls whose client area is a bitmap of their own (the surface).
// Controls paint on the surface; a backend window shows it.

#include <memory>

#include "platform/Controls.h"
#include "platform/Services.h"

namespace permora {

enum class TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TPosition : uint8_t { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
const TEnumInfo& FormBorderStyleInfo();
const TEnumInfo& FormStyleInfo();
const TEnumInfo& PositionInfo();

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  int32_t ClientWidth() const { return FSurface.Width(); }
  int32_t ClientHeight() const { return FSurface.Height(); }
  void SetClientWidth(int32_t value);
  void SetClientHeight(int32_t value);
  TRect ClientRect() const override { return Rect(0, 0, ClientWidth(), ClientHeight()); }

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle value) { FBorderStyle = value; }
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle value) { FFormStyle = value; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition value) { FPosition = value; }
  TFont& Font() { return FFont; }
  TFont* FontObject() const { return const_cast<TFont*>(&FFont); }

  // The client area as drawn: white background, or Color, and every visible control.
  TBitmap& Surface() { return FSurface; }
  const TBitmap& Surface() const { return FSurface; }
  // The backend window that shows the form, once Show has made one; null off-screen.
  IFormWindow* Window() const { return FWindow.get(); }

  void Show();
  void Close();
  bool Closed() const { return FClosed; }

  // Marks a rectangle of the client area for a later paint.
  void InvalidateRect(const TRect& rect);
  // Paints the invalid part now and shows it.
  void Update() override;
  void Invalidate() override;
  void Repaint() override;
  // From the backend: the scheduled paint is due.
  void PaintInvalidated() { Update(); }
  // From the backend: the window was activated.
  void Activate();
  // From the backend: the user asked to close the window.
  void CloseQuery() { Close(); }

  TNotifyEvent OnActivate;
  TNotifyEvent OnClose;
  const TNotifyEvent& GetOnActivate() const { return OnActivate; }
  void SetOnActivate(const TNotifyEvent& e) { OnActivate = e; }

  void DefaultHandler(TMessage& message) override;

 protected:
  virtual void DoActivate();

 private:
  void PaintRect(const TRect& rect);
  TBitmap FSurface;
  TRect FInvalid;  // empty when nothing waits for a paint
  std::unique_ptr<IFormWindow> FWindow;
  TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
  TFormStyle FFormStyle = TFormStyle::fsNormal;
  TPosition FPosition = TPosition::poDesigned;
  TFont FFont;
  bool FClosed = false;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
};

// Every form that exists, for routing screen points.
const std::vector<TCustomForm*>& AllForms();

// The backend's palette changed: every form and every control on it gets CM_SYSCOLORCHANGE.
void SystemColorsChanged();

}  // namespace permora
