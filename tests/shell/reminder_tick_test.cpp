#include "shell/reminder_tick.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "reminders/store/reminder_store.h"
#include "test_support.h"

namespace workmemo {
namespace {

using Seconds = std::vector<std::int64_t>;

constexpr std::int64_t kStart = 1'000'000;
constexpr std::int64_t kCst = 8 * 3600;

struct Step {
  std::int64_t wall;
  std::int64_t offset;
  Seconds expected;
};

struct Case {
  std::string name;
  std::vector<Step> steps;
  ReminderTick::OffsetAt zone = {};  // where a change of the offset between two readings fell
};

constexpr std::int64_t kEdt = -4 * 3600, kEst = -5 * 3600;
// The zone's offset drops by `drop` three seconds after the reading of kStart in EDT.
ReminderTick::OffsetAt FallsBackAfterThree(std::int64_t drop = 3600) {
  return [drop](std::int64_t utc) { return utc < kStart - kEdt + 3 ? kEdt : kEdt - drop; };
}

Seconds Range(std::int64_t first, std::int64_t last) {
  Seconds s;
  for (std::int64_t v = first; v <= last; ++v) s.push_back(v);
  return s;
}

TEST(ReminderTickTest, ChecksEveryWallClockSecondOnce) {
  std::vector<Case> cases = {
      {"first tick checks its own second", {{kStart, kCst, {kStart}}}},
      {"on time", {{kStart, kCst, {kStart}}, {kStart + 1, kCst, {kStart + 1}}}},
      {"late by three: the skipped seconds are made up",
       {{kStart, kCst, {kStart}}, {kStart + 3, kCst, {kStart + 1, kStart + 2, kStart + 3}}}},
      {"twice in one second: nothing the second time",
       {{kStart, kCst, {kStart}}, {kStart, kCst, {}}, {kStart + 1, kCst, {kStart + 1}}}},
      {"a resume after an hour makes up ten seconds only",
       {{kStart, kCst, {kStart}}, {kStart + 3600, kCst, Range(kStart + 3590, kStart + 3600)}}},
      {"the clock set back 30 s: its new time line is checked, every second once",
       {{kStart, kCst, {kStart}}, {kStart - 30, kCst, {kStart - 30}},
        {kStart - 28, kCst, {kStart - 29, kStart - 28}}, {kStart - 28, kCst, {}},
        {kStart - 27, kCst, {kStart - 27}}}},
      {"the clock set back an hour, and again by a second",
       {{kStart, kCst, {kStart}}, {kStart - 3600, kCst, {kStart - 3600}},
        {kStart - 3599, kCst, {kStart - 3599}}, {kStart - 3599, kCst, {}},
        {kStart - 3600, kCst, {kStart - 3600}}}},
      {"daylight saving ends: the repeated hour is checked again on its new time line, every second once",
       {{kStart, kEdt, {kStart}}, {kStart - 3599, kEst, {kStart - 3599}}, {kStart - 3598, kEst, {kStart - 3598}},
        {kStart - 3598, kEst, {}}, {kStart - 3590, kEst, Range(kStart - 3597, kStart - 3590)}}},
      {"a resume from a night's suspend across daylight saving's end makes up ten seconds only",
       {{kStart, kEdt, {kStart}}, {kStart + 7 * 3600, kEst, Range(kStart + 7 * 3600 - 10, kStart + 7 * 3600)}},
       FallsBackAfterThree()},
      {"the clock set back within the repeated hour follows the clock",
       {{kStart, kEdt, {kStart}}, {kStart - 3599, kEst, {kStart - 3599}},
        {kStart - 3599 - 60, kEst, {kStart - 3599 - 60}}}},
      {"a large step back starts afresh",
       {{kStart, kCst, {kStart}}, {kStart - 3601, kCst, {kStart - 3601}},
        {kStart - 3600, kCst, {kStart - 3600}}}},
      {"spring forward checks the skipped wall-clock hour",
       {{kStart, -5 * 3600, {kStart}}, {kStart + 3601, -4 * 3600, Range(kStart + 1, kStart + 3601)}}},
      {"a tick late by five across a spring forward makes up both",
       {{kStart, -5 * 3600, {kStart}}, {kStart + 3605, -4 * 3600, Range(kStart + 1, kStart + 3605)}}},
      {"a resume from a night's suspend across a spring forward makes up ten seconds only",
       {{kStart, -5 * 3600, {kStart}},
        {kStart + 8 * 3600, -4 * 3600, Range(kStart + 8 * 3600 - 10, kStart + 8 * 3600)}}},
      {"a spring forward of two hours checks both skipped hours",
       {{kStart, 0, {kStart}}, {kStart + 7201, 7200, Range(kStart + 1, kStart + 7201)}}},
      {"a spring forward over a whole day checks every second of it",
       {{kStart, -10 * 3600, {kStart}}, {kStart + 86401, 14 * 3600, Range(kStart + 1, kStart + 86401)}}},
  };
  // The zone's offset drops by an hour, two, or a day less an hour, a tick late across the
  // change: the old time line's last seconds, then the new one's first, which is followed from
  // there on, every second once.
  for (const std::int64_t drop : {3600, 7200, 23 * 3600}) {
    const std::int64_t back = kStart - drop;
    cases.push_back({"a tick late across a fall-back of " + std::to_string(drop) + " s",
                     {{kStart, kEdt, {kStart}},
                      {back + 5, kEdt - drop, {kStart + 1, kStart + 2, back + 3, back + 4, back + 5}},
                      {back + 6, kEdt - drop, {back + 6}},
                      {back + 6, kEdt - drop, {}},
                      {back + 9, kEdt - drop, Range(back + 7, back + 9)}},
                     FallsBackAfterThree(drop)});
  }
  for (const Case& c : cases) {
    ReminderTick tick(c.zone);
    int n = 0;
    for (const Step& step : c.steps) {
      EXPECT_EQ(tick.Advance(step.wall, step.offset), step.expected) << c.name << ", step " << n;
      ++n;
    }
  }
}

TEST(ReminderTickTest, AStartAfterTheLoadMakesUpTheSecondsSinceIt) {
  ReminderTick tick;
  tick.StartAfter(kStart, kCst);
  EXPECT_EQ(tick.Advance(kStart + 3, kCst), Range(kStart + 1, kStart + 3));
  EXPECT_EQ(tick.Advance(kStart + 3, kCst), Seconds{});
  // A start slower than the catch-up limit still fires no burst.
  tick.StartAfter(kStart, kCst);
  EXPECT_EQ(tick.Advance(kStart + 60, kCst), Range(kStart + 50, kStart + 60));
}

// The tick's work on a store, as the timer runs it, when the clock is set back by 30 s,
// 10 min and an hour: a reminder saved after the step for 10 s later fires, one that fired
// just before the step does not fire again.
TEST(ReminderTickTest, AfterTheClockIsSetBackNothingIsLostAndNothingFiresTwice) {
  namespace clk = platform::clock;
  const std::int64_t stepAt = clk::SecondsFromSerial(clk::SerialFromFields({2024, 5, 1, 10, 0, 0}));
  for (const std::int64_t step : {30, 600, 3600}) {
    testsupport::TempDir dir;
    const std::string path = dir.File("dstx2.dat");
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "dstx2.dat"));
    ReminderStore store;
    ASSERT_EQ(store.OpenDatabase(path, kDatabasePassword), 1);
    const auto save = [&store](std::int64_t second, const char* title) {
      ReminderRecord r;
      r.txfs = RepeatMode::Once;
      r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = clk::SerialFromSeconds(second);
      r.txbt = title;
      EXPECT_EQ(store.SaveReminder(r), 1);
    };
    const std::int64_t start = stepAt - step - 20;
    clk::SetForTest(clk::SerialFromSeconds(start));
    save(stepAt - 5, "fired before the step");
    store.LoadReminders();

