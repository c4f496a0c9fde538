// The timed-reminder page and the notes page in one main window, as the program registers
// them: what moving a reminder into the notes leaves in both files and on both pages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/database_constants.h"
#include "due_notes/notes_panel.h"
#include "due_notes/notes_registration.h"
#include "gui_test.h"
#include "program_files.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_list_page.h"
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
#include "test_support.h"
#include "ui/skin_painter.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;
using testsupport::Show;

enum class Fault { None, Insert, Delete };

struct Case {
  const char* name;
  int passwordEntered;
  Fault fault;
  // What the move leaves.
  int noteRows, reminderRows;
  bool stillLoaded;
  int listPageRows, notesPageRows;
  std::vector<std::string> messages;
};

// Three fresh data files and the program's main window with both modules registered.
class MoveToNotesTest : public testsupport::GuiTest, public ::testing::WithParamInterface<Case> {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
    ASSERT_TRUE(testsupport::LoadBuiltInSkin());
    Settings().ListFontSize = 9;
    platform::clock::SetForTest(MakeDateTime(2025, 6, 1, 10, 0, 0));
    Services().ShowMessageBox = [this](std::string_view m) { messages.emplace_back(m); };
  }
  void TearDown() override {
    Close();
    Services() = ShellServices();
    platform::clock::ClearForTest();
    ::unsetenv("WORKMEMO_HOME");
    GuiTest::TearDown();
  }

  // A fresh start: the files written again, the modules registered, the main window loaded.
  void Start(const std::string& tag) {
    ASSERT_TRUE(testsupport::OpenFreshDataFiles(home, tag));
    ClearPageLoaders();
    Seams() = ModuleSeams();
    RegisterReminderUi();
    RegisterNotesUi();
    main = std::make_unique<MainWindow>(Databases(), workmemo::Run(), Settings());
    MainWindowAccess().Gate = [this] { return &main->Gate(); };
    main->Load();
  }
  void Close() {
    for (const auto& close : Seams().CloseLoadedWindows) close();
    main.reset();
    MainWindowAccess() = MainWindowSeam();
    ClearPageLoaders();
    Seams() = ModuleSeams();
    testsupport::CloseDataFiles();
    ListPageReminders().clear();
    ListPages() = ReminderListPages();
    NotesPage() = NotesPanelState();
    PanelActions() = ReminderPanelActions();
    workmemo::Run() = RunState();
    messages.clear();
  }
  int Count(platform::db::Connection& connection, const std::string& table) {
    platform::db::RecordSet rs;
    rs.Open(connection, "select count(*) from " + table);
    return static_cast<int>(rs.IntegerAt(1));
  }

  testsupport::TempDir home;
  std::unique_ptr<MainWindow> main;
  std::vector<std::string> messages;
};

