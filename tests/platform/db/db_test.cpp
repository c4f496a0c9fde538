#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "db_fixture.h"
#include "platform/text/text.h"

namespace {

using namespace dbtest;
using testsupport::Show;

// GB18030 texts used below.
const std::string kTitle = "\xB1\xEA\xCC\xE2";                 // 标题
const std::string kPlainNote = "\xC6\xD5\xCD\xA8\xBC\xC7\xCA\xC2";  // 普通记事
const std::string kCustomer = "\xBF\xCD\xBB\xA7";              // 客户
const std::string kFourByte = "\x95\x32\x82\x36";              // U+20000, outside GBK
const std::string kInitialDigest = "0b4d3323d40675a755df3476ef509455";  // MD5 of "731862"

// Statements of the program in the order a session issues them; `expect` is the row count of
// a query or the rows changed by a change.
struct Case {
  enum Kind { Query, Change, Fails } kind;
  std::string sql;
  int expect = 0;
};

void RunCases(db::Connection& c, const std::vector<Case>& cases) {
  db::RecordSet rs;
  for (const Case& k : cases) {
    SCOPED_TRACE(Show(k.sql));
    if (k.kind == Case::Query) {
      ASSERT_EQ(rs.Open(c, k.sql), 1) << c.LastError();
      EXPECT_EQ(rs.RowCount(), k.expect);
    } else if (k.kind == Case::Change) {
      std::int64_t changed = -1;
      ASSERT_EQ(c.Execute(k.sql, &changed), 1) << c.LastError();
      EXPECT_EQ(changed, k.expect);
    } else {
      EXPECT_EQ(c.Execute(k.sql), 0);
    }
  }
}

std::string ColumnList(db::Connection& c, const std::string& table) {
  db::RecordSet rs;
  EXPECT_EQ(rs.Open(c, "select * from " + table), 1);
  // Column names come with the statement, so an empty table has them too.
  std::string names;
  for (int i = 1; i <= rs.ColumnCount(); ++i) names += (i > 1 ? "," : "") + rs.ColumnName(i);
  return names;
}

TEST_F(Db, FreshImagesHoldTheirTablesFirstIdsAndAdminRow) {
  struct Image {
    const char* file;
    const char* table;
    std::string columns;
    std::string insert;
    int firstId;
    const char* loginMode;  // yhdlfs as text: empty when NULL
  };
  const std::vector<Image> images = {
      {"dstx2.dat", "txsj",
       "ksdate,jsdate,kstime,jstime,txdate,txfs,txrw,txbt,txnr,txyy,txcx,txwy,cfsj,cfdw,tqsj,tqdw,txlx,txjd,"
       "txweek,notxweek,txmonth,txdays,djsj,nlyear,nlry,cfcs,cfjs,cfcsdw,bytx,txzt,xctx,gbcksj,gjys,qzzx,txdz,"
       "yytx,gxdate,tjdate,id", "insert into txsj(txbt) values ('a')", 10046, "0"},
      {"dqtx2.dat", "dqsj",
       "xmmc,xmlx,wcjd,wczt,dqdate,bz,gxdate,tqts,txfs,wcdate,ksdate,fzrxm,fzrbh,id,khbh,khmc,tjdate", "insert into dqsj(xmmc) values ('a')", 50, "0"},
      {"jsb2.dat", "jsbsj", "id,bt,nr,gxdate,lx,jsdate", "insert into jsbsj(bt) values ('a')", 1, ""},
  };
  for (const Image& im : images) {
    SCOPED_TRACE(im.file);
    db::Connection c;
    OpenFile(c, Fresh(im.file));
    EXPECT_EQ(ColumnList(c, im.table), im.columns);
    EXPECT_EQ(ColumnList(c, "yhsj"), "id,yh,mm,dldate,gxdate,yhwt,yhda,yhdlfs");

    db::RecordSet rs;
    ASSERT_EQ(rs.Open(c, "select * from yhsj where yh='admin'"), 1);
    ASSERT_EQ(rs.RowCount(), 1);
    EXPECT_EQ(rs.Integer("id"), 1);
    EXPECT_EQ(rs.Text("mm"), kInitialDigest);
    EXPECT_EQ(rs.DateTime("dldate"), Serial(2011, 12, 23));
    EXPECT_EQ(rs.DateTime("gxdate"), Serial(2011, 12, 23));
    EXPECT_EQ(rs.Text("yhwt"), "");
    EXPECT_EQ(rs.Text("yhdlfs"), im.loginMode);
    EXPECT_EQ(rs.Integer("yhdlfs"), 0);
    EXPECT_FALSE(rs.HasColumn("cktxqx"));
    EXPECT_EQ(rs.Integer("cktxqx"), 0);

    ASSERT_EQ(c.Execute(im.insert), 1) << c.LastError();
    ASSERT_EQ(rs.Open(c, std::string("select top 1 * from ") + im.table + " order by id desc"), 1);
    EXPECT_EQ(rs.Integer("id"), im.firstId);

    // The file is complete and sound after the change.
    ASSERT_EQ(rs.Open(c, "PRAGMA integrity_check"), 1);
    EXPECT_EQ(rs.Text("integrity_check"), "ok");
    ASSERT_EQ(rs.Open(c, "PRAGMA journal_mode"), 1);
    EXPECT_EQ(rs.Text("journal_mode"), "delete");
    ASSERT_EQ(rs.Open(c, "PRAGMA synchronous"), 1);
    EXPECT_EQ(rs.IntegerAt(1), 2);  // FULL
  }
}

TEST_F(Db, OpenFailsOnWrongPasswordMissingOrForeignFiles) {
  const std::string good = Fresh("jsb2.dat");
  db::Connection c;
  EXPECT_EQ(c.Open(db::ConnectionText(good, "wrong")), 0);
  EXPECT_EQ(c.Open(db::ConnectionText(good, "")), 0);
  EXPECT_EQ(c.Open(db::ConnectionText(dir.File("missing.dat"), workmemo::kDatabasePassword)), 0);
  EXPECT_FALSE(files::Exists(dir.File("missing.dat")));  // opening never creates a file
  ASSERT_TRUE(files::WriteAll(dir.File("text.dat"), "not a database at all, just some text\n"));
  EXPECT_EQ(c.Open(db::ConnectionText(dir.File("text.dat"), workmemo::kDatabasePassword)), 0);
  EXPECT_EQ(c.Open("Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=x"), 0);

  // Every later call on a connection that failed answers with failure.
  std::int64_t changed = 7;
  EXPECT_EQ(c.Execute("delete from jsbsj", &changed), 0);
  EXPECT_EQ(changed, 0);
  db::RecordSet rs;
  EXPECT_EQ(rs.Open(c, "select * from jsbsj"), 0);
  EXPECT_EQ(rs.RowCount(), 0);
  EXPECT_TRUE(rs.Eof());
  EXPECT_EQ(rs.Text("bt"), "");

  // Both spellings of the connection text, keys in any case.
  const std::string pw = workmemo::kDatabasePassword;
  for (const std::string& t :
       {"Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" + good + ";Jet OLEDB:Database Password=" + pw,
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + good + ";Jet OLEDB:Database Password=" + pw,
        "provider=x; data source=" + good + "; JET OLEDB:DATABASE PASSWORD=" + pw}) {
    EXPECT_EQ(c.Open(t), 1) << t << c.LastError();
  }
}

TEST_F(Db, ZeroLengthFileOpensButHasNoTable) {
  db::Connection c;
  OpenFile(c, Scratch());
  db::RecordSet rs;
  EXPECT_EQ(rs.Open(c, "select * from jsbsj"), 0);
  EXPECT_EQ(rs.RowCount(), 0);
}

TEST_F(Db, ReopeningClosesTheFirstFile) {
  const std::string notes = Fresh("jsb2.dat");
  const std::string due = Fresh("dqtx2.dat");
  db::Connection c;
  OpenFile(c, notes);
  OpenFile(c, due);
  db::RecordSet rs;
  EXPECT_EQ(rs.Open(c, "select * from jsbsj"), 0);
  EXPECT_EQ(rs.Open(c, "select * from dqsj"), 1);
  // A failed reopen leaves the connection closed, not on the old file.
  EXPECT_EQ(c.Open(db::ConnectionText(notes, "wrong")), 0);
  EXPECT_EQ(rs.Open(c, "select * from dqsj"), 0);
}

TEST_F(Db, DueDateStatements) {
  db::Connection c;
  OpenFile(c, Fresh("dqtx2.dat"));
  clk::SetForTest(Serial(2024, 3, 15, 10, 0, 0));
  auto insert = [](std::string khmc, std::string xmmc, std::string xmlx, std::string wcjd, std::string bz,
                   std::string ksdate, std::string dqdate) {
    const std::string now = "2024-03-15 10:00:00";
    return "insert into dqsj(khmc,xmmc,xmlx,wcjd,bz,ksdate,dqdate,tjdate,gxdate) values ('" + khmc + "','" +
           xmmc + "','" + xmlx + "','" + wcjd + "','" + bz + "','" + ksdate + "','" + dqdate + "','" + now +
           "','" + now + "')";
  };
  // Due today (id 50), yesterday (51), in 7 days (52), 8 days ago (53).
  RunCases(c, {
      {Case::Change, insert("Acme", "Alpha project", "Web", "50", "first", "2024-03-01 00:00:00", "2024-03-15 00:00:00"), 1},
      {Case::Change, insert("Beta", "beta build", "Desk", "5", "second", "2024-02-10 00:00:00", "2024-03-14 00:00:00"), 1},
      {Case::Change, insert("ACME", "Gamma", "web", "500", kCustomer, "2024-03-02 00:00:00", "2024-03-22 00:00:00"), 1},
      {Case::Change, insert(kCustomer, "Delta", "Desk", "0", "", "2024-01-05 00:00:00", "2024-03-07 00:00:00"), 1},
      {Case::Query, "select * from dqsj order by dqdate", 4},
      {Case::Query, "select * from dqsj where datediff('D',now(),dqdate)<8 and datediff('D',now(),dqdate)>=0 order by dqdate", 2},
      {Case::Query, "select * from dqsj where datediff('D',now(),dqdate)<1 and datediff('D',now(),dqdate)>=0 order by dqdate", 1},
      {Case::Query, "select * from dqsj where datediff('D',now(),dqdate)<0 and datediff('D',now(),dqdate)>=0 order by dqdate", 0},
      {Case::Query, "select * from dqsj where datediff('D',now(),dqdate)>=-1 and datediff('D',now(),dqdate)<0 order by dqdate", 1},
      {Case::Query, "select * from dqsj where datediff('D',now(),dqdate)>=-8 and datediff('D',now(),dqdate)<0 order by dqdate", 2},
      {Case::Query, "select * from dqsj where xmmc like '%ALPHA%' order by dqdate", 1},
      {Case::Query, "select * from dqsj where xmlx like '%Web%' order by dqdate", 2},
      {Case::Query, "select * from dqsj where bz like '%" + kCustomer + "%' order by dqdate", 1},
      {Case::Query, "select * from dqsj where khmc like '%acme%' order by dqdate", 2},
      {Case::Query, "select * from dqsj where dqdate like '2024-03-1%' order by dqdate", 2},
      {Case::Query, "select * from dqsj where wcjd=50 order by dqdate", 1},
      {Case::Query, "select * from dqsj where ksdate like '%2024-02%' order by ksdate", 1},
      {Case::Query, "select * from dqsj where id=52", 1},
      {Case::Change, "update dqsj set wcjd=80 where id=52", 1},
      {Case::Query, "select * from dqsj where wcjd=80 order by dqdate", 1},
      {Case::Query, "select distinct(xmmc) as xmmc1 from dqsj", 4},
      {Case::Query, "select distinct(xmlx) as xmlx1 from dqsj", 2},
      {Case::Query, "select distinct(khmc) as khmc1 from dqsj", 3},
      {Case::Query, "select top 1 * from dqsj order by id desc", 1},
      {Case::Change, "update dqsj set khmc='K',xmmc='X',xmlx='T',wcjd=10,bz='B',dqdate='2024-04-01 00:00:00',gxdate='2024-03-15 10:00:00' where id=53", 1},
      {Case::Query, "select count(id) as count1 from dqsj", 1},
      {Case::Query, "select count(*) from dqsj", 1},
      {Case::Change, "delete from dqsj where id=51", 1},
      {Case::Change, "delete from dqsj where id=51", 0},
  });

  db::RecordSet rs;
  ASSERT_EQ(rs.Open(c, "select * from dqsj order by dqdate"), 1);
  std::string order;
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) order += std::to_string(rs.Integer("id")) + " ";
  EXPECT_EQ(order, "50 52 53 ");
  ASSERT_EQ(rs.Open(c, "select top 1 * from dqsj order by id desc"), 1);
  EXPECT_EQ(rs.Integer("id"), 53);
  EXPECT_EQ(rs.Text("khmc"), "K");
  EXPECT_EQ(rs.DateTime("dqdate"), Serial(2024, 4, 1));
  ASSERT_EQ(rs.Open(c, "select distinct(khmc) as khmc1 from dqsj"), 1);
  EXPECT_EQ(rs.RowCount(), 2);  // Acme and ACME are one customer
  ASSERT_EQ(rs.Open(c, "select count(id) as count1 from dqsj"), 1);
  EXPECT_EQ(rs.Integer("count1"), 3);
  ASSERT_EQ(rs.Open(c, "select count(*) from dqsj"), 1);
  EXPECT_EQ(rs.IntegerAt(1), 3);
  EXPECT_EQ(rs.IntegerAt(2), 0);
}

