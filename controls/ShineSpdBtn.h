#pragma once
// The shining speed button: a windowless push button with two colour sets, a gradient or solid
// face, light and disabled effects on its glyph, three frame styles, mouse tracking and groups.

#include <cstdint>
#include <memory>

#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Timer.h"
#include "platform/TypInfo.h"

namespace permora {

class TSpeedButton;

// ---- Enumerations --------------------------------------------------------------------------------

enum class TFrameType : uint8_t { ftFlatFrame, ftNormalFrame, ftEnclosedFrame };
using enum TFrameType;
const TEnumInfo& FrameTypeInfo();

enum class TActiveImageType : uint8_t {
  aiNormal, aiXorLight, aiHalfLight, aiQuaterLight, aiAddLight, aiFrameLight, aiFrameLight2, aiMaskLight
};
using enum TActiveImageType;
const TEnumInfo& ActiveImageTypeInfo();

enum class TDisabledImageType : uint8_t { diDefault, diGrayscale, diAlphaHalfTrans, diAlphaQuaterTrans, diMaskTrans };
using enum TDisabledImageType;
const TEnumInfo& DisabledImageTypeInfo();

// The look a button shows; chosen by the mouse and enabled state, read by painting.
enum class TVisualState : uint8_t { vsActiveDown, vsDown, vsActive, vsUp, vsDisabled };
using enum TVisualState;

// The 32-bit pixel value 0x00RRGGBB of a colour, system colours resolved to their current value.
uint32_t ColorToPixel(TColor color);

// ---- TShineBtnColors -----------------------------------------------------------------------------

// The seven colour settings of one button look. A change of any of them is reported through the
// change event that the owning button installs.
class TShineBtnColors : public TPersistent {
 public:
  TShineBtnColors();
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

 protected:
  // Copies all seven values into another colour set and notifies it once.
  void AssignTo(TPersistent* Dest) const override;

 public:
  // Copies all seven values of another colour set and notifies once; anything else is refused.
  void Assign(const TPersistent* Source) override;
  ~TShineBtnColors() override;

  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TColor Highlight() const { return FHighlight; }
  void SetHighlight(TColor value);
  TColor Shadow() const { return FShadow; }
  void SetShadow(TColor value);
  TColor DarkShadow() const { return FDarkShadow; }
  void SetDarkShadow(TColor value);
  TColor GradColor() const { return FGradColor; }
  void SetGradColor(TColor value);
  bool GradVertical() const { return FGradVertical; }
  void SetGradVertical(bool value);
  bool Gradation() const { return FGradation; }
  void SetGradation(bool value);

 private:
  friend class TShineSpeedButton;  // installs FOnChange
  void CopyValuesTo(TShineBtnColors& dest) const;
  void Changed();
  template <class T>
  void Store(T& field, T value);

  TColor FColor = clBtnFace;
  TColor FHighlight = clBtnHighlight;
  TColor FShadow = clBtnShadow;
  TColor FDarkShadow = clWindowFrame;
  TColor FGradColor = clBlue;
  bool FGradVertical = false;
  bool FGradation = false;
  TNotifyEvent FOnChange;
};

// ---- TShineSpeedButton ---------------------------------------------------------------------------

class TShineSpeedButton : public TGraphicControl {
 public:
  explicit TShineSpeedButton(TComponent* AOwner);
  ~TShineSpeedButton() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  void Loaded() override;

