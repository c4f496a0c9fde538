#include "shell/tray_menu.h"

#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/power_tasks.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

// The menu opens with its top right corner this far left of and above the pointer, so that
// it runs left, away from the screen edge where the tray sits.
constexpr int kMenuOffset = 5;

void Bind(ui::Window& window, std::string_view item, std::function<void()> action) {
  window.On(item, ui::Event::Clicked, [action = std::move(action)](ui::EventArgs&) {
    if (action) action();
  });
}

}  // namespace

void BindTrayMenu(ui::Window& startupWindow, const TrayActions& actions) {
  Bind(startupWindow, "显示今日提醒窗口", actions.ShowTodayWindow);
  Bind(startupWindow, "显示数字时钟", actions.ShowDesktopClock);
  Bind(startupWindow, "关机", ShutdownFromTray);
  Bind(startupWindow, "重启", RestartFromTray);
  Bind(startupWindow, "注销", LogOffFromTray);
  Bind(startupWindow, "关机(强制执行)", ForcedShutdownFromTray);
  Bind(startupWindow, "重启(强制执行)", ForcedRestartFromTray);
  Bind(startupWindow, "注销(强制执行)", ForcedLogOffFromTray);
  Bind(startupWindow, "添加定时提醒", actions.AddReminder);
  Bind(startupWindow, "停止音乐播放", actions.StopMusic);
  Bind(startupWindow, "帮助说明", actions.ShowHelpWindow);
  Bind(startupWindow, "关于", actions.ShowAboutWindow);
  Bind(startupWindow, "退出", actions.ExitFromTray);
}

void HandleTrayEvent(const platform::os::TrayEvent& event, ui::Menu& menu,
                     const TrayActions& actions) {
  switch (event.click) {
    case platform::os::TrayClick::Left:
      if (actions.ShowMainWindow) actions.ShowMainWindow();
      break;
    case platform::os::TrayClick::Right:
      menu.Popup(event.x - kMenuOffset, event.y - kMenuOffset, ui::MenuAnchor::TopRight);
      break;
    case platform::os::TrayClick::Double:
      break;
  }
}

std::unique_ptr<platform::os::TrayIcon> InstallTrayIcon(ui::Window& startupWindow,
                                                        std::string_view icon,
                                                        std::string_view tip,
                                                        TrayActions actions) {
  std::unique_ptr<platform::os::TrayIcon> tray = platform::os::CreateTrayIcon();
  tray->SetIcon(icon);
  tray->SetToolTip(tip);
  ui::Menu* menu = &startupWindow.UnitAs<ui::Menu>("菜单");
  tray->SetClickHandler([menu, actions = std::move(actions)](const platform::os::TrayEvent& e) {
    HandleTrayEvent(e, *menu, actions);
  });
  tray->Show();
  return tray;
}

}  // namespace workmemo
