// The due check: which reminders fire in one given second, and how their remind-again,
// repeat counter and advance-notice state move on when they do.
#include <algorithm>
#include <limits>

#include "platform/lunar/lunar.h"
#include "reminders/store/calendar.h"
#include "reminders/store/rules_common.h"
#include "reminders/store/schedule.h"

namespace workmemo {
namespace {

namespace lunar = platform::lunar;

// The wanted day of month clamped to the month being checked.
int ClampedDay(int wanted, const CheckMoment& m) { return std::min(wanted, m.daysInMonth); }


// Interval reminders by their unit. `timeOfDay` is the second of the day the day-level units
// fire at (kstime's).
bool IntervalOccurs(const ReminderRecord& r, const CheckMoment& m) {
  const std::int64_t amount = IntervalAmount(r.cfsj);
  if (amount == 0) return false;  // no remainder by zero: such a row never recurs
  auto multiple = [amount](std::int64_t n) { return n % amount == 0; };
  const int ksSecond = SecondOfDay(r.ksdate);
  const int timeOfDay = SecondOfDay(r.kstime);
  switch (r.cfdw) {
    case IntervalUnit::Minute: {
      if (m.second != ksSecond % 60) return false;
      const int from = timeOfDay, to = SecondOfDay(r.jstime);
      if (from == to) return multiple(CountWholeUnits(m.now, r.ksdate, DatePart::Minute));
      if (m.secondOfDay < from || m.secondOfDay > to) return false;
      return multiple(CountWholeUnits(TimeOf(m.now), TimeOf(r.kstime), DatePart::Minute));
    }
    case IntervalUnit::Hour:
      return m.secondOfDay % 3600 == ksSecond % 3600 &&
             multiple(CountWholeUnits(m.now, r.ksdate, DatePart::Hour));
    case IntervalUnit::Day:
      return m.secondOfDay == timeOfDay && multiple(CountWholeUnits(m.now, r.ksdate, DatePart::Day));
    case IntervalUnit::Week:
      // Every day of an occurrence week fires: the count is of Sundays crossed.
      return m.secondOfDay == timeOfDay && multiple(CountWholeUnits(m.now, r.ksdate, DatePart::Week));
    case IntervalUnit::Month:
      return m.secondOfDay == timeOfDay && m.day == ClampedDay(SplitDateTime(r.ksdate).day, m) &&
             multiple(CountWholeUnits(m.now, r.ksdate, DatePart::Month));
    case IntervalUnit::Year: {
      if (m.secondOfDay != timeOfDay) return false;
      const DateTimeParts k = SplitDateTime(r.ksdate);
      return m.month == k.month && m.day == ClampedDay(k.day, m) &&
             multiple(CountWholeUnits(m.now, r.ksdate, DatePart::Year));
    }
    case IntervalUnit::DayDigit:
      return m.secondOfDay == ksSecond && (m.day - amount) % 10 == 0;
    case IntervalUnit::MinuteSinceLoad:
      return m.second == ksSecond % 60 && multiple(CountWholeUnits(m.now, r.ksdate, DatePart::Minute));
    default:
      return false;
  }
}

// The rule of a record without advance notice. The time-of-day test comes first: it rules
// out almost every record in almost every second.
bool OccursWithoutNotice(const ReminderRecord& r, const CheckMoment& m) {
  switch (r.txfs) {
    case RepeatMode::Once:
    case RepeatMode::LunarOnce:
      return m.seconds == LinearSeconds(r.ksdate);
    case RepeatMode::Daily:
      return m.secondOfDay == SecondOfDay(r.ksdate) && !HasPiece(r.notxweek, m.weekdayText);
    case RepeatMode::Weekly:
      return m.secondOfDay == SecondOfDay(r.kstime) && WeekListMatches(r.txweek, m.weekdayText);
    case RepeatMode::Monthly:
      return m.secondOfDay == SecondOfDay(r.kstime) && m.day == ClampedDay(TextNumber(r.txdays), m);
    case RepeatMode::Yearly:
      return m.secondOfDay == SecondOfDay(r.kstime) && m.month == TextNumber(r.txmonth) &&
             m.day == ClampedDay(TextNumber(r.txdays), m);
    case RepeatMode::Interval:
      return IntervalOccurs(r, m);
    case RepeatMode::LunarMonthly:
      // Fires in a leap month too: the leap flag of today is not looked at.
      return m.lunarKnown && m.secondOfDay == SecondOfDay(r.kstime) &&
             m.lunar.day == ClampedLunarDay(r.txdays, m.lunar);
    case RepeatMode::LunarYearly:
      return m.lunarKnown && m.secondOfDay == SecondOfDay(r.kstime) &&
             m.lunar.month == TextNumber(r.txmonth) && m.lunar.leap == ToFlag(r.nlry) &&
             m.lunar.day == ClampedLunarDay(r.txdays, m.lunar);
    default:
      return false;
  }
}

enum class Occurrence { NoTest, Due, NotDue };

// The occurrence test of a record with advance notice: its time of day is ksdate's.
Occurrence OccursWithNotice(const ReminderRecord& r, const CheckMoment& m) {
  const bool atStartTime = m.secondOfDay == SecondOfDay(r.ksdate);
  bool due = false;
  switch (r.txfs) {
    case RepeatMode::Once:
    case RepeatMode::LunarOnce:
      due = m.seconds == LinearSeconds(r.ksdate);
      break;
    case RepeatMode::Daily:
      if (HasPiece(r.notxweek, m.weekdayText)) return Occurrence::NoTest;
      due = atStartTime;
      break;
    case RepeatMode::Weekly:
      due = atStartTime && WeekListMatches(r.txweek, m.weekdayText);
      break;
    case RepeatMode::Monthly:
    case RepeatMode::Yearly:
      due = atStartTime && m.day == ClampedDay(TextNumber(r.txdays), m) &&
            (r.txfs == RepeatMode::Monthly || m.month == TextNumber(r.txmonth));
      break;
    case RepeatMode::Interval: {
      if (IntervalAmount(r.cfsj) == 0) return Occurrence::NoTest;
      const int from = SecondOfDay(r.kstime), to = SecondOfDay(r.jstime);
      if (r.cfdw == IntervalUnit::Minute && from != to && (m.secondOfDay < from || m.secondOfDay > to))
        return Occurrence::NoTest;
      due = IntervalOccurs(r, m);
      break;
    }
    case RepeatMode::LunarMonthly:
    case RepeatMode::LunarYearly:
      if (!m.lunarKnown) return Occurrence::NoTest;
      // A leap-month yearly reminder fires only in the leap month, as without notice.
      due = atStartTime && m.lunar.day == ClampedLunarDay(r.txdays, m.lunar) &&
            (r.txfs == RepeatMode::LunarMonthly ||
             (m.lunar.month == TextNumber(r.txmonth) && m.lunar.leap == ToFlag(r.nlry)));
      break;
    default:
      return Occurrence::NoTest;
  }
  return due ? Occurrence::Due : Occurrence::NotDue;
}

// The occurrence after the one firing now, from which the next notice counts back; nullopt
// when none can be worked out (the lunar calendar ends).
std::optional<double> NextOccurrence(const ReminderRecord& r, const CheckMoment& m) {
  const DateTimeParts k = SplitDateTime(r.ksdate);
  auto monthDay = [&](double shifted, int wantedDay) {
    const DateTimeParts p = SplitDateTime(shifted);
    return MakeDateTime(p.year, p.month, std::min(wantedDay, DaysInMonth(p.year, p.month)), k.hour,
                        k.minute, k.second);
  };
  switch (r.txfs) {
    case RepeatMode::Once:
    case RepeatMode::LunarOnce:
      return r.ksdate;
    case RepeatMode::Daily:
      return AddToDate(m.now, DatePart::Day, 1);
    case RepeatMode::Weekly:
      // The next listed weekday, so that a reminder on several weekdays keeps its notices.
      for (int k = 1; k < 7; ++k)
        if (WeekListMatches(r.txweek, WeekdayText((m.weekday - 1 + k) % 7 + 1)))
          return AddToDate(m.now, DatePart::Day, k);
      return AddToDate(m.now, DatePart::Week, 1);
    case RepeatMode::Monthly:
      return monthDay(AddToDate(m.now, DatePart::Month, 1), TextNumber(r.txdays));
    case RepeatMode::Yearly:
      return monthDay(AddToDate(m.now, DatePart::Year, 1), TextNumber(r.txdays));
    case RepeatMode::Interval: {
      const std::int64_t amount = IntervalAmount(r.cfsj);
      switch (r.cfdw) {
        case IntervalUnit::Minute: return AddToDate(m.now, DatePart::Minute, amount);
        case IntervalUnit::Hour: return AddToDate(m.now, DatePart::Hour, amount);
        case IntervalUnit::Day: return AddToDate(m.now, DatePart::Day, amount);
        case IntervalUnit::Week: return AddToDate(m.now, DatePart::Week, amount);
        case IntervalUnit::Month: return monthDay(AddToDate(m.now, DatePart::Month, amount), k.day);
        case IntervalUnit::Year: return monthDay(AddToDate(m.now, DatePart::Year, amount), k.day);
        default: return std::nullopt;
      }
    }
    case RepeatMode::LunarMonthly: {
      int year = m.lunar.year, month = m.lunar.month, leap = m.lunar.leap;
      StepLunarMonth(year, month, leap);
      auto day = LunarDayNumber(year, month, leap, TextNumber(r.txdays));
      if (!day) return std::nullopt;
      return AtSecondOfDay(*day, m.secondOfDay);
    }
    case RepeatMode::LunarYearly: {
      const int month = TextNumber(r.txmonth), leap = ToFlag(r.nlry);
      auto year = NextLunarYearWith(m.lunar.year, month, leap);
      auto day = year ? LunarDayNumber(*year, month, leap, TextNumber(r.txdays)) : std::nullopt;
      if (!day) return std::nullopt;
      return AtSecondOfDay(*day, m.secondOfDay);
    }
    default:
      return std::nullopt;
  }
}

// The notice test: only while notice units are left, so a notice whose occurrence never
// comes runs down once and then waits for the next occurrence.
bool NoticeDue(const ReminderRecord& r, const CheckMoment& m) {
  if (r.NoticeUnitsLeft < 1) return false;
  switch (r.txfs) {
    case RepeatMode::Once:
    case RepeatMode::LunarOnce:
      return m.seconds < LinearSeconds(r.ksdate) && m.seconds == LinearSeconds(r.NoticeTime);
    case RepeatMode::Daily:
      return m.secondOfDay == SecondOfDay(r.NoticeTime);
    default:
      return m.seconds == LinearSeconds(r.NoticeTime);
  }
}

enum class ModeFiring { None, Occurrence, Notice };

// What the repeat mode of a record says of the second, without moving anything on.
ModeFiring ClassifyMode(const ReminderRecord& r, const CheckMoment& m) {
  if (r.tqsj <= 0 || !HasNoticeVariant(r)) return OccursWithoutNotice(r, m) ? ModeFiring::Occurrence : ModeFiring::None;
  switch (OccursWithNotice(r, m)) {
    case Occurrence::NoTest: return ModeFiring::None;
    case Occurrence::Due: return ModeFiring::Occurrence;
    case Occurrence::NotDue: return NoticeDue(r, m) ? ModeFiring::Notice : ModeFiring::None;
  }
  return ModeFiring::None;
}

// Runs the repeat mode: what fires, with the notice fields moved on.
ModeFiring RunModeRule(ReminderRecord& r, const CheckMoment& m) {
  const ModeFiring firing = ClassifyMode(r, m);
  if (firing == ModeFiring::Occurrence && r.tqsj > 0 && HasNoticeVariant(r)) {
    auto next = NextOccurrence(r, m);
    r.NoticeTime = next ? AddToDate(*next, r.tqdw, -static_cast<std::int64_t>(r.tqsj)) : 0.0;
    r.NoticeUnitsLeft = next ? r.tqsj : 0;
  } else if (firing == ModeFiring::Notice) {
    r.IsNoticeFiring = 1;
    r.NoticeTime = AddToDate(m.now, r.tqdw, 1);
  }
  return firing;
}

}  // namespace

bool HasNoticeVariant(const ReminderRecord& r) {
  if (r.txfs < RepeatMode::Once || r.txfs > RepeatMode::LunarYearly) return false;
  return r.txfs != RepeatMode::Interval ||
         (r.cfdw >= IntervalUnit::Minute && r.cfdw <= IntervalUnit::Year);
}

CheckMoment MakeCheckMoment(double now) {
  CheckMoment m;
  m.seconds = LinearSeconds(now);
  m.now = DateTimeFromSeconds(m.seconds);
  m.today = DayNumber(now);
  m.secondOfDay = SecondOfDay(now);
  const DateTimeParts p = SplitDateTime(now);
  m.year = p.year;
  m.month = p.month;
  m.day = p.day;
  m.daysInMonth = DaysInMonth(p.year, p.month);
  m.hour = p.hour;
  m.minute = p.minute;
  m.second = p.second;
  m.weekday = p.weekday;
  m.weekdayText = WeekdayText(p.weekday);
  m.lunarKnown = lunar::SolarToLunar(m.now, m.lunar);
  return m;
}

DueOutcome CheckDue(ReminderRecord& r, const CheckMoment& m) {
  DueOutcome out;
  bool skip = r.txzt == 1;
  bool fired = false;
  if (r.xctx == 1) {
    const std::int64_t again = LinearSeconds(r.txdate);
    if (m.seconds >= again) {
      // Due now or passed unfired: either way it is spent, and the row is told so.
      fired = m.seconds == again;
      r.xctx = 0;
      r.txdate = r.ksdate;
      out.clearedRemindAgain = r.id >= 1;
      if (fired) {
        r.IsNoticeFiring = 0;
        skip = true;  // the remind-again is this second's firing
      }
    }
  }
  if (r.cfcs > 0 && r.cfjs >= r.cfcs) skip = true;
  if (OutsideDateRange(r, m.today)) skip = true;

  bool notice = false;
  if (r.xctx == 1) {
    // A pending remind-again holds the repeat mode back: what it would fire is put off.
    out.putOff = !skip && r.id >= 1 && ClassifyMode(r, m) != ModeFiring::None;
  } else if (!skip) {
    r.IsNoticeFiring = 0;
    const ModeFiring mode = RunModeRule(r, m);
    fired = mode != ModeFiring::None;
    notice = mode == ModeFiring::Notice;
  }
  if (fired && r.id >= 1) {
    if (r.cfcs > 0 && r.IsNoticeFiring == 0) {
      if (r.cfjs < std::numeric_limits<int>::max()) ++r.cfjs;  // imported rows hold anything
      out.counterToStore = r.cfcsdw == RepeatCountUnit::TimesTotal;
    }
    out.report = r;
    if (notice) --r.NoticeUnitsLeft;
  }
  return out;
}

std::vector<DueWrite> CollectDue(ReminderList& list, double now, ReminderList& fired) {
  fired.clear();
  std::vector<DueWrite> writes;
  const CheckMoment m = MakeCheckMoment(now);
  for (ReminderRecord& r : list) {
    DueOutcome o = CheckDue(r, m);
    if (o.clearedRemindAgain)
      writes.push_back({DueWrite::ClearRemindAgain, r.id, r.ksdate, 0});
    if (o.counterToStore) writes.push_back({DueWrite::StoreRepeatCounter, r.id, 0, r.cfjs});
    if (o.report) fired.push_back(std::move(*o.report));
  }
  return writes;
}

}  // namespace workmemo
