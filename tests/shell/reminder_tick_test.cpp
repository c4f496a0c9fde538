#include "shell/reminder_tick.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace workmemo {
namespace {

using Seconds = std::vector<std::int64_t>;

constexpr std::int64_t kStart = 1'000'000;
constexpr std::int64_t kCst = 8 * 3600;

struct Step {
  std::int64_t wall;
  std::int64_t offset;
  Seconds expected;
};

struct Case {
  const char* name;
  std::vector<Step> steps;
};

Seconds Range(std::int64_t first, std::int64_t last) {
  Seconds s;
  for (std::int64_t v = first; v <= last; ++v) s.push_back(v);
  return s;
}

TEST(ReminderTickTest, ChecksEveryWallClockSecondOnce) {
  const std::vector<Case> cases = {
      {"first tick checks its own second", {{kStart, kCst, {kStart}}}},
      {"on time", {{kStart, kCst, {kStart}}, {kStart + 1, kCst, {kStart + 1}}}},
      {"late by three: the skipped seconds are made up",
       {{kStart, kCst, {kStart}}, {kStart + 3, kCst, {kStart + 1, kStart + 2, kStart + 3}}}},
      {"twice in one second: nothing the second time",
       {{kStart, kCst, {kStart}}, {kStart, kCst, {}}, {kStart + 1, kCst, {kStart + 1}}}},
      {"a resume after an hour makes up ten seconds only",
       {{kStart, kCst, {kStart}}, {kStart + 3600, kCst, Range(kStart + 3590, kStart + 3600)}}},
      {"a small step back checks nothing again",
       {{kStart, kCst, {kStart}}, {kStart - 5, kCst, {}}, {kStart, kCst, {}},
        {kStart + 1, kCst, {kStart + 1}}}},
      {"daylight saving ends: the repeated hour is not checked again",
       {{kStart, -4 * 3600, {kStart}}, {kStart - 3599, -5 * 3600, {}},
        {kStart + 1, -5 * 3600, {kStart + 1}}}},
      {"a large step back starts afresh",
       {{kStart, kCst, {kStart}}, {kStart - 3601, kCst, {kStart - 3601}},
        {kStart - 3600, kCst, {kStart - 3600}}}},
      {"spring forward checks the skipped wall-clock hour",
       {{kStart, -5 * 3600, {kStart}}, {kStart + 3601, -4 * 3600, Range(kStart + 1, kStart + 3601)}}},
      {"a tick late by five across a spring forward makes up both",
       {{kStart, -5 * 3600, {kStart}}, {kStart + 3605, -4 * 3600, Range(kStart + 1, kStart + 3605)}}},
      {"a resume from a night's suspend across a spring forward makes up ten seconds only",
       {{kStart, -5 * 3600, {kStart}},
        {kStart + 8 * 3600, -4 * 3600, Range(kStart + 8 * 3600 - 10, kStart + 8 * 3600)}}},
      {"an offset change of more than an hour makes up at most an hour",
       {{kStart, 0, {kStart}},
        {kStart + 7201, 7200, Range(kStart + 7201 - 3600 - ReminderTick::kMaxSkippedSeconds, kStart + 7201)}}},
  };
  for (const Case& c : cases) {
    ReminderTick tick;
    int n = 0;
    for (const Step& step : c.steps) {
      EXPECT_EQ(tick.Advance(step.wall, step.offset), step.expected) << c.name << ", step " << n;
      ++n;
    }
  }
}

TEST(ReminderTickTest, AStartAfterTheLoadMakesUpTheSecondsSinceIt) {
  ReminderTick tick;
  tick.StartAfter(kStart, kCst);
  EXPECT_EQ(tick.Advance(kStart + 3, kCst), Range(kStart + 1, kStart + 3));
  EXPECT_EQ(tick.Advance(kStart + 3, kCst), Seconds{});
  // A start slower than the catch-up limit still fires no burst.
  tick.StartAfter(kStart, kCst);
  EXPECT_EQ(tick.Advance(kStart + 60, kCst), Range(kStart + 50, kStart + 60));
}

TEST(ReminderTickTest, TimerIsArmedJustPastTheNextSecond) {
  const int ms = MillisecondsToNextSecond();
  EXPECT_GT(ms, 0);
  EXPECT_LE(ms, 1015);
}

}  // namespace
}  // namespace workmemo
