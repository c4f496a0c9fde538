#pragma once
// DesktopClockWindow: a small window (119 x 51) with frame lines of its own that shows the
// time as eight pictures of the skin (hour, colon, minute, colon, second) and redraws the six
// digits every second. The user drags it anywhere; its position, its opacity and its
// always-on-top switch are kept in config.ini, and so is whether it is open.
#include <string>
#include <string_view>

namespace platform::ui {
class Window;
}

namespace workmemo {

inline constexpr int kClockWidth = 119;
inline constexpr int kClockHeight = 51;

// The primary screen as the clock places itself on it.
struct ClockScreen {
  int width = 0;
  int height = 0;
  int taskbarHeight = 0;
};
struct ClockPlacement {
  int left = 0;
  int top = 0;
  bool write = false;  // the first placement: written to [ckwz]
};
// Where the clock opens from the stored [ckwz] szckwzX and szckwzY: a stored position is
// brought back onto the screen (negative parts to 0, a left beyond the screen to the centre,
// a top below it to above the taskbar); without a stored left it is centred above the
// taskbar and that place is written.
ClockPlacement PlaceClock(std::string_view storedLeft, std::string_view storedTop, const ClockScreen& screen);
// The opacity of a stored [szck] tmd: 25..255, anything else (or nothing) 255.
int ClockAlphaFromSetting(std::string_view stored);
// The opacity of a menu item "10" .. "100": 25, 50, ... 225, and 255 for "100"; 0 for any
// other text.
int ClockAlphaOfMenuItem(std::string_view item);

// The created handler: lays the clock out, puts its digits on, paints, places it, sets its
// opacity and always-on-top from config.ini, writes it open and starts its second tick.
void LoadDesktopClock();
void LayOutDesktopClock();
void DrawClockDigits();
// Paints the window from the skin; the re-skinning runs it when the clock is loaded.
void PaintClockWindow();
void PlaceDesktopClock();
// The six digits from the current time.
void TickDesktopClock();
// The skin's picture of a digit 0..9; empty for any other value.
std::string DigitPicture(int digit);
// The moved handler: the position written while the clock is placed and not minimised.
void SaveClockPosition();
void SetClockTransparency(std::string_view item);
void ToggleClockTopmost();
// The clock's own 关闭: written closed, so the next start leaves it closed.
void CloseDesktopClock();

// The tray's 显示数字时钟: loads the clock, or raises it when it is open.
void ShowDesktopClock();
// The main window's 数字时钟: ticked, it unticks and closes the clock (which comes back at the
// next start); unticked, it ticks and loads the clock.
void ToggleDesktopClock();
// The end of the program: the clock closes without writing anything.
void CloseDesktopClockAtEnd();
// Binds the clock's events to a DesktopClockWindow loaded elsewhere (a tool that draws it);
// opening it runs LoadDesktopClock. The window must stay until the clock is closed.
void AttachDesktopClockWindow(platform::ui::Window& window);
// The clock while it is open, else nullptr.
platform::ui::Window* DesktopClockWindow();
// The id of a digit or edge sprite by its name (时1 .. 秒2, 上边框 ...); 0 when not open.
int ClockSpriteId(std::string_view name);

}  // namespace workmemo
