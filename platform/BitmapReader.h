#pragma once
// The Windows bitmap file reader behind TBitmap::LoadFromFile.
//
// Reads "BM" files with the OS/2 12-byte or a Windows 40-byte-or-longer (V4, V5) information
// header: 1, 4 and 8 bits per pixel with colour tables (short tables through the used-colours
// field), RLE8 and RLE4 with all escapes, 16 and 32 bits with the default or BI_BITFIELDS masks,
// 24 bits; rows bottom-up or top-down. Everything the header claims is checked against the file
// before anything is allocated:
//   "ビットマップイメージが不正です" (EInvalidGraphic): no "BM", planes not 1, an unknown header
//     size, compression or depth, a compression that does not fit the depth, width <= 0,
//     height 0, more than MaxPicturePixels pixels;
//   "ストリームからの読み込みエラー" (EReadError): a header, colour table, mask or pixel data
//     that the file is too short to hold, run-length data that ends before its end mark.
// Pixels that run-length data skips (deltas, early ends of lines or of the picture) stay black.

#include <cstdint>
#include <span>

#include "platform/Graphics.h"

namespace permora {

// Reads a bitmap file's content into target; on failure target is left as it was.
void ReadBitmapFile(std::span<const uint8_t> file, TBitmap& target);

}  // namespace permora
