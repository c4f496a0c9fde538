#include "simulated_day.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "common/database_constants.h"
#include "day_reminders.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "reminders/store/reminder_store.h"
#include "shell/reminder_tick.h"

namespace workmemo::simday {
namespace {

namespace clk = platform::clock;

constexpr std::size_t kDifferencesShown = 12;

struct Firing {
  std::int64_t second = 0;  // the wall-clock second checked
  int id = 0;
  int notice = 0;
  auto operator<=>(const Firing&) const = default;
};

// One data file and its store, loaded at the start of the day, answering the pop-up as the
// plan says the first time each reminder fires for real.
class Run {
 public:
  Run(const std::string& path, std::map<int, Reaction> reactions) : reactions_(std::move(reactions)) {
    opened_ = store_.OpenDatabase(path, kDatabasePassword) == 1;
    // Durability is not what this run measures: the writes of the check need not reach the disk.
    store_.Connection().Execute("PRAGMA synchronous=OFF");
  }
  bool opened() const { return opened_; }

  // Loads the reminders at the clock's now.
  void Load() { store_.LoadReminders(); }

  void Check(double second, std::vector<Firing>& out) {
    store_.CollectDueReminders(second, due_);
    const std::int64_t wall = clk::SecondsFromSerial(second);
    for (const ReminderRecord& r : due_) {
      out.push_back({wall, r.id, r.IsNoticeFiring});
      if (r.IsNoticeFiring == 0) React(r.id, wall);
    }
  }

 private:
  void React(int id, std::int64_t wall) {
    const auto it = reactions_.find(id);
    if (it == reactions_.end()) return;
    switch (it->second) {
      case Reaction::RemindAgain:
        store_.SetRemindAgain(id, 1, clk::SerialFromSeconds(wall + 60 * (1 + id % 9)));
        break;
      case Reaction::Pause: store_.SetPaused(id, 1); break;
      case Reaction::PauseUntilNextLoad: store_.SetPaused(id, 2); break;
      case Reaction::None: break;
    }
    reactions_.erase(it);
  }

  ReminderStore store_;
  std::map<int, Reaction> reactions_;
  ReminderList due_;
  bool opened_ = false;
};

// The time zone of the run, put back when it ends, with the test clock cleared.
class ZoneForRun {
 public:
  explicit ZoneForRun(const std::optional<std::string>& zone) : active_(zone.has_value()) {
    if (active_) previous_ = clk::SetTimeZoneForTest(zone);
  }
  ~ZoneForRun() {
    clk::ClearForTest();
    if (active_) clk::SetTimeZoneForTest(previous_);
  }
  ZoneForRun(const ZoneForRun&) = delete;
  ZoneForRun& operator=(const ZoneForRun&) = delete;

