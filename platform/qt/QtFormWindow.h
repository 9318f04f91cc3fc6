#pragma once
// The real window of a form: a top-level QWidget whose client area shows the form's surface
// bitmap, and which hands mouse, keyboard, activation and close requests to the form.

#include <memory>

#include "platform/Forms.h"

class QWidget;

namespace permora {

class TQtFormWidget;

class TQtFormWindow final : public IFormWindow {
 public:
  // firstShowActivates: no window manager hands out focus here, so the first show counts as the
  // window's activation.
  TQtFormWindow(TCustomForm& form, bool firstShowActivates);
  ~TQtFormWindow() override;

  void Show() override;
  void Hide() override;
  void SetCaption(const String& caption) override;
  void Present(const TRect& rect) override;
  void SchedulePaint() override;
  TPoint ClientOrigin() const override;

  QWidget* Widget() const;
  // While a modal box is open the window gives up staying on top, so that the box shows above it.
  void SuspendStayOnTop(bool suspended);

 private:
  void ApplyWindowSettings();
  TCustomForm& FForm;
  std::unique_ptr<TQtFormWidget> FWidget;
  bool FSettingsApplied = false;
};

}  // namespace permora
