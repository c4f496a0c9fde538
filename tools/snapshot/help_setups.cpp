// Set-ups of the advanced settings page, the help window on each of its topics and the tray
// notice. A topic other than the first is drawn as "HelpWindow:<topic>".
#include <memory>
#include <string>
#include <vector>

#include "platform/text/text.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "setup_hooks.h"
#include "shell/advanced_settings_panel.h"
#include "shell/help_window.h"
#include "shell/settings.h"
#include "shell/tray_notice_window.h"
#include "shell/ui_state.h"
#include "ui/skin_painter.h"

namespace snapshot {
namespace {

namespace ui = platform::ui;

// The runners live as long as the tool: the window is drawn after the set-up returns.
template <class T>
T& Keep(std::unique_ptr<T> object) {
  static std::vector<std::shared_ptr<void>> kept;
  T& ref = *object;
  kept.push_back(std::shared_ptr<T>(std::move(object)));
  return ref;
}


// The page on a stand-in for the main window: its three boxes painted as the main window
// paints them, and the picture of its page area.
void SetUpAdvancedSettingsPanel(ui::Window& window) {
  constexpr char kHostJson[] =
      R"({"title": "host", "width": 1100, "height": 728, "units": [
      {"kind": "animation_box", "name": "背景动画框", "geometry": [0, 0, 1100, 728]},
      {"kind": "animation_box", "name": "按钮动画框", "geometry": [0, 0, 68, 24], "visible": false},
      {"kind": "animation_box", "name": "子窗口背景动画框", "geometry": [0, 116, 1100, 588], "visible": false}]})";
  ui::Window& host = Keep(ui::Window::FromJson(platform::text::ToUtf8(kHostJson), "host"));
  workmemo::SkinPainter& painter = Keep(std::make_unique<workmemo::SkinPainter>());
  workmemo::PaintWindowArgs paint;
  paint.window = &host;
  paint.backgroundBox = &host.UnitAs<ui::AnimationBox>("背景动画框");
  paint.compositingBox = &host.UnitAs<ui::AnimationBox>("按钮动画框");
  paint.childBox = &host.UnitAs<ui::AnimationBox>("子窗口背景动画框");
  paint.childY = 116;
  paint.childWidth = 1100;
  paint.childHeight = 588;
  paint.backgroundPicture = workmemo::Ui().BackgroundPicture;
  paint.transparency = workmemo::Settings().SkinTransparency;
  painter.PaintWindow(paint);
  workmemo::PageHost where;
  where.backgroundBox = paint.backgroundBox;
  where.compositingBox = paint.compositingBox;
  where.childBox = paint.childBox;
  std::string& picture = Keep(std::make_unique<std::string>(
      painter.SetUnitPictureFromBox(*paint.backgroundBox, *paint.childBox, 2, 116, 1096, 588)));
  where.panelAreaPicture = workmemo::PanelPicture{nullptr, &picture};
  // The defaults of a first start.
  workmemo::Settings().ShowDueWindowAtStart = 1;
  workmemo::Settings().KeepLastReminderSettings = 1;
  Keep(std::make_unique<workmemo::AdvancedSettingsPanel>(window, where));
}

void SetUpHelpWindow(ui::Window& window, std::string topic) {
  workmemo::HelpWindow& help = Keep(std::make_unique<workmemo::HelpWindow>(window));
  window.On({}, ui::Event::Created, [&help, topic](ui::EventArgs&) {
    help.LoadHelpWindow();
    help.ShowHelpTopic(topic);
  });
}

const bool registered = [] {
  RegisterSetupHook("AdvancedSettingsPanel", SetUpAdvancedSettingsPanel);
  RegisterSetupHook("TrayNoticeWindow", [](ui::Window& window) {
    Keep(std::make_unique<workmemo::TrayNoticeWindow>(window));
  });
  RegisterSetupHook("HelpWindow", [](ui::Window& w) { SetUpHelpWindow(w, "欢迎使用"); });
  for (const char* topic : {"许可协议", "操作指南", "更新说明", "操作指南1"}) {
    RegisterSetupHook(std::string("HelpWindow:") + topic,
                      [topic](ui::Window& w) { SetUpHelpWindow(w, topic); });
  }
  return true;
}();

}  // namespace
}  // namespace snapshot
