#pragma once
// The floating due-date window: a small skinned window on the desktop that lists the items
// falling due within the next N days, or overdue by up to N days, N being a day count the
// user types and config.ini keeps. Its menu sets its opacity, whether it stays on top,
// whether it returns to its stored place and whether it shows at start when nothing is due.
// While nobody has logged in with the login mode on, a password panel covers the list.
#include <vector>

#include "due_notes/due_rows.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

class PasswordCover;
class SkinListView;

inline constexpr int kDueWindowWidth = 600;
inline constexpr int kDueWindowHeight = 375;

// The window's program-wide state.
struct DueWindowState {
  DueRows DueWindowRows;
  int DueWindowRowCount = 0;
  int DueWindowVisibleRows = 9;
  int DueWindowScrollMax = 1;
  int DueWindowFirstRow = 1;
  int DueWindowTopmost = 0;
  int RememberDueWindowPosition = 0;
};
DueWindowState& DueWindowData();
SkinListView& DueWindowList();

// The menu item 显示到期提醒窗口 and the start: loads the window, or brings the loaded one
// to the front.
void ShowDueRemindersWindow();
// The loaded window; nullptr while none is loaded.
platform::ui::Window* LoadedDueRemindersWindow();
// Closes the loaded window (its place is stored) and lets it go.
void CloseDueRemindersWindow();
// The password cover of the loaded window; none while it is not loaded.
std::vector<PasswordCover*> DueWindowCovers();

// Binds the events of a freshly loaded DueRemindersWindow; its created handler runs
// LoadDueRemindersWindow.
void SetUpDueRemindersWindow(platform::ui::Window& window);
void LoadDueRemindersWindow();
// The query of the kind label and the day box; a count below 1 shows "天数必须大于0" and
// leaves the list as it was.
void QueryDueWithinDays();
void FillDueWindowList(int first);
// The captions of the list at the list font size.
void SetDueWindowListHeaders();
void RestoreDueWindowPosition();
void SaveDueWindowPosition();
void ToggleRememberDueWindowPosition();
void ToggleHideDueWindowWhenEmpty();
void ToggleDueWindowTopmost();
// One of the ten opacity items, 10 to 100 per cent: the window's alpha and [dqtx] dqtxtmd.
void SetDueWindowTransparency(int percent);

}  // namespace workmemo
