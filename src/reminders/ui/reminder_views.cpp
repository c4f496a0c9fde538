#include "reminders/ui/reminder_views.h"

#include "reminders/ui/timed_reminder_panel.h"
#include "reminders/ui/today_window.h"
#include "shell/run_state.h"

namespace workmemo {

void RefreshReminderViews() {
  RedrawReminderListPage();
  if (TodayRemindersWindow() != nullptr) ShowDayReminders(Run().ChosenDay);
}

}  // namespace workmemo
