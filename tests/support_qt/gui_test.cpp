#include "gui_test.h"

#include "platform/ui/app.h"

namespace testsupport {

void GuiTest::SetUp() { script = std::make_unique<platform::ui::testing::Script>(); }

void GuiTest::TearDown() {
  Pump();
  script.reset();
}

std::unique_ptr<platform::ui::Window> GuiTest::LoadWindow(std::string_view name) {
  return platform::ui::Window::Load(name);
}

void GuiTest::Pump(int milliseconds) { platform::ui::ProcessEvents(milliseconds); }

}  // namespace testsupport
