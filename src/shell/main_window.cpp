#include "shell/main_window.h"

#include <cmath>
#include <utility>

#include "common/text_routines.h"
#include "platform/image/image.h"
#include "platform/ui/app.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/help_window.h"
#include "shell/message_box.h"
#include "shell/module_seams.h"
#include "shell/setting_switch.h"
#include "shell/shell_services.h"
#include "shell/startup.h"
#include "shell/tray_notice_window.h"
#include "shell/ui_state.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr std::string_view kBackgroundBox = "背景动画框";
constexpr std::string_view kCompositingBox = "按钮动画框";
constexpr std::string_view kChildBox = "子窗口背景动画框";
constexpr std::string_view kPageDrawPanel = "子窗口背景画板";
constexpr std::string_view kTitleLabel = "标题标签";
constexpr std::string_view kStatusLabel = "状态标签";
constexpr std::string_view kVersionLabel = "版本号标签";
constexpr std::string_view kCloseButton = "关闭按钮";
constexpr std::string_view kMenuButton = "菜单按钮";
constexpr std::string_view kTipButton = "提示按钮1";
constexpr std::string_view kMainMenu = "菜单2";
constexpr std::string_view kDueWindowItem = "显示到期提醒窗口";
constexpr std::string_view kSelectionMarkerName = "选中动画";
// The marker lies just below the navigation row.
constexpr int kMarkerTop = 110;
constexpr int kMarkerOffset = 16;
constexpr int kMarkerWidth = 38;
constexpr int kMarkerHeight = 4;
constexpr int kNavigationBottom = 116;  // the child area starts here

// Title-bar buttons from right to left, after the close button.
constexpr std::string_view kTitleButtons[] = {"最小化按钮1", "帮助按钮", "菜单按钮", "皮肤按钮",
                                              "月历标题按钮"};

struct FontItem {
  int size;
  std::string_view item;
};
constexpr FontItem kFontItems[] = {{9, "9"}, {10, "10"}, {11, "11 (默认)"}};

}  // namespace

std::string SelectionMarkerPicture() {
  // A bar that fades out toward both ends, in the skin's selection colour when it has one.
  platform::image::Image image;
  image.width = kMarkerWidth;
  image.height = kMarkerHeight;
  image.pixels.resize(kMarkerWidth * kMarkerHeight);
  ui::Colour colour = SkinColour("菜单选择颜色");
  if (colour == 0) colour = ui::Rgb(0x33, 0x74, 0x4F);
  const std::uint32_t rgb = (std::uint32_t(ui::Red(colour)) << 16) |
                            (std::uint32_t(ui::Green(colour)) << 8) | std::uint32_t(ui::Blue(colour));
  for (int y = 0; y < kMarkerHeight; ++y) {
    for (int x = 0; x < kMarkerWidth; ++x) {
      const double fromCentre = std::abs(x - (kMarkerWidth - 1) / 2.0) / (kMarkerWidth / 2.0);
      const auto alpha = static_cast<std::uint32_t>(255 * (1.0 - 0.7 * fromCentre * fromCentre));
      image.pixels[static_cast<std::size_t>(y) * kMarkerWidth + x] = (alpha << 24) | rgb;
    }
  }
  return platform::image::EncodePng(image);
}

namespace {

std::unique_ptr<MainWindow>& ProgramMainWindowSlot() {
  static std::unique_ptr<MainWindow> window;
  return window;
}

}  // namespace

MainWindow& LoadProgramMainWindow() {
  std::unique_ptr<MainWindow>& slot = ProgramMainWindowSlot();
  if (!slot) {
    slot = std::make_unique<MainWindow>(Databases(), Run(), Settings());
    slot->Load();
  }
  return *slot;
}

MainWindow* ProgramMainWindow() { return ProgramMainWindowSlot().get(); }

void ReleaseProgramMainWindow() { ProgramMainWindowSlot().reset(); }

