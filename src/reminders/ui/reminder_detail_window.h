#pragma once
// ReminderDetailWindow: a small modeless window that shows one timed reminder's title and its
// whole content, read again from the data file. The today window opens it on a row and
// refills it on the next pick; it has nothing to edit.
#include <string_view>

#include "reminders/store/reminder_record.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

struct DetailWindowState {
  int DetailReminderId = 0;            // the reminder to show; set before opening or refilling
  ReminderRecord DetailReminderCopy;  // the copy on display, kept until the next fill
};
DetailWindowState& DetailState();

inline constexpr std::string_view kDetailWindowName = "ReminderDetailWindow";
inline constexpr std::string_view kDetailTitleBox = "提醒标题框";
inline constexpr std::string_view kDetailContentBox = "提醒内容框";

// The loaded window, nullptr when none is open.
platform::ui::Window* ReminderDetailWindow();
// Loads and shows the window for DetailReminderId (its created handler fills it).
void OpenDetailWindow();
// Sets up a ReminderDetailWindow loaded elsewhere (a tool's) as the program's own window;
// opening it fills it for DetailReminderId. The window must outlive its use here.
void AttachDetailWindow(platform::ui::Window& window);
// Closes the window and lets it go.
void CloseDetailWindow();

// The created handler: size, paint, caption, then the reminder.
void ShowDetailWindow();
// Fills the open window for DetailReminderId; a reminder that is gone shows empty texts.
void ShowReminderDetail();

}  // namespace workmemo
