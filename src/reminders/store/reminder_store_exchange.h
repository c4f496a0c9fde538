#pragma once
// Compaction of the timed-reminder database and exchange of a table with an Excel workbook,
// on the store's own connection. Results: 1 done, 0 not (compaction: the codes below).
#include <string>
#include <string_view>
#include <vector>

#include "reminders/store/reminder_store.h"

namespace workmemo {

// The columns of txsj a workbook carries: every column but id, in the table's order.
const std::vector<std::string>& TimedReminderExchangeColumns();

// Closes the store's record set and connection, then compacts the file with the password
// kept. The store stays closed whatever the result: the caller opens it again and reloads.
int CompactDatabase(ReminderStore& store, std::string_view path, std::string_view password);

// Compacts the database file in place; the source is opened with the password only when
// `usePassword` is not 0, the copy is keyed with it whenever it is not empty.
// 0 done; 1 no compaction engine; 2 the compaction failed (nothing was changed);
// 3 the compacted copy could not take the file's place (the file is as it was).
int CompactDatabaseFile(std::string_view path, std::string_view password, int usePassword);

// Writes the named columns of every row of `table` into the sheet named after the table
// in `file`, replacing the workbook; 0 without doing anything when `columns` is empty.
int ExportToExcel(ReminderStore& store, std::string_view file, std::string_view table,
                  const std::vector<std::string>& columns);

// Inserts the rows of the sheet named after `table`. With `skipCheck` 0 a row is skipped when
// the table holds one with the same ksdate and txbt, and `condition` receives that test's
// text; otherwise every row goes in and `condition` is emptied. ReminderList is untouched:
// imported reminders join it with the next load. A refused workbook inserts nothing;
// `reason`, when given, then says why (a text too long for its column names its sheet row).
int ImportFromExcel(ReminderStore& store, std::string_view file, std::string_view table,
                    const std::vector<std::string>& columns, std::string& condition, int skipCheck,
                    std::string* reason = nullptr);

}  // namespace workmemo
