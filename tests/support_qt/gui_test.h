#pragma once
// The base fixture of tests that run real windows offscreen: every test gets a fresh test
// script (no modal box waits for a person) and leaves no pending events behind.
#include <gtest/gtest.h>

#include <memory>
#include <string_view>

#include "platform/ui/test_driver.h"
#include "platform/ui/window.h"

namespace testsupport {

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A compiled-in template by window name.
  static std::unique_ptr<platform::ui::Window> LoadWindow(std::string_view name);
  // Lets the event loop run for `milliseconds` (timers fire meanwhile).
  static void Pump(int milliseconds = 0);

  std::unique_ptr<platform::ui::testing::Script> script;
};

}  // namespace testsupport
