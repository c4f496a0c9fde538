#include "shell/data_files.h"

#include <future>
#include <utility>

#include "common/database_constants.h"
#include "common/text_routines.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/os/memory.h"
#include "platform/os/paths.h"
#include "shell/settings.h"
#include "shell/shell_services.h"

namespace workmemo {
namespace {

namespace files = platform::files;

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
  const std::string& path;
  const char* image;
  const char* table;
  const char* cannotCreate;
};

// What the first attempt to open a file found. The key derivation and the check that reads
// every page take most of the start: the three files go through them on threads of their own
// while the window thread loads the skin and builds the windows. Each thread opens a
// connection of its own and hands it over with what it found; the window thread alone makes
// it the program's.
struct FirstOpen {
  platform::db::Connection connection;  // open when `opened`
  bool opened = false;
  bool sound = false;
};

FirstOpen OpenAndCheck(const std::string& path, const std::string& password, const std::string& table) {
  FirstOpen first;
  first.opened = OpenWithTable(first.connection, path, password, table);
  first.sound = first.opened && first.connection.QuickCheck() == 1;
  return first;
}

std::future<FirstOpen> OpenAndCheckAside(const SideDatabase& d, const std::string& password) {
  return std::async(std::launch::async, [path = d.path, password, table = std::string(d.table)] {
    return OpenAndCheck(path, password, table);
  });
}

SideDatabase NotesFile(ProgramDatabases& db) {
  return {db.NotesConnection, db.NotesDbPath, "jsb2.dat", "jsbsj", "创建记事本数据库失败！"};
}

SideDatabase DueFile(ProgramDatabases& db) {
  return {db.DueConnection, db.DueDbPath, "dqtx2.dat", "dqsj", "创建到期提醒数据库失败！"};
}

// Makes the first opening the program's connection. A file that cannot be opened, or whose
// check fails, is said to be damaged once, by name: the program runs on, the file's page
// shows what can still be read (nothing when it did not open) and the backup page restores
// it, as for the timed-reminder file.
void OpenSideDatabase(const SideDatabase& d, const std::string& password, ShellServices& services,
                      FirstOpen first) {
  if (!first.opened && !files::Exists(d.path)) {
    if (!WriteImage(d.path, d.image)) {
      d.connection.Close();
      Show(services, CannotCreateMessage(d.cannotCreate, d.path));
      return;
    }
    first = OpenAndCheck(d.path, password, d.table);
  }
  d.connection = std::move(first.connection);
  if (!first.opened || !first.sound) Show(services, DamagedDataFileMessage(d.path));
}

// The timed-reminder file as the start first reads it.
struct TimedFirstRead {
  platform::db::Connection connection;  // open when `opened`
  bool opened = false;
  bool sound = false;
  ReminderStore::ReadRows read;
  ReminderList listPage;  // the rows as read, for the list page's first fill
};

// What the timed-reminder file's "admin" row holds, known as soon as the file is open: the
// windows are built with its flags while the rows are still read, and a password typed
// meanwhile is checked against it.
struct TimedRights {
  bool opened = false;
  int result = 0;  // as ReminderStore::ReadAdminRights
  ProtectedActions rights;
  std::optional<std::string> passwordHash;  // as ReadFirstRowPassword
};

}  // namespace

struct DataFileReading {
  std::future<FirstOpen> notes;
  std::future<FirstOpen> due;
  std::future<TimedFirstRead> timed;
  std::shared_future<TimedRights> timedRights;
};

namespace {

// Only reads, through a connection of its own: it runs on a thread of its own and touches
// nothing the window thread uses.
TimedFirstRead ReadTimedFile(const std::string& path, const std::string& password,
                             std::promise<TimedRights>* rights) {
  TimedFirstRead first;
  first.opened = ReminderStore::OpenFile(first.connection, path, password) == 1;
  if (rights != nullptr) {
    TimedRights found;
    found.opened = first.opened;
    if (first.opened) {
      platform::db::RecordSet records;
      found.result = ReadAdminRightsFrom(first.connection, records, found.rights);
      found.passwordHash = ReadFirstRowPassword(first.connection, records);
    }
    rights->set_value(found);
  }
  if (!first.opened) return first;
  // The check reads every page into the cache, and the read takes them from there.
  first.sound = first.connection.QuickCheck() == 1;
  first.read = ReminderStore::ReadAllReminders(first.connection, &first.listPage);
  // What this thread freed (the page cache, the contents cut) goes back at once: the window
  // thread allocates elsewhere.
  platform::os::TrimWorkingSet();
  return first;
}

// Makes the first read of the timed-reminder file the store's connection and loaded list. A
// file that cannot be opened, or whose check or read fails, is said to be damaged once; the
// start goes on with what could be read, and the backup page can restore the file.
void LoadTimedReminderData(ProgramDatabases& db, ShellServices& services, TimedFirstRead first) {
  ReminderStore& store = db.Reminders;
  const std::string& path = db.TimedReminderDbPath;
  if (!first.opened && !files::Exists(path)) {
    if (!WriteImage(path, "dstx2.dat")) {
      store.CloseDatabase();
      Show(services, CannotCreateMessage("创建提醒数据失败！", path));
      db.ListPageHoldsFullRead = false;
      return;
    }
    first = ReadTimedFile(path, db.DatabasePassword, nullptr);
  }
  if (first.opened)
    store.AdoptDatabase(std::move(first.connection), path, db.DatabasePassword);
  else
    store.CloseDatabase();
  db.ListPageReminders = std::move(first.listPage);
  const bool loaded = store.AdoptReminders(std::move(first.read), &db.ListPageReminders) == 1;
  db.ListPageHoldsFullRead = loaded;
  if (!first.sound || !loaded) Show(services, DamagedDataFileMessage(path));
}

bool TimedRowsPending(const ProgramDatabases& db) { return db.Reading && db.Reading->timed.valid(); }

}  // namespace

