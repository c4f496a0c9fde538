#pragma once
// Work that may wait on the file system runs on a thread of its own: opening a named pipe
// waits for a writer, and an open, a stat or the start of a program on a hung network mount
// waits for the server. On the window thread either would stop every window and every later
// reminder.
#include <functional>

namespace platform::os {

// Runs `work` on a detached thread, then `done` on the window thread once its events run.
// Nothing is handed over once the application object is gone: a thread stuck on a hung
// mount never holds up the end of the program, and finds no receiver when it wakes. Without
// an application object, or when no thread can be started, nothing runs and the answer is
// false. Called on the window thread.
bool RunAside(std::function<void()> work, std::function<void()> done);

}  // namespace platform::os
