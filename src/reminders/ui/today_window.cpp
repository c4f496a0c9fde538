#include "reminders/ui/today_window.h"

#include <memory>

#include "common/date_format.h"
#include "common/window_alpha.h"
#include "platform/clock/clock.h"
#include "platform/ui/app.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_detail_window.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/floating_window_holder.h"
#include "reminders/ui/reminder_sort.h"
#include "reminders/ui/today_window_context.h"
#include "reminders/ui/today_window_style.h"
#include "shell/data_files.h"
#include "shell/framed_window.h"
#include "shell/main_window.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shell/ui_state.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kListRows = 9;
constexpr int kListColumns = 2;
constexpr int kListTop = 83;
constexpr int kListBottomMargin = 105;  // the list ends above the bottom strip
constexpr int kRowHeight = 28;
constexpr int kTitleBytes = 52;
constexpr int kScrollTitleBytes = 56;
constexpr int kButtonMargin = 3;
constexpr int kScreenMargin = 5;
constexpr int kGripHeight = 50;         // the top band is the window's grip ...
constexpr int kGripButtonStrip = 100;   // ... left of the buttons
constexpr int kMidnightCheckMilliseconds = 1000;

// The password panel and the units on it, shown and hidden together.
constexpr std::string_view kCoverUnits[] = {kTodayPasswordPanel, "查询项目类型标签1", "外形框1",
                                            kTodayPasswordBox,   "透明标签3",         "一次输入密码选择框",
                                            "透明标签4"};

// The calendar's drop-down places, from the 月历 label and from the date label.
constexpr int kCalendarFromButtonX = 175;
constexpr int kCalendarFromDateX = 5;
constexpr int kCalendarY = 77;

FloatingWindowHolder<TodayWindowContext>& Holder() {
  // Never destroyed at exit: a window must not outlive the application object.
  static auto& holder = *new FloatingWindowHolder<TodayWindowContext>;
  return holder;
}

ui::Window& Win() { return *Holder().Window(); }

void SetDateLabel() {
  Win().Unit(kTodayDateLabel).SetText("日期：" + FormatDateTime(Run().ChosenDay, 1));
}

void StepTo(double day) {
  Run().ChosenDay = day;
  SetDateLabel();
  ShowDayReminders(Run().ChosenDay);
}

void ShowCalendar(bool visible) {
  Win().Unit(kTodayCalendarFrame).SetVisible(visible);
  Win().Unit(kTodayCalendarPanel).SetVisible(visible);
}

void ShowDetailOf(int id) {
  DetailState().DetailReminderId = id;
  if (id < 1) return;
  if (ReminderDetailWindow() != nullptr)
    ShowReminderDetail();
  else
    OpenDetailWindow();
}

// A left press on a list object: the scroll buttons start their repeat through the router;
// with the detail window open, a press on a row switches it to that row.
void PressTodayListObject(ListEventRouter& router, int spriteId) {
  router.ObjectPressed(spriteId);
  const std::string name = TodayReminderList().SpriteName(spriteId);
  if (name == kListUpButtonName || name == kListDownButtonName) return;
  if (ReminderDetailWindow() == nullptr) return;
  DetailState().DetailReminderId = TodayReminderList().RowIdOfSprite(spriteId);
  if (DetailState().DetailReminderId > 0) ShowReminderDetail();
}

void LayOutTodayWindow() {
  TodayWindowState& st = TodayState();
  ui::Window& w = Win();
  st.TodayWindowWidth = 480;
  st.TodayWindowHeight = 360;
  w.Resize(st.TodayWindowWidth, st.TodayWindowHeight);
  st.TodayShownWidth = st.TodayWindowWidth;
  st.TodayShownHeight = st.TodayWindowHeight;
  ui::Unit& close = w.Unit("关闭按钮");
  close.Move(st.TodayWindowWidth - close.Width() - kButtonMargin, kButtonMargin);
  ui::Unit& menu = w.Unit("菜单按钮");
  menu.Move(close.Left() - menu.Width() - 1, kButtonMargin);
  w.Move(ui::ScreenWidth() - st.TodayWindowWidth - kScreenMargin,
         ui::ScreenHeight() - st.TodayWindowHeight - Settings().TaskbarHeight - kScreenMargin);
  w.Unit(kTodayPasswordPanel)
      .SetGeometry(2, kFramedBodyTop, st.TodayWindowWidth - 4, st.TodayWindowHeight - kFramedBandsHeight);
  w.Unit(kTodayStripBox).SetGeometry(0, 0, st.TodayWindowWidth, 32);
}

