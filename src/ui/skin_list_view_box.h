#pragma once
// The list view on the window layer: an animation box as the list's surface, the list's own
// pictures, and the binding of a window's box and timer events to the list's router.
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "ui/skin_list_view.h"
#include "ui/skin_list_view_router.h"
#include "ui/sprite_set.h"

namespace workmemo {

// The pictures the list carries itself (not skin entries), made once.
const ListPictures& EmbeddedListPictures();

// A list on one animation box of a window, with the box's events, a repeat timer and a
// refill timer of that window bound to one router; the list is built on Surface(). The
// window's handlers share the router, so either may go first.
class ListBoxBinding {
 public:
  // The routes' timer settings are filled in here from the two timer units.
  ListBoxBinding(platform::ui::Window& window, std::string_view boxUnit,
                 std::string_view repeatTimer, std::string_view refillTimer, SkinListView& list,
                 ListRoutes routes);
  SpriteSurface& Surface() { return surface_; }
  ListEventRouter& Router() { return *router_; }

 private:
  AnimationBoxSurface surface_;
  std::shared_ptr<ListEventRouter> router_;
};

}  // namespace workmemo
