#include "shell/startup.h"


#include <cstdio>

#include "common/text_routines.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/image/image.h"
#include "platform/os/end_signals.h"
#include "platform/os/memory.h"
#include "platform/os/paths.h"
#include "platform/os/power.h"
#include "platform/os/single_instance.h"
#include "platform/os/tray.h"
#include "platform/text/text.h"
#include "platform/ui/app.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/countdown_window.h"
#include "shell/data_files.h"
#include "shell/help_window.h"
#include "shell/leftover_files.h"
#include "shell/message_box.h"
#include "shell/password_gate.h"
#include "shell/power_tasks.h"
#include "shell/reminder_tick.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "shell/splash_window.h"
#include "shell/tray_menu.h"
#include "shell/tray_notice_window.h"
#include "shell/ui_state.h"
#include "ui/skin_entry_names.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr char kQuietStartArgument[] = "aa";
constexpr char kTrayIconResource[] = ":/icons/workmemo-32.png";
constexpr int kTaskbarHeightLimit = 50;
constexpr int kTaskbarHeightCapped = 40;
constexpr int kDefaultSkinTransparency = 10;
constexpr char kNoRunLockMessage[] =
    "不能在程序目录中建立运行锁，无法保证只运行一个本软件，程序将退出：";
constexpr char kNoAnswerMessage[] =
    "本软件已在运行，但没有应答，无法显示它的主窗口，程序将退出：";

// Every program-wide object of the shell's frame; made at start, released at the end.
struct ProgramObjects {
  std::unique_ptr<platform::os::EndSignals> endSignals;
  std::unique_ptr<platform::os::SingleInstance> instance;
  std::unique_ptr<ui::Window> startupWindow;
  SplashWindowHolder splash;
  std::unique_ptr<PowerCountdown> countdown;
  std::unique_ptr<platform::os::TrayIcon> tray;
  ReminderTick tick;
  int reminderClockStops = 0;  // nested stops of 提醒时钟 not yet undone
  ReminderList dueCopies;  // the copies of the last check, kept until the next one
  std::unique_ptr<PasswordGate> ownGate;
};

std::unique_ptr<ProgramObjects>& Objects() {
  static std::unique_ptr<ProgramObjects> objects;
  return objects;
}

struct Hooks {
  std::function<void()> start;
  std::function<void()> end;
  std::function<void()> done;
};
Hooks& StartupHooks() {
  static Hooks hooks;
  return hooks;
}

void InitialiseGlobals() {
  Objects() = std::make_unique<ProgramObjects>();
  Startup() = StartupState();
  Splash() = SplashState();
  Ui() = UiState();
  PowerTasks() = PowerTaskState();
}

// In reverse order of dependence: windows and the icon go while the application object lives.
void ReleaseGlobals() {
  SetProgramPowerCountdown(nullptr);
  Objects().reset();
  Startup().StartupWindow = nullptr;
  Startup().MainWindow = nullptr;
  SkinEntryNames.clear();
  SkinEntryData.clear();
  Ui().BackgroundPicture.clear();
}

void WireServices() {
  ShellServices& s = Services();
  s.ShowMessageBox = [](std::string_view text) { ShowMessageBox(text); };
  s.ShowPlainMessageBox = [](std::string_view text) { ui::ShowSystemMessage(text, {}); };
  s.EndProgram = [](int code) { EndProgram(code); };
  s.StopReminderClock = StopReminderClock;
  s.RestartReminderClock = RestartReminderClock;
  PlaceWindowsOverMainWindow();
  SetSkinLoadServices(SkinLoadServices{
      [](const std::string& text) { Services().ShowPlainMessageBox(text); },
      [](int code) { EndProgram(code); },
  });
}

void ShowPanel(std::string_view page) {
  Startup().LastPanelShown = std::string(page);
  if (MainWindowAccess().ShowPanel) MainWindowAccess().ShowPanel(page);
}

