#pragma once
// Changing the admin password and the login mode in all three databases, and the copies of
// the "admin" row that the restores of the due-date and notes databases read and write.
#include <string>
#include <string_view>

#include "reminders/store/reminder_store.h"
#include "shell/data_files.h"
#include "shell/password_gate.h"

namespace workmemo {

// The three boxes of the password page, as typed.
struct PasswordChangeForm {
  std::string oldPassword;
  std::string newPassword;
  std::string confirmation;
};

// Checks the boxes and the old password, then writes the new stored form to the timed-
// reminder, due-date and notes databases in that order, stopping at the first failure with
// its message; the databases written before keep the new password. Once the writing began
// the boxes are emptied and the timed-reminder page opens. 1 when all three hold it.
int ChangePassword(PasswordChangeForm& form, ProgramDatabases& db, PasswordGate& gate);

// Empties the boxes and goes back to the timed-reminder page.
void CancelChangePassword(PasswordChangeForm& form, PasswordGate& gate);

// The login-mode check box: flips LoginByPassword (switching it off also forgets the login)
// and writes it to the three databases; the flag stays flipped when a write fails. Gives the
// new LoginByPassword for the check box's picture.
int TogglePasswordLogin(PasswordGate& gate, ProgramDatabases& db);

// Writes the login mode (1 when `on` is 1) to the timed-reminder, notes and due-date
// databases in that order, stopping at the first failure with its message. 1 on success.
int StoreLoginModeSetting(int on, ProgramDatabases& db, PasswordGate& gate);

// The "admin" row of the due-date and notes databases. A column that cannot be read leaves
// its field as it was; the updates fail when they change no row.
void ReadDueDataAdminRights(ProgramDatabases& db, ProtectedActions& rights);
std::string ReadNotesDataPassword(ProgramDatabases& db);  // mm of the first row; empty without
std::string ReadDueDataPassword(ProgramDatabases& db);
int StoreNotesDataPassword(ProgramDatabases& db, std::string_view storedForm);
int StoreNotesDataAdminRights(ProgramDatabases& db, const ProtectedActions& rights);
// What a restore of the due-date file writes back: the flags are read from the notes
// database (the other live file), password and flags written into the due-date database.
void ReadDueDbAdminRights(ProgramDatabases& db, ProtectedActions& rights);
int WriteDueDbAdminPassword(ProgramDatabases& db, std::string_view storedForm);
int WriteDueDbAdminRights(ProgramDatabases& db, const ProtectedActions& rights);

}  // namespace workmemo
