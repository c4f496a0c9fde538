#include "due_notes/due_window.h"

#include <memory>
#include <optional>
#include <string>

#include "common/text_routines.h"
#include "common/window_alpha.h"
#include "due_notes/due_list_lines.h"
#include "due_notes/due_panel.h"
#include "due_notes/due_queries.h"
#include "platform/ui/app.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/framed_window.h"
#include "shell/password_gate.h"
#include "shell/run_state.h"
#include "shell/setting_switch.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shell/ui_state.h"
#include "ui/framed_box.h"
#include "ui/skin_list_view_box.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int W = kDueWindowWidth;
constexpr int H = kDueWindowHeight;
constexpr int kListRows = 9;
constexpr int kListColumns = 5;
constexpr int kRowHeight = 27;
constexpr int kTitleBandHeight = 50;  // a press above it drags the window
constexpr int kFrameTextBytes = 27;
constexpr int kFrameTransparency = 60;
constexpr int kFrameLabelOffset = -3;
constexpr char kDefaultDays[] = "8";
constexpr char kSection[] = "dqtx";

constexpr int kCellX[kListColumns] = {1, 32, 133, 260, 490};
constexpr int kHeaderX[kListColumns] = {1, 30, 133, 260, 490};
constexpr const char* kCaptions[] = {"到期日期", "客户名称", "项目名称", "完成进度"};
constexpr DueColumn kColumns[] = {
    {2, DueField::DueDate, true},
    {3, DueField::Customer, false},
    {4, DueField::ProjectName, false},
    {5, DueField::Progress, true},
};

constexpr std::string_view kListBox = "背景动画框";
constexpr std::string_view kKindCombo = "查询项目类型组合框";
constexpr std::string_view kKindLabel = "查询项目类型标签";
constexpr std::string_view kDayBox = "到期查询框";
constexpr std::string_view kCoverPanel = "密码验证画板";
constexpr std::string_view kPasswordBox = "密码验证框";
constexpr std::string_view kPasswordLabel = "透明标签3";
constexpr std::string_view kHideWhenEmptyItem = "没到期提醒不显示";
constexpr std::string_view kTopmostItem = "窗口置顶显示";
constexpr std::string_view kRememberItem = "记录窗口位置";
// The frame over the day box and the object name a press on it reports.
constexpr char kFrameName[] = "查询内容框";

// The password panel over the list, with its prompt, box and confirm label.
class WindowCover : public PasswordCover {
 public:
  explicit WindowCover(ui::Window& window) : window_(window) {}
  void HideCover() override {
    for (std::string_view unit : {kCoverPanel, std::string_view("提示标签1"), kPasswordBox, kPasswordLabel})
      window_.Unit(unit).SetVisible(false);
  }

 private:
  ui::Window& window_;
};

struct WindowContext {
  ui::Window* window = nullptr;
  SkinPainter painter;  // DueRemindersWindowPainter
  std::unique_ptr<ListBoxBinding> binding;
  std::unique_ptr<WindowCover> cover;
  int frameLabel = 0;
  int frameSprite = 0;
};

std::unique_ptr<WindowContext>& Context() {
  static std::unique_ptr<WindowContext> context;
  return context;
}

std::unique_ptr<ui::Window>& LoadedWindow() {
  static std::unique_ptr<ui::Window> window;
  return window;
}

// DueWindowFrame: the program's one framed box.
FramedBox& DueWindowFrame() {
  static FramedBox frame;
  return frame;
}

ui::Window& Window() { return *Context()->window; }

DueListView WindowView() {
  DueWindowState& st = DueWindowData();
  return {DueWindowList(), st.DueWindowRows,     st.DueWindowRowCount, st.DueWindowScrollMax,
          st.DueWindowFirstRow, st.DueWindowVisibleRows, kColumns};
}
ui::Unit& Unit(std::string_view name) { return Window().Unit(name); }
ui::MenuItem& Item(std::string_view name) { return Window().UnitAs<ui::MenuItem>(name); }

std::string ReadSetting(std::string_view key) { return AccessConfigItem(kSection, key, {}, true); }
void WriteSetting(std::string_view key, std::string_view value) { AccessConfigItem(kSection, key, value); }

