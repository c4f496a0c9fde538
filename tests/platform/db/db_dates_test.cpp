#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db_fixture.h"

namespace {

using namespace dbtest;

// The due-date queries count days on the local calendar: the answers below hold in every
// time zone, across midnight and across daylight-saving changes.
TEST_F(Db, DayDifferenceCountsLocalCalendarDays) {
  db::Connection c;
  OpenFile(c, Scratch());
  struct DayCase {
    double now;
    std::string expr;
    const char* expect;  // as text: empty for NULL
  };
  const std::vector<DayCase> cases = {
      {Serial(2024, 3, 10, 23, 59, 59), "datediff('D',now(),'2024-03-11 00:00:00')", "1"},
      {Serial(2024, 3, 10, 23, 59, 59), "datediff('d',now(),'2024-03-10')", "0"},
      {Serial(2024, 3, 10, 23, 59, 59), "datediff('D',now(),'2024-03-10 00:00:00')", "0"},
      {Serial(2024, 3, 11, 0, 0, 0), "datediff('D',now(),'2024-03-10 23:59:59')", "-1"},
      {Serial(2024, 3, 11, 0, 0, 0), "datediff('D','2024-03-09 02:30:00',now())", "2"},
      {Serial(2024, 11, 3, 1, 30, 0), "datediff('D','2024-11-02 23:00:00','2024-11-04 00:00:00')", "2"},
      {Serial(2024, 1, 1), "datediff('D','2023-12-31 23:59:59','2025-01-01')", "367"},
      {Serial(2024, 1, 1), "datediff('D',now(),45292.75)", "0"},  // a serial: 2024-01-01 18:00
      {Serial(2024, 1, 1), "datediff('D',now(),NULL)", ""},
      {Serial(2024, 1, 1), "datediff('D',now(),'soon')", ""},
      {Serial(2024, 3, 10, 23, 59, 59), "now()", "2024-03-10 23:59:59"},
  };
  db::RecordSet rs;
  for (const DayCase& k : cases) {
    SCOPED_TRACE(k.expr);
    clk::SetForTest(k.now);
    ASSERT_EQ(rs.Open(c, "select " + k.expr + " as d"), 1) << c.LastError();
    EXPECT_EQ(rs.Text("d"), k.expect);
  }
  EXPECT_EQ(rs.Open(c, "select datediff('m','2024-01-01','2024-03-01') as d"), 0);
}

}  // namespace
