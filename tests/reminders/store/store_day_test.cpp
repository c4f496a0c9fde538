// A day and a bit of one-second checks of the store, as the reminder tick makes them, with
// the pauses, remind-agains and reloads a user makes in between: every reminder fires at
// exactly its seconds and exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fixtures.h"
#include "reminders/store/calendar.h"
#include "store_fixture.h"

namespace workmemo {
namespace {

using testing::At;
using testing::Reminder;
using testing::StoreTest;
using testing::Text;
namespace clk = platform::clock;

class StoreDayTest : public StoreTest {
 protected:
  // Checks every second of [from, to] twice, as a tick that comes twice would, then runs the
  // user's actions of that second (a tick lands just after the second begins).
  void Run(double from, double to) {
    ReminderList fired;
    for (std::int64_t s = LinearSeconds(from); s <= LinearSeconds(to); ++s) {
      const double second = DateTimeFromSeconds(s);
      clk::SetForTest(second);
      for (int twice = 0; twice < 2; ++twice) {
        store.CollectDueReminders(second, fired);
        for (const ReminderRecord& f : fired) {
          std::string line = names[f.id] + " " + Text(second);
          if (f.IsNoticeFiring) line += " notice " + std::to_string(f.NoticeUnitsLeft);
          firings.push_back(line);
        }
      }
      if (auto action = actions.find(s); action != actions.end()) action->second();
    }
  }
  void OnSecond(double when, std::function<void()> action) { actions[LinearSeconds(when)] = std::move(action); }
  int Named(const std::string& name, ReminderRecord r) {
    const int id = Add(std::move(r));
    names[id] = name;
    return id;
  }

  std::map<int, std::string> names;
  std::map<std::int64_t, std::function<void()>> actions;
  std::vector<std::string> firings;
};

ReminderRecord Ranged(ReminderRecord r, double start, double end) {
  r.ksdate = r.kstime = start;
  r.jsdate = r.jstime = end;
  return r;
}

// 9 to 10 March 2024: a Saturday and a Sunday, the night the clocks of New York spring
// forward (the wall clock the reminders are kept in is not moved by it).
TEST_F(StoreDayTest, EveryReminderFiresAtItsSecondsOnceThroughPausesRemindAgainsAndAReload) {
  clk::SetForTest(At(2024, 3, 9, 11));
  Named("once", Reminder(RepeatMode::Once, At(2024, 3, 10, 2, 30)));
  ReminderRecord daily = Reminder(RepeatMode::Daily, At(2024, 3, 1, 0, 0, 30));
  daily.tqsj = 2;
  daily.tqdw = DatePart::Minute;
  Named("daily", daily);  // its notices cross midnight
  ReminderRecord weekly = Reminder(RepeatMode::Weekly, At(2024, 3, 1, 9));
  weekly.txweek = "1-7";
  Named("weekly", weekly);
  ReminderRecord every90 = Reminder(RepeatMode::Interval, At(2024, 3, 1, 0, 0, 15));
  every90.cfdw = IntervalUnit::Minute;
  every90.cfsj = 90;
  Named("every90", every90);
  // A range that ends today, at a time of day before the firing: the range counts dates.
  Named("ranged", Ranged(Reminder(RepeatMode::Daily, {}), At(2024, 3, 1, 20), At(2024, 3, 9, 8)));
  ReminderRecord hourly = Reminder(RepeatMode::Interval, At(2024, 3, 9, 10, 20));
  hourly.cfdw = IntervalUnit::Hour;
  hourly.cfsj = 5;
  hourly.cfcs = 3;
  hourly.cfcsdw = RepeatCountUnit::TimesTotal;
  const int limited = Named("hourly", hourly);
  const int past = Named("past", Reminder(RepeatMode::Once, At(2024, 3, 9, 11, 30)));
  const int resting = Named("resting", Reminder(RepeatMode::Daily, At(2024, 3, 1, 13)));
  const int paused = Named("paused", Reminder(RepeatMode::Daily, At(2024, 3, 1, 12, 30)));
  ReminderRecord sinceLoad = Reminder(RepeatMode::Interval, At(2024, 3, 9, 11));
  sinceLoad.cfdw = IntervalUnit::MinuteSinceLoad;
  sinceLoad.cfsj = 30;
  Named("sinceLoad", sinceLoad);

  clk::SetForTest(At(2024, 3, 9, 12));
  store.LoadReminders();
  ASSERT_EQ(store.SetPaused(resting, 2), 1);  // until the reload
  ASSERT_EQ(store.SetPaused(paused, 1), 1);
  OnSecond(At(2024, 3, 9, 15), [&] { store.SetRemindAgain(past, 1, At(2024, 3, 9, 15, 1)); });
  OnSecond(At(2024, 3, 9, 15, 30), [&] { store.SetRemindAgain(past, 1, At(2024, 3, 9, 16, 20)); });
  OnSecond(At(2024, 3, 9, 16, 10), [&] { store.LoadReminders(); });
  OnSecond(At(2024, 3, 9, 17), [&] { store.SetRemindAgain(past, 1, At(2024, 3, 9, 16, 59)); });
  Run(At(2024, 3, 9, 12, 0, 1), At(2024, 3, 10, 14));

  std::vector<std::string> expected = {
      "daily 2024-03-09 23:58:30 notice 2", "daily 2024-03-09 23:59:30 notice 1",
      "daily 2024-03-10 00:00:30",          "once 2024-03-10 02:30:00",
      "weekly 2024-03-10 09:00:00",         "ranged 2024-03-09 20:00:00",
      "hourly 2024-03-09 15:20:00",         "hourly 2024-03-09 20:20:00",
      "hourly 2024-03-10 01:20:00",         "past 2024-03-09 15:01:00",
      "past 2024-03-09 16:20:00",           "resting 2024-03-10 13:00:00",
  };
  for (double t = At(2024, 3, 9, 12, 0, 15); t < At(2024, 3, 10, 14); t = AddToDate(t, DatePart::Minute, 90))
    expected.push_back("every90 " + Text(t));
  // Every 30 minutes from the start's load, then from the reload at 16:10.
  for (double t = At(2024, 3, 9, 12, 30); t <= At(2024, 3, 9, 16); t = AddToDate(t, DatePart::Minute, 30))
    expected.push_back("sinceLoad " + Text(t));
  for (double t = At(2024, 3, 9, 16, 40); t <= At(2024, 3, 10, 14); t = AddToDate(t, DatePart::Minute, 30))
    expected.push_back("sinceLoad " + Text(t));

  auto byTime = [](const std::string& a, const std::string& b) {
    return a.substr(a.find(' ')) < b.substr(b.find(' '));
  };
  std::stable_sort(expected.begin(), expected.end(), byTime);
  EXPECT_EQ(firings, expected);
  EXPECT_EQ(Row(limited).Integer("cfjs"), 3);
  EXPECT_EQ(Row(past).Integer("xctx"), 0);
}

}  // namespace
}  // namespace workmemo
