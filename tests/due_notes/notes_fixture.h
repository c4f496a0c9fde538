#pragma once
// The notes page as the main window loads it, over a fresh notes file, painted with the
// built-in skin; messages recorded, questions answered by the test script.
#include <memory>
#include <string>
#include <vector>

#include "common/database_constants.h"
#include "due_notes/notes_panel.h"
#include "gui_test.h"
#include "program_files.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/data_files.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "test_support.h"
#include "ui/skin_painter.h"

namespace workmemo::notes_test {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;
using testsupport::Show;

inline double Day(int y, int m, int d, int hh = 0, int mm = 0) {
  return platform::clock::SerialFromFields({y, m, d, hh, mm, 0});
}

// Clicks a sprite of a message or confirmation box ("确定按钮", "取消按钮").
inline void ClickSprite(ui::Window& box, std::string_view name) {
  auto& background = box.UnitAs<ui::AnimationBox>("背景动画框");
  const int id = background.FindObject(name);
  ASSERT_GT(id, 0) << Show(name);
  drive::Click(background, background.ObjectLeft(id) + 5, background.ObjectTop(id) + 5);
}

inline std::string SpriteText(ui::Window& box, std::string_view name) {
  auto& background = box.UnitAs<ui::AnimationBox>("背景动画框");
  const int id = background.FindObject(name);
  return id > 0 ? background.ObjectText(id) : std::string("(none)");
}

class NotesPageTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ASSERT_TRUE(testsupport::LoadBuiltInSkin());
    Settings().ListFontSize = 9;
    platform::clock::SetForTest(Day(2016, 2, 7, 8));
    const std::string path = home.File("jsb2.dat");
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "jsb2.dat"));
    ASSERT_EQ(Databases().NotesConnection.Open(platform::db::ConnectionText(path, kDatabasePassword)), 1);
    Services().ShowMessageBox = [this](std::string_view m) { messages.emplace_back(m); };
    page = LoadWindow("NotesPanel");
    SetNotesPanelHost({});
    SetUpNotesPanel(*page);
    page->Open();
  }
  void TearDown() override {
    page->Close();
    page.reset();
    Databases().NotesConnection.Close();
    NotesPage() = NotesPanelState();
    Services() = ShellServices();
    platform::clock::ClearForTest();
    GuiTest::TearDown();
  }

  SkinListView& List() { return NotesList(); }
  ui::AnimationBox& Box() { return page->UnitAs<ui::AnimationBox>(kNotesListBox); }
  int MidY(int sprite) { return List().SpriteTop(sprite) + List().SpriteHeight(sprite) / 2; }
  void ClickRow(int line) { drive::Click(Box(), 600, MidY(List().RowSprite(line))); }
  void Click(std::string_view button) { page->UnitAs<ui::PictureButton>(button).Click(); }

  int Add(std::string title, double date, std::string type = "工作", std::string content = "内容") {
    NoteRecordRow note{0, std::move(title), std::move(content), std::move(type), date};
    EXPECT_EQ(InsertNoteRow(Databases(), note, Day(2016, 2, 7)), 1);
    return note.id;
  }
  // `count` notes on consecutive days, titled by their number; the page lists them.
  void AddNumbered(int count) {
    for (int k = 1; k <= count; ++k) Add("note " + std::to_string(k), Day(2016, 3, 1) + k);
    QueryNotes();
  }
  int CountRows() {
    platform::db::RecordSet rs;
    rs.Open(Databases().NotesConnection, "select count(*) from jsbsj");
    return static_cast<int>(rs.IntegerAt(1));
  }
  std::vector<int> ShownIds() {
    std::vector<int> ids;
    for (int i = 1; i <= List().VisibleRowCount(); ++i)
      if (List().IsSpriteVisible(List().RowSprite(i))) ids.push_back(List().RowIdOfSprite(List().RowSprite(i)));
    return ids;
  }
  std::vector<int> Range(int from, int to) {
    std::vector<int> ids;
    for (int k = from; k <= to; ++k) ids.push_back(k);
    return ids;
  }

  testsupport::TempDir home;
  std::unique_ptr<ui::Window> page;
  std::vector<std::string> messages;
};

}  // namespace workmemo::notes_test