PasswordGate& OwnOrRegisteredGate() {
  if (MainWindowAccess().Gate) {
    if (PasswordGate* gate = MainWindowAccess().Gate()) return *gate;
  }
  auto& own = Objects()->ownGate;
  if (!own) {
    GateHooks hooks;
    hooks.ShowPanel = [](std::string_view page) { ShowPanel(page); };
    hooks.AskConfirm = [](std::string_view question) { return ShowConfirmBox(question) == 1; };
    hooks.CloseProgram = [] { EndProgram(0); };
    hooks.OpenAddReminderEditor = SeamCaller(&ModuleSeams::OpenAddReminderEditor);
    hooks.LoadedCovers = [] { return AllLoadedCovers(); };
    own = std::make_unique<PasswordGate>(
        Run(), Settings(),
        StoredDigestCheck([] { return ReadAdminPasswordHash(Databases()); }),
        std::move(hooks));
  }
  return *own;
}

// The splash's last tick can come while a message box of the start waits for its answer,
// before the main window exists; the start then shows it when it has loaded it.
void ShowMainWindowAfterSplash() {
  StartupState& state = Startup();
  if (state.MainWindow == nullptr) {
    state.ShowMainWindowWhenLoaded = true;
    return;
  }
  ShowMainWindow(0);
}

// The start goes no further: said on the terminal and in the system's plain box, which names
// the program directory.
void SayAndEnd(const char* line, const std::string& lockPath, std::string_view message) {
  std::fprintf(stderr, "workmemo: %s %s\n", line, lockPath.c_str());
  if (Services().ShowPlainMessageBox)
    Services().ShowPlainMessageBox(std::string(message) + platform::os::ProgramDirectory());
  EndProgram(0);
}

// Step 1: returns false when another copy runs (it was asked to show itself, or said not to
// answer) or no lock could be taken (said, and the program ends).
bool EnsureSingleInstance() {
  auto& instance = Objects()->instance;
  instance = std::make_unique<platform::os::SingleInstance>(platform::os::ProgramDirectory());
  switch (instance->Acquire()) {
    case platform::os::SingleInstance::Result::AnotherCopy:
      AccessConfigItem("cx", "yyx", "1");
      EndProgram(0);
      return false;
    case platform::os::SingleInstance::Result::NoAnswer:
      // The user would otherwise wait for a window that never comes.
      AccessConfigItem("cx", "yyx", "1");
      SayAndEnd("the running copy did not answer; it holds the single-instance lock", instance->LockFilePath(),
                kNoAnswerMessage);
      return false;
    case platform::os::SingleInstance::Result::Failed:
      // Without the lock nothing keeps a second copy off the same files: nothing more of the
      // start runs.
      SayAndEnd("cannot take the single-instance lock", instance->LockFilePath(), kNoRunLockMessage);
      return false;
    case platform::os::SingleInstance::Result::First:
      instance->SetShowRequestHandler(HandleShowRequest);
      return true;
  }
  return true;
}

void WriteVersionStamp() {
  if (AccessConfigItem("mrvbwl", "bbh", {}, true) != kProgramVersion)
    AccessConfigItem("mrvbwl", "bbh", kProgramVersion);
}

void StartReminderClock(ui::Window& startupWindow) {
  auto& clock = startupWindow.UnitAs<ui::Timer>("提醒时钟");
  startupWindow.On("提醒时钟", ui::Event::Timer, [](ui::EventArgs&) { TickReminderClock(); });
  clock.SetInterval(MillisecondsToNextSecond());
}

TrayActions ProgramTrayActions() {
  TrayActions a;
  a.ShowMainWindow = [] { ShowMainWindow(0); };
  a.ShowTodayWindow = SeamCaller(&ModuleSeams::ShowTodayWindow);
  a.ShowDesktopClock = SeamCaller(&ModuleSeams::ShowDesktopClock);
  a.AddReminder = AddReminderFromTray;
  a.StopMusic = SeamCaller(&ModuleSeams::StopMusic);
  a.ShowHelpWindow = [] { ShowHelpWindow(); };
  a.ShowAboutWindow = ShowAboutWindow;
  a.ExitFromTray = ExitFromTray;
  return a;
}

}  // namespace

MainWindowSeam& MainWindowAccess() {
  static MainWindowSeam seam;
  return seam;
}

StartupState& Startup() {
  static StartupState state;
  return state;
}

void SetStartupHook(std::function<void()> start, std::function<void()> end) {
  StartupHooks().start = std::move(start);
  StartupHooks().end = std::move(end);
}

void SetStartupDoneHook(std::function<void()> done) { StartupHooks().done = std::move(done); }

