#include "controls/ShineSpdBtn.h"

#include <algorithm>

namespace permora {

// ---- Enumerations --------------------------------------------------------------------------------

const TEnumInfo& FrameTypeInfo() {
  static const TEnumInfo info{"TFrameType", {"ftFlatFrame", "ftNormalFrame", "ftEnclosedFrame"}};
  return info;
}

const TEnumInfo& ActiveImageTypeInfo() {
  static const TEnumInfo info{"TActiveImageType",
                              {"aiNormal", "aiXorLight", "aiHalfLight", "aiQuaterLight", "aiAddLight", "aiFrameLight",
                               "aiFrameLight2", "aiMaskLight"}};
  return info;
}

const TEnumInfo& DisabledImageTypeInfo() {
  static const TEnumInfo info{
      "TDisabledImageType", {"diDefault", "diGrayscale", "diAlphaHalfTrans", "diAlphaQuaterTrans", "diMaskTrans"}};
  return info;
}

uint32_t ColorToPixel(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return (rgb & 0xFFu) << 16 | (rgb & 0xFF00u) | (rgb >> 16 & 0xFFu);
}

// ---- TShineBtnColors -----------------------------------------------------------------------------

TShineBtnColors::TShineBtnColors() = default;

TShineBtnColors::~TShineBtnColors() { FOnChange = nullptr; }

const TClassInfo& TShineBtnColors::StaticClassInfo() {
  namespace p = published;
  using C = TShineBtnColors;
  static const TClassInfo info("TShineBtnColors", &TPersistent::StaticClassInfo(),
                               {
                                   p::Color<C>("Highlight", &C::Highlight, &C::SetHighlight, clBtnHighlight),
                                   p::Color<C>("Shadow", &C::Shadow, &C::SetShadow, clBtnShadow),
                                   p::Color<C>("DarkShadow", &C::DarkShadow, &C::SetDarkShadow, clWindowFrame),
                                   p::Color<C>("GradColor", &C::GradColor, &C::SetGradColor, clBlue),
                                   p::Boolean<C>("GradVertical", &C::GradVertical, &C::SetGradVertical, false),
                                   p::Boolean<C>("Gradation", &C::Gradation, &C::SetGradation, false),
                                   // The two sets of a button start with different faces: always stored.
                                   p::Color<C>("Color", &C::Color, &C::SetColor),
                               });
  return info;
}

void TShineBtnColors::CopyValuesTo(TShineBtnColors& dest) const {
  dest.FColor = FColor;
  dest.FHighlight = FHighlight;
  dest.FShadow = FShadow;
  dest.FDarkShadow = FDarkShadow;
  dest.FGradColor = FGradColor;
  dest.FGradVertical = FGradVertical;
  dest.FGradation = FGradation;
}

void TShineBtnColors::AssignTo(TPersistent* Dest) const {
  if (Dest && Dest->InheritsFrom(StaticClassInfo())) {
    auto& dest = static_cast<TShineBtnColors&>(*Dest);
    CopyValuesTo(dest);
    dest.Changed();
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TShineBtnColors::Assign(const TPersistent* Source) {
  if (Source && Source->InheritsFrom(StaticClassInfo())) {
    // All values at once, so that a copy that changes several of them notifies only once.
    static_cast<const TShineBtnColors&>(*Source).CopyValuesTo(*this);
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TShineBtnColors::Changed() {
  if (FOnChange) FOnChange(this);
}

template <class T>
void TShineBtnColors::Store(T& field, T value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TShineBtnColors::SetColor(TColor value) { Store(FColor, value); }
void TShineBtnColors::SetHighlight(TColor value) { Store(FHighlight, value); }
void TShineBtnColors::SetShadow(TColor value) { Store(FShadow, value); }
void TShineBtnColors::SetDarkShadow(TColor value) { Store(FDarkShadow, value); }
void TShineBtnColors::SetGradColor(TColor value) { Store(FGradColor, value); }
void TShineBtnColors::SetGradVertical(bool value) { Store(FGradVertical, value); }
void TShineBtnColors::SetGradation(bool value) { Store(FGradation, value); }

// ---- TShineSpeedButton: construction and published description ---------------------------------

TShineSpeedButton::TShineSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle({csCaptureMouse, csOpaque, csDoubleClicks});
  FGroupProxy = nullptr;
  // The plain settings start at their defaults through the field initialisers; no setter runs.
  const TNotifyEvent changed(this, &TShineSpeedButton::FontsAndColorsOnChange);

  FColors = std::make_unique<TShineBtnColors>();
  FColors->SetColor(clBtnFace);
  FColors->FOnChange = changed;

  FPressedColors = std::make_unique<TShineBtnColors>();
  FPressedColors->SetColor(clBtnHighlight);
  FPressedColors->FOnChange = changed;

  FFont = std::make_unique<TFont>();
  FFont->SetColor(clBtnText);
  FFont->OnChange = changed;

  FFontHighlight = clNone;
  FFontShadow = clNone;

  FActiveFont = std::make_unique<TFont>();
  FActiveFont->SetColor(clHighlight);
  FActiveFont->OnChange = changed;

  FGlyph = std::make_unique<TBitmap>();
  FGlyph->OnChange = TNotifyEvent(this, &TShineSpeedButton::GlyphOnChange);
  // Raises the glyph's change event: the empty glyph already becomes a 32-bit picture here.
  FGlyph->SetTransparentColor(clOlive);

  FMouseInControl = false;
  OnMouseEnter = nullptr;
  OnMouseLeave = nullptr;
  FDragging = false;

  SetWidth(25);
  SetHeight(25);
  SetCaption("");

  FActiveTimer = new TTimer(this);
  FActiveTimer->SetInterval(200);
  FActiveTimer->SetEnabled(false);
  FActiveTimer->SetOnTimer(TNotifyEvent(this, &TShineSpeedButton::ActiveButtonTimerOnTimer));
}

TShineSpeedButton::~TShineSpeedButton() {
  delete FActiveTimer;  // leaves this button's component list as it goes
  FActiveTimer = nullptr;
  FGlyph.reset();
  FColors.reset();
  FPressedColors.reset();
  FFont.reset();
  FActiveFont.reset();
}

const TClassInfo& TShineSpeedButton::StaticClassInfo() {
  namespace p = published;
  using C = TShineSpeedButton;
  auto inherited = [](const char* name) { return TControl::PublishedProperty(name); };
  static const TClassInfo info(
      "TShineSpeedButton", &TGraphicControl::StaticClassInfo(),
      {
          p::Integer<C>("GroupIndex", &C::GroupIndex, &C::SetGroupIndex, 0),
          p::Boolean<C>("Down", &C::Down, &C::SetDown, false),
          p::Boolean<C>("ClickDownHook", &C::ClickDownHook, &C::SetClickDownHook, false),
          p::Boolean<C>("AccelCharDown", &C::AccelCharDown, &C::SetAccelCharDown, false),
          p::Enumeration<C, TFrameType>("FrameType", FrameTypeInfo(), &C::FrameType, &C::SetFrameType, ftNormalFrame),
          p::Boolean<C>("Transparent", &C::Transparent, &C::SetTransparent, false),
          p::Boolean<C>("ActiveFrame", &C::ActiveFrame, &C::SetActiveFrame, true),
          p::Boolean<C>("UpFrame", &C::UpFrame, &C::SetUpFrame, true),
          p::Boolean<C>("DownFrame", &C::DownFrame, &C::SetDownFrame, true),
          p::Enumeration<C, TActiveImageType>("ActiveImage", ActiveImageTypeInfo(), &C::ActiveImage,
                                              &C::SetActiveImage, aiFrameLight),
          p::Enumeration<C, TDisabledImageType>("DisabledImage", DisabledImageTypeInfo(), &C::DisabledImage,
                                                &C::SetDisabledImage, diDefault),
          p::Color<C>("DisabledHighlight", &C::DisabledHighlight, &C::SetDisabledHighlight, clBtnHighlight),
          p::Color<C>("DisabledShadow", &C::DisabledShadow, &C::SetDisabledShadow, clBtnShadow),
          p::Object<C>("Colors", &C::Colors),
          p::Object<C>("PressedColors", &C::PressedColors),
          p::Color<C>("ShineColor", &C::ShineColor, &C::SetShineColor, clYellow),
          p::Object<C>("Font", &C::Font),
          p::Color<C>("FontHighlight", &C::FontHighlight, &C::SetFontHighlight, clNone),
          p::Color<C>("FontShadow", &C::FontShadow, &C::SetFontShadow, clNone),
          p::Object<C>("ActiveFont", &C::ActiveFont),
          p::Boolean<C>("AllowAllUp", &C::AllowAllUp, &C::SetAllowAllUp, false),
          p::Enumeration<C, TButtonLayout>("Layout", ButtonLayoutInfo(), &C::Layout, &C::SetLayout, blGlyphLeft),
          p::Integer<C>("Margin", &C::Margin, &C::SetMargin, -1),
          p::Integer<C>("Spacing", &C::Spacing, &C::SetSpacing, 4),
          p::Object<C>("Glyph", &C::Glyph),
          p::Event<C, TMouseMoveEvent>("OnMouseEnter", &C::GetOnMouseEnter, &C::SetOnMouseEnter),
          p::Event<C, TMouseMoveEvent>("OnMouseLeave", &C::GetOnMouseLeave, &C::SetOnMouseLeave),
          inherited("Action"),
          inherited("Align"),
          inherited("Anchors"),
          inherited("BiDiMode"),
          inherited("Caption"),
          inherited("Constraints"),
          inherited("Cursor"),
          inherited("DragMode"),
          inherited("Enabled"),
          inherited("Height"),
          inherited("Hint"),
          inherited("Left"),
          inherited("ParentBiDiMode"),
          inherited("ParentShowHint"),
          inherited("ShowHint"),
          inherited("Top"),
          inherited("Visible"),
          inherited("Width"),
          inherited("OnClick"),
          inherited("OnDblClick"),
          inherited("OnMouseDown"),
          inherited("OnMouseMove"),
          inherited("OnMouseUp"),
      },
      p::ComponentFactory<C>());
  return info;
}

void TShineSpeedButton::Loaded() { TGraphicControl::Loaded(); }

void Register() { RegisterComponents(ShineSpeedButtonPalettePage, {&TShineSpeedButton::StaticClassInfo()}); }

// ---- Setters -------------------------------------------------------------------------------------

template <class T>
void TShineSpeedButton::StoreAndInvalidate(T& field, T value) {
  if (field == value) return;
  field = value;
  Invalidate();
}

void TShineSpeedButton::SetClickDownHook(bool value) { StoreAndInvalidate(FClickDownHook, value); }
void TShineSpeedButton::SetAccelCharDown(bool value) { StoreAndInvalidate(FAccelCharDown, value); }
void TShineSpeedButton::SetFrameType(TFrameType value) { StoreAndInvalidate(FFrameType, value); }
void TShineSpeedButton::SetActiveFrame(bool value) { StoreAndInvalidate(FActiveFrame, value); }
void TShineSpeedButton::SetUpFrame(bool value) { StoreAndInvalidate(FUpFrame, value); }
void TShineSpeedButton::SetDownFrame(bool value) { StoreAndInvalidate(FDownFrame, value); }
void TShineSpeedButton::SetActiveImage(TActiveImageType value) { StoreAndInvalidate(FActiveImage, value); }
void TShineSpeedButton::SetDisabledImage(TDisabledImageType value) { StoreAndInvalidate(FDisabledImage, value); }
void TShineSpeedButton::SetDisabledHighlight(TColor value) { StoreAndInvalidate(FDisabledHighlight, value); }
void TShineSpeedButton::SetDisabledShadow(TColor value) { StoreAndInvalidate(FDisabledShadow, value); }
void TShineSpeedButton::SetShineColor(TColor value) { StoreAndInvalidate(FShineColor, value); }
void TShineSpeedButton::SetLayout(TButtonLayout value) { StoreAndInvalidate(FLayout, value); }
void TShineSpeedButton::SetMargin(int32_t value) { StoreAndInvalidate(FMargin, value); }
void TShineSpeedButton::SetSpacing(int32_t value) { StoreAndInvalidate(FSpacing, value); }

void TShineSpeedButton::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  // A transparent button leaves its background to whatever lies beneath it.
  TControlStyle style = ControlStyle();
  if (value)
    style.Exclude(csOpaque);
  else
    style.Include(csOpaque);
  SetControlStyle(style);
  Invalidate();
}

// Even an equal value repaints: the caption copies may have to be drawn again.
void TShineSpeedButton::SetFontHighlight(TColor value) {
  FFontHighlight = value;
  Invalidate();
}

void TShineSpeedButton::SetFontShadow(TColor value) {
  FFontShadow = value;
  Invalidate();
}

void TShineSpeedButton::SetColors(const TShineBtnColors* value) { FColors->Assign(value); }

void TShineSpeedButton::SetPressedColors(const TShineBtnColors* value) { FPressedColors->Assign(value); }

void TShineSpeedButton::SetFont(const TFont* value) {
  if (!value) return;
  FFont->Assign(value);
  Invalidate();
}

void TShineSpeedButton::SetActiveFont(const TFont* value) {
  if (!value) return;
  FActiveFont->Assign(value);
  Invalidate();
}

void TShineSpeedButton::SetGlyph(const TBitmap* Value) {
  // Detached while the glyph changes step by step, so that the button reacts once at the end.
  FGlyph->OnChange = nullptr;
  const TNotifyEvent glyphChanged(this, &TShineSpeedButton::GlyphOnChange);
  if (Value) {
    FGlyph->Assign(Value);
    FGlyph->OnChange = glyphChanged;
    GlyphOnChange(FGlyph.get());
  } else {
    FGlyph->SetWidth(0);
    FGlyph->SetHeight(0);
    FGlyph->OnChange = glyphChanged;
  }
  Invalidate();
}

void TShineSpeedButton::GlyphOnChange(TObject*) {
  // Each conversion that changes the glyph raises this handler again; one that already holds
  // raises nothing, so the nesting ends once both hold.
  FGlyph->SetHandleType(TBitmapHandleType::bmDIB);
  FGlyph->SetPixelFormat(TPixelFormat::pf32bit);
  Invalidate();
}

void TShineSpeedButton::FontsAndColorsOnChange(TObject*) { Invalidate(); }

// ---- Content layout ------------------------------------------------------------------------------

namespace {

// Halves truncating toward zero, so that an odd spare or overflow goes to the right or bottom.
constexpr int32_t half(int32_t n) { return n / 2; }

struct TContentBlock {
  int32_t Width = 0, Height = 0;
  TPoint Glyph;  // offsets inside the block
  TPoint Text;
};

// One element after another along the layout's axis; the larger size across it, each centred.
TContentBlock BuildBlock(TButtonLayout layout, TSize glyph, bool hasGlyph, TSize text, bool hasText, int32_t spacing) {
  TContentBlock b;
  const int32_t s = hasGlyph && hasText ? spacing : 0;
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  const bool glyphFirst = layout == blGlyphLeft || layout == blGlyphTop;
  // Along: the axis the elements follow each other on; across: the other one.
  int32_t along = 0, across = 0;
  int32_t glyphAlong = 0, textAlong = 0;
  auto add = [&](bool present, TSize size, int32_t& offset) {
    offset = along;
    if (!present) return;
    along += horizontal ? size.cx : size.cy;
    across = std::max(across, horizontal ? size.cy : size.cx);
  };
  if (glyphFirst) {
    add(hasGlyph, glyph, glyphAlong);
    along += s;
    add(hasText, text, textAlong);
  } else {
    add(hasText, text, textAlong);
    along += s;
    add(hasGlyph, glyph, glyphAlong);
  }
  const int32_t glyphAcross = hasGlyph ? half(across - (horizontal ? glyph.cy : glyph.cx)) : 0;
  const int32_t textAcross = hasText ? half(across - (horizontal ? text.cy : text.cx)) : 0;
  if (horizontal) {
    b.Width = along;
    b.Height = across;
    b.Glyph = {glyphAlong, glyphAcross};
    b.Text = {textAlong, textAcross};
  } else {
    b.Width = across;
    b.Height = along;
    b.Glyph = {glyphAcross, glyphAlong};
    b.Text = {textAcross, textAlong};
  }
  return b;
}

// A negative margin centres the block; otherwise the margin is kept from the glyph's edge.
TPoint PlaceBlock(TButtonLayout layout, int32_t margin, TSize client, const TContentBlock& b) {
  const TPoint centred{half(client.cx - b.Width), half(client.cy - b.Height)};
  if (margin < 0) return centred;
  switch (layout) {
    case blGlyphLeft:
      return {margin, centred.Y};
    case blGlyphRight:
      return {client.cx - b.Width - margin, centred.Y};
    case blGlyphTop:
      return {centred.X, margin};
    case blGlyphBottom:
      return {centred.X, client.cy - b.Height - margin};
  }
  return centred;
}

}  // namespace

void TShineSpeedButton::CalcDrawPosition(TCanvas& Canvas, TPoint& GlyphPos, TRect& TextRect) const {
  const TRect client = ClientRect();
  const TSize clientSize{client.Width(), client.Height()};
  const bool hasGlyph = !FGlyph->Empty();
  const TSize glyph = hasGlyph ? TSize{FGlyph->Width(), FGlyph->Height()} : TSize{};
  const bool hasText = !Caption().empty();
  TSize text;
  if (hasText) {
    // The starting width does not limit the measure: a long line keeps its full width.
    TRect measured = Rect(0, 0, clientSize.cx, 0);
    Canvas.DrawText(Caption(), measured, DT_CALCRECT);
    text = {measured.Width(), measured.Height()};
  }
  const TContentBlock block = BuildBlock(FLayout, glyph, hasGlyph, text, hasText, FSpacing);
  const TPoint origin = PlaceBlock(FLayout, FMargin, clientSize, block);
  GlyphPos = {origin.X + block.Glyph.X, origin.Y + block.Glyph.Y};
  const TPoint textPos{origin.X + block.Text.X, origin.Y + block.Text.Y};
  TextRect = Bounds(textPos.X, textPos.Y, text.cx, text.cy);
}

// ---- State images ----------------------------------------------------------------------------------

namespace {

constexpr uint32_t kColourBits = 0x00FFFFFFu;
constexpr uint32_t kWhitePixel = 0x00FFFFFFu;
constexpr uint32_t kBlackPixel = 0x00000000u;

struct TChannels {
  uint32_t R, G, B;
};

TChannels Split(uint32_t pixel) { return {pixel >> 16 & 0xFFu, pixel >> 8 & 0xFFu, pixel & 0xFFu}; }
uint32_t Join(uint32_t r, uint32_t g, uint32_t b) { return r << 16 | g << 8 | b; }

bool IsOpaque(uint32_t pixel, uint32_t key) { return (pixel & kColourBits) != key; }

// Gives every opaque pixel of image the colour that recolour computes from its channels.
template <class Recolour>
void RecolourOpaque(TBitmap& image, uint32_t key, Recolour recolour) {
  for (int32_t y = 0; y < image.Height(); ++y) {
    uint32_t* row = image.ScanLine(y);
    for (int32_t x = 0; x < image.Width(); ++x)
      if (IsOpaque(row[x], key)) row[x] = recolour(Split(row[x]));
  }
}

// Blends every opaque pixel toward colour by parts/(parts + 1) of the way.
void BlendOpaque(TBitmap& image, uint32_t key, uint32_t colour, uint32_t parts) {
  const TChannels c = Split(colour);
  const uint32_t whole = parts + 1;
  RecolourOpaque(image, key, [&](TChannels p) {
    return Join((parts * c.R + p.R) / whole, (parts * c.G + p.G) / whole, (parts * c.B + p.B) / whole);
  });
}

// Transparent pixels next to opaque ones become light: a one-pixel ring, or with wide also the
// transparent pixels next to that ring. Decided on the glyph, written to image.
void DrawOutline(TBitmap& image, const TBitmap& glyph, uint32_t key, uint32_t light, bool wide) {
  const int32_t w = glyph.Width(), h = glyph.Height();
  auto transparentAt = [&](int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < w && y < h && !IsOpaque(glyph.ScanLine(y)[x], key);
  };
  auto opaqueAt = [&](int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < w && y < h && IsOpaque(glyph.ScanLine(y)[x], key);
  };
  static constexpr TPoint kNeighbours[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      if (!transparentAt(x, y)) continue;
      const bool ring = std::any_of(std::begin(kNeighbours), std::end(kNeighbours),
                                    [&](TPoint d) { return opaqueAt(x + d.X, y + d.Y); });
      if (!ring) continue;
      image.ScanLine(y)[x] = light;
      if (!wide) continue;
      for (const TPoint d : kNeighbours)
        if (transparentAt(x + d.X, y + d.Y)) image.ScanLine(y + d.Y)[x + d.X] = light;
    }
}

// Every other pixel in reading order is replaced when opaque; the turn counts transparent pixels
// too, and skips once more at each row's end when the height is even.
void DrawAlternating(TBitmap& image, uint32_t key, uint32_t replacement) {
  const bool evenHeight = image.Height() % 2 == 0;
  uint64_t k = 0;
  for (int32_t y = 0; y < image.Height(); ++y) {
    uint32_t* row = image.ScanLine(y);
    for (int32_t x = 0; x < image.Width(); ++x) {
      if (IsOpaque(row[x], key) && k % 2 == 1) row[x] = replacement;
      ++k;
    }
    if (evenHeight) ++k;
  }
}

// White wherever the 2 x 2 block starting at a pixel holds a colour boundary across either
// diagonal, black elsewhere; then reduced to one bit per pixel.
void DrawEdgeMask(TBitmap& image, const TBitmap& glyph) {
  const int32_t w = glyph.Width(), h = glyph.Height();
  for (int32_t y = 0; y < h; ++y) std::fill_n(image.ScanLine(y), w, kBlackPixel);
  for (int32_t y = 0; y + 1 < h; ++y) {
    const uint32_t* upper = glyph.ScanLine(y);
    const uint32_t* lower = glyph.ScanLine(y + 1);
    uint32_t* row = image.ScanLine(y);
    for (int32_t x = 0; x + 1 < w; ++x) {
      const bool falling = (upper[x] & kColourBits) != (lower[x + 1] & kColourBits);
      const bool rising = (lower[x] & kColourBits) != (upper[x + 1] & kColourBits);
      if (falling || rising) row[x] = kWhitePixel;
    }
  }
  image.SetPixelFormat(TPixelFormat::pf1bit);
}

void ApplyLightEffect(TBitmap& image, const TBitmap& glyph, uint32_t key, TActiveImageType effect, uint32_t light) {
  const TChannels l = Split(light);
  switch (effect) {
    case aiNormal:
      return;
    case aiXorLight:
      RecolourOpaque(image, key, [&](TChannels p) { return Join(p.R ^ l.R, p.G ^ l.G, p.B ^ l.B); });
      return;
    case aiHalfLight:
      BlendOpaque(image, key, light, 1);
      return;
    case aiQuaterLight:
      BlendOpaque(image, key, light, 3);
      return;
    case aiAddLight:
      RecolourOpaque(image, key, [&](TChannels p) {
        return Join(std::min(p.R + l.R, 255u), std::min(p.G + l.G, 255u), std::min(p.B + l.B, 255u));
      });
      return;
    case aiFrameLight:
      DrawOutline(image, glyph, key, light, false);
      return;
    case aiFrameLight2:
      DrawOutline(image, glyph, key, light, true);
      return;
    case aiMaskLight:
      DrawAlternating(image, key, light);
      return;
  }
}

void ApplyDisabledEffect(TBitmap& image, const TBitmap& glyph, uint32_t key, TDisabledImageType effect,
                         uint32_t face) {
  switch (effect) {
    case diDefault:
      DrawEdgeMask(image, glyph);
      return;
    case diGrayscale:
      RecolourOpaque(image, key, [](TChannels p) {
        const uint32_t v = (p.R + p.G + p.B) / 3;
        return Join(v, v, v);
      });
      return;
    case diAlphaHalfTrans:
      BlendOpaque(image, key, face, 1);
      return;
    case diAlphaQuaterTrans:
      BlendOpaque(image, key, face, 3);
      return;
    case diMaskTrans:
      // The replaced pixels take the key colour, so drawing leaves them out.
      DrawAlternating(image, key, key);
      return;
  }
}

}  // namespace

std::unique_ptr<TBitmap> TShineSpeedButton::CreateStateGlyph() const {
  if (FGlyph->Empty()) return nullptr;
  auto image = std::make_unique<TBitmap>();
  const TBitmap& glyph = *FGlyph;
  // The key colour comes from the picture itself, never from the glyph's transparency settings.
  const uint32_t key = glyph.Pixel(0, glyph.Height() - 1) & kColourBits;
  image->Assign(&glyph);
  switch (FState) {
    case vsActiveDown:
    case vsActive:
      ApplyLightEffect(*image, glyph, key, FActiveImage, ColorToPixel(FShineColor));
      break;
    case vsDown:
    case vsUp:
      break;
    case vsDisabled:
      ApplyDisabledEffect(*image, glyph, key, FDisabledImage, ColorToPixel(FColors->Color()));
      break;
  }
  image->SetHandleType(TBitmapHandleType::bmDDB);
  const uint32_t corner = image->Pixel(0, image->Height() - 1);
  image->SetTransparent(true);
  image->SetTransparentColor(PixelToColor(corner));
  // The edge mask is drawn through its white pixels: black is what is left out.
  if (FState == vsDisabled && FDisabledImage == diDefault) image->SetTransparentColor(clBlack);
  return image;
}

}  // namespace permora
