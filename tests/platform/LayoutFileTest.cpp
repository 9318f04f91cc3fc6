#include "platform/LayoutFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/Forms.h"
#include "platform/Graphics.h"
#include "platform/SpeedButton.h"
#include "platform/TypInfo.h"

extern const permora::TEmbeddedLayout EmbeddedSampleLayout;

namespace permora {
namespace {

// What the components of a read did, in order.
std::vector<String>& Log() {
  static std::vector<String> log;
  return log;
}

enum class TShape : uint8_t { shCircle, shSquare, shTriangle };

const TEnumInfo& ShapeInfo() {
  static const TEnumInfo info{"TShape", {"shCircle", "shSquare", "shTriangle"}};
  return info;
}

// A nested persistent object with a default and a property without one.
class TMargins : public TPersistent {
 public:
  static const TClassInfo& StaticClassInfo() {
    namespace p = published;
    static const TClassInfo info("TMargins", &TPersistent::StaticClassInfo(),
                                 {
                                     p::Integer<TMargins>("Inner", &TMargins::Inner, &TMargins::SetInner, 2),
                                     p::Str<TMargins>("Note", &TMargins::Note, &TMargins::SetNote),
                                 });
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  int32_t Inner() const { return FInner; }
  void SetInner(int32_t v) { FInner = v; }
  const String& Note() const { return FNote; }
  void SetNote(const String& v) { FNote = v; }

 private:
  int32_t FInner = 2;
  String FNote;
};

using TCountEvent = TMethodPointer<TObject*, int32_t&>;

// A component with one property of every kind.
class TWidget : public TComponent {
 public:
  explicit TWidget(TComponent* owner) : TComponent(owner) {}
  static const TClassInfo& StaticClassInfo() {
    namespace p = published;
    static const TClassInfo info(
        "TWidget", &TComponent::StaticClassInfo(),
        {
            p::Integer<TWidget>("Count", &TWidget::Count, &TWidget::SetCount),
            p::Boolean<TWidget>("Active", &TWidget::Active, &TWidget::SetActive, true),
            p::Enumeration<TWidget, TShape>("Shape", ShapeInfo(), &TWidget::Shape, &TWidget::SetShape, TShape::shCircle),
            p::Set<TWidget, TFontStyle>("Styles", FontStyleInfo(), &TWidget::Styles, &TWidget::SetStyles, TFontStyles{}),
            p::Str<TWidget>("Text", &TWidget::Text, &TWidget::SetText, String()),
            p::Color<TWidget>("Color", &TWidget::Color, &TWidget::SetColor, clBtnFace),
            p::Object<TWidget>("Margins", &TWidget::MarginsObject),
            p::Object<TWidget>("Font", &TWidget::FontObject),
            p::Object<TWidget>("Glyph", &TWidget::GlyphObject),
            p::Event<TWidget, TNotifyEvent>("OnPress", &TWidget::GetOnPress, &TWidget::SetOnPress),
            p::Event<TWidget, TCountEvent>("OnCount", &TWidget::GetOnCount, &TWidget::SetOnCount),
        },
        p::ComponentFactory<TWidget>());
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  int32_t Count() const { return FCount; }
  void SetCount(int32_t v) { FCount = v; }
  bool Active() const { return FActive; }
  void SetActive(bool v) { FActive = v; }
  TShape Shape() const { return FShape; }
  void SetShape(TShape v) { FShape = v; }
  TFontStyles Styles() const { return FStyles; }
  void SetStyles(TFontStyles v) { FStyles = v; }
  const String& Text() const { return FText; }
  void SetText(const String& v) { FText = v; }
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  TMargins* MarginsObject() const { return FMargins.get(); }
  TFont* FontObject() const { return FFont.get(); }
  TBitmap* GlyphObject() const { return FGlyph.get(); }
  const TNotifyEvent& GetOnPress() const { return OnPress; }
  void SetOnPress(const TNotifyEvent& e) { OnPress = e; }
  const TCountEvent& GetOnCount() const { return OnCount; }
  void SetOnCount(const TCountEvent& e) { OnCount = e; }

  void SetParentComponent(TComponent* parent) override { FParent = parent; }
  TComponent* GetParentComponent() const override { return FParent; }
  void Loaded() override {
    Log().push_back("Loaded " + Name() + (Loading() ? " while loading" : ""));
    TComponent::Loaded();
  }

  TNotifyEvent OnPress;
  TCountEvent OnCount;

 private:
  int32_t FCount = 0;
  bool FActive = true;
  TShape FShape = TShape::shCircle;
  TFontStyles FStyles;
  String FText;
  TColor FColor = clBtnFace;
  std::unique_ptr<TMargins> FMargins = std::make_unique<TMargins>();
  std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
  std::unique_ptr<TBitmap> FGlyph = std::make_unique<TBitmap>();
  TComponent* FParent = nullptr;
};

// Another component class, for a field of the wrong class.
class TGadget : public TComponent {
 public:
  explicit TGadget(TComponent* owner) : TComponent(owner) {}
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info("TGadget", &TComponent::StaticClassInfo(), {}, published::ComponentFactory<TGadget>());
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
};

// The root: published fields for its widgets and handlers for their events.
class TTestForm : public TComponent {
 public:
  explicit TTestForm(TComponent* owner = nullptr) : TComponent(owner) {}
  static const TClassInfo& StaticClassInfo() {
    namespace p = published;
    static const TClassInfo info(
        "TTestForm", &TComponent::StaticClassInfo(),
        {p::Str<TTestForm>("Caption", &TTestForm::Caption, &TTestForm::SetCaption)}, {},
        {p::Method("WidgetPress", &TTestForm::WidgetPress), p::Method("WidgetCount", &TTestForm::WidgetCount)},
        {p::Field("Widget1", &TTestForm::Widget1), p::Field("Widget2", &TTestForm::Widget2)});
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& v) { FCaption = v; }
  void WidgetPress(TObject* sender) { Pressed = sender; }
  void WidgetCount(TObject*, int32_t& count) { ++count; }
  void Loaded() override {
    Log().push_back("Loaded " + Name());
    TComponent::Loaded();
  }

