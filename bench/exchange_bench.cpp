// The timed-reminder table with 10,000 reminders (Chinese titles, memos of 280 characters,
// date-times and codes) exported to a workbook and imported back: into an empty table, and
// into the table that already holds every row.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/db/exchange.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/text/text.h"

namespace {

namespace db = platform::db;
namespace files = platform::files;
using db::ColumnKind;

constexpr int kReminders = 10000;

std::vector<db::ExchangeColumn> TimedColumns() {
  std::vector<db::ExchangeColumn> out;
  for (const char* name : {"ksdate", "jsdate", "kstime", "jstime", "txdate"}) out.push_back({name, ColumnKind::DateTime});
  out.push_back({"txfs", ColumnKind::Integer});
  out.push_back({"txrw", ColumnKind::Integer});
  for (const char* name : {"txbt", "txnr", "txyy", "txcx", "txwy"}) out.push_back({name, ColumnKind::Text});
  for (const char* name : {"cfsj", "cfdw", "tqsj", "tqdw"}) out.push_back({name, ColumnKind::Integer});
  out.push_back({"txlx", ColumnKind::Text});
  out.push_back({"txjd", ColumnKind::Integer});
  for (const char* name : {"txweek", "notxweek", "txmonth", "txdays"}) out.push_back({name, ColumnKind::Text});
  for (const char* name : {"djsj", "nlyear", "nlry", "cfcs", "cfjs", "cfcsdw", "bytx", "txzt", "xctx", "gbcksj",
                           "gjys", "qzzx", "txdz", "yytx"})
    out.push_back({name, ColumnKind::Integer});
  out.push_back({"gxdate", ColumnKind::DateTime});
  out.push_back({"tjdate", ColumnKind::DateTime});
  return out;
}

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
      const std::string at = "'" + platform::clock::FormatStored(start + i / 24.0) + "'";
      c.Execute("insert into txsj(ksdate,jsdate,kstime,jstime,txdate,txfs,txrw,txbt,txnr,txyy,txwy,cfsj,cfdw,tqsj,"
                "tqdw,txlx,txweek,txzt,gxdate,tjdate) values (" + at + "," + at + "," + at + "," + at + "," + at +
                "," + std::to_string(i % 5) + ",0,'" + title + std::to_string(i) + "','" + memo + std::to_string(i) +
                "','/home/user/music/alarm.mp3','https://example.com/',30,2,1,5,'work','1,3,5',0," + at + "," + at +
                ")");
    }
    c.Execute("COMMIT");
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
  db::Connection c;
  Setup::Open(c, s.full);
  const auto columns = TimedColumns();
  for (auto _ : state) {
    if (!db::ExportTable(c, "txsj", columns, s.book).ok) state.SkipWithError("export failed");
  }
}
BENCHMARK(BM_ExportReminders)->Unit(benchmark::kMillisecond);

void BM_ImportRemindersIntoEmptyTable(benchmark::State& state) {
  Setup& s = Shared();
  const auto columns = TimedColumns();
  db::Connection source;
  Setup::Open(source, s.full);
  db::ExportTable(source, "txsj", columns, s.book);
  db::Connection c;
  Setup::Open(c, s.empty);
  for (auto _ : state) {
    state.PauseTiming();
    c.Execute("delete from txsj");
    state.ResumeTiming();
    const db::ExchangeResult r = db::ImportTable(c, "txsj", columns, s.book, {"ksdate", "txbt"});
    if (!r.ok || r.rowsAdded != kReminders) state.SkipWithError("import failed");
  }
}
BENCHMARK(BM_ImportRemindersIntoEmptyTable)->Unit(benchmark::kMillisecond);

void BM_ImportRemindersAllPresent(benchmark::State& state) {
  Setup& s = Shared();
  const auto columns = TimedColumns();
  db::Connection c;
  Setup::Open(c, s.full);
  db::ExportTable(c, "txsj", columns, s.book);
  for (auto _ : state) {
    const db::ExchangeResult r = db::ImportTable(c, "txsj", columns, s.book, {"ksdate", "txbt"});
    if (!r.ok || r.rowsAdded != 0) state.SkipWithError("import failed");
  }
}
BENCHMARK(BM_ImportRemindersAllPresent)->Unit(benchmark::kMillisecond);

}  // namespace
