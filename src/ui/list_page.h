#pragma once
// What the list pages of the main window share: each paints itself over the picture of the
// main window's page area and lists its records on a SkinListView of 19 lines built on its own
// list box, above its query bar.
#include <span>
#include <string>
#include <string_view>

#include "ui/skin_list_view.h"

namespace platform::ui {
class AnimationBox;
class Window;
}  // namespace platform::ui

namespace workmemo {

class SkinPainter;

// Paints a list page from the skin on its own 背景动画框 and 按钮动画框 over `picture` (the
// painted picture of the page area it lies on); returns the 背景动画框, from whose picture the
// page's query bar takes the strip behind it.
platform::ui::AnimationBox& PaintListPage(SkinPainter& painter, platform::ui::Window& page,
                                          std::string_view picture);

// Builds `list` on the page's 背景动画框 (its `surface`): 19 lines of 27 pixels under a header,
// as wide as the box and as high as the page less the bar's room, a column at each x of
// `columnX`, the first column's pictures drawn at iconWidth x iconHeight. Returns the lines
// built.
int BuildPageList(SkinListView& list, SpriteSurface& surface, const platform::ui::Window& page,
                  std::span<const int> columnX, int iconWidth, int iconHeight);

// The look of a list's cells: the Song face at `fontSize`, black, centred both ways or not.
ListTextLook ListCellLook(int fontSize, bool centred);

}  // namespace workmemo
