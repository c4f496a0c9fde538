#include "due_notes/due_list_lines.h"

#include <algorithm>
#include <string>

#include "common/date_format.h"
#include "shell/data_files.h"
#include "shell/settings.h"
#include "ui/list_icon.h"
#include "ui/skin_list_view.h"

namespace workmemo {

namespace {

const std::string& FieldText(const DueRecordRow& row, DueField field, std::string& scratch) {
  switch (field) {
    case DueField::DueDate:
      scratch = FormatDateTime(row.dqdate, 1);
      return scratch;
    case DueField::Customer:
      return row.khmc;
    case DueField::ProjectType:
      return row.xmlx;
    case DueField::ProjectName:
      return row.xmmc;
    case DueField::Progress:
      return row.wcjd;
    case DueField::Remark:
      return row.bz;
  }
  return scratch;
}

}  // namespace

void WriteDueLines(const DueListView& view, int first) {
  SkinListView& list = view.list;
  view.firstRow = ClampFirstRow(first, view.scrollMax);
  for (int line = 1; line <= view.visibleRows; ++line) list.ShowRow(line, false);
  // Never past the end of the array, whatever count the caller keeps.
  const int available = std::min(view.rowCount, static_cast<int>(view.rows.size()));
  const int lines = std::clamp(available - view.firstRow + 1, 0, view.visibleRows);
  std::string scratch;
  for (int line = 1; line <= lines; ++line) {
    const DueRecordRow& row = view.rows[static_cast<std::size_t>(view.firstRow - 2 + line)];
    list.ShowRow(line, true);
    list.SetCellData(line, 1, GetListIcon(IsDateBeforeToday(row.dqdate)));
    for (const DueColumn& c : view.columns) {
      ListTextLook look;
      look.size = Settings().ListFontSize;
      look.centreAcross = c.centred;
      look.centreDown = c.centred;
      list.SetCellText(line, c.column, FieldText(row, c.field, scratch), look, true);
    }
    list.SetRowId(line, row.id);
  }
  FinishListRefill(list, view.firstRow, view.scrollMax, view.rowCount);
}

void ShowDueQuery(const DueListView& view, const std::string& sql) {
  ProgramDatabases& db = Databases();
  db.DueRecordSet.Open(db.DueConnection, sql);
  view.rowCount = LoadDueRows(db.DueRecordSet, view.rows);
  view.scrollMax = LargestFirstRow(view.rowCount, view.visibleRows);
  view.firstRow = 1;
  ResetListForQuery(view.list, view.scrollMax);
  WriteDueLines(view, 1);
}

void SetDueCaptions(SkinListView& list, std::span<const char* const> captions) {
  const ListCaptionLook look(Settings().ListFontSize);
  int column = 2;
  for (const char* caption : captions) list.SetHeaderText(column++, caption, look);
}

}  // namespace workmemo
