#pragma once
// The application object of the window layer, the screen, and the plain system message box.
#include <string_view>

namespace platform::ui {

// Creates the application object once (later calls do nothing): texts measured at 96 DPI,
// the Song face of the templates resolving to Inconsolata for Latin letters, AR PL UMing for
// Chinese and BabelStone Han for the rest, and Arial to Liberation Sans.
void StartApplication(int& argc, char** argv);
// Ends the application object that StartApplication made; call it before main returns,
// after every window is gone. `argc` and `argv` must live until then.
void StopApplication();
bool ApplicationStarted();

int RunEventLoop();              // until QuitEventLoop
void QuitEventLoop(int code = 0);
// Handles pending events, and keeps doing so for `milliseconds` (timers fire meanwhile).
void ProcessEvents(int milliseconds = 0);
// Handles the pending events other than the user's input once: windows repaint, but a click
// meanwhile waits until the running work is done.
void ProcessEventsExceptInput();

int ScreenWidth();
int ScreenHeight();
// Height of the desktop's panels: the screen less its available area.
int TaskbarHeight();
int PointerX();
int PointerY();

// The system's plain message box with an OK button; returns when it is closed.
void ShowSystemMessage(std::string_view text, std::string_view title);

}  // namespace platform::ui

#include <string>

#include "platform/ui/ui.h"

namespace platform::ui {

// The family the font system draws `font` with (after substitution), and the screen's DPI.
std::string ResolvedFontFamily(const Font& font);
int ScreenDpi();
// Pixel height of a line of text in `font`.
int FontLineHeight(const Font& font);

}  // namespace platform::ui
