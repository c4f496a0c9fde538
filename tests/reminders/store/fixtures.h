#pragma once
// Shared helpers of the reminder-store tests: date-times from calendar fields, and readable
// date-times in failure messages.
#include <functional>
#include <string>

#include "platform/clock/clock.h"
#include "reminders/store/reminder_record.h"

namespace workmemo::testing {

inline double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return platform::clock::SerialFromFields({y, mo, d, h, mi, s});
}

inline std::string Text(double dateTime) { return platform::clock::FormatStored(dateTime); }

// A stored reminder of the given mode starting (and firing) at `start`, without range.
inline ReminderRecord Reminder(int mode, double start) {
  ReminderRecord r;
  r.id = 1;
  r.txfs = mode;
  r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = start;
  return r;
}

inline ReminderRecord Every(int unit, int amount, double start) {
  ReminderRecord r = Reminder(RepeatMode::Interval, start);
  r.cfdw = unit;
  r.cfsj = amount;
  return r;
}

inline ReminderRecord WithTexts(int mode, double start, const char* month, const char* days) {
  ReminderRecord r = Reminder(mode, start);
  r.txmonth = month;
  r.txdays = days;
  return r;
}

inline ReminderRecord With(ReminderRecord r, const std::function<void(ReminderRecord&)>& change) {
  change(r);
  return r;
}

}  // namespace workmemo::testing
