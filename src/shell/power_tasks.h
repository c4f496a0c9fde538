#pragma once
// Shutting down, restarting and logging off: at once from the tray, or after the countdown
// that a due power reminder starts. This is the countdown's state and arithmetic; the
// countdown window and the timer 关机时钟 call it and only show its results.
#include <string>

namespace workmemo {

// The mode argument of ExitWindowsSession; numbered unlike ReminderTask, which the
// countdown converts from.
struct ExitWindowsMode {
  enum : int { Shutdown = 1, Restart = 2, LogOff = 3 };
};

// The pending power task, all 0 at start.
struct PowerTaskState {
  int PendingPowerTask = 0;       // in ReminderTask numbering: 1 shutdown, 2 log off, 3 restart
  int PowerCountdownSeconds = 0;  // seconds left, counted down by the tick
  int PendingPowerForce = 0;      // 1 when the task is to be forced
  bool CountdownWindowOpen = false;  // ShutdownCountdownWindow is loaded
  bool CountdownTimerRunning = false;  // 关机时钟 runs at 1000 ms
};

PowerTaskState& PowerTasks();

// Asks the system for the action of `mode` (forced when `force` is not 0); any other mode
// does nothing. Whether the system agrees is not reported.
void ExitWindowsSession(int mode, int force);

// The ExitWindowsMode of a ReminderTask code; 0 for a task that is no power task.
int ExitWindowsModeOfTask(int task);

// A due reminder whose task is 关机, 注销 or 重启 (task 1, 2 or 3, delay gjys, force flag qzzx):
// sets the pending task and starts the countdown. True when it started; the caller then
// runs 关机时钟 at 1000 ms and loads ShutdownCountdownWindow. False, with nothing changed,
// while the countdown window is open, or for a task that is no power task.
bool StartPowerCountdown(int task, int delaySeconds, int forceFlag);

// The tick of 关机时钟. Counts one second down; when the count reaches 0 the pending task is
// requested, once, and the timer stops. Returns whether 关机时钟 keeps running.
bool TickPowerCountdown();

// ShutdownCountdownWindow is about to be destroyed (closed by the user, or by itself after
// the count ran out): the timer stops, so a count not yet at 0 is cancelled. The pending
// task keeps its values until the next power reminder.
void StopPowerCountdown();

// What the countdown window shows: 标签2 for the pending task ("离关机时间还有：", ...; empty
// for another task, which leaves the template's text), the title for a count of seconds
// ("正在关机： 0秒" once the count is below 1, when the window closes itself).
std::string PowerCountdownLabel(int task);
std::string PowerCountdownTitle(int seconds);
bool PowerCountdownWindowCloses();  // the count is below 1

// The power items of the tray menu: at once, without countdown or question. The three
// "(强制执行)" items force the action.
void ShutdownFromTray();
void RestartFromTray();
void LogOffFromTray();
void ForcedShutdownFromTray();
void ForcedRestartFromTray();
void ForcedLogOffFromTray();

}  // namespace workmemo
