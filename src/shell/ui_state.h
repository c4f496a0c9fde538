#pragma once
// Program-wide state of the skinned windows: the picture behind every window, the label font
// size the layouts paint with, and the answer of the last confirmation box.
#include <string>

namespace workmemo {

struct UiState {
  // Chosen at start and by the skins page; every skinned window draws it behind its units.
  std::string BackgroundPicture;
  // The font size window layouts pass to the painter; never changed.
  int LabelFontSize = 11;
  // 1 when the last confirmation box was closed with its OK button, else 0.
  int ConfirmAnswer = 0;
};

UiState& Ui();

}  // namespace workmemo
