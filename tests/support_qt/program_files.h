#pragma once
// What the tests of the program's pages set up as the start does: the built-in skin, and the
// three data files written fresh from their images and opened on the program's databases.
// Header-only: a test that includes it links the ui and shell libraries itself.
#include <string>

#include "common/database_constants.h"
#include "platform/db/db.h"
#include "platform/files/resources.h"
#include "reminders/store/reminder_store.h"
#include "shell/data_files.h"
#include "test_support.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace testsupport {

// The built-in skin package read into the program's skin entries; false when it cannot be read.
inline bool LoadBuiltInSkin() {
  const auto skin = workmemo::ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
  if (!skin) return false;
  workmemo::SkinEntryNames = skin->names;
  workmemo::SkinEntryData = skin->data;
  return true;
}

// The timed-reminder, due-date and notes files written into `dir` under their image names
// after `prefix`, and opened as the program's databases; false when any of it fails. The
// timed-reminder store starts afresh and loads the new file, as a start makes it: no reminder
// an earlier test loaded, nor what fired then, is left in it.
inline bool OpenFreshDataFiles(const TempDir& dir, const std::string& prefix = {}) {
  workmemo::ProgramDatabases& data = workmemo::Databases();
  data.Reminders = workmemo::ReminderStore();
  for (const char* image : {"dstx2.dat", "dqtx2.dat", "jsb2.dat"}) {
    if (!WriteDataFileFromImage(dir.File(prefix + image), image)) return false;
  }
  using platform::db::ConnectionText;
  const std::string key = workmemo::kDatabasePassword;
  if (data.Reminders.OpenDatabase(dir.File(prefix + "dstx2.dat"), key) != 1 || data.Reminders.LoadReminders() != 1)
    return false;
  return data.DueConnection.Open(ConnectionText(dir.File(prefix + "dqtx2.dat"), key)) == 1 &&
         data.NotesConnection.Open(ConnectionText(dir.File(prefix + "jsb2.dat"), key)) == 1;
}

inline void CloseDataFiles() {
  workmemo::ProgramDatabases& data = workmemo::Databases();
  data.Reminders.CloseDatabase();
  data.DueConnection.Close();
  data.NotesConnection.Close();
}

}  // namespace testsupport
