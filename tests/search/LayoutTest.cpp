#include <gtest/gtest.h>

#include <memory>

#include "platform/LayoutFile.h"
#include "search/Recorder.h"
#include "search/SearchFile.h"
#include "support/TempTree.h"

namespace permora {
namespace {

// A window-like root that places both components and handles their events.
class TSearchForm : public TComponent {
 public:
  explicit TSearchForm(TComponent* owner = nullptr) : TComponent(owner) {}
  static const TClassInfo& StaticClassInfo() {
    namespace p = published;
    static const TClassInfo info(
        "TSearchForm", &TComponent::StaticClassInfo(), {}, {},
        {p::Method("SearchFile1Find", &TSearchForm::SearchFile1Find),
         p::Method("SearchFile1FindDir", &TSearchForm::SearchFile1FindDir),
         p::Method("SearchDir1Find", &TSearchForm::SearchDir1Find)},
        {p::Field("SearchFile1", &TSearchForm::SearchFile1), p::Field("SearchDir1", &TSearchForm::SearchDir1)});
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

  void SearchFile1Find(TObject*, const String& Name, const TSearchFileData&, bool&) { Files.push_back(Name); }
  void SearchFile1FindDir(TObject*, const String& Name, const TSearchFileData&, bool&, bool&) { Dirs.push_back(Name); }
  void SearchDir1Find(TObject*, const String& Name, const TSearchFileData&, bool&, bool&) { Walked.push_back(Name); }

  TSearchFile* SearchFile1 = nullptr;
  TSearchDir* SearchDir1 = nullptr;
  std::vector<String> Files, Dirs, Walked;
};

class SearchLayout : public testing::Test {
 protected:
  static void SetUpTestSuite() { Register(); }
};

TEST_F(SearchLayout, WritesOnlyWhatDiffersFromTheDefaults) {
  TSearchForm form;
  form.SetName("Form1");
  form.SearchFile1 = new TSearchFile(&form);
  form.SearchFile1->SetName("SearchFile1");
  form.SearchDir1 = new TSearchDir(&form);
  form.SearchDir1->SetName("SearchDir1");
  const String text = WriteComponentLayout(form);
  EXPECT_EQ(text,
            "object Form1: TSearchForm\n"
            "  object SearchFile1: TSearchFile\n"
            "  end\n"
            "  object SearchDir1: TSearchDir\n"
            "  end\n"
            "end\n");
}

TEST_F(SearchLayout, ReadsBackWhatItWroteAndSearchesWithIt) {
  test::TTempTree tree;
  tree.File("写真/a.jpg");
  tree.File("写真/sub/b.JPG");
  const String directory = tree.Path("写真");

  TSearchForm original;
  original.SetName("Form1");
  auto* searcher = new TSearchFile(&original);
  searcher->SetName("SearchFile1");
  searcher->SetTag(1);
  searcher->Directory = directory;
  searcher->Recursive = true;
  searcher->SearchName = "*.jpg";
  searcher->OnFind = TFindFileEvent(&original, &TSearchForm::SearchFile1Find, "SearchFile1Find");
  searcher->OnFindDir = TFindDirEvent(&original, &TSearchForm::SearchFile1FindDir, "SearchFile1FindDir");
  auto* walker = new TSearchDir(&original);
  walker->SetName("SearchDir1");
  walker->BaseDir = directory;
  walker->OnFind = TSearchDirEvent(&original, &TSearchForm::SearchDir1Find, "SearchDir1Find");
  const String text = WriteComponentLayout(original);
  EXPECT_NE(text.find("    Recursive = True\n"), String::npos) << text;
  EXPECT_NE(text.find("    SearchName = '*.jpg'\n"), String::npos) << text;
  EXPECT_NE(text.find("    OnFind = SearchFile1Find\n"), String::npos) << text;
  EXPECT_NE(text.find("    OnFindDir = SearchFile1FindDir\n"), String::npos) << text;
  EXPECT_NE(text.find("    BaseDir = '" + directory + "'\n"), String::npos) << text;

  TSearchForm form;
  ReadComponentLayout(form, text, "search.layout");
  ASSERT_NE(form.SearchFile1, nullptr);
  ASSERT_NE(form.SearchDir1, nullptr);
  EXPECT_EQ(form.SearchFile1->Directory, directory);
  EXPECT_TRUE(form.SearchFile1->Recursive);
  EXPECT_EQ(form.SearchFile1->SearchName, "*.jpg");
  EXPECT_EQ(form.SearchFile1->Tag(), 1);
  EXPECT_EQ(form.SearchDir1->BaseDir, directory);
  EXPECT_EQ(WriteComponentLayout(form), text);

  // The events are bound to the new form, and the searcher's own walker still works.
  EXPECT_TRUE(form.SearchFile1->Search());
  EXPECT_EQ(form.Files, (std::vector<String>{directory + "/a.jpg", directory + "/sub/b.JPG"}));
  EXPECT_EQ(form.Dirs, (std::vector<String>{directory, directory + "/sub"}));
  EXPECT_TRUE(form.SearchDir1->Search());
  EXPECT_EQ(form.Walked, (std::vector<String>{directory, directory + "/sub"}));
  EXPECT_TRUE(original.Files.empty());
}

}  // namespace
}  // namespace permora
