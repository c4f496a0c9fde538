#pragma once
// Calendar arithmetic on serial date-times (days since 1899-12-30, the fraction the time of
// day, whole seconds), done on calendar fields only: no time zone or daylight-saving rule can
// move a result. Parts are DatePart codes (reminder_record.h).
#include <cstdint>

#include "common/days_in_month.h"

namespace workmemo {

// The valid range of date-times: 100-01-01 00:00:00 to 9999-12-31 00:00:00.
constexpr double kMinDateTime = -657434.0;
constexpr double kMaxDateTime = 2958465.0;

struct DateTimeParts {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0;
  int weekday = 0;  // 1 = Sunday .. 7 = Saturday
};

// Year clamped to 100..9999, month to 1..12, day to 1..31 and then the month's length,
// hour to 0..23, minute and second to 0..59.
double MakeDateTime(int year, int month, int day, int hour, int minute, int second);
// Year, Quarter and Month move the calendar month and clamp the day (31 Jan + 1 month =
// 28/29 Feb); Week and finer add exact units. Parts outside 1..8 are clamped into it.
double AddToDate(double dateTime, int part, std::int64_t n);
// first - second in the given part (see the definition of each part in calendar.cpp).
double DateDifference(double first, double second, int part);

DateTimeParts SplitDateTime(double dateTime);
int Weekday(double dateTime);     // 1 = Sunday .. 7 = Saturday
double DateOf(double dateTime);   // the same day at 00:00:00
double TimeOf(double dateTime);   // the same time of day on 2000-01-01

// The comparison of date-times: values clamped into the valid range, a negative serial's
// fraction running forward from its day's start, compared to the second.
std::int64_t LinearSeconds(double dateTime);
int CompareDateTimes(double a, double b);  // -1, 0 or 1
inline bool IsEarlier(double a, double b) { return CompareDateTimes(a, b) < 0; }
inline bool IsLater(double a, double b) { return CompareDateTimes(a, b) > 0; }
inline bool IsSameSecond(double a, double b) { return CompareDateTimes(a, b) == 0; }
// Whole days since 1899-12-30 of the value's date, and its second of the day (0..86399).
std::int64_t DayNumber(double dateTime);
int SecondOfDay(double dateTime);
double DateTimeFromSeconds(std::int64_t linearSeconds);  // clamped into the valid range

// The signed count of `part` units from second to first: calendar years, quarters, months,
// Sundays crossed and days for parts 1..5 (time of day dropped); hour and minute boundaries
// crossed for 6 and 7, except that two values inside one hour (minute) give -1 when first is
// the earlier; the exact difference for seconds. 64-bit: seconds overflow 32 bits beyond
// 68 years.
std::int64_t CountWholeUnits(double first, double second, int part);

// Reads a stored integer flag: 1 for any non-zero value.
inline int ToFlag(int value) { return value != 0 ? 1 : 0; }

}  // namespace workmemo
