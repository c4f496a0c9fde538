#pragma once
// The registry of set-up routines the snapshot tool runs on a window before drawing it, by
// window name: a window's own set-up (painting with the skin, sprites, texts). Each module
// with windows hands its set-ups over in RegisterProgramWindows.
#include <functional>
#include <map>
#include <string>

#include "platform/ui/window.h"

namespace workmemo {
class MainWindow;
}

namespace snapshot {

using SetupHook = std::function<void(platform::ui::Window&)>;

// Registers (or replaces) the set-up of the window of that name (GB18030).
void RegisterSetupHook(std::string windowName, SetupHook hook);
// The registered set-ups; a window without an entry is drawn as its template lays it out.
const std::map<std::string, SetupHook>& SetupHooks();

// Registers the set-ups of every module's windows.
void RegisterProgramWindows();
// The main window and its password pages.
void RegisterMainWindowSetups();
// The tool's one main window over a fresh program directory with a few reminders; pages are
// drawn inside it.
workmemo::MainWindow& ProgramMainWindow();
// The reminder pop-up: a reminder paged, an advance notice, the password cover.
void RegisterPopupSetups();
// The main window's list page sorted and queried, the today window in its styles and covered,
// and the detail window, on a data file of 40 reminders.
void RegisterReminderListSetups();
// The due-date page, editor and floating window over a few items of a data file.
void RegisterDueSetups();

// A fresh program directory for this run, so the tool never writes into the user's own.
void UseFreshProgramDirectory();
// Saves a timed reminder `days` from today at hour:minute into the open data file; its id.
int AddReminder(int days, int hour, int minute, int mode, const char* category, const char* title);
// The program-wide state windows paint with, as at the first start of a fresh install: the
// built-in skin loaded, its first plain-colour background, the default skin transparency.
// False when the built-in skin cannot be read.
bool PrepareProgramState();

}  // namespace snapshot
