#pragma once
// The calendar page "月历窗口" of the main window: the month grid of MonthCalendar on the left,
// on the right a column that describes the displayed day (year and month, the day in large
// digits, its weekday, its lunar date and how many timed reminders fall on it), the actions
// 添加 and 查看, and the steps 上年 上月 今天 下月 下年.
#include <optional>

namespace platform::ui {
class Window;
}

namespace workmemo {

class MainWindow;

inline constexpr const char* kMonthCalendarPanelName = "MonthCalendarPanel";

// Binds the page's events to a freshly loaded MonthCalendarPanel that lies in `main`; its
// created handler runs InitialiseMonthCalendarPanel.
void SetUpMonthCalendarPanel(MainWindow& main, platform::ui::Window& page);
// The loaded page; nullptr before SetUpMonthCalendarPanel and after the page went.
platform::ui::Window* MonthCalendarPanelWindow();
// Forgets the page (its main window released it).
void ForgetMonthCalendarPanel();

// The created handler: the page over the page area, painted, the current month drawn.
void InitialiseMonthCalendarPanel();
// Paints the page from the skin and sets the calendar up again: the current month, nothing
// selected. The re-skinning runs it.
void PaintMonthCalendarPanel();
// The page's layout of MonthCalendar, the current month drawn and the column filled.
void SetUpMonthCalendar();

// The steps: the shown year and month moved by one; a year outside 1901..2049 becomes the
// current year.
void StepMonthBackward();
void StepMonthForward();
void StepYearBackward();
void StepYearForward();
void ShowCurrentMonth();
// Lays the calendar out again (no day selected), draws the month, fills the column and
// shows the displayed day in the today window when that is loaded.
void ShowMonthAndRefresh(int year, int month);
void RefreshTodayWindow();
// Fills the column for DisplayedDate.
void DrawMonthCalendar();

// The grid's mouse: a click selects the hovered day, a move highlights the day under it.
void PickCalendarDay(int x, int y);
void TrackCalendarDay(int x, int y);
// 查看: the displayed day's reminders in the today window, loaded when it is not.
void ViewDayReminders();
// 添加: the reminder editor for a new reminder, behind the add right's password.
void AddReminderForDay();

// The shown year and month with the displayed day at 00:00:00; a day beyond the month's
// length is its last day.
double DisplayedDate();
// DisplayedDate while the page is the one the main window shows and a month is drawn.
std::optional<double> CalendarShownDay();

}  // namespace workmemo
