#pragma once
// What every data-maintenance operation shares: the three data files and their backup kinds,
// the state a restore keeps while its password prompt is open, and the small steps on a live
// file (close, reopen, refresh its page) and on a file that is not live (open and check it).
#include <optional>
#include <string>
#include <string_view>

#include "platform/db/db.h"

namespace workmemo {

struct ProgramDatabases;

enum class DataKind { Timed, Due, Notes };

// One data file as maintenance sees it.
struct MaintainedData {
  DataKind kind;
  const char* table;          // its own table: txsj, dqsj, jsbsj
  const char* checkField;     // the field of the newest row a backup compares
  bool checkFieldIsDate;
  const char* backupDataKind;  // BackupDataKind while its restore's prompt is open
  const char* progressLabel;   // the page's label of its row
  // BackupKind: the dialogs' filters, the default extension and the default backup name.
  const char* saveFilter;
  const char* restoreFilter;
  const char* defaultExtension;
  const char* defaultNamePrefix;
  int defaultNameStyle;  // FormatDateTime style of the date in the name
};
const MaintainedData& Maintained(DataKind kind);
std::string DefaultBackupName(const MaintainedData& data, double now);

// The live file of that kind.
const std::string& LiveDataPath(ProgramDatabases& db, DataKind kind);
// Whether `path` names one of the three live data files, or a file the database engine keeps
// beside one (its journal, write-ahead log or index), under any spelling.
bool IsLiveDataFile(ProgramDatabases& db, std::string_view path);
// Closes the live file; the timed-reminder store keeps its loaded list meanwhile.
void CloseLiveData(ProgramDatabases& db, DataKind kind);
// Opens the live file again with the database password; 1 when it opened and holds its table.
int OpenLiveData(ProgramDatabases& db, DataKind kind);
// Whether the rows of a live file read again kept their ids (a compaction), or may now name
// other records (a restore, anything else).
enum class ReloadedRows { MayNameOthers, KeptTheirIds };
// After the live file was read again: the timed reminders are loaded afresh (temporary pauses
// end) and the views list them, and only rows that kept their ids keep what fired in the last
// hour, so a clock set back then fires nothing twice; the due-date or notes page lists its
// rows again.
void RefreshAfterReload(ProgramDatabases& db, DataKind kind, ReloadedRows rows = ReloadedRows::MayNameOthers);

// Opens a file that is not live with the database password on `connection`; 1 only when it
// opened and holds `table`.
int OpenDataCopy(platform::db::Connection& connection, std::string_view path, std::string_view table);
// Whether the file at `path` can be a backup of the data whose table is `table`: read where it
// is and never changed, it opens with the database password and holds that table. Only its
// first pages are read, so a large file of anything else is told at once.
bool CanBeDataBackup(std::string_view path, std::string_view table);
// mm of the first row of yhsj there; empty when it cannot be read.
std::string ReadStoredPassword(platform::db::Connection& connection);

// A name for a new file beside `path`.
std::string TempFileBeside(std::string_view path);

// The restore state, program-wide.
struct MaintenanceState {
  std::string BackupDataKind;
  std::string PendingRestoreFile;
  std::string PendingTimedRestoreFile;
  int BackupPasswordConfirmed = 0;
};
MaintenanceState& Maintenance();

// The virtual store of another system never exists here: the Windows drive letter is a
// letter no path of this system starts with.
inline constexpr char kWindowsDriveLetter = 'C';
int IsOnWindowsDrive();
std::string PerUserCopyPath(std::string_view dataFileName);

// The notes backups of the former kind, opened with their own password.
int OpenOldNotesBackup(std::string_view password, std::string_view path);
void CloseOldNotesBackup();
platform::db::Connection& OldBackupConnection();
platform::db::RecordSet& OldBackupRecordSet();

// Messages and questions of the operations; both return once answered.
void ShowMaintenanceMessage(std::string_view message);
bool AskMaintenanceQuestion(std::string_view question);
// Stops and restarts 提醒时钟 around work on a closed timed-reminder file.
void StopReminderClockFor(DataKind kind);
void RestartReminderClockFor(DataKind kind);

}  // namespace workmemo
