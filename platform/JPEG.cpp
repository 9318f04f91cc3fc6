#include "platform/JPEG.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <type_traits>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/JPEGErrors.h"
#include "platform/PictureLimits.h"
#include "platform/SystemFiles.h"

namespace permora {
namespace {

// ---- The escape from libjpeg's errors ----------------------------------------------------------
//
// libjpeg reports an error by calling error_exit, which must not return. Ours longjmps back into
// RunEscapable, a plain function; only there, after the jump, does C++ take over and throw. The
// frames that the jump passes (a step's body and libjpeg itself) hold nothing with a destructor.

struct TJPEGErrorManager {
  jpeg_error_mgr Library;  // first: libjpeg sees only this part
  std::jmp_buf Escape;
  int32_t Number = -1;   // release-6a number of the error that escaped
  int32_t Pending = -1;  // our own error number, set before error_exit is called for it
};

TJPEGErrorManager& ManagerOf(j_common_ptr info) { return *reinterpret_cast<TJPEGErrorManager*>(info->err); }

void EscapeOnError(j_common_ptr info) {
  TJPEGErrorManager& manager = ManagerOf(info);
  manager.Number = manager.Pending >= 0 ? manager.Pending : JPEGErrorNumber6a(info->err->msg_code);
  std::longjmp(manager.Escape, 1);
}

// Warnings (corrupt data stepped over, a file that ends early) are ignored, and cost nothing.
void IgnoreMessage(j_common_ptr, int) {}
void IgnoreOutput(j_common_ptr) {}

void InstallErrorManager(TJPEGErrorManager& manager) {
  jpeg_std_error(&manager.Library);
  manager.Library.error_exit = EscapeOnError;
  manager.Library.emit_message = IgnoreMessage;
  manager.Library.output_message = IgnoreOutput;
}

// Runs step(context); returns -1, or the error number when libjpeg escaped from it.
int32_t RunEscapable(TJPEGErrorManager* manager, void (*step)(void*), void* context) {
  if (setjmp(manager->Escape) != 0) return manager->Number;
  step(context);
  return -1;
}

// Runs a step of libjpeg calls; its body must create nothing that needs destroying.
template <class Step>
int32_t TryEscapable(TJPEGErrorManager& manager, Step& step) {
  void (*run)(void*) = [](void* context) { (*static_cast<Step*>(context))(); };
  return RunEscapable(&manager, run, &step);
}

[[noreturn]] void RaiseJPEGError(int32_t number) { throw EJPEG(FormatMessage(messages::JPEGError, number)); }

template <class Step>
void Escapable(TJPEGErrorManager& manager, Step&& step) {
  const int32_t failure = TryEscapable(manager, step);
  if (failure >= 0) RaiseJPEGError(failure);
}

// ---- Decompressor -------------------------------------------------------------------------------

// Progressive files with a flood of scans would cost a pass over the picture per scan.
struct TScanLimit {
  jpeg_progress_mgr Library;  // first: libjpeg sees only this part
};

void LimitScans(j_common_ptr info) {
  const auto* decompressor = reinterpret_cast<j_decompress_ptr>(info);
  if (decompressor->input_scan_number > MaxJPEGScans) {
    ManagerOf(info).Pending = JPEGTooManyScans;
    info->err->error_exit(info);
  }
}

// Owns one jpeg_decompress_struct with its error manager.
class TDecompressor {
 public:
  TDecompressor() {
    InstallErrorManager(FErrors);
    FInfo.err = &FErrors.Library;
    auto create = [this] { jpeg_create_decompress(&FInfo); };
    if (const int32_t failure = TryEscapable(FErrors, create); failure >= 0) {
      jpeg_destroy_decompress(&FInfo);
      RaiseJPEGError(failure);
    }
    FScanLimit.Library.progress_monitor = LimitScans;
    FInfo.progress = &FScanLimit.Library;
  }
  ~TDecompressor() { jpeg_destroy_decompress(&FInfo); }
  TDecompressor(const TDecompressor&) = delete;
  TDecompressor& operator=(const TDecompressor&) = delete;

  jpeg_decompress_struct& Info() { return FInfo; }
  TJPEGErrorManager& Errors() { return FErrors; }