void BindTodayEvents(TodayWindowContext& ctx) {
  ui::Window& w = ctx.window;
  auto onPress = [&w](std::string_view unit, std::function<void()> action) {
    w.On(unit, ui::Event::LeftDown, [action = std::move(action)](ui::EventArgs&) { action(); });
  };
  auto onChoose = [&w](std::string_view unit, std::function<void()> action) {
    w.On(unit, ui::Event::Clicked, [action = std::move(action)](ui::EventArgs&) { action(); });
  };
  w.On({}, ui::Event::Created, [](ui::EventArgs&) { InitialiseTodayWindow(); });
  w.On({}, ui::Event::Destroying, [](ui::EventArgs&) { SaveTodayWindowState(); });

  onPress("今天按钮标签", ShowToday);
  onPress("昨天按钮标签", ShowYesterday);
  onPress("明天按钮标签", ShowTomorrow);
  onPress("上月标签", ShowPreviousDay);
  onPress("下月标签", ShowNextDay);
  onPress("月历按钮标签", [] { ToggleTodayCalendar(kCalendarFromButtonX, kCalendarY); });
  onPress(kTodayDateLabel, [] { ToggleTodayCalendar(kCalendarFromDateX, kCalendarY); });
  w.On(kTodayCalendarPanel, ui::Event::LeftDown, [](ui::EventArgs& a) { PickTodayCalendarDay(a.x, a.y); });
  w.On(kTodayCalendarPanel, ui::Event::MouseMove,
       [&ctx](ui::EventArgs& a) { ctx.picker.HandleMouseMove(a.x, a.y); });
  onPress("透明标签3", ConfirmTodayWindowPassword);
  w.On(kTodayPasswordBox, ui::Event::KeyDown, [](ui::EventArgs& a) {
    if (a.key != 13) return;
    a.handled = true;
    ConfirmTodayWindowPassword();
  });
  onPress(kTodayCaption, [&w] { ui::DragWindow(w); });
  onChoose("关闭按钮", [&w] { w.Close(); });
  onChoose("菜单按钮", ShowTodayMenu);

  for (int percent = 10; percent <= 100; percent += 10) {
    const int alpha = WindowAlphaOfPercent(percent);
    onChoose("透明度" + std::to_string(percent), [alpha] { SetTodayOpacity(alpha); });
  }
  onChoose("列表", ChooseListStyle);
  onChoose("滚动", ChooseScrollingStyle);
  onChoose("窗口置顶显示", ToggleTodayWindowTopmost);
  onChoose("记录窗口位置", ToggleTodayPositionMemory);
  onChoose("没提醒不显示", ToggleHideTodayWhenEmpty);
  onChoose("关闭", [&w] { w.Close(); });

  ListRoutes routes;
  routes.showPage = ShowDayListPage;
  routes.openRecord = ShowDetailOf;
  ctx.binding = std::make_unique<ListBoxBinding>(w, kTodayListBox, "时钟1", "移动时钟",
                                                 TodayReminderList(), std::move(routes));
  ListEventRouter* router = &ctx.binding->Router();
  w.On(kTodayListBox, ui::Event::ObjectLeftDown,
       [router](ui::EventArgs& a) { PressTodayListObject(*router, a.objectId); });
  w.On(kTodayListBox, ui::Event::ObjectEnter, [router](ui::EventArgs& a) {
    if (a.objectId > 0) router->ObjectEntered(a.objectId);
  });
  w.On(kTodayListBox, ui::Event::LeftDown, [router, &w](ui::EventArgs& a) {
    router->ButtonDown(a.y);
    if (a.x < TodayState().TodayWindowWidth - kGripButtonStrip && a.y < kGripHeight) ui::DragWindow(w);
  });

  auto& strip = w.UnitAs<ui::AnimationBox>(kTodayStripBox);
  RouteSpriteEvents(strip, ctx.sprites);
  w.On(kTodayStripBox, ui::Event::ObjectLeftDown, [](ui::EventArgs& a) { PressTodayTitleStrip(a.objectId); });
  w.On(kTodayStripBox, ui::Event::ObjectRightUp, [](ui::EventArgs& a) {
    if (a.objectId <= 0) ShowTodayMenu();
  });
  w.On("滚动显示时钟", ui::Event::Timer, [](ui::EventArgs&) { ScrollTodayStrip(); });
  w.On("刷新时钟", ui::Event::Timer, [](ui::EventArgs&) { RefreshTodayAtMidnight(); });
}