void RegisterMainWindow() {
  MainWindowSeam& access = MainWindowAccess();
  access.Load = [] { return &LoadProgramMainWindow().Window(); };
  access.ShowPanel = [](std::string_view page) {
    if (MainWindow* main = ProgramMainWindow()) main->ShowPanel(page);
  };
  access.Gate = [] { return ProgramMainWindow() != nullptr ? &ProgramMainWindow()->Gate() : nullptr; };
  Seams().CloseProgram = [] { EndProgram(0); };
  Seams().CloseLoadedWindows.push_back([] { ReleaseProgramMainWindow(); });
  // The shell's own part of a re-skinning: the main window, its password and settings pages,
  // and the help window when it is open.
  auto& relayout = Seams().RelayoutForSkin;
  relayout.push_back({kSkinMainWindow, [] {
                        if (MainWindow* main = ProgramMainWindow()) main->PaintMainWindow();
                      }});
  relayout.push_back({kSkinPasswordChangeAndSettingsPages, [] {
                        if (MainWindow* main = ProgramMainWindow()) {
                          main->LayoutPage("ChangePasswordPanel");
                          main->LayoutPage("AdvancedSettingsPanel");
                        }
                      }});
  relayout.push_back({kSkinPasswordCheckPage, [] {
                        if (MainWindow* main = ProgramMainWindow()) main->LayoutPage("PasswordCheckPanel");
                      }});
  relayout.push_back({kSkinHelpWindow, [] {
                        if (HelpWindow* help = OpenHelpWindow()) help->LayoutHelpWindow();
                      }});
}

MainWindow::MainWindow(ProgramDatabases& db, RunState& state, ProgramSettings& settings)
    : db_(db),
      state_(state),
      settings_(settings),
      gate_(state, settings,
            StoredDigestCheck([&db] { return ReadAdminPasswordHash(db); }), MakeGateHooks()) {}

MainWindow::~MainWindow() {
  // The pages' widgets are children of the main window's: they go first.
  pages_.clear();
}

GateHooks MainWindow::MakeGateHooks() {
  GateHooks hooks;
  hooks.ShowPanel = [this](std::string_view page) { ShowPanel(page); };
  hooks.IsPanelVisible = [this](std::string_view page) { return IsPanelVisible(page); };
  hooks.SetTitle = [this](std::string_view title) { SetTitle(title); };
  hooks.ShowMessage = [](std::string_view message) {
    if (Services().ShowMessageBox) {
      Services().ShowMessageBox(message);
    } else {
      ShowMessageBox(message);
    }
  };
  hooks.AskConfirm = [](std::string_view question) { return ShowConfirmBox(question) == 1; };
  hooks.ShowAskOnceTicked = [this](int ticked) {
    ui::Window* page = Page("PasswordCheckPanel");
    if (page != nullptr && page->HasUnit("一次输入密码选择框")) {
      painter_.SetButtonPictures(page->UnitAs<ui::PictureButton>("一次输入密码选择框"), ticked);
    }
  };
  hooks.LoadedCovers = [] { return AllLoadedCovers(); };
  hooks.OpenAddReminderEditor = SeamCaller(&ModuleSeams::OpenAddReminderEditor);
  hooks.OpenModifyReminderEditor = SeamCaller(&ModuleSeams::OpenModifyReminderEditor);
  hooks.DeleteReminder = SeamCaller(&ModuleSeams::DeleteReminder);
  hooks.DeleteAllReminders = SeamCaller(&ModuleSeams::DeleteAllReminders);
  hooks.MoveSelectedReminderToNotes = SeamCaller(&ModuleSeams::MoveSelectedReminderToNotes);
  hooks.CloseProgram = SeamCaller(&ModuleSeams::CloseProgram);
  return hooks;
}

ui::AnimationBox& MainWindow::BackgroundBox() const { return window_->UnitAs<ui::AnimationBox>(kBackgroundBox); }
ui::AnimationBox& MainWindow::CompositingBox() const { return window_->UnitAs<ui::AnimationBox>(kCompositingBox); }
ui::AnimationBox& MainWindow::ChildBox() const { return window_->UnitAs<ui::AnimationBox>(kChildBox); }

const std::string& MainWindow::PanelAreaPicture() const { return ChildBox().BackgroundPicture(); }

