// Where windows open and how they stack: the one place of a window its code never placed,
// and the layers of the program's windows, from the top: the windows kept in front (the boxes
// that ask or tell something, file dialogs, the help window); the windows kept above modal
// windows (the pop-up) while an editor is open; an open modal window (an editor); the other
// top-most windows; the rest.
#include <algorithm>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "platform/ui/stacking_watch.h"
#include "platform/ui/widgets.h"
#include "platform/ui/window.h"

namespace platform::ui {

namespace {

std::function<const Window*()>& PlacementOwner() {
  static std::function<const Window*()> owner;
  return owner;
}

// The modal windows open now, the innermost last.
std::vector<Window*>& OpenModals() {
  static std::vector<Window*> open;
  return open;
}

// The innermost open modal window that is not kept in front: the one the windows kept above
// modal windows go above (an editor).
Window* OpenModalWindow() {
  for (auto it = OpenModals().rbegin(); it != OpenModals().rend(); ++it)
    if (!(*it)->IsKeptAboveTopmostWindows()) return *it;
  return nullptr;
}

std::uint64_t NextRaise() {
  static std::uint64_t count = 0;
  return ++count;
}

QWidget* WidgetOf(Window& window) { return detail::UnitAccess::WindowWidgetOf(window); }

Window* OwnerOf(QWidget* widget) {
  auto* surface = dynamic_cast<detail::WindowWidget*>(widget);
  return surface != nullptr ? &surface->owner : nullptr;
}

// The program's windows that are windows of their own, shown or not.
std::vector<Window*> TopLevelWindows() {
  std::vector<Window*> windows;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (Window* w = OwnerOf(widget)) windows.push_back(w);
  return windows;
}

// A window manager stacks a window when it puts it on the screen, after the program asked
// for it, and may keep one shown without the keyboard under the window that has it: once the
// window system says the window is there (exposed, or shown again after a minimise), it is
// stacked again, once.
class RestackWhenShown : public QObject {
 public:
  static constexpr const char* kName = "restack-when-shown";
  // Arms the one watch of the window's surface (found by name: the class has no meta-object).
  static void Arm(QWidget& widget, std::function<void()> restack) {
    auto* watch = static_cast<RestackWhenShown*>(widget.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly));
    if (watch == nullptr) {
      watch = new RestackWhenShown(&widget);
      widget.installEventFilter(watch);
    }
    if (QWindow* handle = widget.windowHandle()) handle->installEventFilter(watch);
    watch->restack_ = std::move(restack);
  }
  static void Disarm(QWidget& widget) {
    if (auto* watch = static_cast<RestackWhenShown*>(widget.findChild<QObject*>(kName, Qt::FindDirectChildrenOnly)))
      watch->restack_ = nullptr;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool exposed = event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed();
    const bool shownAgain = event->type() == QEvent::Show && event->spontaneous() && watched == parent();
    if (restack_ && (exposed || shownAgain)) std::exchange(restack_, nullptr)();
    return false;
  }

 private:
  explicit RestackWhenShown(QWidget* widget) : QObject(widget) { setObjectName(kName); }
  std::function<void()> restack_;
};

}  // namespace

void Window::SetPlacementOwner(std::function<const Window*()> owner) { PlacementOwner() = std::move(owner); }

// Kept in step with the window manager, which raised the window on top of its layer: a later
// restack keeps it there.
void Window::RaisedByWindowManager(Window& window) { window.raisedAt_ = NextRaise(); }

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
  detail::StackingWatch::Install();
  // While a modal window is open a window comes up without the keyboard, but for a box kept
  // in front, which takes it.
  QWidget* modal = QApplication::activeModalWidget();
  const bool underModal = !aboveTopmost_ && modal != nullptr && modal != widget_.get();
  widget_->setAttribute(Qt::WA_ShowWithoutActivating, underModal);
  ApplyStaysOnTop();
  widget_->show();
  raisedAt_ = NextRaise();
  FollowOpenModalWindow();
  const Layer layer = StackLayer();
  const std::vector<Window*> windows = TopLevelWindows();
  const bool higherShown = std::any_of(windows.begin(), windows.end(), [layer](const Window* w) {
    return w->widget_->isVisible() && w->StackLayer() > layer;
  });
  if (!underModal && !higherShown) return;
  QWindow* handle = widget_->windowHandle();
  if (handle == nullptr) return;
  if (handle->isExposed()) {  // already on the screen: no expose will come
    RestackWhenShown::Disarm(*widget_);
    Restack();
  } else {
    RestackWhenShown::Arm(*widget_, [this] { Restack(); });
  }
}

Window::Layer Window::StackLayer() const {
  if (aboveTopmost_) return Layer::Front;
  const Window* modal = OpenModalWindow();
  if (aboveModal_ && modal != nullptr && modal != this) return Layer::AboveModal;
  if (std::find(OpenModals().begin(), OpenModals().end(), this) != OpenModals().end()) return Layer::Modal;
  return topmost_ ? Layer::Topmost : Layer::Rest;
}

