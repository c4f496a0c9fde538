#include "calendar/desktop_clock_window.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "common/text_routines.h"
#include "platform/clock/clock.h"
#include "platform/image/image.h"
#include "platform/ui/app.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/framed_window.h"
#include "shell/main_window.h"
#include "shell/setting_switch.h"
#include "shell/settings.h"
#include "ui/skin_entry_names.h"
#include "ui/skin_painter.h"
#include "ui/sprite_set.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr const char* kSpriteBox = "动画框1";
constexpr const char* kTickTimer = "时钟1";
constexpr const char* kMenu = "菜单";
constexpr const char* kTopmostItem = "总在最前";
constexpr const char* kMainMenuItem = "数字时钟";
constexpr const char* kTopEdge = "上边框";
constexpr int kTickMs = 1000;
constexpr int kMinimumAlpha = 25;
constexpr int kOpaque = 255;
// The frame lines are longer than the window: the box shows the part inside it.
constexpr int kHorizontalLineLength = 820;
constexpr int kVerticalLineLength = 560;
constexpr int kLineThickness = 2;
constexpr std::uint32_t kLineColour = 0xFF404040;

// Elements 1..9 the digits 1..9, 10 the digit 0, 11 the colon.
constexpr int kZeroIndex = 10;
constexpr int kColonIndex = 11;

struct ClockContext {
  ui::Window* window = nullptr;
  std::unique_ptr<ui::Window> owned;  // kept after it closed: never deleted from its handler
  SkinPainter painter;                 // DesktopClockWindowPainter
  SpriteSet sprites;                   // DesktopClockWindowSprites
  std::array<std::string, 12> digitPictures;  // ClockDigitPictures, 1-based
  std::vector<std::pair<std::string, int>> spriteIds;
  int alpha = kOpaque;  // ClockAlpha
  bool placed = false;  // ClockPlaced: position saving waits for the first placement
};

ClockContext& Clock() {
  static ClockContext context;
  return context;
}

ui::Window& Window() { return *Clock().window; }

std::string LinePicture(int width, int height) {
  platform::image::Image line;
  line.width = width;
  line.height = height;
  line.pixels.assign(static_cast<std::size_t>(width) * height, kLineColour);
  return platform::image::EncodePng(line);
}

ClockScreen PrimaryScreen() {
  return {ui::ScreenWidth(), ui::ScreenHeight(), Settings().TaskbarHeight};
}

void SetSpriteDigit(std::string_view name, int digit) {
  Clock().sprites.SetSpritePicture(ClockSpriteId(name), DigitPicture(digit));
}

ui::MenuItem* MainMenuItem() {
  MainWindow* main = ProgramMainWindow();
  if (main == nullptr || !main->Window().HasUnit(kMainMenuItem)) return nullptr;
  return &main->Window().UnitAs<ui::MenuItem>(kMainMenuItem);
}

void EndDesktopClock() {
  ClockContext& c = Clock();
  Window().UnitAs<ui::Timer>(kTickTimer).SetInterval(0);
  c.sprites.Clear();
  c.spriteIds.clear();
  if (ui::MenuItem* item = MainMenuItem()) item->SetChecked(false);
}

void BindClockEvents(ui::Window& w) {
  ClockContext& c = Clock();
  w.On({}, ui::Event::Created, [](ui::EventArgs&) { LoadDesktopClock(); });
  w.On({}, ui::Event::Moved, [](ui::EventArgs&) { SaveClockPosition(); });
  w.On({}, ui::Event::Destroying, [](ui::EventArgs&) { EndDesktopClock(); });
  w.On(kTickTimer, ui::Event::Timer, [](ui::EventArgs&) { TickDesktopClock(); });
  w.On(kSpriteBox, ui::Event::ObjectLeftDown, [&c](ui::EventArgs& a) {
    if (a.objectId < 1 || a.objectId == ClockSpriteId(kTopEdge)) {
      ui::DragWindow(Window());
    } else {
      c.sprites.OnSpritePress(a.objectId);
    }
  });
  w.On(kSpriteBox, ui::Event::ObjectLeftUp, [&c](ui::EventArgs& a) {
    if (a.objectId >= 1) c.sprites.OnSpriteRelease(a.objectId);
  });
  w.On(kSpriteBox, ui::Event::ObjectEnter, [&c](ui::EventArgs& a) {
    if (a.objectId >= 1) c.sprites.OnSpriteEnter(a.objectId);
  });
  w.On(kSpriteBox, ui::Event::ObjectLeave, [&c](ui::EventArgs& a) {
    if (a.objectId >= 1) c.sprites.OnSpriteLeave(a.objectId);
  });
  w.On(kSpriteBox, ui::Event::RightUp, [](ui::EventArgs&) { Window().UnitAs<ui::Menu>(kMenu).PopupAtPointer(); });
  for (int tens = 1; tens <= 10; ++tens) {
    const std::string item = std::to_string(tens * 10);
    w.On(item, ui::Event::Clicked, [item](ui::EventArgs&) { SetClockTransparency(item); });
  }
  w.On(kTopmostItem, ui::Event::Clicked, [](ui::EventArgs&) { ToggleClockTopmost(); });
  w.On("关闭", ui::Event::Clicked, [](ui::EventArgs&) { CloseDesktopClock(); });
}

