#include "app/DroppedFolder.h"

#include <gtest/gtest.h>

namespace permora {
namespace {

struct Argument {
  const char* name;
  String given;
  std::optional<String> folder;  // nothing: skipped
};

class DroppedFolderArguments : public testing::TestWithParam<Argument> {};

TEST_P(DroppedFolderArguments, NameTheFolderEveryLaterStepUses) {
  EXPECT_EQ(DroppedFolderPath(GetParam().given), GetParam().folder);
}

const String kCurrent = GetCurrentDir();

INSTANTIATE_TEST_SUITE_P(
    Cases, DroppedFolderArguments,
    testing::Values(
        Argument{"AbsoluteStaysAsGiven", "/photos/Trip", String("/photos/Trip")},
        Argument{"RelativeStaysAsGiven", "sub/Trip", String("sub/Trip")},
        Argument{"TrailingSlashRemoved", "Trip/", String("Trip")},
        Argument{"EveryTrailingSlashRemoved", "/photos/Trip///", String("/photos/Trip")},
        Argument{"DotBecomesTheCurrentFolder", ".", kCurrent},
        Argument{"DotWithSlashToo", "./", kCurrent},
        Argument{"DotDotBecomesTheParent", "..", ExtractFilePath(kCurrent).substr(0, ExtractFilePath(kCurrent).size() - 1)},
        Argument{"LastComponentDot", "/photos/Trip/.", String("/photos/Trip")},
        Argument{"LastComponentDotDot", "/photos/Trip/..", String("/photos")},
        Argument{"DotsInsideStay", "/photos/./Trip", String("/photos/./Trip")},
        Argument{"NamesStartingWithDotsStay", "/photos/..Trip", String("/photos/..Trip")},
        Argument{"RootSkipped", "/", std::nullopt},
        Argument{"SlashesSkipped", "///", std::nullopt},
        Argument{"DotDotOfRootSkipped", "/..", std::nullopt},
        Argument{"RootDotSkipped", "/.", std::nullopt},
        Argument{"EmptySkipped", "", std::nullopt},
        Argument{"AtTheLimit", "/" + String(4094, 'a'), "/" + String(4094, 'a')},
        Argument{"LongerThanTheLimitSkipped", "/" + String(4095, 'a'), std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace permora
