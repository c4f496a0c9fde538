#pragma once
// The three data files at start: written from their empty images when missing, opened with
// the database password, the timed reminders loaded, and the user row's protection flags and
// login mode read into the program-wide settings.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/db.h"
#include "reminders/store/reminder_record.h"
#include "reminders/store/reminder_store.h"

namespace workmemo {

struct ProgramSettings;
struct ShellServices;
struct DataFileReading;

// The program-wide database references. The timed-reminder connection and record set live
// in the store, which every module uses for them.
struct ProgramDatabases {
  std::string TimedReminderDbPath;
  std::string DueDbPath;
  std::string NotesDbPath;
  std::string DatabasePassword;
  ReminderStore Reminders;
  platform::db::Connection DueConnection;
  platform::db::RecordSet DueRecordSet;
  platform::db::Connection NotesConnection;
  platform::db::RecordSet NotesRecordSet;
  ReminderList ListPageReminders;  // the list page's copy, filled by the full load
  // True from the start's load until the main window is built: ListPageReminders then holds
  // every row as the list page's full query reads them, so the page's first fill takes them
  // instead of reading the table a second time. While the start still reads the rows aside,
  // it holds none: a page filled then shows no rows until the read ends.
  bool ListPageHoldsFullRead = false;
  // The start's reading of the files on threads of their own. Each thread opens its own
  // connection and reads into its own rows, and hands both over when it ends: nothing here is
  // touched by any thread but the window thread.
  std::shared_ptr<DataFileReading> Reading;
};

ProgramDatabases& Databases();

// The three data files below the program directory, as the start opens them: timed
// reminders, due dates, notes.
std::vector<std::string> DataFilePaths();

// The whole start-up of the data files. A file that cannot be opened or is damaged is said
// once by name, pointing to the backup page; the start always goes on.
void OpenDataFiles(ProgramDatabases& db, ShellServices& services, ProgramSettings& settings);
// The same on the program-wide objects.
void OpenDataFiles();

// The same in three steps, so that the windows are built while the timed-reminder file is
// checked and read. BeginOpeningDataFiles sets the paths and starts opening and checking the
// three files, and reading every timed reminder, on threads of their own.
void BeginOpeningDataFiles(ProgramDatabases& db);
// Says what the files' openings found, in the order of OpenDataFiles, and reads the
// protection flags and login mode. The timed-reminder rows are still being read when the
// file opened and the other two files have nothing to say; the store then holds neither
// connection nor rows until FinishLoadingTimedReminders.
void OpenDataFilesBeforeWindows(ProgramDatabases& db, ShellServices& services, ProgramSettings& settings);
// Waits for the rows still being read, makes the reading's connection the store's and the
// rows its list, and says a damaged file.
// True when it did so now, so that the pages built meanwhile show the reminders.
bool FinishLoadingTimedReminders(ProgramDatabases& db, ShellServices& services);
// Waits for every thread of the start's reading, for a program that ends before it is used.
void WaitForDataFileReading(ProgramDatabases& db);

// yhdlfs of the first row of the notes database's yhsj; 0 without a row.
int ReadLoginMode(ProgramDatabases& db);

// The message for a data file that is damaged or cannot be read: it names the file and the
// page whose restore mends it.
std::string DamagedDataFileMessage(std::string_view path);

// mm of the first yhsj row on that connection; nullopt when the table cannot be read, empty
// text without a row.
std::optional<std::string> ReadFirstRowPassword(platform::db::Connection& connection,
                                                platform::db::RecordSet& records);
// The six flags of the "admin" row on that connection; a column the table lacks leaves its
// field as it was. 0 when the table cannot be read.
int ReadAdminRightsFrom(platform::db::Connection& connection, platform::db::RecordSet& records,
                        ProtectedActions& rights);

// The stored form of the admin password that every password check compares with: the
// timed-reminder database's row or, when that file cannot be read, the copies in the notes
// and then the due-date database, so a damaged file never locks the user out of the page
// that restores it. Empty when no row can be read.
std::string ReadAdminPasswordHash(ProgramDatabases& db);
// The protection flags, from the same rows in the same order.
void ReadAdminRights(ProgramDatabases& db, ProtectedActions& rights);

}  // namespace workmemo
