// The reminder pop-up for the snapshot tool, over a data file of its own: a reminder whose
// title and content take several pages, an advance notice, and the password cover.
#include <string>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/os/sound.h"
#include "platform/ui/window.h"
#include "reminders/store/reminder_record.h"
#include "reminders/ui/reminder_popup.h"
#include "setup_hooks.h"
#include "shell/data_files.h"
#include "shell/run_state.h"
#include "shell/settings.h"

namespace snapshot {

namespace {

// The tool plays no sound.
platform::os::RecordingSoundBackend& Silence() {
  static platform::os::RecordingSoundBackend silence;
  return silence;
}

workmemo::ReminderRecord SavedReminder(int mode, double start, std::string title, std::string content) {
  workmemo::ReminderRecord r;
  r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate = start;
  r.txfs = mode;
  r.txlx = "工作";
  r.txbt = std::move(title);
  r.txnr = std::move(content);
  workmemo::Databases().Reminders.SaveReminder(r);
  return r;
}

// The program's state with a data file; the reminders queued afterwards as the tick queues
// them, the window's own opening shows the newest.
void OpenOn(platform::ui::Window& window) {
  platform::os::SetSoundBackend(&Silence());
  UseFreshProgramDirectory();
  workmemo::Settings().ListFontSize = 11;
  workmemo::OpenDataFiles();
  // Lives as long as the tool: the window's handlers use it.
  new workmemo::ReminderPopupWindow(window);
}

double Today(int hour, int minute) {
  return static_cast<int>(platform::clock::Now()) + (hour * 60 + minute) / 1440.0;
}

}  // namespace

void RegisterPopupSetups() {
  RegisterSetupHook("ReminderPopupWindow", [](platform::ui::Window& window) {
    OpenOn(window);
    std::string content;
    for (int line = 1; line <= 25; ++line) {
      if (line > 1) content += "\r\n";
      content += std::to_string(line) + ". 检查第" + std::to_string(line) + "项工作的进度并记录结果";
    }
    workmemo::PopupQueue() = {
        SavedReminder(workmemo::RepeatMode::Daily, Today(9, 0), "每天上午九点开晨会", "准备会议材料"),
        SavedReminder(workmemo::RepeatMode::Weekly, Today(15, 0),
                      "每周五下午三点整理本周的工作记录，汇总各项目的进度，准备下周一部门例会上的汇报材料，"
                      "并把需要协调的问题提前发给各位负责人",
                      content)};
  });
  RegisterSetupHook("ReminderPopupWindow:提前提醒", [](platform::ui::Window& window) {
    OpenOn(window);
    workmemo::ReminderRecord r = SavedReminder(workmemo::RepeatMode::LunarMonthly, Today(20, 0),
                                               "妈妈的生日", "记得提前订蛋糕和鲜花");
    r.IsNoticeFiring = 1;
    r.tqdw = workmemo::DatePart::Hour;
    r.NoticeUnitsLeft = 2;
    workmemo::PopupQueue() = {r};
  });
  RegisterSetupHook("ReminderPopupWindow:密码", [](platform::ui::Window& window) {
    OpenOn(window);
    workmemo::Settings().ViewRemindersNeedPassword = 1;
    workmemo::Run().PasswordEntered = 0;
    workmemo::PopupQueue() = {SavedReminder(workmemo::RepeatMode::Once, Today(10, 30), "提交季度报告",
                                            "把季度报告发给经理")};
  });
}

}  // namespace snapshot
