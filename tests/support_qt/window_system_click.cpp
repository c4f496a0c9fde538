#include "window_system_click.h"

#include <QTest>
#include <QWidget>
#include <QWindow>

#include "platform/ui/widgets.h"

namespace testsupport {

void ClickThroughTheWindowSystem(platform::ui::Unit& unit, int x, int y) {
  QWidget* widget = platform::ui::detail::UnitAccess::WidgetOf(unit);
  QWindow* window = widget->window()->windowHandle();
  const QPoint at = widget->mapTo(widget->window(), QPoint(x, y));
  QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, at);
}

}  // namespace testsupport