TEST_F(Db, NotesStatements) {
  db::Connection c;
  OpenFile(c, Fresh("jsb2.dat"));
  auto insert = [](std::string bt, std::string nr, std::string lx, std::string gx, std::string js) {
    return "insert into jsbsj(bt,nr,lx,gxdate,jsdate) values ('" + bt + "','" + nr + "','" + lx + "','" + gx +
           "','" + js + "')";
  };
  RunCases(c, {
      {Case::Query, "select distinct(lx) as lx1 from jsbsj", 0},
      {Case::Change, insert("Meeting notes", "room 4", kPlainNote, "2024-03-15", "2024-03-20"), 1},
      {Case::Change, insert(kTitle + " one", "x_y", kPlainNote, "2024-03-15", "2024-03-01"), 1},
      {Case::Change, insert("Mee ting", "100%", "Work", "2024-03-15", "2024-03-20"), 1},
      {Case::Query, "select * from jsbsj order by jsdate", 3},
      {Case::Query, "select * from jsbsj where bt like'%meet%' order by jsdate", 1},
      {Case::Query, "select * from jsbsj where bt like'%" + kTitle + "%' order by jsdate", 1},
      {Case::Query, "select * from jsbsj where nr like'%_%' order by jsdate", 3},
      {Case::Query, "select * from jsbsj where nr like'%0%%' order by jsdate", 1},
      {Case::Query, "select * from jsbsj where lx like'%" + kPlainNote + "%' order by jsdate", 2},
      {Case::Query, "select * from jsbsj where id=2", 1},
      {Case::Query, "select distinct(lx) as lx1 from jsbsj", 2},
      {Case::Query, "select top 1 * from jsbsj order by id desc", 1},
      {Case::Change, "update jsbsj set bt='B',nr='N',lx='L',jsdate='2024-01-01',gxdate='2024-03-16' where id=3", 1},
      {Case::Query, "select count(id) as count1 from jsbsj", 1},
      {Case::Query, "select count(*) from jsbsj", 1},
      {Case::Query, "select * from jsbsj", 3},
      {Case::Change, "delete from jsbsj where id=1", 1},
  });
  db::RecordSet rs;
  ASSERT_EQ(rs.Open(c, "select * from jsbsj order by jsdate"), 1);
  ASSERT_EQ(rs.RowCount(), 2);
  EXPECT_EQ(rs.Integer("id"), 3);  // 2024-01-01 before 2024-03-01
  EXPECT_EQ(rs.DateTime("jsdate"), Serial(2024, 1, 1));
  EXPECT_EQ(rs.DateTime("gxdate"), Serial(2024, 3, 16));
  EXPECT_EQ(rs.Text("jsdate"), "2024-01-01");
}

