#include "platform/SystemDirectory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>

#include "support/TempTree.h"

namespace permora {
namespace {

using test::TTempTree;

std::vector<String> NamesOf(const std::vector<TFindEntry>& entries) {
  std::vector<String> names;
  for (const TFindEntry& e : entries) names.push_back(e.Name());
  return names;
}

struct MaskCase {
  const char* label;
  const char* name;
  const char* pattern;
  bool matches;
};

void PrintTo(const MaskCase& c, std::ostream* out) { *out << c.label; }

class Mask : public testing::TestWithParam<MaskCase> {};

TEST_P(Mask, MatchesTheNameOnly) {
  const MaskCase& c = GetParam();
  EXPECT_EQ(MatchesMask(c.name, c.pattern), c.matches) << c.name << " against " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Mask,
    testing::Values(MaskCase{"StarDotJpg", "a.jpg", "*.jpg", true},
                    MaskCase{"UpperCaseName", "B.JPG", "*.jpg", true},
                    MaskCase{"UpperCasePattern", "b.jpg", "*.JPG", true},
                    MaskCase{"JpegIsNotJpg", "x.jpeg", "*.jpg", false},
                    MaskCase{"JpgIsNotJpeg", "x.jpg", "*.jpeg", false},
                    MaskCase{"DoubleExtension", "x.jpg.bmp", "*.jpg", false},
                    MaskCase{"DotsBeforeExtension", "a.b.c.jpg", "*.jpg", true},
                    MaskCase{"OnlyExtension", ".jpg", "*.jpg", true},
                    MaskCase{"StarDotStarNoDot", "README", "*.*", true},
                    MaskCase{"StarDotStarDot", ".", "*.*", true},
                    MaskCase{"StarDotStarDotDot", "..", "*.*", true},
                    MaskCase{"StarAlone", "anything", "*", true},
                    MaskCase{"QuestionOne", "a1.jpg", "a?.jpg", true},
                    MaskCase{"QuestionNotNone", "a.jpg", "a?.jpg", false},
                    MaskCase{"QuestionNotTwo", "a12.jpg", "a?.jpg", false},
                    MaskCase{"QuestionJapanese", "写真.jpg", "写?.jpg", true},
                    MaskCase{"QuestionEmoji", "\xF0\x9F\x93\xB7.jpg", "?.jpg", true},
                    MaskCase{"QuestionInvalidByte", "\xFF.jpg", "?.jpg", true},
                    MaskCase{"NonAsciiCaseExact", "Ä.jpg", "ä.jpg", false},
                    MaskCase{"StarInside", "DSC_0001.JPG", "dsc*01.jpg", true},
                    MaskCase{"StarNeedsBacktracking", "abcabd", "*abd", true},
                    MaskCase{"LiteralMismatch", "photo.png", "*.jpg", false},
                    MaskCase{"LeadingDash", "-x.jpg", "*.jpg", true},
                    MaskCase{"EmptyPattern", "a.jpg", "", false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(NameOrder, FoldsAsciiLettersThenComparesBytes) {
  EXPECT_TRUE(NameOrderLess("DSCF0001.JPG", "DSC_0001.JPG"));  // "F" < "_"
  EXPECT_TRUE(NameOrderLess("dscf0001.jpg", "DSC_0001.JPG"));
  EXPECT_TRUE(NameOrderLess("A.jpg", "a.jpg"));  // a tie when folded: bytes decide
  EXPECT_FALSE(NameOrderLess("a.jpg", "A.jpg"));
  EXPECT_TRUE(NameOrderLess("a", "ab"));
  EXPECT_TRUE(NameOrderLess("Z", "_"));
}

class Listing : public testing::Test {
 protected:
  TTempTree tree;
};

TEST_F(Listing, IsSortedLikeNtfsAndHoldsDotEntries) {
  for (const char* name : {"b.jpg", "DSC_0001.JPG", "a.jpg", "DSCF0001.JPG", "A.jpg", "_x.jpg", "Z.jpg"})
    tree.File(name);
  tree.Dir("sub");
  const std::vector<String> expected{".", "..", "A.jpg", "a.jpg", "b.jpg", "DSCF0001.JPG", "DSC_0001.JPG",
                                     "sub", "Z.jpg", "_x.jpg"};
  EXPECT_EQ(NamesOf(ListDirectory(tree.Root(), "*.*")), expected);
  // The trailing separator makes no difference.
  EXPECT_EQ(NamesOf(ListDirectory(tree.Root() + "/", "*.*")), expected);
}

TEST_F(Listing, KeepsOnlyMatchingNames) {
  for (const char* name : {"a.jpg", "b.JPG", "c.jpeg", "d.bmp"}) tree.File(name);
  tree.Dir("x.jpg");
  EXPECT_EQ(NamesOf(ListDirectory(tree.Root(), "*.jpg")), (std::vector<String>{"a.jpg", "b.JPG", "x.jpg"}));
}

TEST_F(Listing, OfAMissingDirectoryOrAFileIsEmpty) {
  tree.File("f.jpg");
  EXPECT_TRUE(ListDirectory(tree.Path("missing"), "*.*").empty());
  EXPECT_TRUE(ListDirectory(tree.Path("f.jpg"), "*.*").empty());
}

TEST_F(Listing, GivesTheEntryDataOfEachKind) {
  tree.File("plain.jpg", "12345");
  const String readOnly = tree.File("ro.jpg", "x");
  ::chmod(readOnly.c_str(), 0444);
  tree.File(".hidden.jpg");
  tree.Dir("dir");
  tree.Link("linkdir", "dir");
  tree.Link("linkfile", "plain.jpg");
  tree.Link("dangling", "nowhere");
  ASSERT_EQ(::mkfifo(tree.Path("fifo").c_str(), 0644), 0);

  struct Expected {
    const char* name;
    uint32_t attributes;
    uint64_t size;
    bool isDirectory;
  };
  const Expected table[] = {
      {".hidden.jpg", faHidden | faArchive, 0, false},
      {"dangling", 0, 7, false},  // the link itself: its target is missing
      {"dir", faDirectory, 0, true},
      {"fifo", 0, 0, false},
      {"linkdir", faDirectory, 0, true},
      {"linkfile", faArchive, 5, false},
      {"plain.jpg", faArchive, 5, false},
      {"ro.jpg", faReadOnly | faArchive, 1, false},
  };
  const std::vector<TFindEntry> entries = ListDirectory(tree.Root(), "*.*");
  ASSERT_EQ(entries.size(), std::size(table) + 2);
  for (std::size_t i = 0; i < std::size(table); ++i) {
    const TFindEntry& e = entries[i + 2];
    SCOPED_TRACE(table[i].name);
    EXPECT_EQ(e.Name(), table[i].name);
    EXPECT_EQ(e.IsDirectory(), table[i].isDirectory);
    const TFindData& d = e.FindData();
    EXPECT_EQ(d.dwFileAttributes, table[i].attributes);
    EXPECT_EQ((uint64_t{d.nFileSizeHigh} << 32) | d.nFileSizeLow, table[i].size);
    EXPECT_EQ(d.cFileName, table[i].name);
    EXPECT_EQ(d.cAlternateFileName, "");
    EXPECT_NE(d.ftLastWriteTime.Value(), 0u);
  }
}

TEST_F(Listing, ReadsTimesAsFileTimes) {
  const String file = tree.File("t.jpg");
  const timespec times[2] = {{1'000'000'000, 500}, {1'200'000'000, 123'456'789}};  // access, write
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  const std::vector<TFindEntry> entries = ListDirectory(tree.Root(), "t.jpg");
  ASSERT_EQ(entries.size(), 1u);
  const TFindData& d = entries[0].FindData();
  constexpr uint64_t from1601 = 11'644'473'600ull * 10'000'000ull;
  EXPECT_EQ(d.ftLastAccessTime.Value(), from1601 + 1'000'000'000ull * 10'000'000ull + 5);
  EXPECT_EQ(d.ftLastWriteTime.Value(), from1601 + 1'200'000'000ull * 10'000'000ull + 1'234'567);
}

TEST_F(Listing, ReadsAFileStatusOnlyWhenAsked) {
  tree.File("gone.jpg", "contents");
  const std::vector<TFindEntry> entries = ListDirectory(tree.Root(), "gone.jpg");
  ASSERT_EQ(entries.size(), 1u);
  std::filesystem::remove(tree.Path("gone.jpg"));
  // Removed between the listing and the first question: what the listing knew remains.
  const TFindData& d = entries[0].FindData();
  EXPECT_EQ(d.dwFileAttributes, faArchive);
  EXPECT_EQ(d.nFileSizeLow, 0u);
  EXPECT_EQ(d.ftLastWriteTime.Value(), 0u);
  EXPECT_FALSE(entries[0].Identity().has_value());
}

TEST_F(Listing, PassesNamesAsBytes) {
  const std::vector<String> names{"\xFF\xFE.jpg", "-rf.jpg", "スペース 入り.jpg", "\xF0\x9F\x93\xB7.jpg"};
  for (const String& n : names) tree.File(n);
  std::vector<String> found = NamesOf(ListDirectory(tree.Root(), "*.jpg"));
  std::vector<String> expected = names;
  std::sort(expected.begin(), expected.end(), NameOrderLess);
  EXPECT_EQ(found, expected);
  for (const String& n : found) EXPECT_EQ(GetFileAttributes(tree.Path(n)), faArchive) << DisplayableText(n);
}

TEST_F(Listing, IdentifiesADirectoryReachedByALink) {
  tree.Dir("real");
  tree.Link("alias", "real");
  const std::vector<TFindEntry> entries = ListDirectory(tree.Root(), "*.*");
  ASSERT_EQ(entries.size(), 4u);
  ASSERT_TRUE(entries[2].Identity() && entries[3].Identity());
  EXPECT_EQ(*entries[2].Identity(), *entries[3].Identity());
  EXPECT_EQ(*entries[3].Identity(), *GetFileIdentity(tree.Path("real")));
}

TEST_F(Listing, LookupFindsThePathItselfOrNothing) {
  tree.File("d/f.jpg", "abc");
  const auto file = LookupEntry(tree.Path("d/f.jpg"));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->Name(), "f.jpg");
  EXPECT_FALSE(file->IsDirectory());
  EXPECT_EQ(file->FindData().nFileSizeLow, 3u);

  const auto dir = LookupEntry(tree.Path("d"));
  ASSERT_TRUE(dir);
  EXPECT_EQ(dir->Name(), "d");
  EXPECT_TRUE(dir->IsDirectory());
  EXPECT_EQ(dir->FindData().dwFileAttributes, faDirectory);

  EXPECT_FALSE(LookupEntry(tree.Path("d/missing")));
  EXPECT_FALSE(LookupEntry(tree.Path("d/")));  // as a drive root finds no entry
  EXPECT_FALSE(LookupEntry("/"));
  EXPECT_FALSE(LookupEntry(""));
  // No wildcard expansion: the path is taken literally.
  EXPECT_FALSE(LookupEntry(tree.Path("d/*.jpg")));
}

TEST_F(Listing, AttributesOfAPathOrTheInvalidValue) {
  tree.File("f.jpg");
  EXPECT_EQ(GetFileAttributes(tree.Path("f.jpg")), faArchive);
  EXPECT_EQ(GetFileAttributes(tree.Root()), faDirectory);
  EXPECT_EQ(GetFileAttributes(tree.Root() + "/"), faDirectory);
  EXPECT_EQ(GetFileAttributes(tree.Path("missing")), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributes(""), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributes(tree.Path("f.jpg/x")), INVALID_FILE_ATTRIBUTES);
}

TEST(FileTimes, UnixTimeBefore1601HasNoFileTime) {
  EXPECT_EQ(UnixTimeToFileTime(-11'644'473'601, 0).Value(), 0u);
  EXPECT_EQ(UnixTimeToFileTime(-11'644'473'600, 0).Value(), 0u);
  EXPECT_EQ(UnixTimeToFileTime(0, 0).Value(), 116'444'736'000'000'000u);
}

TEST(FileTimes, LocalTimeFollowsTheZoneRulesOfTheDate) {
  test::TTimeZoneScope zone("CET-1CEST,M3.5.0,M10.5.0/3");
  const TFileTime winter = UnixTimeToFileTime(1'705'320'000, 0);  // 2024-01-15 12:00 UTC
  const TFileTime summer = UnixTimeToFileTime(1'719'835'200, 0);  // 2024-07-01 12:00 UTC
  TFileTime local;
  ASSERT_TRUE(FileTimeToLocalFileTime(winter, local));
  EXPECT_EQ(local.Value() - winter.Value(), 3600ull * 10'000'000);
  ASSERT_TRUE(FileTimeToLocalFileTime(summer, local));
  EXPECT_EQ(local.Value() - summer.Value(), 7200ull * 10'000'000);
}

TEST(FileTimes, DosDateTimeHoldsOnly1980To2107InTwoSecondSteps) {
  uint16_t date = 0, time = 0;
  EXPECT_FALSE(FileTimeToDosDateTime(UnixTimeToFileTime(315'532'799, 0), date, time));  // 1979-12-31 23:59:59
  ASSERT_TRUE(FileTimeToDosDateTime(UnixTimeToFileTime(315'532'800, 0), date, time));   // 1980-01-01 00:00:00
  EXPECT_EQ(date, (1 << 5) | 1);
  EXPECT_EQ(time, 0);
  ASSERT_TRUE(FileTimeToDosDateTime(UnixTimeToFileTime(4'354'819'199, 999'999'999), date, time));  // 2107-12-31 23:59:59
  EXPECT_EQ(date, (127 << 9) | (12 << 5) | 31);
  EXPECT_EQ(time, (23 << 11) | (59 << 5) | 29);
  EXPECT_FALSE(FileTimeToDosDateTime(UnixTimeToFileTime(4'354'819'200, 0), date, time));  // 2108-01-01
  EXPECT_FALSE(FileTimeToDosDateTime(TFileTime{}, date, time));
}

}  // namespace
}  // namespace permora
