#include "due_notes/due_registration.h"

#include "due_notes/due_panel.h"
#include "due_notes/due_window.h"
#include "platform/ui/window.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"

namespace workmemo {

namespace {

constexpr char kPanelName[] = "DuePanel";

// The re-skinning lays the page out again and refills it where it stood.
void RelayoutDuePage() {
  if (DuePanelWindow() == nullptr) return;
  LayoutDuePanel();
  FillDueList(DuePage().DuePanelFirstRow);
}

void ListFontChanged() {
  if (DuePanelWindow() != nullptr) {
    SetDueListHeaders();
    FillDueList(DuePage().DuePanelFirstRow);
  }
  if (LoadedDueRemindersWindow() != nullptr) {
    SetDueWindowListHeaders();
    FillDueWindowList(DueWindowData().DueWindowFirstRow);
  }
}

}  // namespace

void RegisterDueUi() {
  RegisterPageLoader(kPanelName, [](MainWindow& main) {
    LoadedPage loaded;
    loaded.window = platform::ui::Window::Load(kPanelName);
    SetDuePanelHost(PanelHostIn(main));
    SetUpDuePanel(*loaded.window);
    loaded.Layout = LayoutDuePanel;
    return loaded;
  });
  ModuleSeams& seams = Seams();
  seams.ShowDueRemindersWindow = ShowDueRemindersWindow;
  seams.RefreshDuePage = RefreshDuePanel;
  seams.LoadedCovers.push_back(DueWindowCovers);
  seams.RelayoutForSkin.push_back({kSkinDuePage, RelayoutDuePage});
  seams.ListFontChanged.push_back(ListFontChanged);
  seams.CloseLoadedWindows.push_back(CloseDueRemindersWindow);
}

}  // namespace workmemo
