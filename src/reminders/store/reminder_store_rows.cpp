// Row texts and list filters of the plain reminder lists.
#include "reminders/store/reminder_store_rows.h"

#include "common/date_format.h"
#include "common/text_routines.h"
#include "reminders/store/calendar.h"
#include "reminders/store/schedule.h"

namespace workmemo {
namespace {

std::string DateText(const ReminderRecord& r) {
  const auto pad = [](std::string_view t) { return PadTwoDigits(TextToInteger(t)); };
  const DateTimeParts k = SplitDateTime(r.ksdate);
  switch (r.txfs) {
    case RepeatMode::LunarOnce:
      return std::to_string(r.nlyear) + "-" + pad(r.txmonth) + "-" + pad(r.txdays);
    case RepeatMode::LunarMonthly:
      return std::to_string(k.year) + "-" + PadTwoDigits(k.month) + "-" + pad(r.txdays);
    case RepeatMode::LunarYearly:
      return std::to_string(k.year) + "-" + pad(r.txmonth) + "-" + pad(r.txdays);
    default:
      return FormatDateTime(r.ksdate, 1);
  }
}

}  // namespace

ReminderRowTexts MakeReminderRowTexts(const ReminderRecord& r, double now, bool timeOfStart, bool title) {
  ReminderRowTexts row;
  row.icon = GetReminderState(r, now);
  row.id = r.id;
  row.date = DateText(r);
  row.time = FormatDateTime(timeOfStart ? r.ksdate : r.jsdate, 2);
  row.category = r.txlx;
  row.mode = RepeatModeName(r.txfs, 1);
  row.text = title ? r.txbt : r.txnr;
  return row;
}

bool PassesReminderFilter(const ReminderRecord& r, std::string_view filter, double now) {
  if (filter == "全部") return true;
  if (filter == "今天") return FallsOnDay(r, MakeCheckMoment(DateOf(now)));
  if (filter == "过期") {
    const int state = GetReminderState(r, now);
    return state == ReminderState::Passed || state == ReminderState::Expired;
  }
  if (filter == "暂停") return r.txzt == 1;
  if (filter == "一次") return r.txfs == RepeatMode::Once || r.txfs == RepeatMode::LunarOnce;
  if (filter == "每天") return r.txfs == RepeatMode::Daily;
  if (filter == "每周") return r.txfs == RepeatMode::Weekly;
  if (filter == "每月") return r.txfs == RepeatMode::Monthly || r.txfs == RepeatMode::LunarMonthly;
  if (filter == "每年") return r.txfs == RepeatMode::Yearly || r.txfs == RepeatMode::LunarYearly;
  if (filter == "循环") return r.txfs == RepeatMode::Interval;
  return false;
}

}  // namespace workmemo
