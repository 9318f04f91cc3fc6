#pragma once
// Where each slot of a sheet lies, as the program's window places its cells: 8 columns by 6 rows
// of 75 x 100 pixels, every row left to right except the second, which holds slots
// 9, 10, 15, 14, 11, 12, 13, 16.

#include <array>
#include <string>

#include "support/OneColourPictures.h"

namespace permora::testing_support {

struct TCellPlace {
  int Column;  // 1 to 8
  int Row;     // 1 to 6
  int CentreX() const { return (Column - 1) * 75 + 37; }
  int CentreY() const { return (Row - 1) * 100 + 50; }
};

inline TCellPlace PlaceOfSlot(int slot) {
  static constexpr std::array<int, 8> secondRowColumns = {1, 2, 5, 6, 7, 4, 3, 8};  // of slots 9 to 16
  const int row = (slot - 1) / 8 + 1;
  if (row == 2) return {secondRowColumns[static_cast<std::size_t>(slot - 9)], 2};
  return {(slot - 1) % 8 + 1, row};
}

inline constexpr TRgb kWhite{255, 255, 255};

// Well-separated colours for pictures 1, 2, ...: the corners and edges of the colour cube, white
// left out.
inline TRgb DistinctColour(int index) {
  static constexpr uint8_t levels[3] = {0, 128, 255};
  const int n = (index - 1) % 25;
  const int code = n < 13 ? n : n + 1;  // 13, the middle grey, is left out, and so is 26, white
  return {levels[code / 9], levels[code / 3 % 3], levels[code % 3]};
}

inline std::string SlotName(int slot) { return "slot " + std::to_string(slot); }

}  // namespace permora::testing_support
