#include "test_hooks.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "platform/clock/clock.h"
#include "platform/os/tray.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/reminder_popup.h"
#include "reminders/ui/reminder_popup_units.h"
#include "shell/data_files.h"
#include "shell/main_window.h"
#include "shell/password_gate.h"
#include "shell/shell_services.h"
#include "shell/startup.h"

namespace workmemo::testhooks {

namespace ui = platform::ui;

namespace {

struct Hook {
  std::string commandPath;
  std::string logPath;
  std::streamoff commandsRead = 0;
  std::unique_ptr<ui::testing::Script> script;
  std::unique_ptr<ui::Window> pollWindow;
  platform::os::RecordingTrayIcon* tray = nullptr;
  std::map<std::string, bool> shown;
  std::size_t modalsLogged = 0;
  int showRequests = 0;
  std::string panel;
  std::string popupTitle;  // the title the loaded pop-up showed when last reported
  bool started = false;
};

Hook& TheHook() {
  static Hook hook;
  return hook;
}

void Log(const std::string& line) {
  std::FILE* f = std::fopen(TheHook().logPath.c_str(), "ab");
  if (f == nullptr) return;
  std::fprintf(f, "%s\n", line.c_str());
  std::fclose(f);
}

void ClickSprite(ui::Window& window, const std::string& name) {
  auto& box = window.UnitAs<ui::AnimationBox>("背景动画框");
  const int id = box.FindObject(name);
  if (id > 0) ui::testing::Click(box, box.ObjectLeft(id) + 5, box.ObjectTop(id) + 5);
  else window.Close();
}

void RunCommand(const std::string& line) {
  Hook& h = TheHook();
  std::istringstream in(line);
  std::string verb, rest;
  in >> verb;
  std::getline(in >> std::ws, rest);
  if (verb == "tray-left") {
    if (h.tray) h.tray->Click(platform::os::TrayClick::Left);
  } else if (verb == "tray-menu") {
    h.script->AnswerMenu(rest);
    if (h.tray) h.tray->Click(platform::os::TrayClick::Right);
  } else if (verb == "confirm") {  // the next modal box is answered with this sprite button
    h.script->AnswerWindow([rest](ui::Window& w) { ClickSprite(w, rest); }, 50);
  } else if (verb == "confirm-after") {  // the same, this many milliseconds after it opened
    std::istringstream args(rest);
    int delay = 0;
    std::string button;
    args >> delay >> button;
    h.script->AnswerWindow([button](ui::Window& w) { ClickSprite(w, button); }, delay);
  } else if (verb == "page") {  // a page of the main window opened as its button opens it
    ProgramGate().OpenPage(rest);
  } else if (verb == "password") {  // OK of the password page with this text typed
    ProgramGate().ConfirmPasswordPrompt(rest);
  } else if (verb == "remind-in") {  // a one-time reminder saved this many seconds from now
    std::istringstream words(rest);
    int seconds = 0;
    std::string title;
    words >> seconds;
    std::getline(words >> std::ws, title);
    ReminderRecord r;
    r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate =
        std::floor(platform::clock::Now() * 86400 + 0.5) / 86400 + seconds / 86400.0;
    r.txbt = title;
    Log(Databases().Reminders.SaveReminder(r) == 1 ? "saved " + title : "not-saved " + title);
  } else if (verb == "shown-rows") {  // what the list page and the calendar page show
    MainWindow* main = ProgramMainWindow();
    ui::Window* calendar = main != nullptr ? main->Page("MonthCalendarPanel") : nullptr;
    Log("list-rows " + std::to_string(ListPages().ListPageRowCount) + " calendar " +
        (calendar != nullptr ? calendar->Unit("提醒计数标签").Text() : std::string("none")));
  } else {
    Log("unknown-command " + line);
  }
}

void ReadCommands() {
  Hook& h = TheHook();
  std::ifstream in(h.commandPath, std::ios::binary);
  if (!in) return;
  in.seekg(h.commandsRead);
  std::string line;
  // Only whole lines: the test may be writing the next one.
  while (std::getline(in, line) && !in.eof()) {
    h.commandsRead = in.tellg();
    Log("command " + line);
    RunCommand(line);
  }
}

void Report() {
  Hook& h = TheHook();
  if (!h.started) {
    h.started = true;
    Log("running");
  }
  std::map<std::string, bool> now;
  for (ui::Window* w : LoadedFrameWindows()) now[w->Name()] = w->IsVisible();
  for (const auto& [name, visible] : now) {
    if (visible && !h.shown[name]) Log("shown " + name);
    h.shown[name] = visible;
  }
  for (auto& [name, visible] : h.shown) {
    if (visible && !now.count(name)) {
      Log("closed " + name);
      visible = false;
    }
  }
  const auto& modals = h.script->ModalWindows();
  for (; h.modalsLogged < modals.size(); ++h.modalsLogged) Log("modal " + modals[h.modalsLogged]);
  if (Startup().ShowRequests != h.showRequests) {
    h.showRequests = Startup().ShowRequests;
    Log("show-requests " + std::to_string(h.showRequests));
  }
  ReminderPopupWindow* popup = LoadedReminderPopup();
  const std::string popupTitle = popup != nullptr ? popup->SpriteText(popup::kTitleTextSprite) : std::string();
  if (popupTitle != h.popupTitle) {
    h.popupTitle = popupTitle;
    Log(popupTitle.empty() ? std::string("popup closed") : "popup " + popupTitle);
  }
  const MainWindow* main = ProgramMainWindow();
  const std::string& panel = main != nullptr ? main->ShownPage() : Startup().LastPanelShown;
  if (panel != h.panel) {
    h.panel = panel;
    Log("panel " + h.panel);
  }
}

void Start() {
  Hook& h = TheHook();
  h.script = std::make_unique<ui::testing::Script>();
  ShellServices& s = Services();
  auto plain = s.ShowPlainMessageBox;
  s.ShowPlainMessageBox = [plain](std::string_view text) {
    Log("message " + std::string(text));
    if (plain) plain(text);
  };
  auto skinned = s.ShowMessageBox;
  s.ShowMessageBox = [skinned](std::string_view text) {
    Log("message " + std::string(text));
    if (skinned) skinned(text);
  };
  h.pollWindow = ui::Window::FromJson(
      R"({"title": "hook", "width": 10, "height": 10,
          "units": [{"kind": "timer", "name": "t", "interval": 0}]})",
      "TestHook");
  h.pollWindow->On("t", ui::Event::Timer, [](ui::EventArgs&) {
    Report();
    ReadCommands();
  });
  h.pollWindow->Open(false);
  h.pollWindow->UnitAs<ui::Timer>("t").SetInterval(50);
  // Commands written before the start answer the boxes that the start itself opens.
  ReadCommands();
}

void End() {
  Hook& h = TheHook();
  h.started = true;  // "running" means the event loop ran
  Report();
  Log("end");
  h.pollWindow.reset();
  h.script.reset();
}

}  // namespace

void InstallIfRequested() {
  const char* commands = std::getenv("WORKMEMO_TEST_COMMANDS");
  const char* log = std::getenv("WORKMEMO_TEST_LOG");
  if (commands == nullptr || log == nullptr) return;
  Hook& h = TheHook();
  h.commandPath = commands;
  h.logPath = log;
  platform::os::SetTrayIconFactory([] {
    auto icon = std::make_unique<platform::os::RecordingTrayIcon>();
    TheHook().tray = icon.get();
    return std::unique_ptr<platform::os::TrayIcon>(std::move(icon));
  });
  SetStartupHook(Start, End);
}

}  // namespace workmemo::testhooks
