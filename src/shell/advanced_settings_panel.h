#pragma once
// The advanced settings page of the main window: six check boxes, each switching one
// program-wide flag at once and storing it (config.ini, the login mode of the three
// databases, or the autostart entry). There is no OK button.
#include <functional>
#include <string>

#include "shell/panel_picture.h"
#include "ui/skin_painter.h"

namespace platform::ui {
class AnimationBox;
class PictureButton;
class Window;
}  // namespace platform::ui

namespace workmemo {

// What a page inside the main window paints with and where it lies: the main window, its
// three painting boxes, where the picture of its page area is found, and that area.
struct PageHost {
  platform::ui::Window* mainWindow = nullptr;
  platform::ui::AnimationBox* backgroundBox = nullptr;
  platform::ui::AnimationBox* compositingBox = nullptr;
  platform::ui::AnimationBox* childBox = nullptr;
  PanelPicture panelAreaPicture;
  int left = 2;
  int top = 116;
  int width = 1096;
  int height = 588;
};

// The message shown when the autostart entry does not read back as written.
inline constexpr char kAutorunFailedMessage[] =
    "设置开机自动运行失败，可能被安全软件阻止，请选择允许或者同意！";

struct AdvancedSettingsHooks {
  // The login-mode switch (writes the three databases); gives the new LoginByPassword.
  // Empty: TogglePasswordLogin on the program-wide databases with a gate of its own, which
  // leaves the main window's title alone.
  std::function<int()> TogglePasswordLogin;
};

class AdvancedSettingsPanel {
 public:
  // Binds the page's events; its created handler runs LoadAdvancedSettingsPanel.
  AdvancedSettingsPanel(platform::ui::Window& window, PageHost host, AdvancedSettingsHooks hooks = {});
  AdvancedSettingsPanel(const AdvancedSettingsPanel&) = delete;
  AdvancedSettingsPanel& operator=(const AdvancedSettingsPanel&) = delete;

  // Lays the page over the page area, paints it, shows the flags and makes it a child of the
  // main window.
  void LoadAdvancedSettingsPanel();
  // Paints the page inside the main window; run again after a change of skin background.
  void LayoutAdvancedSettingsPanel();
  // Autorun is ticked only when the entry holds this program's own text; the other boxes
  // show their flags.
  void ShowAdvancedSettingsStates();

  void TogglePasswordLogin();
  void ToggleClosePassword();
  void ToggleKeepAddSettings();
  void ToggleAutorun();
  void ToggleShowTodayAtStart();
  void ToggleShowDueAtStart();

  platform::ui::Window& window() { return window_; }

 private:
  platform::ui::PictureButton& Box(const char* name);
  // Ticks or unticks the box and stores `on` into `flag`.
  void Tick(const char* box, int& flag, int on);
  void ToggleConfigFlag(const char* box, int& flag, const char* section, const char* key,
                        bool needsAutorun);

  platform::ui::Window& window_;
  PageHost host_;
  AdvancedSettingsHooks hooks_;
  SkinPainter painter_;
};

}  // namespace workmemo
