#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "search/Recorder.h"
#include "search/SearchFile.h"
#include "support/TempTree.h"

namespace permora {
namespace {

using test::NamesOf;
using test::TTempTree;
using test::TWalkRecorder;

// base -> {B, A, f.jpg} (B made first, so that the order on disk is not the sorted one),
// A -> {A2, A1}, A1 -> {deep}, B -> {B1}.
class Walk : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* d : {"B/B1", "A/A2", "A/A1/deep"}) tree.Dir(d);
    tree.File("f.jpg");
    tree.File("A/a.jpg");
    walker.BaseDir = tree.Root();
    walker.OnFind = recorder.Event();
  }
  String P(const String& relative) const { return tree.Path(relative); }

  TTempTree tree;
  TSearchDir walker{nullptr};
  TWalkRecorder recorder;
};

TEST_F(Walk, IsBreadthFirstInSortedOrder) {
  EXPECT_TRUE(walker.Search());
  EXPECT_EQ(NamesOf(recorder.Reports),
            (std::vector<String>{P(""), P("A"), P("B"), P("A/A1"), P("A/A2"), P("B/B1"), P("A/A1/deep")}));
  for (const auto& r : recorder.Reports) {
    EXPECT_EQ(r.Sender, &walker);
    EXPECT_TRUE(r.Data.IsDirectory) << r.Name;
  }
  EXPECT_EQ(recorder.Reports[1].Data.LongName, "A");
  EXPECT_EQ(recorder.Reports[0].Data.LongName, ExtractFileName(tree.Root()));
  EXPECT_FALSE(walker.Searching());
}

TEST_F(Walk, IgnoreSubDirKeepsTheWalkOutOfOneDirectory) {
  recorder.React = [&](const String& name, bool& ignore, bool&) { ignore = name == P("A"); };
  EXPECT_TRUE(walker.Search());
  EXPECT_EQ(NamesOf(recorder.Reports), (std::vector<String>{P(""), P("A"), P("B"), P("B/B1")}));
}

TEST_F(Walk, IgnoreSubDirForTheBaseReportsTheBaseOnly) {
  recorder.React = [](const String&, bool& ignore, bool&) { ignore = true; };
  EXPECT_TRUE(walker.Search());
  EXPECT_EQ(NamesOf(recorder.Reports), std::vector<String>{P("")});
}

TEST_F(Walk, ContinueFalseStopsAndLeavesTheRestOfTheQueue) {
  recorder.React = [&](const String& name, bool&, bool& cont) {
    if (name == P("A/A1")) cont = false;
  };
  EXPECT_FALSE(walker.Search());
  EXPECT_EQ(NamesOf(recorder.Reports), (std::vector<String>{P(""), P("A"), P("B"), P("A/A1")}));
  ASSERT_EQ(walker.DirQueue().Count(), 1);
  EXPECT_EQ(walker.DirQueue().Strings(0), P("B"));
  EXPECT_FALSE(walker.Searching());
}

TEST_F(Walk, EAbortFromTheHandlerStopsSilently) {
  recorder.React = [&](const String& name, bool&, bool&) {
    if (name == P("A")) Abort();
  };
  EXPECT_FALSE(walker.Search());
  EXPECT_EQ(NamesOf(recorder.Reports), (std::vector<String>{P(""), P("A")}));
}

TEST_F(Walk, AnotherExceptionPassesAndLeavesTheWalkerUsable) {
  recorder.React = [&](const String& name, bool&, bool&) {
    if (name == P("B")) throw EConvertError("from the handler");
  };
  EXPECT_THROW(walker.Search(), EConvertError);
  EXPECT_FALSE(walker.Searching());
  recorder.React = nullptr;
  recorder.Reports.clear();
  EXPECT_TRUE(walker.Search());
  EXPECT_EQ(recorder.Reports.size(), 7u);
}

TEST_F(Walk, ASearchFromItsOwnHandlerIsRefused) {
  std::vector<bool> nested;
  recorder.React = [&](const String& name, bool&, bool&) {
    if (name == P("A")) nested.push_back(walker.Search());
  };
  EXPECT_TRUE(walker.Search());
  EXPECT_EQ(nested, std::vector<bool>{false});
  EXPECT_EQ(recorder.Reports.size(), 7u);
}

TEST_F(Walk, WithoutHandlerOrStartNothingHappens) {
  walker.OnFind = nullptr;
  EXPECT_FALSE(walker.Search());
  walker.OnFind = recorder.Event();
  walker.BaseDir = P("missing");
  EXPECT_FALSE(walker.Search());
  walker.BaseDir = "";
  EXPECT_FALSE(walker.Search());
  EXPECT_TRUE(recorder.Reports.empty());
}

TEST_F(Walk, AFileAsBaseIsReportedAsItselfOnly) {
  walker.BaseDir = P("f.jpg");
  EXPECT_TRUE(walker.Search());
  ASSERT_EQ(recorder.Reports.size(), 1u);
  EXPECT_EQ(recorder.Reports[0].Name, P("f.jpg"));
  EXPECT_FALSE(recorder.Reports[0].Data.IsDirectory);
  EXPECT_EQ(recorder.Reports[0].Data.LongName, "f.jpg");
}