 private:
  TJPEGErrorManager FErrors{};
  TScanLimit FScanLimit{};
  jpeg_decompress_struct FInfo{};
};

struct THeader {
  int32_t Width = 0;
  int32_t Height = 0;
  bool Grayscale = false;
  bool MultipleScans = false;
};

void ReadHeader(TDecompressor& decompressor, const std::vector<uint8_t>& data) {
  jpeg_decompress_struct& info = decompressor.Info();
  Escapable(decompressor.Errors(), [&] {
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
  });
}

THeader HeaderOf(TDecompressor& decompressor) {
  jpeg_decompress_struct& info = decompressor.Info();
  return {static_cast<int32_t>(info.image_width), static_cast<int32_t>(info.image_height),
          info.jpeg_color_space == JCS_GRAYSCALE, jpeg_has_multiple_scans(&info) != FALSE};
}

// A picture too large to hold fails as libjpeg fails when memory runs out, before anything large
// is allocated.
void CheckPictureSize(const jpeg_decompress_struct& info) {
  if (uint64_t{info.image_width} * info.image_height > MaxPicturePixels)
    RaiseJPEGError(JPEGErrorNumber6a(JERR_OUT_OF_MEMORY));
}

void UseDrawingSettings(jpeg_decompress_struct& info) {
  info.scale_num = 1;
  info.scale_denom = 1;
  info.dct_method = JDCT_FLOAT;
  info.do_fancy_upsampling = TRUE;
  info.do_block_smoothing = TRUE;
  info.buffered_image = FALSE;
  if (info.jpeg_color_space == JCS_GRAYSCALE) {
    info.out_color_space = JCS_GRAYSCALE;
    info.quantize_colors = TRUE;
    info.desired_number_of_colors = 236;
    info.dither_mode = JDITHER_FS;
    info.two_pass_quantize = FALSE;
  } else {
    // CMYK and YCCK files have no conversion to RGB: libjpeg refuses them when decoding starts.
    info.out_color_space = JCS_RGB;
    info.quantize_colors = FALSE;
  }
}

// Reads rows up to and including sourceRow into row. Rows before it that nobody samples are
// skipped (entropy-decoded only), except under colour quantisation, where libjpeg cannot skip and
// where the dithering needs every row anyway.
void ReadThroughRow(TDecompressor& decompressor, JDIMENSION sourceRow, JSAMPLE* row) {
  jpeg_decompress_struct& info = decompressor.Info();
  Escapable(decompressor.Errors(), [&] {
    if (!info.quantize_colors && info.output_scanline < sourceRow)
      jpeg_skip_scanlines(&info, sourceRow - info.output_scanline);
    JSAMPROW rows[1] = {row};
    while (info.output_scanline <= sourceRow)
      if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
  });
}

std::vector<std::size_t> SampledColumns(int32_t width, JDIMENSION sourceWidth, int components) {
  std::vector<std::size_t> columns(static_cast<std::size_t>(width));
  for (int32_t x = 0; x < width; ++x)
    columns[static_cast<std::size_t>(x)] =
        static_cast<std::size_t>(StretchSourceIndex(x, width, sourceWidth)) * static_cast<std::size_t>(components);
  return columns;
}

void SampleRow(const jpeg_decompress_struct& info, const JSAMPLE* row, const std::vector<std::size_t>& columns,
               uint32_t* target) {
  if (info.quantize_colors) {
    const JSAMPLE* grey = info.colormap[0];
    for (std::size_t x = 0; x < columns.size(); ++x) target[x] = uint32_t{grey[row[columns[x]]]} * 0x010101u;
    return;
  }
  for (std::size_t x = 0; x < columns.size(); ++x) {
    const JSAMPLE* p = row + columns[x];
    target[x] = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | uint32_t{p[2]};
  }
}

// ---- Compressor ---------------------------------------------------------------------------------

// A destination that collects the compressed stream in memory.
struct TMemoryDestination {
  jpeg_destination_mgr Library;  // first: libjpeg sees only this part
  std::vector<uint8_t> Bytes;
};

TMemoryDestination& DestinationOf(j_compress_ptr info) { return *reinterpret_cast<TMemoryDestination*>(info->dest); }

bool GrowBuffer(TMemoryDestination& destination) noexcept {
  const std::size_t used = destination.Bytes.size();
  try {
    destination.Bytes.resize(std::max<std::size_t>(65536, used * 2));
  } catch (const std::bad_alloc&) {
    return false;
  }
  destination.Library.next_output_byte = destination.Bytes.data() + used;
  destination.Library.free_in_buffer = destination.Bytes.size() - used;
  return true;
}

void StartDestination(j_compress_ptr info) {
  if (!GrowBuffer(DestinationOf(info))) ERREXIT(info, JERR_OUT_OF_MEMORY);
}

boolean EmptyDestination(j_compress_ptr info) {
  TMemoryDestination& destination = DestinationOf(info);
  // libjpeg calls this only with a full buffer.
  destination.Library.free_in_buffer = 0;
  if (!GrowBuffer(destination)) ERREXIT(info, JERR_OUT_OF_MEMORY);
  return TRUE;
}

void FinishDestination(j_compress_ptr info) {
  TMemoryDestination& destination = DestinationOf(info);
  destination.Bytes.resize(destination.Bytes.size() - destination.Library.free_in_buffer);
}

// Owns one jpeg_compress_struct with its error manager and destination.
class TCompressor {
 public:
  TCompressor() {
    InstallErrorManager(FErrors);
    FInfo.err = &FErrors.Library;
    auto create = [this] { jpeg_create_compress(&FInfo); };
    if (const int32_t failure = TryEscapable(FErrors, create); failure >= 0) {
      jpeg_destroy_compress(&FInfo);
      RaiseJPEGError(failure);
    }
    FDestination.Library.init_destination = StartDestination;
    FDestination.Library.empty_output_buffer = EmptyDestination;
    FDestination.Library.term_destination = FinishDestination;
    FInfo.dest = &FDestination.Library;
  }
  ~TCompressor() { jpeg_destroy_compress(&FInfo); }
  TCompressor(const TCompressor&) = delete;
  TCompressor& operator=(const TCompressor&) = delete;