  TWidget* Widget1 = nullptr;
  TWidget* Widget2 = nullptr;
  TObject* Pressed = nullptr;

 private:
  String FCaption;
};

class LayoutFile : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterComponents("Tests", {&TWidget::StaticClassInfo(), &TGadget::StaticClassInfo()});
  }
  void SetUp() override { Log().clear(); }
};

// Odd width, distinct colours and a fourth byte that must survive.
void PaintGlyph(TBitmap& glyph) {
  glyph.SetSize(3, 2);
  const uint32_t pixels[2][3] = {{0x00FF0000, 0x0000FF00, 0x000000FF}, {0xAB123456, 0x00FFFFFF, 0x00000000}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) glyph.SetPixel(x, y, pixels[y][x]);
  glyph.SetTransparentColor(clFuchsia);
  glyph.SetTransparent(true);
}

const String kAwkwardText = "it's \"quoted\"\n\ttab\r\x01 写真 \xC2\x85 \x82\xA0 \xE6\x97 end'";

// The tree that the round trip writes and reads back.
std::unique_ptr<TTestForm> MakeForm() {
  auto form = std::make_unique<TTestForm>();
  form->SetName("Form1");
  form->SetCaption("ペルモラ - test");
  auto* w1 = new TWidget(form.get());
  w1->SetName("Widget1");
  form->Widget1 = w1;
  w1->SetParentComponent(form.get());
  w1->SetCount(-7);
  w1->SetActive(false);
  w1->SetShape(TShape::shTriangle);
  w1->SetStyles({TFontStyle::fsBold, TFontStyle::fsStrikeOut});
  w1->SetText(kAwkwardText);
  w1->SetColor(0x00123456);
  w1->MarginsObject()->SetInner(5);
  w1->MarginsObject()->SetNote("m");
  w1->FontObject()->SetColor(clBtnHighlight);
  w1->FontObject()->SetStyle({TFontStyle::fsItalic});
  PaintGlyph(*w1->GlyphObject());
  w1->OnPress = TNotifyEvent(form.get(), &TTestForm::WidgetPress, "WidgetPress");
  w1->OnCount = TCountEvent(form.get(), &TTestForm::WidgetCount, "WidgetCount");
  auto* w2 = new TWidget(form.get());  // every property at its default
  w2->SetName("Widget2");
  form->Widget2 = w2;
  auto* inner = new TWidget(form.get());  // enclosed by Widget1, without a field of its own
  inner->SetName("Inner");
  inner->SetParentComponent(w1);
  inner->SetTag(-2147483647 - 1);
  return form;
}

TEST_F(LayoutFile, WritesOnlyWhatDiffersFromTheDefaults) {
  const auto form = MakeForm();
  const String text = WriteComponentLayout(*form);
  // Widget2 is all defaults: only what has no default is there (Count, the font's values and the
  // margins' note); Inner is written inside Widget1, the component that encloses it.
  const String widget2 =
      "  object Widget2: TWidget\n"
      "    Count = 0\n"
      "    Margins.Note = ''\n"
      "    Font.Charset = 128\n"
      "    Font.Color = clWindowText\n"
      "    Font.Height = -12\n"
      "    Font.Name = 'ＭＳ Ｐゴシック'\n"
      "    Font.Style = []\n"
      "  end\n"
      "end\n";
  EXPECT_TRUE(text.ends_with(widget2)) << text;
  EXPECT_TRUE(text.starts_with("object Form1: TTestForm\n  Caption = 'ペルモラ - test'\n  object Widget1: TWidget\n")) << text;
  for (const char* line : {"    Count = -7\n", "    Active = False\n", "    Shape = shTriangle\n",
                           "    Styles = [fsBold, fsStrikeOut]\n", "    Color = $00123456\n", "    Margins.Inner = 5\n",
                           "    Font.Color = clBtnHighlight\n", "    Font.Style = [fsItalic]\n",
                           "    OnPress = WidgetPress\n",
                           // Quotes doubled; controls and bytes outside UTF-8 as codes; 写真 as it is.
                           "    Text = 'it''s \"quoted\"'#$0A#$09'tab'#$0D#$01' 写真 '#$C2#$85' '#$82#$A0' '#$E6#$97' end'''\n",
                           "    OnCount = WidgetCount\n",
                           "    Glyph.Data = {\n"
                           "      Width=3 Height=2 PixelFormat=pfDevice HandleType=bmDIB Transparent=True "
                           "TransparentMode=tmFixed TransparentColor=clFuchsia\n"
                           "      00FF0000 0000FF00 000000FF\n"
                           "      AB123456 00FFFFFF 00000000\n"
                           "    }\n",
                           "    object Inner: TWidget\n      Tag = -2147483648\n"})
    EXPECT_NE(text.find(line), String::npos) << line << "\n----\n" << text;
  EXPECT_EQ(text.find("Tag = 0"), String::npos);
  EXPECT_EQ(text.find(" Name = "), String::npos);  // the object line holds the name
}

TEST_F(LayoutFile, ReadsBackWhatItWrote) {
  const auto original = MakeForm();
  const String text = WriteComponentLayout(*original);

  TTestForm form;
  ReadComponentLayout(form, text, "round.layout");

  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.Caption(), "ペルモラ - test");
  ASSERT_EQ(form.ComponentCount(), 3);
  ASSERT_NE(form.Widget1, nullptr);
  ASSERT_NE(form.Widget2, nullptr);
  // A block is read whole, enclosed components included, before the next one.
  EXPECT_EQ(form.Components(0), form.Widget1);
  EXPECT_EQ(form.Components(2), form.Widget2);
  TWidget& w1 = *form.Widget1;
  EXPECT_EQ(w1.Name(), "Widget1");
  EXPECT_EQ(w1.Owner(), &form);
  EXPECT_EQ(w1.GetParentComponent(), &form);
  EXPECT_EQ(w1.Count(), -7);
  EXPECT_FALSE(w1.Active());
  EXPECT_EQ(w1.Shape(), TShape::shTriangle);
  EXPECT_EQ(w1.Styles(), (TFontStyles{TFontStyle::fsBold, TFontStyle::fsStrikeOut}));
  EXPECT_EQ(w1.Text(), kAwkwardText);
  EXPECT_EQ(w1.Color(), 0x00123456u);
  EXPECT_EQ(w1.MarginsObject()->Inner(), 5);
  EXPECT_EQ(w1.MarginsObject()->Note(), "m");
  EXPECT_EQ(w1.FontObject()->Color(), clBtnHighlight);
  EXPECT_EQ(w1.FontObject()->Style(), TFontStyles{TFontStyle::fsItalic});

