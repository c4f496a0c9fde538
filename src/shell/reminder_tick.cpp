#include "shell/reminder_tick.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/clock/clock.h"

namespace workmemo {

ReminderTick::ReminderTick(OffsetAt offsetAt) : offsetAt_(std::move(offsetAt)) {
  if (!offsetAt_) offsetAt_ = [](std::int64_t utcSecond) { return platform::clock::UtcOffsetAt(utcSecond); };
}

std::vector<std::int64_t> ReminderTick::Advance(std::int64_t wallSecond, std::int64_t utcOffset) {
  const std::int64_t offsetGain = utcOffset - lastOffset_;
  const std::int64_t utc = wallSecond - utcOffset;
  const std::int64_t previousUtc = lastUtc_;
  const bool wasStarted = started_;
  // The clock itself was set back (by hand, or a time sync correcting a fast clock) when its
  // UTC went back; daylight saving ending sets only the wall clock back.
  const bool clockSetBack = wasStarted && utc < lastUtc_;
  lastOffset_ = utcOffset;
  lastUtc_ = utc;
  started_ = true;
  const std::int64_t gap = wallSecond - lastChecked_;
  // A clock set back is followed on its new time line from here on; the store does not fire
  // again what it fired in a second checked again.
  if (!wasStarted || (clockSetBack && gap < 0)) {
    lastChecked_ = wallSecond;
    return {wallSecond};
  }
  // The zone's offset dropped (daylight saving ended), by however much: UTC went on while the
  // wall clock went back. Each second UTC passed since the previous reading is checked on the
  // wall clock it showed, the last ones of the old time line and then the first of the new,
  // which is followed from here on as after a clock set back: the store passes over what fired
  // in a second shown again.
  if (offsetGain < 0 && !clockSetBack) {
    std::vector<std::int64_t> seconds;
    for (std::int64_t u = std::max(previousUtc + 1, utc - kMaxSkippedSeconds); u <= utc; ++u)
      seconds.push_back(u + (u == utc ? utcOffset : offsetAt_(u)));
    lastChecked_ = wallSecond;
    return seconds;
  }
  if (gap <= 0) return {};  // twice in one second
  // A spring forward skips wall-clock seconds no tick could see; they are made up as well,
  // all of them, but only when the tick itself was on time: after a suspend the offset gain
  // says nothing about which of the slept wall-clock seconds the change skipped.
  const std::int64_t gain = std::max<std::int64_t>(offsetGain, 0);
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
  lastUtc_ = second - utcOffset;
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
