#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures.h"
#include "reminders/store/reminder_store_rows.h"
#include "test_support.h"

namespace workmemo {
namespace {

using testing::At;
using testing::Reminder;
using testing::WithTexts;

TEST(ReminderRows, DateColumnShowsLunarDatesPaddedAndTheTimeOfEitherEnd) {
  ReminderRecord once = WithTexts(RepeatMode::LunarOnce, At(2024, 2, 10, 8, 5, 9), "1", "5");
  once.nlyear = 2024;
  once.jsdate = At(2024, 2, 10, 20, 0, 0);
  once.txbt = "标题";
  once.txnr = "内容";
  once.txlx = "工作";
  const double now = At(2024, 1, 1);
  ReminderRowTexts row = MakeReminderRowTexts(once, now, true, true);
  EXPECT_EQ(row.date, "2024-01-05");
  EXPECT_EQ(row.time, "08:05:09");
  EXPECT_EQ(row.mode, "*一次");
  EXPECT_EQ(row.category, "工作");
  EXPECT_EQ(row.text, "标题");
  EXPECT_EQ(row.id, 1);
  row = MakeReminderRowTexts(once, now, false, false);
  EXPECT_EQ(row.time, "20:00:00");
  EXPECT_EQ(row.text, "内容");

  EXPECT_EQ(MakeReminderRowTexts(WithTexts(RepeatMode::LunarMonthly, At(2023, 7, 1), "", "9"), now, true, true).date,
            "2023-07-09");
  EXPECT_EQ(MakeReminderRowTexts(WithTexts(RepeatMode::LunarYearly, At(2023, 7, 1), "12", "30"), now, true, true).date,
            "2023-12-30");
  EXPECT_EQ(MakeReminderRowTexts(Reminder(RepeatMode::Daily, At(2023, 7, 1, 9)), now, true, true).date, "2023-07-01");
}

TEST(ReminderRows, FiltersByKindStateAndDay) {
  const double now = At(2024, 3, 5, 12);
  const ReminderRecord passedOnce = Reminder(RepeatMode::Once, At(2024, 3, 5, 9));
  const ReminderRecord lunarYearly = WithTexts(RepeatMode::LunarYearly, At(2020, 1, 1), "1", "1");
  const ReminderRecord pausedDaily =
      testing::With(Reminder(RepeatMode::Daily, At(2024, 1, 1, 9)), [](ReminderRecord& r) { r.txzt = 1; });
  struct Case {
    const char* filter;
    std::vector<bool> passes;  // passedOnce, lunarYearly, pausedDaily
  };
  for (const Case& c : std::vector<Case>{{"全部", {true, true, true}},
                                         {"今天", {true, false, true}},
                                         {"过期", {true, false, false}},
                                         {"暂停", {false, false, true}},
                                         {"一次", {true, false, false}},
                                         {"每天", {false, false, true}},
                                         {"每年", {false, true, false}},
                                         {"每月", {false, false, false}},
                                         {"全", {false, false, false}}}) {
    std::vector<bool> got;
    for (const ReminderRecord* r : {&passedOnce, &lunarYearly, &pausedDaily})
      got.push_back(PassesReminderFilter(*r, c.filter, now));
    EXPECT_EQ(got, c.passes) << testsupport::Show(c.filter);
  }
}

}  // namespace
}  // namespace workmemo
