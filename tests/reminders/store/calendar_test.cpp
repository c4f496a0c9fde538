#include "reminders/store/calendar.h"

#include <gtest/gtest.h>

#include "fixtures.h"
#include "reminders/store/reminder_record.h"

namespace workmemo {
namespace {

using testing::At;
using testing::Text;

TEST(Calendar, MakeDateTimeClampsEveryField) {
  struct Case { int y, mo, d, h, mi, s; double expected; } cases[] = {
      {2015, 4, 31, 9, 0, 0, At(2015, 4, 30, 9)},
      {2015, 6, 10, 25, 61, 61, At(2015, 6, 10, 23, 59, 59)},
      {2015, 2, 31, 0, 0, 0, At(2015, 2, 28)},
      {2016, 2, 31, 0, 0, 0, At(2016, 2, 29)},
      {2015, 13, 5, 0, 0, 0, At(2015, 12, 5)},
      {2015, 0, 0, -1, -1, -1, At(2015, 1, 1)},
      {10000, 12, 31, 0, 0, 0, At(9999, 12, 31)},
      {99, 1, 1, 0, 0, 0, At(100, 1, 1)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Text(MakeDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s)), Text(c.expected))
        << c.y << "-" << c.mo << "-" << c.d;
}

TEST(Calendar, DaysInMonthFollowsTheGregorianRule) {
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2016, 2), 29);
  EXPECT_EQ(DaysInMonth(2015, 4), 30);
  EXPECT_EQ(DaysInMonth(2015, 12), 31);
  EXPECT_EQ(DaysInMonth(2015, 13), 0);
  EXPECT_EQ(DaysInMonth(2015, 0), 0);
  EXPECT_EQ(DaysInMonth(99, 1), 0);
}

TEST(Calendar, AddToDateMovesMonthsByTheCalendarAndFinerPartsExactly) {
  struct Case { double from; int part; std::int64_t n; double expected; } cases[] = {
      {At(2015, 3, 31, 8), DatePart::Month, -1, At(2015, 2, 28, 8)},
      {At(2016, 1, 31), DatePart::Month, 1, At(2016, 2, 29)},
      {At(2016, 2, 29), DatePart::Year, 1, At(2017, 2, 28)},
      {At(2015, 11, 30, 7, 6, 5), DatePart::Quarter, 1, At(2016, 2, 29, 7, 6, 5)},
      {At(2015, 1, 15), DatePart::Month, -13, At(2013, 12, 15)},
      {At(2015, 6, 3, 9), DatePart::Week, 2, At(2015, 6, 17, 9)},
      {At(2015, 12, 31, 23, 59, 59), DatePart::Second, 1, At(2016, 1, 1)},
      {At(2015, 3, 1, 0, 30), DatePart::Hour, -1, At(2015, 2, 28, 23, 30)},
      {At(2015, 3, 1), DatePart::Minute, -90, At(2015, 2, 28, 22, 30)},
      {At(1899, 12, 30), DatePart::Hour, -18, At(1899, 12, 29, 6)},  // negative serial
      {At(2015, 1, 1), 0, 1, At(2016, 1, 1)},                      // part clamped to Year
      {At(2015, 1, 1), 9, 1, At(2015, 1, 1, 0, 0, 1)},             // part clamped to Second
      {At(9999, 12, 31), DatePart::Day, 5, At(9999, 12, 31)},      // clamped to the range
  };
  for (const auto& c : cases)
    EXPECT_EQ(Text(AddToDate(c.from, c.part, c.n)), Text(c.expected))
        << Text(c.from) << " part " << c.part << " n " << c.n;
  const double x = At(2015, 3, 31, 8) + 0.1234;
  EXPECT_EQ(AddToDate(x, DatePart::Day, 0), x);
}

