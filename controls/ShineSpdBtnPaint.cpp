// Painting of the shining speed button: background, glyph and caption, frame, in that order, so
// the frame lies over glyph and caption where they reach the edges.

#include <initializer_list>

#include "controls/ShineSpdBtn.h"

namespace permora {

namespace {

bool IsPressedState(TVisualState state) { return state == vsActiveDown || state == vsDown; }
bool IsActiveState(TVisualState state) { return state == vsActiveDown || state == vsActive; }

TRect Shifted(const TRect& r, int32_t dx, int32_t dy) {
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

// The colour of gradient entry i (0..255) between two RGB colours, each channel on its own; the
// quotient truncates toward zero, so every inner entry leans toward the start colour.
uint32_t GradientPixel(TColor start, TColor end, int i) {
  uint32_t pixel = 0;
  for (int shift : {0, 8, 16}) {
    const int from = static_cast<int>(start >> shift & 0xFF);
    const int to = static_cast<int>(end >> shift & 0xFF);
    const int value = from + (to - from) * i / 255;
    // TColor keeps red lowest, a pixel keeps it in the third byte.
    pixel |= static_cast<uint32_t>(value) << (16 - shift);
  }
  return pixel;
}

// One straight frame span, both ends included: a row from..to at y, or a column from..to at x.
struct TSpan {
  bool row;
  int32_t line;
  int32_t from;
  int32_t to;
};
TSpan Row(int32_t y, int32_t from, int32_t to) { return {true, y, from, to}; }
TSpan Column(int32_t x, int32_t from, int32_t to) { return {false, x, from, to}; }

void DrawSpans(TCanvas& canvas, TColor color, std::initializer_list<TSpan> spans) {
  canvas.Pen.Color = color;
  for (const TSpan& s : spans) {
    // On a control too small for its frame a span can come out reversed: it is then empty.
    if (s.to < s.from) continue;
    if (s.row) {
      canvas.MoveTo(s.from, s.line);
      canvas.LineTo(s.to + 1, s.line);
    } else {
      canvas.MoveTo(s.line, s.from);
      canvas.LineTo(s.line, s.to + 1);
    }
  }
}

}  // namespace

void TShineSpeedButton::Paint() {
  // The one state change a paint makes: a disabled button always looks disabled.
  if (!Enabled()) {
    FState = vsDisabled;
    FDragging = false;
  }
  if (FTransparent) {
    PaintLayers(Canvas());
    return;
  }
  if (Width() <= 0 || Height() <= 0) return;
  // Drawn off screen and copied in one go, so the layers never show one after another.
  TBitmap offscreen(Width(), Height());
  PaintLayers(offscreen.Canvas());
  Canvas().Draw(0, 0, offscreen);
}

void TShineSpeedButton::PaintLayers(TCanvas& canvas) {
  BackDraw(canvas);
  ImageDraw(canvas);
  FrameDraw(canvas);
}

void TShineSpeedButton::BackDraw(TCanvas& canvas) {
  if (FTransparent) return;
  const TShineBtnColors& colors = IsPressedState(FState) ? *FPressedColors : *FColors;
  const TRect client = Rect(0, 0, Width(), Height());
  if (!colors.Gradation()) {
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = colors.Color();
    canvas.FillRect(client);
    return;
  }
  const TColor start = ColorToRGB(colors.Color());
  const TColor end = ColorToRGB(colors.GradColor());
  const bool vertical = colors.GradVertical();
  TBitmap strip(vertical ? 1 : 256, vertical ? 256 : 1);
  strip.SetPixelFormat(TPixelFormat::pf32bit);
  for (int i = 0; i < 256; ++i) {
    if (vertical)
      strip.SetPixel(0, i, GradientPixel(start, end, i));
    else
      strip.SetPixel(i, 0, GradientPixel(start, end, i));
  }
  // Nearest-pixel stretching: every pixel takes one entry, no two entries are blended.
  canvas.StretchDraw(client, strip);
}

void TShineSpeedButton::ImageDraw(TCanvas& canvas) {
  // The canvas gets a copy: the colour passes below never touch the button's own fonts.
  canvas.Font().Assign(IsActiveState(FState) ? FActiveFont.get() : FFont.get());
  std::unique_ptr<TBitmap> image = CreateStateGlyph();
  TPoint glyphPos;
  TRect textRect;
  CalcDrawPosition(canvas, glyphPos, textRect);
  const bool pressed = IsPressedState(FState);
  if (image) {
    if (pressed) glyphPos = {glyphPos.X + 1, glyphPos.Y + 1};
    if (FState == vsDisabled && FDisabledImage == diDefault) {
      // An engraved look: the highlight one pixel down and right, the shadow over it.
      canvas.PaintThroughMask(glyphPos.X + 1, glyphPos.Y + 1, *image, FDisabledHighlight);
      canvas.PaintThroughMask(glyphPos.X, glyphPos.Y, *image, FDisabledShadow);
    } else {
      canvas.Draw(glyphPos.X, glyphPos.Y, *image);
    }
    image.reset();
  }
  if (Caption().empty()) return;
  if (pressed) textRect = Shifted(textRect, 1, 1);
  canvas.Brush.Style = TBrushStyle::bsClear;
  if (FState == vsDisabled) {
    DrawCaptionPass(canvas, FDisabledHighlight, Shifted(textRect, 1, 1));
    DrawCaptionPass(canvas, FDisabledShadow, textRect);
    return;
  }
  const TColor fontColor = canvas.Font().Color();
  if (FFontShadow != clNone) DrawCaptionPass(canvas, FFontShadow, Shifted(textRect, 1, 1));
  if (FFontHighlight != clNone) DrawCaptionPass(canvas, FFontHighlight, Shifted(textRect, -1, -1));
  DrawCaptionPass(canvas, fontColor, textRect);
}

void TShineSpeedButton::DrawCaptionPass(TCanvas& canvas, TColor color, TRect box) {
  canvas.Font().SetColor(color);
  // Centred lines from the box's top, clipped to the box; prefixes and line breaks honoured.
  canvas.DrawText(Caption(), box, DT_CENTER | DT_VCENTER);
}

void TShineSpeedButton::FrameDraw(TCanvas& canvas) {
  const bool drawn = IsActiveState(FState) ? FActiveFrame : FState == vsDown ? FDownFrame : FUpFrame;
  if (!drawn) return;
  const bool pressed = IsPressedState(FState);
  const TShineBtnColors& up = *FColors;
  const TShineBtnColors& down = *FPressedColors;
  const int32_t w = Width();
  const int32_t h = Height();
  switch (FFrameType) {
    case ftFlatFrame:
      if (!pressed) {
        DrawSpans(canvas, up.Highlight(), {Row(0, 0, w - 2), Column(0, 0, h - 2)});
        DrawSpans(canvas, up.Shadow(), {Row(h - 1, 1, w - 1), Column(w - 1, 1, h - 1)});
      } else {
        DrawSpans(canvas, down.Shadow(), {Row(0, 0, w - 2), Column(0, 0, h - 2)});
        DrawSpans(canvas, down.Highlight(), {Row(h - 1, 1, w - 1), Column(w - 1, 1, h - 1)});
      }
      break;
    case ftNormalFrame:
      if (!pressed) {
        DrawSpans(canvas, up.Shadow(), {Row(h - 2, 1, w - 2), Column(w - 2, 1, h - 2)});
        DrawSpans(canvas, up.DarkShadow(), {Row(h - 1, 1, w - 1), Column(w - 1, 1, h - 1)});
        DrawSpans(canvas, up.Highlight(), {Row(0, 0, w - 2), Column(0, 0, h - 2)});
      } else {
        DrawSpans(canvas, down.Shadow(), {Row(1, 1, w - 2), Column(1, 1, h - 2)});
        DrawSpans(canvas, down.DarkShadow(), {Row(0, 0, w - 2), Column(0, 0, h - 2)});
        DrawSpans(canvas, down.Highlight(), {Row(h - 1, 1, w - 1), Column(w - 1, 1, h - 1)});
      }
      break;
    case ftEnclosedFrame:
      if (!pressed) {
        DrawSpans(canvas, up.Highlight(), {Row(1, 1, w - 3), Column(1, 1, h - 3)});
        DrawSpans(canvas, up.Shadow(), {Row(h - 2, 2, w - 2), Column(w - 2, 2, h - 2)});
      } else {
        DrawSpans(canvas, down.Shadow(), {Row(1, 1, w - 3), Column(1, 1, h - 3)});
        DrawSpans(canvas, down.Highlight(), {Row(h - 2, 2, w - 2), Column(w - 2, 2, h - 2)});
      }
      // The outline is always the raised set's dark shadow, pressed or not.
      DrawSpans(canvas, up.DarkShadow(),
                {Row(0, 0, w - 1), Row(h - 1, 0, w - 1), Column(0, 0, h - 1), Column(w - 1, 0, h - 1)});
      break;
  }
}

}  // namespace permora
