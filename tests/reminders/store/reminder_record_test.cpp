#include "reminders/store/reminder_record.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace workmemo {
namespace {

using testsupport::Show;

TEST(CodeTables, NamesAndCodesRoundTrip) {
  const char* modes[] = {"一次", "每天", "每周", "每月", "每年", "循环",
                         "农历(一次)", "农历(每月)", "农历(每年)"};
  for (int code = 0; code < 9; ++code) {
    EXPECT_EQ(RepeatModeName(code, 0), modes[code]) << Show(RepeatModeName(code, 0));
    EXPECT_EQ(RepeatModeFromName(modes[code]), code) << Show(modes[code]);
  }
  EXPECT_EQ(RepeatModeName(6, 1), "*一次");
  EXPECT_EQ(RepeatModeName(8, 1), "*每年");
  EXPECT_EQ(RepeatModeName(1, 1), "每天");
  EXPECT_EQ(RepeatModeName(6, 2), "农历(一次)");

  const char* tasks[] = {"提醒", "关机", "注销", "重启", "关闭显示器", "锁定计算机"};
  for (int code = 0; code < 6; ++code) {
    EXPECT_EQ(TaskName(code), tasks[code]);
    EXPECT_EQ(TaskFromName(tasks[code]), code);
  }
  const char* units[] = {"秒", "分", "时", "天", "周", "月", "年", "号~", "分~"};
  for (int code = 0; code < 9; ++code) {
    EXPECT_EQ(IntervalUnitName(code), units[code]);
    EXPECT_EQ(IntervalUnitFromName(units[code]), code);
  }
  const char* parts[] = {"年", "季", "月", "周", "天", "时", "分", "秒"};
  for (int part = 1; part <= 8; ++part) EXPECT_EQ(DatePartName(part), parts[part - 1]);
  EXPECT_EQ(NoticeUnitFromName("分"), DatePart::Minute);
  EXPECT_EQ(NoticeUnitFromName("时"), DatePart::Hour);
  EXPECT_EQ(NoticeUnitFromName("天"), DatePart::Day);
  EXPECT_EQ(CountUnitFromName("次"), 0);
  EXPECT_EQ(CountUnitFromName("次~"), 1);
  EXPECT_EQ(CountUnitName(1), "次~");
  EXPECT_EQ(CountUnitName(0), "次");
}

TEST(CodeTables, UnknownNamesAndCodes) {
  for (const char* name : {"", "*一次", "每天 ", "Daily"}) {
    EXPECT_EQ(RepeatModeFromName(name), -1) << Show(name);
    EXPECT_EQ(TaskFromName(name), -1) << Show(name);
    EXPECT_EQ(IntervalUnitFromName(name), 0) << Show(name);
    EXPECT_EQ(CountUnitFromName(name), 0) << Show(name);
    EXPECT_EQ(NoticeUnitFromName(name), DatePart::Day) << Show(name);
  }
  for (int code : {-1, 9, 100}) {
    EXPECT_EQ(RepeatModeName(code, 0), "");
    EXPECT_EQ(RepeatModeName(code, 1), "");
    EXPECT_EQ(IntervalUnitName(code), "");
  }
  EXPECT_EQ(TaskName(6), "");
  EXPECT_EQ(TaskName(-1), "");
  EXPECT_EQ(DatePartName(0), "");
  EXPECT_EQ(DatePartName(9), "");
  EXPECT_EQ(CountUnitName(7), "次");
}

TEST(ReminderRecord, CopiesAreDeepAndListsAreSearchedById) {
  ReminderRecord source;
  source.id = 7;
  source.txbt = "标题";
  ReminderRecord copy = source;
  copy.txbt += "改";
  copy.txnr = "内容";
  EXPECT_EQ(source.txbt, "标题");
  EXPECT_TRUE(source.txnr.empty());
  ReminderRecord empty;
  ReminderRecord emptyCopy = empty;
  EXPECT_TRUE(emptyCopy.txweek.empty() && emptyCopy.txwy.empty() && emptyCopy.txdays.empty());

  ReminderList list(3);
  list[0].id = 5;
  list[1].id = 7;
  list[2].id = 7;
  list[2].txbt = "second";
  EXPECT_EQ(FindReminderIndex(list, 7), 2);
  EXPECT_EQ(FindReminderIndex(list, 9), 0);
  EXPECT_EQ(RemoveReminderById(list, 9), 0);
  EXPECT_EQ(list.size(), 3u);
  EXPECT_EQ(RemoveReminderById(list, 7), 1);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].txbt, "second");
}

}  // namespace
}  // namespace workmemo
