#include "platform/Button.h"

#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/LayoutFile.h"
#include "support/BlockTextRenderer.h"
#include "support/ScriptedHost.h"

namespace permora {
namespace {

class TButtonForm : public TForm {
 public:
  explicit TButtonForm(TComponent* owner) : TForm(owner) {}
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info("TButtonForm", &TForm::StaticClassInfo(), {}, {},
                                 {published::Method("Button1Click", &TButtonForm::Button1Click)},
                                 {published::Field("Button1", &TButtonForm::Button1)});
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  void Button1Click(TObject* sender) {
    ++Clicks;
    LastSender = sender;
  }
  TButton* Button1 = nullptr;
  int Clicks = 0;
  TObject* LastSender = nullptr;
};

struct ButtonFixture : testing::Test {
  testing_support::TScriptedHost host;
  testing_support::TBlockTextRenderer text;
  TButtonForm form{nullptr};
  void SetUp() override {
    SetTextRenderer(&text);
    RegisterClass(TButton::StaticClassInfo());
    ReadComponentLayout(form,
                        "object Form1: TButtonForm\n"
                        "  ClientWidth = 120\n"
                        "  ClientHeight = 60\n"
                        "  Color = clWhite\n"
                        "  object Button1: TButton\n"
                        "    Left = 16\n"
                        "    Top = 20\n"
                        "    Width = 75\n"
                        "    Height = 25\n"
                        "    Caption = '&save'\n"
                        "    TabOrder = 0\n"
                        "    OnClick = Button1Click\n"
                        "  end\n"
                        "end\n",
                        "test.layout");
    form.Repaint();
  }
  void TearDown() override { SetTextRenderer(nullptr); }
};

TEST_F(ButtonFixture, ComesFromTheLayoutWithItsValues) {
  ASSERT_NE(form.Button1, nullptr);
  EXPECT_EQ(form.Button1->BoundsRect(), Bounds(16, 20, 75, 25));
  EXPECT_EQ(form.Button1->Caption(), "&save");
  EXPECT_EQ(form.Button1->TabOrder(), 0);
  EXPECT_TRUE(form.Button1->Visible());
  EXPECT_EQ(form.Button1->Parent(), &form);
}

TEST_F(ButtonFixture, WritesOnlyWhatDiffersFromTheDefaults) {
  form.Button1->SetVisible(false);
  const String layout = WriteComponentLayout(form);
  EXPECT_NE(layout.find("    TabOrder = 0\n"), String::npos);
  EXPECT_NE(layout.find("    Visible = False\n"), String::npos);
  EXPECT_NE(layout.find("    OnClick = Button1Click\n"), String::npos);
  EXPECT_EQ(layout.find("Enabled"), String::npos);
}

TEST_F(ButtonFixture, ClicksOnAReleaseOverItAndOnItsAccelerator) {
  host.Click(form, {20, 30});
  EXPECT_EQ(form.Clicks, 1);
  EXPECT_EQ(form.LastSender, form.Button1);
  // Pressed over it, released elsewhere: no click.
  host.Press(form, {20, 30});
  host.Release(form, {110, 55});
  EXPECT_EQ(form.Clicks, 1);
  EXPECT_TRUE(form.DialogChar('S'));
  EXPECT_EQ(form.Clicks, 2);
  EXPECT_FALSE(form.DialogChar('X'));
  EXPECT_EQ(form.Clicks, 2);
}

TEST_F(ButtonFixture, AHiddenButtonIsNeitherDrawnNorClicked) {
  form.Button1->SetVisible(false);
  form.Update();
  EXPECT_EQ(form.Surface().Pixel(50, 32), 0x00FFFFFFu);
  host.Click(form, {20, 30});
  EXPECT_FALSE(form.DialogChar('S'));
  EXPECT_EQ(form.Clicks, 0);
  // Called directly it still raises its event, as the program does with a hidden button.
  form.Button1->Click();
  EXPECT_EQ(form.Clicks, 1);
}

TEST_F(ButtonFixture, DrawsARaisedFaceWithItsCaption) {
  const TBitmap& s = form.Surface();
  EXPECT_EQ(s.Pixel(16, 20), ColorToPixelValue(clBtnHighlight));   // top-left corner
  EXPECT_EQ(s.Pixel(90, 44), ColorToPixelValue(cl3DDkShadow));     // bottom-right corner
  EXPECT_EQ(s.Pixel(89, 43), ColorToPixelValue(clBtnShadow));
  EXPECT_EQ(s.Pixel(18, 22), ColorToPixelValue(clBtnFace));
  // The caption "save" (four blocks, the "&" not drawn) centred on the face.
  EXPECT_EQ(s.Pixel(53, 32), ColorToPixelValue(clBtnText));
  EXPECT_EQ(s.Pixel(15, 32), 0x00FFFFFFu);
}

}  // namespace
}  // namespace permora
