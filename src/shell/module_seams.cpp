#include "shell/module_seams.h"

namespace workmemo {

ModuleSeams& Seams() {
  static ModuleSeams seams;
  return seams;
}

std::vector<PasswordCover*> AllLoadedCovers() {
  std::vector<PasswordCover*> covers;
  for (const auto& loaded : Seams().LoadedCovers) {
    if (!loaded) continue;
    for (PasswordCover* cover : loaded()) covers.push_back(cover);
  }
  return covers;
}

void CallEachSeam(const std::vector<std::function<void()>>& handlers) {
  for (const auto& handler : handlers) {
    if (handler) handler();
  }
}

void CallSeam(SeamAction action) {
  if (const auto& call = Seams().*action) call();
}

std::function<void()> SeamCaller(SeamAction action) {
  return [action] { CallSeam(action); };
}

}  // namespace workmemo
