#pragma once
// Helpers for tests about picture files: a temporary folder, files written into it, JPEG files
// made with libjpeg in the shapes a test needs, and decoding what the code wrote.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace permora::test {

// A fresh folder under /tmp, removed with everything in it when the object goes.
class TTemporaryFolder {
 public:
  TTemporaryFolder() {
    char pattern[] = "/tmp/permora-pictures-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
  }
  ~TTemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  TTemporaryFolder(const TTemporaryFolder&) = delete;
  TTemporaryFolder& operator=(const TTemporaryFolder&) = delete;
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// How a test JPEG is made.
struct TJPEGShape {
  int Width = 16;
  int Height = 16;
  J_COLOR_SPACE Input = JCS_RGB;  // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
  int Quality = 95;
  bool Progressive = false;
  bool Arithmetic = false;
  int LumaH = 2;  // sampling of the first component
  int LumaV = 2;
};

// Sample c (0..components-1) of pixel (x, y) of a test JPEG.
using TSampleFunction = std::function<uint8_t(int x, int y, int c)>;

namespace detail {
struct TTestErrorManager {
  jpeg_error_mgr Library;
};
[[noreturn]] inline void FailTest(j_common_ptr info) {
  char text[JMSG_LENGTH_MAX];
  info->err->format_message(info, text);
  // The helpers run only on inputs they made themselves: a failure is a broken test.
  std::fprintf(stderr, "test JPEG helper: %s\n", text);
  std::abort();
}
}  // namespace detail

inline std::vector<uint8_t> MakeJPEG(const TJPEGShape& shape, const TSampleFunction& sample) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  errors.error_exit = detail::FailTest;
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  const int components = shape.Input == JCS_GRAYSCALE ? 1 : shape.Input == JCS_CMYK ? 4 : 3;
  info.image_width = static_cast<JDIMENSION>(shape.Width);
  info.image_height = static_cast<JDIMENSION>(shape.Height);
  info.input_components = components;
  info.in_color_space = shape.Input;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, shape.Quality, TRUE);
  if (components == 3) {
    info.comp_info[0].h_samp_factor = shape.LumaH;
    info.comp_info[0].v_samp_factor = shape.LumaV;
  }
  if (shape.Progressive) jpeg_simple_progression(&info);
  info.arith_code = shape.Arithmetic ? TRUE : FALSE;
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(shape.Width * components));
  for (int y = 0; y < shape.Height; ++y) {
    for (int x = 0; x < shape.Width; ++x)
      for (int c = 0; c < components; ++c) row[static_cast<std::size_t>(x * components + c)] = sample(x, y, c);
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> result(buffer, buffer + size);
  std::free(buffer);
  jpeg_destroy_compress(&info);
  return result;
}

inline std::vector<uint8_t> SolidJPEG(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
  TJPEGShape shape;
  shape.Width = width;
  shape.Height = height;
  return MakeJPEG(shape, [=](int, int, int c) { return c == 0 ? r : c == 1 ? g : b; });
}

// A decoded JPEG as libjpeg itself gives it, with what its header said.
struct TDecodedJPEG {
  int Width = 0;
  int Height = 0;
  int Components = 0;
  bool Progressive = false;
  bool Arithmetic = false;
  bool SawJFIF = false;
  int JFIFMajor = 0;
  int JFIFMinor = 0;
  int DensityUnit = -1;
  int XDensity = 0;
  int YDensity = 0;
  std::vector<std::pair<int, int>> Sampling;  // per component: h, v
  std::vector<int> QuantTable;                 // per component: its table number
  std::vector<std::vector<uint16_t>> Tables;   // quantisation tables 0 and 1, natural order
  std::vector<uint8_t> Pixels;                 // RGB or grey, rows top to bottom
  int Pixel(int x, int y, int c) const { return Pixels[static_cast<std::size_t>((y * Width + x) * Components + c)]; }
};

inline TDecodedJPEG DecodeWithLibjpeg(const std::vector<uint8_t>& data) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  errors.error_exit = detail::FailTest;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  TDecodedJPEG result;
  result.Progressive = info.progressive_mode;
  result.Arithmetic = info.arith_code;
  result.SawJFIF = info.saw_JFIF_marker;
  result.JFIFMajor = info.JFIF_major_version;
  result.JFIFMinor = info.JFIF_minor_version;
  result.DensityUnit = info.density_unit;
  result.XDensity = info.X_density;
  result.YDensity = info.Y_density;
  for (int c = 0; c < info.num_components; ++c) {
    result.Sampling.emplace_back(info.comp_info[c].h_samp_factor, info.comp_info[c].v_samp_factor);
    result.QuantTable.push_back(info.comp_info[c].quant_tbl_no);
  }
  for (int t = 0; t < 2; ++t) {
    std::vector<uint16_t> table;
    if (info.quant_tbl_ptrs[t])
      for (int i = 0; i < DCTSIZE2; ++i) table.push_back(info.quant_tbl_ptrs[t]->quantval[i]);
    result.Tables.push_back(table);
  }
  jpeg_start_decompress(&info);
  result.Width = static_cast<int>(info.output_width);
  result.Height = static_cast<int>(info.output_height);
  result.Components = info.output_components;
  result.Pixels.resize(static_cast<std::size_t>(result.Width * result.Height * result.Components));
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {result.Pixels.data() + info.output_scanline * static_cast<std::size_t>(result.Width *
                                                                                              result.Components)};
    jpeg_read_scanlines(&info, rows, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return result;
}

// The markers of a JPEG stream in order, up to the start of scan (the marker byte after 0xFF).
inline std::vector<int> MarkersOf(const std::vector<uint8_t>& data) {
  std::vector<int> markers;
  std::size_t at = 0;
  while (at + 4 <= data.size() && data[at] == 0xFF) {
    const int marker = data[at + 1];
    markers.push_back(marker);
    if (marker == 0xD8) {
      at += 2;
      continue;
    }
    if (marker == 0xDA) break;
    at += 2 + (static_cast<std::size_t>(data[at + 2]) << 8 | data[at + 3]);
  }
  return markers;
}

// Position of the first segment with this marker, or npos.
inline std::size_t FindMarker(const std::vector<uint8_t>& data, int marker) {
  for (std::size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] == 0xFF && data[i + 1] == marker) return i;
  return std::string::npos;
}

}  // namespace permora::test
