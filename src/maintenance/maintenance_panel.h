#pragma once
// DataMaintenancePanel, the page 备份数据 of the main window: one row per data file with its
// five buttons and its progress label, and the four file dialogs; and BackupPasswordPrompt,
// which a restore opens when the backup holds another password.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform::ui {
class Window;
}

namespace workmemo {

class MainWindow;

// Binds the page's buttons to their operations and makes it the page the operations use. With
// a main window its created handler places it over PanelArea and paints it on the main
// window's boxes; gives that layout (run again after a change of skin), or nothing without one.
std::function<void()> SetUpDataMaintenancePanel(MainWindow* main, platform::ui::Window& page);
// Forgets the page (it is being destroyed).
void ForgetDataMaintenancePanel();

// The set-up of a loaded BackupPasswordPrompt: BackupPasswordConfirmed 0, laid out at 450 x
// 280 and painted with the skin; 提示确定按钮 checks the typed password, 关闭按钮 gives up.
void SetUpBackupPasswordPrompt(platform::ui::Window& prompt);

// Registers the page with the main window's pages and its re-layout after a new skin.
void RegisterMaintenanceUi();

// The page with a restore's progress shown and the prompt, for tools that draw windows; the
// page is drawn inside `hostMainWindow`.
using MaintenanceWindowSetup = std::function<void(platform::ui::Window&)>;
std::vector<std::pair<std::string, MaintenanceWindowSetup>> MaintenanceWindowSetups(
    std::function<MainWindow&()> hostMainWindow);

}  // namespace workmemo