bool TodayWindowOpensAtStart(const ProgramSettings& settings, const ReminderStore& store, double now) {
  if (settings.ShowTodayWindowAtStart != 1) return false;
  if (settings.HideTodayWindowWhenEmpty != 1) return true;
  ReminderList today;
  store.CollectRemindersOnDay(now, today);
  return !today.empty();
}

int CappedTaskbarHeight(int measured) {
  return measured > kTaskbarHeightLimit ? kTaskbarHeightCapped : measured;
}

int ReadSkinTransparency() {
  const std::string stored = AccessConfigItem("pf", "pftmd", {}, true);
  // The skins page offers and stores "0": that choice stays. Anything else outside 1 to 90,
  // or no value at all, gives 10.
  if (stored == "0") return 0;
  const int value = TextToInteger(stored);
  return value < 1 || value > 90 ? kDefaultSkinTransparency : value;
}

std::string ChooseBackgroundPicture() {
  SkinPainter painter;
  std::string picture;
  const std::string festival = painter.FestivalToday();
  if (!festival.empty()) {
    picture = FindSkinEntry(festival + std::string(skin::kFestivalPictureWord) + "1");
  } else {
    const int n = TextToInteger(ReadConfigItemOr("pf", "bjtp", "0"));
    if (n > 0) {
      picture = FindSkinEntry(std::string(skin::kBackgroundPicturePrefix) + std::to_string(n));
    } else if (n < 0) {
      // Negated in 64 bits: the smallest integer has no 32-bit negation.
      const std::string path =
          AccessConfigItem("pf", "yhtp" + std::to_string(-static_cast<std::int64_t>(n)), {}, true);
      if (!path.empty()) picture = platform::image::ReadPictureFile(path);
    } else {
      const int c = TextToInteger(ReadConfigItemOr("pf", "cstp", "1"));
      picture = FindSkinEntry(std::string(skin::kSolidColourPicturePrefix) +
                              std::to_string(c > 0 ? c : 1));
    }
  }
  if (picture.empty())
    picture = FindSkinEntry(std::string(skin::kSolidColourPicturePrefix) + "1");
  return picture;
}

void RunStartupSequence() {
  StartupState& state = Startup();
  if (!EnsureSingleInstance()) return;
  // This copy holds the lock, so no other copy is writing beside the same files: what is
  // there of a killed run's writes is left over.
  RemoveLeftoverTemporaryFiles();

  WriteVersionStamp();
  // The files are opened, checked and read on threads of their own from here on.
  BeginOpeningDataFiles(Databases());
  Ui().LabelFontSize = 11;
  state.TaskbarHeight = CappedTaskbarHeight(ui::TaskbarHeight());
  Settings().TaskbarHeight = state.TaskbarHeight;

  const auto& args = state.CommandLineArguments;
  if (args.empty() || args.front() != kQuietStartArgument)
    Objects()->splash.ShowSplash(ShowMainWindowAfterSplash);

  const std::string programDirectory = platform::os::ProgramDirectory();
  InstallAndLoadSkinPackage(programDirectory, skin::kProductName);
  if (state.Ending) return;
  // Said once, as soon as a skinned box can show it; the reads before took every default.
  if (const std::string damaged = DamagedConfigFileMessage(); !damaged.empty() && Services().ShowMessageBox)
    Services().ShowMessageBox(damaged);
  PaintMenuWithSkin(state.StartupWindow->UnitAs<ui::Menu>("菜单"));

  Settings().SkinTransparency = ReadSkinTransparency();
  Ui().BackgroundPicture = ChooseBackgroundPicture();

  OpenDataFilesBeforeWindows(Databases(), Services(), Settings());
  if (state.Ending) return;
  LoadSettings();

  if (MainWindowAccess().Load) state.MainWindow = MainWindowAccess().Load();
  if (state.Ending) return;
  // The windows were built while the timed reminders were read: the pages show them now.
  if (FinishLoadingTimedReminders(Databases(), Services())) CallEachSeam(Seams().TimedRemindersReread);
  // The reminders are loaded now: the seconds the rest of the start takes are checked by the
  // first tick, so a slow start loses no reminder.
  const platform::clock::WallClockReading loaded = platform::clock::ReadWallClock();
  Databases().ListPageHoldsFullRead = false;  // it served the list page's first fill only
  if (state.Ending) return;
  if (TodayWindowOpensAtStart(Settings(), Databases().Reminders, platform::clock::Now()))
    CallSeam(&ModuleSeams::ShowTodayWindow);
  if (IsFlagOn(AccessConfigItem("szck", "szckxs", {}, true))) CallSeam(&ModuleSeams::ShowDesktopClock);

  ui::Window& startupWindow = *state.StartupWindow;
  Objects()->tick.StartAfter(platform::clock::SecondsFromSerial(loaded.now), loaded.utcOffset);
  StartReminderClock(startupWindow);
  Objects()->tray = InstallTrayIcon(
      startupWindow, platform::files::ReadResource(kTrayIconResource).value_or(std::string()),
      skin::kProductName, ProgramTrayActions());
  if (state.ShowMainWindowWhenLoaded) ShowMainWindow(0);
  platform::os::TrimWorkingSet();
  if (StartupHooks().done) StartupHooks().done();
}

