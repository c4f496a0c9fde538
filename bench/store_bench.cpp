// The store over a data file of 10,000 mixed reminders (mixed_reminders.h): loading every row.
// The schedule over the loaded list is in schedule_bench.cpp.
#include <benchmark/benchmark.h>

#include "mixed_reminders.h"

namespace {

void BM_LoadReminders(benchmark::State& state) {
  workmemo::ReminderStore& store = workmemo::bench::MixedStore(10000);
  for (auto _ : state) store.LoadReminders();
  state.counters["rows"] = static_cast<double>(store.Reminders().size());
}
BENCHMARK(BM_LoadReminders)->Unit(benchmark::kMillisecond);

}  // namespace
