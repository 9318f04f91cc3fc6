#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace permora {
namespace {

struct PathCase {
  const char* path;
  const char* filePath;
  const char* fileName;
  const char* withoutTrailing;
};

class PathFunctions : public testing::TestWithParam<PathCase> {};

TEST_P(PathFunctions, SplitAtTheLastSlash) {
  const PathCase& c = GetParam();
  EXPECT_EQ(ExtractFilePath(c.path), c.filePath);
  EXPECT_EQ(ExtractFileName(c.path), c.fileName);
  EXPECT_EQ(ExcludeTrailingBackslash(c.path), c.withoutTrailing);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PathFunctions,
    testing::Values(PathCase{"/photos/Trip", "/photos/", "Trip", "/photos/Trip"},
                    PathCase{"/photos/Trip/", "/photos/Trip/", "", "/photos/Trip"},
                    PathCase{"Trip", "", "Trip", "Trip"},
                    PathCase{"sub/旅行 2024", "sub/", "旅行 2024", "sub/旅行 2024"},
                    PathCase{"/", "/", "", ""},
                    PathCase{"c:photo", "", "c:photo", "c:photo"},
                    PathCase{"a//b", "a//", "b", "a//b"},
                    PathCase{"写真/", "写真/", "", "写真"},
                    PathCase{"/写真/旅行", "/写真/", "旅行", "/写真/旅行"},
                    PathCase{"..", "", "..", ".."},
                    PathCase{"/photos/..", "/photos/", "..", "/photos/.."},
                    PathCase{"../", "../", "", ".."},
                    PathCase{"/a//", "/a//", "", "/a/"}));

struct ExpandCase {
  const char* path;
  const char* expanded;  // "~" at the start stands for the current directory
};

// Runs in a fresh directory with a UTF-8 name, so that relative paths have a known result.
class ExpandFileNameTable : public testing::TestWithParam<ExpandCase> {
 protected:
  void SetUp() override {
    FPrevious = GetCurrentDir();
    char base[] = "/tmp/permora-expand-XXXXXX";
    ASSERT_NE(::mkdtemp(base), nullptr);
    FBase = base;
    FCurrent = FBase + "/写真";
    ASSERT_EQ(::mkdir(FCurrent.c_str(), 0700), 0);
    ASSERT_EQ(::chdir(FCurrent.c_str()), 0);
  }
  void TearDown() override {
    EXPECT_EQ(::chdir(FPrevious.c_str()), 0);
    ::rmdir(FCurrent.c_str());
    ::rmdir(FBase.c_str());
  }
  String Expected(const String& pattern) const {
    if (pattern.starts_with("~~")) return FBase + pattern.substr(2);
    if (pattern.starts_with("~")) return FCurrent + pattern.substr(1);
    return pattern;
  }
  String FPrevious, FBase, FCurrent;
};

TEST_P(ExpandFileNameTable, MakesThePathAbsoluteAndResolved) {
  EXPECT_EQ(ExpandFileName(GetParam().path), Expected(GetParam().expanded)) << GetParam().path;
}

// "~~" at the start stands for the parent of the current directory.
INSTANTIATE_TEST_SUITE_P(Table, ExpandFileNameTable,
                         testing::Values(ExpandCase{"/", "/"},
                                         ExpandCase{"//", "/"},
                                         ExpandCase{"/..", "/"},
                                         ExpandCase{"/../../a", "/a"},
                                         ExpandCase{"/a/b/..", "/a"},
                                         ExpandCase{"/a/b/../", "/a/"},
                                         ExpandCase{"/写真/旅行/../2024", "/写真/2024"},
                                         ExpandCase{"x/y", "~/x/y"},
                                         ExpandCase{"x//y/", "~/x/y/"},
                                         ExpandCase{".", "~"},
                                         ExpandCase{"./", "~/"},
                                         ExpandCase{"..", "~~"},
                                         ExpandCase{"x/../..", "~~"},
                                         ExpandCase{"../写真/./旅行", "~/旅行"}));

TEST(ExpandFileName, ResolvesDotsAndRepeatedSlashes) {
  EXPECT_EQ(ExpandFileName("/a/./b//c/../d"), "/a/b/d");
  EXPECT_EQ(ExpandFileName("/a/b/"), "/a/b/");
  EXPECT_EQ(ExpandFileName("/.."), "/");
  EXPECT_EQ(ExpandFileName("/a/b/.."), "/a");
  const String cwd = GetCurrentDir();
  EXPECT_EQ(ExpandFileName("x/y"), cwd + "/x/y");
  EXPECT_EQ(ExpandFileName("."), cwd);
}

TEST(ChangeFileExt, ReplacesOrRemovesTheExtension) {
  EXPECT_EQ(ChangeFileExt("/usr/bin/sheets.exe", ""), "/usr/bin/sheets");
  EXPECT_EQ(ChangeFileExt("/usr/bin/permora", ""), "/usr/bin/permora");
  EXPECT_EQ(ChangeFileExt("a.b/c", ".d"), "a.b/c.d");
}

TEST(IncludeTrailingBackslash, LooksAtTheLastCharacter) {
  EXPECT_EQ(IncludeTrailingBackslash("/a"), "/a/");
  EXPECT_EQ(IncludeTrailingBackslash("/a/"), "/a/");
  EXPECT_EQ(IncludeTrailingBackslash("表"), "表/");
}

TEST(ErrorDisplayText, AppendsAFullStopAfterCharactersAboveIt) {
  EXPECT_EQ(ErrorDisplayText("ファイル /x/a.jpg は開けません"), "ファイル /x/a.jpg は開けません.");
  EXPECT_EQ(ErrorDisplayText("JPEG エラー #52"), "JPEG エラー #52.");
  EXPECT_EQ(ErrorDisplayText("done."), "done.");
  EXPECT_EQ(ErrorDisplayText("wait-"), "wait-");   // "-" is below "."
  EXPECT_EQ(ErrorDisplayText("ok!"), "ok!");
  EXPECT_EQ(ErrorDisplayText(""), "");
}

TEST(DisplayableText, ReplacesInvalidBytesOnly) {
  EXPECT_EQ(DisplayableText("写真"), "写真");
  // "あ.jpg" in Shift-JIS
  EXPECT_EQ(DisplayableText("\x82\xa0.jpg"), "\xEF\xBF\xBD\xEF\xBF\xBD.jpg");
}

TEST(FormatMessage, FillsThePlaceholder) {
  EXPECT_EQ(FormatMessage(messages::FileOpen, "/a b.jpg"), "ファイル /a b.jpg は開けません");
  EXPECT_EQ(FormatMessage(messages::JPEGError, int64_t{41}), "JPEG エラー #41");
}

}  // namespace
}  // namespace permora
