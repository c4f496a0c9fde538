#pragma once
// The operations behind the five buttons of each row of the data-maintenance page. Each runs
// inside its click, asks and reports through message boxes, and leaves every live file whole
// and open whatever fails; none ends the program.
#include <string>
#include <string_view>

#include "maintenance/maintained_data.h"
#include "platform/db/db.h"

namespace workmemo {

// Backup: the live file copied to the file the user names, through a temporary file beside
// it that must match the live data (row count, newest id, its check field) before it takes
// the name. A live data file is never a target.
void BackupData(DataKind kind);
void BackupTimedData();
void BackupDueData();
void BackupNotesData();
// The backup itself, to a target already chosen: the failure message, or none.
const char* BackupDataTo(DataKind kind, const std::string& target);
// 1 when the copy open on `copy` matches the live file of `kind`.
int VerifyBackupCopy(DataKind kind, platform::db::Connection& copy);

// Restore: the chosen file looked at where it is, only read (it opens with the database
// password and holds the file's table), so that a file that is no backup of that data is
// refused before anything is copied; then copied beside the live file and checked there the
// same way; a backup with another admin password asks for it. Only then is the live file
// replaced, the previous one kept until the restored one reopened and put back on any
// failure. The restored file keeps the current password and the protection flags of another
// live file.
void RestoreData(DataKind kind);
void RestoreTimedData();
void RestoreDueData();
void RestoreNotesData();
// The restore from a file already chosen and confirmed, with its messages.
void RestoreChosenFile(DataKind kind, const std::string& file);
// The older notes backups: their rows added to the live notes in one transaction.
void ConvertOldNotesBackup();
// 提示确定 of BackupPasswordPrompt: true (BackupPasswordConfirmed 1) when `typed` is the
// password stored in the pending backup, which is only read where it is; otherwise says so
// and leaves it 0.
bool ConfirmBackupPassword(std::string_view typed);

// Compaction of the live file in place; the file is reopened (and the reminders reloaded)
// before the result is shown.
void CompactData(DataKind kind);
void CompactTimedData();
void CompactDueData();
void CompactNotesData();
// The compaction itself: its result code (0 done), and whether the file reopened.
int CompactLiveData(DataKind kind, bool* reopened);

// Workbook exchange of the file's table. A live data file is never a workbook written or
// read.
void ExportData(DataKind kind);
void ImportData(DataKind kind);
void ExportTimedData();
void ExportDueData();
void ExportNotesData();
void ImportTimedData();
void ImportDueData();
void ImportNotesData();
// The export itself, to a file already chosen: the failure message, or none.
const char* ExportDataTo(DataKind kind, const std::string& file);

}  // namespace workmemo
