#include "shell/password_change.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/database_constants.h"
#include "common/digest.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "test_support.h"

namespace {

using namespace workmemo;
using testsupport::Show;
namespace db = platform::db;
namespace files = platform::files;

const std::string kInitialDigest = "0b4d3323d40675a755df3476ef509455";  // of "731862"

// The three data files written from their empty images and opened as the start-up opens
// them, with a gate that records what it shows.
class ThreeDatabases : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(data.Reminders.OpenDatabase(Fresh("dstx2.dat"), kDatabasePassword), 1);
    ASSERT_EQ(data.DueConnection.Open(db::ConnectionText(Fresh("dqtx2.dat"), kDatabasePassword)), 1);
    ASSERT_EQ(data.NotesConnection.Open(db::ConnectionText(Fresh("jsb2.dat"), kDatabasePassword)), 1);
    GateHooks hooks;
    hooks.ShowMessage = [this](std::string_view m) { messages.emplace_back(m); };
    hooks.ShowPanel = [this](std::string_view p) { pages.emplace_back(p); };
    hooks.SetTitle = [this](std::string_view t) { title = t; };
    gate = std::make_unique<PasswordGate>(state, settings, PasswordCheck(), hooks);
  }
  void TearDown() override { platform::clock::ClearForTest(); }

  std::string Fresh(const std::string& image) {
    const std::string path = dir.File(image);
    EXPECT_TRUE(testsupport::WriteDataFileFromImage(path, image)) << image;
    return path;
  }

  // The three connections in the order timed reminders, due-date reminders, notes.
  db::Connection& Connection(int which) {
    return which == 0 ? data.Reminders.Connection() : which == 1 ? data.DueConnection : data.NotesConnection;
  }

  std::string Field(int which, const std::string& sql, const std::string& column) {
    db::RecordSet rs;
    if (rs.Open(Connection(which), sql) != 1 || rs.Eof()) return "(none)";
    return rs.Text(column);
  }
  std::string StoredPassword(int which) { return Field(which, "select top 1 * from yhsj", "mm"); }
  std::string LoginMode(int which) { return Field(which, "select top 1 * from yhsj", "yhdlfs"); }

  void Run(int which, const std::string& sql) { ASSERT_EQ(Connection(which).Execute(sql), 1) << sql; }

  std::string Shown() const {
    std::string all;
    for (const std::string& m : messages) all += Show(m) + " | ";
    return all;
  }

  testsupport::TempDir dir;
  ProgramDatabases data;
  RunState state;
  ProgramSettings settings;
  std::vector<std::string> messages, pages;
  std::string title;
  std::unique_ptr<PasswordGate> gate;
};

TEST_F(ThreeDatabases, ChangeRefusedBeforeAnyWriteKeepsTheBoxes) {
  const struct {
    PasswordChangeForm form;
    std::string message;
  } cases[] = {
      {{"", "abc", "abc"}, "请输入原密码！"},
      {{"731862", "", "abc"}, "请输入新密码！"},
      {{"731862", "abc", ""}, "请输入确认新密码！"},
      {{"731862", "abc", "abc "}, "二次输入的新密码不一样！"},
      {{"731861", "abc", "abc"}, "原密码错误,请重新输入原密码！"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.message));
    messages.clear();
    PasswordChangeForm form = c.form;
    EXPECT_EQ(ChangePassword(form, data, *gate), 0);
    EXPECT_EQ(Shown(), Show(c.message) + " | ");
    EXPECT_EQ(form.oldPassword, c.form.oldPassword);
    EXPECT_EQ(form.newPassword, c.form.newPassword);
    EXPECT_EQ(form.confirmation, c.form.confirmation);
  }
  EXPECT_TRUE(pages.empty());
  for (int which = 0; which < 3; ++which) EXPECT_EQ(StoredPassword(which), kInitialDigest);
}

