#pragma once
// The help window: five topics chosen on the left - three texts and two guide pictures -
// in a skinned, framed window that the user drags by its background.
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/window.h"
#include "shell/framed_window.h"
#include "ui/skin_painter.h"
#include "ui/sprite_set.h"

namespace workmemo {

// The topics in the order of their labels 透明标签1 to 透明标签5.
inline constexpr int kHelpTopicCount = 5;

class HelpWindow {
 public:
  // Binds the window's events; its created handler runs LoadHelpWindow.
  explicit HelpWindow(platform::ui::Window& window);
  HelpWindow(const HelpWindow&) = delete;
  HelpWindow& operator=(const HelpWindow&) = delete;

  void LoadHelpWindow();
  // Paints the framed window and puts the two guide pictures back; run again after a
  // change of skin background.
  void LayoutHelpWindow();
  // Shows topic 1 to 5 (the label's number); other numbers are ignored.
  void ShowHelpTopic(int topic);
  // Shows the topic of that name ("欢迎使用", "许可协议", "操作指南", "更新说明",
  // "操作指南1"); false for another name.
  bool ShowHelpTopic(std::string_view name);

  // The current topic's name.
  const std::string& HelpTopic() const { return helpTopic_; }
  // Object ids of the two guide pictures on the background box.
  int GuidePictureId(int which) const { return which == 1 ? guideIds_[0] : guideIds_[1]; }
  platform::ui::Window& window() { return window_; }
  SpriteSet& Sprites() { return sprites_; }

 private:
  void ShowGuidePictures();

  platform::ui::Window& window_;
  SkinPainter painter_;
  SpriteSet sprites_;
  std::string helpTopic_;
  int guideIds_[2] = {0, 0};
};


// One non-modal window of a kind and the object that runs it; a closed window is released
// only when the next one opens or Release is called, never from its own handler.
template <class T>
struct NonModalWindow {
  std::unique_ptr<T> runner;  // released after its window
  std::unique_ptr<platform::ui::Window> window;
  T* Current() const { return window && !window->IsClosed() ? runner.get() : nullptr; }
  void Release() {
    if (window && !window->IsClosed()) window->Close();
    window.reset();
    runner.reset();
  }
};

// The built-in text of a text topic (1, 2 or 4) as GB18030; empty for the others.
std::string HelpTopicText(int topic);

// Loads HelpWindow non-modal on `topic` (empty: the welcome topic), or brings the open one
// forward and switches it to `topic` when one is given.
void ShowHelpWindow(std::string_view topic = {});
// The help window ShowHelpWindow opened last, or nullptr; for the start-up and tests.
HelpWindow* OpenHelpWindow();
// Closes and releases it.
void CloseHelpWindow();

}  // namespace workmemo
