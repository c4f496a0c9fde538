// The schedule index against the plain rules it stands in for: seeded sets of reminders of
// every repeat mode, with lunar dates, notices, remind-agains, pauses, repeat limits and date
// ranges, give the same day lists on every day of two years and the same due reminders, table
// writes and record states in every second of whole days, while the list changes under it as
// the store changes it.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "fixtures.h"
#include "reminders/store/calendar.h"
#include "reminders/store/schedule.h"
#include "reminders/store/schedule_index.h"

namespace workmemo {
namespace {

using testing::At;
using testing::Text;
using Rng = std::mt19937;

template <typename T, std::size_t N>
T Pick(Rng& rng, const T (&pool)[N]) {
  return pool[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}
int Between(Rng& rng, int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
int Pick(Rng& rng, std::initializer_list<int> pool) {
  return pool.begin()[Between(rng, 0, static_cast<int>(pool.size()) - 1)];
}
bool OneIn(Rng& rng, int n) { return Between(rng, 1, n) == 1; }

const char* const kWeekLists[] = {"2-4-6", "1", "7", "", "1-7", "3-", "12", "3-3", "x-5", "2-3-4-5-6", "-"};
const char* const kDays[] = {"1", "15", "29", "30", "31", "0", "-2", " 7", "12.6", "x", "40", "10", "20"};
const char* const kMonths[] = {"1", "2", "3", "6", "12", "13", "0", "2.4", "7"};

// Each row makes one kind of reminder; the seed varies everything the kind leaves open.
struct Kind {
  const char* what;
  int mode;
  std::function<void(ReminderRecord&, Rng&)> vary;
};

const Kind kKinds[] = {
    {"once", RepeatMode::Once, {}},
    {"lunar once", RepeatMode::LunarOnce, {}},
    {"daily", RepeatMode::Daily, [](ReminderRecord& r, Rng& g) { r.notxweek = Pick(g, kWeekLists); }},
    {"weekly", RepeatMode::Weekly, [](ReminderRecord& r, Rng& g) { r.txweek = Pick(g, kWeekLists); }},
    {"monthly", RepeatMode::Monthly, [](ReminderRecord& r, Rng& g) { r.txdays = Pick(g, kDays); }},
    {"yearly", RepeatMode::Yearly,
     [](ReminderRecord& r, Rng& g) {
       r.txdays = Pick(g, kDays);
       r.txmonth = Pick(g, kMonths);
     }},
    {"lunar monthly", RepeatMode::LunarMonthly, [](ReminderRecord& r, Rng& g) { r.txdays = Pick(g, kDays); }},
    {"lunar yearly", RepeatMode::LunarYearly,
     [](ReminderRecord& r, Rng& g) {
       r.txdays = Pick(g, kDays);
       r.txmonth = Pick(g, kMonths);
       r.nlry = OneIn(g, 3) ? Pick(g, {1, 2}) : 0;  // 2023 has a leap 2nd month, 2025 a leap 6th
     }},
    {"every minutes", RepeatMode::Interval,
     [](ReminderRecord& r, Rng& g) {
       r.cfdw = IntervalUnit::Minute;
       r.cfsj = Pick(g, {1, 7, 90, 1000, 2880, -45, 0});
       if (OneIn(g, 2)) r.jstime = r.kstime + Between(g, 1, 20) / 24.0;  // a window of the day
     }},
    {"every hours", RepeatMode::Interval,
     [](ReminderRecord& r, Rng& g) {
       r.cfdw = IntervalUnit::Hour;
       r.cfsj = Pick(g, {1, 5, 25, 48, -3});
     }},
    {"every days, weeks, months, years", RepeatMode::Interval,
     [](ReminderRecord& r, Rng& g) {
       r.cfdw = Between(g, IntervalUnit::Day, IntervalUnit::Year);
       r.cfsj = Pick(g, {1, 2, 3, 7, -2, 0});
     }},
    {"day digits, minutes since load, seconds, unknown units", RepeatMode::Interval,
     [](ReminderRecord& r, Rng& g) {
       r.cfdw = Pick(g, {IntervalUnit::DayDigit, IntervalUnit::MinuteSinceLoad, IntervalUnit::Second, 9});
       r.cfsj = Pick(g, {1, 3, 10, 45, -7});
     }},
    {"unknown mode", 11, {}},
};

// Whole days of 2024 and 2025 and the seconds of three days in February 2024: the reminders
// start around them.
ReminderList Reminders(unsigned seed, double loadTime) {
  Rng g(seed);
  ReminderList list;
  int id = 0;
  for (const Kind& kind : kKinds) {
    for (int n = 0; n < 25; ++n) {
      ReminderRecord r;
      r.id = OneIn(g, 40) ? Pick(g, {0, -1}) : ++id;
      r.txfs = kind.mode;
      const double start = At(2024, 1, 25, 0) + Between(g, 0, 19 * 86400 - 1) / 86400.0;
      r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = start;
      r.txweek = "2-4-6";
      r.txdays = std::to_string(Between(g, 1, 31));
      r.txmonth = std::to_string(Between(g, 1, 12));
      r.nlyear = Pick(g, {2024, 2023, 2025, 1800});
      if (OneIn(g, 5)) r.kstime = r.jstime = At(2000, 1, 1) + Between(g, 0, 86399) / 86400.0;
      if (OneIn(g, 4)) r.jsdate = start + Pick(g, {3, 40, -5, 0}) + Between(g, 0, 86399) / 86400.0;
      if (OneIn(g, 4)) {
        r.tqsj = Pick(g, {1, 2, 5, 30});
        r.tqdw = Pick(g, {DatePart::Day, DatePart::Hour, DatePart::Minute, DatePart::Month});
      }
      if (OneIn(g, 6)) r.txzt = 1;
      if (OneIn(g, 6)) {
        r.xctx = 1;
        r.txdate = loadTime + Between(g, -3600, 3 * 86400) / 86400.0;
      }
      if (OneIn(g, 4)) {
        r.cfcs = Pick(g, {1, 2, 5});
        r.cfjs = Between(g, 0, 2);
        r.cfcsdw = Pick(g, {RepeatCountUnit::TimesPerRun, RepeatCountUnit::TimesTotal});
      }
      if (kind.vary) kind.vary(r, g);
      r.txbt = std::string(kind.what) + " " + std::to_string(n);
      list.push_back(r);
    }
  }
  // What a load does to every record.
  for (ReminderRecord& r : list) {
    if (r.xctx == 1 && LinearSeconds(loadTime) > LinearSeconds(r.txdate)) {
      r.xctx = 0;
      r.txdate = r.ksdate;
    }
    if (r.txfs == RepeatMode::Interval && r.cfdw == IntervalUnit::MinuteSinceLoad) {
      r.ksdate = r.jsdate = r.kstime = r.jstime = loadTime;
      if (r.xctx != 1) r.txdate = loadTime;
    }
    if (r.tqsj > 0) r.NoticeTime = ComputeNoticeTime(r, r.NoticeUnitsLeft, loadTime);
  }
  return list;
}

std::vector<std::uint32_t> PlainDay(const ReminderList& list, double day) {
  const CheckMoment m = MakeCheckMoment(DateOf(day));  // as CollectRemindersOnDay makes it
  std::vector<std::uint32_t> listed;
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i].id >= 1 && FallsOnDay(list[i], m)) listed.push_back(static_cast<std::uint32_t>(i));
  return listed;
}

void ExpectSameDays(const ScheduleIndex& index, const ReminderList& list, double first, int count) {
  DayLists lists;
  index.CollectDays(list, first, count, lists);
  ASSERT_EQ(lists.days.size(), static_cast<std::size_t>(count));
  for (int d = 0; d < count; ++d)
    ASSERT_EQ(lists.days[static_cast<std::size_t>(d)], PlainDay(list, first + d)) << "day " << Text(first + d);
}

TEST(ScheduleIndex, DayListsOfEveryDayOfTwoYearsEqualThePlainRule) {
  for (const unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    ReminderList list = Reminders(seed, At(2024, 2, 8, 23));
    ScheduleIndex index;
    index.Rebuild(list);
    // The 42 cells of each month view, from the Sunday on or before the 1st.
    for (int y = 2024; y <= 2025; ++y)
      for (int mo = 1; mo <= 12; ++mo) {
        const double first = At(y, mo, 1) - (Weekday(At(y, mo, 1)) - 1);
        ExpectSameDays(index, list, first + 0.4, 42);  // any time of the first day
      }
    // One run longer than a window; the end of the lunar calendar; the end of the valid range.
    ExpectSameDays(index, list, At(2024, 1, 1), 731);
    ExpectSameDays(index, list, At(2049, 12, 20), 70);
    ExpectSameDays(index, list, At(9999, 12, 1), 42);
    // A list the index was not built on is answered by the plain rule.
    ExpectSameDays(ScheduleIndex(), list, At(2024, 2, 25), 42);
    // Repeat counters move without the index being told: a total limit used up lists nothing.
    for (ReminderRecord& r : list) r.cfjs = r.cfcs;
    ExpectSameDays(index, list, At(2024, 2, 25), 42);
  }
}

// What the store does to a loaded record between two checks, on both lists alike.
void ChangeAsTheStoreDoes(Rng& g, ReminderList& a, ReminderList& b, ScheduleIndex& index, double now) {
  const std::size_t pos = static_cast<std::size_t>(Between(g, 0, static_cast<int>(a.size()) - 1));
  ReminderRecord& r = a[pos];
  switch (Between(g, 0, 4)) {
    case 0:  // remind again in a while
      r.xctx = 1;
      r.txdate = now + Between(g, 1, 7200) / 86400.0;
      break;
    case 1:  // pause or resume
      r.txzt = 1 - r.txzt;
      break;
    case 2:  // saved with another time and notice
      r.ksdate = r.kstime = r.jsdate = r.jstime = now + Between(g, 10, 20000) / 86400.0;
      r.tqsj = Pick(g, {0, 1, 3});
      r.tqdw = Pick(g, {DatePart::Day, DatePart::Hour, DatePart::Minute});
      if (r.tqsj > 0) r.NoticeTime = ComputeNoticeTime(r, r.NoticeUnitsLeft, now);
      break;
    case 3:  // deleted
      a.erase(a.begin() + static_cast<std::ptrdiff_t>(pos));
      b.erase(b.begin() + static_cast<std::ptrdiff_t>(pos));
      index.Erase(b, pos);
      return;
    default: {  // added
      ReminderRecord added = a[pos];
      added.id = 100000 + Between(g, 0, 1000000);
      added.ksdate = added.kstime = added.jsdate = added.jstime = now + Between(g, 10, 5000) / 86400.0;
      a.push_back(added);
      b.push_back(added);
      index.Refresh(b, b.size() - 1);
      return;
    }
  }
  b[pos] = r;
  index.Refresh(b, pos);
}

std::string State(const ReminderRecord& r) {
  return std::to_string(r.id) + " xctx " + std::to_string(r.xctx) + " txdate " + Text(r.txdate) + " cfjs " +
         std::to_string(r.cfjs) + " notice " + Text(r.NoticeTime) + " left " + std::to_string(r.NoticeUnitsLeft) +
         " firing " + std::to_string(r.IsNoticeFiring) + " paused " + std::to_string(r.txzt);
}

std::string Writes(const std::vector<DueWrite>& writes) {
  std::string text;
  for (const DueWrite& w : writes)
    text += std::to_string(w.kind) + ":" + std::to_string(w.id) + ":" + Text(w.ksdate) + ":" + std::to_string(w.cfjs) + " ";
  return text;
}

// Every second of one day, from the load an hour before its start.
void ExpectSameDueChecks(unsigned seed, int y, int mo, int d) {
  const double load = At(y, mo, d) - 1.0 / 24;
  ReminderList plain = Reminders(seed, load);
  ReminderList indexed = plain;
  ScheduleIndex index;
  index.Rebuild(indexed);
  Rng g(seed * 7919);
  ReminderList firedPlain, firedIndexed;
  const std::int64_t from = LinearSeconds(load) + 1;
  for (std::int64_t s = from; s < from + 25 * 3600; ++s) {
    const double now = DateTimeFromSeconds(s);
    const std::vector<DueWrite> writes = CollectDue(plain, now, firedPlain);
    ASSERT_EQ(Writes(index.CollectDue(indexed, now, firedIndexed)), Writes(writes)) << Text(now);
    ASSERT_EQ(firedIndexed.size(), firedPlain.size()) << Text(now);
    for (std::size_t i = 0; i < firedPlain.size(); ++i)
      ASSERT_EQ(State(firedIndexed[i]), State(firedPlain[i])) << Text(now);
    if ((s - from) % 3600 == 0) {
      ASSERT_EQ(indexed.size(), plain.size());
      for (std::size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(State(indexed[i]), State(plain[i])) << Text(now);
      for (const ReminderRecord& r : plain) ASSERT_EQ(index.Find(r.id), FindReminderIndex(plain, r.id));
      ASSERT_EQ(index.Find(99), FindReminderIndex(plain, 99));
    }
    if (s % 613 == 0) ChangeAsTheStoreDoes(g, plain, indexed, index, now);
  }
}

// Three days: the lunar new year, a Sunday, the last day of February in a leap year.
TEST(ScheduleIndex, DueChecksOfEverySecondEqualThePlainRuleOnLunarNewYear) { ExpectSameDueChecks(11, 2024, 2, 10); }
TEST(ScheduleIndex, DueChecksOfEverySecondEqualThePlainRuleOnASunday) { ExpectSameDueChecks(12, 2024, 2, 11); }
TEST(ScheduleIndex, DueChecksOfEverySecondEqualThePlainRuleAtAMonthEnd) { ExpectSameDueChecks(13, 2024, 2, 29); }

}  // namespace
}  // namespace workmemo