 private:
  bool active_;
  std::optional<std::string> previous_;
};

std::string WallText(std::int64_t wall) { return clk::FormatStored(clk::SerialFromSeconds(wall)); }

std::string FiringText(const char* what, const Firing& f) {
  return std::string(what) + ": reminder " + std::to_string(f.id) + " at " + WallText(f.second) +
         (f.notice ? " (notice)" : "");
}

// The data file every run starts from, and the reactions of its reminders by id.
bool WriteDayFile(const std::string& path, const std::vector<PlannedReminder>& planned,
                  std::map<int, Reaction>& reactions) {
  const auto image = platform::files::ReadResource(":/db/dstx2.dat");
  if (!image || !platform::files::WriteAll(path, *image)) return false;
  ReminderStore store;
  if (store.OpenDatabase(path, kDatabasePassword) != 1) return false;
  store.Connection().Execute("begin");
  for (const PlannedReminder& p : planned) {
    ReminderRecord r = p.record;
    if (store.SaveReminder(r) != 1) return false;
    if (p.reaction != Reaction::None) reactions[r.id] = p.reaction;
  }
  return store.Connection().Execute("commit") == 1;
}

}  // namespace

bool DayResult::ok() const {
  return secondsLost == 0 && secondsCheckedTwice == 0 && lost == 0 && doubled == 0 && extra == 0 &&
         maxLateness <= ReminderTick::kMaxSkippedSeconds + 1;
}

DayResult SimulateDay(const DayOptions& options) {
  const auto began = std::chrono::steady_clock::now();
  ZoneForRun zoneForRun(options.timeZone);
  DayResult result;

  const std::int64_t dayStartWall = clk::SecondsFromSerial(clk::SerialFromFields({options.year, options.month, options.day}));
  const std::int64_t fromWall = dayStartWall + options.fromSecond;
  const std::int64_t toWall = dayStartWall + options.toSecond;
  const std::int64_t roughUnix = dayStartWall - kSerialToUnixSeconds;
  const DayZone zone(roughUnix - 2 * 86400, roughUnix + 3 * 86400);
  SimulatedClock clock(zone);

  // The reminders are loaded one second before the first second simulated.
  const std::int64_t loadUtc = zone.FirstUtcOfWall(fromWall) - 1;
  const std::vector<std::int64_t> lastShowings = zone.UtcsOfWall(toWall);
  const std::int64_t endUtc = lastShowings.empty() ? zone.FirstUtcOfWall(toWall) : lastShowings.back();
  const std::int64_t startMs = loadUtc * 1000 + 300;

  std::vector<PlannedStall> planned;
  const std::int64_t spanMs = (endUtc - loadUtc) * 1000;
  if (options.stallOfAMinute && spanMs > 180'000) planned.push_back({startMs + spanMs / 3, 60'000});
  if (options.clockSetBack && spanMs > 60'000) clock.StepAt(startMs + spanMs * 2 / 3, -5000);
  for (const std::int64_t change : zone.Changes()) {
    if (change <= loadUtc || change > endUtc) continue;
    ++result.offsetChanges;
    if (options.stallAcrossOffsetChanges) planned.push_back({change * 1000 - 3000, 5000});
  }

  const double dayStart = clk::SerialFromSeconds(dayStartWall);
  const std::vector<PlannedReminder> reminders =
      DayReminders(options.reminders, dayStart, options.fromSecond, options.toSecond, options.seed);
  std::map<int, Reaction> reactions;
  const std::string dayFile = options.workDir + "/day.dat";
  clk::SetUtcForTest(loadUtc);
  if (!WriteDayFile(dayFile, reminders, reactions)) {
    result.differences.push_back("the data file of the day could not be written");
    result.lost = 1;
    return result;
  }
  const auto runOn = [&](const std::string& name) {
    const std::string path = options.workDir + "/" + name + ".dat";
    platform::files::Copy(dayFile, path);
    clk::SetUtcForTest(loadUtc);
    auto run = std::make_unique<Run>(path, reactions);
    run->Load();
    return run;
  };

  // The jittered run, through the tick handler's work.
  std::mt19937_64 random(options.seed * 7919 + 17);
  const std::vector<std::int64_t> ticks =
      PlanTicks(clock, startMs, endUtc, options.jitter, planned, random, result.ticks);
  std::vector<Firing> firings;
  std::map<std::int64_t, int> timesChecked;
  std::map<std::int64_t, std::int64_t> latenessOf;  // by wall second, at its check
  std::set<std::int64_t> skippedByDesign;
  {
    auto run = runOn("jittered");
    ReminderTick tick;
    const clk::WallClockReading loaded = clk::ReadWallClock();
    tick.StartAfter(clk::SecondsFromSerial(loaded.now), loaded.utcOffset);
    std::int64_t newestShown = clk::SecondsFromSerial(loaded.now);
    std::int64_t lastOffset = loaded.utcOffset;
    for (const std::int64_t t : ticks) {
      clk::SetUtcForTest(clock.ShownUtc(t));
      const clk::WallClockReading reading = clk::ReadWallClock();
      const std::int64_t shown = clk::SecondsFromSerial(reading.now);
      // By design a tick more than 10 s late checks only the last 10 s it missed.
      if (reading.utcOffset == lastOffset && shown - newestShown > ReminderTick::kMaxSkippedSeconds + 1)
        for (std::int64_t s = newestShown + 1; s < shown - ReminderTick::kMaxSkippedSeconds; ++s)
          skippedByDesign.insert(s);
      newestShown = std::max(newestShown, shown);
      lastOffset = reading.utcOffset;
      CheckDueSeconds(tick, [&](double second) {
        const std::int64_t wall = clk::SecondsFromSerial(second);
        ++timesChecked[wall];
        if (wall >= fromWall && wall <= toWall) {
          if (const auto shownAt = clock.LastShown(wall, t)) {
            latenessOf[wall] = (t - *shownAt) / 1000;
            result.maxLateness = std::max(result.maxLateness, latenessOf[wall]);
          } else {
            latenessOf[wall] = -1;
            ++result.secondsSkippedByChange;
            result.maxLatenessAfterChange =
                std::max(result.maxLatenessAfterChange, (t - zone.FirstUtcOfWall(wall) * 1000) / 1000);
          }
        }
        run->Check(second, firings);
      });
    }
  }

  // The reference: every wall-clock second once, in order, apart from those skipped by design;
  // and, to count what those would have fired, every second.
  const auto reference = [&](const std::string& name, bool skip) {
    std::vector<Firing> out;
    auto run = runOn(name);
    for (std::int64_t wall = fromWall; wall <= toWall; ++wall) {
      if (skip && skippedByDesign.count(wall)) continue;
      clk::SetUtcForTest(zone.FirstUtcOfWall(wall));
      run->Check(clk::SerialFromSeconds(wall), out);
    }
    return out;
  };
  const std::vector<Firing> expected = reference("reference", true);
  if (!skippedByDesign.empty()) {
    for (const Firing& f : reference("every-second", false))
      if (skippedByDesign.count(f.second)) ++result.firingsSkippedByDesign;
  }

  // The seconds.
  result.seconds = toWall - fromWall + 1;
  for (std::int64_t wall = fromWall; wall <= toWall; ++wall) {
    const auto it = timesChecked.find(wall);
    const int times = it == timesChecked.end() ? 0 : it->second;
    if (times > 0) ++result.secondsChecked;
    if (times > 1) ++result.secondsCheckedTwice;
    if (skippedByDesign.count(wall)) {
      ++result.secondsSkippedByDesign;
      if (times > 0) result.differences.push_back("checked although skipped by design: " + WallText(wall));
    } else if (times == 0) {
      ++result.secondsLost;
      if (result.differences.size() < kDifferencesShown)
        result.differences.push_back("second never checked: " + WallText(wall));
    }
  }

  // The firings.
  std::map<Firing, int> wanted;
  for (const Firing& f : expected) ++wanted[f];
  result.referenceFirings = static_cast<std::int64_t>(expected.size());
  std::map<Firing, int> seen;
  for (const Firing& f : firings) {
    if (f.second < fromWall || f.second > toWall) continue;
    ++result.firings;
    if (f.notice) ++result.notices;
    const std::int64_t lateness = latenessOf[f.second];
    if (lateness < 0) ++result.firingsAfterChange;
    if (lateness >= 1) ++result.madeUpFirings;
    const auto note = [&](const char* what) {
      if (result.differences.size() < kDifferencesShown) result.differences.push_back(FiringText(what, f));
    };
    if (++seen[f] > 1) {
      ++result.doubled;
      note("doubled");
    } else if (!wanted.count(f)) {
      ++result.extra;
      note("not in the reference");
    }
  }
  for (const auto& [f, n] : wanted) {
    if (seen.count(f)) continue;
    result.lost += n;
    if (result.differences.size() < kDifferencesShown) result.differences.push_back(FiringText("lost", f));
  }
  result.runSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  return result;
}

std::string Describe(const DayResult& r) {
  std::ostringstream out;
  out << "ticks " << r.ticks.ticks << " (twice in one second " << r.ticks.twiceInASecond << ", stalls of 2-10 s "
      << r.ticks.stalls << ", planned stalls " << r.ticks.plannedStalls << "), UTC offset changes "
      << r.offsetChanges << "\n"
      << "seconds " << r.seconds << ": checked " << r.secondsChecked << ", twice " << r.secondsCheckedTwice
      << ", skipped by design " << r.secondsSkippedByDesign << ", lost " << r.secondsLost
      << ", never shown (spring forward) " << r.secondsSkippedByChange << "\n"
      << "lateness of a check: at most " << r.maxLateness << " s; after a spring forward at most "
      << r.maxLatenessAfterChange << " s from the change\n"
      << "firings: reference " << r.referenceFirings << ", jittered run " << r.firings << " (notices " << r.notices
      << ", made up by late ticks " << r.madeUpFirings << ", in seconds a spring forward skipped "
      << r.firingsAfterChange << "), skipped by design " << r.firingsSkippedByDesign << "\n"
      << "lost " << r.lost << ", doubled " << r.doubled << ", not in the reference " << r.extra << "\n";
  for (const std::string& d : r.differences) out << "  " << d << "\n";
  out << "run time " << r.runSeconds << " s\n";
  return out.str();
}

}  // namespace workmemo::simday
