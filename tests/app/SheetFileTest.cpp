#include "app/SheetFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/JPEG.h"
#include "support/PictureFiles.h"

namespace permora {
namespace {

using test::TTemporaryFolder;

// ---- The name -------------------------------------------------------------------------------------

struct NameCase {
  const char* Name;
  const char* Directory;
  int32_t Sheet;
  const char* Expected;
};

class SheetName : public testing::TestWithParam<NameCase> {};

TEST_P(SheetName, IsFormedBesideTheFolder) {
  EXPECT_EQ(SheetFileName(GetParam().Directory, GetParam().Sheet), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, SheetName,
    testing::Values(NameCase{"Absolute", "/photos/Trip", 3, "/photos/ペルモラ ～ Trip_3.jpg"},
                    NameCase{"Japanese", "/写真/夏の旅行", 1, "/写真/ペルモラ ～ 夏の旅行_1.jpg"},
                    NameCase{"Spaces", "/home/a b/My Trip 2024", 10, "/home/a b/ペルモラ ～ My Trip 2024_10.jpg"},
                    NameCase{"Relative", "Trip", 1, "ペルモラ ～ Trip_1.jpg"},
                    NameCase{"RelativeSubfolder", "sub/Trip", 12, "sub/ペルモラ ～ Trip_12.jpg"},
                    NameCase{"Parent", "../Trip", 2, "../ペルモラ ～ Trip_2.jpg"},
                    // The formula as it stands: a trailing "/" puts the sheet inside the folder, so
                    // the run strips it from its arguments before.
                    NameCase{"TrailingSlash", "/photos/Trip/", 2, "/photos/Trip/ペルモラ ～ Trip_2.jpg"}),
    [](const testing::TestParamInfo<NameCase>& info) { return info.param.Name; });

// ---- The written file ------------------------------------------------------------------------------

std::unique_ptr<TBitmap> WhiteSheet() {
  auto sheet = std::make_unique<TBitmap>(600, 600);
  sheet->Canvas().Brush.Color = clWhite;
  sheet->Canvas().FillRect(Rect(0, 0, 600, 600));
  return sheet;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  return names;
}

// The tables of ISO/IEC 10918-1 Annex K, in natural order.
constexpr uint16_t kLuminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                     14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                     18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                     49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr uint16_t kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                       24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                       99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                       99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

std::vector<uint16_t> ScaledBy40Percent(const uint16_t (&table)[64]) {
  std::vector<uint16_t> scaled;
  for (uint16_t entry : table) scaled.push_back(static_cast<uint16_t>(std::clamp((entry * 40 + 50) / 100, 1, 255)));
  return scaled;
}

TEST(SheetFile, IsA600SquareBaselineJFIFOfQuality80) {
  TTemporaryFolder folder;
  const std::string path = folder / "ペルモラ ～ Trip_1.jpg";
  WriteSheetFile(*WhiteSheet(), path);
  const std::vector<uint8_t> bytes = test::ReadFile(path);
  // SOI, APP0, DQT ×2, SOF0, DHT ×4, SOS: nothing else before the scan, EOI at the end.
  EXPECT_EQ(test::MarkersOf(bytes),
            (std::vector<int>{0xD8, 0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4, 0xDA}));
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
  EXPECT_EQ(bytes[bytes.size() - 1], 0xD9);

  const test::TDecodedJPEG decoded = test::DecodeWithLibjpeg(bytes);
  EXPECT_EQ(decoded.Width, 600);
  EXPECT_EQ(decoded.Height, 600);
  EXPECT_FALSE(decoded.Progressive);
  EXPECT_FALSE(decoded.Arithmetic);
  EXPECT_TRUE(decoded.SawJFIF);
  EXPECT_EQ(decoded.JFIFMajor, 1);
  EXPECT_EQ(decoded.JFIFMinor, 1);
  EXPECT_EQ(decoded.DensityUnit, 0);
  EXPECT_EQ(decoded.XDensity, 1);
  EXPECT_EQ(decoded.YDensity, 1);
  EXPECT_EQ(decoded.Sampling, (std::vector<std::pair<int, int>>{{2, 2}, {1, 1}, {1, 1}}));
  EXPECT_EQ(decoded.QuantTable, (std::vector<int>{0, 1, 1}));
  ASSERT_EQ(decoded.Tables.size(), 2u);
  EXPECT_EQ(decoded.Tables[0], ScaledBy40Percent(kLuminance));
  EXPECT_EQ(decoded.Tables[1], ScaledBy40Percent(kChrominance));
}

// Cells of the sheet: slot, left, top (a few of the grid's, row 2 out of order).
struct TCell {
  int Left;
  int Top;
};

TEST(SheetFile, SolidPicturesLandInTheirCells) {
  struct TPlaced {
    TCell Cell;
    int Width, Height;  // of the picture
    uint8_t R, G, B;
  };
  const TPlaced placed[] = {
      {{0, 0}, 640, 480, 220, 30, 30},      // slot 1, a landscape squeezed into the cell
      {{300, 100}, 30, 40, 30, 200, 40},    // slot 11, enlarged
      {{150, 100}, 75, 100, 40, 40, 210},   // slot 15, at its size
      {{525, 500}, 1000, 333, 240, 200, 0}, // slot 48, bottom right
  };
  auto sheet = WhiteSheet();
  for (const TPlaced& p : placed) {
    TJPEGImage jpeg;
    jpeg.LoadFromData(test::SolidJPEG(p.Width, p.Height, p.R, p.G, p.B));
    jpeg.Draw(sheet->Canvas(), Bounds(p.Cell.Left, p.Cell.Top, 75, 100));
  }
  TTemporaryFolder folder;
  const std::string path = folder / "sheet.jpg";
  WriteSheetFile(*sheet, path);
  const test::TDecodedJPEG decoded = test::DecodeWithLibjpeg(test::ReadFile(path));

  auto expectColour = [&](int x, int y, int r, int g, int b, int tolerance) {
    EXPECT_NEAR(decoded.Pixel(x, y, 0), r, tolerance) << x << "," << y;
    EXPECT_NEAR(decoded.Pixel(x, y, 1), g, tolerance) << x << "," << y;
    EXPECT_NEAR(decoded.Pixel(x, y, 2), b, tolerance) << x << "," << y;
  };
  for (const TPlaced& p : placed) {
    const int cx = p.Cell.Left + 37, cy = p.Cell.Top + 50;
    for (auto [dx, dy] : {std::pair{0, 0}, {-25, -38}, {25, 38}, {-25, 38}, {25, -38}})
      expectColour(cx + dx, cy + dy, p.R, p.G, p.B, 12);
  }
  // Every other cell is white: its centre, and the centres of the neighbours of filled cells.
  for (int row = 0; row < 6; ++row)
    for (int column = 0; column < 8; ++column) {
      const TCell cell{column * 75, row * 100};
      bool filled = false;
      for (const TPlaced& p : placed) filled |= p.Cell.Left == cell.Left && p.Cell.Top == cell.Top;
      if (!filled) expectColour(cell.Left + 37, cell.Top + 50, 255, 255, 255, 3);
    }
}

TEST(SheetFile, ReplacesAnExistingSheetAndLeavesNoTemporaryFile) {
  TTemporaryFolder folder;
  const std::string path = folder / "ペルモラ ～ Trip_1.jpg";
  test::WriteFile(path, test::Bytes("an older sheet"));
  auto sheet = WhiteSheet();
  sheet->Canvas().Brush.Color = clBlack;
  sheet->Canvas().FillRect(Rect(0, 0, 600, 600));
  WriteSheetFile(*sheet, path);
  const test::TDecodedJPEG decoded = test::DecodeWithLibjpeg(test::ReadFile(path));
  EXPECT_NEAR(decoded.Pixel(300, 300, 0), 0, 3);
  EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"ペルモラ ～ Trip_1.jpg"});
}

void ExpectCreateError(const std::string& path) {
  try {
    WriteSheetFile(*WhiteSheet(), path);
    FAIL() << "written";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "ファイル " + path + " を作成できません");
  }
}

