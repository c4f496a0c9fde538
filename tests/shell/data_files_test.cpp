#include "shell/data_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/database_constants.h"
#include "platform/clock/clock.h"
#include "platform/db/compact.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "common/digest.h"
#include "shell/password_gate.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "test_support.h"

namespace workmemo {
namespace {

namespace files = platform::files;

// Records what the start-up asks of the windows and of the process.
class DataFilesTest : public testsupport::TempHomeTest {
 protected:
  void SetUp() override {
    TempHomeTest::SetUp();
    services.ShowMessageBox = [this](std::string_view text) { messages.emplace_back(text); };
    services.ShowPlainMessageBox = [this](std::string_view text) { plainMessages.emplace_back(text); };
    services.EndProgram = [this](int code) { exitCodes.push_back(code); };
  }
  void TearDown() override {
    files::ClearFaultsForTest();
    TempHomeTest::TearDown();
  }

  std::string Data(const char* name) const { return home() + "/data/" + name; }

  void Put(const char* name, std::string_view bytes) {
    ASSERT_TRUE(files::MakeDirs(home() + "/data"));
    ASSERT_TRUE(files::WriteAll(Data(name), bytes));
  }
  void PutImage(const char* name) { Put(name, *files::ReadResource(std::string(":/db/") + name)); }

  void Open() { OpenDataFiles(db, services, settings); }

  // One reminder, "O'Brien", in the timed-reminder file, whose admin row gets these flags.
  void StoreReminderWithRights(const ProtectedActions& rights) {
    ReminderStore store;
    ASSERT_EQ(store.OpenDatabase(Data("dstx2.dat"), kDatabasePassword), 1);
    ReminderRecord r;
    r.txbt = "O'Brien";
    ASSERT_EQ(store.SaveReminder(r), 1);
    for (const char* column : {"cktxqx", "tjtxqx", "xgtxqx", "sctxqx", "txlqx", "jsbqx"})
      ASSERT_EQ(store.Connection().Execute(std::string("alter table yhsj add column ") + column + " integer"), 1);
    ASSERT_EQ(store.StoreAdminRights(rights), 1);
  }

  std::vector<std::string> Shown() const {
    std::vector<std::string> shown;
    for (const std::string& m : messages) shown.push_back(testsupport::Show(m));
    return shown;
  }

