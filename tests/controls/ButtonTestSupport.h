#pragma once
// Helpers shared by the button tests: a button that counts its invalidations, direct access to
// the visual state, and small glyphs drawn as character art.

#include <string>
#include <vector>

#include "controls/ShineSpdBtn.h"

namespace permora {

struct TShineSpeedButtonPeer {
  static void SetState(TShineSpeedButton& button, TVisualState state) { button.FState = state; }
};

// Counts the deferred paints that the button asks for.
class TSpyButton : public TShineSpeedButton {
 public:
  using TShineSpeedButton::TShineSpeedButton;
  void Invalidate() override {
    ++invalidates;
    TShineSpeedButton::Invalidate();
  }
  int TakeInvalidates() {
    const int n = invalidates;
    invalidates = 0;
    return n;
  }
  int invalidates = 0;
};

namespace art {

// The pixel each character of a glyph drawing stands for.
inline constexpr uint32_t Key = 0x00FF00FF;     // '.': the bottom-left colour, transparent
inline constexpr uint32_t Opaque = 0x00102030;  // 'o'
inline constexpr uint32_t Other = 0x00405060;   // 'b': a second opaque colour
inline constexpr uint32_t Light = 0x00FFFF00;   // 'L': clYellow as a pixel
inline constexpr uint32_t White = 0x00FFFFFF;   // 'W'
inline constexpr uint32_t Black = 0x00000000;   // 'k'

inline uint32_t PixelOf(char c) {
  switch (c) {
    case '.': return Key;
    case 'o': return Opaque;
    case 'b': return Other;
    case 'L': return Light;
    case 'W': return White;
    case 'k': return Black;
    default: throw std::invalid_argument(std::string("no pixel for '") + c + "'");
  }
}

inline char CharOf(uint32_t pixel) {
  for (char c : std::string(".obLWk"))
    if (PixelOf(c) == (pixel & 0x00FFFFFFu)) return c;
  return '?';
}

// rows[0] is the top row.
inline void Draw(TBitmap& bitmap, const std::vector<std::string>& rows) {
  bitmap.SetSize(static_cast<int32_t>(rows.at(0).size()), static_cast<int32_t>(rows.size()));
  for (std::size_t y = 0; y < rows.size(); ++y)
    for (std::size_t x = 0; x < rows[y].size(); ++x)
      bitmap.SetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y), PixelOf(rows[y][x]));
}

inline std::vector<std::string> Read(const TBitmap& bitmap) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < bitmap.Width(); ++x) row += CharOf(bitmap.Pixel(x, y));
    rows.push_back(row);
  }
  return rows;
}

}  // namespace art
}  // namespace permora
