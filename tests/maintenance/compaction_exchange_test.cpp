#include <gtest/gtest.h>

#include <optional>

#include "maintenance/maintenance_operations.h"
#include "maintenance_fixture.h"
#include "platform/xls/xls.h"

namespace workmemo::maintenance_test {
namespace {

using CompactionTest = MaintenanceTest;

TEST_F(CompactionTest, EachFileShrinksAfterMassDeletesAndOpensWithTheSamePassword) {
  for (int k = 0; k < 400; ++k) {
    AddReminder("r" + std::to_string(k) + std::string(200, 'x'), At(2024, 7, 1, 9));
    AddNote("n" + std::to_string(k) + std::string(200, 'y'));
    AddDue("c" + std::to_string(k), std::string(200, 'z'), At(2024, 7, 1));
  }
  ProgramDatabases& data = Databases();
  ASSERT_EQ(data.Reminders.Connection().Execute("delete from txsj where id > 10100"), 1);
  ASSERT_EQ(data.NotesConnection.Execute("delete from jsbsj where id > 10"), 1);
  ASSERT_EQ(data.DueConnection.Execute("delete from dqsj where id > 60"), 1);
  data.Reminders.LoadReminders();
  const struct {
    DataKind kind;
    const char* button;
    const char* message;
  } rows[] = {
      {DataKind::Timed, "定时提醒压缩按钮", "压缩提醒数据库成功！"},
      {DataKind::Due, "压缩到期提醒按钮", "压缩到期提醒数据库成功！"},
      {DataKind::Notes, "压缩记事本按钮", "压缩记事本数据库成功！"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.button);
    messages.clear();
    const std::string& path = LiveDataPath(data, row.kind);
    const std::int64_t before = files::Size(path);
    const int rowsBefore = CountOf(row.kind);
    Answer();
    Click(row.button);
    EXPECT_EQ(messages, std::vector<std::string>{row.message});
    EXPECT_LT(files::Size(path), before / 2);
    EXPECT_EQ(CountOf(row.kind), rowsBefore);  // reopened with the database password
  }
  EXPECT_EQ(stops, 1);  // only the timed file's compaction stops the reminder timer
}

TEST_F(CompactionTest, RemindersFireOnBothSidesOfACompactionAndOnceForTheSecondsItTook) {
  AddReminder("before", At(2024, 5, 10, 10, 0, 2));
  AddReminder("during", At(2024, 5, 10, 10, 0, 7));
  AddReminder("after", At(2024, 5, 10, 10, 0, 14));
  AdvanceTo(At(2024, 5, 10, 10, 0, 4));
  pauseSeconds = 5;
  Answer();
  Click("定时提醒压缩按钮");
  EXPECT_TRUE(openAtRestart);
  EXPECT_EQ(messages, std::vector<std::string>{"压缩提醒数据库成功！"});
  AdvanceTo(At(2024, 5, 10, 10, 0, 15));
  EXPECT_EQ(fired, (std::vector<std::string>{"before", "during", "after"}));
}

// The reload after a compaction keeps what fired: the clock set back within the hour fires
// none of it again, and a reminder saved after the step fires.
TEST_F(CompactionTest, AClockSetBackAfterACompactionFiresNothingTwice) {
  AddReminder("first", At(2024, 5, 10, 10, 0, 2));
  AddReminder("second", At(2024, 5, 10, 10, 0, 5));
  AddReminder("third", At(2024, 5, 10, 10, 0, 8));
  for (int s = 1; s <= 10; ++s) AdvanceTo(At(2024, 5, 10, 10, 0, s));
  Answer();
  Click("定时提醒压缩按钮");
  ASSERT_EQ(messages, std::vector<std::string>{"压缩提醒数据库成功！"});
  AdvanceTo(At(2024, 5, 10, 9, 59, 50));  // set back 20 s
  AddReminder("saved after the step", At(2024, 5, 10, 10, 0, 6));
  for (int s = 51; s <= 70; ++s) AdvanceTo(At(2024, 5, 10, 9, 59 + s / 60, s % 60));
  EXPECT_EQ(fired, (std::vector<std::string>{"first", "second", "third", "saved after the step"}));
}

TEST_F(CompactionTest, AFailedCompactionKeepsTheFileAndTheProgramRunsOn) {
  AddNote("kept");
  files::InjectFaultForTest(files::Op::Rename, files::Fault::IoError);
  Answer();
  Click("压缩记事本按钮");
  files::ClearFaultsForTest();
  EXPECT_EQ(messages, std::vector<std::string>{"压缩记事本数据库失败！"});
  EXPECT_EQ(CountOf(DataKind::Notes), 1);
  EXPECT_EQ(Databases().NotesConnection.QuickCheck(), 1);
}

TEST_F(CompactionTest, ADeclinedQuestionChangesNothing) {
  Answer(false);
  Click("定时提醒压缩按钮");
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(stops, 0);
  EXPECT_TRUE(Databases().Reminders.IsOpen());
}

class ExchangeTest : public MaintenanceTest {
 protected:
  void Export(const char* button, const std::string& file) {
    script->AnswerFile(file);
    Click(button);
  }
  void Import(const char* button, const std::string& file) {
    Answer();
    Answer();
    script->AnswerFile(file);
    Click(button);
  }
};

TEST_F(ExchangeTest, AnExportImportsBackAsNothingNewAndARowTheFileLacksComesBack) {
  AddReminder("每周例会", At(2024, 6, 1, 9));
  AddReminder("O'Brien", At(2024, 6, 2, 9));
  AddDue("华东机电", "巡检", At(2024, 6, 30));
  AddDue("华东机电", "年检", At(2024, 6, 30));
  AddNote("读书笔记");
  AddNote("会议");
  const struct {
    DataKind kind;
    const char* exportButton;
    const char* importButton;
    const char* exported;
    const char* imported;
    const char* deleteOne;
  } rows[] = {
      {DataKind::Timed, "定时提醒导出按钮", "定时提醒导入按钮", "导出提醒数据成功！", "导入提醒数据成功！导入记录：",
       "delete from txsj where txbt='O''Brien'"},
      {DataKind::Due, "导出到期提醒按钮", "导入到期提醒按钮", "导出到期提醒数据成功！",
       "导到期提醒数据成功！导入记录：", "delete from dqsj where xmmc='年检'"},
      {DataKind::Notes, "导出记事本按钮", "导入记事本按钮", "导出记事本数据成功！", "导入记事本数据成功！导入记录：",
       "delete from jsbsj where bt='会议'"},
  };
  ProgramDatabases& data = Databases();
  for (const auto& row : rows) {
    SCOPED_TRACE(row.exportButton);
    messages.clear();
    const std::string file = elsewhere.File(std::string(Maintained(row.kind).table));
    Export(row.exportButton, file);  // saved with the dialog's ".xls"
    Import(row.importButton, file + ".xls");
    EXPECT_EQ(messages, (std::vector<std::string>{row.exported, std::string(row.imported) + "0"}));
    platform::db::Connection& c = row.kind == DataKind::Timed ? data.Reminders.Connection()
                                  : row.kind == DataKind::Due ? data.DueConnection
                                                              : data.NotesConnection;
    ASSERT_EQ(c.Execute(row.deleteOne), 1);
    messages.clear();
    Import(row.importButton, file + ".xls");
    EXPECT_EQ(messages, std::vector<std::string>{std::string(row.imported) + "1"});
    EXPECT_EQ(CountOf(row.kind), 2);
  }
  // An imported reminder is in the loaded list at once, so it fires from the next tick.
  bool loaded = false;
  for (const ReminderRecord& r : data.Reminders.Reminders()) loaded = loaded || r.txbt == "O'Brien";
  EXPECT_TRUE(loaded);
}

TEST_F(ExchangeTest, AWorkbookMissingAColumnAddsNothingAndSaysWhy) {
  AddNote("读书笔记");
  const std::string file = elsewhere.File("notes.xls");
  Export("导出记事本按钮", file);
  platform::xls::Workbook book;
  ASSERT_TRUE(platform::xls::ReadWorkbook(file, book).ok());
  platform::xls::Sheet& sheet = book.sheets.at(0);
  const int lx = sheet.ColumnIndex("lx");
  ASSERT_GE(lx, 0);
  sheet.columns.erase(sheet.columns.begin() + lx);
  for (auto& r : sheet.rows) r.erase(r.begin() + lx);
  sheet.rows.push_back({platform::xls::Cell::Str("new")});
  ASSERT_TRUE(platform::xls::WriteWorkbook(book, file).ok());
  messages.clear();
  Import("导入记事本按钮", file);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("导入记事本数据失败！", 0), 0u) << Show(messages[0]);
  EXPECT_GT(messages[0].size(), std::string("导入记事本数据失败！").size());  // the reason follows
  EXPECT_EQ(CountOf(DataKind::Notes), 1);
  EXPECT_FALSE(page->Unit("进度提示标签2").IsVisible());
}

TEST_F(ExchangeTest, NoImportWhileTheReminderPopUpIsOpen) {
  Seams().IsReminderPopupLoaded = [] { return true; };
  Click("导入记事本按钮");
  EXPECT_EQ(messages, std::vector<std::string>{"请先关闭提醒窗口！"});
  EXPECT_EQ(script->ModalWindows().size(), 0u);
}

TEST_F(ExchangeTest, AFailingWriteOfTheWorkbookKeepsTheOlderOne) {
  AddNote("读书笔记");
  const std::string file = elsewhere.File("notes.xls");
  ASSERT_TRUE(files::WriteAll(file, "older"));
  files::InjectFaultForTest(files::Op::Write, files::Fault::DiskFull);
  Export("导出记事本按钮", file);
  files::ClearFaultsForTest();
  EXPECT_EQ(messages, std::vector<std::string>{"导出记事本数据失败！"});
  EXPECT_EQ(files::ReadAll(file).value_or(""), "older");
}

// A live data file chosen in the export dialog, under any spelling, is refused and left as
// it was; as the file to import from it is refused as well. So are the engine's names beside
// a live file.
TEST_F(ExchangeTest, ALiveDataFileIsNeitherExportedOntoNorImportedFrom) {
  AddReminder("每周例会", At(2024, 6, 1, 9));
  AddDue("华东机电", "巡检", At(2024, 6, 30));
  AddNote("读书笔记");
  ProgramDatabases& data = Databases();
  const struct {
    DataKind kind;
    const char* button;
    std::string file;
  } cases[] = {
      {DataKind::Timed, "定时提醒导出按钮", data.TimedReminderDbPath},
      {DataKind::Due, "导出到期提醒按钮", dir.File("./dqtx2.dat")},
      {DataKind::Notes, "导出记事本按钮", data.TimedReminderDbPath},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    messages.clear();
    const std::optional<std::string> before = files::ReadAll(c.file);
    Export(c.button, c.file);
    EXPECT_EQ(messages, std::vector<std::string>{"不能导出到正在使用的数据文件！请另选一个文件名。"});
    EXPECT_TRUE(files::ReadAll(c.file) == before) << "the live file was written over";
  }
  for (DataKind kind : {DataKind::Timed, DataKind::Due, DataKind::Notes}) {
    platform::db::Connection reopened;
    EXPECT_EQ(OpenDataCopy(reopened, LiveDataPath(data, kind), Maintained(kind).table), 1);
    EXPECT_EQ(Count(reopened, Maintained(kind).table), 1);
  }

  messages.clear();
  Import("导入记事本按钮", data.NotesDbPath);
  EXPECT_EQ(messages, std::vector<std::string>{"不能用正在使用的数据文件导入！请选择Excel文件。"});
  EXPECT_EQ(CountOf(DataKind::Notes), 1);

  // Nor a name the engine keeps beside a live file: it would delete the workbook as its own.
  for (const std::string& name : EngineNamesBesideTheLiveFiles()) {
    SCOPED_TRACE(name);
    messages.clear();
    Export("导出到期提醒按钮", name);
    Import("导入记事本按钮", name);
    EXPECT_EQ(messages, (std::vector<std::string>{"不能导出到正在使用的数据文件！请另选一个文件名。",
                                                  "不能用正在使用的数据文件导入！请选择Excel文件。"}));
    EXPECT_FALSE(files::Exists(name));
  }
  EXPECT_EQ(CountOf(DataKind::Notes), 1);
}

// Backups, workbooks and the live file after a compaction and a restore are the user's
// alone; a workbook written over a file the user made keeps that file's mode.
TEST_F(ExchangeTest, WhatMaintenanceWritesIsTheUsersAlone) {
  AddNote("读书笔记");
  const std::string mine = elsewhere.File("mine.xls");
  ASSERT_TRUE(files::WriteAll(mine, "the user's own"));
  ASSERT_EQ(::chmod(mine.c_str(), 0644), 0);
  script->AnswerFile(elsewhere.File("notes"));
  Click("备份记事本按钮");
  Export("导出记事本按钮", elsewhere.File("notes"));
  Export("导出记事本按钮", mine);
  Answer();
  Click("压缩记事本按钮");
  Answer();
  script->AnswerFile(elsewhere.File("notes.jsb2bak"));
  Answer();
  Click("恢复记事本按钮");
  EXPECT_EQ(messages, (std::vector<std::string>{"备份记事本数据库成功！", "导出记事本数据成功！", "导出记事本数据成功！",
                                                "压缩记事本数据库成功！", "恢复记事本数据成功！"}));
  EXPECT_EQ(testsupport::ModeOf(elsewhere.File("notes.jsb2bak")), "600");
  EXPECT_EQ(testsupport::ModeOf(elsewhere.File("notes.xls")), "600");
  EXPECT_EQ(testsupport::ModeOf(Databases().NotesDbPath), "600");
  EXPECT_EQ(testsupport::ModeOf(mine), "644");
}

// Through the page as a user goes: back up, delete a reminder, restore, and it fires.
TEST_F(ExchangeTest, ABackedUpReminderDeletedAndRestoredFiresAgain) {
  const int id = AddReminder("每天下午开会", At(2024, 5, 10, 10, 0, 30));
  script->AnswerFile(elsewhere.File("mine"));
  Click("定时提醒备份按钮");
  ASSERT_EQ(Databases().Reminders.Connection().Execute("delete from txsj where id=" + std::to_string(id)), 1);
  Databases().Reminders.RemoveLoadedReminder(id);
  Answer();
  script->AnswerFile(elsewhere.File("mine.dstx2bak"));
  Answer();
  Click("定时提醒恢复按钮");
  EXPECT_EQ(messages, (std::vector<std::string>{"备份提醒数据库成功！", "恢复提醒数据成功！"}));
  AdvanceTo(At(2024, 5, 10, 10, 0, 31));
  EXPECT_EQ(fired, std::vector<std::string>{"每天下午开会"});
}

}  // namespace
}  // namespace workmemo::maintenance_test
