#include "ui/sprite_set.h"

#include <cstdint>
#include <utility>

#include "platform/ui/units.h"
#include "platform/ui/window.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

// Thousandths that scale `natural` to `wanted`; 0 (a factor the box refuses) for a natural
// size of 0, so an empty picture keeps its size instead of dividing by zero.
int ScaleThousandths(int wanted, int natural) {
  if (natural <= 0) return 0;
  return static_cast<int>(static_cast<std::int64_t>(wanted) * 1000 / natural);
}

// A routine copied out before it runs: it may clear the set that holds it.
void Run(SpriteRoutine routine) {
  if (routine) routine();
}

}  // namespace

int CentredOffset(int start, int extent, int size) {
  return static_cast<int>((2 * static_cast<std::int64_t>(start) + extent - size) / 2);
}

void SpriteSet::Clear() {
  if (box_ != nullptr) box_->DeleteAllObjects();
  items_.clear();
}

int SpriteSet::Add(SpriteItem item) {
  if (box_ == nullptr) return 0;
  item.SpriteId = box_->CreateObject(item.X, item.Y, item.Visible, item.Name);
  box_->SetObjectPicture(item.SpriteId, item.NormalPicture);
  item.Width = box_->ObjectWidth(item.SpriteId);
  item.Height = box_->ObjectHeight(item.SpriteId);
  if (item.RequestedWidth > 0) {
    box_->ScaleObject(item.SpriteId, ScaleThousandths(item.RequestedWidth, item.Width),
                      ScaleThousandths(item.RequestedHeight, item.Height));
  }
  items_.push_back(std::move(item));
  return items_.back().SpriteId;
}

int SpriteSet::AddPictureSprite(const SpriteSpec& spec) {
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
  return Add(std::move(item));
}

int SpriteSet::AddPlainPictureSprite(std::string_view name, int x, int y, int requestedWidth,
                                     int requestedHeight, bool visible, std::string_view picture,
                                     int transparency) {
  if (box_ == nullptr) return 0;
  SpriteItem item;
  item.Name = name;
  item.X = x;
  item.Y = y;
  item.RequestedWidth = requestedWidth;
  item.RequestedHeight = requestedHeight;
  item.Visible = visible;
  item.NormalPicture = picture;
  // Transparency changes no size, so setting it after the measure is the same.
  const int id = Add(std::move(item));
  box_->SetObjectTransparency(id, transparency);
  return id;
}

void SpriteSet::SetSpritePicture(int id, std::string_view picture) {
  if (box_ != nullptr) box_->SetObjectPicture(id, picture);
}

void SpriteSet::SetBoxBackground(std::string_view picture, int mode) {
  if (box_ != nullptr) box_->SetBackgroundPicture(picture, mode);
}

void SpriteSet::MoveSprite(int id, int x, int y) {
  if (box_ != nullptr) box_->MoveObject(id, x, y);
}

void SpriteSet::ShowSprite(int id, bool visible) {
  if (box_ != nullptr) box_->ShowObject(id, visible);
}

void SpriteSet::SetText(int id, std::string_view text, const SpriteTextStyle& style) {
  ui::Font font;
  font.name = "宋体";
  font.size = style.size;
  font.bold = style.bold;
  box_->SetObjectText(id, text, font, style.colour);
}

void SpriteSet::PutSpriteText(int id, int x, int y, std::string_view text,
                              const SpriteTextStyle& style, bool centreDown, int height) {
  if (box_ == nullptr || !box_->HasObject(id)) return;
  SetText(id, text, style);
  if (centreDown) y = CentredOffset(y, height, box_->ObjectHeight(id));
  box_->MoveObject(id, x, y);
}

void SpriteSet::PutCenteredSpriteText(int id, std::string_view text, const SpriteTextStyle& style,
                                      bool centreAcross, bool centreDown, int left, int top,
                                      int width, int height) {
  if (box_ == nullptr || !box_->HasObject(id)) return;
  SetText(id, text, style);
  if (centreDown) {
    top = CentredOffset(top, height, box_->ObjectHeight(id));
    box_->MoveObject(id, left, top);
  }
  if (centreAcross) box_->MoveObject(id, CentredOffset(left, width, box_->ObjectWidth(id)), top);
}

int SpriteSet::SpriteWidth(int id) const { return box_ != nullptr ? box_->ObjectWidth(id) : 0; }
int SpriteSet::SpriteHeight(int id) const { return box_ != nullptr ? box_->ObjectHeight(id) : 0; }
int SpriteSet::SpriteLeft(int id) const { return box_ != nullptr ? box_->ObjectLeft(id) : 0; }
int SpriteSet::SpriteTop(int id) const { return box_ != nullptr ? box_->ObjectTop(id) : 0; }
std::string SpriteSet::SpriteName(int id) const {
  return box_ != nullptr ? box_->ObjectName(id) : std::string();
}

const SpriteItem* SpriteSet::FindItem(int id) const {
  for (const SpriteItem& item : items_) {
    if (item.SpriteId == id) return &item;
  }
  return nullptr;
}

void SpriteSet::OnSpriteEnter(int id) {
  const SpriteItem* item = FindItem(id);
  if (item == nullptr) return;
  if (!item->HoverPicture.empty()) SetSpritePicture(id, item->HoverPicture);
  Run(item->EnterRoutine);
}

void SpriteSet::OnSpriteLeave(int id) {
  const SpriteItem* item = FindItem(id);
  if (item == nullptr) return;
  if (!item->HoverPicture.empty()) SetSpritePicture(id, item->NormalPicture);
  Run(item->LeaveRoutine);
}

void SpriteSet::OnSpritePress(int id) {
  const SpriteItem* item = FindItem(id);
  if (item == nullptr) return;
  if (!item->HoverPicture.empty()) SetSpritePicture(id, item->PressedPicture);
  Run(item->PressRoutine);
}

void SpriteSet::OnSpriteRelease(int id) {
  const SpriteItem* item = FindItem(id);
  // A sprite without a hover picture is no button: it neither changes nor clicks.
  if (item == nullptr || item->HoverPicture.empty()) return;
  SetSpritePicture(id, item->AfterClickMode == 1 ? item->NormalPicture : item->HoverPicture);
  Run(item->ClickRoutine);
}

void RouteSpriteEvents(ui::AnimationBox& box, SpriteSet& set) {
  const auto route = [&box, &set](ui::Event event, void (SpriteSet::*handler)(int)) {
    box.Owner().On(box.Name(), event, [&set, handler](ui::EventArgs& args) {
      if (args.objectId > 0) (set.*handler)(args.objectId);
    });
  };
  route(ui::Event::ObjectEnter, &SpriteSet::OnSpriteEnter);
  route(ui::Event::ObjectLeave, &SpriteSet::OnSpriteLeave);
  route(ui::Event::ObjectLeftDown, &SpriteSet::OnSpritePress);
  route(ui::Event::ObjectLeftUp, &SpriteSet::OnSpriteRelease);
}

}  // namespace workmemo
