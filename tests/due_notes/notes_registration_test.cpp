#include "due_notes/notes_registration.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "common/database_constants.h"
#include "due_notes/note_editor.h"
#include "due_notes/notes_panel.h"
#include "gui_test.h"
#include "program_files.h"
#include "platform/db/db.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/data_files.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "test_support.h"
#include "ui/skin_painter.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;
using testsupport::Show;

// The program's main window with the notes module registered, over three fresh data files.
class NotesInTheMainWindow : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
    ASSERT_TRUE(testsupport::LoadBuiltInSkin());
    Settings().ListFontSize = 11;
    ASSERT_TRUE(testsupport::OpenFreshDataFiles(home));
    ClearPageLoaders();
    Seams() = ModuleSeams();
    RegisterNotesUi();
    main = std::make_unique<MainWindow>(Databases(), workmemo::Run(), Settings());
    main->Load();
  }
  void TearDown() override {
    main.reset();
    ClearPageLoaders();
    Seams() = ModuleSeams();
    testsupport::CloseDataFiles();
    NotesPage() = NotesPanelState();
    workmemo::Run() = RunState();
    ::unsetenv("WORKMEMO_HOME");
    GuiTest::TearDown();
  }
  ui::Window& Page() { return *main->Page(kNotesPanelName); }
  void Click(ui::Window& w, std::string_view button) { w.UnitAs<ui::PictureButton>(button).Click(); }
  void ClickSprite(ui::Window& box, std::string_view name) {
    auto& background = box.UnitAs<ui::AnimationBox>("背景动画框");
    const int id = background.FindObject(name);
    ASSERT_GT(id, 0) << Show(name);
    drive::Click(background, background.ObjectLeft(id) + 5, background.ObjectTop(id) + 5);
  }

  testsupport::TempDir home;
  std::unique_ptr<MainWindow> main;
};

TEST_F(NotesInTheMainWindow, AddAndDeleteANoteThroughTheWindows) {
  ASSERT_EQ(main->Page(kNotesPanelName), NotesPanelWindow());
  EXPECT_EQ(Page().Left(), main->PanelArea().left);
  EXPECT_EQ(Page().Top(), main->PanelArea().top);

  Click(main->Window(), "记事管理按钮");
  EXPECT_TRUE(main->IsPanelVisible("记事管理"));

  script->AnswerWindow([this](ui::Window& editor) {
    editor.Unit("记事本类型框").SetText("会议");
    editor.Unit("标题框").SetText("周一例会");
    editor.Unit("记事框").SetText("讨论下周计划");
    Click(editor, "图形按钮4");
    Click(editor, "图形按钮5");
  });
  Click(Page(), "添加记事管理按钮");
  SkinListView& list = NotesList();
  ASSERT_EQ(list.RowIdOfSprite(list.RowSprite(1)), 1);
  EXPECT_EQ(Show(list.CellText(1, 3)), Show("会议"));
  EXPECT_EQ(Show(list.CellText(1, 4)), Show("周一例会"));

  auto& box = Page().UnitAs<ui::AnimationBox>(kNotesListBox);
  drive::Click(box, 600, list.SpriteTop(list.RowSprite(1)) + 5);
  std::string question;
  script->AnswerWindow([&](ui::Window& confirm) {
    question = confirm.UnitAs<ui::AnimationBox>("背景动画框").ObjectText(
        confirm.UnitAs<ui::AnimationBox>("背景动画框").FindObject("提示内容"));
    ClickSprite(confirm, "确定按钮");
  });
  Click(Page(), "删除记事管理按钮");
  EXPECT_EQ(Show(question), Show("是否真的要删除选中的记事？"));
  EXPECT_FALSE(list.IsSpriteVisible(list.RowSprite(1)));
  platform::db::RecordSet rs;
  rs.Open(Databases().NotesConnection, "select count(*) from jsbsj");
  EXPECT_EQ(rs.IntegerAt(1), 0);
  EXPECT_EQ(script->Unanswered(), 0);
}

TEST_F(NotesInTheMainWindow, ListFontReskinAndSeamsReachThePage) {
  Seams().AppendNoteToNotesPage({7, "moved", "content", "普通记事", 42000});
  SkinListView& list = NotesList();
  EXPECT_EQ(list.RowIdOfSprite(list.RowSprite(1)), 7);

  main->SetListFontSize(9);
  EXPECT_EQ(list.CellText(1, 4), "moved");
  for (const auto& entry : Seams().RelayoutForSkin) {
    if (entry.step == kSkinNotesPage) entry.relayout();
  }
  EXPECT_EQ(list.CellText(1, 4), "moved");
  EXPECT_EQ(list.RowIdOfSprite(list.RowSprite(1)), 7);

  // A restore or import elsewhere: the page lists what the file holds.
  Seams().RefreshNotesPage();
  EXPECT_FALSE(list.IsSpriteVisible(list.RowSprite(1)));

  // The end closes an open editor.
  script->AnswerWindow([](ui::Window&) {
    for (const auto& close : Seams().CloseLoadedWindows) close();
  });
  Click(Page(), "添加记事管理按钮");
  EXPECT_EQ(NoteEditorWindow(), nullptr);
}

}  // namespace
}  // namespace workmemo
