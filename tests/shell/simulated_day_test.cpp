// A stretch of a day of the reminder timer, jittered, stalled, doubled, set back and across
// daylight-saving changes, against one exact check a second: no firing lost, doubled or
// invented, also when the clock is set back 30 s, 10 min and 1 h (the last just after a
// compaction) and reminders are saved after each step, when reminders are saved in the second
// pass of a stretch daylight saving repeats, when the zone changes its offset by two hours, and
// when a change falls just after midnight. tools/simulated_day runs whole days with 10,000
// reminders.
#include "simulated_day.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "shell/reminder_tick.h"
#include "test_support.h"

namespace workmemo::simday {
namespace {

struct DayCase {
  const char* name;
  const char* zone;
  int year, month, day;
  int from, to;  // seconds of the day
  int repeated = 0;  // the seconds a fall-back shows twice
  int skipped = 0;   // the seconds a spring forward skips
  bool stepsBack = false;  // the clock set back 30 s, 10 min and 1 h (after a compaction) instead of 5 s
};

void PrintTo(const DayCase& c, std::ostream* out) { *out << c.name; }

constexpr int H = 3600;

class SimulatedDayTest : public ::testing::TestWithParam<DayCase> {};

TEST_P(SimulatedDayTest, JitteredTicksFireWhatExactTicksFire) {
  const DayCase& c = GetParam();
  testsupport::TempDir dir;
  DayOptions options;
  options.timeZone = c.zone;
  options.year = c.year, options.month = c.month, options.day = c.day;
  options.fromSecond = c.from, options.toSecond = c.to;
  options.reminders = 240;
  options.workDir = dir.path();
  if (c.stepsBack) options.setBacks = ClockStepsBack();
  const DayResult r = SimulateDay(options);
  EXPECT_TRUE(r.ok()) << Describe(r);
  // The day was as rough as meant, and every second held a firing to lose.
  EXPECT_GT(r.ticks.twiceInASecond, 0);
  EXPECT_GT(r.ticks.stalls, 0);
  EXPECT_GT(r.madeUpFirings, 0);
  EXPECT_GE(r.referenceFirings, r.seconds - r.secondsSkippedByDesign);
  // The seconds a step back showed again held firings that must not come twice, and every
  // reminder saved just after a step for one of them fired.
  EXPECT_GT(r.secondsCheckedAgain, 0);
  EXPECT_GT(r.firingsInSecondsShownAgain, 0);
  if (c.stepsBack) {
    EXPECT_EQ(r.setBacks, 3);
    EXPECT_EQ(r.compactions, 1);  // just before the step of an hour: nothing fired then fires again
    EXPECT_EQ(r.savedAfterSetBack, 15);
    EXPECT_EQ(r.firingsSavedAfterSetBack, r.savedAfterSetBack);
    EXPECT_GT(r.secondsCheckedAgain, H - 100);  // about the hour the last step showed again
  } else if (c.repeated == 0 && c.skipped == 0) {
    // The minute's stall leaves out its first 50 seconds, and what they held.
    EXPECT_EQ(r.secondsSkippedByDesign, 50) << Describe(r);
    EXPECT_GT(r.firingsSkippedByDesign, 0);
  } else {
    EXPECT_EQ(r.offsetChanges, 1);
  }
  if (c.repeated > 0) {
    // The stretch shown twice is checked again on its second pass, all of it also where the
    // part simulated began or ended inside it, and what was saved then for a second of it fired.
    EXPECT_GT(r.secondsCheckedAgain, c.repeated - 100);
    EXPECT_EQ(r.savedInRepeatedHour, 5);
    EXPECT_EQ(r.firingsSavedInRepeatedHour, r.savedInRepeatedHour);
  }
  if (c.skipped > 0) {
    // The skipped stretch is checked right after the change, every second of it.
    EXPECT_EQ(r.secondsSkippedByChange, c.skipped);
    EXPECT_GT(r.firingsAfterChange, 0);
    EXPECT_LE(r.maxLatenessAfterChange, ReminderTick::kMaxSkippedSeconds);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Days, SimulatedDayTest,
    ::testing::Values(
        DayCase{"ordinary", "Asia/Shanghai", 2024, 6, 12, 8 * H, 9 * H},
        DayCase{"spring_forward", "America/New_York", 2024, 3, 10, 1 * H + 30 * 60, 3 * H + 30 * 60, 0, H},
        DayCase{"fall_back", "America/New_York", 2024, 11, 3, 50 * 60, 2 * H + 20 * 60, H},
        // Two hours forward at 01:00, and back at 03:00.
        DayCase{"long_spring_forward", "Antarctica/Troll", 2011, 3, 27, 50 * 60, 3 * H + 10 * 60, 0, 2 * H},
        DayCase{"long_fall_back", "Antarctica/Troll", 2011, 10, 30, 55 * 60, 3 * H + 5 * 60, 2 * H},
        // Back from 00:01 to 23:01 of the day before: the part begins inside the stretch shown twice.
        DayCase{"fall_back_across_midnight", "America/St_Johns", 2010, 11, 7, 0, 20 * 60, H},
        DayCase{"clock_set_back", "Asia/Shanghai", 2024, 6, 12, 8 * H, 9 * H + 30 * 60, 0, 0, true}),
    [](const ::testing::TestParamInfo<DayCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace workmemo::simday
