#include "ui/list_page.h"

#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "ui/skin_list_view_box.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr std::string_view kListBox = "背景动画框";
constexpr std::string_view kButtonBox = "按钮动画框";
constexpr int kListRows = 19;
constexpr int kRowHeight = 27;
constexpr int kListBottomMargin = 46;  // the query bar lies below the list
constexpr int kCellTop = 8;
constexpr int kIconTop = 2;
constexpr int kCaptionTop = 6;

}  // namespace

ui::AnimationBox& PaintListPage(SkinPainter& painter, ui::Window& page, std::string_view picture) {
  auto& listBox = page.UnitAs<ui::AnimationBox>(kListBox);
  PaintChildWindowArgs args;
  args.window = &page;
  args.backgroundBox = &listBox;
  args.compositingBox = &page.UnitAs<ui::AnimationBox>(kButtonBox);
  args.backgroundPicture = picture;
  painter.PaintChildWindow(args);
  return listBox;
}

int BuildPageList(SkinListView& list, SpriteSurface& surface, const ui::Window& page,
                  std::span<const int> columnX, int iconWidth, int iconHeight) {
  const int columns = static_cast<int>(columnX.size());
  const auto& box = page.UnitAs<ui::AnimationBox>(kListBox);
  list.Create(surface, kListRows, columns, 0, 0, box.Width(), page.Height() - kListBottomMargin, kRowHeight,
              true, EmbeddedListPictures());
  list.SetColumn(1, columnX[0], kIconTop, iconWidth, iconHeight);
  for (int c = 2; c <= columns; ++c) list.SetColumn(c, columnX[static_cast<std::size_t>(c) - 1], kCellTop);
  for (int c = 1; c <= columns; ++c) list.SetColumnPosition(c, columnX[static_cast<std::size_t>(c) - 1], kCaptionTop);
  return list.VisibleRowCount();
}

ListTextLook ListCellLook(int fontSize, bool centred) {
  ListTextLook look;
  look.size = fontSize;
  look.centreAcross = centred;
  look.centreDown = centred;
  return look;
}

}  // namespace workmemo
