#include "platform/ui/window.h"

#include <algorithm>

#include <QBuffer>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include "platform/text/text.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/widgets.h"

namespace platform::ui {

using detail::FromQ;
using detail::ToQ;

// --- Unit ------------------------------------------------------------------------------

Unit::Unit(Window& owner, UnitKind kind, std::string name)
    : owner_(owner), kind_(kind), name_(std::move(name)) {
  font_.name = detail::DefaultFaceName();
}

Unit::~Unit() = default;

void Unit::WrongKind() const {
  throw TemplateError("window " + platform::text::ToUtf8(owner_.Name()) + ": unit " +
                      platform::text::ToUtf8(name_) + " is not of the kind asked for");
}

int Unit::Left() const { return widget_ ? widget_->x() : 0; }
int Unit::Top() const { return widget_ ? widget_->y() : 0; }
int Unit::Width() const { return widget_ ? widget_->width() : 0; }
int Unit::Height() const { return widget_ ? widget_->height() : 0; }
void Unit::Move(int x, int y) {
  if (widget_) widget_->move(x, y);
}
void Unit::Resize(int width, int height) {
  if (widget_) widget_->resize(std::max(0, width), std::max(0, height));
}
void Unit::SetGeometry(int x, int y, int width, int height) {
  Move(x, y);
  Resize(width, height);
}
bool Unit::IsVisible() const { return widget_ ? !widget_->isHidden() : false; }
void Unit::SetVisible(bool visible) {
  if (widget_) widget_->setVisible(visible);
}
bool Unit::IsEnabled() const { return widget_ ? widget_->isEnabled() : true; }
void Unit::SetEnabled(bool enabled) {
  if (widget_) widget_->setEnabled(enabled);
}
std::string Unit::Text() const { return text_; }
void Unit::SetText(std::string_view text) { text_ = text; }
void Unit::SetFont(const Font& font) {
  font_ = font;
  if (font_.name.empty()) font_.name = detail::DefaultFaceName();
  if (widget_) {
    widget_->setFont(detail::ToQFont(font_));
    widget_->update();
  }
}
void Unit::SetBackgroundColour(Colour colour) {
  background_ = colour;
  ColoursChanged();
  if (widget_) widget_->update();
}
void Unit::SetForegroundColour(Colour colour) {
  foreground_ = colour;
  ColoursChanged();
  if (widget_) widget_->update();
}
void Unit::BringToTop() {
  if (widget_) widget_->raise();
}
void Unit::SendToBottom() {
  if (widget_) widget_->lower();
}
void Unit::SetFocus() {
  if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}
bool Unit::HasFocus() const { return widget_ && widget_->hasFocus(); }
void Unit::Fire(Event event, EventArgs& args) { owner_.Fire(name_, event, args); }
void Unit::Fire(Event event) {
  EventArgs args;
  Fire(event, args);
}

namespace detail {

// --- The window's surface ------------------------------------------------------------

namespace {
bool MouseToArgs(QEvent* event, EventArgs& args, Event& kind, QPoint offset) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(event);
      const QPoint p = me->position().toPoint() + offset;
      args.x = p.x();
      args.y = p.y();
      const bool right = me->button() == Qt::RightButton;
      if (event->type() == QEvent::MouseButtonPress) kind = right ? Event::RightDown : Event::LeftDown;
      else if (event->type() == QEvent::MouseButtonRelease) kind = right ? Event::RightUp : Event::LeftUp;
      else if (event->type() == QEvent::MouseButtonDblClick) kind = Event::DoubleClicked;
      else kind = Event::MouseMove;
      return me->button() == Qt::LeftButton || me->button() == Qt::RightButton ||
             event->type() == QEvent::MouseMove;
    }
    case QEvent::Wheel: {
      auto* we = static_cast<QWheelEvent*>(event);
      const QPoint p = we->position().toPoint() + offset;
      args.x = p.x();
      args.y = p.y();
      args.delta = we->angleDelta().y();
      kind = Event::Wheel;
      return true;
    }
    default: return false;
  }
}
}  // namespace

WindowWidget::WindowWidget(Window& w) : owner(w) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setMouseTracking(true);
}

void WindowWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(owner.BackgroundColour()));
}

void WindowWidget::closeEvent(QCloseEvent* event) {
  // The system's close command (Alt+F4) closes the window as Close() does.
  if (!owner.IsClosed()) owner.Close();
  event->accept();
}

void WindowWidget::moveEvent(QMoveEvent*) {
  EventArgs args;
  args.x = x();
  args.y = y();
  owner.Fire({}, Event::Moved, args);
}

QWidget* UnitAccess::WindowWidgetOf(Window& w) { return w.widget_.get(); }

// A key no unit took reaches the window: its KeyDown handler, when it has one, answers it.
void WindowWidget::keyPressEvent(QKeyEvent* event) {
  EventArgs args;
  args.key = KeyCode(event->key());
  if (owner.Fire({}, Event::KeyDown, args)) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool WindowWidget::event(QEvent* event) {
  EventArgs args;
  Event kind;
  if (MouseToArgs(event, args, kind, QPoint())) owner.Fire({}, kind, args);
  return QWidget::event(event);
}

EventRelay::EventRelay(Unit& unit, QWidget* target) : QObject(target), unit_(unit), target_(target) {
  target->installEventFilter(this);
}

bool EventRelay::eventFilter(QObject* watched, QEvent* event) {
  EventArgs args;
  Event kind;
  QPoint offset;
  if (watched != target_ && watched->isWidgetType())
    offset = static_cast<QWidget*>(watched)->mapTo(target_, QPoint(0, 0));
  if (MouseToArgs(event, args, kind, offset)) {
    UnitAccess::Fire(unit_, kind, args);
    return false;
  }
  if (event->type() == QEvent::KeyPress) {
    args.key = KeyCode(static_cast<QKeyEvent*>(event)->key());
    UnitAccess::Fire(unit_, Event::KeyDown, args);
    return args.handled;  // a handler that sets handled swallows the key
  }
  if (event->type() == QEvent::FocusOut) UnitAccess::Fire(unit_, Event::FocusLost, args);
  return false;
}

}  // namespace detail

