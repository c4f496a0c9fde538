#include "platform/db/db.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include "platform/clock/clock.h"
#include "platform/db/dialect.h"
#include "platform/files/files.h"
#include "platform/text/text.h"

namespace platform::db {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

struct ConnectionParts {
  std::string path;
  std::string password;
};

// Splits "key=value;key=value" walking characters, so no byte of a GB18030 path is mistaken
// for a separator.
ConnectionParts ParseConnectionText(std::string_view textIn) {
  ConnectionParts parts;
  std::size_t pos = 0;
  while (pos <= textIn.size()) {
    std::size_t end = text::FindChars(textIn, ";", pos);
    if (end == std::string_view::npos) end = textIn.size();
    const std::string_view item = textIn.substr(pos, end - pos);
    const std::size_t eq = text::FindChars(item, "=");
    if (eq != std::string_view::npos) {
      const std::string_view key = TrimBlanks(item.substr(0, eq));
      const std::string_view value = item.substr(eq + 1);
      if (text::EqualsIgnoreAsciiCase(key, "Data Source")) parts.path = value;
      if (text::EqualsIgnoreAsciiCase(key, "Jet OLEDB:Database Password")) parts.password = value;
    }
    pos = end + 1;
  }
  return parts;
}

// Runs one statement to its end; false (and the message) on any failure.
bool StepAll(sqlite3* db, const char* sql, std::string& error) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  if (rc == SQLITE_OK) {
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
  }
  sqlite3_finalize(stmt);
  if (rc == SQLITE_DONE) return true;
  error = sqlite3_errmsg(db);
  return false;
}

// A value as the engine holds it while a row is current, or as a record set kept it.
using CellView = std::variant<std::monostate, std::int64_t, double, std::string_view>;

CellView ViewOf(const Cell& cell) {
  if (const auto* i = std::get_if<std::int64_t>(&cell)) return *i;
  if (const auto* r = std::get_if<double>(&cell)) return *r;
  if (const auto* s = std::get_if<std::string>(&cell)) return std::string_view(*s);
  return std::monostate{};
}

// Texts and blobs are read as their stored bytes (UTF-8 for texts).
CellView ViewOf(sqlite3_stmt* stmt, int i) {
  switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER:
      return static_cast<std::int64_t>(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT:
      return sqlite3_column_double(stmt, i);
    case SQLITE_NULL:
      return std::monostate{};
    default: {
      const void* bytes = sqlite3_column_blob(stmt, i);
      const int n = sqlite3_column_bytes(stmt, i);
      return std::string_view(static_cast<const char*>(bytes), bytes ? static_cast<std::size_t>(n) : 0);
    }
  }
}

Cell CellOf(sqlite3_stmt* stmt, int i) {
  const CellView v = ViewOf(stmt, i);
  if (const auto* s = std::get_if<std::string_view>(&v)) return std::string(*s);
  if (const auto* r = std::get_if<double>(&v)) return *r;
  if (const auto* n = std::get_if<std::int64_t>(&v)) return *n;
  return std::monostate{};
}

std::int64_t IntegerOf(const CellView& cell) {
  if (const auto* i = std::get_if<std::int64_t>(&cell)) return *i;
  double d = 0;
  if (const auto* r = std::get_if<double>(&cell)) {
    d = *r;
  } else if (const auto* s = std::get_if<std::string_view>(&cell)) {
    // A text counts only when it is a number as a whole.
    const std::string_view t = TrimBlanks(*s);
    if (t.empty()) return 0;
    const std::string copy(t);
    char* end = nullptr;
    d = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size()) return 0;
  }
  if (!std::isfinite(d) || std::fabs(d) > 9.2e18) return 0;
  return std::llrint(d);
}

std::string TextOf(const CellView& cell) {
  if (const auto* i = std::get_if<std::int64_t>(&cell)) return std::to_string(*i);
  if (const auto* r = std::get_if<double>(&cell)) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.15g", *r);
    return buf;
  }
  if (const auto* s = std::get_if<std::string_view>(&cell)) return text::FromUtf8(*s);
  return {};
}

double DateTimeOf(const CellView& cell) {
  if (const auto* i = std::get_if<std::int64_t>(&cell)) return static_cast<double>(*i);
  if (const auto* r = std::get_if<double>(&cell)) return *r;
  if (const auto* s = std::get_if<std::string_view>(&cell)) return clock::ParseStored(*s).value_or(0.0);
  return 0.0;
}

