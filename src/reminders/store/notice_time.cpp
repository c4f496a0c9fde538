// The first advance-notice moment of a reminder: its next occurrence as seen from a given
// second, counted back by the notice amount.
#include <algorithm>
#include <limits>

#include "platform/lunar/lunar.h"
#include "reminders/store/calendar.h"
#include "reminders/store/rules_common.h"
#include "reminders/store/schedule.h"

namespace workmemo {
namespace {

bool IsWeekdayIn(std::string_view list, int weekday) { return HasPiece(list, WeekdayText(weekday)); }
bool IsWeeklyOn(std::string_view txweek, int weekday) {
  return WeekListMatches(txweek, WeekdayText(weekday));
}

int WeekdayAfter(int weekday, int days) { return (weekday - 1 + days) % 7 + 1; }

// Steps `amount` units on from the candidate of the current unit so that the unit count
// from ksdate becomes a multiple of the amount. `count` is the current unit's count.
std::int64_t UnitsToNextMultiple(std::int64_t count, std::int64_t amount) {
  const std::int64_t rest = count % amount;
  if (rest == 0) return 0;
  return count >= 0 ? amount - rest : -rest;
}

class NextOccurrenceFinder {
 public:
  NextOccurrenceFinder(const ReminderRecord& r, const CheckMoment& m)
      : r_(r), m_(m), k_(SplitDateTime(r.ksdate)), startTime_(SecondOfDay(r.ksdate)) {}

  // The next occurrence in linear seconds; nullopt when it cannot come.
  std::optional<std::int64_t> Find() const {
    switch (r_.txfs) {
      case RepeatMode::Once:
      case RepeatMode::LunarOnce:
        return LinearSeconds(r_.ksdate);  // also when it lies in the past
      case RepeatMode::Daily: return Daily();
      case RepeatMode::Weekly: return Weekly();
      case RepeatMode::Monthly: return Monthly();
      case RepeatMode::Yearly: return Yearly();
      case RepeatMode::Interval: return Interval();
      case RepeatMode::LunarMonthly: return LunarMonthly();
      case RepeatMode::LunarYearly: return LunarYearly();
      default: return std::nullopt;
    }
  }

 private:
  std::int64_t OnDay(std::int64_t day) const { return day * kSecondsPerDay + startTime_; }
  std::int64_t AtStart(int year, int month, int day) const {
    return LinearSeconds(MakeDateTime(year, month, day, k_.hour, k_.minute, k_.second));
  }
  bool Passed(std::int64_t moment) const { return m_.seconds > moment; }

  std::int64_t Daily() const {
    // Today when it is not excluded and still to come, else the next day not excluded.
    // With every weekday excluded it never fires; today is as good an answer as any.
    for (int k = 0; k <= 7; ++k) {
      if (IsWeekdayIn(r_.notxweek, WeekdayAfter(m_.weekday, k))) continue;
      if (k == 0 && Passed(OnDay(m_.today))) continue;
      return OnDay(m_.today + k);
    }
    return OnDay(m_.today);
  }

  std::int64_t Weekly() const {
    if (IsWeeklyOn(r_.txweek, m_.weekday) && !Passed(OnDay(m_.today))) return OnDay(m_.today);
    for (int k = 1; k <= 7; ++k)
      if (IsWeeklyOn(r_.txweek, WeekdayAfter(m_.weekday, k))) return OnDay(m_.today + k);
    return OnDay(m_.today);
  }

  // Day and month come from txdays and txmonth, as the occurrence test reads them.
  std::optional<std::int64_t> Monthly() const {
    const int wanted = TextNumber(r_.txdays);
    if (wanted < 1) return std::nullopt;
    std::int64_t o = AtStart(m_.year, m_.month, wanted);
    if (!Passed(o)) return o;
    const DateTimeParts next = SplitDateTime(AddToDate(MakeDateTime(m_.year, m_.month, 1, 0, 0, 0),
                                                       DatePart::Month, 1));
    return AtStart(next.year, next.month, wanted);
  }

  std::optional<std::int64_t> Yearly() const {
    const int month = TextNumber(r_.txmonth), wanted = TextNumber(r_.txdays);
    if (month < 1 || month > 12 || wanted < 1) return std::nullopt;
    std::int64_t o = AtStart(m_.year, month, wanted);
    return Passed(o) ? AtStart(m_.year + 1, month, wanted) : o;
  }

  std::optional<std::int64_t> Interval() const {
    const std::int64_t amount = IntervalAmount(r_.cfsj);
    if (amount == 0) return std::nullopt;
    const std::int64_t dayStart = m_.today * kSecondsPerDay;
    switch (r_.cfdw) {
      case IntervalUnit::Minute:
        // Counted from the candidate itself, which carries ksdate's second: counted from now,
        // a second before it in the same minute would count -1 and skip a real occurrence.
        return Stepped(dayStart + m_.hour * 3600 + m_.minute * 60 + k_.second, 60, DatePart::Minute,
                       amount);
      case IntervalUnit::Hour:
        return Stepped(dayStart + m_.hour * 3600 + k_.minute * 60 + k_.second, 3600, DatePart::Hour,
                       amount);
      case IntervalUnit::Day:
        return Stepped(OnDay(m_.today), kSecondsPerDay, DatePart::Day, amount);
      case IntervalUnit::Week: return IntervalWeek(amount);
      case IntervalUnit::Month: return IntervalMonths(amount, 1);
      case IntervalUnit::Year: return IntervalMonths(amount, 12);
      default: return std::nullopt;
    }
  }

