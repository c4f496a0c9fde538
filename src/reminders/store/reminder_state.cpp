// The display state of a reminder: the picture its row shows in the lists.
#include "platform/lunar/lunar.h"
#include "reminders/store/calendar.h"
#include "reminders/store/rules_common.h"
#include "reminders/store/schedule.h"

namespace workmemo {

int GetReminderState(const ReminderRecord& r, double now) {
  auto notEarlierThan = [now](double x) { return CountWholeUnits(now, x, DatePart::Second) >= 0; };
  // Ranged picks the "in range" pictures; expiry follows the due check's date range, so a
  // reminder never shows Expired on a day it still fires.
  const bool ranged = LinearSeconds(r.ksdate) != LinearSeconds(r.jsdate);
  const std::int64_t endDay = DayNumber(r.jsdate);
  const bool dateRange = DayNumber(r.ksdate) != endDay;
  const bool expired = dateRange && DayNumber(now) > endDay;

  if (r.bytx == 1) return ReminderState::Flagged;
  if (r.txzt == 1) return ranged ? ReminderState::PausedInRange : ReminderState::Paused;
  if (r.xctx == 1) return ranged ? ReminderState::RecurringInRange : ReminderState::Recurring;
  if (r.txfs == RepeatMode::Interval && r.cfdw == IntervalUnit::Minute) {
    if (SecondOfDay(r.ksdate) != SecondOfDay(r.jstime) && dateRange)
      return expired ? ReminderState::Expired : ReminderState::RecurringInRange;
    return expired ? ReminderState::Expired : ReminderState::Recurring;
  }
  if (expired) return ReminderState::Expired;
  switch (r.txfs) {
    case RepeatMode::Once:
      return notEarlierThan(r.ksdate) ? ReminderState::Passed : ReminderState::Pending;
    case RepeatMode::Daily:
    case RepeatMode::Weekly:
    case RepeatMode::Monthly:
    case RepeatMode::Yearly:
    case RepeatMode::LunarMonthly:
    case RepeatMode::LunarYearly:
      return ranged ? ReminderState::PendingInRange : ReminderState::Pending;
    case RepeatMode::Interval:
      return ranged ? ReminderState::RecurringInRange : ReminderState::Recurring;
    case RepeatMode::LunarOnce: {
      // Outside the lunar calendar the zero date-time stands, which has always passed.
      double solar = 0;
      platform::lunar::LunarToSolar(r.nlyear, TextNumber(r.txmonth), TextNumber(r.txdays),
                                    ToFlag(r.nlry), solar);
      const DateTimeParts d = SplitDateTime(solar), k = SplitDateTime(r.ksdate);
      const double moment = MakeDateTime(d.year, d.month, d.day, k.hour, k.minute, k.second);
      return notEarlierThan(moment) ? ReminderState::Passed : ReminderState::Pending;
    }
    default:
      return ReminderState::Pending;
  }
}

}  // namespace workmemo
