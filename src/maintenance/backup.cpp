#include "common/date_format.h"
#include "maintenance/maintenance_operations.h"
#include "maintenance/maintenance_page_hooks.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/os/paths.h"
#include "shell/data_files.h"

namespace workmemo {
namespace {

namespace db = platform::db;
namespace files = platform::files;

struct BackupMessages {
  const char* done;
  const char* copyFailed;
  const char* openFailed;
  const char* differs;
};

const BackupMessages& MessagesOf(DataKind kind) {
  static const BackupMessages messages[] = {
      {"备份提醒数据库成功！", "复制提醒数据库失败！[01]", "连接测试数据库失败！[01]", "备份提醒数据库失败！[01]"},
      {"备份到期提醒数据库成功！", "复制到期提醒数据库失败！[01]", "连接测试数据库失败！[01]",
       "备份到期提醒数据库失败！[02]"},
      {"备份记事本数据库成功！", "复制记事本数据库失败！[01]", "连接数据库失败！[01]", "备份记事本数据库失败！[01]"},
  };
  return messages[static_cast<int>(kind)];
}

// What a backup compares: row count, newest id and the check field of the newest row as text
// (date-times to the second). Unread values stay 0 and empty, so two empty tables match.
struct TableMark {
  std::int64_t count = 0;
  std::int64_t newestId = 0;
  std::string field;
  bool operator==(const TableMark&) const = default;
};

TableMark ReadMark(db::Connection& connection, const MaintainedData& data) {
  TableMark mark;
  db::RecordSet records;
  const std::string table = data.table;
  if (records.Open(connection, "select count(id) as count1 from " + table) == 1 && !records.Eof())
    mark.count = records.Integer("count1");
  if (records.Open(connection, "select top 1 * from " + table + " order by id desc") == 1 && !records.Eof()) {
    mark.newestId = records.Integer("id");
    mark.field = data.checkFieldIsDate ? FormatDateTime(records.DateTime(data.checkField), 0)
                                       : records.Text(data.checkField);
  }
  return mark;
}

TableMark LiveMark(ProgramDatabases& live, DataKind kind) {
  switch (kind) {
    case DataKind::Timed: {
      TableMark mark;
      mark.count = live.Reminders.CountReminders();
      int id = 0;
      double start = 0;
      std::string title;
      if (live.Reminders.ReadNewestReminder(id, start, title) == 1) {
        mark.newestId = id;
        mark.field = FormatDateTime(start, 0);
      }
      return mark;
    }
    case DataKind::Due: return ReadMark(live.DueConnection, Maintained(kind));
    case DataKind::Notes: break;
  }
  return ReadMark(live.NotesConnection, Maintained(kind));
}

// Copies `source` to a temporary file beside `target`, proves it, then gives it the target's
// name; the target keeps its old content on every failure. 1 done; else the message to show.
const char* CopyProvedBackup(DataKind kind, std::string_view source, const std::string& target) {
  const BackupMessages& messages = MessagesOf(kind);
  const std::string temp = TempFileBeside(target);
  if (!files::Copy(source, temp)) {
    files::Remove(temp);
    return messages.copyFailed;
  }
  const char* failure = nullptr;
  {
    db::Connection copy;
    if (OpenDataCopy(copy, temp, Maintained(kind).table) != 1) {
      failure = messages.openFailed;
    } else if (VerifyBackupCopy(kind, copy) != 1) {
      failure = messages.differs;
    }
  }
  if (failure == nullptr && !files::Rename(temp, target)) failure = messages.copyFailed;
  if (failure != nullptr) files::Remove(temp);
  return failure;
}

bool LooksForPerUserCopy(DataKind kind) {
  if (IsOnWindowsDrive() != 1) return false;
  if (kind == DataKind::Notes) return true;
  // Only the first 16 bytes are compared, so "Program Files (x86)" counts as well.
  const std::string prefix = std::string(1, kWindowsDriveLetter) + ":\\Program Files";
  return platform::os::ProgramDirectory().compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

int VerifyBackupCopy(DataKind kind, db::Connection& copy) {
  return ReadMark(copy, Maintained(kind)) == LiveMark(Databases(), kind) ? 1 : 0;
}

void BackupData(DataKind kind) {
  const MaintainedData& data = Maintained(kind);
  const std::optional<std::string> target = ChooseMaintenanceFile(
      "备份对话框", data.saveFilter, data.defaultExtension, DefaultBackupName(data, platform::clock::Now()));
  if (!target) return;
  const char* failure = BackupDataTo(kind, *target);
  ShowMaintenanceMessage(failure != nullptr ? failure : MessagesOf(kind).done);
}

const char* BackupDataTo(DataKind kind, const std::string& target) {
  ProgramDatabases& live = Databases();
  if (IsLiveDataFile(live, target)) return "不能备份到正在使用的数据文件！请另选一个文件名。";
  const std::string& livePath = LiveDataPath(live, kind);
  // Where another system keeps a per-user copy of the file, that copy is tried first.
  if (LooksForPerUserCopy(kind)) {
    const std::string perUser = PerUserCopyPath(files::BaseName(livePath));
    if (files::Exists(perUser) && CopyProvedBackup(kind, perUser, target) == nullptr) return nullptr;
  }
  return CopyProvedBackup(kind, livePath, target);
}

void BackupTimedData() { BackupData(DataKind::Timed); }
void BackupDueData() { BackupData(DataKind::Due); }
void BackupNotesData() { BackupData(DataKind::Notes); }

}  // namespace workmemo
