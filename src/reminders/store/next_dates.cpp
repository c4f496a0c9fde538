#include "reminders/store/next_dates.h"

#include "platform/lunar/lunar.h"
#include "reminders/store/calendar.h"

namespace workmemo {

namespace {

constexpr int kFurtherTries = 12;

double OnDayWithTimeOf(int year, int month, int day, double now) {
  const DateTimeParts t = SplitDateTime(now);
  return MakeDateTime(year, month, day, t.hour, t.minute, t.second);
}

}  // namespace

double NextDateOnWeekday(int weekday, double now) {
  const int today = Weekday(now);
  return now + (weekday >= today ? weekday - today : weekday + 7 - today);
}

double DateOnWeekdayOfThisWeek(int weekday, double now) { return now + (weekday - Weekday(now)); }

double NextDateWithDay(int day, double now) {
  const DateTimeParts p = SplitDateTime(now);
  int year = p.year;
  int month = p.month;
  for (int tries = 0; tries < kFurtherTries && DaysInMonth(year, month) < day; ++tries) {
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  return OnDayWithTimeOf(year, month, day, now);
}

double NextDateWithMonthDay(int month, int day, double now) {
  int year = SplitDateTime(now).year;
  for (int tries = 0; tries < kFurtherTries && DaysInMonth(year, month) < day; ++tries) ++year;
  return OnDayWithTimeOf(year, month, day, now);
}

double NextDateWithLunarDay(int lunarDay, double now) {
  platform::lunar::LunarDate today;
  if (!platform::lunar::SolarToLunar(now, today)) return now;
  int year = today.year;
  int month = today.month;
  int leap = today.leap;
  for (int tries = 0;
       tries < kFurtherTries && platform::lunar::LunarMonthDays(year, month, leap) < lunarDay; ++tries) {
    leap = 0;
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  double solar = 0;
  if (!platform::lunar::LunarToSolar(year, month, lunarDay, leap, solar)) return now;
  return solar + (now - DateOf(now));
}

}  // namespace workmemo
