#include "shell/help_window.h"

#include "platform/files/resources.h"
#include "platform/text/text.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/settings.h"
#include "shell/ui_state.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 680;
constexpr int kMargin = 3;
constexpr int kGuideX = 112;
constexpr int kGuideY = 64;
constexpr int kGuideWidth = 860;
constexpr int kGuideHeight = 585;  // the pictures' own size: drawn smaller, small texts lose pixel rows
constexpr char kGuideSpriteName[] = "操作指南";
constexpr char kTextArea[] = "说明标签";
constexpr char kCloseButton[] = "关闭按钮";
constexpr char kBackgroundBox[] = "背景动画框";

struct Topic {
  const char* label;    // the unit the user clicks
  const char* caption;  // what the label shows
  const char* name;     // the value of HelpTopic
  const char* text;     // resource of a text topic
  int guide;            // 1 or 2 for a picture topic
};

constexpr Topic kTopics[kHelpTopicCount] = {
    {"透明标签1", "欢迎使用", "欢迎使用", ":/help/welcome.txt", 0},
    {"透明标签2", "许可协议", "许可协议", ":/help/licence.txt", 0},
    {"透明标签3", "操作指南", "操作指南", nullptr, 1},
    {"透明标签4", "更新说明", "更新说明", ":/help/updates.txt", 0},
    {"透明标签5", "操作指南1 ", "操作指南1", nullptr, 2},
};
constexpr const char* kGuidePictures[2] = {":/help/guide1.png", ":/help/guide2.png"};

NonModalWindow<HelpWindow>& Open() {
  // Never destroyed at exit: a window must not outlive the application object.
  static auto& holder = *new NonModalWindow<HelpWindow>;
  return holder;
}

}  // namespace

std::string HelpTopicText(int topic) {
  if (topic < 1 || topic > kHelpTopicCount || kTopics[topic - 1].text == nullptr) return {};
  return platform::text::FromUtf8(platform::files::ReadResource(kTopics[topic - 1].text).value_or(""));
}

HelpWindow::HelpWindow(ui::Window& window) : window_(window) {
  window_.KeepAboveTopmostWindows();  // the floating top-most windows never cover the help
  window_.On({}, ui::Event::Created, [this](ui::EventArgs&) { LoadHelpWindow(); });
  window_.On({}, ui::Event::Destroying, [this](ui::EventArgs&) {
    painter_.ClearSprites();
    sprites_.Clear();
  });
  for (int topic = 1; topic <= kHelpTopicCount; ++topic) {
    window_.On(kTopics[topic - 1].label, ui::Event::LeftDown,
               [this, topic](ui::EventArgs&) { ShowHelpTopic(topic); });
  }
  window_.On(kBackgroundBox, ui::Event::LeftDown, [this](ui::EventArgs&) { ui::DragWindow(window_); });
  window_.On(kCloseButton, ui::Event::Clicked, [this](ui::EventArgs&) { window_.Close(); });
}

void HelpWindow::LoadHelpWindow() {
  helpTopic_ = kTopics[0].name;
  window_.Resize(kWidth, kHeight);
  sprites_.Bind(window_.UnitAs<ui::AnimationBox>(kBackgroundBox));
  ui::Unit& close = window_.Unit(kCloseButton);
  close.Move(kWidth - close.Width() - kMargin, kMargin);
  LayoutHelpWindow();
  ShowHelpTopic(1);
}

void HelpWindow::LayoutHelpWindow() {
  sprites_.Clear();
  PaintFramedShellWindow(painter_, window_, Ui().LabelFontSize);
  for (int i = 0; i < 2; ++i) {
    const std::string picture = platform::files::ReadResource(kGuidePictures[i]).value_or("");
    guideIds_[i] = sprites_.AddPlainPictureSprite(kGuideSpriteName, kGuideX, kGuideY, kGuideWidth,
                                                  kGuideHeight, false, picture);
  }
  ShowGuidePictures();
}

void HelpWindow::ShowGuidePictures() {
  const bool first = helpTopic_ == kTopics[2].name;
  const bool second = helpTopic_ == kTopics[4].name;
  sprites_.ShowSprite(guideIds_[0], first);
  sprites_.ShowSprite(guideIds_[1], second);
}

void HelpWindow::ShowHelpTopic(int topic) {
  if (topic < 1 || topic > kHelpTopicCount) return;
  const Topic& t = kTopics[topic - 1];
  ui::Unit& textArea = window_.Unit(kTextArea);
  if (t.guide == 0) textArea.SetText(HelpTopicText(topic));
  for (const Topic& each : kTopics) window_.Unit(each.label).SetText(each.caption);
  textArea.SetVisible(t.guide == 0);
  helpTopic_ = t.name;
  ShowGuidePictures();
}

bool HelpWindow::ShowHelpTopic(std::string_view name) {
  for (int topic = 1; topic <= kHelpTopicCount; ++topic) {
    if (name == kTopics[topic - 1].name) {
      ShowHelpTopic(topic);
      return true;
    }
  }
  return false;
}

void ShowHelpWindow(std::string_view topic) {
  auto& open = Open();
  if (HelpWindow* help = open.Current()) {
    if (!topic.empty()) help->ShowHelpTopic(topic);
    open.window->Show();
    open.window->Activate();
    return;
  }
  open.Release();
  open.window = ui::Window::Load("HelpWindow");
  open.runner = std::make_unique<HelpWindow>(*open.window);
  open.window->Open();
  if (!topic.empty()) open.runner->ShowHelpTopic(topic);
}

HelpWindow* OpenHelpWindow() { return Open().Current(); }

void CloseHelpWindow() { Open().Release(); }

}  // namespace workmemo
