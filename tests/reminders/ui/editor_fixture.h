#pragma once
// The reminder editor on real windows offscreen: the built-in skin, a fresh program directory
// with a timed-reminder data file written from its image, a settable clock standing on
// Wednesday 10 February 2016 at 09:30:00, recorded messages and a password gate of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/database_constants.h"
#include "gui_test.h"
#include "platform/clock/clock.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_editor.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "shell/data_files.h"
#include "shell/module_seams.h"
#include "shell/password_gate.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "shell/startup.h"
#include "shell/ui_state.h"
#include "test_support.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace workmemo::testing {

namespace ui = platform::ui;

inline double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return MakeDateTime(y, mo, d, h, mi, s); }
inline std::string Stamp(double t) { return platform::clock::FormatStored(t); }

class EditorTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
    const auto skin = ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(skin.has_value());
    SkinEntryNames = skin->names;
    SkinEntryData = skin->data;
    Ui() = UiState();
    Ui().BackgroundPicture = FindSkinEntry("背景图片1");
    Settings() = ProgramSettings();
    Settings().ListFontSize = 11;
    Settings().SkinTransparency = 10;
    Settings().KeepLastReminderSettings = 1;
    workmemo::Run() = RunState();
    Editor() = ReminderEditorState();
    SetNow(At(2016, 2, 10, 9, 30, 0));
    const std::string path = home.File("dstx2.dat");
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "dstx2.dat"));
    ASSERT_EQ(Databases().Reminders.OpenDatabase(path, kDatabasePassword), 1);
    Databases().Reminders.LoadReminders();  // none from an earlier test's file
    Services().ShowMessageBox = [this](std::string_view m) { messages.emplace_back(m); };
    Services().ShowPlainMessageBox = [this](std::string_view m) { plainMessages.emplace_back(m); };
    GateHooks hooks;
    hooks.ShowPanel = [this](std::string_view page) { panels.emplace_back(page); };
    hooks.OpenAddReminderEditor = [] { OpenAddReminderEditor(); };
    hooks.OpenModifyReminderEditor = [] { OpenModifyReminderEditor(); };
    gate = std::make_unique<PasswordGate>(workmemo::Run(), Settings(), [](std::string_view typed) { return typed == "pw"; },
                                          std::move(hooks));
    MainWindowAccess().Gate = [this] { return gate.get(); };
  }
  void TearDown() override {
    if (window && !window->IsClosed()) window->Close();
    window.reset();
    Databases().Reminders.CloseDatabase();
    ListPageReminders().clear();
    ListPages() = ReminderListPages();
    MainWindowAccess() = MainWindowSeam();
    Seams() = ModuleSeams();
    PanelActions() = ReminderPanelActions();
    Services() = ShellServices();
    Editor() = ReminderEditorState();
    workmemo::Run() = RunState();
    Settings() = ProgramSettings();
    platform::clock::ClearForTest();
    ::unsetenv("WORKMEMO_HOME");
    GuiTest::TearDown();
  }

  // Public: the cases of table tests drive the editor through them.
 public:
  static void SetNow(double t) { platform::clock::SetForTest(t); }

  // The editor opened without its modal loop, for a new reminder or for `editedId`.
  ui::Window& OpenEditor(int editedId = 0) {
    workmemo::Run().EditedReminderId = editedId;
    window = LoadWindow(kReminderEditorName);
    SetUpReminderEditor(*window);
    window->Open(false);
    return *window;
  }

  ui::Window& W() const { return ReminderEditorWindow() != nullptr ? *ReminderEditorWindow() : *window; }
  std::string T(std::string_view unit) const { return W().Unit(unit).Text(); }
  void Set(std::string_view unit, std::string_view text) const { W().Unit(unit).SetText(text); }
  bool Shown(std::string_view unit) const { return W().Unit(unit).IsVisible(); }
  bool Enabled(std::string_view unit) const { return W().Unit(unit).IsEnabled(); }
  // The user chooses an item of a combo box (by its text).
  void Choose(std::string_view combo, std::string_view item) const {
    auto& box = W().UnitAs<ui::ComboBox>(combo);
    int index = -1;
    for (int i = 0; i < box.ItemCount(); ++i)
      if (box.ItemText(i) == item) index = i;
    ASSERT_GE(index, 0) << testsupport::Show(item);
    box.SetCurrentIndex(index);
    Fire(combo, ui::Event::Changed);
  }
  void Fire(std::string_view unit, ui::Event event) const {
    ui::EventArgs args;
    W().Fire(unit, event, args);
  }
  void Click(std::string_view unit) const { Fire(unit, ui::Event::Clicked); }
  void Ok() const { Click("图形按钮4"); }
  bool Ticked(std::string_view button) const { return W().Unit(button).Tag() == "选择选中"; }
  std::string Date() const { return T("年框") + "-" + T("月框") + "-" + T("日框"); }
  std::string EndDate() const { return T("年框1") + "-" + T("月框1") + "-" + T("日框1"); }
  std::string Time() const { return T("时框") + ":" + T("分框") + ":" + T("秒框"); }
  void SetTime(std::string_view h, std::string_view m, std::string_view s) const {
    Set("时框", h);
    Set("分框", m);
    Set("秒框", s);
  }
  void SetDate(std::string_view y, std::string_view m, std::string_view d) const {
    Set("年框", y);
    Set("月框", m);
    Set("日框", d);
  }
  int Rows() { return Databases().Reminders.CountReminders(); }
  std::string LastMessage() const { return messages.empty() ? std::string() : messages.back(); }
  // The reminders due in that second, by id.
  std::vector<int> FiringAt(double second) {
    ReminderList due;
    Databases().Reminders.CollectDueReminders(second, due);
    std::vector<int> ids;
    for (const ReminderRecord& r : due) ids.push_back(r.id);
    return ids;
  }
  int SaveRecord(ReminderRecord r) {
    r.id = 0;
    EXPECT_EQ(Databases().Reminders.SaveReminder(r), 1);
    return r.id;
  }

  testsupport::TempDir home;
  std::unique_ptr<ui::Window> window;
  std::unique_ptr<PasswordGate> gate;
  std::vector<std::string> messages, plainMessages, panels;
};

}  // namespace workmemo::testing
