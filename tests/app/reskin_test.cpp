// Every module's windows in one main window, as the program registers them: what a change of
// skin leaves on the pages and floating windows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "calendar/calendar_registration.h"
#include "calendar/desktop_clock_window.h"
#include "calendar/skin_panel.h"
#include "due_notes/due_panel.h"
#include "due_notes/due_registration.h"
#include "due_notes/notes_panel.h"
#include "due_notes/notes_registration.h"
#include "gui_test.h"
#include "maintenance/maintenance_panel.h"
#include "platform/clock/clock.h"
#include "program_files.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_popup.h"
#include "reminders/ui/reminder_ui_registration.h"
#include "reminders/ui/today_window.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "shell/startup.h"
#include "shell/ui_state.h"
#include "test_support.h"

namespace workmemo {
namespace {

class ReskinTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
    ASSERT_TRUE(testsupport::LoadBuiltInSkin());
    Ui().BackgroundPicture = FindSkinEntry("纯色图片1");
    Settings().SkinTransparency = 10;
    Settings().ListFontSize = 9;
    platform::clock::SetForTest(MakeDateTime(2025, 6, 1, 10, 0, 0));
    Services().ShowMessageBox = [](std::string_view) {};
    ASSERT_TRUE(testsupport::OpenFreshDataFiles(home));
    ClearPageLoaders();
    Seams() = ModuleSeams();
    RegisterMainWindow();
    RegisterReminderUi();
    RegisterCalendarUi();
    RegisterDueUi();
    RegisterNotesUi();
    RegisterMaintenanceUi();
  }
  void TearDown() override {
    ReleaseProgramMainWindow();
    for (const auto& close : Seams().CloseLoadedWindows) close();
    MainWindowAccess() = MainWindowSeam();
    ClearPageLoaders();
    Seams() = ModuleSeams();
    testsupport::CloseDataFiles();
    Services() = ShellServices();
    workmemo::Run() = RunState();
    platform::clock::ClearForTest();
    ::unsetenv("WORKMEMO_HOME");
    GuiTest::TearDown();
  }
  testsupport::TempDir home;
};

TEST_F(ReskinTest, PagesKeepTheirRowsAndOnlyTheOpenFloatingWindowsAreRepainted) {
  ProgramDatabases& data = Databases();
  for (int k = 1; k <= 40; ++k) {
    NoteRecordRow note{0, "note " + std::to_string(k), "", "工作", MakeDateTime(2025, 3, 1, 0, 0, 0) + k};
    ASSERT_EQ(InsertNoteRow(data, note, MakeDateTime(2025, 5, 1, 0, 0, 0)), 1);
  }
  for (int k = 1; k <= 60; ++k) {
    ASSERT_EQ(data.DueConnection.Execute("insert into dqsj(khmc,xmmc,dqdate) values ('c','p" + std::to_string(k) +
                                         "','2025-07-01')"),
              1);
  }
  MainWindow& main = LoadProgramMainWindow();
  main.Window().Show();
  QueryNotes();
  FillNotesList(21);
  QueryDueList();
  FillDueList(39);  // the third page of 19 lines
  CallSeam(&ModuleSeams::ShowTodayWindow);
  CallSeam(&ModuleSeams::ShowDesktopClock);
  Pump();
  ASSERT_NE(TodayRemindersWindow(), nullptr);
  ASSERT_NE(DesktopClockWindow(), nullptr);

  ASSERT_TRUE(Seams().ApplySkinToAllWindows);
  Ui().BackgroundPicture = FindSkinEntry("背景图片2");
  Seams().ApplySkinToAllWindows(40);
  EXPECT_EQ(Settings().SkinTransparency, 40);
  EXPECT_EQ(NotesPage().NotesPanelFirstRow, 21);
  EXPECT_EQ(DuePage().DuePanelFirstRow, 39);
  EXPECT_NE(TodayRemindersWindow(), nullptr);
  EXPECT_NE(DesktopClockWindow(), nullptr);
  EXPECT_EQ(LoadedReminderPopup(), nullptr);  // a closed pop-up is not opened by the re-skinning
  EXPECT_FALSE(SkinPanelWindow()->Unit("等待标签").IsVisible());
}

}  // namespace
}  // namespace workmemo
