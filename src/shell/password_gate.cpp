#include "shell/password_gate.h"

#include <utility>

#include "common/database_constants.h"
#include "common/digest.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "shell/shell_services.h"

namespace workmemo {

const char kPageTimedReminders[] = "定时提醒";
const char kPageDue[] = "到期提醒";
const char kPageNotes[] = "记事管理";
const char kPagePassword[] = "密码管理";
const char kPageBackup[] = "备份数据";
const char kPageAdvanced[] = "高级设置";
const char kPageCalendar[] = "月历窗口";
const char kPageSkin[] = "更换皮肤";
const char kPagePasswordCheck[] = "密码验证";
const char kRequestAddReminder[] = "添加提醒";
const char kRequestModifyReminder[] = "修改提醒";
const char kRequestDeleteReminder[] = "删除提醒";
const char kRequestDeleteAllReminders[] = "全部删除";
const char kRequestMoveToNotes[] = "移动提醒到记事管理";
const char kRequestClose[] = "关闭";
const char kMainTitle[] = "枫汀阁工作备忘录";
const char kMainTitleLoggedIn[] = "枫汀阁工作备忘录 (已登录)";

namespace {

const PanelPage kPanelPages[] = {
    {kPageTimedReminders, "TimedReminderPanel", "[定时提醒]", "定时提醒按钮"},
    {kPageDue, "DuePanel", "[到期提醒]", "到期提醒按钮"},
    {kPageNotes, "NotesPanel", "[记事管理]", "记事管理按钮"},
    {kPagePassword, "ChangePasswordPanel", "[密码管理]", "密码管理按钮"},
    {kPageBackup, "DataMaintenancePanel", "[备份数据]", "备份数据按钮"},
    {kPageAdvanced, "AdvancedSettingsPanel", "[高级设置]", "高级设置按钮"},
    {kPageCalendar, "MonthCalendarPanel", "[月历]", ""},
    {kPageSkin, "SkinPanel", "[更换皮肤]", ""},
    {kPagePasswordCheck, "PasswordCheckPanel", "", ""},
};

constexpr std::string_view kExitQuestion = "是否真的要关闭退出！";
constexpr std::string_view kWrongPassword = "密码错误，请重新输入！";
constexpr std::string_view kInitialPasswordHint = "初始密码：";

}  // namespace

const PanelPage* FindPanelPage(std::string_view name) {
  for (const PanelPage& page : kPanelPages) {
    if (name == page.name) return &page;
  }
  return nullptr;
}

std::string PanelStatusText(std::string_view name, std::string_view currentPageName) {
  const std::string bracketed = "[" + std::string(currentPageName) + "]";
  const PanelPage* page = FindPanelPage(name);
  if (page == nullptr) return bracketed;
  if (name == kPagePasswordCheck) return bracketed + "->[" + kPagePasswordCheck + "]";
  return page->status;
}

PasswordCheck StoredDigestCheck(std::function<std::string()> readStoredDigest) {
  return [read = std::move(readStoredDigest)](std::string_view typed) {
    const std::string stored = read ? read() : std::string();
    const std::string encoded = EncodePassword(typed);
    // An over-long input digests to nothing; it must not match a missing row.
    return !stored.empty() && !encoded.empty() && encoded == stored;
  };
}

PasswordGate::PasswordGate(RunState& state, ProgramSettings& settings, PasswordCheck check,
                           GateHooks hooks)
    : state_(state), settings_(settings), check_(std::move(check)), hooks_(std::move(hooks)) {}

void PasswordGate::ShowPanel(std::string_view page) const {
  if (hooks_.ShowPanel) hooks_.ShowPanel(page);
}

void PasswordGate::ShowMessage(std::string_view message) const {
  // Without a hook of its own the gate speaks through the program's message box.
  const auto& show = hooks_.ShowMessage ? hooks_.ShowMessage : Services().ShowMessageBox;
  if (show) show(message);
}

void PasswordGate::SetTitle(std::string_view title) const {
  if (hooks_.SetTitle) hooks_.SetTitle(title);
}

bool PasswordGate::IsPanelVisible(std::string_view page) const {
  return hooks_.IsPanelVisible && hooks_.IsPanelVisible(page);
}

void PasswordGate::SwitchTo(std::string_view page) {
  if (state_.CurrentPageName != page) state_.TimedReminderPageUnlocked = 0;
  state_.CurrentPageName = page;
}

void PasswordGate::OpenPage(std::string_view page) {
  const bool loggedIn = state_.PasswordEntered == 1;
  if (page == kPageTimedReminders || page == kPageDue || page == kPageNotes) {
    SwitchTo(page);
    if (settings_.LoginByPassword == 1 && !loggedIn) {
      ShowPanel(kPagePasswordCheck);
    } else if (page != kPageNotes || !IsPanelVisible(page)) {
      ShowPanel(page);
    }
  } else if (page == kPagePassword || page == kPageBackup || page == kPageAdvanced) {
    SwitchTo(page);
    if (!loggedIn) {
      ShowPanel(kPagePasswordCheck);
    } else if (!IsPanelVisible(page)) {
      ShowPanel(page);
    }
  } else if (page == kPageSkin) {
    SwitchTo(page);
    ShowPanel(page);
  } else if (page == kPageCalendar) {
    // The calendar is no request of its own: the page before it stays recorded.
    if (!IsPanelVisible(page)) ShowPanel(page);
  }
}

bool PasswordGate::Guard(GuardedAction action) {
  if (action == GuardedAction::MoveToNotes) {
    if (state_.PasswordEntered == 1) return false;
    state_.CurrentPageName = kRequestMoveToNotes;
    // A move is confirmed once, so the password given for it is remembered.
    state_.AskPasswordOnce = 1;
    if (hooks_.ShowAskOnceTicked) hooks_.ShowAskOnceTicked(1);
    ShowPanel(kPagePasswordCheck);
    return true;
  }
  int needsPassword = 0;
  switch (action) {
    case GuardedAction::AddReminder:
      state_.CurrentPageName = kRequestAddReminder;
      needsPassword = settings_.AddReminderNeedsPassword;
      break;
    case GuardedAction::ModifyReminder:
      state_.CurrentPageName = kRequestModifyReminder;
      needsPassword = settings_.ModifyReminderNeedsPassword;
      break;
    case GuardedAction::DeleteAllReminders:
      state_.CurrentPageName = kRequestDeleteAllReminders;
      needsPassword = settings_.DeleteReminderNeedsPassword;
      break;
    default:
      state_.CurrentPageName = kRequestDeleteReminder;
      needsPassword = settings_.DeleteReminderNeedsPassword;
      break;
  }
  if (needsPassword == 1 && state_.PasswordEntered == 0 && state_.TimedReminderPageUnlocked == 0) {
    ShowPanel(kPagePasswordCheck);
    return true;
  }
  return false;
}

void PasswordGate::RequestExit() {
  if (settings_.PasswordToClose == 1) {
    state_.CurrentPageName = kRequestClose;
    if (state_.PasswordEntered == 0) {
      ShowPanel(kPagePasswordCheck);
      return;
    }
  }
  if (hooks_.AskConfirm && hooks_.AskConfirm(kExitQuestion) && hooks_.CloseProgram) {
    hooks_.CloseProgram();
  }
}

void PasswordGate::RememberLogin() {
  state_.PasswordEntered = 1;
  SetTitle(kMainTitleLoggedIn);
  if (!hooks_.LoadedCovers) return;
  for (PasswordCover* cover : hooks_.LoadedCovers()) {
    if (cover != nullptr) cover->HideCover();
  }
}

bool PasswordGate::ConfirmPasswordPrompt(std::string_view typed) {
  if (!check_ || !check_(typed)) {
    ShowMessage(std::string(kWrongPassword) + std::string(kInitialPasswordHint) + kInitialPassword);
    return false;
  }
  if (state_.AskPasswordOnce == 1) RememberLogin();
  state_.TimedReminderPageUnlocked = 1;
  // A copy: the performed request may record a new one.
  Perform(std::string(state_.CurrentPageName));
  return true;
}

void PasswordGate::Perform(std::string_view request) {
  auto call = [](const std::function<void()>& hook) {
    if (hook) hook();
  };
  if (request == kPageTimedReminders || request == kPageDue || request == kPageNotes ||
      request == kPageBackup || request == kPageAdvanced || request == kPagePassword) {
    ShowPanel(request);
  } else if (request == kRequestAddReminder) {
    ShowPanel(kPageTimedReminders);
    call(hooks_.OpenAddReminderEditor);
  } else if (request == kRequestModifyReminder) {
    ShowPanel(kPageTimedReminders);
    call(hooks_.OpenModifyReminderEditor);
  } else if (request == kRequestDeleteReminder) {
    ShowPanel(kPageTimedReminders);
    call(hooks_.DeleteReminder);
  } else if (request == kRequestDeleteAllReminders) {
    ShowPanel(kPageTimedReminders);
    call(hooks_.DeleteAllReminders);
  } else if (request == kRequestClose) {
    call(hooks_.CloseProgram);
  } else if (request == kRequestMoveToNotes) {
    call(hooks_.MoveSelectedReminderToNotes);
    ShowPanel(kPageTimedReminders);
  }
}

bool PasswordGate::CheckWindowPassword(std::string_view typed, PasswordCover& own) {
  if (!check_ || !check_(typed)) {
    ShowMessage(kWrongPassword);
    return false;
  }
  if (state_.AskPasswordOnce == 1) {
    RememberLogin();
  } else {
    state_.TimedReminderPageUnlocked = 1;
  }
  own.HideCover();
  return true;
}

void PasswordGate::ToggleAskPasswordOnce() {
  state_.AskPasswordOnce = state_.AskPasswordOnce == 1 ? 0 : 1;
  if (hooks_.ShowAskOnceTicked) hooks_.ShowAskOnceTicked(state_.AskPasswordOnce);
}

void PasswordGate::LogOut() {
  state_.TimedReminderPageUnlocked = 0;
  state_.PasswordEntered = 0;
  SetTitle(kMainTitle);
  OpenTimedRemindersPage();
}

int ExecuteChangingRow(platform::db::Connection& connection, const std::string& sql) {
  std::int64_t changed = 0;
  return connection.Execute(sql, &changed) == 1 && changed > 0 ? 1 : 0;
}

int MoveSelectedReminderToNotes(ProgramDatabases& db, RunState& state, MoveToNotesLists& lists,
                                const std::function<void(std::string_view)>& showMessage) {
  auto show = [&](std::string_view message) {
    const auto& box = showMessage ? showMessage : Services().ShowMessageBox;
    if (box) box(message);
  };
  const int id = lists.SelectedReminderId();
  if (id < 1) return 0;
  state.EditedReminderId = id;
  const ReminderRecord record = db.Reminders.CopyReminder(id);
  // Without the full content the note would be a truncated copy of a reminder about to go.
  if (record.id != id) {
    show("移动提醒到记事本失败！");
    return 0;
  }

  NoteRecordRow note;
  note.bt = record.txbt;
  note.nr = record.txnr;
  note.lx = kDefaultNoteType;
  note.jsdate = record.ksdate;
  if (InsertNoteRow(db, note, platform::clock::Now()) != 1) {
    show("添加记事失败！");
    show("移动提醒到记事本失败！");
    return 0;
  }

  // The reminder must go before the lists show the move; otherwise the note goes again, so
  // the record is never in both places.
  if (!ExecuteChangingRow(db.Reminders.Connection(), "delete from txsj where id=" + std::to_string(id))) {
    if (note.id > 0) DeleteNoteRow(db, note.id);
    show("删除提醒失败！");
    show("移动提醒到记事本失败！");
    return 0;
  }

  lists.AppendNote(note);
  db.Reminders.RemoveLoadedReminder(id);
  RemoveReminderById(db.ListPageReminders, id);
  state.EditedReminderId = 0;
  lists.ReminderMoved(id);
  return 1;
}

}  // namespace workmemo
