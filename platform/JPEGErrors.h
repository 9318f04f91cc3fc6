#pragma once
// The numbers that "JPEG エラー #%d" shows: libjpeg's message codes as IJG release 6a numbers them.
//
// The installed library (libjpeg-turbo with the jpeg62 interface) numbers its codes as release 6b
// does, plus codes appended at the end. Release 6a's list is that list without JERR_BAD_DCT_COEF
// and JERR_BAD_HUFF_TABLE, with JERR_DHT_COUNTS between JERR_DAC_VALUE and JERR_DHT_INDEX; it ends
// with JWRN_TOO_MUCH_DATA = 122. The codes 6a does not have are numbered by us:
//   JERR_BAD_HUFF_TABLE  28   (6a reported a bad Huffman table as JERR_DHT_COUNTS)
//   JERR_BAD_DCT_COEF    123
//   JERR_BAD_CROP_SPEC   124, JERR_NO_ARITH_TABLE 125, JWRN_ARITH_BAD_CODE 126,
//   JWRN_BOGUS_ICC       127, JERR_BAD_DROP_SAMPLING 128 (the codes libjpeg-turbo appends)
//   too many scans       129  (our own limit on progressive files, see JPEGTooManyScans)
//   anything else        1000 + the library's own code

#include <cstdint>

namespace permora {

// The release-6a number of the installed library's message code `libraryCode`.
int32_t JPEGErrorNumber6a(int libraryCode);

// Our own error: a file with more scans than we decode (kMaxJPEGScans).
inline constexpr int32_t JPEGTooManyScans = 129;

}  // namespace permora
