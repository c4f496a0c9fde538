// A workbook of 10,000 timed reminders: every column of the reminder table, Chinese titles,
// distinct memos of 280 characters, date-times and codes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/clock/clock.h"
#include "platform/text/text.h"
#include "platform/xls/xls.h"

namespace {

namespace xls = platform::xls;

xls::Workbook Reminders(int count) {
  using xls::Cell;
  xls::Sheet sheet{"txsj",
                   {"txbt", "txnr", "ksdate", "txfs", "cfms", "cfsj", "cfdw", "tqtx", "tqsj",
                    "sywj", "yxcx", "wzdz", "zt", "lx", "gxdate", "cs"},
                   {}};
  const std::string title = platform::text::FromUtf8("每周例会提醒：准备材料");
  std::string memo;
  for (int i = 0; i < 20; ++i) memo += platform::text::FromUtf8("会议室三楼，带上上周的报告。");
  const double start = platform::clock::SerialFromFields({2024, 1, 1, 9, 0, 0});
  for (int i = 0; i < count; ++i) {
    sheet.rows.push_back({Cell::Str(title + std::to_string(i)), Cell::Str(memo + std::to_string(i)),
                          Cell::Date(start + i / 24.0), Cell::Num(i % 5), Cell::Num(i % 9),
                          Cell::Num(30), Cell::Num(2), Cell::Num(1), Cell::Num(5),
                          Cell::Str("/home/user/music/alarm.mp3"), Cell::Null(),
                          Cell::Str("https://example.com/"), Cell::Num(0), Cell::Num(1),
                          Cell::Date(start + i / 48.0), Cell::Num(0)});
  }
  return {{sheet}};
}

void BM_WriteReminders(benchmark::State& state) {
  xls::Workbook book = Reminders(10000);
  std::string path = (std::filesystem::temp_directory_path() / "workmemo-bench.xls").string();
  for (auto _ : state) {
    if (!xls::WriteWorkbook(book, path).ok()) state.SkipWithError("write failed");
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_WriteReminders)->Unit(benchmark::kMillisecond);

void BM_ReadReminders(benchmark::State& state) {
  std::string path = (std::filesystem::temp_directory_path() / "workmemo-bench-read.xls").string();
  xls::WriteWorkbook(Reminders(10000), path);
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
  for (auto _ : state) {
    xls::Workbook book;
    if (!xls::ReadWorkbook(path, book).ok() || book.sheets[0].rows.size() != 10000)
      state.SkipWithError("read failed");
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadReminders)->Unit(benchmark::kMillisecond);

}  // namespace
