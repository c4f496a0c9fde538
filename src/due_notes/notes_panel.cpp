#include "due_notes/notes_panel.h"

#include <algorithm>
#include <memory>

#include "common/date_format.h"
#include "common/text_routines.h"
#include "due_notes/note_editor.h"
#include "due_notes/note_picture.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/data_files.h"
#include "shell/message_box.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "ui/list_page.h"
#include "ui/query_bar.h"
#include "ui/skin_list_view_box.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kListColumns = 4;
constexpr int kColumnX[kListColumns] = {1, 30, 133, 300};
constexpr const char* kColumnCaptions[kListColumns] = {"", "日期", "类型", "标题"};
constexpr int kTypeBytes = 16;
constexpr int kTitleBytes = 92;
constexpr int kQuestionTitleBytes = 30;

constexpr std::string_view kFieldCombo = "查询项目类型组合框";

constexpr QueryBarUnits kBarUnits = {
    .barPicture = "界面功能框_记事本",
    .barBox = kNotesBarBox,
    .frame = "外形框5",
    .queryBox = kNotesQueryBox,
    .refreshButton = "记事本查询刷新按钮",
    .clearButton = "记事本查询清除按钮",
    .frameSprite = kNotesQueryFrameSprite,
    .textSprite = kNotesQueryTextSprite,
    .refreshSprite = kNotesRefreshSprite,
    .clearSprite = kNotesClearSprite,
};

// The page's own objects; one page lives from the main window's load to the end.
struct PanelContext {
  ui::Window* page = nullptr;
  SkinPainter painter;  // NotesPanelPainter
  std::unique_ptr<QueryBar> bar;
  std::unique_ptr<ListBoxBinding> binding;
};

std::unique_ptr<PanelContext>& Context() {
  static std::unique_ptr<PanelContext> context;
  return context;
}

PanelHost& Host() {
  static PanelHost host;
  return host;
}

void ShowMessage(std::string_view message) {
  if (Services().ShowMessageBox) Services().ShowMessageBox(message);
}

ListTextLook CellLook(bool centred) { return ListCellLook(Settings().ListFontSize, centred); }

// The count and the largest first row follow the rows.
void Recount(NotesPanelState& st) {
  st.NotesPanelRowCount = static_cast<int>(st.NotesPanelRows.size());
  st.NotesPanelScrollMax = LargestFirstRow(st.NotesPanelRowCount, st.NotesPanelVisibleRows);
}

void ClearSelection() {
  NotesList().ShowSelection(false);
  NotesList().SetSelectedId(0);
  NotesPage().SelectedNoteId = 0;
}

void BindPageEvents(ui::Window& page) {
  using ui::Event;
  auto click = [&page](std::string_view unit, std::function<void()> action) {
    page.On(unit, Event::Clicked, [action = std::move(action)](ui::EventArgs&) { action(); });
  };
  click("记事本查询按钮", RunNotesQuery);
  click("添加记事管理按钮", AddNote);
  click("修改记事管理按钮", ModifySelectedNote);
  click("删除记事管理按钮", DeleteNote);
  auto dropDown = [&page] { ui::DropDownComboBox(page.UnitAs<ui::ComboBox>(kFieldCombo)); };
  click("记事管理下拉按钮1", dropDown);
  page.On(kNotesQueryFieldLabel, Event::LeftDown, [dropDown](ui::EventArgs&) { dropDown(); });
  page.On(kFieldCombo, Event::Changed, [&page](ui::EventArgs&) {
    const auto& combo = page.UnitAs<ui::ComboBox>(kFieldCombo);
    page.Unit(kNotesQueryFieldLabel).SetText(combo.ItemText(combo.CurrentIndex()) + "：");
  });
  page.On(kNotesQueryBox, Event::KeyDown, [](ui::EventArgs& a) {
    if (a.key != 13) return;
    a.handled = true;
    RunNotesQuery();
  });

  PanelContext& ctx = *Context();
  ctx.bar = std::make_unique<QueryBar>(page, kBarUnits, RefreshNotesPanel);

  ListRoutes routes;
  routes.showPage = FillNotesList;
  routes.openRecord = [](int id) {
    if (id >= 1) ModifySelectedNote();
  };
  ctx.binding = ctx.bar->BindList(kNotesListBox, "时钟1", "移动时钟", NotesList(), std::move(routes));

  page.On({}, Event::Created, [](ui::EventArgs&) { LoadNotesPanel(); });
  // The page and its list go together: nothing may point at the page's boxes afterwards.
  page.On({}, Event::Destroying, [](ui::EventArgs&) {
    if (!Context()) return;
    Context()->painter.ClearSprites();
    Context().reset();
    NotesList() = SkinListView();
  });
}

}  // namespace

