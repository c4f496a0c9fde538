#include "platform/lunar/lunar.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "platform/clock/clock.h"
#include "platform/text/text.h"

namespace platform::lunar {
namespace {

struct LunarYearRow {
  unsigned short newYear;    // month * 100 + day of the solar year of the same number
  unsigned short monthBits;  // bit n: the n-th month of the year (leap included) has 30 days
  unsigned char leapMonth;   // 0 = none
};

// kLunarYears (lunar years kFirstYear..kLastYear) and kSolarTermDays (solar years
// kFirstYear..kLastYear + 1), written by tools/lunar/make_lunar_tables.py.
#include "platform/lunar/lunar_tables.inc"

static_assert(std::size(kLunarYears) == kLastYear - kFirstYear + 1);
static_assert(std::size(kSolarTermDays) == kLastYear - kFirstYear + 2);

// Serials beyond this (10000-01-01) are no date-time; checked before any integer conversion.
constexpr double kSerialLimit = 2958466.0;

const LunarYearRow* RowOf(int year) {
  if (year < kFirstYear || year > kLastYear) return nullptr;
  return &kLunarYears[year - kFirstYear];
}

std::int64_t NewYearDay(int year, const LunarYearRow& row) {
  return clock::DaysFromCivil(year, row.newYear / 100, row.newYear % 100);
}

int MonthCount(const LunarYearRow& row) { return row.leapMonth ? 13 : 12; }

int LengthAt(const LunarYearRow& row, int index) { return (row.monthBits >> index) & 1 ? 30 : 29; }

// Position of a month within its year; a leap flag counts only for the year's leap month.
int MonthIndex(const LunarYearRow& row, int month, int leap) {
  if (row.leapMonth == 0 || month < row.leapMonth) return month - 1;
  if (month == row.leapMonth && leap == 0) return month - 1;
  return month;
}

// First day (days since 1899-12-30) of a month; false for a year or month out of range.
bool MonthStart(int year, int month, int leap, std::int64_t& start) {
  const LunarYearRow* row = RowOf(year);
  if (row == nullptr || month < 1 || month > 12) return false;
  start = NewYearDay(year, *row);
  int index = MonthIndex(*row, month, leap);
  for (int i = 0; i < index; ++i) start += LengthAt(*row, i);
  return true;
}

bool DayToLunar(std::int64_t day, LunarDate& out) {
  int y = 0, m = 0, d = 0;
  clock::CivilFromDays(day, y, m, d);
  // The lunar year begins in January or February of the solar year of the same number.
  int year = y > kLastYear ? kLastYear : y;
  if (year >= kFirstYear && day < NewYearDay(year, *RowOf(year))) --year;
  const LunarYearRow* row = RowOf(year);
  if (row == nullptr) return false;
  std::int64_t offset = day - NewYearDay(year, *row);
  for (int index = 0; index < MonthCount(*row); ++index) {
    int length = LengthAt(*row, index);
    if (offset < length) {
      bool leap = row->leapMonth != 0 && index == row->leapMonth;
      out.year = year;
      out.month = row->leapMonth != 0 && index >= row->leapMonth ? index : index + 1;
      out.day = static_cast<int>(offset) + 1;
      out.leap = leap ? 1 : 0;
      return true;
    }
    offset -= length;
  }
  return false;  // past the end of the last covered year
}

bool SerialToDay(double dateTime, std::int64_t& day) {
  if (!(dateTime >= 0.0 && dateTime < kSerialLimit)) return false;  // also rejects NaN
  day = clock::SecondsFromSerial(dateTime) / 86400;
  return true;
}

// Names are kept here in UTF-8 and handed out as GB18030, converted once.
template <std::size_t N>
std::array<std::string, N> Converted(const std::array<const char*, N>& utf8) {
  std::array<std::string, N> out;
  for (std::size_t i = 0; i < N; ++i) out[i] = text::FromUtf8(utf8[i]);
  return out;
}

const std::array<std::string, 24>& TermNames() {
  static const auto names = Converted<24>({
      "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨",
      "立夏", "小满", "芒种", "夏至", "小暑", "大暑", "立秋", "处暑",
      "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"});
  return names;
}

const std::array<std::string, 10>& Stems() {
  static const auto names =
      Converted<10>({"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"});
  return names;
}

const std::array<std::string, 12>& Branches() {
  static const auto names = Converted<12>(
      {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"});
  return names;
}

const std::array<std::string, 12>& Animals() {
  static const auto names = Converted<12>(
      {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"});
  return names;
}

const std::array<std::string, 12>& MonthNames() {
  static const auto names =
      Converted<12>({"正月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月",
                     "十月", "十一月", "十二月"});
  return names;
}

const std::string& LeapMark() {
  static const std::string mark = text::FromUtf8("闰");
  return mark;
}

const std::array<std::string, 30>& DayNames() {
  static const auto names = Converted<30>(
      {"初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
       "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
       "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"});
  return names;
}

}  // namespace

bool SolarToLunar(double dateTime, LunarDate& out) {
  std::int64_t day = 0;
  return SerialToDay(dateTime, day) && DayToLunar(day, out);
}

bool LunarToSolar(int year, int month, int day, int leap, double& out) {
  std::int64_t start = 0;
  if (!MonthStart(year, month, leap, start)) return false;
  out = static_cast<double>(start + static_cast<std::int64_t>(day) - 1);
  return true;
}

int LunarMonthDays(int year, int month, int leap) {
  const LunarYearRow* row = RowOf(year);
  if (row == nullptr || month < 1 || month > 12) return 0;
  return LengthAt(*row, MonthIndex(*row, month, leap));
}

int LunarLeapMonth(int year) {
  const LunarYearRow* row = RowOf(year);
  return row == nullptr ? kNoLeapMonthInfo : row->leapMonth;
}

std::string SolarTermName(int year, int month, int day, int leap) {
  std::int64_t start = 0;
  if (!MonthStart(year, month, leap, start)) return {};
  std::int64_t solarDay = start + static_cast<std::int64_t>(day) - 1;
  // Only days of the covered solar years can carry a term; this also keeps wild day
  // counts away from the calendar conversion.
  if (solarDay < clock::DaysFromCivil(kFirstYear, 1, 1) ||
      solarDay > clock::DaysFromCivil(kLastYear + 1, 12, 31))
    return {};
  int y = 0, m = 0, d = 0;
  clock::CivilFromDays(solarDay, y, m, d);
  const unsigned char* days = kSolarTermDays[y - kFirstYear];
  for (int k = (m - 1) * 2; k < m * 2; ++k) {
    if (days[k] == d) return TermNames()[k];
  }
  return {};
}

std::string FormatLunarDate(double dateTime, std::string_view format) {
  LunarDate date;
  if (!SolarToLunar(dateTime, date)) return {};
  int cycle = (date.year - 4) % 60;  // 1984 was the first year of a cycle
  std::string out;
  for (std::size_t pos = 0; pos < format.size();) {
    std::size_t length = text::CharLength(format, pos);
    if (format[pos] == '%' && pos + 1 < format.size()) {
      switch (format[pos + 1]) {
        case 'Y':
          out += Stems()[cycle % 10] + Branches()[cycle % 12];
          pos += 2;
          continue;
        case 'S':
          out += Animals()[cycle % 12];
          pos += 2;
          continue;
        case 'M':
          if (date.leap) out += LeapMark();
          out += MonthNames()[date.month - 1];
          pos += 2;
          continue;
        case 'D':
          out += DayNames()[date.day - 1];
          pos += 2;
          continue;
        default:
          break;
      }
    }
    out.append(format.substr(pos, length));
    pos += length;
  }
  return out;
}

}  // namespace platform::lunar
