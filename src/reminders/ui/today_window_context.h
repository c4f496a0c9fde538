#pragma once
// The objects of one loaded TodayRemindersWindow, shared by its day list and its style code.
#include <memory>
#include <optional>

#include "platform/ui/window.h"
#include "shell/password_gate.h"
#include "ui/date_picker_calendar.h"
#include "ui/skin_list_view_box.h"
#include "ui/skin_painter.h"
#include "ui/sprite_set.h"

namespace workmemo {

// The password panel over the window's body and the units that lie on it.
class TodayPasswordCover : public PasswordCover {
 public:
  explicit TodayPasswordCover(platform::ui::Window& window) : window_(window) {}
  void HideCover() override { Show(false); }
  void Show(bool visible);
  bool IsShown() const;

 private:
  platform::ui::Window& window_;
};

// The objects that run one loaded window, held with it.
struct TodayWindowContext {
  explicit TodayWindowContext(platform::ui::Window& w) : window(w), cover(w) {}
  platform::ui::Window& window;
  SkinPainter painter;  // TodayRemindersWindowPainter
  SpriteSet sprites;    // TodayRemindersWindowSprites, on the title strip 动画框2
  std::unique_ptr<ListBoxBinding> binding;
  DatePickerCalendar picker;  // TodayDatePicker
  std::optional<DrawPanelPickerPanel> pickerDrawing;
  std::optional<DrawPanelPickerPanel> pickerBacking;
  TodayPasswordCover cover;
};

// The context of the window loaded now, nullptr when none is (or it was closed).
TodayWindowContext* LoadedTodayContext();
// The context of the window held now, also while it closes (its about-to-be-destroyed
// handler runs after it counts as closed); nullptr when none is held.
TodayWindowContext* HeldTodayContext();

// Steps of the window's set-up that the style code runs again.
void PaintTodayWindow();
void CreateTodayList();
// The tick of the main window's menu item 显示今日提醒窗口, when there is a main window.
void TickTodayMainMenuItem(bool ticked);

}  // namespace workmemo
