#include "reminders/ui/reminder_firing.h"

#include "reminders/ui/reminder_actions.h"
#include "reminders/ui/reminder_popup.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "shell/data_files.h"
#include "shell/module_seams.h"
#include "shell/startup.h"

namespace workmemo {

namespace {

ReminderList& DueCopies() {
  static ReminderList due;
  return due;
}

}  // namespace

const ReminderList& LastDueReminders() { return DueCopies(); }

void FireDueReminders(double second) {
  ReminderStore& store = Databases().Reminders;
  ReminderList& due = DueCopies();
  due.clear();
  store.CollectDueReminders(second, due);
  bool queued = false;
  for (ReminderRecord& r : due) {
    const int state = store.GetReminderState(r);
    if (state == ReminderState::Passed || state == ReminderState::Expired) ReplaceListPageCopy(r);
    if (RunReminderSystemTask(r) || r.txrw != ReminderTask::Remind) continue;
    // Every reminder that does not pop up starts its own actions, not only the last one.
    if (r.txdz == 1) {
      RunReminderActions(r);
    } else {
      PopupQueue().push_back(r);
      queued = true;
    }
  }
  if (queued) OpenOrRefillReminderPopup();
  // Every second that fired redraws the page once: an icon may have changed with the time
  // alone (a one-time reminder passed, a range ended), not only with a replaced copy.
  if (!due.empty()) RedrawReminderListPage();
}

void RegisterReminderFiring() {
  ModuleSeams& seams = Seams();
  seams.FireDueReminders = FireDueReminders;
  seams.StopMusic = StopMusic;
  RegisterReminderPopup();
}

}  // namespace workmemo
