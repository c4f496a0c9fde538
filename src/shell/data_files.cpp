#include "shell/data_files.h"

#include "common/database_constants.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/os/paths.h"
#include "shell/settings.h"
#include "shell/shell_services.h"

namespace workmemo {
namespace {

namespace files = platform::files;

// Ending the program after a database that cannot be read is a failure, never exit code 0.
constexpr int kFailedStartExitCode = 1;

void Show(ShellServices& services, std::string_view text) {
  if (services.ShowMessageBox) services.ShowMessageBox(text);
}

// A missing data file is written from its compiled-in empty image. WriteAll goes through a
// temporary file and a rename, so a failed write never leaves half a database behind.
bool WriteImage(const std::string& path, std::string_view image) {
  const auto bytes = files::ReadResource(std::string(":/db/") + std::string(image));
  return bytes && files::WriteAll(path, *bytes);
}

// A due-date or notes file is good only when it opens with the key and holds its table.
bool OpenWithTable(platform::db::Connection& c, platform::db::RecordSet& rs, const std::string& path,
                   const std::string& password, const std::string& table) {
  if (c.Open(platform::db::ConnectionText(path, password)) != 1) return false;
  if (rs.Open(c, "select count(*) from " + table) != 1) {
    c.Close();
    return false;
  }
  rs.Close();
  return true;
}

struct SideDatabase {
  platform::db::Connection& connection;
  platform::db::RecordSet& records;
  const std::string& path;
  const char* image;
  const char* table;
  const char* cannotCreate;
  const char* cannotRead;
};

// 1 when the start goes on (opened, or its image could not be written); 0 when it ends.
int OpenSideDatabase(const SideDatabase& d, const std::string& password, ShellServices& services) {
  bool ok = OpenWithTable(d.connection, d.records, d.path, password, d.table);
  if (!ok && !files::Exists(d.path)) {
    if (!WriteImage(d.path, d.image)) {
      Show(services, d.cannotCreate);
      return 1;
    }
    ok = OpenWithTable(d.connection, d.records, d.path, password, d.table);
  }
  if (ok) return 1;
  Show(services, d.cannotRead);
  if (services.EndProgram) services.EndProgram(kFailedStartExitCode);
  return 0;
}

void OpenTimedReminderData(ProgramDatabases& db, ShellServices& services) {
  ReminderStore& store = db.Reminders;
  bool ok = store.OpenDatabase(db.TimedReminderDbPath, db.DatabasePassword) == 1;
  if (!ok && !files::Exists(db.TimedReminderDbPath)) {
    if (!WriteImage(db.TimedReminderDbPath, "dstx2.dat")) {
      Show(services, "创建提醒数据失败！");
      return;
    }
    ok = store.OpenDatabase(db.TimedReminderDbPath, db.DatabasePassword) == 1;
  }
  // The start goes on without timed reminders; the backup page can restore the file.
  if (!ok) Show(services, "读取提醒数据库失败！请联系客服！");
}

}  // namespace

ProgramDatabases& Databases() {
  static ProgramDatabases databases;
  return databases;
}

int ReadLoginMode(ProgramDatabases& db) {
  if (db.NotesRecordSet.Open(db.NotesConnection, "select * from yhsj") != 1 || db.NotesRecordSet.Eof())
    return 0;
  return static_cast<int>(db.NotesRecordSet.Integer("yhdlfs"));
}

int OpenDataFiles(ProgramDatabases& db, ShellServices& services, ProgramSettings& settings) {
  const std::string dataDir = files::Join(platform::os::ProgramDirectory(), "data");
  db.TimedReminderDbPath = files::Join(dataDir, "dstx2.dat");
  db.DueDbPath = files::Join(dataDir, "dqtx2.dat");
  db.NotesDbPath = files::Join(dataDir, "jsb2.dat");
  db.DatabasePassword = kDatabasePassword;
  // A failure here shows up as the image writes failing, each with its own message.
  if (!files::IsDirectory(dataDir)) files::MakeDirs(dataDir);

  db.Reminders.SetPlainMessageBox([&services](std::string_view text) {
    if (services.ShowPlainMessageBox) services.ShowPlainMessageBox(text);
  });
  OpenTimedReminderData(db, services);
  db.Reminders.LoadReminders({}, &db.ListPageReminders);

  if (OpenSideDatabase({db.NotesConnection, db.NotesRecordSet, db.NotesDbPath, "jsb2.dat", "jsbsj",
                        "创建记事本数据库失败！", "读取记事本数据库失败！请联系客服！"},
                       db.DatabasePassword, services) == 0)
    return 0;
  if (OpenSideDatabase({db.DueConnection, db.DueRecordSet, db.DueDbPath, "dqtx2.dat", "dqsj",
                        "创建到期提醒数据库失败！", "读取到期提醒数据库失败！请联系客服！"},
                       db.DatabasePassword, services) == 0)
    return 0;

  ProtectedActions rights;
  db.Reminders.ReadAdminRights(rights);
  auto flag = [](int stored) { return stored == 1 ? 1 : 0; };
  settings.ViewRemindersNeedPassword = flag(rights.cktxqx);
  settings.AddReminderNeedsPassword = flag(rights.tjtxqx);
  settings.ModifyReminderNeedsPassword = flag(rights.xgtxqx);
  settings.DeleteReminderNeedsPassword = flag(rights.sctxqx);
  settings.AddressBookNeedsPassword = flag(rights.txlqx);
  settings.NotesNeedPassword = flag(rights.jsbqx);
  settings.LoginByPassword = ReadLoginMode(db) != 0 ? 1 : 0;
  return 1;
}

int OpenDataFiles() { return OpenDataFiles(Databases(), Services(), Settings()); }

}  // namespace workmemo
