#include "reminders/store/schedule_index.h"

#include <algorithm>
#include <array>

#include "platform/lunar/lunar.h"
#include "reminders/store/calendar.h"
#include "reminders/store/rules_common.h"

namespace workmemo {
namespace {

// How a record's days are found; Plain runs FallsOnDay itself.
enum DayRule : std::uint8_t {
  Never, OnStartDay, Weekdays, MonthDay, YearDay, LunarMonthDay, LunarYearDay,
  EveryMinutes, EveryHours, EveryDays, EveryWeeks, EveryMonths, EveryYears, DayDigit, Plain,
};

// The due check's keys: a second of the day, a second of the hour, a second of the minute,
// or every second.
constexpr std::int32_t kNoKey = -1;
constexpr std::int32_t kHourKeys = 86400;
constexpr std::int32_t kMinuteKeys = kHourKeys + 3600;
constexpr std::int32_t kEverySecond = kMinuteKeys + 60;
constexpr std::int32_t kKeyCount = kEverySecond + 1;

// The days a window of up to 64 days can hold a fast answer for: their calendar facts never
// clamp at the ends of the valid range.
const std::int64_t kFirstFastDay = DayNumber(kMinDateTime) + 1;
const std::int64_t kLastFastDay = DayNumber(kMaxDateTime) - 1;

using Mask = std::uint64_t;

// What one window of up to 64 consecutive days offers the records: for each fact a record
// can hold, the days it matches.
struct Window {
  std::int64_t first = 0;
  int count = 0;
  std::vector<CheckMoment> moments;
  std::array<Mask, 8> weekday{};         // [w], 1 = Sunday
  std::array<Mask, 32> monthDay{};       // [wanted day 0..31]: m.day == min(wanted, days in month)
  std::array<Mask, 13> month{};          // [1..12]
  std::array<Mask, 31> lunarDay{};       // [wanted day 0..30], clamped to the lunar month
  std::array<std::array<Mask, 13>, 2> lunarMonth{};  // [leap][month]

  void Fill(std::int64_t firstDay, int days) {
    first = firstDay;
    count = days;
    moments.clear();
    weekday.fill(0);
    monthDay.fill(0);
    month.fill(0);
    lunarDay.fill(0);
    for (auto& m : lunarMonth) m.fill(0);
    for (int i = 0; i < days; ++i) {
      moments.push_back(MakeCheckMoment(DateTimeFromSeconds((firstDay + i) * kSecondsPerDay)));
      const CheckMoment& m = moments.back();
      const Mask bit = Mask{1} << i;
      weekday[static_cast<std::size_t>(m.weekday)] |= bit;
      month[static_cast<std::size_t>(m.month)] |= bit;
      for (int wanted = 1; wanted <= 31; ++wanted)
        if (m.day == std::min(wanted, m.daysInMonth)) monthDay[static_cast<std::size_t>(wanted)] |= bit;
      if (!m.lunarKnown) continue;
      lunarMonth[static_cast<std::size_t>(m.lunar.leap != 0)][static_cast<std::size_t>(m.lunar.month)] |= bit;
      const int length = platform::lunar::LunarMonthDays(m.lunar.year, m.lunar.month, m.lunar.leap);
      for (int wanted = 1; wanted <= 30; ++wanted)
        if (m.lunar.day == std::min(wanted, length)) lunarDay[static_cast<std::size_t>(wanted)] |= bit;
    }
  }

