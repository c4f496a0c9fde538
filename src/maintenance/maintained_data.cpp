#include "maintenance/maintained_data.h"

#include "common/database_constants.h"
#include "common/date_format.h"
#include "platform/files/files.h"
#include "platform/os/paths.h"
#include "shell/data_files.h"
#include "shell/message_box.h"
#include "shell/module_seams.h"
#include "shell/shell_services.h"

namespace workmemo {
namespace {

namespace db = platform::db;
namespace files = platform::files;

constexpr MaintainedData kData[] = {
    {DataKind::Timed, "txsj", "ksdate", true, "提醒数据", "进度提示标签",
     "定时提醒备份数据(*.dstx2bak)|*.dstx2bak",
     "定时提醒备份数据(*.dstx2bak)|*.dstx2bak|旧版定时提醒备份(*.txbak)|*.txbak", "*.dstx2bak",
     "定时提醒备份(", 1},
    {DataKind::Due, "dqsj", "dqdate", true, "到期提醒数据", "进度提示标签1",
     "到期提醒备份数据(*.dqtx2bak)|*.dqtx2bak", "到期提醒备份数据(*.dqtx2bak)|*.dqtx2bak", "*.dqtx2bak",
     "到期提醒数据(", 5},
    {DataKind::Notes, "jsbsj", "bt", false, "记事本数据", "进度提示标签2",
     "记事管理备份数据(*.jsb2bak)|*.jsb2bak",
     "记事管理备份数据(*.jsb2bak)|*.jsb2bak|旧版记事管理备份(*.jsbbak)|*.jsbbak", "*.jsb2bak",
     "记事本备份(", 1},
};

struct OldBackup {
  db::Connection connection;
  db::RecordSet records;
};
OldBackup& Old() {
  static OldBackup old;
  return old;
}

// Whether `path` names `file` under any spelling: the same file or, for a file not there
// (yet), the same name in the same folder.
bool NamesFile(std::string_view path, const std::string& file) {
  return path == file || files::IsSameFile(path, file) ||
         (files::BaseName(path) == files::BaseName(file) &&
          files::IsSameFile(files::DirName(path), files::DirName(file)));
}

}  // namespace

const MaintainedData& Maintained(DataKind kind) { return kData[static_cast<int>(kind)]; }

std::string DefaultBackupName(const MaintainedData& data, double now) {
  return std::string(data.defaultNamePrefix) + FormatDateTime(now, data.defaultNameStyle) + ")";
}

const std::string& LiveDataPath(ProgramDatabases& data, DataKind kind) {
  switch (kind) {
    case DataKind::Timed: return data.TimedReminderDbPath;
    case DataKind::Due: return data.DueDbPath;
    case DataKind::Notes: break;
  }
  return data.NotesDbPath;
}

bool IsLiveDataFile(ProgramDatabases& data, std::string_view path) {
  for (DataKind kind : {DataKind::Timed, DataKind::Due, DataKind::Notes}) {
    const std::string& live = LiveDataPath(data, kind);
    if (NamesFile(path, live)) return true;
    // The engine deletes or takes over a file of these names beside the live one.
    for (std::string_view suffix : db::kEngineFileSuffixes) {
      if (NamesFile(path, live + std::string(suffix))) return true;
    }
  }
  return false;
}

void CloseLiveData(ProgramDatabases& data, DataKind kind) {
  switch (kind) {
    case DataKind::Timed:
      data.Reminders.CloseDatabase();
      break;
    case DataKind::Due:
      data.DueRecordSet.Close();
      data.DueConnection.Close();
      break;
    case DataKind::Notes:
      data.NotesRecordSet.Close();
      data.NotesConnection.Close();
      break;
  }
}

int OpenLiveData(ProgramDatabases& data, DataKind kind) {
  const std::string& path = LiveDataPath(data, kind);
  switch (kind) {
    case DataKind::Timed: return data.Reminders.OpenDatabase(path, data.DatabasePassword);
    case DataKind::Due: return OpenDataCopy(data.DueConnection, path, "dqsj");
    case DataKind::Notes: break;
  }
  return OpenDataCopy(data.NotesConnection, path, "jsbsj");
}

void RefreshAfterReload(ProgramDatabases& data, DataKind kind, ReloadedRows rows) {
  switch (kind) {
    case DataKind::Timed:
      if (rows == ReloadedRows::KeptTheirIds)
        data.Reminders.ReloadSameRows();
      else
        data.Reminders.LoadReminders();
      CallEachSeam(Seams().TimedRemindersReread);
      break;
    case DataKind::Due:
      CallSeam(&ModuleSeams::RefreshDuePage);
      break;
    case DataKind::Notes:
      CallSeam(&ModuleSeams::RefreshNotesPage);
      break;
  }
}

int OpenDataCopy(db::Connection& connection, std::string_view path, std::string_view table) {
  // An empty file opens as an empty database: only a file with its table counts.
  if (connection.Open(db::ConnectionText(path, kDatabasePassword)) != 1) return 0;
  if (connection.HasTable(table)) return 1;
  connection.Close();
  return 0;
}

bool CanBeDataBackup(std::string_view path, std::string_view table) {
  db::Connection chosen;
  return chosen.OpenReadOnly(db::ConnectionText(path, kDatabasePassword)) == 1 && chosen.HasTable(table);
}

std::string ReadStoredPassword(db::Connection& connection) {
  db::RecordSet records;
  if (records.Open(connection, "select top 1 * from yhsj") != 1 || records.Eof()) return {};
  return records.Text("mm");
}

std::string TempFileBeside(std::string_view path) {
  return files::TempName(files::DirName(path), files::BaseName(path));
}

MaintenanceState& Maintenance() {
  static MaintenanceState state;
  return state;
}

int IsOnWindowsDrive() {
  const std::string dir = platform::os::ProgramDirectory();
  return !dir.empty() && dir.front() == kWindowsDriveLetter ? 1 : 0;
}

std::string PerUserCopyPath(std::string_view dataFileName) {
  const std::string dir = platform::os::ProgramDirectory();
  return std::string(1, kWindowsDriveLetter) + ":\\Users\\" + platform::os::UserName() +
         "\\AppData\\Local\\VirtualStore\\" + (dir.size() > 2 ? dir.substr(2) : std::string()) + "\\data\\" +
         std::string(dataFileName);
}

int OpenOldNotesBackup(std::string_view password, std::string_view path) {
  OldBackup& old = Old();
  if (old.connection.Open(db::ConnectionText(path, password)) != 1) return 0;
  if (old.connection.HasTable("jsbsj")) return 1;
  old.connection.Close();
  return 0;
}

void CloseOldNotesBackup() {
  Old().records.Close();
  Old().connection.Close();
}

db::Connection& OldBackupConnection() { return Old().connection; }
db::RecordSet& OldBackupRecordSet() { return Old().records; }

void ShowMaintenanceMessage(std::string_view message) {
  if (Services().ShowMessageBox) Services().ShowMessageBox(message);
}

bool AskMaintenanceQuestion(std::string_view question) { return ShowConfirmBox(question) == 1; }

void StopReminderClockFor(DataKind kind) {
  if (kind == DataKind::Timed && Services().StopReminderClock) Services().StopReminderClock();
}

void RestartReminderClockFor(DataKind kind) {
  if (kind == DataKind::Timed && Services().RestartReminderClock) Services().RestartReminderClock();
}

}  // namespace workmemo
