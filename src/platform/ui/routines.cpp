#include "platform/ui/routines.h"

namespace platform::ui {

void DropDownComboBox(ComboBox& combo) { combo.DropDown(); }
void DragWindow(Window& window) { window.StartDrag(); }
void SetWindowAlpha(Window& window, int alpha) { window.SetOpacity(alpha); }

}  // namespace platform::ui
