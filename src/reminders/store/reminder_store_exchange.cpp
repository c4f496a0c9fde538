#include "reminders/store/reminder_store_exchange.h"

#include "platform/db/compact.h"
#include "platform/db/exchange.h"
#include "platform/text/text.h"
#include "reminders/store/timed_exchange_columns.h"

namespace workmemo {
namespace {

namespace db = platform::db;

using Kind = db::ColumnKind;

// The named columns with their kinds; id is a number, a name txsj does not have travels as
// text (the statement then fails on it as the engine's would).
std::vector<db::ExchangeColumn> Typed(const std::vector<std::string>& names) {
  std::vector<db::ExchangeColumn> out;
  for (const std::string& name : names) {
    db::ExchangeColumn column{name, platform::text::EqualsIgnoreAsciiCase(name, "id") ? Kind::Integer : Kind::Text};
    for (const db::ExchangeColumn& known : TimedExchangeColumns())
      if (platform::text::EqualsIgnoreAsciiCase(known.name, name)) column.kind = known.kind;
    out.push_back(std::move(column));
  }
  return out;
}

}  // namespace

const std::vector<std::string>& TimedReminderExchangeColumns() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    for (const db::ExchangeColumn& c : TimedExchangeColumns()) out.push_back(c.name);
    return out;
  }();
  return names;
}

int CompactDatabase(ReminderStore& store, std::string_view path, std::string_view password) {
  store.CloseDatabase();
  return CompactDatabaseFile(path, password, 1);
}

int CompactDatabaseFile(std::string_view path, std::string_view password, int usePassword) {
  const db::CompactResult r =
      db::CompactDatabaseFile(path, usePassword != 0 ? password : std::string_view(), password);
  switch (r.status) {
    case db::CompactStatus::Ok: return 0;
    case db::CompactStatus::NoEngine: return 1;
    case db::CompactStatus::Failed: return 2;
    case db::CompactStatus::NotReplaced: return 3;
  }
  return 2;
}

int ExportToExcel(ReminderStore& store, std::string_view file, std::string_view table,
                  const std::vector<std::string>& columns) {
  if (columns.empty()) return 0;
  return db::ExportTable(store.Connection(), table, Typed(columns), file).ok ? 1 : 0;
}

int ImportFromExcel(ReminderStore& store, std::string_view file, std::string_view table,
                    const std::vector<std::string>& columns, std::string& condition, int skipCheck,
                    std::string* reason) {
  condition = skipCheck != 0 ? "" : "where ksdate=ek.ksdate and txbt=ek.txbt";
  if (columns.empty()) return 0;
  const std::vector<std::string> duplicateTest =
      skipCheck != 0 ? std::vector<std::string>{} : std::vector<std::string>{"ksdate", "txbt"};
  const db::ExchangeResult result = db::ImportTable(store.Connection(), table, Typed(columns), file, duplicateTest);
  if (reason) *reason = result.message;
  return result.ok ? 1 : 0;
}

}  // namespace workmemo
