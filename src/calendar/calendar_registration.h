#pragma once
// What the calendar module hands to the rest of the program at start.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform::ui {
class Window;
}

namespace workmemo {

class MainWindow;

// Registers the calendar page with the main window's pages and sets the seams this module
// answers: the calendar's shown day, the desktop clock's opening and closing, their
// re-layouts after a change of skin and their closing at the end. Called once before the
// program starts.
void RegisterCalendarUi();

// The windows of this module by name, each with a set-up that shows it as the program does
// on a fixed day, for tools that draw windows; the page lies in the main window that
// `hostMainWindow` gives.
using CalendarWindowSetup = std::function<void(platform::ui::Window&)>;
std::vector<std::pair<std::string, CalendarWindowSetup>> CalendarWindowSetups(
    std::function<MainWindow&()> hostMainWindow);

}  // namespace workmemo
