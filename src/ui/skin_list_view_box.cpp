#include "ui/skin_list_view_box.h"

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

ListBoxBinding::ListBoxBinding(ui::Window& window, std::string_view boxUnit,
                               std::string_view repeatTimer, std::string_view refillTimer,
                               SkinListView& list, ListRoutes routes)
    : surface_(window.UnitAs<ui::AnimationBox>(boxUnit)) {
  ui::Timer& repeat = window.UnitAs<ui::Timer>(repeatTimer);
  ui::Timer& refill = window.UnitAs<ui::Timer>(refillTimer);
  routes.setRepeatInterval = [&repeat](int ms) { repeat.SetInterval(ms); };
  routes.setRefillInterval = [&refill](int ms) { refill.SetInterval(ms); };
  router_ = std::make_shared<ListEventRouter>(list, std::move(routes));

  std::shared_ptr<ListEventRouter> r = router_;
  const std::string box(boxUnit);
  auto byObject = [&window, &box](ui::Event event, void (ListEventRouter::*call)(int),
                                  std::shared_ptr<ListEventRouter> target) {
    window.On(box, event, [target, call](ui::EventArgs& a) { (*target.*call)(a.objectId); });
  };
  byObject(ui::Event::ObjectLeftDown, &ListEventRouter::ObjectPressed, r);
  byObject(ui::Event::ObjectLeftUp, &ListEventRouter::ObjectReleased, r);
  byObject(ui::Event::ObjectRightUp, &ListEventRouter::ObjectRightClicked, r);
  byObject(ui::Event::ObjectDoubleClicked, &ListEventRouter::ObjectDoubleClicked, r);
  byObject(ui::Event::ObjectEnter, &ListEventRouter::ObjectEntered, r);
  byObject(ui::Event::ObjectLeave, &ListEventRouter::ObjectLeft, r);
  window.On(box, ui::Event::LeftDown, [r](ui::EventArgs& a) { r->ButtonDown(a.y); });
  window.On(box, ui::Event::LeftUp, [r](ui::EventArgs& a) { r->ButtonUp(a.y); });
  window.On(box, ui::Event::MouseMove, [r](ui::EventArgs& a) { r->PointerMoved(a.y); });
  window.On(box, ui::Event::Wheel, [r](ui::EventArgs& a) { r->Wheel(a.delta); });
  window.On(repeatTimer, ui::Event::Timer, [r](ui::EventArgs&) { r->RepeatTick(); });
  window.On(refillTimer, ui::Event::Timer, [r](ui::EventArgs&) { r->RefillTick(); });
}

}  // namespace workmemo