  const TBitmap& glyph = *w1.GlyphObject();
  const TBitmap& expected = *original->Widget1->GlyphObject();
  ASSERT_EQ(glyph.Width(), 3);
  ASSERT_EQ(glyph.Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(glyph.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
  EXPECT_TRUE(glyph.Transparent());
  EXPECT_EQ(glyph.TransparentMode(), TTransparentMode::tmFixed);
  EXPECT_EQ(glyph.TransparentColor(), clFuchsia);

  ASSERT_TRUE(w1.OnPress.Assigned());
  w1.OnPress(&w1);
  EXPECT_EQ(form.Pressed, &w1);
  int32_t count = 1;
  w1.OnCount(&w1, count);
  EXPECT_EQ(count, 2);
  EXPECT_FALSE(form.Widget2->OnPress.Assigned());

  TWidget& inner = static_cast<TWidget&>(*form.Components(1));
  EXPECT_EQ(inner.Name(), "Inner");
  EXPECT_EQ(inner.GetParentComponent(), &w1);
  EXPECT_EQ(inner.Tag(), INT32_MIN);

  // Loaded comes after every value, components in creation order and the root last.
  EXPECT_EQ(Log(), (std::vector<String>{"Loaded Widget1 while loading", "Loaded Inner while loading",
                                         "Loaded Widget2 while loading", "Loaded Form1"}));
  EXPECT_FALSE(form.Loading());
  EXPECT_FALSE(w1.Loading());
  EXPECT_EQ(WriteComponentLayout(form), text);
}

TEST_F(LayoutFile, ReadsTheLayoutCompiledIntoTheProgram) {
  const String path = String(PERMORA_SOURCE_DIR) + "/tests/platform/EmbeddedSample.layout";
  std::ifstream file(path, std::ios::binary);
  const String bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(EmbeddedSampleLayout.Text(), bytes);
  EXPECT_STREQ(EmbeddedSampleLayout.SourceName, "EmbeddedSample.layout");

  TTestForm form;
  ReadComponentLayout(form, EmbeddedSampleLayout);
  ASSERT_NE(form.Widget1, nullptr);
  EXPECT_EQ(form.Caption(), "埋め込み");
  EXPECT_EQ(form.Widget1->Text(), "a\xFF" "b");
}

// A window of real controls: the reader places them on the form and binds their events.
class TLayoutWindow : public TForm {
 public:
  explicit TLayoutWindow(TComponent* owner = nullptr) : TForm(owner) {}
  static const TClassInfo& StaticClassInfo() {
    static const TClassInfo info("TLayoutWindow", &TForm::StaticClassInfo(), {}, {},
                                 {published::Method("Button1Click", &TLayoutWindow::Button1Click),
                                  published::Method("FormActivate", &TLayoutWindow::FormActivate)},
                                 {published::Field("Button1", &TLayoutWindow::Button1)});
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  void Button1Click(TObject* sender) { Clicked = sender; }
  void FormActivate(TObject*) {}

  TSpeedButton* Button1 = nullptr;
  TObject* Clicked = nullptr;
};

TEST_F(LayoutFile, PlacesControlsOnTheFormAndBindsTheirEvents) {
  RegisterComponents("Standard", {&TSpeedButton::StaticClassInfo()});
  const String text =
      "object Window1: TLayoutWindow\n"
      "  ClientWidth = 600\n"
      "  ClientHeight = 600\n"
      "  Caption = 'ペルモラ'\n"
      "  Color = clWhite\n"
      "  Font.Style = [fsBold]\n"
      "  OnActivate = FormActivate\n"
      "  object Button1: TSpeedButton\n"
      "    Left = 10\n"
      "    Top = 20\n"
      "    Width = 75\n"
      "    Height = 25\n"
      "    Caption = 'save'\n"
      "    Visible = False\n"
      "    OnClick = Button1Click\n"
      "  end\n"
      "end\n";
  TLayoutWindow window;
  ReadComponentLayout(window, text, "window.layout");
  EXPECT_EQ(window.ClientWidth(), 600);
  EXPECT_EQ(window.Caption(), "ペルモラ");
  EXPECT_EQ(window.Color(), clWhite);
  EXPECT_EQ(window.Font().Style(), TFontStyles{TFontStyle::fsBold});
  EXPECT_TRUE(window.OnActivate.Assigned());
  ASSERT_NE(window.Button1, nullptr);
  EXPECT_EQ(window.Button1->Parent(), &window);
  ASSERT_EQ(window.ControlCount(), 1);
  EXPECT_EQ(window.Button1->BoundsRect(), Bounds(10, 20, 75, 25));
  EXPECT_FALSE(window.Button1->Visible());
  window.Button1->OnClick(window.Button1);
  EXPECT_EQ(window.Clicked, window.Button1);

  const String written = WriteComponentLayout(window);
  for (const char* line : {"  Font.Style = [fsBold]\n", "  OnActivate = FormActivate\n", "    Left = 10\n",
                           "    Visible = False\n", "    OnClick = Button1Click\n"})
    EXPECT_NE(written.find(line), String::npos) << line << "\n----\n" << written;
  TLayoutWindow again;
  ReadComponentLayout(again, written, "written.layout");
  EXPECT_EQ(WriteComponentLayout(again), written);
}

struct BadLayout {
  const char* name;
  String text;
  int line;
  const char* message;
};

void PrintTo(const BadLayout& c, std::ostream* os) { *os << c.name; }

// A valid form whose second widget holds `line` (line 8 of the text).
String WithLine(const String& line) {
  return "object Form1: TTestForm\n"
         "  Caption = 'x'\n"
         "  object Widget1: TWidget\n"
         "    Count = 1\n"
         "  end\n"
         "  object Widget2: TWidget\n"
         "    Count = 2\n"
         "    " + line + "\n"
         "  end\n"
         "end\n";
}

class LayoutErrors : public LayoutFile, public testing::WithParamInterface<BadLayout> {};

TEST_P(LayoutErrors, NameTheLineAndLeaveNothingBuilt) {
  const BadLayout& c = GetParam();
  TTestForm form;
  form.SetName("Before");
  try {
    ReadComponentLayout(form, c.text, "bad.layout");
    FAIL() << "no error for:\n" << c.text;
  } catch (const ELayoutError& e) {
    EXPECT_EQ(e.Message(), "bad.layout:" + IntToStr(c.line) + ": " + c.message);
  }
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_EQ(form.Widget1, nullptr);
  EXPECT_EQ(form.Widget2, nullptr);
  EXPECT_EQ(form.Name(), "Before");
  EXPECT_FALSE(form.Loading());
  EXPECT_TRUE(Log().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, LayoutErrors,
    testing::Values(
        BadLayout{"UnknownProperty", WithLine("Colour = clRed"), 8, "TWidget has no property Colour"},
        BadLayout{"UnknownNestedProperty", WithLine("Font.Colour = clRed"), 8, "TFont has no property Colour"},
        BadLayout{"PathThroughAValue", WithLine("Count.Inner = 1"), 8, "Count is not an object"},
        BadLayout{"ValueForAnObject", WithLine("Font = 1"), 8,
                  "Font is an object; its properties are set as Font.Name = value"},
        BadLayout{"NameAsProperty", WithLine("Name = 'x'"), 8, "Name of TWidget is not set by a property line"},
        BadLayout{"StringForInteger", WithLine("Count = 'seven'"), 8, "Count expects an integer"},
        BadLayout{"IntegerAboveRange", WithLine("Count = 2147483648"), 8,
                  "Count: 2147483648 is out of the 32-bit integer range"},
        BadLayout{"IntegerBelowRange", WithLine("Margins.Inner = -2147483649"), 8,
                  "Margins.Inner: -2147483649 is out of the 32-bit integer range"},
        BadLayout{"BadBoolean", WithLine("Active = Yes"), 8, "Active expects True or False"},
        BadLayout{"BadEnumName", WithLine("Shape = shHexagon"), 8, "Shape expects a name of TShape, not 'shHexagon'"},
        BadLayout{"BadSetElement", WithLine("Styles = [fsBold, fsHeavy]"), 8, "fsHeavy is not an element of TFontStyle"},
        BadLayout{"SetWithoutBrackets", WithLine("Styles = fsBold"), 8, "Styles expects a set of TFontStyle in [ ]"},
        BadLayout{"UnterminatedSet", WithLine("Styles = [fsBold"), 8, "unterminated set: expected ']'"},
        BadLayout{"BadColour", WithLine("Color = clPink"), 8,
                  "Color expects a colour name or a $ hex number, not 'clPink'"},
        BadLayout{"UnquotedString", WithLine("Text = abc"), 8, "Text expects a quoted string"},
        BadLayout{"UnterminatedString", WithLine("Text = 'abc"), 8, "unterminated string"},
        BadLayout{"BadByteCode", WithLine("Text = 'a'#10"), 8, "a byte in a string is written #$ and two hex digits"},
        BadLayout{"TextAfterValue", WithLine("Count = 1 2"), 8, "unexpected text after the value: '2'"},
        BadLayout{"UnknownHandler", WithLine("OnPress = NoSuchHandler"), 8,
                  "unknown handler NoSuchHandler: TTestForm publishes no such method"},
        BadLayout{"HandlerOfAnotherEventType", WithLine("OnPress = WidgetCount"), 8,
                  "the handler WidgetCount does not fit the event OnPress (its parameters differ)"},
        BadLayout{"DataForAnObjectWithout", WithLine("Font.Data = {\n    }"), 8, "TFont has no picture data"},
        BadLayout{"BadPictureData", WithLine("Glyph.Data = {\n      Width=2 Height=1 PixelFormat=pfDevice "
                                             "HandleType=bmDIB Transparent=False TransparentMode=tmAuto "
                                             "TransparentColor=clDefault\n      00000000\n    }"),
                  8, "Glyph.Data: bitmap data: row 0 has 1 pixels for a width of 2"},
        BadLayout{"UnterminatedPictureData", WithLine("Glyph.Data = {\n  end\nend"), 8,
                  "picture data of Glyph.Data is not closed by '}'"},
        BadLayout{"UnknownComponentClass", WithLine("object Thing: TNoSuchClass\n    end"), 8,
                  "unknown class TNoSuchClass"},
        BadLayout{"DuplicateName", WithLine("object Widget1: TWidget\n    end"), 8, "duplicate component name Widget1"},
        BadLayout{"FieldOfAnotherClass",
                  "object Form1: TTestForm\n  object Widget1: TWidget\n  end\n  object Widget2: TGadget\n  end\nend\n",
                  4, "the field Widget2 of TTestForm holds a TWidget, not a TGadget"},
        BadLayout{"PropertyAfterObject", WithLine("object W3: TWidget\n    end\n    Count = 3"), 10,
                  "property lines come before the objects of a block"},
        BadLayout{"UnterminatedObject", "object Form1: TTestForm\n  object Widget1: TWidget\n    Count = 1\nend\n", 1,
                  "object Form1 is not closed by 'end'"},
        BadLayout{"RootOfAnotherClass", "\nobject Form1: TWidget\nend\n", 2,
                  "the layout describes a TWidget, not a TTestForm"},
        BadLayout{"TextAfterTheRoot", WithLine("Count = 3") + "end\n", 11, "text after the end of the root object"},
        BadLayout{"NoObject", "\n\n", 2, "the layout holds no object"},
        BadLayout{"BadObjectLine", WithLine("object Widget3 TWidget\n    end"), 8, "expected 'object Name: TClass'"}),
    [](const testing::TestParamInfo<BadLayout>& info) { return String(info.param.name); });

}  // namespace
}  // namespace permora
