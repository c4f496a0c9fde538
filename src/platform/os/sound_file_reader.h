#pragma once
// How the desktop's players get a sound file: only a regular file of at most kSoundFileLimit
// bytes is read, and the reading runs on a thread of its own. Opening a named pipe waits for
// a writer, and an open or even a stat of a path on a hung network mount waits for the
// server; either would stop the window thread, and with it every later reminder.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform::os {

// Paths are GB18030.
// The file's bytes, on the calling thread; nullopt for anything but a regular file within
// the limit.
std::optional<std::string> ReadSoundFile(std::string_view path);

// Reads the file aside and hands the result to `done` on the window thread, once the window
// thread's events run. Nothing is handed over once the application object is gone.
void ReadSoundFileAside(std::string path, std::function<void(std::optional<std::string>)> done);

}  // namespace platform::os
