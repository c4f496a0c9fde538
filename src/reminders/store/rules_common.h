#pragma once
// What the schedule rules share: how they read the texts of a record and the amount of an
// interval, and how they walk the lunar calendar.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/lunar/lunar.h"
#include "reminders/store/reminder_record.h"

namespace workmemo {

// The number a day or month text holds, to the nearest whole number; 0 for an empty text or
// one that does not start with a number (leading blanks are skipped).
int TextNumber(std::string_view text);

// A weekday number (1 = Sunday) as the weekday lists write it.
std::string WeekdayText(int weekday);

// Whether one of the "-"-separated pieces of `list` equals `piece` byte for byte.
bool HasPiece(std::string_view list, std::string_view piece);

// The weekday test of a weekly reminder: a list of two bytes or more matches by its pieces,
// a shorter one only as a whole.
bool WeekListMatches(std::string_view txweek, std::string_view weekdayText);

// An interval amount acts as its absolute value; 0 means the reminder never recurs.
inline std::int64_t IntervalAmount(int cfsj) {
  return cfsj < 0 ? -static_cast<std::int64_t>(cfsj) : cfsj;
}

constexpr std::int64_t kSecondsPerDay = 86400;

// The day test of minute and hour intervals: listed on each day one of their occurrences can
// fall on. `count` is the units from the start day's midnight to the day's, taken without
// sign; `unitsPerDay` is 1440 or 24; `originDay` is the start day itself.
bool SubDailyOnDay(std::int64_t count, std::int64_t amount, std::int64_t unitsPerDay, bool originDay);

// The date range: only when the dates of ksdate and jsdate differ, and then both end days
// belong to it. Whether `today` (a day number) lies outside it.
bool OutsideDateRange(const ReminderRecord& r, std::int64_t today);

// The serial of a day number at a second of the day.
double AtSecondOfDay(std::int64_t day, int secondOfDay);

// The day number of a day of a lunar month, the day clamped to the month's length; nullopt
// for a day below 1 or a month the lunar calendar does not cover.
std::optional<std::int64_t> LunarDayNumber(int year, int month, int leap, int day);
// The wanted lunar day of a day text, clamped to the length of the given day's lunar month.
int ClampedLunarDay(std::string_view txdays, const platform::lunar::LunarDate& date);
// Moves to the following lunar month: the leap month after its ordinary month, else the
// next month number (month 1 of the next year after 12).
void StepLunarMonth(int& year, int& month, int& leap);
// The first lunar year after `year` that has the month: any year for an ordinary month,
// only a year with that leap month for a leap one; nullopt when none comes up to the end of
// the calendar.
std::optional<int> NextLunarYearWith(int year, int month, int leap);

}  // namespace workmemo
