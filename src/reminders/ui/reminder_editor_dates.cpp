// The date and time boxes of the reminder editor, the drop-down calendar that fills them, and
// the month, day and lunar pickers of the repeat modes, which move the start date to the day
// they stand for.
#include <algorithm>

#include "common/days_in_month.h"
#include "common/lunar_names.h"
#include "common/text_routines.h"
#include "platform/clock/clock.h"
#include "platform/lunar/lunar.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/store/next_dates.h"
#include "reminders/ui/reminder_editor.h"
#include "reminders/ui/reminder_editor_units.h"
#include "shell/shell_services.h"

namespace workmemo::editor {

namespace ui = platform::ui;

namespace {

constexpr int kStartPickerLeft = 8;
constexpr int kEndPickerLeft = 310;
constexpr int kPickerTop = 98;
// The lunar years the year list offers: those the lunar calendar knows.
constexpr int kLunarYearsAhead = 4;
constexpr int kLunarYearsBack = 105;

void Correct(const std::string_view (&boxes)[6], int maxHour) {
  CorrectDateTimeFields(Unit(boxes[0]), Unit(boxes[1]), Unit(boxes[2]), Unit(boxes[3]), Unit(boxes[4]),
                        Unit(boxes[5]), maxHour);
}

// The calendar opens on a single date only for the modes whose date the user sets freely.
bool DateIsFree() {
  return Is(kDateLabel, kDateRange) || Is(kModeBox, "一次") || Is(kModeBox, "循环");
}

void ToggleDatePicker(int target, int left, const std::string_view (&boxes)[6], bool secondPressCloses) {
  DropDownDatePicker& picker = Open()->datePicker;
  picker.MoveTo(left, kPickerTop);
  Editor().DatePickerTarget = target;
  if (!DateIsFree() || (secondPressCloses && picker.IsOpen())) {
    picker.Close();
    return;
  }
  picker.OpenAt(Unit(boxes[0]), Unit(boxes[1]), Unit(boxes[2]));
}

void ToggleStartDatePicker() { ToggleDatePicker(1, kStartPickerLeft, kStartBoxes, true); }

// With a date range a second press does not close the end date's calendar.
void ToggleEndDatePicker() { ToggleDatePicker(2, kEndPickerLeft, kEndBoxes, Is(kDateLabel, kSingleDate)); }

void PickCalendarDate(int x, int y) {
  const auto& boxes = Editor().DatePickerTarget == 2 ? kEndBoxes : kStartBoxes;
  Open()->datePicker.Press(x, y, Unit(boxes[0]), Unit(boxes[1]), Unit(boxes[2]));
}

void CorrectDateFieldsOnLeave() {
  CorrectStartGroup();
  CorrectEndGroup();
}

void SetStartDate(double date) {
  SetDateBoxes(kStartBoxes, date);
  CorrectStartGroup();
}

std::string ChosenItem(std::string_view comboName) {
  const ui::ComboBox& combo = Combo(comboName);
  return combo.ItemText(combo.CurrentIndex());
}

bool LeapOf(std::string_view monthBox) { return CarriesLeapMark(Text(monthBox)); }

void MoveStartDateToMonthDay(int day) {
  const std::string label = Text(kDateLabel);
  if (label.empty()) {
    if (Services().ShowPlainMessageBox) Services().ShowPlainMessageBox("信息显示错误，请点击取消按钮刷新界面！");
    return;
  }
  if (label != kSingleDate) return;
  const double date = NextDateWithDay(day, platform::clock::Now());
  SetDateBoxes(kStartBoxes, date);
  SetDateBoxes(kEndBoxes, date);
  CorrectStartGroup();
  CorrectDateTimeFields(Unit("年框1"), Unit("月框1"), Unit("日框1"), Unit("时框"), Unit("分框"), Unit("秒框"));
}

void ChooseMonthlyDay() {
  SetText("提醒日选择框_每月", ChosenItem("日选择组合框_每月"));
  SetText("日框", Text("提醒日选择框_每月"));
  MoveStartDateToMonthDay(NumberOf("提醒日选择框_每月"));
  Focus("提醒日选择框_每月");
}

void ChooseYearlyMonth() {
  SetText("提醒月选择框_每年", ChosenItem("月份选择组合框_每年"));
  const int year = NumberOf("年框");
  const int month = NumberOf("提醒月选择框_每年");
  const int days = DaysInMonth(year, month);
  if (NumberOf("提醒日选择框_每年") > days) SetText("提醒日选择框_每年", std::to_string(days));
  FillDayNumberList(Combo("日选择组合框_每年"), year, month);
  SetText("月框", Text("提醒月选择框_每年"));
  SetText("日框", Text("提醒日选择框_每年"));
  CorrectStartGroup();
  Focus("提醒月选择框_每年");
}

void ChooseYearlyDay() {
  SetText("提醒日选择框_每年", ChosenItem("日选择组合框_每年"));
  SetText("日框", Text("提醒日选择框_每年"));
  CorrectStartGroup();
  Focus("提醒日选择框_每年");
}

// The day box of a lunar picker kept within the month's days; the day it then holds.
int ClampLunarDay(std::string_view dayBox, int year, int month, int leap) {
  const int days = platform::lunar::LunarMonthDays(year, month, leap);
  const int day = ParseLunarDay(Text(dayBox));
  if (day <= days) return day;
  SetText(dayBox, FormatLunarDay(days));
  return days;
}

void SetStartDateFromLunar(int year, int month, int day, int leap) {
  double solar = 0;
  if (platform::lunar::LunarToSolar(year, month, day, leap, solar)) SetDateBoxes(kStartBoxes, solar);
  CorrectStartGroup();
}

// A leap month's name stays only in a year whose leap month it is. The date boxes then go to
// that leap month's day, since a lunar-once reminder fires on the date they hold.
void ChooseLunarOnceYear() {
  SetText("提醒年选择框_农历一次", ChosenItem("年份选择组合框_农历一次"));
  const int year = NumberOf("提醒年选择框_农历一次");
  const int month = ParseLunarMonth(Text("提醒月选择框_农历一次"));
  int leap = 0;
  if (LeapOf("提醒月选择框_农历一次") && platform::lunar::LunarLeapMonth(year) == month) {
    leap = 1;
  } else {
    SetText("提醒月选择框_农历一次", FormatLunarMonth(month, 0));
  }
  const int day = ClampLunarDay("提醒日选择框_农历一次", year, month, leap);
  SetStartDateFromLunar(year, month, day, leap);
  FillLunarMonthList(Combo("月份选择组合框_农历一次"), year);
  FillLunarDayList(Combo("日选择组合框_农历一次"), year, month, leap);
}

// A lunar month chosen for the date of `year`: the day kept within the month, the start date
// moved, the day list refilled.
void ChooseLunarMonth(std::string_view monthList, std::string_view monthBox, std::string_view dayBox,
                      std::string_view dayList, int year) {
  SetText(monthBox, ChosenItem(monthList));
  const int month = ParseLunarMonth(Text(monthBox));
  const int leap = LeapOf(monthBox) ? 1 : 0;
  const int day = ClampLunarDay(dayBox, year, month, leap);
  SetStartDateFromLunar(year, month, day, leap);
  FillLunarDayList(Combo(dayList), year, month, leap);
}

// A lunar day chosen: the start date moves to it; the list offers only days of the month.
void ChooseLunarDay(std::string_view dayList, std::string_view monthBox, std::string_view dayBox, int year) {
  SetText(dayBox, ChosenItem(dayList));
  SetStartDateFromLunar(year, ParseLunarMonth(Text(monthBox)), ParseLunarDay(Text(dayBox)), LeapOf(monthBox) ? 1 : 0);
}

int ThisSolarYear() { return SplitDateTime(platform::clock::Now()).year; }

void ChooseLunarOnceMonth() {
  ChooseLunarMonth("月份选择组合框_农历一次", "提醒月选择框_农历一次", "提醒日选择框_农历一次", "日选择组合框_农历一次",
                   NumberOf("提醒年选择框_农历一次"));
}

void ChooseLunarOnceDay() {
  ChooseLunarDay("日选择组合框_农历一次", "提醒月选择框_农历一次", "提醒日选择框_农历一次",
                 NumberOf("提醒年选择框_农历一次"));
}

// The lunar-yearly pickers date the reminder in this solar year.
void ChooseLunarYearlyMonth() {
  ChooseLunarMonth("月份选择组合框_农历每年", "提醒月选择框_农历每年", "提醒日选择框_农历每年", "日选择组合框_农历每年",
                   ThisSolarYear());
}

void ChooseLunarYearlyDay() {
  ChooseLunarDay("日选择组合框_农历每年", "提醒月选择框_农历每年", "提醒日选择框_农历每年", ThisSolarYear());
}

void ChooseLunarMonthlyDay() {
  SetText("提醒日选择框_农历每月", ChosenItem("日选择组合框_农历每月"));
  SetStartDate(NextDateWithLunarDay(ParseLunarDay(Text("提醒日选择框_农历每月")), platform::clock::Now()));
}

}  // namespace

void CorrectBoxBeingTyped() {
  for (const auto* group : {&kStartBoxes, &kEndBoxes}) {
    for (std::string_view box : *group) {
      if (Unit(box).HasFocus()) {
        CorrectDateFieldsOnLeave();
        return;
      }
    }
  }
}

void CorrectStartGroup() {
  Correct(kStartBoxes, Is(kTimeLabel, kCountdown) ? kCountdownMaxHour : kTimeOfDayMaxHour);
}

void CorrectEndGroup() { Correct(kEndBoxes, kTimeOfDayMaxHour); }

void SetDateBoxes(const std::string_view (&boxes)[6], double date) {
  const DateTimeParts p = SplitDateTime(date);
  SetText(boxes[0], std::to_string(p.year));
  SetText(boxes[1], PadTwoDigits(p.month));
  SetText(boxes[2], PadTwoDigits(p.day));
}

void CopyStartDateToEnd() {
  for (int i = 0; i < 3; ++i) SetText(kEndBoxes[i], Text(kStartBoxes[i]));
}

void FillLunarMonthList(ui::ComboBox& combo, int) {
  combo.ClearItems();
  for (int month = 1; month <= 12; ++month) combo.AddItem(FormatLunarMonth(month, 0));
}

void FillLunarYearList(ui::ComboBox& combo) {
  combo.ClearItems();
  platform::lunar::LunarDate today;
  if (!platform::lunar::SolarToLunar(platform::clock::Now(), today)) return;
  const int newest = std::min(today.year + kLunarYearsAhead, platform::lunar::kLastYear);
  const int oldest = std::max(today.year - kLunarYearsBack, platform::lunar::kFirstYear);
  for (int year = newest; year >= oldest; --year) combo.AddItem(std::to_string(year));
}

void FillLunarDayNameList(ui::ComboBox& combo) {
  combo.ClearItems();
  for (int day = 1; day <= 30; ++day) combo.AddItem(FormatLunarDay(day));
}

int FillLunarDayList(ui::ComboBox& combo, int year, int month, int leap) {
  combo.ClearItems();
  const int days = platform::lunar::LunarMonthDays(year, month, leap);
  for (int day = 1; day <= days; ++day) combo.AddItem(FormatLunarDay(day));
  return days;
}

void FillMonthNumberList(ui::ComboBox& combo) {
  combo.ClearItems();
  for (int month = 1; month <= 12; ++month) combo.AddItem(std::to_string(month));
}

void FillDayNumberList(ui::ComboBox& combo, int year, int month) {
  combo.ClearItems();
  const int days = DaysInMonth(year, month);
  for (int day = 1; day <= days; ++day) combo.AddItem(std::to_string(day));
}

void BindDateHandlers(ui::Window& window) {
  using ui::Event;
  for (const auto* group : {&kStartBoxes, &kEndBoxes}) {
    for (std::string_view box : *group) {
      window.On(box, Event::FocusLost, [](ui::EventArgs&) { CorrectDateFieldsOnLeave(); });
      window.On(box, Event::LeftUp, [box](ui::EventArgs&) { Unit(box).As<ui::EditBox>().SelectAll(); });
    }
  }
  window.On("月历下拉按钮", Event::Clicked, [](ui::EventArgs&) { ToggleStartDatePicker(); });
  window.On("月历下拉按钮1", Event::Clicked, [](ui::EventArgs&) { ToggleEndDatePicker(); });
  window.On("画板1", Event::LeftDown, [](ui::EventArgs& a) { PickCalendarDate(a.x, a.y); });
  window.On("画板1", Event::MouseMove, [](ui::EventArgs& a) { Open()->datePicker.Hover(a.x, a.y); });

  struct Choice {
    std::string_view list;
    void (*handler)();
  };
  const Choice choices[] = {
      {"日选择组合框_每月", ChooseMonthlyDay},          {"月份选择组合框_每年", ChooseYearlyMonth},
      {"日选择组合框_每年", ChooseYearlyDay},           {"年份选择组合框_农历一次", ChooseLunarOnceYear},
      {"月份选择组合框_农历一次", ChooseLunarOnceMonth}, {"日选择组合框_农历一次", ChooseLunarOnceDay},
      {"日选择组合框_农历每月", ChooseLunarMonthlyDay},  {"月份选择组合框_农历每年", ChooseLunarYearlyMonth},
      {"日选择组合框_农历每年", ChooseLunarYearlyDay},
  };
  for (const Choice& c : choices) window.On(c.list, Event::Changed, [h = c.handler](ui::EventArgs&) { h(); });
}

}  // namespace workmemo::editor
