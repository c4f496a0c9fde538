#pragma once
// Painting of the shell's framed windows (boxes, countdown, help, tray notice): each has its
// own 背景动画框, 按钮动画框 and 子窗口背景动画框, and a body between the title band and the
// bottom strip.
#include <string_view>

#include "ui/skin_painter.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

// Top of the body below the title band, and the title band plus bottom strip together.
inline constexpr int kFramedBodyTop = 50;
inline constexpr int kFramedBandsHeight = 74;

// Paints `window` with its own three boxes, the child area (0, 50, width, height - 74 but
// at least 0), the program's background picture and skin transparency; `fontSize` below 1
// keeps the units' sizes, an empty `fontName` their faces; `showIcon` false leaves the
// program icon off the title band.
void PaintFramedShellWindow(SkinPainter& painter, platform::ui::Window& window, int fontSize,
                            std::string_view fontName = {}, bool showIcon = true);

}  // namespace workmemo