// A name that cannot be renamed into place (a folder holds it, or it is too long for the file
// system): the temporary file was written and must go again.
TEST(SheetFile, FailedRenameRemovesTheTemporaryFile) {
  TTemporaryFolder folder;
  const std::string occupied = folder / "ペルモラ ～ Trip_1.jpg";
  ASSERT_EQ(::mkdir(occupied.c_str(), 0755), 0);
  test::WriteFile(occupied + "/inside", {1});
  ExpectCreateError(occupied);
  ExpectCreateError(folder / (std::string(300, 'x') + ".jpg"));
  EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"ペルモラ ～ Trip_1.jpg"});
}

TEST(SheetFile, MissingFolderCannotBeWritten) {
  TTemporaryFolder folder;
  ExpectCreateError(folder / "gone/ペルモラ ～ gone_1.jpg");
}

// Run by FolderWithoutWritePermission as an unprivileged user; does nothing on its own.
TEST(SheetFilePermissions, WriteAsUnprivilegedUser) {
  const char* target = std::getenv("PERMORA_TEST_READ_ONLY_FOLDER");
  if (!target) GTEST_SKIP() << "helper of FolderWithoutWritePermission, run by it only";
  ASSERT_NE(::geteuid(), 0u);
  ExpectCreateError(std::string(target) + "/ペルモラ ～ Trip_1.jpg");
}

TEST(SheetFilePermissions, FolderWithoutWritePermission) {
  if (std::getenv("PERMORA_TEST_READ_ONLY_FOLDER")) GTEST_SKIP() << "inside the helper run";
  TTemporaryFolder folder;
  ASSERT_EQ(::chmod(folder.Path().c_str(), 0555), 0);
  if (::geteuid() != 0) {
    ExpectCreateError(folder / "ペルモラ ～ Trip_1.jpg");
  } else {
    // Root writes anywhere: the write must run as somebody else.
    const std::string self = std::filesystem::read_symlink("/proc/self/exe");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::setenv("PERMORA_TEST_READ_ONLY_FOLDER", folder.Path().c_str(), 1);
      ::execl("/usr/bin/setpriv", "setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", self.c_str(),
              "--gtest_filter=SheetFilePermissions.WriteAsUnprivilegedUser", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    // setpriv's own failures (no setpriv, no right to change the user, a test binary that the
    // user may not run) exit with 126 or 127.
    if (WEXITSTATUS(status) == 126 || WEXITSTATUS(status) == 127)
      GTEST_SKIP() << "cannot run the test binary as user 65534 with setpriv";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the unprivileged write did not fail as expected";
  }
  EXPECT_TRUE(FolderEntries(folder.Path()).empty());
  ::chmod(folder.Path().c_str(), 0755);
}

}  // namespace
}  // namespace permora