NotesPanelState& NotesPage() {
  static NotesPanelState state;
  return state;
}

SkinListView& NotesList() {
  static SkinListView list;
  return list;
}

void SetNotesPanelHost(PanelHost host) { Host() = std::move(host); }

void SetUpNotesPanel(ui::Window& page) {
  Context() = std::make_unique<PanelContext>();
  Context()->page = &page;
  // A list of an earlier page points at that page's box: start from an unbuilt one.
  NotesList() = SkinListView();
  BindPageEvents(page);
}

ui::Window* NotesPanelWindow() { return Context() ? Context()->page : nullptr; }

void LoadNotesPanel() {
  if (!Context()) return;
  LayoutNotesPanelBar();
  LayoutNotesPanel();
  SetNotesListColumns();
  QueryNotes();
  if (Host().mainWindow != nullptr) Context()->page->SetParentWindow(Host().mainWindow);
}

void LayoutNotesPanelBar() {
  ui::Window& page = *Context()->page;
  const PanelHost& host = Host();
  page.Move(host.left, host.top);
  page.Resize(host.width, host.height);
  Context()->bar->Place(host.width, host.height);
}

void LayoutNotesPanel() {
  if (!Context()) return;
  PanelContext& ctx = *Context();
  const std::string& areaPicture = Host().Picture();
  ctx.bar->Paint(PaintListPage(ctx.painter, *ctx.page, areaPicture));
}

void SetNotesListColumns() {
  PanelContext& ctx = *Context();
  SkinListView& list = NotesList();
  NotesPage().NotesPanelVisibleRows = BuildPageList(list, ctx.binding->Surface(), *ctx.page, kColumnX, 24, 23);
  for (int row = 1; row <= list.VisibleRowCount(); ++row) list.SetCellData(row, 1, NotePicture());
  SetNotesListHeaders();
}

void SetNotesListHeaders() {
  const ListCaptionLook look(Settings().ListFontSize);
  for (int c = 2; c <= kListColumns; ++c) NotesList().SetHeaderText(c, kColumnCaptions[c - 1], look);
}

void QueryNotes(std::string_view fieldLabel, std::string_view value) {
  NotesPanelState& st = NotesPage();
  st.NotesPanelRows = QueryNoteRows(Databases(), NotesQueryStatement(fieldLabel, value));
  Recount(st);
  st.NotesPanelFirstRow = 1;
  st.SelectedNoteId = 0;
  if (Context()) ResetListForQuery(NotesList(), st.NotesPanelScrollMax);
  FillNotesList(1);
}

void RunNotesQuery() {
  if (!Context()) return;
  QueryBar& bar = *Context()->bar;
  const std::string text = bar.Text();
  if (text.empty()) {
    ShowMessage("请输入要查询的记事内容！");
    return;
  }
  QueryNotes(Context()->page->Unit(kNotesQueryFieldLabel).Text(), text);
  bar.QueryRan();
}

