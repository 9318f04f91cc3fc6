#pragma once
// Picture files for the program's tests, made and read with the real formats: one-colour bitmap
// files written byte by byte, JPEG files encoded and decoded with libjpeg.

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "support/PictureFiles.h"

namespace permora::testing_support {

struct TRgb {
  uint8_t R = 0, G = 0, B = 0;
};

// A 24-bit bitmap file of one colour.
inline void WriteOneColourBmp(const std::string& path, int width, int height, TRgb colour) {
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t dataSize = static_cast<uint32_t>(stride * height);
  std::string file;
  auto put16 = [&file](uint16_t v) { file.push_back(char(v & 0xFF)), file.push_back(char(v >> 8)); };
  auto put32 = [&put16](uint32_t v) { put16(uint16_t(v & 0xFFFF)), put16(uint16_t(v >> 16)); };
  file += "BM";
  put32(14 + 40 + dataSize);
  put32(0);
  put32(14 + 40);
  put32(40);
  put32(static_cast<uint32_t>(width));
  put32(static_cast<uint32_t>(height));
  put16(1);
  put16(24);
  put32(0);
  put32(dataSize);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) file += {char(colour.B), char(colour.G), char(colour.R)};
    file.append(static_cast<std::size_t>(stride - width * 3), '\0');
  }
  std::ofstream(path, std::ios::binary) << file;
}

namespace detail {
struct TJpegFailure {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
};
inline void JumpOut(j_common_ptr info) { std::longjmp(reinterpret_cast<TJpegFailure*>(info->err)->escape, 1); }

// Returns false when libjpeg failed, so that a sheet the program wrote badly fails one test, not the
// whole test program; kept free of C++ objects with destructors because of longjmp.
inline bool DecodeRgb(const unsigned char* data, unsigned long size, int* width, int* height, int* components,
                      std::vector<uint8_t>* pixels) {
  jpeg_decompress_struct info;
  TJpegFailure failure;
  info.err = jpeg_std_error(&failure.manager);
  failure.manager.error_exit = JumpOut;
  if (setjmp(failure.escape)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  jpeg_read_header(&info, TRUE);
  *components = info.num_components;
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  *width = static_cast<int>(info.output_width);
  *height = static_cast<int>(info.output_height);
  pixels->resize(static_cast<std::size_t>(*width) * *height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels->data() + static_cast<std::size_t>(info.output_scanline) * *width * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}
}  // namespace detail

// A JPEG file of one colour (quality 95).
inline void WriteOneColourJpeg(const std::string& path, int width, int height, TRgb colour) {
  test::WriteFile(path, test::SolidJPEG(width, height, colour.R, colour.G, colour.B));
}

// A decoded JPEG file.
struct TDecodedJpeg {
  int Width = 0;
  int Height = 0;
  int Components = 0;
  std::vector<uint8_t> Rgb;
  TRgb At(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * Width + x) * 3;
    return {Rgb[i], Rgb[i + 1], Rgb[i + 2]};
  }
};

inline TDecodedJpeg DecodeJpegFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TDecodedJpeg decoded;
  if (data.empty() || !detail::DecodeRgb(reinterpret_cast<const unsigned char*>(data.data()), data.size(), &decoded.Width,
                                         &decoded.Height, &decoded.Components, &decoded.Rgb))
    throw std::runtime_error("libjpeg could not decode " + path);
  return decoded;
}

// Within JPEG tolerance of each other, channel by channel.
inline bool Near(TRgb a, TRgb b, int tolerance = 24) {
  auto close = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
  return close(a.R, b.R) && close(a.G, b.G) && close(a.B, b.B);
}

inline std::string ToString(TRgb c) {
  return "(" + std::to_string(c.R) + "," + std::to_string(c.G) + "," + std::to_string(c.B) + ")";
}

}  // namespace permora::testing_support
