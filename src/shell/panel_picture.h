#pragma once
// Where a page finds the picture of the panel area that it draws behind its units.
#include <string>

namespace workmemo {

class MainWindow;

// The main window's picture is held by the unit that shows it and replaced on every repaint,
// so it is looked up each time a page draws it and never kept; a page without a main window
// (a tool that draws it alone) names a picture of its own.
struct PanelPicture {
  const MainWindow* main = nullptr;
  const std::string* own = nullptr;  // used without a main window
  const std::string& Get() const;    // empty when neither is given
};

}  // namespace workmemo
