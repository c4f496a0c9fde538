#include "calendar/month_calendar_panel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/month_calendar_view.h"
#include "calendar_fixture.h"
#include "platform/lunar/lunar.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "shell/password_gate.h"

namespace workmemo::testing {
namespace {

using testsupport::Show;
namespace drive = platform::ui::testing;

class CalendarPageTest : public CalendarTest {
 protected:
  void SetUp() override {
    CalendarTest::SetUp();
    Seams().ShowTodayRemindersOn = [this](double day) { todayWindowDays.push_back(day); };
    Seams().IsTodayWindowLoaded = [this] { return todayWindowLoaded; };
    OpenMainWindow().ShowPanel(kPageCalendar);
    ASSERT_NE(MonthCalendarPanelWindow(), nullptr);
  }
  platform::ui::Window& Page() { return *MonthCalendarPanelWindow(); }
  std::string Label(const char* name) { return Show(Page().Unit(name).Text()); }
  void Press(const char* unit) {
    platform::ui::Unit& u = Page().Unit(unit);
    drive::Press(u, u.Width() / 2, u.Height() / 2);
    Pump();
  }
  // The mouse moved onto a day's cell of the grid, then pressed there.
  void ClickDay(int day) {
    platform::ui::Unit& grid = Page().Unit("月历画板");
    const MonthCalendarView& view = MonthCalendar();
    drive::MoveMouse(grid, view.CellLeft(day) + 30, view.CellTop(day) + 30);
    drive::Press(grid, view.CellLeft(day) + 30, view.CellTop(day) + 30);
    Pump();
  }
  void AddReminderOn(int y, int m, int d, const char* title) {
    ReminderRecord r;
    r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate = MakeDateTime(y, m, d, 9, 0, 0);
    r.txbt = title;
    ASSERT_EQ(Databases().Reminders.SaveReminder(r), 1);
  }

