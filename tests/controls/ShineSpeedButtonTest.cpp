#include "controls/ShineSpdBtn.h"

#include <gtest/gtest.h>

#include "tests/controls/ButtonTestSupport.h"

namespace permora {
namespace {

int64_t Ord(const TPersistent& object, const char* name) {
  const TPropInfo* p = object.ClassInfo().FindProperty(name);
  if (!p) throw std::invalid_argument(std::string("no property ") + name);
  return p->GetOrd(object);
}

void SetOrd(TPersistent& object, const char* name, int64_t value) {
  object.ClassInfo().FindProperty(name)->SetOrd(object, value);
}

// ---- Defaults ------------------------------------------------------------------------------------

struct DefaultRow {
  const char* name;
  int64_t value;
  bool declared;  // the value is also the property's declared default
};

const DefaultRow kButtonDefaults[] = {
    {"GroupIndex", 0, true},
    {"Down", false, true},
    {"ClickDownHook", false, true},
    {"AccelCharDown", false, true},
    {"FrameType", static_cast<int64_t>(ftNormalFrame), true},
    {"Transparent", false, true},
    {"ActiveFrame", true, true},
    {"UpFrame", true, true},
    {"DownFrame", true, true},
    {"ActiveImage", static_cast<int64_t>(aiFrameLight), true},
    {"DisabledImage", static_cast<int64_t>(diDefault), true},
    {"DisabledHighlight", 0x80000014, true},
    {"DisabledShadow", 0x80000010, true},
    {"ShineColor", 0x0000FFFF, true},
    {"FontHighlight", 0x1FFFFFFF, true},
    {"FontShadow", 0x1FFFFFFF, true},
    {"AllowAllUp", false, true},
    {"Layout", static_cast<int64_t>(blGlyphLeft), true},
    {"Margin", -1, true},
    {"Spacing", 4, true},
    {"Width", 25, false},
    {"Height", 25, false},
    {"Enabled", true, true},
    {"Visible", true, true},
    {"Align", static_cast<int64_t>(alNone), true},
    {"Anchors", static_cast<int64_t>(TAnchors{akLeft, akTop}.Bits()), true},
    {"BiDiMode", static_cast<int64_t>(bdLeftToRight), true},
    {"ParentBiDiMode", true, true},
    {"Cursor", crDefault, true},
    {"DragMode", static_cast<int64_t>(dmManual), true},
    {"ShowHint", false, true},
    {"ParentShowHint", true, true},
};

class ButtonDefaults : public testing::TestWithParam<DefaultRow> {};

TEST_P(ButtonDefaults, NewButtonHoldsTheValueAndDeclaresIt) {
  const DefaultRow& row = GetParam();
  TShineSpeedButton button(nullptr);
  EXPECT_EQ(Ord(button, row.name), row.value);
  const TPropInfo* p = button.ClassInfo().FindProperty(row.name);
  if (row.declared) {
    ASSERT_TRUE(p->OrdDefault.has_value());
    EXPECT_EQ(*p->OrdDefault, row.value);
    EXPECT_TRUE(p->IsDefault(button)) << "a new button would store " << row.name;
  } else {
    EXPECT_FALSE(p->HasDefault()) << row.name << " must always be stored";
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ButtonDefaults, testing::ValuesIn(kButtonDefaults),
                         [](const auto& info) { return std::string(info.param.name); });

struct ColorSetDefaultRow {
  const char* name;
  int64_t value;
};

const ColorSetDefaultRow kColorSetDefaults[] = {
    {"Highlight", 0x80000014}, {"Shadow", 0x80000010}, {"DarkShadow", 0x80000006},
    {"GradColor", 0x00FF0000}, {"GradVertical", false}, {"Gradation", false},
};

TEST(ButtonDefaults, BothColorSetsStartAtTheirDefaultsWithDifferentFaces) {
  TShineSpeedButton button(nullptr);
  for (const TShineBtnColors* set : {button.Colors(), button.PressedColors()})
    for (const auto& row : kColorSetDefaults) {
      EXPECT_EQ(Ord(*set, row.name), row.value) << row.name;
      EXPECT_TRUE(set->ClassInfo().FindProperty(row.name)->IsDefault(*set)) << row.name;
    }
  EXPECT_EQ(button.Colors()->Color(), clBtnFace);
  EXPECT_EQ(button.PressedColors()->Color(), clBtnHighlight);
  // Without a declared default the face is written for both sets.
  const TPropInfo* color = TShineBtnColors::StaticClassInfo().FindProperty("Color");
  EXPECT_FALSE(color->HasDefault());
  EXPECT_FALSE(color->IsDefault(*button.Colors()));
}

TEST(ButtonDefaults, NewButtonIsUpEmptyAndStill) {
  TShineSpeedButton button(nullptr);
  EXPECT_EQ(button.State(), vsUp);
  EXPECT_EQ(button.Caption(), "");
  EXPECT_TRUE(button.Glyph()->Empty());
  EXPECT_EQ(button.Glyph()->PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_EQ(button.Glyph()->HandleType(), TBitmapHandleType::bmDIB);
  EXPECT_EQ(button.Glyph()->TransparentColor(), clOlive);
  EXPECT_EQ(button.Font()->Color(), clBtnText);
  EXPECT_EQ(button.ActiveFont()->Color(), clHighlight);
  EXPECT_EQ(button.Font()->Name(), "ＭＳ Ｐゴシック");
  EXPECT_EQ(button.ControlStyle(), (TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks}));
  EXPECT_FALSE(button.MouseInControl());
  EXPECT_FALSE(button.Dragging());
  EXPECT_EQ(button.GroupProxy(), nullptr);
  ASSERT_NE(button.ActiveTimer(), nullptr);
  EXPECT_EQ(button.ActiveTimer()->Interval(), 200u);
  EXPECT_FALSE(button.ActiveTimer()->Enabled());
  EXPECT_EQ(button.ActiveTimer()->Owner(), &button);
  EXPECT_FALSE(button.OnMouseEnter.Assigned());
  EXPECT_FALSE(button.OnMouseLeave.Assigned());
}

TEST(ButtonPublished, PropertiesInPublishedOrder) {
  const std::vector<String> expected = {
      "Name", "Tag",
      "GroupIndex", "Down", "ClickDownHook", "AccelCharDown", "FrameType", "Transparent", "ActiveFrame", "UpFrame",
      "DownFrame", "ActiveImage", "DisabledImage", "DisabledHighlight", "DisabledShadow", "Colors", "PressedColors",
      "ShineColor", "Font", "FontHighlight", "FontShadow", "ActiveFont", "AllowAllUp", "Layout", "Margin", "Spacing",
      "Glyph", "OnMouseEnter", "OnMouseLeave",
      "Action", "Align", "Anchors", "BiDiMode", "Caption", "Constraints", "Cursor", "DragMode", "Enabled", "Height", "Hint", "Left",
      "ParentBiDiMode", "ParentShowHint", "ShowHint", "Top", "Visible", "Width", "OnClick", "OnDblClick",
      "OnMouseDown", "OnMouseMove", "OnMouseUp"};
  std::vector<String> names;
  for (const TPropInfo* p : TShineSpeedButton::StaticClassInfo().Properties()) names.push_back(p->Name);
  EXPECT_EQ(names, expected);

  std::vector<String> colorNames;
  for (const TPropInfo* p : TShineBtnColors::StaticClassInfo().Properties()) colorNames.push_back(p->Name);
  EXPECT_EQ(colorNames, (std::vector<String>{"Highlight", "Shadow", "DarkShadow", "GradColor", "GradVertical",
                                              "Gradation", "Color"}));
}

TEST(ButtonPublished, RegisteredOnAPalettePage) {
  Register();
  EXPECT_EQ(FindClass("TShineSpeedButton"), &TShineSpeedButton::StaticClassInfo());
  EXPECT_EQ(PalettePage("TShineSpeedButton"), ShineSpeedButtonPalettePage);
  TComponent owner(nullptr);
  TComponent* made = FindClass("TShineSpeedButton")->Create(&owner);
  EXPECT_TRUE(made->InheritsFrom(TShineSpeedButton::StaticClassInfo()));
  EXPECT_EQ(made->Owner(), &owner);
}

TEST(ButtonPublished, EnumerationsNameTheirValuesInOrder) {
  EXPECT_EQ(FrameTypeInfo().Names, (std::vector<String>{"ftFlatFrame", "ftNormalFrame", "ftEnclosedFrame"}));
  EXPECT_EQ(ActiveImageTypeInfo().Names,
            (std::vector<String>{"aiNormal", "aiXorLight", "aiHalfLight", "aiQuaterLight", "aiAddLight",
                                 "aiFrameLight", "aiFrameLight2", "aiMaskLight"}));
  EXPECT_EQ(DisabledImageTypeInfo().Names, (std::vector<String>{"diDefault", "diGrayscale", "diAlphaHalfTrans",
                                                                "diAlphaQuaterTrans", "diMaskTrans"}));
  EXPECT_EQ(ButtonLayoutInfo().Names,
            (std::vector<String>{"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}));
  EXPECT_EQ(static_cast<int>(vsActiveDown), 0);
  EXPECT_EQ(static_cast<int>(vsDisabled), 4);
}

// ---- Setters -------------------------------------------------------------------------------------

struct SetterRow {
  const char* name;
  int64_t other;  // a value different from the default
};

// The properties whose setter compares, stores and invalidates.
const SetterRow kStoreAndInvalidate[] = {
    {"ClickDownHook", true},
    {"AccelCharDown", true},
    {"FrameType", static_cast<int64_t>(ftEnclosedFrame)},
    {"Transparent", true},
    {"ActiveFrame", false},
    {"UpFrame", false},
    {"DownFrame", false},
    {"ActiveImage", static_cast<int64_t>(aiMaskLight)},
    {"DisabledImage", static_cast<int64_t>(diGrayscale)},
    {"DisabledHighlight", 0x00123456},
    {"DisabledShadow", 0x00654321},
    {"ShineColor", 0x000000FF},
    {"Layout", static_cast<int64_t>(blGlyphBottom)},
    {"Margin", -7},
    {"Spacing", -3},
};

class StoreAndInvalidate : public testing::TestWithParam<SetterRow> {};

TEST_P(StoreAndInvalidate, NewValueInvalidatesOnceAndEqualValueDoesNothing) {
  const SetterRow& row = GetParam();
  TSpyButton button(nullptr);
  const int64_t initial = Ord(button, row.name);
  SetOrd(button, row.name, initial);
  EXPECT_EQ(button.TakeInvalidates(), 0);
  SetOrd(button, row.name, row.other);
  EXPECT_EQ(Ord(button, row.name), row.other) << "stored unchanged, without range checks";
  EXPECT_EQ(button.TakeInvalidates(), 1);
  SetOrd(button, row.name, row.other);
  EXPECT_EQ(button.TakeInvalidates(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, StoreAndInvalidate, testing::ValuesIn(kStoreAndInvalidate),
                         [](const auto& info) { return std::string(info.param.name); });

class InvalidateWithoutComparing : public testing::TestWithParam<const char*> {};

TEST_P(InvalidateWithoutComparing, EvenTheCurrentValueInvalidates) {
  TSpyButton button(nullptr);
  SetOrd(button, GetParam(), clNone);
  EXPECT_EQ(button.TakeInvalidates(), 1);
  SetOrd(button, GetParam(), clRed);
  EXPECT_EQ(Ord(button, GetParam()), clRed);
  EXPECT_EQ(button.TakeInvalidates(), 1);
}

INSTANTIATE_TEST_SUITE_P(Table, InvalidateWithoutComparing, testing::Values("FontHighlight", "FontShadow"));

TEST(ButtonSetters, TransparentTogglesOpaqueStyleOnly) {
  TSpyButton button(nullptr);
  button.SetTransparent(true);
  EXPECT_EQ(button.ControlStyle(), (TControlStyle{csCaptureMouse, csDoubleClicks}));
  button.SetTransparent(true);
  EXPECT_EQ(button.TakeInvalidates(), 1);
  button.SetTransparent(false);
  EXPECT_EQ(button.ControlStyle(), (TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks}));
  EXPECT_EQ(button.TakeInvalidates(), 1);
}

class FontSetter : public testing::TestWithParam<bool> {};  // true: ActiveFont

TEST_P(FontSetter, CopiesIntoTheOwnFontAndIgnoresNone) {
  TSpyButton button(nullptr);
  TFont* own = GetParam() ? button.ActiveFont() : button.Font();
  auto set = [&](const TFont* f) { GetParam() ? button.SetActiveFont(f) : button.SetFont(f); };
  const TColor before = own->Color();
  set(nullptr);
  EXPECT_EQ(own->Color(), before);
  EXPECT_EQ(button.TakeInvalidates(), 0);

  TFont given;
  given.SetName("Tahoma");
  given.SetHeight(-20);
  given.SetColor(clRed);
  given.SetStyle({TFontStyle::fsBold});
  set(&given);
  EXPECT_EQ(GetParam() ? button.ActiveFont() : button.Font(), own) << "the font object is never replaced";
  EXPECT_EQ(own->Name(), "Tahoma");
  EXPECT_EQ(own->Height(), -20);
  EXPECT_EQ(own->Color(), clRed);
  EXPECT_EQ(own->Style(), TFontStyles{TFontStyle::fsBold});
  EXPECT_GE(button.TakeInvalidates(), 1);
  given.SetColor(clBlue);
  EXPECT_EQ(own->Color(), clRed);
  EXPECT_EQ(button.TakeInvalidates(), 0);
  // Changing the own font in place repaints through its change event.
  own->SetHeight(-9);
  EXPECT_EQ(button.TakeInvalidates(), 1);
}

INSTANTIATE_TEST_SUITE_P(Table, FontSetter, testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "ActiveFont" : "Font"); });

TEST(ButtonSetters, DownNeedsAGroup) {
  TSpyButton button(nullptr);
  button.SetDown(true);
  EXPECT_FALSE(button.Down());
  EXPECT_EQ(button.State(), vsUp);
}

// ---- Colour sets ---------------------------------------------------------------------------------

struct ColorValueRow {
  const char* name;
  int64_t other;
};

const ColorValueRow kColorValues[] = {
    {"Color", 0x00010203},     {"Highlight", 0x00040506}, {"Shadow", 0x00070809}, {"DarkShadow", 0x000A0B0C},
    {"GradColor", 0x000D0E0F}, {"GradVertical", true},     {"Gradation", true},
};

class ColorSetValue : public testing::TestWithParam<ColorValueRow> {};

TEST_P(ColorSetValue, ChangeInvalidatesTheOwnerOnceAndEqualValueDoesNothing) {
  const ColorValueRow& row = GetParam();
  for (bool pressed : {false, true}) {
    TSpyButton button(nullptr);
    TShineBtnColors& set = pressed ? *button.PressedColors() : *button.Colors();
    SetOrd(set, row.name, Ord(set, row.name));
    EXPECT_EQ(button.TakeInvalidates(), 0);
    SetOrd(set, row.name, row.other);
    EXPECT_EQ(Ord(set, row.name), row.other);
    EXPECT_EQ(button.TakeInvalidates(), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, ColorSetValue, testing::ValuesIn(kColorValues),
                         [](const auto& info) { return std::string(info.param.name); });

void SetAllOthers(TShineBtnColors& set) {
  set.SetColor(0x00010203);
  set.SetHighlight(0x00040506);
  set.SetShadow(0x00070809);
  set.SetDarkShadow(0x000A0B0C);
  set.SetGradColor(0x000D0E0F);
  set.SetGradVertical(true);
  set.SetGradation(true);
}

std::vector<int64_t> Values(const TShineBtnColors& set) {
  std::vector<int64_t> v;
  for (const TPropInfo* p : set.ClassInfo().Properties()) v.push_back(p->GetOrd(set));
  return v;
}

class ColorSetAssignment : public testing::TestWithParam<bool> {};  // true: PressedColors

TEST_P(ColorSetAssignment, CopiesAllSevenNotifiesTheReceiverOnceAndStaysSeparate) {
  TSpyButton source(nullptr), receiver(nullptr);
  TShineBtnColors& from = *source.Colors();
  SetAllOthers(from);
  source.TakeInvalidates();
  TShineBtnColors* own = GetParam() ? receiver.PressedColors() : receiver.Colors();
  GetParam() ? receiver.SetPressedColors(&from) : receiver.SetColors(&from);
  EXPECT_EQ(GetParam() ? receiver.PressedColors() : receiver.Colors(), own) << "the set is never replaced";
  EXPECT_EQ(Values(*own), Values(from));
  EXPECT_EQ(receiver.TakeInvalidates(), 1);
  EXPECT_EQ(source.TakeInvalidates(), 0);
  from.SetColor(clRed);
  from.SetGradation(false);
  EXPECT_EQ(own->Color(), 0x00010203u);
  EXPECT_TRUE(own->Gradation());
  EXPECT_EQ(receiver.TakeInvalidates(), 0);
  EXPECT_EQ(source.TakeInvalidates(), 2);
}

TEST_P(ColorSetAssignment, WrongSourceRaisesAndCopiesNothing) {
  TSpyButton receiver(nullptr);
  TShineBtnColors* own = GetParam() ? receiver.PressedColors() : receiver.Colors();
  const auto before = Values(*own);
  TFont font;
  auto set = [&](const TPersistent* from) {
    // The setter takes colour sets; a wrong source reaches the set's Assign as it would from a layout.
    own->Assign(from);
  };
  try {
    set(&font);
    FAIL() << "no error";
  } catch (const EAssignError& e) {
    EXPECT_EQ(e.Message(), "TFont を TShineBtnColors に代入できません");
  }
  EXPECT_THROW(set(nullptr), EAssignError);
  EXPECT_THROW(GetParam() ? receiver.SetPressedColors(nullptr) : receiver.SetColors(nullptr), EAssignError);
  EXPECT_EQ(Values(*own), before);
  EXPECT_EQ(receiver.TakeInvalidates(), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, ColorSetAssignment, testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "PressedColors" : "Colors"); });

// Reaches the protected giving direction, as the platform does for a receiver of another class.
class TGivingColors : public TShineBtnColors {
 public:
  void GiveTo(TPersistent* dest) const { AssignTo(dest); }
};

TEST(ColorSetAssignTo, GivesAllSevenToAColorSetWithOneNotification) {
  TSpyButton receiver(nullptr);
  TGivingColors giver;
  SetAllOthers(giver);
  giver.GiveTo(receiver.Colors());
  EXPECT_EQ(Values(*receiver.Colors()), Values(giver));
  EXPECT_EQ(receiver.TakeInvalidates(), 1);
}

TEST(ColorSetAssignTo, RefusesAnotherClassAndLeavesItUntouched) {
  TShineBtnColors colors;
  TFont font;
  font.SetColor(clRed);
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(TObject*) { ++*n; }
  } counter{&changes};
  font.OnChange = TNotifyEvent(&counter, &Counter::Changed);
  try {
    font.Assign(&colors);  // the font cannot take colour sets and asks the set to give itself
    FAIL() << "no error";
  } catch (const EAssignError& e) {
    EXPECT_EQ(e.Message(), "TShineBtnColors を TFont に代入できません");
  }
  EXPECT_EQ(font.Color(), clRed);
  EXPECT_EQ(changes, 0);
}

// ---- Lifetime ------------------------------------------------------------------------------------

TEST(ButtonLifetime, OwnedByItsOwnerTogetherWithItsTimer) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* button = new TShineSpeedButton(owner.get());
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(button->ComponentCount(), 1);
  EXPECT_EQ(button->Components(0), button->ActiveTimer());
  owner.reset();  // frees the button, its timer, sets, fonts and glyph (the sanitizer build checks)
}

}  // namespace
}  // namespace permora
