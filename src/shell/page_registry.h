#pragma once
// The page windows of the main window by name, and the seams through which the main window
// and the password gate reach the windows of the modules above the shell. Those modules
// register their loaders and seams at start; a page nobody registered is an empty skinned
// page, and a seam nobody registered does nothing.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/window.h"

namespace workmemo {

class MainWindow;
class PasswordCover;

// What a page loader gives the main window.
struct LoadedPage {
  std::unique_ptr<platform::ui::Window> window;
  // The page's skinned layout, run again after a change of skin; may be empty.
  std::function<void()> Layout;
};

// Loads a page's template and binds its handlers. The main window then opens the page
// hidden: its created handler places it over PanelArea (MainWindow::PlacePage) and paints it.
using PageLoader = std::function<LoadedPage(MainWindow&)>;

// The page windows in the order the main window loads them.
const std::vector<std::string>& PageWindowNames();

// Registers (or replaces) the loader of a page window.
void RegisterPageLoader(std::string windowName, PageLoader loader);
// Forgets every registered loader (tests).
void ClearPageLoaders();
// The registered loader; the shell's own for the password pages; else LoadEmptyPage.
PageLoader FindPageLoader(std::string_view windowName);

// A page nobody registered: its template (a blank page when there is none yet), placed over
// PanelArea and painted as its kind of page (with animation boxes of its own, or on the main
// window's boxes).
LoadedPage LoadEmptyPage(MainWindow& main, std::string_view windowName);

// What the main window's menu, the password page and the end of the program ask of the
// modules above the shell. Each is empty until its module sets it at start.
struct MainWindowHooks {
  std::function<void()> ShowTodayWindow;          // loads TodayRemindersWindow
  std::function<void()> ShowDueRemindersWindow;   // loads DueRemindersWindow non-modal
  std::function<void()> ToggleDesktopClock;
  std::function<void()> ShowHelpWindow;
  std::function<void()> ShowAboutWindow;
  std::function<void()> ShowTrayNotice;           // on minimising to the tray
  // Each list sets its headers and redraws in the new ListFontSize; every list page adds one.
  std::vector<std::function<void()>> ListFontChanged;
  // The requests a correct password performs; each applies its own gate again and passes.
  std::function<void()> OpenAddReminderEditor;
  std::function<void()> OpenModifyReminderEditor;
  std::function<void()> DeleteReminder;
  std::function<void()> MoveSelectedReminderToNotes;
  // Ends the program without a further question.
  std::function<void()> CloseProgram;
  // The password covers of the floating windows loaded now.
  std::function<std::vector<PasswordCover*>()> LoadedCovers;
};

MainWindowHooks& MainHooks();



}  // namespace workmemo
