#include <optional>

#include "common/database_constants.h"
#include "common/digest.h"
#include "common/text_routines.h"
#include "maintenance/maintenance_operations.h"
#include "maintenance/maintenance_page_hooks.h"
#include "platform/files/files.h"
#include "platform/text/text.h"
#include "shell/data_files.h"
#include "shell/module_seams.h"
#include "shell/notes_table.h"
#include "shell/password_change.h"

namespace workmemo {
namespace {

namespace db = platform::db;
namespace files = platform::files;

struct RestoreTexts {
  const char* firstQuestion;
  const char* secondQuestion;
  const char* progress;
  const char* reopenFailed;
  const char* done;
};

const RestoreTexts& TextsOf(DataKind kind) {
  static const RestoreTexts texts[] = {
      {"恢复提醒数据前最好先备份好提醒数据！是否继续？",
       "恢复提醒数据将自动覆盖原来的提醒数据！是否真的要恢复提醒数据？", "正在恢复提醒数据，请稍候！",
       "连接提醒数据库失败！", "恢复提醒数据成功！"},
      {"恢复到期提醒数据前最好先备份好到期提醒数据！是否继续？",
       "恢复到期提醒数据将自动覆盖原来的到期提醒数据！是否真的要恢复到期提醒数据？",
       "正在恢复到期提醒数据，请稍候！", "连接到期提醒数据库失败！[01]",
       "恢复到期提醒数据成功！"},
      {"恢复记事本数据前最好先备份好记事本数据！是否继续？",
       "恢复记事本数据将自动覆盖原来的记事本数据！是否真的要恢复记事本数据？", "正在恢复记事本数据，请稍候！",
       "连接记事本数据库失败！[01]", "恢复记事本数据成功！"},
  };
  return texts[static_cast<int>(kind)];
}

// The backup could not be copied beside the live file, the live file's safety copy could not
// be made (no room for it), or the proved copy could not take its place: the live file was
// never touched and the program runs on with it.
constexpr const char* kRestoreFailedDataKept = "恢复备份失败！原有数据没有改变！[00]";
// The chosen file cannot be a backup of this data: it is no regular file, does not open with
// the database password, or lacks the file's own table.
constexpr const char* kNotABackupOfThisData = "连接数据库失败！[01]";

// The password the program has: the live file's own row or, when that file cannot be read
// (a damaged file being mended), the row every password check reads instead, so that the
// restored file keeps the program's password rather than none.
std::string CurrentPassword(ProgramDatabases& live, DataKind kind) {
  std::optional<std::string> own;
  switch (kind) {
    case DataKind::Timed: own = live.Reminders.ReadStoredPasswordHash(); break;
    case DataKind::Due: own = ReadFirstRowPassword(live.DueConnection, live.DueRecordSet); break;
    case DataKind::Notes: own = ReadFirstRowPassword(live.NotesConnection, live.NotesRecordSet); break;
  }
  return own ? *own : ReadAdminPasswordHash(live);
}

// The restored file keeps the password the program had and the protection flags of another
// live file; a message when the timed file would not take them.
const char* ApplyCurrentAdminRow(ProgramDatabases& live, DataKind kind, const std::string& current) {
  ProtectedActions rights;
  switch (kind) {
    case DataKind::Timed:
      ReadDueDataAdminRights(live, rights);
      live.Reminders.StoreAdminRights(rights);
      if (live.Reminders.StorePassword(current) == 0) return "修改提醒权限失败！";
      break;
    case DataKind::Due:
      ReadDueDbAdminRights(live, rights);
      WriteDueDbAdminPassword(live, current);
      WriteDueDbAdminRights(live, rights);
      break;
    case DataKind::Notes:
      ReadDueDataAdminRights(live, rights);
      StoreNotesDataPassword(live, current);
      StoreNotesDataAdminRights(live, rights);
      break;
  }
  return nullptr;
}

// Puts the proved copy `incoming` in the live file's place with one rename, which leaves the
// live file as it was when it fails. A copy of the previous file stays beside it until the
// restored one has opened and goes back when it does not, so the program always runs on a
// whole file. Gives the failure message, or none.
const char* ReplaceLiveFile(ProgramDatabases& live, DataKind kind, const std::string& incoming,
                            const std::string& current, const char** warning) {
  const RestoreTexts& texts = TextsOf(kind);
  const std::string livePath = LiveDataPath(live, kind);
  const std::string previous = TempFileBeside(livePath);
  StopReminderClockFor(kind);
  CloseLiveData(live, kind);
  const bool hadLive = files::Exists(livePath);
  const char* failure = nullptr;
  bool previousKept = false;  // the copy beside is the only whole copy of the data
  if ((hadLive && !files::Copy(livePath, previous)) || !files::Rename(incoming, livePath)) {
    failure = kRestoreFailedDataKept;
  } else if (OpenLiveData(live, kind) != 1) {
    failure = texts.reopenFailed;
    CloseLiveData(live, kind);
    previousKept = hadLive && !files::Rename(previous, livePath);
  }
  if (failure != nullptr) {
    files::Remove(incoming);
    if (!previousKept) files::Remove(previous);
    OpenLiveData(live, kind);  // the file as it was; the timed list was kept meanwhile
    RestartReminderClockFor(kind);
    return failure;
  }
  files::Remove(previous);
  *warning = ApplyCurrentAdminRow(live, kind, current);
  RefreshAfterReload(live, kind);
  RestartReminderClockFor(kind);
  return nullptr;
}

}  // namespace

void RestoreData(DataKind kind) {
  const MaintainedData& data = Maintained(kind);
  const RestoreTexts& texts = TextsOf(kind);
  MaintenanceState& state = Maintenance();
  if (!AskMaintenanceQuestion(texts.firstQuestion)) return;
  if (kind == DataKind::Timed) state.PendingTimedRestoreFile.clear();
  const std::optional<std::string> chosen =
      ChooseMaintenanceFile("恢复对话框", data.restoreFilter, data.defaultExtension, "");
  if (!chosen) return;
  if (kind == DataKind::Timed) {
    state.PendingTimedRestoreFile = *chosen;
    state.BackupDataKind.clear();
  } else {
    state.PendingRestoreFile = *chosen;
  }
  if (kind == DataKind::Notes && platform::text::AsciiUpper(GetFileExtension(*chosen)) == "JSBBAK") {
    ConvertOldNotesBackup();
    return;
  }
  if (!AskMaintenanceQuestion(texts.secondQuestion)) return;
  RestoreChosenFile(kind, *chosen);
}

void RestoreChosenFile(DataKind kind, const std::string& file) {
  const MaintainedData& data = Maintained(kind);
  const RestoreTexts& texts = TextsOf(kind);
  MaintenanceState& state = Maintenance();
  ProgramDatabases& live = Databases();
  if (IsLiveDataFile(live, file)) {
    ShowMaintenanceMessage("不能用正在使用的数据文件恢复！请选择备份文件。");
    return;
  }
  // Looked at where it is first: the copy would read the whole of a large file that is no
  // backup at all, on the window thread.
  if (!CanBeDataBackup(file, data.table)) {
    ShowMaintenanceMessage(kNotABackupOfThisData);
    return;
  }
  // The backup is copied beside the live file and proved there before anything changes.
  const std::string incoming = TempFileBeside(LiveDataPath(live, kind));
  if (!files::Copy(file, incoming)) {
    files::Remove(incoming);
    ShowMaintenanceMessage(kRestoreFailedDataKept);
    return;
  }
  std::string backupPassword;
  {
    db::Connection copy;
    if (OpenDataCopy(copy, incoming, data.table) != 1) {
      copy.Close();
      files::Remove(incoming);
      ShowMaintenanceMessage(kNotABackupOfThisData);
      return;
    }
    backupPassword = ReadStoredPassword(copy);
  }
  const std::string current = CurrentPassword(live, kind);
  if (backupPassword != current) {
    state.BackupDataKind = data.backupDataKind;
    state.BackupPasswordConfirmed = 0;
    if (AskBackupPassword() == 1) backupPassword = current;
  }
  if (backupPassword != current) {
    files::Remove(incoming);
    ShowMaintenanceMessage("恢复备份失败，原备份密码不正确！");
    return;
  }

  ShowMaintenanceProgress(kind, texts.progress);
  const char* warning = nullptr;
  const char* failure = ReplaceLiveFile(live, kind, incoming, current, &warning);
  if (failure != nullptr) {
    ShowMaintenanceMessage(failure);
  } else {
    if (warning != nullptr) ShowMaintenanceMessage(warning);
    ShowMaintenanceMessage(texts.done);
  }
  HideMaintenanceProgress(kind);
}

void RestoreTimedData() { RestoreData(DataKind::Timed); }
void RestoreDueData() { RestoreData(DataKind::Due); }
void RestoreNotesData() { RestoreData(DataKind::Notes); }

void ConvertOldNotesBackup() {
  if (!AskMaintenanceQuestion("你现在恢复的是旧版记事本数据库(5.x或4.x)？是否真的要恢复数据？")) return;
  if (OpenOldNotesBackup(kOldNotesBackupPassword, Maintenance().PendingRestoreFile) != 1) {
    ShowMaintenanceMessage("连接旧版记事本数据库失败！");
    return;
  }
  struct OldNoteRow {
    double jsdate;
    std::string bt, nr, lx;
    double gxdate;
  };
  std::vector<OldNoteRow> rows;
  db::RecordSet& records = OldBackupRecordSet();
  const bool read = records.Open(OldBackupConnection(), "select * from jsbsj") == 1;
  for (; read && !records.Eof(); records.MoveNext())
    rows.push_back({records.DateTime("jsdate"), records.Text("bt"), records.Text("nr"), records.Text("lx"),
                    records.DateTime("gxdate")});
  CloseOldNotesBackup();
  if (!read) {
    ShowMaintenanceMessage("连接旧版记事本数据库失败！");
    return;
  }
  // All rows or none: a failed conversion can be run again without a half copy.
  ProgramDatabases& live = Databases();
  bool ok = live.NotesConnection.Execute("BEGIN") == 1;
  for (std::size_t i = 0; ok && i < rows.size(); ++i) {
    NoteRecordRow note{0, rows[i].bt, rows[i].nr, rows[i].lx, rows[i].jsdate};
    ok = InsertNoteRow(live, note, rows[i].gxdate) == 1;
  }
  ok = ok && live.NotesConnection.Execute("COMMIT") == 1;
  if (!ok) {
    live.NotesConnection.Execute("ROLLBACK");
    ShowMaintenanceMessage("转换记事本数据失败！");
    return;
  }
  CallSeam(&ModuleSeams::RefreshNotesPage);
  ShowMaintenanceMessage("转换记事本数据成功！转换记事数：" + std::to_string(rows.size()) + " 个记事");
}

bool ConfirmBackupPassword(std::string_view typed) {
  MaintenanceState& state = Maintenance();
  const std::string* file = nullptr;
  if (state.BackupDataKind == "提醒数据") {
    file = &state.PendingTimedRestoreFile;
  } else if (state.BackupDataKind == "记事本数据" || state.BackupDataKind == "到期提醒数据") {
    file = &state.PendingRestoreFile;
  }
  state.BackupPasswordConfirmed = 0;
  if (file == nullptr) return false;
  std::string stored;
  {
    db::Connection chosen;
    if (chosen.OpenReadOnly(db::ConnectionText(*file, kDatabasePassword)) == 1) stored = ReadStoredPassword(chosen);
  }
  if (!stored.empty() && EncodePassword(typed) == stored) {
    state.BackupPasswordConfirmed = 1;
    return true;
  }
  ShowMaintenanceMessage("密码错误，请重新输入！");
  return false;
}

}  // namespace workmemo
