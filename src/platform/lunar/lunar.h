#pragma once
// The Chinese lunar calendar for lunar years 1901-2049, from tables of our own.
// Outside that range every call answers "none" (false, 0, empty text) and never crashes.
// Texts are GB18030.
#include <string>
#include <string_view>

namespace platform::lunar {

struct LunarDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..30
  int leap = 0;   // 1 = the leap month that follows the ordinary month of the same number
};

constexpr int kFirstYear = 1901;
constexpr int kLastYear = 2049;
// What LunarLeapMonth answers outside the covered years: equal to no month number.
constexpr int kNoLeapMonthInfo = 65535;

// The lunar date of the day of a date-time serial; false (out untouched) outside the range.
bool SolarToLunar(double dateTime, LunarDate& out);
// The solar date (00:00:00) of a lunar date; false (out untouched) for a year outside the
// range or a month outside 1..12. A leap flag for a month that is not that year's leap month
// is ignored. A day beyond the month's length counts on into the following days.
bool LunarToSolar(int year, int month, int day, int leap, double& out);
// 29 or 30; 0 outside the range. A leap flag for a month that has no leap month is ignored.
int LunarMonthDays(int year, int month, int leap);
// The month that is followed by a leap month in that year, 0 when none, kNoLeapMonthInfo outside.
int LunarLeapMonth(int year);
// The name of the solar term that falls on that lunar date (小寒 ... 冬至), or empty.
std::string SolarTermName(int year, int month, int day, int leap);
// A solar date's lunar date as text: %Y the year's stem-and-branch name, %S its zodiac animal,
// %M the month's name (闰 before a leap month), %D the day's name; other text is kept.
// Empty outside the range.
std::string FormatLunarDate(double dateTime, std::string_view format);

}  // namespace platform::lunar
