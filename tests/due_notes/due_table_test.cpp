#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/database_constants.h"
#include "due_notes/due_queries.h"
#include "due_notes/due_rows.h"
#include "due_notes/due_statements.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "reminders/store/calendar.h"
#include "shell/password_gate.h"
#include "test_support.h"

namespace workmemo {
namespace {

using testsupport::Show;
using Names = std::vector<std::string>;

// A due-date data file written from the built-in image, on a connection of its own.
class DueTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = dir.File("dqtx2.dat");
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "dqtx2.dat"));
    ASSERT_EQ(connection.Open(platform::db::ConnectionText(path, kDatabasePassword)), 1);
  }
  void TearDown() override {
    connection.Close();
    platform::clock::ClearForTest();
  }

  int Add(const std::string& name, double due, int progress = 0, double start = 0, std::string customer = {},
          std::string type = "type", std::string remark = {}) {
    const due_sql::DueItem item{std::move(customer), name, std::move(type), progress, std::move(remark),
                                start == 0 ? due : start, due};
    EXPECT_EQ(connection.Execute(due_sql::Insert(item, platform::clock::Now())), 1) << Show(name);
    records.Open(connection, due_sql::NewestRow());
    return static_cast<int>(records.Integer("id"));
  }
  DueRows Rows(const std::string& sql) {
    DueRows rows;
    records.Open(connection, sql);
    LoadDueRows(records, rows);
    return rows;
  }
  Names NamesOf(const std::string& sql) {
    Names names;
    for (const DueRecordRow& r : Rows(sql)) names.push_back(r.xmmc);
    return names;
  }
  // The page's query of a label and a value; "refused" for a day count below 1.
  Names Query(const std::string& label, const std::string& value) {
    const std::optional<std::string> sql = DueListQuery(label, value);
    return sql ? NamesOf(*sql) : Names{"refused"};
  }

  testsupport::TempDir dir;
  platform::db::Connection connection;
  platform::db::RecordSet records;
};

TEST_F(DueTableTest, DayQueriesCountCalendarDaysWhateverTheTimeOfDay) {
  // Items from 9 days ago to 30 days ahead, stored at midnight as the editor stores them.
  platform::clock::SetForTest(MakeDateTime(2025, 3, 10, 12, 0, 0));
  const double today = MakeDateTime(2025, 3, 10, 0, 0, 0);
  for (int d : {-9, -8, -1, 0, 1, 7, 8, 30}) Add("d" + std::to_string(d), today + d);

  struct Case {
    const char* label;
    const char* days;
    Names expected;
  };
  const Case cases[] = {
      {kDueWithinLabel, "1", {"d0"}},
      {kDueWithinLabel, "2", {"d0", "d1"}},
      {kDueWithinLabel, "2.9", {"d0", "d1"}},  // cut toward zero
      {kDueWithinLabel, "8", {"d0", "d1", "d7"}},
      {kDueWithinLabel, "1e12", {"d0", "d1", "d7", "d8", "d30"}},  // a large count, not an overflow
      {kDueWithinLabel, "0", {"refused"}},
      {kDueWithinLabel, "-3", {"refused"}},
      {kDueWithinLabel, "0.9", {"refused"}},
      {kDueWithinLabel, "abc", {"refused"}},
      {kDueWithinLabel, "", {"refused"}},
      {kOverdueLabel, "1", {"d-1"}},
      {kOverdueLabel, "8", {"d-8", "d-1"}},
      {kOverdueLabel, "1e12", {"d-9", "d-8", "d-1"}},
      {kOverdueLabel, "abc", {"refused"}},
  };
  // Just after midnight and just before the next one, the answers are the same.
  for (const double now : {MakeDateTime(2025, 3, 10, 0, 0, 0), MakeDateTime(2025, 3, 10, 0, 0, 1),
                           MakeDateTime(2025, 3, 10, 23, 59, 59)}) {
    platform::clock::SetForTest(now);
    for (const Case& c : cases) {
      SCOPED_TRACE(Show(c.label) + c.days + " at " + platform::clock::FormatStored(now));
      EXPECT_EQ(Query(c.label, c.days), c.expected);
    }
  }
  // The day after, the item due "today" is overdue by one day.
  platform::clock::SetForTest(MakeDateTime(2025, 3, 11, 0, 0, 0));
  EXPECT_EQ(Query(kOverdueLabel, "1"), Names{"d0"});
  EXPECT_EQ(Query(kDueWithinLabel, "1"), Names{"d1"});
}

