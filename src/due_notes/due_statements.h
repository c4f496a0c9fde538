#pragma once
// Every statement on the due-date table dqsj, one function each. Texts are quoted so that a
// quote in a name or remark is stored as typed; dates are written in the stored form
// "YYYY-MM-DD HH:MM:SS"; numbers as decimal digits.
#include <string>
#include <string_view>

namespace workmemo::due_sql {

// The values a save writes.
struct DueItem {
  std::string khmc;  // customer name
  std::string xmmc;  // project name
  std::string xmlx;  // project type
  int wcjd = 0;      // progress in per cent
  std::string bz;    // remark
  double ksdate = 0;  // start date; 0 is none, stored as NULL as an imported row has it
  double dqdate = 0;  // due date
};

// Queries of the lists, ordered by the due date (the start-date search by the start date).
std::string AllRows();
// Items whose due date lies 0 to days - 1 calendar days ahead (due today counts).
std::string DueWithinDays(int days);
// Items whose due date lay 1 to days calendar days ago.
std::string OverdueByDays(int days);
std::string ProjectNameContains(std::string_view text);
std::string ProjectTypeContains(std::string_view text);
std::string RemarkContains(std::string_view text);
std::string CustomerNameContains(std::string_view text);
// The due date's stored text begins with `text` ("2025-03" finds March 2025).
std::string DueDateBeginsWith(std::string_view text);
std::string ProgressEquals(int progress);
std::string StartDateContains(std::string_view text);

std::string OneRow(int id);
std::string NewestRow();
std::string SetProgress(int id, int progress);
std::string DeleteRow(int id);

// The distinct values the editor offers, in columns xmmc1, xmlx1 and khmc1.
std::string ProjectNames();
std::string ProjectTypes();
std::string CustomerNames();

// A new row, added and changed at `now`.
std::string Insert(const DueItem& item, double now);
// Row `id` rewritten, its start date included (none stays none), changed at `now`.
std::string Update(int id, const DueItem& item, double now);

}  // namespace workmemo::due_sql
