// ApplySkinToAllWindows with the main window, every page, the today window, the pop-up, the
// desktop clock and the help window loaded, over a data file of 10,000 reminders.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "calendar/calendar_registration.h"
#include "calendar/skin_panel.h"
#include "common/database_constants.h"
#include "due_notes/due_registration.h"
#include "due_notes/notes_registration.h"
#include "maintenance/maintenance_panel.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/ui/app.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_popup.h"
#include "reminders/ui/reminder_ui_registration.h"
#include "shell/data_files.h"
#include "shell/help_window.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/settings.h"
#include "shell/ui_state.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace {

void OpenDataFiles(const std::filesystem::path& dir) {
  workmemo::ProgramDatabases& data = workmemo::Databases();
  for (const char* name : {"dstx2.dat", "dqtx2.dat", "jsb2.dat"})
    platform::files::WriteAll((dir / name).string(), *platform::files::ReadResource(std::string(":/db/") + name));
  const std::string key = workmemo::kDatabasePassword;
  data.Reminders.OpenDatabase((dir / "dstx2.dat").string(), key);
  data.DueConnection.Open(platform::db::ConnectionText((dir / "dqtx2.dat").string(), key));
  data.NotesConnection.Open(platform::db::ConnectionText((dir / "jsb2.dat").string(), key));
  data.Reminders.Connection().Execute("begin");
  for (int i = 0; i < 10000; ++i) {
    workmemo::ReminderRecord r;
    r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate =
        workmemo::MakeDateTime(2024, 1 + i % 12, 1 + i % 28, i % 24, (i * 7) % 60, 0);
    r.txfs = i % 9;
    r.txbt = "会议提醒 " + std::to_string(i);
    data.Reminders.SaveReminder(r);
  }
  data.Reminders.Connection().Execute("commit");
  data.Reminders.LoadReminders();
}

void BM_ApplySkinToAllWindows(benchmark::State& state) {
  int transparency = 10;
  for (auto _ : state) {
    transparency = transparency == 10 ? 40 : 10;
    workmemo::ApplySkinToAllWindows(transparency);
  }
}
BENCHMARK(BM_ApplySkinToAllWindows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const auto dir = std::filesystem::temp_directory_path() / "workmemo-reskin-bench";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  ::setenv("WORKMEMO_HOME", dir.c_str(), 1);
  platform::ui::StartApplication(argc, argv);
  const auto skin = workmemo::ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
  if (skin) {
    workmemo::SkinEntryNames = skin->names;
    workmemo::SkinEntryData = skin->data;
  }
  workmemo::Ui().BackgroundPicture = workmemo::FindSkinEntry("背景图片1");
  workmemo::Settings().SkinTransparency = 10;
  workmemo::Settings().ListFontSize = 11;
  platform::clock::SetForTest(workmemo::MakeDateTime(2024, 3, 1, 8, 0, 0));
  OpenDataFiles(dir);
  workmemo::RegisterMainWindow();
  workmemo::RegisterReminderUi();
  workmemo::RegisterCalendarUi();
  workmemo::RegisterDueUi();
  workmemo::RegisterNotesUi();
  workmemo::RegisterMaintenanceUi();
  workmemo::MainWindow& main = workmemo::LoadProgramMainWindow();
  main.Window().Show();
  workmemo::CallSeam(&workmemo::ModuleSeams::ShowTodayWindow);
  workmemo::CallSeam(&workmemo::ModuleSeams::ShowDesktopClock);
  workmemo::ShowHelpWindow();
  workmemo::PopupQueue().push_back(workmemo::Databases().Reminders.Reminders().front());
  workmemo::OpenOrRefillReminderPopup();
  platform::ui::ProcessEvents();

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  workmemo::ReleaseProgramMainWindow();
  for (const auto& close : workmemo::Seams().CloseLoadedWindows) close();
  workmemo::Databases().Reminders.CloseDatabase();
  workmemo::Databases().DueConnection.Close();
  workmemo::Databases().NotesConnection.Close();
  std::filesystem::remove_all(dir);
  return 0;
}
