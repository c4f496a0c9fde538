// Every save and every maintenance operation with writes failing part-way: through a file-size
// limit (the signal it raises ignored, so writes fail with EFBIG) and through a write failure
// injected into the file and database layers. The live files stay whole and open, what was
// saved before is all there, and the program goes on.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include "maintenance/maintenance_operations.h"
#include "maintenance_fixture.h"
#include "shell/settings.h"

namespace workmemo::maintenance_test {
namespace {

// Lowers the file-size limit to `bytes` while it lives; SIGXFSZ ignored, as a desktop
// session may well have it.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit saved_{};
  void (*previous_)(int) = SIG_DFL;
};

class FailingWritesTest : public MaintenanceTest {
 protected:
  void SetUp() override {
    MaintenanceTest::SetUp();
    ::setenv("WORKMEMO_HOME", dir.path().c_str(), 1);
    ASSERT_TRUE(StoreConfigItem("pf", "pftmd", "20"));
    for (int k = 0; k < 5; ++k) {
      AddReminder("kept " + std::to_string(k), At(2024, 6, 1 + k, 9));
      AddNote("kept " + std::to_string(k));
      AddDue("c", "kept " + std::to_string(k), At(2024, 7, 1));
    }
    ASSERT_TRUE(files::WriteAll(elsewhere.File("old.xls"), "older workbook"));
    script->AnswerFile(elsewhere.File("t.dstx2bak"));
    Click("定时提醒备份按钮");
    messages.clear();
  }
  void TearDown() override {
    ::unsetenv("WORKMEMO_HOME");
    MaintenanceTest::TearDown();
  }

  // Every save and operation, each tried while writes fail.
  void TryEverything() {
    ReminderRecord r;
    r.txfs = RepeatMode::Once;
    r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate = At(2024, 8, 1, 9);
    r.txbt = "new";
    r.txnr = std::string(20000, 'r');  // needs pages the file does not have
    savedReminder = Databases().Reminders.SaveReminder(r) == 1;
    NoteRecordRow note{0, "new", std::string(20000, 'n'), "工作", At(2024, 8, 1)};
    savedNote = InsertNoteRow(Databases(), note, At(2024, 8, 1)) == 1;
    savedConfig = StoreConfigItem("pf", "pftmd", "30");
    script->AnswerFile(elsewhere.File("new.jsb2bak"));
    Click("备份记事本按钮");
    Answer();
    script->AnswerFile(elsewhere.File("t.dstx2bak"));
    Answer();
    Click("定时提醒恢复按钮");
    Answer();
    Click("压缩到期提醒按钮");
    script->AnswerFile(elsewhere.File("old.xls"));
    Click("导出记事本按钮");
  }

  // The live files whole and open, every row saved before there, the settings readable.
  void ExpectAllWhole() {
    ProgramDatabases& data = Databases();
    EXPECT_EQ(data.Reminders.Connection().QuickCheck(), 1);
    EXPECT_EQ(data.DueConnection.QuickCheck(), 1);
    EXPECT_EQ(data.NotesConnection.QuickCheck(), 1);
    EXPECT_EQ(CountOf(DataKind::Timed), savedReminder ? 6 : 5);
    EXPECT_EQ(CountOf(DataKind::Notes), savedNote ? 6 : 5);
    EXPECT_EQ(CountOf(DataKind::Due), 5);
    EXPECT_EQ(data.Reminders.Reminders().size(), CountOf(DataKind::Timed) == 6 ? 6u : 5u);
    EXPECT_EQ(AccessConfigItem("pf", "pftmd", {}, true), savedConfig ? "30" : "20");
    // A backup or workbook under its final name is whole or absent.
    if (files::Exists(elsewhere.File("new.jsb2bak"))) {
      platform::db::Connection copy;
      EXPECT_EQ(OpenDataCopy(copy, elsewhere.File("new.jsb2bak"), "jsbsj"), 1);
    }
    const std::string workbook = files::ReadAll(elsewhere.File("old.xls")).value_or("");
    EXPECT_TRUE(workbook == "older workbook" || workbook.rfind("\xD0\xCF\x11\xE0", 0) == 0);
    // The program goes on: once writes work again, a save goes through.
    files::ClearFaultsForTest();
    NoteRecordRow after{0, "after", "", "工作", At(2024, 9, 1)};
    EXPECT_EQ(InsertNoteRow(Databases(), after, At(2024, 9, 1)), 1);
  }

  // While writes fail, the reminder of 9:00 on day `k` of June still fires in its second.
  void ExpectFiringGoesOn(int k) {
    fired.clear();
    AdvanceTo(At(2024, 6, 1 + k, 9));
    EXPECT_EQ(fired, std::vector<std::string>{"kept " + std::to_string(k)});
  }

  bool savedReminder = false;
  bool savedNote = false;
  bool savedConfig = false;
};

TEST_F(FailingWritesTest, AFileSizeLimitFailsWritesPartWayAndNothingIsLost) {
  rlim_t largest = 0;
  for (const char* f : {"dstx2.dat", "dqtx2.dat", "jsb2.dat"})
    largest = std::max<rlim_t>(largest, static_cast<rlim_t>(files::Size(dir.File(f))));
  {
    FileSizeLimit limit(largest);  // no data file may grow: a save that needs a page fails
    TryEverything();
    ExpectFiringGoesOn(0);
  }
  EXPECT_FALSE(savedReminder);
  EXPECT_FALSE(savedNote);
  ExpectAllWhole();
}

TEST_F(FailingWritesTest, AnInjectedWriteFailureFailsEverySaveAndNothingIsLost) {
  // Writes, renames and copies failing one kind at a time, then all at once with removes and
  // new folders as well: a data directory that cannot be written.
  const std::vector<std::vector<files::Op>> failing = {
      {files::Op::Write},
      {files::Op::Rename},
      {files::Op::Copy},
      {files::Op::Write, files::Op::Rename, files::Op::Copy, files::Op::Remove, files::Op::MakeDirs}};
  for (std::size_t k = 0; k < failing.size(); ++k) {
    SCOPED_TRACE(k);
    messages.clear();
    for (files::Op op : failing[k]) files::InjectFaultForTest(op, files::Fault::DiskFull);
    TryEverything();
    ExpectFiringGoesOn(static_cast<int>(k));
    files::ClearFaultsForTest();
    EXPECT_FALSE(messages.empty());
    ExpectAllWhole();
    // Back to the rows of the start for the next kind of failure.
    ProgramDatabases& data = Databases();
    data.Reminders.Connection().Execute("delete from txsj where txbt = 'new'");
    data.NotesConnection.Execute("delete from jsbsj where bt in ('new','after')");
    data.Reminders.LoadReminders();
    StoreConfigItem("pf", "pftmd", "20");
  }
}

}  // namespace
}  // namespace workmemo::maintenance_test
