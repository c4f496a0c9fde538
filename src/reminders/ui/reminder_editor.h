#pragma once
// The reminder editor ReminderEditorWindow: the modal window in which one timed reminder is
// added, modified, or copied and added. Its program-wide state outlives the window; every
// opening loads the window afresh from its template.
#include <array>
#include <string>
#include <string_view>

#include "reminders/store/reminder_record.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

struct ReminderEditorState {
  // The record being edited: a blank copy after a reset, the loaded reminder after a load,
  // filled field by field by the save. Fields the editor never writes keep their value.
  ReminderRecord EditorReminder;
  ReminderRecord EmptyReminder;
  // Set by the copy-and-add request; the next editor that loads a record turns it into an
  // add of a copy. The add request and a plain modify clear it; only the password page's
  // replay of the request keeps it.
  int CopyAndAddPending = 0;
  // The weekday buttons' ticks, Sunday to Saturday.
  std::array<int, 7> WeekdayTicked{};
  // The date group a day picked in the drop-down calendar goes to: 1 start, 2 end.
  int DatePickerTarget = 0;
};
ReminderEditorState& Editor();

inline constexpr std::string_view kReminderEditorName = "ReminderEditorWindow";

// The three ways in: a new reminder, the reminder selected on the list page, a copy of it
// saved as a new one. Each passes the password gate first and returns once the editor closed.
void OpenAddReminderEditor();
void OpenModifyReminderEditor();
void CopyAndAddReminder();

// Binds the editor's events to a loaded ReminderEditorWindow template; opening it runs
// InitialiseReminderEditor. The window is the editor until it closes.
void SetUpReminderEditor(platform::ui::Window& window);
// The open editor; nullptr when none is open.
platform::ui::Window* ReminderEditorWindow();
// The id of the reminder the open editor modifies; 0 when none is open or it adds one.
int ReminderIdInOpenEditor();

// The created handler: layout and skin, the category list, the reset, the lunar lists, and
// the loaded reminder when one is being modified.
void InitialiseReminderEditor();
void LayOutReminderEditor();
void SkinReminderEditor();
// keep 1: clears title, content and a countdown and applies the repeat mode again; any other
// value: the full reset to a new reminder of today (or of the calendar page's shown day).
void ResetReminderEditor(int keep);
// Fills the units from the reminder with id EditedReminderId.
void LoadReminderIntoEditor();
// OK: checks, builds EditorReminder from the units and saves it; an add stays open for the
// next reminder, a modify closes.
void SaveReminderFromEditor();
// 1 after showing the message of the first empty required unit; 0 when all are filled.
int CheckRequiredFields();

// The weekday buttons as weekday numbers ("1" Sunday .. "7" Saturday) joined by "-": the
// ticked ones, or the unticked ones.
std::string BuildWeekdayList();
std::string BuildNoWeekdayList();
// Ticks exactly the weekdays the list names, or all but those.
void ApplyWeekdayList(std::string_view list);
void ApplyNoWeekdayList(std::string_view list);

// Hands the openers to the list page's buttons and menu, the tray and the password page.
void RegisterReminderEditor();

}  // namespace workmemo
