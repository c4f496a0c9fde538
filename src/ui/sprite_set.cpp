#include "ui/sprite_set.h"

#include "platform/image/image.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"

namespace workmemo {

namespace ui = platform::ui;

int AnimationBoxSurface::CreateObject(int x, int y, bool visible, std::string_view name) {
  return box_.CreateObject(x, y, visible, name);
}
void AnimationBoxSurface::DeleteObjects(const std::vector<int>& ids) { box_.DeleteObjects(ids); }
void AnimationBoxSurface::SetObjectPicture(int id, std::string_view bytes) {
  box_.SetObjectPicture(id, bytes);
}
void AnimationBoxSurface::SetObjectText(int id, std::string_view text, int size, bool bold,
                                        std::uint32_t colour) {
  ui::Font font;
  font.name = "宋体";
  font.size = size;
  font.bold = bold;
  box_.SetObjectText(id, text, font, colour);
}
std::string AnimationBoxSurface::ObjectText(int id) const { return box_.ObjectText(id); }
void AnimationBoxSurface::SetObjectName(int id, std::string_view name) {
  box_.SetObjectName(id, name);
}
std::string AnimationBoxSurface::ObjectName(int id) const { return box_.ObjectName(id); }
void AnimationBoxSurface::MoveObject(int id, int x, int y) { box_.MoveObject(id, x, y); }
int AnimationBoxSurface::ObjectLeft(int id) const { return box_.ObjectLeft(id); }
int AnimationBoxSurface::ObjectTop(int id) const { return box_.ObjectTop(id); }
void AnimationBoxSurface::ScaleObject(int id, int horizontal, int vertical) {
  box_.ScaleObject(id, horizontal, vertical);
}
int AnimationBoxSurface::ObjectWidth(int id) const { return box_.ObjectWidth(id); }
int AnimationBoxSurface::ObjectHeight(int id) const { return box_.ObjectHeight(id); }
void AnimationBoxSurface::SetObjectTransparency(int id, int percent) {
  box_.SetObjectTransparency(id, percent);
}
void AnimationBoxSurface::ShowObject(int id, bool visible) { box_.ShowObject(id, visible); }
bool AnimationBoxSurface::IsObjectVisible(int id) const { return box_.IsObjectVisible(id); }

void SpriteSet::Clear() {
  if (box_ != nullptr) box_->DeleteAllObjects();
  items_.Clear();
  pictures_.clear();
}

int SpriteSet::AddPictureSprite(const SpriteSpec& spec) {
  if (!surface_) return 0;
  return items_.Add(*surface_, spec);
}

int SpriteSet::AddPlainPictureSprite(std::string_view name, int x, int y, int requestedWidth,
                                     int requestedHeight, bool visible, std::string_view picture,
                                     int transparency) {
  if (!surface_) return 0;
  // Transparency changes no size, so setting it after the measure is the same.
  const int id = items_.Add(*surface_, {.name = name,
                                        .x = x,
                                        .y = y,
                                        .requestedWidth = requestedWidth,
                                        .requestedHeight = requestedHeight,
                                        .visible = visible,
                                        .normal = picture});
  surface_->SetObjectTransparency(id, transparency);
  return id;
}

void SpriteSet::SetSpritePicture(int id, std::string_view picture) {
  pictures_[id] = std::string(picture);
  if (box_ != nullptr) box_->SetObjectPicture(id, picture);
}

void SpriteSet::SetSpriteBrightness(int id, int percent) {
  if (box_ == nullptr) return;
  std::string base;
  if (auto it = pictures_.find(id); it != pictures_.end()) {
    base = it->second;
  } else if (const SpriteItem* item = items_.Find(id)) {
    base = item->NormalPicture;
  }
  if (percent == 0) {
    box_->SetObjectPicture(id, base);
    return;
  }
  namespace image = platform::image;
  box_->SetObjectPicture(id, image::EncodePng(image::Brightened(image::Decode(base), percent)));
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
  surface_->SetObjectText(id, text, style.size, style.bold, style.colour);
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
  CentreSprite(*surface_, id, centreAcross, centreDown, left, top, width, height);
}

int SpriteSet::SpriteWidth(int id) const { return box_ != nullptr ? box_->ObjectWidth(id) : 0; }
int SpriteSet::SpriteHeight(int id) const { return box_ != nullptr ? box_->ObjectHeight(id) : 0; }
int SpriteSet::SpriteLeft(int id) const { return box_ != nullptr ? box_->ObjectLeft(id) : 0; }
int SpriteSet::SpriteTop(int id) const { return box_ != nullptr ? box_->ObjectTop(id) : 0; }
std::string SpriteSet::SpriteName(int id) const {
  return box_ != nullptr ? box_->ObjectName(id) : std::string();
}

void SpriteSet::OnSpriteEnter(int id) {
  if (surface_) items_.OnEnter(*surface_, id);
}

void SpriteSet::OnSpriteLeave(int id) {
  if (surface_) items_.OnLeave(*surface_, id);
}

void SpriteSet::OnSpritePress(int id) {
  if (surface_) items_.OnPress(*surface_, id);
}

void SpriteSet::OnSpriteRelease(int id) {
  if (surface_) items_.OnRelease(*surface_, id);
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

