#pragma once
// The short texts the month calendar writes under each day: a festival of the solar
// calendar, else one of the lunar calendar, else a solar term, else the lunar day. Pure
// functions of a solar date; every date is first made with the date rules (a day beyond its
// month is its month's last day). Dates whose lunar year the lunar calendar does not cover
// have no lunar text, lunar festival or term.
#include <string>

namespace workmemo {

// "元旦", "情人节", ... on their fixed days; "母亲节" on the second Sunday of May and "父亲节"
// on the third Sunday of June; empty on any other day.
std::string SolarFestivalOf(int year, int month, int day);

// The days of a solar month within which its two terms fall, both ends included.
struct SolarTermRange {
  int first, last;
};
struct SolarTermWindowRow {
  SolarTermRange firstTerm, secondTerm;
};
// The window of a month 1..12.
const SolarTermWindowRow& SolarTermWindow(int month);

// The solar term that falls on that date ("小寒" ... "冬至"), or empty. The lunar calendar is
// asked only on the days of the month's window.
std::string SolarTermOf(int year, int month, int day);

// A lunar number as text, from the editors' table of lunar names. Month form (dayForm false):
// "一" .. "十二" for 1..12; day form: "初一" .. "初十", "十一" .. "十九", "廿十", "廿一" .. "廿九",
// "三十" for 1..30; empty for any other number.
std::string LunarDayName(int n, bool dayForm);

// On the first day of a lunar month its name ("五月", "闰四月"); on any other day the lunar
// day's name ("初二", "廿十", "三十").
std::string LunarDayText(int year, int month, int day);

// SolarFestivalOf, else LunarFestivalOf, else SolarTermOf, else LunarDayText.
std::string SecondLineText(int year, int month, int day);
// The same text, and whether it names a festival or a term (the calendar colours those).
struct SecondLine {
  std::string text;
  bool namesDay = false;
};
SecondLine SecondLineOf(int year, int month, int day);

}  // namespace workmemo
