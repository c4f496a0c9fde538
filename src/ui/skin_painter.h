#pragma once
// SkinPainter: how a window takes its look from the loaded skin entries. One painter per
// skinned window paints the window's background, frame and icon on its animation boxes and
// gives its units their pictures, colours and fonts; it also answers the skin lookups and
// which festival the skin decorates today.
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/ui.h"
#include "ui/sprite_set.h"

namespace platform::ui {
class AnimationBox;
class DrawPanel;
class Menu;
class PictureButton;
class Window;
}  // namespace platform::ui

namespace workmemo {

// A copy of the data of the first loaded entry with exactly that name; empty when none.
std::string FindSkinEntry(std::string_view name);
// A button sprite with its normal, hover and pressed pictures, scaled to width x height (0:
// the picture's own size). Returns its id.
struct ButtonPictures {
  std::string normal, hover, pressed;
};
int AddButtonSprite(SpriteSet& sprites, std::string_view name, const ButtonPictures& pictures, int x,
                    int y, int width, int height, SpriteRoutine click, bool visible = true);
// The same with the skin's pictures of `skinBase` (its entries skinBase + 正常图片, 点燃图片
// and 按下图片).
int AddSkinButtonSprite(SpriteSet& sprites, std::string_view name, std::string_view skinBase, int x,
                        int y, int width, int height, SpriteRoutine click, bool visible = true);
// A colour entry: its data as decimal text, 0 for a missing or unreadable entry.
platform::ui::Colour SkinColour(std::string_view name);
// Gives a pop-up menu the skin's menu colours (its text colour stays): every menu of a
// painted window, and the tray menu, which lives on a window that is never painted.
void PaintMenuWithSkin(platform::ui::Menu& menu);
// The traditional lunar festival of a solar date ("春节", "元宵节", ...), empty on other days
// and on every day of a leap month. An impossible day counts on into the next month.
std::string LunarFestivalOf(int year, int month, int day);

// What PaintWindow needs; the defaults are those most windows use.
struct PaintWindowArgs {
  platform::ui::Window* window = nullptr;  // in page mode: the page
  platform::ui::AnimationBox* backgroundBox = nullptr;   // in page mode: the main window's
  platform::ui::AnimationBox* compositingBox = nullptr;  // in page mode: the main window's
  platform::ui::AnimationBox* childBox = nullptr;        // in page mode: the main window's
  int childX = 0;
  int childY = 0;
  int childWidth = 0;
  int childHeight = 0;
  std::string_view backgroundPicture;
  // Page mode 0: per cent of the content rectangle. Page mode 1: below 0 fills the page's
  // draw panel with the window colour instead of the page picture.
  int transparency = 0;
  int pageMode = 0;  // 0 framed window, 1 page inside the main window
  platform::ui::DrawPanel* pageDrawPanel = nullptr;  // page mode 1
  std::string_view pagePicture;                      // page mode 1: drawn on the draw panel
  int backgroundMode = 1;  // 1 stretch, 2 centre, 3 tile, others top-left
  int showIcon = 1;
  int paintUnits = 1;  // 1 also skins the units; else the frame only
  std::optional<int> width;   // default: the window's
  std::optional<int> height;  // default: the window's
  std::string_view fontName;  // empty: fonts keep their faces
  int fontSize = 0;           // below 1: fonts keep their sizes
};

// What PaintChildWindow needs: a page with animation boxes of its own.
struct PaintChildWindowArgs {
  platform::ui::Window* window = nullptr;
  platform::ui::AnimationBox* backgroundBox = nullptr;
  platform::ui::AnimationBox* compositingBox = nullptr;
  std::string_view backgroundPicture;
  int backgroundMode = 1;
  int paintUnits = 1;
  std::optional<int> width;
  std::optional<int> height;
  std::string_view fontName;
  int fontSize = 0;
};

class SkinPainter {
 public:
  SkinPainter() = default;
  SkinPainter(const SkinPainter&) = delete;
  SkinPainter& operator=(const SkinPainter&) = delete;

  // Picture data of a region of `source` made the background picture of `target` (the
  // picture of the area behind a page or panel); the caller keeps the data.
  std::string SetUnitPictureFromBox(platform::ui::AnimationBox& source,
                                    platform::ui::AnimationBox& target, int x, int y, int width,
                                    int height);

  void PaintWindow(const PaintWindowArgs& args);
  void PaintChildWindow(const PaintChildWindowArgs& args);

  // The check-box look: tag "选择选中" for on = 1, "选择" for anything else, and the three
  // pictures of that tag. Returns `on` unchanged, for the window to keep as the state.
  int SetButtonPictures(platform::ui::PictureButton& button, int on);
  // 1 when the tag is "选择选中"; any other tag is rewritten to "选择" and answers 0.
  int IsCheckButtonOn(platform::ui::PictureButton& button);

  // Forgets the paint and deletes every object of the background box the set is bound to,
  // so the next paint of the window is a first paint.
  void ClearSprites();
  // "圣诞" on 25 December, "春节" on the lunar new year's day, else empty.
  std::string FestivalToday() const;

  int BackgroundSpriteId() const { return backgroundSpriteId_; }
  int OverlaySpriteId() const { return overlaySpriteId_; }
  SpriteSet& Sprites() { return sprites_; }

 private:
  struct UnitPass;
  void SkinUnits(const UnitPass& pass);

  SpriteSet sprites_;
  int backgroundSpriteId_ = 0;
  int overlaySpriteId_ = 0;
};

}  // namespace workmemo