TEST_F(DueTableTest, TextSearchesMatchAnywhereAndKeepQuotes) {
  platform::clock::SetForTest(MakeDateTime(2025, 3, 10, 9, 0, 0));
  const double day = MakeDateTime(2025, 4, 1, 0, 0, 0);
  Add("仓储管理系统", day, 0, 0, "华东机电", "软件开发", "等客户签字");
  Add("O'Brien 报告", day + 1, 0, 0, "O'Neil & Co", "咨询", "it's done");
  Add("门店巡检", day + 2, 0, 0, "新华书店", "年度维保", "");

  struct Case {
    const char* label;
    const char* value;
    Names expected;
  };
  const Case cases[] = {
      {"项目名称：", "仓储", {"仓储管理系统"}},        // start
      {"项目名称：", "管理", {"仓储管理系统"}},        // middle
      {"项目名称：", "系统", {"仓储管理系统"}},        // end
      {"项目名称：", "'", {"O'Brien 报告"}},           // a quote is a plain character
      {"项目名称：", "o'brien", {"O'Brien 报告"}},     // Latin letters in any case
      {"项目类型：", "维保", {"门店巡检"}},
      {"备注：", "it's", {"O'Brien 报告"}},
      {"客户名称：", "O'Neil", {"O'Brien 报告"}},
      {"客户名称：", "书店", {"门店巡检"}},
      {"项目名称：", "没有", {}},
      {"项目名称：", "_", {}},  // typed '%' and '_' are no wildcards
      {"项目名称：", "%", {}},
      {"", "", {"仓储管理系统", "O'Brien 报告", "门店巡检"}},
      {"其他：", "x", {"仓储管理系统", "O'Brien 报告", "门店巡检"}},  // any other label: every row
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.label) + Show(c.value));
    EXPECT_EQ(Query(c.label, c.value), c.expected);
  }
}

TEST_F(DueTableTest, ProgressAndDateSearches) {
  platform::clock::SetForTest(MakeDateTime(2025, 3, 10, 9, 0, 0));
  Add("p5", MakeDateTime(2025, 3, 1, 0, 0, 0), 5, MakeDateTime(2025, 2, 3, 0, 0, 0));
  Add("p50", MakeDateTime(2025, 3, 9, 0, 0, 0), 50, MakeDateTime(2025, 1, 20, 0, 0, 0));
  Add("p500", MakeDateTime(2025, 3, 10, 0, 0, 0), 500, MakeDateTime(2024, 12, 31, 0, 0, 0));
  Add("april", MakeDateTime(2025, 4, 2, 0, 0, 0), 0, MakeDateTime(2025, 2, 28, 0, 0, 0));
  Add("next year", MakeDateTime(2026, 3, 5, 0, 0, 0), 50, MakeDateTime(2026, 1, 1, 0, 0, 0));

  struct Case {
    const char* label;
    const char* value;
    Names expected;
  };
  const Case cases[] = {
      {"完成进度：", "50", {"p50", "next year"}},
      {"完成进度：", "50.7", {"p50", "next year"}},
      {"完成进度：", "5", {"p5"}},
      {"到期日期：", "2025-03", {"p5", "p50", "p500"}},
      {"到期日期：", "2025-03-0", {"p5", "p50"}},  // the first nine days of March
      {"到期日期：", "2025", {"p5", "p50", "p500", "april"}},
      {"到期日期：", "03", {}},                      // the date's text begins with the year
      {"到期日期：", "2025_03", {}},                 // '_' typed is no wildcard
      // The start date matches anywhere and orders by the start date.
      {kStartDateLabel, "2025-02", {"p5", "april"}},
      {kStartDateLabel, "-01-", {"p50", "next year"}},
      {kStartDateLabel, "12-31", {"p500"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.label) + c.value);
    EXPECT_EQ(Query(c.label, c.value), c.expected);
  }
}

