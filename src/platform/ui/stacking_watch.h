#pragma once
// Keeps the program's stacking when the window manager restacks on its own: it raises a
// window the user clicks, or one that gets the keyboard, over the windows of its layer, which
// may be windows the program keeps above it there; clicking a window that an open modal
// window blocks, it raises the modal window too.
#include <QAbstractNativeEventFilter>
#include <QObject>

namespace platform::ui::detail {

class StackingWatch : public QObject, public QAbstractNativeEventFilter {
 public:
  // Once, before the first window shows.
  static void Install();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  using QObject::QObject;
};

}  // namespace platform::ui::detail
