// The main window in-process and off-screen: what its layout makes of it, and the run with
// scripted boxes, bell and shell, on real folders of pictures.

#include "app/Mainwindow1.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Application.h"
#include "support/OneColourPictures.h"
#include "support/ProgramRun.h"
#include "support/ScriptedDialogs.h"
#include "support/SheetLayout.h"

namespace permora {
namespace {

namespace fs = std::filesystem;
using namespace testing_support;

struct MainWindowFixture : testing::Test {
  TScratchFolder scratch;
  TScriptedDialogs dialogs;
  std::vector<std::string> arguments{"/opt/permora/permora"};
  std::vector<const char*> argv;
  std::unique_ptr<TApplication> application;

  void Start() {
    for (const auto& a : arguments) argv.push_back(a.c_str());
    application = std::make_unique<TApplication>(static_cast<int>(argv.size()), argv.data());
    application->SetTitle("ペルモラ");
    application->CreateForm(MainForm1);
  }
  void RunWith(std::vector<std::string> folders) {
    arguments.insert(arguments.end(), folders.begin(), folders.end());
    Start();
    application->Run();
  }
  fs::path Pictures(const std::string& relative, int count) {
    const fs::path folder = scratch.Path() / relative;
    fs::create_directories(folder);
    for (int i = 1; i <= count; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "p%03d.bmp", i);
      WriteOneColourBmp((folder / name).string(), 4, 4, DistinctColour(i));
    }
    return folder;
  }
};

TEST_F(MainWindowFixture, TheLayoutMakesTheWindowAndItsComponents) {
  Start();
  TMainForm1& form = *MainForm1;
  EXPECT_EQ(form.Name(), "MainForm1");
  EXPECT_EQ(form.ClientWidth(), 600);
  EXPECT_EQ(form.ClientHeight(), 600);
  EXPECT_EQ(form.Color(), clWhite);
  EXPECT_EQ(form.BorderStyle(), TFormBorderStyle::bsToolWindow);
  EXPECT_EQ(form.FormStyle(), TFormStyle::fsStayOnTop);
  EXPECT_EQ(form.Position(), TPosition::poDesktopCenter);
  EXPECT_EQ(form.Caption(), "ペルモラ - 処理中はパソコンに触らないでネ！");
  EXPECT_EQ(form.Font().Name(), "ＭＳ Ｐゴシック");
  EXPECT_EQ(form.Font().PixelHeight(), 12);
  EXPECT_EQ(form.Font().Charset(), SHIFTJIS_CHARSET);
  EXPECT_EQ(form.OnActivate.MethodName(), "FormActivate");
  EXPECT_EQ(form.PlacedCount, 0);

  for (int slot = 1; slot <= 48; ++slot) {
    const TImage* cell = form.CellImages[static_cast<std::size_t>(slot)];
    ASSERT_NE(cell, nullptr) << SlotName(slot);
    EXPECT_EQ(cell->Name(), "Image" + std::to_string(slot));
    const TCellPlace place = PlaceOfSlot(slot);
    EXPECT_EQ(cell->BoundsRect(), Bounds((place.Column - 1) * 75, (place.Row - 1) * 100, 75, 100)) << SlotName(slot);
    EXPECT_TRUE(cell->Stretch());
    EXPECT_FALSE(cell->Proportional());
    EXPECT_FALSE(cell->Center());
    EXPECT_TRUE(cell->Visible());
    EXPECT_EQ(cell->Parent(), &form);
  }
  EXPECT_EQ(form.Image0->BoundsRect(), Bounds(540, 0, 600, 600));
  EXPECT_FALSE(form.Image0->Visible());
  EXPECT_FALSE(form.Image0->Stretch());
  EXPECT_EQ(form.Image0->Tag(), 1);
  EXPECT_EQ(form.Button1->BoundsRect(), Bounds(16, 92, 75, 25));
  EXPECT_EQ(form.Button1->Caption(), "save");
  EXPECT_EQ(form.Button1->TabOrder(), 0);
  EXPECT_FALSE(form.Button1->Visible());
  EXPECT_EQ(form.Button1->OnClick.MethodName(), "Button1Click");
  EXPECT_TRUE(form.SearchFile1->Recursive);
  EXPECT_EQ(form.SearchFile1->Tag(), 1);
  EXPECT_EQ(form.SearchFile1->Directory, "D:\\");
  EXPECT_EQ(form.SearchFile1->SearchName, "");
  EXPECT_EQ(form.SearchFile1->OnFind.MethodName(), "SearchFile1Find");
  EXPECT_FALSE(form.SearchFile1->OnFindDir.Assigned());
}

TEST_F(MainWindowFixture, WithoutArgumentsBeepsExplainsAndAsks) {
  dialogs.Boxes.Answers = {mrOk, mrYes};
  RunWith({});
  ASSERT_EQ(dialogs.Boxes.Shown.size(), 2u);
  EXPECT_EQ(dialogs.Boxes.Shown[0].Caption, "ペルモラ");
  EXPECT_EQ(dialogs.Boxes.Shown[0].Type, mtCustom);
  EXPECT_EQ(dialogs.Boxes.Shown[0].Text, "アイコン（実行ファイル）上にフォルダをドロップしてください。");
  EXPECT_EQ(dialogs.Boxes.Shown[1].Caption, "確認");
  EXPECT_EQ(dialogs.Boxes.Shown[1].Type, mtConfirmation);
  EXPECT_EQ(dialogs.Boxes.Shown[1].Buttons, (TMsgDlgButtons{mbYes, mbNo}));
  EXPECT_EQ(dialogs.Boxes.Shown[1].Text, "インフォメーションを参照しますか？");
  EXPECT_EQ(dialogs.Sound.Beeps, 1);
  ASSERT_EQ(dialogs.Shell.Targets.size(), 1u);
  EXPECT_TRUE(dialogs.Shell.Targets[0].ends_with("/info.php?pf=w&sn=permora")) << dialogs.Shell.Targets[0];
  EXPECT_TRUE(MainForm1->Closed());
}

TEST(InformationPage, IsNamedAfterTheExecutableWithoutItsExtension) {
  EXPECT_TRUE(InformationPageAddress("/opt/bin/sheets.exe").ends_with("/info.php?pf=w&sn=sheets"));
  EXPECT_TRUE(InformationPageAddress("/opt/bin/permora").ends_with("/info.php?pf=w&sn=permora"));
  EXPECT_TRUE(InformationPageAddress("/opt/bin.d/my tool").ends_with("/info.php?pf=w&sn=my tool"));
}

TEST_F(MainWindowFixture, APageBreakBeepsAndShowsTheNewSheetNumber) {
  const fs::path trip = Pictures("Trip", 49);
  RunWith({trip.string()});
  EXPECT_EQ(MainForm1->Caption(), "ペルモラ - 2 枚目を処理中です...");
  EXPECT_EQ(MainForm1->Image0->Tag(), 2);
  EXPECT_EQ(MainForm1->SearchFile1->Tag(), 2);
  EXPECT_EQ(MainForm1->PlacedCount, 48);
  EXPECT_EQ(dialogs.Sound.Beeps, 2);  // the page break, then the end of the run
  ASSERT_EQ(dialogs.Boxes.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Boxes.Shown[0].Text, "計 2 枚のファイルが作成されました。保存したフォルダを開きます。");
  EXPECT_EQ(dialogs.Shell.Targets, std::vector<String>{scratch.Path().string() + "/"});
  EXPECT_TRUE(MainForm1->Closed());
  EXPECT_EQ(application->ExitCode(), 0);
}

TEST_F(MainWindowFixture, NoPictureAtAllBeepsAndSaysSo) {
  const fs::path empty = Pictures("Empty", 0);
  RunWith({empty.string()});
  ASSERT_EQ(dialogs.Boxes.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Boxes.Shown[0].Text, "フォルダの中に画像ファイルは存在しませんでした。");
  EXPECT_EQ(dialogs.Sound.Beeps, 1);
  EXPECT_TRUE(dialogs.Shell.Targets.empty());
  EXPECT_TRUE(MainForm1->Closed());
}

TEST_F(MainWindowFixture, APictureThatFailsAtAPageBreakLeavesTheCountersAsTheyWere) {
  const fs::path trip = Pictures("Trip", 48);
  WriteWholeFile(trip / "p049.bmp", std::string(64, 'X'));
  RunWith({trip.string()});
  // The full sheet was written and the grid emptied; the failed picture changed no counter.
  EXPECT_TRUE(fs::exists(scratch.Path() / "ペルモラ ～ Trip_1.jpg"));
  EXPECT_EQ(MainForm1->SearchFile1->Tag(), 49);
  EXPECT_EQ(MainForm1->Image0->Tag(), 1);
  EXPECT_EQ(MainForm1->Caption(), "ペルモラ - 処理中はパソコンに触らないでネ！");
  EXPECT_EQ(MainForm1->CellImages[1]->Picture().Graphic(), nullptr);
  ASSERT_EQ(dialogs.Boxes.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Boxes.Shown[0].Type, mtError);
  EXPECT_EQ(dialogs.Boxes.Shown[0].Text, "ビットマップイメージが不正です.");
  EXPECT_FALSE(MainForm1->Closed());
  EXPECT_EQ(application->ExitCode(), 1);
}

TEST_F(MainWindowFixture, APictureThatFailsInAFreeSlotTakesNoSlot) {
  const fs::path trip = Pictures("Trip", 3);
  WriteWholeFile(trip / "p004.bmp", "BM");
  RunWith({trip.string()});
  EXPECT_EQ(MainForm1->SearchFile1->Tag(), 4);
  EXPECT_EQ(MainForm1->PlacedCount, 3);
  ASSERT_EQ(dialogs.Boxes.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Boxes.Shown[0].Text, "ストリームからの読み込みエラー.");
  EXPECT_TRUE(MainForm1->CellImages[3]->Picture().Graphic() != nullptr);
  EXPECT_EQ(MainForm1->CellImages[4]->Picture().Graphic(), nullptr);
  EXPECT_FALSE(fs::exists(scratch.Path() / "ペルモラ ～ Trip_1.jpg"));
}

TEST_F(MainWindowFixture, TheWindowShowsEachPlacedPictureAtOnce) {
  const fs::path trip = Pictures("Trip", 9);
  Start();
  MainForm1->SearchFile1->Directory = trip.string();
  bool Continue = true;
  MainForm1->SearchFile1Find(MainForm1->SearchFile1, (trip / "p009.bmp").string(), TSearchFileData(), Continue);
  // Slot 1 is at the top left, without any further paint.
  const uint32_t pixel = MainForm1->Surface().Pixel(37, 50);
  const TRgb colour = DistinctColour(9);
  EXPECT_EQ(pixel, uint32_t{colour.R} << 16 | uint32_t{colour.G} << 8 | colour.B);
  EXPECT_TRUE(Continue);
}

}  // namespace
}  // namespace permora
