#pragma once
// The windows and actions of the modules above the shell, as the start, the tray, the main
// window and the password gate reach them. Each module sets its members once at start, before
// the program runs; the shell looks a member up only when it is used, and an empty one does
// nothing (or the shell's default, where one is named).
#include <functional>
#include <optional>
#include <vector>

#include "reminders/store/reminder_record.h"
#include "shell/notes_table.h"

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
  std::function<void()> DeleteAllReminders;
  std::function<void()> MoveSelectedReminderToNotes;
  // A note written elsewhere (a timed reminder moved into the notes) joins the end of the
  // notes page's list.
  std::function<void(const NoteRecordRow& note)> AppendNoteToNotesPage;
  // The notes database changed behind the notes page (a restore, an import, a compaction):
  // the page lists every note again.
  std::function<void()> RefreshNotesPage;
  // The same for the due-date database and its page.
  std::function<void()> RefreshDuePage;
  // The timed reminders were loaded again (a restore, a compaction, an import, or the start's
  // read ending after the windows were built): the list page lists every reminder, a loaded
  // today window rebuilds its day and the calendar page counts its day's reminders again.
  std::vector<std::function<void()>> TimedRemindersReread;
  // Whether the reminder pop-up is open now.
  std::function<bool()> IsReminderPopupLoaded;
  // An import added these timed reminders (whole rows as read) to the table and the store's
  // list: the list page adds them after its rows, which keep their places and states, a loaded
  // today window rebuilds its day and the calendar page counts its day's reminders again.
  std::vector<std::function<void(const ReminderList& added)>> TimedRemindersAdded;

  // Every window of the module lays itself out again after a change of skin or opacity.
  std::function<void(int transparency)> ApplySkinToAllWindows;
  // What the re-skinning runs, one entry per page or floating window, in the order of `step`
  // (the SkinStep values below). A floating window's entry does nothing while it is not loaded.
  struct SkinRelayout {
    int step = 0;
    std::function<void()> relayout;
  };
  std::vector<SkinRelayout> RelayoutForSkin;
  // Each list sets its headers and redraws in the new ListFontSize; every list adds one.
  std::vector<std::function<void()>> ListFontChanged;
  // The password covers of the floating windows loaded now; every module with covers adds one.
  std::vector<std::function<std::vector<PasswordCover*>()>> LoadedCovers;

  // The day the month calendar page shows while that page is visible, else none; the reminder
  // editor's full reset starts from it.
  std::function<std::optional<double>()> CalendarShownDay;
  // Shows the reminders of `day` in the today window, loading it when it is not loaded.
  std::function<void(double day)> ShowTodayRemindersOn;
  // Whether the today window is loaded now (the calendar page follows it only then).
  std::function<bool()> IsTodayWindowLoaded;
  // At the end: every window the module has loaded is closed.
  std::vector<std::function<void()>> CloseLoadedWindows;

  // Ends the program without a further question; the start-up sets it to its own end.
  std::function<void()> CloseProgram;
};

// The order in which the re-skinning lays out the pages and then the open floating windows.
enum SkinStep : int {
  kSkinMainWindow = 10,
  kSkinReminderListPage = 20,
  kSkinDuePage = 30,
  kSkinNotesPage = 40,
  kSkinMaintenancePage = 50,
  kSkinPasswordChangeAndSettingsPages = 60,
  kSkinMonthCalendarPage = 70,
  kSkinSkinsPage = 80,
  kSkinPasswordCheckPage = 90,
  kSkinTodayWindow = 110,
  kSkinReminderPopup = 120,
  kSkinDesktopClock = 130,
  kSkinHelpWindow = 140,
};

ModuleSeams& Seams();
// Every cover of every module's loaded floating windows.
std::vector<PasswordCover*> AllLoadedCovers();

// Runs every handler a module added to one of the lists above, in the order added.
void CallEachSeam(const std::vector<std::function<void()>>& handlers);
template <typename Arg>
void CallEachSeam(const std::vector<std::function<void(const Arg&)>>& handlers, const Arg& arg) {
  for (const auto& handler : handlers) {
    if (handler) handler(arg);
  }
}

using SeamAction = std::function<void()> ModuleSeams::*;
// Runs that member of Seams() when a module has set it.
void CallSeam(SeamAction action);
// A handler that runs CallSeam(action): the member is looked up when the handler runs, so it
// may be bound before the module sets it.
std::function<void()> SeamCaller(SeamAction action);

}  // namespace workmemo
