#include "calendar/day_texts.h"

#include <string_view>
#include <utility>

#include "common/lunar_names.h"
#include "platform/lunar/lunar.h"
#include "reminders/store/calendar.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace {

constexpr int kSunday = 1;

struct MadeDate {
  double serial;
  DateTimeParts parts;
};

MadeDate MakeDate(int year, int month, int day) {
  const double serial = MakeDateTime(year, month, day, 0, 0, 0);
  return {serial, SplitDateTime(serial)};
}

// The day of the n-th Sunday of a month.
int NthSunday(int year, int month, int n) {
  const int firstWeekday = Weekday(MakeDateTime(year, month, 1, 0, 0, 0));
  return 1 + (kSunday - firstWeekday + 7) % 7 + 7 * (n - 1);
}

}  // namespace

std::string SolarFestivalOf(int year, int month, int day) {
  struct Festival {
    int month, day;
    std::string_view name;
  };
  static constexpr Festival kFixed[] = {
      {1, 1, "元旦"},   {2, 14, "情人节"}, {3, 8, "妇女节"},  {3, 12, "植树节"}, {4, 1, "愚人节"},
      {5, 1, "劳动节"}, {5, 4, "青年节"},  {6, 1, "儿童节"},  {7, 1, "建党节"},  {8, 1, "建军节"},
      {9, 10, "教师节"}, {10, 1, "国庆节"}, {12, 25, "圣诞节"}};
  const DateTimeParts d = MakeDate(year, month, day).parts;
  for (const Festival& f : kFixed) {
    if (f.month == d.month && f.day == d.day) return std::string(f.name);
  }
  if (d.weekday == kSunday) {
    if (d.month == 5 && d.day == NthSunday(d.year, 5, 2)) return "母亲节";
    if (d.month == 6 && d.day == NthSunday(d.year, 6, 3)) return "父亲节";
  }
  return {};
}

const SolarTermWindowRow& SolarTermWindow(int month) {
  // A few terms of 2044-2049 fall just before midnight on the day before their usual range;
  // the ranges of January, June, October and November take that day in, so that every term
  // of the lunar calendar's table is shown.
  static constexpr SolarTermWindowRow kWindows[12] = {
      {{5, 7}, {19, 21}}, {{2, 5}, {18, 20}}, {{3, 7}, {20, 22}}, {{4, 6}, {19, 21}},
      {{5, 7}, {20, 22}}, {{5, 7}, {20, 22}}, {{6, 8}, {22, 24}}, {{7, 9}, {22, 24}},
      {{7, 9}, {22, 24}}, {{7, 9}, {23, 24}}, {{7, 8}, {21, 23}}, {{6, 8}, {21, 23}}};
  static constexpr SolarTermWindowRow kNone{{0, -1}, {0, -1}};
  return month >= 1 && month <= 12 ? kWindows[month - 1] : kNone;
}

std::string SolarTermOf(int year, int month, int day) {
  const MadeDate made = MakeDate(year, month, day);
  const SolarTermWindowRow& window = SolarTermWindow(made.parts.month);
  const auto inside = [day](SolarTermRange r) { return day >= r.first && day <= r.last; };
  if (!inside(window.firstTerm) && !inside(window.secondTerm)) return {};
  platform::lunar::LunarDate lunar;
  if (!platform::lunar::SolarToLunar(made.serial, lunar)) return {};
  return platform::lunar::SolarTermName(lunar.year, lunar.month, lunar.day, lunar.leap);
}

std::string LunarDayName(int n, bool dayForm) { return dayForm ? FormatLunarDay(n) : FormatLunarMonth(n, 0); }

std::string LunarDayText(int year, int month, int day) {
  platform::lunar::LunarDate lunar;
  if (!platform::lunar::SolarToLunar(MakeDate(year, month, day).serial, lunar)) return {};
  if (lunar.day != 1) return LunarDayName(lunar.day, true);
  return std::string(lunar.leap ? "闰" : "") + LunarDayName(lunar.month, false) + "月";
}

SecondLine SecondLineOf(int year, int month, int day) {
  for (auto named : {SolarFestivalOf, LunarFestivalOf, SolarTermOf}) {
    std::string found = named(year, month, day);
    if (!found.empty()) return {std::move(found), true};
  }
  return {LunarDayText(year, month, day), false};
}

std::string SecondLineText(int year, int month, int day) { return SecondLineOf(year, month, day).text; }

}  // namespace workmemo
