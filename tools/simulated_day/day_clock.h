#pragma once
// The clock of a simulated machine: a real time line in milliseconds since 1970 UTC, a system
// clock that reads it (possibly set back by hand from some moment on), and the moments the
// reminder timer fires on it: late by 0-900 ms, now and then twice in one second, now and then
// stalled for 2 to 10 s, plus the planned disturbances of one day.
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace workmemo::simday {

// Seconds between 1899-12-30 (the date-time serials' day 0) and 1970-01-01.
inline constexpr std::int64_t kSerialToUnixSeconds = 25569LL * 86400;

// The local wall clock, as serial seconds, of a UTC second in the process's time zone.
std::int64_t WallOfUtc(std::int64_t unixSecond);

// The process's time zone around a stretch of days: where its UTC offset changes.
class DayZone {
 public:
  DayZone(std::int64_t fromUnix, std::int64_t toUnix);
  // The UTC moments at which the offset changes, in order.
  const std::vector<std::int64_t>& Changes() const { return changes_; }
  // The UTC seconds at which the wall clock shows `wall`, in order: none for a second a
  // spring forward skips, two for one of the hour that falling back repeats.
  std::vector<std::int64_t> UtcsOfWall(std::int64_t wall) const;
  // The first of those; for a skipped second, the moment of the change that skipped it.
  std::int64_t FirstUtcOfWall(std::int64_t wall) const;
  // The stretch of wall clock that a fall-back shows twice and that holds `wall`, by its
  // first and last second; nothing when the zone shows `wall` once or never.
  struct Stretch {
    std::int64_t first, last;
  };
  std::optional<Stretch> RepeatedStretchOf(std::int64_t wall) const;

 private:
  struct Span {
    std::int64_t from, to, offset;  // [from, to) in UTC seconds
  };
  std::vector<Span> spans_;
  std::vector<std::int64_t> changes_;
};

class SimulatedClock {
 public:
  explicit SimulatedClock(const DayZone& zone) : zone_(zone) {}
  // From `realMs` on, the system clock reads `byMs` more (negative: set back). Steps are
  // given in the order of their moments.
  void StepAt(std::int64_t realMs, std::int64_t byMs) { steps_.push_back({realMs, byMs}); }
  // What the system clock shows at a real moment: in milliseconds, and its UTC second.
  std::int64_t ShownMs(std::int64_t realMs) const { return realMs + Adjust(realMs); }
  std::int64_t ShownUtc(std::int64_t realMs) const;
  // The time line the clock is on at a real moment: the number of steps taken by then.
  int LineAt(std::int64_t realMs) const;
  // The latest real moment at or before `realMs` at which the clock began to show the local
  // wall second `wall`; nothing when it never showed it (a second a spring forward skipped).
  std::optional<std::int64_t> LastShown(std::int64_t wall, std::int64_t realMs) const;

 private:
  struct Step {
    std::int64_t atMs = 0;
    std::int64_t byMs = 0;
  };
  std::int64_t Adjust(std::int64_t realMs) const;
  const DayZone& zone_;
  std::vector<Step> steps_;
};

// How the timer misbehaves; every figure in milliseconds.
struct TickJitter {
  int maxLateMs = 900;          // every tick comes late by up to this
  double twiceInASecond = 0.02; // share of ticks followed by another in the same second
  double stall = 0.004;         // share of ticks late by 2 to 10 s instead
  int minStallMs = 2000, maxStallMs = 10000;
};

// A tick that comes late by a planned amount once real time reaches `atMs`.
struct PlannedStall {
  std::int64_t atMs = 0;
  std::int64_t lateMs = 0;
};

struct TickCounts {
  std::int64_t ticks = 0, twiceInASecond = 0, stalls = 0, plannedStalls = 0;
};

// The real moments of the ticks from `startMs` until the clock shows a second past `endUtc`:
// each re-armed just past the next whole second the clock shows (as the program re-arms its
// timer), then late by the jitter.
std::vector<std::int64_t> PlanTicks(const SimulatedClock& clock, std::int64_t startMs, std::int64_t endUtc,
                                    const TickJitter& jitter, std::vector<PlannedStall> planned,
                                    std::mt19937_64& random, TickCounts& counts);

}  // namespace workmemo::simday
