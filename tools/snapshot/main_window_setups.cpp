// The main window and its pages for the snapshot tool: the main window on the timed-reminder
// page listing a few reminders from a data file of its own, the list page and the password
// pages painted on a main window's boxes as they are inside it.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/clock/clock.h"
#include "platform/ui/window.h"
#include "reminders/store/reminder_record.h"
#include "reminders/ui/reminder_ui_registration.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "setup_hooks.h"
#include "shell/data_files.h"
#include "shell/ui_state.h"
#include "ui/skin_painter.h"
#include "shell/main_window.h"
#include "shell/password_pages.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/shell_services.h"

namespace snapshot {

void UseFreshProgramDirectory() {
  static std::string home;
  if (!home.empty()) return;
  char pattern[] = "/tmp/workmemo-snapshot-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) return;
  home = pattern;
  ::setenv("WORKMEMO_HOME", home.c_str(), 1);
  std::atexit([] { std::filesystem::remove_all(home); });
}

int AddReminder(int days, int hour, int minute, int mode, const char* category, const char* title) {
  const double today = static_cast<int>(platform::clock::Now());
  workmemo::ReminderRecord r;
  r.ksdate = today + days + (hour * 3600 + minute * 60) / 86400.0;
  r.kstime = r.jsdate = r.jstime = r.txdate = r.ksdate;
  r.txfs = mode;
  r.txlx = category;
  r.txbt = title;
  workmemo::Databases().Reminders.SaveReminder(r);
  return r.id;
}

// The program-wide state of a start with default settings and a few reminders. The main
// window lives on: its pages belong to the tool's window once they are placed in it.
workmemo::MainWindow& ProgramMainWindow() {
  static workmemo::MainWindow* main = nullptr;
  if (main != nullptr) return *main;
  UseFreshProgramDirectory();
  workmemo::Settings().ListFontSize = 11;
  workmemo::OpenDataFiles();
  AddReminder(-3, 9, 30, 0, "工作", "提交季度报告");
  AddReminder(0, 15, 0, 1, "工作", "每天下午三点开会");
  AddReminder(1, 8, 5, 2, "生活", "去健身房锻炼身体");
  AddReminder(5, 20, 0, 4, "生活", "妈妈的生日，记得提前订蛋糕和鲜花");
  AddReminder(10, 18, 30, 5, "工作事务安排计划提醒", "整理文件");
  workmemo::Databases().Reminders.LoadReminders({}, &workmemo::Databases().ListPageReminders);
  workmemo::RegisterReminderUi();
  main = new workmemo::MainWindow(workmemo::Databases(), workmemo::Run(), workmemo::Settings());
  return *main;
}

void RegisterMainWindowSetups() {
  RegisterSetupHook("MainWindow", [](platform::ui::Window& window) { ProgramMainWindow().Attach(window); });
  // After the skins page chose the second background picture and a transparency of 40.
  RegisterSetupHook("MainWindow:换肤", [](platform::ui::Window& window) {
    workmemo::Ui().BackgroundPicture = workmemo::FindSkinEntry("背景图片2");
    workmemo::Settings().SkinTransparency = 40;
    ProgramMainWindow().Attach(window);
  });
  // The list page as it shows inside the main window (never on its own): on the main window's
  // panel area, listing the same reminders.
  RegisterSetupHook("TimedReminderPanel", [](platform::ui::Window& window) {
    workmemo::MainWindow& main = ProgramMainWindow();
    main.Load();
    const workmemo::PanelRect& area = main.PanelArea();
    workmemo::SetReminderPanelHost({nullptr, area.left, area.top, area.width, area.height,
                                    workmemo::PanelPicture{&main, nullptr}});
    workmemo::SetUpTimedReminderPanel(window);
  });
  RegisterSetupHook("PasswordCheckPanel", [](platform::ui::Window& window) {
    workmemo::MainWindow& main = ProgramMainWindow();
    main.Load();
    workmemo::Run().CurrentPageName = "定时提醒";
    workmemo::SetUpPasswordCheckPanel(main, window);
  });
  RegisterSetupHook("ChangePasswordPanel", [](platform::ui::Window& window) {
    workmemo::MainWindow& main = ProgramMainWindow();
    main.Load();
    workmemo::SetUpChangePasswordPanel(main, window);
  });
}

}  // namespace snapshot