// The position (1-based) of the first column of that name, ASCII case ignored; 0 for none.
int PositionOf(const std::vector<std::string>& names, std::string_view name) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (text::EqualsIgnoreAsciiCase(names[i], name)) return static_cast<int>(i) + 1;
  return 0;
}

std::vector<std::string> ColumnNames(sqlite3_stmt* stmt) {
  std::vector<std::string> names;
  for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
    const char* name = sqlite3_column_name(stmt, i);
    names.push_back(text::FromUtf8(name ? name : ""));
  }
  return names;
}

// Every page read is decrypted and its checksum checked. A cache of 16 MiB (the engine's
// default is 2) holds a whole data file of tens of thousands of rows, so the start's check,
// the load and every search after them decrypt each page once; the engine takes cache memory
// only as pages are read, so a small file costs no more than its size. A file already larger
// keeps the default: its full scans would only push out the pages read before.
constexpr std::int64_t kLargestCachedFile = 16 << 20;

const char* CacheSizePragma(std::int64_t fileBytes) {
  return fileBytes <= kLargestCachedFile ? "PRAGMA cache_size=-16384" : "PRAGMA cache_size=-2048";  // in KiB
}

// The engine's URI name of a file opened as it is, read-only and without locks or journal.
// Every byte but letters, digits and "/-._~" is percent-encoded, so a '?', '#' or '%' in a
// file's name stays part of the name.
std::string ImmutableUri(std::string_view utf8Path) {
  constexpr std::string_view kPlain = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/-._~";
  constexpr std::string_view kHex = "0123456789ABCDEF";
  std::string uri = utf8Path.starts_with('/') ? "file://" : "file:";
  for (const char c : utf8Path) {
    if (kPlain.find(c) != std::string_view::npos) {
      uri += c;
    } else {
      const auto byte = static_cast<unsigned char>(c);
      uri += '%';
      uri += kHex[byte >> 4];
      uri += kHex[byte & 0x0F];
    }
  }
  return uri + "?immutable=1";
}

using StatementFn = std::function<void(sqlite3_stmt*)>;

// Prepares exactly one statement of the program's dialect and runs it to its end, handing
// the prepared statement to `onPrepared` and each result row to `onRow`. Text after the
// statement fails the call before anything runs.
bool Run(sqlite3* db, std::string_view sql, std::string& error, std::int64_t* rowsChanged,
         const StatementFn& onPrepared, const StatementFn& onRow) {
  if (rowsChanged) *rowsChanged = 0;
  if (db == nullptr) {
    error = "the connection is not open";
    return false;
  }
  const std::string utf8 = dialect::Translate(text::ToUtf8(sql));
  if (utf8.find('\0') != std::string::npos) {  // the engine would stop reading there
    error = "a zero byte in the statement";
    return false;
  }
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db, utf8.c_str(), static_cast<int>(utf8.size()) + 1, &stmt, &tail) != SQLITE_OK) {
    error = sqlite3_errmsg(db);
    return false;
  }
  if (stmt == nullptr) {
    error = "no statement";
    return false;
  }
  for (const char* p = tail; p && *p; ++p) {
    if (!IsBlank(*p)) {
      sqlite3_finalize(stmt);
      error = "text after the statement";
      return false;
    }
  }
  if (!sqlite3_stmt_readonly(stmt) && files::ShouldFailForTest(files::Op::Write)) {
    sqlite3_finalize(stmt);
    error = std::strerror(errno);
    return false;
  }
  if (onPrepared) onPrepared(stmt);
  const std::int64_t before = sqlite3_total_changes(db);
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    if (onRow) onRow(stmt);
  }
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE) {
    error = sqlite3_errmsg(db);
    return false;
  }
  if (rowsChanged) *rowsChanged = sqlite3_total_changes(db) - before;
  return true;
}

}  // namespace

std::string ConnectionText(std::string_view path, std::string_view password) {
  std::string t = "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=";
  t += path;
  t += ";Jet OLEDB:Database Password=";
  t += password;
  return t;
}

