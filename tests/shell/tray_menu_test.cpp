#include "shell/tray_menu.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gui_test.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
using platform::os::TrayClick;
using Place = ui::testing::Script::MenuPlace;

class TrayMenuTest : public testsupport::GuiTest {};

// A left click shows the main window; a right click opens the menu with its top right corner
// 5 pixels left of and above the pointer, so it runs away from the tray at the screen's edge;
// a double click adds nothing.
TEST_F(TrayMenuTest, ClicksShowTheMainWindowOrOpenTheMenuLeftOfThePointer) {
  std::unique_ptr<ui::Window> startup = LoadWindow("StartupWindow");
  auto& menu = startup->UnitAs<ui::Menu>("菜单");
  int shown = 0, helped = 0;
  TrayActions actions;
  actions.ShowMainWindow = [&] { ++shown; };
  actions.ShowHelpWindow = [&] { ++helped; };
  BindTrayMenu(*startup, actions);

  HandleTrayEvent({TrayClick::Left, 1900, 1060}, menu, actions);
  EXPECT_EQ(shown, 1);
  script->AnswerMenu("帮助说明");
  HandleTrayEvent({TrayClick::Right, 1900, 1060}, menu, actions);
  EXPECT_EQ(script->MenuPlaces(), std::vector<Place>{(Place{1895, 1055, ui::MenuAnchor::TopRight})});
  EXPECT_EQ(helped, 1);
  HandleTrayEvent({TrayClick::Double, 1900, 1060}, menu, actions);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(script->MenuPlaces().size(), 1u);
}

}  // namespace
}  // namespace workmemo
