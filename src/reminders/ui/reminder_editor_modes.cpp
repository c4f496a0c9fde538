// The three switches that shape a reminder: repeat mode, date kind and time kind. Each choice
// is tested against the other two and the task; a refused one shows its message and changes
// nothing, an accepted one shows the mode's box and presets the date and time boxes.
#include <algorithm>

#include "common/lunar_names.h"
#include "platform/clock/clock.h"
#include "platform/lunar/lunar.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/store/next_dates.h"
#include "reminders/ui/reminder_editor.h"
#include "reminders/ui/reminder_editor_units.h"

namespace workmemo::editor {

namespace ui = platform::ui;

namespace {

std::string ChosenItem(std::string_view comboName) {
  const ui::ComboBox& combo = Combo(comboName);
  return combo.ItemText(combo.CurrentIndex());
}

bool Refused(const std::string& message) {
  if (message.empty()) return false;
  ShowMessage(message);
  return true;
}

// The lunar boxes of 农历(一次) and 农历(每年) from today; a day of a leap month moves the
// date boxes to the same day of the ordinary month of that number, or to its last day when
// the ordinary month is a day shorter.
void PresetLunarBoxes(std::string_view yearBox, std::string_view monthBox, std::string_view dayBox,
                      std::string_view monthList, std::string_view dayList) {
  platform::lunar::LunarDate today;
  if (!platform::lunar::SolarToLunar(platform::clock::Now(), today)) return;
  const int day = std::min(today.day, platform::lunar::LunarMonthDays(today.year, today.month, 0));
  if (today.leap == 1) {
    double ordinary = 0;
    if (platform::lunar::LunarToSolar(today.year, today.month, day, 0, ordinary)) {
      SetDateBoxes(kStartBoxes, ordinary);
      SetDateBoxes(kEndBoxes, ordinary);
    }
  }
  if (!yearBox.empty()) SetText(yearBox, std::to_string(today.year));
  SetText(monthBox, FormatLunarMonth(today.month, 0));
  SetText(dayBox, FormatLunarDay(day));
  FillLunarMonthList(Combo(monthList), today.year);
  FillLunarDayList(Combo(dayList), today.year, today.month, 0);
}

// The weekday of the first ticked button in the order Monday .. Saturday, Sunday; 0 for none.
int FirstTickedFromMonday() {
  for (int weekday : {2, 3, 4, 5, 6, 7, 1}) {
    if (Editor().WeekdayTicked[weekday - 1] == 1) return weekday;
  }
  return 0;
}

}  // namespace

void SelectRepeatMode() {
  const std::string mode = ChosenItem(kModeCombo);
  if (Refused(RefuseRepeatMode(Shape(), mode))) return;
  SetText(kModeBox, mode);
  HideModeBoxes();
  SetDateBoxesEnabled(true);
  const double now = platform::clock::Now();
  SetDateBoxes(kStartBoxes, now);
  SetDateBoxes(kEndBoxes, now);
  CorrectStartGroup();
  const bool single = Is(kDateLabel, kSingleDate);
  const bool range = Is(kDateLabel, kDateRange);
  if (mode == "每天") {
    for (int weekday = 1; weekday <= 7; ++weekday) SetWeekday(weekday, 1);
    ShowGroup(kWeekBox, true);
    SetDateBoxesEnabled(range);
  } else if (mode == "每周") {
    for (int weekday = 1; weekday <= 7; ++weekday) SetWeekday(weekday, 0);
    SetWeekday(Weekday(now), 1);
    SetDateBoxesEnabled(range);
    ShowGroup(kWeekBox, true);
  } else if (mode == "每月") {
    SetText("提醒日选择框_每月", Text("日框"));
    ShowGroup(kMonthlyBox, true);
    SetDateBoxesEnabled(range);
  } else if (mode == "每年") {
    SetText("提醒月选择框_每年", std::to_string(NumberOf("月框")));
    SetText("提醒日选择框_每年", std::to_string(NumberOf("日框")));
    FillDayNumberList(Combo("日选择组合框_每年"), NumberOf("年框"), NumberOf("月框"));
    ShowGroup(kYearlyBox, true);
    SetDateBoxesEnabled(range);
  } else if (mode == "循环") {
    ShowGroup(kIntervalBox, true);
  } else if (mode == "农历(一次)") {
    PresetLunarBoxes("提醒年选择框_农历一次", "提醒月选择框_农历一次", "提醒日选择框_农历一次",
                     "月份选择组合框_农历一次", "日选择组合框_农历一次");
    SetDateBoxesEnabled(!single);
    ShowGroup(kLunarOnceBox, true);
  } else if (mode == "农历(每月)") {
    platform::lunar::LunarDate today;
    if (platform::lunar::SolarToLunar(now, today)) SetText("提醒日选择框_农历每月", FormatLunarDay(today.day));
    SetDateBoxesEnabled(!single);
    ShowGroup(kLunarMonthlyBox, true);
  } else if (mode == "农历(每年)") {
    PresetLunarBoxes({}, "提醒月选择框_农历每年", "提醒日选择框_农历每年", "月份选择组合框_农历每年",
                     "日选择组合框_农历每年");
    SetDateBoxesEnabled(!single);
    ShowGroup(kLunarYearlyBox, true);
  }
  Focus(kModeBox);
}

void SelectDateKind() {
  const std::string kind = ChosenItem("提醒日期组合框");
  if (Refused(RefuseDateKind(Shape(), kind))) return;
  SetText(kDateLabel, kind + "：");
  const double now = platform::clock::Now();
  SetDateBoxes(kStartBoxes, now);
  CopyStartDateToEnd();
  if (Is(kDateLabel, kDateRange)) {
    ShowGroup(kEndDateFrame, true);
    Unit(kEndDateLabel).SetVisible(true);
    SetDateBoxesEnabled(true);
  } else {
    ShowGroup(kEndDateFrame, false);
    Unit(kEndDateLabel).SetVisible(false);
    const std::string mode = Text(kModeBox);
    SetDateBoxesEnabled(mode == "一次" || mode == "循环");
    if (mode == "每周") {
      SetDateBoxes(kStartBoxes, NextDateOnWeekday(FirstTickedFromMonday(), now));
      CorrectStartGroup();
    } else if (mode == "每月") {
      SetDateBoxes(kStartBoxes, NextDateWithDay(NumberOf("提醒日选择框_每月"), now));
    } else if (mode == "每年") {
      SetDateBoxes(kStartBoxes, NextDateWithMonthDay(NumberOf("提醒月选择框_每年"), NumberOf("提醒日选择框_每年"), now));
    } else if (mode == "农历(每月)") {
      SetDateBoxes(kStartBoxes, NextDateWithLunarDay(ParseLunarDay(Text("提醒日选择框_农历每月")), now));
      SetDateBoxesEnabled(false);
    } else if (mode == "农历(每年)") {
      SetDateBoxesEnabled(false);
    } else if (mode != "每天") {
      SetDateBoxesEnabled(true);
    }
  }
  CopyStartDateToEnd();
  CorrectStartGroup();
  CorrectEndGroup();
}

void SelectTimeKind() {
  const std::string kind = ChosenItem("提醒时间组合框");
  if (Refused(RefuseTimeKind(Shape(), kind))) return;
  if (Is(kModeBox, "一次") || Is(kModeBox, "循环")) SetDateBoxesEnabled(true);
  const DateTimeParts now = SplitDateTime(platform::clock::Now());
  SetText("时框", std::to_string(now.hour));
  SetText("分框", std::to_string(now.minute));
  SetText("秒框", std::to_string(now.second));
  for (int i = 3; i < 6; ++i) SetText(kEndBoxes[i], Text(kStartBoxes[i]));
  SetText(kTimeLabel, kind + "：");
  if (kind == "开始时间") {
    ShowGroup(kEndTimeFrame, true);
    Unit(kEndTimeLabel).SetVisible(true);
  } else if (kind == "倒计时间") {
    if (Is(kDateLabel, kDateRange)) {
      ShowGroup(kEndDateFrame, false);
      Unit(kEndDateLabel).SetVisible(false);
      SetText(kDateLabel, kSingleDate);
    }
    SetDateBoxes(kStartBoxes, platform::clock::Now());
    CopyStartDateToEnd();
    SetDateBoxesEnabled(false);
    for (int i = 3; i < 6; ++i) SetText(kStartBoxes[i], "0");
  } else {
    ShowGroup(kEndTimeFrame, false);
    Unit(kEndTimeLabel).SetVisible(false);
  }
  CorrectStartGroup();
  CorrectEndGroup();
}

void BindModeHandlers(ui::Window& window) {
  auto on = [&window](std::string_view unit, ui::Event event, void (*handler)()) {
    window.On(unit, event, [handler](ui::EventArgs&) { handler(); });
  };
  on(kModeCombo, ui::Event::Changed, SelectRepeatMode);
  on("提醒日期组合框", ui::Event::Changed, SelectDateKind);
  on("提醒时间组合框", ui::Event::Changed, SelectTimeKind);
  auto dropDown = [&window](std::string_view unit, ui::Event event, std::string_view comboName) {
    window.On(unit, event, [comboName](ui::EventArgs&) { ui::DropDownComboBox(Combo(comboName)); });
  };
  dropDown("提醒方式下拉按钮", ui::Event::Clicked, kModeCombo);
  dropDown("图形按钮11", ui::Event::Clicked, "提醒日期组合框");
  dropDown(kDateLabel, ui::Event::LeftDown, "提醒日期组合框");
  dropDown("图形按钮12", ui::Event::Clicked, "提醒时间组合框");
  dropDown(kTimeLabel, ui::Event::LeftDown, "提醒时间组合框");
}

}  // namespace workmemo::editor
