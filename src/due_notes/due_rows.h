#pragma once
// Due-date items in memory: one row of a due-date list, the loader that fills a list's array
// from the result a query has just opened, the overdue test that marks rows, and the lookup
// of a row by its id.
#include <string>
#include <vector>

namespace platform::db {
class RecordSet;
}

namespace workmemo {

struct DueRecordRow {
  int id = 0;
  double dqdate = 0;  // due date
  std::string khmc;   // customer name
  std::string xmlx;   // project type
  std::string xmmc;   // project name
  std::string wcjd;   // progress in per cent, as decimal digits
  std::string bz;     // remark
};

// A list's rows in the order of its query; positions are counted from 1 where they are
// reported.
using DueRows = std::vector<DueRecordRow>;

// Replaces `rows` with the rows of the result just opened on `records` and returns their
// count (a failed query has none).
int LoadDueRows(platform::db::RecordSet& records, DueRows& rows);

// 1 when the calendar day of `date` lies before today's (the item is overdue), else 0; the
// lists take it as the kind of the row's icon.
int IsDateBeforeToday(double date);

// The 1-based position of the first row with that id; -1 when none.
int FindDueRowById(const DueRows& rows, int id);

}  // namespace workmemo
