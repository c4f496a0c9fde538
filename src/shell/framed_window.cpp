#include "shell/framed_window.h"

#include <algorithm>

#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/settings.h"
#include "shell/ui_state.h"

namespace workmemo {

namespace ui = platform::ui;

void PaintFramedShellWindow(SkinPainter& painter, ui::Window& window, int fontSize,
                            std::string_view fontName, bool showIcon) {
  PaintWindowArgs paint;
  paint.window = &window;
  paint.backgroundBox = &window.UnitAs<ui::AnimationBox>("背景动画框");
  paint.compositingBox = &window.UnitAs<ui::AnimationBox>("按钮动画框");
  paint.childBox = &window.UnitAs<ui::AnimationBox>("子窗口背景动画框");
  paint.childX = 0;
  paint.childY = kFramedBodyTop;
  paint.childWidth = window.Width();
  // A window lower than its two bands (the desktop clock) has no body, not a negative one.
  paint.childHeight = std::max(0, window.Height() - kFramedBandsHeight);
  paint.backgroundPicture = Ui().BackgroundPicture;
  paint.transparency = Settings().SkinTransparency;
  paint.fontName = fontName;
  paint.fontSize = fontSize;
  paint.showIcon = showIcon ? 1 : 0;
  painter.PaintWindow(paint);
}

}  // namespace workmemo
