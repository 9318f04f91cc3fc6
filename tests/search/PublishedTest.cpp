#include <gtest/gtest.h>

#include <memory>

#include "search/Recorder.h"
#include "search/SearchFile.h"

namespace permora {
namespace {

std::vector<String> PropertyNames(const TClassInfo& info) {
  std::vector<String> names;
  for (const TPropInfo* p : info.Properties()) names.push_back(p->Name);
  return names;
}

TEST(Published, PropertiesInDeclarationOrder) {
  EXPECT_EQ(PropertyNames(TSearchDir::StaticClassInfo()), (std::vector<String>{"Name", "Tag", "BaseDir", "OnFind"}));
  EXPECT_EQ(PropertyNames(TSearchFile::StaticClassInfo()),
            (std::vector<String>{"Name", "Tag", "Directory", "Recursive", "SearchName", "OnFind", "OnFindDir"}));
}

TEST(Published, AFreshComponentHoldsEveryDefault) {
  TSearchFile searcher(nullptr);
  TSearchDir walker(nullptr);
  for (const TPropInfo* p : searcher.ClassInfo().Properties())
    if (p->Name != "Name") {
      EXPECT_TRUE(p->IsDefault(searcher)) << p->Name;
    }
  for (const TPropInfo* p : walker.ClassInfo().Properties())
    if (p->Name != "Name") {
      EXPECT_TRUE(p->IsDefault(walker)) << p->Name;
    }
  EXPECT_EQ(TSearchFile::StaticClassInfo().FindProperty("Recursive")->OrdDefault, 0);
  EXPECT_EQ(TSearchFile::StaticClassInfo().FindProperty("Directory")->StrDefault, "");
}

TEST(Published, ValuesOtherThanTheDefaultAreStored) {
  TSearchFile searcher(nullptr);
  test::TSearchRecorder recorder;
  const TClassInfo& info = searcher.ClassInfo();
  info.FindProperty("Recursive")->SetOrd(searcher, 1);
  info.FindProperty("SearchName")->SetStr(searcher, "*.jpg");
  info.FindProperty("Directory")->SetStr(searcher, "/photos");
  EXPECT_TRUE(searcher.Recursive);
  EXPECT_EQ(searcher.SearchName, "*.jpg");
  EXPECT_EQ(searcher.Directory, "/photos");
  for (const char* name : {"Recursive", "SearchName", "Directory"})
    EXPECT_FALSE(info.FindProperty(name)->IsDefault(searcher)) << name;
  EXPECT_EQ(info.FindProperty("Recursive")->GetOrd(searcher), 1);
}

TEST(Published, RegisteredOnOnePaletteAndCreatedByName) {
  Register();
  EXPECT_EQ(PalettePage("TSearchDir"), SearchPalettePage);
  EXPECT_EQ(PalettePage("TSearchFile"), SearchPalettePage);
  TComponent owner(nullptr);
  const TClassInfo* info = FindClass("TSearchFile");
  ASSERT_NE(info, nullptr);
  TComponent* created = info->Create(&owner);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->ClassName(), "TSearchFile");
  EXPECT_EQ(created->Owner(), &owner);
  ASSERT_NE(FindClass("TSearchDir"), nullptr);
  EXPECT_EQ(FindClass("TSearchDir")->Create(&owner)->ClassName(), "TSearchDir");
}

TEST(Published, TheSearcherOwnsItsWalker) {
  TSearchFile searcher(nullptr);
  ASSERT_NE(searcher.DirSearch(), nullptr);
  EXPECT_EQ(searcher.DirSearch()->Owner(), &searcher);
  EXPECT_EQ(searcher.ComponentCount(), 1);
  EXPECT_TRUE(searcher.DirSearch()->OnFind.Assigned());
}

TEST(UnitFunctions, ThereAreNoWindowsDirectoriesHere) {
  EXPECT_EQ(GetWindowsDirectory(), "");
  EXPECT_EQ(GetSystemDirectory(), "");
}

}  // namespace
}  // namespace permora
