#pragma once
// The reminder check of one wall-clock second: what each due reminder does, in the order the
// store lists them, and the pop-up once the second has queued copies for it.
#include "reminders/store/reminder_record.h"

namespace workmemo {

// FireDueReminders: the store's reminders due in `second`; for each, the list page's copy is
// replaced when the firing left it passed or expired, a system task runs through the shell's
// one path, and a plain reminder either runs its sound, program and web page at once (txdz 1)
// or is queued for the pop-up. The pop-up then opens or refills when this second queued a
// copy, and the list page is written again whenever anything was due.
void FireDueReminders(double second);

// The copies the last check found, kept until the next one.
const ReminderList& LastDueReminders();

// Sets the reminder check and the stop of the alarm sound in the module seams.
void RegisterReminderFiring();

}  // namespace workmemo
