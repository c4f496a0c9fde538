#pragma once
// Test driver of the window layer: while a Script is installed, modal windows, the system
// message box, file dialogs and pop-up menus take their answers from its queues instead of
// waiting for a person, and tests feed mouse and keys to units.
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/units.h"
#include "platform/ui/window.h"

namespace platform::ui::testing {

class Script {
 public:
  Script();   // installs itself; only one at a time
  ~Script();  // uninstalls
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;
  static Script* Current();

  // The next modal window runs `action` `delayMs` after it opened, inside its loop (the
  // action usually clicks a button or closes the window).
  void AnswerWindow(std::function<void(Window&)> action, int delayMs = 0);
  // The next system message box is taken as closed with OK.
  void AnswerMessage();
  // The next file dialog answers this path (GB18030); an empty path is a cancel.
  void AnswerFile(std::string path);
  // The next pop-up menu picks the item of this name; empty dismisses the menu.
  void AnswerMenu(std::string itemName);

  // What was asked: texts of system message boxes, titles of file dialogs, names of
  // pop-up menus and of modal windows, in order.
  const std::vector<std::string>& Messages() const { return messages_; }
  const std::vector<std::string>& FileDialogs() const { return fileDialogs_; }
  const std::vector<std::string>& Menus() const { return menus_; }
  const std::vector<std::string>& ModalWindows() const { return modalWindows_; }
  // Where each pop-up menu was asked to open, in order.
  struct MenuPlace {
    int x = 0, y = 0;
    MenuAnchor anchor = MenuAnchor::TopLeft;
    bool operator==(const MenuPlace&) const = default;
  };
  const std::vector<MenuPlace>& MenuPlaces() const { return menuPlaces_; }
  // Questions that found no answer queued (closed or cancelled at once).
  int Unanswered() const { return unanswered_; }

  // Used by the layer.
  bool TakeWindowAnswer(std::function<void(Window&)>& action, int& delayMs, const std::string& window);
  void NoteMessage(std::string text);
  bool TakeFileAnswer(std::string& path, const std::string& title);
  bool TakeMenuAnswer(std::string& item, const std::string& menu);
  void NoteMenuPlace(MenuPlace place) { menuPlaces_.push_back(place); }

 private:
  struct WindowAnswer {
    std::function<void(Window&)> action;
    int delayMs;
  };
  std::deque<WindowAnswer> windows_;
  std::deque<std::string> files_;
  std::deque<std::string> menuAnswers_;
  int messagesQueued_ = 0;
  std::vector<std::string> messages_;
  std::vector<std::string> fileDialogs_;
  std::vector<std::string> menus_;
  std::vector<std::string> modalWindows_;
  std::vector<MenuPlace> menuPlaces_;
  int unanswered_ = 0;
};

enum class Button { Left, Right };

// Mouse and keys delivered to a unit as the toolkit delivers the user's input; x and y are
// relative to the unit.
void MoveMouse(Unit& unit, int x, int y);
void Press(Unit& unit, int x, int y, Button button = Button::Left);
void Release(Unit& unit, int x, int y, Button button = Button::Left);
void Click(Unit& unit, int x, int y, Button button = Button::Left);  // press and release
void DoubleClick(Unit& unit, int x, int y);
void Wheel(Unit& unit, int x, int y, int delta);
void Key(Unit& unit, int key);  // 13 Enter, 27 Escape, 'A'..'Z', '0'..'9'
// A key to the window itself, as when none of its units has the keyboard.
void Key(Window& window, int key);
// The window closed as the window manager closes it (Alt+F4, the close of its task-bar entry).
void CloseFromSystem(Window& window);

}  // namespace platform::ui::testing
