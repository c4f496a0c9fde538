// Where windows open and how they stack: the one place of a window its code never placed,
// top-most windows, and the windows kept above them while they are shown.
#include <algorithm>
#include <functional>
#include <vector>

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "platform/ui/widgets.h"
#include "platform/ui/window.h"

namespace platform::ui {

namespace {

std::function<const Window*()>& PlacementOwner() {
  static std::function<const Window*()> owner;
  return owner;
}

// The shown windows kept above the top-most ones, in the order they came up.
std::vector<Window*>& FrontWindows() {
  static std::vector<Window*> shown;
  return shown;
}

QWidget* WidgetOf(Window& window) { return detail::UnitAccess::WindowWidgetOf(window); }

// The windows kept in front go above whatever came up since; a top-most modal box (one of
// the program's boxes, which are top-most while kept in front, a file dialog or the system's
// message box) keeps the keyboard. A modal window that is not top-most (an editor) stays
// where it is, under what came up.
void RestoreFront() {
  for (Window* w : FrontWindows()) WidgetOf(*w)->raise();
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
    modal->raise();
    modal->activateWindow();
  }
}

// A window that came up is raised over the other windows of its layer, then the windows
// kept in front over it.
void Restack(QWidget& shown) {
  shown.raise();
  RestoreFront();
}

// A window manager stacks a window when it puts it on the screen, after the program asked
// for it, and may keep one shown without the keyboard under the window that has it: once
// the window is there it is raised over an editor, and the windows kept in front over it.
class RestackOnExpose : public QObject {
 public:
  static constexpr const char* kName = "restack-on-expose";
  explicit RestackOnExpose(QObject* parent) : QObject(parent) { setObjectName(kName); }
  // The one watch of a window's surface (found by name: the class has no meta-object).
  static RestackOnExpose& Of(QWidget& widget) {
    if (QObject* found = widget.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly))
      return *static_cast<RestackOnExpose*>(found);
    return *new RestackOnExpose(&widget);
  }
  bool pending = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (pending && event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
      pending = false;
      Restack(*static_cast<QWidget*>(parent()));
    }
    return false;
  }
};

}  // namespace

void Window::SetPlacementOwner(std::function<const Window*()> owner) { PlacementOwner() = std::move(owner); }

void Window::CentreOn(const Window* owner) {
  placed_ = true;
  QScreen* screen = QGuiApplication::primaryScreen();
  const bool overOwner = owner != nullptr && owner != this && owner->widget_->isVisible() &&
                         !owner->widget_->isMinimized();
  if (overOwner) screen = owner->widget_->screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QRect around = overOwner ? owner->widget_->frameGeometry() : area;
  QRect placed(QPoint(0, 0), widget_->size());
  placed.moveCenter(around.center());
  // Never off the screen: a large box over a small window keeps its title strip in reach.
  placed.moveLeft(std::clamp(placed.left(), area.left(), std::max(area.left(), area.right() + 1 - placed.width())));
  placed.moveTop(std::clamp(placed.top(), area.top(), std::max(area.top(), area.bottom() + 1 - placed.height())));
  widget_->move(placed.topLeft());
}

void Window::Show() {
  const bool topLevel = widget_->parentWidget() == nullptr;
  // Every window without a place of its own opens as the message boxes do, never at (0,0).
  if (!placed_ && topLevel) CentreOn(PlacementOwner() ? PlacementOwner()() : nullptr);
  if (topLevel) ShowTopLevel();
  else widget_->show();
  widget_->update();
}

void Window::ShowTopLevel() {
  // While a modal window is open a window comes up without the keyboard: above an editor,
  // below a box and any other window kept in front.
  QWidget* modal = QApplication::activeModalWidget();
  const bool underModal = !aboveTopmost_ && modal != nullptr && modal != widget_.get();
  const bool restack = underModal || (!aboveTopmost_ && !FrontWindows().empty());
  widget_->setAttribute(Qt::WA_ShowWithoutActivating, underModal);
  widget_->show();
  if (aboveTopmost_ && std::find(FrontWindows().begin(), FrontWindows().end(), this) == FrontWindows().end())
    FrontWindows().push_back(this);
  if (!restack) return;
  QWindow* handle = widget_->windowHandle();
  if (handle == nullptr) return;
  RestackOnExpose& watch = RestackOnExpose::Of(*widget_);
  handle->installEventFilter(&watch);
  watch.pending = true;
  if (handle->isExposed()) {  // already on the screen: no expose will come
    watch.pending = false;
    Restack(*widget_);
  }
}

void Window::LeaveFront() { std::erase(FrontWindows(), this); }

void Window::Hide() {
  LeaveFront();
  widget_->hide();
}

void Window::Activate() {
  if (widget_->isMinimized()) widget_->showNormal();
  widget_->raise();
  QWidget* modal = QApplication::activeModalWidget();
  if (aboveTopmost_ || modal == nullptr || modal == widget_.get()) widget_->activateWindow();
  if (!aboveTopmost_) RestoreFront();
}

void Window::SetTopmost(bool topmost) {
  if (topmost_ == topmost) return;
  topmost_ = topmost;
  if (widget_->parentWidget() != nullptr) return;  // a page follows its parent
  const bool shown = widget_->isVisible();
  widget_->setWindowFlag(Qt::WindowStaysOnTopHint, topmost_ || aboveTopmost_);
  if (shown) ShowTopLevel();  // changing the flags hides a window
}

void Window::KeepAboveTopmostWindows() {
  if (aboveTopmost_) return;
  aboveTopmost_ = true;
  if (widget_->parentWidget() != nullptr) return;
  const bool shown = widget_->isVisible();
  // Above the top-most windows only as one of them: on top with them, and raised over them.
  widget_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  if (shown) ShowTopLevel();
}

void Window::SetParentWindow(Window* parent) {
  const QPoint at = widget_->pos();
  const bool shown = !widget_->isHidden();
  if (parent != nullptr) {
    LeaveFront();
    widget_->setParent(parent->widget_.get(), Qt::Widget);
  } else {
    Qt::WindowFlags flags = Qt::Window;
    if (frameless_) flags |= Qt::FramelessWindowHint;
    if (topmost_ || aboveTopmost_) flags |= Qt::WindowStaysOnTopHint;
    widget_->setParent(nullptr, flags);
  }
  widget_->move(at);
  widget_->setVisible(shown);
}

}  // namespace platform::ui
