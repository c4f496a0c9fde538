#pragma once
// The two password pages of the main window: the password page, on which a guarded request
// waits for the admin password, and the page on which the password is changed. Both are
// windows from their templates, painted on the main window's boxes; what they do is the
// password gate's and the password change's.
#include <functional>

#include "shell/page_registry.h"

namespace workmemo {

class MainWindow;

// PasswordCheckPanel: OK (or Enter in the box) checks the typed password through the gate,
// whose answer performs the recorded request; the check box ticks "log in once".
LoadedPage LoadPasswordCheckPanel(MainWindow& main);

// ChangePasswordPanel: OK changes the password in the three databases, cancel empties the
// boxes; both go back to the timed-reminder page.
LoadedPage LoadChangePasswordPanel(MainWindow& main);

// The same on a window already loaded from its template; each gives the page's layout.
std::function<void()> SetUpPasswordCheckPanel(MainWindow& main, platform::ui::Window& window);
std::function<void()> SetUpChangePasswordPanel(MainWindow& main, platform::ui::Window& window);

}  // namespace workmemo
