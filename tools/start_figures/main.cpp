// Start-up figures of the real executable:
//   start_figures [--exe PATH] [--counts 0,10000,100000] [--runs N] [--seed S] [--splash] [--keep DIR]
// For each count, a fresh program directory gets a timed-reminder file of that many reminders
// in one seeded mix; the executable then starts there offscreen (WORKMEMO_POWER_DRY_RUN=1)
// N times (3 unless given; a first start that writes the skin and settings is not counted).
// A start counts as done when the process has used no processor time for 400 ms; the figures
// are the time until its last work before that pause, and its peak resident memory (VmHWM
// of /proc/<pid>/status) read then. A benchmark build of the executable also marks the end
// of its start sequence (main window built, clock and tray started): "built" is the time
// until that mark, "-" for an executable that makes none. The program starts with "aa", without the splash, unless
// --splash is given (the main window then waits for the splash to end, and so does the figure).
// --keep DIR writes the program directories under DIR and leaves them there.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "reminders/store/calendar.h"
#include "reminders/store/reminder_store.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kQuietPause = std::chrono::milliseconds(400);
constexpr auto kGiveUpAfter = std::chrono::seconds(120);

// Reminders of every repeat mode, spread over the seconds of the day and the days of two
// years, with notices, ranges, remind-again counts and contents of mixed length.
// Every one is paused, so that none opens a pop-up (whose drawing would never let the
// process rest) during a measured start; the load reads the same rows.
workmemo::ReminderRecord Mixed(std::mt19937& random, int i, double firstDay) {
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  workmemo::ReminderRecord r;
  const double start = firstDay + pick(730) + pick(86400) / 86400.0;
  r.ksdate = r.kstime = r.txdate = start;
  r.jsdate = r.jstime = pick(5) == 0 ? start + 30 + pick(300) : start;
  r.txfs = pick(9);
  r.txrw = workmemo::ReminderTask::Remind;
  r.txweek = std::to_string(1 + pick(7)) + "-" + std::to_string(1 + pick(7));
  r.notxweek = pick(3) == 0 ? "1-7" : "";
  r.txmonth = std::to_string(1 + pick(12));
  r.txdays = std::to_string(1 + pick(28));
  r.nlyear = 2025;
  r.cfsj = 1 + pick(9);
  r.cfdw = pick(8);
  if (pick(4) == 0) {
    r.tqsj = 1 + pick(3);
    r.tqdw = 5 + pick(3);
  }
  r.txzt = 1;
  if (pick(11) == 0) {
    r.cfcs = 10 + pick(90);
    r.cfcsdw = workmemo::RepeatCountUnit::TimesTotal;
  }
  r.txlx = pick(2) ? "工作" : "个人";
  r.txbt = "会议提醒 " + std::to_string(i);
  r.txnr = std::string(static_cast<std::size_t>(pick(300)), 'x');
  return r;
}

bool WriteReminders(const fs::path& home, int count, unsigned seed) {
  fs::create_directories(home / "data");
  // It is the runtime directory of the started program as well, which must be private.
  fs::permissions(home, fs::perms::owner_all);
  const std::string path = (home / "data" / "dstx2.dat").string();
  if (!platform::files::WriteAll(path, platform::files::ReadResource(":/db/dstx2.dat").value_or(""))) return false;
  workmemo::ReminderStore store;
  if (store.OpenDatabase(path, workmemo::kDatabasePassword) != 1) return false;
  std::mt19937 random(seed);
  const double today = std::floor(platform::clock::Now());
  store.Connection().Execute("begin");
  for (int i = 0; i < count; ++i) {
    workmemo::ReminderRecord r = Mixed(random, i, today);
    if (store.SaveReminder(r) != 1) return false;
  }
  return store.Connection().Execute("commit") == 1;
}

// Nanoseconds every thread of the process has run so far.
long long CpuNanoseconds(pid_t pid) {
  long long total = 0;
  std::error_code error;
  for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::ifstream in(task.path() / "schedstat");
    long long ns = 0;
    if (in >> ns) total += ns;
  }
  return total;
}

long long StatusKb(pid_t pid, const std::string& key) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(key + ":", 0) == 0) return std::atoll(line.c_str() + key.size() + 1);
  }
  return -1;
}

struct StartFigure {
  bool ok = false;
  double startMs = 0;
  double builtMs = -1;  // none marked
  double peakMiB = 0;
};