std::unique_ptr<TodayWindowContext> MakeContext(ui::Window& window) {
  auto ctx = std::make_unique<TodayWindowContext>(window);
  BindTodayEvents(*ctx);
  return ctx;
}

}  // namespace

void TodayPasswordCover::Show(bool visible) {
  for (std::string_view unit : kCoverUnits) window_.Unit(unit).SetVisible(visible);
}

bool TodayPasswordCover::IsShown() const { return window_.Unit(kTodayPasswordPanel).IsVisible(); }

TodayWindowState& TodayState() {
  static TodayWindowState state;
  return state;
}

TodayWindowContext* HeldTodayContext() { return Holder().Held(); }

TodayWindowContext* LoadedTodayContext() { return Holder().Current(); }

ui::Window* TodayRemindersWindow() { return LoadedTodayContext() != nullptr ? Holder().Window() : nullptr; }

void TickTodayMainMenuItem(bool ticked) {
  MainWindow* main = ProgramMainWindow();
  if (main == nullptr || !main->Window().HasUnit(kTodayMainMenuItem)) return;
  main->Window().UnitAs<ui::MenuItem>(kTodayMainMenuItem).SetChecked(ticked);
}

void ShowTodayWindow() {
  if (ui::Window* open = TodayRemindersWindow()) {
    open->Show();
    open->Activate();
    TickTodayMainMenuItem(true);
    return;
  }
  CloseTodayWindow();
  Holder().Load(kTodayWindowName, MakeContext).window.Open(true);
  TickTodayMainMenuItem(true);
}

void AttachTodayWindow(ui::Window& window) {
  CloseTodayWindow();
  Holder().Attach(window, MakeContext);
}

void ShowTodayRemindersOn(double day) {
  if (LoadedTodayContext() == nullptr) ShowTodayWindow();
  if (LoadedTodayContext() == nullptr) return;
  StepTo(day);
}

void CloseTodayWindow() {
  Holder().Release();
  // The list pointed at the window's box: an unbuilt one until the next window builds it.
  TodayReminderList() = SkinListView();
}

PasswordCover* TodayWindowCover() {
  TodayWindowContext* ctx = LoadedTodayContext();
  return ctx != nullptr ? &ctx->cover : nullptr;
}

void RelayoutTodayWindow() {
  if (LoadedTodayContext() == nullptr) return;
  PaintTodayWindow();
  CreateTodayList();
  ShowDayReminders(Run().ChosenDay);
}

void PaintTodayWindow() {
  TodayWindowContext& ctx = *HeldTodayContext();
  ui::Window& w = ctx.window;
  // The password panel takes the look of what lies under it, which must not be a row.
  TodayReminderList().ClearRows();
  PaintFramedShellWindow(ctx.painter, w, Ui().LabelFontSize);
  auto& box = w.UnitAs<ui::AnimationBox>(kTodayListBox);
  auto& cover = w.UnitAs<ui::DrawPanel>(kTodayPasswordPanel);
  cover.Clear();
  cover.DrawPicture(box.Capture(cover.Left(), cover.Top(), cover.Width(), cover.Height()), 0, 0);
  w.UnitAs<ui::AnimationBox>(kTodayStripBox).SetBackgroundPicture(Ui().BackgroundPicture, 1);
  const std::pair<std::string_view, std::string_view> captions[] = {
      {"昨天按钮标签", "昨天"}, {"今天按钮标签", "今天"}, {"明天按钮标签", "明天"},
      {"上月标签", "<"},        {"下月标签", ">"},        {"月历按钮标签", "月历"}};
  for (const auto& [unit, caption] : captions) w.Unit(unit).SetText(caption);
}

void CreateTodayList() {
  TodayWindowContext& ctx = *HeldTodayContext();
  TodayWindowState& st = TodayState();
  ReminderListPages& pages = ListPages();
  pages.TodayTitleBytes = kTitleBytes;
  st.TodayScrollTitleBytes = kScrollTitleBytes;
  SkinListView& list = TodayReminderList();
  const auto& box = ctx.window.UnitAs<ui::AnimationBox>(kTodayListBox);
  list.Create(ctx.binding->Surface(), kListRows, kListColumns, 0, kListTop, box.Width(),
              st.TodayWindowHeight - kListBottomMargin, kRowHeight, false, EmbeddedListPictures());
  pages.TodayVisibleRows = list.VisibleRowCount();
  list.SetColumn(1, 2, 4, 24, 23);
  list.SetColumn(2, 32, 8);
}

