// The animation box: numbered picture and text objects on one surface.
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "platform/image/qimage_bridge.h"
#include "platform/ui/widgets.h"

namespace platform::ui {

namespace detail {

QSize BoxObject::DrawnSize() const {
  if (hasText) return TextExtent(ToQLines(text), font);
  if (picture.isNull()) return {0, 0};
  return {static_cast<int>(static_cast<long long>(picture.width()) * scaleX / 1000),
          static_cast<int>(static_cast<long long>(picture.height()) * scaleY / 1000)};
}

BoxWidget::BoxWidget(AnimationBox& box, QWidget* parent) : QWidget(parent), box_(box) { setMouseTracking(true); }

BoxObject* BoxWidget::Find(int id) {
  for (BoxObject& o : objects_)
    if (o.id == id) return &o;
  return nullptr;
}

const BoxObject* BoxWidget::Find(int id) const { return const_cast<BoxWidget*>(this)->Find(id); }

int BoxWidget::Create(int x, int y, bool visible, std::string_view name) {
  BoxObject o;
  const int id = nextId_++;
  o.id = id;
  o.x = x;
  o.y = y;
  o.visible = visible;
  o.name = name;
  objects_.push_back(std::move(o));
  Restack();
  update();
  return id;
}

void BoxWidget::Delete(int id) {
  std::erase_if(objects_, [id](const BoxObject& o) { return o.id == id; });
  if (hoverId_ == id) hoverId_ = 0;
  update();
}

void BoxWidget::DeleteAll() {
  objects_.clear();
  hoverId_ = 0;
  update();
}

void BoxWidget::Restack() {
  // Ids grow with creation, so (layer, id) is layer order with creation order inside it.
  std::stable_sort(objects_.begin(), objects_.end(), [](const BoxObject& a, const BoxObject& b) {
    return a.layer != b.layer ? a.layer < b.layer : a.id < b.id;
  });
}

int BoxWidget::ObjectAt(QPoint p) const {
  for (auto it = objects_.rbegin(); it != objects_.rend(); ++it) {
    if (!it->visible) continue;
    const QSize size = it->DrawnSize();
    if (QRect(QPoint(it->x, it->y), size).contains(p)) return it->id;
  }
  return 0;
}

void BoxWidget::SetBackground(std::string_view bytes) {
  backgroundSource_ = SharePicture(bytes);
  background_ = backgroundSource_ ? backgroundSource_->image : QImage();
  update();
}

void BoxWidget::Render(QPainter& painter, QRect area) const {
  painter.fillRect(area, ToQColor(box_.BackgroundColour()));
  if (!background_.isNull()) {
    switch (backgroundMode) {
      case 1: painter.drawImage(QRect(0, 0, width(), height()), background_); break;
      case 2:
        painter.drawImage((width() - background_.width()) / 2, (height() - background_.height()) / 2, background_);
        break;
      case 3: painter.drawTiledPixmap(rect(), QPixmap::fromImage(background_)); break;
      default: painter.drawImage(0, 0, background_); break;
    }
  }
  for (const BoxObject& o : objects_) {
    if (!o.visible || o.transparency >= 100) continue;
    painter.setOpacity((100 - std::max(0, o.transparency)) / 100.0);
    if (o.hasText) {
      painter.setPen(o.colour);
      DrawTextLines(painter, o.x, o.y, ToQLines(o.text), o.font, o.align);
    } else if (!o.picture.isNull()) {
      const QSize size = o.DrawnSize();
      if (size.width() > 0 && size.height() > 0) painter.drawImage(QRect(QPoint(o.x, o.y), size), o.picture);
    }
    painter.setOpacity(1.0);
  }
}

void BoxWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Render(painter, rect());
}

// The generic button events reach the window first (through the unit's relay), then
// these deliver the object events: on a click the generic button-up comes before the
// object's button-up.
void BoxWidget::mousePressEvent(QMouseEvent* event) {
  EventArgs args;
  args.x = event->position().toPoint().x();
  args.y = event->position().toPoint().y();
  args.objectId = ObjectAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton) UnitAccess::Fire(box_, Event::ObjectLeftDown, args);
  else if (event->button() == Qt::RightButton) UnitAccess::Fire(box_, Event::ObjectRightDown, args);
}

