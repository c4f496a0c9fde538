#pragma once
// A click delivered as the window system delivers it, through the window under the pointer:
// Qt hands it on only when no modal window blocks that window. (The test driver's Click
// sends straight to the unit and so reaches a blocked window too.)
#include "platform/ui/units.h"

namespace testsupport {

void ClickThroughTheWindowSystem(platform::ui::Unit& unit, int x, int y);

}  // namespace testsupport
