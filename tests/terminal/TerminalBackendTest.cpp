#include <gtest/gtest.h>

#include <sstream>

#include "platform/terminal/TerminalMessageBoxes.h"
#include "platform/terminal/TerminalShell.h"
#include "platform/terminal/TerminalSound.h"

namespace permora {
namespace {

struct TerminalBoxes : testing::Test {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  TTerminalMessageBoxes boxes{in, out, err};
};

TEST_F(TerminalBoxes, PlainBoxPrintsItsTextOnStandardOutputAndWaitsForNothing) {
  in.str("y\n");
  EXPECT_EQ(boxes.ShowModal({"ペルモラ", "フォルダの中に画像ファイルは存在しませんでした。", mtCustom, {mbOK}}), mrOk);
  EXPECT_EQ(out.str(), "フォルダの中に画像ファイルは存在しませんでした。\n");
  EXPECT_EQ(err.str(), "");
  // The answer line is still there for a later confirmation.
  EXPECT_EQ(in.tellg(), 0);
}

TEST_F(TerminalBoxes, ErrorDisplayPrintsOnStandardError) {
  boxes.ShowModal({"ペルモラ", "ファイル /a/b.jpg は開けません.", mtError, {mbOK}});
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "ファイル /a/b.jpg は開けません.\n");
}

TEST_F(TerminalBoxes, TextThatIsNotUtf8IsShownWithReplacements) {
  boxes.ShowModal({"", "ファイル /a/\x83\x65.jpg は開けません", mtError, {mbOK}});
  EXPECT_EQ(err.str(), "ファイル /a/\xEF\xBF\xBD\x65.jpg は開けません\n");
}

struct Answer {
  const char* name;
  const char* input;
  int result;
};

class ConfirmationAnswers : public TerminalBoxes, public testing::WithParamInterface<Answer> {};

TEST_P(ConfirmationAnswers, ReadOneLine) {
  in.str(GetParam().input);
  EXPECT_EQ(boxes.ShowModal({"確認", "インフォメーションを参照しますか？", mtConfirmation, {mbYes, mbNo}}), GetParam().result);
  EXPECT_EQ(out.str(), "インフォメーションを参照しますか？\n");
}

INSTANTIATE_TEST_SUITE_P(Cases, ConfirmationAnswers,
                         testing::Values(Answer{"y", "y\n", mrYes}, Answer{"Yes", "Yes\n", mrYes},
                                         Answer{"YES", "YES\n", mrYes}, Answer{"Hai", "はい\n", mrYes},
                                         Answer{"BlanksAndCarriageReturn", "  y \r\n", mrYes},
                                         Answer{"LastLineWithoutNewline", "yes", mrYes},
                                         Answer{"EmptyLine", "\n", mrNo}, Answer{"n", "n\n", mrNo},
                                         Answer{"OnlyTheFirstLineCounts", "no\ny\n", mrNo},
                                         Answer{"YesWithMore", "yess\n", mrNo},
                                         Answer{"EndOfInput", "", mrNo}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TerminalSound, RingsOnlyOnATerminal) {
  std::ostringstream err;
  TTerminalSound redirected(err, false);
  redirected.Beep();
  EXPECT_EQ(err.str(), "");
  TTerminalSound terminal(err, true);
  terminal.Beep();
  EXPECT_EQ(err.str(), "\a");
}

TEST(TerminalShell, PrintsTheTarget) {
  std::ostringstream out;
  TTerminalShell shell(out);
  shell.Open("/photos/");
  shell.Open("https://permora.example.org/info.php?pf=w&sn=sheets");
  EXPECT_EQ(out.str(), "/photos/\nhttps://permora.example.org/info.php?pf=w&sn=sheets\n");
}

}  // namespace
}  // namespace permora