void BoxWidget::mouseReleaseEvent(QMouseEvent* event) {
  EventArgs args;
  args.x = event->position().toPoint().x();
  args.y = event->position().toPoint().y();
  args.objectId = ObjectAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton) UnitAccess::Fire(box_, Event::ObjectLeftUp, args);
  else if (event->button() == Qt::RightButton) UnitAccess::Fire(box_, Event::ObjectRightUp, args);
}

void BoxWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  EventArgs args;
  args.x = event->position().toPoint().x();
  args.y = event->position().toPoint().y();
  args.objectId = ObjectAt(event->position().toPoint());
  UnitAccess::Fire(box_, Event::ObjectDoubleClicked, args);
}

void BoxWidget::mouseMoveEvent(QMouseEvent* event) { Track(ObjectAt(event->position().toPoint())); }

void BoxWidget::leaveEvent(QEvent*) { Track(0); }

void BoxWidget::Track(int id) {
  if (id == hoverId_) return;
  const int old = hoverId_;
  hoverId_ = id;
  if (old > 0) {
    EventArgs args;
    args.objectId = old;
    UnitAccess::Fire(box_, Event::ObjectLeave, args);
  }
  if (id > 0) {
    EventArgs args;
    args.objectId = id;
    UnitAccess::Fire(box_, Event::ObjectEnter, args);
  }
}

}  // namespace detail

AnimationBox::AnimationBox(Window& owner, std::string name) : Unit(owner, UnitKind::AnimationBox, std::move(name)) {}

detail::BoxWidget* AnimationBox::box() const { return static_cast<detail::BoxWidget*>(widget_); }

int AnimationBox::CreateObject(int x, int y, bool visible, std::string_view name) {
  return box()->Create(x, y, visible, name);
}
void AnimationBox::DeleteObject(int id) { box()->Delete(id); }
void AnimationBox::DeleteObjects(const std::vector<int>& ids) {
  for (int id : ids) box()->Delete(id);
}
void AnimationBox::DeleteAllObjects() { box()->DeleteAll(); }
bool AnimationBox::HasObject(int id) const { return box()->Find(id) != nullptr; }
std::vector<int> AnimationBox::ObjectIds() const {
  std::vector<int> ids;
  for (const auto& o : box()->Objects()) ids.push_back(o.id);
  return ids;
}

void AnimationBox::SetObjectPicture(int id, std::string_view bytes) {
  if (auto* o = box()->Find(id)) {
    o->pictureSource = detail::SharePicture(bytes);
    o->picture = o->pictureSource ? o->pictureSource->image : QImage();
    o->hasText = false;
    o->text.clear();
    box()->update();
  }
}

void AnimationBox::SetObjectText(int id, std::string_view text, const Font& font, Colour colour) {
  if (auto* o = box()->Find(id)) {
    o->hasText = true;
    o->text = text;
    o->font = detail::ToQFont(font);
    o->colour = detail::ToQColor(colour);
    box()->update();
  }
}

std::string AnimationBox::ObjectText(int id) const {
  const auto* o = box()->Find(id);
  return o != nullptr ? o->text : std::string();
}

void AnimationBox::SetObjectTextAlignment(int id, Align align) {
  if (auto* o = box()->Find(id)) {
    o->align = align;
    box()->update();
  }
}

void AnimationBox::SetObjectName(int id, std::string_view name) {
  if (auto* o = box()->Find(id)) o->name = name;
}

std::string AnimationBox::ObjectName(int id) const {
  const auto* o = box()->Find(id);
  return o != nullptr ? o->name : std::string();
}

int AnimationBox::FindObject(std::string_view name) const {
  const auto& objects = box()->Objects();
  for (auto it = objects.rbegin(); it != objects.rend(); ++it)
    if (it->name == name) return it->id;
  return -1;
}

