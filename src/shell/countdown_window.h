#pragma once
// ShutdownCountdownWindow and the timer 关机时钟 that counts a power task down. The count
// itself lives in power_tasks.h; the window only shows it, and closing the window cancels.
#include <memory>

namespace platform::ui {
class Timer;
class Window;
}  // namespace platform::ui

namespace workmemo {

// Binds the events of a loaded ShutdownCountdownWindow: its created handler lays it out and
// paints it, its display timer 时钟1 shows the count and closes the window once the count
// is out, its two buttons close it, and closing it stops `shutdownClock` (when given), so a
// count not yet at 0 is cancelled.
void SetUpCountdownWindow(platform::ui::Window& window, platform::ui::Timer* shutdownClock);

// The countdown as the program runs it, on 关机时钟 of StartupWindow.
class PowerCountdown {
 public:
  explicit PowerCountdown(platform::ui::Timer& shutdownClock);
  ~PowerCountdown();
  PowerCountdown(const PowerCountdown&) = delete;
  PowerCountdown& operator=(const PowerCountdown&) = delete;

  // A due power reminder (task 1 关机, 2 注销, 3 重启): sets the pending task, runs 关机时钟 at
  // 1000 ms and opens the window. False, with nothing started, while the window is open.
  bool Start(int task, int delaySeconds, int forceFlag);
  // The tick of 关机时钟.
  void Tick();
  // The window while it is loaded, else null.
  platform::ui::Window* LoadedWindow() const;
  // Closes the window if it is loaded (the end of the program).
  void Close();

 private:
  platform::ui::Timer& clock_;
  // Kept after it closed itself: a window is never deleted from its own handler.
  std::unique_ptr<platform::ui::Window> window_;
};

// The countdown the program runs on 关机时钟 of StartupWindow, which due power reminders
// start; null while none is set (before the start, after the end, in tests without one).
PowerCountdown* ProgramPowerCountdown();
void SetProgramPowerCountdown(PowerCountdown* countdown);

}  // namespace workmemo
