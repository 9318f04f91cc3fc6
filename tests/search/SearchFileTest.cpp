#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "search/Recorder.h"
#include "search/SearchFile.h"
#include "support/TempTree.h"

namespace permora {
namespace {

using test::NamesOf;
using test::TSearchRecorder;
using test::TTempTree;

// D -> {a.jpg, S, note.txt}, S -> {b.JPG, T}, T -> {c.jpg}.
class Search : public testing::Test {
 protected:
  void SetUp() override {
    tree.File("a.jpg");
    tree.File("note.txt");
    tree.File("S/b.JPG");
    tree.File("S/T/c.jpg");
    searcher.Directory = tree.Root();
    searcher.Recursive = true;
    searcher.SearchName = "*.jpg";
    searcher.OnFind = recorder.FileEvent();
  }
  String P(const String& relative) const { return tree.Path(relative); }

  TTempTree tree;
  TSearchFile searcher{nullptr};
  TSearchRecorder recorder;
};

TEST_F(Search, RecursiveReportsEveryMatchDirectoryByDirectory) {
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files), (std::vector<String>{P("a.jpg"), P("S/b.JPG"), P("S/T/c.jpg")}));
  for (const auto& r : recorder.Files) EXPECT_EQ(r.Sender, &searcher);
  EXPECT_EQ(recorder.Files[1].Data.LongName, "b.JPG");
  EXPECT_FALSE(searcher.Searching());
}

TEST_F(Search, NotRecursiveSearchesTheDirectoryOnly) {
  searcher.Recursive = false;
  searcher.OnFindDir = recorder.DirEvent();
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files), std::vector<String>{P("a.jpg")});
  EXPECT_TRUE(recorder.Dirs.empty());
}

TEST_F(Search, AnEmptyPatternReportsEveryEntryDirectoriesToo) {
  searcher.SearchName = "";
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files),
            (std::vector<String>{P("a.jpg"), P("note.txt"), P("S"), P("S/b.JPG"), P("S/T"), P("S/T/c.jpg")}));
  EXPECT_TRUE(recorder.Files[2].Data.IsDirectory);
  EXPECT_FALSE(recorder.Files[0].Data.IsDirectory);
}

TEST_F(Search, ADirectoryNamedLikeAPictureIsReportedLikeAFile) {
  tree.Dir("x.jpg/inside");
  tree.File("x.jpg/inside/d.jpg");
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files),
            (std::vector<String>{P("a.jpg"), P("x.jpg"), P("S/b.JPG"), P("S/T/c.jpg"), P("x.jpg/inside/d.jpg")}));
  EXPECT_TRUE(recorder.Files[1].Data.IsDirectory);
}

TEST_F(Search, OffersEachDirectoryToOnFindDirFirst) {
  searcher.OnFindDir = recorder.DirEvent();
  std::vector<std::size_t> filesSeenAtEachDir;
  recorder.ReactDir = [&](const String&, bool&, bool&) { filesSeenAtEachDir.push_back(recorder.Files.size()); };
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Dirs), (std::vector<String>{P(""), P("S"), P("S/T")}));
  EXPECT_EQ(filesSeenAtEachDir, (std::vector<std::size_t>{0, 0, 0}));
  // The searcher sends the event, not its walker.
  for (const auto& r : recorder.Dirs) EXPECT_EQ(r.Sender, &searcher);
  EXPECT_TRUE(recorder.Dirs[1].Data.IsDirectory);
  EXPECT_EQ(recorder.Dirs[1].Data.LongName, "S");
}

TEST_F(Search, SkipLeavesOutADirectoryButNotItsSubDirectories) {
  searcher.OnFindDir = recorder.DirEvent();
  recorder.ReactDir = [&](const String& name, bool& skip, bool&) { skip = name == P("S"); };
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files), (std::vector<String>{P("a.jpg"), P("S/T/c.jpg")}));
  EXPECT_EQ(searcher.DirList().Count(), 2);
}

TEST_F(Search, IgnoreSubDirSearchesADirectoryButNothingBelowIt) {
  searcher.OnFindDir = recorder.DirEvent();
  recorder.ReactDir = [&](const String& name, bool&, bool& ignore) { ignore = name == P("S"); };
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files), (std::vector<String>{P("a.jpg"), P("S/b.JPG")}));
  EXPECT_EQ(NamesOf(recorder.Dirs), (std::vector<String>{P(""), P("S")}));
}

