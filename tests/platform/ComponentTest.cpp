#include <gtest/gtest.h>

#include <memory>

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/TypInfo.h"

namespace permora {
namespace {

// Records its own destruction, and what its owner still held at that moment.
class TRecorder : public TComponent {
 public:
  TRecorder(TComponent* owner, String name, std::vector<String>& log) : TComponent(owner), FLog(log) {
    SetName(std::move(name));
  }
  ~TRecorder() override {
    String entry = Name();
    if (Owner()) entry += " of " + IntToStr(Owner()->ComponentCount());
    FLog.push_back(entry);
  }

 private:
  std::vector<String>& FLog;
};

TEST(ComponentOwnership, TheOwnerFreesItsComponentsLastCreatedFirst) {
  std::vector<String> log;
  auto owner = std::make_unique<TComponent>(nullptr);
  new TRecorder(owner.get(), "a", log);
  auto* b = new TRecorder(owner.get(), "b", log);
  new TRecorder(b, "b1", log);  // owned by b, freed with it
  new TRecorder(owner.get(), "c", log);
  ASSERT_EQ(owner->ComponentCount(), 3);
  owner.reset();
  // b's own destructor runs before the components it owns go.
  EXPECT_EQ(log, (std::vector<String>{"c of 3", "b of 2", "b1 of 1", "a of 1"}));
}

TEST(ComponentOwnership, AComponentFreedDirectlyLeavesItsOwner) {
  std::vector<String> log;
  TComponent owner(nullptr);
  auto* a = new TRecorder(&owner, "a", log);
  auto* b = new TRecorder(&owner, "b", log);
  auto* c = new TRecorder(&owner, "c", log);
  delete b;
  ASSERT_EQ(owner.ComponentCount(), 2);
  EXPECT_EQ(owner.Components(0), a);
  EXPECT_EQ(owner.Components(1), c);
  EXPECT_EQ(owner.FindComponent("b"), nullptr);
  EXPECT_EQ(owner.FindComponent("c"), c);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  owner.DestroyComponents();
  EXPECT_EQ(owner.ComponentCount(), 0);
  EXPECT_EQ(log, (std::vector<String>{"b of 3", "c of 2", "a of 1"}));
}

TEST(Assign, UnrelatedClassesRaiseTheAssignmentError) {
  TFont font;
  TBitmap bitmap;
  font.SetName("Before");
  try {
    font.Assign(&bitmap);
    FAIL() << "no error";
  } catch (const EAssignError& e) {
    EXPECT_EQ(e.Message(), "TBitmap を TFont に代入できません");
  }
  EXPECT_EQ(font.Name(), "Before");
  EXPECT_THROW(bitmap.Assign(&font), EAssignError);
  try {
    font.Assign(nullptr);
    FAIL() << "no error";
  } catch (const EAssignError& e) {
    EXPECT_EQ(e.Message(), "nil を TFont に代入できません");
  }
}

TEST(Assign, ALikeClassCopiesTheValues) {
  TFont source, target;
  source.SetName("IPAGothic");
  source.SetStyle({TFontStyle::fsBold});
  int changes = 0;
  struct TCounter : TObject {
    int* count;
    void Changed(TObject*) { ++*count; }
  } counter;
  counter.count = &changes;
  target.OnChange = TNotifyEvent(&counter, &TCounter::Changed);
  target.Assign(&source);
  EXPECT_EQ(target.Name(), "IPAGothic");
  EXPECT_EQ(target.Style(), TFontStyles{TFontStyle::fsBold});
  EXPECT_EQ(changes, 1);
}

class THandlers : public TObject {
 public:
  void First(TObject*) {}
  void Second(TObject*) {}
};

TEST(MethodPointer, IsEqualForTheSameObjectAndMethod) {
  THandlers x, y;
  const TNotifyEvent none;
  EXPECT_FALSE(none.Assigned());
  EXPECT_FALSE(Assigned(none));
  const TNotifyEvent a(&x, &THandlers::First);
  EXPECT_TRUE(a.Assigned());
  EXPECT_EQ(a, TNotifyEvent(&x, &THandlers::First, "First"));
  EXPECT_FALSE(a == TNotifyEvent(&x, &THandlers::Second));
  EXPECT_FALSE(a == TNotifyEvent(&y, &THandlers::First));
  EXPECT_FALSE(a == none);
}

TEST(ClassRegistry, FindsRegisteredClassesAndTheirPalettePage) {
  class TPaletteItem : public TComponent {
   public:
    using TComponent::TComponent;
    static const TClassInfo& StaticClassInfo() {
      static const TClassInfo info("TPaletteItem", &TComponent::StaticClassInfo(), {},
                                   published::ComponentFactory<TPaletteItem>());
      return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
  };
  RegisterComponents("Samples", {&TPaletteItem::StaticClassInfo()});
  ASSERT_EQ(FindClass("TPaletteItem"), &TPaletteItem::StaticClassInfo());
  EXPECT_EQ(PalettePage("TPaletteItem"), "Samples");
  EXPECT_EQ(PalettePage("TComponent"), "");
  TComponent owner(nullptr);
  TComponent* made = FindClass("TPaletteItem")->Create(&owner);
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_EQ(made->ClassName(), "TPaletteItem");
  EXPECT_TRUE(made->InheritsFrom(TComponent::StaticClassInfo()));
  EXPECT_FALSE(made->InheritsFrom(TFont::StaticClassInfo()));
}

}  // namespace
}  // namespace permora
