// Any workbook imported into the timed-reminder table (and the notes table, whose dates carry
// no time of day) is taken or refused whole: a refused import adds no row, a taken one adds
// the rows it reports, and importing it again adds none of the reminders a second time.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/db/db.h"
#include "platform/db/exchange.h"
#include "reminders/store/timed_exchange_columns.h"
#include "scratch_file.h"

namespace {

namespace db = platform::db;

// Runs a schema script of resources/db: a statement ends with the line whose last character is
// ';', "--" lines are comments.
bool RunScript(db::Connection& connection, const std::string& name) {
  std::ifstream in(std::string(WORKMEMO_SCHEMA_DIR) + "/" + name);
  std::string statement, line;
  while (std::getline(in, line)) {
    if (line.rfind("--", 0) == 0) continue;
    statement += line + "\n";
    if (!line.empty() && line.back() == ';') {
      if (!connection.Execute(statement)) return false;
      statement.clear();
    }
  }
  return static_cast<bool>(in.eof());
}

// The two tables, in an unencrypted file: the key changes nothing the import does.
struct Database {
  ScratchFile file{"import.dat"};
  ScratchFile book{"import.xls"};
  db::Connection connection;
  bool ready = false;

  Database() {
    file.Write(nullptr, 0);
    ready = connection.Open(db::ConnectionText(file.path(), "")) == 1 && RunScript(connection, "yhsj.sql") &&
            RunScript(connection, "dstx2.sql") && RunScript(connection, "jsb2.sql") &&
            connection.Execute("PRAGMA synchronous=OFF") == 1;
  }

  std::int64_t Rows(const char* table) {
    db::RecordSet rs;
    rs.Open(connection, std::string("select count(*) from ") + table);
    return rs.IntegerAt(1);
  }
};

const std::vector<db::ExchangeColumn>& NoteColumns() {
  using Kind = db::ColumnKind;
  static const std::vector<db::ExchangeColumn> columns = {
      {"bt", Kind::Text}, {"nr", Kind::Text}, {"gxdate", Kind::Date}, {"lx", Kind::Text}, {"jsdate", Kind::Date}};
  return columns;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Database d;
  if (!d.ready) __builtin_trap();
  if (!d.book.Write(data, size)) return 0;

  const std::vector<std::string> duplicates = {"ksdate", "txbt"};
  const db::ExchangeResult first = db::ImportTable(d.connection, "txsj", workmemo::TimedExchangeColumns(), d.book.path(), duplicates);
  const std::int64_t added = d.Rows("txsj");
  if (added != (first.ok ? first.rowsAdded : 0)) __builtin_trap();
  if (first.ok && added > 0) {
    const db::ExchangeResult again = db::ImportTable(d.connection, "txsj", workmemo::TimedExchangeColumns(), d.book.path(), duplicates);
    if (!again.ok || again.rowsAdded != 0 || d.Rows("txsj") != added) __builtin_trap();
  }

  const db::ExchangeResult notes = db::ImportTable(d.connection, "jsbsj", NoteColumns(), d.book.path(), {});
  if (d.Rows("jsbsj") != (notes.ok ? notes.rowsAdded : 0)) __builtin_trap();

  d.connection.Execute("delete from txsj");
  d.connection.Execute("delete from jsbsj");
  return 0;
}
