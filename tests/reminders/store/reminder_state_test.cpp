#include <gtest/gtest.h>

#include <functional>

#include "fixtures.h"
#include "reminders/store/schedule.h"

namespace workmemo {
namespace {

using testing::At;
using testing::With;
using testing::Reminder;
using testing::Text;

ReminderRecord Ranged(int mode, double start, double end) {
  ReminderRecord r = Reminder(mode, start);
  r.jsdate = end;
  return r;
}

struct StateCase {
  const char* what;
  ReminderRecord record;
  double now;
  int state;
};

TEST(ReminderState, TableOfStates) {
  const double start = At(2016, 2, 1, 8), end = At(2016, 2, 29, 8);
  const ReminderRecord daily = Reminder(RepeatMode::Daily, start);
  const ReminderRecord dailyRanged = Ranged(RepeatMode::Daily, start, end);
  ReminderRecord minutes = Ranged(RepeatMode::Interval, start, end);
  minutes.cfdw = IntervalUnit::Minute;
  minutes.jstime = At(2016, 2, 1, 18);
  ReminderRecord lunarOnce = Reminder(RepeatMode::LunarOnce, At(2023, 1, 1, 9));
  lunarOnce.nlyear = 2023;
  lunarOnce.txmonth = "2";
  lunarOnce.txdays = "1";

  const StateCase cases[] = {
      {"flagged beats paused and remind-again",
       With(daily, [](auto& r) { r.bytx = 1; r.txzt = 1; r.xctx = 1; }), start, ReminderState::Flagged},
      {"paused", With(daily, [](auto& r) { r.txzt = 1; }), start, ReminderState::Paused},
      {"paused, ranged by one second",
       With(daily, [](auto& r) { r.txzt = 1; r.jsdate += 1.0 / 86400; }), start, ReminderState::PausedInRange},
      {"remind-again", With(daily, [](auto& r) { r.xctx = 1; }), start, ReminderState::Recurring},
      {"remind-again ranged", With(dailyRanged, [](auto& r) { r.xctx = 1; }), start,
       ReminderState::RecurringInRange},
      {"daily", daily, At(2020, 1, 1), ReminderState::Pending},
      {"daily in range", dailyRanged, At(2016, 2, 29, 7, 59, 59), ReminderState::PendingInRange},
      // It still fires on its last day, so it is not shown expired before the day is over.
      {"daily on its last day after the end time", dailyRanged, At(2016, 2, 29, 8), ReminderState::PendingInRange},
      {"daily after its last day", dailyRanged, At(2016, 3, 1), ReminderState::Expired},
      {"ranged within one day never expires", Ranged(RepeatMode::Weekly, start, At(2016, 2, 1, 9)),
       At(2017, 1, 1), ReminderState::PendingInRange},
      {"once to come", Reminder(RepeatMode::Once, start), At(2016, 2, 1, 7, 59, 59), ReminderState::Pending},
      {"once come", Reminder(RepeatMode::Once, start), start, ReminderState::Passed},
      {"once ranged, after its end date", Ranged(RepeatMode::Once, start, At(2016, 2, 5)), At(2016, 2, 6),
       ReminderState::Expired},
      {"once ranged, on its end date", Ranged(RepeatMode::Once, start, At(2016, 2, 5)), At(2016, 2, 5, 12),
       ReminderState::Passed},
      {"minutes, window over one date", With(minutes, [](auto& r) { r.jsdate = At(2016, 2, 1, 20); }),
       At(2030, 1, 1), ReminderState::Recurring},
      {"minutes, window and date range", minutes, At(2016, 2, 15), ReminderState::RecurringInRange},
      {"minutes, window and range over", minutes, At(2016, 3, 1), ReminderState::Expired},
      {"minutes, no window, ranged", With(minutes, [](auto& r) { r.jstime = r.ksdate; }), At(2016, 2, 15),
       ReminderState::Recurring},
      {"minutes, no window, range over", With(minutes, [](auto& r) { r.jstime = r.ksdate; }), At(2016, 3, 1),
       ReminderState::Expired},
      {"hours, unranged", With(Reminder(RepeatMode::Interval, start), [](auto& r) { r.cfdw = IntervalUnit::Hour; }),
       At(2030, 1, 1), ReminderState::Recurring},
      {"hours, ranged", With(dailyRanged, [](auto& r) { r.txfs = RepeatMode::Interval; r.cfdw = IntervalUnit::Hour; }),
       At(2016, 2, 2), ReminderState::RecurringInRange},
      {"unknown mode", Reminder(42, start), At(2030, 1, 1), ReminderState::Pending},
      // Lunar 2023: month 2 day 1 is 2023-02-20, leap month 2 day 1 is 2023-03-22.
      {"lunar once, ordinary month passed", lunarOnce, At(2023, 3, 21), ReminderState::Passed},
      {"lunar once, leap month to come", With(lunarOnce, [](auto& r) { r.nlry = 1; }), At(2023, 3, 22, 8, 59, 59),
       ReminderState::Pending},
      {"lunar once, leap month come", With(lunarOnce, [](auto& r) { r.nlry = 1; }), At(2023, 3, 22, 9),
       ReminderState::Passed},
      {"lunar once outside the calendar", With(lunarOnce, [](auto& r) { r.nlyear = 1800; }), At(1990, 1, 1),
       ReminderState::Passed},
  };
  for (const auto& c : cases) EXPECT_EQ(GetReminderState(c.record, c.now), c.state) << c.what << " at " << Text(c.now);
}

}  // namespace
}  // namespace workmemo
