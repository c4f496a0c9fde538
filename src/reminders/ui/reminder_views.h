#pragma once
// What every change of timed reminders made elsewhere (the editor, the list actions, the
// alerting, a restore or import) asks of the windows that list them.
namespace workmemo {

// The timed-reminder views changed: the list page runs its last query again, keeping its
// field, text, sort, first row and the selection while its reminder is listed; a loaded
// today window rebuilds its day list for ChosenDay.
void RefreshReminderViews();

}  // namespace workmemo
