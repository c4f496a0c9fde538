#pragma once
// The skinned message and confirmation boxes through which every message and every yes/no
// question reaches the user. Each call opens a box of its own, so a box that a timer opens
// while another is open neither changes nor closes the first.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::ui {
class Window;
}

namespace workmemo {

// Shows `message` under `title` (empty: "提示：") with one 确定 button; returns when closed.
// Closing a message box leaves ConfirmAnswer at 0.
void ShowMessageBox(std::string_view message, std::string_view title = {});

// Asks `message`, with an optional red detail line; returns when closed with the answer,
// which is also left in Ui().ConfirmAnswer: 1 for 确定, 0 for 取消 or the close button.
int ShowConfirmBox(std::string_view message, std::string_view title = {},
                   std::string_view detail = {});

// The set-up of a loaded MessageBoxWindow or ConfirmBoxWindow template: binds its events,
// and its created handler lays it out, paints it with the skin and draws the texts. The
// box's state lives with the window. `answer` (confirmation box only) receives 1 or 0.
void SetUpMessageBox(platform::ui::Window& window, std::string message, std::string title);
void SetUpConfirmBox(platform::ui::Window& window, std::string message, std::string title,
                     std::string detail, std::shared_ptr<int> answer);

// The boxes' texts are wrapped at this width in the font they are drawn in.
inline constexpr int kMessageWrapWidth = 452;

// The shell's windows by name, each with a set-up that shows it as the program does (with
// one of the program's own texts), for tools that draw windows.
using WindowSetup = std::function<void(platform::ui::Window&)>;
std::vector<std::pair<std::string, WindowSetup>> ShellWindowSetups();

}  // namespace workmemo
