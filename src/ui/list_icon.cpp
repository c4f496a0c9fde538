#include "ui/list_icon.h"

#include "ui/skin_entry_names.h"
#include "ui/skin_painter.h"

namespace workmemo {

std::string GetListIcon(int kind) {
  if (kind < 0 || kind >= skin::kListIconCount) kind = 0;
  return FindSkinEntry(skin::NumberedName(skin::kListIconPrefix, kind));
}

}  // namespace workmemo
