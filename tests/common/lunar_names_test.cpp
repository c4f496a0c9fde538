#include "common/lunar_names.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

using namespace workmemo;
using testsupport::Show;

TEST(LunarMonthNames, FormatMarksOnlyTheLeapMonthAndKeepsItsByteLength) {
  struct Case {
    int month, leapMonth;
    std::string name;
    std::size_t bytes;
  } cases[] = {
      {4, 4, "四[闰月]", 8},   {11, 11, "十一[闰月]", 10}, {10, 10, "十[闰月]", 8},
      {4, 6, "四", 2},         {12, 0, "十二", 4},         {1, 0, "一", 2},
      {13, 13, "", 0},         {0, 0, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.month) + "/" + std::to_string(c.leapMonth));
    const std::string name = FormatLunarMonth(c.month, c.leapMonth);
    EXPECT_EQ(Show(name), Show(c.name));
    EXPECT_EQ(name.size(), c.bytes);
    EXPECT_EQ(CarriesLeapMark(name), c.bytes >= 8);
  }
}

TEST(LunarMonthNames, ParseReadsTheNumberFromEveryFormAndNothingElse) {
  struct Case {
    std::string name;
    int month;
  } cases[] = {
      {"十", 10},       {"十二", 12},      {"十[闰月]", 10}, {"十二[闰月]", 12}, {"四[闰月]", 4},
      {"一", 1},        {"九", 9},          {"十一", 11},     {"正", 0},          {"", 0},
      {"二十", 0},      {"十一月", 0},      {"abcd", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseLunarMonth(c.name), c.month) << Show(c.name);
  for (int m = 1; m <= 12; ++m) {
    EXPECT_EQ(ParseLunarMonth(FormatLunarMonth(m, 0)), m);
    EXPECT_EQ(ParseLunarMonth(FormatLunarMonth(m, m)), m);
  }
}

TEST(LunarDayNames, EveryDayRoundTripsThroughItsFourByteName) {
  for (int d = 1; d <= 30; ++d) {
    const std::string name = FormatLunarDay(d);
    EXPECT_EQ(name.size(), 4u) << d;
    EXPECT_EQ(ParseLunarDay(name), d) << Show(name);
  }
  EXPECT_EQ(Show(FormatLunarDay(20)), Show("廿十"));
  EXPECT_EQ(Show(FormatLunarDay(10)), Show("初十"));
  EXPECT_EQ(Show(FormatLunarDay(30)), Show("三十"));
  EXPECT_EQ(FormatLunarDay(0), "");
  EXPECT_EQ(FormatLunarDay(31), "");
}

TEST(LunarDayNames, ParseRefusesNamesTheListsNeverOffer) {
  struct Case {
    std::string name;
    int day;
  } cases[] = {{"二十", 0}, {"初", 0}, {"廿", 0}, {"初一日", 0}, {"", 0}, {"正月", 0}, {"三十", 30}};
  for (const Case& c : cases) EXPECT_EQ(ParseLunarDay(c.name), c.day) << Show(c.name);
}

TEST(LunarDigitValue, OnlyTheNineNumerals) {
  EXPECT_EQ(LunarDigitValue("一"), 1);
  EXPECT_EQ(LunarDigitValue("九"), 9);
  EXPECT_EQ(LunarDigitValue("十"), 0);
  EXPECT_EQ(LunarDigitValue("〇"), 0);
  EXPECT_EQ(LunarDigitValue("一二"), 0);
  EXPECT_EQ(LunarDigitValue(""), 0);
}

}  // namespace
