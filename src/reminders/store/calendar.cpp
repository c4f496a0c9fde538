#include "reminders/store/calendar.h"

#include <algorithm>

#include "platform/clock/clock.h"
#include "reminders/store/reminder_record.h"

namespace workmemo {
namespace {

namespace clk = platform::clock;

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kMinSeconds = static_cast<std::int64_t>(kMinDateTime) * kSecondsPerDay;
constexpr std::int64_t kMaxSeconds = static_cast<std::int64_t>(kMaxDateTime) * kSecondsPerDay;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int ClampPart(int part) {
  return std::clamp(part, static_cast<int>(DatePart::Year), static_cast<int>(DatePart::Second));
}

// Weekday of a day number: day 0 (1899-12-30) was a Saturday.
int WeekdayOfDay(std::int64_t day) {
  return static_cast<int>(day + 6 - FloorDiv(day + 6, 7) * 7) + 1;
}

// Moves (year, month) by a number of months, carrying into the year in steps of 12.
void ShiftMonths(int& year, int& month, std::int64_t months) {
  std::int64_t total = static_cast<std::int64_t>(year) * 12 + (month - 1) + months;
  std::int64_t y = FloorDiv(total, 12);
  year = static_cast<int>(std::clamp<std::int64_t>(y, -1000000, 1000000));
  month = static_cast<int>(total - y * 12) + 1;
}

// A whole-unit quotient of seconds, as the date-difference definition truncates it: the
// half-second rounding guard added before truncating toward zero lifts an exact negative
// multiple by one unit.
std::int64_t TruncatedUnits(std::int64_t seconds, std::int64_t unit) {
  std::int64_t q = seconds / unit;
  if (seconds < 0 && seconds % unit == 0) ++q;
  return q;
}

}  // namespace

std::int64_t LinearSeconds(double dateTime) {
  if (!(dateTime >= kMinDateTime)) dateTime = kMinDateTime;  // also catches NaN
  if (dateTime > kMaxDateTime) dateTime = kMaxDateTime;
  // The due check converts every record every second: from day 0 on, the serial is linear
  // already and rounds to the nearest second directly.
  if (dateTime >= 0) return static_cast<std::int64_t>(dateTime * 86400.0 + 0.5);
  return clk::SecondsFromSerial(dateTime);
}

double DateTimeFromSeconds(std::int64_t linearSeconds) {
  return clk::SerialFromSeconds(std::clamp(linearSeconds, kMinSeconds, kMaxSeconds));
}

int CompareDateTimes(double a, double b) {
  std::int64_t x = LinearSeconds(a), y = LinearSeconds(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

std::int64_t DayNumber(double dateTime) { return FloorDiv(LinearSeconds(dateTime), kSecondsPerDay); }

int SecondOfDay(double dateTime) {
  std::int64_t s = LinearSeconds(dateTime);
  return static_cast<int>(s - FloorDiv(s, kSecondsPerDay) * kSecondsPerDay);
}

DateTimeParts SplitDateTime(double dateTime) {
  std::int64_t day = DayNumber(dateTime);
  int sod = SecondOfDay(dateTime);
  DateTimeParts p;
  clk::CivilFromDays(day, p.year, p.month, p.day);
  p.hour = sod / 3600;
  p.minute = sod / 60 % 60;
  p.second = sod % 60;
  p.weekday = WeekdayOfDay(day);
  return p;
}

int Weekday(double dateTime) { return WeekdayOfDay(DayNumber(dateTime)); }

double DateOf(double dateTime) {
  return DateTimeFromSeconds(DayNumber(dateTime) * kSecondsPerDay);
}

double TimeOf(double dateTime) {
  return DateTimeFromSeconds(clk::DaysFromCivil(2000, 1, 1) * kSecondsPerDay + SecondOfDay(dateTime));
}

double MakeDateTime(int year, int month, int day, int hour, int minute, int second) {
  year = std::clamp(year, 100, 9999);
  month = std::clamp(month, 1, 12);
  day = std::clamp(day, 1, DaysInMonth(year, month));
  hour = std::clamp(hour, 0, 23);
  minute = std::clamp(minute, 0, 59);
  second = std::clamp(second, 0, 59);
  return clk::SerialFromFields({year, month, day, hour, minute, second});
}

double AddToDate(double dateTime, int part, std::int64_t n) {
  if (n == 0) return dateTime;
  part = ClampPart(part);
  if (part <= DatePart::Month) {
    DateTimeParts p = SplitDateTime(dateTime);
    std::int64_t months = part == DatePart::Year ? n * 12 : (part == DatePart::Quarter ? n * 3 : n);
    ShiftMonths(p.year, p.month, months);
    return MakeDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
  }
  static constexpr std::int64_t kUnitSeconds[] = {7 * kSecondsPerDay, kSecondsPerDay, 3600, 60, 1};
  std::int64_t unit = kUnitSeconds[part - DatePart::Week];
  // Beyond the valid range either way the result is clamped, so cap n before multiplying.
  n = std::clamp<std::int64_t>(n, -(kMaxSeconds - kMinSeconds), kMaxSeconds - kMinSeconds);
  return DateTimeFromSeconds(LinearSeconds(dateTime) + n * unit);
}

double DateDifference(double first, double second, int part) {
  std::int64_t a = LinearSeconds(first), b = LinearSeconds(second);
  if (a == b) return 0;
  part = ClampPart(part);
  switch (part) {
    case DatePart::Year:
    case DatePart::Quarter:
    case DatePart::Month: {
      DateTimeParts p = SplitDateTime(first), q = SplitDateTime(second);
      std::int64_t years = p.year - q.year;
      if (part == DatePart::Year) return static_cast<double>(years);
      if (part == DatePart::Quarter)
        return static_cast<double>(4 * years + (p.month - 1) / 3 - (q.month - 1) / 3);
      return static_cast<double>(12 * years + p.month - q.month);
    }
    case DatePart::Week: {
      // Sundays crossed: whole weeks of the day difference, plus the partial week's Sunday.
      std::int64_t weeks = (a - b) / kSecondsPerDay / 7;
      int wa = Weekday(first), wb = Weekday(second);
      if (a > b && wa < wb) ++weeks;
      if (a < b && wb < wa) --weeks;
      return static_cast<double>(weeks);
    }
    case DatePart::Day:
      return static_cast<double>(a - b) / static_cast<double>(kSecondsPerDay);
    case DatePart::Hour:
      return static_cast<double>(TruncatedUnits(a - b, 3600));
    case DatePart::Minute:
      return static_cast<double>(TruncatedUnits(a - b, 60));
    default:
      return static_cast<double>(TruncatedUnits(a - b, 1));
  }
}

std::int64_t CountWholeUnits(double first, double second, int part) {
  std::int64_t a = LinearSeconds(first), b = LinearSeconds(second);
  switch (part) {
    case DatePart::Year:
    case DatePart::Quarter:
    case DatePart::Month:
    case DatePart::Week:
    case DatePart::Day:
      return static_cast<std::int64_t>(DateDifference(DateOf(first), DateOf(second), part));
    case DatePart::Hour:
    case DatePart::Minute: {
      std::int64_t unit = part == DatePart::Hour ? 3600 : 60;
      std::int64_t units = TruncatedUnits(FloorDiv(a, unit) * unit - FloorDiv(b, unit) * unit, unit);
      return a < b ? units - 1 : units;
    }
    case DatePart::Second:
      return a - b;  // the rounding guard's lift and the earlier-first step cancel out
    default:
      return static_cast<std::int64_t>(DateDifference(first, second, part));
  }
}

}  // namespace workmemo
