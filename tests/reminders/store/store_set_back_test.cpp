// The due check of seconds the clock shows again after it was set back: what fired in them,
// or was put off by a remind-again, does not fire again; what changed since does.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fixtures.h"
#include "reminders/store/calendar.h"
#include "reminders/store/recent_firings.h"
#include "store_fixture.h"

namespace workmemo {
namespace {

using testing::At;
using testing::Every;
using testing::Reminder;
using testing::Text;
namespace clk = platform::clock;

class SetBackTest : public testing::StoreTest {
 protected:
  // Checks every second from `from` to `to` in order, as the tick hands them over, and gives
  // what fired: title, second, and whether as a notice.
  std::vector<std::string> Check(double from, double to) {
    std::vector<std::string> out;
    ReminderList fired;
    for (std::int64_t s = LinearSeconds(from); s <= LinearSeconds(to); ++s) {
      const double second = DateTimeFromSeconds(s);
      clk::SetForTest(second);
      store.CollectDueReminders(second, fired);
      for (const ReminderRecord& r : fired)
        out.push_back(r.txbt + " " + Text(second) + (r.IsNoticeFiring ? " notice" : ""));
    }
    return out;
  }
  int Add(ReminderRecord r, const char* title) {
    r.txbt = title;
    return StoreTest::Add(r);
  }
};

TEST_F(SetBackTest, ASecondCheckedAgainFiresNothingThatFiredOrWasPutOffInIt) {
  clk::SetForTest(At(2024, 5, 1, 8));
  ReminderRecord daily = Reminder(RepeatMode::Daily, At(2024, 5, 1, 9));
  daily.cfcs = 5;
  daily.cfcsdw = RepeatCountUnit::TimesTotal;
  const int dailyId = Add(daily, "daily");
  // A daily notice matches its time of day only: after the occurrence it waits for that time
  // again, which the clock set back shows today once more.
  ReminderRecord noticed = Reminder(RepeatMode::Daily, At(2024, 5, 1, 9, 0, 10));
  noticed.tqsj = 2;
  noticed.tqdw = DatePart::Minute;
  Add(noticed, "noticed");
  const int minutely = Add(Every(IntervalUnit::Minute, 1, At(2024, 5, 1, 8, 0, 20)), "minutely");
  store.LoadReminders();

  std::vector<std::string> first = Check(At(2024, 5, 1, 8, 55), At(2024, 5, 1, 8, 55, 20));
  ASSERT_EQ(store.SetRemindAgain(minutely, 1, At(2024, 5, 1, 8, 58, 20)), 1);  // puts off two
  for (const std::string& f : Check(At(2024, 5, 1, 8, 55, 21), At(2024, 5, 1, 9, 5))) first.push_back(f);
  EXPECT_EQ(first, (std::vector<std::string>{
                       "minutely 2024-05-01 08:55:20", "noticed 2024-05-01 08:58:10 notice",
                       "minutely 2024-05-01 08:58:20", "noticed 2024-05-01 08:59:10 notice",
                       "minutely 2024-05-01 08:59:20", "daily 2024-05-01 09:00:00", "noticed 2024-05-01 09:00:10",
                       "minutely 2024-05-01 09:00:20", "minutely 2024-05-01 09:01:20", "minutely 2024-05-01 09:02:20",
                       "minutely 2024-05-01 09:03:20", "minutely 2024-05-01 09:04:20"}));

  // Set back ten minutes: the same seconds once more.
  EXPECT_EQ(Check(At(2024, 5, 1, 8, 55), At(2024, 5, 1, 9, 5)), std::vector<std::string>{});
  EXPECT_EQ(Row(dailyId).Integer("cfjs"), 1);
  // Past the newest second checked, the reminders go on.
  EXPECT_EQ(Check(At(2024, 5, 1, 9, 5, 1), At(2024, 5, 1, 9, 5, 20)),
            std::vector<std::string>{"minutely 2024-05-01 09:05:20"});
}

// A reminder saved after the step is a new one, also when it was there before with the same
// id: the person saved it for the time shown. A remind-again set after the step is a firing
// of its own.
TEST_F(SetBackTest, WhatChangedAfterTheStepFiresInTheSecondsShownAgain) {
  clk::SetForTest(At(2024, 5, 1, 8));
  const int daily = Add(Reminder(RepeatMode::Daily, At(2024, 5, 1, 9)), "daily");
  const int once = Add(Reminder(RepeatMode::Once, At(2024, 5, 1, 9, 0, 30)), "once");
  Add(Reminder(RepeatMode::Daily, At(2024, 5, 1, 9, 0, 40)), "untouched");
  store.LoadReminders();
  EXPECT_EQ(Check(At(2024, 5, 1, 8, 59), At(2024, 5, 1, 9, 2)).size(), 3u);

  clk::SetForTest(At(2024, 5, 1, 8, 59));
  ReminderRecord changed = store.CopyReminder(daily);
  changed.txbt = "daily, changed";
  ASSERT_EQ(store.SaveReminder(changed), 1);
  ASSERT_EQ(store.SetRemindAgain(once, 1, At(2024, 5, 1, 9, 0, 30)), 1);
  Add(Reminder(RepeatMode::Once, At(2024, 5, 1, 9, 1)), "saved after the step");
  EXPECT_EQ(Check(At(2024, 5, 1, 8, 59), At(2024, 5, 1, 9, 2)),
            (std::vector<std::string>{"daily, changed 2024-05-01 09:00:00", "once 2024-05-01 09:00:30",
                                      "saved after the step 2024-05-01 09:01:00"}));
}

// A compaction's reload keeps the rows under their ids, and with them what fired; any other
// load may give an id to another reminder and forgets it.
TEST_F(SetBackTest, OnlyAReloadOfTheSameRowsKeepsWhatFired) {
  clk::SetForTest(At(2024, 5, 1, 8));
  Add(Reminder(RepeatMode::Daily, At(2024, 5, 1, 9)), "daily");
  Add(Every(IntervalUnit::Minute, 1, At(2024, 5, 1, 8, 0, 20)), "minutely");
  const struct {
    const char* name;
    int (*reload)(ReminderStore&);
    std::size_t firedAgain;
  } rows[] = {
      {"the same rows", [](ReminderStore& s) { return s.ReloadSameRows(); }, 0},
      {"any other load", [](ReminderStore& s) { return s.LoadReminders(); }, 3},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    store.LoadReminders();
    EXPECT_EQ(Check(At(2024, 5, 1, 8, 59), At(2024, 5, 1, 9, 1)).size(), 3u);
    EXPECT_EQ(row.reload(store), 1);
    EXPECT_EQ(Check(At(2024, 5, 1, 8, 59), At(2024, 5, 1, 9, 1)).size(), row.firedAgain);
  }
}

TEST_F(SetBackTest, TheMemoryReachesBackAnHourOrOverAStretchShownTwice) {
  clk::SetForTest(At(2024, 5, 1, 8));
  Add(Reminder(RepeatMode::Daily, At(2024, 5, 1, 9)), "daily");
  store.LoadReminders();
  const auto checkAt = [this](double second) { return Check(second, second).size(); };
  EXPECT_EQ(checkAt(At(2024, 5, 1, 9)), 1u);
  checkAt(At(2024, 5, 1, 10));
  EXPECT_EQ(checkAt(At(2024, 5, 1, 9)), 0u);  // an hour back: still held
  checkAt(At(2024, 5, 1, 10, 0, 1));
  EXPECT_EQ(checkAt(At(2024, 5, 1, 9)), 1u);  // further back: the clock starts afresh

  // Two hours of firings: only the last hour's are held.
  RecentFirings memory;
  for (std::int64_t s = 0; s < 2 * RecentFirings::kSpanSeconds; ++s) {
    memory.BeginCheck(s);
    memory.Record(1);
    memory.Record(2);
  }
  EXPECT_EQ(memory.PairsHeld(), 2 * (RecentFirings::kSpanSeconds + 1));

  // A zone that shows the seconds 0 to 7,199 twice: the memory reaches over all of them until
  // the second pass ends, then over an hour again.
  RecentFirings twice([](std::int64_t s) { return s >= 0 && s < 7200 ? 7200 : 0; });
  for (std::int64_t s = 0; s < 7200; ++s) {
    twice.BeginCheck(s);
    twice.Record(1);
  }
  for (std::int64_t s = 0; s < 7200; ++s) ASSERT_EQ(twice.BeginCheck(s), std::vector<int>{1}) << s;
  twice.BeginCheck(7200);
  EXPECT_EQ(twice.PairsHeld(), RecentFirings::kSpanSeconds);
}

}  // namespace
}  // namespace workmemo
