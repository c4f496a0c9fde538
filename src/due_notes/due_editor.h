#pragma once
// The due-date editor "添加到期提醒" / "修改到期提醒": a modal window in which one due-date
// item is added, modified, or copied into a new one due a month or a year later. It fills
// its pick lists from the values already used, validates on OK, writes the row and updates
// the due-date page's rows. After an add it stays open, emptied, for the next item.
#include "due_notes/due_rows.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

// The editor's program-wide state.
struct DueEditorState {
  DueRecordRow EditedDueRecord;  // filled by the load and the save
  int DueEditorDateField = 1;    // the date set the calendar edits: 1 start, 2 due
};
DueEditorState& DueEditor();

// Opens the editor modal for the page's SelectedDueId (0 adds) and copy flags; returns
// when it is closed.
void OpenDueEditor();

// Binds the events of a freshly loaded DueEditorWindow; its created handler runs
// LoadDueEditor. The window is the program's one editor until it is destroyed.
void SetUpDueEditor(platform::ui::Window& window);
// The open editor; nullptr when none is open.
platform::ui::Window* DueEditorWindow();

// Lays out and paints the window, resets the fields, fills the pick lists, then adds,
// modifies or copies as the page asked.
void LoadDueEditor();
// Both dates today, the texts empty, the progress "0", the type the first known one.
void ResetDueEditorFields();
// The pick lists of project names, types and customer names from the values in use.
void FillDueEditorCombos();
// The fields from the row of SelectedDueId; without such a row they stay as they are.
void LoadDueRecordIntoEditor();
// OK: validates, then inserts or updates the row and updates the page; an add stays open.
void SaveDueRecord();

}  // namespace workmemo
