#include "reminders/ui/reminder_list_actions.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/database_constants.h"
#include "gui_test.h"
#include "program_files.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "shell/data_files.h"
#include "shell/module_seams.h"
#include "shell/password_gate.h"
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

// The list page over a fresh timed-reminder file, its actions registered, and the program's
// password gate standing in for the main window's: pages shown and messages recorded.
class ListActionsTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ASSERT_TRUE(testsupport::LoadBuiltInSkin());
    Settings().ListFontSize = 9;
    platform::clock::SetForTest(MakeDateTime(2016, 2, 7, 8, 0, 0));
    const std::string path = home.File("dstx2.dat");
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "dstx2.dat"));
    ASSERT_EQ(Databases().Reminders.OpenDatabase(path, kDatabasePassword), 1);
    Databases().Reminders.LoadReminders({}, &ListPageReminders());
    Services().ShowMessageBox = [this](std::string_view m) { messages.emplace_back(m); };
    RegisterReminderListActions();
    GateHooks hooks;
    hooks.ShowPanel = [this](std::string_view p) { pages.emplace_back(p); };
    hooks.ShowMessage = Services().ShowMessageBox;
    hooks.DeleteReminder = SeamCaller(&ModuleSeams::DeleteReminder);
    hooks.DeleteAllReminders = SeamCaller(&ModuleSeams::DeleteAllReminders);
    hooks.MoveSelectedReminderToNotes = SeamCaller(&ModuleSeams::MoveSelectedReminderToNotes);
    gate = std::make_unique<PasswordGate>(
        workmemo::Run(), Settings(), StoredDigestCheck([] { return Databases().Reminders.ReadPasswordHash(); }),
        hooks);
    MainWindowAccess().Gate = [this] { return gate.get(); };
    page = LoadWindow("TimedReminderPanel");
    SetReminderPanelHost({});
    SetUpTimedReminderPanel(*page);
    page->Open();
  }
  void TearDown() override {
    page->Close();
    page.reset();
    MainWindowAccess() = MainWindowSeam();
    Databases().Reminders.CloseDatabase();
    ListPageReminders().clear();
    ListPages() = ReminderListPages();
    Services() = ShellServices();
    PanelActions() = ReminderPanelActions();
    // Only what this fixture set: other fixtures register their seams once per run.
    Seams().DeleteReminder = {};
    Seams().DeleteAllReminders = {};
    Seams().MoveSelectedReminderToNotes = {};
    Settings().DeleteReminderNeedsPassword = 0;
    workmemo::Run() = RunState();
    platform::clock::ClearForTest();
    GuiTest::TearDown();
  }

  SkinListView& List() { return TimedReminderList(); }
  ui::AnimationBox& Box() { return page->UnitAs<ui::AnimationBox>(kReminderListBox); }
  void ClickRow(int line) {
    drive::Click(Box(), 600, List().SpriteTop(List().RowSprite(line)) + List().SpriteHeight(List().RowSprite(line)) / 2);
  }
  void Choose(std::string_view item) { page->UnitAs<ui::MenuItem>(item).Choose(); }
  // Confirmation boxes answered in order: true clicks 确定, false 取消; their texts kept.
  void Answer(std::vector<bool> answers) {
    for (bool ok : answers) {
      script->AnswerWindow([this, ok](ui::Window& box) {
        auto& background = box.UnitAs<ui::AnimationBox>("背景动画框");
        questions.push_back(background.ObjectText(background.FindObject("提示内容")));
        details.push_back(background.ObjectText(background.FindObject("提示内容1")));
        const int id = background.FindObject(ok ? "确定按钮" : "取消按钮");
        drive::Click(background, background.ObjectLeft(id) + 5, background.ObjectTop(id) + 5);
      });
    }
  }
  int Save(std::string title, double start, int mode = RepeatMode::Once) {
    ReminderRecord r;
    r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate = start;
    r.txfs = mode;
    r.txbt = std::move(title);
    r.txlx = "工作";
    EXPECT_EQ(Databases().Reminders.SaveReminder(r), 1);
    return r.id;
  }
  int Rows() {
    platform::db::RecordSet rs;
    rs.Open(Databases().Reminders.Connection(), "select count(*) from txsj");
    return static_cast<int>(rs.IntegerAt(1));
  }
  int StoredState(int id) {
    platform::db::RecordSet rs;
    rs.Open(Databases().Reminders.Connection(), "select txzt from txsj where id=" + std::to_string(id));
    return static_cast<int>(rs.Integer("txzt"));
  }
  int LoadedState(int id) {
    const int p = Databases().Reminders.FindLoadedReminder(id);
    return p > 0 ? Databases().Reminders.Reminders()[static_cast<std::size_t>(p) - 1].txzt : -1;
  }
  std::string Messages() {
    std::string all;
    for (const std::string& m : messages) all += Show(m) + " | ";
    return all;
  }
  // The icon of a line as the list box draws it.
  std::string IconOfLine(int line) {
    const int cell = List().CellSprite(line, 1);
    return Box().Capture(List().SpriteLeft(cell), List().SpriteTop(cell), List().SpriteWidth(cell),
                         List().SpriteHeight(cell));
  }

  testsupport::TempDir home;
  std::unique_ptr<PasswordGate> gate;
  std::unique_ptr<ui::Window> page;
  std::vector<std::string> messages, pages, questions, details;
};

