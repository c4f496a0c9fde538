#include "platform/db/exchange.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/clock/clock.h"
#include "platform/text/text.h"
#include "platform/xls/xls.h"

namespace platform::db {
namespace {

namespace xls = platform::xls;

constexpr std::string_view kStaging = "temp.\"workmemo_import\"";
// Flushing the staged rows in batches keeps each statement small without paying one
// prepare per row.
constexpr std::size_t kBatchRows = 400;
constexpr std::size_t kBatchBytes = 1 << 20;

ExchangeResult Failure(std::string_view utf8Reason, std::string_view detail = {}) {
  return {false, 0, text::FromUtf8(utf8Reason) + std::string(detail)};
}

// A table or column name between double quotes, so that no name can end the statement.
// Byte by byte, as in EscapeSqlText: 0x22 is never inside a GB18030 character.
std::string Quote(std::string_view name) {
  std::string out = "\"";
  for (const char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

// Names the sheet row (row 1 holds the column names) and the column of the text.
ExchangeResult TextTooLong(std::string_view sheet, std::size_t sheetRow, std::string_view column, long limit) {
  return {false, 0,
          text::FromUtf8("工作表 ") + std::string(sheet) + text::FromUtf8(" 第 " + std::to_string(sheetRow) + " 行 ") +
              std::string(column) +
              text::FromUtf8(" 列的文字超过 " + std::to_string(limit) + " 个字符，没有导入任何记录。")};
}

std::string QuotedText(std::string_view gb18030) { return "'" + EscapeSqlText(gb18030) + "'"; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::string FormatNumber(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

// A number that is the whole (trimmed) text, or nothing.
std::optional<double> ParseNumber(std::string_view s) {
  const std::string copy(Trim(s));
  if (copy.empty()) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<double> NumberOf(const xls::Cell& cell) {
  switch (cell.type) {
    case xls::CellType::Number:
    case xls::CellType::DateTime:
    case xls::CellType::Bool:
      return cell.number;
    case xls::CellType::Text:
      return ParseNumber(cell.text);
    default:
      return std::nullopt;
  }
}

// The serial of a date-time cell, of a plain number, or of a text in a stored form.
std::optional<double> SerialOf(const xls::Cell& cell) {
  switch (cell.type) {
    case xls::CellType::Number:
    case xls::CellType::DateTime:
      return cell.number;
    case xls::CellType::Text:
      return clock::ParseStored(Trim(cell.text));
    default:
      return std::nullopt;
  }
}

// Date-times are valid from the year 100 to the year 9999.
bool IsValidSerial(double serial) {
  static const double kFirst = static_cast<double>(clock::DaysFromCivil(100, 1, 1));
  static const double kLast = static_cast<double>(clock::DaysFromCivil(10000, 1, 1)) - 0.5 / 86400;
  return std::isfinite(serial) && serial >= kFirst && serial < kLast;
}

// The text a cell gives a text column; nothing for an empty cell or one without a text.
std::optional<std::string> TextOf(const xls::Cell& cell) {
  switch (cell.type) {
    case xls::CellType::Text: return cell.text;
    case xls::CellType::Number: return FormatNumber(cell.number);
    case xls::CellType::DateTime:
      if (IsValidSerial(cell.number)) return clock::FormatStored(cell.number);
      return std::nullopt;
    case xls::CellType::Bool: return std::string(cell.number != 0 ? "1" : "0");
    default: return std::nullopt;
  }
}

// The SQL literal of a cell in the form the program itself stores in a column of `kind`;
// NULL for an empty cell or one that cannot be converted.
std::string Literal(const xls::Cell& cell, ColumnKind kind) {
  switch (kind) {
    case ColumnKind::Text: {
      const std::optional<std::string> value = TextOf(cell);
      return value ? QuotedText(*value) : "NULL";
    }
    case ColumnKind::Integer: {
      const std::optional<double> v = NumberOf(cell);
      if (!v || !std::isfinite(*v)) return "NULL";
      const double r = std::round(*v);
      if (r < -2147483648.0 || r > 2147483647.0) return "NULL";
      return std::to_string(static_cast<long long>(r));
    }
    case ColumnKind::DateTime:
    case ColumnKind::Date: {
      const std::optional<double> s = SerialOf(cell);
      if (!s || !IsValidSerial(*s)) return "NULL";
      return QuotedText(kind == ColumnKind::Date ? clock::FormatStoredDate(*s) : clock::FormatStored(*s));
    }
  }
  return "NULL";
}

// The most characters each limited text column takes: the tables state them as
// "CHECK (length(col) <= n)", and a longer value would fail the whole insert.
std::vector<long> TextLimits(Connection& connection, std::string_view table,
                             const std::vector<ExchangeColumn>& columns) {
  std::vector<long> limits(columns.size(), -1);
  RecordSet rs;
  if (!rs.Open(connection, "SELECT sql FROM sqlite_master WHERE type='table' AND name=" + QuotedText(table)) ||
      rs.Eof())
    return limits;
  const std::string sql = text::AsciiLower(rs.Text("sql"));
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].kind != ColumnKind::Text) continue;
    const std::string needle = "length(" + text::AsciiLower(columns[i].name) + ")";
    const std::size_t at = sql.find(needle);
    if (at == std::string::npos) continue;
    std::string_view rest = Trim(std::string_view(sql).substr(at + needle.size()));
    if (rest.substr(0, 2) != "<=") continue;
    rest = Trim(rest.substr(2));
    long n = 0;
    std::size_t digits = 0;
    while (digits < rest.size() && digits < 9 && std::isdigit(static_cast<unsigned char>(rest[digits])))
      n = n * 10 + (rest[digits++] - '0');
    if (digits > 0) limits[i] = n;
  }
  return limits;
}

// Whether the engine reads the value of column `q` as a date in a stored form: a text that
// starts with a date and that julianday() accepts.
std::string SecondsTest(const std::string& q) {
  return "(typeof(" + q + ")='text' AND " + q +
         " GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*' AND julianday(" + q + ") IS NOT NULL)";
}

// Whole seconds since 1899-12-30 00:00 of such a value (julian day 2415018.5).
std::string SecondsOf(const std::string& q) {
  return "CAST(round((julianday(" + q + ")-2415018.5)*86400) AS INTEGER)";
}

// Runs statements inside one transaction; whatever is not committed is rolled back.
class Transaction {
 public:
  explicit Transaction(Connection& c) : c_(c) { open_ = c_.Execute("BEGIN") == 1; }
  ~Transaction() {
    if (open_) c_.Execute("ROLLBACK");
  }
  bool open() const { return open_; }
  bool Commit() {
    if (c_.Execute("COMMIT") != 1) return false;
    open_ = false;
    return true;
  }

 private:
  Connection& c_;
  bool open_ = false;
};

std::string JoinQuoted(const std::vector<ExchangeColumn>& columns, std::string_view prefix = {}) {
  std::string out;
  for (const ExchangeColumn& c : columns) {
    if (!out.empty()) out += ',';
    out += prefix;
    out += Quote(c.name);
  }
  return out;
}

}  // namespace

ExchangeResult ExportTable(Connection& connection, std::string_view table,
                           const std::vector<ExchangeColumn>& columns, std::string_view file) {
  if (columns.empty()) return Failure("没有要导出的列。");
  // The values come first, named so that no two names have the same length: a lookup by
  // name then compares one name in full. Date-times that the engine reads come as whole
  // seconds, so no date text is carried and parsed again. Three masks per 60 columns
  // follow, read by position: which values are NULL (kept apart from the empty text), which
  // are texts, and which date values are not such seconds.
  const std::size_t n = columns.size();
  const auto isDate = [&columns](std::size_t i) {
    return columns[i].kind == ColumnKind::DateTime || columns[i].kind == ColumnKind::Date;
  };
  std::vector<std::string> valueNames;
  std::string sql = "SELECT ";
  for (std::size_t i = 0; i < n; ++i) {
    const std::string q = Quote(columns[i].name);
    valueNames.emplace_back(i + 1, 'v');
    sql += isDate(i) ? "CASE WHEN " + SecondsTest(q) + " THEN " + SecondsOf(q) + " ELSE " + q + " END" : q;
    sql += " AS " + valueNames.back() + ",";
  }
  constexpr std::size_t kMaskBits = 60;
  for (std::size_t chunk = 0; chunk * kMaskBits < n; ++chunk) {
    std::string nulls, texts, raw;
    for (std::size_t i = chunk * kMaskBits; i < n && i < (chunk + 1) * kMaskBits; ++i) {
      const std::string q = Quote(columns[i].name);
      const std::string bit = "<<" + std::to_string(i - chunk * kMaskBits) + ")";
      nulls += "|((" + q + " IS NULL)" + bit;
      texts += "|((typeof(" + q + ") IN ('text','blob'))" + bit;
      if (isDate(i)) raw += "|((NOT coalesce(" + SecondsTest(q) + ",0))" + bit;
    }
    sql += (chunk ? "," : "") + std::string("0") + nulls + ",0" + texts + ",0" + raw;
  }
  xls::Sheet sheet;
  sheet.name = std::string(table);
  for (const ExchangeColumn& c : columns) sheet.columns.push_back(c.name);
  const auto take = [&](RecordSet& rs) {
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
      std::vector<xls::Cell>& row = sheet.rows.emplace_back();
      row.reserve(n);
      std::uint64_t nulls = 0, texts = 0, raw = 0;
      for (std::size_t i = 0; i < n; ++i) {
        const std::size_t bit = i % kMaskBits;
        if (bit == 0) {
          const int at = static_cast<int>(n + 1 + 3 * (i / kMaskBits));
          nulls = static_cast<std::uint64_t>(rs.IntegerAt(at));
          texts = static_cast<std::uint64_t>(rs.IntegerAt(at + 1));
          raw = static_cast<std::uint64_t>(rs.IntegerAt(at + 2));
        }
        const bool isText = (texts >> bit) & 1;
        if ((nulls >> bit) & 1) {
          row.push_back(xls::Cell::Null());
        } else if (isDate(i) && !((raw >> bit) & 1)) {
          row.push_back(xls::Cell::Date(clock::SerialFromSeconds(rs.Integer(valueNames[i]))));
        } else if (isDate(i)) {
          std::optional<double> serial;
          std::string value;
          if (isText) {
            value = rs.Text(valueNames[i]);
            serial = clock::ParseStored(value);
          } else {
            serial = rs.DateTime(valueNames[i]);
          }
          // A text that is no date-time is kept as the text it is.
          row.push_back(serial ? xls::Cell::Date(*serial) : xls::Cell::Str(std::move(value)));
        } else if (isText) {
          row.push_back(xls::Cell::Str(rs.Text(valueNames[i])));
        } else {
          row.push_back(xls::Cell::Num(rs.DateTime(valueNames[i])));  // the number as stored
        }
      }
    }
  };
  // The rows are read in slices of rowid, so that no more than a slice is held besides the
  // sheet; a table without rowids is read whole.
  constexpr int kSlice = 2000;
  const int rowidAt = static_cast<int>(n + 3 * ((n + kMaskBits - 1) / kMaskBits) + 1);
  RecordSet rs;
  for (std::string after;;) {
    if (!rs.Open(connection, sql + ",rowid FROM " + Quote(table) + after + " ORDER BY rowid LIMIT " +
                                 std::to_string(kSlice))) {
      if (!after.empty() || !rs.Open(connection, sql + " FROM " + Quote(table)))
        return Failure("读取数据表失败：", text::FromUtf8(connection.LastError()));
      take(rs);
      break;
    }
    take(rs);
    if (rs.RowCount() < kSlice) break;
    rs.MoveFirst();
    for (int i = 1; i < rs.RowCount(); ++i) rs.MoveNext();
    after = " WHERE rowid>" + std::to_string(rs.IntegerAt(rowidAt));
  }
  xls::Workbook book;
  book.sheets.push_back(std::move(sheet));
  const xls::Result written = xls::WriteWorkbook(book, file);
  if (!written.ok()) return {false, 0, written.message};
  return {true, 0, {}};
}

ExchangeResult ImportTable(Connection& connection, std::string_view table,
                           const std::vector<ExchangeColumn>& columns, std::string_view file,
                           const std::vector<std::string>& duplicateColumns) {
  if (columns.empty()) return Failure("没有要导入的列。");
  for (const std::string& d : duplicateColumns) {
    bool listed = false;
    for (const ExchangeColumn& c : columns) listed = listed || text::EqualsIgnoreAsciiCase(c.name, d);
    if (!listed) return Failure("查重的列不在导入的列中：", d);
  }

  xls::Workbook book;
  const xls::Result read = xls::ReadWorkbook(file, book);
  if (!read.ok()) return {false, 0, read.message};
  const xls::Sheet* sheet = book.Find(table);
  if (sheet == nullptr) return Failure("工作簿中没有工作表：", table);
  std::vector<std::size_t> source;
  for (const ExchangeColumn& c : columns) {
    const int at = sheet->ColumnIndex(c.name);
    if (at < 0) return Failure("工作表中没有列：", c.name);
    source.push_back(static_cast<std::size_t>(at));
  }
  const std::vector<long> limits = TextLimits(connection, table, columns);

  Transaction tx(connection);
  if (!tx.open()) return Failure("无法开始事务：", text::FromUtf8(connection.LastError()));
  const auto failed = [&connection]() {
    return Failure("导入数据失败：", text::FromUtf8(connection.LastError()));
  };

  // The staging table compares like the live one: texts without regard to case.
  std::string create = "CREATE TEMP TABLE \"workmemo_import\" (";
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i) create += ',';
    create += Quote(columns[i].name);
    create += columns[i].kind == ColumnKind::Integer ? " INTEGER"
              : columns[i].kind == ColumnKind::Text ? " TEXT COLLATE NOCASE"
                                                    : " TEXT";
  }
  create += ')';
  if (!connection.Execute("DROP TABLE IF EXISTS " + std::string(kStaging)) || !connection.Execute(create))
    return failed();

