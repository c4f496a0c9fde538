#include "ui/sprite_items.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace workmemo {

namespace {

// A routine copied out before it runs: it may clear or rebuild the items that hold it.
void Run(SpriteRoutine routine) {
  if (routine) routine();
}

}  // namespace

int ScaleThousandths(int wanted, int natural) {
  if (natural <= 0) return 0;
  return static_cast<int>(static_cast<std::int64_t>(wanted) * 1000 / natural);
}

namespace {

int ResizeFactor(int size, int base) {
  if (base == 0) return 0;
  return static_cast<int>(static_cast<std::int64_t>(size) * 1000 / base);
}

}  // namespace

void ResizeSprite(SpriteSurface& box, int id, int width, int height, int baseWidth,
                  int baseHeight) {
  box.ScaleObject(id, ResizeFactor(width, baseWidth), ResizeFactor(height, baseHeight));
}

int CentredOffset(int start, int extent, int size) {
  return static_cast<int>((2 * static_cast<std::int64_t>(start) + extent - size) / 2);
}

void CentreSprite(SpriteSurface& box, int id, bool across, bool down, int left, int top,
                  int width, int height, int nudgeAcross, int nudgeDown) {
  if (down) {
    top = CentredOffset(top + nudgeDown, height, box.ObjectHeight(id));
    box.MoveObject(id, left, top);
  }
  if (across)
    box.MoveObject(id, CentredOffset(left + nudgeAcross, width, box.ObjectWidth(id)), top);
}

int SpriteItems::Add(SpriteSurface& box, std::string_view name, int x, int y,
                     int requestedWidth, int requestedHeight, bool visible,
                     std::string_view normal, std::string_view hover, std::string_view pressed,
                     SpriteRoutine click, SpriteRoutine press, int afterClickMode) {
  return Add(box, {.name = name,
                   .x = x,
                   .y = y,
                   .requestedWidth = requestedWidth,
                   .requestedHeight = requestedHeight,
                   .visible = visible,
                   .normal = normal,
                   .hover = hover,
                   .pressed = pressed,
                   .click = std::move(click),
                   .press = std::move(press),
                   .afterClickMode = afterClickMode});
}

int SpriteItems::Add(SpriteSurface& box, const SpriteSpec& spec) {
  SpriteItem item;
  item.Name = spec.name;
  item.X = spec.x;
  item.Y = spec.y;
  item.RequestedWidth = spec.requestedWidth;
  item.RequestedHeight = spec.requestedHeight;
  item.Visible = spec.visible;
  item.NormalPicture = spec.normal;
  item.HoverPicture = spec.hover;
  item.PressedPicture = spec.pressed;
  item.ClickRoutine = spec.click;
  item.PressRoutine = spec.press;
  item.EnterRoutine = spec.enter;
  item.LeaveRoutine = spec.leave;
  item.AfterClickMode = spec.afterClickMode;

  item.SpriteId = box.CreateObject(item.X, item.Y, item.Visible, item.Name);
  box.SetObjectPicture(item.SpriteId, item.NormalPicture);
  item.Width = box.ObjectWidth(item.SpriteId);
  item.Height = box.ObjectHeight(item.SpriteId);
  if (item.RequestedWidth > 0) {
    box.ScaleObject(item.SpriteId, ScaleThousandths(item.RequestedWidth, item.Width),
                    ScaleThousandths(item.RequestedHeight, item.Height));
  }
  items_.push_back(std::move(item));
  return items_.back().SpriteId;
}

const SpriteItem* SpriteItems::Find(int id) const {
  for (const SpriteItem& item : items_) {
    if (item.SpriteId == id) return &item;
  }
  return nullptr;
}

void SpriteItems::Erase(const std::vector<int>& ids) {
  std::erase_if(items_, [&](const SpriteItem& item) {
    return std::find(ids.begin(), ids.end(), item.SpriteId) != ids.end();
  });
}

void SpriteItems::OnEnter(SpriteSurface& box, int id) const {
  const SpriteItem* item = Find(id);
  if (item == nullptr) return;
  if (!item->HoverPicture.empty()) box.SetObjectPicture(id, item->HoverPicture);
  Run(item->EnterRoutine);
}

void SpriteItems::OnLeave(SpriteSurface& box, int id) const {
  const SpriteItem* item = Find(id);
  if (item == nullptr) return;
  if (!item->HoverPicture.empty()) box.SetObjectPicture(id, item->NormalPicture);
  Run(item->LeaveRoutine);
}

void SpriteItems::OnPress(SpriteSurface& box, int id) const {
  const SpriteItem* item = Find(id);
  if (item == nullptr) return;
  if (!item->HoverPicture.empty()) box.SetObjectPicture(id, item->PressedPicture);
  Run(item->PressRoutine);
}

void SpriteItems::OnRelease(SpriteSurface& box, int id) const {
  const SpriteItem* item = Find(id);
  // A sprite without a hover picture is no button: it neither changes nor clicks.
  if (item == nullptr || item->HoverPicture.empty()) return;
  box.SetObjectPicture(id, item->AfterClickMode == 1 ? item->NormalPicture : item->HoverPicture);
  Run(item->ClickRoutine);
}

}  // namespace workmemo
