#include "ui/skin_list_view_box.h"

namespace workmemo {

namespace ui = platform::ui;

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
