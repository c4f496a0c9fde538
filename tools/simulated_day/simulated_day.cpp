#include "simulated_day.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "common/database_constants.h"
#include "day_reminders.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "reminders/store/reminder_store.h"
#include "reminders/store/reminder_store_exchange.h"
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
  Run(const std::string& path, std::map<int, Reaction> reactions) : path_(path), reactions_(std::move(reactions)) {
    Open();
  }
  bool opened() const { return opened_; }

  // Compacts the data file and reloads it as data maintenance does: closed, compacted, opened
  // again and reloaded with every row under its id. Gives the ids of the reminders the reload
  // changed, or nothing when the compaction failed.
  std::optional<std::set<int>> Compact() {
    std::map<int, ReminderRecord> before;
    for (const ReminderRecord& r : store_.Reminders()) before.emplace(r.id, r);
    const int code = CompactDatabase(store_, path_, kDatabasePassword);
    Open();
    if (code != 0 || !opened_ || store_.ReloadSameRows() != 1) return std::nullopt;
    std::set<int> changed;
    for (const ReminderRecord& r : store_.Reminders()) {
      const auto was = before.find(r.id);
      if (was == before.end() || !SameState(was->second, r)) changed.insert(r.id);
    }
    return changed;
  }

  // Loads the reminders at the clock's now.
  void Load() { store_.LoadReminders(); }

  // Saves a new reminder at the clock's now; its id, 0 when the save failed.
  int Save(ReminderRecord r) { return store_.SaveReminder(r) == 1 ? r.id : 0; }

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

  void Open() {
    opened_ = store_.OpenDatabase(path_, kDatabasePassword) == 1;
    // Durability is not what this run measures: the writes of the check need not reach the disk.
    store_.Connection().Execute("PRAGMA synchronous=OFF");
  }
  // What the due check reads and moves on, apart from the fields the row fixes.
  static bool SameState(const ReminderRecord& a, const ReminderRecord& b) {
    return a.ksdate == b.ksdate && a.jsdate == b.jsdate && a.kstime == b.kstime && a.jstime == b.jstime &&
           a.txdate == b.txdate && a.xctx == b.xctx && a.txzt == b.txzt && a.cfjs == b.cfjs &&
           a.NoticeTime == b.NoticeTime && a.NoticeUnitsLeft == b.NoticeUnitsLeft &&
           a.IsNoticeFiring == b.IsNoticeFiring;
  }

  std::string path_;
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

// Writes the reminders into a data file made from the empty image, or adds them to one
// there is; gives their ids in order and the reactions of the planned ones by id.
bool WriteReminders(const std::string& path, bool fresh, const std::vector<PlannedReminder>& planned,
                    std::map<int, Reaction>& reactions, std::vector<int>& ids) {
  if (fresh) {
    const auto image = platform::files::ReadResource(":/db/dstx2.dat");
    if (!image || !platform::files::WriteAll(path, *image)) return false;
  }
  ReminderStore store;
  if (store.OpenDatabase(path, kDatabasePassword) != 1) return false;
  store.Connection().Execute("begin");
  for (const PlannedReminder& p : planned) {
    ReminderRecord r = p.record;
    if (store.SaveReminder(r) != 1) return false;
    ids.push_back(r.id);
    if (p.reaction != Reaction::None) reactions[r.id] = p.reaction;
  }
  return store.Connection().Execute("commit") == 1;
}

// Where a new time line begins: the wall clock went back, the clock set back or daylight
// saving ended, between the previous tick and this one.
struct NewLine {
  std::size_t tick = 0;      // the first tick on it
  bool fellBack = false;     // daylight saving ended
  std::int64_t shownBefore;  // the newest wall second shown before the clock went back
};

std::vector<NewLine> NewLines(const SimulatedClock& clock, const DayZone& zone, const std::vector<std::int64_t>& steps,
                              std::int64_t startMs, const std::vector<std::int64_t>& ticks) {
  std::vector<NewLine> lines;
  std::int64_t previous = startMs;
  for (std::size_t i = 0; i < ticks.size(); previous = ticks[i++]) {
    const int step = clock.LineAt(ticks[i]);
    if (step > clock.LineAt(previous)) {
      lines.push_back({i, false, WallOfUtc(clock.ShownUtc(steps[static_cast<std::size_t>(step) - 1] - 1))});
      continue;
    }
    for (const std::int64_t change : zone.Changes())
      if (change > clock.ShownUtc(previous) && change <= clock.ShownUtc(ticks[i]) &&
          WallOfUtc(change) < WallOfUtc(change - 1))
        lines.push_back({i, true, WallOfUtc(change - 1)});
  }
  return lines;
}