void MainWindow::Load() {
  ownedWindow_ = ui::Window::Load("MainWindow");
  window_ = ownedWindow_.get();
  BindEvents();
  window_->Open(false);
}

void MainWindow::Attach(ui::Window& window) {
  window_ = &window;
  BindEvents();
}

void MainWindow::BindEvents() {
  ui::Window& w = *window_;
  auto click = [&w](std::string_view unit, std::function<void()> action) {
    w.On(unit, ui::Event::Clicked, [action = std::move(action)](ui::EventArgs&) { action(); });
  };
  w.On({}, ui::Event::Created, [this](ui::EventArgs&) { LoadMainWindow(); });
  w.On({}, ui::Event::Destroying, [this](ui::EventArgs&) { painter_.ClearSprites(); });
  click("定时提醒按钮", [this] { OpenTimedRemindersPage(); });
  click("到期提醒按钮", [this] { OpenDuePage(); });
  click("记事管理按钮", [this] { OpenNotesPage(); });
  click("密码管理按钮", [this] { OpenPasswordPage(); });
  click("备份数据按钮", [this] { OpenBackupPage(); });
  click("高级设置按钮", [this] { OpenAdvancedSettingsPage(); });
  click("月历标题按钮", [this] { OpenCalendarPage(); });
  click("皮肤按钮", [this] { OpenSkinPage(); });
  click(kMenuButton, [this] { ShowMainMenu(); });
  click("帮助按钮", [] { ShowHelpWindow(); });
  click("最小化按钮1", [this] { MinimiseMainWindow(); });
  click(kCloseButton, [this] { RequestExit(); });
  click(kTipButton, [this] { DismissFontSizeTip(); });
  for (std::string_view unit : {kTitleLabel, kBackgroundBox}) {
    w.On(unit, ui::Event::LeftDown, [this](ui::EventArgs&) { ui::DragWindow(*window_); });
  }
  click("显示今日提醒窗口", SeamCaller(&ModuleSeams::ShowTodayWindow));
  click(kDueWindowItem, SeamCaller(&ModuleSeams::ShowDueRemindersWindow));
  for (const FontItem& f : kFontItems) click(f.item, [this, size = f.size] { SetListFontSize(size); });
  click("数字时钟", SeamCaller(&ModuleSeams::ToggleDesktopClock));
  click("关于", [] { ShowAboutWindow(); });
  click("退出登录", [this] { gate_.LogOut(); });
}

void MainWindow::LoadMainWindow() {
  AccessConfigItem("cx", "hwnd", std::to_string(window_->NativeId()));
  LayoutMainWindow();
  PaintMainWindow();
  LoadPages();
  window_->Unit(kVersionLabel).SetText(std::string("版本号：") + kProgramVersion);
  CheckFontMenuItem(settings_.ListFontSize);
  ShowDueWindowAtStart();
  OpenTimedRemindersPage();
}

void MainWindow::LayoutMainWindow() {
  ui::Window& w = *window_;
  w.Resize(kWidth, kHeight);
  // Centred on the screen, in the height the desktop's panels leave free.
  const double windowLeft = (ui::ScreenWidth() - kWidth) / 2.0;
  const double windowTop = (ui::ScreenHeight() - kHeight - settings_.TaskbarHeight) / 2.0;
  w.Move(static_cast<int>(std::lround(windowLeft)), static_cast<int>(std::lround(windowTop)));
  panelArea_ = {2, kNavigationBottom, kWidth - 4, kHeight - 140};

  // Every step left uses the close button's width, whatever the button's own.
  ui::Unit& close = w.Unit(kCloseButton);
  const int step = close.Width();
  int left = kWidth - step - 3;
  close.Move(left, 3);
  for (std::string_view name : kTitleButtons) {
    left -= step + 1;
    w.Unit(name).Move(left, 3);
  }

  ui::Unit& version = w.Unit(kVersionLabel);
  version.Move(kWidth - version.Width() - 6, kHeight - version.Height());
  w.Unit(kStatusLabel).Move(5, kHeight - version.Height());

  if (TextToNumber(ReadConfigItemOr("txtips", "cdtips81", "1")) == 1) {
    w.Unit(kTipButton).SetVisible(true);
  }
}

