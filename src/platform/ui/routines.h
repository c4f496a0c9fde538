#pragma once
// Small routines that windows of every kind share.
#include "platform/ui/units.h"
#include "platform/ui/window.h"

namespace platform::ui {

// Drops the list of a combo box down.
void DropDownComboBox(ComboBox& combo);
// Lets the user drag a frameless window with the mouse; call it from a button-down handler.
void DragWindow(Window& window);
// Window opacity, 0 transparent to 255 opaque (the default).
void SetWindowAlpha(Window& window, int alpha = 255);

}  // namespace platform::ui
