#include "platform/db/exchange.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db_fixture.h"
#include "platform/text/text.h"
#include "platform/xls/xls.h"

namespace {

using namespace dbtest;
using db::ColumnKind;
using db::ExchangeColumn;
using testsupport::Show;
namespace xls = platform::xls;

constexpr ColumnKind T = ColumnKind::Text, I = ColumnKind::Integer, DT = ColumnKind::DateTime,
                     D = ColumnKind::Date;

// The exchanged columns of each table: every column but id, in the table's column order.
const std::vector<ExchangeColumn> kTimedColumns = {
    {"ksdate", DT}, {"jsdate", DT}, {"kstime", DT}, {"jstime", DT}, {"txdate", DT}, {"txfs", I},
    {"txrw", I},    {"txbt", T},    {"txnr", T},    {"txyy", T},    {"txcx", T},    {"txwy", T},
    {"cfsj", I},    {"cfdw", I},    {"tqsj", I},    {"tqdw", I},    {"txlx", T},    {"txjd", I},
    {"txweek", T},  {"notxweek", T}, {"txmonth", T}, {"txdays", T}, {"djsj", I},    {"nlyear", I},
    {"nlry", I},    {"cfcs", I},    {"cfjs", I},    {"cfcsdw", I},  {"bytx", I},    {"txzt", I},
    {"xctx", I},    {"gbcksj", I},  {"gjys", I},    {"qzzx", I},    {"txdz", I},    {"yytx", I},
    {"gxdate", DT}, {"tjdate", DT}};
const std::vector<ExchangeColumn> kDueColumns = {
    {"khbh", T},    {"khmc", T},  {"xmmc", T},   {"xmlx", T},    {"wcjd", I},   {"wczt", I},
    {"dqdate", DT}, {"bz", T},    {"gxdate", DT}, {"tqts", I},   {"txfs", I},   {"wcdate", DT},
    {"ksdate", DT}, {"fzrxm", T}, {"fzrbh", T},  {"tjdate", DT}};
const std::vector<ExchangeColumn> kNoteColumns = {{"bt", T}, {"nr", T}, {"gxdate", D}, {"lx", T}, {"jsdate", D}};

const std::string kMeeting = "\xBB\xE1\xD2\xE9";  // 会议 (GB18030)
// Trail bytes that read as "@", "\\", "_" and "~" byte by byte, then U+20000 in four bytes.
const std::string kOddBytes = "\x81\x40\x95\x5C\x81\x5F\x81\x7E\x95\x32\x82\x36";

class Exchange : public Db {
 protected:
  std::int64_t Count(db::Connection& c, const std::string& table) {
    db::RecordSet rs;
    EXPECT_EQ(rs.Open(c, "select count(*) from " + table), 1) << c.LastError();
    return rs.IntegerAt(1);
  }

  // Every row of the table as "col=quote(value)|..." texts, in id order, to compare tables.
  std::vector<std::string> Dump(db::Connection& c, const std::string& table,
                                const std::vector<ExchangeColumn>& columns) {
    std::string sql = "select ";
    for (std::size_t i = 0; i < columns.size(); ++i)
      sql += (i ? "||'|'||" : "") + std::string("quote(") + columns[i].name + ")";
    db::RecordSet rs;
    EXPECT_EQ(rs.Open(c, sql + " as row from " + table + " order by id"), 1) << c.LastError();
    std::vector<std::string> rows;
    for (; !rs.Eof(); rs.MoveNext()) rows.push_back(rs.Text("row"));
    return rows;
  }

  void Exec(db::Connection& c, const std::string& sql) { ASSERT_EQ(c.Execute(sql), 1) << Show(sql) << c.LastError(); }

