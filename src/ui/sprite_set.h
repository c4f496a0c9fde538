#pragma once
// SpriteSet: the sprites one window shows on one animation box - skinned buttons with a
// normal, hover and pressed picture that follow the mouse and run a routine when clicked,
// plain pictures and text sprites. The set keeps what the mouse handlers need; position,
// size, text and visibility live in the box and are read back from it.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/ui.h"

namespace platform::ui {
class AnimationBox;
}

namespace workmemo {

using SpriteRoutine = std::function<void()>;

// One sprite created through a set; the fields keep the values given at creation.
struct SpriteItem {
  std::string Name;
  int SpriteId = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;   // natural size of the normal picture, measured before any scaling
  int Height = 0;
  int RequestedWidth = 0;
  int RequestedHeight = 0;
  bool Visible = true;
  std::string NormalPicture;
  std::string HoverPicture;  // empty: the sprite is not a button
  std::string PressedPicture;
  SpriteRoutine ClickRoutine;
  SpriteRoutine PressRoutine;
  SpriteRoutine EnterRoutine;
  SpriteRoutine LeaveRoutine;
  int AfterClickMode = 0;  // 1: the normal picture after a release, else the hover picture
};

// What AddPictureSprite creates; everything but the name and position may be left out.
struct SpriteSpec {
  std::string_view name;
  int x = 0;
  int y = 0;
  int requestedWidth = 0;
  int requestedHeight = 0;
  bool visible = true;
  std::string_view normal;
  std::string_view hover;
  std::string_view pressed;
  SpriteRoutine click;
  SpriteRoutine press;
  SpriteRoutine enter;
  SpriteRoutine leave;
  int afterClickMode = 0;
};

// The look of a text sprite: always the Song face, whatever face a caller has in mind.
struct SpriteTextStyle {
  int size = 0;
  platform::ui::Colour colour = 0;
  bool bold = false;
};

// truncate(start + (extent - size) / 2): halving toward zero on the whole sum, so a negative
// odd difference lands where the real quotient truncates.
int CentredOffset(int start, int extent, int size);

class SpriteSet {
 public:
  SpriteSet() = default;
  SpriteSet(const SpriteSet&) = delete;
  SpriteSet& operator=(const SpriteSet&) = delete;

  void Bind(platform::ui::AnimationBox& box) { box_ = &box; }
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

  const std::vector<SpriteItem>& Items() const { return items_; }

 private:
  const SpriteItem* FindItem(int id) const;
  void SetText(int id, std::string_view text, const SpriteTextStyle& style);
  int Add(SpriteItem item);

  platform::ui::AnimationBox* box_ = nullptr;
  std::vector<SpriteItem> items_;
};

// Routes the four object events of a window's animation box to a set; ids of 0 are dropped.
void RouteSpriteEvents(platform::ui::AnimationBox& box, SpriteSet& set);

}  // namespace workmemo
