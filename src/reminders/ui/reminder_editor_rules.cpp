#include "reminders/ui/reminder_editor_rules.h"

#include <cmath>

#include "common/lunar_names.h"
#include "platform/lunar/lunar.h"
#include "reminders/store/calendar.h"

namespace workmemo {

namespace {

constexpr std::string_view kRangeLabel = "开始日期：";
constexpr std::string_view kCountdownLabel = "倒计时间：";
constexpr std::string_view kWindowLabel = "开始时间：";
constexpr std::string_view kMinuteUnit = "分";
constexpr std::string_view kRemindTask = "提醒";

// What each repeat mode goes together with; a mode not listed takes none of them.
struct ModeRule {
  std::string_view mode;
  bool dateRange;    // 开始日期
  bool countdown;    // 倒计时间
  bool dailyWindow;  // 开始时间, with the interval unit 分
  bool powerTask;    // a task other than 提醒
};
constexpr ModeRule kModeRules[] = {
    {"一次", false, true, false, true},      {"农历(一次)", false, false, false, true},
    {"循环", true, false, true, false},      {"每天", true, false, false, true},
    {"每周", true, false, false, true},      {"每月", true, false, false, true},
    {"每年", true, false, false, true},      {"农历(每月)", true, false, false, true},
    {"农历(每年)", true, false, false, true},
};

ModeRule RuleOf(std::string_view mode) {
  for (const ModeRule& rule : kModeRules) {
    if (rule.mode == mode) return rule;
  }
  return {mode, false, false, false, false};
}

bool WindowAllowed(const ModeRule& rule, const EditorShape& shape) {
  return rule.dailyWindow && shape.unitLabel == kMinuteUnit;
}

std::string TaskRefusal(std::string_view task) {
  return "[" + std::string(task) + "]任务，不支持[循环]提醒方式！";
}

constexpr char kNoRangeForOnce[] = "开始日期 不支持[一次]提醒方式！";
constexpr char kWindowOnlyForMinutes[] = "开始时间 只支持[循环]-[分]提醒方式！";
constexpr char kCountdownOnlyForOnce[] = "倒计时间只支持[一次]提醒方式！";

double DateAt(const int fields[6], int hour, int minute, int second) {
  return MakeDateTime(fields[0], fields[1], fields[2], hour, minute, second);
}

}  // namespace

std::string RefuseRepeatMode(const EditorShape& shape, std::string_view mode) {
  const ModeRule rule = RuleOf(mode);
  if (shape.dateLabel == kRangeLabel && !rule.dateRange) return kNoRangeForOnce;
  if (shape.timeLabel == kWindowLabel && !WindowAllowed(rule, shape)) return kWindowOnlyForMinutes;
  // A countdown stays a single moment: no mode may take it over.
  if (shape.timeLabel == kCountdownLabel) return kCountdownOnlyForOnce;
  if (shape.task != kRemindTask && !rule.powerTask) return TaskRefusal(shape.task);
  return {};
}

std::string RefuseDateKind(const EditorShape& shape, std::string_view kind) {
  if (kind == "开始日期" && !RuleOf(shape.mode).dateRange) return kNoRangeForOnce;
  if (shape.timeLabel == kCountdownLabel) return "当前为[倒计时间]提醒状态，不能支持设置提醒日期！";
  return {};
}

std::string RefuseTimeKind(const EditorShape& shape, std::string_view kind) {
  const ModeRule rule = RuleOf(shape.mode);
  if (kind == "开始时间" && !WindowAllowed(rule, shape)) return kWindowOnlyForMinutes;
  if (kind == "倒计时间" && !rule.countdown) return kCountdownOnlyForOnce;
  return {};
}

std::string RefuseTask(const EditorShape& shape, std::string_view task) {
  if (task != kRemindTask && !RuleOf(shape.mode).powerTask) return TaskRefusal(task);
  return {};
}

std::string RefuseIntervalUnit(const EditorShape& shape, std::string_view unit) {
  if (shape.timeLabel == kWindowLabel && unit != kMinuteUnit) return kWindowOnlyForMinutes;
  return {};
}

std::string RefuseLunarOnceDate(int year, std::string_view monthName, std::string_view dayName) {
  namespace lunar = platform::lunar;
  if (year < lunar::kFirstYear || year > lunar::kLastYear) return "请选择 农历年份";
  const int month = ParseLunarMonth(monthName);
  const int leap = CarriesLeapMark(monthName) ? 1 : 0;
  if (month < 1 || (leap == 1 && lunar::LunarLeapMonth(year) != month)) return "请选择 农历月份";
  const int day = ParseLunarDay(dayName);
  if (day < 1 || day > lunar::LunarMonthDays(year, month, leap)) return "请选择 农历日";
  return {};
}

double CutToWholeSecond(double dateTime) {
  // A hair over the second keeps a value stored a rounding error below it in that second.
  return std::floor(dateTime * 86400.0 + 1e-6) / 86400.0;
}

std::string ScheduleTimesFromBoxes(const EditorTimeBoxes& b, double now, EditorTimes& times) {
  const int* s = b.start;
  const int* e = b.end;
  double start = DateAt(s, s[3], s[4], s[5]);
  double end = DateAt(e, s[3], s[4], s[5]);
  double windowStart = start;
  double windowEnd = DateAt(e, e[3], e[4], e[5]);
  const bool window = b.timeKind == EditorTimeKind::DailyWindow;
  if (b.dateRange) {
    if (window) {
      if (DayNumber(start) >= DayNumber(end)) return "结束日期 必须大于 开始日期！";
      end = windowEnd;
      // A window whose end lies before its start on the clock never fires on any day.
      if (SecondOfDay(end) <= SecondOfDay(start)) return "结束时间 必须大于 开始时间！";
    } else if (!IsEarlier(start, end)) {
      return "结束日期 必须大于 开始日期！";
    }
  } else {
    end = window ? DateAt(s, e[3], e[4], e[5]) : start;
  }
  int countdown = 0;
  switch (b.timeKind) {
    case EditorTimeKind::DailyWindow:
      if (!IsEarlier(start, end)) return "结束时间 必须大于 开始时间！";
      break;
    case EditorTimeKind::Countdown:
      countdown = s[3] * 3600 + s[4] * 60 + s[5];
      start = end = windowStart = windowEnd = CutToWholeSecond(now + countdown / 86400.0);
      break;
    case EditorTimeKind::TimeOfDay:
      windowEnd = windowStart;
      break;
  }
  times.ksdate = start;
  times.jsdate = end;
  times.kstime = windowStart;
  times.jstime = windowEnd;
  times.djsj = countdown;
  return {};
}

}  // namespace workmemo