// Every quote byte is doubled, not only those a character walk finds: 0x27 is never part of
// a GB18030 character, and a stray lead byte before a quote (which the conversion to UTF-8
// turns into "?") must not hide that quote and let the text end the literal.
std::string EscapeSqlText(std::string_view textIn) {
  std::string out;
  out.reserve(textIn.size() + 8);
  for (const char c : textIn) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

namespace {

// A backslash escapes only where it stands as a character of its own: as the trail byte of a
// GB18030 character it is part of that character, which the walk keeps whole.
std::string LiteralLike(std::string_view textIn, bool anywhere) {
  std::string pattern = anywhere ? "%" : "";
  for (std::size_t i = 0; i < textIn.size();) {
    const std::size_t n = text::CharLength(textIn, i);
    if (n == 1 && (textIn[i] == '%' || textIn[i] == '_' || textIn[i] == '\\')) pattern += '\\';
    pattern.append(textIn.substr(i, n));
    i += n;
  }
  pattern += '%';
  return "like '" + EscapeSqlText(pattern) + "' escape '\\'";
}

}  // namespace

std::string LikeContaining(std::string_view textIn) { return LiteralLike(textIn, true); }
std::string LikeStartingWith(std::string_view textIn) { return LiteralLike(textIn, false); }

Connection::~Connection() { Close(); }

Connection::Connection(Connection&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)), lastError_(std::move(other.lastError_)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
  if (this != &other) {
    Close();
    db_ = std::exchange(other.db_, nullptr);
    lastError_ = std::move(other.lastError_);
  }
  return *this;
}

void Connection::Close() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

int Connection::Open(std::string_view connectionText) { return OpenFile(connectionText, Access::ReadWrite); }

int Connection::OpenReadOnly(std::string_view connectionText) {
  return OpenFile(connectionText, Access::ReadAsItIs);
}

int Connection::OpenFile(std::string_view connectionText, Access access) {
  Close();
  lastError_.clear();
  const ConnectionParts parts = ParseConnectionText(connectionText);
  if (parts.path.empty()) {
    lastError_ = "no Data Source in the connection text";
    return 0;
  }
  const bool asItIs = access == Access::ReadAsItIs;
  // The engine's own open of a pipe would wait for a writer.
  if (asItIs && !files::IsRegularFile(parts.path)) {
    lastError_ = "not a regular file";
    return 0;
  }
  const std::string path = text::ToUtf8(parts.path);
  sqlite3* db = nullptr;
  // Never creates a file: a missing data file is written from its image by the caller.
  // Each connection is used by one thread only, so it needs no lock of its own.
  const int flags = SQLITE_OPEN_NOMUTEX | (asItIs ? SQLITE_OPEN_READONLY | SQLITE_OPEN_URI : SQLITE_OPEN_READWRITE);
  if (sqlite3_open_v2((asItIs ? ImmutableUri(path) : path).c_str(), &db, flags, nullptr) != SQLITE_OK) {
    lastError_ = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close_v2(db);
    return 0;
  }
  const std::string key = text::ToUtf8(parts.password);
  bool ok = key.empty() || sqlite3_key(db, key.data(), static_cast<int>(key.size())) == SQLITE_OK;
  // The key is proved only by reading: a wrong one makes the schema unreadable.
  ok = ok && StepAll(db, "SELECT count(*) FROM sqlite_master", lastError_) &&
       (asItIs || (StepAll(db, "PRAGMA journal_mode=DELETE", lastError_) &&
                   StepAll(db, "PRAGMA synchronous=FULL", lastError_))) &&
       StepAll(db, CacheSizePragma(files::Size(parts.path)), lastError_) && dialect::Register(db);
  if (!ok) {
    if (lastError_.empty()) lastError_ = sqlite3_errmsg(db);
    sqlite3_close_v2(db);
    return 0;
  }
  sqlite3_busy_timeout(db, 2000);
  db_ = db;
  return 1;
}

int Connection::Execute(std::string_view sql, std::int64_t* rowsChanged) {
  return Run(db_, sql, lastError_, rowsChanged, nullptr, nullptr) ? 1 : 0;
}

std::int64_t Connection::LastInsertId() const { return db_ ? sqlite3_last_insert_rowid(db_) : 0; }

