#include "reminders/ui/reminder_editor_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "common/lunar_names.h"
#include "platform/clock/clock.h"
#include "reminders/store/calendar.h"
#include "test_support.h"

namespace workmemo {
namespace {

using testsupport::Show;

std::string At(double t) { return platform::clock::FormatStored(t); }
double When(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return MakeDateTime(y, mo, d, h, mi, s); }

constexpr char kOnceOnly[] = "开始日期 不支持[一次]提醒方式！";
constexpr char kMinutesOnly[] = "开始时间 只支持[循环]-[分]提醒方式！";
constexpr char kCountdownOnce[] = "倒计时间只支持[一次]提醒方式！";
constexpr char kNoDateInCountdown[] = "当前为[倒计时间]提醒状态，不能支持设置提醒日期！";

EditorShape Shape(std::string mode, std::string date = "提醒日期：", std::string time = "提醒时间：",
                  std::string task = "提醒", std::string unit = "分") {
  return {std::move(mode), std::move(date), std::move(time), std::move(unit), std::move(task)};
}

TEST(EditorCombinations, RepeatModeAgainstDateKindTimeKindAndTask) {
  struct Case {
    EditorShape shape;
    const char* mode;
    std::string refusal;
  } cases[] = {
      {Shape("每天", "开始日期："), "一次", kOnceOnly},
      {Shape("每天", "开始日期："), "农历(一次)", kOnceOnly},
      {Shape("每天", "开始日期："), "每月", ""},
      {Shape("循环", "开始日期："), "循环", ""},
      {Shape("循环", "提醒日期：", "开始时间："), "每天", kMinutesOnly},
      {Shape("循环", "提醒日期：", "开始时间："), "循环", ""},
      {Shape("循环", "提醒日期：", "开始时间：", "提醒", "时"), "循环", kMinutesOnly},
      {Shape("一次", "提醒日期：", "倒计时间："), "一次", kCountdownOnce},
      {Shape("一次", "提醒日期：", "倒计时间："), "每周", kCountdownOnce},
      {Shape("一次", "提醒日期：", "提醒时间：", "重启"), "循环", "[重启]任务，不支持[循环]提醒方式！"},
      {Shape("一次", "提醒日期：", "提醒时间：", "关机"), "农历(每年)", ""},
      {Shape("一次", "提醒日期：", "提醒时间：", "锁定计算机"), "每周", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.shape.mode + c.shape.dateLabel + c.shape.timeLabel + c.shape.task) + " -> " + Show(c.mode));
    EXPECT_EQ(Show(RefuseRepeatMode(c.shape, c.mode)), Show(c.refusal));
  }
}

TEST(EditorCombinations, DateKindTimeKindAndTaskAgainstTheMode) {
  struct Case {
    const char* what;
    std::string got, refusal;
  } cases[] = {
      {"a range for 一次", RefuseDateKind(Shape("一次"), "开始日期"), kOnceOnly},
      {"a range for 农历(一次)", RefuseDateKind(Shape("农历(一次)"), "开始日期"), kOnceOnly},
      {"a single date for 一次", RefuseDateKind(Shape("一次"), "提醒日期"), ""},
      {"a range for 每年", RefuseDateKind(Shape("每年"), "开始日期"), ""},
      {"any date kind in a countdown", RefuseDateKind(Shape("一次", "提醒日期：", "倒计时间："), "提醒日期"),
       kNoDateInCountdown},
      {"a window for 循环 by minutes", RefuseTimeKind(Shape("循环"), "开始时间"), ""},
      {"a window for 循环 by hours", RefuseTimeKind(Shape("循环", "提醒日期：", "提醒时间：", "提醒", "时"), "开始时间"),
       kMinutesOnly},
      {"a window for 每天", RefuseTimeKind(Shape("每天"), "开始时间"), kMinutesOnly},
      {"a countdown for 一次", RefuseTimeKind(Shape("一次"), "倒计时间"), ""},
      {"a countdown for 循环", RefuseTimeKind(Shape("循环"), "倒计时间"), kCountdownOnce},
      {"a countdown for 农历(一次)", RefuseTimeKind(Shape("农历(一次)"), "倒计时间"), kCountdownOnce},
      {"a time of day for 农历(每月)", RefuseTimeKind(Shape("农历(每月)"), "提醒时间"), ""},
      {"a power task for 循环", RefuseTask(Shape("循环"), "注销"), "[注销]任务，不支持[循环]提醒方式！"},
      {"提醒 for 循环", RefuseTask(Shape("循环"), "提醒"), ""},
      {"a power task for 每月", RefuseTask(Shape("每月"), "关闭显示器"), ""},
      {"hours in a window", RefuseIntervalUnit(Shape("循环", "提醒日期：", "开始时间："), "时"), kMinutesOnly},
      {"minutes since the load in a window", RefuseIntervalUnit(Shape("循环", "开始日期：", "开始时间："), "分~"),
       kMinutesOnly},
      {"minutes in a window", RefuseIntervalUnit(Shape("循环", "提醒日期：", "开始时间："), "分"), ""},
      {"days at a time of day", RefuseIntervalUnit(Shape("循环"), "天"), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Show(c.got), Show(c.refusal)) << c.what;
}

TEST(EditorCombinations, AOneTimeLunarDateMustBeInTheCalendar) {
  const std::string leapSix = FormatLunarMonth(6, 6);
  struct Case {
    int year;
    std::string month, day, refusal;
  } cases[] = {
      {2017, "六", "廿九", ""},
      {2017, "六", "三十", "请选择 农历日"},  // 六月 of 2017 has 29 days, its leap month 30
      {2017, leapSix, "三十", ""},
      {2016, leapSix, "初一", "请选择 农历月份"},  // 2016 has no leap month
      {2017, "", "初一", "请选择 农历月份"},
      {2017, "六", "", "请选择 农历日"},
      {2050, "六", "初一", "请选择 农历年份"},
      {1900, "六", "初一", "请选择 农历年份"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + " " + Show(c.month) + " " + Show(c.day));
    EXPECT_EQ(Show(RefuseLunarOnceDate(c.year, c.month, c.day)), Show(c.refusal));
  }
}

EditorTimeBoxes Boxes(bool range, EditorTimeKind kind, std::initializer_list<int> start,
                      std::initializer_list<int> end) {
  EditorTimeBoxes b;
  b.dateRange = range;
  b.timeKind = kind;
  std::copy(start.begin(), start.end(), b.start);
  std::copy(end.begin(), end.end(), b.end);
  return b;
}

TEST(EditorTimes, EachDateKindAndTimeKindFillsTheDateFields) {
  using K = EditorTimeKind;
  const double now = When(2016, 2, 10, 10, 0, 0) + 0.4 / 86400;
  struct Case {
    const char* what;
    EditorTimeBoxes boxes;
    double ksdate, jsdate, kstime, jstime;
    int djsj;
  } cases[] = {
      {"one moment", Boxes(false, K::TimeOfDay, {2016, 3, 1, 8, 5, 9}, {2016, 2, 10, 11, 0, 0}),
       When(2016, 3, 1, 8, 5, 9), When(2016, 3, 1, 8, 5, 9), When(2016, 3, 1, 8, 5, 9), When(2016, 3, 1, 8, 5, 9), 0},
      {"a date range", Boxes(true, K::TimeOfDay, {2016, 3, 1, 8, 5, 9}, {2016, 3, 31, 23, 0, 0}),
       When(2016, 3, 1, 8, 5, 9), When(2016, 3, 31, 8, 5, 9), When(2016, 3, 1, 8, 5, 9), When(2016, 3, 1, 8, 5, 9), 0},
      // The window's end takes the date boxes as they stood when OK was pressed.
      {"a window on one date", Boxes(false, K::DailyWindow, {2016, 3, 1, 8, 0, 0}, {2016, 2, 10, 18, 0, 0}),
       When(2016, 3, 1, 8), When(2016, 3, 1, 18), When(2016, 3, 1, 8), When(2016, 2, 10, 18), 0},
      {"a window over a date range", Boxes(true, K::DailyWindow, {2016, 3, 1, 8, 0, 0}, {2016, 3, 9, 18, 0, 0}),
       When(2016, 3, 1, 8), When(2016, 3, 9, 18), When(2016, 3, 1, 8), When(2016, 3, 9, 18), 0},
      // 0:01:30 from 10:00:00.4: every field on 10:01:30, the fraction of a second cut off.
      {"a countdown", Boxes(false, K::Countdown, {2016, 2, 10, 0, 1, 30}, {2016, 2, 10, 0, 0, 0}),
       When(2016, 2, 10, 10, 1, 30), When(2016, 2, 10, 10, 1, 30), When(2016, 2, 10, 10, 1, 30),
       When(2016, 2, 10, 10, 1, 30), 90},
      {"a countdown over midnight", Boxes(false, K::Countdown, {2016, 2, 10, 59, 59, 59}, {2016, 2, 10, 0, 0, 0}),
       When(2016, 2, 12, 21, 59, 59), When(2016, 2, 12, 21, 59, 59), When(2016, 2, 12, 21, 59, 59),
       When(2016, 2, 12, 21, 59, 59), 215999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EditorTimes t;
    ASSERT_EQ(Show(ScheduleTimesFromBoxes(c.boxes, now, t)), "");
    EXPECT_EQ(At(t.ksdate), At(c.ksdate));
    EXPECT_EQ(At(t.jsdate), At(c.jsdate));
    EXPECT_EQ(At(t.kstime), At(c.kstime));
    EXPECT_EQ(At(t.jstime), At(c.jstime));
    EXPECT_EQ(t.djsj, c.djsj);
  }
  EXPECT_EQ(At(CutToWholeSecond(When(2016, 2, 10, 10, 0, 0) + 0.9 / 86400)), At(When(2016, 2, 10, 10, 0, 0)));
}

TEST(EditorTimes, StartAndEndInTheWrongOrderAreRefused) {
  using K = EditorTimeKind;
  constexpr char kDates[] = "结束日期 必须大于 开始日期！";
  constexpr char kTimes[] = "结束时间 必须大于 开始时间！";
  struct Case {
    const char* what;
    EditorTimeBoxes boxes;
    std::string refusal;
  } cases[] = {
      {"range ending on its start date", Boxes(true, K::TimeOfDay, {2016, 3, 1, 8, 0, 0}, {2016, 3, 1, 9, 0, 0}), kDates},
      {"range ending before it starts", Boxes(true, K::TimeOfDay, {2016, 3, 5, 8, 0, 0}, {2016, 3, 1, 9, 0, 0}), kDates},
      {"window range on one date", Boxes(true, K::DailyWindow, {2016, 3, 1, 8, 0, 0}, {2016, 3, 1, 18, 0, 0}), kDates},
      {"window ending before it starts", Boxes(false, K::DailyWindow, {2016, 3, 1, 9, 0, 0}, {2016, 3, 1, 8, 0, 0}), kTimes},
      {"window of no length", Boxes(false, K::DailyWindow, {2016, 3, 1, 9, 0, 0}, {2016, 3, 1, 9, 0, 0}), kTimes},
      // 22:00 to 06:00 over a date range would be saved as a window that never fires.
      {"inverted window over a range", Boxes(true, K::DailyWindow, {2016, 3, 1, 22, 0, 0}, {2016, 3, 9, 6, 0, 0}), kTimes},
  };
  for (const Case& c : cases) {
    EditorTimes t;
    EXPECT_EQ(Show(ScheduleTimesFromBoxes(c.boxes, When(2016, 2, 10), t)), Show(c.refusal)) << c.what;
  }
}

}  // namespace
}  // namespace workmemo
