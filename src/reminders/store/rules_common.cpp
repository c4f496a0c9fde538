#include "reminders/store/rules_common.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/lunar/lunar.h"
#include "platform/text/text.h"
#include "reminders/store/calendar.h"

namespace workmemo {

int TextNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  double value = 0;
  bool any = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, any = true)
    value = std::min(value * 10 + (text[i] - '0'), 1e9);
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10, any = true)
      value += (text[i] - '0') * scale;
  }
  if (!any) return 0;
  int rounded = static_cast<int>(std::nearbyint(value));
  return negative ? -rounded : rounded;
}

std::string WeekdayText(int weekday) { return std::to_string(weekday); }

bool HasPiece(std::string_view list, std::string_view piece) {
  std::size_t start = 0;
  for (;;) {
    std::size_t dash = platform::text::FindChars(list, "-", start);
    std::string_view part = list.substr(start, dash == std::string_view::npos ? dash : dash - start);
    if (part == piece) return true;
    if (dash == std::string_view::npos) return false;
    start = dash + 1;
  }
}

bool WeekListMatches(std::string_view txweek, std::string_view weekdayText) {
  return txweek.size() >= 2 ? HasPiece(txweek, weekdayText) : txweek == weekdayText;
}

bool SubDailyOnDay(std::int64_t count, std::int64_t amount, std::int64_t unitsPerDay, bool originDay) {
  const std::int64_t rest = (count < 0 ? -count : count) % amount;
  return amount - rest < unitsPerDay || rest == 0 || originDay;
}

bool OutsideDateRange(const ReminderRecord& r, std::int64_t today) {
  if (r.ksdate == r.jsdate) return false;  // the usual case, without converting anything
  const std::int64_t startDay = DayNumber(r.ksdate), endDay = DayNumber(r.jsdate);
  return startDay != endDay && (today < startDay || today > endDay);
}

double AtSecondOfDay(std::int64_t day, int secondOfDay) {
  return DateTimeFromSeconds(day * kSecondsPerDay + secondOfDay);
}

std::optional<std::int64_t> LunarDayNumber(int year, int month, int leap, int day) {
  int length = platform::lunar::LunarMonthDays(year, month, leap);
  double solar = 0;
  if (day < 1 || length == 0 ||
      !platform::lunar::LunarToSolar(year, month, std::min(day, length), leap, solar))
    return std::nullopt;
  return DayNumber(solar);
}

int ClampedLunarDay(std::string_view txdays, const platform::lunar::LunarDate& date) {
  return std::min(TextNumber(txdays),
                  platform::lunar::LunarMonthDays(date.year, date.month, date.leap));
}

void StepLunarMonth(int& year, int& month, int& leap) {
  if (leap == 0 && platform::lunar::LunarLeapMonth(year) == month) {
    leap = 1;
    return;
  }
  leap = 0;
  if (++month > 12) {
    month = 1;
    ++year;
  }
}

std::optional<int> NextLunarYearWith(int year, int month, int leap) {
  for (int y = std::max(year + 1, platform::lunar::kFirstYear); y <= platform::lunar::kLastYear; ++y)
    if (leap == 0 || platform::lunar::LunarLeapMonth(y) == month) return y;
  return std::nullopt;
}

}  // namespace workmemo
