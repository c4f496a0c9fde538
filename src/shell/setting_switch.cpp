#include "shell/setting_switch.h"

#include <string>

#include "shell/message_box.h"
#include "shell/settings.h"
#include "shell/shell_services.h"

namespace workmemo {
namespace {

bool SaidWhenRefused(bool stored) {
  if (stored) return true;
  const std::string message = ConfigWriteFailedMessage();
  // The program's message box; a page shown without the start (a settings page on its own)
  // opens the skinned box itself.
  if (Services().ShowMessageBox)
    Services().ShowMessageBox(message);
  else
    ShowMessageBox(message);
  return false;
}

}  // namespace

bool StoreSwitchSetting(std::string_view section, std::string_view key, std::string_view value) {
  return SaidWhenRefused(StoreConfigItem(section, key, value));
}

bool StoreSwitchSettings(std::string_view section,
                         std::initializer_list<std::pair<std::string_view, std::string_view>> items) {
  return SaidWhenRefused(StoreConfigItems(section, items));
}

}  // namespace workmemo