TEST_F(Db, TimedReminderAndUserStatements) {
  db::Connection c;
  OpenFile(c, Fresh("dstx2.dat"));
  const std::string insert =
      "insert into txsj(ksdate,jsdate,kstime,jstime,txdate,txfs,txrw,cfsj,cfdw,tqsj,tqdw,txweek,notxweek,"
      "txmonth,nlyear,nlry,txdays,txbt,txnr,txyy,txcx,txwy,txlx,cfcs,cfjs,cfcsdw,bytx,txzt,xctx,djsj,gbcksj,"
      "gjys,qzzx,txdz,tjdate,gxdate) values ('2024-03-15 08:30:00','2024-03-15 08:30:00','2024-03-15 "
      "08:00:00','2024-03-15 18:00:00','2024-03-15 08:30:00',2,0,0,0,10,7,'2-4','','3',0,0,'15','" +
      kTitle + " Standup','content','a.mp3','','','Work',0,0,0,0,0,0,0,0,0,0,0,'2024-03-15 10:00:00','2024-03-15 "
      "10:00:00')";
  RunCases(c, {
      {Case::Change, insert, 1},
      {Case::Change, insert, 1},
      {Case::Query, "select top 1 * from txsj order by id desc", 1},
      {Case::Query, "select * from txsj order by ksdate", 2},
      {Case::Query, "select * from txsj where txbt like'%standup%' order by ksdate", 2},
      {Case::Query, "select * from txsj where txnr like'%CONTENT%' order by ksdate", 2},
      {Case::Query, "select * from txsj where txlx like'%ork%' order by ksdate", 2},
      {Case::Query, "select * from txsj where id=10046", 1},
      {Case::Change, "update txsj set ksdate='2024-03-16 08:30:00',txfs=1,txbt='T',txzt=0,gxdate='2024-03-15 11:00:00' where id=10046", 1},
      {Case::Change, "update txsj set txzt=0  where id=10046", 1},
      {Case::Change, "update txsj set txzt=1 where id=10047", 1},
      {Case::Change, "update txsj set xctx=1,txdate='2024-03-15 08:40:00' where id=10047", 1},
      {Case::Change, "update txsj set cfjs=3 where id=10047", 1},
      {Case::Query, "select distinct(txlx) as lx from txsj", 1},
      {Case::Query, "select count(*) from txsj", 1},
      {Case::Change, "delete from txsj where id=10046", 1},
      {Case::Change, "delete from txsj", 1},
      {Case::Query, "select * from yhsj", 1},
      {Case::Query, "select top 1 * from yhsj", 1},
      {Case::Change, "update yhsj set mm='e10adc3949ba59abbe56e057f20f883e' where yh='admin'", 1},
      {Case::Change, "update yhsj set yhdlfs=1 where yh='admin'", 1},
      // The rights columns are not in a file made from the images.
      {Case::Fails, "update yhsj set cktxqx=0,tjtxqx=1,xgtxqx=0,sctxqx=0,txlqx=0,jsbqx=0 where yh='admin'"},
  });
  db::RecordSet rs;
  ASSERT_EQ(rs.Open(c, "select top 1 * from yhsj"), 1);
  EXPECT_EQ(rs.Text("mm"), "e10adc3949ba59abbe56e057f20f883e");
  EXPECT_EQ(rs.Integer("yhdlfs"), 1);
  ASSERT_EQ(rs.Open(c, "select * from txsj"), 1);
  EXPECT_EQ(rs.RowCount(), 0);
}