  // ---- Published properties, in published order
  int32_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int32_t value);
  bool Down() const { return FDown; }
  void SetDown(bool value);
  bool ClickDownHook() const { return FClickDownHook; }
  void SetClickDownHook(bool value);
  bool AccelCharDown() const { return FAccelCharDown; }
  void SetAccelCharDown(bool value);
  TFrameType FrameType() const { return FFrameType; }
  void SetFrameType(TFrameType value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  bool ActiveFrame() const { return FActiveFrame; }
  void SetActiveFrame(bool value);
  bool UpFrame() const { return FUpFrame; }
  void SetUpFrame(bool value);
  bool DownFrame() const { return FDownFrame; }
  void SetDownFrame(bool value);
  TActiveImageType ActiveImage() const { return FActiveImage; }
  void SetActiveImage(TActiveImageType value);
  TDisabledImageType DisabledImage() const { return FDisabledImage; }
  void SetDisabledImage(TDisabledImageType value);
  TColor DisabledHighlight() const { return FDisabledHighlight; }
  void SetDisabledHighlight(TColor value);
  TColor DisabledShadow() const { return FDisabledShadow; }
  void SetDisabledShadow(TColor value);
  TShineBtnColors* Colors() const { return FColors.get(); }
  void SetColors(const TShineBtnColors* value);
  TShineBtnColors* PressedColors() const { return FPressedColors.get(); }
  void SetPressedColors(const TShineBtnColors* value);
  TColor ShineColor() const { return FShineColor; }
  void SetShineColor(TColor value);
  TFont* Font() const { return FFont.get(); }
  void SetFont(const TFont* value);
  TColor FontHighlight() const { return FFontHighlight; }
  void SetFontHighlight(TColor value);
  TColor FontShadow() const { return FFontShadow; }
  void SetFontShadow(TColor value);
  TFont* ActiveFont() const { return FActiveFont.get(); }
  void SetActiveFont(const TFont* value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout value);
  int32_t Margin() const { return FMargin; }
  void SetMargin(int32_t value);
  int32_t Spacing() const { return FSpacing; }
  void SetSpacing(int32_t value);
  TBitmap* Glyph() const { return FGlyph.get(); }
  // Copies the picture into the button's own glyph (none empties it).
  void SetGlyph(const TBitmap* Value);

  TMouseMoveEvent OnMouseEnter;
  TMouseMoveEvent OnMouseLeave;
  const TMouseMoveEvent& GetOnMouseEnter() const { return OnMouseEnter; }
  void SetOnMouseEnter(const TMouseMoveEvent& e) { OnMouseEnter = e; }
  const TMouseMoveEvent& GetOnMouseLeave() const { return OnMouseLeave; }
  void SetOnMouseLeave(const TMouseMoveEvent& e) { OnMouseLeave = e; }

  // ---- Internal state, readable for painting and tests
  TVisualState State() const { return FState; }
  // Puts the button into a look without asking for a paint: for pictures of every look.
  void SetState(TVisualState value) { FState = value; }
  bool MouseInControl() const { return FMouseInControl; }
  bool Dragging() const { return FDragging; }
  TSpeedButton* GroupProxy() const { return FGroupProxy; }
  TTimer* ActiveTimer() const { return FActiveTimer; }

  // ---- Change handlers
  // Keeps the glyph a 32-bit device-independent bitmap after every change, and repaints.
  void GlyphOnChange(TObject* Sender);
  // Installed on both fonts and both colour sets: any change repaints.
  void FontsAndColorsOnChange(TObject* Sender);

  // ---- Content and images
  // The glyph's top-left corner and the caption's text box, in client coordinates, for the
  // canvas's current font.
  void CalcDrawPosition(TCanvas& Canvas, TPoint& GlyphPos, TRect& TextRect) const;
  // The glyph made into the image of the current visual state; none when the glyph is empty.
  std::unique_ptr<TBitmap> CreateStateGlyph() const;

  // ---- Interaction and groups
  // Stores Index as GroupIndex and tells the group this button's AllowAllUp and Down.
  void GroupUpdateStatus(int32_t Index);
  // Brings the hover look in line with where the pointer really is.
  void UpdateTracking();
  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  virtual void MouseEnter(TShiftState Shift, int32_t X, int32_t Y);
  virtual void MouseLeave(TShiftState Shift, int32_t X, int32_t Y);
  // Every 200 ms while the hover look is shown: ends it when the pointer has left.
  void ActiveButtonTimerOnTimer(TObject* Sender);

 private:
  friend struct TShineSpeedButtonPeer;  // tests set the visual state directly

  // ---- Painting layers, each on the canvas that Paint chose
  void PaintLayers(TCanvas& Canvas);
  void BackDraw(TCanvas& Canvas);
  void ImageDraw(TCanvas& Canvas);
  void FrameDraw(TCanvas& Canvas);
  void DrawCaptionPass(TCanvas& Canvas, TColor Color, TRect Box);

  // ---- Message handlers, reached through Dispatch
  void WMLButtonDblClick(TMessage& Message);
  void CMDialogChar(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);
  void CMFontChanged(TMessage& Message);
  void CMTextChanged(TMessage& Message);
  void CMMouseEnter(TMessage& Message);
  void CMMouseLeave(TMessage& Message);
  void CMButtonPressed(TMessage& Message);
  void CMSysColorChange(TMessage& Message);

  // Compares, stores and invalidates: the common shape of the plain setters.
  template <class T>
  void StoreAndInvalidate(T& field, T value);

  bool FDown = false;
  TFrameType FFrameType = ftNormalFrame;
  bool FAllowAllUp = false;
  bool FClickDownHook = false;
  bool FAccelCharDown = false;
  int32_t FGroupIndex = 0;
  TButtonLayout FLayout = blGlyphLeft;
  int32_t FMargin = -1;
  int32_t FSpacing = 4;
  bool FTransparent = false;
  bool FActiveFrame = true;
  bool FUpFrame = true;
  bool FDownFrame = true;
  TActiveImageType FActiveImage = aiFrameLight;
  TDisabledImageType FDisabledImage = diDefault;
  TColor FDisabledShadow = clBtnShadow;
  TColor FDisabledHighlight = clBtnHighlight;
  std::unique_ptr<TShineBtnColors> FColors;
  std::unique_ptr<TShineBtnColors> FPressedColors;
  TColor FShineColor = clYellow;
  std::unique_ptr<TFont> FFont;
  TColor FFontHighlight = clNone;
  TColor FFontShadow = clNone;
  std::unique_ptr<TFont> FActiveFont;
  std::unique_ptr<TBitmap> FGlyph;
  bool FMouseInControl = false;
  bool FDragging = false;
  TVisualState FState = vsUp;
  TSpeedButton* FGroupProxy = nullptr;  // only while a group update runs
  TTimer* FActiveTimer = nullptr;  // a component of this button, freed first by the destructor
};

// Puts the button on its page of the design-time component palette.
void Register();
// The palette page the button is registered on.
inline constexpr const char* ShineSpeedButtonPalettePage = "Samples";

}  // namespace permora
