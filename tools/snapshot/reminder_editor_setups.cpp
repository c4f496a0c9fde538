// Set-ups of the reminder editor: adding a reminder of each kind the pictures show, modifying
// a stored lunar reminder of a leap month, and the drop-down calendar open. The clock stands
// on a fixed Wednesday so that the pictures do not change from day to day.
#include <string>
#include <string_view>

#include "platform/clock/clock.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/reminder_record.h"
#include "reminders/ui/reminder_editor.h"
#include "setup_hooks.h"
#include "shell/data_files.h"
#include "shell/run_state.h"
#include "shell/settings.h"

namespace snapshot {
namespace {

namespace ui = platform::ui;

void Choose(ui::Window& window, std::string_view comboName, std::string_view item) {
  auto& combo = window.UnitAs<ui::ComboBox>(comboName);
  for (int i = 0; i < combo.ItemCount(); ++i) {
    if (combo.ItemText(i) != item) continue;
    combo.SetCurrentIndex(i);
    ui::EventArgs args;
    window.Fire(comboName, ui::Event::Changed, args);
    return;
  }
}

void Click(ui::Window& window, std::string_view button) {
  ui::EventArgs args;
  window.Fire(button, ui::Event::Clicked, args);
}

// The editor of a first start, opened for a new reminder (or for `editedId`), then `drive`
// does what the user did.
void SetUpEditor(ui::Window& window, double now, int editedId, void (*drive)(ui::Window&)) {
  platform::clock::SetForTest(now);
  UseFreshProgramDirectory();
  workmemo::Settings().KeepLastReminderSettings = 1;
  workmemo::Run().EditedReminderId = editedId;
  workmemo::SetUpReminderEditor(window);
  window.On({}, ui::Event::Created, [&window, drive](ui::EventArgs&) {
    workmemo::InitialiseReminderEditor();
    if (drive != nullptr) drive(window);
  });
}

double Wednesday() { return platform::clock::SerialFromFields({2016, 2, 10, 9, 30, 0}); }

// A lunar-once reminder on the fifth day of the leap fourth month of 2020, stored and loaded.
int StoredLeapMonthReminder() {
  workmemo::OpenDataFiles();
  workmemo::ReminderRecord r;
  r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = platform::clock::SerialFromFields({2020, 5, 27, 8, 0, 0});
  r.txfs = workmemo::RepeatMode::LunarOnce;
  r.nlyear = 2020;
  r.txmonth = "4";
  r.txdays = "5";
  r.nlry = 1;
  r.tqdw = workmemo::DatePart::Minute;
  r.txlx = "生活";
  r.txbt = "外婆生日";
  r.txnr = "外婆生日，农历闰四月初五";
  workmemo::Databases().Reminders.SaveReminder(r);
  workmemo::Databases().Reminders.LoadReminders();
  return r.id;
}

const bool registered = [] {
  RegisterSetupHook("ReminderEditorWindow", [](ui::Window& w) { SetUpEditor(w, Wednesday(), 0, nullptr); });
  RegisterSetupHook("ReminderEditorWindow:每周", [](ui::Window& w) {
    SetUpEditor(w, Wednesday(), 0, [](ui::Window& window) {
      Choose(window, "提醒方式组合框", "每周");
      Click(window, "周一选择按钮");
      window.Unit("提醒标题框").SetText("周例会");
      window.Unit("提醒内容框").SetText("周一和周三上午的例会，带上项目进度表。");
    });
  });
  RegisterSetupHook("ReminderEditorWindow:循环", [](ui::Window& w) {
    SetUpEditor(w, Wednesday(), 0, [](ui::Window& window) {
      Choose(window, "提醒方式组合框", "循环");
      Choose(window, "提醒时间组合框", "开始时间");
      window.Unit("时框").SetText("08");
      window.Unit("分框").SetText("00");
      window.Unit("秒框").SetText("00");
      window.Unit("时框1").SetText("18");
      window.Unit("分框1").SetText("00");
      window.Unit("秒框1").SetText("00");
      window.Unit("重复时间框").SetText("30");
      window.Unit("提醒内容框").SetText("起来活动一下，喝杯水。");
    });
  });
  RegisterSetupHook("ReminderEditorWindow:农历闰月", [](ui::Window& w) {
    SetUpEditor(w, Wednesday(), StoredLeapMonthReminder(), nullptr);
  });
  RegisterSetupHook("ReminderEditorWindow:关机", [](ui::Window& w) {
    SetUpEditor(w, Wednesday(), 0, [](ui::Window& window) {
      window.Unit("时框").SetText("23");
      window.Unit("分框").SetText("30");
      window.Unit("秒框").SetText("00");
      Choose(window, "提醒任务组合框", "关机");
    });
  });
  RegisterSetupHook("ReminderEditorWindow:月历", [](ui::Window& w) {
    SetUpEditor(w, Wednesday(), 0, [](ui::Window& window) { Click(window, "月历下拉按钮"); });
  });
  return true;
}();

}  // namespace
}  // namespace snapshot