TEST_P(MoveToNotesTest, LeavesBothFilesAndBothPagesInStep) {
  const Case& c = GetParam();
  const std::string content = std::string(90, 'c') + "第二段内容，超过一百个字节的部分也要完整地留在记事里";
  Start("");
  ProgramDatabases& data = Databases();
  ReminderRecord moved;
  moved.ksdate = moved.kstime = moved.jsdate = moved.jstime = moved.txdate = MakeDateTime(2025, 3, 1, 8, 30, 0);
  moved.txbt = "O'Brien 的提醒";
  moved.txnr = content;
  moved.txlx = "工作";
  ASSERT_EQ(data.Reminders.SaveReminder(moved), 1);
  ReminderRecord stays = moved;
  stays.id = 0;
  stays.ksdate = MakeDateTime(2025, 7, 1, 9, 0, 0);
  stays.txbt = "stays";
  ASSERT_EQ(data.Reminders.SaveReminder(stays), 1);
  for (int k = 1; k <= 20; ++k) {
    NoteRecordRow note{0, "note " + std::to_string(k), "", "工作", MakeDateTime(2025, 4, k, 0, 0, 0)};
    ASSERT_EQ(InsertNoteRow(data, note, MakeDateTime(2025, 6, 1, 0, 0, 0)), 1);
  }
  data.Reminders.LoadReminders({}, &ListPageReminders());
  RefreshReminderList();
  RefreshNotesPanel();
  FillNotesList(2);  // the notes page shows its last screen
  Seams().ShowTodayRemindersOn(MakeDateTime(2025, 3, 1, 0, 0, 0));  // the today window on its day
  ASSERT_EQ(FindReminderIndex(ListPages().TodayDayReminders, moved.id), 1);
  // A statement made to fail.
  if (c.fault == Fault::Insert) {
    ASSERT_EQ(data.NotesConnection.Execute("create trigger f before insert on jsbsj begin select raise(abort, 'x'); end"), 1);
  }
  if (c.fault == Fault::Delete) {
    ASSERT_EQ(data.Reminders.Connection().Execute("create trigger f before delete on txsj begin select raise(abort, 'x'); end"), 1);
  }
  workmemo::Run().PasswordEntered = c.passwordEntered;

  // A right click on the reminder's line, its menu item, and OK to the question.
  ui::Window& listPage = *main->Page(kReminderPanelName);
  auto& box = listPage.UnitAs<ui::AnimationBox>(kReminderListBox);
  SkinListView& list = TimedReminderList();
  ASSERT_EQ(list.RowIdOfSprite(list.RowSprite(1)), moved.id);
  script->AnswerMenu("移到到记事管理");
  script->AnswerWindow([](ui::Window& question) {
    auto& background = question.UnitAs<ui::AnimationBox>("背景动画框");
    const int ok = background.FindObject("确定按钮");
    drive::Click(background, background.ObjectLeft(ok) + 5, background.ObjectTop(ok) + 5);
  });
  drive::Click(box, 600, list.SpriteTop(list.RowSprite(1)) + 5, drive::Button::Right);
  if (c.passwordEntered == 0) {
    EXPECT_EQ(Show(main->ShownPage()), Show("密码验证"));
    EXPECT_EQ(Count(data.NotesConnection, "jsbsj"), 20);
    EXPECT_TRUE(main->Gate().ConfirmPasswordPrompt(kInitialPassword));
    EXPECT_EQ(Show(main->ShownPage()), Show("定时提醒"));
    EXPECT_EQ(workmemo::Run().PasswordEntered, 1);  // asked once for the whole run
  }

  std::vector<std::string> shown;
  for (const std::string& m : messages) shown.push_back(Show(m));
  std::vector<std::string> wanted;
  for (const std::string& m : c.messages) wanted.push_back(Show(m));
  EXPECT_EQ(shown, wanted);
  EXPECT_EQ(Count(data.NotesConnection, "jsbsj"), c.noteRows);
  EXPECT_EQ(Count(data.Reminders.Connection(), "txsj"), c.reminderRows);
  EXPECT_EQ(data.Reminders.FindLoadedReminder(moved.id) > 0, c.stillLoaded);
  EXPECT_EQ(ListPages().ListPageRowCount, c.listPageRows);
  EXPECT_EQ(static_cast<int>(ListPageReminders().size()), c.listPageRows);
  EXPECT_EQ(NotesPage().NotesPanelRowCount, c.notesPageRows);
  EXPECT_EQ(FindReminderIndex(ListPages().TodayDayReminders, moved.id) > 0, c.stillLoaded);
  EXPECT_EQ(script->Unanswered(), 0);
  if (c.notesPageRows == 21) {
    // The whole content, dated by the reminder's day, at the end of the notes page in view.
    platform::db::RecordSet rs;
    ASSERT_EQ(rs.Open(data.NotesConnection, "select * from jsbsj where id=21"), 1);
    EXPECT_EQ(Show(rs.Text("bt")), Show("O'Brien 的提醒"));
    EXPECT_EQ(Show(rs.Text("nr")), Show(content));
    EXPECT_EQ(Show(rs.Text("lx")), Show("普通记事"));
    EXPECT_EQ(rs.Text("jsdate"), "2025-03-01");
    EXPECT_EQ(NotesPage().NotesPanelRows.back().id, 21);
    EXPECT_EQ(NotesPage().NotesPanelFirstRow, 3);
    SkinListView& notes = NotesList();
    EXPECT_EQ(notes.RowIdOfSprite(notes.RowSprite(19)), 21);
    EXPECT_EQ(notes.CellText(19, 2), "2025-03-01");
    EXPECT_EQ(list.SelectedId(), -1);
    EXPECT_EQ(list.RowIdOfSprite(list.RowSprite(1)), stays.id);
  }
}

const Case kCases[] = {
    {"PasswordGivenBothStatementsSucceed", 1, Fault::None, 21, 1, false, 1, 21, {}},
    {"NoPasswordYetThePasswordPageFirstThenTheMove", 0, Fault::None, 21, 1, false, 1, 21, {}},
    {"TheNoteCannotBeWritten", 1, Fault::Insert, 20, 2, true, 2, 20,
     {"添加记事失败！", "移动提醒到记事本失败！"}},
    {"TheReminderCannotBeDeletedSoTheNoteGoesAgain", 1, Fault::Delete, 20, 2, true, 2, 20,
     {"删除提醒失败！", "移动提醒到记事本失败！"}},
};

INSTANTIATE_TEST_SUITE_P(Outcomes, MoveToNotesTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace workmemo
