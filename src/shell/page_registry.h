#pragma once
// The page windows of the main window by name. The modules above the shell register their
// pages' loaders at start; a page nobody registered is an empty skinned page.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/window.h"
#include "shell/panel_picture.h"

namespace workmemo {

class MainWindow;

// What a page loader gives the main window.
struct LoadedPage {
  std::unique_ptr<platform::ui::Window> window;
  // The page's skinned layout, run again after a change of skin; may be empty.
  std::function<void()> Layout;
};

// What a page with animation boxes of its own needs of the main window it lies in: the page
// area, and the painted picture of that area that the page draws behind its units. Without
// a main window the page stays a window of its own (tools that draw windows).
struct PanelHost {
  platform::ui::Window* mainWindow = nullptr;
  int left = 2;
  int top = 116;
  int width = 1096;
  int height = 588;
  PanelPicture picture;
  const std::string& Picture() const { return picture.Get(); }
};
// The host of a page in `main`: its window, PanelArea and the picture of PanelArea.
PanelHost PanelHostIn(MainWindow& main);

// Loads a page's template and binds its handlers. The main window then opens the page
// hidden: its created handler places it over PanelArea (MainWindow::PlacePage) and paints it.
using PageLoader = std::function<LoadedPage(MainWindow&)>;

// The page windows in the order the main window loads them.
const std::vector<std::string>& PageWindowNames();

// Registers (or replaces) the loader of a page window.
void RegisterPageLoader(std::string windowName, PageLoader loader);
// Forgets every registered loader (tests).
void ClearPageLoaders();
// The registered loader; the shell's own for the password pages and the advanced settings
// page; else LoadEmptyPage.
PageLoader FindPageLoader(std::string_view windowName);

// AdvancedSettingsPanel on the main window's boxes, its login switch through the main
// window's password gate.
LoadedPage LoadAdvancedSettingsPage(MainWindow& main);

// A page nobody registered: its template (a blank page when there is none yet), placed over
// PanelArea and painted as its kind of page (with animation boxes of its own, or on the main
// window's boxes).
LoadedPage LoadEmptyPage(MainWindow& main, std::string_view windowName);

}  // namespace workmemo
