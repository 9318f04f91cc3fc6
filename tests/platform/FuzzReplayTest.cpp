// Replays every input that the fuzz targets kept (tests/fixtures/fuzz/<target>/) through the same
// code the targets run: each must end in the platform's own exceptions or load, without a crash
// or a sanitizer report.
#include "fuzz/FuzzTargets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace permora {
namespace {

struct KeptInput {
  std::string Target;
  std::filesystem::path File;
};

std::vector<KeptInput> KeptInputs() {
  std::vector<KeptInput> inputs;
  const std::filesystem::path root = std::filesystem::path(PERMORA_SOURCE_DIR) / "tests/fixtures/fuzz";
  for (const char* target : {"bitmap", "jpeg-header", "jpeg-cell"}) {
    const auto folder = root / target;
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      if (entry.is_regular_file()) inputs.push_back({target, entry.path()});
  }
  std::sort(inputs.begin(), inputs.end(), [](const KeptInput& a, const KeptInput& b) { return a.File < b.File; });
  return inputs;
}

class FuzzReplay : public testing::TestWithParam<KeptInput> {};

TEST_P(FuzzReplay, EndsCleanly) {
  std::ifstream in(GetParam().File, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_TRUE(in.eof() || in.good()) << GetParam().File;
  const std::string& target = GetParam().Target;
  if (target == "bitmap") fuzz::LoadBitmap(bytes.data(), bytes.size());
  if (target == "jpeg-header") (void)fuzz::LoadJPEGHeader(bytes.data(), bytes.size());
  // Every kept input goes through the fullest path too: loading and drawing a cell.
  if (target != "bitmap") (void)fuzz::DrawJPEGCell(bytes.data(), bytes.size());
}

std::string TestName(const testing::TestParamInfo<KeptInput>& info) {
  std::string name = info.param.Target + "_" + info.param.File.filename().string();
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Kept, FuzzReplay, testing::ValuesIn(KeptInputs()), TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FuzzReplay);

}  // namespace
}  // namespace permora