TEST_F(ListActionsTest, DeleteAsksAndTakesTheReminderOutOfEveryList) {
  page->UnitAs<ui::PictureButton>("删除定时提醒按钮").Click();
  EXPECT_EQ(Messages(), Show("请选择要删除的记录！") + " | ");

  std::vector<int> ids;
  for (int k = 1; k <= 20; ++k) ids.push_back(Save("reminder " + std::to_string(k), MakeDateTime(2016, 3, k, 9, 0, 0)));
  RefreshReminderList();
  ShowReminderListPage(2);  // the last screen
  ClickRow(19);
  const int last = List().SelectedId();
  ASSERT_EQ(last, ids.back());

  Answer({false});
  page->UnitAs<ui::PictureButton>("删除定时提醒按钮").Click();
  EXPECT_EQ(Rows(), 20);
  EXPECT_EQ(ListPages().ListPageRowCount, 20);

  Answer({true});
  page->UnitAs<ui::PictureButton>("删除定时提醒按钮").Click();
  EXPECT_EQ(Show(questions.back()), Show("是否真的要删除选中的提醒？"));
  EXPECT_EQ(details.back(), "reminder 20");
  EXPECT_EQ(Rows(), 19);
  EXPECT_EQ(Databases().Reminders.FindLoadedReminder(last), 0);
  EXPECT_EQ(FindReminderIndex(ListPageReminders(), last), 0);
  EXPECT_EQ(ListPages().ListPageRowCount, 19);
  EXPECT_EQ(ListPages().ListPageNumber, 1);  // the lines stay full
  EXPECT_EQ(List().SelectedId(), -1);
  EXPECT_EQ(workmemo::Run().EditedReminderId, 0);

  // Guarded: the password page first; the right password comes back and asks for the same one.
  Settings().DeleteReminderNeedsPassword = 1;
  ClickRow(1);
  page->UnitAs<ui::PictureButton>("删除定时提醒按钮").Click();
  EXPECT_EQ(pages, std::vector<std::string>{"密码验证"});
  EXPECT_EQ(Rows(), 19);
  Answer({true});
  EXPECT_TRUE(gate->ConfirmPasswordPrompt(kInitialPassword));
  EXPECT_EQ(pages.back(), "定时提醒");
  EXPECT_EQ(details.back(), "reminder 1");
  EXPECT_EQ(Rows(), 18);
  EXPECT_EQ(Databases().Reminders.FindLoadedReminder(ids[0]), 0);

  // A row gone behind the page's back: the delete changes nothing and nothing else changes.
  ClickRow(1);
  ASSERT_EQ(Databases().Reminders.Connection().Execute("delete from txsj where id=" + std::to_string(ids[1])), 1);
  Answer({true});
  page->UnitAs<ui::PictureButton>("删除定时提醒按钮").Click();
  EXPECT_EQ(Show(messages.back()), Show("删除提醒失败！"));
  EXPECT_EQ(Databases().Reminders.FindLoadedReminder(ids[1]), 1);
  EXPECT_EQ(FindReminderIndex(ListPageReminders(), ids[1]), 1);
  EXPECT_EQ(script->Unanswered(), 0);
}

