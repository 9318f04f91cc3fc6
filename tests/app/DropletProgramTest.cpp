// The program as a user runs it in a terminal: the real binary on real folders of pictures, its
// printed boxes, its exit status and the sheets it writes, decoded and looked at.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "support/OneColourPictures.h"
#include "support/ProgramRun.h"
#include "support/SheetLayout.h"

namespace permora {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

const std::string kProgram = PERMORA_BINARY_DIR "/permora";
const std::string kUsage = "アイコン（実行ファイル）上にフォルダをドロップしてください。\n";
const std::string kQuestion = "インフォメーションを参照しますか？\n";
const std::string kNoPictures = "フォルダの中に画像ファイルは存在しませんでした。\n";

std::string Summary(int sheets) {
  return "計 " + std::to_string(sheets) + " 枚のファイルが作成されました。保存したフォルダを開きます。\n";
}

std::string SheetPath(const fs::path& folder, int number) {
  return (folder.parent_path() / ("ペルモラ ～ " + folder.filename().string() + "_" + std::to_string(number) + ".jpg"))
      .string();
}

// Every sheet file anywhere below `top`.
std::set<std::string> SheetsBelow(const fs::path& top) {
  std::set<std::string> sheets;
  for (const auto& entry : fs::recursive_directory_iterator(top)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("ペルモラ ～ ")) sheets.insert(entry.path().string());
  }
  return sheets;
}

struct DropletFixture : testing::Test {
  TScratchFolder scratch;

  // Runs the program without a display, in the scratch folder.
  TProgramResult Run(std::vector<std::string> arguments, std::string input = "", std::string program = kProgram,
                     std::string workingDirectory = "") {
    TProgramRun run;
    run.Arguments = {program};
    run.Arguments.insert(run.Arguments.end(), arguments.begin(), arguments.end());
    run.Unset = {"DISPLAY", "WAYLAND_DISPLAY"};
    run.Input = std::move(input);
    run.WorkingDirectory = workingDirectory.empty() ? scratch.Path().string() : workingDirectory;
    return RunProgram(run);
  }

  // A folder with `count` one-colour 8 x 8 bitmaps named p001.bmp, ... (so they are found in that
  // order), picture i in DistinctColour(i + colourOffset).
  fs::path FolderOfPictures(const std::string& relative, int count, int colourOffset = 0) {
    const fs::path folder = scratch.Path() / relative;
    fs::create_directories(folder);
    for (int i = 1; i <= count; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "p%03d.bmp", i);
      WriteOneColourBmp((folder / name).string(), 8, 8, DistinctColour(i + colourOffset));
    }
    return folder;
  }

  // Checks each slot's cell centre on a decoded sheet: expected(slot) gives its colour.
  static void ExpectCells(const TDecodedJpeg& sheet, const std::function<TRgb(int)>& expected) {
    ASSERT_EQ(sheet.Width, 600);
    ASSERT_EQ(sheet.Height, 600);
    for (int slot = 1; slot <= 48; ++slot) {
      const TCellPlace place = PlaceOfSlot(slot);
      const TRgb seen = sheet.At(place.CentreX(), place.CentreY());
      EXPECT_TRUE(Near(seen, expected(slot))) << SlotName(slot) << ": " << ToString(seen) << " instead of "
                                              << ToString(expected(slot));
    }
  }
};

// ---- Without arguments ---------------------------------------------------------------------------

TEST_F(DropletFixture, WithoutArgumentsExplainsAndOpensNothingWithoutYes) {
  const TProgramResult result = Run({}, "");
  EXPECT_EQ(result.Output, kUsage + kQuestion);
  EXPECT_EQ(result.Errors, "");
  EXPECT_EQ(result.ExitStatus, 0);
}

TEST_F(DropletFixture, WithoutArgumentsAnEmptyAnswerIsNo) {
  EXPECT_EQ(Run({}, "\n").Output, kUsage + kQuestion);
}

TEST_F(DropletFixture, WithoutArgumentsYesOpensThePageNamedAfterTheExecutable) {
  const fs::path copy = scratch.Path() / "sheets";
  fs::copy_file(kProgram, copy);
  const TProgramResult result = Run({}, "y\n", copy.string());
  ASSERT_TRUE(result.Output.starts_with(kUsage + kQuestion)) << result.Output;
  const std::string address = result.Output.substr((kUsage + kQuestion).size());
  EXPECT_TRUE(address.starts_with("http")) << address;
  EXPECT_TRUE(address.ends_with("/info.php?pf=w&sn=sheets\n")) << address;
  EXPECT_EQ(result.ExitStatus, 0);
}

