#include "reminders/store/reminder_store_exchange.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "fixtures.h"
#include "platform/files/files.h"
#include "platform/xls/xls.h"
#include "store_fixture.h"

namespace workmemo {
namespace {

using testing::At;
using testing::Reminder;
using testing::StoreTest;
using testing::With;
namespace files = platform::files;
namespace xls = platform::xls;

class StoreExchangeTest : public StoreTest {
 protected:
  void TearDown() override {
    files::ClearFaultsForTest();
    StoreTest::TearDown();
  }

  int AddTitled(double start, const char* title) {
    return Add(With(Reminder(RepeatMode::Daily, start), [title](ReminderRecord& r) {
      r.txbt = title;
      r.txnr = "带'引号的内容";
    }));
  }

  std::string book = dir.File("提醒数据(2024-05-01).xls");
  std::string condition = "whatever the caller held";
};

TEST_F(StoreExchangeTest, ExportThenImportAddsNothingUntilTheDuplicateTestIsSkipped) {
  AddTitled(At(2024, 5, 1, 9), "周会");
  AddTitled(At(2024, 5, 2, 9), "");
  AddTitled(At(2024, 5, 3, 9), "Weekly Review");
  const auto& columns = TimedReminderExchangeColumns();
  EXPECT_EQ(columns.size(), 38u);
  ASSERT_EQ(ExportToExcel(store, book, "txsj", columns), 1);

  for (int pass = 0; pass < 2; ++pass) {
    ASSERT_EQ(ImportFromExcel(store, book, "txsj", columns, condition, 0), 1);
    EXPECT_EQ(condition, "where ksdate=ek.ksdate and txbt=ek.txbt");
    EXPECT_EQ(store.CountReminders(), 3);
  }
  ASSERT_EQ(ImportFromExcel(store, book, "txsj", columns, condition, 1), 1);
  EXPECT_EQ(condition, "");
  EXPECT_EQ(store.CountReminders(), 6);

  // The copies read back exactly as the originals.
  store.LoadReminders();
  ASSERT_EQ(store.Reminders().size(), 6u);
  for (std::size_t i = 0; i < 6; i += 2) {
    const ReminderRecord& a = store.Reminders()[i];
    const ReminderRecord& b = store.Reminders()[i + 1];
    EXPECT_EQ(a.ksdate, b.ksdate);
    EXPECT_EQ(a.txbt, b.txbt);
    EXPECT_EQ(a.txnr, b.txnr);
    EXPECT_EQ(a.txfs, b.txfs);
  }

  EXPECT_EQ(ExportToExcel(store, dir.File("none.xls"), "txsj", {}), 0);
  EXPECT_FALSE(files::Exists(dir.File("none.xls")));
  EXPECT_EQ(ImportFromExcel(store, book, "txsj", {}, condition, 0), 0);
  EXPECT_EQ(store.CountReminders(), 6);
}

// A row whose start and title match a stored reminder (titles without regard to case) is
// skipped; the others go into the table but not into the loaded list.
TEST_F(StoreExchangeTest, ImportSkipsStoredStartAndTitleAndLeavesTheListAlone) {
  AddTitled(At(2024, 5, 1, 9), "Weekly Review");
  store.LoadReminders();
  xls::Sheet sheet{"txsj", {"ksdate", "txbt", "txfs"}, {}};
  sheet.rows.push_back({xls::Cell::Date(At(2024, 5, 1, 9)), xls::Cell::Str("WEEKLY REVIEW"), xls::Cell::Num(1)});
  sheet.rows.push_back({xls::Cell::Date(At(2024, 5, 1, 10)), xls::Cell::Str("Weekly Review"), xls::Cell::Num(1)});
  sheet.rows.push_back({xls::Cell::Date(At(2024, 5, 1, 9)), xls::Cell::Str("月报"), xls::Cell::Str("每天")});
  ASSERT_TRUE(xls::WriteWorkbook({{sheet}}, book).ok());

  ASSERT_EQ(ImportFromExcel(store, book, "txsj", {"ksdate", "txbt", "txfs"}, condition, 0), 1);
  EXPECT_EQ(store.CountReminders(), 3);
  EXPECT_EQ(store.Reminders().size(), 1u);
  platform::db::RecordSet rs;
  ASSERT_EQ(rs.Open(store.Connection(), "select quote(txfs) as f from txsj where txbt='月报'"), 1);
  EXPECT_EQ(rs.Text("f"), "NULL");  // a text in a number column cannot be converted

  // A workbook without the sheet or one of the columns fails and adds nothing.
  EXPECT_EQ(ImportFromExcel(store, book, "txsj", {"ksdate", "txbt", "txnr"}, condition, 1), 0);

  // So does one whose title would not fit: the title is not lost, and the caller learns where it is.
  sheet.rows.push_back({xls::Cell::Date(At(2024, 5, 2, 9)), xls::Cell::Str(std::string(256, 'x')), xls::Cell::Num(1)});
  ASSERT_TRUE(xls::WriteWorkbook({{sheet}}, book).ok());
  std::string reason;
  EXPECT_EQ(ImportFromExcel(store, book, "txsj", {"ksdate", "txbt", "txfs"}, condition, 1, &reason), 0);
  EXPECT_EQ(reason, "工作表 txsj 第 5 行 txbt 列的文字超过 255 个字符，没有导入任何记录。");
  EXPECT_EQ(ImportFromExcel(store, dir.File("missing.xls"), "txsj", {"ksdate"}, condition, 1), 0);
  EXPECT_EQ(store.CountReminders(), 3);
}

TEST_F(StoreExchangeTest, CompactionClosesTheStoreAndKeepsEveryReminder) {
  for (int i = 0; i < 30; ++i) AddTitled(At(2024, 5, 1, 9, i), "提醒");
  ASSERT_EQ(store.Connection().Execute("delete from txsj where id % 10 <> 0"), 1);
  const std::int64_t before = files::Size(path);

  EXPECT_EQ(CompactDatabase(store, path, kDatabasePassword), 0);
  EXPECT_FALSE(store.IsOpen());
  EXPECT_LT(files::Size(path), before);
  ASSERT_EQ(store.OpenDatabase(path, kDatabasePassword), 1);
  EXPECT_EQ(store.CountReminders(), 3);

  // Failures leave the file as it was and say why.
  const std::string original = files::ReadAll(path).value_or("");
  struct Case {
    const char* what;
    std::optional<files::Op> fault;
    const char* password;
    int usePassword;
    int result;
  };
  const std::vector<Case> cases = {
      {"wrong password", std::nullopt, "wrong", 1, 2},
      {"encrypted file opened without its password", std::nullopt, kDatabasePassword, 0, 2},
      {"the copy cannot be written", files::Op::Write, kDatabasePassword, 1, 2},
      {"the copy cannot be renamed", files::Op::Rename, kDatabasePassword, 1, 3},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    if (k.fault) files::InjectFaultForTest(*k.fault, files::Fault::IoError);
    EXPECT_EQ(k.usePassword ? CompactDatabase(store, path, k.password)
                            : CompactDatabaseFile(path, k.password, k.usePassword),
              k.result);
    files::ClearFaultsForTest();
    EXPECT_EQ(files::ReadAll(path).value_or(""), original);
  }
  ASSERT_EQ(store.OpenDatabase(path, kDatabasePassword), 1);
  EXPECT_EQ(store.CountReminders(), 3);
}

}  // namespace
}  // namespace workmemo
