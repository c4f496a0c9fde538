#pragma once
// The timed-reminder store: the connection to the timed-reminder database, the in-memory
// ReminderList every schedule rule reads, and the reads and writes of table txsj and of the
// "admin" row of yhsj. Results are 1 for success and 0 for failure; positions are 1-based
// with 0 for "not there"; records and texts handed out are copies the caller owns.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/db/db.h"
#include "reminders/store/recent_firings.h"
#include "reminders/store/reminder_record.h"
#include "reminders/store/schedule_index.h"

namespace workmemo {

// The protection flags of the "admin" row, in the order of their columns.
struct ProtectedActions {
  int cktxqx = 0;  // viewing a reminder's content on the pop-up
  int tjtxqx = 0;  // adding a timed reminder
  int xgtxqx = 0;  // modifying one
  int sctxqx = 0;  // deleting one
  int txlqx = 0;   // stored and copied, guards nothing
  int jsbqx = 0;   // stored and copied, guards nothing
};

class ReminderStore {
 public:
  // Opens the database file with the password and checks that it holds txsj; keeps path and
  // password on success. 1 or 0; on failure the store is left closed.
  int OpenDatabase(std::string_view path, std::string_view password);
  // The same check on a connection of the caller's own, for a read on another thread that
  // touches no store; 1 or 0, and the connection is left closed on failure.
  static int OpenFile(platform::db::Connection& connection, std::string_view path, std::string_view password);
  // Takes a connection that OpenFile opened as the store's own, as OpenDatabase would have.
  void AdoptDatabase(platform::db::Connection connection, std::string_view path, std::string_view password);
  void CloseDatabase();
  bool IsOpen() const { return connection_.IsOpen(); }
  const std::string& DatabasePath() const { return path_; }
  const std::string& DatabasePassword() const { return password_; }

  // The connection and the shared record set, for the few statements other modules run on
  // the timed-reminder database themselves. A query result lasts until the next query.
  platform::db::Connection& Connection() { return connection_; }
  platform::db::RecordSet& Records() { return records_; }

  // The plain message box the load shows a failed reset of a spent remind-again in; nothing
  // is shown while unset.
  void SetPlainMessageBox(std::function<void(std::string_view)> show) { plainMessage_ = std::move(show); }

  // --- The loaded list -------------------------------------------------------------------
  const ReminderList& Reminders() const { return list_; }
  int CountReminders();  // "select count(*) from txsj"; 0 when nothing can be read
  // Rebuilds ReminderList from the rows of `query` (empty: every row) in ksdate, then id,
  // order, with the per-row adjustments of a load. When `target` is given, it receives the
  // rows as the same read gave them, whole and in the query's order (for the full load:
  // what SearchReminders gives for an empty label), with the spent remind-agains the load
  // reset in the table reset there too; when the query failed, a copy of the list. 1 when the
  // query read as a whole. 0 when it failed (a damaged page, a closed database): the list
  // then holds every row of txsj that can still be read one by one, and the caller says
  // that the file is damaged; a failed load is never taken for an empty table.
  int LoadReminders(std::string_view query = {}, ReminderList* target = nullptr);
  // The two halves of the full load, for a start that reads the rows on a thread of its own
  // while the windows are built. ReadAllReminders only reads (the full load's query, or the
  // rows one by one when it fails), through a connection the reading thread owns, and touches
  // no store; `whole`, when given and the query read as a whole, receives the rows as read,
  // as `target` does from LoadReminders. It gives the page cache back after the read (every
  // page has been read once; a search fills it again), so that the start does not hold the
  // whole file while the windows are built. The rows come back by value; AdoptReminders then
  // makes them the list on the window thread.
  struct ReadRows {
    ReminderList rows;
    int result = 0;
  };
  static ReadRows ReadAllReminders(platform::db::Connection& connection, ReminderList* whole = nullptr);
  int AdoptReminders(ReadRows read, ReminderList* target = nullptr);
  // The full load again, of a file whose rows kept their ids (a compaction): unlike any other
  // load it keeps what fired in the last hour of seconds checked, so a clock set back within
  // it fires nothing twice. Every other load forgets that: its ids may name other reminders.
  int ReloadSameRows();
  // 1-based position of the loaded reminder with that id, 0 when there is none.
  int FindLoadedReminder(int id) const { return schedule_.Find(id); }
  // Removes it from the list: 1, or 0 when there is none.
  int RemoveLoadedReminder(int id);
  // The loaded record with the full content from the table; for an id that is not loaded,
  // the row as the table holds it. A record with id 0 when there is none, or when the table
  // cannot be read.
  ReminderRecord CopyReminder(int id);
  // id, ksdate and txbt of the row with the highest id; 1 when a row was read.
  int ReadNewestReminder(int& id, double& start, std::string& title);
  std::string ReadReminderContent(int id);  // txnr in full; empty when there is no row
  std::string ReadReminderTitle(int id);
  // Takes the rows of txsj with an id above `afterId` (those an import has just added) into
  // the list with the adjustments of a load, in ksdate, then id, order after the reminders
  // already loaded, which keep what this run gave them (a pause until the next load, a
  // counter). `added`, when given, receives the rows as read, whole. 1 when they read, 0 and
  // nothing taken when the query failed.
  int LoadRemindersAfter(int afterId, ReminderList* added = nullptr);