// The day box's text on the frame, the box itself hidden.
void ShowDayCountOnFrame() {
  ui::Unit& box = Unit(kDayBox);
  DueWindowFrame().ForwardAddText(Context()->frameLabel, TruncateText(box.Text(), kFrameTextBytes), "宋体",
                                  Settings().ListFontSize);
  box.SetVisible(false);
}

void LayOut() {
  ui::Window& w = Window();
  w.Resize(W, H);
  ui::Unit& close = w.Unit("关闭按钮");
  close.Move(W - close.Width() - 3, 3);
  w.Unit("菜单按钮").Move(close.Left() - close.Width() - 1, 3);
  ui::Unit& cover = w.Unit(kCoverPanel);
  cover.SetGeometry(2, kTitleBandHeight, W - 4, H - 74);
  PaintFramedShellWindow(Context()->painter, w, Ui().LabelFontSize);
  // The panel shows the part of the painted window that lies behind it.
  auto& panel = w.UnitAs<ui::DrawPanel>(kCoverPanel);
  const auto& background = w.UnitAs<ui::AnimationBox>(kListBox);
  panel.DrawPicture(background.Capture(cover.Left(), cover.Top(), cover.Width(), cover.Height()), 0, 0,
                    cover.Width(), cover.Height());
}

void BuildList() {
  WindowContext& ctx = *Context();
  SkinListView& list = DueWindowList();
  list.Create(ctx.binding->Surface(), kListRows, kListColumns, 2, kTitleBandHeight, W - 4, H - 104, kRowHeight,
              true, EmbeddedListPictures());
  list.SetColumn(1, kCellX[0], 2, 24, 24);
  for (int c = 2; c <= kListColumns; ++c) list.SetColumn(c, kCellX[c - 1], 8);
  // Captions lie 6 pixels below the list's top, which is below the title band.
  for (int c = 1; c <= kListColumns; ++c) list.SetColumnPosition(c, kHeaderX[c - 1], kTitleBandHeight + 6);
  DueWindowData().DueWindowVisibleRows = list.VisibleRowCount();
  SetDueWindowListHeaders();
}

void BuildQueryFrame() {
  WindowContext& ctx = *Context();
  ui::Unit& box = Unit(kDayBox);
  DrawPanelFramePanel panel(Window().UnitAs<ui::DrawPanel>("画板1"));
  UnitFramedControl control(box);
  std::string name = kFrameName;
  ctx.frameLabel = DueWindowFrame().FrameControl(ctx.binding->Surface(), &control, panel, kFrameTransparency,
                                                 name, FrameRect{box.Left() - 2, H - 52, 231, 26},
                                                 kFrameLabelOffset);
  ctx.frameSprite = DueWindowFrame().FindFrameSpriteIndex(name);
}

// A press on an object of the list's box: the list's own handling, the frame opening the day
// box, and the day count stored whatever was pressed.
void ObjectPressed(ListEventRouter& router, int objectId) {
  router.ObjectPressed(objectId);
  if (objectId > 0 && objectId == Context()->frameSprite) {
    Unit(kDayBox).SetVisible(true);
    Unit(kDayBox).SetFocus();
  }
  WriteSetting("cxdqtxTs", Unit(kDayBox).Text());
}

void CheckCoverPassword() {
  ui::Unit& box = Unit(kPasswordBox);
  const std::string typed = box.Text();
  ProgramGate().CheckWindowPassword(typed, *Context()->cover);
  if (Context()) Unit(kPasswordBox).SetText({});
}