  std::int64_t Stepped(std::int64_t candidate, std::int64_t unitSeconds, int part,
                       std::int64_t amount) const {
    const std::int64_t count =
        CountWholeUnits(DateTimeFromSeconds(candidate), r_.ksdate, part);
    std::int64_t steps = UnitsToNextMultiple(count, amount);
    if (steps == 0 && Passed(candidate)) steps = amount;
    return candidate + steps * unitSeconds;
  }

  std::int64_t IntervalWeek(std::int64_t amount) const {
    const std::int64_t count = CountWholeUnits(m_.now, r_.ksdate, DatePart::Week);
    const std::int64_t steps = UnitsToNextMultiple(count, amount);
    const std::int64_t sunday = m_.today - (m_.weekday - 1);
    const std::int64_t ksWeekday = k_.weekday;
    if (steps != 0)  // the next occurrence week: its day with ksdate's weekday
      return OnDay(sunday + 7 * steps + (ksWeekday - 1));
    if (m_.weekday > ksWeekday) return OnDay(sunday + 7 * amount + (ksWeekday - 1));
    if (m_.weekday < ksWeekday) return OnDay(sunday + (ksWeekday - 1));
    return Passed(OnDay(m_.today)) ? OnDay(m_.today + 7 * amount) : OnDay(m_.today);
  }

  // Month (12 = Year) steps: ksdate's day (and month, by the year) clamped to the month.
  std::int64_t IntervalMonths(std::int64_t amount, int monthsPerUnit) const {
    const int part = monthsPerUnit == 1 ? DatePart::Month : DatePart::Year;
    const int month = monthsPerUnit == 1 ? m_.month : k_.month;
    const double first = MakeDateTime(m_.year, month, 1, 0, 0, 0);
    auto shifted = [&](std::int64_t units) {
      const DateTimeParts p = SplitDateTime(AddToDate(first, DatePart::Month, units * monthsPerUnit));
      return AtStart(p.year, p.month, k_.day);
    };
    const std::int64_t count = CountWholeUnits(m_.now, r_.ksdate, part);
    std::int64_t steps = UnitsToNextMultiple(count, amount);
    if (steps == 0 && Passed(shifted(0))) steps = amount;
    return shifted(steps);
  }

  std::optional<std::int64_t> LunarMonthly() const {
    const int wanted = TextNumber(r_.txdays);
    if (!m_.lunarKnown) return std::nullopt;
    int year = m_.lunar.year, month = m_.lunar.month, leap = m_.lunar.leap;
    auto day = LunarDayNumber(year, month, leap, wanted);
    if (day && !Passed(OnDay(*day))) return OnDay(*day);
    StepLunarMonth(year, month, leap);
    day = LunarDayNumber(year, month, leap, wanted);
    return day ? std::optional(OnDay(*day)) : std::nullopt;
  }

  // A leap-month reminder occurs only in years that have that leap month.
  std::optional<std::int64_t> LunarYearly() const {
    const int month = TextNumber(r_.txmonth), wanted = TextNumber(r_.txdays), leap = ToFlag(r_.nlry);
    if (!m_.lunarKnown) return std::nullopt;
    if (leap == 0 || platform::lunar::LunarLeapMonth(m_.lunar.year) == month) {
      auto day = LunarDayNumber(m_.lunar.year, month, leap, wanted);
      if (day && !Passed(OnDay(*day))) return OnDay(*day);
    }
    auto year = NextLunarYearWith(m_.lunar.year, month, leap);
    auto day = year ? LunarDayNumber(*year, month, leap, wanted) : std::nullopt;
    return day ? std::optional(OnDay(*day)) : std::nullopt;
  }

  const ReminderRecord& r_;
  const CheckMoment& m_;
  const DateTimeParts k_;
  const int startTime_;
};

// The first notice tick at or after now that carries ksdate's finer fields.
double NoticeTick(const ReminderRecord& r, const CheckMoment& m, double noticeTime) {
  const DateTimeParts k = SplitDateTime(r.ksdate);
  const std::int64_t dayStart = m.today * kSecondsPerDay;
  switch (r.tqdw) {
    case DatePart::Minute:
      return DateTimeFromSeconds(dayStart + m.hour * 3600 + m.minute * 60 + k.second);
    case DatePart::Hour:
      return DateTimeFromSeconds(dayStart + m.hour * 3600 + k.minute * 60 + k.second);
    case DatePart::Day:
      return AtSecondOfDay(m.today, SecondOfDay(r.ksdate));
    default:
      return noticeTime;
  }
}

int ToUnits(std::int64_t n) {
  return static_cast<int>(std::clamp<std::int64_t>(n, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace

double ComputeNoticeTime(const ReminderRecord& record, int& unitsLeft, double now) {
  const CheckMoment m = MakeCheckMoment(now);
  const auto next = NextOccurrenceFinder(record, m).Find();
  // No occurrence to come: the zero date-time, whose notice time lies long past.
  const double occurrence = next ? DateTimeFromSeconds(*next) : 0.0;
  const double noticeTime = AddToDate(occurrence, record.tqdw, -static_cast<std::int64_t>(record.tqsj));
  if (!IsLater(noticeTime, m.now) && IsEarlier(m.now, occurrence)) {
    double tick = NoticeTick(record, m, noticeTime);
    // A tick at this very second could never be checked (the load or save is running in it).
    if (!IsLater(tick, m.now)) tick = AddToDate(tick, record.tqdw, 1);
    unitsLeft = ToUnits(CountWholeUnits(occurrence, tick, record.tqdw));
    return tick;
  }
  unitsLeft = record.tqsj;
  return noticeTime;
}

}  // namespace workmemo