  bool todayWindowLoaded = false;
  std::vector<double> todayWindowDays;
};

TEST_F(CalendarPageTest, ThePageShowsTheCurrentMonthAndDescribesToday) {
  const platform::ui::Window& page = Page();
  EXPECT_EQ(page.Left(), main->PanelArea().left);
  EXPECT_EQ(page.Top(), main->PanelArea().top);
  EXPECT_EQ(page.Unit("月历画板").Width(), main->PanelArea().width);
  EXPECT_EQ(MonthCalendar().ShownYear(), 2016);
  EXPECT_EQ(MonthCalendar().ShownMonth(), 1);
  EXPECT_EQ(MonthCalendar().SelectDay, 0);
  EXPECT_EQ(MonthCalendar().GridLeft, 10);
  EXPECT_EQ(MonthCalendar().RowsTop, 86);
  EXPECT_EQ(Label("年月标签"), Show("2016年1月"));
  EXPECT_EQ(Label("日标签"), "31");
  EXPECT_EQ(Label("星期标签"), Show("星期日"));
  EXPECT_EQ(Label("农历标签"),
            Show("农历 " + platform::lunar::FormatLunarDate(MakeDateTime(2016, 1, 31, 0, 0, 0), "%Y%S年%M%D")));
  EXPECT_EQ(Label("提醒计数标签"), Show("0 条提醒"));
  EXPECT_EQ(Label("今天标签"), Show("今天"));
}

TEST_F(CalendarPageTest, NextMonthFromJanuary31ShowsTheLastDayOfFebruaryWithItsReminders) {
  AddReminderOn(2016, 2, 29, "a");
  AddReminderOn(2016, 2, 29, "b");
  AddReminderOn(2016, 2, 29, "c");
  AddReminderOn(2016, 2, 28, "another day");
  Press("下月标签");
  EXPECT_EQ(MonthCalendar().ShownMonth(), 2);
  EXPECT_EQ(Label("年月标签"), Show("2016年2月"));
  EXPECT_EQ(Label("日标签"), "29");
  EXPECT_EQ(Label("星期标签"), Show("星期一"));
  EXPECT_EQ(Label("提醒计数标签"), Show("3 条提醒"));
  EXPECT_TRUE(todayWindowDays.empty()) << "no today window is loaded";
  Press("透明标签100");  // 查看
  ASSERT_EQ(todayWindowDays.size(), 1u);
  EXPECT_EQ(todayWindowDays[0], MakeDateTime(2016, 2, 29, 0, 0, 0));
}

TEST_F(CalendarPageTest, AClickOnADayDescribesItAndFollowsInTheOpenTodayWindow) {
  ClickDay(12);
  EXPECT_EQ(MonthCalendar().SelectDay, 12);
  EXPECT_EQ(Label("日标签"), "12");
  EXPECT_EQ(Label("星期标签"), Show("星期二"));
  EXPECT_TRUE(todayWindowDays.empty());
  todayWindowLoaded = true;
  ClickDay(5);
  ASSERT_EQ(todayWindowDays.size(), 1u);
  EXPECT_EQ(todayWindowDays[0], MakeDateTime(2016, 1, 5, 0, 0, 0));
  Press("下月标签");  // every step shows the displayed day there as well
  ASSERT_EQ(todayWindowDays.size(), 2u);
  EXPECT_EQ(todayWindowDays[1], MakeDateTime(2016, 2, 29, 0, 0, 0));
  Press("上月标签");
  // A click on the blank cells after the 31st clears the selection: today's day again.
  ClickDay(12);
  platform::ui::Unit& grid = Page().Unit("月历画板");
  drive::MoveMouse(grid, 700, 86 + 5 * 79 + 30);
  drive::Press(grid, 700, 86 + 5 * 79 + 30);
  Pump();
  EXPECT_EQ(MonthCalendar().SelectDay, 0);
  EXPECT_EQ(Label("日标签"), "31");
}

TEST_F(CalendarPageTest, YearStepsBeyondTheCalendarComeBackToTheCurrentYear) {
  ShowMonthAndRefresh(1902, 2);
  Press("上年标签");
  EXPECT_EQ(MonthCalendar().ShownYear(), 2016);
  EXPECT_EQ(MonthCalendar().ShownMonth(), 2);
  ShowMonthAndRefresh(1902, 1);
  Press("上月标签");  // December 1901 is not shown
  EXPECT_EQ(MonthCalendar().ShownYear(), 2016);
  EXPECT_EQ(MonthCalendar().ShownMonth(), 12);
  for (int month : {1, 7, 12}) {
    ShowMonthAndRefresh(2049, month);
    Press("下年标签");
    EXPECT_EQ(MonthCalendar().ShownYear(), 2016) << month;
    EXPECT_EQ(MonthCalendar().ShownMonth(), month);
  }
  ShowMonthAndRefresh(2049, 12);
  Press("下月标签");
  EXPECT_EQ(MonthCalendar().ShownYear(), 2016);
  EXPECT_EQ(MonthCalendar().ShownMonth(), 1);
}

TEST_F(CalendarPageTest, TodayShowsTheCurrentMonthWithoutASelection) {
  ClickDay(3);
  Press("今天标签");
  EXPECT_EQ(MonthCalendar().SelectDay, 0);
  EXPECT_EQ(MonthCalendar().ShownMonth(), 1);
  EXPECT_EQ(Label("日标签"), "31");
  ShowMonthAndRefresh(2030, 6);
  Press("今天标签");
  EXPECT_EQ(MonthCalendar().ShownYear(), 2016);
  EXPECT_EQ(MonthCalendar().ShownMonth(), 1);
}

TEST_F(CalendarPageTest, TheEditorSeesTheDisplayedDayOnlyWhileThePageIsShown) {
  ClickDay(20);
  ASSERT_TRUE(Seams().CalendarShownDay);
  EXPECT_EQ(Seams().CalendarShownDay(), MakeDateTime(2016, 1, 20, 0, 0, 0));
  main->ShowPanel(kPageTimedReminders);
  EXPECT_EQ(Seams().CalendarShownDay(), std::nullopt);
}

TEST_F(CalendarPageTest, AddAsksForThePasswordWhenAddingIsGuardedWhateverThePageUnlock) {
  int editorsOpened = 0;
  // The add opener as the editor has it: through the main window's gate.
  Seams().OpenAddReminderEditor = [this, &editorsOpened] {
    if (!main->Gate().Guard(GuardedAction::AddReminder)) ++editorsOpened;
  };
  Settings().AddReminderNeedsPassword = 1;
  // The list page was unlocked, and an add was opened there before the calendar was shown.
  workmemo::Run().TimedReminderPageUnlocked = 1;
  workmemo::Run().CurrentPageName = kRequestAddReminder;
  Press("月历_添加提醒标签");
  EXPECT_EQ(editorsOpened, 0);
  EXPECT_EQ(workmemo::Run().TimedReminderPageUnlocked, 0);
  EXPECT_EQ(Show(main->ShownPage()), Show(kPagePasswordCheck));
  EXPECT_EQ(Show(workmemo::Run().CurrentPageName), Show(kRequestAddReminder));

  main->ShowPanel(kPageCalendar);
  workmemo::Run().CurrentPageName = kPageTimedReminders;
  workmemo::Run().TimedReminderPageUnlocked = 1;
  Press("月历_添加提醒标签");
  EXPECT_EQ(editorsOpened, 1) << "the unlock of the list page, still the current page, holds";
  Settings().AddReminderNeedsPassword = 0;
  workmemo::Run().TimedReminderPageUnlocked = 0;
  Press("月历_添加提醒标签");
  EXPECT_EQ(editorsOpened, 2);
}

TEST_F(CalendarPageTest, TheRelayoutAfterAChangeOfSkinBringsBackTheCurrentMonth) {
  ShowMonthAndRefresh(2020, 5);
  ClickDay(23);
  int relayouts = 0;
  for (const auto& entry : Seams().RelayoutForSkin) {
    if (entry.step == kSkinMonthCalendarPage) {
      entry.relayout();
      ++relayouts;
    }
  }
  EXPECT_EQ(relayouts, 1);
  EXPECT_EQ(MonthCalendar().ShownYear(), 2016);
  EXPECT_EQ(MonthCalendar().ShownMonth(), 1);
  EXPECT_EQ(MonthCalendar().SelectDay, 0);
  EXPECT_EQ(Label("日标签"), "31");
}

}  // namespace
}  // namespace workmemo::testing