// Every layer but the rest is above the other programs' windows too. The window system is
// told of a change as it is: changing a shown widget's flags would hide it and show it again.
void Window::ApplyStaysOnTop() {
  if (widget_->parentWidget() != nullptr) return;  // a page follows its parent
  const bool onTop = StackLayer() >= Layer::Topmost;
  Qt::WindowFlags flags = widget_->windowFlags();
  if (flags.testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
  flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
  widget_->overrideWindowFlags(flags);
  if (QWindow* handle = widget_->windowHandle()) handle->setFlags(flags);
}

// The window goes on top of its layer, then the shown windows of the layers above it back
// over it.
void Window::Restack() {
  widget_->raise();
  raisedAt_ = NextRaise();
  RaiseLayersAbove(StackLayer());
}

// Layer by layer from the lowest, each in the order its windows last went up; last a modal
// box that is not one of the program's windows (a file dialog, the system's message box).
// A modal box kept in front keeps the keyboard.
void Window::RaiseLayersAbove(Layer layer) {
  std::vector<Window*> above;
  for (Window* w : TopLevelWindows())
    if (w->widget_->isVisible() && w->StackLayer() > layer) above.push_back(w);
  std::sort(above.begin(), above.end(), [](const Window* a, const Window* b) {
    return std::tuple(a->StackLayer(), a->raisedAt_) < std::tuple(b->StackLayer(), b->raisedAt_);
  });
  for (Window* w : above) w->widget_->raise();
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr) return;
  const Window* owner = OwnerOf(modal);
  const bool boxInFront = owner != nullptr ? owner->aboveTopmost_ : modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
  if (!boxInFront) return;
  if (owner == nullptr) modal->raise();
  modal->activateWindow();
}

// Qt lets the user reach only an open modal window and the windows it owns; while a modal
// window is open, a window kept above it is made its own for that. (Qt tells the window
// system of an owner only for dialogs, so the window manager stacks and minimises it as
// before.)
void Window::FollowOpenModalWindow() {
  if (!aboveModal_) return;
  QWindow* handle = widget_->windowHandle();
  if (handle == nullptr) return;
  Window* modal = OpenModalWindow();
  QWindow* owner = modal != nullptr && modal != this ? WidgetOf(*modal)->windowHandle() : nullptr;
  if (handle->transientParent() != owner) handle->setTransientParent(owner);
}

// Before the window shows: it comes up in its layer.
void Window::EnterModal() {
  if (std::find(OpenModals().begin(), OpenModals().end(), this) == OpenModals().end()) OpenModals().push_back(this);
  ApplyStaysOnTop();
}

void Window::LeaveModal() {
  if (std::find(OpenModals().begin(), OpenModals().end(), this) == OpenModals().end()) return;
  std::erase(OpenModals(), this);
  ApplyStaysOnTop();
  ModalWindowsChanged();
}

// The windows kept above modal windows change layer with the modal windows open.
void Window::ModalWindowsChanged() {
  for (Window* w : TopLevelWindows()) {
    if (!w->aboveModal_) continue;
    w->ApplyStaysOnTop();
    w->FollowOpenModalWindow();
    if (w->widget_->isVisible() && w->StackLayer() == Layer::AboveModal) RaiseLayersAbove(Layer::Modal);
  }
}

void Window::Hide() { widget_->hide(); }

void Window::Activate() {
  if (widget_->isMinimized()) widget_->showNormal();
  QWidget* modal = QApplication::activeModalWidget();
  const bool takesKeyboard = aboveTopmost_ || modal == nullptr || modal == widget_.get();
  Restack();
  if (takesKeyboard) widget_->activateWindow();
}

void Window::ShowRestored() {
  if (widget_->parentWidget() != nullptr) return;
  const bool minimised = widget_->isMinimized();
  if (minimised) {
    // A window manager gives the keyboard to a minimised window it maps again, and keeps
    // managing one the program hid: the window comes up as a new one, never minimised.
    widget_->hide();
    widget_->setWindowState(widget_->windowState() & ~Qt::WindowMinimized);
    widget_->DropNativeWindow();
  }
  if (widget_->isVisible()) return;
  Show();
  // The window system tells of the end of the minimise later: the window is stacked again then.
  if (minimised) RestackWhenShown::Arm(*widget_, [this] { Restack(); });
}

void Window::SetTopmost(bool topmost) {
  if (topmost_ == topmost) return;
  topmost_ = topmost;
  LayerChanged();
}

void Window::KeepAboveTopmostWindows() {
  if (aboveTopmost_) return;
  aboveTopmost_ = true;
  LayerChanged();
}

void Window::KeepAboveModalWindows() {
  if (aboveModal_) return;
  aboveModal_ = true;
  LayerChanged();
}

// A shown window goes on top of its new layer.
void Window::LayerChanged() {
  if (widget_->parentWidget() != nullptr) return;  // a page follows its parent
  ApplyStaysOnTop();
  FollowOpenModalWindow();
  if (widget_->isVisible()) Restack();
}

void Window::SetParentWindow(Window* parent) {
  const QPoint at = widget_->pos();
  const bool shown = !widget_->isHidden();
  if (parent != nullptr) {
    widget_->setParent(parent->widget_.get(), Qt::Widget);
  } else {
    Qt::WindowFlags flags = Qt::Window;
    if (frameless_) flags |= Qt::FramelessWindowHint;
    if (StackLayer() >= Layer::Topmost) flags |= Qt::WindowStaysOnTopHint;
    widget_->setParent(nullptr, flags);
  }
  widget_->move(at);
  widget_->setVisible(shown);
}

}  // namespace platform::ui
