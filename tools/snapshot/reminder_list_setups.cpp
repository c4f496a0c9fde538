// The timed-reminder windows of the snapshot tool on a data file of their own: the main window
// on its list page of 40 reminders sorted by title and after a category query, the today window as a list, as
// the scrolling strip and under its password panel, and the detail window of a long reminder.
#include <string>

#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/reminder_record.h"
#include "reminders/ui/reminder_detail_window.h"
#include "reminders/ui/reminder_ui_registration.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "reminders/ui/today_window.h"
#include "setup_hooks.h"
#include "shell/data_files.h"
#include "shell/main_window.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/ui_state.h"

namespace snapshot {

namespace {

namespace ui = platform::ui;
using workmemo::RepeatMode;

struct Fixture {
  int detailId = 0;
};

// Seven reminders today (one paused) and 33 on other days, in three categories.
const Fixture& PrepareFixture() {
  static Fixture fixture;
  static bool done = false;
  if (done) return fixture;
  done = true;
  UseFreshProgramDirectory();
  workmemo::Settings().ListFontSize = 11;
  workmemo::OpenDataFiles();
  workmemo::Settings().ListFontSize = 11;
  AddReminder(0, 7, 30, RepeatMode::Once, "生活", "晨跑");
  fixture.detailId = AddReminder(0, 9, 0, RepeatMode::Daily, "工作", "晨会：本周项目进度");
  AddReminder(0, 11, 30, RepeatMode::Once, "生活", "取快递");
  AddReminder(0, 14, 0, RepeatMode::Once, "工作", "Weekly report to the team");
  const int paused = AddReminder(0, 16, 45, RepeatMode::Once, "生活", "交水电费");
  AddReminder(0, 18, 0, RepeatMode::Once, "学习", "背单词");
  AddReminder(0, 21, 15, RepeatMode::Once, "生活", "妈妈的生日，记得提前订蛋糕和鲜花");
  workmemo::Databases().Reminders.SetPaused(paused, 1);
  const char* titles[] = {"整理文件", "提交季度报告", "客户回访", "预订会议室", "更新简历", "健身房锻炼",
                          "阅读新书", "报销差旅费", "准备演示文稿", "检查服务器备份", "给花浇水", "缴纳保险",
                          "复习英语", "部门聚餐", "续签合同", "年度体检", "学习新框架", "修理自行车",
                          "budget review", "code review", "安排面试", "整理相册", "写周报", "采购办公用品",
                          "预约理发", "汽车保养", "练习书法", "申请年假", "备份手机", "家长会",
                          "项目复盘", "Release notes", "参加培训"};
  const char* categories[] = {"工作", "生活", "学习"};
  int k = 0;
  for (const char* title : titles) {
    AddReminder(1 + k * 2, 8 + k % 10, (k * 7) % 60, k % 6, categories[k % 3], title);
    ++k;
  }
  workmemo::ReminderRecord longContent = workmemo::Databases().Reminders.CopyReminder(fixture.detailId);
  longContent.txnr =
      "本周项目进度晨会：\r\n1. 各小组汇报上周完成的任务和遇到的问题；\r\n2. 确认本周的开发计划和"
      "测试安排，重点检查接口联调的进度；\r\n3. 讨论客户反馈的需求变更，评估对交付日期的影响；\r\n"
      "4. 会后整理会议纪要并发送给全体成员。";
  workmemo::Databases().Reminders.SaveReminder(longContent);
  return fixture;
}

// The main window on its timed-reminder page, which then shows what `show` asks of it.
void SetUpMainWindow(ui::Window& window, void (*show)()) {
  PrepareFixture();
  workmemo::RegisterReminderUi();
  // It lives on: its pages belong to the tool's window once they are placed in it.
  auto* main = new workmemo::MainWindow(workmemo::Databases(), workmemo::Run(), workmemo::Settings());
  main->Attach(window);
  window.On({}, ui::Event::Created, [main, show](ui::EventArgs&) {
    main->LoadMainWindow();
    show();
  });
}

}  // namespace

void RegisterReminderListSetups() {
  RegisterSetupHook("MainWindow:标题排序", [](ui::Window& window) {
    SetUpMainWindow(window, [] { workmemo::RefreshReminderList({}, {}, "提醒标题："); });
  });
  RegisterSetupHook("MainWindow:类型查询", [](ui::Window& window) {
    SetUpMainWindow(window, [] {
      ui::Window& page = *workmemo::TimedReminderPanelWindow();
      page.UnitAs<ui::ComboBox>("查询项目类型组合框").SetCurrentIndex(2);
      workmemo::SelectReminderQueryField();
      page.Unit(workmemo::kReminderQueryBox).SetText("生活");
      workmemo::RunReminderQuery();
      // The query frame stays open with the searched text, as after typing it.
      ui::EventArgs release;
      release.objectId =
          page.UnitAs<ui::AnimationBox>(workmemo::kReminderBarBox).FindObject(workmemo::kReminderQueryFrameSprite);
      page.Fire(workmemo::kReminderBarBox, ui::Event::ObjectLeftUp, release);
    });
  });
  RegisterSetupHook("TodayRemindersWindow", [](ui::Window& window) {
    PrepareFixture();
    workmemo::AttachTodayWindow(window);
  });
  RegisterSetupHook("TodayRemindersWindow:滚动", [](ui::Window& window) {
    PrepareFixture();
    workmemo::AccessConfigItem("jtck", "xsfs", "1");
    workmemo::AttachTodayWindow(window);
  });
  RegisterSetupHook("TodayRemindersWindow:密码", [](ui::Window& window) {
    PrepareFixture();
    workmemo::Settings().LoginByPassword = 1;
    workmemo::AttachTodayWindow(window);
  });
  RegisterSetupHook("ReminderDetailWindow", [](ui::Window& window) {
    workmemo::DetailState().DetailReminderId = PrepareFixture().detailId;
    workmemo::AttachDetailWindow(window);
  });
}

}  // namespace snapshot