  ProgramDatabases db;
  ProgramSettings settings;
  ShellServices services;
  std::vector<std::string> messages, plainMessages;
  std::vector<int> exitCodes;
};

TEST_F(DataFilesTest, AFreshHomeGetsTheDataDirectoryAndTheThreeEmptyFiles) {
  Open();
  EXPECT_TRUE(messages.empty()) << ::testing::PrintToString(Shown());
  EXPECT_TRUE(exitCodes.empty());
  for (const char* name : {"dstx2.dat", "dqtx2.dat", "jsb2.dat"})
    EXPECT_EQ(files::ReadAll(Data(name)), files::ReadResource(std::string(":/db/") + name)) << name;
  EXPECT_EQ(db.TimedReminderDbPath, Data("dstx2.dat"));
  EXPECT_EQ(db.DueDbPath, Data("dqtx2.dat"));
  EXPECT_EQ(db.NotesDbPath, Data("jsb2.dat"));
  EXPECT_TRUE(db.Reminders.IsOpen());
  EXPECT_TRUE(db.DueConnection.IsOpen());
  EXPECT_TRUE(db.NotesConnection.IsOpen());
  EXPECT_TRUE(db.Reminders.Reminders().empty());
  EXPECT_EQ(settings.LoginByPassword, 0);
  EXPECT_EQ(settings.AddReminderNeedsPassword, 0);
  EXPECT_EQ(settings.ViewRemindersNeedPassword, 0);
}

TEST_F(DataFilesTest, StoredRemindersLoadAndFlagsAndLoginModeAreRead) {
  PutImage("dstx2.dat");
  PutImage("jsb2.dat");
  // Only a stored 1 asks for the password.
  StoreReminderWithRights({1, 2, 1, 0, 1, 1});
  {
    platform::db::Connection notes;
    ASSERT_EQ(notes.Open(platform::db::ConnectionText(Data("jsb2.dat"), kDatabasePassword)), 1);
    ASSERT_EQ(notes.Execute("update yhsj set yhdlfs=2"), 1);
  }
  Open();
  ASSERT_EQ(db.ListPageReminders.size(), 1u);
  EXPECT_EQ(db.ListPageReminders[0].txbt, "O'Brien");
  EXPECT_EQ(db.Reminders.Reminders().size(), 1u);
  EXPECT_EQ(settings.ViewRemindersNeedPassword, 1);
  EXPECT_EQ(settings.AddReminderNeedsPassword, 0);
  EXPECT_EQ(settings.ModifyReminderNeedsPassword, 1);
  EXPECT_EQ(settings.DeleteReminderNeedsPassword, 0);
  EXPECT_EQ(settings.AddressBookNeedsPassword, 1);
  EXPECT_EQ(settings.NotesNeedPassword, 1);
  EXPECT_EQ(settings.LoginByPassword, 1);
}

TEST_F(DataFilesTest, AnUnreadableTimedReminderFileIsReportedAndTheStartGoesOn) {
  // The image under another key, and the image cut short as a crashed copy would leave it.
  const std::string image = *files::ReadResource(":/db/dstx2.dat");
  PutImage("dstx2.dat");
  ASSERT_TRUE(platform::db::CompactDatabaseFile(Data("dstx2.dat"), kDatabasePassword, "another key").ok());
  const std::string otherKey = *files::ReadAll(Data("dstx2.dat"));
  for (const std::string& bytes : {std::string(), std::string("not a database at all"), otherKey,
                                   image.substr(0, image.size() / 2), image.substr(0, 1024)}) {
    SCOPED_TRACE(bytes.size());
    messages.clear();
    Put("dstx2.dat", bytes);
    ProgramDatabases fresh;
    OpenDataFiles(fresh, services, settings);
    EXPECT_EQ(messages, std::vector<std::string>{DamagedDataFileMessage(Data("dstx2.dat"))});
    EXPECT_TRUE(exitCodes.empty());
    EXPECT_FALSE(fresh.Reminders.IsOpen());
    EXPECT_TRUE(fresh.DueConnection.IsOpen());
    EXPECT_EQ(files::ReadAll(Data("dstx2.dat")), std::string(bytes));  // left for a restore
  }
}

// A notes or due-date file that cannot be opened is treated as an unreadable timed-reminder
// file is: said once by name, the start goes on with the other files, and the file stays for
// the backup page to restore.
TEST_F(DataFilesTest, AnUnreadableNotesOrDueFileIsReportedAndTheStartGoesOn) {
  PutImage("dstx2.dat");
  ASSERT_TRUE(files::Copy(Data("dstx2.dat"), Data("spare.dat")));
  const std::string noTable = *files::ReadAll(Data("spare.dat"));  // opens, but holds another table
  for (const char* name : {"jsb2.dat", "dqtx2.dat"}) {
    for (const std::string& bytes : {std::string("damaged"), noTable}) {
      SCOPED_TRACE(std::string(name) + " " + std::to_string(bytes.size()));
      messages.clear();
      Put(name, bytes);
      ProgramDatabases fresh;
      OpenDataFiles(fresh, services, settings);
      EXPECT_EQ(messages, std::vector<std::string>{DamagedDataFileMessage(Data(name))});
      EXPECT_TRUE(exitCodes.empty());
      const bool notes = std::string(name) == "jsb2.dat";
      EXPECT_EQ(fresh.NotesConnection.IsOpen(), !notes);
      EXPECT_EQ(fresh.DueConnection.IsOpen(), notes);
      EXPECT_TRUE(fresh.Reminders.IsOpen());
      EXPECT_EQ(files::ReadAll(Data(name)), bytes);  // left for a restore
    }
    PutImage(name);
  }
}

// A full disk, or a data directory that cannot be made: each file says so, naming the
// directory, and the program runs on with nothing loaded, which the reminder tick then checks.
TEST_F(DataFilesTest, AnImageThatCannotBeWrittenNamesTheDirectoryThatRefusedIt) {
  for (const files::Op op : {files::Op::MakeDirs, files::Op::Write}) {
    SCOPED_TRACE(static_cast<int>(op));
    files::InjectFaultForTest(op, files::Fault::DiskFull);
    messages.clear();
    ProgramDatabases fresh;
    OpenDataFiles(fresh, services, settings);
    const std::string where = "\r\n无法写入目录：" + home() + "/data\r\n请检查磁盘空间和写入权限！";
    EXPECT_EQ(messages, (std::vector<std::string>{"创建提醒数据失败！" + where, "创建记事本数据库失败！" + where,
                                                  "创建到期提醒数据库失败！" + where}));
    EXPECT_TRUE(exitCodes.empty());
    for (const char* name : {"dstx2.dat", "dqtx2.dat", "jsb2.dat"}) EXPECT_FALSE(files::Exists(Data(name))) << name;
    EXPECT_EQ(files::IsDirectory(home() + "/data"), op == files::Op::Write);
    EXPECT_FALSE(fresh.Reminders.IsOpen() || fresh.NotesConnection.IsOpen() || fresh.DueConnection.IsOpen());
    ReminderList due;
    for (int second = 0; second < 3; ++second) {
      fresh.Reminders.CollectDueReminders(platform::clock::Now() + second / 86400.0, due);
      EXPECT_TRUE(due.empty());
    }
    EXPECT_EQ(fresh.Reminders.CountRemindersOnDay(platform::clock::Now()), 0);
    files::ClearFaultsForTest();
  }
}

// A damaged page is said once per file, naming it and the page that restores it; the start
// goes on with every row that still reads, and nothing takes the failed load for no rows.
TEST_F(DataFilesTest, ADamagedFileIsReportedOnceAndTheStartGoesOnWithWhatReads) {
  for (const char* name : {"dstx2.dat", "jsb2.dat", "dqtx2.dat"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(files::MakeDirs(home() + "/data"));
    ASSERT_TRUE(testsupport::WriteDamagedDataFile(Data(name), name, 400));
    messages.clear();
    ProgramDatabases fresh;
    OpenDataFiles(fresh, services, settings);
    EXPECT_EQ(messages, std::vector<std::string>{DamagedDataFileMessage(Data(name))});
    EXPECT_TRUE(exitCodes.empty());
    EXPECT_TRUE(fresh.Reminders.IsOpen() && fresh.NotesConnection.IsOpen() && fresh.DueConnection.IsOpen());
    if (std::string(name) == "dstx2.dat") {
      EXPECT_GT(fresh.Reminders.Reminders().size(), 300u);
      EXPECT_EQ(fresh.ListPageReminders.size(), fresh.Reminders.Reminders().size());
    }
    ASSERT_TRUE(files::Remove(Data(name)));
  }
  const std::string message = DamagedDataFileMessage(Data("dstx2.dat"));
  EXPECT_NE(message.find(Data("dstx2.dat")), std::string::npos);
  EXPECT_NE(message.find("备份数据"), std::string::npos);
}

// The notes and due-date files are opened and checked side by side, whichever finishes
// first: what they found is still said in one order, notes before due dates.
TEST_F(DataFilesTest, BothSmallFilesDamagedAreReportedInTheirOrder) {
  ASSERT_TRUE(files::MakeDirs(home() + "/data"));
  ASSERT_TRUE(testsupport::WriteDamagedDataFile(Data("jsb2.dat"), "jsb2.dat", 400));
  ASSERT_TRUE(testsupport::WriteDamagedDataFile(Data("dqtx2.dat"), "dqtx2.dat", 400));
  for (int run = 0; run < 3; ++run) {
    messages.clear();
    ProgramDatabases fresh;
    OpenDataFiles(fresh, services, settings);
    EXPECT_EQ(messages, (std::vector<std::string>{DamagedDataFileMessage(Data("jsb2.dat")),
                                                  DamagedDataFileMessage(Data("dqtx2.dat"))}));
    EXPECT_TRUE(fresh.NotesConnection.IsOpen() && fresh.DueConnection.IsOpen());
  }
}

// The start builds its windows between OpenDataFilesBeforeWindows and the end of the timed
// rows' read: meanwhile the flags are known, the store is empty and the list page holds no
// rows, and a damaged timed file is said when the rows come, unless another file has something
// to say first, when all is said before the windows in the usual order.
TEST_F(DataFilesTest, TheWindowsMayBeBuiltWhileTheTimedRowsAreStillRead) {
  struct Case {
    const char* damaged;  // files written damaged, nullptr-ended
    const char* damaged2;
    std::vector<const char*> saidBeforeWindows;
    std::vector<const char*> saidAfter;
  };
  const Case cases[] = {
      {nullptr, nullptr, {}, {}},
      {"dstx2.dat", nullptr, {}, {"dstx2.dat"}},
      {"dstx2.dat", "jsb2.dat", {"dstx2.dat", "jsb2.dat"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.damaged ? c.damaged : "none");
    for (const char* name : {"dstx2.dat", "jsb2.dat", "dqtx2.dat"}) PutImage(name);
    if (c.damaged == nullptr) StoreReminderWithRights({1, 0, 0, 0, 0, 0});
    for (const char* name : {c.damaged, c.damaged2}) {
      if (name != nullptr) {
        ASSERT_TRUE(testsupport::WriteDamagedDataFile(Data(name), name, 400));
      }
    }
    auto said = [this](const std::vector<const char*>& names) {
      std::vector<std::string> expected;
      for (const char* name : names) expected.push_back(DamagedDataFileMessage(Data(name)));
      return expected;
    };
    messages.clear();
    ProgramDatabases fresh;
    BeginOpeningDataFiles(fresh);
    OpenDataFilesBeforeWindows(fresh, services, settings);
    EXPECT_EQ(messages, said(c.saidBeforeWindows));
    const bool pending = c.saidBeforeWindows.empty();
    if (pending) {
      // The reading thread works on a connection of its own: the store holds none of it yet.
      EXPECT_FALSE(fresh.Reminders.IsOpen());
      EXPECT_TRUE(fresh.Reminders.Reminders().empty());
      EXPECT_TRUE(fresh.ListPageHoldsFullRead && fresh.ListPageReminders.empty());
    }
    if (c.damaged == nullptr) {
      EXPECT_EQ(settings.ViewRemindersNeedPassword, 1);
      // A password check waits for the file to be free, then reads its row.
      EXPECT_TRUE(StoredDigestCheck([&fresh] { return ReadAdminPasswordHash(fresh); })(kInitialPassword));
    }
    EXPECT_EQ(FinishLoadingTimedReminders(fresh, services), pending);
    EXPECT_FALSE(FinishLoadingTimedReminders(fresh, services));
    std::vector<const char*> all = c.saidBeforeWindows;
    all.insert(all.end(), c.saidAfter.begin(), c.saidAfter.end());
    EXPECT_EQ(messages, said(all));
    EXPECT_EQ(fresh.ListPageReminders.size(), fresh.Reminders.Reminders().size());
    EXPECT_EQ(fresh.ListPageHoldsFullRead, c.damaged == nullptr);
    if (c.damaged == nullptr) {
      ASSERT_EQ(fresh.Reminders.Reminders().size(), 1u);
      EXPECT_EQ(fresh.ListPageReminders[0].txbt, "O'Brien");
    } else {
      EXPECT_GT(fresh.Reminders.Reminders().size(), 300u);
    }
    EXPECT_TRUE(exitCodes.empty());
  }
}

// Every password check reads the timed-reminder file's row; when that file cannot be read,
// the copies in the other two files stand in, so the right password still opens the backup
// page and closes the program.
TEST_F(DataFilesTest, TheRightPasswordPassesWhenTheReminderFileCannotBeRead) {
  const std::string image = *files::ReadResource(":/db/dstx2.dat");
  struct Case {
    std::string reminderFile;  // empty: the image as it is
    bool notesReadable;
    const char* accepted;
  };
  const std::string truncated = image.substr(0, image.size() / 2);
  for (const Case& c : {Case{"", true, kInitialPassword}, Case{truncated, true, kInitialPassword},
                        Case{truncated, false, kInitialPassword}, Case{"not a database", true, kInitialPassword}}) {
    SCOPED_TRACE(c.reminderFile.size());
    files::Remove(Data("dstx2.dat"));  // a missing file is written from its image
    if (!c.reminderFile.empty()) Put("dstx2.dat", c.reminderFile);
    ProgramDatabases fresh;
    OpenDataFiles(fresh, services, settings);
    if (!c.notesReadable) fresh.NotesConnection.Close();
    const PasswordCheck check = StoredDigestCheck([&fresh] { return ReadAdminPasswordHash(fresh); });
    EXPECT_TRUE(check(c.accepted));
    EXPECT_FALSE(check("123456"));
    EXPECT_FALSE(check(""));
  }
  // A readable reminder file decides alone: the copies do not widen what is accepted.
  ASSERT_TRUE(files::Remove(Data("dstx2.dat")));
  ProgramDatabases fresh;
  OpenDataFiles(fresh, services, settings);
  ASSERT_EQ(fresh.NotesConnection.Execute("update yhsj set mm='" + EncodePassword("other") + "'"), 1);
  const PasswordCheck check = StoredDigestCheck([&fresh] { return ReadAdminPasswordHash(fresh); });
  EXPECT_TRUE(check(kInitialPassword));
  EXPECT_FALSE(check("other"));
  // With no row anywhere nothing matches.
  fresh.Reminders.CloseDatabase();
  fresh.NotesConnection.Close();
  fresh.DueConnection.Close();
  EXPECT_FALSE(check(kInitialPassword));
}

}  // namespace
}  // namespace workmemo
