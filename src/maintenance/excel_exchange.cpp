#include "common/date_format.h"
#include "maintenance/maintenance_operations.h"
#include "maintenance/maintenance_page_hooks.h"
#include "platform/clock/clock.h"
#include "platform/db/exchange.h"
#include "reminders/store/reminder_store_exchange.h"
#include "shell/data_files.h"
#include "shell/module_seams.h"

namespace workmemo {
namespace {

namespace db = platform::db;
using Kind = db::ColumnKind;

struct ExchangeTexts {
  const char* exportName;
  const char* exported;
  const char* exportFailed;
  const char* firstQuestion;
  const char* secondQuestion;
  const char* progress;
  const char* imported;  // followed by the number of rows added
  const char* importFailed;
};

const ExchangeTexts& TextsOf(DataKind kind) {
  static const ExchangeTexts texts[] = {
      {"提醒数据(", "导出提醒数据成功！", "导出提醒数据失败！",
       "导入提醒数据前请备份！新版只支持[2.x]以上版本提醒数据导入，是否继续？",
       "导入数据会自动跳过与当前提醒数据中[提醒时间]和[提醒标题]相同的记录，是否继续？",
       "正在导入提醒数据，请稍候！", "导入提醒数据成功！导入记录：", "导入提醒数据失败！"},
      {"到期提醒数据(", "导出到期提醒数据成功！", "导出到期提醒数据失败！",
       "导入到期提醒前，请先备份好到期提醒数据！是否继续？",
       "导入到期提醒数据将自动过滤客户名称、项目名称和到期日期相同的记录，是否继续？",
       "正在导入到期提醒数据，请稍候。。。。。。", "导到期提醒数据成功！导入记录：", "导入到期提醒数据失败！"},
      {"记事本数据(", "导出记事本数据成功！", "导出记事本数据失败！", "导入记事本数据前请备份！是否继续？",
       "导入数据会自动跳过与当前记事本数据[标题]相同的记录，是否继续？",
       "正在导入记事本数据，请稍候。。。。。。", "导入记事本数据成功！导入记录：", "导入记事本数据失败！"},
  };
  return texts[static_cast<int>(kind)];
}

// The columns a workbook carries (every column but id, in the table's order) with the form
// the program writes each in; the duplicate test of each table.
const std::vector<db::ExchangeColumn>& DueExchangeColumns() {
  static const std::vector<db::ExchangeColumn> columns = {
      {"khbh", Kind::Text},       {"khmc", Kind::Text},       {"xmmc", Kind::Text},     {"xmlx", Kind::Text},
      {"wcjd", Kind::Integer},    {"wczt", Kind::Integer},    {"dqdate", Kind::DateTime}, {"bz", Kind::Text},
      {"gxdate", Kind::DateTime}, {"tqts", Kind::Integer},    {"txfs", Kind::Integer},  {"wcdate", Kind::DateTime},
      {"ksdate", Kind::DateTime}, {"fzrxm", Kind::Text},      {"fzrbh", Kind::Text},    {"tjdate", Kind::DateTime},
  };
  return columns;
}

const std::vector<db::ExchangeColumn>& NotesExchangeColumns() {
  static const std::vector<db::ExchangeColumn> columns = {
      {"bt", Kind::Text}, {"nr", Kind::Text}, {"gxdate", Kind::Date}, {"lx", Kind::Text}, {"jsdate", Kind::Date},
  };
  return columns;
}

db::Connection& ConnectionOf(ProgramDatabases& live, DataKind kind) {
  return kind == DataKind::Due ? live.DueConnection : live.NotesConnection;
}

std::int64_t CountRows(ProgramDatabases& live, DataKind kind) {
  if (kind == DataKind::Timed) return live.Reminders.CountReminders();
  db::RecordSet records;
  const std::string sql = std::string("select count(*) from ") + Maintained(kind).table;
  if (records.Open(ConnectionOf(live, kind), sql) != 1 || records.Eof()) return 0;
  return records.IntegerAt(1);
}

// The highest id of txsj before an import, above which the imported rows lie; 0 for other
// tables or an empty one.
int NewestTimedReminderId(ProgramDatabases& live, DataKind kind) {
  int id = 0;
  double start = 0;
  std::string title;
  if (kind != DataKind::Timed || live.Reminders.ReadNewestReminder(id, start, title) != 1) return 0;
  return id;
}

}  // namespace

void ExportData(DataKind kind) {
  const ExchangeTexts& texts = TextsOf(kind);
  const std::optional<std::string> file = ChooseMaintenanceFile(
      "导出对话框", {}, {}, std::string(texts.exportName) + FormatDateTime(platform::clock::Now(), 1) + ")");
  if (!file) return;
  const char* failure = ExportDataTo(kind, *file);
  ShowMaintenanceMessage(failure != nullptr ? failure : texts.exported);
}

const char* ExportDataTo(DataKind kind, const std::string& file) {
  ProgramDatabases& live = Databases();
  // A workbook written over a live data file would replace the database it was read from.
  if (IsLiveDataFile(live, file)) return "不能导出到正在使用的数据文件！请另选一个文件名。";
  bool ok = false;
  if (kind == DataKind::Timed) {
    ok = ExportToExcel(live.Reminders, file, "txsj", TimedReminderExchangeColumns()) == 1;
  } else {
    const auto& columns = kind == DataKind::Due ? DueExchangeColumns() : NotesExchangeColumns();
    ok = db::ExportTable(ConnectionOf(live, kind), Maintained(kind).table, columns, file).ok;
  }
  return ok ? nullptr : TextsOf(kind).exportFailed;
}

void ImportData(DataKind kind) {
  const ExchangeTexts& texts = TextsOf(kind);
  if (Seams().IsReminderPopupLoaded && Seams().IsReminderPopupLoaded()) {
    ShowMaintenanceMessage("请先关闭提醒窗口！");
    return;
  }
  if (!AskMaintenanceQuestion(texts.firstQuestion) || !AskMaintenanceQuestion(texts.secondQuestion)) return;
  const std::optional<std::string> file = ChooseMaintenanceFile("导入对话框", {}, {}, "");
  if (!file) return;
  ProgramDatabases& live = Databases();
  if (IsLiveDataFile(live, *file)) {
    ShowMaintenanceMessage("不能用正在使用的数据文件导入！请选择Excel文件。");
    return;
  }
  const std::int64_t before = CountRows(live, kind);
  const int newestBefore = NewestTimedReminderId(live, kind);
  ShowMaintenanceProgress(kind, texts.progress);
  // The import is one transaction: a refused workbook adds nothing and says why.
  std::string reason;
  bool ok = false;
  if (kind == DataKind::Timed) {
    std::string condition;
    ok = ImportFromExcel(live.Reminders, *file, "txsj", TimedReminderExchangeColumns(), condition, 0, &reason) == 1;
  } else {
    const auto& columns = kind == DataKind::Due ? DueExchangeColumns() : NotesExchangeColumns();
    const std::vector<std::string> duplicates =
        kind == DataKind::Due ? std::vector<std::string>{"dqdate", "xmmc", "khmc"} : std::vector<std::string>{"bt"};
    const db::ExchangeResult result =
        db::ImportTable(ConnectionOf(live, kind), Maintained(kind).table, columns, *file, duplicates);
    ok = result.ok;
    reason = result.message;
  }
  if (!ok) {
    ShowMaintenanceMessage(reason.empty() ? std::string(texts.importFailed)
                                          : std::string(texts.importFailed) + "\r\n" + reason);
    HideMaintenanceProgress(kind);
    return;
  }
  if (kind == DataKind::Timed) {
    // The imported reminders join the loaded list and fire from the next tick; the reminders
    // loaded before keep what this run gave them, a pause until the next load included.
    StopReminderClockFor(kind);
    ReminderList added;
    if (live.Reminders.LoadRemindersAfter(newestBefore, &added) == 1) CallEachSeam(Seams().TimedRemindersAdded, added);
    RestartReminderClockFor(kind);
  } else {
    RefreshAfterReload(live, kind);
  }
  const std::int64_t after = CountRows(live, kind);
  ShowMaintenanceMessage(std::string(texts.imported) + std::to_string(after - before));
  HideMaintenanceProgress(kind);
}

void ExportTimedData() { ExportData(DataKind::Timed); }
void ExportDueData() { ExportData(DataKind::Due); }
void ExportNotesData() { ExportData(DataKind::Notes); }
void ImportTimedData() { ImportData(DataKind::Timed); }
void ImportDueData() { ImportData(DataKind::Due); }
void ImportNotesData() { ImportData(DataKind::Notes); }

}  // namespace workmemo
