#include "setup_hooks.h"

namespace snapshot {

const std::map<std::string, SetupHook>& SetupHooks() {
  static const std::map<std::string, SetupHook> hooks = {};
  return hooks;
}

}  // namespace snapshot