  std::string Workbook(const std::string& name, const xls::Sheet& sheet) {
    const std::string path = dir.File(name);
    EXPECT_TRUE(xls::WriteWorkbook({{sheet}}, path).ok());
    return path;
  }
};

// Each table, with rows holding NULLs, empty texts, quotes and Chinese texts, goes out to a
// workbook and back: into the same table it adds nothing (twice), into an empty one it
// recreates every row exactly, in the form the program stores.
TEST_F(Exchange, ExportThenImportOfEachTableAddsNothingAndRecreatesEveryRow) {
  struct Table {
    const char* image;
    const char* table;
    const std::vector<ExchangeColumn>* columns;
    std::vector<std::string> duplicateTest;
    std::vector<std::string> inserts;
  };
  const std::vector<Table> tables = {
      {"dstx2.dat", "txsj", &kTimedColumns, {"ksdate", "txbt"},
       {"insert into txsj(ksdate,jsdate,kstime,jstime,txdate,txfs,txrw,txbt,txnr,txyy,cfsj,cfdw,txweek,gxdate,tjdate) "
        "values ('2024-05-01 09:30:15','2024-12-31 23:59:59','2024-05-01 09:30:15','2024-05-01 18:00:00',"
        "'2024-05-01 09:30:15',2,0,'" + kMeeting + "','O''Brien''s memo\r\nline 2','/music/a.mp3',0,1,'1,3,5',"
        "'2024-04-30 10:00:00','2024-04-30 10:00:00')",
        "insert into txsj(ksdate,txbt,txnr,txfs) values ('2024-05-02 07:00:00','','',0)",
        "insert into txsj(ksdate,txbt) values (NULL,'no date')", "insert into txsj(txfs) values (5)"}},
      {"dqtx2.dat", "dqsj", &kDueColumns, {"dqdate", "xmmc", "khmc"},
       {"insert into dqsj(khmc,xmmc,xmlx,wcjd,bz,ksdate,dqdate,tjdate,gxdate) values ('" + kMeeting +
            "','Project X','T','50','remark','2024-01-01 00:00:00','2024-06-30 00:00:00','2024-01-01 08:00:00',"
            "'2024-01-01 08:00:00')",
        "insert into dqsj(khmc,xmmc,dqdate) values ('ACME','Other','2024-06-30 00:00:00')",
        "insert into dqsj(xmmc) values ('no customer')"}},
      {"jsb2.dat", "jsbsj", &kNoteColumns, {"bt"},
       {"insert into jsbsj(bt,nr,lx,gxdate,jsdate) values ('" + kMeeting + "','a\r\nb','lx','2024-03-01','2024-03-02')",
        "insert into jsbsj(bt,nr) values ('second','')", "insert into jsbsj(nr) values ('untitled')",
        "insert into jsbsj(bt,nr,lx) values ('" + kOddBytes + "','" + kOddBytes + "','" + kOddBytes + "')"}},
  };
  for (const Table& t : tables) {
    SCOPED_TRACE(t.table);
    db::Connection c;
    OpenFile(c, Fresh(t.image));
    for (const std::string& sql : t.inserts) Exec(c, sql);
    const std::vector<std::string> before = Dump(c, t.table, *t.columns);
    const std::string book = dir.File(std::string(t.table) + ".xls");
    const db::ExchangeResult exported = db::ExportTable(c, t.table, *t.columns, book);
    ASSERT_TRUE(exported.ok) << Show(exported.message);

    for (int pass = 0; pass < 2; ++pass) {
      const db::ExchangeResult imported = db::ImportTable(c, t.table, *t.columns, book, t.duplicateTest);
      ASSERT_TRUE(imported.ok) << Show(imported.message);
      EXPECT_EQ(imported.rowsAdded, 0);
      EXPECT_EQ(Dump(c, t.table, *t.columns), before);
    }

    db::Connection empty;
    const std::string emptyPath = dir.File(std::string("empty-") + t.image);
    ASSERT_TRUE(files::Copy(dir.File(t.image), emptyPath));
    OpenFile(empty, emptyPath);
    ASSERT_EQ(empty.Execute(std::string("delete from ") + t.table), 1);
    const db::ExchangeResult imported = db::ImportTable(empty, t.table, *t.columns, book, t.duplicateTest);
    ASSERT_TRUE(imported.ok) << Show(imported.message);
    EXPECT_EQ(imported.rowsAdded, static_cast<std::int64_t>(t.inserts.size()));
    EXPECT_EQ(Dump(empty, t.table, *t.columns), before);
  }
}

TEST_F(Exchange, ExportWritesTypedCellsUnderTheColumnNames) {
  db::Connection c;
  OpenFile(c, Fresh("jsb2.dat"));
  Exec(c, "insert into jsbsj(bt,nr,lx,gxdate,jsdate) values ('" + kMeeting + "','',NULL,'2024-03-01','2024-03-02')");
  const std::vector<ExchangeColumn> columns = {{"id", I}, {"bt", T}, {"nr", T}, {"lx", T}, {"jsdate", D}};
  const std::string path = dir.File("notes.xls");
  ASSERT_TRUE(files::WriteAll(path, "an older file in its place"));
  ASSERT_TRUE(db::ExportTable(c, "jsbsj", columns, path).ok);

  xls::Workbook book;
  ASSERT_TRUE(xls::ReadWorkbook(path, book).ok());
  ASSERT_EQ(book.sheets.size(), 1u);
  const xls::Sheet& s = book.sheets[0];
  EXPECT_EQ(s.name, "jsbsj");
  EXPECT_EQ(s.columns, (std::vector<std::string>{"id", "bt", "nr", "lx", "jsdate"}));
  ASSERT_EQ(s.rows.size(), 1u);
  EXPECT_EQ(s.At(0, 0), xls::Cell::Num(1));
  EXPECT_EQ(s.At(0, 1), xls::Cell::Str(kMeeting));
  EXPECT_EQ(s.At(0, 2), xls::Cell::Str(""));  // the empty text stays apart from NULL
  EXPECT_EQ(s.At(0, 3), xls::Cell::Null());
  EXPECT_EQ(s.At(0, 4), xls::Cell::Date(Serial(2024, 3, 2)));

  // A date column of a table without the program's checks: whatever is no date stays as it is.
  db::Connection loose;
  OpenFile(loose, Scratch());
  Exec(loose, "create table t (id integer primary key, d)");
  Exec(loose, "insert into t (d) values ('1850-07-01 06:30:00'),('2024-01-02'),('soon')");
  Exec(loose, "insert into t (d) values (45000.5)");
  const std::string loosePath = dir.File("loose.xls");
  ASSERT_TRUE(db::ExportTable(loose, "t", {{"d", DT}}, loosePath).ok);
  ASSERT_TRUE(xls::ReadWorkbook(loosePath, book).ok());
  ASSERT_EQ(book.sheets[0].rows.size(), 4u);
  const std::vector<xls::Cell> dates = {xls::Cell::Date(Serial(1850, 7, 1, 6, 30)), xls::Cell::Date(Serial(2024, 1, 2)),
                                        xls::Cell::Str("soon"), xls::Cell::Date(45000.5)};
  for (std::size_t i = 0; i < dates.size(); ++i) EXPECT_EQ(book.sheets[0].At(i, 0), dates[i]) << i;

  // A second export into the same workbook replaces it; no columns exports nothing.
  ASSERT_TRUE(db::ExportTable(c, "jsbsj", columns, path).ok);
  const std::string none = dir.File("none.xls");
  EXPECT_FALSE(db::ExportTable(c, "jsbsj", {}, none).ok);
  EXPECT_FALSE(db::ExportTable(c, "nosuchtable", columns, none).ok);
  EXPECT_FALSE(files::Exists(none));
}

// The export reads a large table in slices: every row arrives once, in order, across the
// slice boundaries; a table without rowids is read whole.
TEST_F(Exchange, ExportCarriesEveryRowOfALargeTable) {
  db::Connection c;
  OpenFile(c, Fresh("jsb2.dat"));
  Exec(c, "insert into jsbsj(bt,jsdate) with recursive k(i) as (select 1 union all select i+1 from k where i<4321) "
          "select 'n'||i, '2024-01-01' from k");
  Exec(c, "delete from jsbsj where id=2000 or id=2001");
  const std::string path = dir.File("large.xls");
  ASSERT_TRUE(db::ExportTable(c, "jsbsj", {{"id", I}, {"bt", T}}, path).ok);
  xls::Workbook book;
  ASSERT_TRUE(xls::ReadWorkbook(path, book).ok());
  const xls::Sheet& s = book.sheets[0];
  ASSERT_EQ(s.rows.size(), 4319u);
  double previous = 0;
  for (std::size_t r = 0; r < s.rows.size(); ++r) {
    ASSERT_GT(s.At(r, 0).number, previous) << r;
    previous = s.At(r, 0).number;
    ASSERT_EQ(s.At(r, 1).text, "n" + std::to_string(static_cast<int>(previous))) << r;
  }
  EXPECT_EQ(previous, 4321);

  Exec(c, "create table kv (k text primary key, v integer) without rowid");
  Exec(c, "insert into kv values ('a', 1), ('b', 2)");
  ASSERT_TRUE(db::ExportTable(c, "kv", {{"k", T}, {"v", I}}, path).ok);
  ASSERT_TRUE(xls::ReadWorkbook(path, book).ok());
  EXPECT_EQ(book.sheets[0].rows.size(), 2u);
}

// Rows that differ from a stored one only in the case of a text, or by less than half a
// second, are the same record; any other difference in a tested column makes a new one.
TEST_F(Exchange, DuplicateTestsIgnoreLetterCaseAndCompareToTheSecond) {
  db::Connection c;
  OpenFile(c, Fresh("dstx2.dat"));
  Exec(c, "insert into txsj(ksdate,txbt,txnr) values ('2024-05-01 09:00:00','Weekly Meeting','stored')");
  const double at = Serial(2024, 5, 1, 9, 0, 0);
  xls::Sheet sheet{"TXSJ", {"KSDATE", "txbt", "txnr"}, {}};
  struct Row {
    xls::Cell ksdate;
    std::string title;
    bool added;
  };
  const std::vector<Row> rows = {
      {xls::Cell::Date(at), "WEEKLY MEETING", false},
      {xls::Cell::Date(at), "weekly meeting", false},
      {xls::Cell::Num(at + 0.4 / 86400), "Weekly Meeting", false},
      {xls::Cell::Str("2024-05-01 09:00:00"), "Weekly meeting", false},
      {xls::Cell::Date(at + 1.0 / 86400), "Weekly Meeting", true},
      {xls::Cell::Date(at), "Weekly Meeting!", true},
  };
  int expected = 0;
  for (const Row& r : rows) {
    sheet.rows.push_back({r.ksdate, xls::Cell::Str(r.title), xls::Cell::Str("from the sheet")});
    expected += r.added;
  }
  const std::vector<ExchangeColumn> columns = {{"ksdate", DT}, {"txbt", T}, {"txnr", T}};
  const std::string path = Workbook("case.xls", sheet);
  db::ExchangeResult r = db::ImportTable(c, "txsj", columns, path, {"ksdate", "txbt"});
  ASSERT_TRUE(r.ok) << Show(r.message);
  EXPECT_EQ(r.rowsAdded, expected);
  r = db::ImportTable(c, "txsj", columns, path, {"ksdate", "txbt"});
  EXPECT_EQ(r.rowsAdded, 0);

  // Without a duplicate test every row goes in.
  r = db::ImportTable(c, "txsj", columns, path, {});
  EXPECT_EQ(r.rowsAdded, static_cast<std::int64_t>(rows.size()));

  // The due-date test: a row equal in due date, project and customer is skipped even when
  // its other columns differ.
  OpenFile(c, Fresh("dqtx2.dat"));
  Exec(c, "insert into dqsj(khmc,xmmc,dqdate,bz) values ('ACME','Roof','2024-06-30 00:00:00','old')");
  xls::Sheet due{"dqsj", {"khmc", "xmmc", "dqdate", "bz"}, {}};
  due.rows.push_back({xls::Cell::Str("acme"), xls::Cell::Str("ROOF"), xls::Cell::Date(Serial(2024, 6, 30)),
                      xls::Cell::Str("new")});
  due.rows.push_back({xls::Cell::Str("acme"), xls::Cell::Str("ROOF"), xls::Cell::Date(Serial(2024, 7, 1)),
                      xls::Cell::Str("new")});
  r = db::ImportTable(c, "dqsj", {{"khmc", T}, {"xmmc", T}, {"dqdate", DT}, {"bz", T}}, Workbook("due.xls", due),
                      {"dqdate", "xmmc", "khmc"});
  EXPECT_EQ(r.rowsAdded, 1);
}

// A cell that cannot be converted to its column's kind goes in as NULL; the row still goes in.
TEST_F(Exchange, CellsAreStoredInTheProgramsFormOrAsNull) {
  db::Connection c;
  OpenFile(c, Fresh("dstx2.dat"));
  std::string longChinese;
  for (int i = 0; i < 255; ++i) longChinese += "\xBB\xE1";  // 会
  struct Case {
    const char* column;
    xls::Cell cell;
    std::string stored;  // quote() of the stored value
  };
  const std::vector<Case> cases = {
      {"txfs", xls::Cell::Num(3), "3"},
      {"txfs", xls::Cell::Num(2.6), "3"},
      {"txfs", xls::Cell::Str(" 12 "), "12"},
      {"txfs", xls::Cell::Str("twelve"), "NULL"},
      {"txfs", xls::Cell::Num(1e12), "NULL"},
      {"txfs", xls::Cell::Boolean(true), "1"},
      {"txfs", xls::Cell{xls::CellType::Error, 7, {}}, "NULL"},
      {"ksdate", xls::Cell::Date(Serial(2024, 2, 29, 23, 59, 59)), "'2024-02-29 23:59:59'"},
      {"ksdate", xls::Cell::Num(Serial(2024, 1, 2, 12)), "'2024-01-02 12:00:00'"},
      {"ksdate", xls::Cell::Str("2024-01-02"), "'2024-01-02 00:00:00'"},
      {"ksdate", xls::Cell::Str("next tuesday"), "NULL"},
      {"ksdate", xls::Cell::Num(1e9), "NULL"},
      {"txbt", xls::Cell::Num(42), "'42'"},
      {"txbt", xls::Cell::Str("it's"), "'it''s'"},
      {"txbt", xls::Cell::Str(std::string(255, 'y')), "'" + std::string(255, 'y') + "'"},
      {"txbt", xls::Cell::Str(longChinese), "'" + longChinese + "'"},  // 255 characters, 510 bytes
  };
  xls::Sheet sheet{"txsj", {"txfs", "ksdate", "txbt", "txnr"}, {}};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    std::vector<xls::Cell> row(4);
    const int col = sheet.ColumnIndex(cases[i].column);
    row[static_cast<std::size_t>(col)] = cases[i].cell;
    row[3] = xls::Cell::Str("case " + std::to_string(i));
    sheet.rows.push_back(row);
  }
  sheet.rows.push_back({});  // a blank row is no record
  const db::ExchangeResult r = db::ImportTable(c, "txsj", {{"txfs", I}, {"ksdate", DT}, {"txbt", T}, {"txnr", T}},
                                               Workbook("cells.xls", sheet), {"ksdate", "txbt"});
  ASSERT_TRUE(r.ok) << Show(r.message);
  EXPECT_EQ(r.rowsAdded, static_cast<std::int64_t>(cases.size()));
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    db::RecordSet rs;
    ASSERT_EQ(rs.Open(c, std::string("select quote(") + cases[i].column + ") as v from txsj where txnr='case " +
                             std::to_string(i) + "'"),
              1);
    EXPECT_EQ(rs.Text("v"), cases[i].stored);
  }

  // A date column of a day writes the day alone.
  OpenFile(c, Fresh("jsb2.dat"));
  xls::Sheet notes{"jsbsj", {"bt", "jsdate"}, {{xls::Cell::Str("n"), xls::Cell::Date(Serial(2024, 3, 2, 15, 30))}}};
  ASSERT_TRUE(db::ImportTable(c, "jsbsj", {{"bt", T}, {"jsdate", D}}, Workbook("notes.xls", notes), {"bt"}).ok);
  db::RecordSet rs;
  ASSERT_EQ(rs.Open(c, "select jsdate from jsbsj"), 1);
  EXPECT_EQ(rs.Text("jsdate"), "2024-03-02");
}

