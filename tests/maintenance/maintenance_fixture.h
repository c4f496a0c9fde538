#pragma once
// The data-maintenance page over the three data files written fresh from their images, as
// the program's live files; questions answered by the test script, messages recorded, and
// the reminder timer stood in for by the tick itself on the settable clock.
#include <memory>
#include <string>
#include <vector>

#include "common/database_constants.h"
#include "gui_test.h"
#include "maintenance/maintained_data.h"
#include "maintenance/maintenance_panel.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/files.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "program_files.h"
#include "reminders/store/reminder_record.h"
#include "shell/data_files.h"
#include "shell/module_seams.h"
#include "shell/notes_table.h"
#include "shell/reminder_tick.h"
#include "shell/shell_services.h"
#include "test_support.h"

namespace workmemo::maintenance_test {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;
namespace files = platform::files;
using testsupport::Show;

inline double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return platform::clock::SerialFromFields({y, mo, d, h, mi, s});
}

class MaintenanceTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ASSERT_TRUE(testsupport::LoadBuiltInSkin());
    now = At(2024, 5, 10, 10, 0, 0);
    platform::clock::SetForTest(now);
    ASSERT_TRUE(testsupport::OpenFreshDataFiles(dir));
    ProgramDatabases& data = Databases();
    data.TimedReminderDbPath = dir.File("dstx2.dat");
    data.DueDbPath = dir.File("dqtx2.dat");
    data.NotesDbPath = dir.File("jsb2.dat");
    data.DatabasePassword = kDatabasePassword;
    Services().ShowMessageBox = [this](std::string_view m) { messages.emplace_back(m); };
    // The reminder timer: stopped, nothing is checked; restarted, its first tick makes up the
    // seconds missed, as the program's timer does.
    Services().StopReminderClock = [this] {
      ++stops;
      clockRunning = false;
      now += pauseSeconds / 86400.0;  // the time the work on the closed file takes
      platform::clock::SetForTest(now);
    };
    Services().RestartReminderClock = [this] {
      openAtRestart = Databases().Reminders.IsOpen();
      clockRunning = true;
      Tick();
    };
    tick.StartAfter(platform::clock::SecondsFromSerial(now), platform::clock::UtcOffsetSeconds());
    page = LoadWindow("DataMaintenancePanel");
    SetUpDataMaintenancePanel(nullptr, *page);
    page->Open(false);
  }
  void TearDown() override {
    page->Close();
    page.reset();
    testsupport::CloseDataFiles();
    Services() = ShellServices();
    Seams() = ModuleSeams();
    Maintenance() = MaintenanceState();
    files::ClearFaultsForTest();
    platform::clock::ClearForTest();
    GuiTest::TearDown();
  }

  // One tick of the reminder timer at the clock's now: every second since the last one.
  void Tick() {
    if (!clockRunning) return;
    CheckDueSeconds(tick, [this](double second) {
      ReminderList due;
      Databases().Reminders.CollectDueReminders(second, due);
      for (const ReminderRecord& r : due) fired.push_back(r.txbt);
    });
  }
  void AdvanceTo(double when) {
    now = when;
    platform::clock::SetForTest(now);
    Tick();
  }

  int AddReminder(const std::string& title, double when) {
    ReminderRecord r;
    r.txfs = RepeatMode::Once;
    r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate = when;
    r.txbt = title;
    EXPECT_EQ(Databases().Reminders.SaveReminder(r), 1);
    return r.id;
  }
  int AddNote(const std::string& title) {
    NoteRecordRow note{0, title, "内容", "工作", At(2024, 5, 1)};
    EXPECT_EQ(InsertNoteRow(Databases(), note, At(2024, 5, 1)), 1);
    return note.id;
  }
  void AddDue(const std::string& customer, const std::string& project, double due) {
    ASSERT_EQ(Databases().DueConnection.Execute("insert into dqsj(khmc,xmmc,dqdate) values ('" + customer + "','" +
                                                project + "','" + platform::clock::FormatStored(due) + "')"),
              1);
  }
  static int Count(platform::db::Connection& c, const std::string& table) {
    platform::db::RecordSet rs;
    if (rs.Open(c, "select count(*) from " + table) != 1) return -1;
    return static_cast<int>(rs.IntegerAt(1));
  }
  int CountOf(DataKind kind) {
    ProgramDatabases& data = Databases();
    switch (kind) {
      case DataKind::Timed: return Count(data.Reminders.Connection(), "txsj");
      case DataKind::Due: return Count(data.DueConnection, "dqsj");
      case DataKind::Notes: break;
    }
    return Count(data.NotesConnection, "jsbsj");
  }

  // The next confirmation box answered 确定 (or 取消).
  void Answer(bool yes = true) {
    script->AnswerWindow([yes](ui::Window& box) {
      auto& background = box.UnitAs<ui::AnimationBox>("背景动画框");
      const int id = background.FindObject(yes ? "确定按钮" : "取消按钮");
      ASSERT_GT(id, 0);
      drive::Click(background, background.ObjectLeft(id) + 5, background.ObjectTop(id) + 5);
    });
  }
  // The next backup-password prompt: each typed password tried in turn, then closed unless
  // one was taken.
  void AnswerPrompt(std::vector<std::string> typed) {
    script->AnswerWindow([typed](ui::Window& prompt) {
      for (const std::string& t : typed) {
        if (prompt.IsClosed()) return;
        prompt.Unit("备份密码框").SetText(t);
        prompt.UnitAs<ui::PictureButton>("提示确定按钮").Click();
      }
      if (!prompt.IsClosed()) prompt.UnitAs<ui::PictureButton>("关闭按钮").Click();
    });
  }
  void Click(std::string_view button) { page->UnitAs<ui::PictureButton>(button).Click(); }

  // The names the database engine keeps beside each live file (journal, write-ahead log and
  // its index), some spelt through "./".
  std::vector<std::string> EngineNamesBesideTheLiveFiles() const {
    std::vector<std::string> names;
    for (const char* file : {"dstx2.dat", "dqtx2.dat", "jsb2.dat"}) {
      for (const char* suffix : {"-journal", "-wal", "-shm"})
        names.push_back(dir.File((names.size() % 2 == 0 ? "" : "./") + std::string(file) + suffix));
    }
    return names;
  }

  testsupport::TempDir dir;
  testsupport::TempDir elsewhere;
  std::unique_ptr<ui::Window> page;
  std::vector<std::string> messages;
  std::vector<std::string> fired;
  ReminderTick tick;
  double now = 0;
  double pauseSeconds = 0;
  bool clockRunning = true;
  bool openAtRestart = false;
  int stops = 0;
};

}  // namespace workmemo::maintenance_test
