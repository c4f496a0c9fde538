#include "shell/power_tasks.h"

#include "platform/os/power.h"
#include "reminders/store/reminder_record.h"

namespace workmemo {

PowerTaskState& PowerTasks() {
  static PowerTaskState state;
  return state;
}

void ExitWindowsSession(int mode, int force) {
  using platform::os::PowerRequest;
  PowerRequest request;
  switch (mode) {
    case ExitWindowsMode::Shutdown: request = PowerRequest::Shutdown; break;
    case ExitWindowsMode::Restart: request = PowerRequest::Restart; break;
    case ExitWindowsMode::LogOff: request = PowerRequest::LogOff; break;
    default: return;
  }
  platform::os::CurrentPowerBackend().Perform(request, force != 0);
}

int ExitWindowsModeOfTask(int task) {
  switch (task) {
    case ReminderTask::Shutdown: return ExitWindowsMode::Shutdown;
    case ReminderTask::LogOff: return ExitWindowsMode::LogOff;
    case ReminderTask::Restart: return ExitWindowsMode::Restart;
    default: return 0;
  }
}

bool StartPowerCountdown(int task, int delaySeconds, int forceFlag) {
  PowerTaskState& s = PowerTasks();
  if (s.CountdownWindowOpen || ExitWindowsModeOfTask(task) == 0) return false;
  s.PendingPowerTask = task;
  s.PowerCountdownSeconds = delaySeconds;
  s.PendingPowerForce = forceFlag != 0 ? 1 : 0;
  s.CountdownWindowOpen = true;
  s.CountdownTimerRunning = true;
  return true;
}

bool TickPowerCountdown() {
  PowerTaskState& s = PowerTasks();
  if (!s.CountdownTimerRunning) return false;
  s.PowerCountdownSeconds -= 1;
  if (s.PowerCountdownSeconds > 0) return true;
  // Stopped before the request: a later tick, while the window is still closing, must not
  // ask the system a second time.
  s.CountdownTimerRunning = false;
  const int mode = ExitWindowsModeOfTask(s.PendingPowerTask);
  if (mode != 0) ExitWindowsSession(mode, s.PendingPowerForce);
  return false;
}

void StopPowerCountdown() {
  PowerTaskState& s = PowerTasks();
  s.CountdownTimerRunning = false;
  s.CountdownWindowOpen = false;
}

std::string PowerCountdownLabel(int task) {
  switch (task) {
    case ReminderTask::Shutdown: return "离关机时间还有：";
    case ReminderTask::LogOff: return "离注销时间还有：";
    case ReminderTask::Restart: return "离重启时间还有：";
    default: return {};
  }
}

std::string PowerCountdownTitle(int seconds) {
  return "正在关机： " + std::to_string(seconds < 1 ? 0 : seconds) + "秒";
}

bool PowerCountdownWindowCloses() { return PowerTasks().PowerCountdownSeconds < 1; }

void ShutdownFromTray() { ExitWindowsSession(ExitWindowsMode::Shutdown, 0); }
void RestartFromTray() { ExitWindowsSession(ExitWindowsMode::Restart, 0); }
void LogOffFromTray() { ExitWindowsSession(ExitWindowsMode::LogOff, 0); }
void ForcedShutdownFromTray() { ExitWindowsSession(ExitWindowsMode::Shutdown, 1); }
void ForcedRestartFromTray() { ExitWindowsSession(ExitWindowsMode::Restart, 1); }
void ForcedLogOffFromTray() { ExitWindowsSession(ExitWindowsMode::LogOff, 1); }

}  // namespace workmemo
