#include "shell/module_seams.h"

namespace workmemo {

ModuleSeams& Seams() {
  static ModuleSeams seams;
  return seams;
}

void CallSeam(SeamAction action) {
  if (const auto& call = Seams().*action) call();
}

std::function<void()> SeamCaller(SeamAction action) {
  return [action] { CallSeam(action); };
}

}  // namespace workmemo
