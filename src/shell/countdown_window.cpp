#include "shell/countdown_window.h"

#include <string>

#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/power_tasks.h"
#include "shell/settings.h"
#include "shell/ui_state.h"
#include "shell/framed_window.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

PowerCountdown* g_programCountdown = nullptr;

constexpr int kWidth = 450;
constexpr int kHeight = 280;
constexpr int kTickMs = 1000;

void LayOut(ui::Window& window, SkinPainter& painter) {
  window.Resize(kWidth, kHeight);
  window.Unit("标题标签").Move(30, 5);
  // The countdown keeps its template's font sizes.
  PaintFramedShellWindow(painter, window, 0);

  const PowerTaskState& s = PowerTasks();
  window.Unit("标签1").SetText(std::to_string(s.PowerCountdownSeconds));
  const std::string label = PowerCountdownLabel(s.PendingPowerTask);
  if (!label.empty()) window.Unit("标签2").SetText(label);
  window.UnitAs<ui::Timer>("时钟1").SetInterval(kTickMs);
}

void ShowCount(ui::Window& window) {
  const int seconds = PowerTasks().PowerCountdownSeconds;
  window.Unit("标签1").SetText(std::to_string(seconds < 0 ? 0 : seconds));
  window.Unit("标题标签").SetText(PowerCountdownTitle(seconds));
  if (PowerCountdownWindowCloses()) window.Close();
}

}  // namespace

void SetUpCountdownWindow(ui::Window& window, ui::Timer* shutdownClock) {
  auto painter = std::make_shared<SkinPainter>();
  ui::Window* self = &window;
  window.On({}, ui::Event::Created, [self, painter](ui::EventArgs&) { LayOut(*self, *painter); });
  window.On("时钟1", ui::Event::Timer, [self](ui::EventArgs&) { ShowCount(*self); });
  window.On({}, ui::Event::Destroying, [self, painter, shutdownClock](ui::EventArgs&) {
    self->UnitAs<ui::Timer>("时钟1").SetInterval(0);
    painter->ClearSprites();
    StopPowerCountdown();
    if (shutdownClock != nullptr) shutdownClock->SetInterval(0);
  });
  const ui::Handler close = [self](ui::EventArgs&) { self->Close(); };
  window.On("图形按钮1", ui::Event::Clicked, close);
  window.On("关闭按钮", ui::Event::Clicked, close);
  const ui::Handler drag = [self](ui::EventArgs&) { ui::DragWindow(*self); };
  window.On("标题标签", ui::Event::LeftDown, drag);
  window.On("背景动画框", ui::Event::LeftDown, drag);
}

PowerCountdown::PowerCountdown(ui::Timer& shutdownClock) : clock_(shutdownClock) {}

PowerCountdown::~PowerCountdown() { Close(); }

bool PowerCountdown::Start(int task, int delaySeconds, int forceFlag) {
  if (LoadedWindow() != nullptr) return false;
  if (!StartPowerCountdown(task, delaySeconds, forceFlag)) return false;
  clock_.SetInterval(kTickMs);
  window_ = ui::Window::Load("ShutdownCountdownWindow");
  SetUpCountdownWindow(*window_, &clock_);
  window_->Open();
  return true;
}

void PowerCountdown::Tick() {
  if (!TickPowerCountdown()) clock_.SetInterval(0);
}

ui::Window* PowerCountdown::LoadedWindow() const {
  return window_ && !window_->IsClosed() ? window_.get() : nullptr;
}

void PowerCountdown::Close() {
  if (ui::Window* w = LoadedWindow()) w->Close();
}

PowerCountdown* ProgramPowerCountdown() { return g_programCountdown; }
void SetProgramPowerCountdown(PowerCountdown* countdown) { g_programCountdown = countdown; }

}  // namespace workmemo
