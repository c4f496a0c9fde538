#pragma once
// TodayRemindersWindow: the small floating window that lists the reminders of one day
// (Run().ChosenDay), paused ones included, in time-of-day order; the day steps 昨天 今天 明天
// "<" ">" and a drop-down calendar choose the day, and a double click on a row shows the whole
// reminder in the detail window. The list scrolls through the shared list router.
#include <string>
#include <string_view>
#include <vector>

#include "reminders/store/reminder_record.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

class PasswordCover;

// Program-wide state of the window besides its day list (ListPages()), kept while the program
// runs.
struct TodayWindowState {
  int TodayWindowWidth = 480;  // the list style's size
  int TodayWindowHeight = 360;
  int TodayScrollTitleBytes = 56;  // a title's byte budget on the scrolling strip
  int TodayShownWidth = 480;       // the size in the current style
  int TodayShownHeight = 360;
  int RememberTodayPosition = 0;   // [dstx] jttxWzSz
  // The scrolling strip: its texts, the count they were built from, the next one to show and
  // the ticks still to rest; the ids of the two text sprites and of the top edge.
  std::vector<std::string> ScrollTexts;
  int ScrollTextCount = 0;
  int NextScrollText = 2;
  int ScrollPause = 0;
  int ScrollTextSprite1 = 0;
  int ScrollTextSprite2 = 0;
  int TopEdgeSprite = 0;
  // The date the midnight refresh saw last (a day number), 0 before its first tick.
  long long LastSeenDay = 0;
};
TodayWindowState& TodayState();

// Names of the units tests and other code reach.
inline constexpr std::string_view kTodayWindowName = "TodayRemindersWindow";
inline constexpr std::string_view kTodayListBox = "背景动画框";
inline constexpr std::string_view kTodayStripBox = "动画框2";
inline constexpr std::string_view kTodayCaption = "标题标签";
inline constexpr std::string_view kTodayDateLabel = "日期标签";
inline constexpr std::string_view kTodayCalendarFrame = "月历外形框";
inline constexpr std::string_view kTodayCalendarPanel = "画板3";
inline constexpr std::string_view kTodayPasswordPanel = "密码验证画板";
inline constexpr std::string_view kTodayPasswordBox = "密码验证框";
inline constexpr std::string_view kTodayMainMenuItem = "显示今日提醒窗口";

// The loaded window, nullptr when none is open.
platform::ui::Window* TodayRemindersWindow();
// Loads and shows the window modeless, on today; an open one is brought to the front.
void ShowTodayWindow();
// Sets up a TodayRemindersWindow loaded elsewhere (a tool's) as the program's own window;
// opening it runs InitialiseTodayWindow. The window must outlive its use here.
void AttachTodayWindow(platform::ui::Window& window);
// Shows the reminders of `day` in the window, loading it first when it is not open.
void ShowTodayRemindersOn(double day);
// Closes the window (its position is saved) and lets it go.
void CloseTodayWindow();
// The password panel of the loaded window, nullptr when none is open.
PasswordCover* TodayWindowCover();
// After a change of skin: paints the loaded window again and refills its list from the first
// row; nothing while no window is open.
void RelayoutTodayWindow();

// The created handler: layout, paint, calendar, list, today's reminders, the password panel,
// the title strip and the stored settings.
void InitialiseTodayWindow();
// Refills the day list with the reminders of `day` sorted by time of day, from its first row,
// and sets the caption and the date label from ChosenDay. Nothing while no window is open.
void ShowDayReminders(double day);
// "今天提醒", "昨天提醒", "明天提醒" for a day one apart from `now`, else the day as YYYY-MM-DD.
std::string TodayCaptionFor(double day, double now);

// The day steps of the labels 今天, 昨天, 明天, "<" and ">".
void ShowToday();
void ShowYesterday();
void ShowTomorrow();
void ShowPreviousDay();
void ShowNextDay();
// Drops the calendar down at (x, y), or folds it up when it is down.
void ToggleTodayCalendar(int x, int y);
// A left press on the calendar at (x, y).
void PickTodayCalendarDay(int x, int y);
// A double click on a list object: the detail window shows that row's reminder.
void OpenReminderDetail(int spriteId);
// 确认 or Enter on the password panel.
void ConfirmTodayWindowPassword();

}  // namespace workmemo