// --- Window ----------------------------------------------------------------------------

Window::Window() = default;

Window::~Window() {
  // No handler runs while the tree goes (a dying widget can still send focus events);
  // the widget tree goes before the units whose relays it holds.
  handlers_.clear();
  closed_ = true;
  if (loop_ != nullptr) static_cast<QEventLoop*>(loop_)->quit();
  LeaveModal();
  widget_.reset();
  byName_.clear();
  units_.clear();
}

platform::ui::Unit& Window::Unit(std::string_view name) const {
  auto it = byName_.find(name);
  if (it == byName_.end())
    throw TemplateError("window " + platform::text::ToUtf8(name_) + " has no unit " +
                        platform::text::ToUtf8(name));
  return *it->second;
}

bool Window::HasUnit(std::string_view name) const { return byName_.find(name) != byName_.end(); }

std::vector<platform::ui::Unit*> Window::UnitsOfKind(UnitKind kind) const {
  std::vector<platform::ui::Unit*> out;
  for (const auto& unit : units_)
    if (unit->Kind() == kind) out.push_back(unit.get());
  return out;
}

namespace {
std::string HandlerKey(std::string_view unit, std::string_view window) {
  return unit == window ? std::string() : std::string(unit);
}
}  // namespace

void Window::On(std::string_view unit, Event event, Handler handler) {
  const std::string key = HandlerKey(unit, name_);
  if (!key.empty()) Unit(key);  // binding to a unit the template lacks fails at once
  handlers_[{key, event}] = std::move(handler);
}

bool Window::HasHandler(std::string_view unit, Event event) const {
  return handlers_.count({HandlerKey(unit, name_), event}) != 0;
}

bool Window::Fire(std::string_view unit, Event event, EventArgs& args) {
  // Once the close has begun, what the handlers work on may be gone (the close handler lets
  // it go, and hiding the window moves the focus out of its boxes): nothing runs any more.
  if (closed_) return false;
  return RunHandler(unit, event, args);
}

bool Window::RunHandler(std::string_view unit, Event event, EventArgs& args) {
  auto it = handlers_.find({HandlerKey(unit, name_), event});
  if (it == handlers_.end() || !it->second) return false;
  Handler handler = it->second;  // a handler may rebind itself while it runs
  handler(args);
  return true;
}

void Window::Open(bool visible) {
  closed_ = false;
  if (!created_) {
    created_ = true;
    EventArgs args;
    Fire({}, Event::Created, args);
  }
  if (visible && !closed_) Show();
}

void Window::OpenModal() {
  Open(false);
  if (closed_) return;
  widget_->setWindowModality(Qt::ApplicationModal);
  EnterModal();
  Show();
  ModalWindowsChanged();  // once it has a native window, the windows kept above it follow it
  widget_->activateWindow();  // the keys go to the box at once
  QEventLoop loop;
  QPointer<QEventLoop> guard(&loop);
  void* outer = loop_;
  loop_ = &loop;
  ++modalDepth_;
  if (auto* script = testing::Script::Current()) {
    std::function<void(Window&)> action;
    int delay = 0;
    if (script->TakeWindowAnswer(action, delay, name_)) {
      QTimer::singleShot(delay, &loop, [this, action] { action(*this); });
    } else {
      QTimer::singleShot(0, &loop, [this] { Close(); });
    }
  }
  if (!closed_) loop.exec();
  --modalDepth_;
  loop_ = outer;
  widget_->setWindowModality(Qt::NonModal);
  if (modalDepth_ == 0) LeaveModal();
}

void Window::Close() {
  if (closed_) return;
  closed_ = true;
  EventArgs args;
  RunHandler({}, Event::Destroying, args);
  Hide();
  if (loop_ != nullptr) static_cast<QEventLoop*>(loop_)->quit();
}

bool Window::IsVisible() const { return widget_->isVisible(); }
void Window::Minimise() { widget_->showMinimized(); }
bool Window::IsMinimised() const { return widget_->isMinimized(); }
int Window::Left() const { return widget_->x(); }
int Window::Top() const { return widget_->y(); }
int Window::Width() const { return widget_->width(); }
int Window::Height() const { return widget_->height(); }
void Window::Move(int x, int y) {
  placed_ = true;
  widget_->move(x, y);
}
void Window::Resize(int width, int height) { widget_->resize(std::max(0, width), std::max(0, height)); }

void Window::SetTitle(std::string_view title) {
  title_ = title;
  widget_->setWindowTitle(ToQ(title));
}

void Window::SetBackgroundColour(Colour colour) {
  background_ = colour;
  widget_->update();
}

void Window::SetOpacity(int alpha) {
  alpha_ = std::clamp(alpha, 0, 255);
  widget_->setWindowOpacity(alpha_ / 255.0);
}

bool Window::StartDrag() {
  QWindow* handle = widget_->window()->windowHandle();
  return handle != nullptr && handle->startSystemMove();
}

std::string Window::SnapshotPng() const {
  QImage image(widget_->size(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  widget_->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::uint64_t Window::NativeId() const { return static_cast<std::uint64_t>(widget_->winId()); }

}  // namespace platform::ui
