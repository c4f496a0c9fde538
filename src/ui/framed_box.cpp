#include "ui/framed_box.h"

#include "platform/ui/units.h"

namespace workmemo {
namespace {

constexpr std::uint32_t kFrameFill = 0xFFFFFF;  // white
constexpr std::uint32_t kFrameBorder = 164 | (164 << 8) | (164 << 16);

}  // namespace

int FramedBox::FrameControl(SpriteSurface& box, FramedControl* control, FramePanel& panel,
                            std::optional<int> transparency, std::string& name,
                            std::optional<FrameRect> rect, int labelOffset,
                            std::function<void()> clickRoutine,
                            std::function<void()> pressRoutine) {
  box_ = &box;
  const int percent = transparency && *transparency >= 1 && *transparency <= 100
                          ? *transparency
                          : kDefaultFrameTransparency;

  FrameRect frame;
  if (rect && control != nullptr) {
    control->SetGeometry(rect->x + 3, rect->y + 3, rect->width - 4, rect->height - 4);
    frame = {control->Left() - 3, control->Top() - 3, control->Width() + 4,
             control->Height() + 4};
  } else if (rect) {
    frame = *rect;
  }

  panel.SetVisible(false);
  panel.SetSize(frame.width, frame.height);
  panel.SetBackgroundColour(kFrameFill);
  panel.SetPenColour(kFrameBorder);
  panel.DrawLine(0, 0, 0, frame.height);
  panel.DrawLine(0, 0, frame.width, 0);
  panel.DrawLine(frame.width - 1, 0, frame.width - 1, frame.height);
  panel.DrawLine(0, frame.height - 1, frame.width, frame.height - 1);
  const std::string picture = panel.Picture();

  if (name.empty()) name = kDefaultFrameName;
  const int frameSprite =
      AddPictureSprite(name, frame.x, frame.y, frame.width, frame.height, true, picture, {}, {},
                       std::move(clickRoutine), std::move(pressRoutine));
  SetSpriteTransparency(frameSprite, percent);

  const int labelLeft = frame.x + labelOffset + 3;
  const int labelSprite =
      AddPictureSprite(name + std::string(kFrameLabelSuffix), labelLeft + 3, frame.y + 6, 0, 0,
                       true, {});
  frameSprites_.push_back(frameSprite);
  labelSprites_.push_back(labelSprite);
  return labelSprite;
}

void FramedBox::ForwardAddText(int id, std::string_view text, std::string_view fontName, int size,
                               std::uint32_t colour, bool bold) {
  AddLabelText(id, text, fontName, size, colour, bold, false, false, 0, 0, 0, 0);
}

void FramedBox::ShowLabelSprite(std::string_view name, bool visible) {
  if (box_ == nullptr) return;
  const std::string labelName = std::string(name) + std::string(kFrameLabelSuffix);
  for (int id : labelSprites_) {
    if (box_->ObjectName(id) == labelName) {
      box_->ShowObject(id, visible);
      return;
    }
  }
}

int FramedBox::FindFrameSpriteIndex(std::string_view name) const {
  if (box_ == nullptr) return -1;
  for (int id : frameSprites_)
    if (box_->ObjectName(id) == name) return id;
  return -1;
}

void FramedBox::AddLabelText(int id, std::string_view text, std::string_view /*fontName*/,
                             int size, std::uint32_t colour, bool bold, bool centreAcross,
                             bool centreDown, int left, int top, int width, int height) {
  if (box_ == nullptr) return;
  box_->SetObjectText(id, text, size, bold, colour);
  // The label's own rule: one pixel right of and two below the middle, truncated after.
  CentreSprite(*box_, id, centreAcross, centreDown, left, top, width, height, 1, 2);
}

void FramedBox::RemoveSprites() {
  if (box_ == nullptr) return;
  std::vector<int> ids;
  for (std::size_t i = 0; i < frameSprites_.size(); ++i) {
    ids.push_back(frameSprites_[i]);
    ids.push_back(labelSprites_[i]);
  }
  box_->DeleteObjects(ids);
}

int FramedBox::AddPictureSprite(std::string_view name, int x, int y, int requestedWidth,
                                int requestedHeight, bool visible, std::string_view normal,
                                std::string_view hover, std::string_view pressed,
                                std::function<void()> clickRoutine,
                                std::function<void()> pressRoutine, int afterClickMode) {
  if (box_ == nullptr) return 0;
  return items_.Add(*box_, name, x, y, requestedWidth, requestedHeight, visible, normal, hover,
                    pressed, std::move(clickRoutine), std::move(pressRoutine), afterClickMode);
}

void FramedBox::SetSpriteTransparency(int id, int percent) {
  if (box_ != nullptr) box_->SetObjectTransparency(id, percent);
}

void FramedBox::ResizeSprite(int id, int width, int height, int baseWidth, int baseHeight) {
  if (box_ != nullptr) workmemo::ResizeSprite(*box_, id, width, height, baseWidth, baseHeight);
}

void FramedBox::MoveSprite(int id, int x, int y) {
  if (box_ != nullptr) box_->MoveObject(id, x, y);
}

int FramedBox::SpriteHeight(int id) const { return box_ ? box_->ObjectHeight(id) : 0; }
int FramedBox::SpriteWidth(int id) const { return box_ ? box_->ObjectWidth(id) : 0; }
int FramedBox::SpriteLeft(int id) const { return box_ ? box_->ObjectLeft(id) : 0; }
int FramedBox::SpriteTop(int id) const { return box_ ? box_->ObjectTop(id) : 0; }

// The frame has no hover picture, so it is no button: the shared rules leave its picture
// alone and never run a click routine for it.
void FramedBox::OnSpriteEnter(int id) {
  if (box_ != nullptr) items_.OnEnter(*box_, id);
}

void FramedBox::OnSpriteLeave(int id) {
  if (box_ != nullptr) items_.OnLeave(*box_, id);
}

void FramedBox::OnSpritePress(int id) {
  if (box_ != nullptr) items_.OnPress(*box_, id);
}

void FramedBox::OnSpriteRelease(int id) {
  if (box_ != nullptr) items_.OnRelease(*box_, id);
}

void FramedBox::SetSpriteName(int id, std::string_view name) {
  if (box_ != nullptr) box_->SetObjectName(id, name);
}

std::string FramedBox::SpriteName(int id) const { return box_ ? box_->ObjectName(id) : ""; }
std::string FramedBox::SpriteText(int id) const { return box_ ? box_->ObjectText(id) : ""; }
bool FramedBox::IsSpriteVisible(int id) const { return box_ && box_->IsObjectVisible(id); }

void DrawPanelFramePanel::SetVisible(bool visible) { panel_.SetVisible(visible); }
void DrawPanelFramePanel::SetSize(int width, int height) { panel_.Resize(width, height); }
void DrawPanelFramePanel::SetBackgroundColour(std::uint32_t colour) {
  panel_.SetBackgroundColour(colour);
  panel_.Clear();
}
void DrawPanelFramePanel::SetPenColour(std::uint32_t colour) { panel_.SetPen(colour); }
void DrawPanelFramePanel::DrawLine(int x1, int y1, int x2, int y2) {
  panel_.DrawLine(x1, y1, x2, y2);
}
std::string DrawPanelFramePanel::Picture() const {
  return panel_.Capture(0, 0, panel_.Width(), panel_.Height());
}

void UnitFramedControl::SetGeometry(int x, int y, int width, int height) {
  unit_.SetGeometry(x, y, width, height);
}
int UnitFramedControl::Left() const { return unit_.Left(); }
int UnitFramedControl::Top() const { return unit_.Top(); }
int UnitFramedControl::Width() const { return unit_.Width(); }
int UnitFramedControl::Height() const { return unit_.Height(); }

}  // namespace workmemo
