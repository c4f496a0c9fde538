#pragma once
// The stacking of the program's windows as a window manager keeps it from what the program
// asks: a window shown with the keyboard, or raised, goes on top of its layer; one shown
// without the keyboard goes under the window that has it; top-most windows are a layer above
// the others. The offscreen platform stacks nothing and gives every window it shows the
// keyboard, so a window shown without it is told by what the program asked.
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <algorithm>
#include <vector>

#include "platform/ui/widgets.h"
#include "platform/ui/window.h"

namespace testsupport {

class StackingOrder : public QObject {
 public:
  StackingOrder() { qApp->installEventFilter(this); }
  ~StackingOrder() override { qApp->removeEventFilter(this); }
  StackingOrder(const StackingOrder&) = delete;
  StackingOrder& operator=(const StackingOrder&) = delete;

  static QWidget* WidgetOf(platform::ui::Window& w) { return platform::ui::detail::UnitAccess::WindowWidgetOf(w); }
  static bool IsOnTop(platform::ui::Window& w) { return WidgetOf(w)->windowFlags().testFlag(Qt::WindowStaysOnTopHint); }
  static bool ShownWithoutTheKeyboard(platform::ui::Window& w) {
    return WidgetOf(w)->testAttribute(Qt::WA_ShowWithoutActivating);
  }
  bool IsAbove(platform::ui::Window& upper, platform::ui::Window& lower) const {
    if (IsOnTop(upper) != IsOnTop(lower)) return IsOnTop(upper);
    return At(WidgetOf(upper)) > At(WidgetOf(lower));
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || !widget->isWindow()) return false;
    if (event->type() == QEvent::Show) {
      std::erase(order_, widget);
      const auto active = std::find(order_.begin(), order_.end(), QApplication::activeWindow());
      const bool under = widget->testAttribute(Qt::WA_ShowWithoutActivating) && active != order_.end();
      order_.insert(under ? active : order_.end(), widget);
    } else if (event->type() == QEvent::ZOrderChange) {
      std::erase(order_, widget);
      order_.push_back(widget);
    }
    return false;
  }

 private:
  std::ptrdiff_t At(const QWidget* widget) const { return std::find(order_.begin(), order_.end(), widget) - order_.begin(); }
  std::vector<QWidget*> order_;  // bottom first
};

}  // namespace testsupport