  jpeg_compress_struct& Info() { return FInfo; }
  TJPEGErrorManager& Errors() { return FErrors; }
  std::vector<uint8_t> TakeBytes() { return std::move(FDestination.Bytes); }

 private:
  TJPEGErrorManager FErrors{};
  TMemoryDestination FDestination{};
  jpeg_compress_struct FInfo{};
};

void PixelsToRGB(const uint32_t* pixels, int32_t width, JSAMPLE* rgb) {
  for (int32_t x = 0; x < width; ++x, rgb += 3) {
    rgb[0] = static_cast<JSAMPLE>(pixels[x] >> 16);
    rgb[1] = static_cast<JSAMPLE>(pixels[x] >> 8);
    rgb[2] = static_cast<JSAMPLE>(pixels[x]);
  }
}

}  // namespace

// ---- Encoding and decoding ----------------------------------------------------------------------

std::vector<uint8_t> EncodeJPEG(const TBitmap& bitmap, int32_t quality) {
  TCompressor compressor;
  jpeg_compress_struct& info = compressor.Info();
  const int32_t width = bitmap.Width();
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
  Escapable(compressor.Errors(), [&] {
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(bitmap.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    info.dct_method = JDCT_FLOAT;
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
  });
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    PixelsToRGB(bitmap.ScanLine(y), width, row.data());
    Escapable(compressor.Errors(), [&] {
      JSAMPROW rows[1] = {row.data()};
      jpeg_write_scanlines(&info, rows, 1);
    });
  }
  Escapable(compressor.Errors(), [&] { jpeg_finish_compress(&info); });
  return compressor.TakeBytes();
}

std::unique_ptr<TBitmap> DecodeJPEGScaled(const std::vector<uint8_t>& data, int32_t width, int32_t height) {
  TDecompressor decompressor;
  jpeg_decompress_struct& info = decompressor.Info();
  ReadHeader(decompressor, data);
  CheckPictureSize(info);
  UseDrawingSettings(info);
  Escapable(decompressor.Errors(), [&] { jpeg_start_decompress(&info); });

  std::vector<JSAMPLE> row(static_cast<std::size_t>(info.output_width) *
                           static_cast<std::size_t>(info.output_components));
  const std::vector<std::size_t> columns = SampledColumns(width, info.output_width, info.output_components);
  auto result = std::make_unique<TBitmap>(width, height);
  int32_t previousSource = -1;
  for (int32_t y = 0; y < height; ++y) {
    const int32_t source = StretchSourceIndex(y, height, info.output_height);
    uint32_t* target = result->ScanLine(y);
    if (source == previousSource) {
      // Enlarging repeats the row just sampled.
      std::copy_n(result->ScanLine(y - 1), width, target);
      continue;
    }
    ReadThroughRow(decompressor, static_cast<JDIMENSION>(source), row.data());
    SampleRow(info, row.data(), columns, target);
    previousSource = source;
  }
  // The rest of the file is not needed: destroying the decompressor abandons it.
  return result;
}

// ---- TJPEGImage -----------------------------------------------------------------------------------

TJPEGImage::TJPEGImage() = default;

TJPEGImage::~TJPEGImage() = default;

const TClassInfo& TJPEGImage::StaticClassInfo() {
  static const TClassInfo info("TJPEGImage", &TGraphic::StaticClassInfo());
  return info;
}

void TJPEGImage::Clear() {
  FWidth = 0;
  FHeight = 0;
  FGrayscale = false;
  FMultipleScans = false;
  FData.reset();
  FBitmap.reset();
  FScaled.reset();
}

void TJPEGImage::Assign(const TPersistent* Source) {
  if (Source == nullptr) {
    Clear();
    Changed();
    return;
  }
  if (Source == this) return;
  if (Source->InheritsFrom(TJPEGImage::StaticClassInfo())) {
    const auto& jpeg = static_cast<const TJPEGImage&>(*Source);
    auto bitmap = jpeg.FBitmap ? std::make_unique<TBitmap>() : nullptr;
    if (bitmap) bitmap->Assign(jpeg.FBitmap.get());
    auto scaled = jpeg.FScaled ? std::make_unique<TBitmap>() : nullptr;
    if (scaled) scaled->Assign(jpeg.FScaled.get());
    FData = jpeg.FData;
    FBitmap = std::move(bitmap);
    FScaled = std::move(scaled);
    FWidth = jpeg.FWidth;
    FHeight = jpeg.FHeight;
    FGrayscale = jpeg.FGrayscale;
    FMultipleScans = jpeg.FMultipleScans;
    FCompressionQuality = jpeg.FCompressionQuality;
    Changed();
    return;
  }
  if (Source->InheritsFrom(TBitmap::StaticClassInfo())) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->Assign(Source);
    Clear();
    FWidth = bitmap->Width();
    FHeight = bitmap->Height();
    FBitmap = std::move(bitmap);
    Changed();
    return;
  }
  TGraphic::Assign(Source);
}

