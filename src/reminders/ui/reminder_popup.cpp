#include "reminders/ui/reminder_popup.h"

#include <algorithm>
#include <string>

#include "common/date_format.h"
#include "platform/clock/clock.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/ui/popup_layout_rules.h"
#include "reminders/ui/reminder_actions.h"
#include "reminders/ui/reminder_popup_units.h"
#include "shell/data_files.h"
#include "shell/module_seams.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/startup.h"

namespace workmemo {

namespace ui = platform::ui;
using namespace popup;

namespace {

constexpr int kClockMs = 100;
constexpr int kAutoCloseMs = 1000;
constexpr int kDragLimitFromRight = 100;

// The loaded pop-up, and the ones closed since. A closed window is let go only while no
// handler of a pop-up runs: a handler may sit in a modal box or menu whose loop runs the
// reminder tick, and that tick may close this pop-up and open the next.
struct PopupHolder {
  struct Opened {
    std::unique_ptr<ReminderPopupWindow> runner;  // let go after its window
    std::unique_ptr<ui::Window> window;
  };
  Opened current;
  std::vector<Opened> closed;
  int runningHandlers = 0;
};

PopupHolder& Holder() {
  // Never destroyed at exit: a window must not outlive the application object, so the end
  // of the program lets them go through CloseReminderPopup.
  static auto& holder = *new PopupHolder;
  return holder;
}

class HandlerScope {
 public:
  HandlerScope() { ++Holder().runningHandlers; }
  ~HandlerScope() { --Holder().runningHandlers; }
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;
};

void ReleaseClosedPopups() {
  PopupHolder& h = Holder();
  if (h.runningHandlers > 0) return;
  for (auto& opened : h.closed) opened.window.reset();
  h.closed.clear();
  if (h.current.window && h.current.window->IsClosed()) {
    h.current.window.reset();
    h.current.runner.reset();
  }
}

ReminderRecord* QueueEntry(int k) {
  ReminderList& queue = PopupQueue();
  if (k < 1 || k > static_cast<int>(queue.size())) return nullptr;
  return &queue[static_cast<std::size_t>(k) - 1];
}

}  // namespace

PopupState& Popup() {
  static PopupState state;
  return state;
}

ReminderList& PopupQueue() {
  static ReminderList queue;
  return queue;
}

ReminderPopupWindow::ReminderPopupWindow(ui::Window& window) : window_(window) {
  // An alarm the user must reach: above an open editor, and answering the mouse there.
  window_.KeepAboveModalWindows();
  BindEvents();
}

void ReminderPopupWindow::BindEvents() {
  // Every handler counts as running while it runs, so nothing lets this window go under it.
  auto on = [this](std::string_view unit, ui::Event event, std::function<void(ui::EventArgs&)> fn) {
    window_.On(unit, event, [fn = std::move(fn)](ui::EventArgs& args) {
      HandlerScope running;
      fn(args);
    });
  };
  auto click = [&on](std::string_view unit, std::function<void()> fn) {
    on(unit, ui::Event::Clicked, [fn = std::move(fn)](ui::EventArgs&) { fn(); });
  };
  on({}, ui::Event::Created, [this](ui::EventArgs&) { ShowPopupWindow(); });
  on({}, ui::Event::Destroying, [this](ui::EventArgs&) { SavePopupPosition(); });
  click("关闭按钮", [this] { ClosePopupWindow(); });
  click("最小化按钮", [this] { window_.Minimise(); });
  click("菜单按钮", [this] { window_.UnitAs<ui::Menu>(kWindowMenu).PopupAtPointer(); });
  click(kTopmostItem, [this] { TogglePopupTopmost(); });
  click(kPositionItem, [this] { TogglePopupPositionMemory(); });
  click("临时暂停", [this] { SetReminderPause(2); });
  click("永久暂停", [this] { SetReminderPause(1); });
  click(kMinutesButton, [this] { DropDownRemindAgainCombo(); });
  on(kClockTimer, ui::Event::Timer, [this](ui::EventArgs&) { ShowPopupClock(); });
  on(kAutoCloseTimer, ui::Event::Timer, [this](ui::EventArgs&) { TickPopupAutoClose(); });

  on(kBackgroundBox, ui::Event::ObjectLeftDown, [this](ui::EventArgs& a) {
    if (a.objectId > 0) ShowRemindAgainBox(a.objectId);
  });
  on(kBackgroundBox, ui::Event::ObjectLeftUp, [this](ui::EventArgs& a) {
    if (a.objectId > 0) sprites_.OnSpriteRelease(a.objectId);
  });
  on(kBackgroundBox, ui::Event::ObjectEnter, [this](ui::EventArgs& a) {
    if (a.objectId > 0) sprites_.OnSpriteEnter(a.objectId);
  });
  on(kBackgroundBox, ui::Event::ObjectLeave, [this](ui::EventArgs& a) {
    if (a.objectId > 0) sprites_.OnSpriteLeave(a.objectId);
  });
  on(kBackgroundBox, ui::Event::LeftDown, [this](ui::EventArgs& a) {
    if (a.x < kWidth - kDragLimitFromRight && a.y < kBandHeight) ui::DragWindow(window_);
  });
  on(kBackgroundBox, ui::Event::Wheel, [this](ui::EventArgs& a) { ScrollPopupPages(a.x, a.y, a.delta); });
  on(kTitleLabel, ui::Event::LeftDown, [this](ui::EventArgs&) { ui::DragWindow(window_); });

  on(kMinutesBox, ui::Event::TextChanged, [this](ui::EventArgs&) {
    if (IsRemindAgainBoxOpen()) CopyRemindAgainText();
  });
  on(kMinutesBox, ui::Event::FocusLost, [this](ui::EventArgs&) { CopyRemindAgainText(); });
  // Keys reach the box only while it is open.
  on(kMinutesBox, ui::Event::KeyDown, [this](ui::EventArgs& a) {
    if (!IsRemindAgainBoxOpen()) a.handled = true;
  });
  on(kMinutesCombo, ui::Event::Changed, [this](ui::EventArgs&) { PickRemindAgainMinutes(); });

  on(kPasswordConfirm, ui::Event::LeftDown, [this](ui::EventArgs&) { ConfirmPopupPassword(); });
  on(kPasswordBox, ui::Event::KeyDown, [this](ui::EventArgs& a) {
    if (a.key != 13) return;
    a.handled = true;
    ConfirmPopupPassword();
  });
}

void ReminderPopupWindow::ShowPopupWindow() {
  PopupState& s = Popup();
  s.PopupTextSize = Settings().ListFontSize >= 1 ? Settings().ListFontSize : 11;
  ui::Font font;
  font.name = "宋体";
  font.size = s.PopupTextSize;
  window_.Unit(kTitleBox).SetFont(font);
  window_.Unit(kContentBox).SetFont(font);
  RestorePopupPosition();
  PaintPopupWindow();
  BuildPopupSkin();
  SetPopupTopmostFromConfig();
  FillReminderPopup();
  ShowCover(Settings().ViewRemindersNeedPassword == 1 && Run().PasswordEntered == 0);
  window_.UnitAs<ui::Timer>(kClockTimer).SetInterval(kClockMs);
  ShowPopupClock();
}

void ReminderPopupWindow::FillReminderPopup() {
  PopupState& s = Popup();
  const int filledBefore = std::clamp(s.PopupCount, 0, static_cast<int>(PopupQueue().size()));
  const int n = static_cast<int>(PopupQueue().size());
  s.PopupCount = n;
  if (n <= 0) return;
  // Every entry queued since the last fill starts its program and web page; the sound is
  // the newest entry's alone, as there is one player.
  for (int k = filledBefore + 1; k < n; ++k) OpenReminderProgramAndPage(*QueueEntry(k));
  s.PopupCurrent = n;
  ShowEntry(*QueueEntry(n));
  PlayReminderSound(QueueEntry(n)->txyy);
  OpenReminderProgramAndPage(*QueueEntry(n));
  StartAutoClose(QueueEntry(n)->gbcksj);
}

void ReminderPopupWindow::ShowPopupRecord() {
  PopupState& s = Popup();
  if (s.PopupCount <= 0) return;
  s.PopupCurrent = std::clamp(s.PopupCurrent, 1, s.PopupCount);
  if (const ReminderRecord* entry = QueueEntry(s.PopupCurrent)) ShowEntry(*entry);
}

void ReminderPopupWindow::ShowEntry(const ReminderRecord& entry) {
  PopupState& s = Popup();
  const int size = s.PopupTextSize;
  PutText(kCountSprite, std::to_string(s.PopupCurrent) + "/" + std::to_string(s.PopupCount), size, kBlack);
  const int count = SpriteId(kCountSprite);
  const int caption = SpriteId(kTitleCaptionSprite);
  sprites_.MoveSprite(count, (sprites_.SpriteWidth(caption) - sprites_.SpriteWidth(count) + 12) / 2, kCountTop);
  PutText(kKindSprite, PopupKindText(entry), size, entry.IsNoticeFiring == 1 ? kRed : kBlue);
  PutText(kStartSprite, "提醒时间：" + FormatDateTime(entry.ksdate, 0), kStripTextSize, kYellow);
  PutText(kModeSprite, "提醒方式：[" + RepeatModeName(entry.txfs, 0) + "]", kStripTextSize, kWhite);

  ReminderStore& store = Databases().Reminders;
  titleLines_ = BreakLines(kTitleBox, store.ReadReminderTitle(entry.id), 2);
  contentLines_ = BreakLines(kContentBox, store.ReadReminderContent(entry.id), kPopupContentLinesPerPage);
  s.TitleLineCount = static_cast<int>(titleLines_.size());
  s.TitlePageCount = PopupPageCount(s.TitleLineCount, 1);
  s.ContentLineCount = static_cast<int>(contentLines_.size());
  s.ContentPageCount = PopupPageCount(s.ContentLineCount, kPopupContentLinesPerPage);
  ShowPageButtons(kTitleUpSprite, kTitleDownSprite, s.TitlePageCount >= 2);
  ShowPopupTitlePage(1);
  ShowPageButtons(kContentUpSprite, kContentDownSprite, s.ContentPageCount >= 2);
  ShowPopupContentPage(1);
}

std::vector<std::string> ReminderPopupWindow::BreakLines(std::string_view boxName, std::string_view text,
                                                         int scrollFrom) {
  auto& box = window_.UnitAs<ui::RichEditBox>(boxName);
  // Broken at the frame's width; a text long enough for a scroll bar widens the box by the
  // bar's room, so its text keeps the frame's width.
  box.Resize(kFrameWidth, box.Height());
  box.SetText(text);
  std::vector<std::string> lines = box.DisplayLines();
  if (lines.empty()) lines.emplace_back();
  if (static_cast<int>(lines.size()) >= scrollFrom) box.Resize(kFrameWidth + kScrollBarRoom, box.Height());
  return lines;
}

void ReminderPopupWindow::ShowPageButtons(std::string_view up, std::string_view down, bool shown) {
  sprites_.ShowSprite(SpriteId(up), shown);
  sprites_.ShowSprite(SpriteId(down), shown);
}

void ReminderPopupWindow::ShowPopupTitlePage(int page) {
  PopupState& s = Popup();
  s.TitlePage = ClampPopupPage(page, s.TitlePageCount);
  PutText(kTitleTextSprite, PopupPageText(titleLines_, s.TitlePage, 1), s.PopupTextSize, kBlack);
}

void ReminderPopupWindow::ShowPopupContentPage(int page) {
  PopupState& s = Popup();
  s.ContentPage = ClampPopupPage(page, s.ContentPageCount);
  PutText(kContentTextSprite, PopupPageText(contentLines_, s.ContentPage, kPopupContentLinesPerPage),
          s.PopupTextSize, kBlack);
}

void ReminderPopupWindow::ShowPreviousPopupRecord() {
  Popup().PopupCurrent -= 1;
  ShowPopupRecord();
}
void ReminderPopupWindow::ShowNextPopupRecord() {
  Popup().PopupCurrent += 1;
  ShowPopupRecord();
}
void ReminderPopupWindow::PreviousTitlePage() { ShowPopupTitlePage(Popup().TitlePage - 1); }
void ReminderPopupWindow::NextTitlePage() { ShowPopupTitlePage(Popup().TitlePage + 1); }
void ReminderPopupWindow::PreviousContentPage() { ShowPopupContentPage(Popup().ContentPage - 1); }
void ReminderPopupWindow::NextContentPage() { ShowPopupContentPage(Popup().ContentPage + 1); }

void ReminderPopupWindow::ScrollPopupPages(int x, int y, int delta) {
  const int step = delta < 0 ? 1 : -1;
  auto inside = [x, y](int top, int height) {
    return x >= kFrameLeft && x <= kFrameLeft + kFrameWidth && y >= top && y <= top + height;
  };
  if (inside(kTitleFrameTop, kTitleFrameHeight))
    ShowPopupTitlePage(Popup().TitlePage + step);
  else if (inside(kContentFrameTop, kContentFrameHeight))
    ShowPopupContentPage(Popup().ContentPage + step);
}

void ReminderPopupWindow::ShowPopupClock() {
  PutText(kClockSprite, FormatDateTime(platform::clock::Now(), 2), Popup().PopupTextSize, kBlack);
}

void ReminderPopupWindow::StartAutoClose(int seconds) {
  Popup().PopupAutoCloseSeconds = std::max(0, seconds);
  window_.UnitAs<ui::Timer>(kAutoCloseTimer).SetInterval(seconds > 0 ? kAutoCloseMs : 0);
  ShowAutoCloseSeconds();
}

void ReminderPopupWindow::ShowAutoCloseSeconds() {
  const int seconds = Popup().PopupAutoCloseSeconds;
  window_.Unit(kTitleLabel).SetText(seconds > 0 ? "提醒：" + std::to_string(seconds) : std::string("提醒："));
}

void ReminderPopupWindow::TickPopupAutoClose() {
  PopupState& s = Popup();
  s.PopupAutoCloseSeconds -= 1;
  if (s.PopupAutoCloseSeconds > 0) {
    ShowAutoCloseSeconds();
    return;
  }
  s.PopupAutoCloseSeconds = 0;
  window_.Unit(kTitleLabel).SetText("提醒：0");
  window_.UnitAs<ui::Timer>(kAutoCloseTimer).SetInterval(0);
  DestroyReminderPopup();
}

void ReminderPopupWindow::ClosePopupWindow() {
  sprites_.Clear();
  DestroyReminderPopup();
}

void ReminderPopupWindow::SavePopupPosition() {
  PopupQueue().clear();
  PopupState& s = Popup();
  const int textSize = s.PopupTextSize;
  s = PopupState();
  s.PopupTextSize = textSize;
  window_.UnitAs<ui::Timer>(kClockTimer).SetInterval(0);
  window_.UnitAs<ui::Timer>(kAutoCloseTimer).SetInterval(0);
  sprites_.Clear();
  painter_.ClearSprites();
  StopMusic();
  AccessConfigItem("dstx", "txcWzX", std::to_string(window_.Left()));
  AccessConfigItem("dstx", "txcWzY", std::to_string(window_.Top()));
}

void ReminderPopupWindow::ShowCover(bool shown) {
  for (std::string_view unit : kCoverUnits) window_.Unit(unit).SetVisible(shown);
  if (shown) window_.Unit(kPasswordBox).SetFocus();
}

void ReminderPopupWindow::HideCover() { ShowCover(false); }

bool ReminderPopupWindow::IsCoverShown() const { return window_.Unit(kCoverPanel).IsVisible(); }

void ReminderPopupWindow::ConfirmPopupPassword() {
  ui::Window& window = window_;
  const std::string typed = window.Unit(kPasswordBox).Text();
  // A wrong password shows its box; the reminder tick may close this pop-up meanwhile, so
  // only the box of a window still open is emptied.
  ProgramGate().CheckWindowPassword(typed, *this);
  if (!window.IsClosed()) window.Unit(kPasswordBox).SetText({});
}

int ReminderPopupWindow::SpriteId(std::string_view name) const {
  for (const SpriteItem& item : sprites_.Items()) {
    if (item.Name == name) return item.SpriteId;
  }
  return 0;
}

std::string ReminderPopupWindow::SpriteText(std::string_view name) const {
  const int id = SpriteId(name);
  const ui::AnimationBox* box = sprites_.Box();
  return id > 0 && box != nullptr ? box->ObjectText(id) : std::string();
}

ReminderPopupWindow* LoadedReminderPopup() {
  const PopupHolder::Opened& current = Holder().current;
  return current.window && !current.window->IsClosed() ? current.runner.get() : nullptr;
}

void OpenOrRefillReminderPopup() {
  if (ReminderPopupWindow* popup = LoadedReminderPopup()) {
    popup->FillReminderPopup();
    // A new alarm is never kept off the screen by an earlier minimise.
    if (ReminderPopupWindow* filled = LoadedReminderPopup()) filled->window().ShowRestored();
    return;
  }
  PopupHolder& h = Holder();
  if (h.current.window) h.closed.push_back(std::move(h.current));
  h.current = PopupHolder::Opened();
  ReleaseClosedPopups();
  h.current.window = ui::Window::Load(kWindowName);
  h.current.runner = std::make_unique<ReminderPopupWindow>(*h.current.window);
  h.current.window->Open();
}

void DestroyReminderPopup() {
  if (LoadedReminderPopup() != nullptr) Holder().current.window->Close();
  ReleaseClosedPopups();
}

void CloseReminderPopup() {
  DestroyReminderPopup();
  PopupHolder& h = Holder();
  if (h.runningHandlers > 0) return;
  h.current.window.reset();
  h.current.runner.reset();
  for (auto& opened : h.closed) opened.window.reset();
  h.closed.clear();
}

void RegisterReminderPopup() {
  ModuleSeams& seams = Seams();
  seams.LoadedCovers.push_back([] {
    std::vector<PasswordCover*> covers;
    if (ReminderPopupWindow* popup = LoadedReminderPopup()) covers.push_back(popup);
    return covers;
  });
  seams.RelayoutForSkin.push_back({kSkinReminderPopup, [] {
                                     ReminderPopupWindow* popup = LoadedReminderPopup();
                                     if (popup == nullptr) return;
                                     popup->Sprites().Clear();
                                     popup->PaintPopupWindow();
                                     popup->BuildPopupSkin();
                                     popup->ShowPopupRecord();
                                   }});
  seams.CloseLoadedWindows.push_back(CloseReminderPopup);
  seams.IsReminderPopupLoaded = [] { return LoadedReminderPopup() != nullptr; };
}

}  // namespace workmemo
