#include "platform/os/sound_file_reader.h"

#include <memory>

#include "platform/files/files.h"
#include "platform/os/run_aside.h"
#include "platform/os/sound.h"

namespace platform::os {

std::optional<std::string> ReadSoundFile(std::string_view path) {
  return files::ReadAll(path, kSoundFileLimit);
}

void ReadSoundFileAside(std::string path, std::function<void(std::optional<std::string>)> done) {
  auto bytes = std::make_shared<std::optional<std::string>>();
  // No thread to read on: no sound, as for a file that cannot be read.
  RunAside([bytes, path = std::move(path)] { *bytes = ReadSoundFile(path); },
           [bytes, done = std::move(done)] { done(std::move(*bytes)); });
}

}  // namespace platform::os