TEST_F(Exchange, FailedImportsInsertNothing) {
  db::Connection c;
  OpenFile(c, Fresh("jsb2.dat"));
  const std::vector<ExchangeColumn> columns = {{"bt", T}, {"nr", T}};
  xls::Sheet good{"jsbsj", {"bt", "nr"}, {{xls::Cell::Str("a"), xls::Cell::Str("b")}, {xls::Cell::Str("c")}}};
  const std::string goodPath = Workbook("good.xls", good);
  xls::Sheet noColumn{"jsbsj", {"bt"}, {{xls::Cell::Str("a")}}};
  xls::Sheet otherSheet{"Sheet1", {"bt", "nr"}, {{xls::Cell::Str("a"), xls::Cell::Str("b")}}};
  ASSERT_TRUE(files::WriteAll(dir.File("junk.xls"), std::string(4096, 'j')));
  const std::vector<std::string> bad = {Workbook("nocolumn.xls", noColumn), Workbook("othersheet.xls", otherSheet),
                                        dir.File("junk.xls"), dir.File("missing.xls")};
  for (const std::string& path : bad) {
    SCOPED_TRACE(path);
    const db::ExchangeResult r = db::ImportTable(c, "jsbsj", columns, path, {"bt"});
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.empty());
  }
  // A text longer than its column allows refuses the whole workbook, naming where it stands.
  xls::Sheet tooLong{"jsbsj", {"bt", "nr"}, {{xls::Cell::Str("a")}, {xls::Cell::Str(std::string(256, 'x'))}}};
  const db::ExchangeResult refused = db::ImportTable(c, "jsbsj", columns, Workbook("toolong.xls", tooLong), {"bt"});
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.message, platform::text::FromUtf8("工作表 jsbsj 第 3 行 bt 列的文字超过 255 个字符，没有导入任何记录。"));
  EXPECT_FALSE(db::ImportTable(c, "jsbsj", {}, goodPath, {}).ok);
  EXPECT_FALSE(db::ImportTable(c, "jsbsj", columns, goodPath, {"lx"}).ok);  // tested column not exchanged
  EXPECT_EQ(Count(c, "jsbsj"), 0);

  // A write that fails inside the transaction takes every staged row back with it, and the
  // next import starts clean.
  for (int skip = 0; skip < 4; ++skip) {
    files::InjectFaultForTest(files::Op::Write, files::Fault::IoError, skip);
    EXPECT_FALSE(db::ImportTable(c, "jsbsj", columns, goodPath, {"bt"}).ok) << skip;
    files::ClearFaultsForTest();
    EXPECT_EQ(Count(c, "jsbsj"), 0);
  }
  const db::ExchangeResult r = db::ImportTable(c, "jsbsj", columns, goodPath, {"bt"});
  ASSERT_TRUE(r.ok) << Show(r.message);
  EXPECT_EQ(r.rowsAdded, 2);
}

TEST_F(Exchange, WorkbookPathsWithBracketsAndQuotesWork) {
  const std::string sub = dir.File("o'brien] [x");
  ASSERT_TRUE(files::MakeDirs(sub));
  const std::string path = sub + "/it's] data'.xls";
  db::Connection c;
  OpenFile(c, Fresh("jsb2.dat"));
  Exec(c, "insert into jsbsj(bt) values ('one')");
  const db::ExchangeResult out = db::ExportTable(c, "jsbsj", kNoteColumns, path);
  ASSERT_TRUE(out.ok) << Show(out.message);
  Exec(c, "delete from jsbsj");
  const db::ExchangeResult in = db::ImportTable(c, "jsbsj", kNoteColumns, path, {"bt"});
  ASSERT_TRUE(in.ok) << Show(in.message);
  EXPECT_EQ(in.rowsAdded, 1);
}

}  // namespace
