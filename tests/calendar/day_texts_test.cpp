#include "calendar/day_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/clock/clock.h"
#include "platform/lunar/lunar.h"
#include "reminders/store/calendar.h"
#include "test_support.h"
#include "ui/skin_painter.h"
#include "ui/weekday_name.h"

namespace workmemo {
namespace {

using testsupport::Show;

struct DayCase {
  int y, m, d;
  const char* text;
};

TEST(SolarFestivalOf, FixedDaysAndTheSundayRules) {
  const DayCase cases[] = {
      {2016, 5, 8, "母亲节"},  {2016, 6, 19, "父亲节"}, {2016, 5, 1, "劳动节"},
      {2016, 5, 15, ""},       // the third Sunday of May
      {2016, 6, 12, ""},       // the second Sunday of June
      {2011, 5, 8, "母亲节"},  // 1 May 2011 was a Sunday: the second Sunday is the 8th
      {2011, 5, 1, "劳动节"},  {2014, 6, 15, "父亲节"},  // 1 June 2014 was a Sunday
      {2014, 6, 1, "儿童节"},  {2014, 6, 8, ""},
      {2016, 1, 1, "元旦"},    {2016, 2, 14, "情人节"}, {2016, 9, 10, "教师节"},
      {2016, 12, 25, "圣诞节"}, {2016, 12, 24, ""},
      {2015, 2, 30, ""},  // made into 28 February
      {2016, 4, 31, ""},  // made into 30 April
  };
  for (const DayCase& c : cases)
    EXPECT_EQ(Show(SolarFestivalOf(c.y, c.m, c.d)), Show(c.text)) << c.y << "-" << c.m << "-" << c.d;
}

TEST(LunarDayText, MonthNamesOnFirstDaysAndDayNamesElsewhere) {
  const DayCase cases[] = {
      {2020, 4, 23, "四月"},    {2020, 5, 23, "闰四月"},  // the leap fourth month of 2020
      {2020, 5, 24, "初二"},    {2016, 2, 8, "一月"},      // the first month is "一"
      {2016, 1, 10, "十二月"},  {2016, 2, 27, "廿十"},    {2016, 2, 22, "十五"},
      {2016, 3, 8, "三十"},     {2016, 2, 17, "初十"},
      {1995, 10, 9, "十五"},    // the fifteenth of the leap eighth month
      {1901, 2, 18, ""},        // the last day of lunar 1900: not covered
      {2050, 1, 22, "廿九"},    {2050, 1, 23, ""},          // lunar 2050
  };
  for (const DayCase& c : cases)
    EXPECT_EQ(Show(LunarDayText(c.y, c.m, c.d)), Show(c.text)) << c.y << "-" << c.m << "-" << c.d;
  // No festival in a leap month, also on the fifteenth of a leap eighth month.
  EXPECT_EQ(Show(LunarFestivalOf(1995, 10, 9)), "");
  EXPECT_EQ(Show(LunarFestivalOf(1995, 9, 9)), Show("中秋节"));
}

TEST(SecondLineText, FestivalsBeforeTermsBeforeLunarDays) {
  const struct {
    int y, m, d;
    const char* text;
    bool namesDay;
  } cases[] = {
      {2016, 2, 8, "春节", true},        // lunar new year rather than its month name
      {2016, 2, 22, "元宵节", true},
      {1995, 9, 9, "中秋节", true},      // the ordinary eighth month of 1995
      {2016, 6, 9, "端五节", true},      {2016, 8, 9, "七夕节", true},
      {2016, 10, 9, "重阳节", true},     {2016, 4, 4, "清明", true},
      {2016, 12, 21, "冬至", true},      {2016, 12, 22, "廿四", false},
      {2016, 10, 1, "国庆节", true},     // a solar festival before everything else
      {2016, 2, 14, "情人节", true},     // also lunar 1/7
      {2020, 5, 23, "闰四月", false},
      {1978, 9, 16, "中秋节", true},     // the published eighth month of 1978
      {1901, 1, 6, "", false},           // 小寒 of a lunar year not covered: nothing
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m) + "-" + std::to_string(c.d));
    const SecondLine line = SecondLineOf(c.y, c.m, c.d);
    EXPECT_EQ(Show(line.text), Show(c.text));
    EXPECT_EQ(line.namesDay, c.namesDay);
    EXPECT_EQ(Show(SecondLineText(c.y, c.m, c.d)), Show(c.text));
  }
}

// Every term of the lunar calendar's table of 1902-2049 shows on its day, and on no other
// day of the year (the window keeps the library from being asked elsewhere).
TEST(SolarTermOf, EveryTermOfTheTableShowsOnItsDayOnly) {
  int terms = 0;
  for (int y = 1902; y <= 2049; ++y) {
    for (int m = 1; m <= 12; ++m) {
      for (int d = 1; d <= DaysInMonth(y, m); ++d) {
        platform::lunar::LunarDate lunar;
        ASSERT_TRUE(platform::lunar::SolarToLunar(MakeDateTime(y, m, d, 0, 0, 0), lunar));
        const std::string expected =
            platform::lunar::SolarTermName(lunar.year, lunar.month, lunar.day, lunar.leap);
        const std::string shown = SolarTermOf(y, m, d);
        ASSERT_EQ(Show(shown), Show(expected)) << y << "-" << m << "-" << d;
        if (!shown.empty()) ++terms;
      }
    }
    ASSERT_EQ(terms, 24 * (y - 1901)) << "every month of " << y << " has its two terms";
  }
}

TEST(SolarTermOf, WidenedWindowsTakeInTheTermsJustBeforeMidnight) {
  const DayCase cases[] = {
      {2049, 1, 19, "大寒"}, {2048, 6, 20, "夏至"}, {2044, 10, 7, "寒露"},
      {2048, 10, 7, "寒露"}, {2048, 11, 21, "小雪"}, {2016, 1, 6, "小寒"},
  };
  for (const DayCase& c : cases)
    EXPECT_EQ(Show(SolarTermOf(c.y, c.m, c.d)), Show(c.text)) << c.y << "-" << c.m << "-" << c.d;
  EXPECT_EQ(SolarTermWindow(1).secondTerm.first, 19);
  EXPECT_EQ(SolarTermWindow(2).firstTerm.first, 2);
}

TEST(LunarDayName, MonthAndDayForms) {
  const struct {
    int n;
    bool dayForm;
    const char* name;
  } cases[] = {
      {1, false, "一"},  {10, false, "十"},  {11, false, "十一"}, {12, false, "十二"},
      {13, false, ""},   {0, false, ""},     {1, true, "初一"},   {10, true, "初十"},
      {11, true, "十一"}, {19, true, "十九"}, {20, true, "廿十"},  {21, true, "廿一"},
      {29, true, "廿九"}, {30, true, "三十"}, {31, true, ""},      {0, true, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Show(LunarDayName(c.n, c.dayForm)), Show(c.name)) << c.n << " day form " << c.dayForm;
}

TEST(WeekdayName, AsTheCalendarsHeadTheirColumns) {
  EXPECT_EQ(Show(WeekdayName(1, true)), Show("星期日"));
  EXPECT_EQ(Show(WeekdayName(4, true)), Show("星期三"));
  EXPECT_EQ(Show(WeekdayName(7)), Show("六"));
  EXPECT_EQ(Show(WeekdayName(1)), Show("日"));
}

}  // namespace
}  // namespace workmemo
