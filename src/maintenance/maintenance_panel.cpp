#include "maintenance/maintenance_panel.h"

#include <memory>

#include "maintenance/maintenance_operations.h"
#include "maintenance/maintenance_page_hooks.h"
#include "platform/ui/app.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/framed_window.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"
#include "shell/ui_state.h"
#include "ui/skin_painter.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;

constexpr char kPageName[] = "DataMaintenancePanel";

struct PageState {
  ui::Window* page = nullptr;
  std::function<void()> layout;
};
PageState& Page() {
  static PageState state;
  return state;
}

struct ButtonAction {
  const char* button;
  void (*action)();
};
constexpr ButtonAction kButtons[] = {
    {"定时提醒备份按钮", BackupTimedData},   {"定时提醒恢复按钮", RestoreTimedData},
    {"定时提醒导出按钮", ExportTimedData},   {"定时提醒导入按钮", ImportTimedData},
    {"定时提醒压缩按钮", CompactTimedData},  {"备份到期提醒按钮", BackupDueData},
    {"恢复到期提醒按钮", RestoreDueData},    {"导出到期提醒按钮", ExportDueData},
    {"导入到期提醒按钮", ImportDueData},     {"压缩到期提醒按钮", CompactDueData},
    {"备份记事本按钮", BackupNotesData},     {"恢复记事本按钮", RestoreNotesData},
    {"导出记事本按钮", ExportNotesData},     {"导入记事本按钮", ImportNotesData},
    {"压缩记事本按钮", CompactNotesData},
};

}  // namespace

std::function<void()> SetUpDataMaintenancePanel(MainWindow* main, ui::Window& page) {
  Page().page = &page;
  for (const ButtonAction& b : kButtons) {
    void (*action)() = b.action;
    page.On(b.button, ui::Event::Clicked, [action](ui::EventArgs&) { action(); });
  }
  page.On({}, ui::Event::Destroying, [](ui::EventArgs&) { ForgetDataMaintenancePanel(); });
  if (main == nullptr) return {};
  auto painter = std::make_shared<SkinPainter>();
  ui::Window* self = &page;
  auto layout = [main, self, painter] { main->PaintPage(*self, *painter, Ui().LabelFontSize); };
  page.On({}, ui::Event::Created, [main, self, layout](ui::EventArgs&) {
    main->PlacePage(*self);
    layout();
  });
  Page().layout = layout;
  return layout;
}

void ForgetDataMaintenancePanel() { Page() = PageState(); }

std::optional<std::string> ChooseMaintenanceFile(std::string_view dialog, std::string_view filter,
                                                 std::string_view extension, std::string_view fileName) {
  if (Page().page == nullptr) return std::nullopt;
  auto& unit = Page().page->UnitAs<ui::FileDialog>(dialog);
  if (!filter.empty()) unit.SetFilter(filter);
  if (!extension.empty()) unit.SetDefaultExtension(extension);
  unit.SetFileName(fileName);
  if (!unit.Run()) return std::nullopt;
  return unit.FileName();
}

void ShowMaintenanceProgress(DataKind kind, std::string_view text) {
  if (Page().page == nullptr) return;
  ui::Unit& label = Page().page->Unit(Maintained(kind).progressLabel);
  label.SetText(text);
  label.SetVisible(true);
  // Drawn now: the work that follows holds the window thread.
  ui::ProcessEvents();
}

void HideMaintenanceProgress(DataKind kind) {
  if (Page().page == nullptr) return;
  Page().page->Unit(Maintained(kind).progressLabel).SetVisible(false);
}

void SetUpBackupPasswordPrompt(ui::Window& prompt) {
  auto painter = std::make_shared<SkinPainter>();
  ui::Window* self = &prompt;
  prompt.On({}, ui::Event::Created, [self, painter](ui::EventArgs&) {
    Maintenance().BackupPasswordConfirmed = 0;
    self->Resize(450, 280);
    self->Unit("标题标签").Move(30, 5);
    PaintFramedShellWindow(*painter, *self, Ui().LabelFontSize, "宋体");
    self->Unit("备份密码框").SetFocus();
  });
  prompt.On({}, ui::Event::Destroying, [painter](ui::EventArgs&) { painter->ClearSprites(); });
  prompt.On("提示确定按钮", ui::Event::Clicked, [self](ui::EventArgs&) {
    ui::Unit& box = self->Unit("备份密码框");
    if (ConfirmBackupPassword(box.Text())) {
      self->Close();
    } else {
      box.SetText("");
    }
  });
  prompt.On("关闭按钮", ui::Event::Clicked, [self](ui::EventArgs&) {
    Maintenance().BackupPasswordConfirmed = 0;
    self->Close();
  });
  prompt.On("背景动画框", ui::Event::LeftDown, [self](ui::EventArgs&) { ui::DragWindow(*self); });
}

int AskBackupPassword() {
  auto prompt = ui::Window::Load("BackupPasswordPrompt");
  SetUpBackupPasswordPrompt(*prompt);
  prompt->KeepAboveTopmostWindows();  // a box that asks, as the message boxes are
  prompt->OpenModal();
  return Maintenance().BackupPasswordConfirmed;
}

void RegisterMaintenanceUi() {
  RegisterPageLoader(kPageName, [](MainWindow& main) {
    LoadedPage loaded;
    loaded.window = ui::Window::Load(kPageName);
    loaded.Layout = SetUpDataMaintenancePanel(&main, *loaded.window);
    return loaded;
  });
  Seams().RelayoutForSkin.push_back({kSkinMaintenancePage, [] {
                                       if (Page().layout) Page().layout();
                                     }});
}

std::vector<std::pair<std::string, MaintenanceWindowSetup>> MaintenanceWindowSetups(
    std::function<MainWindow&()> hostMainWindow) {
  return {
      {kPageName,
       [hostMainWindow](ui::Window& window) {
         MainWindow& main = hostMainWindow();
         main.Load();
         SetUpDataMaintenancePanel(&main, window);
         window.On({}, ui::Event::Created, [&main, &window](ui::EventArgs&) {
           main.PlacePage(window);
           Page().layout();
           ShowMaintenanceProgress(DataKind::Due, "正在恢复到期提醒数据，请稍候！");
         });
       }},
      {"BackupPasswordPrompt", [](ui::Window& window) { SetUpBackupPasswordPrompt(window); }},
  };
}

}  // namespace workmemo
