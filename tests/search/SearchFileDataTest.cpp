#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "search/Recorder.h"
#include "search/SearchFile.h"
#include "support/TempTree.h"

namespace permora {
namespace {

using test::TSearchRecorder;
using test::TTempTree;
using test::TTimeZoneScope;

struct TimeCase {
  const char* label;
  const char* zone;
  int64_t unixSeconds;
  uint32_t nanoseconds;
  std::optional<TDateTimeParts> local;  // empty: not convertible
};

void PrintTo(const TimeCase& c, std::ostream* out) { *out << c.label; }

class TimeConversion : public testing::TestWithParam<TimeCase> {};

TEST_P(TimeConversion, GivesLocalDosTimeOrNothing) {
  const TimeCase& c = GetParam();
  TTimeZoneScope zone(c.zone);
  constexpr TDateTime untouched = -12345;
  TDateTime value = untouched;
  const bool valid = FindTimeToDateTime(UnixTimeToFileTime(c.unixSeconds, c.nanoseconds), value);
  ASSERT_EQ(valid, c.local.has_value());
  if (c.local) EXPECT_EQ(DecodeDateTime(value), *c.local);
  else EXPECT_EQ(value, untouched);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimeConversion,
    testing::Values(
        TimeCase{"In1979", "UTC0", 300'000'000, 0, std::nullopt},
        TimeCase{"LastSecondOf1979", "UTC0", 315'532'799, 0, std::nullopt},
        TimeCase{"First1980", "UTC0", 315'532'800, 0, TDateTimeParts{1980, 1, 1, 0, 0, 0, 0}},
        // 1979-12-31 15:00 UTC is already 1980 in Tokyo: the range applies to local time.
        TimeCase{"First1980InTokyo", "JST-9", 315'500'400, 0, TDateTimeParts{1980, 1, 1, 0, 0, 0, 0}},
        TimeCase{"Still1979InNewYork", "EST5", 315'532'800, 0, std::nullopt},
        TimeCase{"Last2107", "UTC0", 4'354'819'199, 999'999'999, TDateTimeParts{2107, 12, 31, 23, 59, 58, 0}},
        TimeCase{"First2108", "UTC0", 4'354'819'200, 0, std::nullopt},
        TimeCase{"In2108", "UTC0", 4'370'000'000, 0, std::nullopt},
        TimeCase{"OddSecondsTruncated", "UTC0", 1'715'000'000 + 1, 999'000'000,
                 TDateTimeParts{2024, 5, 6, 12, 53, 20, 0}},
        TimeCase{"SummerTimeOfTheDate", "CET-1CEST,M3.5.0,M10.5.0/3", 1'719'835'200, 0,
                 TDateTimeParts{2024, 7, 1, 14, 0, 0, 0}},
        TimeCase{"WinterTimeOfTheDate", "CET-1CEST,M3.5.0,M10.5.0/3", 1'705'320'000, 0,
                 TDateTimeParts{2024, 1, 15, 13, 0, 0, 0}},
        TimeCase{"NoTimeKept", "UTC0", -11'644'473'600, 0, std::nullopt}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(FillSearchFileData, TakesEveryFieldFromTheFindData) {
  TTimeZoneScope zone("UTC0");
  TFindData find;
  find.dwFileAttributes = faReadOnly | faHidden | faSysFile | faDirectory | faArchive;
  find.nFileSizeHigh = 1;
  find.nFileSizeLow = 5;
  find.ftCreationTime = UnixTimeToFileTime(315'532'800, 0);
  find.ftLastWriteTime = UnixTimeToFileTime(315'532'799, 0);  // 1979: not valid
  find.ftLastAccessTime = UnixTimeToFileTime(1'715'000'001, 0);
  find.cFileName = "long name.jpg";
  TSearchFileData data(find);
  EXPECT_EQ(data.LongName, "long name.jpg");
  EXPECT_EQ(data.ShortName, "long name.jpg");  // no alias: the long name
  EXPECT_EQ(data.Size, 4294967296 + 5);
  EXPECT_TRUE(data.CreationTimeValid);
  EXPECT_EQ(data.CreationTime, EncodeDate(1980, 1, 1));
  EXPECT_FALSE(data.LastWriteTimeValid);
  EXPECT_TRUE(data.LastAccessTimeValid);
  EXPECT_EQ(data.LastAccessTime, EncodeDate(2024, 5, 6) + EncodeTime(12, 53, 20, 0));
  EXPECT_TRUE(data.IsDirectory && data.IsReadOnly && data.IsHidden && data.IsSystem && data.IsArchive);
  EXPECT_FALSE(data.ReservedFlag);

  find.cAlternateFileName = "LONGNA~1.JPG";
  find.dwFileAttributes = 0;
  FillSearchFileData(find, data);
  EXPECT_EQ(data.ShortName, "LONGNA~1.JPG");
  EXPECT_FALSE(data.IsDirectory || data.IsReadOnly || data.IsHidden || data.IsSystem || data.IsArchive);
}

TEST(SearchFileData, TheEmptyRecordHasNothingSet) {
  const TSearchFileData data;
  EXPECT_EQ(data.LongName, "");
  EXPECT_EQ(data.ShortName, "");
  EXPECT_EQ(data.Size, 0);
  EXPECT_FALSE(data.CreationTimeValid || data.LastWriteTimeValid || data.LastAccessTimeValid);
  EXPECT_FALSE(data.IsDirectory || data.IsReadOnly || data.IsHidden || data.IsSystem || data.ReservedFlag ||
               data.IsArchive);
}

class ReportedData : public testing::Test {
 protected:
  void SetUp() override {
    searcher.Directory = tree.Root();
    searcher.OnFind = recorder.FileEvent();
  }
  const TSearchFileData& Only(const char* pattern) {
    searcher.SearchName = pattern;
    recorder.Files.clear();
    EXPECT_TRUE(searcher.Search());
    EXPECT_EQ(recorder.Files.size(), 1u);
    return recorder.Files.at(0).Data;
  }

  TTimeZoneScope zone{"JST-9"};
  TTempTree tree;
  TSearchFile searcher{nullptr};
  TSearchRecorder recorder;
};

TEST_F(ReportedData, OfARegularFile) {
  const String file = tree.File("photo.jpg", std::string(1234, 'x'));
  const timespec times[2] = {{1'700'000'001, 0}, {1'600'000'003, 0}};  // access, write (UTC)
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  const TSearchFileData& d = Only("*.jpg");
  EXPECT_EQ(d.LongName, "photo.jpg");
  EXPECT_EQ(d.ShortName, "photo.jpg");
  EXPECT_EQ(d.Size, 1234);
  EXPECT_TRUE(d.LastWriteTimeValid);
  // 2020-09-13 12:26:43 UTC is 21:26:43 in Tokyo, truncated to even seconds.
  EXPECT_EQ(d.LastWriteTime, EncodeDate(2020, 9, 13) + EncodeTime(21, 26, 42, 0));
  EXPECT_TRUE(d.LastAccessTimeValid);
  EXPECT_EQ(d.LastAccessTime, EncodeDate(2023, 11, 15) + EncodeTime(7, 13, 20, 0));
  EXPECT_FALSE(d.IsDirectory);
  EXPECT_FALSE(d.IsReadOnly);
  EXPECT_FALSE(d.IsHidden);
  EXPECT_FALSE(d.IsSystem);
  EXPECT_FALSE(d.ReservedFlag);
  EXPECT_TRUE(d.IsArchive);
  if (d.CreationTimeValid) {
    // The file system keeps birth times: this one was born just now.
    const TDateTimeParts born = DecodeDateTime(d.CreationTime);
    const std::time_t now = std::time(nullptr) + 9 * 3600;
    std::tm t{};
    ::gmtime_r(&now, &t);
    EXPECT_EQ(born.Year, t.tm_year + 1900);
  }
}

TEST_F(ReportedData, OfAReadOnlyHiddenFile) {
  const String file = tree.File(".secret.jpg", "x");
  ::chmod(file.c_str(), 0444);
  const TSearchFileData& d = Only("*.jpg");
  EXPECT_TRUE(d.IsReadOnly);
  EXPECT_TRUE(d.IsHidden);
  EXPECT_TRUE(d.IsArchive);
}

TEST_F(ReportedData, OfADirectory) {
  tree.Dir("album.jpg");
  const TSearchFileData& d = Only("*.jpg");
  EXPECT_TRUE(d.IsDirectory);
  EXPECT_FALSE(d.IsArchive);
  EXPECT_EQ(d.Size, 0);
  EXPECT_TRUE(d.LastWriteTimeValid);
}

TEST_F(ReportedData, TimesOutsideTheDosRangeAreNotValidButReported) {
  const String file = tree.File("old.jpg");
  const timespec times[2] = {{4'400'000'000, 0}, {252'000'000, 0}};  // access 2109, write 1977
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  const TSearchFileData& d = Only("*.jpg");
  EXPECT_EQ(d.LongName, "old.jpg");
  EXPECT_FALSE(d.LastWriteTimeValid);
  EXPECT_FALSE(d.LastAccessTimeValid);
}

TEST_F(ReportedData, EachHandlerGetsValuesAsTheyWereWhenRead) {
  tree.File("a.jpg", "abc");
  std::optional<TSearchFileData> kept;
  recorder.ReactFile = [&](const String&, const TSearchFileData& data, bool&) {
    EXPECT_EQ(data.Size, 3);  // read while the file is there
    kept = data;
  };
  searcher.SearchName = "*.jpg";
  ASSERT_TRUE(searcher.Search());
  std::filesystem::remove(tree.Path("a.jpg"));
  // Values read once stay: a copy carries them, not a later look at the file.
  EXPECT_EQ(kept->Size, 3);
  EXPECT_TRUE(kept->LastWriteTimeValid);
}

TEST_F(ReportedData, AFileGoneBeforeItsDataIsReadHasOnlyWhatTheListingKnew) {
  tree.File("a.jpg", "abc");
  tree.File("b.jpg", "abc");
  recorder.ReactFile = [&](const String& name, const TSearchFileData&, bool&) {
    if (name == tree.Path("a.jpg")) std::filesystem::remove(tree.Path("b.jpg"));
  };
  searcher.SearchName = "*.jpg";
  ASSERT_TRUE(searcher.Search());
  ASSERT_EQ(recorder.Files.size(), 2u);
  const TSearchFileData& b = recorder.Files[1].Data;
  EXPECT_EQ(b.LongName, "b.jpg");
  EXPECT_EQ(b.Size, 0);
  EXPECT_FALSE(b.LastWriteTimeValid);
  EXPECT_TRUE(b.IsArchive);
}

TEST(SearchFileData, CopiesAndAssignmentsKeepTheirOwnValues) {
  TTempTree tree;
  tree.File("a.jpg", "12345");
  const std::vector<TFindEntry> entries = ListDirectory(tree.Root(), "a.jpg");
  ASSERT_EQ(entries.size(), 1u);
  const TSearchFileData pending(entries[0]);
  auto alone = pending.Size;  // a value copied out of the record stands on its own
  EXPECT_EQ(alone, 5);
  alone = 9;
  EXPECT_EQ(alone, 9);
  EXPECT_EQ(pending.Size, 5);
  TSearchFileData copy(pending);
  TSearchFileData assigned;
  assigned = pending;
  EXPECT_EQ(copy.Size, 5);
  copy.Size = 7;
  EXPECT_EQ(copy.Size, 7);
  EXPECT_EQ(assigned.Size, 5);
  EXPECT_EQ(pending.Size, 5);
  assigned.Size = copy.Size;
  EXPECT_EQ(assigned.Size, 7);
  EXPECT_TRUE(assigned.IsArchive);
}

}  // namespace
}  // namespace permora
