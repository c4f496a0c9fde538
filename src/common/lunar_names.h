#pragma once
// Names of lunar months and days as the editors show them, and their way back to numbers.
// Texts are GB18030; lengths and tests are in bytes, as the month boxes are told apart by
// their length: a leap month's name carries "[闰月]" and is 8 bytes or longer.
#include <string>
#include <string_view>

namespace workmemo {

// The value of one Chinese numeral "一" .. "九"; any other text ("十" included) is 0.
int LunarDigitValue(std::string_view numeral);

// "一" .. "十二" for months 1 to 12; the name followed by "[闰月]" when leapMonth > 0 and
// month equals it; empty for any other month.
std::string FormatLunarMonth(int month, int leapMonth);
// The month number of a name by its byte length (2, 4, or 8 and 10 with the leap mark); 0
// for a text that is no month name. The leap mark is not reported: see CarriesLeapMark.
int ParseLunarMonth(std::string_view name);
// Whether a month name carries the leap mark (8 bytes or longer).
bool CarriesLeapMark(std::string_view monthName);

// "初一" .. "初十", "十一" .. "十九", "廿十" .. "廿九", "三十" for days 1 to 30 (every name
// four bytes); empty for any other day.
std::string FormatLunarDay(int day);
// The day of a four-byte name beginning with "初", "十", "廿" or "三"; 0 for anything else.
int ParseLunarDay(std::string_view name);

}  // namespace workmemo
