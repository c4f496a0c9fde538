#pragma once
// The few things the start-up routines ask of the windows and of the process: the skinned
// message box, the system's plain message box, and ending the program. The start-up wires
// them to the real boxes; tests put recorders in their place.
#include <functional>
#include <string_view>

namespace workmemo {

struct ShellServices {
  std::function<void(std::string_view text)> ShowMessageBox;       // skinned, modal
  std::function<void(std::string_view text)> ShowPlainMessageBox;   // the system's own box
  std::function<void(int exitCode)> EndProgram;                     // does not come back when real
  // 提醒时钟 stopped while the timed-reminder file is closed or replaced, and started again:
  // its first tick then makes up the seconds missed meanwhile (at most the last 10), as any
  // late tick does. Empty: nothing to stop (no start-up ran).
  std::function<void()> StopReminderClock;
  std::function<void()> RestartReminderClock;
};

// The program-wide services; every member is empty until the start-up sets it.
ShellServices& Services();

}  // namespace workmemo