void FillNotesList(int first) {
  NotesPanelState& st = NotesPage();
  st.NotesPanelFirstRow = ClampFirstRow(first, st.NotesPanelScrollMax);
  if (!Context()) return;
  SkinListView& list = NotesList();
  for (int i = 1; i <= st.NotesPanelVisibleRows; ++i) list.ShowRow(i, false);
  const int rows = std::clamp(static_cast<int>(st.NotesPanelRows.size()) - st.NotesPanelFirstRow + 1, 0,
                              st.NotesPanelVisibleRows);
  for (int i = 1; i <= rows; ++i) {
    const NoteRecordRow& note = st.NotesPanelRows[static_cast<std::size_t>(st.NotesPanelFirstRow - 2 + i)];
    list.ShowRow(i, true);
    list.SetCellText(i, 2, FormatDateTime(note.jsdate, 1), CellLook(true));
    list.SetCellText(i, 3, FitTextToBytes(note.lx, kTypeBytes), CellLook(false));
    list.SetCellText(i, 4, FitTextToBytes(note.bt, kTitleBytes), CellLook(false));
    list.SetRowId(i, note.id);
  }
  FinishListRefill(list, st.NotesPanelFirstRow, st.NotesPanelScrollMax, st.NotesPanelRowCount);
}

void RefreshNotesPanel() {
  if (Context()) Context()->bar->Reset();
  QueryNotes();
}

void ClearNotesQuery() {
  if (Context()) Context()->bar->ClearQuery();
}

int FindNoteRowById(const NoteRows& rows, int id) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].id == id) return static_cast<int>(i) + 1;
  }
  return -1;
}

void DeleteNote() {
  NotesPanelState& st = NotesPage();
  const int id = NotesList().SelectedId();
  st.SelectedNoteId = id;
  if (id <= 0) {
    ShowMessage("请选择要删除的记录！");
    return;
  }
  const std::optional<NoteRecordRow> note = ReadNote(Databases(), id);
  const std::string title = note ? TruncateText(note->bt, kQuestionTitleBytes) : std::string();
  if (ShowConfirmBox("是否真的要删除选中的记事？", {}, title) != 1) return;
  // A note deleted meanwhile changes no row: that is a failure as well.
  if (DeleteNoteRow(Databases(), id) != 1) {
    ShowMessage("删除记事失败！");
    return;
  }
  const int position = FindNoteRowById(st.NotesPanelRows, id);
  if (position >= 1) st.NotesPanelRows.erase(st.NotesPanelRows.begin() + (position - 1));
  ClearSelection();
  Recount(st);
  FillNotesList(std::min(st.NotesPanelFirstRow, st.NotesPanelScrollMax));
}

void AddNote() {
  NotesPage().SelectedNoteId = 0;
  OpenNoteEditor();
}

void ModifySelectedNote() {
  NotesPanelState& st = NotesPage();
  st.SelectedNoteId = NotesList().SelectedId();
  if (st.SelectedNoteId > 0) {
    OpenNoteEditor();
  } else {
    ShowMessage("请选择要修改的记事！");
  }
}

void AppendNoteToNotesPanel(const NoteRecordRow& note) {
  NotesPanelState& st = NotesPage();
  const int oldMax = st.NotesPanelScrollMax;
  st.NotesPanelRows.push_back(note);
  Recount(st);
  // A list at its end stays at its end, so the new note comes into view.
  if (st.NotesPanelFirstRow == oldMax && st.NotesPanelScrollMax > oldMax) {
    st.NotesPanelFirstRow = st.NotesPanelScrollMax;
  } else {
    st.NotesPanelFirstRow = std::min(st.NotesPanelFirstRow, st.NotesPanelScrollMax);
  }
  FillNotesList(st.NotesPanelFirstRow);
}

void ReplaceNoteInNotesPanel(const NoteRecordRow& note) {
  NotesPanelState& st = NotesPage();
  const int position = FindNoteRowById(st.NotesPanelRows, note.id);
  if (position >= 1) st.NotesPanelRows[static_cast<std::size_t>(position) - 1] = note;
  FillNotesList(st.NotesPanelFirstRow);
}

}  // namespace workmemo