StartFigure StartOnce(const std::string& exe, const fs::path& home, bool quiet) {
  StartFigure figure;
  const fs::path mark = home / "start.mark";
  std::error_code ignored;
  fs::remove(mark, ignored);
  const Clock::time_point started = Clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) return figure;
  if (pid == 0) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("WORKMEMO_HOME", home.c_str(), 1);
    ::setenv("WORKMEMO_POWER_DRY_RUN", "1", 1);
    ::setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    ::setenv("WORKMEMO_START_MARK", mark.c_str(), 1);
    if (quiet)
      ::execl(exe.c_str(), exe.c_str(), "aa", static_cast<char*>(nullptr));
    else
      ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
    std::_Exit(127);
  }
  long long cpu = -1;
  Clock::time_point lastWork = started;
  while (Clock::now() - started < kGiveUpAfter) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) return figure;  // it ended by itself
    const long long now = CpuNanoseconds(pid);
    const Clock::time_point at = Clock::now();
    if (now != cpu) {
      cpu = now;
      lastWork = at;
    } else if (cpu > 0 && at - lastWork >= kQuietPause) {
      figure.ok = true;
      figure.startMs = std::chrono::duration<double, std::milli>(lastWork - started).count();
      figure.peakMiB = static_cast<double>(StatusKb(pid, "VmHWM")) / 1024.0;
      long long markNs = 0;
      if (std::ifstream(mark) >> markNs) {
        const long long startNs =
            std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch()).count();
        figure.builtMs = static_cast<double>(markNs - startNs) / 1e6;
      }
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ::kill(pid, SIGTERM);
  int status = 0;
  for (int i = 0; i < 300 && ::waitpid(pid, &status, WNOHANG) != pid; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (::waitpid(pid, &status, WNOHANG) == 0) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
  }
  return figure;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

std::vector<int> ParseCounts(const std::string& text) {
  std::vector<int> counts;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) counts.push_back(std::atoi(item.c_str()));
  return counts;
}

}  // namespace

int main(int argc, char** argv) {
  std::string exe = WORKMEMO_EXECUTABLE;
  std::vector<int> counts = {0, 10000, 100000};
  int runs = 3;
  unsigned seed = 1;
  bool splash = false;
  std::string keep;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--exe" && hasValue) exe = argv[++i];
    else if (arg == "--counts" && hasValue) counts = ParseCounts(argv[++i]);
    else if (arg == "--runs" && hasValue) runs = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--seed" && hasValue) seed = static_cast<unsigned>(std::atoi(argv[++i]));
    else if (arg == "--splash") splash = true;
    else if (arg == "--keep" && hasValue) keep = argv[++i];
    else {
      std::fprintf(stderr, "usage: start_figures [--exe PATH] [--counts 0,10000,100000] [--runs N] [--seed S] [--splash] [--keep DIR]\n");
      return 2;
    }
  }
  char pattern[] = "/tmp/workmemo-start-XXXXXX";
  const fs::path root = keep.empty() ? fs::path(::mkdtemp(pattern) ? pattern : "") : fs::path(keep);
  if (root.empty()) return 1;
  int failures = 0;
  std::printf("%10s %6s %10s %10s %10s %s\n", "reminders", "runs", "built ms", "rest ms", "peak MiB",
              "(medians; all runs: built/rest/peak)");
  for (const int count : counts) {
    const fs::path home = root / std::to_string(count);
    if (!WriteReminders(home, count, seed)) {
      std::fprintf(stderr, "start_figures: cannot write %d reminders under %s\n", count, home.c_str());
      ++failures;
      continue;
    }
    StartOnce(exe, home, !splash);  // writes the skin package and the settings
    std::vector<double> builts, times, peaks;
    std::string all;
    for (int run = 0; run < runs; ++run) {
      const StartFigure f = StartOnce(exe, home, !splash);
      if (!f.ok) {
        ++failures;
        all += " failed";
        continue;
      }
      if (f.builtMs >= 0) builts.push_back(f.builtMs);
      times.push_back(f.startMs);
      peaks.push_back(f.peakMiB);
      char buf[64];
      if (f.builtMs >= 0)
        std::snprintf(buf, sizeof buf, " %.0f/%.0f/%.1f", f.builtMs, f.startMs, f.peakMiB);
      else
        std::snprintf(buf, sizeof buf, " -/%.0f/%.1f", f.startMs, f.peakMiB);
      all += buf;
    }
    char built[32] = "-";
    if (!builts.empty()) std::snprintf(built, sizeof built, "%.0f", Median(builts));
    std::printf("%10d %6d %10s %10.0f %10.1f %s\n", count, runs, built, Median(times), Median(peaks), all.c_str());
    std::fflush(stdout);
  }
  std::error_code error;
  if (keep.empty()) fs::remove_all(root, error);
  return failures == 0 ? 0 : 1;
}