TEST_F(ListActionsTest, DeleteAllFromTheListsOwnMenuAsksTwice) {
  for (int k = 1; k <= 3; ++k) Save("reminder " + std::to_string(k), MakeDateTime(2016, 3, k, 9, 0, 0));
  RefreshReminderList();

  // Either question cancelled deletes nothing.
  for (const std::vector<bool>& answers : {std::vector<bool>{false}, std::vector<bool>{true, false}}) {
    Answer(answers);
    Choose("全部删除");
    EXPECT_EQ(Rows(), 3);
    EXPECT_EQ(Databases().Reminders.Reminders().size(), 3u);
  }
  EXPECT_EQ(Show(questions[1]), Show("是否真的要删除所有的提醒数据？"));
  EXPECT_EQ(Show(questions[2]), Show("删除后将不能恢复，请注意先备份！是否真的要删除全部提醒？"));
  EXPECT_TRUE(messages.empty());

  // Guarded like a delete; after the password both questions, then everything goes but the
  // user row. The menu opens on a right click where no row is.
  Settings().DeleteReminderNeedsPassword = 1;
  script->AnswerMenu("全部删除");
  drive::Click(Box(), 600, 500, drive::Button::Right);
  ASSERT_EQ(script->Menus().size(), 1u);
  EXPECT_EQ(Show(script->Menus()[0]), Show("菜单1"));
  EXPECT_EQ(pages, std::vector<std::string>{"密码验证"});
  EXPECT_EQ(Rows(), 3);
  Answer({true, true});
  EXPECT_TRUE(gate->ConfirmPasswordPrompt(kInitialPassword));
  EXPECT_EQ(Messages(), Show("删除提醒成功！") + " | ");
  EXPECT_EQ(Rows(), 0);
  EXPECT_TRUE(Databases().Reminders.Reminders().empty());
  EXPECT_TRUE(ListPageReminders().empty());
  EXPECT_FALSE(List().IsSpriteVisible(List().RowSprite(1)));
  EXPECT_EQ(Databases().Reminders.ReadPasswordHash().size(), 32u);

  // A statement that fails deletes nothing.
  Save("kept", MakeDateTime(2016, 3, 9, 9, 0, 0));
  Databases().Reminders.LoadReminders({}, &ListPageReminders());
  ASSERT_EQ(Databases().Reminders.Connection().Execute(
                "create trigger keep before delete on txsj begin select raise(abort, 'kept'); end"), 1);
  Answer({true, true});
  Choose("全部删除");
  EXPECT_EQ(Show(messages.back()), Show("删除提醒失败！"));
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(Databases().Reminders.Reminders().size(), 1u);
}