TEST_F(ThreeDatabases, ChangeWritesAllThreeOrStopsAtTheFirstFailure) {
  const std::string fresh = EncodePassword("新密码'1");
  const struct {
    const char* name;
    int broken;  // the database made to fail, -1 for none
    std::string sabotage;
    std::string message;
    bool written[3];
  } cases[] = {
      {"all written", -1, "", "修改密码成功！新密码： 新密码'1", {true, true, true}},
      {"timed row not admin", 0, "update yhsj set yh='root'", "修改密码失败！", {false, false, false}},
      {"due table gone", 1, "drop table yhsj", "修改密码失败01！", {true, false, false}},
      {"notes row gone", 2, "delete from yhsj", "修改密码失败02！", {true, true, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (&c != &cases[0]) SetUp();  // fresh files for each case
    messages.clear();
    pages.clear();
    if (c.broken >= 0) Run(c.broken, c.sabotage);
    PasswordChangeForm form{"731862", "新密码'1", "新密码'1"};
    EXPECT_EQ(ChangePassword(form, data, *gate), c.broken < 0 ? 1 : 0);
    EXPECT_EQ(Shown(), Show(c.message) + " | ");
    for (int which = 0; which < 3; ++which) {
      if (c.broken == which && which > 0) continue;  // its row is gone
      EXPECT_EQ(StoredPassword(which), c.written[which] ? fresh : kInitialDigest) << which;
    }
    // The checks read the timed-reminder database: what it holds is the password in force.
    EXPECT_EQ(data.Reminders.VerifyPassword("新密码'1"), c.written[0] ? 1 : 0);
    EXPECT_TRUE(form.oldPassword.empty() && form.newPassword.empty() && form.confirmation.empty());
    EXPECT_EQ(pages, std::vector<std::string>{kPageTimedReminders});
  }
}

TEST_F(ThreeDatabases, LoginModeGoesToAllThreeAndOffForgetsTheLogin) {
  EXPECT_EQ(TogglePasswordLogin(*gate, data), 1);
  for (int which = 0; which < 3; ++which) EXPECT_EQ(LoginMode(which), "1") << which;

  state.PasswordEntered = 1;
  state.TimedReminderPageUnlocked = 1;
  EXPECT_EQ(TogglePasswordLogin(*gate, data), 0);
  for (int which = 0; which < 3; ++which) EXPECT_EQ(LoginMode(which), "0") << which;
  EXPECT_EQ(state.PasswordEntered, 0);
  EXPECT_EQ(state.TimedReminderPageUnlocked, 0);
  EXPECT_EQ(title, kMainTitle);
  EXPECT_TRUE(messages.empty()) << Shown();

  // A failed write stops there; the flag stays switched.
  Run(2, "drop table yhsj");
  EXPECT_EQ(TogglePasswordLogin(*gate, data), 1);
  EXPECT_EQ(Shown(), Show("修改用户密码登录方式失败！[02]") + " | ");
  EXPECT_EQ(LoginMode(0), "1");
  EXPECT_EQ(LoginMode(1), "0");
}

TEST_F(ThreeDatabases, UserRowCopiesForTheRestores) {
  EXPECT_EQ(ReadNotesDataPassword(data), kInitialDigest);
  EXPECT_EQ(ReadDueDataPassword(data), kInitialDigest);

  // The images have no protection columns: reads leave the fields, writes fail.
  ProtectedActions rights{7, 7, 7, 7, 7, 7};
  ReadDueDataAdminRights(data, rights);
  EXPECT_EQ(rights.cktxqx + rights.tjtxqx + rights.xgtxqx + rights.sctxqx + rights.txlqx + rights.jsbqx, 42);
  EXPECT_EQ(StoreNotesDataAdminRights(data, {1, 0, 1, 0, 1, 0}), 0);

  for (const char* column : {"cktxqx", "tjtxqx", "xgtxqx", "sctxqx", "txlqx", "jsbqx"}) {
    Run(1, std::string("alter table yhsj add column ") + column + " integer");
    Run(2, std::string("alter table yhsj add column ") + column + " integer");
  }
  Run(1, "update yhsj set cktxqx=1,tjtxqx=2,xgtxqx=3,sctxqx=4,txlqx=5,jsbqx=6 where yh='admin'");
  ReadDueDataAdminRights(data, rights);
  EXPECT_EQ(rights.cktxqx, 1);
  EXPECT_EQ(rights.jsbqx, 6);
  EXPECT_EQ(StoreNotesDataAdminRights(data, rights), 1);
  EXPECT_EQ(Field(2, "select * from yhsj", "sctxqx"), "4");

  EXPECT_EQ(StoreNotesDataPassword(data, "ab'c"), 1);
  EXPECT_EQ(ReadNotesDataPassword(data), "ab'c");
  Run(2, "delete from yhsj");
  EXPECT_EQ(StoreNotesDataPassword(data, kInitialDigest), 0);
  EXPECT_EQ(StoreNotesDataAdminRights(data, rights), 0);
  EXPECT_EQ(ReadNotesDataPassword(data), "");
}

// The notes page and the timed-reminder list page as the move sees them.
struct Lists : MoveToNotesLists {
  int selected = 0;
  std::vector<NoteRecordRow> notes;
  std::vector<int> moved;
  int SelectedReminderId() override { return selected; }
  void AppendNote(const NoteRecordRow& note) override { notes.push_back(note); }
  void ReminderMoved(int id) override { moved.push_back(id); }
};

class MoveToNotes : public ThreeDatabases {
 protected:
  void SetUp() override {
    ThreeDatabases::SetUp();
    platform::clock::SetForTest(platform::clock::SerialFromFields({2024, 6, 1, 9, 0, 0}));
    ReminderRecord r;
    r.txbt = "O'Brien's 提醒";
    r.txnr = "内容 'quoted' ''";
    r.txlx = "普通提醒";
    r.ksdate = r.kstime = platform::clock::SerialFromFields({2024, 3, 5, 8, 30, 0});
    ASSERT_EQ(data.Reminders.SaveReminder(r), 1);
    id = r.id;
    data.Reminders.LoadReminders({}, &data.ListPageReminders);
    ASSERT_EQ(data.ListPageReminders.size(), 1u);
    lists.selected = id;
    state.EditedReminderId = 0;
  }
  int Move() { return MoveSelectedReminderToNotes(data, state, lists, show); }
  int Count(int which, const std::string& table) {
    db::RecordSet rs;
    rs.Open(Connection(which), "select count(*) from " + table);
    return static_cast<int>(rs.IntegerAt(1));
  }
  void ExpectNothingMoved() {
    EXPECT_EQ(Count(2, "jsbsj"), 0);
    EXPECT_EQ(Count(0, "txsj"), 1 - deletedBehindTheStore);
    EXPECT_EQ(data.Reminders.FindLoadedReminder(id), 1);
    EXPECT_EQ(data.ListPageReminders.size(), 1u);
    EXPECT_TRUE(lists.notes.empty());
    EXPECT_TRUE(lists.moved.empty());
  }

  int id = 0;
  int deletedBehindTheStore = 0;
  Lists lists;
  std::function<void(std::string_view)> show = [this](std::string_view m) { messages.emplace_back(m); };
};

TEST_F(MoveToNotes, MovesTheSelectedReminderWithItsQuotesIntact) {
  ASSERT_EQ(Move(), 1);
  EXPECT_TRUE(messages.empty()) << Shown();
  db::RecordSet rs;
  ASSERT_EQ(rs.Open(data.NotesConnection, "select * from jsbsj"), 1);
  ASSERT_EQ(rs.RowCount(), 1);
  EXPECT_EQ(Show(rs.Text("bt")), Show("O'Brien's 提醒"));
  EXPECT_EQ(Show(rs.Text("nr")), Show("内容 'quoted' ''"));
  EXPECT_EQ(Show(rs.Text("lx")), Show("普通记事"));
  EXPECT_EQ(rs.Text("jsdate"), "2024-03-05");
  EXPECT_EQ(rs.Text("gxdate"), "2024-06-01");
  EXPECT_EQ(Count(0, "txsj"), 0);
  EXPECT_EQ(data.Reminders.FindLoadedReminder(id), 0);
  EXPECT_TRUE(data.ListPageReminders.empty());
  ASSERT_EQ(lists.notes.size(), 1u);
  EXPECT_EQ(lists.notes[0].id, rs.Integer("id"));
  EXPECT_EQ(lists.moved, std::vector<int>{id});
  EXPECT_EQ(state.EditedReminderId, 0);
}

TEST_F(MoveToNotes, FailuresLeaveBothDatabasesAndTheListsAsTheyWere) {
  // No selection: nothing at all.
  lists.selected = 0;
  EXPECT_EQ(Move(), 0);
  EXPECT_TRUE(messages.empty()) << Shown();
  ExpectNothingMoved();

  // The reminder's row went behind the store's back: its delete changes nothing, so the
  // note just written goes again.
  lists.selected = id;
  Run(0, "delete from txsj");
  deletedBehindTheStore = 1;
  EXPECT_EQ(Move(), 0);
  EXPECT_EQ(Shown(), Show("删除提醒失败！") + " | " + Show("移动提醒到记事本失败！") + " | ");
  ExpectNothingMoved();
}

TEST_F(MoveToNotes, AReminderWhoseRowCannotBeReadStaysWhereItIs) {
  // The row answers every query with an error while it can still be deleted, as a read error
  // on the disk would: the loaded copy holds only the start of the content, so a note made
  // from it would lose the rest.
  const std::string content(300, 'c');
  ReminderRecord r = data.Reminders.CopyReminder(id);
  r.txnr = content;
  ASSERT_EQ(data.Reminders.SaveReminder(r), 1);
  data.Reminders.LoadReminders({}, &data.ListPageReminders);
  Run(0, "alter table txsj rename to txsj_rows");
  Run(0, "create view txsj as select *, datediff('w', 0, 0) as unreadable from txsj_rows");
  Run(0, "create trigger txsj_delete instead of delete on txsj begin delete from txsj_rows where id=old.id; end");

  EXPECT_EQ(Move(), 0);
  EXPECT_EQ(Shown(), Show("移动提醒到记事本失败！") + " | ");
  EXPECT_EQ(Count(2, "jsbsj"), 0);
  EXPECT_EQ(Field(0, "select txnr from txsj_rows where id=" + std::to_string(id), "txnr"), content);
  EXPECT_EQ(data.Reminders.FindLoadedReminder(id), 1);
  EXPECT_TRUE(lists.notes.empty() && lists.moved.empty());
}

TEST_F(MoveToNotes, AFailedInsertKeepsTheReminder) {
  Run(2, "drop table jsbsj");
  EXPECT_EQ(Move(), 0);
  EXPECT_EQ(Shown(), Show("添加记事失败！") + " | " + Show("移动提醒到记事本失败！") + " | ");
  EXPECT_EQ(Count(0, "txsj"), 1);
  EXPECT_EQ(data.ListPageReminders.size(), 1u);
  EXPECT_TRUE(lists.notes.empty() && lists.moved.empty());
}

}  // namespace
