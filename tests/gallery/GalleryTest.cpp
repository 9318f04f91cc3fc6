// The real gallery program: its rendered grid decoded and read pixel by pixel, its errors, and its
// window under Xvfb compared with the grid.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "platform/Graphics.h"

extern char** environ;

namespace permora {
namespace {

namespace fs = std::filesystem;

const std::string kGallery = PERMORA_BINARY_DIR "/button-gallery";
const std::string kSample = PERMORA_SOURCE_DIR "/gallery/sample.layout";

struct TTempDir {
  fs::path path;
  TTempDir() {
    std::string pattern = (fs::temp_directory_path() / "gallery-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path = pattern;
  }
  ~TTempDir() { fs::remove_all(path); }
  fs::path Write(const std::string& name, const std::string& text) const {
    std::ofstream(path / name, std::ios::binary) << text;
    return path / name;
  }
};

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A child process with its own environment additions; killed and reaped by its owner.
class TChild {
 public:
  TChild(const std::vector<std::string>& args, const std::vector<std::string>& env, const fs::path& out,
         const fs::path& err) {
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    for (const std::string& add : env) {
      const std::string key = add.substr(0, add.find('=') + 1);
      std::erase_if(environment, [&](const std::string& v) { return v.rfind(key, 0) == 0; });
      environment.push_back(add);
    }
    std::vector<char*> argv, envp;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const auto& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int rc = posix_spawn(&FPid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) FPid = -1;
  }
  ~TChild() {
    if (FPid <= 0 || FReaped) return;
    kill(FPid, SIGTERM);
    waitpid(FPid, nullptr, 0);
  }
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;
  bool Started() const { return FPid > 0; }
  bool Running() {
    if (FReaped) return false;
    int status = 0;
    if (waitpid(FPid, &status, WNOHANG) == FPid) {
      FReaped = true;
      FStatus = status;
    }
    return !FReaped;
  }
  int Wait() {
    if (!FReaped) {
      waitpid(FPid, &FStatus, 0);
      FReaped = true;
    }
    return WIFEXITED(FStatus) ? WEXITSTATUS(FStatus) : 128 + WTERMSIG(FStatus);
  }

