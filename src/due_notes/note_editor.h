#pragma once
// NoteEditorWindow: the modal editor that adds notes to the notes table or changes one, for
// the notes page. It holds the note's date (three boxes and a drop-down calendar), its type
// (a box with a list of the types in use), its title and its content. After an add it stays
// open, emptied, for the next note; after a change it closes.
#include <string_view>

#include "shell/notes_table.h"

namespace platform::ui {
class ComboBox;
class Window;
}  // namespace platform::ui

namespace workmemo {

inline constexpr std::string_view kNoteEditorName = "NoteEditorWindow";

// Opens the editor modally for NotesPage().SelectedNoteId (0 adds a new note) and returns
// once it is closed.
void OpenNoteEditor();
// The open editor window; nullptr when none is open.
platform::ui::Window* NoteEditorWindow();
// Closes an open editor (the end of the program).
void CloseNoteEditor();

// Binds the editor's events to a loaded NoteEditorWindow; its created handler runs
// LoadNoteEditor. The editor lives until the window is destroyed.
void SetUpNoteEditor(platform::ui::Window& window);

// The note being edited: emptied by every reset.
NoteRecordRow& EditorNote();

// Set-up on creation: size, paint, calendar, type list, an empty form; the note to change
// read into it.
void LoadNoteEditor();
// The types in use, or "普通记事" alone while no note has a type.
void FillNoteTypeCombo(platform::ui::ComboBox& combo);
// Empties the form for a new note, dated today; a type typed or picked earlier stays.
void ResetNoteEditorFields();
// Reads the note SelectedNoteId into the form.
void LoadNoteIntoEditor();
// 确定: checks the input and writes the note; the notes page follows.
void SaveNote();

}  // namespace workmemo
