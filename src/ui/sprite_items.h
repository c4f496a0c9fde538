#pragma once
// What every owner of sprites shares - the sprite set of a window, the list view and the
// framed box: the surface the sprites live on, the item kept per sprite, the creation that
// measures and scales a sprite, and the way a sprite follows the mouse.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace workmemo {

// What the sprites need of an animation box: numbered objects with a picture or a text, a
// name, a position, a scale, a transparency and a visible flag. Operations on an id the box
// does not hold do nothing; queries on it answer 0, false or the empty text.
class SpriteSurface {
 public:
  virtual ~SpriteSurface() = default;
  virtual int CreateObject(int x, int y, bool visible, std::string_view name) = 0;
  virtual void DeleteObjects(const std::vector<int>& ids) = 0;
  virtual void SetObjectPicture(int id, std::string_view bytes) = 0;
  // The text is drawn in the Song face at `size` points instead of a picture.
  virtual void SetObjectText(int id, std::string_view text, int size, bool bold,
                             std::uint32_t colour) = 0;
  virtual std::string ObjectText(int id) const = 0;
  virtual void SetObjectName(int id, std::string_view name) = 0;
  virtual std::string ObjectName(int id) const = 0;
  virtual void MoveObject(int id, int x, int y) = 0;
  virtual int ObjectLeft(int id) const = 0;
  virtual int ObjectTop(int id) const = 0;
  // Thousandths of the natural size; a factor of 0 or less changes nothing.
  virtual void ScaleObject(int id, int horizontal, int vertical) = 0;
  // Size as drawn now (after scaling; a text object the size of its text).
  virtual int ObjectWidth(int id) const = 0;
  virtual int ObjectHeight(int id) const = 0;
  virtual void SetObjectTransparency(int id, int percent) = 0;
  virtual void ShowObject(int id, bool visible) = 0;
  virtual bool IsObjectVisible(int id) const = 0;
};

using SpriteRoutine = std::function<void()>;

// One sprite created through a set, a list or a framed box; the fields keep the values
// given at creation.
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

// Thousandths that scale `natural` to `wanted`, truncated; 0 (a factor the box refuses) for
// a natural size of 0, so an empty picture keeps its size instead of dividing by zero.
int ScaleThousandths(int wanted, int natural);

// Scales object `id` to width x height against a picture of baseWidth x baseHeight:
// truncate(size / base x 1000) thousandths each way; a base of 0 gives a factor the box refuses.
void ResizeSprite(SpriteSurface& box, int id, int width, int height, int baseWidth,
                  int baseHeight);

// truncate(start + (extent - size) / 2): halving toward zero on the whole sum, so a negative
// odd difference lands where the real quotient truncates.
int CentredOffset(int start, int extent, int size);

// Moves object `id` to the middle of (left, top, width, height) as asked: down first, then
// across from the new top; with neither flag it stays. The nudge shifts the middle before it
// is truncated (the framed box's label sits one right and two down).
void CentreSprite(SpriteSurface& box, int id, bool across, bool down, int left, int top,
                  int width, int height, int nudgeAcross = 0, int nudgeDown = 0);

// The items of one owner of sprites, with the creation and mouse rules they all share.
class SpriteItems {
 public:
  // Creates the object where `spec` places it, with its normal picture; measures it, scales
  // it to the requested size when a width is asked for, and appends the item. Returns the id.
  int Add(SpriteSurface& box, const SpriteSpec& spec);
  // The same, from the positional arguments the list view and the framed box are called with.
  int Add(SpriteSurface& box, std::string_view name, int x, int y, int requestedWidth,
          int requestedHeight, bool visible, std::string_view normal, std::string_view hover,
          std::string_view pressed, SpriteRoutine click, SpriteRoutine press, int afterClickMode);
  // The first item with that id; lookups stop there even when a later item has it too.
  const SpriteItem* Find(int id) const;
  void Clear() { items_.clear(); }
  // Drops the items of deleted objects.
  void Erase(const std::vector<int>& ids);
  const std::vector<SpriteItem>& All() const { return items_; }

  // The pointer and button rules: only a sprite with a hover picture (a button) changes its
  // picture, and only a button runs its click routine; the picture changes before a routine
  // runs. An id without an item does nothing.
  void OnEnter(SpriteSurface& box, int id) const;
  void OnLeave(SpriteSurface& box, int id) const;
  void OnPress(SpriteSurface& box, int id) const;
  void OnRelease(SpriteSurface& box, int id) const;

 private:
  std::vector<SpriteItem> items_;
};

}  // namespace workmemo
