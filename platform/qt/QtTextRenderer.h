#pragma once
// Captions measured and drawn with Qt's GUI module (fonts through fontconfig, shaping, CJK),
// without antialiasing: every drawn pixel is exactly the font's colour.
//
// Rules: lines end at CR, LF or CR LF (DT_SINGLELINE: one line, the breaks left out); no word
// wrap; a tab is one space wide, not expanded to a tab stop; "&" marks the next character as the
// accelerator (not drawn itself, the character underlined), "&&" is one "&", a lone "&" at a
// line's end is dropped; DT_NOPREFIX turns that off. A line is as high as the font's ascent plus
// descent (no external leading); lines are left aligned, centred (DT_CENTER) or right aligned
// (DT_RIGHT) in the box, the first at its top (a single line is centred vertically with
// DT_SINGLELINE | DT_VCENTER). Drawing is clipped to the box. Measuring and drawing share one
// layout, so each drawn line stands where its measure says.

#include "platform/Graphics.h"

namespace permora {

// Makes sure a QGuiApplication exists, for the terminal backend and tests: when there is none,
// one is made (on the "offscreen" platform unless QT_QPA_PLATFORM names another) and lives until
// the program ends. Raises EInvalidOperation when a non-GUI Qt application already exists.
void EnsureGuiApplication();

class TQtTextRenderer final : public ITextRenderer {
 public:
  // Needs a QGuiApplication (see EnsureGuiApplication); raises EInvalidOperation without one.
  TQtTextRenderer();

  TSize Measure(const TFont& font, const String& text, uint32_t flags) const override;
  void Draw(TBitmap& target, const TRect& clip, const TFont& font, const String& text, const TRect& box,
            uint32_t flags) const override;

  // The Qt font family that a font name is drawn with, after the name table and fontconfig.
  static String MatchedFamily(const TFont& font);
};

}  // namespace permora
