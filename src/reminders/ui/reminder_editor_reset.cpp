// The editor's starting states: the reset after opening, after an add and on 恢复默认设置,
// and the load of an existing reminder into the units; the weekday buttons from a list.
#include "common/lunar_names.h"
#include "common/text_routines.h"
#include "platform/clock/clock.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_editor.h"
#include "reminders/ui/reminder_editor_units.h"
#include "shell/data_files.h"
#include "shell/module_seams.h"
#include "shell/run_state.h"
#include "shell/settings.h"

namespace workmemo {

namespace ui = platform::ui;
using namespace editor;

namespace {

void SetTimeBoxes(const std::string_view (&boxes)[6], double time) {
  const DateTimeParts p = SplitDateTime(time);
  SetText(boxes[3], std::to_string(p.hour));
  SetText(boxes[4], std::to_string(p.minute));
  SetText(boxes[5], std::to_string(p.second));
}

void SetBothGroups(double moment) {
  SetDateBoxes(kStartBoxes, moment);
  SetDateBoxes(kEndBoxes, moment);
  SetTimeBoxes(kStartBoxes, moment);
  SetTimeBoxes(kEndBoxes, moment);
}

void ShowEndDate(bool shown) {
  ShowGroup(kEndDateFrame, shown);
  Unit(kEndDateLabel).SetVisible(shown);
}

void ShowEndTime(bool shown) {
  ShowGroup(kEndTimeFrame, shown);
  Unit(kEndTimeLabel).SetVisible(shown);
}

// The day the month calendar page shows, at the time of day of now; now without one.
double StartOfFullReset(double now) {
  if (!Seams().CalendarShownDay) return now;
  const std::optional<double> day = Seams().CalendarShownDay();
  if (!day) return now;
  return DateOf(*day) + (now - DateOf(now));
}

void SelectMode(int index) {
  Combo(kModeCombo).SetCurrentIndex(index);
  SelectRepeatMode();
}

// Ticks every weekday, or none, then flips the ones the list names.
void ApplyWeekdays(std::string_view list, int listed) {
  for (int weekday = 1; weekday <= 7; ++weekday) SetWeekday(weekday, listed == 1 ? 0 : 1);
  std::size_t from = 0;
  while (from <= list.size()) {
    std::size_t to = list.find('-', from);
    if (to == std::string_view::npos) to = list.size();
    const std::string_view element = list.substr(from, to - from);
    if (element.size() == 1 && element[0] >= '1' && element[0] <= '7') SetWeekday(element[0] - '0', listed);
    from = to + 1;
  }
}

std::string WeekdayList(int state) {
  std::string list;
  for (int weekday = 1; weekday <= 7; ++weekday) {
    if ((IsTicked(kWeekdayButtons[weekday - 1]) == 1) != (state == 1)) continue;
    if (!list.empty()) list += "-";
    list += std::to_string(weekday);
  }
  return list;
}

void ShowLunarBoxes(std::string_view monthBox, std::string_view dayBox, std::string_view monthList,
                    std::string_view dayList, const ReminderRecord& r) {
  const int month = TextToInteger(r.txmonth);
  const int leap = ToFlag(r.nlry);
  // The leap mark stays on the month's name, so saving the reminder again keeps it a leap month.
  SetText(monthBox, FormatLunarMonth(month, leap == 1 ? month : 0));
  SetText(dayBox, FormatLunarDay(TextToInteger(r.txdays)));
  FillLunarMonthList(Combo(monthList), r.nlyear);
  FillLunarDayList(Combo(dayList), r.nlyear, month, leap);
}

}  // namespace

void ResetReminderEditor(int keep) {
  ReminderEditorState& state = Editor();
  state.EditorReminder = state.EmptyReminder;
  const double now = platform::clock::Now();
  SetBothGroups(now);
  if (keep == 1) {
    if (Is(kTimeLabel, kCountdown)) {
      for (int i = 3; i < 6; ++i) SetText(kStartBoxes[i], "00");
    }
    SetText(kTitleBox, "");
    SetText(kContentBox, "");
    const int mode = RepeatModeFromName(Text(kModeBox));
    if (mode >= RepeatMode::Daily && mode <= RepeatMode::LunarYearly) SelectMode(mode);
  } else {
    SetText(kDateLabel, kSingleDate);
    ShowEndDate(false);
    ShowEndTime(false);
    HideModeBoxes();
    ShowGroup(kShutdownBox, false);
    ShowGroup(kNoticeBox, true);
    SetTick(kNoPopupTick, 0);
    SetDateBoxesEnabled(true);
    SetText(kTimeLabel, kTimeOfDay);
    SetText(kModeBox, "一次");
    Combo(kModeCombo).SetCurrentIndex(0);
    SetText(kTaskBox, kRemind);
    Combo(kTaskCombo).SetCurrentIndex(0);
    SetText("关机延时框", "30");
    SetText(kTitleBox, "");
    SetText(kContentBox, "");
    SetText("关闭窗口框", "0");
    SetText("提前时间框", "0");
    SetText(kProgramBox, "");
    SetText(kWebBox, "");
    Open()->datePicker.Close();
    SelectMode(0);
    SetBothGroups(StartOfFullReset(now));
  }
  SetText(kSoundBox, AccessConfigItem("tx", "txyy", {}, true));
  CorrectStartGroup();
  CorrectEndGroup();
  Focus(kContentBox);
}

void LoadReminderIntoEditor() {
  ReminderEditorState& state = Editor();
  state.EditorReminder = Databases().Reminders.CopyReminder(Run().EditedReminderId);
  const ReminderRecord& r = state.EditorReminder;
  SetDateBoxes(kStartBoxes, r.ksdate);
  SetTimeBoxes(kStartBoxes, r.ksdate);
  SetDateBoxes(kEndBoxes, r.jsdate);
  SetTimeBoxes(kEndBoxes, r.jstime);
  CorrectStartGroup();
  CorrectEndGroup();

  bool single = true;
  if (!IsSameSecond(r.ksdate, r.jsdate)) {
    single = r.cfdw == IntervalUnit::Minute && DayNumber(r.ksdate) == DayNumber(r.jsdate);
  }
  SetText(kDateLabel, single ? kSingleDate : kDateRange);
  ShowEndDate(!single);
  if (r.djsj > 0) {
    SetText("时框", std::to_string(r.djsj / 3600));
    SetText("分框", std::to_string(r.djsj % 3600 / 60));
    SetText("秒框", std::to_string(r.djsj % 60));
    ShowEndDate(false);
    SetDateBoxesEnabled(false);
    SetText(kTimeLabel, kCountdown);
    ShowEndTime(false);
    CorrectStartGroup();
  } else {
    const bool window = !IsSameSecond(TimeOf(r.kstime), TimeOf(r.jstime));
    SetText(kTimeLabel, window ? kDailyWindow : kTimeOfDay);
    ShowEndTime(window);
  }
  SetTick(kForceTick, r.qzzx == 1 ? 1 : 0);
  SetTick(kNoPopupTick, r.txdz == 1 ? 1 : 0);

  SetText(kModeBox, RepeatModeName(r.txfs, 0));
  SetText(kTaskBox, TaskName(r.txrw));
  SetText(kCategoryBox, r.txlx);
  SetText(kTitleBox, r.txbt);
  SetText(kContentBox, r.txnr);
  SetText(kSoundBox, r.txyy);
  SetText(kProgramBox, r.txcx);
  SetText(kWebBox, r.txwy);
  SetText("提前单位标签", DatePartName(r.tqdw));
  SetText("提前时间框", std::to_string(r.tqsj));
  SetText("重复次数框", std::to_string(r.cfcs));
  SetText("重复次数单位标签", CountUnitName(r.cfcsdw));
  SetText("关闭窗口框", std::to_string(r.gbcksj));
  SetText("关机延时框", std::to_string(r.gjys));

  HideModeBoxes();
  const bool singleDate = Is(kDateLabel, kSingleDate);
  const std::string mode = Text(kModeBox);
  if (mode == "每天" || mode == "每周") {
    ShowGroup(kWeekBox, true);
    if (mode == "每天") {
      ApplyNoWeekdayList(r.notxweek);
    } else {
      ApplyWeekdayList(r.txweek);
    }
  } else if (mode == "每月") {
    ShowGroup(kMonthlyBox, true);
    SetText("提醒日选择框_每月", r.txdays);
  } else if (mode == "每年") {
    ShowGroup(kYearlyBox, true);
    SetText("提醒月选择框_每年", r.txmonth);
    SetText("提醒日选择框_每年", r.txdays);
    FillMonthNumberList(Combo("月份选择组合框_每年"));
    FillDayNumberList(Combo("日选择组合框_每年"), NumberOf("年框"), NumberOf("月框"));
  } else if (mode == "循环") {
    ShowGroup(kIntervalBox, true);
    SetText("重复时间框", std::to_string(r.cfsj));
    SetText(kUnitLabel, IntervalUnitName(r.cfdw));
  } else if (mode == "农历(一次)") {
    SetText("提醒年选择框_农历一次", std::to_string(r.nlyear));
    ShowLunarBoxes("提醒月选择框_农历一次", "提醒日选择框_农历一次", "月份选择组合框_农历一次",
                   "日选择组合框_农历一次", r);
    ShowGroup(kLunarOnceBox, true);
  } else if (mode == "农历(每月)") {
    SetText("提醒日选择框_农历每月", FormatLunarDay(TextToInteger(r.txdays)));
    ShowGroup(kLunarMonthlyBox, true);
  } else if (mode == "农历(每年)") {
    ShowLunarBoxes("提醒月选择框_农历每年", "提醒日选择框_农历每年", "月份选择组合框_农历每年",
                   "日选择组合框_农历每年", r);
    ShowGroup(kLunarYearlyBox, true);
  }
  if (singleDate && mode != "一次" && mode != "循环") SetDateBoxesEnabled(false);
  ShowTaskBoxes(Text(kTaskBox));
}

void ApplyWeekdayList(std::string_view list) { ApplyWeekdays(list, 1); }
void ApplyNoWeekdayList(std::string_view list) { ApplyWeekdays(list, 0); }

std::string BuildWeekdayList() { return WeekdayList(1); }
std::string BuildNoWeekdayList() { return WeekdayList(0); }

}  // namespace workmemo
