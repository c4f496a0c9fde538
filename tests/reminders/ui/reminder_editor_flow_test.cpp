// The editor as the user reaches it: from the list page's buttons and menu, in its modal
// loop, answered by the test driver.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_fixture.h"
#include "reminders/ui/today_window.h"
#include "ui/skin_list_view_box.h"

namespace workmemo::testing {
namespace {

namespace drive = platform::ui::testing;
using testsupport::Show;

class EditorFlowTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    page = LoadWindow("TimedReminderPanel");
    SetReminderPanelHost({});
    SetUpTimedReminderPanel(*page);
    page->Open();
    RegisterReminderEditor();
  }
  void TearDown() override {
    CloseTodayWindow();
    TodayState() = TodayWindowState();
    page->Close();
    page.reset();
    EditorTest::TearDown();
  }
  // A press and release of the mouse on a unit of the open editor, or of the page.
  static void Press(ui::Unit& unit) { drive::Click(unit, unit.Width() / 2, unit.Height() / 2); }
  void PressOnEditor(std::string_view unit) const { Press(W().Unit(unit)); }
  void SelectRow(int line) {
    SkinListView& list = TimedReminderList();
    const int row = list.RowSprite(line);
    drive::Click(page->Unit(kReminderListBox), 600, list.SpriteTop(row) + list.SpriteHeight(row) / 2);
  }
  // A one-time reminder stored and shown on the page; its id.
  int StoreListedReminder(const std::string& title) {
    ReminderRecord r;
    r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = At(2016, 3, 1, 8);
    r.txlx = "工作";
    r.txbt = title;
    r.tqdw = DatePart::Minute;
    const int id = SaveRecord(r);
    RefreshReminderList();
    return id;
  }
  std::vector<int> ListedIds() {
    std::vector<int> ids;
    SkinListView& list = TimedReminderList();
    for (int i = 1; i <= list.VisibleRowCount(); ++i)
      if (list.IsSpriteVisible(list.RowSprite(i))) ids.push_back(list.RowIdOfSprite(list.RowSprite(i)));
    return ids;
  }

  std::unique_ptr<ui::Window> page;
};

TEST_F(EditorFlowTest, AWeeklyReminderIsAddedFromTheListPageModifiedInPlaceAndCopied) {
  ShowTodayWindow();  // a loaded today window follows every save
  ASSERT_NE(TodayRemindersWindow(), nullptr);
  EXPECT_EQ(ListPages().TodayRowCount, 0);
  script->AnswerWindow([this](ui::Window& editor) {
    // The tray's add while the editor is open shows this editor; no second one stacks on it.
    OpenAddReminderEditor();
    EXPECT_EQ(ReminderEditorWindow(), &editor);
    Choose("提醒方式组合框", "每周");  // today's 周三 is ticked
    PressOnEditor("周五选择按钮");
    SetTime("10", "00", "00");
    Set("提醒标题框", "周报");
    PressOnEditor("图形按钮4");
    EXPECT_EQ(Show(T("提醒标题框")), "");  // open for the next one
    PressOnEditor("关闭按钮");
  });
  Press(page->Unit("添加定时提醒按钮"));
  ASSERT_EQ(script->ModalWindows().size(), 1u);
  EXPECT_EQ(script->ModalWindows()[0], std::string(kReminderEditorName));
  EXPECT_EQ(ReminderEditorWindow(), nullptr);
  ASSERT_EQ(Rows(), 1);
  const int id = ListPageReminders().back().id;
  EXPECT_EQ(ListedIds(), std::vector<int>{id});
  EXPECT_EQ(Show(TimedReminderList().CellText(1, 4)), Show("每周"));
  EXPECT_EQ(Show(TimedReminderList().CellText(1, 6)), Show("周报"));
  ASSERT_EQ(ListPages().TodayRowCount, 1);  // 周三, today
  EXPECT_EQ(ListPages().TodayDayReminders[0].id, id);
  EXPECT_EQ(FiringAt(At(2016, 2, 10, 10)), std::vector<int>{id});
  EXPECT_EQ(FiringAt(At(2016, 2, 11, 10)), std::vector<int>{});
  EXPECT_EQ(FiringAt(At(2016, 2, 12, 10)), std::vector<int>{id});

  // 修改 changes the row and the line; the editor closes by itself.
  SelectRow(1);
  script->AnswerWindow([this](ui::Window&) {
    EXPECT_EQ(Show(T("标题标签")), Show("修改定时提醒"));
    EXPECT_EQ(BuildWeekdayList(), "4-6");
    Set("提醒标题框", "周报 v2");
    PressOnEditor("图形按钮4");
  });
  Press(page->Unit("修改定时提醒按钮"));
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(Show(Databases().Reminders.ReadReminderTitle(id)), Show("周报 v2"));
  EXPECT_EQ(Show(TimedReminderList().CellText(1, 6)), Show("周报 v2"));
  EXPECT_EQ(ListedIds(), std::vector<int>{id});
  EXPECT_EQ(Show(ListPages().TodayDayReminders.at(0).txbt), Show("周报 v2"));

  // 复制并新增提醒 opens the copy as a new reminder; its save adds one row.
  SelectRow(1);
  script->AnswerWindow([this](ui::Window&) {
    EXPECT_EQ(Show(T("标题标签")), Show("添加定时提醒"));
    EXPECT_EQ(Show(T("提醒标题框")), Show("周报 v2"));
    Set("提醒标题框", "周报副本");
    PressOnEditor("图形按钮4");
    PressOnEditor("关闭按钮");
  });
  page->UnitAs<ui::MenuItem>("复制并新增提醒").Choose();
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(Databases().Reminders.ReadReminderTitle(id), "周报 v2");
  ASSERT_EQ(ListedIds().size(), 2u);
  const ReminderRecord copy = Databases().Reminders.CopyReminder(ListPageReminders().back().id);
  EXPECT_EQ(copy.txweek, "4-6");
  EXPECT_EQ(Show(copy.txbt), Show("周报副本"));

  // Without a selection neither modify nor copy opens anything.
  TimedReminderList().SetSelectedId(-1);
  Press(page->Unit("修改定时提醒按钮"));
  page->UnitAs<ui::MenuItem>("复制并新增提醒").Choose();
  EXPECT_EQ(Show(messages.at(messages.size() - 2)), Show("请选择要修改的记录！"));
  EXPECT_EQ(Show(LastMessage()), Show("请先选择要复制的定时提醒！"));
  EXPECT_EQ(script->ModalWindows().size(), 3u);
}

