#pragma once
// Every module registered as the program registers them, over three fresh data files in a
// program directory of the test's own (or the test's own files, where it says so), with the
// built-in skin; messages recorded. A test loads the main window (LoadProgramMainWindow) when
// it has set up its rows.
#include <cstdlib>
#include <string>
#include <vector>

#include "calendar/calendar_registration.h"
#include "due_notes/due_registration.h"
#include "due_notes/notes_registration.h"
#include "gui_test.h"
#include "maintenance/maintenance_panel.h"
#include "platform/clock/clock.h"
#include "program_files.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/reminder_popup.h"
#include "reminders/ui/reminder_ui_registration.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "shell/data_files.h"
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

class ProgramWindowsTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
    ASSERT_TRUE(testsupport::LoadBuiltInSkin());
    Ui().BackgroundPicture = FindSkinEntry("纯色图片1");
    Settings().ListFontSize = 9;
    platform::clock::SetForTest(MakeDateTime(2025, 6, 1, 10, 0, 0));
    Services().ShowMessageBox = [this](std::string_view m) { messages.emplace_back(m); };
    if (OpensFreshDataFiles()) ASSERT_TRUE(testsupport::OpenFreshDataFiles(home));
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
    CloseReminderPopup();
    ReleaseProgramMainWindow();
    for (const auto& close : Seams().CloseLoadedWindows) close();
    MainWindowAccess() = MainWindowSeam();
    ClearPageLoaders();
    Seams() = ModuleSeams();
    testsupport::CloseDataFiles();
    ListPageReminders().clear();
    ListPages() = ReminderListPages();
    PanelActions() = ReminderPanelActions();
    Services() = ShellServices();
    workmemo::Run() = RunState();
    platform::clock::ClearForTest();
    ::unsetenv("WORKMEMO_HOME");
    GuiTest::TearDown();
  }

  // False for a test that writes and opens the data files itself.
  virtual bool OpensFreshDataFiles() const { return true; }

  testsupport::TempDir home;
  std::vector<std::string> messages;
};

}  // namespace workmemo
