#include "shell/data_files.h"

#include <future>

#include "common/database_constants.h"
#include "common/text_routines.h"
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

// The image of a missing data file could not be written: the message names the directory.
std::string CannotCreateMessage(std::string_view message, const std::string& path) {
  return std::string(message) + "\r\n" + CannotWriteDirectoryText(files::DirName(path));
}

// A due-date or notes file is good only when it opens with the key and holds its table; its
// schema is all that is read, so a damaged page leaves the rest of the file usable.
bool OpenWithTable(platform::db::Connection& c, const std::string& path, const std::string& password,
                   const std::string& table) {
  if (c.Open(platform::db::ConnectionText(path, password)) != 1) return false;
  if (!c.HasTable(table)) {
    c.Close();
    return false;
  }
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

// What the first attempt to open a file found. The key derivation and the check that reads
// every page take most of the start: the notes and due-date files go through them on threads
// of their own while the window thread opens, checks and loads the timed-reminder file.
struct FirstOpen {
  bool opened = false;
  bool sound = false;
};

FirstOpen OpenAndCheck(platform::db::Connection& connection, const std::string& path,
                       const std::string& password, const std::string& table) {
  FirstOpen first;
  first.opened = OpenWithTable(connection, path, password, table);
  first.sound = first.opened && connection.QuickCheck() == 1;
  return first;
}

std::future<FirstOpen> OpenAndCheckAside(const SideDatabase& d, const std::string& password) {
  return std::async(std::launch::async, [&connection = d.connection, path = d.path, password,
                                         table = std::string(d.table)] {
    return OpenAndCheck(connection, path, password, table);
  });
}

// 1 when the start goes on (opened, or its image could not be written); 0 when it ends.
int OpenSideDatabase(const SideDatabase& d, const std::string& password, ShellServices& services,
                     FirstOpen first) {
  if (!first.opened && !files::Exists(d.path)) {
    if (!WriteImage(d.path, d.image)) {
      Show(services, CannotCreateMessage(d.cannotCreate, d.path));
      return 1;
    }
    first = OpenAndCheck(d.connection, d.path, password, d.table);
  }
  if (first.opened) {
    // A damaged page is said once, here; the program goes on with what the file still holds.
    if (!first.sound) Show(services, DamagedDataFileMessage(d.path));
    return 1;
  }
  Show(services, d.cannotRead);
  if (services.EndProgram) services.EndProgram(kFailedStartExitCode);
  return 0;
}

// Opens the timed-reminder file and loads every reminder. A file that cannot be opened, or
// whose check or load fails, is said to be damaged once; the start goes on with what could
// be read, and the backup page can restore the file.
void OpenTimedReminderData(ProgramDatabases& db, ShellServices& services) {
  ReminderStore& store = db.Reminders;
  const std::string& path = db.TimedReminderDbPath;
  bool ok = store.OpenDatabase(path, db.DatabasePassword) == 1;
  if (!ok && !files::Exists(path)) {
    if (!WriteImage(path, "dstx2.dat")) {
      Show(services, CannotCreateMessage("创建提醒数据失败！", path));
      return;
    }
    ok = store.OpenDatabase(path, db.DatabasePassword) == 1;
  }
  // The check reads every page into the cache, and the load reads them from there.
  const bool sound = ok && store.Connection().QuickCheck() == 1;
  const bool loaded = store.LoadReminders({}, &db.ListPageReminders) == 1;
  // The check and the load have read every page once; the cache fills again when a search
  // reads the file, rather than holding the whole file through the rest of the start.
  store.Connection().ReleaseCache();
  db.ListPageHoldsFullRead = loaded;
  if (!sound || !loaded) Show(services, DamagedDataFileMessage(path));
}

}  // namespace

ProgramDatabases& Databases() {
  static ProgramDatabases databases;
  return databases;
}

std::string DamagedDataFileMessage(std::string_view path) {
  return "数据文件已损坏，只能读出其中的一部分：\r\n" + std::string(path) +
         "\r\n请在“备份数据”中恢复备份！";
}

std::optional<std::string> ReadFirstRowPassword(platform::db::Connection& connection,
                                                platform::db::RecordSet& records) {
  if (records.Open(connection, "select top 1 * from yhsj") != 1) return std::nullopt;
  return records.Eof() ? std::string() : records.Text("mm");
}

int ReadAdminRightsFrom(platform::db::Connection& connection, platform::db::RecordSet& records,
                        ProtectedActions& rights) {
  if (records.Open(connection, "select * from yhsj where yh='admin'") != 1) return 0;
  if (records.Eof()) return 1;
  const struct {
    const char* column;
    int* field;
  } columns[] = {{"cktxqx", &rights.cktxqx}, {"tjtxqx", &rights.tjtxqx}, {"xgtxqx", &rights.xgtxqx},
                 {"sctxqx", &rights.sctxqx}, {"txlqx", &rights.txlqx},   {"jsbqx", &rights.jsbqx}};
  for (const auto& c : columns) {
    if (records.HasColumn(c.column)) *c.field = static_cast<int>(records.Integer(c.column));
  }
  return 1;
}

std::string ReadAdminPasswordHash(ProgramDatabases& db) {
  if (auto stored = db.Reminders.ReadStoredPasswordHash()) return *stored;
  if (auto stored = ReadFirstRowPassword(db.NotesConnection, db.NotesRecordSet)) return *stored;
  return ReadFirstRowPassword(db.DueConnection, db.DueRecordSet).value_or(std::string());
}

void ReadAdminRights(ProgramDatabases& db, ProtectedActions& rights) {
  if (db.Reminders.ReadAdminRights(rights) == 1) return;
  if (ReadAdminRightsFrom(db.NotesConnection, db.NotesRecordSet, rights) == 1) return;
  ReadAdminRightsFrom(db.DueConnection, db.DueRecordSet, rights);
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
  const SideDatabase notes{db.NotesConnection, db.NotesRecordSet, db.NotesDbPath, "jsb2.dat", "jsbsj",
                           "创建记事本数据库失败！", "读取记事本数据库失败！请联系客服！"};
  const SideDatabase due{db.DueConnection, db.DueRecordSet, db.DueDbPath, "dqtx2.dat", "dqsj",
                         "创建到期提醒数据库失败！", "读取到期提醒数据库失败！请联系客服！"};
  std::future<FirstOpen> notesOpen = OpenAndCheckAside(notes, db.DatabasePassword);
  std::future<FirstOpen> dueOpen = OpenAndCheckAside(due, db.DatabasePassword);
  OpenTimedReminderData(db, services);

  // What the files say is said in the order it always was: timed reminders, notes, due dates.
  const FirstOpen notesFirst = notesOpen.get();
  const FirstOpen dueFirst = dueOpen.get();
  if (OpenSideDatabase(notes, db.DatabasePassword, services, notesFirst) == 0) return 0;
  if (OpenSideDatabase(due, db.DatabasePassword, services, dueFirst) == 0) return 0;

  ProtectedActions rights;
  ReadAdminRights(db, rights);
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