TEST_F(DueTableTest, SavesStoreWhatWasTypedAndChangeOnlyExistingRows) {
  const double now = MakeDateTime(2025, 3, 10, 14, 30, 5);
  platform::clock::SetForTest(now);
  EXPECT_EQ(Rows(due_sql::AllRows()).size(), 0u);

  const double due = MakeDateTime(2025, 3, 31, 0, 0, 0);
  const double start = MakeDateTime(2025, 3, 1, 0, 0, 0);
  const int id = Add("O'Brien's \"plan\"", due, 55, start, "客户 'A'", "类型", "第一行\r\n'second' line");
  const DueRows rows = Rows(due_sql::OneRow(id));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].id, id);
  EXPECT_EQ(rows[0].xmmc, "O'Brien's \"plan\"");
  EXPECT_EQ(Show(rows[0].khmc), Show("客户 'A'"));
  EXPECT_EQ(Show(rows[0].bz), Show("第一行\r\n'second' line"));
  EXPECT_EQ(rows[0].wcjd, "55");
  EXPECT_DOUBLE_EQ(rows[0].dqdate, due);
  records.Open(connection, due_sql::OneRow(id));
  EXPECT_EQ(records.Text("ksdate"), "2025-03-01 00:00:00");
  EXPECT_EQ(records.Text("tjdate"), "2025-03-10 14:30:05");
  EXPECT_EQ(records.Text("gxdate"), "2025-03-10 14:30:05");

  // A modification stores the start date with the rest.
  const due_sql::DueItem changed{"B", "new name", "t2", 100, "", MakeDateTime(2025, 2, 14, 0, 0, 0),
                                 MakeDateTime(2025, 5, 1, 0, 0, 0)};
  platform::clock::SetForTest(now + 1.0 / 86400);
  EXPECT_EQ(ExecuteChangingRow(connection, due_sql::Update(id, changed, platform::clock::Now())), 1);
  records.Open(connection, due_sql::OneRow(id));
  EXPECT_EQ(records.Text("ksdate"), "2025-02-14 00:00:00");
  EXPECT_EQ(records.Text("dqdate"), "2025-05-01 00:00:00");
  EXPECT_EQ(records.Text("gxdate"), "2025-03-10 14:30:06");
  EXPECT_EQ(records.Text("tjdate"), "2025-03-10 14:30:05");
  EXPECT_EQ(records.Integer("wcjd"), 100);

  // A row that is gone changes nothing, which is a failure.
  EXPECT_EQ(ExecuteChangingRow(connection, due_sql::SetProgress(id, 50)), 1);
  EXPECT_EQ(ExecuteChangingRow(connection, due_sql::DeleteRow(id)), 1);
  EXPECT_EQ(ExecuteChangingRow(connection, due_sql::SetProgress(id, 60)), 0);
  EXPECT_EQ(ExecuteChangingRow(connection, due_sql::Update(id, changed, now)), 0);
  EXPECT_EQ(ExecuteChangingRow(connection, due_sql::DeleteRow(id)), 0);
  // A name longer than the column holds fails its save and leaves the table as it was.
  const due_sql::DueItem overlong{std::string(61, 'c'), "n", "t", 0, "", due, due};
  EXPECT_EQ(connection.Execute(due_sql::Insert(overlong, now)), 0);
  EXPECT_TRUE(Rows(due_sql::AllRows()).empty());
}

TEST_F(DueTableTest, DistinctValuesAndAFailedQueryAsNoRows) {
  platform::clock::SetForTest(MakeDateTime(2025, 3, 10, 9, 0, 0));
  const double day = MakeDateTime(2025, 4, 1, 0, 0, 0);
  Add("a", day, 0, 0, "c1", "t1");
  Add("a", day, 0, 0, "c2", "t1");
  Add("b", day, 0, 0, "c1", "t2");
  auto values = [this](const std::string& sql, const char* column) {
    Names out;
    records.Open(connection, sql);
    for (records.MoveFirst(); !records.Eof(); records.MoveNext()) out.push_back(records.Text(column));
    std::sort(out.begin(), out.end());
    return out;
  };
  EXPECT_EQ(values(due_sql::ProjectNames(), "xmmc1"), (Names{"a", "b"}));
  EXPECT_EQ(values(due_sql::ProjectTypes(), "xmlx1"), (Names{"t1", "t2"}));
  EXPECT_EQ(values(due_sql::CustomerNames(), "khmc1"), (Names{"c1", "c2"}));

  DueRows rows = Rows(due_sql::AllRows());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(FindDueRowById(rows, rows[2].id), 3);
  EXPECT_EQ(FindDueRowById(rows, 99999), -1);
  EXPECT_EQ(records.Open(connection, "select * from no_such_table"), 0);
  EXPECT_EQ(LoadDueRows(records, rows), 0);
  EXPECT_TRUE(rows.empty());
}

TEST(DueOverdueTest, OnlyDaysBeforeTodayAreOverdue) {
  platform::clock::SetForTest(MakeDateTime(2025, 3, 1, 0, 0, 0));
  struct Case {
    double date;
    int overdue;
  } cases[] = {
      {MakeDateTime(2025, 3, 1, 0, 0, 0), 0},   {MakeDateTime(2025, 3, 1, 23, 59, 59), 0},
      {MakeDateTime(2025, 2, 28, 23, 59, 0), 1}, {MakeDateTime(2024, 3, 1, 12, 0, 0), 1},
      {MakeDateTime(2025, 3, 2, 0, 0, 0), 0},
  };
  for (const double now : {MakeDateTime(2025, 3, 1, 0, 0, 0), MakeDateTime(2025, 3, 1, 23, 59, 59)}) {
    platform::clock::SetForTest(now);
    for (const Case& c : cases) EXPECT_EQ(IsDateBeforeToday(c.date), c.overdue) << platform::clock::FormatStored(c.date);
  }
  platform::clock::ClearForTest();
}

}  // namespace
}  // namespace workmemo