void LoadClockWindow() {
  ClockContext& c = Clock();
  if (ui::Window* open = DesktopClockWindow()) {
    // There is only ever one clock: asking for it again brings the open one forward.
    open->Show();
    open->Activate();
    return;
  }
  c.owned = ui::Window::Load("DesktopClockWindow");
  AttachDesktopClockWindow(*c.owned);
  c.window->Open();
}

}  // namespace

ClockPlacement PlaceClock(std::string_view storedLeft, std::string_view storedTop, const ClockScreen& screen) {
  ClockPlacement p;
  if (storedLeft.empty()) {
    p.left = (screen.width - kClockWidth) / 2;
    p.top = screen.height - screen.taskbarHeight - kClockHeight - 5;
    p.write = true;
    return p;
  }
  p.left = std::max(0, TextToInteger(storedLeft));
  p.top = std::max(0, TextToInteger(storedTop));
  if (p.left > screen.width - kClockWidth) p.left = (screen.width - kClockWidth) / 2;
  if (p.top > screen.height - kClockHeight) p.top = screen.height - screen.taskbarHeight - kClockHeight - 5;
  return p;
}

int ClockAlphaFromSetting(std::string_view stored) {
  if (stored.empty()) return kOpaque;
  const int alpha = TextToInteger(stored);
  return alpha > kOpaque || alpha < kMinimumAlpha ? kOpaque : alpha;
}

int ClockAlphaOfMenuItem(std::string_view item) {
  for (int tens = 1; tens <= 10; ++tens) {
    if (item == std::to_string(tens * 10)) return tens == 10 ? kOpaque : tens * 25;
  }
  return 0;
}

ui::Window* DesktopClockWindow() {
  const ClockContext& c = Clock();
  return c.window != nullptr && !c.window->IsClosed() ? c.window : nullptr;
}

void AttachDesktopClockWindow(ui::Window& window) {
  Clock().window = &window;
  BindClockEvents(window);
}

int ClockSpriteId(std::string_view name) {
  for (const auto& [spriteName, id] : Clock().spriteIds) {
    if (spriteName == name) return id;
  }
  return 0;
}

void LoadDesktopClock() {
  LayOutDesktopClock();
  DrawClockDigits();
  PaintClockWindow();
  PlaceDesktopClock();
  ClockContext& c = Clock();
  c.alpha = ClockAlphaFromSetting(AccessConfigItem("szck", "tmd", {}, true));
  ui::SetWindowAlpha(Window(), c.alpha);
  if (AccessConfigItem("szck", "zzzq", {}, true) == "1") {
    Window().UnitAs<ui::MenuItem>(kTopmostItem).SetChecked(true);
    Window().SetTopmost(true);
  }
  AccessConfigItem("szck", "szckxs", "1");
  TickDesktopClock();
  Window().UnitAs<ui::Timer>(kTickTimer).SetInterval(kTickMs);
}

void LayOutDesktopClock() { Window().Resize(kClockWidth, kClockHeight); }

