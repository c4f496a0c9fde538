#include "reminders/ui/today_window_style.h"

#include <algorithm>

#include "common/date_format.h"
#include "common/text_routines.h"
#include "platform/clock/clock.h"
#include "platform/ui/app.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/today_window.h"
#include "reminders/ui/today_window_context.h"
#include "shell/setting_switch.h"
#include "shell/settings.h"
#include "ui/skin_entry_names.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kStripHeight = 32;
// The strip lies where the list's lower part was: this much lower than the list window.
constexpr int kStripDrop = 345 - kStripHeight;
constexpr int kStyleHeightLimit = 50;  // below it the window is the strip
constexpr int kEdge = 2;
constexpr int kBottomEdgeTop = 30;
constexpr int kTextLeft = 10;
constexpr int kTextLine = 10;   // the line a text rests on
constexpr int kSecondTextTop = 40;
constexpr int kTextEntryTop = 32;  // where a text comes in from below
constexpr int kTextGone = -32;     // above this a text has left the strip
constexpr int kRestTicks = 40;     // 2.4 s at 60 ms
constexpr int kStripMilliseconds = 60;
constexpr int kRowPadBytes = 88;
constexpr int kLowestAppliedAlpha = 10;  // opacities up to this, and 255, stay unlayered
constexpr char kNoReminderText[] = "今日没有提醒";

// The held window: the style routines also run while it closes.
TodayWindowContext& Ctx() { return *HeldTodayContext(); }
ui::Window& Win() { return Ctx().window; }

void Tick(std::string_view item, bool ticked) { Win().UnitAs<ui::MenuItem>(item).SetChecked(ticked); }

ui::Timer& TimerOf(std::string_view name) { return Win().UnitAs<ui::Timer>(name); }

SpriteTextStyle StripTextStyle() {
  SpriteTextStyle style;
  style.size = Settings().ListFontSize;
  style.colour = ui::Rgb(255, 255, 255);
  return style;
}

// Entry `index` (1-based) of the strip's texts, empty past its end.
std::string ScrollTextAt(int index) {
  const std::vector<std::string>& texts = TodayState().ScrollTexts;
  return index >= 1 && index <= static_cast<int>(texts.size()) ? texts[static_cast<std::size_t>(index) - 1]
                                                                : std::string();
}

// A text that climbed off the strip comes in again from below with the next text.
void RecycleText(int sprite) {
  TodayWindowState& st = TodayState();
  ++st.NextScrollText;
  if (st.NextScrollText > st.ScrollTextCount) st.NextScrollText = 1;
  Ctx().sprites.PutSpriteText(sprite, kTextLeft, kTextEntryTop, ScrollTextAt(st.NextScrollText), StripTextStyle());
}

void ApplyTopmost() {
  const bool on = Settings().TodayWindowTopmost == 1;
  Tick("窗口置顶显示", on);
  Win().SetTopmost(on);
}

}  // namespace

std::vector<std::string> MakeScrollTexts(const ReminderList& day, int titleBytes) {
  std::vector<std::string> texts;
  for (const ReminderRecord& r : day) {
    std::string title = r.txbt;
    const std::size_t lineBreak = r.txbt.find("\r\n");
    const int p = lineBreak == std::string::npos ? -1 : static_cast<int>(lineBreak) + 1;
    if (p > -1 && p < titleBytes)
      title = TruncateText(r.txbt, p);  // the first line and its carriage return
    else if (!r.txbt.empty())
      title = TruncateText(r.txbt, titleBytes);
    const std::string row = FormatDateTime(r.ksdate, 2) + " " + RepeatModeName(r.txfs, 0) + " " + title;
    const int pad = std::max(0, kRowPadBytes - static_cast<int>(row.size()));
    texts.push_back(" " + row + std::string(static_cast<std::size_t>(pad), ' ') + "|" + std::to_string(r.id));
  }
  if (texts.empty()) texts.emplace_back(kNoReminderText);
  if (texts.size() == 1) texts.push_back(texts.front());
  return texts;
}

