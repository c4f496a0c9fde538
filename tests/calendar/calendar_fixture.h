#pragma once
// The program's main window on real windows offscreen, with the built-in skin, the three
// data files written from their empty images in a fresh program directory, and this module
// registered as the program registers it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "calendar/calendar_registration.h"
#include "common/database_constants.h"
#include "gui_test.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/resources.h"
#include "reminders/store/calendar.h"
#include "shell/data_files.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/ui_state.h"
#include "test_support.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace workmemo::testing {

class CalendarTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
    SetNow(2016, 1, 31, 10, 0, 0);
    const auto skin = ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(skin.has_value());
    SkinEntryNames = skin->names;
    SkinEntryData = skin->data;
    Ui().BackgroundPicture = FindSkinEntry("背景图片1");
    Settings() = ProgramSettings();
    Settings().SkinTransparency = 10;
    Settings().ListFontSize = 11;
    Settings().TaskbarHeight = 40;
    workmemo::Run() = RunState();
    ProgramDatabases& data = Databases();
    ASSERT_EQ(data.Reminders.OpenDatabase(Fresh("dstx2.dat"), kDatabasePassword), 1);
    ASSERT_EQ(data.DueConnection.Open(platform::db::ConnectionText(Fresh("dqtx2.dat"), kDatabasePassword)), 1);
    ASSERT_EQ(data.NotesConnection.Open(platform::db::ConnectionText(Fresh("jsb2.dat"), kDatabasePassword)), 1);
    ClearPageLoaders();
    Seams() = ModuleSeams();
    RegisterCalendarUi();
  }
  void TearDown() override {
    // As at the end of the program: the main window with its pages first.
    ReleaseProgramMainWindow();
    main = nullptr;
    for (const auto& close : Seams().CloseLoadedWindows) close();
    ClearPageLoaders();
    Seams() = ModuleSeams();
    ProgramDatabases& data = Databases();
    data.Reminders.CloseDatabase();
    data.DueConnection.Close();
    data.NotesConnection.Close();
    workmemo::Run() = RunState();
    Settings() = ProgramSettings();
    SkinEntryNames.clear();
    SkinEntryData.clear();
    platform::clock::ClearForTest();
    ::unsetenv("WORKMEMO_HOME");
    GuiTest::TearDown();
  }

  static void SetNow(int y, int mo, int d, int h, int mi, int s) {
    platform::clock::SetForTest(MakeDateTime(y, mo, d, h, mi, s));
  }
  std::string Fresh(const std::string& image) {
    const std::string path = home.File(image);
    EXPECT_TRUE(testsupport::WriteDataFileFromImage(path, image)) << image;
    return path;
  }
  // The program's main window loaded with its pages and shown.
  MainWindow& OpenMainWindow() {
    main = &LoadProgramMainWindow();
    main->Window().Show();
    Pump();
    return *main;
  }

  testsupport::TempDir home;
  MainWindow* main = nullptr;
};

}  // namespace workmemo::testing
