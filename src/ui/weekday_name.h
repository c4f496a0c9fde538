#pragma once
// Chinese names of the weekdays, as calendars and lists head their columns.
#include <string>

namespace workmemo {

// "日" for 1 (Sunday), "一" .. "六" for 2 .. 7 (Monday .. Saturday), preceded by "星期" when
// withPrefix is set; an empty text for a number outside 1..7.
std::string WeekdayName(int weekday, bool withPrefix = false);

}  // namespace workmemo
