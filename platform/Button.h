#pragma once
// A plain push button: a caption on a raised face. It clicks on a left press released over it and
// on its accelerator key ("&S" in the caption).

#include "platform/Controls.h"

namespace permora {

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* AOwner);
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Position in the keyboard order of the parent's controls; kept, as nothing here moves focus.
  int32_t TabOrder() const { return FTabOrder; }
  void SetTabOrder(int32_t value) { FTabOrder = value; }

  void DefaultHandler(TMessage& message) override;

 private:
  void PaintTo(TBitmap& surface, TPoint offset, const TRect& clip) override;
  int32_t FTabOrder = -1;
};

}  // namespace permora
