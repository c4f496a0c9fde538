#pragma once
// Set-up routines the snapshot tool runs on a window before drawing it, by window name:
// the place where a window's own set-up (painting with the skin, sprites) is hooked in.
#include <functional>
#include <map>
#include <string>

#include "platform/ui/window.h"

namespace snapshot {

using SetupHook = std::function<void(platform::ui::Window&)>;

// Window name (GB18030) to its set-up; a window without an entry is drawn as its template
// lays it out.
const std::map<std::string, SetupHook>& SetupHooks();

}  // namespace snapshot