ProgramDatabases& Databases() {
  static ProgramDatabases databases;
  return databases;
}

std::vector<std::string> DataFilePaths() {
  const std::string dataDir = files::Join(platform::os::ProgramDirectory(), "data");
  return {files::Join(dataDir, "dstx2.dat"), files::Join(dataDir, "dqtx2.dat"), files::Join(dataDir, "jsb2.dat")};
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
  // While the start still reads the timed-reminder rows, the store holds no connection yet:
  // the row the read found first stands in for it.
  const std::optional<std::string> timed = TimedRowsPending(db) ? db.Reading->timedRights.get().passwordHash
                                                                : db.Reminders.ReadStoredPasswordHash();
  if (timed) return *timed;
  if (auto stored = ReadFirstRowPassword(db.NotesConnection, db.NotesRecordSet)) return *stored;
  return ReadFirstRowPassword(db.DueConnection, db.DueRecordSet).value_or(std::string());
}

void ReadAdminRights(ProgramDatabases& db, ProtectedActions& rights) {
  // While the start still reads the timed-reminder rows, its flags are those it read first.
  int timed = 0;
  if (TimedRowsPending(db)) {
    const TimedRights& first = db.Reading->timedRights.get();
    rights = first.rights;
    timed = first.result;
  } else {
    timed = db.Reminders.ReadAdminRights(rights);
  }
  if (timed == 1) return;
  if (ReadAdminRightsFrom(db.NotesConnection, db.NotesRecordSet, rights) == 1) return;
  ReadAdminRightsFrom(db.DueConnection, db.DueRecordSet, rights);
}

int ReadLoginMode(ProgramDatabases& db) {
  if (db.NotesRecordSet.Open(db.NotesConnection, "select * from yhsj") != 1 || db.NotesRecordSet.Eof())
    return 0;
  return static_cast<int>(db.NotesRecordSet.Integer("yhdlfs"));
}

void BeginOpeningDataFiles(ProgramDatabases& db) {
  WaitForDataFileReading(db);
  const std::vector<std::string> paths = DataFilePaths();
  db.TimedReminderDbPath = paths[0];
  db.DueDbPath = paths[1];
  db.NotesDbPath = paths[2];
  db.DatabasePassword = kDatabasePassword;
  // A failure here shows up as the image writes failing, each with its own message.
  const std::string dataDir = files::DirName(db.TimedReminderDbPath);
  if (!files::IsDirectory(dataDir)) files::MakeDirs(dataDir);
  db.ListPageReminders.clear();
  db.ListPageHoldsFullRead = true;

  auto reading = std::make_shared<DataFileReading>();
  reading->notes = OpenAndCheckAside(NotesFile(db), db.DatabasePassword);
  reading->due = OpenAndCheckAside(DueFile(db), db.DatabasePassword);
  std::promise<TimedRights> rights;
  reading->timedRights = rights.get_future().share();
  reading->timed = std::async(std::launch::async, [path = db.TimedReminderDbPath, password = db.DatabasePassword,
                                                   rights = std::move(rights)]() mutable {
    return ReadTimedFile(path, password, &rights);
  });
  db.Reading = std::move(reading);
}

void OpenDataFilesBeforeWindows(ProgramDatabases& db, ShellServices& services, ProgramSettings& settings) {
  if (!db.Reading || !db.Reading->notes.valid()) BeginOpeningDataFiles(db);
  DataFileReading& reading = *db.Reading;
  db.Reminders.SetPlainMessageBox([&services](std::string_view text) {
    if (services.ShowPlainMessageBox) services.ShowPlainMessageBox(text);
  });
  FirstOpen notesFirst = reading.notes.get();
  FirstOpen dueFirst = reading.due.get();
  // What the files say is said in the order it always was: timed reminders, notes, due dates.
  // The timed rows are read on past this point only when nothing needs saying before them.
  const bool sidesQuiet = notesFirst.opened && notesFirst.sound && dueFirst.opened && dueFirst.sound;
  if (!sidesQuiet || !reading.timedRights.get().opened) FinishLoadingTimedReminders(db, services);
  OpenSideDatabase(NotesFile(db), db.DatabasePassword, services, std::move(notesFirst));
  OpenSideDatabase(DueFile(db), db.DatabasePassword, services, std::move(dueFirst));

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
}

bool FinishLoadingTimedReminders(ProgramDatabases& db, ShellServices& services) {
  if (!TimedRowsPending(db)) return false;
  LoadTimedReminderData(db, services, db.Reading->timed.get());
  return true;
}

void WaitForDataFileReading(ProgramDatabases& db) {
  if (!db.Reading) return;
  for (auto* side : {&db.Reading->notes, &db.Reading->due}) {
    if (side->valid()) side->wait();
  }
  if (db.Reading->timed.valid()) db.Reading->timed.wait();
}

void OpenDataFiles(ProgramDatabases& db, ShellServices& services, ProgramSettings& settings) {
  BeginOpeningDataFiles(db);
  OpenDataFilesBeforeWindows(db, services, settings);
  FinishLoadingTimedReminders(db, services);
}

void OpenDataFiles() { OpenDataFiles(Databases(), Services(), Settings()); }

}  // namespace workmemo
