#include "common/lunar_names.h"

#include <array>

namespace workmemo {

namespace {

constexpr std::array<std::string_view, 9> kNumerals = {"一", "二", "三", "四", "五",
                                                       "六", "七", "八", "九"};
constexpr std::string_view kTen = "十";
constexpr std::string_view kLeapMark = "[闰月]";
constexpr std::size_t kCharBytes = 2;
constexpr std::size_t kLeapNameMinBytes = 8;

// One table for every day name: the calendar's lunar day names are these too.
constexpr std::array<std::string_view, 30> kDayNames = {
    "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "廿十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};

constexpr std::array<std::string_view, 12> kMonthNames = {
    "一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"};

// A plain month name of one or two characters.
int PlainMonthValue(std::string_view name) {
  if (name.size() == kCharBytes) return name == kTen ? 10 : LunarDigitValue(name);
  if (name.size() == 2 * kCharBytes && name.substr(0, kCharBytes) == kTen)
    return 10 + LunarDigitValue(name.substr(kCharBytes));
  return 0;
}

}  // namespace

int LunarDigitValue(std::string_view numeral) {
  for (std::size_t i = 0; i < kNumerals.size(); ++i) {
    if (numeral == kNumerals[i]) return static_cast<int>(i) + 1;
  }
  return 0;
}

std::string FormatLunarMonth(int month, int leapMonth) {
  if (month < 1 || month > 12) return {};
  std::string name(kMonthNames[static_cast<std::size_t>(month - 1)]);
  if (leapMonth > 0 && month == leapMonth) name += kLeapMark;
  return name;
}

int ParseLunarMonth(std::string_view name) {
  switch (name.size()) {
    case kCharBytes:
    case 2 * kCharBytes:
      return PlainMonthValue(name);
    case kLeapNameMinBytes:
      return PlainMonthValue(name.substr(0, kCharBytes));
    case kLeapNameMinBytes + kCharBytes:
      return PlainMonthValue(name.substr(0, 2 * kCharBytes));
    default:
      return 0;
  }
}

bool CarriesLeapMark(std::string_view monthName) { return monthName.size() >= kLeapNameMinBytes; }

std::string FormatLunarDay(int day) {
  if (day < 1 || day > static_cast<int>(kDayNames.size())) return {};
  return std::string(kDayNames[static_cast<std::size_t>(day - 1)]);
}

int ParseLunarDay(std::string_view name) {
  if (name.size() != 2 * kCharBytes) return 0;
  const std::string_view first = name.substr(0, kCharBytes);
  const std::string_view second = name.substr(kCharBytes);
  if (first == "初") return second == kTen ? 10 : LunarDigitValue(second);
  if (first == kTen) return 10 + LunarDigitValue(second);
  if (first == "廿") return 20 + LunarDigitValue(second);
  if (first == "三") return 30 + LunarDigitValue(second);
  return 0;
}

}  // namespace workmemo
