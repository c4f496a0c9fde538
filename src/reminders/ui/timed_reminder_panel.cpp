#include "reminders/ui/timed_reminder_panel.h"

#include <memory>

#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/ui/reminder_list_page.h"
#include "shell/data_files.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "ui/list_page.h"
#include "ui/query_bar.h"
#include "ui/skin_list_view_box.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kListColumns = 6;
constexpr int kColumnX[kListColumns] = {1, 30, 133, 220, 310, 460};
constexpr const char* kColumnCaptions[kListColumns] = {"", "提醒日期", "提醒时间", "提醒方式",
                                                       "提醒类型", "提醒标题"};

constexpr std::string_view kFieldCombo = "查询项目类型组合框";

constexpr QueryBarUnits kBarUnits = {
    .barPicture = "界面功能框_提醒",
    .barBox = kReminderBarBox,
    .frame = "外形框5",
    .queryBox = kReminderQueryBox,
    .refreshButton = "定时提醒查询刷新按钮",
    .clearButton = "定时提醒查询清除按钮",
    .frameSprite = kReminderQueryFrameSprite,
    .textSprite = kReminderQueryTextSprite,
    .refreshSprite = kReminderRefreshSprite,
    .clearSprite = kReminderClearSprite,
};

// The page's own objects; one page lives from the main window's load to the end.
struct PanelContext {
  ui::Window* page = nullptr;
  SkinPainter painter;
  std::unique_ptr<QueryBar> bar;
  std::unique_ptr<ListBoxBinding> binding;
};

std::unique_ptr<PanelContext>& Context() {
  static std::unique_ptr<PanelContext> context;
  return context;
}

ReminderPanelHost& Host() {
  static ReminderPanelHost host;
  return host;
}

// Fills ListPageReminders from the store: the reminders whose field holds `text`, sorted by
// `sortField`, and sets the counts; the first row is left to the caller.
void FillListPage(std::string_view fieldLabel, std::string_view text, std::string_view sortField) {
  ReminderList& records = ListPageReminders();
  // At start the load has just read every row for the page; a query of its own reads them anew.
  const bool readAtStart = Databases().ListPageHoldsFullRead && fieldLabel.empty();
  Databases().ListPageHoldsFullRead = false;
  if (!readAtStart) Databases().Reminders.SearchReminders(fieldLabel, text, records);
  if (PanelActions().SortRemindersByField) PanelActions().SortRemindersByField(records, sortField);
  ReminderListPages& st = ListPages();
  st.ListPageRowCount = static_cast<int>(records.size());
  st.ListPageScrollMax = LargestFirstRow(st.ListPageRowCount, st.ListPageVisibleRows);
}

void Perform(const std::function<void()>& action) {
  if (action) action();
}

ui::Unit& PageUnit(std::string_view name) { return Context()->page->Unit(name); }

void BindPageEvents(ui::Window& page) {
  using ui::Event;
  auto click = [&page](std::string_view unit, std::function<void()> action) {
    page.On(unit, Event::Clicked, [action = std::move(action)](ui::EventArgs&) { action(); });
  };
  auto action = [](std::function<void()> ReminderPanelActions::*member) {
    return [member] { Perform(PanelActions().*member); };
  };
  click("定时提醒查询按钮", RunReminderQuery);
  click("添加定时提醒按钮", action(&ReminderPanelActions::OpenAddReminderEditor));
  click("修改定时提醒按钮", action(&ReminderPanelActions::OpenModifyReminderEditor));
  click("删除定时提醒按钮", action(&ReminderPanelActions::DeleteReminder));
  click("置提醒状态", action(&ReminderPanelActions::ResumeReminder));
  click("置暂停状态", action(&ReminderPanelActions::PauseReminder));
  click("复制并新增提醒", action(&ReminderPanelActions::CopyAndAddReminder));
  click("移到到记事管理", action(&ReminderPanelActions::MoveReminderToNotes));
  click("全部删除", action(&ReminderPanelActions::DeleteAllReminders));
  auto dropDown = [&page] { ui::DropDownComboBox(page.UnitAs<ui::ComboBox>(kFieldCombo)); };
  click("定时提醒下拉按钮1", dropDown);
  page.On(kReminderQueryFieldLabel, Event::LeftDown, [dropDown](ui::EventArgs&) { dropDown(); });
  page.On(kFieldCombo, Event::Changed, [](ui::EventArgs&) { SelectReminderQueryField(); });
  page.On(kReminderQueryBox, Event::KeyDown, [](ui::EventArgs& a) {
    if (a.key != 13) return;
    a.handled = true;
    RunReminderQuery();
  });

  ListRoutes routes;
  routes.showPage = ShowReminderListPage;
  routes.headerClicked = [](int, const std::string& caption) {
    RefreshReminderList({}, {}, caption + "：");
  };
  routes.openRowMenu = [&page] { page.UnitAs<ui::Menu>("菜单").PopupAtPointer(); };
  routes.openListMenu = [&page] { page.UnitAs<ui::Menu>("菜单1").PopupAtPointer(); };
  routes.openRecord = [](int id) {
    if (id >= 1) Perform(PanelActions().OpenModifyReminderEditor);
  };
  PanelContext& ctx = *Context();
  ctx.bar = std::make_unique<QueryBar>(page, kBarUnits, ShowAllReminders);
  ctx.binding = ctx.bar->BindList(kReminderListBox, "时钟1", "移动时钟", TimedReminderList(), std::move(routes));

  page.On({}, Event::Created, [](ui::EventArgs&) { InitialiseReminderPanel(); });
  // The page and its list go together: nothing may point at the page's boxes afterwards.
  page.On({}, Event::Destroying, [](ui::EventArgs&) {
    if (!Context()) return;
    Context()->painter.ClearSprites();
    Context().reset();
    TimedReminderList() = SkinListView();
  });
}

}  // namespace