void BuildTodayTitleSprites() {
  TodayWindowContext& ctx = Ctx();
  TodayWindowState& st = TodayState();
  const int width = st.TodayWindowWidth;
  ctx.sprites.Bind(Win().UnitAs<ui::AnimationBox>(kTodayStripBox));
  ctx.sprites.Clear();
  st.ScrollTextSprite1 = ctx.sprites.AddPlainPictureSprite("滚动文本1", kTextLeft, kTextLine, 0, 0, true, {});
  st.ScrollTextSprite2 = ctx.sprites.AddPlainPictureSprite("滚动文本2", kTextLeft, kSecondTextTop, 0, 0, true, {});
  const std::string across = FindSkinEntry(skin::kOuterHorizontalLine);
  const std::string down = FindSkinEntry(skin::kOuterVerticalLine);
  st.TopEdgeSprite = ctx.sprites.AddPlainPictureSprite("上边框", 0, 0, width, kEdge, true, across);
  ctx.sprites.AddPlainPictureSprite("下边框", 0, kBottomEdgeTop, width, kEdge, true, across);
  ctx.sprites.AddPlainPictureSprite("左边框", 0, 0, kEdge, kStripHeight, true, down);
  ctx.sprites.AddPlainPictureSprite("右边框", width - kEdge, 0, kEdge, kStripHeight, true, down);
}

void RestoreTodayWindowSettings() {
  ui::Window& w = Win();
  TodayWindowState& st = TodayState();
  ProgramSettings& settings = Settings();

  settings.TodayWindowTopmost = TextToNumber(ReadConfigItemOr("dstx", "jttxzd", "1")) != 0 ? 1 : 0;
  ApplyTopmost();

  if (TextToInteger(AccessConfigItem("jtck", "xsfs", {}, true)) == 1)
    UseScrollingStyle();
  else
    UseListStyle();

  const int screenWidth = ui::ScreenWidth(), screenHeight = ui::ScreenHeight();
  const int cornerLeft = screenWidth - st.TodayShownWidth - 5;
  const int cornerTop = screenHeight - st.TodayShownHeight - settings.TaskbarHeight - 5;
  if (TextToInteger(AccessConfigItem("dstx", "jttxWzSz", {}, true)) != 1) {
    w.Move(cornerLeft, cornerTop);
    st.RememberTodayPosition = 0;
  } else {
    int x = TextToInteger(AccessConfigItem("dstx", "jttxWzX", {}, true));
    int y = TextToInteger(AccessConfigItem("dstx", "jttxWzY", {}, true));
    if (x < 0 || x > screenWidth - st.TodayShownWidth) x = cornerLeft;
    if (y < 0 || y > screenHeight - st.TodayShownHeight) y = cornerTop;
    w.Move(x, y);
    st.RememberTodayPosition = 1;
  }
  Tick("记录窗口位置", st.RememberTodayPosition == 1);
  Tick("没提醒不显示", settings.HideTodayWindowWhenEmpty == 1);

  const int alpha = TextToInteger(AccessConfigItem("dstx", "dstxtmd", {}, true));
  if (alpha > kLowestAppliedAlpha && alpha <= 254) ui::SetWindowAlpha(w, alpha);
}

void UseScrollingStyle() {
  ui::Window& w = Win();
  TodayWindowState& st = TodayState();
  if (w.Height() > kStyleHeightLimit) w.Move(w.Left(), w.Top() + kStripDrop);
  w.Resize(w.Width(), kStripHeight);
  st.TodayShownWidth = st.TodayWindowWidth;
  st.TodayShownHeight = kStripHeight;
  BuildScrollTexts();
  TimerOf("滚动显示时钟").SetInterval(kStripMilliseconds);
  Tick("滚动", true);
  Tick("列表", false);
  w.Unit(kTodayStripBox).SetVisible(true);
}

void UseListStyle() {
  ui::Window& w = Win();
  TodayWindowState& st = TodayState();
  const int height = w.Height();
  if (height < kStyleHeightLimit) w.Move(w.Left(), w.Top() - kStripDrop);
  w.Resize(st.TodayWindowWidth, st.TodayWindowHeight);
  st.TodayShownWidth = st.TodayWindowWidth;
  st.TodayShownHeight = st.TodayWindowHeight;
  if (height < kStyleHeightLimit) {
    PaintTodayWindow();
    CreateTodayList();
    ShowDayListPage(ListPages().TodayFirstRow);
  }
  w.Unit(kTodayStripBox).SetVisible(false);
  TimerOf("滚动显示时钟").SetInterval(0);
  Tick("列表", true);
  Tick("滚动", false);
}

void ChooseListStyle() {
  if (StoreSwitchSetting("jtck", "xsfs", "0")) UseListStyle();
}

void ChooseScrollingStyle() {
  if (StoreSwitchSetting("jtck", "xsfs", "1")) UseScrollingStyle();
}

bool InScrollingStyle() { return TodayState().TodayShownHeight == kStripHeight; }

