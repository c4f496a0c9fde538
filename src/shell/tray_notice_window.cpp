#include "shell/tray_notice_window.h"

#include "platform/files/resources.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/help_window.h"
#include "shell/setting_switch.h"
#include "shell/settings.h"
#include "shell/ui_state.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kWidth = 499;
constexpr int kHeight = 337;
constexpr int kMargin = 3;
constexpr char kCheckBox[] = "信息提示选择框";
constexpr char kBackgroundBox[] = "背景动画框";

NonModalWindow<TrayNoticeWindow>& Open() {
  // Never destroyed at exit: a window must not outlive the application object.
  static auto& holder = *new NonModalWindow<TrayNoticeWindow>;
  return holder;
}

}  // namespace

TrayNoticeWindow::TrayNoticeWindow(ui::Window& window) : window_(window) {
  window_.On({}, ui::Event::Created, [this](ui::EventArgs&) { LoadTrayNotice(); });
  window_.On({}, ui::Event::Destroying, [this](ui::EventArgs&) { painter_.ClearSprites(); });
  window_.On(kCheckBox, ui::Event::Clicked, [this](ui::EventArgs&) { ToggleTrayNotice(); });
  window_.On("透明标签2", ui::Event::LeftDown, [this](ui::EventArgs&) { ToggleTrayNotice(); });
  for (const char* button : {"提示确定按钮", "关闭按钮"}) {
    window_.On(button, ui::Event::Clicked, [this](ui::EventArgs&) { window_.Close(); });
  }
  window_.On(kBackgroundBox, ui::Event::LeftDown, [this](ui::EventArgs&) { ui::DragWindow(window_); });
}

void TrayNoticeWindow::LoadTrayNotice() {
  window_.Resize(kWidth, kHeight);
  ui::Unit& close = window_.Unit("关闭按钮");
  close.Move(kWidth - close.Width() - kMargin, kMargin);
  window_.Unit("标题标签").Move(30, 5);
  LayoutTrayNotice();
  window_.UnitAs<ui::PictureBox>("图片框1")
      .SetPicture(platform::files::ReadResource(":/help/tray_notice.png").value_or(""));
}

void TrayNoticeWindow::LayoutTrayNotice() {
  PaintFramedShellWindow(painter_, window_, Ui().LabelFontSize, "宋体");
}

void TrayNoticeWindow::ToggleTrayNotice() {
  auto& box = window_.UnitAs<ui::PictureButton>(kCheckBox);
  const int on = painter_.IsCheckButtonOn(box) == 1 ? 0 : 1;
  // The box shows what config.ini holds: a refused write leaves it as it was, and says so.
  if (!StoreSwitchSetting("xxtips", "zxhtips", on == 1 ? "1" : "0")) return;
  Settings().HideTrayNotice = painter_.SetButtonPictures(box, on);
}

void ShowTrayNotice() {
  auto& open = Open();
  open.Release();
  open.window = ui::Window::Load("TrayNoticeWindow");
  open.runner = std::make_unique<TrayNoticeWindow>(*open.window);
  open.window->Open();
}

TrayNoticeWindow* OpenTrayNotice() { return Open().Current(); }

void CloseTrayNotice() { Open().Release(); }

}  // namespace workmemo
