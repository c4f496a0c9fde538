#include "maintenance/maintenance_operations.h"
#include "reminders/store/reminder_store_exchange.h"
#include "shell/data_files.h"

namespace workmemo {
namespace {

struct CompactTexts {
  const char* question;
  const char* done;
  const char* failed;
  const char* reopenFailed;
};

const CompactTexts& TextsOf(DataKind kind) {
  static const CompactTexts texts[] = {
      {"压缩数据库前，请先备份好提醒数据库！是否继续？", "压缩提醒数据库成功！", "压缩提醒数据库失败！",
       "连接提醒数据库失败！"},
      {"压缩数据库前，请先备份好到期提醒数据库！是否继续？", "压缩到期提醒数据库成功！",
       "压缩到期提醒数据库失败！", "连接到期提醒数据库失败！[01]"},
      {"压缩数据库前，请先备份好记事本数据库！是否继续？", "压缩记事本数据库成功！", "压缩记事本数据库失败！",
       "连接记事本数据库失败！[01]"},
  };
  return texts[static_cast<int>(kind)];
}

}  // namespace

void CompactData(DataKind kind) {
  const CompactTexts& texts = TextsOf(kind);
  if (!AskMaintenanceQuestion(texts.question)) return;
  bool reopened = false;
  const int code = CompactLiveData(kind, &reopened);
  ShowMaintenanceMessage(code == 0 ? texts.done : texts.failed);
  if (!reopened) ShowMaintenanceMessage(texts.reopenFailed);
}

int CompactLiveData(DataKind kind, bool* reopenedOut) {
  ProgramDatabases& live = Databases();
  const std::string path = LiveDataPath(live, kind);
  // The reminder check never runs on a closed file: a counted repeat written then is lost.
  StopReminderClockFor(kind);
  int code = 0;
  if (kind == DataKind::Timed) {
    code = CompactDatabase(live.Reminders, path, live.DatabasePassword);
  } else {
    CloseLiveData(live, kind);
    code = CompactDatabaseFile(path, live.DatabasePassword, 1);
  }
  // The compaction never removes the file before its copy is in place, so whatever the code
  // the file opens again as it is now, every row under its id.
  const bool reopened = OpenLiveData(live, kind) == 1;
  if (reopened) RefreshAfterReload(live, kind, ReloadedRows::KeptTheirIds);
  RestartReminderClockFor(kind);
  *reopenedOut = reopened;
  return code;
}

void CompactTimedData() { CompactData(DataKind::Timed); }
void CompactDueData() { CompactData(DataKind::Due); }
void CompactNotesData() { CompactData(DataKind::Notes); }

}  // namespace workmemo