TEST_F(Db, LikeIgnoresLetterCaseBeyondAscii) {
  db::Connection c;
  OpenFile(c, Scratch());
  struct LikeCase {
    std::string value, pattern;
    int match;
  };
  const std::vector<LikeCase> cases = {
      {"O'Brien", "%o''b%", 1},
      {"\x81\x30\x86\x38" "B", "%\xA8\xA4" "b", 1},  // Latin capital A grave vs small a grave
      {"\xA3\xCF" "K", "\xA3\xEF" "k", 1},             // full-width O vs full-width o
      {kTitle, kTitle.substr(0, 2) + "_", 1},          // '_' is one character, not one byte
      {kTitle, kTitle.substr(0, 2) + "__", 0},
      {"abc", "a%c%", 1},
      {"abc", "b%", 0},
      {"\x81\x5F", "\x81\x60", 0},  // a trail byte "_" is no wildcard
      {"\x81\x40" + kFourByte + "x", "_" + kFourByte + "_", 1},
      {"\x95\x5C" "a", "%\x95\x5C%", 1},
  };
  db::RecordSet rs;
  for (const LikeCase& k : cases) {
    SCOPED_TRACE(Show(k.value + " like " + k.pattern));
    const std::string sql = "select ('" + db::EscapeSqlText(k.value) + "' like '" + k.pattern + "') as m";
    ASSERT_EQ(rs.Open(c, sql), 1) << c.LastError();
    EXPECT_EQ(rs.Integer("m"), k.match);
  }
}

