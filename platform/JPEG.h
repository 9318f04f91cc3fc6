#pragma once
// JPEG pictures over libjpeg: loading keeps the file's content and reads its header; drawing
// decodes it; saving encodes an assigned bitmap.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Graphics.h"

namespace permora {

// A JPEG picture.
//
// Loading reads the whole file into memory and parses its header up to the first scan. Drawing
// decodes it at full size (floating-point IDCT, fancy up-sampling, block smoothing, 24 bits;
// grayscale files as 236 grey levels with Floyd–Steinberg dithering) but keeps only the rows and
// columns that the target rectangle samples (the platform's nearest-pixel choice), so the result
// is the full-size decode stretched, without the full-size bitmap. That scaled picture is kept for
// the next draw of the same size, and the file's content is then let go: a drawn picture holds
// only what it needs to draw again. Drawn at another size afterwards, it stretches what it kept.
//
// libjpeg's failures raise EJPEG "JPEG エラー #%d" with release 6a's code (JPEGErrors.h); its
// warnings are ignored. An empty file loads and fails when it is first drawn (code 41).
class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;
  static const TClassInfo& StaticClassInfo();
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  // Takes a TJPEGImage's picture, or a TBitmap to encode when saved; null empties.
  void Assign(const TPersistent* Source) override;

  int32_t Width() const override { return FWidth; }
  int32_t Height() const override { return FHeight; }
  // True when nothing was loaded or assigned. A loaded empty file is not empty: drawing it fails.
  bool Empty() const override;
  void Draw(TCanvas& canvas, const TRect& rect) const override;
  void LoadFromFile(const String& fileName) override;
  // Writes the assigned bitmap encoded, or else the loaded file's content unchanged.
  void SaveToFile(const String& fileName) const override;

  // Loads a JPEG file's content, as LoadFromFile does after reading the file.
  void LoadFromData(std::vector<uint8_t> data);
  // The bytes SaveToFile writes.
  std::vector<uint8_t> SavedData() const;

  // Encoding quality 1 to 100 (default 90).
  int32_t CompressionQuality() const { return FCompressionQuality; }
  void SetCompressionQuality(int32_t value);
  // From the loaded file's header.
  bool Grayscale() const { return FGrayscale; }
  bool MultipleScans() const { return FMultipleScans; }

 private:
  void Clear();
  const TBitmap& ScaledPicture(int32_t width, int32_t height) const;

  int32_t FWidth = 0;
  int32_t FHeight = 0;
  bool FGrayscale = false;
  bool FMultipleScans = false;
  int32_t FCompressionQuality = 90;
  // The loaded file's content, until the first draw has made the scaled picture.
  mutable std::optional<std::vector<uint8_t>> FData;
  // An assigned bitmap, kept whole to be encoded.
  std::unique_ptr<TBitmap> FBitmap;
  // The decoded picture at the size it was last drawn.
  mutable std::unique_ptr<TBitmap> FScaled;
};

// Encodes a bitmap as a baseline JFIF file: jpeg_set_defaults, the floating-point DCT, the given
// quality with force-baseline (4:2:0, standard tables, no other segment).
std::vector<uint8_t> EncodeJPEG(const TBitmap& bitmap, int32_t quality);

// Decodes JPEG content into a width × height bitmap, sampling the full-size decode by the
// platform's nearest-pixel choice.
std::unique_ptr<TBitmap> DecodeJPEGScaled(const std::vector<uint8_t>& data, int32_t width, int32_t height);

}  // namespace permora
