#include "shell/panel_picture.h"

#include "shell/main_window.h"

namespace workmemo {

const std::string& PanelPicture::Get() const {
  static const std::string none;
  if (main != nullptr) return main->PanelAreaPicture();
  return own != nullptr ? *own : none;
}

}  // namespace workmemo