int Connection::QuickCheck() {
  std::vector<std::string> verdict;
  const bool ran = Run(db_, "PRAGMA quick_check", lastError_, nullptr, nullptr, [&verdict](sqlite3_stmt* stmt) {
    const unsigned char* t = sqlite3_column_text(stmt, 0);
    verdict.emplace_back(t ? reinterpret_cast<const char*>(t) : "");
  });
  if (!ran) return 0;
  if (verdict.size() == 1 && verdict.front() == "ok") return 1;
  lastError_ = verdict.empty() ? "no answer" : verdict.front();
  return 0;
}

void Connection::ReleaseCache() {
  if (db_ != nullptr) sqlite3_db_release_memory(db_);
}

bool Connection::HasTable(std::string_view table) {
  RecordSet rs;
  return rs.Open(*this, "select count(*) from sqlite_master where type='table' and name='" +
                            EscapeSqlText(table) + "' collate nocase") == 1 &&
         rs.IntegerAt(1) > 0;
}

int RecordSet::Open(Connection& connection, std::string_view sql) {
  Close();
  const auto readColumns = [this](sqlite3_stmt* stmt) { columns_ = ColumnNames(stmt); };
  const auto readRow = [this](sqlite3_stmt* stmt) {
    std::vector<Cell>& row = rows_.emplace_back();
    row.reserve(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i) row.push_back(CellOf(stmt, static_cast<int>(i)));
  };
  const bool ok = Run(connection.db_, sql, connection.lastError_, nullptr, readColumns, readRow);
  if (!ok) Close();
  return ok ? 1 : 0;
}

void RecordSet::Close() {
  columns_.clear();
  rows_.clear();
  row_ = 0;
}

void RecordSet::MoveNext() {
  if (row_ < rows_.size()) ++row_;
}

bool RecordSet::HasColumn(std::string_view name) const {
  for (const std::string& c : columns_)
    if (text::EqualsIgnoreAsciiCase(c, name)) return true;
  return false;
}

const std::string& RecordSet::ColumnName(int column) const {
  static const std::string none;
  return column >= 1 && static_cast<std::size_t>(column) <= columns_.size()
             ? columns_[static_cast<std::size_t>(column) - 1]
             : none;
}

const Cell* RecordSet::At(int column) const {
  if (Eof() || column < 1 || static_cast<std::size_t>(column) > rows_[row_].size()) return nullptr;
  return &rows_[row_][static_cast<std::size_t>(column) - 1];
}

const Cell* RecordSet::Find(std::string_view column) const {
  const int position = PositionOf(columns_, column);
  return position > 0 ? At(position) : nullptr;
}

std::int64_t RecordSet::Integer(std::string_view column) const {
  const Cell* c = Find(column);
  return c ? IntegerOf(ViewOf(*c)) : 0;
}

std::string RecordSet::Text(std::string_view column) const {
  const Cell* c = Find(column);
  return c ? TextOf(ViewOf(*c)) : std::string();
}

double RecordSet::DateTime(std::string_view column) const {
  const Cell* c = Find(column);
  return c ? DateTimeOf(ViewOf(*c)) : 0.0;
}

std::int64_t RecordSet::IntegerAt(int column) const {
  const Cell* c = At(column);
  return c ? IntegerOf(ViewOf(*c)) : 0;
}

int Row::Column(std::string_view name) const { return PositionOf(names_, name); }

// Out of range reads as NULL; the engine's own accessors are not asked outside the result.
std::int64_t Row::IntegerAt(int column) const {
  if (column < 1 || static_cast<std::size_t>(column) > names_.size()) return 0;
  return IntegerOf(ViewOf(stmt_, column - 1));
}

std::string Row::TextAt(int column) const {
  if (column < 1 || static_cast<std::size_t>(column) > names_.size()) return {};
  return TextOf(ViewOf(stmt_, column - 1));
}

double Row::DateTimeAt(int column) const {
  if (column < 1 || static_cast<std::size_t>(column) > names_.size()) return 0.0;
  return DateTimeOf(ViewOf(stmt_, column - 1));
}

int ReadRows(Connection& connection, std::string_view sql, const std::function<void(const Row&)>& onRow) {
  std::vector<std::string> names;
  const auto readColumns = [&names](sqlite3_stmt* stmt) { names = ColumnNames(stmt); };
  const auto readRow = [&](sqlite3_stmt* stmt) { onRow(Row(stmt, names)); };
  return Run(connection.db_, sql, connection.lastError_, nullptr, readColumns, readRow) ? 1 : 0;
}

}  // namespace platform::db