void MainWindow::PaintMainWindow() {
  ui::Window& w = *window_;
  ui::AnimationBox& background = BackgroundBox();
  ui::AnimationBox& child = ChildBox();
  // The marker is put back where it was, so a change of skin does not lose it.
  const bool hadMarker = background.HasObject(selectionMarkerId_);
  const int markerLeft = hadMarker ? background.ObjectLeft(selectionMarkerId_) : 200;
  const bool markerShown = hadMarker && background.IsObjectVisible(selectionMarkerId_);

  PaintWindowArgs paint;
  paint.window = &w;
  paint.backgroundBox = &background;
  paint.compositingBox = &CompositingBox();
  paint.childBox = &child;
  paint.childX = 0;
  paint.childY = kNavigationBottom;
  paint.childWidth = kWidth;
  paint.childHeight = kHeight - kNavigationBottom - 24;
  paint.backgroundPicture = Ui().BackgroundPicture;
  paint.transparency = settings_.SkinTransparency;
  paint.fontSize = Ui().LabelFontSize;
  painter_.PaintWindow(paint);

  const PanelRect& a = panelArea_;
  // The child box holds the one copy of the capture, which the pages and child pages draw.
  painter_.SetUnitPictureFromBox(background, child, a.left, a.top, a.width, a.height);

  if (selectionMarkerId_ > 0) background.DeleteObject(selectionMarkerId_);
  selectionMarkerId_ = background.CreateObject(markerLeft, kMarkerTop, false, kSelectionMarkerName);
  background.SetObjectPicture(selectionMarkerId_, SelectionMarkerPicture());
  background.ShowObject(selectionMarkerId_, markerShown);

  w.Unit(kVersionLabel).BringToTop();
  w.Unit(kStatusLabel).BringToTop();
}

void MainWindow::LoadPages() {
  for (const std::string& name : PageWindowNames()) {
    if (pages_.count(name) != 0) continue;
    LoadedPage page = FindPageLoader(name)(*this);
    if (!page.window) continue;
    ui::Window& pageWindow = *page.window;
    pages_[name] = std::move(page);
    pageWindow.Open(false);
    // A loader that forgot to place its page still gets it inside PanelArea.
    PlacePage(pageWindow);
    pageWindow.Hide();
  }
}

void MainWindow::ShowDueWindowAtStart() {
  if (settings_.ShowDueWindowAtStart != 1) return;
  if (settings_.HideDueWindowWhenEmpty == 1) {
    const int days = TextToInteger(AccessConfigItem("dqtx", "cxdqtxTs", {}, true));
    const std::string n = std::to_string(days);
    platform::db::RecordSet& due = db_.DueRecordSet;
    const std::string sql = "select * from dqsj where datediff('D',now(),dqdate)<" + n +
                            " and datediff('D',now(),dqdate)>=0 order by dqdate";
    // A failed query leaves no rows: the window stays closed.
    if (due.Open(db_.DueConnection, sql) != 1 || due.RowCount() <= 0) return;
  } else {
    window_->UnitAs<ui::MenuItem>(kDueWindowItem).SetChecked(true);
  }
  CallSeam(&ModuleSeams::ShowDueRemindersWindow);
}

ui::Window* MainWindow::Page(std::string_view windowName) const {
  auto it = pages_.find(windowName);
  return it == pages_.end() ? nullptr : it->second.window.get();
}

void MainWindow::PlacePage(ui::Window& page) {
  page.Move(panelArea_.left, panelArea_.top);
  page.Resize(panelArea_.width, panelArea_.height);
  page.SetParentWindow(window_);
}