void BuildScrollTexts() {
  TodayWindowState& st = TodayState();
  st.ScrollTextCount = ListPages().TodayRowCount;
  st.ScrollTexts = MakeScrollTexts(ListPages().TodayDayReminders, st.TodayScrollTitleBytes);
  st.NextScrollText = 2;
  SpriteSet& sprites = Ctx().sprites;
  sprites.PutSpriteText(st.ScrollTextSprite1, kTextLeft, kTextLine, ScrollTextAt(1), StripTextStyle());
  sprites.PutSpriteText(st.ScrollTextSprite2, kTextLeft, kSecondTextTop, ScrollTextAt(2), StripTextStyle());
  st.ScrollPause = kRestTicks;
}

void ScrollTodayStrip() {
  if (LoadedTodayContext() == nullptr) return;
  TodayWindowState& st = TodayState();
  if (st.ScrollPause > 0) {
    --st.ScrollPause;
    return;
  }
  SpriteSet& sprites = Ctx().sprites;
  const int y1 = sprites.SpriteTop(st.ScrollTextSprite1) - 1;
  const int y2 = sprites.SpriteTop(st.ScrollTextSprite2) - 1;
  sprites.MoveSprite(st.ScrollTextSprite1, kTextLeft, y1);
  sprites.MoveSprite(st.ScrollTextSprite2, kTextLeft, y2);
  if (y1 == kTextLine || y2 == kTextLine) st.ScrollPause = kRestTicks;
  if (y1 < kTextGone) RecycleText(st.ScrollTextSprite1);
  if (y2 < kTextGone) RecycleText(st.ScrollTextSprite2);
}

void SetTodayOpacity(int alpha) {
  if (!StoreSwitchSetting("dstx", "dstxtmd", std::to_string(alpha))) return;
  ui::SetWindowAlpha(Win(), alpha);
}

void ToggleTodayWindowTopmost() {
  ProgramSettings& settings = Settings();
  const bool on = settings.TodayWindowTopmost != 1;
  if (!StoreSwitchSetting("dstx", "jttxzd", on ? "1" : "0")) return;
  settings.TodayWindowTopmost = on ? 1 : 0;
  ApplyTopmost();
}

void ToggleTodayPositionMemory() {
  TodayWindowState& st = TodayState();
  const bool on = st.RememberTodayPosition != 1;
  // Turned on, the switch and the place it keeps are one choice.
  const bool stored = on ? StoreSwitchSettings("dstx", {{"jttxWzSz", "1"},
                                                        {"jttxWzX", std::to_string(Win().Left())},
                                                        {"jttxWzY", std::to_string(Win().Top())}})
                         : StoreSwitchSetting("dstx", "jttxWzSz", "0");
  if (!stored) return;
  st.RememberTodayPosition = on ? 1 : 0;
  Tick("记录窗口位置", on);
}

void ToggleHideTodayWhenEmpty() {
  ProgramSettings& settings = Settings();
  const bool on = settings.HideTodayWindowWhenEmpty != 1;
  if (!StoreSwitchSetting("dstx", "mtxbxs", on ? "1" : "0")) return;
  settings.HideTodayWindowWhenEmpty = on ? 1 : 0;
  Tick("没提醒不显示", on);
}

void ShowTodayMenu() { Win().UnitAs<ui::Menu>("菜单").PopupAtPointer(); }

void PressTodayTitleStrip(int spriteId) {
  if (spriteId < 1 || spriteId == TodayState().TopEdgeSprite) {
    ui::DragWindow(Win());
    return;
  }
  Ctx().sprites.OnSpritePress(spriteId);
}

void RefreshTodayAtMidnight() {
  if (LoadedTodayContext() == nullptr) return;
  TodayWindowState& st = TodayState();
  const long long today = DayNumber(platform::clock::Now());
  const bool newDay = st.LastSeenDay != 0 && today != st.LastSeenDay;
  st.LastSeenDay = today;
  if (newDay) ShowToday();
}

void SaveTodayWindowState() {
  TodayWindowContext& ctx = Ctx();
  ui::Window& w = ctx.window;
  AccessConfigItem("dstx", "jttxWzX", std::to_string(w.Left()));
  AccessConfigItem("dstx", "jttxWzY", std::to_string(w.Top()));
  TickTodayMainMenuItem(false);
  for (std::string_view timer : {"刷新时钟", "滚动显示时钟", "时钟1", "移动时钟"}) TimerOf(timer).SetInterval(0);
  TodayReminderList().ClearRows();
  ctx.sprites.Clear();
  ctx.painter.ClearSprites();
}

}  // namespace workmemo