// ---- Arguments that give no folder ---------------------------------------------------------------

struct NoFolder {
  const char* name;
  std::function<std::string(const fs::path&)> argument;
};

class ArgumentsWithoutFolders : public DropletFixture, public testing::WithParamInterface<NoFolder> {};

TEST_P(ArgumentsWithoutFolders, AreSkippedSilently) {
  FolderOfPictures("Trip", 3);
  const TProgramResult result = Run({GetParam().argument(scratch.Path())});
  EXPECT_EQ(result.Output, kNoPictures);
  EXPECT_EQ(result.Errors, "");
  EXPECT_EQ(result.ExitStatus, 0);
  EXPECT_TRUE(SheetsBelow(scratch.Path()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArgumentsWithoutFolders,
    testing::Values(NoFolder{"AFile", [](const fs::path& top) { return (top / "Trip" / "p001.bmp").string(); }},
                    NoFolder{"AMissingPath", [](const fs::path& top) { return (top / "Elsewhere").string(); }},
                    NoFolder{"TheRoot", [](const fs::path&) { return std::string("/"); }},
                    NoFolder{"TooLong", [](const fs::path& top) { return (top / std::string(4100, 'x')).string(); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Sheets by count -----------------------------------------------------------------------------

struct Count {
  int pictures;
  int sheets;
};

class PictureCounts : public DropletFixture, public testing::WithParamInterface<Count> {};

TEST_P(PictureCounts, WriteOneSheetPerFortyEightAndTheRest) {
  const fs::path trip = FolderOfPictures("Photos/Trip", GetParam().pictures);
  const TProgramResult result = Run({trip.string()});
  EXPECT_EQ(result.Errors, "");
  EXPECT_EQ(result.ExitStatus, 0);
  const int sheets = GetParam().sheets;
  if (sheets == 0) {
    EXPECT_EQ(result.Output, kNoPictures);
    EXPECT_TRUE(SheetsBelow(scratch.Path()).empty());
    return;
  }
  EXPECT_EQ(result.Output, Summary(sheets) + trip.parent_path().string() + "/\n");
  std::set<std::string> expected;
  for (int n = 1; n <= sheets; ++n) expected.insert(SheetPath(trip, n));
  EXPECT_EQ(SheetsBelow(scratch.Path()), expected);
  // The last sheet holds the pictures after the full ones, in slot order, and white after them.
  const int onLast = GetParam().pictures - 48 * (sheets - 1);
  const int first = 48 * (sheets - 1) + 1;
  ExpectCells(DecodeJpegFile(SheetPath(trip, sheets)),
              [&](int slot) { return slot <= onLast ? DistinctColour(first + slot - 1) : kWhite; });
}

INSTANTIATE_TEST_SUITE_P(Cases, PictureCounts,
                         testing::Values(Count{0, 0}, Count{1, 1}, Count{48, 1}, Count{49, 2}, Count{97, 3}),
                         [](const auto& info) { return std::to_string(info.param.pictures) + "Pictures"; });

TEST_F(DropletFixture, AFullSheetHoldsFortyEightPicturesInSlotOrder) {
  const fs::path trip = FolderOfPictures("Trip", 49);
  ASSERT_EQ(Run({trip.string()}).ExitStatus, 0);
  ExpectCells(DecodeJpegFile(SheetPath(trip, 1)), [](int slot) { return DistinctColour(slot); });
  ExpectCells(DecodeJpegFile(SheetPath(trip, 2)), [](int slot) { return slot == 1 ? DistinctColour(49) : kWhite; });
}

TEST_F(DropletFixture, TheSecondRowTakesItsSlotsOutOfOrder) {
  const fs::path trip = FolderOfPictures("Trip", 12);
  ASSERT_EQ(Run({trip.string()}).ExitStatus, 0);
  const TDecodedJpeg sheet = DecodeJpegFile(SheetPath(trip, 1));
  // Row 2: columns 1, 2, 5, 6 hold pictures 9 to 12; columns 3, 4, 7, 8 stay white.
  const std::pair<int, TRgb> row2[] = {{1, DistinctColour(9)}, {2, DistinctColour(10)}, {3, kWhite},
                                       {4, kWhite},            {5, DistinctColour(11)}, {6, DistinctColour(12)},
                                       {7, kWhite},            {8, kWhite}};
  for (const auto& [column, colour] : row2) {
    const TRgb seen = sheet.At((column - 1) * 75 + 37, 150);
    EXPECT_TRUE(Near(seen, colour)) << "column " << column << ": " << ToString(seen);
  }
  ExpectCells(sheet, [](int slot) { return slot <= 12 ? DistinctColour(slot) : kWhite; });
}

TEST_F(DropletFixture, BitmapsComeBeforeJpgAndJpgBeforeJpegInOneTree) {
  const fs::path trip = scratch.Path() / "Trip";
  fs::create_directories(trip / "sub");
  WriteOneColourJpeg((trip / "a.jpeg").string(), 8, 8, DistinctColour(1));
  WriteOneColourJpeg((trip / "b.jpg").string(), 8, 8, DistinctColour(2));
  WriteOneColourBmp((trip / "c.bmp").string(), 8, 8, DistinctColour(3));
  WriteOneColourJpeg((trip / "sub" / "d.JPG").string(), 8, 8, DistinctColour(4));
  WriteOneColourBmp((trip / "sub" / "e.bmp").string(), 8, 8, DistinctColour(5));
  ASSERT_EQ(Run({trip.string()}).ExitStatus, 0);
  const TRgb order[] = {DistinctColour(3), DistinctColour(5), DistinctColour(2), DistinctColour(4), DistinctColour(1)};
  ExpectCells(DecodeJpegFile(SheetPath(trip, 1)), [&](int slot) { return slot <= 5 ? order[slot - 1] : kWhite; });
}

// ---- Several folders -----------------------------------------------------------------------------

TEST_F(DropletFixture, TheLastSheetIsNamedAfterAndPlacedBesideTheLastFolder) {
  const fs::path a = FolderOfPictures("x/A", 10);
  const fs::path b = FolderOfPictures("y/B", 0);
  const TProgramResult result = Run({a.string(), b.string()});
  EXPECT_EQ(result.Output, Summary(1) + b.parent_path().string() + "/\n");
  EXPECT_EQ(SheetsBelow(scratch.Path()), std::set<std::string>{SheetPath(b, 1)});
  ExpectCells(DecodeJpegFile(SheetPath(b, 1)), [](int slot) { return slot <= 10 ? DistinctColour(slot) : kWhite; });
}

TEST_F(DropletFixture, AFullSheetIsWrittenWhenTheNextFoldersFirstPictureArrives) {
  const fs::path a = FolderOfPictures("x/A", 48);
  const fs::path b = FolderOfPictures("y/B", 3, 48);
  const TProgramResult result = Run({a.string(), b.string()});
  EXPECT_EQ(result.Output, Summary(2) + b.parent_path().string() + "/\n");
  EXPECT_EQ(SheetsBelow(scratch.Path()), (std::set<std::string>{SheetPath(b, 1), SheetPath(b, 2)}));
  ExpectCells(DecodeJpegFile(SheetPath(b, 1)), [](int slot) { return DistinctColour(slot); });
  ExpectCells(DecodeJpegFile(SheetPath(b, 2)), [](int slot) { return slot <= 3 ? DistinctColour(48 + slot) : kWhite; });
}

TEST_F(DropletFixture, FilesAndMissingPathsBetweenFoldersChangeNothing) {
  const fs::path a = FolderOfPictures("A", 2);
  const TProgramResult result = Run({(a / "p001.bmp").string(), a.string(), "missing"});
  EXPECT_EQ(result.Output, Summary(1) + scratch.Path().string() + "/\n");
  EXPECT_EQ(SheetsBelow(scratch.Path()), std::set<std::string>{SheetPath(a, 1)});
}

// ---- Failures ------------------------------------------------------------------------------------

TEST_F(DropletFixture, ABadPictureEndsTheRunWithTheErrorAndKeepsTheSheetsWritten) {
  const fs::path trip = FolderOfPictures("Trip", 50);
  WriteWholeFile(trip / "p051.bmp", std::string(64, 'X'));
  FolderOfPictures("Trip/zz", 5);  // would come later: never reached
  const TProgramResult result = Run({trip.string()});
  EXPECT_EQ(result.ExitStatus, 1);
  EXPECT_EQ(result.Errors, "ビットマップイメージが不正です.\n");
  EXPECT_EQ(result.Output, "");
  EXPECT_EQ(SheetsBelow(scratch.Path()), std::set<std::string>{SheetPath(trip, 1)});
  ExpectCells(DecodeJpegFile(SheetPath(trip, 1)), [](int slot) { return DistinctColour(slot); });
}

TEST_F(DropletFixture, AParentWithoutWritePermissionEndsTheRunWithTheFileName) {
  if (RunProgram({{"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "/bin/true"}}).ExitStatus != 0)
    GTEST_SKIP() << "cannot run as an unprivileged user here (setpriv failed)";
  const fs::path trip = FolderOfPictures("locked/Trip", 3);
  fs::permissions(scratch.Path(), fs::perms(0755));
  fs::permissions(trip.parent_path(), fs::perms(0555));
  TProgramRun run;
  run.Arguments = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", kProgram, trip.string()};
  run.Unset = {"DISPLAY", "WAYLAND_DISPLAY"};
  run.WorkingDirectory = "/";
  const TProgramResult result = RunProgram(run);
  if (result.ExitStatus == 126 || result.ExitStatus == 127) GTEST_SKIP() << "the unprivileged user cannot start " << kProgram;
  EXPECT_EQ(result.ExitStatus, 1);
  EXPECT_EQ(result.Errors, "ファイル " + SheetPath(trip, 1) + " を作成できません.\n");
  EXPECT_EQ(result.Output, "");
  EXPECT_TRUE(SheetsBelow(scratch.Path()).empty());
  // Nothing half-written is left behind either.
  EXPECT_EQ(std::distance(fs::directory_iterator(trip.parent_path()), fs::directory_iterator()), 1);
}

// ---- How a folder is named -----------------------------------------------------------------------

TEST_F(DropletFixture, ATrailingSlashNamesTheSameFolder) {
  const fs::path trip = FolderOfPictures("Trip", 2);
  const TProgramResult result = Run({"Trip/"});
  EXPECT_EQ(result.ExitStatus, 0);
  EXPECT_EQ(result.Output, Summary(1) + scratch.Path().string() + "/\n");
  EXPECT_EQ(SheetsBelow(scratch.Path()), std::set<std::string>{SheetPath(trip, 1)});
}

TEST_F(DropletFixture, DotPutsTheSheetsBesideTheCurrentFolderNotInsideIt) {
  const fs::path trip = FolderOfPictures("Trip", 2);
  const TProgramResult result = Run({"."}, "", kProgram, trip.string());
  EXPECT_EQ(result.ExitStatus, 0);
  EXPECT_EQ(result.Output, Summary(1) + scratch.Path().string() + "/\n");
  EXPECT_EQ(SheetsBelow(scratch.Path()), std::set<std::string>{SheetPath(trip, 1)});
}

TEST_F(DropletFixture, ARelativeFolderIsOpenedAsAnAbsolutePath) {
  const fs::path trip = FolderOfPictures("sub/Trip", 1);
  const TProgramResult result = Run({"sub/Trip"});
  EXPECT_EQ(result.Output, Summary(1) + (scratch.Path() / "sub").string() + "/\n");
  EXPECT_EQ(SheetsBelow(scratch.Path()), std::set<std::string>{SheetPath(trip, 1)});
}

// ---- The backend -----------------------------------------------------------------------------------

TEST_F(DropletFixture, ADisplayThatCannotBeOpenedMeansTheTerminal) {
  int number = 99;
  while (fs::exists("/tmp/.X11-unix/X" + std::to_string(number)) || fs::exists("/tmp/.X" + std::to_string(number) + "-lock"))
    ++number;
  TProgramRun run;
  run.Arguments = {kProgram};
  run.Unset = {"WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  run.Set = {{"DISPLAY", ":" + std::to_string(number)}};
  const TProgramResult result = RunProgram(run);
  EXPECT_EQ(result.Output, kUsage + kQuestion);
  EXPECT_EQ(result.ExitStatus, 0);
}

}  // namespace
}  // namespace permora
