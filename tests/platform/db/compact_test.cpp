#include "platform/db/compact.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "db_fixture.h"

namespace {

using namespace dbtest;
using db::CompactStatus;

class Compact : public Db {
 protected:
  const std::string pw = workmemo::kDatabasePassword;

  // A reminder file that held many long reminders, most of them deleted since.
  std::string FileAfterMassDeletes(const std::string& path) {
    EXPECT_TRUE(testsupport::WriteDataFileFromImage(path, "dstx2.dat"));
    db::Connection c;
    EXPECT_EQ(c.Open(db::ConnectionText(path, pw)), 1);
    EXPECT_EQ(c.Execute("BEGIN"), 1);
    for (int i = 0; i < 400; ++i) {
      EXPECT_EQ(c.Execute("insert into txsj(ksdate,txbt,txnr,txfs) values ('2024-05-01 09:00:00','t" +
                          std::to_string(i) + "','" + std::string(2000, 'a' + i % 26) + "'," +
                          std::to_string(i % 9) + ")"),
                1);
    }
    EXPECT_EQ(c.Execute("COMMIT"), 1);
    EXPECT_EQ(c.Execute("delete from txsj where id % 40 <> 0"), 1);
    EXPECT_EQ(c.Execute("PRAGMA user_version=7"), 1);
    return path;
  }

  std::string Rows(const std::string& path) {
    db::Connection c;
    EXPECT_EQ(c.Open(db::ConnectionText(path, pw)), 1) << c.LastError();
    db::RecordSet rs;
    EXPECT_EQ(rs.Open(c, "select group_concat(id||':'||txbt||':'||length(txnr)||':'||txfs, ',') as r from "
                         "(select * from txsj order by id)"),
              1);
    std::string out = rs.Text("r");
    EXPECT_EQ(rs.Open(c, "select group_concat(yh||mm) as r from yhsj"), 1);
    return out + "|" + rs.Text("r");
  }

  int FilesIn(const std::string& d) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(d)) ++n;
    return n;
  }
};

TEST_F(Compact, ShrinksAfterMassDeletesKeepsEveryRowAndThePassword) {
  const std::string sub = dir.File("it's] here");
  ASSERT_TRUE(files::MakeDirs(sub));
  const std::string path = FileAfterMassDeletes(sub + "/dstx2.dat");
  const std::string rows = Rows(path);
  const std::int64_t before = files::Size(path);

  const db::CompactResult r = db::CompactDatabaseFile(path, pw);
  ASSERT_TRUE(r.ok()) << r.detail;
  EXPECT_LT(files::Size(path), before / 4);
  EXPECT_EQ(Rows(path), rows);
  EXPECT_EQ(FilesIn(sub), 1);  // no temporary file left beside it

  db::Connection c;
  EXPECT_EQ(c.Open(db::ConnectionText(path, "wrong")), 0);
  ASSERT_EQ(c.Open(db::ConnectionText(path, pw)), 1);
  // AUTOINCREMENT keeps counting from where it was, and the indexes came along.
  ASSERT_EQ(c.Execute("insert into txsj(txbt) values ('next')"), 1);
  db::RecordSet rs;
  ASSERT_EQ(rs.Open(c, "select max(id) as m from txsj"), 1);
  EXPECT_EQ(rs.Integer("m"), 10045 + 401);
  ASSERT_EQ(rs.Open(c, "select count(*) from sqlite_master where type='index' and name='txsj_ksdate'"), 1);
  EXPECT_EQ(rs.IntegerAt(1), 1);
  ASSERT_EQ(rs.Open(c, "PRAGMA user_version"), 1);
  EXPECT_EQ(rs.IntegerAt(1), 7);
}

// Whatever goes wrong, the original file keeps every byte and nothing is left beside it.
TEST_F(Compact, FailuresLeaveTheOriginalUntouched) {
  const std::string path = FileAfterMassDeletes(dir.File("dstx2.dat"));
  const std::string original = files::ReadAll(path).value_or("");
  struct Case {
    const char* what;
    std::optional<files::Op> fault;
    std::string password;
    CompactStatus status;
  };
  const std::vector<Case> cases = {
      {"the copy cannot be written", files::Op::Write, pw, CompactStatus::Failed},
      {"the copy cannot be renamed", files::Op::Rename, pw, CompactStatus::NotReplaced},
      {"wrong password", std::nullopt, "wrong", CompactStatus::Failed},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    if (k.fault) files::InjectFaultForTest(*k.fault, files::Fault::IoError);
    const db::CompactResult r = db::CompactDatabaseFile(path, k.password);
    files::ClearFaultsForTest();
    EXPECT_EQ(r.status, k.status) << r.detail;
    EXPECT_EQ(files::ReadAll(path).value_or(""), original);
    EXPECT_EQ(FilesIn(dir.path()), 1);
  }

  // A missing file, an empty one (which any key opens) and a foreign one are not compacted.
  EXPECT_EQ(db::CompactDatabaseFile(dir.File("missing.dat"), pw).status, CompactStatus::Failed);
  EXPECT_FALSE(files::Exists(dir.File("missing.dat")));
  for (const std::string& content : {std::string(), std::string("plain text, no database")}) {
    ASSERT_TRUE(files::WriteAll(dir.File("other.dat"), content));
    EXPECT_EQ(db::CompactDatabaseFile(dir.File("other.dat"), pw).status, CompactStatus::Failed);
    EXPECT_EQ(files::ReadAll(dir.File("other.dat")).value_or("?"), content);
  }
}

}  // namespace