TEST_F(Search, ContinueFalseStopsAndALaterSearchRunsNormally) {
  recorder.ReactFile = [](const String&, const TSearchFileData&, bool& cont) { cont = false; };
  EXPECT_FALSE(searcher.Search());
  EXPECT_EQ(recorder.Files.size(), 1u);
  recorder.ReactFile = nullptr;
  recorder.Files.clear();
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(recorder.Files.size(), 3u);
}

TEST_F(Search, EAbortFromOnFindStopsTheSearch) {
  recorder.ReactFile = [&](const String& name, const TSearchFileData&, bool&) {
    if (name == P("S/b.JPG")) Abort();
  };
  EXPECT_FALSE(searcher.Search());
  EXPECT_EQ(recorder.Files.size(), 2u);
  EXPECT_FALSE(searcher.Searching());
}

TEST_F(Search, EAbortFromOnFindDirEndsOnlyTheCollection) {
  searcher.OnFindDir = recorder.DirEvent();
  recorder.ReactDir = [&](const String& name, bool&, bool&) {
    if (name == P("S/T")) Abort();
  };
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files), (std::vector<String>{P("a.jpg"), P("S/b.JPG")}));
  EXPECT_FALSE(searcher.DirSearch()->Searching());
}

TEST_F(Search, AnotherExceptionFromOnFindPassesAndClearsTheBusyFlag) {
  recorder.ReactFile = [&](const String& name, const TSearchFileData&, bool&) {
    if (name == P("S/b.JPG")) throw EInvalidGraphic("cannot load");
  };
  EXPECT_THROW(searcher.Search(), EInvalidGraphic);
  EXPECT_FALSE(searcher.Searching());
  recorder.ReactFile = nullptr;
  recorder.Files.clear();
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(recorder.Files.size(), 3u);
}

TEST_F(Search, AnotherExceptionFromOnFindDirPassesAndClearsBothBusyFlags) {
  searcher.OnFindDir = recorder.DirEvent();
  recorder.ReactDir = [&](const String& name, bool&, bool&) {
    if (name == P("S")) throw EConvertError("from the handler");
  };
  EXPECT_THROW(searcher.Search(), EConvertError);
  EXPECT_TRUE(recorder.Files.empty());
  EXPECT_FALSE(searcher.Searching());
  EXPECT_FALSE(searcher.DirSearch()->Searching());
  recorder.ReactDir = nullptr;
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(recorder.Files.size(), 3u);
}

TEST_F(Search, ASearchFromItsOwnHandlerIsRefused) {
  std::vector<bool> nested;
  recorder.ReactFile = [&](const String&, const TSearchFileData&, bool&) {
    if (nested.empty()) nested.push_back(searcher.Search());
  };
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(nested, std::vector<bool>{false});
  EXPECT_EQ(recorder.Files.size(), 3u);
}

TEST_F(Search, WithoutOnFindNothingIsRead) {
  searcher.OnFind = nullptr;
  searcher.OnFindDir = recorder.DirEvent();
  EXPECT_FALSE(searcher.Search());
  EXPECT_TRUE(recorder.Dirs.empty());
}

TEST_F(Search, AMissingDirectoryReportsNothingAndSucceeds) {
  for (bool recursive : {true, false}) {
    searcher.Recursive = recursive;
    searcher.Directory = P("missing");
    EXPECT_TRUE(searcher.Search());
    searcher.Directory = "";
    EXPECT_TRUE(searcher.Search());
  }
  EXPECT_TRUE(recorder.Files.empty());
}

TEST_F(Search, AFileAsDirectoryReportsNothing) {
  searcher.Directory = P("a.jpg");
  EXPECT_TRUE(searcher.Search());
  EXPECT_TRUE(recorder.Files.empty());
}

TEST_F(Search, ThePatternIsReadAgainForEachDirectory) {
  recorder.ReactFile = [&](const String&, const TSearchFileData&, bool&) { searcher.SearchName = "*.JPG"; };
  searcher.SearchName = "a.*";
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files), (std::vector<String>{P("a.jpg"), P("S/b.JPG"), P("S/T/c.jpg")}));
}