  // --- Writes ------------------------------------------------------------------------------
  // Inserts (id 0 or less) or updates the row; an update that changes no row fails. On
  // success the list holds a copy with the notice fields computed, and after an insert the
  // caller's record holds the new id and the stored content.
  int SaveReminder(ReminderRecord& record);
  // flag 1 sets a remind-again at `when`; any other flag clears it (txdate back to ksdate).
  // An id that is not loaded gives 0 and nothing is written.
  int SetRemindAgain(int id, int flag, double when);
  // Stores the counter of a loaded reminder (the list already holds it); 0 for an id that is
  // not loaded.
  int SetRepeatCounter(int id, int counter);
  // mode 0 resumes, 1 pauses (both stored), 2 pauses until the next load; 0 for an id that
  // is not loaded or another mode.
  int SetPaused(int id, int mode);

  // --- Reads for the windows ----------------------------------------------------------------
  // Rows whose title ("提醒标题："), content ("提醒内容：") or category ("提醒类型：") holds
  // `text`, whose repeat mode's name holds it ("提醒方式："), or every row for an empty
  // label, in ksdate order; the target receives whole rows, the full content included.
  // Another label gives no rows.
  int SearchReminders(std::string_view label, std::string_view text, ReminderList& target);
  // The items of the category box: "全部提醒" first when addAll is 1, then the categories
  // in use, or "普通提醒" when there are none.
  std::vector<std::string> CategoryComboItems(int addAll);

  // --- The schedule ----------------------------------------------------------------------
  // The reminders firing in the one given second, copied into `out` in list order, with the
  // remind-again resets and total repeat counters written to the table. A second call for
  // the second checked just before reports nothing, and a second checked again within the
  // hour (the clock was set back, or daylight saving ended) reports only the reminders that
  // did not fire in it, nor
  // were put off by a remind-again, the first time: no reminder fires twice. A reminder saved
  // since is a new one and fires; so does a remind-again set since for that second.
  void CollectDueReminders(double second, ReminderList& out);
  // Copies of the reminders listed on the day, in list order.
  void CollectRemindersOnDay(double day, ReminderList& out) const;
  int CountRemindersOnDay(double day) const;
  // The reminders listed on each of `count` days from `firstDay`, as positions in
  // Reminders(): a month view's 42 days without a copy of any record.
  void CollectDays(double firstDay, int count, DayLists& out) const;
  int GetReminderState(const ReminderRecord& record) const;  // at the clock's now

  // --- The "admin" row of yhsj -------------------------------------------------------------
  int VerifyPassword(std::string_view typed);  // its stored form equals mm byte for byte
  std::string ReadPasswordHash();              // mm of the first row; empty without a row
  // The same, but nullopt when the table cannot be read (no open file, a damaged page).
  std::optional<std::string> ReadStoredPasswordHash();
  int StorePassword(std::string_view storedForm);
  int StoreAdminRights(const ProtectedActions& rights);
  int StoreLoginMode(int flag);  // stores 1 for any flag but 0
  // The six flags; a column the table lacks reads 0. The result is that of the query.
  int ReadAdminRights(ProtectedActions& rights);

 private:
  int Execute(const std::string& sql);  // 1 only when the statement ran and changed a row
  int WriteRemindAgain(int id, int flag, double stored);
  // What a load does to the rows it takes, on list_ from `first` on: a remind-again whose
  // moment passed is reset (in the table, the list and `asRead`, the rows as read from
  // `first` on); a run since the load starts now, a per-run counter at 0, notices computed.
  void ResetSpentRemindAgains(std::size_t first, ReminderList* asRead, double loadTime);
  void StartLoadedRuns(std::size_t first, double loadTime);

  platform::db::Connection connection_;
  platform::db::RecordSet records_;
  ReminderList list_;
  ScheduleIndex schedule_;  // follows every change of list_
  std::string path_;
  std::string password_;
  std::function<void(std::string_view)> plainMessage_;
  bool checkedAny_ = false;
  std::int64_t lastCheckedSecond_ = 0;
  RecentFirings recent_;
  std::vector<int> putOff_;  // the ids one check's remind-agains held back
};

}  // namespace workmemo
