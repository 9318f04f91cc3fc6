#pragma once
// What each fuzz target does with one input; the CTest replay of kept inputs runs the same code.
// Only the platform's own exceptions may leave a loader: anything else (a crash, a sanitizer
// report, another exception) is a fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/BitmapReader.h"
#include "platform/JPEG.h"

namespace permora::fuzz {

// How one input ended, for the fuzzers' feedback (libjpeg itself is not instrumented, so its
// error numbers and the header's facts stand in for its coverage).
struct TOutcome {
  int32_t LoadError = -1;  // the JPEG error's number, -1 for none
  int32_t DrawError = -1;
  bool Loaded = false;
  bool Grayscale = false;
  bool MultipleScans = false;
  int32_t Width = 0;
  int32_t Height = 0;
};

inline int32_t ErrorNumber(const EJPEG& e) {
  const String& m = e.Message();
  const auto hash = m.rfind('#');
  return hash == String::npos ? 0 : std::atoi(m.c_str() + hash + 1);
}

inline void LoadBitmap(const uint8_t* data, std::size_t size) {
  TBitmap bitmap;
  try {
    ReadBitmapFile(std::span<const uint8_t>(data, size), bitmap);
  } catch (const EInvalidGraphic&) {
  } catch (const EReadError&) {
  }
}

inline TOutcome LoadJPEG(TJPEGImage& jpeg, const uint8_t* data, std::size_t size) {
  TOutcome outcome;
  try {
    jpeg.LoadFromData(std::vector<uint8_t>(data, data + size));
  } catch (const EJPEG& e) {
    outcome.LoadError = ErrorNumber(e);
    return outcome;
  }
  outcome.Loaded = true;
  outcome.Grayscale = jpeg.Grayscale();
  outcome.MultipleScans = jpeg.MultipleScans();
  outcome.Width = jpeg.Width();
  outcome.Height = jpeg.Height();
  return outcome;
}

inline TOutcome LoadJPEGHeader(const uint8_t* data, std::size_t size) {
  TJPEGImage jpeg;
  return LoadJPEG(jpeg, data, size);
}

inline TOutcome DrawJPEGCell(const uint8_t* data, std::size_t size) {
  TJPEGImage jpeg;
  TOutcome outcome = LoadJPEG(jpeg, data, size);
  if (!outcome.Loaded) return outcome;
  try {
    TBitmap cell(75, 100);
    jpeg.Draw(cell.Canvas(), Rect(0, 0, 75, 100));
  } catch (const EJPEG& e) {
    outcome.DrawError = ErrorNumber(e);
  }
  return outcome;
}

}  // namespace permora::fuzz
