#pragma once
// Exchange of one table with an Excel 97-2003 workbook: the export writes a sheet named after
// the table (row 1 the column names), the import adds the sheet's rows the table does not
// hold yet. Texts are GB18030; no file name ever goes into SQL.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/db.h"

namespace platform::db {

// How a column travels: its cell type in the sheet and the form it is stored in.
enum class ColumnKind {
  Text,      // text cells
  Integer,   // number cells; stored as a 32-bit integer
  DateTime,  // date-time cells; stored as "YYYY-MM-DD HH:MM:SS"
  Date,      // date-time cells; stored as "YYYY-MM-DD" (the time of day is dropped)
};

struct ExchangeColumn {
  std::string name;
  ColumnKind kind = ColumnKind::Text;
};

struct ExchangeResult {
  bool ok = false;
  std::int64_t rowsAdded = 0;  // rows the import inserted
  std::string message;         // GB18030, why it failed
};

// Writes every row of `table` into a workbook at `file` holding one sheet named after the
// table: row 1 the column names, then one row per record (texts, numbers, date-times as
// serials with a date format, NULL as a blank cell). An existing file is replaced through a
// temporary file and a rename; on failure it is untouched. Fails without reading anything
// when `columns` is empty.
ExchangeResult ExportTable(Connection& connection, std::string_view table,
                           const std::vector<ExchangeColumn>& columns, std::string_view file);

// Inserts the rows of the sheet named after `table` into the table, in one transaction.
// A sheet row is skipped when the table holds a row whose `duplicateColumns` all equal it
// (texts without regard to letter case, date-times to the second, NULL equal to NULL);
// with no duplicate columns every row is inserted. A cell that cannot be converted to its
// column's kind goes in as NULL; rows blank in every column are passed over. An unreadable
// workbook, a missing sheet or column, or a text longer than its column allows (the message
// names the sheet row and the column) fails the import and nothing is inserted.
ExchangeResult ImportTable(Connection& connection, std::string_view table,
                           const std::vector<ExchangeColumn>& columns, std::string_view file,
                           const std::vector<std::string>& duplicateColumns);

}  // namespace platform::db
