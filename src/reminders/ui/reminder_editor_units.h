#pragma once
// Inside the reminder editor: the open window's objects, the names of the units its parts
// share, the boxes that hold other units, and the handlers each part binds.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/ui.h"
#include "reminders/ui/reminder_editor_rules.h"
#include "ui/date_time_fields.h"
#include "ui/skin_painter.h"

namespace platform::ui {
class ComboBox;
class Unit;
class Window;
}  // namespace platform::ui

namespace workmemo::editor {

// Units the editor's parts read and write; the texts of the first three are the state.
inline constexpr std::string_view kModeBox = "提醒方式框";
inline constexpr std::string_view kDateLabel = "提醒日期标签";
inline constexpr std::string_view kTimeLabel = "提醒时间标签";
inline constexpr std::string_view kTaskBox = "提醒任务框";
inline constexpr std::string_view kCategoryBox = "提醒类型框";
inline constexpr std::string_view kTitleBox = "提醒标题框";
inline constexpr std::string_view kContentBox = "提醒内容框";
inline constexpr std::string_view kSoundBox = "提醒音乐框";
inline constexpr std::string_view kProgramBox = "提醒程序框";
inline constexpr std::string_view kWebBox = "提醒网页框";
inline constexpr std::string_view kUnitLabel = "重复单位标签";
inline constexpr std::string_view kModeCombo = "提醒方式组合框";
inline constexpr std::string_view kTaskCombo = "提醒任务组合框";
inline constexpr std::string_view kForceTick = "强制执行选择框";
inline constexpr std::string_view kNoPopupTick = "不弹出窗口选择框";
inline constexpr std::string_view kEndDateLabel = "结束日期标签";
inline constexpr std::string_view kEndDateFrame = "结束日期外形框";
inline constexpr std::string_view kEndTimeLabel = "结束时间标签";
inline constexpr std::string_view kEndTimeFrame = "结束时间外形框";
inline constexpr std::string_view kWeekBox = "星期选择框";
inline constexpr std::string_view kMonthlyBox = "每月选择框";
inline constexpr std::string_view kYearlyBox = "每年选择框";
inline constexpr std::string_view kIntervalBox = "循环选择框";
inline constexpr std::string_view kLunarOnceBox = "农历一次选择框";
inline constexpr std::string_view kLunarMonthlyBox = "农历每月选择框";
inline constexpr std::string_view kLunarYearlyBox = "农历每年选择框";
inline constexpr std::string_view kNoticeBox = "提前时间选择框";
inline constexpr std::string_view kShutdownBox = "关机延时选择框";
inline constexpr std::string_view kModeBoxes[] = {kWeekBox,      kMonthlyBox,      kYearlyBox,     kIntervalBox,
                                                  kLunarOnceBox, kLunarMonthlyBox, kLunarYearlyBox};

// The start and the end group of date and time boxes, each year, month, day, hour, minute,
// second.
inline constexpr std::string_view kStartBoxes[6] = {"年框", "月框", "日框", "时框", "分框", "秒框"};
inline constexpr std::string_view kEndBoxes[6] = {"年框1", "月框1", "日框1", "时框1", "分框1", "秒框1"};

// The weekday buttons, Sunday (weekday 1) to Saturday (7).
inline constexpr std::string_view kWeekdayButtons[7] = {"周日选择按钮", "周一选择按钮", "周二选择按钮",
                                                        "周三选择按钮", "周四选择按钮", "周五选择按钮",
                                                        "周六选择按钮"};

// Display texts the parts compare.
inline constexpr std::string_view kSingleDate = "提醒日期：";
inline constexpr std::string_view kDateRange = "开始日期：";
inline constexpr std::string_view kTimeOfDay = "提醒时间：";
inline constexpr std::string_view kCountdown = "倒计时间：";
inline constexpr std::string_view kDailyWindow = "开始时间：";
inline constexpr std::string_view kRemind = "提醒";

// A unit that holds others (a mode box, a shape box around date boxes): the units lying
// inside it that come after it in the template, shown, hidden and moved with it.
struct UnitGroup {
  platform::ui::Unit* box = nullptr;
  std::vector<platform::ui::Unit*> members;
};

// The objects of the open editor window.
struct EditorWindow {
  platform::ui::Window* window = nullptr;
  SkinPainter painter;
  DropDownDatePicker datePicker;
  std::map<std::string, UnitGroup, std::less<>> groups;
};
// The open editor, nullptr when none is open.
EditorWindow* Open();

platform::ui::Unit& Unit(std::string_view name);
platform::ui::ComboBox& Combo(std::string_view name);
std::string Text(std::string_view name);
void SetText(std::string_view name, std::string_view text);
bool Is(std::string_view name, std::string_view text);
int NumberOf(std::string_view name);  // the box's text read as a number, truncated
void ShowGroup(std::string_view name, bool visible);
bool IsGroupShown(std::string_view name);
void MoveGroup(std::string_view name, int left, int top);
void SetDateBoxesEnabled(bool enabled);
void HideModeBoxes();
void ShowMessage(std::string_view message);
void Focus(std::string_view name);
EditorShape Shape();

// The start group corrected (its hours bounded as a countdown's while one is shown), the end
// group corrected; the three date boxes of a group set from a date.
void CorrectStartGroup();
void CorrectEndGroup();
// OK takes no focus: a date or time box still being typed in gets the correction that
// leaving it gives, before OK reads it.
void CorrectBoxBeingTyped();
void SetDateBoxes(const std::string_view (&boxes)[6], double date);
void CopyStartDateToEnd();
// A tick button set to ticked (1) or not, through the painter; the state set.
int SetTick(std::string_view button, int on);
int IsTicked(std::string_view button);
void SetWeekday(int weekday, int on);  // 1 = Sunday; keeps WeekdayTicked in step

// Binds the handlers of each part to the window.
void BindModeHandlers(platform::ui::Window& window);
void BindDateHandlers(platform::ui::Window& window);
void BindActionHandlers(platform::ui::Window& window);

// The switches of repeat mode, date kind and time kind (the selection-changed events).
void SelectRepeatMode();
void SelectDateKind();
void SelectTimeKind();

// The task's boxes: the notice box for 提醒, the shutdown box for a power task.
void ShowTaskBoxes(std::string_view task);

// List fillers of the month, day and lunar pickers.
void FillLunarMonthList(platform::ui::ComboBox& combo, int year);
void FillLunarYearList(platform::ui::ComboBox& combo);
void FillLunarDayNameList(platform::ui::ComboBox& combo);
int FillLunarDayList(platform::ui::ComboBox& combo, int year, int month, int leap);
void FillMonthNumberList(platform::ui::ComboBox& combo);
void FillDayNumberList(platform::ui::ComboBox& combo, int year, int month);

// The part of a path up to and including its last "/"; empty when it holds none.
std::string DirectoryOfPath(std::string_view path);

}  // namespace workmemo::editor
