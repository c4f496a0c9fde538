#include "due_notes/due_rows.h"

#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "reminders/store/calendar.h"

namespace workmemo {

int LoadDueRows(platform::db::RecordSet& records, DueRows& rows) {
  const int count = records.RowCount() < 0 ? 0 : records.RowCount();
  records.MoveFirst();
  rows.clear();
  rows.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count && !records.Eof(); ++i) {
    DueRecordRow row;
    row.id = static_cast<int>(records.Integer("id"));
    row.dqdate = records.DateTime("dqdate");
    row.khmc = records.Text("khmc");
    row.xmmc = records.Text("xmmc");
    row.xmlx = records.Text("xmlx");
    row.wcjd = std::to_string(records.Integer("wcjd"));
    row.bz = records.Text("bz");
    rows.push_back(std::move(row));
    records.MoveNext();
  }
  return static_cast<int>(rows.size());
}

int IsDateBeforeToday(double date) {
  return DayNumber(platform::clock::Now()) - DayNumber(date) > 0 ? 1 : 0;
}

int FindDueRowById(const DueRows& rows, int id) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].id == id) return static_cast<int>(i) + 1;
  }
  return -1;
}

}  // namespace workmemo
