// The due-date page's actions on the selected row, and the editor's saves in the page's rows.
#include <algorithm>

#include "common/text_routines.h"
#include "due_notes/due_editor.h"
#include "due_notes/due_panel.h"
#include "due_notes/due_statements.h"
#include "shell/data_files.h"
#include "shell/message_box.h"
#include "shell/password_gate.h"
#include "shell/shell_services.h"
#include "ui/skin_list_view.h"

namespace workmemo {

namespace {

constexpr int kDeleteDetailBytes = 30;

int SelectedRowId() { return DuePanelList().SelectedId(); }

bool Confirm(std::string_view question, std::string_view detail) {
  if (const auto& hook = DueConfirmHook()) return hook(question, detail);
  return ShowConfirmBox(question, {}, detail) == 1;
}

// After the row count changed: the largest first row again, the first row held within it.
void Recount(DuePanelState& st) {
  st.DuePanelRowCount = static_cast<int>(st.DuePanelRows.size());
  st.DuePanelScrollMax = LargestFirstRow(st.DuePanelRowCount, st.DuePanelVisibleRows);
  st.DuePanelFirstRow = std::min(st.DuePanelFirstRow, st.DuePanelScrollMax);
}

void OpenEditorWithCopy(int addOneMonth, int addOneYear) {
  DuePanelState& st = DuePage();
  st.SelectedDueId = SelectedRowId();
  if (st.SelectedDueId <= 0) {
    ShowDueMessage("请先要复制的到期提醒！");
    return;
  }
  st.CopyAddOneMonth = addOneMonth;
  st.CopyAddOneYear = addOneYear;
  OpenDueEditor();
}

}  // namespace

std::function<bool(std::string_view, std::string_view)>& DueConfirmHook() {
  static std::function<bool(std::string_view, std::string_view)> hook;
  return hook;
}

void ShowDueMessage(std::string_view message) {
  if (Services().ShowMessageBox) {
    Services().ShowMessageBox(message);
  } else {
    ShowMessageBox(message);
  }
}

void SetDueProgress(int progress) {
  DuePanelState& st = DuePage();
  st.SelectedDueId = SelectedRowId();
  if (st.SelectedDueId <= 0) {
    ShowDueMessage("请先要设置完成进度的到期提醒！");
    return;
  }
  // A row deleted meanwhile changes nothing: that is a failure too.
  if (ExecuteChangingRow(Databases().DueConnection, due_sql::SetProgress(st.SelectedDueId, progress)) != 1) {
    ShowDueMessage("修改完成进度失败！");
    return;
  }
  const int at = FindDueRowById(st.DuePanelRows, st.SelectedDueId);
  if (at >= 1) st.DuePanelRows[static_cast<std::size_t>(at - 1)].wcjd = std::to_string(progress);
  FillDueList(st.DuePanelFirstRow);
}

void DeleteDueRecord() {
  DuePanelState& st = DuePage();
  st.SelectedDueId = SelectedRowId();
  if (st.SelectedDueId <= 0) {
    ShowDueMessage("请选择要删除的记录！");
    return;
  }
  ProgramDatabases& db = Databases();
  db.DueRecordSet.Open(db.DueConnection, due_sql::OneRow(st.SelectedDueId));
  const std::string name = TruncateText(db.DueRecordSet.Text("xmmc"), kDeleteDetailBytes);
  if (!Confirm(kDeleteDueQuestion, name)) return;
  if (ExecuteChangingRow(db.DueConnection, due_sql::DeleteRow(st.SelectedDueId)) != 1) {
    ShowDueMessage(kDeleteDueFailed);
    return;
  }
  const int at = FindDueRowById(st.DuePanelRows, st.SelectedDueId);
  if (at >= 1) st.DuePanelRows.erase(st.DuePanelRows.begin() + (at - 1));
  SkinListView& list = DuePanelList();
  list.ShowSelection(false);
  list.SetSelectedId(0);
  st.SelectedDueId = 0;
  Recount(st);
  FillDueList(st.DuePanelFirstRow);
}

void AddDue() {
  DuePanelState& st = DuePage();
  st.SelectedDueId = 0;
  st.CopyAddOneMonth = 0;
  st.CopyAddOneYear = 0;
  OpenDueEditor();
}

void ModifySelectedDue() {
  DuePanelState& st = DuePage();
  st.SelectedDueId = SelectedRowId();
  st.CopyAddOneMonth = 0;
  st.CopyAddOneYear = 0;
  if (st.SelectedDueId <= 0) {
    ShowDueMessage("请选择要修改的记录！");
    return;
  }
  OpenDueEditor();
}

void CopyDueAddOneMonth() { OpenEditorWithCopy(1, 0); }
void CopyDueAddOneYear() { OpenEditorWithCopy(0, 1); }

void AppendDueRow(const DueRecordRow& row) {
  DuePanelState& st = DuePage();
  const bool showedLastScreen = st.DuePanelFirstRow == st.DuePanelScrollMax;
  const int oldMax = st.DuePanelScrollMax;
  st.DuePanelRows.push_back(row);
  Recount(st);
  // The new row comes into view when the last screen was shown.
  if (showedLastScreen && st.DuePanelScrollMax > oldMax) st.DuePanelFirstRow = st.DuePanelScrollMax;
  FillDueList(st.DuePanelFirstRow);
}

void ReplaceDueRow(const DueRecordRow& row) {
  DuePanelState& st = DuePage();
  const int at = FindDueRowById(st.DuePanelRows, row.id);
  if (at >= 1) st.DuePanelRows[static_cast<std::size_t>(at - 1)] = row;
  FillDueList(st.DuePanelFirstRow);
}

}  // namespace workmemo