void BindEvents(ui::Window& w) {
  using ui::Event;
  auto click = [&w](std::string_view unit, std::function<void()> action) {
    w.On(unit, Event::Clicked, [action = std::move(action)](ui::EventArgs&) { action(); });
  };
  ui::Window* self = &w;
  click("到期提醒查询按钮", QueryDueWithinDays);
  w.On(kDayBox, Event::KeyDown, [](ui::EventArgs& a) {
    if (a.key != 13) return;
    a.handled = true;
    QueryDueWithinDays();
  });
  w.On(kDayBox, Event::FocusLost, [](ui::EventArgs&) {
    if (Context()) ShowDayCountOnFrame();
  });
  auto dropDown = [self] { ui::DropDownComboBox(self->UnitAs<ui::ComboBox>(kKindCombo)); };
  click("到期提醒下拉按钮1", dropDown);
  w.On(kKindLabel, Event::LeftDown, [dropDown](ui::EventArgs&) { dropDown(); });
  w.On(kKindCombo, Event::Changed, [self](ui::EventArgs&) {
    const auto& combo = self->UnitAs<ui::ComboBox>(kKindCombo);
    self->Unit(kKindLabel).SetText(combo.ItemText(combo.CurrentIndex()) + "：");
  });
  click("菜单按钮", [self] { self->UnitAs<ui::Menu>("菜单").PopupAtPointer(); });
  click("关闭按钮", [self] { self->Close(); });
  click("关闭", [self] { self->Close(); });
  for (int percent = 10; percent <= 100; percent += 10) {
    click(std::to_string(percent), [percent] { SetDueWindowTransparency(percent); });
  }
  click(kHideWhenEmptyItem, ToggleHideDueWindowWhenEmpty);
  click(kTopmostItem, ToggleDueWindowTopmost);
  click(kRememberItem, ToggleRememberDueWindowPosition);
  w.On(kPasswordLabel, Event::LeftDown, [](ui::EventArgs&) { CheckCoverPassword(); });

  ListRoutes routes;
  routes.showPage = FillDueWindowList;
  WindowContext& ctx = *Context();
  ctx.binding = std::make_unique<ListBoxBinding>(w, kListBox, "时钟1", "移动时钟", DueWindowList(), std::move(routes));
  ListEventRouter* router = &ctx.binding->Router();
  w.On(kListBox, Event::ObjectLeftDown, [router](ui::EventArgs& a) { ObjectPressed(*router, a.objectId); });
  w.On(kListBox, Event::LeftDown, [router, self](ui::EventArgs& a) {
    router->ButtonDown(a.y);
    if (a.y <= kTitleBandHeight - 1 && a.x < W - 100) ui::DragWindow(*self);
  });
  w.On("标题标签", Event::LeftDown, [self](ui::EventArgs&) { ui::DragWindow(*self); });

  w.On({}, Event::Created, [](ui::EventArgs&) { LoadDueRemindersWindow(); });
  w.On({}, Event::Destroying, [](ui::EventArgs&) { SaveDueWindowPosition(); });
}

}  // namespace

DueWindowState& DueWindowData() {
  static DueWindowState state;
  return state;
}

SkinListView& DueWindowList() {
  static SkinListView list;
  return list;
}

void ShowDueRemindersWindow() {
  if (ui::Window* loaded = LoadedDueRemindersWindow()) {
    loaded->Show();
    loaded->Activate();
    return;
  }
  std::unique_ptr<ui::Window>& slot = LoadedWindow();
  slot = ui::Window::Load("DueRemindersWindow");
  SetUpDueRemindersWindow(*slot);
  slot->Open();
}

ui::Window* LoadedDueRemindersWindow() {
  const std::unique_ptr<ui::Window>& slot = LoadedWindow();
  return slot && !slot->IsClosed() && Context() ? slot.get() : nullptr;
}

void CloseDueRemindersWindow() {
  if (ui::Window* loaded = LoadedDueRemindersWindow()) loaded->Close();
  LoadedWindow().reset();
}

std::vector<PasswordCover*> DueWindowCovers() {
  if (LoadedDueRemindersWindow() == nullptr || !Context()->cover) return {};
  return {Context()->cover.get()};
}

void SetUpDueRemindersWindow(ui::Window& window) {
  Context() = std::make_unique<WindowContext>();
  Context()->window = &window;
  Context()->cover = std::make_unique<WindowCover>(window);
  DueWindowList() = SkinListView();
  BindEvents(window);
}

void LoadDueRemindersWindow() {
  if (!Context()) return;
  LayOut();
  BuildList();
  BuildQueryFrame();
  ui::Unit& days = Unit(kDayBox);
  days.SetText(ReadSetting("cxdqtxTs"));
  // Tested as the query counts it, in whole days: a stored "0.5" would refuse every query.
  if (DueDayCount(days.Text()) < 1) days.SetText(kDefaultDays);
  ShowDayCountOnFrame();
  QueryDueWithinDays();
  RestoreDueWindowPosition();
  const int alpha = TextToInteger(ReadSetting("dqtxtmd"));
  if (alpha > 10 && alpha <= 254) ui::SetWindowAlpha(Window(), alpha);
  const bool covered = Settings().LoginByPassword == 1 && Run().PasswordEntered == 0;
  if (!covered) Context()->cover->HideCover();
}

