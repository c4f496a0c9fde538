#pragma once
// Which wall-clock seconds one tick of the reminder timer 提醒时钟 checks. Timer jitter must
// never lose an alarm, so every wall-clock second is checked: a late tick checks the seconds
// it skipped, a tick twice in one second checks nothing, and the seconds a spring forward
// skips are made up, however many. A wall clock that goes back, the clock set back or the time
// zone's offset dropping by any amount (daylight saving ending), is followed on its new time
// line: the seconds it shows again are checked again, and the store passes over what already
// fired in them (RecentFirings).
#include <cstdint>
#include <functional>
#include <vector>

namespace workmemo {

class ReminderTick {
 public:
  // The UTC offset, in seconds, at a UTC second on the scale Advance reads (wall minus offset).
  using OffsetAt = std::function<std::int64_t(std::int64_t utcSecond)>;
  // `offsetAt` places a change of the offset that fell between two readings; empty: the
  // process's time zone.
  explicit ReminderTick(OffsetAt offsetAt = {});

  // At most this many skipped seconds are made up after a late tick (a resume from suspend
  // must not fire a burst).
  static constexpr std::int64_t kMaxSkippedSeconds = 10;

  // `wallSecond`: the local wall clock in whole seconds (any fixed epoch; the serial scale's
  // with the default OffsetAt); `utcOffset`: the local offset from UTC in seconds at that
  // moment. Gives the wall-clock seconds to check now, oldest first.
  std::vector<std::int64_t> Advance(std::int64_t wallSecond, std::int64_t utcOffset);
  void Reset() { started_ = false; }
  // Starts as if `second` had just been checked, so that the first tick makes up the seconds
  // since (the start-up work between the load of the reminders and the first tick).
  void StartAfter(std::int64_t second, std::int64_t utcOffset);

 private:
  OffsetAt offsetAt_;
  bool started_ = false;
  std::int64_t lastChecked_ = 0;  // the newest wall-clock second checked on this time line
  std::int64_t lastOffset_ = 0;
  std::int64_t lastUtc_ = 0;  // the UTC second of the previous reading
};

// The work of one tick of 提醒时钟: reads the clock once and hands each wall-clock second due
// for checking to `check`, oldest first.
void CheckDueSeconds(ReminderTick& tick, const std::function<void(double second)>& check);

// Milliseconds from the real clock's now until just after its next whole second: the timer
// is re-armed with this after every tick.
int MillisecondsToNextSecond();

}  // namespace workmemo
