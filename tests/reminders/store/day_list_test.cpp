#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "fixtures.h"
#include "reminders/store/calendar.h"
#include "reminders/store/schedule.h"

namespace workmemo {
namespace {

using testing::At;
using testing::Every;
using testing::With;
using testing::Reminder;
using testing::Text;

bool Listed(const ReminderRecord& r, double day) { return FallsOnDay(r, MakeCheckMoment(day)); }

// The days of [from, to] on which the record is listed, as day-of-month numbers.
std::vector<int> DaysListed(const ReminderRecord& r, double from, double to) {
  std::vector<int> days;
  for (double d = from; d <= to; d += 1)
    if (Listed(r, d)) days.push_back(SplitDateTime(d).day);
  return days;
}

TEST(DayList, DayTestsOfEveryMode) {
  const ReminderRecord daily = Reminder(RepeatMode::Daily, At(2015, 6, 10, 8));
  struct Case { const char* what; ReminderRecord r; double day; bool listed; } cases[] = {
      {"paused, remind-again, no pop-up, flagged",
       With(daily, [](auto& r) { r.txzt = 1; r.xctx = 1; r.txdz = 1; r.bytx = 1; }), At(2015, 6, 12), true},
      {"daily before its start, no range", daily, At(2015, 5, 1), true},
      {"per-run limit used up", With(daily, [](auto& r) { r.cfcs = 3; r.cfjs = 3; }), At(2015, 6, 12), true},
      {"total limit used up", With(daily, [](auto& r) { r.cfcs = 3; r.cfjs = 3; r.cfcsdw = 1; }), At(2015, 6, 12), false},
      {"range start", With(daily, [](auto& r) { r.ksdate = At(2015, 6, 1, 8); r.jsdate = At(2015, 6, 30, 8); }), At(2015, 6, 1), true},
      {"range end", With(daily, [](auto& r) { r.ksdate = At(2015, 6, 1, 8); r.jsdate = At(2015, 6, 30, 8); }), At(2015, 6, 30), true},
      {"before range", With(daily, [](auto& r) { r.ksdate = At(2015, 6, 1, 8); r.jsdate = At(2015, 6, 30, 8); }), At(2015, 5, 31), false},
      {"after range", With(daily, [](auto& r) { r.ksdate = At(2015, 6, 1, 8); r.jsdate = At(2015, 6, 30, 8); }), At(2015, 7, 1), false},
      {"daily excluded Sunday", With(daily, [](auto& r) { r.notxweek = "1-7"; }), At(2015, 6, 7), false},
      {"once on its day", Reminder(RepeatMode::Once, At(2015, 6, 10, 23)), At(2015, 6, 10, 5), true},
      {"once the day after", Reminder(RepeatMode::Once, At(2015, 6, 10, 23)), At(2015, 6, 11), false},
      {"weekly Tuesday", With(Reminder(RepeatMode::Weekly, At(2015, 6, 1)), [](auto& r) { r.txweek = "3"; }), At(2015, 6, 2), true},
      {"weekly not Wednesday", With(Reminder(RepeatMode::Weekly, At(2015, 6, 1)), [](auto& r) { r.txweek = "3"; }), At(2015, 6, 3), false},
      {"monthly 31 on 30 April", With(Reminder(RepeatMode::Monthly, At(2015, 1, 1)), [](auto& r) { r.txdays = "31"; }), At(2015, 4, 30), true},
      {"monthly 31 on 28 Feb", With(Reminder(RepeatMode::Monthly, At(2015, 1, 1)), [](auto& r) { r.txdays = "31"; }), At(2015, 2, 28), true},
      {"monthly 31 not 28 Feb 2016", With(Reminder(RepeatMode::Monthly, At(2015, 1, 1)), [](auto& r) { r.txdays = "31"; }), At(2016, 2, 28), false},
      {"yearly 29 Feb on 28 Feb 2015", With(Reminder(RepeatMode::Yearly, At(2012, 1, 1)), [](auto& r) { r.txmonth = "2"; r.txdays = "29"; }), At(2015, 2, 28), true},
      {"every 90 minutes, any day", Every(IntervalUnit::Minute, 90, At(2015, 6, 10, 8)), At(2015, 9, 3), true},
      {"every 1000 minutes, any day", Every(IntervalUnit::Minute, 1000, At(2015, 6, 10, 8)), At(2015, 6, 11), true},
      {"every 2880 minutes, start day", Every(IntervalUnit::Minute, 2880, At(2015, 6, 10, 8)), At(2015, 6, 10), true},
      {"every 2880 minutes, next day", Every(IntervalUnit::Minute, 2880, At(2015, 6, 10, 8)), At(2015, 6, 11), false},
      {"every 2880 minutes, two days on", Every(IntervalUnit::Minute, 2880, At(2015, 6, 10, 8)), At(2015, 6, 12), true},
      {"every 2880 minutes, two days back", Every(IntervalUnit::Minute, 2880, At(2015, 6, 10, 8)), At(2015, 6, 8), true},
      {"every 48 hours, next day", Every(IntervalUnit::Hour, 48, At(2015, 6, 10, 8)), At(2015, 6, 11), false},
      {"every 48 hours, two days on", Every(IntervalUnit::Hour, 48, At(2015, 6, 10, 8)), At(2015, 6, 12), true},
      {"every 3 days", Every(IntervalUnit::Day, 3, At(2015, 6, 10, 8)), At(2015, 6, 4), true},
      {"every 3 days off", Every(IntervalUnit::Day, 3, At(2015, 6, 10, 8)), At(2015, 6, 5), false},
      {"every 2 months on the clamped day", Every(IntervalUnit::Month, 2, At(2015, 1, 31, 8)), At(2015, 11, 30), true},
      {"every 2 months off", Every(IntervalUnit::Month, 2, At(2015, 1, 31, 8)), At(2015, 4, 30), false},
      {"every year from 29 Feb", Every(IntervalUnit::Year, 1, At(2016, 2, 29, 8)), At(2017, 2, 28), true},
      {"minutes since load", With(Every(IntervalUnit::MinuteSinceLoad, 90, At(2015, 6, 10, 8)),
                                  [](auto& r) { r.txdate = At(2015, 6, 10, 8, 17); }), At(2015, 6, 20), true},
      {"seconds never", Every(IntervalUnit::Second, 1, At(2015, 6, 10, 8)), At(2015, 6, 10), false},
      {"amount 0 never", Every(IntervalUnit::Day, 0, At(2015, 6, 10, 8)), At(2015, 6, 10), false},
      {"amount -3 as 3", Every(IntervalUnit::Day, -3, At(2015, 6, 10, 8)), At(2015, 6, 13), true},
      {"amount -3 as 3, off", Every(IntervalUnit::Day, -3, At(2015, 6, 10, 8)), At(2015, 6, 12), false},
      {"lunar once", Reminder(RepeatMode::LunarOnce, At(2023, 3, 22, 9)), At(2023, 3, 22), true},
      {"unknown mode", Reminder(42, At(2015, 6, 10, 8)), At(2015, 6, 10), false},
  };
  for (const auto& c : cases) EXPECT_EQ(Listed(c.r, c.day), c.listed) << c.what << " on " << Text(c.day);
}

TEST(DayList, WeeksAndDayDigitsOverWholeMonths) {
  // Every 2 weeks from Wednesday 2015-06-03: all of 31 May..6 June, none of the next week.
  const ReminderRecord weeks = Every(IntervalUnit::Week, 2, At(2015, 6, 3, 9));
  EXPECT_EQ(DaysListed(weeks, At(2015, 6, 1), At(2015, 6, 30)),
            (std::vector<int>{1, 2, 3, 4, 5, 6, 14, 15, 16, 17, 18, 19, 20, 28, 29, 30}));
  const ReminderRecord digits = Every(IntervalUnit::DayDigit, 3, At(2015, 6, 3, 9));
  EXPECT_EQ(DaysListed(digits, At(2015, 7, 1), At(2015, 7, 31)), (std::vector<int>{3, 13, 23}));
}

TEST(DayList, LunarMonths) {
  ReminderRecord monthly = Reminder(RepeatMode::LunarMonthly, At(2023, 1, 1, 9));
  monthly.txdays = "1";
  ReminderRecord leapYearly = Reminder(RepeatMode::LunarYearly, At(2023, 1, 1, 9));
  leapYearly.txmonth = "2";
  leapYearly.txdays = "1";
  leapYearly.nlry = 1;
  // Lunar 2023: month 2 day 1 is 2023-02-20, leap month 2 day 1 is 2023-03-22.
  EXPECT_EQ(DaysListed(monthly, At(2023, 3, 1), At(2023, 3, 31)), (std::vector<int>{22}));
  EXPECT_EQ(DaysListed(monthly, At(2023, 2, 1), At(2023, 2, 28)), (std::vector<int>{20}));
  EXPECT_EQ(DaysListed(leapYearly, At(2023, 2, 1), At(2023, 3, 31)), (std::vector<int>{22}));
  EXPECT_FALSE(Listed(leapYearly, At(2024, 3, 10)));
  // Days the lunar calendar does not cover list no lunar reminder.
  EXPECT_FALSE(Listed(monthly, At(2055, 1, 1)));
}

TEST(DayList, CollectsCopiesOfStoredRecordsInListOrder) {
  ReminderList list = {Reminder(RepeatMode::Daily, At(2015, 6, 1, 8)), Reminder(RepeatMode::Daily, At(2015, 6, 1, 9)),
                       Reminder(RepeatMode::Once, At(2015, 6, 2, 9)), Reminder(RepeatMode::Daily, At(2015, 6, 1, 7))};
  list[0].id = 3;
  list[1].id = 0;
  list[2].id = 5;
  list[3].id = 4;
  ReminderList out = {Reminder(RepeatMode::Once, At(2000, 1, 1))};
  CollectRemindersOnDay(list, At(2015, 6, 1, 17, 30), out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].id, 3);
  EXPECT_EQ(out[1].id, 4);
  ReminderList empty;
  CollectRemindersOnDay(empty, At(2015, 6, 1), out);
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace workmemo
