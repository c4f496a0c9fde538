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

namespace workmemo {

// An animation box of a window as a SpriteSurface.
class AnimationBoxSurface : public SpriteSurface {
 public:
  explicit AnimationBoxSurface(platform::ui::AnimationBox& box) : box_(box) {}
  int CreateObject(int x, int y, bool visible, std::string_view name) override;
  void DeleteObjects(const std::vector<int>& ids) override;
  void SetObjectPicture(int id, std::string_view bytes) override;
  void SetObjectText(int id, std::string_view text, int size, bool bold,
                     std::uint32_t colour) override;
  std::string ObjectText(int id) const override;
  void SetObjectName(int id, std::string_view name) override;
  std::string ObjectName(int id) const override;
  void MoveObject(int id, int x, int y) override;
  int ObjectLeft(int id) const override;
  int ObjectTop(int id) const override;
  void ScaleObject(int id, int horizontal, int vertical) override;
  int ObjectWidth(int id) const override;
  int ObjectHeight(int id) const override;
  void SetObjectTransparency(int id, int percent) override;
  void ShowObject(int id, bool visible) override;
  bool IsObjectVisible(int id) const override;

 private:
  platform::ui::AnimationBox& box_;
};

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
