#include "controls/ShineSpdBtn.h"

#include <gtest/gtest.h>

#include "platform/Forms.h"
#include "platform/LayoutFile.h"
#include "tests/controls/ButtonTestSupport.h"

namespace permora {
namespace {

// The published values of an object as text lines, nested objects and picture data included, so
// that two objects compare in one expectation and a difference names the property.
std::vector<String> Describe(const TPersistent& object, const String& prefix = "") {
  std::vector<String> lines;
  for (const TPropInfo* p : object.ClassInfo().Properties()) {
    const String name = prefix + p->Name;
    switch (p->Kind) {
      case TTypeKind::tkString:
        lines.push_back(name + "=" + p->GetStr(object));
        break;
      case TTypeKind::tkMethod:
        lines.push_back(name + "=" + p->GetMethodName(object));
        break;
      case TTypeKind::tkClass: {
        const TPersistent* nested = p->GetObject(object);
        for (const String& line : Describe(*nested, name + ".")) lines.push_back(line);
        for (const String& line : nested->WritePictureData()) lines.push_back(name + ".Data " + line);
        break;
      }
      default:
        lines.push_back(name + "=" + IntToStr(p->GetOrd(object)));
    }
  }
  return lines;
}

struct ButtonLayoutFile : testing::Test {
  static void SetUpTestSuite() { Register(); }

  static TShineSpeedButton* AddButton(TForm& form, const String& name) {
    auto* button = new TShineSpeedButton(&form);
    button->SetName(name);
    button->SetParent(&form);
    return button;
  }

