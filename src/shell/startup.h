#pragma once
// The frame of the process: the hidden StartupWindow whose created handler runs the whole
// start, its two program-wide timers and tray menu, the splash and About window, and the
// orderly end. The windows of higher modules are reached through their seams
// (shell/module_seams.h), which those modules fill before RunProgram.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/module_seams.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

class PasswordGate;
struct ReminderRecord;
class ReminderStore;
struct ProgramSettings;

inline constexpr char kProgramVersion[] = "3.2";

// The main window as the start, the tray and a later copy of the program reach it; filled by
// the main window's module. Without it the program runs in the tray alone.
struct MainWindowSeam {
  // LoadMainWindow: loads it hidden (its created handler lays it out, loads its pages and,
  // when the settings say so, DueRemindersWindow); the window stays owned by its module.
  std::function<platform::ui::Window*()> Load;
  std::function<void(std::string_view page)> ShowPanel;
  // The program's password gate; empty: the start-up keeps one of its own.
  std::function<PasswordGate*()> Gate;
};
MainWindowSeam& MainWindowAccess();

// The state of one run of the program.
struct StartupState {
  std::vector<std::string> CommandLineArguments;  // without the program path, GB18030
  int TaskbarHeight = 0;
  platform::ui::Window* StartupWindow = nullptr;
  platform::ui::Window* MainWindow = nullptr;
  bool Ending = false;  // the end was asked for; the start goes no further
  int ExitCode = 0;
  int ShowRequests = 0;        // later copies that asked to be shown
  std::string LastPanelShown;  // the last page asked of the page switch
  // The splash ran its course while the start was still waiting (a message box answered
  // late): the main window shows once the start has loaded it.
  bool ShowMainWindowWhenLoaded = false;
};
StartupState& Startup();

// The start routine of the process; returns the exit code. `argc` must live until it returns.
int RunProgram(int& argc, char** argv);

// A hook the test build of the executable runs once the application object exists, before
// the start sequence, and `end` after every window of the program has closed. Empty in the
// real program.
void SetStartupHook(std::function<void()> start, std::function<void()> end);
// A hook run once the start sequence is done: the main window built, the reminder clock and
// the tray icon started. The benchmark build of the executable marks the moment; empty in the
// real program.
void SetStartupDoneHook(std::function<void()> done);

// The windows of the frame that are loaded now: splash or About window, countdown window,
// main window.
std::vector<platform::ui::Window*> LoadedFrameWindows();

// The program's password gate: the main window's when it has one.
PasswordGate& ProgramGate();

// Whether the program's icon sits in a tray of the desktop; without one the main window is
// iconified instead of hidden and no tray notice shows.
bool ProgramHasTray();

// The created handler of StartupWindow: the whole start, in order.
void RunStartupSequence();

// [pf] pftmd as a whole number from 0 to 90; the default 10 when it is absent or outside.
int ReadSkinTransparency();

// The background picture of every skinned window, chosen at start from the festival, the
// stored choice and the skin.
std::string ChooseBackgroundPicture();

// Whether the start opens the today window: when the settings ask for it, and with 没提醒不显示
// on only when `now`'s day has a reminder (as the due-date window waits for something due).
bool TodayWindowOpensAtStart(const ProgramSettings& settings, const ReminderStore& store, double now);

// The measured height of the desktop's panels, 40 when it is above 50.
int CappedTaskbarHeight(int measured);

// Shows the main window: position state 0 leaves it where it was and brings it to the front,
// 1 restores it centred on the screen.
void ShowMainWindow(int positionState);

// From here on every window that has no place of its own (the message boxes, the editors,
// the help window, ...) opens centred on the main window while that is shown, else on the
// screen. The start calls it.
void PlaceWindowsOverMainWindow();

// A later copy of the program asked this one to show itself.
void HandleShowRequest();

// The user's request to end the program, with its question or its password page.
void RequestExit();
// The tray item 退出: the main window shown centred first, then RequestExit.
void ExitFromTray();
// The tray item 添加定时提醒.
void AddReminderFromTray();
// ShowAboutWindow: the splash window as About window.
void ShowAboutWindow();

// Ends the program with `exitCode` once every nested loop has unwound; during the start, the
// start goes no further. The first code that is not 0 wins.
void EndProgram(int exitCode);
// The end: the three connections closed and every loaded window closed.
void CloseStartupWindow();

// The system task of a due reminder, the one path of every reminder check: 关机, 注销 and
// 重启 start the program's countdown (ignored while one runs), 关闭显示器 turns the monitor
// off, 锁定计算机 locks the screen. False for a reminder whose task is none of these.
bool RunReminderSystemTask(const ReminderRecord& reminder);

// The default reminder check: the store's due reminders of that second, each system task
// through RunReminderSystemTask.
void DefaultFireDueReminders(double second);

// 提醒时钟: the seconds due for checking, each given to the reminder check.
void TickReminderClock();
// Stops 提醒时钟 while the timed-reminder file is closed or replaced; nested stops need as
// many restarts. The restart's first tick makes up the seconds missed, at most the last 10.
void StopReminderClock();
void RestartReminderClock();

}  // namespace workmemo