void AnimationBox::MoveObject(int id, int x, int y) {
  if (auto* o = box()->Find(id)) {
    o->x = x;
    o->y = y;
    box()->update();
  }
}
int AnimationBox::ObjectLeft(int id) const {
  const auto* o = box()->Find(id);
  return o != nullptr ? o->x : 0;
}
int AnimationBox::ObjectTop(int id) const {
  const auto* o = box()->Find(id);
  return o != nullptr ? o->y : 0;
}

void AnimationBox::ScaleObject(int id, int horizontal, int vertical) {
  if (horizontal <= 0 || vertical <= 0) return;
  if (auto* o = box()->Find(id)) {
    o->scaleX = horizontal;
    o->scaleY = vertical;
    box()->update();
  }
}

void AnimationBox::ScaleObjectTo(int id, int width, int height) {
  const auto* o = box()->Find(id);
  if (o == nullptr || o->picture.isNull()) return;
  // A picture of size 0 cannot be scaled to anything: no factor, no division.
  const int w = o->picture.width();
  const int h = o->picture.height();
  if (w <= 0 || h <= 0) return;
  ScaleObject(id, static_cast<int>(static_cast<long long>(width) * 1000 / w),
              static_cast<int>(static_cast<long long>(height) * 1000 / h));
}

int AnimationBox::ObjectWidth(int id) const {
  const auto* o = box()->Find(id);
  return o != nullptr ? o->DrawnSize().width() : 0;
}
int AnimationBox::ObjectHeight(int id) const {
  const auto* o = box()->Find(id);
  return o != nullptr ? o->DrawnSize().height() : 0;
}

void AnimationBox::SetObjectTransparency(int id, int percent) {
  if (auto* o = box()->Find(id)) {
    o->transparency = std::clamp(percent, 0, 100);
    box()->update();
  }
}
int AnimationBox::ObjectTransparency(int id) const {
  const auto* o = box()->Find(id);
  return o != nullptr ? o->transparency : 0;
}

void AnimationBox::ShowObject(int id, bool visible) {
  if (auto* o = box()->Find(id)) {
    o->visible = visible;
    box()->update();
  }
}
bool AnimationBox::IsObjectVisible(int id) const {
  const auto* o = box()->Find(id);
  return o != nullptr && o->visible;
}

void AnimationBox::SetObjectLayer(int id, int layer) {
  if (auto* o = box()->Find(id)) {
    o->layer = layer;
    box()->Restack();
    box()->update();
  }
}
int AnimationBox::ObjectLayer(int id) const {
  const auto* o = box()->Find(id);
  return o != nullptr ? o->layer : 0;
}

int AnimationBox::ObjectAt(int x, int y) const { return box()->ObjectAt(QPoint(x, y)); }

void AnimationBox::SetBackgroundPicture(std::string_view bytes, int mode) {
  box()->backgroundMode = mode;
  box()->SetBackground(bytes);
}
void AnimationBox::SetBackgroundPicture(std::string_view bytes) { box()->SetBackground(bytes); }
const std::string& AnimationBox::BackgroundPicture() const { return box()->BackgroundBytes(); }
void AnimationBox::SetBackgroundMode(int mode) {
  box()->backgroundMode = mode;
  box()->update();
}
int AnimationBox::BackgroundMode() const { return box()->backgroundMode; }

std::string AnimationBox::Capture(int x, int y, int width, int height) const {
  const QRect area = QRect(x, y, width, height).intersected(QRect(0, 0, Width(), Height()));
  if (area.isEmpty()) return {};
  // Drawn afresh rather than grabbed from the screen, so a hidden box captures as well, and
  // straight into the bitmap handed out.
  std::string bytes = platform::image::BlankBmp(area.width(), area.height());
  QImage image = platform::image::DrawableBitmap(bytes);
  if (image.isNull()) return {};
  QPainter painter(&image);
  painter.translate(-area.topLeft());
  box()->Render(painter, area);
  painter.end();
  return bytes;
}

}  // namespace platform::ui
