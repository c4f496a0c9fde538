#include "shell/power_tasks.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/os/power.h"

namespace workmemo {
namespace {

using platform::os::PowerRequest;
using Call = platform::os::RecordingPowerBackend::Call;

class PowerTasksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PowerTasks() = PowerTaskState{};
    platform::os::SetPowerBackend(&backend);
  }
  void TearDown() override {
    platform::os::SetPowerBackend(nullptr);
    PowerTasks() = PowerTaskState{};
  }

  // Ticks of 关机时钟 until it stops (at most `limit`); the number of ticks it ran for.
  int TickUntilStopped(int limit = 100) {
    for (int tick = 1; tick <= limit; ++tick) {
      if (!TickPowerCountdown()) return tick;
    }
    return -1;
  }

  platform::os::RecordingPowerBackend backend;
};

TEST_F(PowerTasksTest, ADelayOfTenRequestsTheTaskOnceOnTheTenthTick) {
  const struct {
    int task;
    int qzzx;
    Call expected;
  } cases[] = {
      {1, 0, {PowerRequest::Shutdown, false}},
      {2, 0, {PowerRequest::LogOff, false}},
      {3, 0, {PowerRequest::Restart, false}},
      {3, 1, {PowerRequest::Restart, true}},
      {2, 7, {PowerRequest::LogOff, true}},  // any qzzx but 0 forces
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "task " << c.task << " qzzx " << c.qzzx);
    PowerTasks() = PowerTaskState{};
    backend.calls.clear();
    ASSERT_TRUE(StartPowerCountdown(c.task, 10, c.qzzx));
    for (int tick = 1; tick <= 9; ++tick) {
      EXPECT_TRUE(TickPowerCountdown());
      EXPECT_EQ(PowerTasks().PowerCountdownSeconds, 10 - tick);
    }
    EXPECT_TRUE(backend.calls.empty());
    EXPECT_FALSE(TickPowerCountdown());
    // The window stays up until its own tick closes it; the ticks meanwhile ask nothing.
    EXPECT_FALSE(TickPowerCountdown());
    EXPECT_FALSE(TickPowerCountdown());
    EXPECT_EQ(backend.calls, std::vector<Call>{c.expected});
    EXPECT_TRUE(PowerCountdownWindowCloses());
    EXPECT_EQ(PowerCountdownTitle(PowerTasks().PowerCountdownSeconds), "正在关机： 0秒");
  }
}

TEST_F(PowerTasksTest, ClosingTheWindowAtFiveCancelsAndALaterReminderStartsAfresh) {
  ASSERT_TRUE(StartPowerCountdown(1, 10, 0));
  for (int tick = 0; tick < 5; ++tick) TickPowerCountdown();
  EXPECT_EQ(PowerTasks().PowerCountdownSeconds, 5);
  StopPowerCountdown();
  EXPECT_FALSE(TickPowerCountdown());
  EXPECT_TRUE(backend.calls.empty());
  EXPECT_EQ(PowerTasks().PendingPowerTask, 1);  // kept until the next power reminder

  ASSERT_TRUE(StartPowerCountdown(2, 3, 1));
  EXPECT_EQ(TickUntilStopped(), 3);
  EXPECT_EQ(backend.calls, (std::vector<Call>{{PowerRequest::LogOff, true}}));
}

TEST_F(PowerTasksTest, APowerReminderWhileTheWindowIsOpenIsIgnored) {
  ASSERT_TRUE(StartPowerCountdown(3, 10, 1));
  TickPowerCountdown();
  EXPECT_FALSE(StartPowerCountdown(1, 2, 0));
  EXPECT_EQ(PowerTasks().PendingPowerTask, 3);
  EXPECT_EQ(PowerTasks().PowerCountdownSeconds, 9);
  EXPECT_EQ(PowerTasks().PendingPowerForce, 1);

  // Also after the request, until the window has closed.
  EXPECT_EQ(TickUntilStopped(), 9);
  EXPECT_FALSE(StartPowerCountdown(1, 2, 0));
  StopPowerCountdown();
  EXPECT_TRUE(StartPowerCountdown(1, 2, 0));
  EXPECT_EQ(backend.calls, (std::vector<Call>{{PowerRequest::Restart, true}}));
}

TEST_F(PowerTasksTest, ACountOfZeroOrLessActsOnTheFirstTick) {
  for (int delay : {0, -5}) {
    SCOPED_TRACE(delay);
    PowerTasks() = PowerTaskState{};
    backend.calls.clear();
    ASSERT_TRUE(StartPowerCountdown(1, delay, 0));
    EXPECT_EQ(TickUntilStopped(), 1);
    EXPECT_EQ(backend.calls, (std::vector<Call>{{PowerRequest::Shutdown, false}}));
  }
}

TEST_F(PowerTasksTest, OnlyShutdownLogOffAndRestartStartACountdown) {
  const struct {
    int task;
    int mode;
  } cases[] = {{0, 0}, {1, ExitWindowsMode::Shutdown}, {2, ExitWindowsMode::LogOff},
               {3, ExitWindowsMode::Restart}, {4, 0}, {5, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.task);
    EXPECT_EQ(ExitWindowsModeOfTask(c.task), c.mode);
    EXPECT_EQ(StartPowerCountdown(c.task, 10, 0), c.mode != 0);
    StopPowerCountdown();
  }
  EXPECT_EQ(ExitWindowsMode::Restart, 2);
  EXPECT_EQ(ExitWindowsMode::LogOff, 3);
}

TEST_F(PowerTasksTest, TrayItemsActAtOnceAndTheForcedOnesForce) {
  ExitWindowsSession(4, 1);  // no such mode: nothing
  ShutdownFromTray();
  RestartFromTray();
  LogOffFromTray();
  ForcedShutdownFromTray();
  ForcedRestartFromTray();
  ForcedLogOffFromTray();
  const std::vector<Call> expected = {
      {PowerRequest::Shutdown, false}, {PowerRequest::Restart, false}, {PowerRequest::LogOff, false},
      {PowerRequest::Shutdown, true},  {PowerRequest::Restart, true},  {PowerRequest::LogOff, true},
  };
  EXPECT_EQ(backend.calls, expected);
  EXPECT_FALSE(PowerTasks().CountdownTimerRunning);
}

TEST_F(PowerTasksTest, CountdownWindowTexts) {
  EXPECT_EQ(PowerCountdownLabel(1), "离关机时间还有：");
  EXPECT_EQ(PowerCountdownLabel(2), "离注销时间还有：");
  EXPECT_EQ(PowerCountdownLabel(3), "离重启时间还有：");
  EXPECT_EQ(PowerCountdownLabel(4), "");
  // The same words for every task.
  EXPECT_EQ(PowerCountdownTitle(10), "正在关机： 10秒");
  EXPECT_EQ(PowerCountdownTitle(-1), "正在关机： 0秒");
}

}  // namespace
}  // namespace workmemo
