#include "shell/page_registry.h"

#include <map>
#include <utility>

#include "platform/text/text.h"
#include "shell/advanced_settings_panel.h"
#include "shell/main_window.h"
#include "shell/password_change.h"
#include "shell/password_pages.h"
#include "shell/ui_state.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

std::map<std::string, PageLoader, std::less<>>& Loaders() {
  static std::map<std::string, PageLoader, std::less<>> loaders;
  return loaders;
}

// How a page without a loader of its own is painted: with animation boxes of its own, or on
// the main window's boxes; and whether its texts take the label font size.
struct EmptyPageKind {
  const char* window;
  bool ownBoxes;
  bool labelFont;
};
constexpr EmptyPageKind kEmptyPages[] = {
    {"TimedReminderPanel", true, false},     {"NotesPanel", true, false},
    {"DuePanel", true, false},               {"SkinPanel", true, true},
    {"DataMaintenancePanel", false, false},  {"MonthCalendarPanel", false, false},
};

// A page whose template is not written yet: a blank page of the page area's size.
std::unique_ptr<ui::Window> BlankPage(std::string_view name, const PanelRect& area) {
  const std::string json = "{\"width\": " + std::to_string(area.width) + ", \"height\": " +
                           std::to_string(area.height) +
                           ", \"units\": [{\"kind\": \"draw_panel\", \"name\": \"子窗口背景画板\","
                           " \"geometry\": [0, 0, 24, 16], \"visible\": false}]}";
  // Templates are UTF-8 text.
  return ui::Window::FromJson(platform::text::ToUtf8(json), name);
}

}  // namespace

const std::vector<std::string>& PageWindowNames() {
  static const std::vector<std::string> names = {
      "TimedReminderPanel",   "NotesPanel",         "ChangePasswordPanel",
      "PasswordCheckPanel",   "AdvancedSettingsPanel", "DataMaintenancePanel",
      "MonthCalendarPanel",   "SkinPanel",          "DuePanel"};
  return names;
}

PanelHost PanelHostIn(MainWindow& main) {
  const PanelRect& area = main.PanelArea();
  return {&main.Window(), area.left, area.top, area.width, area.height,
          PanelPicture{&main, nullptr}};
}

void RegisterPageLoader(std::string windowName, PageLoader loader) {
  Loaders()[std::move(windowName)] = std::move(loader);
}

void ClearPageLoaders() { Loaders().clear(); }

PageLoader FindPageLoader(std::string_view windowName) {
  if (auto it = Loaders().find(windowName); it != Loaders().end() && it->second) return it->second;
  if (windowName == "PasswordCheckPanel") return LoadPasswordCheckPanel;
  if (windowName == "ChangePasswordPanel") return LoadChangePasswordPanel;
  if (windowName == "AdvancedSettingsPanel") return LoadAdvancedSettingsPage;
  return [name = std::string(windowName)](MainWindow& main) { return LoadEmptyPage(main, name); };
}

LoadedPage LoadEmptyPage(MainWindow& main, std::string_view windowName) {
  EmptyPageKind kind{"", false, false};
  for (const EmptyPageKind& k : kEmptyPages) {
    if (windowName == k.window) kind = k;
  }
  std::unique_ptr<ui::Window> window;
  try {
    window = ui::Window::Load(windowName);
  } catch (const ui::TemplateError&) {
    window = BlankPage(windowName, main.PanelArea());
  }
  // A page painted on its own boxes needs both of them.
  const bool ownBoxes = kind.ownBoxes && window->HasUnit("背景动画框") && window->HasUnit("按钮动画框");
  auto painter = std::make_shared<SkinPainter>();
  ui::Window* page = window.get();
  MainWindow* mainWindow = &main;
  auto layout = [mainWindow, page, painter, ownBoxes, labelFont = kind.labelFont] {
    const int fontSize = labelFont ? Ui().LabelFontSize : 0;
    if (ownBoxes) {
      mainWindow->PaintChildPage(*page, *painter, fontSize);
    } else {
      mainWindow->PaintPage(*page, *painter, fontSize);
    }
  };
  window->On({}, ui::Event::Created, [mainWindow, page, layout](ui::EventArgs&) {
    mainWindow->PlacePage(*page);
    layout();
  });
  return {std::move(window), layout};
}

LoadedPage LoadAdvancedSettingsPage(MainWindow& main) {
  LoadedPage loaded;
  loaded.window = ui::Window::Load("AdvancedSettingsPanel");
  PageHost host;
  host.mainWindow = &main.Window();
  host.backgroundBox = &main.BackgroundBox();
  host.compositingBox = &main.CompositingBox();
  host.childBox = &main.ChildBox();
  // Held by pointer: the main window replaces the picture on every repaint.
  host.panelAreaPicture = PanelPicture{&main, nullptr};
  const PanelRect& area = main.PanelArea();
  host.left = area.left;
  host.top = area.top;
  host.width = area.width;
  host.height = area.height;
  AdvancedSettingsHooks hooks;
  // Switching the login mode also logs out; the main window's gate puts its title back.
  hooks.TogglePasswordLogin = [&main] { return TogglePasswordLogin(main.Gate(), main.Data()); };
  auto panel = std::make_shared<AdvancedSettingsPanel>(*loaded.window, host, std::move(hooks));
  loaded.Layout = [panel] { panel->LayoutAdvancedSettingsPanel(); };
  return loaded;
}

}  // namespace workmemo
