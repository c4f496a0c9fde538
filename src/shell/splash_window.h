#pragma once
// SplashWindow: the start-up splash, which stays about five seconds and then shows the main
// window, and the About window, which closes on a click.
#include <functional>
#include <memory>

namespace platform::ui {
class Window;
}

namespace workmemo {

// Program-wide state of the splash.
struct SplashState {
  int SplashMode = 0;        // 1 while the window is the start-up splash, 0 as About window
  int SplashTickCount = 0;   // ticks of the splash timer since start; never reset
};
SplashState& Splash();

// Binds the events of a loaded SplashWindow. Its created handler shows the version and, in
// splash mode, starts its timer; on the fifth tick in splash mode it runs `showMainWindow`
// and closes itself; a click closes it as About window only.
void SetUpSplashWindow(platform::ui::Window& window, std::function<void()> showMainWindow);

// The one SplashWindow of the program: loaded as splash or as About window.
class SplashWindowHolder {
 public:
  SplashWindowHolder();
  ~SplashWindowHolder();
  // SplashMode := 1 and the window loaded non-modal.
  void ShowSplash(std::function<void()> showMainWindow);
  // ShowAboutWindow: SplashMode := 0, then the window loaded (or kept, when it is up).
  void ShowAbout();
  platform::ui::Window* LoadedWindow() const;
  void Close();

 private:
  void Load();
  std::function<void()> showMainWindow_;
  std::unique_ptr<platform::ui::Window> window_;
  // Windows closed by their own handlers wait here until a later load; never deleted inside
  // their own events.
  std::unique_ptr<platform::ui::Window> retired_;
};

}  // namespace workmemo
