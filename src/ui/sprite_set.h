#pragma once
// SpriteSet: the sprites one window shows on one animation box - skinned buttons with a
// normal, hover and pressed picture that follow the mouse and run a routine when clicked,
// plain pictures and text sprites. The set keeps what the mouse handlers need; position,
// size, text and visibility live in the box and are read back from it.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/ui.h"
#include "ui/sprite_items.h"

namespace platform::ui {
class AnimationBox;
}

namespace workmemo {

// An animation box of a window as the surface its sprites live on.
class AnimationBoxSurface : public SpriteSurface {
 public:
  explicit AnimationBoxSurface(platform::ui::AnimationBox& box) : box_(box) {}
  int CreateObject(int x, int y, bool visible, std::string_view name) override;
  void DeleteObjects(const std::vector<int>& ids) override;
  void SetObjectPicture(int id, std::string_view bytes) override;
  void SetObjectText(int id, std::string_view text, int size, bool bold,
                     std::uint32_t colour) override;
  std::string ObjectText(int id) const override;
  void SetObjectName(int id, std::string_view name) override;
  std::string ObjectName(int id) const override;
  void MoveObject(int id, int x, int y) override;
  int ObjectLeft(int id) const override;
  int ObjectTop(int id) const override;
  void ScaleObject(int id, int horizontal, int vertical) override;
  int ObjectWidth(int id) const override;
  int ObjectHeight(int id) const override;
  void SetObjectTransparency(int id, int percent) override;
  void ShowObject(int id, bool visible) override;
  bool IsObjectVisible(int id) const override;

 private:
  platform::ui::AnimationBox& box_;
};

// The look of a text sprite: always the Song face, whatever face a caller has in mind.
struct SpriteTextStyle {
  int size = 0;
  platform::ui::Colour colour = 0;
  bool bold = false;
};

class SpriteSet {
 public:
  SpriteSet() = default;
  SpriteSet(const SpriteSet&) = delete;
  SpriteSet& operator=(const SpriteSet&) = delete;

  void Bind(platform::ui::AnimationBox& box) {
    box_ = &box;
    surface_.emplace(box);
  }
  platform::ui::AnimationBox* Box() const { return box_; }
  // Deletes every object of the bound box (also those other sets made there) and every item.
  void Clear();

  // A button or picture sprite; returns its object id (0 when the set is not bound).
  int AddPictureSprite(const SpriteSpec& spec);
  // One picture, no routines, at a transparency in per cent.
  int AddPlainPictureSprite(std::string_view name, int x, int y, int requestedWidth,
                            int requestedHeight, bool visible, std::string_view picture,
                            int transparency = 0);

  void SetSpritePicture(int id, std::string_view picture);
  // Shows the sprite's picture with every colour channel raised by `percent` per cent of its
  // value (clamped at 255); 0 shows the picture as it is again.
  void SetSpriteBrightness(int id, int percent);
  void SetBoxBackground(std::string_view picture, int mode = 0);
  void MoveSprite(int id, int x, int y);
  void ShowSprite(int id, bool visible);

  // Gives object `id` its text and places it at (x, y), or centred down in `height` from y.
  void PutSpriteText(int id, int x, int y, std::string_view text, const SpriteTextStyle& style,
                     bool centreDown = false, int height = 0);
  // Gives object `id` its text and centres it in the rectangle as asked; with neither flag
  // the object stays where it is.
  void PutCenteredSpriteText(int id, std::string_view text, const SpriteTextStyle& style,
                             bool centreAcross, bool centreDown, int left, int top, int width,
                             int height);

  int SpriteWidth(int id) const;
  int SpriteHeight(int id) const;
  int SpriteLeft(int id) const;
  int SpriteTop(int id) const;
  std::string SpriteName(int id) const;

  // The box's mouse events, each with the object id under the pointer.
  void OnSpriteEnter(int id);
  void OnSpriteLeave(int id);
  void OnSpritePress(int id);
  void OnSpriteRelease(int id);

  const std::vector<SpriteItem>& Items() const { return items_.All(); }

 private:
  void SetText(int id, std::string_view text, const SpriteTextStyle& style);

  platform::ui::AnimationBox* box_ = nullptr;
  std::optional<AnimationBoxSurface> surface_;  // the bound box, as the items' surface
  SpriteItems items_;
  std::map<int, std::string> pictures_;  // the picture each sprite was last given
};

// Routes the four object events of a window's animation box to a set; ids of 0 are dropped.
void RouteSpriteEvents(platform::ui::AnimationBox& box, SpriteSet& set);

}  // namespace workmemo
