#pragma once
// What the due-date page and the floating due-date window share in writing their lists: the
// icon of each row (a pink clock for an overdue item, a green one otherwise) and its cells
// from a first row on.
#include <span>
#include <string>

#include "due_notes/due_rows.h"

namespace workmemo {

class SkinListView;

enum class DueField { DueDate, Customer, ProjectType, ProjectName, Progress, Remark };

// A text column of a due-date list: which field it shows, centred or from the left.
struct DueColumn {
  int column;
  DueField field;
  bool centred;
};

// A due-date list with the rows and paging its window keeps for it.
struct DueListView {
  SkinListView& list;
  DueRows& rows;
  int& rowCount;
  int& scrollMax;  // the largest first row
  int& firstRow;
  int visibleRows;
  std::span<const DueColumn> columns;
};

// Writes the lines from row `first` on (held within 1 .. scrollMax and stored as firstRow):
// every line hidden, then per row its icon in column 1, the columns' texts in the Song face
// at the list font size (cut to the column's width) and its id; then the selection, the
// range and the scroll bar, shown exactly when the rows do not all fit.
void WriteDueLines(const DueListView& view, int first);

// A query's result replaces the rows (a query that fails to open lists nothing); the first
// screen shows with no selection.
void ShowDueQuery(const DueListView& view, const std::string& sql);

// The list-font change: the captions of columns 2 on, at the list font size.
void SetDueCaptions(SkinListView& list, std::span<const char* const> captions);

}  // namespace workmemo
