#pragma once
// Every module's windows registered with the shell as the program registers them, over three
// fresh data files, the built-in skin and a fixed clock.
#include <gtest/gtest.h>

#include <cstdlib>

#include "calendar/calendar_registration.h"
#include "due_notes/due_registration.h"
#include "due_notes/notes_registration.h"
#include "gui_test.h"
#include "maintenance/maintenance_panel.h"
#include "platform/clock/clock.h"
#include "program_files.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_ui_registration.h"
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

class AllModulesTest : public testsupport::GuiTest {
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

}  // namespace workmemo
