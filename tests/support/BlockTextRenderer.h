#pragma once
// A text renderer for pixel tests: every character is a solid block (4 pixels wide, half the
// font's pixel height high) in the font's colour, so where a text pass lands is plain to see.
// It follows the same rules as the real one: lines split at "\n" unless DT_SINGLELINE, "&" prefixes
// (a single "&" is not drawn, "&&" draws one) unless DT_NOPREFIX, lines centred with DT_CENTER,
// a single line centred vertically with DT_VCENTER, everything clipped to the box and the clip.

#include <algorithm>
#include <vector>

#include "platform/Graphics.h"

namespace permora::testing_support {

class TBlockTextRenderer final : public ITextRenderer {
 public:
  static constexpr int32_t kCellWidth = 4;
  static int32_t CellHeight(const TFont& font) { return std::max(1, font.PixelHeight() / 2); }

  TSize Measure(const TFont& font, const String& text, uint32_t flags) const override {
    const auto lines = Lines(text, flags);
    int32_t widest = 0;
    for (int32_t n : lines) widest = std::max(widest, n * kCellWidth);
    return {widest, static_cast<int32_t>(lines.size()) * CellHeight(font)};
  }

  void Draw(TBitmap& target, const TRect& clip, const TFont& font, const String& text, const TRect& box,
            uint32_t flags) const override {
    const auto lines = Lines(text, flags);
    const int32_t h = CellHeight(font);
    int32_t y = box.Top;
    if ((flags & DT_SINGLELINE) && (flags & DT_VCENTER)) y = box.Top + (box.Height() - h) / 2;
    const TRect limit = IntersectRect(IntersectRect(box, clip), Rect(0, 0, target.Width(), target.Height()));
    const uint32_t pixel = ColorToPixelValue(font.Color());
    for (int32_t chars : lines) {
      const int32_t w = chars * kCellWidth;
      const int32_t x = (flags & DT_CENTER) ? box.Left + (box.Width() - w) / 2 : box.Left;
      const TRect r = IntersectRect(Bounds(x, y, w, h), limit);
      for (int32_t py = r.Top; py < r.Bottom; ++py)
        for (int32_t px = r.Left; px < r.Right; ++px) target.SetPixel(px, py, pixel);
      y += h;
    }
  }

 private:
  // The number of drawn characters of each line.
  static std::vector<int32_t> Lines(const String& text, uint32_t flags) {
    std::vector<int32_t> lines{0};
    for (std::size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      if (c == '\n' && !(flags & DT_SINGLELINE)) {
        lines.push_back(0);
        continue;
      }
      if ((c & 0xC0) == 0x80) continue;  // a continuation byte of a UTF-8 character
      if (c == '&' && !(flags & DT_NOPREFIX)) {
        if (i + 1 < text.size() && text[i + 1] == '&') ++i;
        else continue;
      }
      ++lines.back();
    }
    return lines;
  }
};

// Installs a block renderer for the lifetime of the object.
class TBlockTextScope {
 public:
  TBlockTextScope() { SetTextRenderer(&FRenderer); }
  ~TBlockTextScope() { SetTextRenderer(nullptr); }
  TBlockTextScope(const TBlockTextScope&) = delete;
  TBlockTextScope& operator=(const TBlockTextScope&) = delete;

 private:
  TBlockTextRenderer FRenderer;
};

}  // namespace permora::testing_support
