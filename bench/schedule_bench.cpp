// The schedule over a store loaded from a data file of N mixed reminders (mixed_reminders.h):
// the 42 days of a month view and the due check of one second, through the store and, for the
// due check, on the list in memory without the table writes of the firings.
#include <benchmark/benchmark.h>

#include "mixed_reminders.h"
#include "reminders/store/calendar.h"
#include "reminders/store/schedule.h"
#include "reminders/store/schedule_index.h"

namespace {

using workmemo::ReminderList;
using workmemo::ReminderRecord;
using workmemo::ReminderStore;
using workmemo::bench::At;
using workmemo::bench::MixedStore;

// The 42 cells of the March 2024 view, 25 February to 6 April.
const double kFirstCell = At(2024, 2, 25);

// The reminders of each of the 42 days in one pass, as positions in the loaded list.
void BM_MonthView(benchmark::State& state) {
  ReminderStore& store = MixedStore(static_cast<int>(state.range(0)));
  workmemo::DayLists days;
  std::size_t listed = 0;
  for (auto _ : state) {
    store.CollectDays(kFirstCell, 42, days);
    listed = 0;
    for (const auto& day : days.days) listed += day.size();
    benchmark::DoNotOptimize(listed);
  }
  state.counters["listed"] = static_cast<double>(listed);
}
BENCHMARK(BM_MonthView)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same asked day by day with a copy of every listed record, as the today window asks.
void BM_MonthViewCopies(benchmark::State& state) {
  ReminderStore& store = MixedStore(static_cast<int>(state.range(0)));
  ReminderList day;
  std::size_t listed = 0;
  for (auto _ : state) {
    listed = 0;
    for (int d = 0; d < 42; ++d) {
      store.CollectRemindersOnDay(kFirstCell + d, day);
      listed += day.size();
    }
    benchmark::DoNotOptimize(listed);
  }
  state.counters["listed"] = static_cast<double>(listed);
}
BENCHMARK(BM_MonthViewCopies)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One tick per second from 08:00 on a weekday, as the timer runs it, with the copies of the
// firing reminders and the table writes of their repeat counters. The store is shared by every
// run of the benchmark, so the seconds go on from run to run: a second checked again would
// measure a clock set back instead.
void BM_DueCheck(benchmark::State& state) {
  ReminderStore& store = MixedStore(static_cast<int>(state.range(0)));
  ReminderList fired;
  static std::int64_t second = workmemo::LinearSeconds(At(2024, 3, 5, 8, 0, 0));
  std::size_t firings = 0;
  for (auto _ : state) {
    store.CollectDueReminders(workmemo::DateTimeFromSeconds(second++), fired);
    firings += fired.size();
  }
  state.counters["firings"] = static_cast<double>(firings);
}
BENCHMARK(BM_DueCheck)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The list as a load at 2024-03-01 00:00:00 leaves it, in memory.
ReminderList LoadedList(int count) {
  ReminderList list;
  const double load = At(2024, 3, 1, 0, 0, 0);
  for (int i = 0; i < count; ++i) {
    ReminderRecord r = workmemo::bench::MixedReminder(i);
    r.id = i + 1;
    if (r.txfs == workmemo::RepeatMode::Interval && r.cfdw == workmemo::IntervalUnit::MinuteSinceLoad)
      r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = load;
    if (r.tqsj > 0) r.NoticeTime = workmemo::ComputeNoticeTime(r, r.NoticeUnitsLeft, load);
    list.push_back(r);
  }
  return list;
}

// The due check alone: the index, and the plain rule over every record it stands in for.
void BM_DueCheckInMemory(benchmark::State& state) {
  ReminderList list = LoadedList(static_cast<int>(state.range(0)));
  workmemo::ScheduleIndex index;
  index.Rebuild(list);
  ReminderList fired;
  std::int64_t second = workmemo::LinearSeconds(At(2024, 3, 5, 8, 0, 0));
  for (auto _ : state) index.CollectDue(list, workmemo::DateTimeFromSeconds(second++), fired);
}
BENCHMARK(BM_DueCheckInMemory)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_DueCheckPlainRule(benchmark::State& state) {
  ReminderList list = LoadedList(static_cast<int>(state.range(0)));
  ReminderList fired;
  std::int64_t second = workmemo::LinearSeconds(At(2024, 3, 5, 8, 0, 0));
  for (auto _ : state) workmemo::CollectDue(list, workmemo::DateTimeFromSeconds(second++), fired);
}
BENCHMARK(BM_DueCheckPlainRule)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
