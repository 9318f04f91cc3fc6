#include "platform/DateUtils.h"

#include <cmath>

namespace permora {

namespace {

constexpr int DaysBeforeYear1 = 693593;  // days from 0001-01-01 to 1899-12-30
constexpr int64_t MSecsPerDay = 86'400'000;

int64_t DaysSinceYear1(int Year, int Month, int Day) {
  const int64_t y = Year - 1;
  int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < Month; ++m) days += DaysInMonth(Year, m);
  return days + Day - 1;
}

}  // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInMonth(int Year, int Month) {
  static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return Month == 2 && IsLeapYear(Year) ? 29 : days[Month - 1];
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInMonth(Year, Month))
    throw EConvertError(String(messages::DateEncodeError));
  return static_cast<TDateTime>(DaysSinceYear1(Year, Month, Day) - DaysBeforeYear1);
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
    throw EConvertError(String(messages::TimeEncodeError));
  const int64_t msecs = ((int64_t{Hour} * 60 + Min) * 60 + Sec) * 1000 + MSec;
  return static_cast<TDateTime>(msecs) / static_cast<TDateTime>(MSecsPerDay);
}

TDateTime FileDateToDateTime(int32_t FileDate) {
  const auto bits = static_cast<uint32_t>(FileDate);
  const uint32_t date = bits >> 16;
  const uint32_t time = bits & 0xFFFF;
  const TDateTime day = EncodeDate(static_cast<int>(1980 + (date >> 9)), static_cast<int>((date >> 5) & 0x0F),
                                   static_cast<int>(date & 0x1F));
  return day + EncodeTime(static_cast<int>(time >> 11), static_cast<int>((time >> 5) & 0x3F),
                          static_cast<int>(2 * (time & 0x1F)), 0);
}

TDateTimeParts DecodeDateTime(TDateTime value) {
  int64_t msecs = std::llround(value * static_cast<double>(MSecsPerDay));
  int64_t days = msecs >= 0 ? msecs / MSecsPerDay : -((-msecs + MSecsPerDay - 1) / MSecsPerDay);
  int64_t ofDay = msecs - days * MSecsPerDay;
  days += DaysBeforeYear1;  // days since 0001-01-01
  TDateTimeParts p{};
  p.Year = 1;
  // 400 years of the Gregorian calendar have a fixed number of days.
  constexpr int64_t DaysPer400Years = 146'097;
  p.Year += static_cast<int>(400 * (days / DaysPer400Years));
  days %= DaysPer400Years;
  while (days >= (IsLeapYear(p.Year) ? 366 : 365)) days -= IsLeapYear(p.Year++) ? 366 : 365;
  p.Month = 1;
  while (days >= DaysInMonth(p.Year, p.Month)) days -= DaysInMonth(p.Year, p.Month++);
  p.Day = static_cast<int>(days) + 1;
  p.Hour = static_cast<int>(ofDay / 3'600'000);
  p.Min = static_cast<int>(ofDay / 60'000 % 60);
  p.Sec = static_cast<int>(ofDay / 1000 % 60);
  p.MSec = static_cast<int>(ofDay % 1000);
  return p;
}

}  // namespace permora