void ShowMainWindow(int positionState) {
  ui::Window* w = Startup().MainWindow;
  if (w == nullptr || w->IsClosed()) return;
  if (positionState == 1) {
    w->Move((ui::ScreenWidth() - w->Width()) / 2, (ui::ScreenHeight() - w->Height()) / 2);
  }
  w->Show();
  // On top for a moment brings it in front without keeping it there.
  w->SetTopmost(true);
  w->SetTopmost(false);
  w->Activate();
}

void PlaceWindowsOverMainWindow() {
  ui::Window::SetPlacementOwner([]() -> const ui::Window* {
    ui::Window* main = Startup().MainWindow;
    return main != nullptr && !main->IsClosed() ? main : nullptr;
  });
}

void HandleShowRequest() {
  Startup().ShowRequests += 1;
  ShowMainWindow(0);
}

void RequestExit() { ProgramGate().RequestExit(); }

PasswordGate& ProgramGate() { return OwnOrRegisteredGate(); }

bool ProgramHasTray() {
  const ProgramObjects* objects = Objects().get();
  return objects != nullptr && objects->tray && objects->tray->IsVisible() &&
         platform::os::IsTrayAvailable();
}

std::vector<ui::Window*> LoadedFrameWindows() {
  std::vector<ui::Window*> windows;
  ProgramObjects* objects = Objects().get();
  if (objects == nullptr) return windows;
  if (ui::Window* w = objects->splash.LoadedWindow()) windows.push_back(w);
  if (objects->countdown) {
    if (ui::Window* w = objects->countdown->LoadedWindow()) windows.push_back(w);
  }
  if (ui::Window* w = Startup().MainWindow; w != nullptr && !w->IsClosed()) windows.push_back(w);
  return windows;
}

void ExitFromTray() {
  ui::Window* w = Startup().MainWindow;
  if (w != nullptr && !w->IsVisible()) ShowMainWindow(1);
  RequestExit();
}

void AddReminderFromTray() {
  ShowPanel(kPageTimedReminders);
  const RunState& run = Run();
  // The password page lives in the main window: without it shown the user would see nothing.
  if (Settings().AddReminderNeedsPassword == 1 && run.PasswordEntered == 0 &&
      run.TimedReminderPageUnlocked == 0)
    ShowMainWindow(0);
  CallSeam(&ModuleSeams::OpenAddReminderEditor);
}

void ShowAboutWindow() {
  if (Objects()) Objects()->splash.ShowAbout();
}

void EndProgram(int exitCode) {
  StartupState& state = Startup();
  if (!state.Ending || state.ExitCode == 0) state.ExitCode = exitCode;
  state.Ending = true;
  // Every event loop ends, nested ones first; the end itself runs once they have unwound.
  ui::QuitEventLoop(state.ExitCode);
}

void CloseStartupWindow() {
  ProgramDatabases& db = Databases();
  WaitForDataFileReading(db);
  db.Reminders.CloseDatabase();
  db.DueConnection.Close();
  db.NotesConnection.Close();
  CallSeam(&ModuleSeams::StopMusic);
  ProgramObjects* objects = Objects().get();
  if (objects == nullptr) return;
  if (ui::Window* main = Startup().MainWindow; main != nullptr && !main->IsClosed()) main->Close();
  // Its module releases it with the windows below.
  Startup().MainWindow = nullptr;
  CallEachSeam(Seams().CloseLoadedWindows);
  if (objects->countdown) objects->countdown->Close();
  objects->splash.Close();
  CloseHelpWindow();
  CloseTrayNotice();
  if (objects->tray) objects->tray->Hide();
  if (objects->startupWindow && !objects->startupWindow->IsClosed()) {
    objects->startupWindow->UnitAs<ui::Timer>("提醒时钟").SetInterval(0);
    objects->startupWindow->Close();
  }
}

