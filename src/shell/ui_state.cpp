#include "shell/ui_state.h"

namespace workmemo {

UiState& Ui() {
  static UiState state;
  return state;
}

}  // namespace workmemo
