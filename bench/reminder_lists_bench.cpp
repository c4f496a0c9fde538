// The timed-reminder lists offscreen: the list page's redraw touches only the 19 lines on
// screen, so it costs about the same at 100 and at 100,000 reminders; the sort of the header
// press and of the today window; and the page's search, which reads every matching row whole.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/ui/app.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/reminder_sort.h"
#include "shell/data_files.h"
#include "shell/settings.h"
#include "ui/skin_list_view_box.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace {

using workmemo::ReminderList;
using workmemo::ReminderRecord;

ReminderRecord Numbered(int i) {
  ReminderRecord r;
  r.id = i + 1;
  r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate =
      workmemo::MakeDateTime(2024, 1 + i % 12, 1 + i % 28, i % 24, (i * 7) % 60, (i * 13) % 60);
  r.txfs = i % 9;
  r.txlx = i % 2 ? "工作" : "个人";
  r.txbt = "会议提醒 " + std::to_string((i * 7919) % 100003);
  r.txnr = std::string(120, 'x') + std::to_string(i);
  return r;
}

ReminderList Records(int count) {
  ReminderList list;
  list.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) list.push_back(Numbered(i));
  return list;
}

// The list page's list on a window of its size, built as the page builds it.
struct ListWindow {
  ListWindow() {
    window = platform::ui::Window::FromJson(R"({"title": "t", "width": 1096, "height": 588, "units": [
        {"kind": "animation_box", "name": "Box", "geometry": [0, 0, 1096, 588]}]})", "ListWindow");
    surface = std::make_unique<workmemo::AnimationBoxSurface>(window->UnitAs<platform::ui::AnimationBox>("Box"));
    workmemo::SkinListView& list = workmemo::TimedReminderList();
    list.Create(*surface, 19, 6, 0, 0, 1096, 542, 27, true, workmemo::EmbeddedListPictures());
    list.SetColumn(1, 1, 2, 24, 24);
    const int x[] = {30, 133, 220, 310, 460};
    for (int c = 2; c <= 6; ++c) list.SetColumn(c, x[c - 2], 8);
  }
  std::unique_ptr<platform::ui::Window> window;
  std::unique_ptr<workmemo::AnimationBoxSurface> surface;
};

void BM_ListPageRedraw(benchmark::State& state) {
  static ListWindow window;
  const int count = static_cast<int>(state.range(0));
  workmemo::ListPageReminders() = Records(count);
  workmemo::ReminderListPages& st = workmemo::ListPages();
  st.ListPageRowCount = count;
  st.ListPageScrollMax = workmemo::LargestFirstRow(count, st.ListPageVisibleRows);
  int first = 1;
  for (auto _ : state) {
    workmemo::ShowReminderListPage(first);
    first = first % st.ListPageScrollMax + 37;  // pages all over the range
  }
  workmemo::ListPageReminders().clear();
}
BENCHMARK(BM_ListPageRedraw)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_SortRemindersByField(benchmark::State& state, const char* field) {
  const ReminderList input = Records(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    ReminderList records = input;
    state.ResumeTiming();
    workmemo::SortRemindersByField(records, field);
    benchmark::DoNotOptimize(records.data());
  }
}
BENCHMARK_CAPTURE(BM_SortRemindersByField, title, "提醒标题：")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortRemindersByField, time, "提醒时间：")->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SortRemindersByField, content, "提醒内容：")->Arg(10000)->Unit(benchmark::kMillisecond);

// A data file of 10,000 reminders, written once for the run.
workmemo::ReminderStore& StoreOf10000() {
  static bool filled = false;
  workmemo::ReminderStore& store = workmemo::Databases().Reminders;
  if (filled) return store;
  filled = true;
  const auto dir = std::filesystem::temp_directory_path() / "workmemo-lists-bench";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "dstx2.dat").string();
  platform::files::WriteAll(path, *platform::files::ReadResource(":/db/dstx2.dat"));
  store.OpenDatabase(path, workmemo::kDatabasePassword);
  store.Connection().Execute("begin");
  for (int i = 0; i < 10000; ++i) {
    ReminderRecord r = Numbered(i);
    r.id = 0;
    store.SaveReminder(r);
  }
  store.Connection().Execute("commit");
  return store;
}

void BM_SearchReminders(benchmark::State& state, const char* label, const char* text) {
  workmemo::ReminderStore& store = StoreOf10000();
  ReminderList found;
  for (auto _ : state) store.SearchReminders(label, text, found);
  state.counters["rows"] = static_cast<double>(found.size());
}
BENCHMARK_CAPTURE(BM_SearchReminders, all, "", "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchReminders, title, "提醒标题：", "42")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchReminders, mode, "提醒方式：", "每")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  platform::ui::StartApplication(argc, argv);
  const auto skin = workmemo::ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
  if (skin) {
    workmemo::SkinEntryNames = skin->names;
    workmemo::SkinEntryData = skin->data;
  }
  workmemo::Settings().ListFontSize = 11;
  platform::clock::SetForTest(workmemo::MakeDateTime(2024, 3, 1, 8, 0, 0));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  workmemo::Databases().Reminders.CloseDatabase();
  workmemo::TimedReminderList() = workmemo::SkinListView();
  return 0;
}