  const std::string insertHead = "INSERT INTO " + std::string(kStaging) + " VALUES ";
  std::string batch;
  std::size_t batchRows = 0;
  const auto flush = [&]() {
    if (batchRows == 0) return true;
    const bool ok = connection.Execute(batch) == 1;
    batch.clear();
    batchRows = 0;
    return ok;
  };
  for (std::size_t r = 0; r < sheet->rows.size(); ++r) {
    std::string values = "(";
    bool blank = true;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const xls::Cell& cell = sheet->At(r, source[i]);
      // A text too long for its column would be lost: the workbook is refused instead.
      if (limits[i] >= 0) {
        const std::optional<std::string> value = TextOf(cell);
        if (value && text::CharCount(*value) > static_cast<std::size_t>(limits[i]))
          return TextTooLong(sheet->name, r + 2, columns[i].name, limits[i]);
      }
      const std::string literal = Literal(cell, columns[i].kind);
      blank = blank && literal == "NULL";
      if (i) values += ',';
      values += literal;
    }
    if (blank) continue;
    values += ')';
    batch += batchRows == 0 ? insertHead : std::string(",");
    batch += values;
    if (++batchRows >= kBatchRows || batch.size() >= kBatchBytes) {
      if (!flush()) return failed();
    }
  }
  if (!flush()) return failed();

  const std::string cols = JoinQuoted(columns);
  std::string insert = "INSERT INTO " + Quote(table) + " (" + cols + ") SELECT " + JoinQuoted(columns, "ek.") +
                       " FROM " + std::string(kStaging) + " AS ek";
  if (!duplicateColumns.empty()) {
    // IS: a NULL in the sheet matches a NULL in the table, so a second import adds nothing.
    insert += " WHERE NOT EXISTS (SELECT 1 FROM " + Quote(table) + " AS live WHERE ";
    for (std::size_t i = 0; i < duplicateColumns.size(); ++i) {
      if (i) insert += " AND ";
      const std::string q = Quote(duplicateColumns[i]);
      insert += "live." + q + " IS ek." + q;
    }
    insert += ')';
  }
  std::int64_t added = 0;
  if (!connection.Execute(insert, &added)) return failed();
  if (!connection.Execute("DROP TABLE " + std::string(kStaging)) || !tx.Commit()) return failed();
  return {true, added, {}};
}

}  // namespace platform::db
