// How windows close, where they open and how they stack, offscreen.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gui_test.h"
#include "platform/text/text.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/window.h"

namespace {

using namespace platform::ui;
namespace drive = platform::ui::testing;

std::string G(const char* utf8) { return platform::text::FromUtf8(utf8); }

class WindowOrderTest : public testsupport::GuiTest {};

TEST_F(WindowOrderTest, NoHandlerRunsOnceItsWindowBeganToClose) {
  auto window = LoadWindow("UnitKindsWindow");
  auto context = std::make_unique<int>(7);
  std::vector<std::string> seen;
  window->On(G("标题编辑框"), Event::FocusLost,
             [&](EventArgs&) { seen.push_back("lost " + std::to_string(*context)); });
  window->On({}, Event::Destroying, [&](EventArgs&) {
    seen.push_back("destroying");
    context.reset();
  });
  window->On(G("确定按钮"), Event::Clicked, [&](EventArgs&) { window->Close(); });
  window->Open();
  window->Activate();
  Pump();
  window->Unit(G("标题编辑框")).SetFocus();
  Pump();
  ASSERT_TRUE(window->Unit(G("标题编辑框")).HasFocus());
  drive::Click(window->Unit(G("确定按钮")), 5, 5);
  Pump();
  EXPECT_EQ(seen, (std::vector<std::string>{"destroying"}));
}

}  // namespace
