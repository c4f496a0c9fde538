#pragma once
// The due-date windows on real windows offscreen: the built-in skin, a fresh program directory
// (config.ini lands there), the three data files written from their images and opened on the
// program-wide connections, the clock at a fixed time, messages and questions recorded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/database_constants.h"
#include "due_notes/due_editor.h"
#include "due_notes/due_panel.h"
#include "due_notes/due_statements.h"
#include "due_notes/due_window.h"
#include "gui_test.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/resources.h"
#include "platform/image/image.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "shell/data_files.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "shell/ui_state.h"
#include "test_support.h"
#include "ui/skin_list_view.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace workmemo::duetest {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;
using testsupport::Show;

// Today in the tests: Monday 10 March 2025, 09:00.
inline double Today() { return MakeDateTime(2025, 3, 10, 0, 0, 0); }

class DueTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
    platform::clock::SetForTest(Today() + 9.0 / 24);
    const auto skin = ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(skin.has_value());
    SkinEntryNames = skin->names;
    SkinEntryData = skin->data;
    Ui() = UiState();
    Ui().BackgroundPicture = FindSkinEntry("背景图片1");
    Settings() = ProgramSettings();
    Settings().ListFontSize = 9;
    Settings().SkinTransparency = 10;
    Settings().TaskbarHeight = 40;
    workmemo::Run() = RunState();
    Services() = ShellServices();
    Services().ShowMessageBox = [this](std::string_view m) { messages.emplace_back(m); };
    DueConfirmHook() = [this](std::string_view question, std::string_view detail) {
      questions.push_back(std::string(question) + "|" + std::string(detail));
      return confirmAnswer;
    };
    ProgramDatabases& db = Databases();
    ASSERT_EQ(db.Reminders.OpenDatabase(Fresh("dstx2.dat"), kDatabasePassword), 1);
    ASSERT_EQ(db.DueConnection.Open(platform::db::ConnectionText(Fresh("dqtx2.dat"), kDatabasePassword)), 1);
    ASSERT_EQ(db.NotesConnection.Open(platform::db::ConnectionText(Fresh("jsb2.dat"), kDatabasePassword)), 1);
  }
  void TearDown() override {
    if (page) page->Close();
    page.reset();
    if (editor) editor->Close();
    editor.reset();
    CloseDueRemindersWindow();
    ProgramDatabases& db = Databases();
    db.Reminders.CloseDatabase();
    db.DueConnection.Close();
    db.NotesConnection.Close();
    DuePage() = DuePanelState();
    DueWindowData() = DueWindowState();
    DueEditor() = DueEditorState();
    DueConfirmHook() = {};
    Services() = ShellServices();
    Settings() = ProgramSettings();
    workmemo::Run() = RunState();
    Seams() = ModuleSeams();
    ClearPageLoaders();
    platform::clock::ClearForTest();
    ::unsetenv("WORKMEMO_HOME");
    GuiTest::TearDown();
  }

  std::string Fresh(const std::string& image) {
    const std::string path = dataDir.File(image);
    EXPECT_TRUE(testsupport::WriteDataFileFromImage(path, image)) << image;
    return path;
  }

  // Stores an item; returns its id.
  int Add(const std::string& name, double due, int progress = 0, std::string customer = "客户",
          std::string type = "类型", std::string remark = {}, double start = 0) {
    const due_sql::DueItem item{std::move(customer), name, std::move(type), progress, std::move(remark),
                                start == 0 ? due - 10 : start, due};
    ProgramDatabases& db = Databases();
    EXPECT_EQ(db.DueConnection.Execute(due_sql::Insert(item, platform::clock::Now())), 1) << Show(name);
    db.DueRecordSet.Open(db.DueConnection, due_sql::NewestRow());
    return static_cast<int>(db.DueRecordSet.Integer("id"));
  }
  // Items "n1" .. "n<count>" due on consecutive days from tomorrow.
  std::vector<int> AddNumbered(int count) {
    std::vector<int> ids;
    for (int k = 1; k <= count; ++k) ids.push_back(Add("n" + std::to_string(k), Today() + k));
    return ids;
  }
  platform::db::RecordSet& Row(int id) {
    ProgramDatabases& db = Databases();
    db.DueRecordSet.Open(db.DueConnection, due_sql::OneRow(id));
    return db.DueRecordSet;
  }

  // The page loaded as the main window loads it, outside a main window.
  ui::Window& OpenPage() {
    page = LoadWindow("DuePanel");
    SetDuePanelHost({});
    SetUpDuePanel(*page);
    page->Open();
    return *page;
  }
  // The editor opened without its modal loop, for the page's SelectedDueId and copy flags.
  ui::Window& OpenEditor() {
    editor = LoadWindow("DueEditorWindow");
    SetUpDueEditor(*editor);
    editor->Open();
    return *editor;
  }

  // The ids on the lines shown, top to bottom.
  static std::vector<int> ShownIds(SkinListView& list) {
    std::vector<int> ids;
    for (int i = 1; i <= list.VisibleRowCount(); ++i)
      if (list.IsSpriteVisible(list.RowSprite(i))) ids.push_back(list.RowIdOfSprite(list.RowSprite(i)));
    return ids;
  }
  static int MidY(SkinListView& list, int sprite) { return list.SpriteTop(sprite) + list.SpriteHeight(sprite) / 2; }
  // Selects the line by a click on it, as the user does.
  void ClickLine(ui::Window& window, SkinListView& list, int line) {
    auto& box = window.UnitAs<ui::AnimationBox>("背景动画框");
    drive::Click(box, list.SpriteLeft(list.RowSprite(line)) + 300, MidY(list, list.RowSprite(line)));
  }
  // Whether the icon of a line is the pink clock of an overdue item (else the green one).
  static bool IconIsPink(ui::Window& window, SkinListView& list, int line) {
    const int cell = list.CellSprite(line, 1);
    const auto& box = window.UnitAs<ui::AnimationBox>("背景动画框");
    const platform::image::Image img = platform::image::Decode(
        box.Capture(list.SpriteLeft(cell), list.SpriteTop(cell), list.SpriteWidth(cell), list.SpriteHeight(cell)));
    int pink = 0;
    for (std::uint32_t p : img.pixels) {
      const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (r > g + 60 && b > g + 20) ++pink;
    }
    return pink > 10;
  }

  testsupport::TempDir home;
  testsupport::TempDir dataDir;
  std::unique_ptr<ui::Window> page;
  std::unique_ptr<ui::Window> editor;
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  bool confirmAnswer = true;
};

}  // namespace workmemo::duetest