bool RunReminderSystemTask(const ReminderRecord& r) {
  using platform::os::PowerRequest;
  switch (r.txrw) {
    case ReminderTask::Shutdown:
    case ReminderTask::LogOff:
    case ReminderTask::Restart:
      if (PowerCountdown* countdown = ProgramPowerCountdown()) countdown->Start(r.txrw, r.gjys, r.qzzx);
      return true;
    case ReminderTask::MonitorOff:
      platform::os::CurrentPowerBackend().Perform(PowerRequest::MonitorOff, false);
      return true;
    case ReminderTask::LockComputer:
      platform::os::CurrentPowerBackend().Perform(PowerRequest::LockScreen, false);
      return true;
    default:
      return false;
  }
}

void DefaultFireDueReminders(double second) {
  ProgramObjects* objects = Objects().get();
  if (objects == nullptr) return;
  ReminderList& due = objects->dueCopies;
  due.clear();
  Databases().Reminders.CollectDueReminders(second, due);
  for (const ReminderRecord& r : due) RunReminderSystemTask(r);
}

void TickReminderClock() {
  ProgramObjects* objects = Objects().get();
  if (objects == nullptr) return;
  const auto& fire = Seams().FireDueReminders;
  CheckDueSeconds(objects->tick, fire ? fire : DefaultFireDueReminders);
  if (objects->reminderClockStops == 0 && objects->startupWindow && !objects->startupWindow->IsClosed())
    objects->startupWindow->UnitAs<ui::Timer>("提醒时钟").SetInterval(MillisecondsToNextSecond());
}

void StopReminderClock() {
  ProgramObjects* objects = Objects().get();
  if (objects == nullptr) return;
  ++objects->reminderClockStops;
  if (objects->startupWindow && !objects->startupWindow->IsClosed())
    objects->startupWindow->UnitAs<ui::Timer>("提醒时钟").SetInterval(0);
}

void RestartReminderClock() {
  ProgramObjects* objects = Objects().get();
  if (objects == nullptr || objects->reminderClockStops == 0) return;
  if (--objects->reminderClockStops > 0) return;
  // The tick remembers the last second it checked, so its next run makes up the pause.
  if (objects->startupWindow && !objects->startupWindow->IsClosed() && !Startup().Ending)
    objects->startupWindow->UnitAs<ui::Timer>("提醒时钟").SetInterval(MillisecondsToNextSecond());
}

int RunProgram(int& argc, char** argv) {
  ui::StartApplication(argc, argv);
  InitialiseGlobals();
  WireServices();
  // A logout, a shutdown or a kill ends the program as its own end does, without its
  // questions; the start reaches the signal once it waits on events.
  Objects()->endSignals = std::make_unique<platform::os::EndSignals>([] { EndProgram(0); });
  StartupState& state = Startup();
  for (int i = 1; i < argc; ++i) state.CommandLineArguments.push_back(platform::text::FromUtf8(argv[i]));

  ProgramObjects& objects = *Objects();
  objects.startupWindow = ui::Window::Load("StartupWindow");
  ui::Window& startupWindow = *objects.startupWindow;
  state.StartupWindow = &startupWindow;
  auto& shutdownClock = startupWindow.UnitAs<ui::Timer>("关机时钟");
  objects.countdown = std::make_unique<PowerCountdown>(shutdownClock);
  SetProgramPowerCountdown(objects.countdown.get());
  startupWindow.On("关机时钟", ui::Event::Timer, [](ui::EventArgs&) {
    if (Objects() && Objects()->countdown) Objects()->countdown->Tick();
  });
  BindTrayMenu(startupWindow, ProgramTrayActions());
  if (StartupHooks().start) StartupHooks().start();
  startupWindow.On({}, ui::Event::Created, [](ui::EventArgs&) { RunStartupSequence(); });
  startupWindow.Open(false);

  if (!state.Ending) ui::RunEventLoop();
  CloseStartupWindow();
  if (StartupHooks().end) StartupHooks().end();
  const int exitCode = state.ExitCode;
  ReleaseGlobals();
  ui::StopApplication();
  return exitCode;
}

}  // namespace workmemo
