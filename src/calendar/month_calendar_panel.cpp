#include "calendar/month_calendar_panel.h"

#include <memory>
#include <string>

#include "calendar/month_calendar_view.h"
#include "platform/clock/clock.h"
#include "platform/lunar/lunar.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "shell/data_files.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/password_gate.h"
#include "shell/run_state.h"
#include "ui/skin_painter.h"
#include "ui/weekday_name.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr const char* kCalendarPanel = "月历画板";
constexpr const char* kSelectionPanel = "选中画板";
constexpr const char* kHoverPanel = "移动画板";
constexpr int kCalendarCellWidth = 100;
constexpr int kCalendarCellHeight = 78;
// The years a step keeps; a step beyond them comes back to the current year.
constexpr int kFirstStepYear = 1901;
constexpr int kLastStepYear = 2049;

struct StepLabel {
  const char* unit;
  const char* caption;
};
constexpr StepLabel kStepLabels[] = {
    {"上年标签", "上年"}, {"上月标签", "上月"}, {"今天标签", "今天"}, {"下年标签", "下年"}, {"下月标签", "下月"}};

struct PageContext {
  ui::Window* page = nullptr;
  MainWindow* main = nullptr;
  SkinPainter painter;  // MonthCalendarPanelPainter
};

std::unique_ptr<PageContext>& Context() {
  static std::unique_ptr<PageContext> context;
  return context;
}

ui::Unit& PageUnit(const char* name) { return Context()->page->Unit(name); }
ui::DrawPanel& PagePanel(const char* name) { return Context()->page->UnitAs<ui::DrawPanel>(name); }

DateTimeParts Today() { return SplitDateTime(platform::clock::Now()); }

CalendarLayout PageLayout() {
  CalendarLayout s;
  s.GridLeft = 10;
  s.GridTop = 66;
  s.CellWidth = kCalendarCellWidth;
  s.CellHeight = kCalendarCellHeight;
  s.GridColour = ui::Rgb(255, 0, 0);
  s.TodayColour = ui::Rgb(0, 136, 255);
  s.MonthCaptionSize = 20;
  s.MonthCaptionColour = ui::Rgb(0, 128, 128);
  s.YearCaptionSize = 12;
  s.YearCaptionColour = ui::Rgb(144, 0, 255);
  s.BackgroundPicture = PanelPicture{Context()->main, nullptr};
  return s;
}

void LayOutCalendar() {
  MonthCalendar().LayOutUnits(PagePanel(kCalendarPanel), PagePanel(kSelectionPanel),
                              PagePanel(kHoverPanel), PageLayout());
}

// The year and month a step shows: month steps carry into the year, and a year beyond the
// calendar's comes back to the current one.
void Step(int years, int months) {
  if (!Context()) return;
  int year = MonthCalendar().ShownYear() + years;
  int month = MonthCalendar().ShownMonth() + months;
  if (month < 1) {
    month = 12;
    --year;
  } else if (month > 12) {
    month = 1;
    ++year;
  }
  if (year < kFirstStepYear || year > kLastStepYear) year = Today().year;
  ShowMonthAndRefresh(year, month);
}

void BindPageEvents(ui::Window& page) {
  const auto onDown = [&page](const char* unit, void (*action)()) {
    page.On(unit, ui::Event::LeftDown, [action](ui::EventArgs&) { action(); });
  };
  onDown("上月标签", StepMonthBackward);
  onDown("下月标签", StepMonthForward);
  onDown("上年标签", StepYearBackward);
  onDown("下年标签", StepYearForward);
  onDown("今天标签", ShowCurrentMonth);
  onDown("透明标签100", ViewDayReminders);
  onDown("月历_添加提醒标签", AddReminderForDay);
  page.On(kCalendarPanel, ui::Event::LeftDown, [](ui::EventArgs& a) { PickCalendarDay(a.x, a.y); });
  page.On(kCalendarPanel, ui::Event::MouseMove, [](ui::EventArgs& a) { TrackCalendarDay(a.x, a.y); });
  page.On({}, ui::Event::Created, [](ui::EventArgs&) { InitialiseMonthCalendarPanel(); });
  page.On({}, ui::Event::Destroying, [](ui::EventArgs&) { ForgetMonthCalendarPanel(); });
}

}  // namespace

void SetUpMonthCalendarPanel(MainWindow& main, ui::Window& page) {
  Context() = std::make_unique<PageContext>();
  Context()->page = &page;
  Context()->main = &main;
  // The view of an earlier page points at that page's panels: start from an empty one.
  MonthCalendar() = MonthCalendarView();
  BindPageEvents(page);
}

