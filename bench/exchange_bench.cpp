// The timed-reminder table with 10,000 reminders (Chinese titles, memos of 280 characters,
// date-times and codes) exported to a workbook and imported back through the store: into an
// empty table, and into the table that already holds every row.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/text/text.h"
#include "reminders/store/reminder_store_exchange.h"

namespace {

namespace db = platform::db;
namespace files = platform::files;
using workmemo::ReminderStore;

constexpr int kReminders = 10000;

struct Setup {
  std::string dir = (std::filesystem::temp_directory_path() / "workmemo-exchange-bench").string();
  std::string full = dir + "/full.dat";
  std::string empty = dir + "/empty.dat";
  std::string book = dir + "/txsj.xls";

  Setup() {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string image = files::ReadResource(":/db/dstx2.dat").value_or("");
    files::WriteAll(full, image);
    files::WriteAll(empty, image);
    db::Connection c;
    Open(c, full);
    const std::string title = platform::text::FromUtf8("每周例会提醒：准备材料");
    std::string memo;
    for (int i = 0; i < 20; ++i) memo += platform::text::FromUtf8("会议室三楼，带上上周的报告。");
    const double start = platform::clock::SerialFromFields({2024, 1, 1, 9, 0, 0});
    c.Execute("BEGIN");
    for (int i = 0; i < kReminders; ++i) {
      std::string at = "'";
      at += platform::clock::FormatStored(start + i / 24.0);
      at += "',";
      std::string sql =
          "insert into txsj(ksdate,jsdate,kstime,jstime,txdate,gxdate,tjdate,txfs,txrw,txbt,txnr,txyy,txwy,cfsj,"
          "cfdw,tqsj,tqdw,txlx,txweek,txzt) values (";
      for (int k = 0; k < 7; ++k) sql += at;
      sql += std::to_string(i % 5);
      sql += ",0,'";
      sql += title;
      sql += std::to_string(i);
      sql += "','";
      sql += memo;
      sql += std::to_string(i);
      sql += "','/home/user/music/alarm.mp3','https://example.com/',30,2,1,5,'work','1,3,5',0)";
      c.Execute(sql);
    }
    c.Execute("COMMIT");
    // The set-up's own writes reach the disk here, not in the first timed flush.
    files::SyncFile(full);
    files::SyncFile(empty);
  }
  ~Setup() { std::filesystem::remove_all(dir); }

  static void Open(db::Connection& c, const std::string& path) {
    c.Open(db::ConnectionText(path, workmemo::kDatabasePassword));
  }
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

void BM_ExportReminders(benchmark::State& state) {
  Setup& s = Shared();
  ReminderStore store;
  store.OpenDatabase(s.full, workmemo::kDatabasePassword);
  for (auto _ : state) {
    if (workmemo::ExportToExcel(store, s.book, "txsj", workmemo::TimedReminderExchangeColumns()) != 1)
      state.SkipWithError("export failed");
  }
}
BENCHMARK(BM_ExportReminders)->Unit(benchmark::kMillisecond);

// Imports the exported workbook into the store, `emptyFirst` emptying the table before each
// (untimed); every import must leave the table with all the reminders.
void ImportReminders(benchmark::State& state, const std::string& path, bool emptyFirst) {
  Setup& s = Shared();
  {
    ReminderStore source;
    source.OpenDatabase(s.full, workmemo::kDatabasePassword);
    workmemo::ExportToExcel(source, s.book, "txsj", workmemo::TimedReminderExchangeColumns());
  }
  ReminderStore store;
  store.OpenDatabase(path, workmemo::kDatabasePassword);
  std::string condition;
  for (auto _ : state) {
    if (emptyFirst) {
      state.PauseTiming();
      store.Connection().Execute("delete from txsj");
      state.ResumeTiming();
    }
    if (workmemo::ImportFromExcel(store, s.book, "txsj", workmemo::TimedReminderExchangeColumns(), condition, 0) != 1 ||
        store.CountReminders() != kReminders)
      state.SkipWithError("import failed");
  }
}

void BM_ImportRemindersIntoEmptyTable(benchmark::State& state) { ImportReminders(state, Shared().empty, true); }
BENCHMARK(BM_ImportRemindersIntoEmptyTable)->Unit(benchmark::kMillisecond);

void BM_ImportRemindersAllPresent(benchmark::State& state) { ImportReminders(state, Shared().full, false); }
BENCHMARK(BM_ImportRemindersAllPresent)->Unit(benchmark::kMillisecond);

}  // namespace
