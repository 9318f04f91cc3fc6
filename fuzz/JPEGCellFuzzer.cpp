// libFuzzer target: fuzz/run builds and runs it.
#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  permora::fuzz::DrawJPEGCell(data, size);
  return 0;
}
