#pragma once
// The database layer: connections opened from the program's connection text, SQL run as text
// in the program's dialect, record sets read into memory and read by column name, and
// rows handed out one by one as a query reads them.
// Every text in and out is GB18030; the files hold UTF-8 and are encrypted with the password.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform::db {

class Row;

// What the engine appends to a database file's name for the files it keeps beside it: its
// rollback journal, and a write-ahead log and its index. When it opens the database it deletes
// or takes over a file of one of those names, whoever wrote it.
inline constexpr std::string_view kEngineFileSuffixes[] = {"-journal", "-wal", "-shm"};

// "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=<path>;Jet OLEDB:Database Password=<pw>".
std::string ConnectionText(std::string_view path, std::string_view password);

// A text with every single quote doubled, ready to stand between quotes in SQL.
std::string EscapeSqlText(std::string_view text);

// The "like ... escape ..." that matches every text holding `text` as it is: a '%' or '_'
// the user typed matches only itself. Follows a column: "where txbt " + LikeContaining(t).
std::string LikeContaining(std::string_view text);
// The same for texts that begin with `text`.
std::string LikeStartingWith(std::string_view text);

class Connection {
 public:
  Connection() = default;
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  // The open file goes with the object, so a thread that opened and read it can hand it over
  // to the thread that keeps it; the moved-from connection is closed.
  Connection(Connection&& other) noexcept;
  Connection& operator=(Connection&& other) noexcept;

  // Opens the file named by "Data Source=" with the key of "Jet OLEDB:Database Password="
  // (keys in any case, with or without a blank after ';'). The file must exist; a wrong key
  // fails. 1 on success, 0 on failure. An open connection is closed first.
  int Open(std::string_view connectionText);
  // Opens the file as it is, only to read it: for a file of the user's that must not change,
  // such as a chosen backup. Nothing is written to it or beside it (a journal left there is
  // neither rolled back nor removed: what is read is the file's own bytes), no lock is taken,
  // and only a regular file is opened, so a pipe is never waited on. Writes fail.
  int OpenReadOnly(std::string_view connectionText);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }

  // Runs exactly one statement; 1 on success, 0 on failure (also when text follows it).
  // `rowsChanged` receives the rows the statement inserted, updated or deleted. A statement
  // that fails part-way (a damaged page, a refused row) changes nothing: the engine undoes
  // the rows it had already changed.
  int Execute(std::string_view sql, std::int64_t* rowsChanged = nullptr);

  // The id (rowid) of the row the last successful insert of this connection added; 0 before any.
  std::int64_t LastInsertId() const;
  // 1 when the engine's quick integrity check finds every page readable and every table
  // and index well formed; 0 for a damaged or unreadable file (or no open file).
  int QuickCheck();
  // Gives back the memory of the cached pages no statement is using; the next read fills the
  // cache again.
  void ReleaseCache();
  // Whether the open file has a table of that name (ASCII case ignored). Reads the schema
  // only, so a table whose own pages are damaged still counts.
  bool HasTable(std::string_view table);

  // The engine's message for the last failure (UTF-8, for diagnostics only).
  const std::string& LastError() const { return lastError_; }

 private:
  enum class Access { ReadWrite, ReadAsItIs };
  int OpenFile(std::string_view connectionText, Access access);

  friend class RecordSet;
  friend int ReadRows(Connection&, std::string_view, const std::function<void(const Row&)>&);
  sqlite3* db_ = nullptr;
  std::string lastError_;
};

// One value of a result as the engine gave it; texts are UTF-8 as stored.
using Cell = std::variant<std::monostate, std::int64_t, double, std::string>;

// The current row of a query that ReadRows hands out as the engine reads it. Columns are
// 1-based positions, resolved once per query by name; values read as RecordSet reads them:
// NULL or a position out of range is 0, empty text, date 0.
class Row {
 public:
  // The position of the column of that name (ASCII case ignored, the first of equal names);
  // 0 when the result has none.
  int Column(std::string_view name) const;
  std::int64_t IntegerAt(int column) const;
  std::string TextAt(int column) const;
  double DateTimeAt(int column) const;

 private:
  friend int ReadRows(Connection&, std::string_view, const std::function<void(const Row&)>&);
  Row(sqlite3_stmt* stmt, const std::vector<std::string>& names) : stmt_(stmt), names_(names) {}
  sqlite3_stmt* stmt_;
  const std::vector<std::string>& names_;  // GB18030
};

// Runs one query and hands each row to `onRow` as it is read, holding no result. 1 when the
// query ran to its end; 0 on failure, also after rows were handed out: a caller that keeps
// rows drops them on 0, so a query that fails part-way still fails as a whole.
int ReadRows(Connection& connection, std::string_view sql, const std::function<void(const Row&)>& onRow);

class RecordSet {
 public:
  // Runs one query and reads its whole result; the first row is current. 1 on success;
  // on failure 0 and an empty result. A query that fails part-way (a damaged page, an error
  // in a later row) fails as a whole: never the rows read before the failure, so a caller
  // cannot take a result cut short for the whole table, or a failed read for an empty one.
  int Open(Connection& connection, std::string_view sql);
  void Close();

  int RowCount() const { return static_cast<int>(rows_.size()); }
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  void MoveFirst() { row_ = 0; }
  void MoveNext();
  bool Eof() const { return row_ >= rows_.size(); }
  bool HasColumn(std::string_view name) const;  // ASCII case ignored, as column names are
  const std::string& ColumnName(int column) const;  // 1-based; empty when out of range

  // Fields of the current row by column name; NULL, a missing column or no current row
  // read as 0, empty text, date 0. Date-times read both stored forms and plain numbers.
  std::int64_t Integer(std::string_view column) const;
  std::string Text(std::string_view column) const;
  double DateTime(std::string_view column) const;
  // By 1-based position, for results whose column has no usable name, e.g. count(*).
  std::int64_t IntegerAt(int column) const;

 private:
  const Cell* Find(std::string_view column) const;
  const Cell* At(int column) const;

  std::vector<std::string> columns_;  // GB18030
  std::vector<std::vector<Cell>> rows_;
  std::size_t row_ = 0;
};

}  // namespace platform::db