TEST(SearchPatterns, ThreeSearchesOfOneTree) {
  TTempTree tree;
  for (const char* f : {"p.bmp", "q.BMP", "photo.jpeg", "x.jpg", "sub/y.JPEG", "sub/z.Jpg", "sub/w.bmp.txt"})
    tree.File(f);
  TSearchFile searcher(nullptr);
  TSearchRecorder recorder;
  searcher.OnFind = recorder.FileEvent();
  searcher.Directory = tree.Root();
  searcher.Recursive = true;
  const std::pair<const char*, std::vector<String>> table[] = {
      {"*.bmp", {tree.Path("p.bmp"), tree.Path("q.BMP")}},
      {"*.jpg", {tree.Path("x.jpg"), tree.Path("sub/z.Jpg")}},
      {"*.jpeg", {tree.Path("photo.jpeg"), tree.Path("sub/y.JPEG")}},
  };
  for (const auto& [pattern, expected] : table) {
    recorder.Files.clear();
    searcher.SearchName = pattern;
    EXPECT_TRUE(searcher.Search());
    EXPECT_EQ(NamesOf(recorder.Files), expected) << pattern;
  }
}

TEST(SearchOrder, FilesComeInNtfsOrder) {
  TTempTree tree;
  for (const char* f : {"DSC_0001.JPG", "b.jpg", "DSCF0001.JPG", "a.jpg", "A.jpg"}) tree.File(f);
  TSearchFile searcher(nullptr);
  TSearchRecorder recorder;
  searcher.OnFind = recorder.FileEvent();
  searcher.Directory = tree.Root();
  searcher.SearchName = "*.jpg";
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files), (std::vector<String>{tree.Path("A.jpg"), tree.Path("a.jpg"), tree.Path("b.jpg"),
                                                          tree.Path("DSCF0001.JPG"), tree.Path("DSC_0001.JPG")}));
}

TEST(SearchLinks, ALinkLoopEndsAndNoFileIsReportedTwice) {
  TTempTree tree;
  tree.File("A/a.jpg");
  tree.File("B/b.jpg");
  tree.Link("A/back", "..");
  tree.Link("B/sideways", "../A");
  tree.Link("B/same.jpg", "b.jpg");  // a link to a file is an entry of its own
  TSearchFile searcher(nullptr);
  TSearchRecorder recorder;
  // Should the loop not end, stop it early rather than wait for the path limit.
  searcher.OnFindDir = recorder.DirEvent();
  recorder.ReactDir = [&](const String&, bool&, bool&) {
    if (recorder.Dirs.size() > 100) Abort();
  };
  searcher.OnFind = recorder.FileEvent();
  searcher.Directory = tree.Root();
  searcher.Recursive = true;
  searcher.SearchName = "*.jpg";
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files),
            (std::vector<String>{tree.Path("A/a.jpg"), tree.Path("B/b.jpg"), tree.Path("B/same.jpg")}));
  EXPECT_EQ(recorder.Files[2].Data.Size, recorder.Files[1].Data.Size);
}

TEST(SearchNames, UnusualNamesPassUnchanged) {
  TTempTree tree;
  const std::vector<String> dirs{"with space", "日本語のフォルダ", "\xF0\x9F\x93\xB7 emoji", "-dash", "bad\xFF\xFE"};
  std::vector<String> expected;
  for (const String& d : dirs) {
    tree.File(d + "/-n " + d + ".jpg");
  }
  std::vector<String> sorted = dirs;
  std::sort(sorted.begin(), sorted.end(), NameOrderLess);
  for (const String& d : sorted) expected.push_back(tree.Path(d + "/-n " + d + ".jpg"));
  TSearchFile searcher(nullptr);
  TSearchRecorder recorder;
  searcher.OnFind = recorder.FileEvent();
  searcher.Directory = tree.Root();
  searcher.Recursive = true;
  searcher.SearchName = "*.jpg";
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files), expected);
  for (const auto& r : recorder.Files) EXPECT_TRUE(std::filesystem::is_regular_file(r.Name)) << DisplayableText(r.Name);
}

TEST(SearchNames, ADirectoryVanishingDuringTheSearchIsPassedOver) {
  TTempTree tree;
  tree.File("A/a.jpg");
  tree.File("B/b.jpg");
  tree.File("B/C/c.jpg");
  TSearchFile searcher(nullptr);
  TSearchRecorder recorder;
  searcher.OnFind = recorder.FileEvent();
  searcher.Directory = tree.Root();
  searcher.Recursive = true;
  searcher.SearchName = "*.jpg";
  recorder.ReactFile = [&](const String&, const TSearchFileData&, bool&) { std::filesystem::remove_all(tree.Path("B")); };
  EXPECT_TRUE(searcher.Search());
  EXPECT_EQ(NamesOf(recorder.Files), std::vector<String>{tree.Path("A/a.jpg")});
}

}  // namespace
}  // namespace permora
