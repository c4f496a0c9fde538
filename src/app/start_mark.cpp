#include "start_mark.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "shell/startup.h"

namespace workmemo::startmark {

void InstallIfRequested() {
  const char* path = std::getenv("WORKMEMO_START_MARK");
  if (path == nullptr || *path == '\0') return;
  SetStartupDoneHook([file = std::string(path)] {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::ofstream(file, std::ios::trunc) << std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() << '\n';
  });
}

}  // namespace workmemo::startmark
