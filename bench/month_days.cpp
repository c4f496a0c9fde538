// The whole-process month view, for comparison with the calendar program `remind`
// (month_vs_remind.sh):
//   month_days generate N DIR   writes N reminders of one seeded mix both into DIR/dstx2.dat,
//                               our encrypted data file, and as the script DIR/reminders.rem
//   month_days show FILE Y M D  opens the data file, loads it, finds the reminders of each of the
//                               42 days from Y-M-D and prints them as `remind -s+6 -b2` does:
//                               "YYYY/MM/DD * * * MINUTE TITLE", one line per reminder and day
// The mix uses only what both programs read alike: one-off dates, every day, two weekdays of
// every week, a day (1 to 28) of every month or of one month a year, and every k days from a
// start before the views compared; times on whole minutes spread over the day.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "reminders/store/calendar.h"
#include "reminders/store/reminder_store.h"
#include "reminders/store/schedule_index.h"

namespace {

using workmemo::ReminderRecord;
using workmemo::RepeatMode;

const char* const kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kWeekdayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

double At(int y, int mo, int d, int minute = 0) {
  return platform::clock::SerialFromFields({y, mo, d, minute / 60, minute % 60, 0});
}

// One reminder of the mix and the same reminder as a line of the script.
struct Generated {
  ReminderRecord record;
  std::string script;
};

Generated Generate(std::mt19937& rng, int i) {
  auto between = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  Generated g;
  ReminderRecord& r = g.record;
  const int minute = between(0, 1439);
  const std::string at = " AT " + std::to_string(minute / 60) + ":" + (minute % 60 < 10 ? "0" : "") +
                         std::to_string(minute % 60);
  r.txbt = "r" + std::to_string(i);
  const int kind = between(1, 100);
  if (kind <= 40) {  // once, in the first half of 2024
    r.txfs = RepeatMode::Once;
    const int month = between(1, 6), day = between(1, 28);
    r.ksdate = At(2024, month, day, minute);
    g.script = "REM " + std::to_string(day) + " " + kMonthNames[month - 1] + " 2024" + at;
  } else if (kind <= 45) {  // every day
    r.txfs = RepeatMode::Daily;
    r.ksdate = At(2024, 1, 1, minute);
    g.script = "REM" + at;
  } else if (kind <= 60) {  // two weekdays of every week
    r.txfs = RepeatMode::Weekly;
    const int a = between(1, 7);
    int b = between(1, 6);
    if (b >= a) ++b;
    r.txweek = std::to_string(std::min(a, b)) + "-" + std::to_string(std::max(a, b));
    r.ksdate = At(2024, 1, 1, minute);
    g.script = std::string("REM ") + kWeekdayNames[a - 1] + " " + kWeekdayNames[b - 1] + at;
  } else if (kind <= 75) {  // a day of every month
    r.txfs = RepeatMode::Monthly;
    const int day = between(1, 28);
    r.txdays = std::to_string(day);
    r.ksdate = At(2024, 1, 1, minute);
    g.script = "REM " + std::to_string(day) + at;
  } else if (kind <= 90) {  // a day of one month every year
    r.txfs = RepeatMode::Yearly;
    const int month = between(1, 12), day = between(1, 28);
    r.txmonth = std::to_string(month);
    r.txdays = std::to_string(day);
    r.ksdate = At(2024, 1, 1, minute);
    g.script = "REM " + std::to_string(day) + " " + kMonthNames[month - 1] + at;
  } else {  // every k days from a day of 2023
    r.txfs = RepeatMode::Interval;
    r.cfdw = workmemo::IntervalUnit::Day;
    r.cfsj = between(2, 9);
    const int month = between(1, 12), day = between(1, 28);
    r.ksdate = At(2023, month, day, minute);
    g.script = "REM " + std::to_string(day) + " " + kMonthNames[month - 1] + " 2023 *" + std::to_string(r.cfsj) + at;
  }
  r.jsdate = r.kstime = r.jstime = r.txdate = r.ksdate;
  r.txlx = "bench";
  g.script += " MSG " + r.txbt + "\n";
  return g;
}

int GenerateFiles(int count, const std::string& dir) {
  std::filesystem::create_directories(dir);
  const std::string path = dir + "/dstx2.dat";
  std::filesystem::remove(path);
  if (platform::files::WriteAll(path, *platform::files::ReadResource(":/db/dstx2.dat")) != 1) return 1;
  workmemo::ReminderStore store;
  if (store.OpenDatabase(path, workmemo::kDatabasePassword) != 1) return 1;
  std::mt19937 rng(23);
  std::string script;
  store.Connection().Execute("begin");
  for (int i = 0; i < count; ++i) {
    Generated g = Generate(rng, i);
    if (store.SaveReminder(g.record) != 1) return 1;
    script += g.script;
  }
  store.Connection().Execute("commit");
  return platform::files::WriteAll(dir + "/reminders.rem", script) == 1 ? 0 : 1;
}

int Show(const std::string& path, double firstDay) {
  workmemo::ReminderStore store;
  if (store.OpenDatabase(path, workmemo::kDatabasePassword) != 1 || store.LoadReminders() != 1) return 1;
  workmemo::DayLists days;
  store.CollectDays(firstDay, 42, days);
  const workmemo::ReminderList& list = store.Reminders();
  std::string out;
  char date[32];
  for (std::size_t d = 0; d < days.days.size(); ++d) {
    const workmemo::DateTimeParts p = workmemo::SplitDateTime(firstDay + static_cast<double>(d));
    std::snprintf(date, sizeof date, "%04d/%02d/%02d * * * ", p.year, p.month, p.day);
    for (const std::uint32_t pos : days.days[d]) {
      const ReminderRecord& r = list[pos];
      out += date;
      out += std::to_string(workmemo::SecondOfDay(r.ksdate) / 60);
      out += ' ';
      out += r.txbt;
      out += '\n';
    }
  }
  return std::fwrite(out.data(), 1, out.size(), stdout) == out.size() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "generate" && argc == 4) return GenerateFiles(std::atoi(argv[2]), argv[3]);
  if (command == "show" && argc == 6)
    return Show(argv[2], At(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])));
  std::fprintf(stderr, "usage: month_days generate N DIR | month_days show FILE YEAR MONTH DAY\n");
  return 2;
}
