#include "due_notes/due_panel.h"

#include <memory>
#include <utility>

#include "due_notes/due_list_lines.h"
#include "due_notes/due_queries.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "ui/list_page.h"
#include "ui/query_bar.h"
#include "ui/skin_list_view_box.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kListColumns = 7;
constexpr int kColumnX[kListColumns] = {1, 30, 133, 333, 533, 733, 833};
constexpr const char* kCaptions[] = {"到期日期", "客户名称", "项目类型", "项目名称", "完成进度", "备注"};
constexpr DueColumn kColumns[] = {
    {2, DueField::DueDate, true},      {3, DueField::Customer, false}, {4, DueField::ProjectType, false},
    {5, DueField::ProjectName, false}, {6, DueField::Progress, true},  {7, DueField::Remark, false},
};

constexpr std::string_view kListBox = "背景动画框";
constexpr std::string_view kFieldCombo = "查询项目类型组合框";
constexpr std::string_view kFieldLabel = "查询项目类型标签";
constexpr std::string_view kQueryBox = "到期查询框";

constexpr QueryBarUnits kBarUnits = {
    .barPicture = "界面功能框_到期提醒",
    .barBox = "界面功能动画框_到期提醒",
    .frame = "外形框5",
    .queryBox = kQueryBox,
    .refreshButton = "到期提醒查询刷新按钮",
    .clearButton = "到期提醒查询清除按钮",
    .frameSprite = "到期提醒查询内容框",
    .textSprite = "到期提醒查询内容",
    .refreshSprite = "到期提醒刷新按钮",
    .clearSprite = "到期提醒清除按钮",
};

// The page's own objects; one page lives from the main window's load to the end.
struct PanelContext {
  ui::Window* page = nullptr;
  SkinPainter painter;  // DuePanelPainter
  std::unique_ptr<QueryBar> bar;
  std::unique_ptr<ListBoxBinding> binding;
};

std::unique_ptr<PanelContext>& Context() {
  static std::unique_ptr<PanelContext> context;
  return context;
}

PanelHost& Host() {
  static PanelHost host;
  return host;
}

ui::Unit& PageUnit(std::string_view name) { return Context()->page->Unit(name); }

DueListView PanelView() {
  DuePanelState& st = DuePage();
  return {DuePanelList(), st.DuePanelRows,     st.DuePanelRowCount, st.DuePanelScrollMax,
          st.DuePanelFirstRow, st.DuePanelVisibleRows, kColumns};
}

void BindPageEvents(ui::Window& page);

}  // namespace

DuePanelState& DuePage() {
  static DuePanelState state;
  return state;
}

SkinListView& DuePanelList() {
  static SkinListView list;
  return list;
}

void SetDuePanelHost(PanelHost host) { Host() = std::move(host); }

void SetUpDuePanel(ui::Window& page) {
  Context() = std::make_unique<PanelContext>();
  Context()->page = &page;
  // A list of an earlier page points at that page's box: start from an unbuilt one.
  DuePanelList() = SkinListView();
  BindPageEvents(page);
}

ui::Window* DuePanelWindow() { return Context() ? Context()->page : nullptr; }

void LoadDuePanel() {
  if (!Context()) return;
  ui::Window& page = *Context()->page;
  const PanelHost& host = Host();
  page.Move(host.left, host.top);
  page.Resize(host.width, host.height);
  Context()->bar->Place(host.width, host.height);
  LayoutDuePanel();

  DuePage().DuePanelVisibleRows = BuildPageList(DuePanelList(), Context()->binding->Surface(), page, kColumnX, 24, 24);
  SetDueListHeaders();

  QueryDueList();
  if (host.mainWindow != nullptr) page.SetParentWindow(host.mainWindow);
}

void LayoutDuePanel() {
  if (!Context()) return;
  PanelContext& ctx = *Context();
  const std::string& areaPicture = Host().Picture();
  ctx.bar->Paint(PaintListPage(ctx.painter, *ctx.page, areaPicture));
}

void SetDueListHeaders() { SetDueCaptions(DuePanelList(), kCaptions); }

void QueryDueList(std::string_view fieldLabel, std::string_view text) {
  const std::optional<std::string> sql = DueListQuery(fieldLabel, text);
  if (!sql) {
    ShowDueMessage(kDaysMustBePositive);
    return;
  }
  DuePage().SelectedDueId = 0;
  ShowDueQuery(PanelView(), *sql);
}

void RunDueQuery() {
  if (!Context()) return;
  const std::string text = Context()->bar->Text();
  if (text.empty()) {
    ShowDueMessage(kEmptyDueQuery);
    return;
  }
  QueryDueList(PageUnit(kFieldLabel).Text(), text);
  Context()->bar->QueryRan();
}

void FillDueList(int first) { WriteDueLines(PanelView(), first); }

void RefreshDuePanel() {
  if (!Context()) return;
  Context()->bar->Reset();
  QueryDueList();
}

void ClearDueQuery() {
  if (Context()) Context()->bar->ClearQuery();
}

void SelectDueQueryField() {
  if (!Context()) return;
  const auto& combo = Context()->page->UnitAs<ui::ComboBox>(kFieldCombo);
  PageUnit(kFieldLabel).SetText(combo.ItemText(combo.CurrentIndex()) + "：");
}

namespace {

void BindPageEvents(ui::Window& page) {
  using ui::Event;
  auto click = [&page](std::string_view unit, std::function<void()> action) {
    page.On(unit, Event::Clicked, [action = std::move(action)](ui::EventArgs&) { action(); });
  };
  click("到期提醒查询按钮", RunDueQuery);
  click("添加到期提醒按钮", AddDue);
  click("修改到期提醒按钮", ModifySelectedDue);
  click("删除到期提醒按钮", DeleteDueRecord);
  for (int progress = 10; progress <= 100; progress += 10) {
    click(std::to_string(progress), [progress] { SetDueProgress(progress); });
  }
  click("复制并新增(一个月)", CopyDueAddOneMonth);
  click("复制并新增(一年)", CopyDueAddOneYear);
  auto dropDown = [&page] { ui::DropDownComboBox(page.UnitAs<ui::ComboBox>(kFieldCombo)); };
  click("到期提醒下拉按钮1", dropDown);
  page.On(kFieldLabel, Event::LeftDown, [dropDown](ui::EventArgs&) { dropDown(); });
  page.On(kFieldCombo, Event::Changed, [](ui::EventArgs&) { SelectDueQueryField(); });
  page.On(kQueryBox, Event::KeyDown, [](ui::EventArgs& a) {
    if (a.key != 13) return;
    a.handled = true;
    RunDueQuery();
  });

  ListRoutes routes;
  routes.showPage = FillDueList;
  routes.openRowMenu = [&page] { page.UnitAs<ui::Menu>("菜单").PopupAtPointer(); };
  routes.openRecord = [](int id) {
    if (id >= 1) ModifySelectedDue();
  };
  PanelContext& ctx = *Context();
  ctx.bar = std::make_unique<QueryBar>(page, kBarUnits, RefreshDuePanel);
  ctx.binding = ctx.bar->BindList(kListBox, "时钟1", "移动时钟", DuePanelList(), std::move(routes));

  page.On({}, Event::Created, [](ui::EventArgs&) { LoadDuePanel(); });
  // The page and its list go together: nothing may point at the page's boxes afterwards.
  page.On({}, Event::Destroying, [](ui::EventArgs&) {
    if (!Context()) return;
    Context()->painter.ClearSprites();
    Context().reset();
    DuePanelList() = SkinListView();
  });
}

}  // namespace

}  // namespace workmemo
