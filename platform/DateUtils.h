#pragma once
// Dates and times as the class library counts them: TDateTime is the number of days since
// 1899-12-30 as a double, the time of day being its fraction.

#include <cstdint>

#include "platform/SysUtils.h"

namespace permora {

using TDateTime = double;

namespace messages {
inline constexpr std::string_view DateEncodeError = "Invalid argument to date encode";
inline constexpr std::string_view TimeEncodeError = "Invalid argument to time encode";
}  // namespace messages

bool IsLeapYear(int Year);
int DaysInMonth(int Year, int Month);

// Raise EConvertError for a field out of range (year 1-9999, a day the month has; hour 0-23,
// minute and second 0-59, millisecond 0-999).
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);

// A DOS file date: date word in the high 16 bits (day bits 0-4, month 5-8, year-1980 9-15), time word
// in the low 16 bits (seconds/2 bits 0-4, minute 5-10, hour 11-15). EConvertError for fields out of range.
TDateTime FileDateToDateTime(int32_t FileDate);

struct TDateTimeParts {
  int Year, Month, Day, Hour, Min, Sec, MSec;
  friend bool operator==(const TDateTimeParts&, const TDateTimeParts&) = default;
};
// The calendar fields of a value from 0001-01-01 on (milliseconds rounded).
TDateTimeParts DecodeDateTime(TDateTime value);

}  // namespace permora
