#pragma once
// The actions of the timed-reminder list page on the selected reminder or on all of them:
// delete, delete all, resume and pause, and the move into the notes. Each keeps the table,
// the store's list and the page's copies in step, or changes none of them.
namespace workmemo {

// 删除: the selected reminder after its question; guarded by the delete protection.
void DeleteReminder();
// 全部删除: every reminder after two questions; guarded like deleting one.
void DeleteAllReminders();
// 置提醒状态 (mode 0) and 置暂停状态 (mode 1): the selected reminder runs again or is paused,
// stored in the table.
void SetReminderState(int mode);
// 移到到记事管理: after its question, and the password when none was given this run, the
// selected reminder becomes a note of type "普通记事".
void MoveReminderToNotes();
// The move itself, with the list page and the notes page as its lists; the password page
// runs it after a correct password.
void MoveSelectedReminderToNotes();

// The page drops a reminder that left the table and the store: its copy goes, the selection
// is cleared, and the other rows keep their places and states (RefreshReminderViews).
void DropReminderFromListPage(int id);

// Binds the actions to the page's buttons and menus and to the seams the password page and
// the notes page use.
void RegisterReminderListActions();

}  // namespace workmemo
