// The simulated day at full size, for its figures:
//   simulated_day [--reminders N] [--seed S] [--day YYYY-MM-DD --tz ZONE] [--from HH:MM:SS] [--to HH:MM:SS]
// Without --day it runs an ordinary day in Asia/Shanghai, the two daylight-saving days of
// 2024 in America/New_York, the two of 2011 in Antarctica/Troll (two hours forward, and back),
// the day of 2010 whose first minute America/St_Johns showed again (back from 00:01 to 23:01)
// and the one of 1988 when it went back two hours from 00:01, and the ordinary day with the
// clock set back 30 s, 10 min and 1 h, the last just after a compaction. Exits 1 when any
// firing was lost, doubled or not in the reference.
#include <cstdio>
#include <cstdlib>
#include <stdlib.h>
#include <filesystem>
#include <string>
#include <vector>

#include "simulated_day.h"

namespace {

using workmemo::simday::DayOptions;

int SecondOfDay(const std::string& text) {
  int h = 0, m = 0, s = 0;
  std::sscanf(text.c_str(), "%d:%d:%d", &h, &m, &s);
  return h * 3600 + m * 60 + s;
}

int Usage() {
  std::fprintf(stderr,
               "usage: simulated_day [--reminders N] [--seed S] [--day YYYY-MM-DD --tz ZONE] "
               "[--from HH:MM:SS] [--to HH:MM:SS]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  DayOptions base;
  std::vector<DayOptions> days;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    if (arg == "--reminders") {
      base.reminders = std::atoi(value.c_str());
    } else if (arg == "--seed") {
      base.seed = std::strtoull(value.c_str(), nullptr, 10);
    } else if (arg == "--day") {
      DayOptions d;
      if (std::sscanf(value.c_str(), "%d-%d-%d", &d.year, &d.month, &d.day) != 3) return Usage();
      days.push_back(d);
    } else if (arg == "--tz") {
      if (days.empty()) return Usage();
      days.back().timeZone = value;
    } else if (arg == "--from") {
      base.fromSecond = SecondOfDay(value);
    } else if (arg == "--to") {
      base.toSecond = SecondOfDay(value);
    } else {
      return Usage();
    }
  }
  if (days.empty()) {
    days = {DayOptions{.timeZone = "Asia/Shanghai", .year = 2024, .month = 6, .day = 12},
            DayOptions{.timeZone = "America/New_York", .year = 2024, .month = 3, .day = 10},
            DayOptions{.timeZone = "America/New_York", .year = 2024, .month = 11, .day = 3},
            DayOptions{.timeZone = "Antarctica/Troll", .year = 2011, .month = 3, .day = 27},
            DayOptions{.timeZone = "Antarctica/Troll", .year = 2011, .month = 10, .day = 30},
            DayOptions{.timeZone = "America/St_Johns", .year = 2010, .month = 11, .day = 7},
            DayOptions{.timeZone = "America/St_Johns", .year = 1988, .month = 10, .day = 30},
            DayOptions{.timeZone = "Asia/Shanghai", .year = 2024, .month = 6, .day = 12,
                       .setBacks = workmemo::simday::ClockStepsBack()}};
  }
  // A folder of this run's own: two runs at once must not share one day's data file.
  std::string pattern = (std::filesystem::temp_directory_path() / "workmemo-simulated-day-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    return 2;
  }
  const std::filesystem::path work = pattern;
  bool allOk = true;
  for (DayOptions day : days) {
    day.reminders = base.reminders;
    day.seed = base.seed;
    day.fromSecond = base.fromSecond;
    day.toSecond = base.toSecond;
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    day.workDir = work.string();
    std::string setBacks;
    for (const auto& b : day.setBacks)
      setBacks += (setBacks.empty() ? "" : ", ") + std::to_string(b.byMs / 1000) + " s" +
                  (b.compactBefore ? " just after a compaction" : "");
    std::printf("== %04d-%02d-%02d %s, %d reminders, seed %llu, clock set back %s\n", day.year, day.month, day.day,
                day.timeZone.value_or("(local zone)").c_str(), day.reminders,
                static_cast<unsigned long long>(day.seed), setBacks.c_str());
    const workmemo::simday::DayResult result = workmemo::simday::SimulateDay(day);
    std::printf("%s", workmemo::simday::Describe(result).c_str());
    std::fflush(stdout);
    allOk = allOk && result.ok();
  }
  std::filesystem::remove_all(work);
  return allOk ? 0 : 1;
}