  static TShineSpeedButton* ReadBack(TForm& into, const String& text) {
    ReadComponentLayout(into, text, "button.layout");
    auto* button = static_cast<TShineSpeedButton*>(into.FindComponent("Button1"));
    EXPECT_NE(button, nullptr);
    return button;
  }
};

TEST_F(ButtonLayoutFile, DefaultButtonStoresOnlyWhatHasNoDefault) {
  TForm form(nullptr);
  form.SetName("Form1");
  AddButton(form, "Button1");
  const String text = WriteComponentLayout(form);
  // Both faces always; the fonts and the glyph always; nothing that equals its declared default.
  EXPECT_NE(text.find("Colors.Color = clBtnFace\n"), String::npos) << text;
  EXPECT_NE(text.find("PressedColors.Color = clBtnHighlight\n"), String::npos) << text;
  EXPECT_NE(text.find("Font.Color = clBtnText\n"), String::npos) << text;
  EXPECT_NE(text.find("ActiveFont.Color = clHighlight\n"), String::npos) << text;
  EXPECT_NE(text.find("Glyph.Data = {"), String::npos) << text;
  EXPECT_NE(text.find("Width = 25\n"), String::npos) << text;
  for (const char* absent : {"Margin", "Spacing", "ShineColor", "FrameType", "Colors.Highlight", "Layout",
                             "FontHighlight", "Enabled", "Anchors", "Action"})
    EXPECT_EQ(text.find(String(absent) + " = "), String::npos) << absent << " stored:\n" << text;

  TForm copy(nullptr);
  TShineSpeedButton* read = ReadBack(copy, text);
  TShineSpeedButton fresh(nullptr);
  fresh.SetName("Button1");
  EXPECT_EQ(Describe(*read), Describe(fresh));
}

TEST_F(ButtonLayoutFile, EverySettingAndTheGlyphComeBack) {
  TForm form(nullptr);
  form.SetName("Form1");
  TShineSpeedButton* b = AddButton(form, "Button1");
  b->SetGroupIndex(3);
  b->SetDown(true);
  b->SetClickDownHook(true);
  b->SetAccelCharDown(true);
  b->SetFrameType(ftEnclosedFrame);
  b->SetTransparent(true);
  b->SetActiveFrame(false);
  b->SetUpFrame(false);
  b->SetDownFrame(false);
  b->SetActiveImage(aiMaskLight);
  b->SetDisabledImage(diAlphaQuaterTrans);
  b->SetDisabledHighlight(clAqua);
  b->SetDisabledShadow(0x00123456);
  b->Colors()->SetColor(clWhite);
  b->Colors()->SetGradation(true);
  b->Colors()->SetGradColor(clRed);
  b->PressedColors()->SetGradVertical(true);
  b->PressedColors()->SetDarkShadow(clNone);
  b->SetShineColor(clBtnShadow);
  b->Font()->SetName("Tahoma");
  b->Font()->SetStyle({TFontStyle::fsBold, TFontStyle::fsUnderline});
  b->SetFontHighlight(clWhite);
  b->SetFontShadow(clBlack);
  b->ActiveFont()->SetHeight(-16);
  b->SetAllowAllUp(true);
  b->SetLayout(blGlyphBottom);
  b->SetMargin(-7);
  b->SetSpacing(-3);
  b->SetCaption("保存&S\r\nする");
  b->SetBounds(7, 9, 61, 33);
  b->SetEnabled(false);
  b->SetHint("hint");
  b->SetShowHint(true);
  b->SetAnchors({akRight, akBottom});
  b->SetAlign(alClient);
  b->SetBiDiMode(bdRightToLeft);
  b->SetParentBiDiMode(false);
  b->SetCursor(-21);
  b->SetDragMode(dmAutomatic);
  b->Constraints()->SetMaxWidth(200);
  b->SetTag(42);
  TBitmap picture;
  art::Draw(picture, {"o.b", "bLo", ".oW"});
  picture.SetPixel(2, 0, 0xAB405060);  // the fourth byte travels too
  b->SetGlyph(&picture);

  const String text = WriteComponentLayout(form);
  TForm copy(nullptr);
  TShineSpeedButton* read = ReadBack(copy, text);
  EXPECT_EQ(Describe(*read), Describe(*b)) << text;
  EXPECT_EQ(read->Parent(), &copy);
  EXPECT_EQ(read->Glyph()->PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(read->Glyph()->Pixel(2, 0), 0xAB405060u);
  EXPECT_EQ(art::Read(*read->Glyph()), art::Read(*b->Glyph()));
  EXPECT_FALSE(read->ControlStyle().Contains(csOpaque));
  // The owned parts are filled in place and stay watched.
  EXPECT_EQ(read->Glyph()->OnChange.Data(), read);
}

TEST_F(ButtonLayoutFile, AGlyphOfAnotherFormatInTheFileBecomes32Bit) {
  TForm form(nullptr);
  form.SetName("Form1");
  TShineSpeedButton* b = AddButton(form, "Button1");
  TBitmap picture;
  art::Draw(picture, {"oo", ".o"});
  b->SetGlyph(&picture);
  String text = WriteComponentLayout(form);
  const auto at = text.find("PixelFormat=pf32bit");
  ASSERT_NE(at, String::npos) << text;
  text.replace(at, 19, "PixelFormat=pf24bit");
  TForm copy(nullptr);
  TShineSpeedButton* read = ReadBack(copy, text);
  EXPECT_EQ(read->Glyph()->PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(art::Read(*read->Glyph()), (std::vector<std::string>{"oo", ".o"}));
}

struct BadValueRow {
  const char* line;
  const char* message;
};

class ButtonLayoutErrors : public ButtonLayoutFile, public testing::WithParamInterface<BadValueRow> {};

TEST_P(ButtonLayoutErrors, NameTheLine) {
  const String text = String("object Form1: TForm\n"
                             "  object Button1: TShineSpeedButton\n"
                             "    Margin = 2\n"
                             "    ") + GetParam().line + "\n"
                      "  end\n"
                      "end\n";
  TForm form(nullptr);
  try {
    ReadComponentLayout(form, text, "bad.layout");
    FAIL() << "no error";
  } catch (const ELayoutError& e) {
    EXPECT_EQ(e.Message(), String("bad.layout:4: ") + GetParam().message);
  }
  EXPECT_EQ(form.ComponentCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ButtonLayoutErrors,
    testing::Values(BadValueRow{"FrameType = ftRound", "FrameType expects a name of TFrameType, not 'ftRound'"},
                    BadValueRow{"ActiveImage = 3", "ActiveImage expects a name of TActiveImageType, not '3'"},
                    BadValueRow{"Spacing = 'wide'", "Spacing expects an integer"},
                    BadValueRow{"Colors.Color = clNoSuch", "Colors.Color expects a colour name or a $ hex number, not 'clNoSuch'"},
                    BadValueRow{"Colors.Face = clRed", "TShineBtnColors has no property Face"}));

}  // namespace
}  // namespace permora