TEST_F(Walk, ARelativeBaseIsReportedAbsolute) {
  const String before = GetCurrentDir();
  ASSERT_EQ(::chdir(P("A").c_str()), 0);
  walker.BaseDir = ".";
  const bool result = walker.Search();
  ASSERT_EQ(::chdir(before.c_str()), 0);
  EXPECT_TRUE(result);
  EXPECT_EQ(NamesOf(recorder.Reports), (std::vector<String>{P("A"), P("A/A1"), P("A/A2"), P("A/A1/deep")}));
}

TEST_F(Walk, ABaseEndingInASeparatorHasTheEmptyRecord) {
  walker.BaseDir = tree.Root() + "/";
  // Reported as given; below it the walk goes on with single separators.
  recorder.React = [&](const String& name, bool& ignore, bool&) { ignore = name != tree.Root() + "/"; };
  EXPECT_TRUE(walker.Search());
  EXPECT_EQ(NamesOf(recorder.Reports), (std::vector<String>{tree.Root() + "/", P("A"), P("B")}));
  const TSearchFileData& base = recorder.Reports[0].Data;
  EXPECT_EQ(base.LongName, "");
  EXPECT_EQ(base.ShortName, "");
  EXPECT_EQ(base.Size, 0);
  EXPECT_FALSE(base.IsDirectory);
  EXPECT_FALSE(base.LastWriteTimeValid);
}

TEST_F(Walk, TheRootIsReportedWithTheEmptyRecord) {
  walker.BaseDir = "/";
  recorder.React = [&](const String&, bool&, bool& cont) { cont = recorder.Reports.size() < 2; };
  EXPECT_FALSE(walker.Search());
  ASSERT_EQ(recorder.Reports.size(), 2u);
  EXPECT_EQ(recorder.Reports[0].Name, "/");
  EXPECT_EQ(recorder.Reports[0].Data.LongName, "");
  EXPECT_EQ(recorder.Reports[1].Name, "/" + recorder.Reports[1].Data.LongName);
}

TEST_F(Walk, TakesEachDirectoryOnceThroughLinks) {
  tree.Link("A/up", "..");
  tree.Link("B/toA", "../A");
  tree.Link("B/B1/self", ".");
  // Should the loop not end, stop it early rather than wait for the path limit.
  recorder.React = [&](const String&, bool&, bool& cont) { cont = recorder.Reports.size() < 100; };
  EXPECT_TRUE(walker.Search());
  EXPECT_EQ(NamesOf(recorder.Reports),
            (std::vector<String>{P(""), P("A"), P("B"), P("A/A1"), P("A/A2"), P("B/B1"), P("A/A1/deep")}));
}

TEST_F(Walk, FollowsALinkToADirectoryElsewhere) {
  TTempTree outside;
  outside.Dir("inner");
  tree.Link("C", outside.Root());
  recorder.React = [&](const String& name, bool& ignore, bool&) { ignore = name.rfind(P("A"), 0) == 0 || name == P("B"); };
  EXPECT_TRUE(walker.Search());
  EXPECT_EQ(NamesOf(recorder.Reports), (std::vector<String>{P(""), P("A"), P("B"), P("C"), P("C/inner")}));
  EXPECT_TRUE(recorder.Reports[3].Data.IsDirectory);
}

TEST_F(Walk, ADirectoryRemovedDuringTheWalkIsPassedOver) {
  recorder.React = [&](const String& name, bool&, bool&) {
    if (name == P("A")) std::filesystem::remove_all(P("B/B1"));
    if (name == P("B")) std::filesystem::remove_all(P("A"));
  };
  EXPECT_TRUE(walker.Search());
  EXPECT_EQ(NamesOf(recorder.Reports), (std::vector<String>{P(""), P("A"), P("B")}));
}

// Directories nested so deep that their paths grow longer than the system allows: what lies
// beyond the limit is passed over, what lies within it is reported.
TEST(SearchLimits, PathsNearAndBeyondTheLengthLimit) {
  TTempTree tree;
  const String component(200, 'd');
  String path = tree.Root();
  String lastReachable;
  std::vector<String> reachableFiles;
  int fd = ::open(tree.Root().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  for (int level = 0; level < 22; ++level) {
    ASSERT_EQ(::mkdirat(fd, component.c_str(), 0755), 0);
    const int next = ::openat(fd, component.c_str(), O_RDONLY | O_DIRECTORY);
    ::close(fd);
    ASSERT_GE(next, 0);
    fd = next;
    ::close(::openat(fd, "f.jpg", O_CREAT | O_WRONLY, 0644));
    path += "/" + component;
    if (path.size() <= MaxPath) lastReachable = path;
    if (path.size() + 6 <= MaxPath) reachableFiles.push_back(path + "/f.jpg");
  }
  ::close(fd);
  ASSERT_GT(path.size(), MaxPath + 1);
  ASSERT_GT(reachableFiles.back().size(), 4000u);

  TSearchDir walker(nullptr);
  TWalkRecorder walk;
  walker.OnFind = walk.Event();
  walker.BaseDir = tree.Root();
  EXPECT_TRUE(walker.Search());
  ASSERT_FALSE(walk.Reports.empty());
  EXPECT_EQ(walk.Reports.back().Name, lastReachable);

  TSearchFile searcher(nullptr);
  test::TSearchRecorder search;
  searcher.OnFind = search.FileEvent();
  searcher.Directory = tree.Root();
  searcher.Recursive = true;
  searcher.SearchName = "*.jpg";
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(search.Files), reachableFiles);
}

}  // namespace
}  // namespace permora
