#pragma once
// The schedule rules: pure functions of a reminder record and the second being checked.
// Nothing here reads the clock or touches the database; the store passes "now" in and
// carries out the writes the rules report.
//
// Contract for the store's due check (one call per wall-clock second, in list order):
//   ReminderList fired;
//   for (const DueWrite& w : CollectDue(list, second, fired))
//     w.kind == DueWrite::ClearRemindAgain ? SetRemindAgain(w.id, 0, w.ksdate)
//                                          : SetRepeatCounter(w.id, w.cfjs);
// The in-memory changes (cleared remind-again, counters, notice fields) are already made
// in `list` when CollectDue returns; a failed write leaves them standing.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/lunar/lunar.h"
#include "reminders/store/reminder_record.h"

namespace workmemo {

// The values of one check, taken once from the second being checked (or, for the day
// lists, from the day at 00:00:00).
struct CheckMoment {
  double now = 0;
  std::int64_t seconds = 0;  // LinearSeconds(now)
  std::int64_t today = 0;    // DayNumber(now)
  int secondOfDay = 0;
  int year = 0, month = 0, day = 0, daysInMonth = 0;
  int hour = 0, minute = 0, second = 0;
  int weekday = 0;          // 1 = Sunday
  std::string weekdayText;  // the same as decimal text
  bool lunarKnown = false;  // false outside the years the lunar calendar covers
  platform::lunar::LunarDate lunar;
};
CheckMoment MakeCheckMoment(double now);

// A database write the due check asks the store to make.
struct DueWrite {
  enum Kind { ClearRemindAgain, StoreRepeatCounter };
  Kind kind = ClearRemindAgain;
  int id = 0;
  double ksdate = 0;  // ClearRemindAgain: what txdate goes back to
  int cfjs = 0;       // StoreRepeatCounter: the new counter
};

// What the due check of one record did. `report` holds the copy to hand out when the record
// fires (a record with an id below 1 is never reported); its NoticeUnitsLeft is the value
// before the countdown step.
struct DueOutcome {
  bool clearedRemindAgain = false;  // xctx/txdate were reset: write them
  bool counterToStore = false;      // a total repeat count moved on: write cfjs
  bool putOff = false;              // its mode fell due while a pending remind-again held it back
  std::optional<ReminderRecord> report;
};

// Whether the record's advance notice applies: interval units below a minute or counted
// otherwise (day digits, minutes since load) have none, nor has an unknown mode.
bool HasNoticeVariant(const ReminderRecord& record);

// The due check of one record for the second `m`; updates the record in place.
DueOutcome CheckDue(ReminderRecord& record, const CheckMoment& m);

// The due check of a whole list for one second. `fired` is emptied and then receives a copy
// of every firing record in list order; the result lists the writes for the table in the
// order the rules made them.
std::vector<DueWrite> CollectDue(ReminderList& list, double now, ReminderList& fired);

// The first advance-notice moment of a record (tqsj > 0) as seen at `now`; writes the notice
// units left before the occurrence. A record with no coming occurrence gets a moment in the
// past, so no notice fires.
double ComputeNoticeTime(const ReminderRecord& record, int& unitsLeft, double now);

// The display state (ReminderState code) of a record at `now`.
int GetReminderState(const ReminderRecord& record, double now);

// Whether a record is listed on the day `m` was made from (MakeCheckMoment of that day).
bool FallsOnDay(const ReminderRecord& record, const CheckMoment& m);
// Empties `out` and fills it with copies of the records of `list` that fall on `day`.
void CollectRemindersOnDay(const ReminderList& list, double day, ReminderList& out);

}  // namespace workmemo