void MainWindow::PaintPage(ui::Window& page, SkinPainter& painter, int fontSize) {
  PaintWindowArgs paint;
  paint.window = &page;
  paint.backgroundBox = &BackgroundBox();
  paint.compositingBox = &CompositingBox();
  paint.childBox = &ChildBox();
  paint.childX = panelArea_.left;
  paint.childY = panelArea_.top;
  paint.childWidth = page.Width();
  paint.childHeight = page.Height();
  paint.backgroundPicture = Ui().BackgroundPicture;
  paint.transparency = settings_.SkinTransparency;
  paint.pageMode = 1;
  if (page.HasUnit(kPageDrawPanel)) paint.pageDrawPanel = &page.UnitAs<ui::DrawPanel>(kPageDrawPanel);
  paint.pagePicture = PanelAreaPicture();
  paint.fontSize = fontSize;
  painter.PaintWindow(paint);
  // The main window's background box goes back to the bottom of its own window.
  BackgroundBox().SendToBottom();
}

void MainWindow::PaintChildPage(ui::Window& page, SkinPainter& painter, int fontSize) {
  PaintChildWindowArgs paint;
  paint.window = &page;
  paint.backgroundBox = &page.UnitAs<ui::AnimationBox>(kBackgroundBox);
  paint.compositingBox = &page.UnitAs<ui::AnimationBox>(kCompositingBox);
  paint.backgroundPicture = PanelAreaPicture();
  paint.fontSize = fontSize;
  painter.PaintChildWindow(paint);
}

void MainWindow::LayoutPage(std::string_view windowName) {
  auto it = pages_.find(windowName);
  if (it != pages_.end() && it->second.Layout) it->second.Layout();
}

void MainWindow::ShowPanel(std::string_view page) {
  shownPage_ = std::string(page);
  for (auto& [name, loaded] : pages_) {
    if (loaded.window) loaded.window->Hide();
  }
  visiblePanel_.clear();
  ui::Window& w = *window_;
  const PanelPage* row = FindPanelPage(page);
  if (row != nullptr) {
    if (ui::Window* panel = Page(row->panel)) {
      panel->Show();
      visiblePanel_ = row->panel;
    }
    if (*row->navigationButton != '\0') {
      ui::AnimationBox& background = BackgroundBox();
      background.MoveObject(selectionMarkerId_, w.Unit(row->navigationButton).Left() + kMarkerOffset,
                            kMarkerTop);
      background.ShowObject(selectionMarkerId_, true);
    }
  }
  w.Unit(kStatusLabel).SetText(PanelStatusText(page, state_.CurrentPageName));
}

bool MainWindow::IsPanelVisible(std::string_view page) const {
  const PanelPage* row = FindPanelPage(page);
  return row != nullptr && !visiblePanel_.empty() && visiblePanel_ == row->panel;
}

std::string MainWindow::StatusText() const { return window_->Unit(kStatusLabel).Text(); }

void MainWindow::SetTitle(std::string_view title) { window_->Unit(kTitleLabel).SetText(title); }

void MainWindow::CheckFontMenuItem(int size) {
  for (const FontItem& f : kFontItems) {
    window_->UnitAs<ui::MenuItem>(f.item).SetChecked(f.size == size);
  }
}

void MainWindow::SetListFontSize(int n) {
  // The lists keep the size config.ini holds: a refused write changes nothing, and says so.
  if (!StoreSwitchSetting("gjsz", "lbztdx", std::to_string(n))) return;
  CheckFontMenuItem(n);
  settings_.ListFontSize = n;
  CallEachSeam(Seams().ListFontChanged);
}

void MainWindow::MinimiseMainWindow() {
  // Hidden without a tray icon to bring it back, the window would be lost to the user.
  if (!ProgramHasTray()) {
    window_->Minimise();
    return;
  }
  window_->Hide();
  window_->Minimise();
  window_->Hide();
  if (settings_.HideTrayNotice == 0) ShowTrayNotice();
}

void MainWindow::DismissFontSizeTip() {
  AccessConfigItem("txtips", "cdtips81", "0");
  window_->Unit(kTipButton).SetVisible(false);
}

void MainWindow::ShowMainMenu() {
  if (window_->Unit(kTipButton).IsVisible()) DismissFontSizeTip();
  window_->UnitAs<ui::Menu>(kMainMenu).PopupAtPointer();
}

}  // namespace workmemo