  Mask DaysBetween(std::int64_t from, std::int64_t to) const {
    from = std::max(from, first);
    to = std::min(to, first + count - 1);
    if (from > to) return 0;
    const int n = static_cast<int>(to - from + 1);
    const Mask run = n >= 64 ? ~Mask{0} : (Mask{1} << n) - 1;
    return run << (from - first);
  }
};

Mask IntervalDays(const ScheduleIndex::DayFacts& f, const Window& w) {
  const std::int64_t amount = f.amount;
  Mask mask = 0;
  for (int i = 0; i < w.count; ++i) {
    const CheckMoment& m = w.moments[static_cast<std::size_t>(i)];
    const std::int64_t days = m.today - f.startDay;
    bool on = false;
    switch (f.rule) {
      case EveryMinutes: on = SubDailyOnDay(days * 1440, amount, 1440, days == 0); break;
      case EveryHours: on = SubDailyOnDay(days * 24, amount, 24, days == 0); break;
      case EveryDays: on = days % amount == 0; break;
      case EveryWeeks: {
        // Sundays crossed from the start day's date.
        std::int64_t weeks = days / 7;
        if (days > 0 && m.weekday < f.startWeekday) ++weeks;
        if (days < 0 && f.startWeekday < m.weekday) --weeks;
        on = weeks % amount == 0;
        break;
      }
      case EveryMonths:
      case EveryYears: {
        if (m.day != std::min<int>(f.startDayOfMonth, m.daysInMonth)) break;
        if (f.rule == EveryMonths)
          on = (12 * (static_cast<std::int64_t>(m.year) - f.startYear) + m.month - f.startMonth) % amount == 0;
        else
          on = m.month == f.startMonth && (static_cast<std::int64_t>(m.year) - f.startYear) % amount == 0;
        break;
      }
      case DayDigit: on = (m.day - amount) % 10 == 0; break;
      default: break;
    }
    if (on) mask |= Mask{1} << i;
  }
  return mask;
}

// The days of the window the record is listed on, before its range and repeat limit.
Mask RuleDays(const ScheduleIndex::DayFacts& f, const ReminderRecord& r, const Window& w) {
  switch (f.rule) {
    case OnStartDay: return w.DaysBetween(f.startDay, f.startDay);
    case Weekdays: {
      Mask mask = 0;
      for (int d = 1; d <= 7; ++d)
        if (f.weekdays & (1u << (d - 1))) mask |= w.weekday[static_cast<std::size_t>(d)];
      return mask;
    }
    case MonthDay: return w.monthDay[static_cast<std::size_t>(f.day)];
    case YearDay:
      return f.month >= 1 && f.month <= 12
                 ? w.monthDay[static_cast<std::size_t>(f.day)] & w.month[static_cast<std::size_t>(f.month)]
                 : 0;
    case LunarMonthDay: return w.lunarDay[static_cast<std::size_t>(std::min(f.day, 30))];
    case LunarYearDay:
      return f.month >= 1 && f.month <= 12
                 ? w.lunarDay[static_cast<std::size_t>(std::min(f.day, 30))] & w.lunarMonth[f.leap][static_cast<std::size_t>(f.month)]
                 : 0;
    case Plain: {
      Mask mask = 0;
      for (int i = 0; i < w.count; ++i)
        if (FallsOnDay(r, w.moments[static_cast<std::size_t>(i)])) mask |= Mask{1} << i;
      return mask;
    }
    case Never: return 0;
    default: return IntervalDays(f, w);
  }
}

std::uint8_t IntervalRule(int unit) {
  switch (unit) {
    case IntervalUnit::Minute: return EveryMinutes;
    case IntervalUnit::Hour: return EveryHours;
    case IntervalUnit::Day: return EveryDays;
    case IntervalUnit::Week: return EveryWeeks;
    case IntervalUnit::Month: return EveryMonths;
    case IntervalUnit::Year: return EveryYears;
    case IntervalUnit::DayDigit: return DayDigit;
    case IntervalUnit::MinuteSinceLoad: return Plain;  // counted from txdate, which moves
    default: return Never;
  }
}

std::int32_t ClampWanted(int wanted) { return std::clamp(wanted, 0, 31); }

}  // namespace

void ScheduleIndex::Derive(const ReminderRecord& r, std::size_t pos) {
  DayFacts f;
  const std::int64_t startDay = DayNumber(r.ksdate);
  f.startDay = static_cast<std::int32_t>(startDay);
  if (r.ksdate != r.jsdate && DayNumber(r.jsdate) != startDay) {
    f.ranged = 1;
    f.rangeFrom = f.startDay;
    f.rangeTo = static_cast<std::int32_t>(DayNumber(r.jsdate));
  }
  f.listable = r.id >= 1;
  f.limited = r.cfcs > 0 && r.cfcsdw == RepeatCountUnit::TimesTotal;
  f.day = ClampWanted(TextNumber(r.txdays));
  f.month = TextNumber(r.txmonth);
  f.leap = static_cast<std::uint8_t>(ToFlag(r.nlry));
  switch (r.txfs) {
    case RepeatMode::Once:
    case RepeatMode::LunarOnce: f.rule = OnStartDay; break;
    case RepeatMode::Daily:
    case RepeatMode::Weekly:
      f.rule = Weekdays;
      for (int d = 1; d <= 7; ++d) {
        const std::string text = WeekdayText(d);
        const bool on = r.txfs == RepeatMode::Daily ? !HasPiece(r.notxweek, text) : WeekListMatches(r.txweek, text);
        if (on) f.weekdays = static_cast<std::uint8_t>(f.weekdays | (1u << (d - 1)));
      }
      break;
    case RepeatMode::Monthly: f.rule = MonthDay; break;
    case RepeatMode::Yearly: f.rule = YearDay; break;
    case RepeatMode::LunarMonthly: f.rule = LunarMonthDay; break;
    case RepeatMode::LunarYearly: f.rule = LunarYearDay; break;
    case RepeatMode::Interval: {
      const std::int64_t amount = IntervalAmount(r.cfsj);
      f.amount = static_cast<std::uint32_t>(amount);
      f.rule = amount == 0 ? static_cast<std::uint8_t>(Never) : IntervalRule(r.cfdw);
      const DateTimeParts k = SplitDateTime(r.ksdate);
      f.startYear = k.year;
      f.startMonth = static_cast<std::uint8_t>(k.month);
      f.startDayOfMonth = static_cast<std::uint8_t>(k.day);
      f.startWeekday = static_cast<std::uint8_t>(k.weekday);
      break;
    }
    default: f.rule = Never; break;
  }
  // A start at the ends of the valid range is left to the plain rule.
  if (f.rule != Never && (startDay < kFirstFastDay || startDay > kLastFastDay)) f.rule = Plain;
  facts_[pos] = f;
}

// The keys of the seconds in which the due check can change or fire the record: its
// occurrence's and its pending notice's. A pending remind-again, or a notice that fired in
// the second checked before, is looked at in every second, as the plain check does.
void ScheduleIndex::SetDueKeys(const ReminderRecord& r, std::size_t pos) {
  std::int32_t occurrence = kNoKey, notice = kNoKey;
  if (r.xctx == 1 || r.IsNoticeFiring == 1) {
    occurrence = kEverySecond;
  } else {
    const bool withNotice = r.tqsj > 0 && HasNoticeVariant(r);
    const int startSecond = SecondOfDay(r.ksdate);
    switch (r.txfs) {
      case RepeatMode::Once:
      case RepeatMode::LunarOnce:
      case RepeatMode::Daily: occurrence = startSecond; break;
      case RepeatMode::Weekly:
      case RepeatMode::Monthly:
      case RepeatMode::Yearly:
      case RepeatMode::LunarMonthly:
      case RepeatMode::LunarYearly: occurrence = withNotice ? startSecond : SecondOfDay(r.kstime); break;
      case RepeatMode::Interval:
        if (IntervalAmount(r.cfsj) == 0) break;
        switch (r.cfdw) {
          case IntervalUnit::Minute:
          case IntervalUnit::MinuteSinceLoad: occurrence = kMinuteKeys + startSecond % 60; break;
          case IntervalUnit::Hour: occurrence = kHourKeys + startSecond % 3600; break;
          case IntervalUnit::Day:
          case IntervalUnit::Week:
          case IntervalUnit::Month:
          case IntervalUnit::Year: occurrence = SecondOfDay(r.kstime); break;
          case IntervalUnit::DayDigit: occurrence = startSecond; break;
          default: break;
        }
        break;
      default: break;
    }
    if (withNotice && r.NoticeUnitsLeft >= 1) notice = SecondOfDay(r.NoticeTime);
  }
  const std::int32_t entry = static_cast<std::int32_t>(pos) * 2;
  const std::int32_t wanted[2] = {occurrence, notice};
  for (int k = 0; k < 2; ++k) {
    if (keys_[static_cast<std::size_t>(entry + k)] == wanted[k]) continue;
    Unlink(entry + k);
    Link(entry + k, wanted[k]);
  }
}

void ScheduleIndex::Link(std::int32_t entry, std::int32_t key) {
  const auto e = static_cast<std::size_t>(entry);
  keys_[e] = key;
  prev_[e] = next_[e] = -1;
  if (key == kNoKey) return;
  std::int32_t& head = heads_[static_cast<std::size_t>(key)];
  next_[e] = head;
  if (head >= 0) prev_[static_cast<std::size_t>(head)] = entry;
  head = entry;
}

void ScheduleIndex::Unlink(std::int32_t entry) {
  const auto e = static_cast<std::size_t>(entry);
  if (keys_[e] == kNoKey) return;
  if (prev_[e] >= 0)
    next_[static_cast<std::size_t>(prev_[e])] = next_[e];
  else
    heads_[static_cast<std::size_t>(keys_[e])] = next_[e];
  if (next_[e] >= 0) prev_[static_cast<std::size_t>(next_[e])] = prev_[e];
  keys_[e] = kNoKey;
}

void ScheduleIndex::RebuildIds(const ReminderList& list) {
  ids_.resize(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) ids_[i] = list[i].id;
  positions_.clear();
  positions_.reserve(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) positions_.emplace(list[i].id, static_cast<std::uint32_t>(i));
}

void ScheduleIndex::Rebuild(const ReminderList& list) {
  facts_.assign(list.size(), {});
  heads_.assign(kKeyCount, -1);
  next_.assign(list.size() * 2, -1);
  prev_.assign(list.size() * 2, -1);
  keys_.assign(list.size() * 2, kNoKey);
  for (std::size_t i = 0; i < list.size(); ++i) {
    Derive(list[i], i);
    SetDueKeys(list[i], i);
  }
  RebuildIds(list);
}

void ScheduleIndex::Refresh(const ReminderList& list, std::size_t pos) {
  if (pos >= facts_.size()) {
    // An appended record; anything else out of step is rebuilt whole.
    if (pos != facts_.size() || list.size() != pos + 1 || heads_.empty()) return Rebuild(list);
    facts_.emplace_back();
    ids_.push_back(list[pos].id);
    for (auto* v : {&next_, &prev_}) v->resize(v->size() + 2, -1);
    keys_.resize(keys_.size() + 2, kNoKey);
    positions_.emplace(list[pos].id, static_cast<std::uint32_t>(pos));
  } else if (ids_[pos] != list[pos].id) {
    ids_[pos] = list[pos].id;
    RebuildIds(list);
  }
  Derive(list[pos], pos);
  SetDueKeys(list[pos], pos);
}

void ScheduleIndex::Erase(const ReminderList& list, std::size_t pos) {
  if (pos >= facts_.size() || list.size() + 1 != facts_.size()) return Rebuild(list);
  // Every later entry moves down one place: the keys are kept and the lists linked afresh.
  facts_.erase(facts_.begin() + static_cast<std::ptrdiff_t>(pos));
  std::vector<std::int32_t> keys(keys_.begin(), keys_.end());
  keys.erase(keys.begin() + static_cast<std::ptrdiff_t>(pos * 2), keys.begin() + static_cast<std::ptrdiff_t>(pos * 2 + 2));
  heads_.assign(kKeyCount, -1);
  next_.assign(keys.size(), -1);
  prev_.assign(keys.size(), -1);
  keys_.assign(keys.size(), kNoKey);
  for (std::size_t e = keys.size(); e-- > 0;) Link(static_cast<std::int32_t>(e), keys[e]);
  RebuildIds(list);
}

int ScheduleIndex::Find(int id) const {
  const auto it = positions_.find(id);
  return it == positions_.end() ? 0 : static_cast<int>(it->second) + 1;
}

void ScheduleIndex::CollectDays(const ReminderList& list, double firstDay, int count, DayLists& out) const {
  const std::size_t days = static_cast<std::size_t>(std::max(count, 0));
  out.days.resize(days);
  for (auto& d : out.days) d.clear();
  const std::int64_t start = DayNumber(DateOf(firstDay));
  // A list the index does not follow is answered by the plain rule alone.
  const bool followed = facts_.size() == list.size();
  Window w;
  for (std::size_t done = 0; done < days; done += 64) {
    const int n = static_cast<int>(std::min<std::size_t>(64, days - done));
    const std::int64_t first = start + static_cast<std::int64_t>(done);
    w.Fill(first, n);
    const bool fast = followed && first >= kFirstFastDay && first + n - 1 <= kLastFastDay;
    const Mask all = w.DaysBetween(first, first + n - 1);
    for (std::size_t i = 0; i < list.size(); ++i) {
      // The facts alone decide most records: their own line of memory is read only when
      // a counter or the plain rule is needed.
      Mask mask = all;
      if (fast) {
        const DayFacts& f = facts_[i];
        if (!f.listable || f.rule == Never) continue;
        if (f.limited && list[i].cfjs >= list[i].cfcs) continue;
        if (f.ranged) mask = w.DaysBetween(f.rangeFrom, f.rangeTo);
        if (mask != 0) mask &= RuleDays(f, list[i], w);
      } else {
        if (list[i].id < 1) continue;
        for (int d = 0; d < n; ++d)
          if (!FallsOnDay(list[i], w.moments[static_cast<std::size_t>(d)])) mask &= ~(Mask{1} << d);
      }
      for (; mask != 0; mask &= mask - 1)
        out.days[done + static_cast<std::size_t>(__builtin_ctzll(mask))].push_back(static_cast<std::uint32_t>(i));
    }
  }
}

std::vector<DueWrite> ScheduleIndex::CollectDue(ReminderList& list, double now, ReminderList& fired,
                                                const std::vector<int>& settled, std::vector<int>* putOff) {
  fired.clear();
  std::vector<DueWrite> writes;
  // A store that never loaded (its file could not be opened) has no buckets yet.
  if (facts_.size() != list.size() || heads_.empty()) Rebuild(list);
  const CheckMoment m = MakeCheckMoment(now);
  candidates_.clear();
  for (const std::int32_t key : {m.secondOfDay, kHourKeys + m.secondOfDay % 3600,
                                 kMinuteKeys + m.secondOfDay % 60, kEverySecond})
    for (std::int32_t e = heads_[static_cast<std::size_t>(key)]; e >= 0; e = next_[static_cast<std::size_t>(e)])
      candidates_.push_back(static_cast<std::uint32_t>(e / 2));
  // In list order, as the plain check goes.
  std::sort(candidates_.begin(), candidates_.end());
  candidates_.erase(std::unique(candidates_.begin(), candidates_.end()), candidates_.end());
  for (const std::uint32_t pos : candidates_) {
    ReminderRecord& r = list[pos];
    if (!settled.empty() && std::binary_search(settled.begin(), settled.end(), r.id)) continue;
    DueOutcome o = CheckDue(r, m);
    if (o.putOff && putOff) putOff->push_back(r.id);
    if (o.clearedRemindAgain) writes.push_back({DueWrite::ClearRemindAgain, r.id, r.ksdate, 0});
    if (o.counterToStore) writes.push_back({DueWrite::StoreRepeatCounter, r.id, 0, r.cfjs});
    if (o.report) fired.push_back(std::move(*o.report));
    SetDueKeys(r, pos);
  }
  return writes;
}

}  // namespace workmemo