bool TJPEGImage::Empty() const { return !FData && !FBitmap && !FScaled; }

void TJPEGImage::SetCompressionQuality(int32_t value) { FCompressionQuality = std::clamp(value, 1, 100); }

void TJPEGImage::LoadFromFile(const String& fileName) { LoadFromData(SystemFiles().ReadRegularFile(fileName)); }

void TJPEGImage::LoadFromData(std::vector<uint8_t> data) {
  THeader header;
  // An empty file loads without a header; decoding it fails with libjpeg's empty-input error.
  if (!data.empty()) {
    TDecompressor decompressor;
    ReadHeader(decompressor, data);
    header = HeaderOf(decompressor);
  }
  Clear();
  FWidth = header.Width;
  FHeight = header.Height;
  FGrayscale = header.Grayscale;
  FMultipleScans = header.MultipleScans;
  FData = std::move(data);
  Changed();
}

std::vector<uint8_t> TJPEGImage::SavedData() const {
  if (FBitmap) return EncodeJPEG(*FBitmap, FCompressionQuality);
  if (FData) return *FData;
  // A drawn picture has only its scaled decode left; an empty one encodes as libjpeg refuses it.
  if (FScaled) return EncodeJPEG(*FScaled, FCompressionQuality);
  return EncodeJPEG(TBitmap(), FCompressionQuality);
}

void TJPEGImage::SaveToFile(const String& fileName) const { SystemFiles().WriteFileReplacing(fileName, SavedData()); }

const TBitmap& TJPEGImage::ScaledPicture(int32_t width, int32_t height) const {
  if (FScaled && FScaled->Width() == width && FScaled->Height() == height) return *FScaled;
  if (FData) {
    FScaled = DecodeJPEGScaled(*FData, width, height);
    FData.reset();
  }
  return *FScaled;
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& rect) const {
  if (rect.Width() == 0 || rect.Height() == 0) return;
  if (FBitmap) {
    FBitmap->Draw(canvas, rect);
    return;
  }
  if (Empty()) return;
  canvas.StretchBitmap(rect, ScaledPicture(std::abs(rect.Width()), std::abs(rect.Height())), false);
}

}  // namespace permora