// A search text matches as it is typed: '%', '_' and '\' are no wildcards, also where a
// GB18030 character carries a trail byte that reads as one of them.
TEST_F(Db, LikeContainingMatchesTheTextLiterally) {
  db::Connection c;
  OpenFile(c, Fresh("jsb2.dat"));
  const std::vector<std::string> titles = {"100% done", "1000 items", "a_b", "axb", "c:\\dir",
                                           "O'Brien", "\x81\x5C" "x", "\x81\x5F" "y", "AB%_" + kFourByte};
  for (const std::string& t : titles)
    ASSERT_EQ(c.Execute("insert into jsbsj(bt) values ('" + db::EscapeSqlText(t) + "')"), 1) << Show(t);
  struct Search {
    std::string text;
    std::vector<std::string> found;
  };
  const std::vector<Search> searches = {
      {"100%", {"100% done"}},
      {"_", {"a_b", "AB%_" + kFourByte}},
      {"%", {"100% done", "AB%_" + kFourByte}},
      {"\\", {"c:\\dir"}},
      {"'b", {"O'Brien"}},
      {"ab%_" + kFourByte, {"AB%_" + kFourByte}},  // letter case still ignored
      {"\x81\x5C", {"\x81\x5C" "x"}},
      {"", titles},
  };
  db::RecordSet rs;
  for (const Search& k : searches) {
    SCOPED_TRACE(Show(k.text));
    ASSERT_EQ(rs.Open(c, "select bt from jsbsj where bt " + db::LikeContaining(k.text) + " order by id"), 1)
        << c.LastError();
    std::vector<std::string> found;
    for (; !rs.Eof(); rs.MoveNext()) found.push_back(rs.Text("bt"));
    EXPECT_EQ(found, k.found);
  }
  EXPECT_EQ(rs.Open(c, "select ('a' like 'a' escape 'xy') as m"), 0);  // one escape character only
}

TEST_F(Db, QuotedTextsAndGb18030RoundTrip) {
  db::Connection c;
  OpenFile(c, Fresh("jsb2.dat"));
  // Trail bytes 0x40-0x7E read as ASCII ("@", "\\", "_", "~") when taken byte by byte.
  const std::vector<std::string> texts = {"O'Brien", "''", "it's " + kTitle + "'s", kTitle + kFourByte + "\xA2\xE3",
                                          "line\r\nbreak", "\x81\x40\x95\x5C'\x81\x5F\x81\x7E" + kFourByte};
  db::RecordSet rs;
  for (const std::string& t : texts) {
    SCOPED_TRACE(Show(t));
    const std::string v = db::EscapeSqlText(t);
    ASSERT_EQ(c.Execute("insert into jsbsj(bt,nr,lx,gxdate,jsdate) values ('" + v + "','" + v + "','" + v +
                        "','2024-03-15','2024-03-15')"),
              1)
        << c.LastError();
    ASSERT_EQ(rs.Open(c, "select top 1 * from jsbsj order by id desc"), 1);
    EXPECT_EQ(rs.Text("bt"), t);
    EXPECT_EQ(rs.Text("nr"), t);
    ASSERT_EQ(rs.Open(c, "select * from jsbsj where bt like'%" + v + "%' order by jsdate"), 1);
    EXPECT_GE(rs.RowCount(), 1);
  }
  EXPECT_EQ(db::EscapeSqlText("a'b''c"), "a''b''''c");
  // A stray lead byte right before a quote must not hide it: otherwise the quote would end
  // the literal and the rest of the text would run as SQL.
  for (const std::string& stray : {std::string("\x81' or 'a'='a"), std::string("x\xFE'||'"), std::string("\x81")}) {
    SCOPED_TRACE(Show(stray));
    std::int64_t changed = -1;
    ASSERT_EQ(c.Execute("delete from jsbsj where bt='" + db::EscapeSqlText(stray) + "'", &changed), 1)
        << c.LastError();
    EXPECT_EQ(changed, 0);
  }
  // Unescaped, a quote breaks the statement and nothing is stored.
  EXPECT_EQ(c.Execute("insert into jsbsj(bt) values ('O'Brien')"), 0);
  ASSERT_EQ(rs.Open(c, "select count(*) from jsbsj"), 1);
  EXPECT_EQ(rs.IntegerAt(1), static_cast<std::int64_t>(texts.size()));
}

TEST_F(Db, Gb18030FileName) {
  const std::string path = dir.File(kTitle + ".dat");
  ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "jsb2.dat"));
  db::Connection c;
  OpenFile(c, path);
  EXPECT_EQ(c.Execute("insert into jsbsj(bt) values ('x')"), 1);
}

