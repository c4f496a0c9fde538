// Which reminders fall on a calendar day: the day tests of the due check without time of
// day, pause, remind-again or notice.
#include <algorithm>
#include <cstdlib>

#include "platform/lunar/lunar.h"
#include "reminders/store/calendar.h"
#include "reminders/store/rules_common.h"
#include "reminders/store/schedule.h"

namespace workmemo {
namespace {

bool IntervalOnDay(const ReminderRecord& r, const CheckMoment& m, std::int64_t startDayNumber) {
  const std::int64_t amount = IntervalAmount(r.cfsj);
  if (amount == 0) return false;
  const double startDate = DateTimeFromSeconds(startDayNumber * kSecondsPerDay);
  const bool startDay = m.today == startDayNumber;
  switch (r.cfdw) {
    case IntervalUnit::Minute:
      return SubDailyOnDay(CountWholeUnits(m.now, startDate, DatePart::Minute), amount, 1440, startDay);
    case IntervalUnit::Hour:
      return SubDailyOnDay(CountWholeUnits(m.now, startDate, DatePart::Hour), amount, 24, startDay);
    case IntervalUnit::Day:
      return CountWholeUnits(m.now, startDate, DatePart::Day) % amount == 0;
    case IntervalUnit::Week:
      return CountWholeUnits(m.now, r.ksdate, DatePart::Week) % amount == 0;
    case IntervalUnit::Month:
    case IntervalUnit::Year: {
      const DateTimeParts k = SplitDateTime(r.ksdate);
      if (m.day != std::min(k.day, m.daysInMonth)) return false;
      if (r.cfdw == IntervalUnit::Month)
        return CountWholeUnits(m.now, startDate, DatePart::Month) % amount == 0;
      return m.month == k.month && CountWholeUnits(m.now, startDate, DatePart::Year) % amount == 0;
    }
    case IntervalUnit::DayDigit:
      return (m.day - amount) % 10 == 0;
    case IntervalUnit::MinuteSinceLoad:
      // Counted from the load time; the origin alternative needs the load at midnight itself.
      return SubDailyOnDay(CountWholeUnits(m.now, r.txdate, DatePart::Minute), amount, 1440,
                           m.seconds == LinearSeconds(r.txdate));
    default:
      return false;
  }
}


}  // namespace

bool FallsOnDay(const ReminderRecord& r, const CheckMoment& m) {
  if (r.cfcs > 0 && r.cfjs >= r.cfcs && r.cfcsdw == RepeatCountUnit::TimesTotal) return false;
  if (OutsideDateRange(r, m.today)) return false;
  switch (r.txfs) {
    case RepeatMode::Once:
    case RepeatMode::LunarOnce:
      return m.today == DayNumber(r.ksdate);
    case RepeatMode::Daily:
      return !HasPiece(r.notxweek, m.weekdayText);
    case RepeatMode::Weekly:
      return WeekListMatches(r.txweek, m.weekdayText);
    case RepeatMode::Monthly:
      return m.day == std::min(TextNumber(r.txdays), m.daysInMonth);
    case RepeatMode::Yearly:
      return m.month == TextNumber(r.txmonth) && m.day == std::min(TextNumber(r.txdays), m.daysInMonth);
    case RepeatMode::Interval:
      return IntervalOnDay(r, m, DayNumber(r.ksdate));
    // Days the lunar calendar does not cover list no lunar reminder.
    case RepeatMode::LunarMonthly:
      return m.lunarKnown && m.lunar.day == ClampedLunarDay(r.txdays, m.lunar);
    case RepeatMode::LunarYearly:
      return m.lunarKnown && m.lunar.month == TextNumber(r.txmonth) &&
             m.lunar.leap == ToFlag(r.nlry) && m.lunar.day == ClampedLunarDay(r.txdays, m.lunar);
    default:
      return false;
  }
}

void CollectRemindersOnDay(const ReminderList& list, double day, ReminderList& out) {
  const CheckMoment m = MakeCheckMoment(DateOf(day));
  // Copies go into the slots the array already has, whose texts keep their buffers: a month
  // view asks for 42 days in a row.
  std::size_t n = 0;
  for (const ReminderRecord& r : list) {
    if (r.id < 1 || !FallsOnDay(r, m)) continue;
    if (n < out.size())
      out[n] = r;
    else
      out.push_back(r);
    ++n;
  }
  out.resize(n);
}

}  // namespace workmemo
