// main() of every test executable that needs the window layer: the application object is
// made by the layer's own start routine, so tests measure texts as the program does.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/app.h"

int main(int argc, char** argv) {
  // Tests put no window on a real screen unless a developer asks for a platform.
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  platform::ui::StartApplication(argc, argv);
  const int result = RUN_ALL_TESTS();
  platform::ui::StopApplication();
  return result;
}
