#pragma once
// The platform's own speed button: a plain 3-D push button with a caption that can latch down
// in a group of buttons sharing a GroupIndex on one parent.

#include "platform/Controls.h"

namespace permora {

// The look a speed button shows: up, greyed, held down by the mouse, latched down.
enum class TButtonState : uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  bool Down() const { return FDown; }
  // Latches only inside a group; the latched member of a group without AllowAllUp stays down.
  void SetDown(bool value);
  int32_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int32_t value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value);
  TFont& Font() { return FFont; }
  TFont* FontObject() const { return const_cast<TFont*>(&FFont); }

  // The look the next paint shows; a disabled button always shows bsDisabled.
  TButtonState State() const { return FState; }
  void SetState(TButtonState value);

  void Dispatch(TMessage& message) override;

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void Paint() override;

 private:
  // Tells the group (the parent's children) this button's index, AllowAllUp and Down.
  void NotifyGroup();
  void CMButtonPressed(TMessage& message);
  void FontChanged(TObject* sender);
  bool Pressed() const { return FState == TButtonState::bsDown || FState == TButtonState::bsExclusive; }
  void DrawFace(TCanvas& canvas, bool pressed);
  void DrawCaption(TCanvas& canvas, bool pressed);

  TButtonState FState = TButtonState::bsUp;
  bool FDown = false;
  int32_t FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FDragging = false;
  TFont FFont;
};

}  // namespace permora