void QueryDueWithinDays() {
  if (!Context()) return;
  const std::optional<std::string> sql = DaysQuery(Unit(kKindLabel).Text(), Unit(kDayBox).Text());
  if (!sql) {
    ShowDueMessage(kDaysMustBePositive);
    return;
  }
  ShowDueQuery(WindowView(), *sql);
}

void FillDueWindowList(int first) { WriteDueLines(WindowView(), first); }

void SetDueWindowListHeaders() { SetDueCaptions(DueWindowList(), kCaptions); }

void RestoreDueWindowPosition() {
  if (!Context()) return;
  DueWindowState& st = DueWindowData();
  st.DueWindowTopmost = IsFlagOn(ReadConfigItemOr(kSection, "dqtxzd", "1")) ? 1 : 0;
  Item(kTopmostItem).SetChecked(st.DueWindowTopmost == 1);
  Window().SetTopmost(st.DueWindowTopmost == 1);

  const int screenWidth = ui::ScreenWidth();
  const int screenHeight = ui::ScreenHeight();
  const int taskbar = Settings().TaskbarHeight;
  int left = screenWidth - W - 5;
  int top = screenHeight - H - taskbar - H - 10;
  st.RememberDueWindowPosition = IsFlagOn(ReadSetting("dqtxWzSz")) ? 1 : 0;
  if (st.RememberDueWindowPosition == 1) {
    left = TextToInteger(ReadSetting("dqtxWzX"));
    top = TextToInteger(ReadSetting("dqtxWzY"));
    // A stored place off the screen gives the corner place instead.
    if (left < 0 || left > screenWidth - W) left = screenWidth - W - 5;
    if (top < 0 || top > screenHeight - H) top = screenHeight - H - taskbar - H - 5;
  }
  Item(kRememberItem).SetChecked(st.RememberDueWindowPosition == 1);
  Item(kHideWhenEmptyItem).SetChecked(Settings().HideDueWindowWhenEmpty == 1);
  Window().Move(left, top);
}

void SaveDueWindowPosition() {
  if (!Context()) return;
  WriteSetting("dqtxWzX", std::to_string(Window().Left()));
  WriteSetting("dqtxWzY", std::to_string(Window().Top()));
  DueWindowList().ClearRows();
  DueWindowFrame().RemoveSprites();
  Context()->painter.ClearSprites();
  DueWindowList() = SkinListView();
  Context().reset();
}

void ToggleRememberDueWindowPosition() {
  if (!Context()) return;
  DueWindowState& st = DueWindowData();
  const bool on = st.RememberDueWindowPosition != 1;
  // Turned on, the switch and the place it keeps are one choice.
  const bool stored = on ? StoreSwitchSettings(kSection, {{"dqtxWzSz", "1"},
                                                          {"dqtxWzX", std::to_string(Window().Left())},
                                                          {"dqtxWzY", std::to_string(Window().Top())}})
                         : StoreSwitchSetting(kSection, "dqtxWzSz", "0");
  if (!stored) return;
  st.RememberDueWindowPosition = on ? 1 : 0;
  Item(kRememberItem).SetChecked(on);
}

void ToggleDueWindowTopmost() {
  if (!Context()) return;
  DueWindowState& st = DueWindowData();
  const bool on = st.DueWindowTopmost != 1;
  if (!StoreSwitchSetting(kSection, "dqtxzd", on ? "1" : "0")) return;
  st.DueWindowTopmost = on ? 1 : 0;
  Item(kTopmostItem).SetChecked(on);
  Window().SetTopmost(on);
}

void ToggleHideDueWindowWhenEmpty() {
  if (!Context()) return;
  ui::MenuItem& item = Item(kHideWhenEmptyItem);
  const bool on = !item.IsChecked();
  if (!StoreSwitchSetting(kSection, "mdqtxbtx", on ? "1" : "0")) return;
  item.SetChecked(on);
  Settings().HideDueWindowWhenEmpty = on ? 1 : 0;
}

void SetDueWindowTransparency(int percent) {
  if (!Context()) return;
  const int alpha = WindowAlphaOfPercent(percent);
  if (!StoreSwitchSetting(kSection, "dqtxtmd", std::to_string(alpha))) return;
  ui::SetWindowAlpha(Window(), alpha);
}

}  // namespace workmemo