ui::Window* MonthCalendarPanelWindow() { return Context() ? Context()->page : nullptr; }

void ForgetMonthCalendarPanel() {
  // The page's painter made nothing of its own on the main window's boxes, which may be gone.
  Context().reset();
  MonthCalendar() = MonthCalendarView();
}

void InitialiseMonthCalendarPanel() {
  if (!Context()) return;
  ui::Window& page = *Context()->page;
  const PanelRect& area = Context()->main->PanelArea();
  page.Move(area.left, area.top);
  page.Resize(area.width, area.height);
  PagePanel(kCalendarPanel).Resize(page.Width(), page.Height());
  PaintMonthCalendarPanel();
  SetUpMonthCalendar();
  Context()->main->PlacePage(page);
}

void PaintMonthCalendarPanel() {
  if (!Context()) return;
  Context()->main->PaintPage(*Context()->page, Context()->painter, 0);
  SetUpMonthCalendar();
}

void SetUpMonthCalendar() {
  if (!Context()) return;
  Run().CurrentPageName = "月历";
  LayOutCalendar();
  const DateTimeParts today = Today();
  MonthCalendar().DrawMonth(today.year, today.month);
  MonthCalendar().DrawWeekdayHeader();
  DrawMonthCalendar();
}

void StepMonthBackward() { Step(0, -1); }
void StepMonthForward() { Step(0, 1); }
void StepYearBackward() { Step(-1, 0); }
void StepYearForward() { Step(1, 0); }

void ShowCurrentMonth() {
  const DateTimeParts today = Today();
  ShowMonthAndRefresh(today.year, today.month);
}

void ShowMonthAndRefresh(int year, int month) {
  if (!Context()) return;
  LayOutCalendar();
  MonthCalendar().DrawMonth(year, month);
  MonthCalendar().DrawWeekdayHeader();
  DrawMonthCalendar();
  RefreshTodayWindow();
}

void RefreshTodayWindow() {
  const ModuleSeams& seams = Seams();
  if (seams.IsTodayWindowLoaded && seams.IsTodayWindowLoaded() && seams.ShowTodayRemindersOn)
    seams.ShowTodayRemindersOn(DisplayedDate());
}

double DisplayedDate() {
  const MonthCalendarView& view = MonthCalendar();
  return MakeDateTime(view.ShownYear(), view.ShownMonth(), view.DisplayedDay(), 0, 0, 0);
}

void DrawMonthCalendar() {
  if (!Context()) return;
  const MonthCalendarView& view = MonthCalendar();
  const double date = DisplayedDate();
  const DateTimeParts day = SplitDateTime(date);
  PageUnit("年月标签").SetText(std::to_string(view.ShownYear()) + "年" + std::to_string(view.ShownMonth()) + "月");
  PageUnit("日标签").SetText(std::to_string(day.day));
  PageUnit("星期标签").SetText(WeekdayName(day.weekday, true));
  PageUnit("农历标签").SetText("农历 " + platform::lunar::FormatLunarDate(date, "%Y%S年%M%D"));
  for (const StepLabel& label : kStepLabels) PageUnit(label.unit).SetText(label.caption);
  PageUnit("提醒计数标签").SetText(std::to_string(Databases().Reminders.CountRemindersOnDay(date)) + " 条提醒");
}

void PickCalendarDay(int x, int y) {
  if (!Context()) return;
  MonthCalendar().SelectHoveredDay(x, y);
  DrawMonthCalendar();
  RefreshTodayWindow();
}

void TrackCalendarDay(int x, int y) {
  if (Context()) MonthCalendar().TrackHover(x, y);
}

void ViewDayReminders() {
  // Before any month was drawn there is no displayed day: today's date and time stand in.
  const double date = MonthCalendar().ShownYear() < 1900 ? platform::clock::Now() : DisplayedDate();
  if (Seams().ShowTodayRemindersOn) Seams().ShowTodayRemindersOn(date);
}

void AddReminderForDay() {
  RunState& run = Run();
  // The password given for the timed-reminder page does not carry over to an add from here.
  if (run.CurrentPageName != kPageTimedReminders) run.TimedReminderPageUnlocked = 0;
  run.CurrentPageName = kPageTimedReminders;
  CallSeam(&ModuleSeams::OpenAddReminderEditor);
}

std::optional<double> CalendarShownDay() {
  if (!Context() || !Context()->main->IsPanelVisible(kPageCalendar)) return std::nullopt;
  if (MonthCalendar().ShownYear() < 1900) return std::nullopt;
  return DisplayedDate();
}

}  // namespace workmemo
