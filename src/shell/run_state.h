#pragma once
// The program-wide run-time state: what the password gate remembers, the page or request it
// will perform, and the few values that windows hand to each other during one run.
#include <string>

#include "reminders/store/reminder_record.h"

namespace workmemo {

struct RunState {
  // 1 once a correct password was given with "log in once" ticked; every gate passes then.
  int PasswordEntered = 0;
  // 1 while the timed-reminder page, unlocked by a password, stays the current page.
  int TimedReminderPageUnlocked = 0;
  // The current page, or the guarded request that a correct password will perform.
  std::string CurrentPageName;
  // The "log in once" check box of the password page.
  int AskPasswordOnce = 0;
  int EditedReminderId = 0;  // 0: a new reminder
  double ChosenDay = 0;      // the day the today window lists
  // The pending power task lives with its countdown (power_tasks.h), not here.
  ReminderList PopupQueue;  // copies of fired reminders waiting for the pop-up
};

// The one state of the running program.
RunState& Run();

}  // namespace workmemo
