#pragma once
// Excel 97-2003 workbooks (.xls: BIFF8 records in an OLE2 compound file), read and written
// as sheets of named columns: row 1 holds the column names, every later row is a record.
// All texts are GB18030; the file holds them as UTF-16.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::xls {

enum class CellType { Empty, Number, Text, DateTime, Bool, Error };

// One cell. `number` holds the value of Number, the serial of DateTime (days since
// 1899-12-30, whole seconds, whatever date system the file uses), 0 or 1 for Bool and the
// Excel error code for Error; `text` holds Text.
struct Cell {
  CellType type = CellType::Empty;
  double number = 0;
  std::string text;

  static Cell Null() { return {}; }
  static Cell Num(double v) { return {CellType::Number, v, {}}; }
  static Cell Str(std::string v) { return {CellType::Text, 0, std::move(v)}; }
  static Cell Date(double serial) { return {CellType::DateTime, serial, {}}; }
  static Cell Boolean(bool v) { return {CellType::Bool, v ? 1.0 : 0.0, {}}; }
  bool operator==(const Cell&) const = default;
};

struct Sheet {
  std::string name;
  std::vector<std::string> columns;     // row 1
  std::vector<std::vector<Cell>> rows;  // rows 2...; a row may be shorter than `columns`

  // Index of the column of that name (ASCII case ignored), or -1.
  int ColumnIndex(std::string_view column) const;
  // The cell of a row in a column; an empty cell when the row is shorter.
  const Cell& At(std::size_t row, std::size_t column) const;
};

struct Workbook {
  std::vector<Sheet> sheets;
  // The sheet of that name (ASCII case ignored), or nullptr.
  const Sheet* Find(std::string_view name) const;
};

enum class Status {
  Ok,
  FileError,       // the file cannot be read or written
  NotWorkbook,     // not a compound file (or no "Workbook" stream in it)
  Xlsx,            // an Excel 2007 (zip) workbook
  OldFormat,       // an Excel 5/95 workbook ("Book" stream, BIFF5)
  Encrypted,       // protected by a password
  Damaged,         // structure broken or truncated
  TooManyRows,     // more than 65,536 rows in a sheet (column names included)
  TooManyColumns,  // more than 256 columns
  TextTooLong,     // a text over 32,767 characters
  BadSheetName,    // empty, over 31 characters, or holding one of : \ / ? * [ ]
};

// The outcome of a read or write; `message` is a GB18030 text the caller can show.
struct Result {
  Status status = Status::Ok;
  std::string message;
  bool ok() const { return status == Status::Ok; }
};

// Most rows and columns of a sheet, and characters of a text, that a workbook can hold.
inline constexpr std::size_t kMaxRows = 65536;
inline constexpr std::size_t kMaxColumns = 256;
inline constexpr std::size_t kMaxTextChars = 32767;

// The bytes of a workbook file; nothing is written when the result is not Ok.
Result EncodeWorkbook(const Workbook& book, std::string& bytes);
// Writes the workbook to `path` (GB18030), replacing a file there through a temporary file
// and a rename; on failure the old file is untouched.
Result WriteWorkbook(const Workbook& book, std::string_view path);

// Reads a workbook from the bytes of a file; `book` is cleared first and holds every
// worksheet on success (chart and macro sheets are passed over).
Result DecodeWorkbook(std::string_view bytes, Workbook& book);
Result ReadWorkbook(std::string_view path, Workbook& book);

}  // namespace platform::xls
