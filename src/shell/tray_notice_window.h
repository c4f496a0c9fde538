#pragma once
// The notice shown when the main window goes to the tray: the program keeps running there;
// "下次不再提示" stores that it should not be shown again.
#include <memory>
#include <string>

#include "ui/skin_painter.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

class TrayNoticeWindow {
 public:
  // Binds the window's events; its created handler runs LoadTrayNotice.
  explicit TrayNoticeWindow(platform::ui::Window& window);
  TrayNoticeWindow(const TrayNoticeWindow&) = delete;
  TrayNoticeWindow& operator=(const TrayNoticeWindow&) = delete;

  void LoadTrayNotice();
  // Paints the framed window; run again after a change of skin background.
  void LayoutTrayNotice();
  // Flips "下次不再提示": HideTrayNotice and [xxtips] zxhtips follow the box.
  void ToggleTrayNotice();

  platform::ui::Window& window() { return window_; }

 private:
  platform::ui::Window& window_;
  SkinPainter painter_;
};

// Loads the notice non-modal (a notice still open is closed first). The caller decides
// whether it is wanted: not when HideTrayNotice is 1 or the desktop has no tray.
void ShowTrayNotice();
// The notice ShowTrayNotice opened, or nullptr once closed.
TrayNoticeWindow* OpenTrayNotice();
// Closes and releases it.
void CloseTrayNotice();

}  // namespace workmemo
