#include "reminders/store/next_dates.h"

#include <gtest/gtest.h>

#include <string>

#include "fixtures.h"

namespace workmemo {
namespace {

using testing::At;
using testing::Text;

TEST(NextDates, WeekdaysCountFromTodayOrWithinThisWeek) {
  const double wednesday = At(2016, 2, 10, 9, 30, 15);
  const double saturday = At(2016, 2, 13, 9, 30, 15);
  struct Case {
    const char* what;
    double got, expected;
  } cases[] = {
      {"today's weekday is today", NextDateOnWeekday(4, wednesday), wednesday},
      {"Monday comes next week", NextDateOnWeekday(2, wednesday), At(2016, 2, 15, 9, 30, 15)},
      {"Saturday this week", NextDateOnWeekday(7, wednesday), saturday},
      {"no weekday: the coming Saturday", NextDateOnWeekday(0, wednesday), saturday},
      {"no weekday on a Saturday: today", NextDateOnWeekday(0, saturday), saturday},
      {"Monday of this week lies back", DateOnWeekdayOfThisWeek(2, wednesday), At(2016, 2, 8, 9, 30, 15)},
      {"Sunday of this week", DateOnWeekdayOfThisWeek(1, saturday), At(2016, 2, 7, 9, 30, 15)},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.got), Text(c.expected)) << c.what;
}

TEST(NextDates, MonthDaysWaitForAMonthOrYearLongEnough) {
  const double february = At(2016, 2, 10, 8, 0, 5);
  struct Case {
    const char* what;
    double got, expected;
  } cases[] = {
      {"31 in February: 31 March", NextDateWithDay(31, february), At(2016, 3, 31, 8, 0, 5)},
      {"29 in a leap February", NextDateWithDay(29, february), At(2016, 2, 29, 8, 0, 5)},
      {"30 in a common February", NextDateWithDay(30, At(2015, 2, 1, 7)), At(2015, 3, 30, 7)},
      {"a passed day is not skipped", NextDateWithDay(5, At(2016, 3, 20, 7)), At(2016, 3, 5, 7)},
      {"31 in November: 31 December", NextDateWithDay(31, At(2016, 11, 30)), At(2016, 12, 31)},
      {"29 February from 2025", NextDateWithMonthDay(2, 29, At(2025, 1, 10, 6)), At(2028, 2, 29, 6)},
      {"29 February in a leap year", NextDateWithMonthDay(2, 29, At(2024, 9, 1)), At(2024, 2, 29)},
      {"a passed month day stays this year", NextDateWithMonthDay(1, 15, february), At(2016, 1, 15, 8, 0, 5)},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.got), Text(c.expected)) << c.what;
}

TEST(NextDates, LunarDaysStayInTodaysMonthWithItsLeapFlag) {
  // 25 May 2020 is the third day of the leap fourth month (29 days, from 23 May).
  const double inLeapMonth = At(2020, 5, 25, 10, 20, 30);
  struct Case {
    const char* what;
    double got, expected;
  } cases[] = {
      {"day 10 of the leap month", NextDateWithLunarDay(10, inLeapMonth), At(2020, 6, 1, 10, 20, 30)},
      {"a passed day of this month", NextDateWithLunarDay(1, inLeapMonth), At(2020, 5, 23, 10, 20, 30)},
      {"day 30: the fifth month", NextDateWithLunarDay(30, inLeapMonth), At(2020, 7, 20, 10, 20, 30)},
      // The second month of 2016 (from 9 March) has 29 days, the third 30.
      {"day 30 after a short month", NextDateWithLunarDay(30, At(2016, 3, 9, 8)), At(2016, 5, 6, 8)},
      {"outside the lunar years: now", NextDateWithLunarDay(5, At(2060, 1, 1, 8)), At(2060, 1, 1, 8)},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.got), Text(c.expected)) << c.what;
}

}  // namespace
}  // namespace workmemo
