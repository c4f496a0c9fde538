#include <gtest/gtest.h>

#include <functional>

#include "fixtures.h"
#include "reminders/store/calendar.h"
#include "reminders/store/schedule.h"

namespace workmemo {
namespace {

using testing::At;
using testing::Every;
using testing::WithTexts;
using testing::Reminder;
using testing::Text;

ReminderRecord Noticed(ReminderRecord r, int amount, int unit) {
  r.tqsj = amount;
  r.tqdw = unit;
  return r;
}

struct NoticeCase {
  const char* what;
  std::function<ReminderRecord()> make;
  double now;
  double expected;
  int unitsLeft;
};

// A one-minute notice shows the occurrence it counts back from: it lies one minute before.
TEST(NoticeTime, FindsTheNextOccurrenceOfEveryMode) {
  const int kMinute = DatePart::Minute;
  auto dailyExcluding = [](const char* days) {
    ReminderRecord r = Reminder(RepeatMode::Daily, At(2015, 6, 1, 9));
    r.notxweek = days;
    return Noticed(r, 1, DatePart::Minute);
  };
  const NoticeCase cases[] = {
      {"monthly 31st after April's has passed",
       [&] { return Noticed(WithTexts(RepeatMode::Monthly, At(2015, 1, 3, 9), "", "31"), 1, kMinute); },
       At(2015, 4, 30, 10), At(2015, 5, 31, 8, 59), 1},
      {"monthly 31st on 30 April before its time",
       [&] { return Noticed(WithTexts(RepeatMode::Monthly, At(2015, 1, 3, 9), "", "31"), 1, kMinute); },
       At(2015, 4, 30, 8), At(2015, 4, 30, 8, 59), 1},
      {"yearly 29 Feb after this year's",
       [&] { return Noticed(WithTexts(RepeatMode::Yearly, At(2012, 1, 3, 9), "2", "29"), 1, kMinute); },
       At(2015, 3, 1), At(2016, 2, 29, 8, 59), 1},
      {"yearly 29 Feb in a common year",
       [&] { return Noticed(WithTexts(RepeatMode::Yearly, At(2012, 1, 3, 9), "2", "29"), 1, kMinute); },
       At(2015, 2, 20), At(2015, 2, 28, 8, 59), 1},
      {"daily skips excluded weekend", [&] { return dailyExcluding("1-7"); }, At(2015, 6, 6, 8),
       At(2015, 6, 8, 8, 59), 1},
      {"daily with every weekday excluded stays today", [&] { return dailyExcluding("1-2-3-4-5-6-7"); },
       At(2015, 6, 6, 10), At(2015, 6, 6, 8, 59), 1},
      {"daily passed today goes to tomorrow", [&] { return dailyExcluding(""); }, At(2015, 6, 6, 10),
       At(2015, 6, 7, 8, 59), 1},
      {"weekly without weekdays stays today",
       [&] { return Noticed(Reminder(RepeatMode::Weekly, At(2015, 6, 1, 9)), 1, kMinute); },
       At(2015, 6, 6, 10), At(2015, 6, 6, 8, 59), 1},
      {"window open: next minute tick",
       [&] { return Noticed(Reminder(RepeatMode::Once, At(2015, 6, 1, 10)), 30, kMinute); },
       At(2015, 6, 1, 9, 45, 20), At(2015, 6, 1, 9, 46), 14},
      {"window closed",
       [&] { return Noticed(Reminder(RepeatMode::Once, At(2015, 6, 1, 10)), 30, kMinute); },
       At(2015, 6, 1, 9, 20), At(2015, 6, 1, 9, 30), 30},
      {"day notice reaching the occurrence",
       [&] { return Noticed(Reminder(RepeatMode::Once, At(2015, 6, 5, 9)), 2, DatePart::Day); },
       At(2015, 6, 4, 10), At(2015, 6, 5, 9), 0},
      // A tick at the very second of the load moves on one unit: it could never be checked.
      {"tick at now moves on",
       [&] { return Noticed(Reminder(RepeatMode::Once, At(2015, 6, 1, 11, 30)), 2, DatePart::Hour); },
       At(2015, 6, 1, 10, 30), At(2015, 6, 1, 11, 30), 0},
      {"tick at now, minutes",
       [&] { return Noticed(Reminder(RepeatMode::Once, At(2015, 6, 1, 10)), 30, kMinute); },
       At(2015, 6, 1, 9, 45), At(2015, 6, 1, 9, 46), 14},
      {"hour tick past now",
       [&] { return Noticed(Reminder(RepeatMode::Once, At(2015, 6, 1, 11, 30)), 2, DatePart::Hour); },
       At(2015, 6, 1, 10, 40), At(2015, 6, 1, 11, 30), 0},
      {"every 5 minutes from 10:00",
       [&] { return Noticed(Every(IntervalUnit::Minute, 5, At(2015, 6, 1, 10)), 1, kMinute); },
       At(2015, 6, 1, 9, 47, 30), At(2015, 6, 1, 9, 49), 1},
      {"every -5 minutes acts as 5",
       [&] { return Noticed(Every(IntervalUnit::Minute, -5, At(2015, 6, 1, 10)), 1, kMinute); },
       At(2015, 6, 1, 9, 47, 30), At(2015, 6, 1, 9, 49), 1},
      // Ten seconds before the occurrence, in its minute: the occurrence itself comes next.
      {"every 60 minutes, same minute",
       [&] { return Noticed(Every(IntervalUnit::Minute, 60, At(2015, 6, 1, 10, 0, 15)), 1, kMinute); },
       At(2015, 6, 1, 10, 0, 5), At(2015, 6, 1, 10, 0, 15), 0},
      {"every 3 hours",
       [&] { return Noticed(Every(IntervalUnit::Hour, 3, At(2015, 6, 1, 10, 20)), 1, kMinute); },
       At(2015, 6, 1, 11), At(2015, 6, 1, 13, 19), 1},
      {"every 2 days, passed today",
       [&] { return Noticed(Every(IntervalUnit::Day, 2, At(2015, 6, 1, 8)), 1, kMinute); },
       At(2015, 6, 3, 9), At(2015, 6, 5, 7, 59), 1},
      {"every 2 weeks from a Wednesday",
       [&] { return Noticed(Every(IntervalUnit::Week, 2, At(2015, 6, 3, 9)), 1, DatePart::Day); },
       At(2015, 6, 4, 10), At(2015, 6, 16, 9), 1},
      {"every 2 weeks, off week",
       [&] { return Noticed(Every(IntervalUnit::Week, 2, At(2015, 6, 3, 9)), 1, DatePart::Day); },
       At(2015, 6, 9, 10), At(2015, 6, 16, 9), 1},
      {"every 2 months from the 31st",
       [&] { return Noticed(Every(IntervalUnit::Month, 2, At(2015, 1, 31, 9)), 1, kMinute); },
       At(2015, 2, 10), At(2015, 3, 31, 8, 59), 1},
      {"every year from 29 Feb",
       [&] { return Noticed(Every(IntervalUnit::Year, 1, At(2016, 2, 29, 9)), 1, kMinute); },
       At(2016, 3, 1), At(2017, 2, 28, 8, 59), 1},
      {"day digits have no notice",
       [&] { return Noticed(Every(IntervalUnit::DayDigit, 5, At(2015, 6, 1, 9)), 3, DatePart::Day); },
       At(2015, 6, 1), At(1899, 12, 27), 3},
      {"amount 0 has no notice",
       [&] { return Noticed(Every(IntervalUnit::Day, 0, At(2015, 6, 1, 9)), 1, DatePart::Day); },
       At(2015, 6, 1), At(1899, 12, 29), 1},
      // Lunar 2023: month 2 begins 2023-02-20, leap month 2 on 2023-03-22, month 3 on 2023-04-20.
      {"lunar monthly before a leap month",
       [&] { return Noticed(WithTexts(RepeatMode::LunarMonthly, At(2023, 1, 1, 9), "", "1"), 1, DatePart::Day); },
       At(2023, 3, 1), At(2023, 3, 21, 9), 1},
      {"lunar monthly in the leap month",
       [&] { return Noticed(WithTexts(RepeatMode::LunarMonthly, At(2023, 1, 1, 9), "", "1"), 1, DatePart::Day); },
       At(2023, 4, 1), At(2023, 4, 19, 9), 1},
      {"lunar yearly, ordinary month",
       [&] { return Noticed(WithTexts(RepeatMode::LunarYearly, At(2023, 1, 1, 9), "2", "1"), 1, DatePart::Day); },
       At(2023, 1, 1), At(2023, 2, 19, 9), 1},
  };
  for (const auto& c : cases) {
    int units = -99;
    const double notice = ComputeNoticeTime(c.make(), units, c.now);
    EXPECT_EQ(Text(notice), Text(c.expected)) << c.what;
    EXPECT_EQ(units, c.unitsLeft) << c.what;
  }
}

}  // namespace
}  // namespace workmemo
