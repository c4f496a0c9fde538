#pragma once
// One floating window of this module and the object that runs it: a window the module loads
// and owns, or one a tool loaded and lends to be set up as the program sets up its own. A
// closed window is let go only when the next one comes or Release is called, never from its
// own handler.
#include <memory>
#include <string_view>

#include "platform/ui/window.h"

namespace workmemo {

template <class Runner>
class FloatingWindowHolder {
 public:
  // Lets any earlier window go, loads the template and makes its runner with make(window).
  template <class Make>
  Runner& Load(std::string_view name, Make make) {
    Release();
    owned_ = platform::ui::Window::Load(name);
    window_ = owned_.get();
    runner_ = make(*window_);
    return *runner_;
  }
  // The same for a window that stays its lender's.
  template <class Make>
  Runner& Attach(platform::ui::Window& window, Make make) {
    Release();
    window_ = &window;
    runner_ = make(window);
    return *runner_;
  }
  // Closes the window, then lets the window and its runner go.
  void Release() {
    if (window_ != nullptr && !window_->IsClosed()) window_->Close();
    window_ = nullptr;
    runner_.reset();
    owned_.reset();
  }

  // The window held now, also while it closes; nullptr when none is.
  platform::ui::Window* Window() const { return window_; }
  Runner* Held() const { return window_ != nullptr ? runner_.get() : nullptr; }
  // The runner of a window that is open, nullptr otherwise.
  Runner* Current() const { return window_ != nullptr && !window_->IsClosed() ? runner_.get() : nullptr; }

 private:
  std::unique_ptr<platform::ui::Window> owned_;
  platform::ui::Window* window_ = nullptr;
  std::unique_ptr<Runner> runner_;  // declared after the window: it goes first
};

}  // namespace workmemo
