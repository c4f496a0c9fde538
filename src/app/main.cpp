// The organiser's entry point.
#include <cstdio>
#include <cstdlib>

#include "calendar/calendar_registration.h"
#include "due_notes/due_registration.h"
#include "due_notes/notes_registration.h"
#include "maintenance/maintenance_panel.h"
#include "reminders/ui/reminder_ui_registration.h"
#include "shell/main_window.h"
#include "shell/startup.h"

#ifdef WORKMEMO_TEST_HOOKS
#include "test_hooks.h"
#endif
#ifdef WORKMEMO_START_MARK
#include "start_mark.h"
#endif

namespace {

// Qt would abort with a long message of its own; say plainly what is missing instead.
bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

// The windows of the modules above the shell register with it before the start runs.
void RegisterModules() {
  workmemo::RegisterMainWindow();
  workmemo::RegisterReminderUi();
  workmemo::RegisterCalendarUi();
  workmemo::RegisterDueUi();
  workmemo::RegisterNotesUi();
  workmemo::RegisterMaintenanceUi();
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "workmemo: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                 "the organiser needs a graphical desktop.\n");
    return 2;
  }
#ifdef WORKMEMO_TEST_HOOKS
  workmemo::testhooks::InstallIfRequested();
#endif
#ifdef WORKMEMO_START_MARK
  workmemo::startmark::InstallIfRequested();
#endif
  RegisterModules();
  return workmemo::RunProgram(argc, argv);
}
