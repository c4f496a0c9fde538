#pragma once
// The program's icon in the tray and the tray menu 菜单 of StartupWindow.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/os/tray.h"

namespace platform::ui {
class Menu;
class Window;
}  // namespace platform::ui

namespace workmemo {

// What the tray's clicks and menu items do; each may be left empty (then nothing happens).
struct TrayActions {
  std::function<void()> ShowMainWindow;  // a left click: shown and brought to the front
  std::function<void()> ShowTodayWindow;
  std::function<void()> ShowDesktopClock;
  std::function<void()> AddReminder;     // 添加定时提醒
  std::function<void()> StopMusic;
  std::function<void()> ShowHelpWindow;
  std::function<void()> ShowAboutWindow;
  std::function<void()> ExitFromTray;
};

// Binds the items of the tray menu of a loaded StartupWindow to `actions` and the power items
// to the power tasks (at once, without countdown or question).
void BindTrayMenu(platform::ui::Window& startupWindow, const TrayActions& actions);

// HandleTrayEvent: a left click shows the main window, a right click opens the tray menu
// beside the pointer; a double click does nothing more.
void HandleTrayEvent(const platform::os::TrayEvent& event, platform::ui::Menu& menu,
                     const TrayActions& actions);

// InstallTrayIcon: the icon with its picture and tip, shown, its clicks going to
// HandleTrayEvent. Where the desktop has no tray the icon stays unseen and the program runs on.
std::unique_ptr<platform::os::TrayIcon> InstallTrayIcon(platform::ui::Window& startupWindow,
                                                        std::string_view icon,
                                                        std::string_view tip,
                                                        TrayActions actions);

}  // namespace workmemo
