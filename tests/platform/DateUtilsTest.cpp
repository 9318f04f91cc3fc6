#include "platform/DateUtils.h"

#include <gtest/gtest.h>

namespace permora {
namespace {

TEST(EncodeDate, CountsDaysFrom1899_12_30) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1899, 12, 31), 1.0);
  EXPECT_EQ(EncodeDate(1980, 1, 1), 29221.0);
  EXPECT_EQ(EncodeDate(2000, 3, 1) - EncodeDate(2000, 2, 28), 2.0);  // 2000 is a leap year
  EXPECT_EQ(EncodeDate(1900, 3, 1) - EncodeDate(1900, 2, 28), 1.0);  // 1900 is not
  EXPECT_EQ(EncodeDate(2107, 12, 31), 75971.0);
}

TEST(EncodeTime, IsTheFractionOfADay) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 58, 0), (86400.0 - 2) / 86400.0);
}

struct BadFields {
  const char* name;
  int year, month, day, hour, minute, second;
};

void PrintTo(const BadFields& c, std::ostream* out) { *out << c.name; }

class EncodeOutOfRange : public testing::TestWithParam<BadFields> {};

TEST_P(EncodeOutOfRange, RaisesEConvertError) {
  const BadFields& f = GetParam();
  try {
    (void)EncodeDate(f.year, f.month, f.day);
    (void)EncodeTime(f.hour, f.minute, f.second, 0);
    FAIL() << "no EConvertError";
  } catch (const EConvertError& e) {
    EXPECT_TRUE(e.Message() == messages::DateEncodeError || e.Message() == messages::TimeEncodeError);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, EncodeOutOfRange,
                         testing::Values(BadFields{"Month0", 2000, 0, 1, 0, 0, 0},
                                         BadFields{"Month13", 2000, 13, 1, 0, 0, 0},
                                         BadFields{"Day0", 2000, 1, 0, 0, 0, 0},
                                         BadFields{"April31", 2000, 4, 31, 0, 0, 0},
                                         BadFields{"Feb29In1900", 1900, 2, 29, 0, 0, 0},
                                         BadFields{"Year0", 0, 1, 1, 0, 0, 0},
                                         BadFields{"Hour24", 2000, 1, 1, 24, 0, 0},
                                         BadFields{"Minute60", 2000, 1, 1, 0, 60, 0},
                                         BadFields{"Second60", 2000, 1, 1, 0, 0, 60}),
                         [](const auto& info) { return std::string(info.param.name); });

int32_t FileDate(int year, int month, int day, int hour, int minute, int secondBits) {
  const uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | (month << 5) | day);
  const uint32_t time = static_cast<uint32_t>((hour << 11) | (minute << 5) | secondBits);
  return static_cast<int32_t>((date << 16) | time);
}

TEST(FileDateToDateTime, JoinsTheDateAndTimeWords) {
  EXPECT_EQ(FileDateToDateTime(FileDate(1980, 1, 1, 0, 0, 0)), EncodeDate(1980, 1, 1));
  EXPECT_EQ(FileDateToDateTime(FileDate(2024, 5, 6, 7, 8, 4)), EncodeDate(2024, 5, 6) + EncodeTime(7, 8, 8, 0));
  EXPECT_EQ(FileDateToDateTime(FileDate(2107, 12, 31, 23, 59, 29)),
            EncodeDate(2107, 12, 31) + EncodeTime(23, 59, 58, 0));
}

TEST(FileDateToDateTime, FieldsOutOfRangeRaiseEConvertError) {
  EXPECT_THROW(FileDateToDateTime(FileDate(2000, 0, 1, 0, 0, 0)), EConvertError);
  EXPECT_THROW(FileDateToDateTime(FileDate(2000, 13, 1, 0, 0, 0)), EConvertError);
  EXPECT_THROW(FileDateToDateTime(FileDate(2000, 1, 0, 0, 0, 0)), EConvertError);
  EXPECT_THROW(FileDateToDateTime(FileDate(2001, 2, 29, 0, 0, 0)), EConvertError);
  EXPECT_THROW(FileDateToDateTime(FileDate(2000, 1, 1, 24, 0, 0)), EConvertError);
  EXPECT_THROW(FileDateToDateTime(FileDate(2000, 1, 1, 0, 60, 0)), EConvertError);
  EXPECT_THROW(FileDateToDateTime(FileDate(2000, 1, 1, 0, 0, 30)), EConvertError);  // second 60
  EXPECT_THROW(FileDateToDateTime(FileDate(2000, 1, 1, 0, 0, 31)), EConvertError);  // second 62
}

TEST(DecodeDateTime, ReversesEncoding) {
  const TDateTimeParts expected{2024, 2, 29, 13, 14, 15, 0};
  EXPECT_EQ(DecodeDateTime(EncodeDate(2024, 2, 29) + EncodeTime(13, 14, 15, 0)), expected);
  const TDateTimeParts start{1899, 12, 30, 0, 0, 0, 0};
  EXPECT_EQ(DecodeDateTime(0), start);
  const TDateTimeParts last{2107, 12, 31, 23, 59, 58, 0};
  EXPECT_EQ(DecodeDateTime(EncodeDate(2107, 12, 31) + EncodeTime(23, 59, 58, 0)), last);
}

}  // namespace
}  // namespace permora