    std::vector<std::pair<std::string, std::int64_t>> firings;
    ReminderList due;
    ReminderTick tick;
    tick.StartAfter(start, clk::UtcOffsetSeconds());
    const auto tickAt = [&](std::int64_t wall) {
      clk::SetForTest(clk::SerialFromSeconds(wall));
      CheckDueSeconds(tick, [&](double second) {
        store.CollectDueReminders(second, due);
        for (const ReminderRecord& r : due) firings.emplace_back(r.txbt, clk::SecondsFromSerial(second) - stepAt);
      });
    };
    for (std::int64_t wall = start + 1; wall < stepAt; ++wall) tickAt(wall);
    clk::SetForTest(clk::SerialFromSeconds(stepAt - step));
    save(stepAt - step + 10, "saved after the step");
    for (std::int64_t wall = stepAt - step; wall <= stepAt + 5; ++wall) tickAt(wall);

    using Firings = std::vector<std::pair<std::string, std::int64_t>>;
    EXPECT_EQ(firings, (Firings{{"fired before the step", -5}, {"saved after the step", -step + 10}}))
        << "set back " << step << " s";
  }
  platform::clock::ClearForTest();
}

// The tick's work on a store across the end of daylight saving in New York, the tick late
// across the change: each reminder fires once, what was saved for the repeated hour fires in
// its second pass, and a remind-again fires in the pass it was set in.
TEST(ReminderTickTest, WhenDaylightSavingEndsWhatFiredOnceDoesNotFireAgainAndWhatIsNewFires) {
  namespace clk = platform::clock;
  const auto previousZone = clk::SetTimeZoneForTest("America/New_York");
  constexpr std::int64_t kChange = 1730613600;  // 2024-11-03 01:00:00 EST, an hour after 01:00:00 EDT
  const auto at = [](int h, int m, int s) { return clk::SerialFromFields({2024, 11, 3, h, m, s}); };
  testsupport::TempDir dir;
  const std::string path = dir.File("dstx2.dat");
  ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "dstx2.dat"));
  ReminderStore store;
  ASSERT_EQ(store.OpenDatabase(path, kDatabasePassword), 1);
  const auto make = [](int mode, double when) {
    ReminderRecord r;
    r.txfs = mode;
    r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = when;
    return r;
  };
  const auto save = [&store](ReminderRecord r, const char* title) {
    r.txbt = title;
    EXPECT_EQ(store.SaveReminder(r), 1);
    return r.id;
  };
  const std::int64_t start = kChange - 3600 - 10;  // 00:59:50 EDT
  clk::SetUtcForTest(start);
  save(make(RepeatMode::Once, at(1, 0, 0)), "once at 01:00:00");
  save(make(RepeatMode::Once, at(1, 59, 59)), "once at 01:59:59");
  ReminderRecord noticed = make(RepeatMode::Daily, at(1, 30, 0));
  noticed.tqsj = 2;
  noticed.tqdw = DatePart::Minute;
  save(noticed, "daily with notices");
  ReminderRecord every = make(RepeatMode::Interval, at(0, 0, 10));
  every.cfdw = IntervalUnit::Minute;
  every.cfsj = 20;
  save(every, "every 20 minutes");
  const int snoozed = save(make(RepeatMode::Daily, at(1, 10, 0)), "snoozed");
  store.LoadReminders();

  std::vector<std::string> firings;
  ReminderList due;
  ReminderTick tick;
  tick.StartAfter(clk::SecondsFromSerial(clk::Now()), clk::UtcOffsetSeconds());
  for (std::int64_t utc = start + 1; utc <= kChange + 3600 + 15; ++utc) {
    if (utc > kChange - 3 && utc < kChange + 2) continue;  // the tick 5 s late across the change
    clk::SetUtcForTest(utc);
    CheckDueSeconds(tick, [&](double second) {
      store.CollectDueReminders(second, due);
      for (const ReminderRecord& r : due)
        firings.push_back(r.txbt + " " + clk::FormatStored(second).substr(11) + (r.IsNoticeFiring ? " notice" : ""));
    });
    // What the person does once the tick is done.
    if (utc == kChange - 3000 || utc == kChange + 720) {
      EXPECT_EQ(store.SetRemindAgain(snoozed, 1, at(1, 15, 0)), 1);
    }
    if (utc == kChange - 1800) save(make(RepeatMode::Once, at(1, 0, 1)), "saved in the first pass for 01:00:01");
    if (utc == kChange + 300) save(make(RepeatMode::Once, at(1, 20, 0)), "saved in the second pass for 01:20:00");
  }
  EXPECT_EQ(firings, (std::vector<std::string>{
                         // The first pass, EDT.
                         "once at 01:00:00 01:00:00", "every 20 minutes 01:00:10", "snoozed 01:10:00",
                         "snoozed 01:15:00", "every 20 minutes 01:20:10", "daily with notices 01:28:00 notice",
                         "daily with notices 01:29:00 notice", "daily with notices 01:30:00",
                         "every 20 minutes 01:40:10", "once at 01:59:59 01:59:59",
                         // The second pass, EST, from the late tick on.
                         "saved in the first pass for 01:00:01 01:00:01", "snoozed 01:15:00",
                         "saved in the second pass for 01:20:00 01:20:00",
                         // Past the repeated hour.
                         "every 20 minutes 02:00:10"}));
  clk::ClearForTest();
  clk::SetTimeZoneForTest(previousZone);
}

