#include "shell/leftover_files.h"

#include <string>

#include "platform/files/files.h"
#include "platform/os/paths.h"
#include "shell/data_files.h"
#include "shell/settings.h"
#include "ui/skin_package.h"

namespace workmemo {

void RemoveLeftoverTemporaryFiles() {
  std::vector<std::string> targets = DataFilePaths();
  targets.push_back(ConfigFilePath());
  targets.push_back(SkinPackagePath(platform::os::ProgramDirectory()));
  for (const std::string& target : targets) platform::files::RemoveLeftoverTemps(target);
}

}  // namespace workmemo
