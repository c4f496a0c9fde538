#include "reminders/ui/reminder_list_page.h"

#include <algorithm>

#include "common/date_format.h"
#include "shell/data_files.h"
#include "shell/settings.h"
#include "ui/list_page.h"

namespace workmemo {

ReminderListPages& ListPages() {
  static ReminderListPages pages;
  return pages;
}

ReminderList& ListPageReminders() { return Databases().ListPageReminders; }

SkinListView& TimedReminderList() {
  static SkinListView list;
  return list;
}

SkinListView& TodayReminderList() {
  static SkinListView list;
  return list;
}

namespace {

ListTextLook CellLook(bool centred) { return ListCellLook(Settings().ListFontSize, centred); }

// Clamps and stores the first row and hides every row before the page is written.
void BeginPage(SkinListView& list, int& firstRow, int scrollMax, int visibleRows) {
  firstRow = ClampFirstRow(firstRow, scrollMax);
  for (int i = 1; i <= visibleRows; ++i) list.ShowRow(i, false);
}

// The rows the page fills: never past the end of the array, whatever count the caller keeps.
int RowsOnPage(int firstRow, int visibleRows, int rowCount, const ReminderList& records) {
  const int available = std::min<int>(rowCount, static_cast<int>(records.size()));
  return std::clamp(available - firstRow + 1, 0, visibleRows);
}

}  // namespace

void ShowReminderListPage(int first) {
  ReminderListPages& st = ListPages();
  SkinListView& list = TimedReminderList();
  const ReminderList& records = ListPageReminders();
  const ReminderStore& store = Databases().Reminders;
  st.ListPageNumber = first;
  BeginPage(list, st.ListPageNumber, st.ListPageScrollMax, st.ListPageVisibleRows);
  const int rows = RowsOnPage(st.ListPageNumber, st.ListPageVisibleRows, st.ListPageRowCount, records);
  for (int i = 1; i <= rows; ++i) {
    const ReminderRecord& r = records[static_cast<std::size_t>(st.ListPageNumber - 2 + i)];
    const std::string title = FitTextToBytes(r.txbt, st.ListPageTitleBytes);
    const std::string category = FitTextToBytes(r.txlx, st.ListPageCategoryBytes);
    list.ShowRow(i, true);
    list.SetCellData(i, 1, GetListIcon(store.GetReminderState(r)));
    list.SetCellText(i, 2, FormatDateTime(r.ksdate, 1), CellLook(true));
    list.SetCellText(i, 3, FormatDateTime(r.ksdate, 2), CellLook(true));
    list.SetCellText(i, 4, RepeatModeName(r.txfs, 0), CellLook(true));
    list.SetCellText(i, 5, category, CellLook(false));
    list.SetCellText(i, 6, title, CellLook(false));
    list.SetRowId(i, r.id);
  }
  FinishListRefill(list, st.ListPageNumber, st.ListPageScrollMax, st.ListPageRowCount);
}

void ShowDayListPage(int first) {
  ReminderListPages& st = ListPages();
  SkinListView& list = TodayReminderList();
  const ReminderList& records = st.TodayDayReminders;
  const ReminderStore& store = Databases().Reminders;
  st.TodayFirstRow = first;
  BeginPage(list, st.TodayFirstRow, st.TodayScrollMax, st.TodayVisibleRows);
  const int rows = RowsOnPage(st.TodayFirstRow, st.TodayVisibleRows, st.TodayRowCount, records);
  for (int i = 1; i <= rows; ++i) {
    const ReminderRecord& r = records[static_cast<std::size_t>(st.TodayFirstRow - 2 + i)];
    list.ShowRow(i, true);
    const std::string text = FormatDateTime(r.ksdate, 2) + " " + RepeatModeName(r.txfs, 0) + " " +
                             FitTextToBytes(r.txbt, st.TodayTitleBytes);
    list.SetCellData(i, 1, GetListIcon(store.GetReminderState(r)));
    list.SetCellText(i, 2, text, CellLook(false));
    list.SetRowId(i, r.id);
  }
  FinishListRefill(list, st.TodayFirstRow, st.TodayScrollMax, st.TodayRowCount);
}

}  // namespace workmemo
