#include "day_clock.h"

#include <algorithm>
#include <cstdint>
#include <ctime>

#include "platform/clock/clock.h"

namespace workmemo::simday {
namespace {

std::int64_t OffsetAt(std::int64_t unixSecond) {
  const std::time_t t = static_cast<std::time_t>(unixSecond);
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm.tm_gmtoff;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

std::int64_t WallOfUtc(std::int64_t unixSecond) {
  return unixSecond + OffsetAt(unixSecond) + kSerialToUnixSeconds;
}

DayZone::DayZone(std::int64_t fromUnix, std::int64_t toUnix) {
  // Offsets change at most once an hour in every zone there is: look hour by hour, then
  // narrow each change down to its second.
  std::int64_t spanFrom = fromUnix;
  for (std::int64_t t = fromUnix; t < toUnix; t += 3600) {
    const std::int64_t end = std::min(t + 3600, toUnix);
    if (OffsetAt(t) == OffsetAt(end)) continue;
    std::int64_t lo = t, hi = end;  // offset(lo) differs from offset(hi)
    while (hi - lo > 1) {
      const std::int64_t mid = lo + (hi - lo) / 2;
      (OffsetAt(mid) == OffsetAt(lo) ? lo : hi) = mid;
    }
    spans_.push_back({spanFrom, hi, OffsetAt(lo)});
    changes_.push_back(hi);
    spanFrom = hi;
  }
  spans_.push_back({spanFrom, toUnix, OffsetAt(spanFrom)});
}

std::vector<std::int64_t> DayZone::UtcsOfWall(std::int64_t wall) const {
  std::vector<std::int64_t> utcs;
  for (const Span& s : spans_) {
    const std::int64_t u = wall - kSerialToUnixSeconds - s.offset;
    if (u >= s.from && u < s.to) utcs.push_back(u);
  }
  std::sort(utcs.begin(), utcs.end());
  return utcs;
}

std::int64_t DayZone::FirstUtcOfWall(std::int64_t wall) const {
  const std::vector<std::int64_t> utcs = UtcsOfWall(wall);
  if (!utcs.empty()) return utcs.front();
  for (const std::int64_t change : changes_)
    if (WallOfUtc(change - 1) < wall && WallOfUtc(change) > wall) return change;
  return wall - kSerialToUnixSeconds - spans_.front().offset;
}

std::optional<DayZone::Stretch> DayZone::RepeatedStretchOf(std::int64_t wall) const {
  const std::vector<std::int64_t> utcs = UtcsOfWall(wall);
  if (utcs.size() < 2) return std::nullopt;
  for (const std::int64_t change : changes_)
    if (change > utcs.front() && change <= utcs.back()) return Stretch{WallOfUtc(change), WallOfUtc(change - 1)};
  return std::nullopt;
}

std::int64_t SimulatedClock::ShownUtc(std::int64_t realMs) const { return FloorDiv(ShownMs(realMs), 1000); }

std::int64_t SimulatedClock::Adjust(std::int64_t realMs) const {
  std::int64_t adjust = 0;
  for (const Step& s : steps_)
    if (realMs >= s.atMs) adjust += s.byMs;
  return adjust;
}

int SimulatedClock::LineAt(std::int64_t realMs) const {
  return static_cast<int>(std::count_if(steps_.begin(), steps_.end(), [realMs](const Step& s) { return realMs >= s.atMs; }));
}

std::optional<std::int64_t> SimulatedClock::LastShown(std::int64_t wall, std::int64_t realMs) const {
  std::optional<std::int64_t> last;
  for (const std::int64_t u : zone_.UtcsOfWall(wall)) {
    // Each stretch between two steps shows the second from its whole-second boundary, or from
    // the step that began the stretch inside it.
    std::int64_t adjust = 0;
    for (std::size_t k = 0; k <= steps_.size(); ++k) {
      if (k > 0) adjust += steps_[k - 1].byMs;
      const std::int64_t from = k == 0 ? INT64_MIN / 2 : steps_[k - 1].atMs;
      const std::int64_t to = k == steps_.size() ? INT64_MAX / 2 : steps_[k].atMs;
      const std::int64_t begin = std::max(u * 1000, from + adjust);
      const std::int64_t end = std::min(u * 1000 + 1000, to + adjust);
      const std::int64_t real = begin - adjust;
      if (begin < end && real <= realMs && (!last || real > *last)) last = real;
    }
  }
  return last;
}

std::vector<std::int64_t> PlanTicks(const SimulatedClock& clock, std::int64_t startMs, std::int64_t endUtc,
                                    const TickJitter& jitter, std::vector<PlannedStall> planned,
                                    std::mt19937_64& random, TickCounts& counts) {
  std::uniform_int_distribution<int> late(0, jitter.maxLateMs);
  std::uniform_int_distribution<int> stall(jitter.minStallMs, jitter.maxStallMs);
  std::uniform_real_distribution<double> chance(0.0, 1.0);
  constexpr int kMarginMs = 15;  // the timer is armed a little past the whole second
  // Milliseconds the clock has gone into the second it shows.
  const auto intoSecond = [&clock](std::int64_t real) { return clock.ShownMs(real) - clock.ShownUtc(real) * 1000; };
  std::vector<std::int64_t> ticks;
  std::int64_t t = startMs;
  while (clock.ShownUtc(t) <= endUtc) {
    const std::int64_t armed = t + (1000 - intoSecond(t)) + kMarginMs;
    std::int64_t next = armed + late(random);
    auto due = std::find_if(planned.begin(), planned.end(),
                            [&](const PlannedStall& p) { return p.atMs <= armed; });
    if (due != planned.end()) {
      next = armed + due->lateMs;
      planned.erase(due);
      ++counts.plannedStalls;
    } else if (chance(random) < jitter.stall) {
      // Late by 2 to 10 s counted from the whole second, so a 10 s stall is still made up.
      next = armed - kMarginMs + stall(random);
      ++counts.stalls;
    }
    ticks.push_back(next);
    ++counts.ticks;
    t = next;
    if (chance(random) < jitter.twiceInASecond && intoSecond(t) < 998) {
      t += std::uniform_int_distribution<std::int64_t>(1, 998 - intoSecond(t))(random);
      ticks.push_back(t);
      ++counts.ticks;
      ++counts.twiceInASecond;
    }
  }
  return ticks;
}

}  // namespace workmemo::simday