TEST(Calendar, DateDifferenceByPart) {
  const double sat = At(2015, 6, 6), sun = At(2015, 6, 7), nextSat = At(2015, 6, 13);
  struct Case { double a, b; int part; double expected; } cases[] = {
      {At(2015, 2, 1), At(2015, 1, 31), DatePart::Month, 1},
      {At(2016, 1, 1), At(2015, 12, 31), DatePart::Year, 1},
      {At(2015, 4, 1), At(2015, 3, 31), DatePart::Quarter, 1},
      {At(2014, 12, 31), At(2016, 1, 1), DatePart::Quarter, -5},
      {sun, sat, DatePart::Week, 1},
      {nextSat, sun, DatePart::Week, 0},
      {sat, sun, DatePart::Week, -1},
      {At(2015, 6, 21), sat, DatePart::Week, 3},
      {At(2015, 6, 2, 12), At(2015, 6, 1), DatePart::Day, 1.5},
      {At(2015, 6, 1, 10), At(2015, 6, 1, 9, 0, 1), DatePart::Hour, 0},
      {At(2015, 6, 1, 10), At(2015, 6, 1, 9), DatePart::Hour, 1},
      // An exact negative multiple is lifted by one unit before truncation.
      {At(2015, 6, 1, 9), At(2015, 6, 1, 10), DatePart::Hour, 0},
      {At(2015, 6, 1, 9), At(2015, 6, 1, 11, 30), DatePart::Hour, -2},
      {At(2015, 6, 1, 9, 0, 5), At(2015, 6, 1, 9), DatePart::Second, 5},
      {At(2015, 6, 1, 9), At(2015, 6, 1, 9), DatePart::Second, 0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(DateDifference(c.a, c.b, c.part), c.expected)
        << Text(c.a) << " - " << Text(c.b) << " part " << c.part;
}

TEST(Calendar, CountWholeUnitsSignsInEveryUnit) {
  struct Case { double a, b; int part; std::int64_t expected; } cases[] = {
      {At(2015, 6, 1, 0, 10), At(2015, 5, 31, 23, 50), DatePart::Day, 1},
      {At(2015, 6, 1, 0, 10), At(2015, 5, 31, 23, 50), DatePart::Hour, 1},
      {At(2015, 6, 1, 0, 10), At(2015, 5, 31, 23, 50), DatePart::Minute, 20},
      {At(2015, 5, 31, 23, 50), At(2015, 6, 1, 0, 10), DatePart::Day, -1},
      {At(2015, 5, 31, 23, 50), At(2015, 6, 1, 0, 10), DatePart::Hour, -1},
      {At(2015, 5, 31, 23, 50), At(2015, 6, 1, 0, 10), DatePart::Minute, -20},
      // Inside one minute (hour): -1 when first is the earlier, else 0.
      {At(2015, 6, 1, 9, 59, 10), At(2015, 6, 1, 9, 59, 40), DatePart::Minute, -1},
      {At(2015, 6, 1, 9, 59, 40), At(2015, 6, 1, 9, 59, 10), DatePart::Minute, 0},
      {At(2015, 6, 1, 10), At(2015, 6, 1, 9, 59, 59), DatePart::Minute, 1},
      {At(2015, 6, 1, 9, 10), At(2015, 6, 1, 9, 50), DatePart::Hour, -1},
      {At(2015, 6, 1, 9, 50), At(2015, 6, 1, 9, 10), DatePart::Hour, 0},
      {At(2015, 6, 1, 9), At(2015, 6, 1, 9), DatePart::Minute, 0},
      {At(2015, 6, 1, 8, 0, 0), At(2015, 6, 1, 10, 0, 0), DatePart::Hour, -2},
      {At(2015, 6, 1, 8, 0, 30), At(2015, 6, 1, 10, 0, 0), DatePart::Hour, -2},
      {At(2015, 6, 1, 9, 0, 0), At(2015, 6, 1, 9, 0, 7), DatePart::Second, -7},
      {At(2015, 6, 1, 9, 0, 7), At(2015, 6, 1, 9, 0, 0), DatePart::Second, 7},
      {At(2015, 6, 1), At(2015, 6, 10, 23), DatePart::Day, -9},
      {At(2015, 6, 7), At(2015, 6, 6, 23), DatePart::Week, 1},   // Sunday crossed
      {At(2015, 6, 6), At(2015, 6, 7), DatePart::Week, -1},
      {At(2015, 5, 31), At(2015, 6, 1), DatePart::Month, -1},
      {At(2015, 1, 1), At(2014, 12, 31, 23, 59, 59), DatePart::Year, 1},
      {At(2013, 6, 1), At(2015, 1, 1), DatePart::Year, -2},
      // Beyond 68 years the seconds leave 32 bits.
      {At(2100, 1, 1), At(1900, 1, 1), DatePart::Second, 6311433600LL},
      {At(1900, 1, 1), At(2100, 1, 1), DatePart::Second, -6311433600LL},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CountWholeUnits(c.a, c.b, c.part), c.expected)
        << Text(c.a) << " from " << Text(c.b) << " part " << c.part;
}

TEST(Calendar, PartsWeekdaysAndTheComparisonOfNegativeSerials) {
  const DateTimeParts p = SplitDateTime(At(2016, 2, 29, 13, 14, 15));
  EXPECT_EQ((std::vector<int>{p.year, p.month, p.day, p.hour, p.minute, p.second, p.weekday}),
            (std::vector<int>{2016, 2, 29, 13, 14, 15, 2}));
  EXPECT_EQ(Weekday(At(2015, 6, 7, 23)), 1);  // Sunday
  EXPECT_EQ(Weekday(At(1899, 12, 30)), 7);    // Saturday
  EXPECT_EQ(Weekday(-1.25), 6);
  EXPECT_EQ(Text(DateOf(At(2015, 6, 7, 23, 1))), Text(At(2015, 6, 7)));
  EXPECT_EQ(Text(TimeOf(At(2015, 6, 7, 23, 1))), Text(At(2000, 1, 1, 23, 1)));
  // -1.25 is 29 December 1899 06:00, after -1.0 (midnight of that day).
  EXPECT_TRUE(IsLater(-1.25, -1.0));
  EXPECT_TRUE(IsEarlier(-1.25, -0.5));
  EXPECT_EQ(Text(-1.25), "1899-12-29 06:00:00");
  EXPECT_TRUE(IsSameSecond(At(2015, 1, 1, 9), At(2015, 1, 1, 9) + 0.2 / 86400));
  EXPECT_TRUE(IsSameSecond(5e6, kMaxDateTime));  // clamped into the valid range
  EXPECT_EQ(ToFlag(0), 0);
  EXPECT_EQ(ToFlag(-3), 1);
}

}  // namespace
}  // namespace workmemo
