#include "shell/run_state.h"

namespace workmemo {

RunState& Run() {
  static RunState state;
  return state;
}

}  // namespace workmemo
