#include "platform/JPEGErrors.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <string_view>

#include <jpeglib.h>
// A second inclusion with JMESSAGE defined lists every code of the installed library.
#include <jerror.h>

namespace permora {
namespace {

struct TLibraryCode {
  int Code;
  std::string_view Name;
};

#undef JERROR_H
#define JMESSAGE(code, string) TLibraryCode{code, #code},
constexpr TLibraryCode kLibraryCodes[] = {
#include <jerror.h>
};
#undef JMESSAGE

// Release 6a's message codes by name; a code's number is its index.
constexpr std::string_view kRelease6a[] = {
    "JMSG_NOMESSAGE", "JERR_ARITH_NOTIMPL", "JERR_BAD_ALIGN_TYPE", "JERR_BAD_ALLOC_CHUNK", "JERR_BAD_BUFFER_MODE",
    "JERR_BAD_COMPONENT_ID", "JERR_BAD_DCTSIZE", "JERR_BAD_IN_COLORSPACE", "JERR_BAD_J_COLORSPACE",
    "JERR_BAD_LENGTH", "JERR_BAD_LIB_VERSION", "JERR_BAD_MCU_SIZE", "JERR_BAD_POOL_ID", "JERR_BAD_PRECISION",
    "JERR_BAD_PROGRESSION", "JERR_BAD_PROG_SCRIPT", "JERR_BAD_SAMPLING", "JERR_BAD_SCAN_SCRIPT", "JERR_BAD_STATE",
    "JERR_BAD_STRUCT_SIZE", "JERR_BAD_VIRTUAL_ACCESS", "JERR_BUFFER_SIZE", "JERR_CANT_SUSPEND",
    "JERR_CCIR601_NOTIMPL", "JERR_COMPONENT_COUNT", "JERR_CONVERSION_NOTIMPL", "JERR_DAC_INDEX", "JERR_DAC_VALUE",
    "JERR_DHT_COUNTS", "JERR_DHT_INDEX", "JERR_DQT_INDEX", "JERR_EMPTY_IMAGE", "JERR_EMS_READ", "JERR_EMS_WRITE",
    "JERR_EOI_EXPECTED", "JERR_FILE_READ", "JERR_FILE_WRITE", "JERR_FRACT_SAMPLE_NOTIMPL", "JERR_HUFF_CLEN_OVERFLOW",
    "JERR_HUFF_MISSING_CODE", "JERR_IMAGE_TOO_BIG", "JERR_INPUT_EMPTY", "JERR_INPUT_EOF",
    "JERR_MISMATCHED_QUANT_TABLE", "JERR_MISSING_DATA", "JERR_MODE_CHANGE", "JERR_NOTIMPL", "JERR_NOT_COMPILED",
    "JERR_NO_BACKING_STORE", "JERR_NO_HUFF_TABLE", "JERR_NO_IMAGE", "JERR_NO_QUANT_TABLE", "JERR_NO_SOI",
    "JERR_OUT_OF_MEMORY", "JERR_QUANT_COMPONENTS", "JERR_QUANT_FEW_COLORS", "JERR_QUANT_MANY_COLORS",
    "JERR_SOF_DUPLICATE", "JERR_SOF_NO_SOS", "JERR_SOF_UNSUPPORTED", "JERR_SOI_DUPLICATE", "JERR_SOS_NO_SOF",
    "JERR_TFILE_CREATE", "JERR_TFILE_READ", "JERR_TFILE_SEEK", "JERR_TFILE_WRITE", "JERR_TOO_LITTLE_DATA",
    "JERR_UNKNOWN_MARKER", "JERR_VIRTUAL_BUG", "JERR_WIDTH_OVERFLOW", "JERR_XMS_READ", "JERR_XMS_WRITE",
    "JMSG_COPYRIGHT", "JMSG_VERSION", "JTRC_16BIT_TABLES", "JTRC_ADOBE", "JTRC_APP0", "JTRC_APP14", "JTRC_DAC",
    "JTRC_DHT", "JTRC_DQT", "JTRC_DRI", "JTRC_EMS_CLOSE", "JTRC_EMS_OPEN", "JTRC_EOI", "JTRC_HUFFBITS",
    "JTRC_JFIF", "JTRC_JFIF_BADTHUMBNAILSIZE", "JTRC_JFIF_EXTENSION", "JTRC_JFIF_THUMBNAIL", "JTRC_MISC_MARKER",
    "JTRC_PARMLESS_MARKER", "JTRC_QUANTVALS", "JTRC_QUANT_3_NCOLORS", "JTRC_QUANT_NCOLORS", "JTRC_QUANT_SELECTED",
    "JTRC_RECOVERY_ACTION", "JTRC_RST", "JTRC_SMOOTH_NOTIMPL", "JTRC_SOF", "JTRC_SOF_COMPONENT", "JTRC_SOI",
    "JTRC_SOS", "JTRC_SOS_COMPONENT", "JTRC_SOS_PARAMS", "JTRC_TFILE_CLOSE", "JTRC_TFILE_OPEN", "JTRC_THUMB_JPEG",
    "JTRC_THUMB_PALETTE", "JTRC_THUMB_RGB", "JTRC_UNKNOWN_IDS", "JTRC_XMS_CLOSE", "JTRC_XMS_OPEN",
    "JWRN_ADOBE_XFORM", "JWRN_BOGUS_PROGRESSION", "JWRN_EXTRANEOUS_DATA", "JWRN_HIT_MARKER", "JWRN_HUFF_BAD_CODE",
    "JWRN_JFIF_MAJOR", "JWRN_JPEG_EOF", "JWRN_MUST_RESYNC", "JWRN_NOT_SEQUENTIAL", "JWRN_TOO_MUCH_DATA",
};
static_assert(std::size(kRelease6a) == 123);

// Our numbers for the codes that release 6a does not have.
constexpr TLibraryCode kBeyondRelease6a[] = {
    {28, "JERR_BAD_HUFF_TABLE"},     {123, "JERR_BAD_DCT_COEF"},  {124, "JERR_BAD_CROP_SPEC"},
    {125, "JERR_NO_ARITH_TABLE"},    {126, "JWRN_ARITH_BAD_CODE"}, {127, "JWRN_BOGUS_ICC"},
    {128, "JERR_BAD_DROP_SAMPLING"},
};

constexpr int kUnknownCodeBase = 1000;

std::string_view LibraryCodeName(int code) {
  for (const TLibraryCode& c : kLibraryCodes)
    if (c.Code == code) return c.Name;
  return {};
}

}  // namespace

int32_t JPEGErrorNumber6a(int libraryCode) {
  const std::string_view name = LibraryCodeName(libraryCode);
  if (!name.empty()) {
    for (std::size_t i = 0; i < std::size(kRelease6a); ++i)
      if (kRelease6a[i] == name) return static_cast<int32_t>(i);
    for (const TLibraryCode& c : kBeyondRelease6a)
      if (c.Name == name) return c.Code;
  }
  return kUnknownCodeBase + libraryCode;
}

}  // namespace permora
