#include "platform/lunar/lunar.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "platform/clock/clock.h"
#include "platform/text/text.h"

namespace platform::lunar {
namespace {

double Day(int y, int m, int d) { return static_cast<double>(clock::DaysFromCivil(y, m, d)); }

std::string DateText(double serial) { return clock::FormatStoredDate(serial); }

struct Conversion {
  int y, m, d;  // solar
  int ly, lm, ld, leap;
};

TEST(Lunar, PublishedConversions) {
  const Conversion cases[] = {
      {1901, 2, 19, 1901, 1, 1, 0},   {1914, 1, 26, 1914, 1, 1, 0},
      {1949, 10, 1, 1949, 8, 10, 0},  {1950, 2, 17, 1950, 1, 1, 0},
      {1976, 9, 9, 1976, 8, 16, 0},   {1984, 2, 2, 1984, 1, 1, 0},
      {1995, 10, 9, 1995, 8, 15, 1},  {2000, 2, 5, 2000, 1, 1, 0},
      {2008, 8, 8, 2008, 7, 8, 0},    {2017, 1, 28, 2017, 1, 1, 0},
      {2020, 5, 23, 2020, 4, 1, 1},   {2023, 3, 22, 2023, 2, 1, 1},
      {2023, 4, 20, 2023, 3, 1, 0},   {2024, 2, 10, 2024, 1, 1, 0},
      {2024, 9, 17, 2024, 8, 15, 0},  {2025, 7, 25, 2025, 6, 1, 1},
      {2033, 1, 31, 2033, 1, 1, 0},   {2033, 12, 22, 2033, 11, 1, 1},
      {2034, 2, 19, 2034, 1, 1, 0},   {2049, 2, 2, 2049, 1, 1, 0},
      {2050, 1, 22, 2049, 12, 29, 0},
      // Reckoned at the Beijing meridian before 1929: these months begin a day earlier than
      // a new moon just after midnight in UTC+8 would make them.
      {1914, 11, 17, 1914, 10, 1, 0}, {1916, 2, 3, 1916, 1, 1, 0},
      {1920, 11, 10, 1920, 10, 1, 0},
      // 1906 as published: a third month of 30 days, the fourth from 24 April, although the
      // modern new moon fell late on the 23rd at the Beijing meridian.
      {1906, 4, 23, 1906, 3, 30, 0},  {1906, 4, 24, 1906, 4, 1, 0},
      // The eighth month of 1978 began a day before the new moon; 中秋 on 16 September.
      {1978, 9, 2, 1978, 8, 1, 0},    {1978, 9, 16, 1978, 8, 15, 0},
      {1929, 2, 10, 1929, 1, 1, 0},
  };
  for (const Conversion& c : cases) {
    SCOPED_TRACE(DateText(Day(c.y, c.m, c.d)));
    LunarDate got;
    // Any time of the day belongs to that day.
    ASSERT_TRUE(SolarToLunar(Day(c.y, c.m, c.d) + 0.75, got));
    EXPECT_EQ(got.year, c.ly);
    EXPECT_EQ(got.month, c.lm);
    EXPECT_EQ(got.day, c.ld);
    EXPECT_EQ(got.leap, c.leap);
    double back = -1;
    ASSERT_TRUE(LunarToSolar(c.ly, c.lm, c.ld, c.leap, back));
    EXPECT_EQ(back, Day(c.y, c.m, c.d));
  }
}

TEST(Lunar, LeapMonths) {
  const struct { int year, leap; } cases[] = {
      {1903, 5}, {1995, 8}, {2017, 6}, {2020, 4}, {2023, 2},
      {2024, 0}, {2025, 6}, {2033, 11}, {2034, 0}, {2049, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(LunarLeapMonth(c.year), c.leap) << c.year;
  // The leap second month of 2023 follows a 30-day ordinary second month.
  EXPECT_EQ(LunarMonthDays(2023, 2, 0), 30);
  EXPECT_EQ(LunarMonthDays(2023, 2, 1), 29);
}

TEST(Lunar, NewYearsFallBetweenJanuary21AndFebruary20) {
  for (int year = kFirstYear; year <= kLastYear; ++year) {
    double newYear = 0;
    ASSERT_TRUE(LunarToSolar(year, 1, 1, 0, newYear));
    EXPECT_GE(newYear, Day(year, 1, 21)) << year;
    EXPECT_LE(newYear, Day(year, 2, 20)) << year;
  }
}

// Walks every covered day: each is the day after the previous one in the lunar calendar,
// and converts back to itself.
TEST(Lunar, EveryDayRoundTrips) {
  const double first = Day(1901, 2, 19), last = Day(2050, 1, 22);
  LunarDate previous;
  ASSERT_TRUE(SolarToLunar(first, previous));
  for (double day = first + 1; day <= last; ++day) {
    LunarDate now;
    ASSERT_TRUE(SolarToLunar(day, now)) << DateText(day);
    if (now.day != 1) {
      ASSERT_TRUE(now.year == previous.year && now.month == previous.month &&
                  now.leap == previous.leap && now.day == previous.day + 1)
          << DateText(day);
    } else {
      ASSERT_EQ(previous.day, LunarMonthDays(previous.year, previous.month, previous.leap))
          << DateText(day);
      bool toLeap = now.leap == 1 && now.year == previous.year && now.month == previous.month &&
                    previous.leap == 0;
      bool toNext = now.leap == 0 && now.year == previous.year &&
                    now.month == previous.month + 1;
      bool toNewYear = now.leap == 0 && now.year == previous.year + 1 && now.month == 1 &&
                       previous.month == 12;
      ASSERT_TRUE(toLeap || toNext || toNewYear) << DateText(day);
      if (toLeap) {
        ASSERT_EQ(LunarLeapMonth(now.year), now.month) << DateText(day);
      }
    }
    double back = 0;
    ASSERT_TRUE(LunarToSolar(now.year, now.month, now.day, now.leap, back));
    ASSERT_EQ(back, day) << DateText(day);
    previous = now;
  }
  EXPECT_EQ(previous.year, kLastYear);
}

TEST(Lunar, MonthLengthsSumToTheYear) {
  for (int year = kFirstYear; year <= kLastYear; ++year) {
    int leap = LunarLeapMonth(year);
    int total = 0;
    for (int month = 1; month <= 12; ++month) {
      int length = LunarMonthDays(year, month, 0);
      EXPECT_TRUE(length == 29 || length == 30) << year << "/" << month;
      total += length;
      if (month == leap) total += LunarMonthDays(year, month, 1);
    }
    double start = 0, end = Day(2050, 1, 23);
    ASSERT_TRUE(LunarToSolar(year, 1, 1, 0, start));
    if (year < kLastYear) {
      ASSERT_TRUE(LunarToSolar(year + 1, 1, 1, 0, end));
    }
    EXPECT_EQ(total, end - start) << year;
    EXPECT_EQ(total >= 383, leap != 0) << year;
  }
}

TEST(Lunar, LeapFlagAndLongDays) {
  double plain = 0, flagged = 0;
  // A leap flag on a month without a leap month is ignored.
  ASSERT_TRUE(LunarToSolar(2024, 8, 15, 0, plain));
  ASSERT_TRUE(LunarToSolar(2024, 8, 15, 1, flagged));
  EXPECT_EQ(plain, Day(2024, 9, 17));
  EXPECT_EQ(flagged, plain);
  EXPECT_EQ(LunarMonthDays(2024, 8, 1), LunarMonthDays(2024, 8, 0));
  // Days beyond the month's length count on: the first month of 2024 has 29 days.
  double over = 0;
  ASSERT_TRUE(LunarToSolar(2024, 1, 31, 0, over));
  EXPECT_EQ(over, Day(2024, 3, 11));
}

std::string TermOf(int y, int m, int d) {
  LunarDate date;
  if (!SolarToLunar(Day(y, m, d), date)) return "?";
  return text::ToUtf8(SolarTermName(date.year, date.month, date.day, date.leap));
}

TEST(Lunar, SolarTermsOnKnownDays) {
  const struct { int y, m, d; const char* name; } cases[] = {
      {2024, 2, 4, "立春"},  {2024, 12, 21, "冬至"}, {2024, 12, 20, ""},
      {2025, 4, 4, "清明"},  {2025, 4, 5, ""},        {2023, 3, 21, "春分"},
      {2000, 6, 21, "夏至"}, {2021, 12, 21, "冬至"}, {2022, 1, 5, "小寒"},
      {2022, 1, 20, "大寒"}, {2023, 10, 8, "寒露"},  {1995, 10, 9, "寒露"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TermOf(c.y, c.m, c.d), c.name) << c.y << "-" << c.m << "-" << c.d;
  }
}

TEST(Lunar, EverySolarYearHasTheTwentyFourTermsInOrder) {
  const char* const names[] = {"小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨",
                               "立夏", "小满", "芒种", "夏至", "小暑", "大暑", "立秋", "处暑",
                               "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};
  for (int year = kFirstYear + 1; year <= kLastYear; ++year) {
    int next = 0;
    for (double day = Day(year, 1, 1); day < Day(year + 1, 1, 1); ++day) {
      LunarDate date;
      ASSERT_TRUE(SolarToLunar(day, date));
      std::string name = text::ToUtf8(SolarTermName(date.year, date.month, date.day, date.leap));
      if (name.empty()) continue;
      ASSERT_LT(next, 24) << DateText(day);
      ASSERT_EQ(name, names[next]) << DateText(day);
      ++next;
    }
    EXPECT_EQ(next, 24) << year;
  }
}

TEST(Lunar, FormatLunarDate) {
  const char* const format = "%Y%S年%M%D";
  const struct { int y, m, d; const char* text; } cases[] = {
      {1984, 2, 2, "甲子鼠年正月初一"},   {2024, 2, 10, "甲辰龙年正月初一"},
      {1995, 10, 9, "乙亥猪年闰八月十五"}, {2024, 3, 29, "甲辰龙年二月二十"},
      {2033, 12, 22, "癸丑牛年闰十一月初一"}, {2050, 1, 22, "己巳蛇年十二月廿九"},
      {1901, 2, 19, "辛丑牛年正月初一"},   {1906, 4, 23, "丙午马年三月三十"},
      {1906, 4, 24, "丙午马年四月初一"},
  };
  for (const auto& c : cases) {
    std::string got = FormatLunarDate(Day(c.y, c.m, c.d) + 0.5, text::FromUtf8(format));
    EXPECT_EQ(text::ToUtf8(got), c.text) << c.y << "-" << c.m << "-" << c.d;
  }
  // Other text, unknown fields and a trailing % are kept as they are.
  EXPECT_EQ(text::ToUtf8(FormatLunarDate(Day(2024, 2, 10), text::FromUtf8("农历%D %Q 100%"))),
            "农历初一 %Q 100%");
  EXPECT_EQ(FormatLunarDate(Day(2024, 2, 10), ""), "");
}

TEST(Lunar, OutOfRangeAnswersNone) {
  const double inf = std::numeric_limits<double>::infinity();
  const double badSerials[] = {Day(1901, 2, 18), Day(1901, 2, 18) + 0.99, Day(2050, 1, 23),
                               Day(2100, 6, 1),  -1.0, 0.0, 1e300, -1e300, inf,
                               std::nan("")};
  for (double serial : badSerials) {
    LunarDate date{7, 7, 7, 7};
    EXPECT_FALSE(SolarToLunar(serial, date)) << serial;
    EXPECT_EQ(date.year, 7);
    EXPECT_EQ(date.month, 7);
    EXPECT_EQ(date.day, 7);
    EXPECT_EQ(date.leap, 7);
    EXPECT_EQ(FormatLunarDate(serial, "%Y"), "") << serial;
  }
  const struct { int year, month; } badMonths[] = {
      {1900, 1}, {2050, 1}, {INT_MIN, 1}, {INT_MAX, 1}, {2024, 0}, {2024, 13}, {2024, -1},
  };
  for (const auto& c : badMonths) {
    double out = 42;
    EXPECT_FALSE(LunarToSolar(c.year, c.month, 1, 0, out)) << c.year << "/" << c.month;
    EXPECT_EQ(out, 42);
    EXPECT_EQ(LunarMonthDays(c.year, c.month, 0), 0);
    EXPECT_EQ(SolarTermName(c.year, c.month, 1, 0), "");
  }
  EXPECT_EQ(LunarLeapMonth(1900), kNoLeapMonthInfo);
  EXPECT_EQ(LunarLeapMonth(2050), kNoLeapMonthInfo);
  EXPECT_EQ(LunarLeapMonth(INT_MIN), kNoLeapMonthInfo);
  // Day counts far outside a month never reach a term table.
  EXPECT_EQ(SolarTermName(2024, 1, INT_MAX, 0), "");
  EXPECT_EQ(SolarTermName(2024, 1, INT_MIN, 0), "");
  EXPECT_EQ(SolarTermName(1901, 1, -60, 0), "");
}

}  // namespace
}  // namespace platform::lunar
