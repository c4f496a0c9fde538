#pragma once
// The program as the reminder check and its pop-up see it, offscreen: the built-in skin, a
// fresh program directory with a data file the store opens, the list page loaded, the
// countdown on a StartupWindow's timer, a password gate, and recording fakes for power,
// sound and the shell's opener. Messages are recorded, or answered by a test's own routine.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/database_constants.h"
#include "gui_test.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/os/power.h"
#include "platform/os/shell_open.h"
#include "platform/os/sound.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_firing.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/reminder_popup.h"
#include "reminders/ui/reminder_popup_units.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "shell/countdown_window.h"
#include "shell/data_files.h"
#include "shell/module_seams.h"
#include "shell/password_gate.h"
#include "shell/power_tasks.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "shell/startup.h"
#include "test_support.h"
#include "ui/skin_package.h"

namespace workmemo::testing {

class PopupFixture : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
    const auto skin = ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(skin.has_value());
    SkinEntryNames = skin->names;
    SkinEntryData = skin->data;
    Settings() = ProgramSettings();
    Settings().ListFontSize = 11;
    Settings().SkinTransparency = 10;
    workmemo::Run() = RunState();
    PowerTasks() = PowerTaskState();
    Popup() = PopupState();
    PopupQueue().clear();
    SetNow(MakeDateTime(2016, 2, 7, 8, 0, 0));
    ASSERT_TRUE(platform::files::MakeDirs(home.File("data")));
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(home.File("data/dstx2.dat"), "dstx2.dat"));
    ASSERT_EQ(Databases().Reminders.OpenDatabase(home.File("data/dstx2.dat"), kDatabasePassword), 1);
    Databases().Reminders.LoadReminders();  // nothing of an earlier test's file stays loaded
    ReminderList none;
    Databases().Reminders.CollectDueReminders(0, none);  // nor the second it checked last
    Services().ShowMessageBox = [this](std::string_view m) {
      messages.emplace_back(m);
      if (onMessage) onMessage();
    };
    Services().ShowPlainMessageBox = [this](std::string_view m) { plainMessages.emplace_back(m); };
    platform::os::SetPowerBackend(&power);
    platform::os::SetSoundBackend(&sound);
    platform::os::SetShellOpener(&opener);
    startup = LoadWindow("StartupWindow");
    countdown = std::make_unique<PowerCountdown>(startup->UnitAs<platform::ui::Timer>("关机时钟"));
    SetProgramPowerCountdown(countdown.get());
    GateHooks hooks;
    hooks.LoadedCovers = [] { return AllLoadedCovers(); };
    gate = std::make_unique<PasswordGate>(workmemo::Run(), Settings(),
                                          StoredDigestCheck([] { return Databases().Reminders.ReadPasswordHash(); }),
                                          std::move(hooks));
    MainWindowAccess().Gate = [this] { return gate.get(); };
    if (!registered) {
      RegisterReminderFiring();
      registered = true;
    }
    page = LoadWindow("TimedReminderPanel");
    SetReminderPanelHost({});
    SetUpTimedReminderPanel(*page);
    page->Open(false);
  }

  void TearDown() override {
    EXPECT_TRUE(platform::os::WaitForShellOpensForTest());  // no opening thread outlives the opener
    CloseReminderPopup();
    countdown->Close();
    SetProgramPowerCountdown(nullptr);
    countdown.reset();
    startup.reset();
    page->Close();
    page.reset();
    MainWindowAccess() = MainWindowSeam();
    Databases().Reminders.CloseDatabase();
    ListPageReminders().clear();
    ListPages() = ReminderListPages();
    PopupQueue().clear();
    Services() = ShellServices();
    platform::os::SetPowerBackend(nullptr);
    platform::os::SetSoundBackend(nullptr);
    platform::os::SetShellOpener(nullptr);
    platform::clock::ClearForTest();
    ::unsetenv("WORKMEMO_HOME");
    GuiTest::TearDown();
  }

  static void SetNow(double serial) { platform::clock::SetForTest(serial); }

  // A reminder saved to the data file and the store's list, firing once at `when`.
  int SaveOnce(double when, std::function<void(ReminderRecord&)> adjust = {}) {
    ReminderRecord r;
    r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate = when;
    r.txfs = RepeatMode::Once;
    r.txlx = "工作";
    r.txbt = "提醒 " + std::to_string(++saved);
    if (adjust) adjust(r);
    EXPECT_EQ(Databases().Reminders.SaveReminder(r), 1);
    return r.id;
  }

  // The reminder check of `second`, run a moment after it as the tick does.
  void Fire(double second) {
    SetNow(second + 0.5 / 86400);
    FireDueReminders(second);
  }

  // An empty file at `name` in the program directory; executable for a program.
  std::string MakeFile(const std::string& name, bool executable = false) {
    const std::string path = home.File(name);
    EXPECT_TRUE(platform::files::WriteAll(path, "x"));
    if (executable)
      std::filesystem::permissions(path, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    return path;
  }

  ReminderPopupWindow* Shown() { return LoadedReminderPopup(); }
  std::string Text(std::string_view sprite) { return Shown()->SpriteText(sprite); }
  bool Visible(std::string_view sprite) {
    return Shown()->window().UnitAs<platform::ui::AnimationBox>(popup::kBackgroundBox).IsObjectVisible(
        Shown()->SpriteId(sprite));
  }
  std::string Counter() { return Shown() != nullptr ? Shown()->SpriteText(popup::kCountSprite) : std::string(); }
  // What the opens begun so far opened, once they have all ended.
  std::vector<std::string> Opened() {
    EXPECT_TRUE(platform::os::WaitForShellOpensForTest());
    std::vector<std::string> targets;
    for (const auto& call : opener.Calls()) targets.push_back(call.target);
    return targets;
  }
  // Clicks a sprite of the pop-up's background box as the user does.
  void ClickSprite(std::string_view name) {
    auto& box = Shown()->window().UnitAs<platform::ui::AnimationBox>(popup::kBackgroundBox);
    const int id = Shown()->SpriteId(name);
    ASSERT_GT(id, 0) << testsupport::Show(std::string(name));
    platform::ui::testing::Click(box, box.ObjectLeft(id) + 3, box.ObjectTop(id) + 3);
  }

  testsupport::TempDir home;
  std::unique_ptr<platform::ui::Window> startup;
  std::unique_ptr<PowerCountdown> countdown;
  std::unique_ptr<PasswordGate> gate;
  std::unique_ptr<platform::ui::Window> page;
  platform::os::RecordingPowerBackend power;
  platform::os::RecordingSoundBackend sound;
  platform::os::RecordingShellOpener opener;
  std::vector<std::string> messages, plainMessages;
  std::function<void()> onMessage;  // runs inside a message box, as a timer may
  int saved = 0;
  static inline bool registered = false;
};

}  // namespace workmemo::testing