void InitialiseTodayWindow() {
  TodayWindowContext* ctx = HeldTodayContext();
  if (ctx == nullptr) return;
  LayOutTodayWindow();
  PaintTodayWindow();
  ctx->pickerDrawing.emplace(ctx->window.UnitAs<ui::DrawPanel>(kTodayCalendarPanel));
  ctx->pickerBacking.emplace(ctx->window.UnitAs<ui::DrawPanel>("画板2"));
  ctx->picker.Bind(*ctx->pickerDrawing, *ctx->pickerBacking);
  CreateTodayList();
  Run().ChosenDay = platform::clock::Now();
  ShowDayReminders(Run().ChosenDay);
  ctx->cover.Show(Settings().LoginByPassword == 1 && Run().PasswordEntered == 0);
  ctx->painter.SetButtonPictures(ctx->window.UnitAs<ui::PictureButton>("一次输入密码选择框"),
                                 Run().AskPasswordOnce);
  BuildTodayTitleSprites();
  RestoreTodayWindowSettings();
  TodayState().LastSeenDay = DayNumber(platform::clock::Now());
  ctx->window.UnitAs<ui::Timer>("刷新时钟").SetInterval(kMidnightCheckMilliseconds);
}

std::string TodayCaptionFor(double day, double now) {
  switch (DayNumber(day) - DayNumber(now)) {
    case 0:
      return "今天提醒";
    case -1:
      return "昨天提醒";
    case 1:
      return "明天提醒";
    default:
      return FormatDateTime(day, 1);
  }
}

void ShowDayReminders(double day) {
  if (LoadedTodayContext() == nullptr) return;
  ReminderListPages& st = ListPages();
  st.TodayDayReminders.clear();
  Databases().Reminders.CollectRemindersOnDay(day, st.TodayDayReminders);
  st.TodayRowCount = static_cast<int>(st.TodayDayReminders.size());
  SortRemindersByField(st.TodayDayReminders, "提醒时间：");
  st.TodayScrollMax = LargestFirstRow(st.TodayRowCount, st.TodayVisibleRows);
  st.TodayFirstRow = 1;
  ResetListForQuery(TodayReminderList(), st.TodayScrollMax);
  ShowDayListPage(1);
  Win().Unit(kTodayCaption).SetText(TodayCaptionFor(Run().ChosenDay, platform::clock::Now()));
  SetDateLabel();
  // The strip shows the day as it is now, not as it was when the strip was chosen.
  if (InScrollingStyle()) BuildScrollTexts();
}

void ShowToday() { StepTo(platform::clock::Now()); }
void ShowYesterday() { StepTo(AddToDate(platform::clock::Now(), DatePart::Day, -1)); }
void ShowTomorrow() { StepTo(AddToDate(platform::clock::Now(), DatePart::Day, 1)); }
void ShowPreviousDay() { StepTo(AddToDate(Run().ChosenDay, DatePart::Day, -1)); }
void ShowNextDay() { StepTo(AddToDate(Run().ChosenDay, DatePart::Day, 1)); }

void ToggleTodayCalendar(int x, int y) {
  TodayWindowContext* ctx = LoadedTodayContext();
  if (ctx == nullptr) return;
  ui::Unit& frame = Win().Unit(kTodayCalendarFrame);
  frame.Move(x, y);
  Win().Unit(kTodayCalendarPanel).Move(x + 1, y + 1);
  Win().Unit("画板2").Move(x + 1, y + 1);
  if (frame.IsVisible()) {
    ShowCalendar(false);
    return;
  }
  ShowCalendar(true);
  const DateTimeParts day = SplitDateTime(Run().ChosenDay);
  ctx->picker.DrawMonth(day.year, day.month, day.day, day.day);
}

void PickTodayCalendarDay(int x, int y) {
  TodayWindowContext* ctx = LoadedTodayContext();
  if (ctx == nullptr) return;
  double picked = 0;
  switch (ctx->picker.HandleClick(x, y, picked)) {
    case PickerClick::Day:
      ShowCalendar(false);
      StepTo(picked);
      break;
    case PickerClick::Close:
      ShowCalendar(false);
      break;
    case PickerClick::None:
      break;
  }
}

void OpenReminderDetail(int spriteId) { ShowDetailOf(TodayReminderList().RowIdOfSprite(spriteId)); }

void ConfirmTodayWindowPassword() {
  TodayWindowContext* ctx = LoadedTodayContext();
  if (ctx == nullptr) return;
  ui::Unit& box = ctx->window.Unit(kTodayPasswordBox);
  const std::string typed = box.Text();
  ProgramGate().CheckWindowPassword(typed, ctx->cover);
  box.SetText({});
}

}  // namespace workmemo