TEST_F(ListActionsTest, PauseAndResumeChangeTheIconAndTheFiring) {
  for (const char* item : {"置提醒状态", "置暂停状态"}) Choose(item);
  EXPECT_EQ(Messages(), Show("请选择要置提醒状态的提醒！") + " | " + Show("请选择要置暂停状态的提醒！") + " | ");
  messages.clear();

  const int id = Save("每天九点", MakeDateTime(2016, 2, 1, 9, 0, 0), RepeatMode::Daily);
  RefreshReminderList();
  ClickRow(1);
  const std::string runningIcon = IconOfLine(1);
  auto firesAt = [](double second) {
    ReminderList due;
    Databases().Reminders.CollectDueReminders(second, due);
    return due.size();
  };

  Choose("置暂停状态");
  EXPECT_EQ(StoredState(id), 1);
  EXPECT_EQ(LoadedState(id), 1);
  EXPECT_EQ(ListPageReminders()[0].txzt, 1);
  EXPECT_TRUE(IconOfLine(1) != runningIcon);
  EXPECT_EQ(List().SelectedId(), id);  // the row stays selected
  EXPECT_EQ(firesAt(MakeDateTime(2016, 2, 7, 9, 0, 0)), 0u);

  Choose("置提醒状态");
  EXPECT_EQ(StoredState(id), 0);
  EXPECT_EQ(LoadedState(id), 0);
  EXPECT_TRUE(IconOfLine(1) == runningIcon);
  EXPECT_EQ(firesAt(MakeDateTime(2016, 2, 8, 9, 0, 0)), 1u);
  EXPECT_TRUE(messages.empty());

  // The row gone behind the page's back: the update changes nothing, and neither do the lists.
  ASSERT_EQ(Databases().Reminders.Connection().Execute("delete from txsj"), 1);
  Choose("置暂停状态");
  EXPECT_EQ(Messages(), Show("设置暂停状态失败，可能该提醒已删除！") + " | ");
  EXPECT_EQ(LoadedState(id), 0);
  EXPECT_EQ(ListPageReminders()[0].txzt, 0);
  EXPECT_TRUE(IconOfLine(1) == runningIcon);
}

// Each action edits its own row of the page: the other rows keep their places and what the
// page holds of them, a pause that lasts until the next load included, which the table lacks.
TEST_F(ListActionsTest, DeletePauseAndResumeEditOnlyTheirRowInPlace) {
  std::vector<int> ids;
  for (int k = 1; k <= 30; ++k) ids.push_back(Save("reminder " + std::to_string(k), MakeDateTime(2016, 3, k, 9, 0, 0)));
  RefreshReminderList();
  // Added by the editor after the query, the earliest reminder stands at the end of the page.
  const int added = Save("added", MakeDateTime(2016, 2, 20, 9, 0, 0));
  ListPageReminders().push_back(Databases().Reminders.CopyReminder(added));
  ListPages().ListPageRowCount = 31;
  ListPages().ListPageScrollMax = 13;
  ShowReminderListPage(10);
  // Paused on the pop-up until the next load: the store and the page hold it, the table not.
  const int held = ids[10];
  ASSERT_EQ(Databases().Reminders.SetPaused(held, 2), 1);
  ListPageReminders()[10].txzt = 1;
  ShowReminderListPage(10);
  const std::string pausedIcon = IconOfLine(2);
  std::vector<int> order;
  for (const ReminderRecord& r : ListPageReminders()) order.push_back(r.id);
  auto pageOrder = [] {
    std::vector<int> now;
    for (const ReminderRecord& r : ListPageReminders()) now.push_back(r.id);
    return now;
  };

  ClickRow(4);
  Choose("置暂停状态");
  Choose("置提醒状态");
  EXPECT_EQ(pageOrder(), order);
  EXPECT_EQ(List().SelectedId(), ids[12]);
  EXPECT_EQ(ListPages().ListPageNumber, 10);

  ClickRow(5);
  Answer({true});
  page->UnitAs<ui::PictureButton>("删除定时提醒按钮").Click();
  order.erase(order.begin() + 13);
  EXPECT_EQ(pageOrder(), order);
  EXPECT_EQ(ListPages().ListPageNumber, 10);
  EXPECT_EQ(List().RowIdOfSprite(List().RowSprite(2)), held);
  EXPECT_EQ(ListPageReminders()[10].txzt, 1);
  EXPECT_TRUE(IconOfLine(2) == pausedIcon);
  EXPECT_EQ(LoadedState(held), 1);
  EXPECT_EQ(StoredState(held), 0);
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace workmemo
