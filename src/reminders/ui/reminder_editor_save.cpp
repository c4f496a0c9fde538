// OK of the reminder editor: the required units, the interval and the order of start and
// end, EditorReminder filled from the units, the save, and the list page and today window
// brought up to date.
#include "common/lunar_names.h"
#include "common/text_routines.h"
#include "platform/clock/clock.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/ui/reminder_editor.h"
#include "reminders/ui/reminder_editor_rules.h"
#include "reminders/ui/reminder_editor_units.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "reminders/ui/today_window.h"
#include "shell/data_files.h"
#include "shell/run_state.h"
#include "shell/settings.h"

namespace workmemo {

namespace ui = platform::ui;
using namespace editor;

namespace {

// A title made from the content is at most this many bytes, never half a character.
constexpr int kTitleFromContentBytes = 82;

struct Required {
  std::string_view unit;
  std::string_view message;
};

constexpr Required kAlwaysRequired[] = {
    {"年框", "提醒输入 年份"}, {"月框", "提醒输入 月份"}, {"日框", "提醒输入 日"},
    {"时框", "请输入 小时"},   {"分框", "请输入 分钟"},   {"秒框", "请输入 秒"},
};
constexpr Required kEndDateRequired[] = {
    {"年框1", "提醒输入 年份"}, {"月框1", "提醒输入 月份"}, {"日框1", "提醒输入 日"}};
constexpr Required kShapeRequired[] = {
    {kModeBox, "请选择 提醒方式"}, {kTaskBox, "请选择 提醒任务"}, {kCategoryBox, "请输入提醒类型！"}};

struct ModeRequired {
  std::string_view mode;
  Required units[3];
};
constexpr ModeRequired kModeRequired[] = {
    {"每月", {{"提醒日选择框_每月", "请选择 提醒日"}}},
    {"每年", {{"提醒月选择框_每年", "请选择 提醒月份"}, {"提醒日选择框_每年", "请选择 提醒日"}}},
    {"循环", {{"重复时间框", "请输入 重复时间"}, {kUnitLabel, "重复单位 不能为空，请重新选择 重复单位！"}}},
    {"农历(一次)",
     {{"提醒年选择框_农历一次", "请选择 农历年份"}, {"提醒月选择框_农历一次", "请选择 农历月份"},
      {"提醒日选择框_农历一次", "请选择 农历日"}}},
    {"农历(每月)", {{"提醒日选择框_农历每月", "请选择 农历日"}}},
    {"农历(每年)", {{"提醒月选择框_农历每年", "请选择 农历月份"}, {"提醒日选择框_农历每年", "请选择 农历日"}}},
};

template <std::size_t N>
bool AnyEmpty(const Required (&units)[N]) {
  for (const Required& r : units) {
    if (r.unit.empty()) break;
    if (Text(r.unit).empty()) {
      ShowMessage(r.message);
      return true;
    }
  }
  return false;
}

EditorTimeBoxes ReadTimeBoxes() {
  EditorTimeBoxes boxes;
  boxes.dateRange = Is(kDateLabel, kDateRange);
  boxes.timeKind = Is(kTimeLabel, kDailyWindow) ? EditorTimeKind::DailyWindow
                   : Is(kTimeLabel, kCountdown) ? EditorTimeKind::Countdown
                                                : EditorTimeKind::TimeOfDay;
  for (int i = 0; i < 6; ++i) {
    boxes.start[i] = NumberOf(kStartBoxes[i]);
    boxes.end[i] = NumberOf(kEndBoxes[i]);
  }
  return boxes;
}

void ApplyTextDefaults(int mode) {
  const std::string title = Text(kTitleBox);
  if (Text(kContentBox).empty()) SetText(kContentBox, title.empty() ? RepeatModeName(mode, 0) + "提醒" : title);
  if (title.empty()) SetText(kTitleBox, TruncateText(Text(kContentBox), kTitleFromContentBytes));
}

void FillModeFields(ReminderRecord& r) {
  switch (r.txfs) {
    case RepeatMode::Daily:
      r.notxweek = BuildNoWeekdayList();
      break;
    case RepeatMode::Weekly:
      r.txweek = BuildWeekdayList();
      break;
    case RepeatMode::Monthly:
      r.txdays = Text("提醒日选择框_每月");
      break;
    case RepeatMode::Yearly:
      r.txmonth = Text("提醒月选择框_每年");
      r.txdays = Text("提醒日选择框_每年");
      break;
    case RepeatMode::LunarOnce:
      r.nlyear = NumberOf("提醒年选择框_农历一次");
      r.txmonth = std::to_string(ParseLunarMonth(Text("提醒月选择框_农历一次")));
      r.txdays = std::to_string(ParseLunarDay(Text("提醒日选择框_农历一次")));
      r.nlry = CarriesLeapMark(Text("提醒月选择框_农历一次")) ? 1 : 0;
      break;
    case RepeatMode::LunarMonthly:
      r.txdays = std::to_string(ParseLunarDay(Text("提醒日选择框_农历每月")));
      break;
    case RepeatMode::LunarYearly:
      r.txmonth = std::to_string(ParseLunarMonth(Text("提醒月选择框_农历每年")));
      r.txdays = std::to_string(ParseLunarDay(Text("提醒日选择框_农历每年")));
      r.nlyear = NumberOf("年框");
      r.nlry = CarriesLeapMark(Text("提醒月选择框_农历每年")) ? 1 : 0;
      break;
    default:
      break;
  }
}

void RefreshListPage() {
  if (TimedReminderPanelWindow() != nullptr) ShowReminderListPage(ListPages().ListPageNumber);
}

void RefreshTodayWindow() {
  if (TodayRemindersWindow() != nullptr) ShowDayReminders(Run().ChosenDay);
}

void AfterModify(const ReminderRecord& saved) {
  ReminderList& records = ListPageReminders();
  // A reminder outside the page's query result stays out of it.
  if (const int p = FindReminderIndex(records, Run().EditedReminderId); p > 0) records[p - 1] = saved;
  RefreshListPage();
  RefreshTodayWindow();
  Open()->window->Close();
}

void AfterAdd(const ReminderRecord& saved) {
  int newestId = 0;
  double newestStart = 0;
  std::string newestTitle;
  ReminderListPages& st = ListPages();
  const int oldFirst = st.ListPageNumber;
  const int oldMax = st.ListPageScrollMax;
  if (Databases().Reminders.ReadNewestReminder(newestId, newestStart, newestTitle) == 1 && newestId == saved.id &&
      newestTitle == saved.txbt) {
    ListPageReminders().push_back(saved);
  }
  st.ListPageRowCount = static_cast<int>(ListPageReminders().size());
  st.ListPageScrollMax = LargestFirstRow(st.ListPageRowCount, st.ListPageVisibleRows);
  if (st.ListPageNumber > st.ListPageScrollMax) st.ListPageNumber = st.ListPageScrollMax;
  // A list scrolled to its end stays at its end.
  if (oldFirst == oldMax && oldMax < st.ListPageScrollMax) st.ListPageNumber = st.ListPageScrollMax;
  RefreshTodayWindow();
  RefreshListPage();
  ResetReminderEditor(Settings().KeepLastReminderSettings);
}

}  // namespace

int CheckRequiredFields() {
  if (AnyEmpty(kAlwaysRequired)) return 1;
  if (IsGroupShown(kEndDateFrame) && AnyEmpty(kEndDateRequired)) return 1;
  if (AnyEmpty(kShapeRequired)) return 1;
  const std::string mode = Text(kModeBox);
  for (const ModeRequired& m : kModeRequired) {
    if (m.mode == mode && AnyEmpty(m.units)) return 1;
  }
  return 0;
}

void SaveReminderFromEditor() {
  if (!Open()) return;
  CorrectBoxBeingTyped();
  if (CheckRequiredFields() == 1) return;
  // The amount is stored as a whole number: below 1 the schedule would never step on.
  if (Is(kModeBox, "循环") && NumberOf("重复时间框") < 1) {
    ShowMessage("重复时间必须大于0！");
    return;
  }
  // A one-time lunar reminder fires once, on a day the calendar must have.
  if (Is(kModeBox, "农历(一次)")) {
    const std::string refusal = RefuseLunarOnceDate(NumberOf("提醒年选择框_农历一次"), Text("提醒月选择框_农历一次"),
                                                    Text("提醒日选择框_农历一次"));
    if (!refusal.empty()) {
      ShowMessage(refusal);
      return;
    }
  }
  const double now = platform::clock::Now();
  // Read before a single date's window takes the start date into the hidden end date boxes.
  const EditorTimeBoxes boxes = ReadTimeBoxes();
  if (Is(kDateLabel, kSingleDate) && Is(kTimeLabel, kDailyWindow)) {
    for (int i = 0; i < 3; ++i) SetText(kEndBoxes[i], Text(kStartBoxes[i]));
  }
  EditorTimes times;
  if (const std::string refusal = ScheduleTimesFromBoxes(boxes, now, times); !refusal.empty()) {
    ShowMessage(refusal);
    return;
  }
  ReminderRecord& r = Editor().EditorReminder;
  r.ksdate = times.ksdate;
  r.jsdate = times.jsdate;
  r.kstime = times.kstime;
  r.jstime = times.jstime;
  r.txdate = times.ksdate;
  r.djsj = times.djsj;
  r.txfs = RepeatModeFromName(Text(kModeBox));
  r.txrw = TaskFromName(Text(kTaskBox));
  r.cfsj = NumberOf("重复时间框");
  r.cfdw = IntervalUnitFromName(Text(kUnitLabel));
  r.txlx = Text(kCategoryBox);
  ApplyTextDefaults(r.txfs);
  r.txbt = Text(kTitleBox);
  r.txnr = Text(kContentBox);
  r.txyy = Text(kSoundBox);
  r.txcx = Text(kProgramBox);
  r.txwy = Text(kWebBox);
  r.tqsj = NumberOf("提前时间框");
  r.tqdw = NoticeUnitFromName(Text("提前单位标签"));
  r.txzt = 0;
  r.xctx = 0;
  r.gjys = NumberOf("关机延时框");
  r.gbcksj = NumberOf("关闭窗口框");
  FillModeFields(r);
  if (r.txfs == RepeatMode::Interval && r.cfdw == IntervalUnit::MinuteSinceLoad) {
    r.ksdate = r.jsdate = r.kstime = r.jstime = CutToWholeSecond(now);
  }
  r.txdate = r.ksdate;
  r.cfcs = NumberOf("重复次数框");
  r.cfjs = 0;
  r.cfcsdw = CountUnitFromName(Text("重复次数单位标签"));
  r.qzzx = IsTicked(kForceTick);
  r.txdz = IsTicked(kNoPopupTick);
  AccessConfigItem("tx", "txyy", r.txyy);

  // A modify writes the row it was opened on, also when that reminder is no longer loaded.
  const int edited = Run().EditedReminderId;
  if (edited > 0) r.id = edited;
  const int result = Databases().Reminders.SaveReminder(r);
  AddComboItemIfMissing(Text(kCategoryBox), Combo("提醒类型组合框"));
  if (result != 1) {
    ShowMessage("保存提醒失败!");
    return;
  }
  const ReminderRecord saved = r;
  if (edited > 0) {
    AfterModify(saved);
  } else {
    AfterAdd(saved);
  }
}

}  // namespace workmemo
