#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

#include "common/digest.h"
#include "maintenance/maintenance_operations.h"
#include "maintenance_fixture.h"
#include "shell/password_change.h"

namespace workmemo::maintenance_test {
namespace {

struct RowButtons {
  DataKind kind;
  const char* backup;
  const char* restore;
  const char* done;
};
constexpr RowButtons kRows[] = {
    {DataKind::Timed, "定时提醒备份按钮", "定时提醒恢复按钮", "备份提醒数据库成功！"},
    {DataKind::Due, "备份到期提醒按钮", "恢复到期提醒按钮", "备份到期提醒数据库成功！"},
    {DataKind::Notes, "备份记事本按钮", "恢复记事本按钮", "备份记事本数据库成功！"},
};

class BackupTest : public MaintenanceTest {
 protected:
  void AddOneOfEach() {
    AddReminder("每周例会", At(2024, 6, 1, 9));
    AddDue("华东机电", "巡检", At(2024, 6, 30));
    AddNote("读书笔记");
  }
};

TEST_F(BackupTest, EachFileBacksUpUnderTheNameGivenWithItsExtensionAndOpensAsACopy) {
  AddOneOfEach();
  for (const RowButtons& row : kRows) {
    SCOPED_TRACE(row.backup);
    messages.clear();
    // A name typed without an extension gets the kind's own.
    script->AnswerFile(elsewhere.File("backup"));
    Click(row.backup);
    EXPECT_EQ(messages, std::vector<std::string>{row.done});
    const std::string file = elsewhere.File(std::string("backup.") + (Maintained(row.kind).defaultExtension + 2));
    platform::db::Connection copy;
    ASSERT_EQ(OpenDataCopy(copy, file, Maintained(row.kind).table), 1) << file;
    EXPECT_EQ(Count(copy, Maintained(row.kind).table), 1);
  }
  // No temporary file is left beside the backups.
  EXPECT_FALSE(files::Exists(elsewhere.File("backup")));
}

TEST_F(BackupTest, AnEmptyTableBacksUpAndTheDefaultNameCarriesTheDay) {
  script->AnswerFile(elsewhere.File("empty.dqtx2bak"));
  Click("备份到期提醒按钮");
  EXPECT_EQ(messages, std::vector<std::string>{"备份到期提醒数据库成功！"});
  EXPECT_EQ(page->UnitAs<ui::FileDialog>("备份对话框").FileName(), elsewhere.File("empty.dqtx2bak"));
  EXPECT_EQ(DefaultBackupName(Maintained(DataKind::Due), now), "到期提醒数据(20240510)");
  EXPECT_EQ(DefaultBackupName(Maintained(DataKind::Notes), now), "记事本备份(2024-05-10)");
}

TEST_F(BackupTest, AFailedBackupLeavesAnOlderBackupOfThatNameAsItWas) {
  AddOneOfEach();
  const std::string target = elsewhere.File("old.jsb2bak");
  ASSERT_TRUE(files::WriteAll(target, "an older backup"));
  const struct {
    const char* name;
    files::Op op;
    const char* message;
  } cases[] = {
      {"copy fails part-way", files::Op::Copy, "复制记事本数据库失败！[01]"},
      {"the proved copy cannot take the name", files::Op::Rename, "复制记事本数据库失败！[01]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    messages.clear();
    files::InjectFaultForTest(c.op, files::Fault::IoError);
    script->AnswerFile(target);
    Click("备份记事本按钮");
    files::ClearFaultsForTest();
    EXPECT_EQ(messages, std::vector<std::string>{c.message});
    EXPECT_EQ(files::ReadAll(target).value_or(""), "an older backup");
  }
}

// A live data file is never a backup's target, nor is a name the engine keeps beside one.
TEST_F(BackupTest, ALiveDataFileIsNeverABackupTarget) {
  AddOneOfEach();
  std::vector<std::string> targets = EngineNamesBesideTheLiveFiles();
  targets.push_back(Databases().NotesDbPath);
  for (const std::string& target : targets) {
    for (const RowButtons& row : kRows) {
      SCOPED_TRACE(target + " " + row.backup);
      messages.clear();
      script->AnswerFile(target);
      Click(row.backup);
      EXPECT_EQ(messages, std::vector<std::string>{"不能备份到正在使用的数据文件！请另选一个文件名。"});
    }
  }
  for (const std::string& name : EngineNamesBesideTheLiveFiles()) EXPECT_FALSE(files::Exists(name)) << name;
  EXPECT_EQ(CountOf(DataKind::Notes), 1);
  EXPECT_EQ(Databases().NotesConnection.QuickCheck(), 1);
}

TEST_F(BackupTest, ThePerUserCopyOfAnotherSystemNeverApplies) {
  EXPECT_EQ(IsOnWindowsDrive(), 0);
  EXPECT_FALSE(files::Exists(PerUserCopyPath("dqtx2.dat")));
}

class RestoreTest : public MaintenanceTest {
 protected:
  // A backup of the file of `kind` as it is now, at `file`.
  void BackUp(const char* button, const std::string& file) {
    script->AnswerFile(file);
    Click(button);
    ASSERT_EQ(messages.size(), 1u);
    messages.clear();
  }
  // Both questions answered 确定; `typed`, when given, answers the password prompt.
  void Restore(const char* button, const std::string& file,
               std::optional<std::vector<std::string>> typed = std::nullopt) {
    Answer();
    script->AnswerFile(file);
    Answer();
    if (typed) AnswerPrompt(*typed);
    Click(button);
  }
  std::vector<std::string> NamesInTheLiveFilesFolder() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  const std::vector<std::string> kOnlyTheLiveFiles = {"dqtx2.dat", "dstx2.dat", "jsb2.dat"};
};

TEST_F(RestoreTest, EachFileComesBackFromItsBackupWithTheCurrentPassword) {
  const int kept = AddReminder("kept", At(2024, 6, 1, 9));
  AddDue("华东机电", "巡检", At(2024, 6, 30));
  AddNote("读书笔记");
  for (const RowButtons& row : kRows) BackUp(row.backup, elsewhere.File(std::string("b") + row.backup));
  // Changed after the backups: a row more in each file and a new password in all three.
  AddReminder("added later", At(2024, 6, 2, 9));
  AddDue("华北", "后加", At(2024, 7, 1));
  AddNote("后加的记事");
  const std::string newPassword = EncodePassword("newpass");
  ASSERT_EQ(Databases().Reminders.StorePassword(newPassword), 1);
  ASSERT_EQ(WriteDueDbAdminPassword(Databases(), newPassword), 1);
  ASSERT_EQ(StoreNotesDataPassword(Databases(), newPassword), 1);

  const char* done[] = {"恢复提醒数据成功！", "恢复到期提醒数据成功！", "恢复记事本数据成功！"};
  for (int i = 0; i < 3; ++i) {
    const RowButtons& row = kRows[i];
    SCOPED_TRACE(row.restore);
    messages.clear();
    // The backup holds the old password: the prompt takes it.
    Restore(row.restore, elsewhere.File(std::string("b") + row.backup), std::vector<std::string>{"731862"});
    EXPECT_EQ(messages, std::vector<std::string>{done[i]});
    EXPECT_EQ(CountOf(row.kind), 1);
    EXPECT_FALSE(page->Unit(Maintained(row.kind).progressLabel).IsVisible());
  }
  EXPECT_EQ(script->Unanswered(), 0);
  // The restored files keep the password the program had.
  EXPECT_EQ(Databases().Reminders.ReadPasswordHash(), newPassword);
  EXPECT_EQ(ReadDueDataPassword(Databases()), newPassword);
  EXPECT_EQ(ReadNotesDataPassword(Databases()), newPassword);
  // The store was loaded afresh from the restored file.
  ASSERT_EQ(Databases().Reminders.Reminders().size(), 1u);
  EXPECT_EQ(Databases().Reminders.Reminders()[0].id, kept);
  // Nothing is left beside the live files.
  EXPECT_EQ(NamesInTheLiveFilesFolder(), kOnlyTheLiveFiles);
}

TEST_F(RestoreTest, APasswordOtherThanTheBackupsKeepsThePromptOpenUntilItIsRight) {
  AddNote("before");
  BackUp("备份记事本按钮", elsewhere.File("n.jsb2bak"));
  AddNote("after");
  ASSERT_EQ(StoreNotesDataPassword(Databases(), EncodePassword("other")), 1);
  const struct {
    const char* name;
    std::vector<std::string> typed;
    std::vector<std::string> messages;
    int notes;
  } cases[] = {
      {"wrong, then closed", {"wrong"}, {"密码错误，请重新输入！", "恢复备份失败，原备份密码不正确！"}, 2},
      {"closed at once", {}, {"恢复备份失败，原备份密码不正确！"}, 2},
      {"wrong, then right", {"wrong", "731862"}, {"密码错误，请重新输入！", "恢复记事本数据成功！"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    messages.clear();
    Restore("恢复记事本按钮", elsewhere.File("n.jsb2bak"), c.typed);
    EXPECT_EQ(messages, c.messages);
    EXPECT_EQ(CountOf(DataKind::Notes), c.notes);
  }
}

// A file that cannot be a backup of that data is refused from what it is, before anything is
// copied (the copy fails should it be tried, and would say so): a file of several GiB costs no
// more than a small one, and a pipe is never waited on.
TEST_F(RestoreTest, AFileThatIsNotABackupOfThatDataIsRefusedBeforeAnythingIsCopied) {
  AddReminder("stays", At(2024, 6, 1, 9));
  BackUp("备份记事本按钮", elsewhere.File("notes.jsb2bak"));
  ASSERT_TRUE(files::WriteAll(elsewhere.File("junk.dstx2bak"), std::string(4096, 'x')));
  ASSERT_TRUE(files::WriteAll(elsewhere.File("empty.dstx2bak"), ""));
  constexpr std::uintmax_t kLarge = std::uintmax_t{3} << 30;
  std::ofstream(elsewhere.File("zeros.dstx2bak")).close();
  std::filesystem::resize_file(elsewhere.File("zeros.dstx2bak"), kLarge);
  std::string noise(1 << 16, '\0');
  std::mt19937 random(7);
  for (char& c : noise) c = static_cast<char>(random());
  ASSERT_TRUE(files::WriteAll(elsewhere.File("noise.dstx2bak"), noise));
  std::filesystem::resize_file(elsewhere.File("noise.dstx2bak"), kLarge);
  ASSERT_TRUE(files::MakeDirs(elsewhere.File("folder.dstx2bak")));
  testsupport::PipeWatch pipe({elsewhere.File("pipe.dstx2bak")});
  struct Case {
    std::string name;
    std::string file;
    const char* message;
  };
  std::vector<Case> cases = {
      {"a notes backup", elsewhere.File("notes.jsb2bak"), "连接数据库失败！[01]"},
      {"not a database", elsewhere.File("junk.dstx2bak"), "连接数据库失败！[01]"},
      {"an empty file", elsewhere.File("empty.dstx2bak"), "连接数据库失败！[01]"},
      {"3 GiB of nothing", elsewhere.File("zeros.dstx2bak"), "连接数据库失败！[01]"},
      {"3 GiB starting with random bytes", elsewhere.File("noise.dstx2bak"), "连接数据库失败！[01]"},
      {"a folder", elsewhere.File("folder.dstx2bak"), "连接数据库失败！[01]"},
      {"a named pipe", elsewhere.File("pipe.dstx2bak"), "连接数据库失败！[01]"},
      {"the live file itself", Databases().TimedReminderDbPath, "不能用正在使用的数据文件恢复！请选择备份文件。"},
  };
  for (const std::string& name : EngineNamesBesideTheLiveFiles())
    cases.push_back({"a name the engine keeps beside a live file", name, "不能用正在使用的数据文件恢复！请选择备份文件。"});
  files::InjectFaultForTest(files::Op::Copy, files::Fault::IoError);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name + ": " + c.file);
    messages.clear();
    Restore("定时提醒恢复按钮", c.file);
    EXPECT_EQ(messages, std::vector<std::string>{c.message});
    EXPECT_EQ(CountOf(DataKind::Timed), 1);
    EXPECT_EQ(Databases().Reminders.Connection().QuickCheck(), 1);
  }
  EXPECT_FALSE(pipe.Finish()) << "the restore waited on a pipe";
  EXPECT_EQ(NamesInTheLiveFilesFolder(), kOnlyTheLiveFiles);
  EXPECT_EQ(stops, 0);  // the reminder timer ran on throughout
}

// The chosen file is only read, where the restore looks at it and where the password prompt
// does: a backup with a journal left beside it keeps both as they were, though the engine would
// roll the one back into the other.
TEST_F(RestoreTest, TheChosenFileAndItsJournalAreOnlyRead) {
  AddNote("backed up");
  BackUp("备份记事本按钮", elsewhere.File("n.jsb2bak"));
  ASSERT_EQ(StoreNotesDataPassword(Databases(), EncodePassword("other")), 1);
  const std::string chosen = elsewhere.File("half.jsb2bak");
  ASSERT_TRUE(testsupport::CopyWithHotJournal(elsewhere.File("n.jsb2bak"), chosen));
  const std::optional<std::string> bytes = files::ReadAll(chosen);
  const std::optional<std::string> journal = files::ReadAll(chosen + "-journal");
  ASSERT_TRUE(bytes && journal);
  Restore("恢复记事本按钮", chosen, std::vector<std::string>{"wrong"});
  EXPECT_EQ(messages, (std::vector<std::string>{"密码错误，请重新输入！", "恢复备份失败，原备份密码不正确！"}));
  EXPECT_TRUE(files::ReadAll(chosen) == bytes) << "the chosen file changed";
  EXPECT_TRUE(files::ReadAll(chosen + "-journal") == journal) << "its journal changed";
}

// A write that fails before the restored file takes the live file's place, a full disk
// included, leaves the live file as it was: whole, open, said to be kept, nothing left beside.
TEST_F(RestoreTest, FailingWritesLeaveTheLiveFileWholeAndOpen) {
  AddNote("backed up");
  BackUp("备份记事本按钮", elsewhere.File("n.jsb2bak"));
  AddNote("live only");
  const struct {
    const char* name;
    files::Op op;
    files::Fault fault;
    int skip;
  } cases[] = {
      {"the backup's copy beside the live file", files::Op::Copy, files::Fault::IoError, 0},
      {"no room for the live file's copy kept beside it", files::Op::Copy, files::Fault::DiskFull, 1},
      {"the proved copy cannot take its place", files::Op::Rename, files::Fault::IoError, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    messages.clear();
    files::InjectFaultForTest(c.op, c.fault, c.skip);
    Restore("恢复记事本按钮", elsewhere.File("n.jsb2bak"));
    files::ClearFaultsForTest();
    EXPECT_EQ(messages, std::vector<std::string>{"恢复备份失败！原有数据没有改变！[00]"});
    EXPECT_TRUE(Databases().NotesConnection.IsOpen());
    EXPECT_EQ(Databases().NotesConnection.QuickCheck(), 1);
    EXPECT_EQ(CountOf(DataKind::Notes), 2);
    EXPECT_EQ(NamesInTheLiveFilesFolder(), kOnlyTheLiveFiles);
  }
}

TEST_F(RestoreTest, TheTimerStopsOnlyWhileTheFileIsReplacedAndMakesUpTheSecondsMissed) {
  AddReminder("before", At(2024, 5, 10, 10, 0, 2));
  AddReminder("during", At(2024, 5, 10, 10, 0, 8));
  BackUp("定时提醒备份按钮", elsewhere.File("t.dstx2bak"));
  AdvanceTo(At(2024, 5, 10, 10, 0, 5));
  EXPECT_EQ(fired, std::vector<std::string>{"before"});
  pauseSeconds = 6;  // the replacement takes until 10:00:11
  Restore("定时提醒恢复按钮", elsewhere.File("t.dstx2bak"));
  EXPECT_EQ(messages, std::vector<std::string>{"恢复提醒数据成功！"});
  EXPECT_EQ(stops, 1);
  EXPECT_TRUE(openAtRestart);
  AdvanceTo(At(2024, 5, 10, 10, 0, 12));
  // "during" fell due while the file was closed: it fires once, after the restart.
  EXPECT_EQ(fired, (std::vector<std::string>{"before", "during"}));
}

TEST_F(RestoreTest, AnOldNotesBackupIsAddedToTheNotesEveryTimeItIsConverted) {
  // An old notes backup of 12 notes, in this system's file format under its own password.
  const std::string old = elsewhere.File("old.JSBBAK");
  ASSERT_TRUE(testsupport::WriteDataFileFromImage(old, "jsb2.dat"));
  {
    platform::db::Connection c;
    ASSERT_EQ(c.Open(platform::db::ConnectionText(old, kDatabasePassword)), 1);
    ASSERT_EQ(c.Execute(std::string("pragma rekey='") + kOldNotesBackupPassword + "'"), 1);
  }
  {
    platform::db::Connection c;
    ASSERT_EQ(c.Open(platform::db::ConnectionText(old, kOldNotesBackupPassword)), 1);
    for (int k = 1; k <= 12; ++k)
      ASSERT_EQ(c.Execute("insert into jsbsj(bt,nr,lx,gxdate,jsdate) values ('O''Brien " + std::to_string(k) +
                          "','n','旧',  '2015-01-02', '2015-01-0" + std::to_string(k % 9 + 1) + "')"),
                1);
  }
  AddNote("current");
  for (int run = 1; run <= 2; ++run) {
    messages.clear();
    Answer();                     // first question
    script->AnswerFile(old);      // the file
    Answer();                     // the conversion's question
    Click("恢复记事本按钮");
    EXPECT_EQ(messages, std::vector<std::string>{"转换记事本数据成功！转换记事数：12 个记事"});
    EXPECT_EQ(CountOf(DataKind::Notes), 1 + 12 * run);
  }
  EXPECT_EQ(QueryNoteRows(Databases(), "select * from jsbsj where bt='O''Brien 3'").size(), 2u);
}

TEST_F(RestoreTest, AFormerFormatBackupIsRefusedWithItsConnectMessage) {
  ASSERT_TRUE(files::WriteAll(elsewhere.File("former.jsbbak"), "Standard Jet DB\0 former format"));
  Answer();
  script->AnswerFile(elsewhere.File("former.jsbbak"));
  Answer();
  Click("恢复记事本按钮");
  EXPECT_EQ(messages, std::vector<std::string>{"连接旧版记事本数据库失败！"});
}

}  // namespace
}  // namespace workmemo::maintenance_test
