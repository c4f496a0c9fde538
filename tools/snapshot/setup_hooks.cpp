#include "setup_hooks.h"

#include "calendar/calendar_registration.h"
#include "due_notes/notes_registration.h"
#include "maintenance/maintenance_panel.h"
#include "platform/files/resources.h"
#include "reminders/ui/reminder_ui_registration.h"
#include "reminders/store/reminder_record.h"
#include "shell/countdown_window.h"
#include "shell/message_box.h"
#include "shell/power_tasks.h"
#include "shell/splash_window.h"
#include "shell/settings.h"
#include "shell/ui_state.h"
#include "ui/skin_entry_names.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace snapshot {

namespace {

std::map<std::string, SetupHook>& Registry() {
  static std::map<std::string, SetupHook> hooks;
  return hooks;
}

}  // namespace

void RegisterSetupHook(std::string windowName, SetupHook hook) {
  Registry()[std::move(windowName)] = std::move(hook);
}

const std::map<std::string, SetupHook>& SetupHooks() { return Registry(); }

void RegisterProgramWindows() {
  for (auto& [name, setup] : workmemo::ShellWindowSetups()) RegisterSetupHook(name, setup);
  // A question too long for one line, wrapped into two even lines.
  RegisterSetupHook("ConfirmBoxWindow:恢复", [](platform::ui::Window& window) {
    workmemo::SetUpConfirmBox(window, "恢复提醒数据将自动覆盖原来的提醒数据！是否真的要恢复提醒数据？", {}, {},
                              nullptr);
  });
  RegisterSetupHook("SplashWindow", [](platform::ui::Window& window) {
    workmemo::Splash().SplashMode = 0;  // no timer: the picture as it first shows
    workmemo::SetUpSplashWindow(window, {});
  });
  RegisterSetupHook("ShutdownCountdownWindow", [](platform::ui::Window& window) {
    workmemo::PowerTaskState& power = workmemo::PowerTasks();
    power.PendingPowerTask = workmemo::ReminderTask::Restart;
    power.PowerCountdownSeconds = 10;
    workmemo::SetUpCountdownWindow(window, nullptr);
  });
  for (auto& [name, setup] : workmemo::ReminderWindowSetups()) RegisterSetupHook(name, setup);
  for (auto& [name, setup] : workmemo::CalendarWindowSetups(ProgramMainWindow)) RegisterSetupHook(name, setup);
  for (auto& [name, setup] : workmemo::NotesWindowSetups(ProgramMainWindow)) RegisterSetupHook(name, setup);
  for (auto& [name, setup] : workmemo::MaintenanceWindowSetups(ProgramMainWindow)) RegisterSetupHook(name, setup);
  RegisterMainWindowSetups();
  RegisterPopupSetups();
  RegisterReminderListSetups();
  RegisterDueSetups();
}

bool PrepareProgramState() {
  const auto contents =
      workmemo::ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
  if (!contents) return false;
  workmemo::SkinEntryNames = contents->names;
  workmemo::SkinEntryData = contents->data;
  // A fresh install paints on the first plain colour (no background chosen yet).
  workmemo::Ui().BackgroundPicture = workmemo::FindSkinEntry(
      workmemo::skin::NumberedName(workmemo::skin::kSolidColourPicturePrefix, 1));
  workmemo::Settings().SkinTransparency = 10;
  return true;
}

}  // namespace snapshot
