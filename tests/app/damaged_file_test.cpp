// Every module's pages in one main window over a notes or due-date file that the start could
// not open: the start goes on, that file's page shows nothing and refuses a save, and a
// restore from the backup page brings the page back.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "due_notes/due_panel.h"
#include "due_notes/notes_panel.h"
#include "platform/files/files.h"
#include "program_windows_fixture.h"
#include "shell/password_change.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;
namespace files = platform::files;
using testsupport::Show;

struct Case {
  const char* file;
  void (MainWindow::*openPage)();
  const char* pageWindow;
  const char* addButton;
  std::function<void(ui::Window& editor)> fill;
  const char* saveButton;
  const char* refused;
  const char* restoreButton;
  const char* restored;
  std::function<int()> pageRows;
  std::function<std::string(ProgramDatabases&)> storedPassword;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.file; }

class DamagedFileTest : public ProgramWindowsTest, public ::testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    ProgramWindowsTest::SetUp();
    Services().EndProgram = [this](int code) { exitCodes.push_back(code); };
  }
  void TearDown() override {
    ProgramWindowsTest::TearDown();
    Databases() = ProgramDatabases();
  }
  bool OpensFreshDataFiles() const override { return false; }
  std::string Data(const std::string& name) const { return home.File("data/" + name); }
  // The next confirmation box answered 确定.
  void AnswerOk() {
    script->AnswerWindow([](ui::Window& box) {
      auto& background = box.UnitAs<ui::AnimationBox>("背景动画框");
      const int ok = background.FindObject("确定按钮");
      drive::Click(background, background.ObjectLeft(ok) + 5, background.ObjectTop(ok) + 5);
    });
  }

  testsupport::TempDir elsewhere;
  std::vector<int> exitCodes;
};

TEST_P(DamagedFileTest, TheStartGoesOnAndARestoreBringsThePageBack) {
  const Case& c = GetParam();
  ASSERT_TRUE(files::MakeDirs(home.File("data")));
  for (const char* image : {"dstx2.dat", "dqtx2.dat", "jsb2.dat"})
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(Data(image), image));
  // The backup: the file with one row, made before it was damaged.
  {
    platform::db::Connection file;
    ASSERT_EQ(file.Open(platform::db::ConnectionText(Data(c.file), kDatabasePassword)), 1);
    ASSERT_EQ(file.Execute(std::string(c.file) == "jsb2.dat"
                               ? "insert into jsbsj(bt,nr,lx,jsdate) values ('备份的记事','内容','工作','2025-05-01')"
                               : "insert into dqsj(khmc,xmmc,xmlx,dqdate) values ('华东','巡检','t','2025-06-03')"),
              1);
  }
  const std::string backup = elsewhere.File("backup");
  ASSERT_TRUE(files::Copy(Data(c.file), backup));
  ASSERT_TRUE(files::WriteAll(Data(c.file), "damaged"));

  OpenDataFiles();
  EXPECT_EQ(messages, std::vector<std::string>{DamagedDataFileMessage(Data(c.file))});
  EXPECT_TRUE(exitCodes.empty());
  EXPECT_TRUE(Databases().Reminders.IsOpen());

  MainWindow& main = LoadProgramMainWindow();
  main.Window().Show();
  (main.*c.openPage)();
  EXPECT_EQ(c.pageRows(), 0);

  // A save is refused with its message, and the damaged file stays as it is for the restore.
  messages.clear();
  script->AnswerWindow([&c](ui::Window& editor) {
    c.fill(editor);
    editor.UnitAs<ui::PictureButton>(c.saveButton).Click();
    if (!editor.IsClosed()) editor.Close();
  });
  main.Page(c.pageWindow)->UnitAs<ui::PictureButton>(c.addButton).Click();
  EXPECT_EQ(messages, std::vector<std::string>{c.refused});
  EXPECT_EQ(files::ReadAll(Data(c.file)), "damaged");

  // Restored from 备份数据: the backup was made with the program's password, so no prompt.
  messages.clear();
  main.OpenBackupPage();
  AnswerOk();
  script->AnswerFile(backup);
  AnswerOk();
  main.Page("DataMaintenancePanel")->UnitAs<ui::PictureButton>(c.restoreButton).Click();
  EXPECT_EQ(messages, std::vector<std::string>{c.restored}) << Show(messages.empty() ? "" : messages[0]);
  EXPECT_EQ(script->Unanswered(), 0);
  (main.*c.openPage)();
  EXPECT_EQ(c.pageRows(), 1);
  EXPECT_EQ(c.storedPassword(Databases()), Databases().Reminders.ReadPasswordHash());
}

const Case kCases[] = {
    {"jsb2.dat", &MainWindow::OpenNotesPage, "NotesPanel", "添加记事管理按钮",
     [](ui::Window& editor) { editor.Unit("记事框").SetText("内容"); }, "图形按钮4", "添加记事失败！",
     "恢复记事本按钮", "恢复记事本数据成功！", [] { return NotesPage().NotesPanelRowCount; },
     ReadNotesDataPassword},
    {"dqtx2.dat", &MainWindow::OpenDuePage, "DuePanel", "添加到期提醒按钮",
     [](ui::Window& editor) {
       editor.Unit("项目名称框").SetText("n");
       editor.Unit("项目类型框").SetText("t");
       editor.Unit("完成进度框").SetText("10");
     },
     "到期提醒确认按钮", "添加到期提醒失败！", "恢复到期提醒按钮", "恢复到期提醒数据成功！",
     [] { return DuePage().DuePanelRowCount; }, ReadDueDataPassword},
};

INSTANTIATE_TEST_SUITE_P(Files, DamagedFileTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.file) == "jsb2.dat" ? std::string("Notes")
                                                                             : std::string("DueDates");
                         });

}  // namespace
}  // namespace workmemo
