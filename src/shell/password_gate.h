#pragma once
// The password gate: guarded pages and actions record their request and show the password
// page; a correct password there performs the request. Windows reach it through the hooks
// below, so every path runs without a window.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/data_files.h"
#include "shell/notes_table.h"
#include "shell/run_state.h"
#include "shell/settings.h"

namespace workmemo {

// Page and request names as the page switch and the gate compare them (GB18030).
extern const char kPageTimedReminders[];  // "定时提醒"
extern const char kPageDue[];             // "到期提醒"
extern const char kPageNotes[];           // "记事管理"
extern const char kPagePassword[];        // "密码管理"
extern const char kPageBackup[];          // "备份数据"
extern const char kPageAdvanced[];        // "高级设置"
extern const char kPageCalendar[];        // "月历窗口"
extern const char kPageSkin[];            // "更换皮肤"
extern const char kPagePasswordCheck[];   // "密码验证"
extern const char kRequestAddReminder[];     // "添加提醒"
extern const char kRequestModifyReminder[];  // "修改提醒"
extern const char kRequestDeleteReminder[];  // "删除提醒"
extern const char kRequestDeleteAllReminders[];  // "全部删除"
extern const char kRequestMoveToNotes[];     // "移动提醒到记事管理"
extern const char kRequestClose[];           // "关闭"
extern const char kMainTitle[];              // "枫汀阁工作备忘录"
extern const char kMainTitleLoggedIn[];      // "枫汀阁工作备忘录 (已登录)"

// One row of the page table of the page switch.
struct PanelPage {
  const char* name;              // the page name the switch is called with
  const char* panel;             // the page window shown
  const char* status;            // the status line; empty for the password page (see below)
  const char* navigationButton;  // the button the selection marker moves under; empty: stays
};

// The row of a page name (compared exactly), or nullptr for a name the table does not hold.
const PanelPage* FindPanelPage(std::string_view name);

// The status line the page switch writes for `name`: the page's own text, "[" + current +
// "]->[密码验证]" for the password page, "[" + current + "]" for a name not in the table.
std::string PanelStatusText(std::string_view name, std::string_view currentPageName);

// A cover laid over a floating window's list while nobody has logged in.
class PasswordCover {
 public:
  virtual ~PasswordCover() = default;
  virtual void HideCover() = 0;
};

// Whether a typed password is right; see StoredDigestCheck.
using PasswordCheck = std::function<bool(std::string_view typed)>;

// The check against the stored digest that `readStoredDigest` gives (the timed-reminder
// database's "admin" row): the typed text's EncodePassword equals it byte for byte. An empty
// stored digest (no row) matches nothing, and neither does a typed text whose digest is empty.
PasswordCheck StoredDigestCheck(std::function<std::string()> readStoredDigest);

// What the gate does to windows and to the other subsystems. Every hook may be left empty;
// messages then go to the program's message box (Services().ShowMessageBox).
struct GateHooks {
  std::function<void(std::string_view page)> ShowPanel;       // the page switch
  std::function<bool(std::string_view page)> IsPanelVisible;  // is that page's panel shown
  std::function<void(std::string_view title)> SetTitle;       // the main window's title label
  std::function<void(std::string_view message)> ShowMessage;
  std::function<bool(std::string_view question)> AskConfirm;  // true on OK
  std::function<void(int ticked)> ShowAskOnceTicked;          // the "log in once" check box
  // The covers of the floating windows that are loaded now (today, due-date, pop-up).
  std::function<std::vector<PasswordCover*>()> LoadedCovers;
  // The recorded requests. The reminder actions apply their gate again and now pass it.
  std::function<void()> OpenAddReminderEditor;
  std::function<void()> OpenModifyReminderEditor;
  std::function<void()> DeleteReminder;
  std::function<void()> DeleteAllReminders;
  std::function<void()> MoveSelectedReminderToNotes;
  std::function<void()> CloseProgram;  // ends the program without a further question
};

// The guarded actions of the timed-reminder page. Deleting all reminders is a delete and is
// guarded like deleting one.
enum class GuardedAction { AddReminder, ModifyReminder, DeleteReminder, DeleteAllReminders, MoveToNotes };

class PasswordGate {
 public:
  PasswordGate(RunState& state, ProgramSettings& settings, PasswordCheck check, GateHooks hooks);

  // The navigation handlers: records the page and shows it, or the password page when the
  // page is guarded and nobody has logged in. The calendar page leaves the request alone.
  void OpenPage(std::string_view page);
  void OpenTimedRemindersPage() { OpenPage(kPageTimedReminders); }

  // The gate of a reminder action: records the request; true when the password page was
  // shown and the caller must stop, false when the action may run now.
  bool Guard(GuardedAction action);

  // The user's request to end the program: a question, or the password page when closing
  // is guarded and nobody has logged in.
  void RequestExit();

  // OK of the password page with the typed text: on a match, remembers the login when "log
  // in once" is ticked, unlocks the timed-reminder page and performs the recorded request;
  // otherwise shows the wrong-password message and keeps the request. The page empties its
  // box afterwards either way. True on a match.
  bool ConfirmPasswordPrompt(std::string_view typed);

  // The password box over a floating window: on a match, remembers the login (or unlocks
  // the timed-reminder page when "log in once" is not ticked) and hides `own`. True on a match.
  bool CheckWindowPassword(std::string_view typed, PasswordCover& own);

  void ToggleAskPasswordOnce();

  // Forgets the login and goes back to the timed-reminder page.
  void LogOut();

  RunState& state() { return state_; }
  ProgramSettings& settings() { return settings_; }
  const GateHooks& hooks() const { return hooks_; }

  // Hook helpers that tolerate an empty hook.
  void ShowPanel(std::string_view page) const;
  void ShowMessage(std::string_view message) const;
  void SetTitle(std::string_view title) const;

 private:
  void SwitchTo(std::string_view page);  // records page, resetting the page unlock on a change
  bool IsPanelVisible(std::string_view page) const;
  void RememberLogin();                  // PasswordEntered, title, every loaded cover hidden
  void Perform(std::string_view request);

  RunState& state_;
  ProgramSettings& settings_;
  PasswordCheck check_;
  GateHooks hooks_;
};

// The lists a move of a reminder into the notes updates besides the two databases.
class MoveToNotesLists {
 public:
  virtual ~MoveToNotesLists() = default;
  // The id selected on the timed-reminder list; below 1 when no row is selected.
  virtual int SelectedReminderId() = 0;
  // The notes page appends the moved note, recounts its positions and redraws.
  virtual void AppendNote(const NoteRecordRow& note) = 0;
  // The reminder left the store's list and ListPageReminders: the list page recounts its
  // positions, clears its selection and redraws; a loaded today window refills.
  virtual void ReminderMoved(int id) = 0;
};

// Runs a statement that must change a row: one that runs and changes none fails as well.
// 1 or 0.
int ExecuteChangingRow(platform::db::Connection& connection, const std::string& sql);

// Moves the selected timed reminder into the notes: inserts the note, deletes the reminder
// and updates the lists. Nothing happens without a selection. When the reminder cannot be
// deleted the note just inserted is deleted again, "删除提醒失败！" and "移动提醒到记事本失败！"
// show and no list changes. Messages go to `showMessage`, or to the program's message box when it is empty.
// 1 when the reminder was moved.
int MoveSelectedReminderToNotes(ProgramDatabases& db, RunState& state, MoveToNotesLists& lists,
                                const std::function<void(std::string_view)>& showMessage);

}  // namespace workmemo
