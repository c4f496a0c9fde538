#pragma once
// FramedBox: a flat input field on a skinned window. A white, partly transparent rectangle
// with a one-pixel grey border lies as a sprite on the window's animation box behind an edit
// box or label, with a text sprite inside it that can show the field's text while the
// control itself is hidden. The frame is painted on a hidden draw panel and taken from it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/sprite_items.h"

namespace platform::ui {
class DrawPanel;
class Unit;
}  // namespace platform::ui

namespace workmemo {

// The calls the box makes on the hidden draw panel that it paints the frame on.
class FramePanel {
 public:
  virtual ~FramePanel() = default;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetSize(int width, int height) = 0;
  virtual void SetBackgroundColour(std::uint32_t colour) = 0;  // also clears the panel
  virtual void SetPenColour(std::uint32_t colour) = 0;
  virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
  virtual std::string Picture() const = 0;  // the panel's current image as picture bytes
};

// The control that a frame surrounds.
class FramedControl {
 public:
  virtual ~FramedControl() = default;
  virtual void SetGeometry(int x, int y, int width, int height) = 0;
  virtual int Left() const = 0;
  virtual int Top() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

// A window's draw panel as the frame's panel; the picture is taken as BMP bytes.
class DrawPanelFramePanel : public FramePanel {
 public:
  explicit DrawPanelFramePanel(platform::ui::DrawPanel& panel) : panel_(panel) {}
  void SetVisible(bool visible) override;
  void SetSize(int width, int height) override;
  void SetBackgroundColour(std::uint32_t colour) override;
  void SetPenColour(std::uint32_t colour) override;
  void DrawLine(int x1, int y1, int x2, int y2) override;
  std::string Picture() const override;

 private:
  platform::ui::DrawPanel& panel_;
};

// Any unit of a window as the framed control.
class UnitFramedControl : public FramedControl {
 public:
  explicit UnitFramedControl(platform::ui::Unit& unit) : unit_(unit) {}
  void SetGeometry(int x, int y, int width, int height) override;
  int Left() const override;
  int Top() const override;
  int Width() const override;
  int Height() const override;

 private:
  platform::ui::Unit& unit_;
};

struct FrameRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const FrameRect&) const = default;
};

// Frame and label sprites take the frame's name; the label's has this after it.
inline constexpr std::string_view kFrameLabelSuffix = "标签";
// The name a frame gets when the caller gives none.
inline constexpr std::string_view kDefaultFrameName = "编辑框";
inline constexpr int kDefaultFrameTransparency = 20;

class FramedBox {
 public:
  // Frames `control` (moved into the rectangle and read back, so a control that refuses a
  // size still gets a frame that fits it), or the bare rectangle without one; without a
  // rectangle the frame is empty at (0, 0). A transparency outside 1..100 becomes 20; an
  // empty name becomes "编辑框" and is written back. Returns the label sprite's id.
  int FrameControl(SpriteSurface& box, FramedControl* control, FramePanel& panel,
                   std::optional<int> transparency, std::string& name,
                   std::optional<FrameRect> rect, int labelOffset = 0,
                   std::function<void()> clickRoutine = {},
                   std::function<void()> pressRoutine = {});

  std::string ForwardQuery(int id) const { return SpriteName(id); }
  std::string ForwardQueryTwo(int id) const { return SpriteText(id); }
  // Gives the sprite its text where it stands.
  void ForwardAddText(int id, std::string_view text, std::string_view fontName = {},
                      int size = 0, std::uint32_t colour = 0, bool bold = false);
  // Shows or hides the label of the frame called `name`; nothing when there is none.
  void ShowLabelSprite(std::string_view name, bool visible);
  // Id of the first frame sprite called exactly `name`; -1 when none.
  int FindFrameSpriteIndex(std::string_view name) const;
  // Sets the text in the Song face (fontName is not used) and centres it as asked within
  // (left, top, width, height), one pixel right of and two below the middle.
  void AddLabelText(int id, std::string_view text, std::string_view fontName, int size,
                    std::uint32_t colour, bool bold, bool centreAcross, bool centreDown,
                    int left, int top, int width, int height);
  // Deletes every frame and label sprite from the box; the id lists keep their entries.
  void RemoveSprites();

  // Sprite operations over this box's own items.
  int AddPictureSprite(std::string_view name, int x, int y, int requestedWidth,
                       int requestedHeight, bool visible, std::string_view normal,
                       std::string_view hover = {}, std::string_view pressed = {},
                       std::function<void()> clickRoutine = {},
                       std::function<void()> pressRoutine = {}, int afterClickMode = 0);
  void SetSpriteTransparency(int id, int percent);
  void ResizeSprite(int id, int width, int height, int baseWidth, int baseHeight);
  void MoveSprite(int id, int x, int y);
  int SpriteHeight(int id) const;
  int SpriteWidth(int id) const;
  int SpriteLeft(int id) const;
  int SpriteTop(int id) const;
  void OnSpriteEnter(int id);
  void OnSpriteLeave(int id);
  void OnSpritePress(int id);
  void OnSpriteRelease(int id);
  void SetSpriteName(int id, std::string_view name);
  std::string SpriteName(int id) const;
  std::string SpriteText(int id) const;
  bool IsSpriteVisible(int id) const;

  SpriteSurface* Box() const { return box_; }
  const std::vector<SpriteItem>& Items() const { return items_.All(); }
  const std::vector<int>& FrameSprites() const { return frameSprites_; }
  const std::vector<int>& LabelSprites() const { return labelSprites_; }

 private:
  SpriteSurface* box_ = nullptr;
  SpriteItems items_;
  std::vector<int> frameSprites_;
  std::vector<int> labelSprites_;
};

}  // namespace workmemo
