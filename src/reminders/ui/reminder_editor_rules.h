#pragma once
// The reminder editor's rules that need no window: which repeat mode, date kind, time kind
// and task go together, and the date fields a reminder gets from its date and time boxes.
#include <string>
#include <string_view>

namespace workmemo {

// The editor's shape as its units show it: the texts of 提醒方式框, 提醒日期标签 ("提醒日期："
// or "开始日期："), 提醒时间标签 ("提醒时间：", "倒计时间：" or "开始时间："), 重复单位标签
// and 提醒任务框.
struct EditorShape {
  std::string mode;
  std::string dateLabel;
  std::string timeLabel;
  std::string unitLabel;
  std::string task;
};

// The message that refuses a choice in that shape, or an empty text when it is accepted.
// A repeat mode (its display name), a date kind ("提醒日期", "开始日期"), a time kind
// ("提醒时间", "倒计时间", "开始时间") or a task (its display name).
std::string RefuseRepeatMode(const EditorShape& shape, std::string_view mode);
std::string RefuseDateKind(const EditorShape& shape, std::string_view kind);
std::string RefuseTimeKind(const EditorShape& shape, std::string_view kind);
std::string RefuseTask(const EditorShape& shape, std::string_view task);
// An interval unit (its display name): a daily window counts only in minutes.
std::string RefuseIntervalUnit(const EditorShape& shape, std::string_view unit);

// The message that refuses the lunar date of a one-time lunar reminder the calendar does not
// have (a year it does not cover, a month that is no name or no leap month of that year, a
// day beyond the month), or an empty text. The year as a number, the month's and day's names.
std::string RefuseLunarOnceDate(int year, std::string_view monthName, std::string_view dayName);

enum class EditorTimeKind { TimeOfDay, Countdown, DailyWindow };

// The date and time boxes as the save reads them: year, month, day, hour, minute, second.
struct EditorTimeBoxes {
  bool dateRange = false;  // 开始日期: a start date with an end date
  EditorTimeKind timeKind = EditorTimeKind::TimeOfDay;
  int start[6] = {};  // 年框 月框 日框 时框 分框 秒框 (the countdown's hours, minutes, seconds)
  int end[6] = {};    // 年框1 月框1 日框1 时框1 分框1 秒框1
};

struct EditorTimes {
  double ksdate = 0;
  double jsdate = 0;
  double kstime = 0;
  double jstime = 0;
  int djsj = 0;  // countdown in seconds
};

// The date fields saved at `now` (cut to whole seconds), or the message that refuses them
// (an end date not after the start date, an end time of day not after the start time).
std::string ScheduleTimesFromBoxes(const EditorTimeBoxes& boxes, double now, EditorTimes& times);

// A date-time cut down to its whole second.
double CutToWholeSecond(double dateTime);

}  // namespace workmemo
