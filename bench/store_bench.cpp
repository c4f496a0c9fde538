// The store over a data file of N reminders of mixed repeat modes, intervals, weekday lists,
// lunar dates, notices, pauses and date ranges, spread over the seconds of the day.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "reminders/store/calendar.h"
#include "reminders/store/reminder_store.h"

namespace {

using workmemo::ReminderRecord;
using workmemo::ReminderStore;

double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return platform::clock::SerialFromFields({y, mo, d, h, mi, s});
}

ReminderRecord Mixed(int i) {
  ReminderRecord r;
  const double start = At(2024, 1, 1 + i % 28, i % 24, (i / 24) % 60, (i / 7) % 60);
  r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = start;
  r.txfs = i % 9;
  r.txbt = "会议提醒 " + std::to_string(i);
  r.txnr = std::string(120, 'x');
  r.txlx = i % 2 ? "工作" : "个人";
  r.txweek = "2-4-6";
  r.notxweek = i % 3 ? "" : "1-7";
  r.txmonth = std::to_string(1 + i % 12);
  r.txdays = std::to_string(1 + i % 31);
  r.nlyear = 2024;
  r.cfdw = 1 + i % 8;
  r.cfsj = 1 + i % 5;
  if (i % 4 == 0) {
    r.tqsj = 2;
    r.tqdw = 5 + i % 3;
  }
  if (i % 5 == 0) r.jsdate = start + 200;  // a date range
  if (i % 17 == 0) r.txzt = 1;
  if (i % 11 == 0) {
    r.cfcs = 100;
    r.cfcsdw = 1;
  }
  return r;
}

// One data file per size, filled once and kept for the run.
struct Fixture {
  std::string dir;
  ReminderStore store;
};

ReminderStore& StoreOf(int count) {
  static std::map<int, std::unique_ptr<Fixture>> fixtures;
  auto& f = fixtures[count];
  if (f) return f->store;
  f = std::make_unique<Fixture>();
  f->dir = (std::filesystem::temp_directory_path() / ("workmemo-store-bench-" + std::to_string(count))).string();
  std::filesystem::create_directories(f->dir);
  const std::string path = f->dir + "/dstx2.dat";
  platform::files::WriteAll(path, *platform::files::ReadResource(":/db/dstx2.dat"));
  f->store.OpenDatabase(path, workmemo::kDatabasePassword);
  platform::clock::SetForTest(At(2024, 3, 1, 0, 0, 0));
  f->store.Connection().Execute("begin");
  for (int i = 0; i < count; ++i) {
    ReminderRecord r = Mixed(i);
    f->store.SaveReminder(r);
  }
  f->store.Connection().Execute("commit");
  f->store.LoadReminders();
  return f->store;
}

void BM_CollectDueReminders(benchmark::State& state) {
  ReminderStore& store = StoreOf(static_cast<int>(state.range(0)));
  workmemo::ReminderList fired;
  std::int64_t second = workmemo::LinearSeconds(At(2024, 3, 5, 8, 0, 0));
  std::size_t firings = 0;
  for (auto _ : state) {
    // One tick per second, as the timer runs it.
    store.CollectDueReminders(workmemo::DateTimeFromSeconds(second++), fired);
    firings += fired.size();
  }
  state.counters["firings"] = static_cast<double>(firings);
}
BENCHMARK(BM_CollectDueReminders)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_MonthViewDays(benchmark::State& state) {
  ReminderStore& store = StoreOf(10000);
  workmemo::ReminderList day;
  const double first = At(2024, 2, 25);  // the 42 cells of the March 2024 view
  for (auto _ : state) {
    std::size_t listed = 0;
    for (int d = 0; d < 42; ++d) {
      store.CollectRemindersOnDay(first + d, day);
      listed += day.size();
    }
    benchmark::DoNotOptimize(listed);
  }
}
BENCHMARK(BM_MonthViewDays)->Unit(benchmark::kMillisecond);

void BM_LoadReminders(benchmark::State& state) {
  ReminderStore& store = StoreOf(10000);
  for (auto _ : state) store.LoadReminders();
  state.counters["rows"] = static_cast<double>(store.Reminders().size());
}
BENCHMARK(BM_LoadReminders)->Unit(benchmark::kMillisecond);

}  // namespace