TEST_F(EditorFlowTest, TheTraysAddWhileAModifyIsOpenLeavesItAModify) {
  const int id = StoreListedReminder("old");
  SelectRow(1);
  script->AnswerWindow([this, id](ui::Window& editor) {
    Seams().OpenAddReminderEditor();  // the tray's 添加定时提醒
    EXPECT_EQ(ReminderEditorWindow(), &editor);
    EXPECT_EQ(workmemo::Run().EditedReminderId, id);
    Set("提醒标题框", "new");
    PressOnEditor("图形按钮4");
    EXPECT_TRUE(editor.IsClosed());  // a modify closes
    if (!editor.IsClosed()) editor.Close();
  });
  Press(page->Unit("修改定时提醒按钮"));
  EXPECT_EQ(script->ModalWindows().size(), 1u);
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(Databases().Reminders.ReadReminderTitle(id), "new");
  EXPECT_EQ(ListedIds(), std::vector<int>{id});
  ASSERT_EQ(ListPageReminders().size(), 1u);
  EXPECT_EQ(ListPageReminders()[0].txbt, "new");
}

TEST_F(EditorFlowTest, OkCorrectsTheBoxStillBeingTypedIn) {
  script->AnswerWindow([this](ui::Window& editor) {
    editor.Activate();
    Pump(50);
    ui::Unit& hour = W().Unit("时框");
    hour.SetFocus();  // the cursor in the box, as the user's click puts it there
    PressOnEditor("时框");  // the click selects the box's text
    for (int key : {'2', '5'}) drive::Key(hour, key);
    EXPECT_EQ(T("时框"), "25");
    EXPECT_TRUE(hour.HasFocus());
    PressOnEditor("图形按钮4");  // a picture button takes no focus
    editor.Close();
  });
  Press(page->Unit("添加定时提醒按钮"));
  ASSERT_EQ(Rows(), 1);
  // Leaving the box would have made the hour the current one; 25 is no hour of a day.
  EXPECT_EQ(Stamp(Databases().Reminders.CopyReminder(ListPageReminders().back().id).ksdate), "2016-02-10 09:30:00");
  EXPECT_TRUE(messages.empty()) << Show(LastMessage());
}

TEST_F(EditorFlowTest, APendingCopySurvivesOnlyThePasswordPagesReplay) {
  const int id = StoreListedReminder("source");
  Settings().ModifyReminderNeedsPassword = 1;
  Settings().AddReminderNeedsPassword = 1;

  SelectRow(1);
  page->UnitAs<ui::MenuItem>("复制并新增提醒").Choose();
  EXPECT_EQ(Show(panels.back()), Show("密码验证"));
  EXPECT_EQ(Editor().CopyAndAddPending, 1);
  EXPECT_TRUE(script->ModalWindows().empty());
  // A plain modify asked for meanwhile is a modify, not the copy.
  Press(page->Unit("修改定时提醒按钮"));
  EXPECT_EQ(Editor().CopyAndAddPending, 0);
  script->AnswerWindow([this](ui::Window&) {
    EXPECT_EQ(Show(T("标题标签")), Show("修改定时提醒"));
    PressOnEditor("图形按钮5");
  });
  EXPECT_TRUE(gate->ConfirmPasswordPrompt("pw"));
  EXPECT_EQ(script->ModalWindows().size(), 1u);

  workmemo::Run().TimedReminderPageUnlocked = 0;
  SelectRow(1);
  page->UnitAs<ui::MenuItem>("复制并新增提醒").Choose();
  script->AnswerWindow([this](ui::Window&) {
    EXPECT_EQ(Show(T("标题标签")), Show("添加定时提醒"));
    EXPECT_EQ(T("提醒标题框"), "source");
    PressOnEditor("图形按钮5");
  });
  EXPECT_TRUE(gate->ConfirmPasswordPrompt("pw"));
  EXPECT_EQ(script->ModalWindows().size(), 2u);
  EXPECT_EQ(Editor().CopyAndAddPending, 0);
  EXPECT_EQ(Rows(), 1);  // cancelled: nothing added
  EXPECT_EQ(Databases().Reminders.ReadReminderTitle(id), "source");

  // An add asked for clears a copy left pending at the password page.
  workmemo::Run().TimedReminderPageUnlocked = 0;
  SelectRow(1);
  page->UnitAs<ui::MenuItem>("复制并新增提醒").Choose();
  Press(page->Unit("添加定时提醒按钮"));
  EXPECT_EQ(Editor().CopyAndAddPending, 0);
  EXPECT_EQ(Show(workmemo::Run().CurrentPageName), Show("添加提醒"));
}

}  // namespace
}  // namespace workmemo::testing