void DrawClockDigits() {
  ClockContext& c = Clock();
  for (int d = 1; d <= 9; ++d) c.digitPictures[d] = FindSkinEntry(skin::kClockDigits[d]);
  c.digitPictures[kZeroIndex] = FindSkinEntry(skin::kClockDigits[0]);
  c.digitPictures[kColonIndex] = FindSkinEntry(skin::kClockColon);
  c.sprites.Bind(Window().UnitAs<ui::AnimationBox>(kSpriteBox));
  const std::string horizontal = LinePicture(kHorizontalLineLength, kLineThickness);
  const std::string vertical = LinePicture(kLineThickness, kVerticalLineLength);
  const std::string& one = c.digitPictures[1];
  const std::string& colon = c.digitPictures[kColonIndex];
  struct Placed {
    const char* name;
    int x, y;
    const std::string& picture;
  };
  const Placed sprites[] = {
      {kTopEdge, 0, 0, horizontal},
      {"下边框", 0, kClockHeight - kLineThickness, horizontal},
      {"左边框", 0, 0, vertical},
      {"右边框", kClockWidth - kLineThickness, 0, vertical},
      {"时1", 12, 16, one}, {"时2", 24, 16, one}, {"点1", 36, 16, colon},
      {"分1", 48, 16, one}, {"分2", 60, 16, one}, {"点1", 72, 16, colon},
      {"秒1", 84, 16, one}, {"秒2", 96, 16, one},
  };
  c.spriteIds.clear();
  for (const Placed& s : sprites) {
    SpriteSpec spec;
    spec.name = s.name;
    spec.x = s.x;
    spec.y = s.y;
    spec.normal = s.picture;
    c.spriteIds.emplace_back(s.name, c.sprites.AddPictureSprite(spec));
  }
}

void PaintClockWindow() {
  if (DesktopClockWindow() == nullptr) return;
  ClockContext& c = Clock();
  ui::Window& w = Window();
  // The digits take the whole window: no icon over the hour.
  PaintFramedShellWindow(c.painter, w, 0, {}, false);
  const std::string background = w.UnitAs<ui::AnimationBox>("背景动画框").Capture(0, 0, w.Width(), w.Height());
  c.sprites.SetBoxBackground(background, 0);
}

void PlaceDesktopClock() {
  const ClockPlacement p = PlaceClock(AccessConfigItem("ckwz", "szckwzX", {}, true),
                                      AccessConfigItem("ckwz", "szckwzY", {}, true), PrimaryScreen());
  ClockContext& c = Clock();
  Window().Move(p.left, p.top);
  if (p.write) {
    AccessConfigItem("ckwz", "szckwzX", std::to_string(Window().Left()));
    AccessConfigItem("ckwz", "szckwzY", std::to_string(Window().Top()));
  }
  c.placed = true;
}

std::string DigitPicture(int digit) {
  if (digit < 0 || digit > 9) return {};
  return Clock().digitPictures[digit == 0 ? kZeroIndex : digit];
}

void TickDesktopClock() {
  if (Clock().spriteIds.empty()) return;
  const platform::clock::DateTimeFields now = platform::clock::FieldsFromSerial(platform::clock::Now());
  SetSpriteDigit("时1", now.hour / 10);
  SetSpriteDigit("时2", now.hour % 10);
  SetSpriteDigit("分1", now.minute / 10);
  SetSpriteDigit("分2", now.minute % 10);
  SetSpriteDigit("秒1", now.second / 10);
  SetSpriteDigit("秒2", now.second % 10);
}

void SaveClockPosition() {
  ui::Window* w = DesktopClockWindow();
  if (w == nullptr || !Clock().placed || w->IsMinimised()) return;
  AccessConfigItem("ckwz", "szckwzX", std::to_string(w->Left()));
  AccessConfigItem("ckwz", "szckwzY", std::to_string(w->Top()));
}

void SetClockTransparency(std::string_view item) {
  const int alpha = ClockAlphaOfMenuItem(item);
  if (alpha == 0 || DesktopClockWindow() == nullptr) return;
  if (!StoreSwitchSetting("szck", "tmd", std::to_string(alpha))) return;
  Clock().alpha = alpha;
  ui::SetWindowAlpha(Window(), alpha);
}

void ToggleClockTopmost() {
  if (DesktopClockWindow() == nullptr) return;
  auto& item = Window().UnitAs<ui::MenuItem>(kTopmostItem);
  const bool on = !item.IsChecked();
  if (!StoreSwitchSetting("szck", "zzzq", on ? "1" : "0")) return;
  item.SetChecked(on);
  Window().SetTopmost(on);
}

void CloseDesktopClock() {
  ui::Window* w = DesktopClockWindow();
  if (w == nullptr) return;
  AccessConfigItem("szck", "szckxs", "0");
  w->Close();
}

void ShowDesktopClock() { LoadClockWindow(); }

void ToggleDesktopClock() {
  ui::MenuItem* item = MainMenuItem();
  if (item != nullptr && item->IsChecked()) {
    item->SetChecked(false);
    if (ui::Window* w = DesktopClockWindow()) w->Close();
    return;
  }
  if (item != nullptr) item->SetChecked(true);
  LoadClockWindow();
}

void CloseDesktopClockAtEnd() {
  if (ui::Window* w = DesktopClockWindow()) w->Close();
  Clock().window = nullptr;
  Clock().owned.reset();
}

}  // namespace workmemo
