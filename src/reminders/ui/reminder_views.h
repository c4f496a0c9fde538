#pragma once
// What every change of timed reminders made elsewhere (the editor, the list actions, the
// alerting, an import) asks of the windows that list them.
namespace workmemo {

// The list page's copies were edited in place (a row replaced, added or removed): the page
// is written again at its first row, every other row keeping its place and state; a loaded
// today window rebuilds its day list for ChosenDay from the store's list.
void RefreshReminderViews();

}  // namespace workmemo
