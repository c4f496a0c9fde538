#pragma once
// What the timed-reminder windows hand to the rest of the program at start.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform::ui {
class Window;
}

namespace workmemo {

// Registers the list page with the main window's pages and its redraw on a change of the
// list font size, and the reminder check with its pop-up; the start sequence calls it before
// the main window loads.
void RegisterReminderUi();

// The windows of this module by name, each with a set-up that shows it as the program does
// (the list page with a few reminders of its own), for tools that draw windows.
using ReminderWindowSetup = std::function<void(platform::ui::Window&)>;
std::vector<std::pair<std::string, ReminderWindowSetup>> ReminderWindowSetups();

}  // namespace workmemo
