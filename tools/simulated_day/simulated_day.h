#pragma once
// A simulated day of the reminder timer, proved against a reference. The same reminders are
// checked twice: once through the work of the tick handler (CheckDueSeconds with the shell's
// ReminderTick) on a timer that comes late, twice in one second and stalls, on a clock that is
// set back and changes its UTC offset; and once by one exact check of every wall-clock second
// of the day. Every firing (reminder, second, notice or not) must be the same in both, apart
// from the seconds a stall longer than 10 s leaves out by design. When the wall clock goes
// back (the clock set back, or daylight saving ending), the seconds it shows again are
// checked again on the new time line: what fired in them must not fire twice, and a reminder
// saved after the step, or in the repeated hour's second pass, for one of them must fire.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "day_clock.h"

namespace workmemo::simday {

// The clock set back by `byMs` once a share `at` of the part simulated has passed; with
// `compactBefore`, the data file is compacted and reloaded a few seconds before.
struct SetBack {
  double at = 0;
  std::int64_t byMs = 0;
  bool compactBefore = false;
};

// The day with the clock set back 30 s, 10 min and 1 h, one after the other, the last just
// after a compaction.
std::vector<SetBack> ClockStepsBack();

struct DayOptions {
  std::optional<std::string> timeZone;  // TZ for the run; nullopt: the process's own
  int year = 2024, month = 6, day = 12;
  // The part of the day's wall clock simulated; where it begins or ends inside a stretch shown
  // twice, it takes in all of that stretch.
  int fromSecond = 0, toSecond = 86399;
  int reminders = 10000;
  std::uint64_t seed = 1;
  bool stallOfAMinute = true;            // one tick 60 s late, a third into the part simulated
  std::vector<SetBack> setBacks = {{2.0 / 3, 5000}};  // by default 5 s, two thirds into it
  // One-time reminders saved just after each step back and in the second pass of the hour
  // daylight saving repeats, due in the seconds shown again.
  int savedAfterEachSetBack = 5;
  bool stallAcrossOffsetChanges = true;  // a tick 5 s late across every change of the UTC offset
  TickJitter jitter;
  std::string workDir;  // an existing directory for the data files
};

struct DayResult {
  TickCounts ticks;
  std::int64_t offsetChanges = 0;
  // Wall-clock seconds of the part simulated (its first and last, in serial seconds), and what
  // became of them.
  std::int64_t firstSecond = 0, lastSecond = 0;
  std::int64_t seconds = 0;
  std::int64_t secondsChecked = 0;
  std::int64_t secondsCheckedTwice = 0;     // twice on one time line
  std::int64_t secondsCheckedAgain = 0;     // again on a later time line: set back, or repeated
  std::int64_t secondsSkippedByDesign = 0;  // the first seconds of a stall longer than 10 s
  // Of those, checked on another time line (the clock set back, or a fall-back), and the
  // firings there and of the same reminders since: left out of the comparison, as what the
  // person did meanwhile, and what fired there, decide them.
  std::int64_t skippedSecondsCheckedOnAnotherLine = 0, firingsWhereSkippedOnAnotherLine = 0;
  std::int64_t secondsLost = 0;             // neither checked nor skipped by design
  std::int64_t secondsSkippedByChange = 0;  // never shown: a spring forward skipped them
  // From the moment the clock began to show a second to its check, in whole seconds; for the
  // seconds a spring forward skipped, from the change instead.
  std::int64_t maxLateness = 0;
  std::int64_t maxLatenessAfterChange = 0;
  // Firings: of the reference, of the jittered run (notices among them; made up by a late
  // tick; in the seconds a spring forward skipped) and the differences.
  std::int64_t referenceFirings = 0;
  std::int64_t firings = 0, notices = 0, madeUpFirings = 0, firingsAfterChange = 0;
  std::int64_t firingsSkippedByDesign = 0;  // what exact ticks fire in the seconds skipped by design
  std::int64_t lost = 0, doubled = 0, extra = 0;
  // The clock set back: how often; the firings of the reference in the seconds shown again
  // (after a step or in the hour daylight saving repeats), which must come once; the reminders
  // saved just after a step, and in the repeated hour's second pass, and their firings.
  std::int64_t setBacks = 0, firingsInSecondsShownAgain = 0;
  std::int64_t savedAfterSetBack = 0, firingsSavedAfterSetBack = 0;
  std::int64_t savedInRepeatedHour = 0, firingsSavedInRepeatedHour = 0;
  // Compactions, the reminders their reload changed (a pause until the next load ended, a
  // count per run or a run from the load began again, a notice counted afresh), and the
  // firings of those reminders from the first second checked after the compaction on, left
  // out of the comparison (never of the count of doubles), as the reload decides them.
  std::int64_t compactions = 0, changedByReload = 0, firingsLeftToTheReload = 0;
  std::vector<std::string> differences;  // the first few, readable
  double runSeconds = 0;                 // the time the runs took

  bool ok() const;
};

// Runs the day; the test clock is left cleared and the time zone as it was.
DayResult SimulateDay(const DayOptions& options);

// The figures of a day, one a line.
std::string Describe(const DayResult& result);

}  // namespace workmemo::simday
