// A stretch of a day of the reminder timer, jittered, stalled, doubled, set back and across
// daylight-saving changes, against one exact check a second: no firing lost, doubled or
// invented, also when the clock is set back 30 s, 10 min and 1 h (the last just after a
// compaction) and reminders are saved after each step, and when reminders are saved in the
// second pass of the hour daylight saving repeats. tools/simulated_day runs whole days with 10,000 reminders.
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
  } else if (std::string(c.name) == "ordinary") {
    // The minute's stall leaves out its first 50 seconds, and what they held.
    EXPECT_EQ(r.secondsSkippedByDesign, 50) << Describe(r);
    EXPECT_GT(r.firingsSkippedByDesign, 0);
  } else {
    EXPECT_EQ(r.offsetChanges, 1);
  }
  if (std::string(c.name) == "fall_back") {
    // The repeated hour is checked again on its second pass, and what was saved then for a
    // second of it fired.
    EXPECT_GT(r.secondsCheckedAgain, H - 100);
    EXPECT_EQ(r.savedInRepeatedHour, 5);
    EXPECT_EQ(r.firingsSavedInRepeatedHour, r.savedInRepeatedHour);
  }
  if (std::string(c.name) == "spring_forward") {
    // The skipped hour is checked right after the change, every second of it.
    EXPECT_EQ(r.secondsSkippedByChange, H);
    EXPECT_GT(r.firingsAfterChange, 0);
    EXPECT_LE(r.maxLatenessAfterChange, ReminderTick::kMaxSkippedSeconds);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Days, SimulatedDayTest,
    ::testing::Values(DayCase{"ordinary", "Asia/Shanghai", 2024, 6, 12, 8 * H, 9 * H},
                      DayCase{"spring_forward", "America/New_York", 2024, 3, 10, 1 * H + 30 * 60, 3 * H + 30 * 60},
                      DayCase{"fall_back", "America/New_York", 2024, 11, 3, 50 * 60, 2 * H + 20 * 60},
                      DayCase{"clock_set_back", "Asia/Shanghai", 2024, 6, 12, 8 * H, 9 * H + 30 * 60, true}),
    [](const ::testing::TestParamInfo<DayCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace workmemo::simday
