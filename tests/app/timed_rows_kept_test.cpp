// The timed-reminder page, the pop-up and the data-maintenance page in one main window, as the
// program registers them: what the page and the store keep of the reminders an action did not
// touch, a pause until the next load above all, which only the loaded list holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "program_windows_fixture.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/reminder_popup.h"
#include "reminders/ui/reminder_popup_units.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "shell/data_files.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;
using testsupport::Show;

class TimedRowsKeptTest : public ProgramWindowsTest {
 protected:
  int SaveDaily(std::string title, int hour) {
    ReminderRecord r;
    r.ksdate = r.kstime = r.txdate = MakeDateTime(2025, 6, 1, hour, 0, 0);
    r.jsdate = r.jstime = MakeDateTime(2025, 12, 31, hour, 0, 0);
    r.txfs = RepeatMode::Daily;
    r.txbt = std::move(title);
    EXPECT_EQ(Databases().Reminders.SaveReminder(r), 1);
    return r.id;
  }
  // The next confirmation box answered with 确定.
  void AnswerOk() {
    script->AnswerWindow([](ui::Window& box) {
      auto& background = box.UnitAs<ui::AnimationBox>("背景动画框");
      const int ok = background.FindObject("确定按钮");
      drive::Click(background, background.ObjectLeft(ok) + 5, background.ObjectTop(ok) + 5);
    });
  }
  void ClickMaintenance(std::string_view button) {
    ProgramMainWindow()->Page("DataMaintenancePanel")->UnitAs<ui::PictureButton>(button).Click();
  }
  void Import(const std::string& file) {
    AnswerOk();
    AnswerOk();
    script->AnswerFile(file);
    ClickMaintenance("定时提醒导入按钮");
  }
  std::vector<int> PageOrder() {
    std::vector<int> ids;
    for (const ReminderRecord& r : ListPageReminders()) ids.push_back(r.id);
    return ids;
  }
  int PageState(int id) {
    const int p = FindReminderIndex(ListPageReminders(), id);
    return p > 0 ? ListPageReminders()[static_cast<std::size_t>(p) - 1].txzt : -1;
  }
  int LoadedState(int id) {
    const int p = Databases().Reminders.FindLoadedReminder(id);
    return p > 0 ? Databases().Reminders.Reminders()[static_cast<std::size_t>(p) - 1].txzt : -1;
  }
  std::vector<std::string> FiredAt(double second) {
    platform::clock::SetForTest(second + 0.5 / 86400);
    Seams().FireDueReminders(second);
    std::vector<std::string> titles;
    for (const ReminderRecord& r : PopupQueue()) titles.push_back(r.txbt);
    CloseReminderPopup();
    return titles;
  }

  testsupport::TempDir elsewhere;
};

TEST_F(TimedRowsKeptTest, APauseUntilTheNextLoadOutlivesADeleteAndImportsAndTheRowsKeepTheirOrder) {
  platform::clock::SetForTest(MakeDateTime(2025, 6, 1, 8, 0, 0));
  const int meeting = SaveDaily("d 早会", 9);
  const int lunch = SaveDaily("b 午餐", 12);
  const int report = SaveDaily("a 周报", 17);
  const int evening = SaveDaily("c 下班", 18);
  Databases().Reminders.LoadReminders({}, &ListPageReminders());
  Databases().ListPageHoldsFullRead = true;
  MainWindow& main = LoadProgramMainWindow();
  const std::string workbook = elsewhere.File("提醒.xls");
  script->AnswerFile(workbook);
  ClickMaintenance("定时提醒导出按钮");

  // Listed by title, a sort of the user's own that the table's order does not give.
  ui::Window& page = *main.Page(kReminderPanelName);
  auto& box = page.UnitAs<ui::AnimationBox>(kReminderListBox);
  SkinListView& list = TimedReminderList();
  auto pressAt = [&box](int x, int y) {
    drive::Press(box, x, y);
    drive::Release(box, x, y);
  };
  const int caption = list.HeaderCell(6);
  pressAt(list.SpriteLeft(caption) + 5, list.SpriteTop(caption) + 5);
  ASSERT_EQ(PageOrder(), (std::vector<int>{report, lunch, evening, meeting}));

  // The morning meeting pops up and is paused on the pop-up until the next load.
  const double nine = MakeDateTime(2025, 6, 1, 9, 0, 0);
  platform::clock::SetForTest(nine + 0.5 / 86400);
  Seams().FireDueReminders(nine);
  ReminderPopupWindow* popup = LoadedReminderPopup();
  ASSERT_NE(popup, nullptr);
  auto& popupBox = popup->window().UnitAs<ui::AnimationBox>(popup::kBackgroundBox);
  const int pause = popup->SpriteId(popup::kPauseSprite);
  script->AnswerMenu("临时暂停");
  drive::Click(popupBox, popupBox.ObjectLeft(pause) + 3, popupBox.ObjectTop(pause) + 3);
  CloseReminderPopup();
  ASSERT_EQ(PageState(meeting), 1);
  const std::vector<int> shown = {report, lunch, evening, meeting};

  // Lunch deleted from the page: the other rows stay as they were, the pause included.
  drive::Click(box, 600, list.SpriteTop(list.RowSprite(2)) + 5);
  ASSERT_EQ(list.SelectedId(), lunch);
  AnswerOk();
  page.UnitAs<ui::PictureButton>("删除定时提醒按钮").Click();
  EXPECT_EQ(PageOrder(), (std::vector<int>{report, evening, meeting}));
  EXPECT_EQ(PageState(meeting), 1);
  EXPECT_EQ(LoadedState(meeting), 1);

  // The workbook brings lunch back as a new row after the others, which keep their states.
  messages.clear();
  Import(workbook);
  EXPECT_EQ(messages, std::vector<std::string>{"导入提醒数据成功！导入记录：1"});
  const std::vector<int> order = PageOrder();
  ASSERT_EQ(order.size(), 4u);
  EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 3), (std::vector<int>{report, evening, meeting}));
  EXPECT_EQ(Show(ListPageReminders().back().txbt), Show("b 午餐"));
  EXPECT_EQ(list.RowIdOfSprite(list.RowSprite(4)), order.back());
  EXPECT_EQ(PageState(meeting), 1);
  EXPECT_EQ(LoadedState(meeting), 1);

  // Again: nothing is added and nothing changes.
  messages.clear();
  Import(workbook);
  EXPECT_EQ(messages, std::vector<std::string>{"导入提醒数据成功！导入记录：0"});
  EXPECT_EQ(PageOrder(), order);
  EXPECT_EQ(PageState(meeting), 1);
  EXPECT_EQ(LoadedState(meeting), 1);
  EXPECT_EQ(script->Unanswered(), 0);

  // The next day the paused meeting stays silent, the imported lunch fires.
  EXPECT_TRUE(FiredAt(MakeDateTime(2025, 6, 2, 9, 0, 0)).empty());
  EXPECT_EQ(FiredAt(MakeDateTime(2025, 6, 2, 12, 0, 0)).size(), 1u);
}

}  // namespace
}  // namespace workmemo