// One-time reminders the person saves once the first tick on a new time line is done (at the
// wall second `savedAt`), due in the seconds the clock shows again: one 10 s later, the
// others anywhere after that up to the newest second shown before.
std::vector<PlannedReminder> SavedOnNewLine(const std::string& title, std::int64_t savedAt, std::int64_t shownBefore,
                                            std::int64_t fromWall, std::int64_t toWall, int count,
                                            std::mt19937_64& random) {
  std::vector<PlannedReminder> out;
  const std::int64_t first = std::max(savedAt + 10, fromWall), last = std::min(shownBefore, toWall);
  if (first > last) return out;
  std::uniform_int_distribution<std::int64_t> inSpan(first, last);
  for (int i = 0; i < count; ++i) {
    PlannedReminder p;
    ReminderRecord& r = p.record;
    r.txbt = title + " #" + std::to_string(i);
    r.txlx = "simulated";
    r.txfs = RepeatMode::Once;
    r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = clk::SerialFromSeconds(i == 0 ? first : inSpan(random));
    out.push_back(std::move(p));
  }
  return out;
}

}  // namespace

std::vector<SetBack> ClockStepsBack() { return {{0.45, 30'000}, {0.6, 600'000}, {0.8, 3'600'000, true}}; }

bool DayResult::ok() const {
  return secondsLost == 0 && secondsCheckedTwice == 0 && lost == 0 && doubled == 0 && extra == 0 &&
         maxLateness <= ReminderTick::kMaxSkippedSeconds + 1;
}

