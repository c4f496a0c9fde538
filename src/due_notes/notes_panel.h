#pragma once
// The notes page "记事管理" of the main window: every note, or the notes a search found, on a
// list of one screen at a time, the query bar below it, and the buttons that add, change and
// delete notes. The list keeps its rows between queries: single changes edit them in place.
#include <string>
#include <string_view>

#include "shell/notes_table.h"
#include "shell/page_registry.h"
#include "ui/skin_list_view.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

// Program-wide state of the page.
struct NotesPanelState {
  NoteRows NotesPanelRows;      // the list's notes in the order of the last query
  int NotesPanelRowCount = 0;   // always the size of NotesPanelRows
  int NotesPanelVisibleRows = 19;
  int NotesPanelScrollMax = 1;  // the largest first row, never 0
  int NotesPanelFirstRow = 1;   // the note on the first line, 1 .. NotesPanelScrollMax
  // The note an action works on, taken from the list's selection (-1: none); 0 tells the
  // note editor to add a new note.
  int SelectedNoteId = 0;
};
NotesPanelState& NotesPage();

SkinListView& NotesList();

// What the page needs of the main window it lies in: the page area and its painted picture.
void SetNotesPanelHost(PanelHost host);

inline constexpr std::string_view kNotesPanelName = "NotesPanel";
inline constexpr std::string_view kNotesListBox = "背景动画框";
inline constexpr std::string_view kNotesBarBox = "界面功能动画框_记事本";
inline constexpr std::string_view kNotesQueryBox = "查询内容框";
inline constexpr std::string_view kNotesQueryFieldLabel = "透明标签1";
inline constexpr std::string_view kNotesQueryFrameSprite = "记事本查询内容框";
inline constexpr std::string_view kNotesQueryTextSprite = "记事本查询内容";
inline constexpr std::string_view kNotesRefreshSprite = "记事本刷新按钮";
inline constexpr std::string_view kNotesClearSprite = "记事本清除按钮";

// Binds the events of a freshly loaded NotesPanel; its created handler runs LoadNotesPanel.
// The page is the program's one notes page until it is destroyed.
void SetUpNotesPanel(platform::ui::Window& page);
// The loaded page; nullptr before SetUpNotesPanel and after its destruction.
platform::ui::Window* NotesPanelWindow();

// The created handler: place and paint the page, build the list, list every note, become a
// page of the main window.
void LoadNotesPanel();
// The page over the page area and its function bar where the timed-reminder page has its own.
void LayoutNotesPanelBar();
// Paints the page from the skin and, the first time, builds the query bar's sprites; the
// re-skinning runs it again.
void LayoutNotesPanel();
// Builds NotesList: 19 lines of 27 pixels under a header, four columns, the note picture on
// every line.
void SetNotesListColumns();
// The captions of columns 2 to 4 at the list font size.
void SetNotesListHeaders();

// The page's query: the notes whose field (label "标题：", "内容：" or "类型：") holds
// `value`, every note for any other label; the first screen shown with no selection.
void QueryNotes(std::string_view fieldLabel = {}, std::string_view value = {});
// 查询 and Enter: the query of the label's field with the box's text.
void RunNotesQuery();
// Writes the lines from note `first` on (held within 1 .. NotesPanelScrollMax).
void FillNotesList(int first);
// Back to every note, the query bar emptied. Other modules reach it through the seam
// RefreshNotesPage after they changed the notes database.
void RefreshNotesPanel();
// Empties the query box; the list keeps its rows.
void ClearNotesQuery();

// Deletes the selected note after its question.
void DeleteNote();
// 1-based position of the first row with that id, -1 when none.
int FindNoteRowById(const NoteRows& rows, int id);
// Open the note editor for a new note, or for the selected one.
void AddNote();
void ModifySelectedNote();

// A note added elsewhere joins the end of the list; a list showing its last screen scrolls
// so that it comes into view.
void AppendNoteToNotesPanel(const NoteRecordRow& note);
// A changed note replaces its row (when the list holds it) and the lines are written again.
void ReplaceNoteInNotesPanel(const NoteRecordRow& note);

}  // namespace workmemo
