#pragma once
// The two lists of timed reminders and the routines that write one page of them: the list
// page's list (all reminders or a query's result) and the today window's day list. The
// records live in arrays of their own; a page shows them from a first row on.
#include <string>

#include "reminders/store/reminder_record.h"
#include "ui/list_icon.h"
#include "ui/skin_list_view.h"

namespace workmemo {

// Program-wide state of the two lists. The list page's records are the shell's one copy,
// ProgramDatabases::ListPageReminders, which the full load also fills.
struct ReminderListPages {
  int ListPageNumber = 1;     // the record on the first line, 1 .. ListPageScrollMax
  int ListPageScrollMax = 1;  // the largest first row
  int ListPageRowCount = 0;   // records in ListPageReminders
  int ListPageVisibleRows = 19;
  int ListPageTitleBytes = 76;
  int ListPageCategoryBytes = 16;

  ReminderList TodayDayReminders;  // the reminders of the chosen day
  int TodayFirstRow = 1;
  int TodayScrollMax = 1;
  int TodayRowCount = 0;
  int TodayVisibleRows = 9;
  int TodayTitleBytes = 52;
};

ReminderListPages& ListPages();
ReminderList& ListPageReminders();

// The lists of the list page and of the today window.
SkinListView& TimedReminderList();
SkinListView& TodayReminderList();

// Writes the list page from record `first` on (clamped to 1 .. ListPageScrollMax and stored
// in ListPageNumber): state icon, date, time, repeat mode, category and title, and the
// record id in each row; then the selection, the range and the scroll bar.
void ShowReminderListPage(int first);

// The same for the day list: icon, then time, repeat mode and title in one text.
void ShowDayListPage(int first);

}  // namespace workmemo
