// The program in a real window: a private Xvfb display, the program started on a folder, its
// window found and measured with xwininfo, a screenshot taken while the summary box is open, the
// box answered with a real key press, the sheets and the exit status checked.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <regex>
#include <thread>

#include "support/OneColourPictures.h"
#include "support/ProgramRun.h"
#include "support/SheetLayout.h"
#include "support/XwdImage.h"

namespace permora {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;
using namespace std::chrono_literals;

const std::string kProgram = PERMORA_BINARY_DIR "/permora";
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// Polls until ready() holds; false when `patience` ran out first. Only for waiting on other
// processes: nothing here measures how fast anything is.
bool WaitUntil(const std::function<bool()>& ready, std::chrono::seconds patience = 60s) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!ready()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

bool ProcessHasEnded(pid_t pid, int& status) { return waitpid(pid, &status, WNOHANG) == pid; }

struct TWindowGeometry {
  int X = 0, Y = 0, Width = 0, Height = 0;
  bool Contains(int x, int y) const { return x >= X && x < X + Width && y >= Y && y < Y + Height; }
};

class TXvfb {
 public:
  TXvfb() {
    while (fs::exists(Socket()) || fs::exists("/tmp/.X" + std::to_string(FNumber) + "-lock")) ++FNumber;
    FPid = StartProgram({{"/usr/bin/Xvfb", Display(), "-screen", "0",
                          std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24", "-nolisten",
                          "tcp"}},
                        FStreams.Path());
    FReady = WaitUntil([this] { return Run({"/usr/bin/xdpyinfo"}).ExitStatus == 0; }, 30s);
  }
  ~TXvfb() {
    kill(FPid, SIGTERM);
    int status = 0;
    waitpid(FPid, &status, 0);
  }
  bool Ready() const { return FReady; }
  std::string Display() const { return ":" + std::to_string(FNumber); }
  // Runs an X client on this display.
  TProgramResult Run(std::vector<std::string> arguments) const {
    TProgramRun run;
    run.Arguments = std::move(arguments);
    run.Set = {{"DISPLAY", Display()}};
    return RunProgram(run);
  }
  // The id of the one window whose name matches the pattern, or "".
  std::string FindWindow(const std::string& pattern) const {
    const TProgramResult found = Run({"/usr/bin/xdotool", "search", "--onlyvisible", "--name", pattern});
    if (found.ExitStatus != 0 || found.Output.empty()) return {};
    return found.Output.substr(0, found.Output.find('\n'));
  }
  TWindowGeometry Geometry(const std::string& window) const {
    const std::string info = Run({"/usr/bin/xwininfo", "-id", window}).Output;
    auto number = [&info](const std::string& label) {
      std::smatch m;
      return std::regex_search(info, m, std::regex(label + ":\\s+(-?\\d+)")) ? std::stoi(m[1]) : -1;
    };
    return {number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"), number("Height")};
  }

 private:
  std::string Socket() const { return "/tmp/.X11-unix/X" + std::to_string(FNumber); }
  int FNumber = 90;
  TScratchFolder FStreams;
  pid_t FPid = -1;
  bool FReady = false;
};

bool Installed(const char* path) { return access(path, X_OK) == 0; }

TEST(DropletWindow, ShowsTheSheetInACentredWindowAndEndsWhenTheSummaryIsAnswered) {
  for (const char* tool : {"/usr/bin/Xvfb", "/usr/bin/xdotool", "/usr/bin/xwininfo", "/usr/bin/xwd", "/usr/bin/xdpyinfo"})
    if (!Installed(tool)) GTEST_SKIP() << tool << " is missing (scripts/packages.txt lists it)";
  const TXvfb display;
  ASSERT_TRUE(display.Ready()) << "Xvfb did not start on " << display.Display();

  const TScratchFolder scratch;
  const fs::path trip = scratch.Path() / "Trip";
  fs::create_directories(trip);
  for (int i = 1; i <= 53; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%03d.bmp", i);
    WriteOneColourBmp((trip / name).string(), 8, 8, DistinctColour(i));
  }
  // The desktop's opener is a recorder here, so that opening the folder starts nothing.
  fs::create_directories(scratch.Path() / "bin");
  const fs::path opened = scratch.Path() / "opened";
  WriteWholeFile(scratch.Path() / "bin" / "xdg-open", "#!/bin/sh\necho \"$@\" >> '" + opened.string() + "'\n");
  fs::permissions(scratch.Path() / "bin" / "xdg-open", fs::perms(0755));

  TProgramRun run;
  run.Arguments = {kProgram, trip.string()};
  run.Set = {{"DISPLAY", display.Display()}, {"PATH", (scratch.Path() / "bin").string() + ":/usr/bin:/bin"}};
  run.Unset = {"WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  run.WorkingDirectory = scratch.Path().string();
  const TScratchFolder streams;
  const pid_t program = StartProgram(run, streams.Path());
  int status = 0;
  bool ended = false;
  auto output = [&] { return "output: " + ReadWholeFile(streams.Path() / "stdout") + ReadWholeFile(streams.Path() / "stderr"); };
  auto stopProgram = [&] {
    if (ended) return;
    kill(program, SIGKILL);
    waitpid(program, &status, 0);
    ended = true;
  };

  // The summary box comes once the second sheet is written; the window then shows that sheet.
  std::string box;
  ASSERT_TRUE(WaitUntil([&] {
    if ((ended = ProcessHasEnded(program, status))) return true;
    box = display.FindWindow("^ペルモラ$");
    return !box.empty();
  })) << output();
  if (ended) FAIL() << "the program ended before its summary, status " << ExitStatusOf(status) << "; " << output();
  const std::string window = display.FindWindow("^ペルモラ - 2 枚目を処理中です\\.\\.\\.$");
  if (window.empty()) {
    stopProgram();
    FAIL() << "no window with the caption of the second sheet; " << output();
  }

  const TWindowGeometry client = display.Geometry(window);
  EXPECT_EQ(client.Width, 600);
  EXPECT_EQ(client.Height, 600);
  EXPECT_EQ(client.X, (kScreenWidth - 600) / 2);
  EXPECT_EQ(client.Y, (kScreenHeight - 600) / 2);
  const TWindowGeometry summary = display.Geometry(box);

  const fs::path shot = scratch.Path() / "screen.xwd";
  ASSERT_EQ(display.Run({"/bin/sh", "-c", "/usr/bin/xwd -root -silent > '" + shot.string() + "'"}).ExitStatus, 0);
  const TXwdImage screen(ReadWholeFile(shot));
  int looked = 0;
  for (int slot = 1; slot <= 48; ++slot) {
    const TCellPlace place = PlaceOfSlot(slot);
    const int x = client.X + place.CentreX();
    const int y = client.Y + place.CentreY();
    if (summary.Contains(x, y)) continue;  // the box lies over it
    ++looked;
    const TRgb expected = slot <= 5 ? DistinctColour(48 + slot) : kWhite;
    EXPECT_EQ(ToString(screen.At(x, y)), ToString(expected)) << SlotName(slot);
  }
  EXPECT_GE(looked, 30);

  // A real key press answers the box: its only button is the default.
  EXPECT_EQ(display.Run({"/usr/bin/xdotool", "key", "Return"}).ExitStatus, 0);
  ASSERT_TRUE(WaitUntil([&] { return (ended = ProcessHasEnded(program, status)); }, 30s)) << output();
  stopProgram();
  EXPECT_EQ(ExitStatusOf(status), 0) << output();
  EXPECT_TRUE(fs::exists(trip.parent_path() / "ペルモラ ～ Trip_1.jpg"));
  EXPECT_TRUE(fs::exists(trip.parent_path() / "ペルモラ ～ Trip_2.jpg"));
  EXPECT_FALSE(fs::exists(trip.parent_path() / "ペルモラ ～ Trip_3.jpg"));
  const TDecodedJpeg last = DecodeJpegFile((trip.parent_path() / "ペルモラ ～ Trip_2.jpg").string());
  EXPECT_TRUE(Near(last.At(37, 50), DistinctColour(49)));
  EXPECT_TRUE(Near(last.At(337, 50), DistinctColour(53)));
  EXPECT_TRUE(Near(last.At(412, 50), kWhite));
  // The folder that holds the sheets went to the desktop's opener, which runs on its own.
  EXPECT_TRUE(WaitUntil([&] { return fs::exists(opened); }, 10s));
  EXPECT_EQ(ReadWholeFile(opened), "file://" + scratch.Path().string() + "/\n");
}

}  // namespace
}  // namespace permora
