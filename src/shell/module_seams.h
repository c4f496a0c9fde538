#pragma once
// The windows and actions of the modules above the shell, as the start, the tray, the main
// window and the password gate reach them. Each module sets its members once at start, before
// the program runs; the shell looks a member up only when it is used, and an empty one does
// nothing (or the shell's default, where one is named).
#include <functional>
#include <vector>

namespace workmemo {

class PasswordCover;

struct ModuleSeams {
  // The reminder check of one wall-clock second (a date-time serial); 提醒时钟 calls it once
  // for every second it checks. Empty: DefaultFireDueReminders.
  std::function<void(double second)> FireDueReminders;
  std::function<void()> StopMusic;  // stops the alarm sound, if one plays

  std::function<void()> ShowTodayWindow;         // loads TodayRemindersWindow
  std::function<void()> ShowDueRemindersWindow;  // loads DueRemindersWindow non-modal
  std::function<void()> ShowDesktopClock;        // loads DesktopClockWindow
  std::function<void()> ToggleDesktopClock;

  // The reminder requests of the tray, the menus and the password page; each applies its own
  // gate, so after a correct password it passes.
  std::function<void()> OpenAddReminderEditor;
  std::function<void()> OpenModifyReminderEditor;
  std::function<void()> DeleteReminder;
  std::function<void()> MoveSelectedReminderToNotes;

  // Every window of the module lays itself out again after a change of skin or opacity.
  std::function<void(int transparency)> ApplySkinToAllWindows;
  // Each list sets its headers and redraws in the new ListFontSize; every list adds one.
  std::vector<std::function<void()>> ListFontChanged;
  // The password covers of the floating windows loaded now.
  std::function<std::vector<PasswordCover*>()> LoadedCovers;
  // At the end: every window the module has loaded is closed.
  std::vector<std::function<void()>> CloseLoadedWindows;

  // Ends the program without a further question; the start-up sets it to its own end.
  std::function<void()> CloseProgram;
};

ModuleSeams& Seams();

using SeamAction = std::function<void()> ModuleSeams::*;
// Runs that member of Seams() when a module has set it.
void CallSeam(SeamAction action);
// A handler that runs CallSeam(action): the member is looked up when the handler runs, so it
// may be bound before the module sets it.
std::function<void()> SeamCaller(SeamAction action);

}  // namespace workmemo
