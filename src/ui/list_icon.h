#pragma once
// The row icons of the skinned lists: a picture per kind, from the loaded skin.
#include <string>

namespace workmemo {

// The row icon of a kind (PNG bytes from the skin): kinds 0 to 7 each have their own, any
// other kind the picture of 0. The reminder lists pass a display state, the due-date lists
// 1 for an overdue item and 0 otherwise. Empty while no skin is loaded.
std::string GetListIcon(int kind);

}  // namespace workmemo
