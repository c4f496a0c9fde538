#pragma once
// The reminders of a simulated day: every repeat mode and interval unit, advance notices by
// minutes and hours, pending remind-agains, repeat limits counted per run and in total,
// stored pauses and date ranges, timed at random seconds of the part of the day simulated.
// What the person at the pop-up does when one fires (remind again, pause) travels with it.
#include <cstdint>
#include <vector>

#include "reminders/store/reminder_record.h"

namespace workmemo::simday {

// The answer given at the pop-up the first time a reminder fires for real.
enum class Reaction { None, RemindAgain, Pause, PauseUntilNextLoad };

struct PlannedReminder {
  ReminderRecord record;
  Reaction reaction = Reaction::None;
};

// `count` reminders for the day of `dayStart` (a serial at 00:00:00), timed within the
// seconds of that day [fromSecond, toSecond]. The first 60 (when count allows) fire every
// minute, one at each second of the minute, so that every second of the day holds a firing
// and a second checked twice or never shows.
std::vector<PlannedReminder> DayReminders(int count, double dayStart, int fromSecond, int toSecond,
                                          std::uint64_t seed);

}  // namespace workmemo::simday
