#pragma once
// A main window on real windows offscreen, with the built-in skin, the three data files
// written from their empty images and a fresh program directory; messages are recorded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/database_constants.h"
#include "gui_test.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "shell/ui_state.h"
#include "test_support.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace workmemo::testing {

namespace ui = platform::ui;

class MainWindowTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
    platform::clock::SetForTest(platform::clock::SerialFromFields({2024, 5, 10, 10, 0, 0}));
    const auto contents = ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(contents.has_value());
    SkinEntryNames = contents->names;
    SkinEntryData = contents->data;
    Ui() = UiState();
    Ui().BackgroundPicture = FindSkinEntry("背景图片1");
    settings.SkinTransparency = 10;
    settings.ListFontSize = 11;
    ClearPageLoaders();
    Seams() = ModuleSeams();
    Services() = ShellServices();
    Services().ShowMessageBox = [this](std::string_view m) { messages.emplace_back(m); };
    ASSERT_EQ(data.Reminders.OpenDatabase(Fresh("dstx2.dat"), kDatabasePassword), 1);
    ASSERT_EQ(data.DueConnection.Open(platform::db::ConnectionText(Fresh("dqtx2.dat"), kDatabasePassword)), 1);
    ASSERT_EQ(data.NotesConnection.Open(platform::db::ConnectionText(Fresh("jsb2.dat"), kDatabasePassword)), 1);
  }
  void TearDown() override {
    main.reset();
    Seams() = ModuleSeams();
    Services() = ShellServices();
    SkinEntryNames.clear();
    SkinEntryData.clear();
    platform::clock::ClearForTest();
    ::unsetenv("WORKMEMO_HOME");
    GuiTest::TearDown();
  }

  std::string Fresh(const std::string& image) {
    const std::string path = dataDir.File(image);
    EXPECT_TRUE(testsupport::WriteDataFileFromImage(path, image)) << image;
    return path;
  }

  // The main window loaded (its pages with it) and shown.
  MainWindow& Open() {
    main = std::make_unique<MainWindow>(data, state, settings);
    main->Load();
    main->Window().Show();
    Pump();
    return *main;
  }

  ui::Window& Page(std::string_view name) {
    ui::Window* page = main->Page(name);
    EXPECT_NE(page, nullptr) << name;
    return *page;
  }

  // The page windows shown now, by window name.
  std::vector<std::string> VisiblePages() {
    std::vector<std::string> shown;
    for (const std::string& name : PageWindowNames()) {
      if (ui::Window* page = main->Page(name); page != nullptr && page->IsVisible()) shown.push_back(name);
    }
    return shown;
  }

  void ClickUnit(ui::Window& window, std::string_view unit) {
    ui::Unit& u = window.Unit(unit);
    ui::testing::Click(u, u.Width() / 2, u.Height() / 2);
    Pump();
  }

  testsupport::TempDir home;
  testsupport::TempDir dataDir;
  ProgramDatabases data;
  RunState state;
  ProgramSettings settings;
  std::vector<std::string> messages;
  std::unique_ptr<MainWindow> main;
};

}  // namespace workmemo::testing
