#pragma once
// One timed reminder in memory, the list the store keeps, and the code tables that turn the
// integer codes of the reminder table into their display names and back.
#include <string>
#include <string_view>
#include <vector>

namespace workmemo {

// Codes are plain ints in the record (a row may carry any value); these give them names.
struct RepeatMode {
  enum : int {
    Once = 0, Daily = 1, Weekly = 2, Monthly = 3, Yearly = 4, Interval = 5,
    LunarOnce = 6, LunarMonthly = 7, LunarYearly = 8,
  };
};

struct ReminderTask {
  enum : int { Remind = 0, Shutdown = 1, LogOff = 2, Restart = 3, MonitorOff = 4, LockComputer = 5 };
};

struct IntervalUnit {
  enum : int {
    Second = 0, Minute = 1, Hour = 2, Day = 3, Week = 4, Month = 5, Year = 6,
    DayDigit = 7,         // the days of the month whose number ends like the amount
    MinuteSinceLoad = 8,  // every amount of minutes from the last load or save
  };
};

struct RepeatCountUnit {
  enum : int {
    TimesPerRun = 0,  // the counter lives in memory only
    TimesTotal = 1,   // the counter is written to the table after each real firing
  };
};

struct ReminderState {
  enum : int {
    Pending = 0, Passed = 1, Recurring = 2, Paused = 3, PendingInRange = 4, Expired = 5,
    RecurringInRange = 6, PausedInRange = 7, Flagged = 8,
  };
};

// Date-arithmetic parts; the advance-notice unit uses Day, Hour and Minute.
struct DatePart {
  enum : int { Year = 1, Quarter = 2, Month = 3, Week = 4, Day = 5, Hour = 6, Minute = 7, Second = 8 };
};

// The loaded columns of one row of txsj plus the advance-notice state. Date-times are serial
// days (platform::clock); texts are GB18030 and empty when absent. A plain value: every copy
// is deep.
struct ReminderRecord {
  int id = 0;  // 0 or less: not stored yet
  int nlyear = 0;  // beside id: two ints fill one eight-byte slot, a record is 8 bytes smaller
  double ksdate = 0;
  double jsdate = 0;
  double kstime = 0;
  double jstime = 0;
  double ExtraTime1 = 0;
  int txfs = 0;  // RepeatMode
  int txrw = 0;  // ReminderTask
  int cfsj = 0;  // interval amount (DayDigit: the day digit)
  int cfdw = 0;  // IntervalUnit
  int tqsj = 0;  // advance-notice amount; 0 = none
  int tqdw = 0;  // advance-notice unit, a DatePart
  double ExtraTime2 = 0;
  std::string txweek;    // weekdays (1 = Sunday) joined by "-" on which a weekly reminder fires
  std::string notxweek;  // weekdays on which a daily reminder does not fire
  std::string txmonth;
  std::string txdays;
  std::string txlx;  // category
  std::string txbt;  // title
  std::string txnr;  // content
  std::string txyy;  // sound file
  std::string txcx;  // program
  std::string txwy;  // web page
  int xctx = 0;      // 1 = a remind-again at txdate is pending
  int txzt = 0;      // 1 = paused
  double txdate = 0;
  int nlry = 0;  // non-zero: the lunar month is the leap month
  int IsNoticeFiring = 0;
  double NoticeTime = 0;
  int cfcs = 0;    // repeat limit; 0 = unlimited
  int cfjs = 0;    // repeat counter
  int cfcsdw = 0;  // RepeatCountUnit
  int bytx = 0;
  int NoticeUnitsLeft = 0;
  int djsj = 0;
  int gbcksj = 0;
  int gjys = 0;
  int qzzx = 0;
  int txdz = 0;
};

// The store's list and every array of records it fills for a caller. Positions handed out
// by the store are 1-based (0 = not found): element p is list[p - 1].
using ReminderList = std::vector<ReminderRecord>;

// 1-based position of the first record with that id, 0 when there is none.
int FindReminderIndex(const ReminderList& list, int id);
// Removes the first record with that id: 1, or 0 when there is none (list unchanged).
int RemoveReminderById(ReminderList& list, int id);
// Puts the records in a new order, in place: element k becomes the record that stood at
// order[k] (0-based; `order` holds every position once). A second list of whole records would
// double the memory of a large list for a moment.
void ArrangeReminders(ReminderList& list, const std::vector<int>& order);

// Code tables. Names are compared byte for byte; unknown codes give an empty name.
std::string RepeatModeName(int code, int style);  // style 1: short lunar names ("*...")
int RepeatModeFromName(std::string_view name);    // -1 when unknown
std::string TaskName(int code);
int TaskFromName(std::string_view name);  // -1 when unknown
std::string IntervalUnitName(int code);
int IntervalUnitFromName(std::string_view name);  // 0 when unknown
int NoticeUnitFromName(std::string_view name);    // minute 7, hour 6, anything else day 5
std::string DatePartName(int part);               // empty outside 1..8
int CountUnitFromName(std::string_view name);     // 0 when unknown
std::string CountUnitName(int code);              // TimesTotal has its own name, all else TimesPerRun's

}  // namespace workmemo