// The tick's work on a store across a fall-back of two hours, the tick late across the change:
// nothing that fired in the first pass of the stretch shown twice fires again in the second,
// however far back in it, and what is saved in the second pass for a second of it fires there
// once. In St John's the clocks went back across midnight, from 00:01 to 22:01 the day before.
TEST(ReminderTickTest, WhenTheClocksGoBackTwoHoursWhatFiredOnceDoesNotFireAgainAndWhatIsNewFires) {
  namespace clk = platform::clock;
  struct FallBack {
    const char* zone;
    std::int64_t change;  // the first UTC second of the new time line
  };
  for (const FallBack& c : {FallBack{"Antarctica/Troll", 1319936400}, FallBack{"America/St_Johns", 594178260}}) {
    const auto previousZone = clk::SetTimeZoneForTest(c.zone);
    const auto wallAt = [](std::int64_t utc) {
      clk::SetUtcForTest(utc);
      return clk::SecondsFromSerial(clk::Now());
    };
    const std::int64_t first = wallAt(c.change), last = wallAt(c.change - 1);  // the stretch shown twice
    EXPECT_EQ(last - first, 2 * 3600 - 1) << c.zone;
    testsupport::TempDir dir;
    const std::string path = dir.File("dstx2.dat");
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "dstx2.dat"));
    ReminderStore store;
    ASSERT_EQ(store.OpenDatabase(path, kDatabasePassword), 1);
    const auto save = [&store](int mode, std::int64_t wall, const char* title) {
      ReminderRecord r;
      r.txfs = mode;
      r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = clk::SerialFromSeconds(wall);
      r.txbt = title;
      EXPECT_EQ(store.SaveReminder(r), 1);
    };
    const auto fired = [](const std::string& title, std::int64_t wall) {
      return title + " " + clk::FormatStored(clk::SerialFromSeconds(wall));
    };
    const std::int64_t start = c.change - 2 * 3600 - 10;
    clk::SetUtcForTest(start);
    save(RepeatMode::Once, first, "once at the first second");
    save(RepeatMode::Daily, first + 3600, "daily an hour in");
    save(RepeatMode::Once, last, "once at the last second");
    store.LoadReminders();

    std::vector<std::string> firings;
    ReminderList due;
    ReminderTick tick;
    tick.StartAfter(clk::SecondsFromSerial(clk::Now()), clk::UtcOffsetSeconds());
    for (std::int64_t utc = start + 1; utc <= c.change + 2 * 3600 + 15; ++utc) {
      if (utc > c.change - 3 && utc < c.change + 2) continue;  // the tick 5 s late across the change
      clk::SetUtcForTest(utc);
      CheckDueSeconds(tick, [&](double second) {
        store.CollectDueReminders(second, due);
        for (const ReminderRecord& r : due) firings.push_back(fired(r.txbt, clk::SecondsFromSerial(second)));
      });
      if (utc == c.change + 600) save(RepeatMode::Once, first + 5400, "saved in the second pass");
    }
    EXPECT_EQ(firings, (std::vector<std::string>{fired("once at the first second", first),
                                                 fired("daily an hour in", first + 3600),
                                                 fired("once at the last second", last),
                                                 fired("saved in the second pass", first + 5400)}))
        << c.zone;
    clk::ClearForTest();
    clk::SetTimeZoneForTest(previousZone);
  }
}

TEST(ReminderTickTest, TimerIsArmedJustPastTheNextSecond) {
  const int ms = MillisecondsToNextSecond();
  EXPECT_GT(ms, 0);
  EXPECT_LE(ms, 1015);
}

}  // namespace
}  // namespace workmemo