 private:
  pid_t FPid = -1;
  bool FReaped = false;
  int FStatus = 0;
};

struct TRun {
  int status;
  std::string out, err;
};

TRun RunTool(const TTempDir& dir, const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
  TChild child(args, env, dir.path / "stdout", dir.path / "stderr");
  if (!child.Started()) return {127, "", "could not start " + args[0]};
  const int status = child.Wait();
  return {status, ReadFile(dir.path / "stdout"), ReadFile(dir.path / "stderr")};
}

// ---- The rendered grid --------------------------------------------------------------------------

// Two small buttons without captions in colours of their own, a transparent one and a platform
// speed button, on a form of a colour that shows where a button is not.
const char* kGridLayout = R"(object Grid: TForm
  ClientWidth = 100
  ClientHeight = 60
  Color = $0000FF00
  object Flat: TShineSpeedButton
    Left = 4
    Top = 4
    Width = 6
    Height = 5
    FrameType = ftFlatFrame
    Colors.Color = $00C0C0C0
    Colors.Highlight = clWhite
    Colors.Shadow = $00808080
    PressedColors.Color = $00808000
    PressedColors.Highlight = $0000FFFF
    PressedColors.Shadow = $000000FF
  end
  object Tall: TShineSpeedButton
    Left = 20
    Top = 4
    Width = 4
    Height = 8
    UpFrame = False
    ActiveFrame = False
    DownFrame = False
    Colors.Color = $00FF0000
    PressedColors.Color = $00800080
  end
  object Clear: TShineSpeedButton
    Left = 30
    Top = 4
    Width = 4
    Height = 4
    Transparent = True
    UpFrame = False
    ActiveFrame = False
    DownFrame = False
  end
  object Plain: TSpeedButton
    Left = 40
    Top = 4
    Width = 5
    Height = 4
  end
end
)";

constexpr uint32_t kGreen = 0x0000FF00;  // the form, as a pixel

std::vector<std::string> Cell(const QImage& grid, int row, int column, int w, int h,
                              const std::vector<std::pair<char, uint32_t>>& letters) {
  std::vector<std::string> rows;
  for (int y = 0; y < h; ++y) {
    std::string line;
    for (int x = 0; x < w; ++x) {
      const uint32_t p = grid.pixel(column * w + x, row * h + y) & 0x00FFFFFFu;
      char c = '?';
      for (const auto& [letter, value] : letters)
        if (value == p) c = letter;
      line += c;
    }
    rows.push_back(line);
  }
  return rows;
}

const std::vector<std::pair<char, uint32_t>> kLetters = {
    {'g', kGreen},      {'F', 0x00C0C0C0}, {'H', 0x00FFFFFF}, {'S', 0x00808080}, {'P', 0x00008080},
    {'h', 0x00FFFF00}, {'s', 0x00FF0000}, {'B', 0x000000FF}, {'U', 0x00800080}, {'D', 0x00000000}};

TEST(GalleryRender, PaintsEveryButtonInEveryLookOnTheGrid) {
  TTempDir dir;
  const fs::path layout = dir.Write("grid.layout", kGridLayout);
  const fs::path out = dir.path / "grid.png";
  const TRun run = RunTool(dir, {kGallery, "--render", layout.string(), out.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  QImage grid(QString::fromStdString(out.string()));
  ASSERT_FALSE(grid.isNull());
  // Cells are as wide as the widest button (6) and as high as the highest (8); 4 rows, 5 columns.
  ASSERT_EQ(grid.width(), 30);
  ASSERT_EQ(grid.height(), 32);
  const int w = 6, h = 8;
  // Row 0, the flat button: pressed looks in the pressed set, raised ones in the raised set.
  const std::vector<std::string> pressed = {"sssssP", "sPPPPh", "sPPPPh", "sPPPPh", "Phhhhh", "gggggg", "gggggg", "gggggg"};
  const std::vector<std::string> up = {"HHHHHF", "HFFFFS", "HFFFFS", "HFFFFS", "FSSSSS", "gggggg", "gggggg", "gggggg"};
  EXPECT_EQ(Cell(grid, 0, 0, w, h, kLetters), pressed);
  EXPECT_EQ(Cell(grid, 0, 1, w, h, kLetters), pressed);
  EXPECT_EQ(Cell(grid, 0, 2, w, h, kLetters), up);
  EXPECT_EQ(Cell(grid, 0, 3, w, h, kLetters), up);
  EXPECT_EQ(Cell(grid, 0, 4, w, h, kLetters), up);
  // Row 1, the tall frameless one: its face, then the form's colour to the cell's right.
  for (int column = 0; column < 5; ++column) {
    const char face = column < 2 ? 'U' : 'B';
    EXPECT_EQ(Cell(grid, 1, column, w, h, kLetters), std::vector<std::string>(8, std::string(4, face) + "gg"))
        << column;
  }
  // Row 2, transparent: the form's colour throughout.
  for (int column = 0; column < 5; ++column)
    EXPECT_EQ(Cell(grid, 2, column, w, h, kLetters), std::vector<std::string>(8, "gggggg")) << column;
  // Row 3, the platform button: sunken for the down looks, raised otherwise.
  const auto platformCorner = [&](int column) { return grid.pixel(column * w, 3 * h) & 0x00FFFFFFu; };
  EXPECT_EQ(platformCorner(0), 0x00000000u);
  EXPECT_EQ(platformCorner(1), 0x00000000u);
  EXPECT_EQ(platformCorner(2), 0x00FFFFFFu);
  EXPECT_EQ(platformCorner(3), 0x00FFFFFFu);
  EXPECT_EQ(platformCorner(4), 0x00FFFFFFu);
  EXPECT_EQ(grid.pixel(5, 3 * h) & 0x00FFFFFFu, kGreen) << "beside the 5-pixel button";
}

TEST(GalleryRender, TheSampleLayoutRendersOneRowPerButton) {
  TTempDir dir;
  const fs::path out = dir.path / "sample.png";
  const TRun run = RunTool(dir, {kGallery, "--render", kSample, out.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  QImage grid(QString::fromStdString(out.string()));
  ASSERT_FALSE(grid.isNull());
  const std::string text = ReadFile(kSample);
  int buttons = 0;
  for (std::size_t at = 0; (at = text.find(": T", at)) != std::string::npos; ++at)
    if (text.compare(at, 19, ": TShineSpeedButton") == 0 || text.compare(at, 14, ": TSpeedButton") == 0) ++buttons;
  EXPECT_EQ(grid.width(), 5 * 96);
  EXPECT_EQ(grid.height(), buttons * 44);
}

struct BadLayoutRow {
  const char* name;
  const char* text;  // null: no file at all
  const char* message;
};

class GalleryBadLayout : public testing::TestWithParam<BadLayoutRow> {};

TEST_P(GalleryBadLayout, PrintsTheReadersErrorAndExitsWithOne) {
  const BadLayoutRow& row = GetParam();
  TTempDir dir;
  const fs::path layout = row.text ? dir.Write("bad.layout", row.text) : dir.path / "missing.layout";
  const fs::path out = dir.path / "out.png";
  const TRun run = RunTool(dir, {kGallery, "--render", layout.string(), out.string()});
  EXPECT_EQ(run.status, 1);
  const std::string expected = std::string(row.message);
  EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, GalleryBadLayout,
    testing::Values(BadLayoutRow{"UnknownProperty",
                                 "object G: TForm\n  object B: TShineSpeedButton\n    Colour = clRed\n  end\nend\n",
                                 "bad.layout:3: "},
                    BadLayoutRow{"Unterminated", "object G: TForm\n  object B: TShineSpeedButton\n", "bad.layout:"},
                    BadLayoutRow{"WrongRootClass", "object G: TPanel\nend\n", "bad.layout:1: "},
                    BadLayoutRow{"NoButtons", "object G: TForm\nend\n", "the layout places no buttons on the form"},
                    BadLayoutRow{"MissingFile", nullptr, "missing.layout"}),
    [](const testing::TestParamInfo<BadLayoutRow>& info) { return std::string(info.param.name); });

TEST(GalleryArguments, WrongArgumentsPrintTheUsage) {
  TTempDir dir;
  const TRun run = RunTool(dir, {kGallery, "--render", kSample});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("usage: button-gallery"), std::string::npos);
}

// ---- The window under Xvfb ------------------------------------------------------------------------

bool OnPath(const std::string& tool) {
  return RunTool(TTempDir(), {"/usr/bin/which", tool}).status == 0;
}

// Polls until check succeeds, about ten seconds have passed or giveUp says there is no point.
bool Eventually(const std::function<bool()>& check, const std::function<bool()>& giveUp = [] { return false; }) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < end) {
    if (check()) return true;
    if (giveUp()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return check();
}

// Two grouped buttons with captions; the second starts latched.
const char* kWindowLayout = R"(object WindowTest: TForm
  Caption = 'gallery-window-test'
  ClientWidth = 200
  ClientHeight = 60
  Color = clBtnFace
  object First: TShineSpeedButton
    Left = 10
    Top = 10
    Width = 80
    Height = 30
    GroupIndex = 1
    Caption = 'First'
    FontShadow = clWhite
  end
  object Second: TShineSpeedButton
    Left = 100
    Top = 10
    Width = 80
    Height = 30
    GroupIndex = 1
    Down = True
    FrameType = ftEnclosedFrame
    Caption = 'Second'
  end
end
)";

class GalleryWindow : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool", "import"})
      if (!OnPath(tool)) GTEST_SKIP() << tool << " is not installed: the window test does not run";
    FDisplay = FreeDisplay();
    FServer = std::make_unique<TChild>(
        std::vector<std::string>{"/usr/bin/Xvfb", ":" + std::to_string(FDisplay), "-screen", "0", "640x480x24",
                                 "-nolisten", "tcp"},
        std::vector<std::string>{}, dir.path / "xvfb.out", dir.path / "xvfb.err");
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(FDisplay);
    ASSERT_TRUE(Eventually([&] { return fs::exists(socket); })) << ReadFile(dir.path / "xvfb.err");
  }

  static int FreeDisplay() {
    for (int n = 91; n < 191; ++n)
      if (!fs::exists("/tmp/.X" + std::to_string(n) + "-lock") &&
          !fs::exists("/tmp/.X11-unix/X" + std::to_string(n)))
        return n;
    return 191;
  }
  std::vector<std::string> Env() const {
    return {"DISPLAY=:" + std::to_string(FDisplay), "QT_QPA_PLATFORM=xcb"};
  }
  TRun Tool(const std::vector<std::string>& args) { return RunTool(toolDir, args, Env()); }

  // The window's client area as an image, or a null image.
  QImage Screenshot(const std::string& window) {
    const fs::path shot = dir.path / "shot.png";
    fs::remove(shot);
    if (Tool({"/usr/bin/import", "-window", window, "png:" + shot.string()}).status != 0) return {};
    return QImage(QString::fromStdString(shot.string()));
  }

  TTempDir dir;
  TTempDir toolDir;
  int FDisplay = 0;
  std::unique_ptr<TChild> FServer;
};

bool SamePixels(const QImage& shot, QPoint at, const QImage& grid, QPoint cell, QSize size) {
  if (shot.isNull() || shot.width() < at.x() + size.width() || shot.height() < at.y() + size.height()) return false;
  for (int y = 0; y < size.height(); ++y)
    for (int x = 0; x < size.width(); ++x)
      if ((shot.pixel(at.x() + x, at.y() + y) & 0xFFFFFF) != (grid.pixel(cell.x() + x, cell.y() + y) & 0xFFFFFF))
        return false;
  return true;
}

TEST_F(GalleryWindow, ShowsTheRenderedLooksUnderThePointerAndAfterAClick) {
  const fs::path layout = dir.Write("window.layout", kWindowLayout);
  const fs::path gridFile = dir.path / "grid.png";
  ASSERT_EQ(RunTool(dir, {kGallery, "--render", layout.string(), gridFile.string()}).status, 0);
  const QImage grid(QString::fromStdString(gridFile.string()));
  ASSERT_FALSE(grid.isNull());
  const QSize cell(80, 30);
  const auto cellOf = [&](int row, int state) { return QPoint(state * 80, row * 30); };
  enum { ActiveDown = 0, Down = 1, Active = 2, Up = 3 };

  TChild gallery({kGallery, "--classic-colours", layout.string()}, Env(), dir.path / "gallery.out",
                 dir.path / "gallery.err");
  ASSERT_TRUE(gallery.Started());
  std::string window;
  ASSERT_TRUE(Eventually([&] {
    const TRun found = Tool({"/usr/bin/xdotool", "search", "--onlyvisible", "--name", "gallery-window-test"});
    if (found.status != 0 || found.out.empty()) return false;
    window = found.out.substr(0, found.out.find('\n'));
    return true;
  }, [&] { return !gallery.Running(); })) << ReadFile(dir.path / "gallery.err");

  const QPoint first(10, 10), second(100, 10);
  EXPECT_TRUE(Eventually([&] {
    const QImage shot = Screenshot(window);
    return SamePixels(shot, first, grid, cellOf(0, Up), cell) && SamePixels(shot, second, grid, cellOf(1, Down), cell);
  })) << "the window first shows First up and Second latched";

  ASSERT_EQ(Tool({"/usr/bin/xdotool", "mousemove", "--window", window, "40", "25"}).status, 0);
  EXPECT_TRUE(Eventually([&] { return SamePixels(Screenshot(window), first, grid, cellOf(0, Active), cell); }))
      << "the hovered button shows its vsActive cell";

  ASSERT_EQ(Tool({"/usr/bin/xdotool", "click", "1"}).status, 0);
  EXPECT_TRUE(Eventually([&] {
    const QImage shot = Screenshot(window);
    return SamePixels(shot, first, grid, cellOf(0, ActiveDown), cell) &&
           SamePixels(shot, second, grid, cellOf(1, Up), cell);
  })) << "the click latches First under the pointer and releases Second";
  EXPECT_TRUE(gallery.Running()) << ReadFile(dir.path / "gallery.err");
}

}  // namespace
}  // namespace permora