DayResult SimulateDay(const DayOptions& options) {
  const auto began = std::chrono::steady_clock::now();
  ZoneForRun zoneForRun(options.timeZone);
  DayResult result;

  const std::int64_t dayStartWall = clk::SecondsFromSerial(clk::SerialFromFields({options.year, options.month, options.day}));
  const std::int64_t roughUnix = dayStartWall - kSerialToUnixSeconds;
  const DayZone zone(roughUnix - 2 * 86400, roughUnix + 3 * 86400);
  // The part simulated takes in every second its run checks, as the reference must check them
  // too: what fires there (a count per run used up, a pause answered at the pop-up) carries
  // into the rest. A stretch shown twice is taken in whole where the part begins or ends inside
  // it, and so are the seconds a change skipped just before its first second.
  std::int64_t fromWall = dayStartWall + options.fromSecond;
  std::int64_t toWall = dayStartWall + options.toSecond;
  if (const auto stretch = zone.RepeatedStretchOf(fromWall)) fromWall = stretch->first;
  if (const auto stretch = zone.RepeatedStretchOf(toWall)) toWall = stretch->last;
  fromWall = std::min(fromWall, WallOfUtc(zone.FirstUtcOfWall(fromWall) - 1) + 1);
  result.firstSecond = fromWall;
  result.lastSecond = toWall;
  SimulatedClock clock(zone);

  // The reminders are loaded one second before the first second simulated.
  const std::int64_t loadUtc = zone.FirstUtcOfWall(fromWall) - 1;
  const std::vector<std::int64_t> lastShowings = zone.UtcsOfWall(toWall);
  const std::int64_t endUtc = lastShowings.empty() ? zone.FirstUtcOfWall(toWall) : lastShowings.back();
  const std::int64_t startMs = loadUtc * 1000 + 300;

  std::vector<PlannedStall> planned;
  const std::int64_t spanMs = (endUtc - loadUtc) * 1000;
  if (options.stallOfAMinute && spanMs > 180'000) planned.push_back({startMs + spanMs / 3, 60'000});
  std::vector<std::int64_t> stepMoments, compactionMoments;
  if (spanMs > 60'000) {
    for (const SetBack& b : options.setBacks) {
      stepMoments.push_back(startMs + static_cast<std::int64_t>(static_cast<double>(spanMs) * b.at));
      clock.StepAt(stepMoments.back(), -b.byMs);
      if (b.compactBefore) compactionMoments.push_back(stepMoments.back() - 3000);
    }
  }
  result.setBacks = static_cast<std::int64_t>(stepMoments.size());
  for (const std::int64_t change : zone.Changes()) {
    if (change <= loadUtc || change > endUtc) continue;
    ++result.offsetChanges;
    if (options.stallAcrossOffsetChanges) planned.push_back({change * 1000 - 3000, 5000});
  }

  std::mt19937_64 random(options.seed * 7919 + 17);
  const std::vector<std::int64_t> ticks =
      PlanTicks(clock, startMs, endUtc, options.jitter, planned, random, result.ticks);
  const std::vector<NewLine> newLines = NewLines(clock, zone, stepMoments, startMs, ticks);

  const double dayStart = clk::SerialFromSeconds(dayStartWall);
  const std::vector<PlannedReminder> reminders =
      DayReminders(options.reminders, dayStart, options.fromSecond, options.toSecond, options.seed);
  // What is saved on each new time line, planned here so that the reference holds it from
  // the load: a reminder due in a second the reference checks once fires there once.
  std::mt19937_64 savingRandom(options.seed * 31 + 7);
  std::vector<std::vector<PlannedReminder>> savedOn;
  int stepsBack = 0;
  for (const NewLine& line : newLines) {
    const std::string title = line.fellBack ? "saved in the repeated hour" : "saved after set-back " + std::to_string(++stepsBack);
    savedOn.push_back(SavedOnNewLine(title, WallOfUtc(clock.ShownUtc(ticks[line.tick])), line.shownBefore, fromWall,
                                     toWall, options.savedAfterEachSetBack, savingRandom));
  }
  std::map<int, Reaction> reactions;
  std::vector<int> dayIds;
  std::vector<std::vector<int>> savedIds(newLines.size());
  const std::string dayFile = options.workDir + "/day.dat";
  const std::string referenceFile = options.workDir + "/day-and-saved.dat";
  clk::SetUtcForTest(loadUtc);
  bool written = WriteReminders(dayFile, true, reminders, reactions, dayIds) &&
                 platform::files::Copy(dayFile, referenceFile);
  for (std::size_t k = 0; k < savedOn.size(); ++k)
    written = written && WriteReminders(referenceFile, false, savedOn[k], reactions, savedIds[k]);
  if (!written) {
    result.differences.push_back("the data file of the day could not be written");
    result.lost = 1;
    return result;
  }
  std::set<int> savedAfterStep, savedInRepeatedHour;
  for (std::size_t k = 0; k < newLines.size(); ++k)
    (newLines[k].fellBack ? savedInRepeatedHour : savedAfterStep).insert(savedIds[k].begin(), savedIds[k].end());
  result.savedAfterSetBack = static_cast<std::int64_t>(savedAfterStep.size());
  result.savedInRepeatedHour = static_cast<std::int64_t>(savedInRepeatedHour.size());
  const auto runOn = [&](const std::string& name, const std::string& from) {
    const std::string path = options.workDir + "/" + name + ".dat";
    platform::files::Copy(from, path);
    clk::SetUtcForTest(loadUtc);
    auto run = std::make_unique<Run>(path, reactions);
    run->Load();
    return run;
  };

  // The jittered run, through the tick handler's work.
  std::vector<Firing> firings;
  // Checks and skips by time line (0 until the wall clock first goes back, k after the k-th
  // time) and wall second.
  using LineSecond = std::pair<int, std::int64_t>;
  std::map<LineSecond, int> timesChecked;
  std::set<LineSecond> skippedOnLine;
  std::map<std::int64_t, std::int64_t> latenessOf;  // by wall second, at its last check
  std::set<int> changedByReload;
  std::optional<std::int64_t> checkedAfterCompaction;  // the earliest wall second
  {
    auto run = runOn("jittered", dayFile);
    ReminderTick tick;
    const clk::WallClockReading loaded = clk::ReadWallClock();
    tick.StartAfter(clk::SecondsFromSerial(loaded.now), loaded.utcOffset);
    std::map<int, std::int64_t> newestShown = {{0, clk::SecondsFromSerial(loaded.now)}};
    std::int64_t lastOffset = loaded.utcOffset;
    int line = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
      const std::int64_t t = ticks[i];
      clk::SetUtcForTest(clock.ShownUtc(t));
      const clk::WallClockReading reading = clk::ReadWallClock();
      const std::int64_t shown = clk::SecondsFromSerial(reading.now);
      const bool lineBegins = line < static_cast<int>(newLines.size()) && newLines[static_cast<std::size_t>(line)].tick == i;
      const bool fellBack = lineBegins && newLines[static_cast<std::size_t>(line)].fellBack;
      if (lineBegins) ++line;
      // By design a tick more than 10 s late checks only the last 10 s it missed.
      const auto newest = newestShown.find(line);
      if (newest == newestShown.end()) {
        newestShown[line] = shown;
      } else {
        if (reading.utcOffset == lastOffset && shown - newest->second > ReminderTick::kMaxSkippedSeconds + 1)
          for (std::int64_t s = newest->second + 1; s < shown - ReminderTick::kMaxSkippedSeconds; ++s)
            skippedOnLine.insert({line, s});
        newest->second = std::max(newest->second, shown);
      }
      lastOffset = reading.utcOffset;
      CheckDueSeconds(tick, [&](double second) {
        const std::int64_t wall = clk::SecondsFromSerial(second);
        // A tick late across daylight saving's end checks the old time line's last seconds first.
        ++timesChecked[{fellBack && wall > shown ? line - 1 : line, wall}];
        if (result.compactions > 0 && (!checkedAfterCompaction || wall < *checkedAfterCompaction))
          checkedAfterCompaction = wall;
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
      // The person saves what was planned for a new time line once its first tick is done.
      if (lineBegins) {
        const std::size_t k = static_cast<std::size_t>(line) - 1;
        for (std::size_t n = 0; n < savedOn[k].size(); ++n)
          if (run->Save(savedOn[k][n].record) != savedIds[k][n])
            result.differences.push_back("saved under another id: " + savedOn[k][n].record.txbt);
      }
      // The data file compacted a few seconds before a step back, once the tick is done.
      if (result.compactions < static_cast<std::int64_t>(compactionMoments.size()) &&
          t >= compactionMoments[static_cast<std::size_t>(result.compactions)]) {
        ++result.compactions;
        if (const auto changed = run->Compact()) {
          changedByReload.insert(changed->begin(), changed->end());
        } else {
          result.differences.push_back("the compaction failed");
          ++result.lost;
        }
      }
    }
  }

  // The seconds: checked on how many time lines, and twice on one; skipped by design on a
  // line, which the reference leaves out.
  result.seconds = toWall - fromWall + 1;
  std::map<std::int64_t, int> linesChecking;
  for (const auto& [at, times] : timesChecked) {
    ++linesChecking[at.second];
    if (times > 1 && at.second >= fromWall && at.second <= toWall) {
      ++result.secondsCheckedTwice;
      if (result.differences.size() < kDifferencesShown)
        result.differences.push_back("second checked twice on one time line: " + WallText(at.second));
    }
  }
  // A second skipped on one line and checked on another is checked with what the person did
  // meanwhile (a pause, a remind-again): it is left out of the comparison as well.
  std::set<std::int64_t> skippedByDesign;
  for (const auto& at : skippedOnLine) {
    if (timesChecked.count(at)) result.differences.push_back("checked although skipped by design: " + WallText(at.second));
    skippedByDesign.insert(at.second);
  }
  for (std::int64_t wall = fromWall; wall <= toWall; ++wall) {
    const auto it = linesChecking.find(wall);
    const int lines = it == linesChecking.end() ? 0 : it->second;
    if (lines > 0) ++result.secondsChecked;
    if (lines > 1) ++result.secondsCheckedAgain;
    if (skippedByDesign.count(wall)) {
      ++result.secondsSkippedByDesign;
      if (lines > 0) ++result.skippedSecondsCheckedOnAnotherLine;
    } else if (lines == 0) {
      ++result.secondsLost;
      if (result.differences.size() < kDifferencesShown)
        result.differences.push_back("second never checked: " + WallText(wall));
    }
  }

  // The reference: every wall-clock second once, in order, apart from those skipped by design,
  // with the reminders saved after a step there from the load; and, to count what those
  // skipped seconds would have fired, every second.
  const auto reference = [&](const std::string& name, bool skip) {
    std::vector<Firing> out;
    auto run = runOn(name, referenceFile);
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

  // The firings.
  std::map<Firing, int> wanted;
  for (const Firing& f : expected) {
    ++wanted[f];
    if (linesChecking[f.second] > 1) ++result.firingsInSecondsShownAgain;
  }
  result.referenceFirings = static_cast<std::int64_t>(expected.size());
  result.changedByReload = static_cast<std::int64_t>(changedByReload.size());
  const auto leftToTheReload = [&](const Firing& f) {
    return checkedAfterCompaction && f.second >= *checkedAfterCompaction && changedByReload.count(f.id) > 0;
  };
  // A reminder that fired in a second skipped on one time line and checked on another is left
  // out from that second on as well: that firing decides what it does next (a notice counted
  // on, a count used), which the reference never did.
  std::map<int, std::int64_t> firedWhereSkipped;  // by reminder, the earliest such second
  for (const Firing& f : firings) {
    if (!skippedByDesign.count(f.second)) continue;
    const auto [at, added] = firedWhereSkipped.emplace(f.id, f.second);
    if (!added) at->second = std::min(at->second, f.second);
  }
  const auto leftToASkippedSecond = [&](const Firing& f) {
    const auto at = firedWhereSkipped.find(f.id);
    return at != firedWhereSkipped.end() && f.second >= at->second;
  };
  std::map<Firing, int> seen;
  for (const Firing& f : firings) {
    if (f.second < fromWall || f.second > toWall) continue;
    ++result.firings;
    if (f.notice) ++result.notices;
    if (savedAfterStep.count(f.id)) ++result.firingsSavedAfterSetBack;
    if (savedInRepeatedHour.count(f.id)) ++result.firingsSavedInRepeatedHour;
    const std::int64_t lateness = latenessOf[f.second];
    if (lateness < 0) ++result.firingsAfterChange;
    if (lateness >= 1) ++result.madeUpFirings;
    const auto note = [&](const char* what) {
      if (result.differences.size() < kDifferencesShown) result.differences.push_back(FiringText(what, f));
    };
    if (++seen[f] > 1) {
      ++result.doubled;
      note("doubled");
    } else if (leftToASkippedSecond(f)) {
      ++result.firingsWhereSkippedOnAnotherLine;
    } else if (leftToTheReload(f)) {
      ++result.firingsLeftToTheReload;
    } else if (!wanted.count(f)) {
      ++result.extra;
      note("not in the reference");
    }
  }
  for (const auto& [f, n] : wanted) {
    if (seen.count(f) || leftToTheReload(f) || leftToASkippedSecond(f)) continue;
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
      << "seconds " << r.seconds << " (" << WallText(r.firstSecond) << " to " << WallText(r.lastSecond)
      << "): checked " << r.secondsChecked << ", twice on one time line "
      << r.secondsCheckedTwice << ", again on a later time line (set back, or repeated) " << r.secondsCheckedAgain
      << ", skipped by design " << r.secondsSkippedByDesign << " (checked on another time line "
      << r.skippedSecondsCheckedOnAnotherLine << ", firings there and of the same reminders since "
      << r.firingsWhereSkippedOnAnotherLine << ")"
      << ", lost " << r.secondsLost
      << ", never shown (spring forward) " << r.secondsSkippedByChange << "\n"
      << "lateness of a check: at most " << r.maxLateness << " s; after a spring forward at most "
      << r.maxLatenessAfterChange << " s from the change\n"
      << "firings: reference " << r.referenceFirings << ", jittered run " << r.firings << " (notices " << r.notices
      << ", made up by late ticks " << r.madeUpFirings << ", in seconds a spring forward skipped "
      << r.firingsAfterChange << "), skipped by design " << r.firingsSkippedByDesign << "\n"
      << "clock set back " << r.setBacks << " times; firings in the seconds shown again (after a step, or in the "
      << "repeated hour) " << r.firingsInSecondsShownAgain << "\n"
      << "reminders saved just after a step for a second shown again " << r.savedAfterSetBack << ", their firings "
      << r.firingsSavedAfterSetBack << "; in the repeated hour's second pass for a second in it "
      << r.savedInRepeatedHour << ", their firings " << r.firingsSavedInRepeatedHour << "\n"
      << "compactions " << r.compactions << ": reminders the reload changed " << r.changedByReload
      << ", their firings since, left out " << r.firingsLeftToTheReload << "\n"
      << "lost " << r.lost << ", doubled " << r.doubled << ", not in the reference " << r.extra << "\n";
  for (const std::string& d : r.differences) out << "  " << d << "\n";
  out << "run time " << r.runSeconds << " s\n";
  return out.str();
}

}  // namespace workmemo::simday