TEST_F(Db, OneStatementPerCall) {
  db::Connection c;
  OpenFile(c, Fresh("jsb2.dat"));
  ASSERT_EQ(c.Execute("insert into jsbsj(bt) values ('keep')"), 1);
  db::RecordSet rs;
  for (const std::string& sql : {std::string("delete from jsbsj where id=1; delete from jsbsj"),
                                 std::string("select top 1 * from jsbsj; delete from jsbsj"),
                                 std::string("delete from jsbsj where id=99;\ndelete from jsbsj;"),
                                 std::string("select 1\0; delete from jsbsj", 28), std::string("  "),
                                 std::string("-- nothing")}) {
    SCOPED_TRACE(sql);
    EXPECT_EQ(c.Execute(sql), 0);
    EXPECT_EQ(rs.Open(c, sql), 0);
    EXPECT_EQ(rs.RowCount(), 0);
  }
  ASSERT_EQ(rs.Open(c, "select count(*) from jsbsj;  "), 1);  // one statement with its ';'
  EXPECT_EQ(rs.IntegerAt(1), 1);
  ASSERT_EQ(rs.Open(c, "select top 1 * from jsbsj -- newest\n"), 1);
  EXPECT_EQ(rs.RowCount(), 1);
}

TEST_F(Db, NullMissingColumnsAndReadingPastTheEnd) {
  db::Connection c;
  OpenFile(c, Fresh("dqtx2.dat"));
  ASSERT_EQ(c.Execute("insert into dqsj(xmmc,wcjd,dqdate,ksdate) values (NULL,NULL,NULL,'2024-03-15')"), 1);
  db::RecordSet rs;
  ASSERT_EQ(rs.Open(c, "select * from dqsj"), 1);
  ASSERT_EQ(rs.RowCount(), 1);
  EXPECT_EQ(rs.Text("xmmc"), "");
  EXPECT_EQ(rs.Integer("wcjd"), 0);
  EXPECT_EQ(rs.DateTime("dqdate"), 0.0);
  EXPECT_EQ(rs.DateTime("ksdate"), Serial(2024, 3, 15));  // the date-alone form
  EXPECT_EQ(rs.Integer("WCZT"), 0);                        // column names ignore case
  EXPECT_TRUE(rs.HasColumn("KSDATE"));
  EXPECT_FALSE(rs.HasColumn("nosuch"));
  EXPECT_EQ(rs.Integer("nosuch"), 0);
  EXPECT_EQ(rs.Text("nosuch"), "");
  EXPECT_EQ(rs.DateTime("nosuch"), 0.0);
  EXPECT_EQ(rs.IntegerAt(0), 0);
  EXPECT_EQ(rs.IntegerAt(99), 0);
  rs.MoveNext();
  rs.MoveNext();
  EXPECT_TRUE(rs.Eof());
  EXPECT_EQ(rs.Integer("id"), 0);
  rs.MoveFirst();
  EXPECT_EQ(rs.Integer("id"), 50);
  // Integers read as text, and integer texts read as integers.
  ASSERT_EQ(rs.Open(c, "select id, '42' as t, 2.5 as r, 'x' as j from dqsj"), 1);
  EXPECT_EQ(rs.Text("id"), "50");
  EXPECT_EQ(rs.Integer("t"), 42);
  EXPECT_EQ(rs.Text("r"), "2.5");
  EXPECT_EQ(rs.Integer("j"), 0);
}

// Rows handed out as a query reads them give every value as the record set gives it.
TEST_F(Db, RowsReadAsTheyComeReadAsTheRecordSet) {
  db::Connection c;
  OpenFile(c, Scratch());
  ASSERT_EQ(c.Execute("create table t(a, b)"), 1);
  const std::vector<std::string> values = {
      "NULL", "0", "-7", "9007199254740993", "2.5", "-1e300", "'42'", "' 17 '", "'4x'", "''",
      "'2024-03-15'", "'2024-03-15 08:05:09'", "'2024-02-30'", "45366.25", "x'41ff00'",
      "'" + std::string(kTitle) + "'", "'O''Brien'"};
  for (const std::string& v : values) ASSERT_EQ(c.Execute("insert into t values (" + v + ", 1)"), 1) << Show(v);
  db::RecordSet rs;
  ASSERT_EQ(rs.Open(c, "select a, b as A, rowid as r from t order by rowid"), 1);
  int rows = 0;
  ASSERT_EQ(db::ReadRows(c, "select a, b as A, rowid as r from t order by rowid", [&](const db::Row& row) {
    SCOPED_TRACE(Show(values[static_cast<std::size_t>(rows)]));
    EXPECT_EQ(row.Column("A"), 1);  // the first of equal names, case ignored
    EXPECT_EQ(row.Column("R"), 3);
    EXPECT_EQ(row.Column("nosuch"), 0);
    EXPECT_EQ(row.IntegerAt(1), rs.Integer("a"));
    EXPECT_EQ(row.TextAt(1), rs.Text("a"));
    EXPECT_EQ(row.DateTimeAt(1), rs.DateTime("a"));
    for (int outside : {0, 4, -1}) {
      EXPECT_EQ(row.IntegerAt(outside), 0);
      EXPECT_EQ(row.TextAt(outside), "");
      EXPECT_EQ(row.DateTimeAt(outside), 0.0);
    }
    rs.MoveNext();
    ++rows;
  }), 1) << c.LastError();
  EXPECT_EQ(rows, static_cast<int>(values.size()));
  EXPECT_TRUE(rs.Eof());

  // A query that fails after handing out rows still fails, and one that cannot start hands
  // out none.
  rows = 0;
  EXPECT_EQ(db::ReadRows(c, "select case when rowid=4 then abs(-9223372036854775808) else a end from t",
                         [&rows](const db::Row&) { ++rows; }), 0);
  EXPECT_EQ(rows, 3);
  EXPECT_FALSE(c.LastError().empty());
  EXPECT_EQ(db::ReadRows(c, "select * from nosuch", [&rows](const db::Row&) { ++rows; }), 0);
  EXPECT_EQ(db::ReadRows(c, "select 1; select 2", [&rows](const db::Row&) { ++rows; }), 0);
  EXPECT_EQ(rows, 3);
  db::Connection closed;
  EXPECT_EQ(db::ReadRows(closed, "select 1", [&rows](const db::Row&) { ++rows; }), 0);
  EXPECT_EQ(rows, 3);
}

