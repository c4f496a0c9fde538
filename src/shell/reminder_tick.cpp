#include "shell/reminder_tick.h"

#include <algorithm>
#include <chrono>

#include "platform/clock/clock.h"

namespace workmemo {

std::vector<std::int64_t> ReminderTick::Advance(std::int64_t wallSecond, std::int64_t utcOffset) {
  const std::int64_t offsetGain = utcOffset - lastOffset_;
  const bool wasStarted = started_;
  lastOffset_ = utcOffset;
  started_ = true;
  const std::int64_t gap = wallSecond - lastChecked_;
  if (!wasStarted || gap < -kOffsetChangeLimit) {
    lastChecked_ = wallSecond;
    return {wallSecond};
  }
  // Twice in one second, or back within the hour: those seconds were checked already.
  if (gap <= 0) return {};
  // A spring forward skips wall-clock seconds no tick could see; they are made up as well,
  // but only when the tick itself was on time: after a suspend the offset gain says nothing
  // about which of the slept wall-clock seconds the change skipped.
  const std::int64_t gain = std::clamp<std::int64_t>(offsetGain, 0, kOffsetChangeLimit);
  const std::int64_t realGap = gap - offsetGain;
  const std::int64_t allowance =
      kMaxSkippedSeconds + (realGap <= kMaxSkippedSeconds + 1 ? gain : 0);
  const std::int64_t first = std::max(lastChecked_ + 1, wallSecond - allowance);
  std::vector<std::int64_t> seconds;
  seconds.reserve(static_cast<std::size_t>(wallSecond - first + 1));
  for (std::int64_t s = first; s <= wallSecond; ++s) seconds.push_back(s);
  lastChecked_ = wallSecond;
  return seconds;
}

void ReminderTick::StartAfter(std::int64_t second, std::int64_t utcOffset) {
  started_ = true;
  lastChecked_ = second;
  lastOffset_ = utcOffset;
}

void CheckDueSeconds(ReminderTick& tick, const std::function<void(double second)>& check) {
  const platform::clock::WallClockReading clock = platform::clock::ReadWallClock();
  const std::int64_t wall = platform::clock::SecondsFromSerial(clock.now);
  for (std::int64_t second : tick.Advance(wall, clock.utcOffset))
    check(platform::clock::SerialFromSeconds(second));
}

int MillisecondsToNextSecond() {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  // A little past the boundary, so the tick never lands just before it.
  constexpr int kMargin = 15;
  return static_cast<int>(1000 - ms % 1000) + kMargin;
}

}  // namespace workmemo
