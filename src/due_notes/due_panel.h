#pragma once
// The due-date page "到期提醒" of the main window: the due-date items (all, or a query's
// result) on a list of seven columns, one screen at a time, the query bar below it, the
// buttons that add, modify and delete, and the row menu that sets the progress or copies an
// item into a new one a month or a year later. The editor updates this page's rows itself.
#include <functional>
#include <string>
#include <string_view>

#include "due_notes/due_rows.h"
#include "shell/page_registry.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

class SkinListView;

// The page's program-wide state.
struct DuePanelState {
  DueRows DuePanelRows;
  int DuePanelRowCount = 0;
  int DuePanelVisibleRows = 19;
  int DuePanelScrollMax = 1;  // the largest first row, never below 1
  int DuePanelFirstRow = 1;
  // The row an operation works on, from the list's selection; 0 makes the editor add.
  int SelectedDueId = 0;
  // The editor loads the selected row as a new item due a month or a year later.
  int CopyAddOneMonth = 0;
  int CopyAddOneYear = 0;
};
DuePanelState& DuePage();
SkinListView& DuePanelList();

// The main window the page lies in.
void SetDuePanelHost(PanelHost host);

// The question a delete asks; and the messages of a failed delete and of an empty query.
inline constexpr char kDeleteDueQuestion[] = "是否真的要删除选中的到期提醒？";
inline constexpr char kDeleteDueFailed[] = "删除到期提醒失败！";
inline constexpr char kEmptyDueQuery[] = "请输入要查询的内容！";

// Questions the page asks (true on OK); empty: the program's confirmation box.
std::function<bool(std::string_view question, std::string_view detail)>& DueConfirmHook();
// Shows a message in the program's message box.
void ShowDueMessage(std::string_view message);

// Binds the events of a freshly loaded DuePanel; its created handler runs LoadDuePanel.
void SetUpDuePanel(platform::ui::Window& page);
// The loaded page; nullptr before SetUpDuePanel and after its destruction.
platform::ui::Window* DuePanelWindow();

// The created handler: place, paint, build the list, list every item, join the main window.
void LoadDuePanel();
// Paints the page from the skin and, the first time, builds the query bar's sprites.
void LayoutDuePanel();
// The captions of columns 2 to 7 at the list font size.
void SetDueListHeaders();

// The page's query: label and value as DueListQuery takes them; a days query with a count
// below 1 shows "天数必须大于0" and leaves the list as it was. Otherwise the result replaces
// the rows and the first screen shows with no selection.
void QueryDueList(std::string_view fieldLabel = {}, std::string_view text = {});
// The query button and Enter: the label's query of the box's text; an empty box asks for one.
void RunDueQuery();
// Writes the lines from row `first` on (held within 1 .. DuePanelScrollMax).
void FillDueList(int first);
// Back to every row: the query box emptied, its buttons hidden. The one refresh that other
// parts of the program run after the due-date data changed beneath the page.
void RefreshDuePanel();
// Empties the query box and its text on the bar; the rows stay.
void ClearDueQuery();
void SelectDueQueryField();

// The row menu and the buttons.
void SetDueProgress(int progress);
void DeleteDueRecord();
void AddDue();
void ModifySelectedDue();
void CopyDueAddOneMonth();
void CopyDueAddOneYear();

// A saved item in the page's rows: appended at the end (the last screen stays in view when
// it was shown), or replacing the row of its id; then the lines are written again.
void AppendDueRow(const DueRecordRow& row);
void ReplaceDueRow(const DueRecordRow& row);

}  // namespace workmemo