TEST_F(Db, TableLimitsRefuseOverlongTextsAndMalformedDates) {
  db::Connection c;
  OpenFile(c, Fresh("jsb2.dat"));
  std::string chars255;
  for (int i = 0; i < 255; ++i) chars255 += kTitle.substr(0, 2);  // 510 bytes, 255 characters
  struct Limit {
    std::string sql;
    int ok;
  };
  const std::vector<Limit> cases = {
      {"insert into jsbsj(bt) values ('" + chars255 + "')", 1},
      {"insert into jsbsj(bt) values ('" + chars255 + "a')", 0},
      {"insert into jsbsj(lx) values ('" + std::string(50, 'x') + "')", 1},
      {"insert into jsbsj(lx) values ('" + std::string(51, 'x') + "')", 0},
      {"insert into jsbsj(nr) values ('" + std::string(70000, 'x') + "')", 1},  // Memo
      {"update yhsj set yh='" + std::string(21, 'x') + "' where yh='admin'", 0},
      {"update yhsj set mm='" + std::string(33, 'x') + "' where yh='admin'", 0},
      {"insert into jsbsj(jsdate) values ('2024/03/15')", 0},
      {"insert into jsbsj(jsdate) values ('')", 0},
      {"insert into jsbsj(jsdate) values (45366)", 0},
      {"insert into jsbsj(jsdate) values ('2024-03-15 8:05:09')", 0},
  };
  for (const Limit& k : cases) {
    SCOPED_TRACE(Show(k.sql.substr(0, 80)));
    EXPECT_EQ(c.Execute(k.sql), k.ok) << c.LastError();
  }
  db::RecordSet rs;
  ASSERT_EQ(rs.Open(c, "select count(*) from jsbsj"), 1);
  EXPECT_EQ(rs.IntegerAt(1), 3);
}

// A statement that fails part-way fails as a whole: a query gives none of the rows it read
// before the failure, a change keeps none of the rows it changed before it.
TEST_F(Db, AStatementThatFailsPartWayFailsAsAWhole) {
  db::Connection c;
  OpenFile(c, Fresh("jsb2.dat"));
  for (int i = 1; i <= 5; ++i)
    ASSERT_EQ(c.Execute("insert into jsbsj(bt,lx) values ('n" + std::to_string(i) + "','kept')"), 1);
  db::RecordSet rs;
  // The fourth row raises an error after three were read.
  EXPECT_EQ(rs.Open(c, "select id, case when id=4 then abs(-9223372036854775808) else id end as v "
                       "from jsbsj order by id"), 0);
  EXPECT_EQ(rs.RowCount(), 0);
  EXPECT_TRUE(rs.Eof());
  EXPECT_FALSE(c.LastError().empty());
  // The fourth row breaks the column's limit after three were changed.
  std::int64_t changed = -1;
  EXPECT_EQ(c.Execute("update jsbsj set lx=case when id=4 then '" + std::string(51, 'x') +
                      "' else 'changed' end", &changed), 0);
  EXPECT_EQ(changed, 0);
  ASSERT_EQ(rs.Open(c, "select count(*) from jsbsj where lx='kept'"), 1);
  EXPECT_EQ(rs.IntegerAt(1), 5);
  EXPECT_EQ(c.QuickCheck(), 1) << c.LastError();

  // Pages overwritten amid the rows of a real encrypted data file: the file opens and its
  // schema reads, but neither a query nor a change over the whole table runs part-way.
  const std::string damaged = dir.File("damaged.dat");
  ASSERT_TRUE(testsupport::WriteDamagedReminderFile(damaged, 400));
  db::Connection d;
  OpenFile(d, damaged);
  EXPECT_TRUE(d.HasTable("txsj"));
  EXPECT_TRUE(d.HasTable("TXSJ"));
  EXPECT_FALSE(d.HasTable("jsbsj"));
  EXPECT_EQ(rs.Open(d, "select * from txsj order by ksdate"), 0);
  EXPECT_EQ(rs.RowCount(), 0);
  EXPECT_EQ(d.Execute("update txsj set txzt=1", &changed), 0);
  EXPECT_EQ(changed, 0);
  ASSERT_EQ(rs.Open(d, "select txzt from txsj where id=10046"), 1) << d.LastError();
  EXPECT_EQ(rs.Integer("txzt"), 0);
  EXPECT_EQ(d.QuickCheck(), 0);
  EXPECT_FALSE(d.LastError().empty());
}

