#pragma once
// What the notes windows hand to the rest of the program at start.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform::ui {
class Window;
}

namespace workmemo {

class MainWindow;

// Registers the notes page with the main window's pages, its re-layout after a new skin, its
// redraw after a change of the list font, the editor's close at the end, and the seams
// through which notes written elsewhere reach the page. Called before the main window loads.
void RegisterNotesUi();

// The notes windows by name, each with a set-up that shows it as the program does over a few
// notes written into the program's notes file, for tools that draw windows: the page with a
// query typed into its open frame, the editor adding a note, and the editor changing one with
// its calendar dropped down. Pages are drawn inside `hostMainWindow`.
using NotesWindowSetup = std::function<void(platform::ui::Window&)>;
std::vector<std::pair<std::string, NotesWindowSetup>> NotesWindowSetups(std::function<MainWindow&()> hostMainWindow);

}  // namespace workmemo
