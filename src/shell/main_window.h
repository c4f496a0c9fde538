#pragma once
// The skinned main window: title bar, navigation row, status line and PanelArea, in which
// exactly one page window is shown at a time. The pages are windows of their own, loaded
// once, made children of the main window and laid over PanelArea; switching pages hides them
// all and shows one, behind the password gate where it applies.
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "shell/data_files.h"
#include "shell/page_registry.h"
#include "shell/password_gate.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "ui/skin_painter.h"

namespace platform::ui {
class AnimationBox;
class Window;
}  // namespace platform::ui

namespace workmemo {

struct PanelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

class MainWindow {
 public:
  static constexpr int kWidth = 1100;
  static constexpr int kHeight = 728;

  MainWindow(ProgramDatabases& db, RunState& state, ProgramSettings& settings);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Loads the template hidden; its created handler is LoadMainWindow.
  void Load();
  // Binds the events of a MainWindow template loaded and owned elsewhere; opening it runs
  // LoadMainWindow. The window must outlive this object's pages.
  void Attach(platform::ui::Window& window);
  // Lays out and paints the window, loads every page, shows the start-up due-date window
  // when the settings ask for it and opens the timed-reminder page.
  void LoadMainWindow();
  // The skinned look; run again after a change of background or opacity.
  void PaintMainWindow();

  platform::ui::Window& Window() const { return *window_; }
  PasswordGate& Gate() { return gate_; }
  ProgramDatabases& Data() { return db_; }
  RunState& State() { return state_; }
  ProgramSettings& Settings() { return settings_; }

  const PanelRect& PanelArea() const { return panelArea_; }
  // The painted background of PanelArea, as the pages draw it behind their units: the child
  // box's picture, replaced on every repaint (PanelPicture finds it afresh each time).
  const std::string& PanelAreaPicture() const;
  platform::ui::AnimationBox& BackgroundBox() const;
  platform::ui::AnimationBox& CompositingBox() const;
  platform::ui::AnimationBox& ChildBox() const;

  // A loaded page window by its window name; nullptr when it is not loaded.
  platform::ui::Window* Page(std::string_view windowName) const;
  // Left, top, width and height of the page := PanelArea; the page becomes a child window.
  void PlacePage(platform::ui::Window& page);
  // Paints a page without boxes of its own on the main window's boxes, with its draw panel
  // 子窗口背景画板 showing the picture of PanelArea.
  void PaintPage(platform::ui::Window& page, SkinPainter& painter, int fontSize);
  // Paints a page with its own 背景动画框 and 按钮动画框 over the picture of PanelArea.
  void PaintChildPage(platform::ui::Window& page, SkinPainter& painter, int fontSize);
  // Runs a page's layout again (after a change of skin).
  void LayoutPage(std::string_view windowName);

  // Hides every page and shows the one of that page name, with its status line.
  void ShowPanel(std::string_view page);
  bool IsPanelVisible(std::string_view page) const;
  // The page name ShowPanel was last called with.
  const std::string& ShownPage() const { return shownPage_; }
  std::string StatusText() const;
  void SetTitle(std::string_view title);

  // The navigation handlers.
  void OpenTimedRemindersPage() { gate_.OpenPage(kPageTimedReminders); }
  void OpenDuePage() { gate_.OpenPage(kPageDue); }
  void OpenNotesPage() { gate_.OpenPage(kPageNotes); }
  void OpenPasswordPage() { gate_.OpenPage(kPagePassword); }
  void OpenBackupPage() { gate_.OpenPage(kPageBackup); }
  void OpenAdvancedSettingsPage() { gate_.OpenPage(kPageAdvanced); }
  void OpenCalendarPage() { gate_.OpenPage(kPageCalendar); }
  void OpenSkinPage() { gate_.OpenPage(kPageSkin); }
  void RequestExit() { gate_.RequestExit(); }

  void SetListFontSize(int n);
  void MinimiseMainWindow();
  void ShowMainMenu();
  void DismissFontSizeTip();

 private:
  void BindEvents();
  void LayoutMainWindow();
  void LoadPages();
  void ShowDueWindowAtStart();
  void CheckFontMenuItem(int size);
  void PlaceSelectionMarker();
  GateHooks MakeGateHooks();

  ProgramDatabases& db_;
  RunState& state_;
  ProgramSettings& settings_;
  PasswordGate gate_;
  SkinPainter painter_;  // MainWindowPainter
  std::unique_ptr<platform::ui::Window> ownedWindow_;
  platform::ui::Window* window_ = nullptr;
  PanelRect panelArea_;
  int selectionMarkerId_ = 0;
  std::string visiblePanel_;  // window name of the page shown now; empty for none
  std::string shownPage_;
  // Declared after the window: the pages are children of its widget and must go first.
  std::map<std::string, LoadedPage, std::less<>> pages_;
};

// The program's one main window on the program-wide state: the first call makes it and loads
// it hidden; later calls give the same window.
MainWindow& LoadProgramMainWindow();
// The program's main window; nullptr before LoadProgramMainWindow and after the release.
MainWindow* ProgramMainWindow();
// Destroys it with its pages, at the end of the program.
void ReleaseProgramMainWindow();
// Hands the program's main window to the start-up (its load, page switch and password gate),
// ends the program through the start-up's end, and releases the window with the other
// windows at the end. Called once before the program starts.
void RegisterMainWindow();

// The picture of the selection marker under the current navigation button.
std::string SelectionMarkerPicture();

}  // namespace workmemo