TEST_F(Db, InjectedWriteFaultFailsChangesOnly) {
  db::Connection c;
  OpenFile(c, Fresh("jsb2.dat"));
  files::InjectFaultForTest(files::Op::Write, files::Fault::DiskFull);
  EXPECT_EQ(c.Execute("insert into jsbsj(bt) values ('x')"), 0);
  db::RecordSet rs;
  ASSERT_EQ(rs.Open(c, "select count(*) from jsbsj"), 1);
  EXPECT_EQ(rs.IntegerAt(1), 0);
  files::ClearFaultsForTest();
  EXPECT_EQ(c.Execute("insert into jsbsj(bt) values ('x')"), 1);
}

TEST_F(Db, ALockedFileFailsReadsAndChangesUntilTheLockGoes) {
  const std::string path = Fresh("jsb2.dat");
  db::Connection holder, c;
  OpenFile(holder, path);
  OpenFile(c, path);
  ASSERT_EQ(holder.Execute("BEGIN EXCLUSIVE"), 1);
  std::int64_t changed = -1;
  EXPECT_EQ(c.Execute("insert into jsbsj(bt) values ('x')", &changed), 0);
  EXPECT_EQ(changed, 0);
  db::RecordSet rs;
  EXPECT_EQ(rs.Open(c, "select * from jsbsj"), 0);
  EXPECT_TRUE(rs.Eof());
  ASSERT_EQ(holder.Execute("ROLLBACK"), 1);
  EXPECT_EQ(c.Execute("insert into jsbsj(bt) values ('x')", &changed), 1) << c.LastError();
  EXPECT_EQ(changed, 1);
}

// A file opened read-only is the user's to keep: nothing is rolled back into it or removed
// beside it, nothing can be written, and only a regular file is opened (a pipe would wait).
TEST_F(Db, AFileOpenedReadOnlyIsReadAsItIsAndNeverChanged) {
  const std::string source = Fresh("jsb2.dat");
  // A name the engine's URI form would misread unless encoded.
  const std::string chosen = dir.File(kTitle + " 50%?#.jsb2bak");
  ASSERT_TRUE(testsupport::CopyWithHotJournal(source, chosen));
  const std::optional<std::string> bytes = files::ReadAll(chosen);
  const std::optional<std::string> journal = files::ReadAll(chosen + "-journal");
  ASSERT_TRUE(bytes && journal);
  {
    db::Connection c;
    ASSERT_EQ(c.OpenReadOnly(db::ConnectionText(chosen, workmemo::kDatabasePassword)), 1) << c.LastError();
    EXPECT_TRUE(c.HasTable("jsbsj"));
    EXPECT_EQ(c.Execute("delete from yhsj"), 0);
  }
  EXPECT_TRUE(files::ReadAll(chosen) == bytes) << "the chosen file changed";
  EXPECT_TRUE(files::ReadAll(chosen + "-journal") == journal) << "its journal changed";
  db::Connection c;
  EXPECT_EQ(c.OpenReadOnly(db::ConnectionText(chosen, "wrong")), 0);
  // The journal is hot: an ordinary open rolls it back into the file.
  OpenFile(c, chosen);
  EXPECT_FALSE(files::ReadAll(chosen) == bytes);
  EXPECT_FALSE(files::Exists(chosen + "-journal"));

  testsupport::PipeWatch pipe({dir.File("pipe")});
  for (const char* name : {"pipe", "missing.dat", "."}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(c.OpenReadOnly(db::ConnectionText(dir.File(name), workmemo::kDatabasePassword)), 0);
  }
  EXPECT_FALSE(pipe.Finish()) << "the open waited on a pipe";
}

// The images are plain encrypted files: the engine's own command-line shell opens them with
// the password and finds them sound.
TEST_F(Db, ImagesOpenInTheCommandLineShell) {
  if (std::system("command -v sqlcipher >/dev/null 2>&1") != 0) GTEST_SKIP() << "no sqlcipher shell";
  for (const char* image : {"dstx2.dat", "dqtx2.dat", "jsb2.dat"}) {
    SCOPED_TRACE(image);
    const std::string path = Fresh(image);
    const std::string script = dir.File("check.sql");
    std::ofstream(script) << "PRAGMA key = '" << platform::text::ToUtf8(workmemo::kDatabasePassword)
                          << "';\nPRAGMA integrity_check;\nselect yh from yhsj;\n";
    FILE* out = ::popen(("sqlcipher '" + path + "' < '" + script + "' 2>&1").c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::string answer;
    char buf[256];
    while (std::fgets(buf, sizeof buf, out)) answer += buf;
    EXPECT_EQ(::pclose(out), 0);
    EXPECT_EQ(answer, "ok\nadmin\n");
  }
}

}  // namespace
