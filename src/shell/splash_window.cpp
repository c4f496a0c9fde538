#include "shell/splash_window.h"

#include "platform/files/resources.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/startup.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kSplashTicks = 5;
constexpr char kIconResource[] = ":/icons/workmemo-48.png";

}  // namespace

SplashState& Splash() {
  static SplashState state;
  return state;
}

void SetUpSplashWindow(ui::Window& window, std::function<void()> showMainWindow) {
  ui::Window* self = &window;
  window.On({}, ui::Event::Created, [self](ui::EventArgs&) {
    self->Unit("版本标签").SetText(kProgramVersion);
    self->UnitAs<ui::PictureBox>("图标框").SetPicture(
        platform::files::ReadResource(kIconResource).value_or(std::string()));
    if (Splash().SplashMode == 1) self->UnitAs<ui::Timer>("时钟1").SetInterval(1000);
  });
  window.On("时钟1", ui::Event::Timer, [self, showMainWindow](ui::EventArgs&) {
    SplashState& s = Splash();
    s.SplashTickCount += 1;
    if (s.SplashTickCount >= kSplashTicks && s.SplashMode == 1) {
      if (showMainWindow) showMainWindow();
      s.SplashMode = 0;
      self->Close();
    }
  });
  window.On({}, ui::Event::Destroying,
            [self](ui::EventArgs&) { self->UnitAs<ui::Timer>("时钟1").SetInterval(0); });
  // The whole face of the window answers a click, whichever unit lies under the pointer.
  const ui::Handler click = [self](ui::EventArgs&) {
    if (Splash().SplashMode == 0) self->Close();
  };
  window.On({}, ui::Event::LeftDown, click);
  for (const char* unit : {"背景标签", "图标框", "名称标签", "说明标签", "版本标签"})
    window.On(unit, ui::Event::LeftDown, click);
}

SplashWindowHolder::SplashWindowHolder() = default;
SplashWindowHolder::~SplashWindowHolder() { Close(); }

void SplashWindowHolder::ShowSplash(std::function<void()> showMainWindow) {
  showMainWindow_ = std::move(showMainWindow);
  Splash().SplashMode = 1;
  Load();
}

void SplashWindowHolder::ShowAbout() {
  Splash().SplashMode = 0;
  if (LoadedWindow() != nullptr) {
    // The splash turns into the About window: its timer no longer shows the main window.
    window_->Activate();
    return;
  }
  Load();
}

void SplashWindowHolder::Load() {
  retired_ = std::move(window_);
  window_ = ui::Window::Load("SplashWindow");
  SetUpSplashWindow(*window_, showMainWindow_);
  window_->Open();
}

ui::Window* SplashWindowHolder::LoadedWindow() const {
  return window_ && !window_->IsClosed() ? window_.get() : nullptr;
}

void SplashWindowHolder::Close() {
  if (ui::Window* w = LoadedWindow()) w->Close();
}

}  // namespace workmemo