void SetReminderPanelHost(ReminderPanelHost host) { Host() = std::move(host); }

ReminderPanelActions& PanelActions() {
  static ReminderPanelActions actions;
  return actions;
}

void SetUpTimedReminderPanel(ui::Window& page) {
  Context() = std::make_unique<PanelContext>();
  Context()->page = &page;
  // A list of an earlier page points at that page's box: start from an unbuilt one.
  TimedReminderList() = SkinListView();
  BindPageEvents(page);
}

ui::Window* TimedReminderPanelWindow() { return Context() ? Context()->page : nullptr; }

void InitialiseReminderPanel() {
  if (!Context()) return;
  PlaceReminderPanel();
  BuildReminderPanelSkin();
  BuildReminderListColumns();
  RefreshReminderList();
  if (Host().mainWindow != nullptr) Context()->page->SetParentWindow(Host().mainWindow);
}

void PlaceReminderPanel() {
  ui::Window& page = *Context()->page;
  const ReminderPanelHost& host = Host();
  page.Move(host.left, host.top);
  page.Resize(host.width, host.height);
  Context()->bar->Place(host.width, host.height);
}

void BuildReminderPanelSkin() {
  PanelContext& ctx = *Context();
  const std::string& areaPicture = Host().Picture();
  ctx.bar->Paint(PaintListPage(ctx.painter, *ctx.page, areaPicture));
}

void BuildReminderListColumns() {
  PanelContext& ctx = *Context();
  ReminderListPages& st = ListPages();
  st.ListPageVisibleRows = BuildPageList(TimedReminderList(), ctx.binding->Surface(), *ctx.page, kColumnX, 24, 24);
  st.ListPageTitleBytes = 76;
  st.ListPageCategoryBytes = 16;
  SetReminderListHeaders();
}

void SetReminderListHeaders() {
  const ListCaptionLook look(Settings().ListFontSize);
  for (int c = 2; c <= kListColumns; ++c) TimedReminderList().SetHeaderText(c, kColumnCaptions[c - 1], look);
}

void RefreshReminderList(std::string_view fieldLabel, std::string_view text, std::string_view sortField) {
  FillListPage(fieldLabel, text, sortField);
  ReminderListPages& st = ListPages();
  st.ListPageNumber = 1;
  Run().EditedReminderId = 0;
  ResetListForQuery(TimedReminderList(), st.ListPageScrollMax);
  ShowReminderListPage(1);
}

void ShowAllReminders() {
  if (!Context()) return;
  Context()->bar->Reset();
  RefreshReminderList();
}

void ClearReminderQuery() {
  if (!Context()) return;
  Context()->bar->ClearQuery();
}

void RunReminderQuery() {
  if (!Context()) return;
  const std::string text = PageUnit(kReminderQueryBox).Text();
  if (text.empty()) {
    if (Services().ShowMessageBox) Services().ShowMessageBox("请输入要查询的提醒标题！");
    return;
  }
  RefreshReminderList(PageUnit(kReminderQueryFieldLabel).Text(), text);
  Context()->bar->QueryRan();
}

void SelectReminderQueryField() {
  if (!Context()) return;
  const auto& combo = Context()->page->UnitAs<ui::ComboBox>(kFieldCombo);
  PageUnit(kReminderQueryFieldLabel).SetText(combo.ItemText(combo.CurrentIndex()) + "：");
  Context()->bar->ClearQuery();
}

bool ReplaceListPageCopy(const ReminderRecord& record) {
  ReminderList& records = ListPageReminders();
  const int position = FindReminderIndex(records, record.id);
  if (position == 0) return false;
  records[static_cast<std::size_t>(position) - 1] = record;
  return true;
}

void AddListPageCopies(const ReminderList& added) {
  ReminderList& records = ListPageReminders();
  records.insert(records.end(), added.begin(), added.end());
  ReminderListPages& st = ListPages();
  st.ListPageRowCount = static_cast<int>(records.size());
  st.ListPageScrollMax = LargestFirstRow(st.ListPageRowCount, st.ListPageVisibleRows);
}

void RedrawReminderListPage() {
  if (Context()) ShowReminderListPage(ListPages().ListPageNumber);
}

}  // namespace workmemo
