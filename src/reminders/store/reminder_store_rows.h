#pragma once
// The texts of one reminder's row in a plain list (state picture, date, time, category,
// short mode name, title or content) and the filters of the lists by kind.
#include <string>
#include <string_view>

#include "reminders/store/reminder_record.h"

namespace workmemo {

struct ReminderRowTexts {
  int icon = 0;  // GetReminderState
  int id = 0;
  std::string date;      // lunar modes: the lunar date with month and day in two digits
  std::string time;      // time of day of ksdate, or of jsdate
  std::string category;  // txlx
  std::string mode;      // short repeat-mode name
  std::string text;      // title, or content
};

// The row of a record at `now`. `timeOfStart` picks ksdate's time of day (else jsdate's);
// `title` picks txbt (else txnr).
ReminderRowTexts MakeReminderRowTexts(const ReminderRecord& r, double now, bool timeOfStart, bool title);

// Whether a record passes the list filter "全部", "今天", "过期", "暂停", "一次", "每天",
// "每周", "每月", "每年" or "循环" at `now`; an unknown filter passes nothing.
bool PassesReminderFilter(const ReminderRecord& r, std::string_view filter, double now);

}  // namespace workmemo
