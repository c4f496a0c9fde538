#include "platform/ui/test_driver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "platform/ui/widgets.h"

namespace platform::ui::testing {

namespace {
Script* g_current = nullptr;
}

Script::Script() { g_current = this; }
Script::~Script() {
  if (g_current == this) g_current = nullptr;
}
Script* Script::Current() { return g_current; }

void Script::AnswerWindow(std::function<void(Window&)> action, int delayMs) {
  windows_.push_back({std::move(action), delayMs});
}
void Script::AnswerMessage() { ++messagesQueued_; }
void Script::AnswerFile(std::string path) { files_.push_back(std::move(path)); }
void Script::AnswerMenu(std::string itemName) { menuAnswers_.push_back(std::move(itemName)); }

bool Script::TakeWindowAnswer(std::function<void(Window&)>& action, int& delayMs, const std::string& window) {
  modalWindows_.push_back(window);
  if (windows_.empty()) {
    ++unanswered_;
    return false;
  }
  action = std::move(windows_.front().action);
  delayMs = windows_.front().delayMs;
  windows_.pop_front();
  return true;
}

void Script::NoteMessage(std::string text) {
  messages_.push_back(std::move(text));
  if (messagesQueued_ > 0) --messagesQueued_;
  else ++unanswered_;
}

bool Script::TakeFileAnswer(std::string& path, const std::string& title) {
  fileDialogs_.push_back(title);
  if (files_.empty()) {
    ++unanswered_;
    path.clear();
    return false;
  }
  path = std::move(files_.front());
  files_.pop_front();
  return true;
}

bool Script::TakeMenuAnswer(std::string& item, const std::string& menu) {
  menus_.push_back(menu);
  if (menuAnswers_.empty()) {
    ++unanswered_;
    item.clear();
    return false;
  }
  item = std::move(menuAnswers_.front());
  menuAnswers_.pop_front();
  return true;
}

namespace {

QWidget* WidgetOf(Unit& unit) {
  QWidget* w = detail::UnitAccess::WidgetOf(unit);
  if (w == nullptr) throw TemplateError("unit has no surface to receive input");
  return w;
}

Qt::MouseButton QtButton(Button b) { return b == Button::Left ? Qt::LeftButton : Qt::RightButton; }

void SendMouse(Unit& unit, QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons held) {
  QWidget* w = WidgetOf(unit);
  const QPointF local(x, y);
  QMouseEvent event(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &event);
}

}  // namespace

void MoveMouse(Unit& unit, int x, int y) { SendMouse(unit, QEvent::MouseMove, x, y, Qt::NoButton, Qt::NoButton); }

void Press(Unit& unit, int x, int y, Button button) {
  SendMouse(unit, QEvent::MouseButtonPress, x, y, QtButton(button), QtButton(button));
}

void Release(Unit& unit, int x, int y, Button button) {
  SendMouse(unit, QEvent::MouseButtonRelease, x, y, QtButton(button), Qt::NoButton);
}

void Click(Unit& unit, int x, int y, Button button) {
  Press(unit, x, y, button);
  Release(unit, x, y, button);
}

void DoubleClick(Unit& unit, int x, int y) {
  Click(unit, x, y);
  SendMouse(unit, QEvent::MouseButtonDblClick, x, y, Qt::LeftButton, Qt::LeftButton);
  Release(unit, x, y);
}

void Wheel(Unit& unit, int x, int y, int delta) {
  QWidget* w = WidgetOf(unit);
  const QPointF local(x, y);
  QWheelEvent event(local, w->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &event);
}

namespace {

void SendKey(QWidget* w, int key) {
  int qtKey = key;
  QString text;
  switch (key) {
    case 13: qtKey = Qt::Key_Return; text = QStringLiteral("\r"); break;
    case 27: qtKey = Qt::Key_Escape; break;
    case 8: qtKey = Qt::Key_Backspace; break;
    case 9: qtKey = Qt::Key_Tab; break;
    default: text = QString(QChar(key)); break;
  }
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

}  // namespace

void Key(Unit& unit, int key) { SendKey(WidgetOf(unit), key); }

void Key(Window& window, int key) { SendKey(detail::UnitAccess::WindowWidgetOf(window), key); }

void CloseFromSystem(Window& window) { detail::UnitAccess::WindowWidgetOf(window)->close(); }

}  // namespace platform::ui::testing
