#include "reminders/ui/reminder_list_actions.h"

#include <algorithm>

#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/reminder_views.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "shell/data_files.h"
#include "shell/message_box.h"
#include "shell/module_seams.h"
#include "shell/password_gate.h"
#include "shell/run_state.h"
#include "shell/shell_services.h"
#include "shell/startup.h"

namespace workmemo {

namespace {

void ShowMessage(std::string_view message) {
  if (Services().ShowMessageBox) Services().ShowMessageBox(message);
}

bool Confirmed(std::string_view question, std::string_view detail = {}) {
  return ShowConfirmBox(question, {}, detail) == 1;
}

// The selected reminder becomes the one the action works on; below 1 when none is selected.
int TakeSelectedReminder() {
  Run().EditedReminderId = TimedReminderList().SelectedId();
  return Run().EditedReminderId;
}

// The list page and the notes page as the shell's move sees them.
class ListPageMoveLists : public MoveToNotesLists {
 public:
  int SelectedReminderId() override { return TimedReminderList().SelectedId(); }
  void AppendNote(const NoteRecordRow& note) override {
    if (Seams().AppendNoteToNotesPage) Seams().AppendNoteToNotesPage(note);
  }
  void ReminderMoved(int id) override { DropReminderFromListPage(id); }
};

}  // namespace

void DropReminderFromListPage(int id) {
  RemoveReminderById(ListPageReminders(), id);
  TimedReminderList().ShowSelection(false);
  TimedReminderList().SetSelectedId(0);
  Run().EditedReminderId = 0;
  ReminderListPages& st = ListPages();
  st.ListPageRowCount = static_cast<int>(ListPageReminders().size());
  st.ListPageScrollMax = LargestFirstRow(st.ListPageRowCount, st.ListPageVisibleRows);
  st.ListPageNumber = std::min(st.ListPageNumber, st.ListPageScrollMax);
  RefreshReminderViews();
}

void DeleteReminder() {
  const int id = TakeSelectedReminder();
  if (id < 1) {
    ShowMessage("请选择要删除的记录！");
    return;
  }
  if (ProgramGate().Guard(GuardedAction::DeleteReminder)) return;
  ReminderStore& store = Databases().Reminders;
  if (!Confirmed("是否真的要删除选中的提醒？", store.ReadReminderTitle(id))) return;
  // A reminder deleted meanwhile changes no row: that is a failure, and nothing changes.
  if (ExecuteChangingRow(store.Connection(), "delete from txsj where id=" + std::to_string(id)) != 1) {
    ShowMessage("删除提醒失败！");
    return;
  }
  store.RemoveLoadedReminder(id);
  DropReminderFromListPage(id);
}

void DeleteAllReminders() {
  if (ProgramGate().Guard(GuardedAction::DeleteAllReminders)) return;
  if (!Confirmed("是否真的要删除所有的提醒数据？")) return;
  if (!Confirmed("删除后将不能恢复，请注意先备份！是否真的要删除全部提醒？")) return;
  ReminderStore& store = Databases().Reminders;
  if (store.Connection().Execute("delete from txsj") != 1) {
    ShowMessage("删除提醒失败！");
    return;
  }
  store.LoadReminders("select * from txsj");
  ShowAllReminders();
  // The list page already shows the empty table; the today window follows.
  RefreshReminderViews();
  ShowMessage("删除提醒成功！");
}

void SetReminderState(int mode) {
  const int id = TakeSelectedReminder();
  if (id <= 0) {
    ShowMessage(mode == 0 ? "请选择要置提醒状态的提醒！" : "请选择要置暂停状态的提醒！");
    return;
  }
  // The store changes its list only once the table took the change.
  if (Databases().Reminders.SetPaused(id, mode) != 1) {
    ShowMessage("设置暂停状态失败，可能该提醒已删除！");
    return;
  }
  const int position = FindReminderIndex(ListPageReminders(), id);
  if (position >= 1) ListPageReminders()[static_cast<std::size_t>(position) - 1].txzt = mode;
  RefreshReminderViews();
}

void MoveReminderToNotes() {
  if (!Confirmed("是否真的要将选中的提醒移到记事管理？")) return;
  if (ProgramGate().Guard(GuardedAction::MoveToNotes)) return;
  MoveSelectedReminderToNotes();
}

void MoveSelectedReminderToNotes() {
  ListPageMoveLists lists;
  MoveSelectedReminderToNotes(Databases(), Run(), lists, {});
}

void RegisterReminderListActions() {
  ReminderPanelActions& actions = PanelActions();
  actions.DeleteReminder = DeleteReminder;
  actions.DeleteAllReminders = DeleteAllReminders;
  actions.ResumeReminder = [] { SetReminderState(0); };
  actions.PauseReminder = [] { SetReminderState(1); };
  actions.MoveReminderToNotes = MoveReminderToNotes;
  ModuleSeams& seams = Seams();
  seams.DeleteReminder = DeleteReminder;
  seams.DeleteAllReminders = DeleteAllReminders;
  seams.MoveSelectedReminderToNotes = [] { MoveSelectedReminderToNotes(); };
}

}  // namespace workmemo
