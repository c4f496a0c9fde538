#include "platform/ui/stacking_watch.h"

#include <cstdint>
#include <cstring>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include "platform/ui/widgets.h"
#include "platform/ui/window.h"

namespace platform::ui::detail {

void StackingWatch::Install() {
  static StackingWatch* watch = nullptr;
  if (watch != nullptr) return;
  watch = new StackingWatch(qApp);
  qApp->installEventFilter(watch);
  qApp->installNativeEventFilter(watch);
}

// A window of the program clicked or given the keyboard went on top of its layer: the
// program's own record of the order follows.
bool StackingWatch::eventFilter(QObject* watched, QEvent* event) {
  if ((event->type() != QEvent::MouseButtonPress && event->type() != QEvent::FocusIn) || !watched->isWindowType())
    return false;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    auto* surface = dynamic_cast<WindowWidget*>(top);
    if (surface == nullptr || surface->windowHandle() != watched) continue;
    Window::RaisedByWindowManager(surface->owner);
    break;
  }
  return false;
}

// Qt hands on no press on a window a modal window blocks, so presses are seen as the window
// system reports them.
bool StackingWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  // An X11 event begins with its code (the high bit set when another client sent it). A
  // pointer press comes as a core press or, where the input extension serves the pointer (as
  // Qt has it), as a generic event whose type, at byte 8, is the extension's press. The
  // keyboard's coming to a window is a core event.
  constexpr unsigned char kButtonPress = 4, kFocusIn = 9, kGenericEvent = 35;
  constexpr std::uint16_t kInputButtonPress = 4;
  const auto* bytes = static_cast<const unsigned char*>(message);
  const unsigned char code = bytes[0] & 0x7F;
  std::uint16_t genericType = 0;
  if (code == kGenericEvent) std::memcpy(&genericType, bytes + 8, sizeof genericType);
  const bool pressed = code == kButtonPress || (code == kGenericEvent && genericType == kInputButtonPress);
  if (!pressed && code != kFocusIn) return false;
  // Once the event is handled: the window manager stacks before it passes a press on, and
  // raises a window it activates before it gives it the keyboard.
  QTimer::singleShot(0, qApp, [] { Window::RaiseLayersAbove(Window::Layer::Topmost); });
  return false;
}

}  // namespace platform::ui::detail
