#include "shell/password_change.h"

#include "common/digest.h"
#include "platform/db/db.h"

namespace workmemo {
namespace {

std::string AdminUpdate(std::string_view assignments) {
  return "update yhsj set " + std::string(assignments) + " where yh='admin'";
}

std::string RightsUpdate(const ProtectedActions& r) {
  return AdminUpdate("cktxqx=" + std::to_string(r.cktxqx) + ",tjtxqx=" + std::to_string(r.tjtxqx) +
                     ",xgtxqx=" + std::to_string(r.xgtxqx) + ",sctxqx=" + std::to_string(r.sctxqx) +
                     ",txlqx=" + std::to_string(r.txlqx) + ",jsbqx=" + std::to_string(r.jsbqx));
}

std::string PasswordUpdate(std::string_view storedForm) {
  return AdminUpdate("mm='" + platform::db::EscapeSqlText(storedForm) + "'");
}

void EmptyBoxes(PasswordChangeForm& form) {
  form.oldPassword.clear();
  form.newPassword.clear();
  form.confirmation.clear();
}

}  // namespace

int ChangePassword(PasswordChangeForm& form, ProgramDatabases& db, PasswordGate& gate) {
  if (form.oldPassword.empty()) {
    gate.ShowMessage("请输入原密码！");
    return 0;
  }
  if (form.newPassword.empty()) {
    gate.ShowMessage("请输入新密码！");
    return 0;
  }
  if (form.confirmation.empty()) {
    gate.ShowMessage("请输入确认新密码！");
    return 0;
  }
  if (form.newPassword != form.confirmation) {
    gate.ShowMessage("二次输入的新密码不一样！");
    return 0;
  }
  if (!StoredDigestCheck([&db] { return ReadAdminPasswordHash(db); })(form.oldPassword)) {
    gate.ShowMessage("原密码错误,请重新输入原密码！");
    return 0;
  }
  const std::string stored = EncodePassword(form.newPassword);
  int ok = 0;
  // The timed-reminder database first: every check reads it, so from here the new
  // password holds even when a later copy cannot be written.
  if (db.Reminders.StorePassword(stored) != 1) {
    gate.ShowMessage("修改密码失败！");
  } else if (ExecuteChangingRow(db.DueConnection, PasswordUpdate(stored)) != 1) {
    gate.ShowMessage("修改密码失败01！");
  } else if (ExecuteChangingRow(db.NotesConnection, PasswordUpdate(stored)) != 1) {
    gate.ShowMessage("修改密码失败02！");
  } else {
    gate.ShowMessage("修改密码成功！新密码： " + form.newPassword);
    ok = 1;
  }
  EmptyBoxes(form);
  gate.OpenTimedRemindersPage();
  return ok;
}

void CancelChangePassword(PasswordChangeForm& form, PasswordGate& gate) {
  EmptyBoxes(form);
  gate.OpenTimedRemindersPage();
}

int StoreLoginModeSetting(int on, ProgramDatabases& db, PasswordGate& gate) {
  const int mode = on == 1 ? 1 : 0;
  const std::string update = AdminUpdate("yhdlfs=" + std::to_string(mode));
  if (db.Reminders.StoreLoginMode(mode) != 1) {
    gate.ShowMessage("修改用户密码登录方式失败！[01]");
    return 0;
  }
  if (ExecuteChangingRow(db.NotesConnection, update) != 1) {
    gate.ShowMessage("修改用户密码登录方式失败！[02]");
    return 0;
  }
  if (ExecuteChangingRow(db.DueConnection, update) != 1) {
    gate.ShowMessage("修改用户密码登录方式失败！[03]");
    return 0;
  }
  return 1;
}

int TogglePasswordLogin(PasswordGate& gate, ProgramDatabases& db) {
  ProgramSettings& settings = gate.settings();
  RunState& state = gate.state();
  if (settings.LoginByPassword == 1) {
    settings.LoginByPassword = 0;
    StoreLoginModeSetting(0, db, gate);
    state.PasswordEntered = 0;
    gate.SetTitle(kMainTitle);
    state.TimedReminderPageUnlocked = 0;
  } else {
    settings.LoginByPassword = 1;
    StoreLoginModeSetting(1, db, gate);
  }
  return settings.LoginByPassword;
}

void ReadDueDataAdminRights(ProgramDatabases& db, ProtectedActions& rights) {
  ReadAdminRightsFrom(db.DueConnection, db.DueRecordSet, rights);
}

std::string ReadNotesDataPassword(ProgramDatabases& db) {
  return ReadFirstRowPassword(db.NotesConnection, db.NotesRecordSet).value_or(std::string());
}

std::string ReadDueDataPassword(ProgramDatabases& db) {
  return ReadFirstRowPassword(db.DueConnection, db.DueRecordSet).value_or(std::string());
}

int StoreNotesDataPassword(ProgramDatabases& db, std::string_view storedForm) {
  return ExecuteChangingRow(db.NotesConnection, PasswordUpdate(storedForm));
}

int StoreNotesDataAdminRights(ProgramDatabases& db, const ProtectedActions& r) {
  return ExecuteChangingRow(db.NotesConnection, RightsUpdate(r));
}

void ReadDueDbAdminRights(ProgramDatabases& db, ProtectedActions& rights) {
  ReadAdminRightsFrom(db.NotesConnection, db.NotesRecordSet, rights);
}

int WriteDueDbAdminPassword(ProgramDatabases& db, std::string_view storedForm) {
  return ExecuteChangingRow(db.DueConnection, PasswordUpdate(storedForm));
}

int WriteDueDbAdminRights(ProgramDatabases& db, const ProtectedActions& rights) {
  return ExecuteChangingRow(db.DueConnection, RightsUpdate(rights));
}

}  // namespace workmemo
