#include "platform/Application.h"

#include <gtest/gtest.h>

#include "platform/Dialogs.h"
#include "support/ScriptedDialogs.h"

namespace permora {
namespace {

using testing_support::TScriptedDialogs;

// A form whose activation runs a scripted handler and counts how often it ran.
class TScriptedForm : public TForm {
 public:
  explicit TScriptedForm(TComponent* owner) : TForm(owner) { OnActivate = TNotifyEvent(this, &TScriptedForm::Activated); }
  std::function<void(TScriptedForm&)> Handler;
  int Activations = 0;

 private:
  void Activated(TObject*) {
    ++Activations;
    if (Handler) Handler(*this);
  }
};

struct ApplicationFixture : testing::Test {
  const char* argv[3] = {"/opt/tools/sheets.exe", "first", "second dir/"};
  TApplication application{3, argv};
  TScriptedDialogs dialogs;
  TScriptedForm* form = nullptr;
  void SetUp() override {
    application.SetTitle("ペルモラ");
    application.CreateForm(form);
  }
};

TEST_F(ApplicationFixture, KeepsTheCommandLineUnchanged) {
  EXPECT_EQ(Application, &application);
  EXPECT_EQ(ParamCount(), 2);
  EXPECT_EQ(ParamStr(0), "/opt/tools/sheets.exe");
  EXPECT_EQ(ParamStr(1), "first");
  EXPECT_EQ(ParamStr(2), "second dir/");
  EXPECT_EQ(ParamStr(3), "");
  EXPECT_EQ(ParamStr(-1), "");
}

TEST(ApplicationPath, MakesARelativeProgramPathAbsolute) {
  const char* argv[1] = {"build/permora"};
  const TApplication application(1, argv);
  EXPECT_EQ(application.ParamStr(0), GetCurrentDir() + "/build/permora");
  EXPECT_EQ(application.ParamCount(), 0);
}

TEST_F(ApplicationFixture, FirstFormIsTheMainFormOwnedByTheApplication) {
  TScriptedForm* second = nullptr;
  application.CreateForm(second);
  EXPECT_EQ(application.MainForm(), form);
  EXPECT_EQ(form->Owner(), &application);
  EXPECT_EQ(second->Owner(), &application);
}

TEST_F(ApplicationFixture, OffScreenRunShowsAndActivatesTheMainFormOnce) {
  form->Handler = [](TScriptedForm& f) { f.Close(); };
  application.Run();
  EXPECT_EQ(form->Activations, 1);
  EXPECT_TRUE(form->Closed());
  EXPECT_TRUE(application.Terminated());
  EXPECT_EQ(application.ExitCode(), 0);
  EXPECT_TRUE(dialogs.Boxes.Shown.empty());
}

struct EscapingError {
  const char* name;
  std::function<void()> raise;
  const char* shown;  // the error display's text
};

class ErrorDisplay : public ApplicationFixture, public testing::WithParamInterface<EscapingError> {};

TEST_P(ErrorDisplay, ShowsTheMessageWithTheTitleAndTheStopIconAndExitsWithOne) {
  form->Handler = [](TScriptedForm&) { GetParam().raise(); };
  application.Run();
  ASSERT_EQ(dialogs.Boxes.Shown.size(), 1u);
  const TMessageBoxRequest& box = dialogs.Boxes.Shown[0];
  EXPECT_EQ(box.Text, GetParam().shown);
  EXPECT_EQ(box.Caption, "ペルモラ");
  EXPECT_EQ(box.Type, mtError);
  EXPECT_EQ(box.Buttons, TMsgDlgButtons{mbOK});
  EXPECT_EQ(application.ExitCode(), 1);
  // The window stays open after an error: only the user closes it.
  EXPECT_FALSE(form->Closed());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ErrorDisplay,
    testing::Values(
        EscapingError{"JapaneseMessageGetsAPeriod", [] { throw EFCreateError("ファイル /x/y.jpg を作成できません"); },
                      "ファイル /x/y.jpg を作成できません."},
        EscapingError{"MessageEndingInAPeriodKeepsIt", [] { throw Exception("done."); }, "done."},
        EscapingError{"MessageEndingInABlankGetsNone", [] { throw Exception("x -"); }, "x -"},
        EscapingError{"OtherExceptionsShowAnEmptyMessage", [] { throw std::runtime_error("internal"); }, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ApplicationFixture, SilentStopShowsNothing) {
  form->Handler = [](TScriptedForm&) { Abort(); };
  application.Run();
  EXPECT_TRUE(dialogs.Boxes.Shown.empty());
  EXPECT_EQ(application.ExitCode(), 0);
}

// A message loop that records what the application asks of it and delivers one activation.
class TRecordingLoop final : public IMessageLoop {
 public:
  explicit TRecordingLoop(TCustomForm& form) : FForm(form) {}
  void Run() override {
    ++Runs;
    Application->Dispatch([this] { FForm.Activate(); });
  }
  void Quit() override { ++Quits; }
  int Runs = 0;
  int Quits = 0;

 private:
  TCustomForm& FForm;
};

TEST_F(ApplicationFixture, ClosingTheMainFormInAHandlerEndsTheBackendsLoop) {
  TRecordingLoop loop(*form);
  SetMessageLoop(&loop);
  form->Handler = [](TScriptedForm& f) { f.Close(); };
  application.Run();
  SetMessageLoop(nullptr);
  EXPECT_EQ(loop.Runs, 1);
  EXPECT_EQ(loop.Quits, 1);
}

TEST_F(ApplicationFixture, AnErrorKeepsTheLoopRunning) {
  TRecordingLoop loop(*form);
  SetMessageLoop(&loop);
  form->Handler = [](TScriptedForm&) { throw EInvalidGraphic("ビットマップイメージが不正です"); };
  application.Run();
  SetMessageLoop(nullptr);
  EXPECT_EQ(loop.Quits, 0);
  EXPECT_EQ(application.ExitCode(), 1);
}

TEST_F(ApplicationFixture, BoxesCarryTheirCaptionsKindsAndButtons) {
  dialogs.Boxes.Answers = {mrOk, mrYes};
  ShowMessage("plain");
  EXPECT_EQ(MessageDlg("question", mtConfirmation, {mbYes, mbNo}, 0), mrYes);
  ASSERT_EQ(dialogs.Boxes.Shown.size(), 2u);
  EXPECT_EQ(dialogs.Boxes.Shown[0].Caption, "ペルモラ");
  EXPECT_EQ(dialogs.Boxes.Shown[0].Type, mtCustom);
  EXPECT_EQ(dialogs.Boxes.Shown[0].Buttons, TMsgDlgButtons{mbOK});
  EXPECT_EQ(dialogs.Boxes.Shown[1].Caption, "確認");
  EXPECT_EQ(dialogs.Boxes.Shown[1].Type, mtConfirmation);
  EXPECT_EQ(dialogs.Boxes.Shown[1].Buttons, (TMsgDlgButtons{mbYes, mbNo}));
}

TEST_F(ApplicationFixture, AConfirmationClosedWithoutAButtonIsNotYes) {
  EXPECT_EQ(MessageDlg("question", mtConfirmation, {mbYes, mbNo}, 0), mrNo);
}

TEST_F(ApplicationFixture, BeepAndShellGoToTheirServices) {
  MessageBeep(0);
  MessageBeep(0);
  ShellExecute("OPEN", "/photos/");
  ShellExecute("open", "https://example.org/x");
  ShellExecute("print", "/photos/a.jpg");
  EXPECT_EQ(dialogs.Sound.Beeps, 2);
  EXPECT_EQ(dialogs.Shell.Targets, (std::vector<String>{"/photos/", "https://example.org/x"}));
}

TEST(DialogsWithoutServices, DoNothingAndAnswerAsEscape) {
  const TDialogServices saved = DialogServices();
  DialogServices() = TDialogServices{};
  ShowMessage("nobody sees this");
  MessageBeep(0);
  ShellExecute("OPEN", "/tmp/");
  EXPECT_EQ(MessageDlg("q", mtConfirmation, {mbYes, mbNo}, 0), mrNo);
  EXPECT_EQ(MessageDlg("q", mtWarning, {mbOK, mbCancel}, 0), mrCancel);
  DialogServices() = saved;
}

}  // namespace
}  // namespace permora
