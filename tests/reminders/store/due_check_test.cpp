#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "fixtures.h"
#include "platform/lunar/lunar.h"
#include "reminders/store/calendar.h"
#include "reminders/store/schedule.h"

namespace workmemo {
namespace {

using testing::At;
using testing::Every;
using testing::WithTexts;
using testing::Reminder;
using testing::Text;

bool FiresAt(ReminderRecord r, double now) {
  return CheckDue(r, MakeCheckMoment(now)).report.has_value();
}

// Every firing of the record in [from, to], second by second, carrying its state along:
// "time" for an occurrence, "time notice N" for an advance notice reported with N units.
std::vector<std::string> Firings(ReminderRecord& r, double from, double to) {
  std::vector<std::string> out;
  for (std::int64_t s = LinearSeconds(from); s <= LinearSeconds(to); ++s) {
    const DueOutcome o = CheckDue(r, MakeCheckMoment(DateTimeFromSeconds(s)));
    if (!o.report) continue;
    std::string line = Text(DateTimeFromSeconds(s));
    if (o.report->IsNoticeFiring) line += " notice " + std::to_string(o.report->NoticeUnitsLeft);
    out.push_back(line);
  }
  return out;
}

ReminderRecord Daily(double start, const char* notxweek = "") {
  ReminderRecord r = Reminder(RepeatMode::Daily, start);
  r.notxweek = notxweek;
  return r;
}

struct ModeCase {
  const char* what;
  std::function<ReminderRecord()> make;
  double now;
  bool fires;
};

// 2015-06-01 is a Monday.
TEST(DueCheck, EveryRepeatModeAndIntervalUnitFiresOnItsSecondOnly) {
  auto weekly = [](const char* days) {
    ReminderRecord r = Reminder(RepeatMode::Weekly, At(2015, 6, 1, 8));
    r.kstime = At(2015, 6, 1, 10);  // weekly, monthly and yearly fire at kstime's time of day
    r.txweek = days;
    return r;
  };
  auto monthly = [](const char* day) {
    ReminderRecord r = WithTexts(RepeatMode::Monthly, At(2015, 1, 5, 7), "", day);
    r.kstime = At(2015, 1, 5, 9);
    return r;
  };
  auto yearly = [] {
    ReminderRecord r = WithTexts(RepeatMode::Yearly, At(2012, 2, 29, 9), "2", "29");
    return r;
  };
  auto windowed = [](int from, int to) {
    ReminderRecord r = Every(IntervalUnit::Minute, 30, At(2015, 6, 1, 8));
    r.kstime = At(2015, 6, 1, from);
    r.jstime = At(2015, 6, 1, to);
    return r;
  };
  const ModeCase cases[] = {
      {"once at its second", [] { return Reminder(RepeatMode::Once, At(2015, 6, 1, 9)); }, At(2015, 6, 1, 9), true},
      {"once a second late", [] { return Reminder(RepeatMode::Once, At(2015, 6, 1, 9)); }, At(2015, 6, 1, 9, 0, 1), false},
      {"once the next day", [] { return Reminder(RepeatMode::Once, At(2015, 6, 1, 9)); }, At(2015, 6, 2, 9), false},
      {"daily", [] { return Daily(At(2015, 6, 1, 8)); }, At(2015, 6, 10, 8), true},
      {"daily before its start, no range", [] { return Daily(At(2015, 6, 1, 8)); }, At(2015, 5, 10, 8), true},
      {"daily excluded on Sunday", [] { return Daily(At(2015, 6, 1, 8), "1-7"); }, At(2015, 6, 7, 8), false},
      {"daily excluded on Saturday", [] { return Daily(At(2015, 6, 1, 8), "1-7"); }, At(2015, 6, 6, 8), false},
      {"daily on a weekday", [] { return Daily(At(2015, 6, 1, 8), "1-7"); }, At(2015, 6, 5, 8), true},
      {"weekly on Sunday at kstime", [&] { return weekly("1-7"); }, At(2015, 6, 7, 10), true},
      {"weekly not at ksdate's time", [&] { return weekly("1-7"); }, At(2015, 6, 7, 8), false},
      {"weekly not on Monday", [&] { return weekly("1-7"); }, At(2015, 6, 8, 10), false},
      {"weekly one byte on Tuesday", [&] { return weekly("3"); }, At(2015, 6, 2, 10), true},
      {"weekly empty", [&] { return weekly(""); }, At(2015, 6, 2, 10), false},
      {"monthly 31st on 30 April", [&] { return monthly("31"); }, At(2015, 4, 30, 9), true},
      {"monthly 31st not on 29 April", [&] { return monthly("31"); }, At(2015, 4, 29, 9), false},
      {"monthly 31st on 28 Feb 2015", [&] { return monthly("31"); }, At(2015, 2, 28, 9), true},
      {"monthly 31st on 29 Feb 2016", [&] { return monthly("31"); }, At(2016, 2, 29, 9), true},
      {"monthly 31st not on 28 Feb 2016", [&] { return monthly("31"); }, At(2016, 2, 28, 9), false},
      {"monthly 31st on 31 May", [&] { return monthly("31"); }, At(2015, 5, 31, 9), true},
      {"monthly not at ksdate's time", [&] { return monthly("31"); }, At(2015, 5, 31, 7), false},
      {"monthly empty day never", [&] { return monthly(""); }, At(2015, 5, 1, 9), false},
      {"yearly 29 Feb on 28 Feb 2015", yearly, At(2015, 2, 28, 9), true},
      {"yearly 29 Feb on 29 Feb 2016", yearly, At(2016, 2, 29, 9), true},
      {"yearly 29 Feb not on 28 Feb 2016", yearly, At(2016, 2, 28, 9), false},
      {"yearly not in March", yearly, At(2015, 3, 28, 9), false},
      {"interval by second never", [] { return Every(IntervalUnit::Second, 1, At(2015, 6, 1, 9)); }, At(2015, 6, 1, 9), false},
      {"minutes on ksdate's second", [] { return Every(IntervalUnit::Minute, 5, At(2015, 6, 1, 10, 0, 15)); }, At(2015, 6, 1, 10, 5, 15), true},
      {"minutes before ksdate", [] { return Every(IntervalUnit::Minute, 5, At(2015, 6, 1, 10, 0, 15)); }, At(2015, 6, 1, 9, 55, 15), true},
      {"minutes not on second 0", [] { return Every(IntervalUnit::Minute, 5, At(2015, 6, 1, 10, 0, 15)); }, At(2015, 6, 1, 10, 5), false},
      {"minutes off the multiple", [] { return Every(IntervalUnit::Minute, 5, At(2015, 6, 1, 10, 0, 15)); }, At(2015, 6, 1, 10, 6, 15), false},
      {"window start", [&] { return windowed(8, 18); }, At(2015, 6, 3, 8), true},
      {"window half past", [&] { return windowed(8, 18); }, At(2015, 6, 3, 8, 30), true},
      {"window end inclusive", [&] { return windowed(8, 18); }, At(2015, 6, 3, 18), true},
      {"after the window", [&] { return windowed(8, 18); }, At(2015, 6, 3, 18, 30), false},
      {"before the window", [&] { return windowed(8, 18); }, At(2015, 6, 3, 7, 30), false},
      {"reversed window at its start", [&] { return windowed(22, 6); }, At(2015, 6, 3, 22), false},
      {"reversed window at night", [&] { return windowed(22, 6); }, At(2015, 6, 3, 2), false},
      {"hours", [] { return Every(IntervalUnit::Hour, 2, At(2015, 6, 1, 9, 15, 30)); }, At(2015, 6, 1, 11, 15, 30), true},
      {"hours before ksdate", [] { return Every(IntervalUnit::Hour, 2, At(2015, 6, 1, 9, 15, 30)); }, At(2015, 6, 1, 7, 15, 30), true},
      {"hours off the multiple", [] { return Every(IntervalUnit::Hour, 2, At(2015, 6, 1, 9, 15, 30)); }, At(2015, 6, 1, 10, 15, 30), false},
      {"hours a second late", [] { return Every(IntervalUnit::Hour, 2, At(2015, 6, 1, 9, 15, 30)); }, At(2015, 6, 1, 11, 15, 31), false},
      {"days", [] { return Every(IntervalUnit::Day, 3, At(2016, 2, 10, 8)); }, At(2016, 2, 13, 8), true},
      {"days before ksdate", [] { return Every(IntervalUnit::Day, 3, At(2016, 2, 10, 8)); }, At(2016, 2, 7, 8), true},
      {"days off the multiple", [] { return Every(IntervalUnit::Day, 3, At(2016, 2, 10, 8)); }, At(2016, 2, 11, 8), false},
      {"weeks: Sunday of ksdate's week", [] { return Every(IntervalUnit::Week, 2, At(2015, 6, 3, 9)); }, At(2015, 5, 31, 9), true},
      {"weeks: Saturday of ksdate's week", [] { return Every(IntervalUnit::Week, 2, At(2015, 6, 3, 9)); }, At(2015, 6, 6, 9), true},
      {"weeks: not the next week", [] { return Every(IntervalUnit::Week, 2, At(2015, 6, 3, 9)); }, At(2015, 6, 7, 9), false},
      {"weeks: the week after", [] { return Every(IntervalUnit::Week, 2, At(2015, 6, 3, 9)); }, At(2015, 6, 19, 9), true},
      {"months on the clamped day", [] { return Every(IntervalUnit::Month, 2, At(2015, 1, 31, 9)); }, At(2015, 11, 30, 9), true},
      {"months off the multiple", [] { return Every(IntervalUnit::Month, 2, At(2015, 1, 31, 9)); }, At(2015, 4, 30, 9), false},
      {"months on the 31st", [] { return Every(IntervalUnit::Month, 2, At(2015, 1, 31, 9)); }, At(2015, 3, 31, 9), true},
      {"years from 29 Feb", [] { return Every(IntervalUnit::Year, 1, At(2016, 2, 29, 9)); }, At(2017, 2, 28, 9), true},
      {"years not 1 March", [] { return Every(IntervalUnit::Year, 1, At(2016, 2, 29, 9)); }, At(2017, 3, 1, 9), false},
      {"day digit 5 on the 25th", [] { return Every(IntervalUnit::DayDigit, 5, At(2015, 6, 1, 7)); }, At(2015, 7, 25, 7), true},
      {"day digit 5 not on the 26th", [] { return Every(IntervalUnit::DayDigit, 5, At(2015, 6, 1, 7)); }, At(2015, 7, 26, 7), false},
      {"day digit 10 on the 30th", [] { return Every(IntervalUnit::DayDigit, 10, At(2015, 6, 1, 7)); }, At(2015, 7, 30, 7), true},
      {"minutes since load", [] { return Every(IntervalUnit::MinuteSinceLoad, 7, At(2015, 6, 1, 10, 0, 15)); }, At(2015, 6, 1, 10, 7, 15), true},
      {"minutes since load off", [] { return Every(IntervalUnit::MinuteSinceLoad, 7, At(2015, 6, 1, 10, 0, 15)); }, At(2015, 6, 1, 10, 5, 15), false},
      // An amount of 0 never recurs; a negative one acts as its absolute value.
      {"amount 0 by day", [] { return Every(IntervalUnit::Day, 0, At(2016, 2, 10, 8)); }, At(2016, 2, 10, 8), false},
      {"amount 0 by minute", [] { return Every(IntervalUnit::Minute, 0, At(2016, 2, 10, 8)); }, At(2016, 2, 10, 8), false},
      {"amount 0 by day digit", [] { return Every(IntervalUnit::DayDigit, 0, At(2016, 2, 10, 8)); }, At(2016, 2, 20, 8), false},
      {"amount -3 by day", [] { return Every(IntervalUnit::Day, -3, At(2016, 2, 10, 8)); }, At(2016, 2, 13, 8), true},
      {"amount -3 by day off", [] { return Every(IntervalUnit::Day, -3, At(2016, 2, 10, 8)); }, At(2016, 2, 11, 8), false},
      {"amount -3 by day digit", [] { return Every(IntervalUnit::DayDigit, -3, At(2016, 2, 10, 8)); }, At(2016, 2, 13, 8), true},
      {"lunar once", [] { return Reminder(RepeatMode::LunarOnce, At(2023, 3, 22, 9)); }, At(2023, 3, 22, 9), true},
      {"unknown mode", [] { return Reminder(42, At(2015, 6, 1, 9)); }, At(2015, 6, 1, 9), false},
  };
  for (const auto& c : cases) EXPECT_EQ(FiresAt(c.make(), c.now), c.fires) << c.what << " at " << Text(c.now);
}

// Lunar 2023 has a leap second month: month 2 begins 2023-02-20, leap month 2 on 2023-03-22;
// 2024 has no leap month (its month 2 begins 2024-03-10).
TEST(DueCheck, LunarModesAndLeapMonths) {
  platform::lunar::LunarDate d;
  ASSERT_TRUE(platform::lunar::SolarToLunar(At(2023, 3, 22), d));
  ASSERT_EQ((std::vector<int>{d.year, d.month, d.day, d.leap}), (std::vector<int>{2023, 2, 1, 1}));

  ReminderRecord monthly = WithTexts(RepeatMode::LunarMonthly, At(2023, 1, 1, 7), "", "1");
  monthly.kstime = At(2023, 1, 1, 9);
  EXPECT_TRUE(FiresAt(monthly, At(2023, 2, 20, 9)));
  EXPECT_TRUE(FiresAt(monthly, At(2023, 3, 22, 9)));  // in the leap month as well
  EXPECT_FALSE(FiresAt(monthly, At(2023, 3, 22, 7)));
  EXPECT_FALSE(FiresAt(monthly, At(2023, 3, 21, 9)));

  ReminderRecord leapYearly = WithTexts(RepeatMode::LunarYearly, At(2023, 1, 1, 9), "2", "1");
  leapYearly.nlry = 1;
  EXPECT_TRUE(FiresAt(leapYearly, At(2023, 3, 22, 9)));
  EXPECT_FALSE(FiresAt(leapYearly, At(2023, 2, 20, 9)));
  EXPECT_FALSE(FiresAt(leapYearly, At(2024, 3, 10, 9)));
  ReminderRecord plainYearly = leapYearly;
  plainYearly.nlry = 0;
  EXPECT_TRUE(FiresAt(plainYearly, At(2023, 2, 20, 9)));
  EXPECT_TRUE(FiresAt(plainYearly, At(2024, 3, 10, 9)));
  EXPECT_FALSE(FiresAt(plainYearly, At(2023, 3, 22, 9)));

  // A day past the end of a 29-day lunar month fires on its last day.
  for (int month = 1; month <= 12; ++month) {
    if (platform::lunar::LunarMonthDays(2024, month, 0) != 29) continue;
    double last = 0;
    ASSERT_TRUE(platform::lunar::LunarToSolar(2024, month, 29, 0, last));
    ReminderRecord thirtieth = WithTexts(RepeatMode::LunarMonthly, At(2024, 1, 1, 9), "", "30");
    EXPECT_TRUE(FiresAt(thirtieth, last + 9.0 / 24)) << Text(last);
    EXPECT_FALSE(FiresAt(thirtieth, last - 1 + 9.0 / 24)) << Text(last);
    break;
  }

  // Beyond the lunar calendar no lunar reminder fires, though every lunar field reads 0 there.
  ReminderRecord first = WithTexts(RepeatMode::LunarMonthly, At(2055, 1, 1, 9), "", "1");
  EXPECT_FALSE(FiresAt(first, At(2055, 1, 1, 9)));
}

TEST(DueCheck, DateRangeComparesDatesAndIncludesBothEnds) {
  ReminderRecord ranged = Daily(At(2015, 6, 1, 8));
  ranged.jsdate = At(2015, 6, 30, 20);
  EXPECT_TRUE(FiresAt(ranged, At(2015, 6, 1, 8)));
  EXPECT_TRUE(FiresAt(ranged, At(2015, 6, 30, 8)));
  EXPECT_FALSE(FiresAt(ranged, At(2015, 5, 31, 8)));
  EXPECT_FALSE(FiresAt(ranged, At(2015, 7, 1, 8)));
  ReminderRecord sameDate = Daily(At(2015, 6, 1, 8));
  sameDate.jsdate = At(2015, 6, 1, 20);  // one date, two times: no range
  EXPECT_TRUE(FiresAt(sameDate, At(2015, 5, 20, 8)));
  EXPECT_TRUE(FiresAt(sameDate, At(2015, 7, 20, 8)));
}

TEST(DueCheck, PausedRecordsFireOnlyByRemindAgain) {
  ReminderRecord r = Daily(At(2015, 6, 1, 8));
  r.txzt = 1;
  EXPECT_FALSE(FiresAt(r, At(2015, 6, 2, 8)));
  r.xctx = 1;
  r.txdate = At(2015, 6, 2, 8, 5);
  const DueOutcome o = CheckDue(r, MakeCheckMoment(At(2015, 6, 2, 8, 5)));
  ASSERT_TRUE(o.report);
  EXPECT_TRUE(o.clearedRemindAgain);
  EXPECT_EQ(r.xctx, 0);
  EXPECT_EQ(Text(r.txdate), Text(r.ksdate));
}

TEST(DueCheck, RemindAgainPendingDueAndStale) {
  ReminderRecord r = Daily(At(2015, 6, 1, 8));
  r.xctx = 1;
  r.txdate = At(2015, 6, 2, 8, 5);
  r.IsNoticeFiring = 1;

  // Pending: the repeat mode is held back, nothing is written.
  DueOutcome o = CheckDue(r, MakeCheckMoment(At(2015, 6, 2, 8)));
  EXPECT_FALSE(o.report);
  EXPECT_FALSE(o.clearedRemindAgain);
  EXPECT_EQ(r.xctx, 1);

  // Due: fires as an occurrence, not a notice, and is spent.
  ReminderRecord due = r;
  o = CheckDue(due, MakeCheckMoment(At(2015, 6, 2, 8, 5)));
  ASSERT_TRUE(o.report);
  EXPECT_EQ(o.report->IsNoticeFiring, 0);
  EXPECT_EQ(o.report->xctx, 0);
  EXPECT_TRUE(o.clearedRemindAgain);
  EXPECT_FALSE(CheckDue(due, MakeCheckMoment(At(2015, 6, 2, 8, 5, 1))).clearedRemindAgain);

  // Stale (its second was never checked): cleared, and the repeat mode runs in that check.
  ReminderRecord stale = r;
  stale.ksdate = stale.jsdate = At(2015, 6, 1, 8, 10);
  o = CheckDue(stale, MakeCheckMoment(At(2015, 6, 2, 8, 10)));
  EXPECT_TRUE(o.clearedRemindAgain);
  ASSERT_TRUE(o.report);
  EXPECT_EQ(stale.xctx, 0);
  EXPECT_EQ(Text(stale.txdate), Text(stale.ksdate));
}

TEST(DueCheck, RepeatCountersOfBothUnits) {
  for (int unit : {RepeatCountUnit::TimesTotal, RepeatCountUnit::TimesPerRun}) {
    ReminderList list = {Daily(At(2015, 6, 1, 8))};
    list[0].id = 31;
    list[0].cfcs = 3;
    list[0].cfjs = 2;
    list[0].cfcsdw = unit;
    ReminderList fired;
    std::vector<DueWrite> writes = CollectDue(list, At(2015, 6, 2, 8), fired);
    ASSERT_EQ(fired.size(), 1u) << unit;
    EXPECT_EQ(fired[0].cfjs, 3);
    EXPECT_EQ(list[0].cfjs, 3);
    if (unit == RepeatCountUnit::TimesTotal) {
      ASSERT_EQ(writes.size(), 1u);
      EXPECT_EQ(writes[0].kind, DueWrite::StoreRepeatCounter);
      EXPECT_EQ(writes[0].id, 31);
      EXPECT_EQ(writes[0].cfjs, 3);
    } else {
      EXPECT_TRUE(writes.empty());
    }
    EXPECT_TRUE(CollectDue(list, At(2015, 6, 3, 8), fired).empty());
    EXPECT_TRUE(fired.empty()) << "used up";
  }
}

// An imported row can hold any counter: a remind-again of a used-up reminder whose counter
// stands at the top of the range neither wraps it round (firing by its mode again) nor crashes.
TEST(DueCheck, ACounterAtTheTopOfItsRangeStaysThere) {
  ReminderRecord r = Daily(At(2015, 6, 1, 8));
  r.cfcs = 3;
  r.cfjs = std::numeric_limits<int>::max();
  r.cfcsdw = RepeatCountUnit::TimesTotal;
  r.xctx = 1;
  r.txdate = At(2015, 6, 2, 7);
  ReminderList list = {r}, fired;
  CollectDue(list, At(2015, 6, 2, 7), fired);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(list[0].cfjs, std::numeric_limits<int>::max());
  CollectDue(list, At(2015, 6, 2, 8), fired);
  EXPECT_TRUE(fired.empty());
}

TEST(DueCheck, CollectsInListOrderAndNeverReportsUnstoredRecords) {
  ReminderList list = {Daily(At(2015, 6, 1, 8)), Daily(At(2015, 6, 1, 8)), Daily(At(2015, 6, 1, 8))};
  list[0].id = 9;
  list[1].id = 0;
  list[2].id = 4;
  ReminderList fired = {Daily(At(2000, 1, 1))};
  CollectDue(list, At(2015, 6, 2, 8), fired);
  ASSERT_EQ(fired.size(), 2u);
  EXPECT_EQ(fired[0].id, 9);
  EXPECT_EQ(fired[1].id, 4);
  CollectDue(list, At(2015, 6, 2, 8, 0, 1), fired);
  EXPECT_TRUE(fired.empty());
  ReminderList empty;
  CollectDue(empty, At(2015, 6, 2, 8), fired);
  EXPECT_TRUE(fired.empty());
}

ReminderRecord WithNotice(ReminderRecord r, int amount, int unit, double loadTime) {
  r.tqsj = amount;
  r.tqdw = unit;
  r.NoticeTime = ComputeNoticeTime(r, r.NoticeUnitsLeft, loadTime);
  return r;
}

TEST(DueCheck, NoticesCountDownToTheOccurrence) {
  ReminderRecord daily = WithNotice(Daily(At(2015, 6, 1, 8)), 3, DatePart::Hour, At(2015, 6, 2, 4, 30));
  EXPECT_EQ(Firings(daily, At(2015, 6, 2, 4, 30), At(2015, 6, 2, 8, 30)),
            (std::vector<std::string>{"2015-06-02 05:00:00 notice 3", "2015-06-02 06:00:00 notice 2",
                                      "2015-06-02 07:00:00 notice 1", "2015-06-02 08:00:00"}));
  EXPECT_EQ(Text(daily.NoticeTime), "2015-06-03 05:00:00");
  EXPECT_EQ(daily.NoticeUnitsLeft, 3);

  ReminderRecord once = WithNotice(Reminder(RepeatMode::Once, At(2015, 6, 1, 12)), 10, DatePart::Minute,
                                   At(2015, 6, 1, 11));
  std::vector<std::string> expected;
  for (int i = 0; i < 10; ++i)
    expected.push_back(Text(At(2015, 6, 1, 11, 50 + i)) + " notice " + std::to_string(10 - i));
  expected.push_back("2015-06-01 12:00:00");
  EXPECT_EQ(Firings(once, At(2015, 6, 1, 11), At(2015, 6, 1, 12, 30)), expected);
}

// Notices counted in days across a month's end and onto the day a 29 February falls back to.
TEST(DueCheck, DayNoticesCrossMonthEndsAndLeapDays) {
  struct Case {
    const char* what;
    ReminderRecord record;
    double load, from, to;
    std::vector<std::string> expected;
  };
  auto withNotice = [](ReminderRecord r) {
    r.tqsj = 3;
    r.tqdw = DatePart::Day;
    return r;
  };
  const Case cases[] = {
      {"monthly on the 1st", withNotice(WithTexts(RepeatMode::Monthly, At(2015, 1, 1, 9), "", "1")),
       At(2015, 2, 20), At(2015, 2, 20), At(2015, 3, 2),
       {"2015-02-26 09:00:00 notice 3", "2015-02-27 09:00:00 notice 2", "2015-02-28 09:00:00 notice 1",
        "2015-03-01 09:00:00"}},
      {"yearly on 29 February in a common year",
       withNotice(WithTexts(RepeatMode::Yearly, At(2012, 2, 29, 9), "2", "29")), At(2015, 2, 20),
       At(2015, 2, 20), At(2015, 3, 2),
       {"2015-02-25 09:00:00 notice 3", "2015-02-26 09:00:00 notice 2", "2015-02-27 09:00:00 notice 1",
        "2015-02-28 09:00:00"}},
      {"monthly on the 31st, after April's 30th",
       withNotice(WithTexts(RepeatMode::Monthly, At(2015, 1, 31, 9), "", "31")), At(2015, 4, 29),
       At(2015, 4, 29), At(2015, 5, 31, 12),
       {"2015-04-29 09:00:00 notice 1", "2015-04-30 09:00:00", "2015-05-28 09:00:00 notice 3", "2015-05-29 09:00:00 notice 2",
        "2015-05-30 09:00:00 notice 1", "2015-05-31 09:00:00"}},
  };
  for (const Case& c : cases) {
    ReminderRecord r = c.record;
    r.NoticeTime = ComputeNoticeTime(r, r.NoticeUnitsLeft, c.load);
    EXPECT_EQ(Firings(r, c.from, c.to), c.expected) << c.what;
  }
}

TEST(DueCheck, NoticesDoNotRaiseTheRepeatCounter) {
  ReminderRecord r = WithNotice(Daily(At(2015, 6, 1, 8)), 1, DatePart::Hour, At(2015, 6, 2, 6));
  r.cfcs = 5;
  r.cfcsdw = RepeatCountUnit::TimesTotal;
  DueOutcome o = CheckDue(r, MakeCheckMoment(At(2015, 6, 2, 7)));
  ASSERT_TRUE(o.report);
  EXPECT_EQ(o.report->IsNoticeFiring, 1);
  EXPECT_FALSE(o.counterToStore);
  EXPECT_EQ(r.cfjs, 0);
}

// A notice whose occurrence never comes (here: kstime's time of day, at which the interval
// fires, differs from ksdate's, from which the notice counts) runs down once and stops.
TEST(DueCheck, ANoticeWithoutItsOccurrenceStopsWhenItsUnitsRunOut) {
  ReminderRecord r = Every(IntervalUnit::Day, 1, At(2015, 6, 1, 9));
  r.kstime = r.jstime = At(2015, 6, 1, 10);
  r = WithNotice(r, 3, DatePart::Minute, At(2015, 6, 2, 8, 50));
  EXPECT_EQ(Firings(r, At(2015, 6, 2, 8, 50), At(2015, 6, 2, 10, 5)),
            (std::vector<std::string>{"2015-06-02 08:57:00 notice 3", "2015-06-02 08:58:00 notice 2",
                                      "2015-06-02 08:59:00 notice 1", "2015-06-02 10:00:00"}));
}

TEST(DueCheck, WeeklyNoticesFollowEveryListedWeekday) {
  ReminderRecord r = Reminder(RepeatMode::Weekly, At(2015, 6, 1, 9));
  r.txweek = "2-4";  // Monday and Wednesday
  r = WithNotice(r, 1, DatePart::Day, At(2015, 6, 1, 8));
  const std::pair<double, const char*> steps[] = {
      {At(2015, 6, 1, 9), "occurrence"}, {At(2015, 6, 2, 9), "notice"},
      {At(2015, 6, 3, 9), "occurrence"}, {At(2015, 6, 7, 9), "notice"},
      {At(2015, 6, 8, 9), "occurrence"}, {At(2015, 6, 9, 9), "notice"}};
  for (const auto& [now, what] : steps) {
    const DueOutcome o = CheckDue(r, MakeCheckMoment(now));
    ASSERT_TRUE(o.report) << Text(now);
    EXPECT_EQ(o.report->IsNoticeFiring, std::string(what) == "notice" ? 1 : 0) << Text(now);
  }
  EXPECT_FALSE(FiresAt(r, At(2015, 6, 4, 9)));
}

TEST(DueCheck, DailyDayNoticeNeverBeatsTheOccurrence) {
  ReminderRecord r = WithNotice(Daily(At(2015, 6, 1, 8)), 1, DatePart::Day, At(2015, 6, 1, 9));
  for (int day = 2; day <= 4; ++day) {
    const DueOutcome o = CheckDue(r, MakeCheckMoment(At(2015, 6, day, 8)));
    ASSERT_TRUE(o.report);
    EXPECT_EQ(o.report->IsNoticeFiring, 0);
  }
}

TEST(DueCheck, LeapMonthYearlyNoticeWaitsForAYearWithThatLeapMonth) {
  ReminderRecord r = WithTexts(RepeatMode::LunarYearly, At(2022, 1, 1, 9), "2", "1");
  r.nlry = 1;
  r = WithNotice(r, 2, DatePart::Day, At(2022, 6, 1));
  EXPECT_EQ(Text(r.NoticeTime), "2023-03-20 09:00:00");
  EXPECT_EQ(r.NoticeUnitsLeft, 2);
  EXPECT_FALSE(FiresAt(r, At(2023, 2, 20, 9)));  // the ordinary month does not fire it
  const DueOutcome o = CheckDue(r, MakeCheckMoment(At(2023, 3, 22, 9)));
  ASSERT_TRUE(o.report);
  EXPECT_EQ(o.report->IsNoticeFiring, 0);
  platform::lunar::LunarDate next;
  ASSERT_TRUE(platform::lunar::SolarToLunar(r.NoticeTime + 2, next));
  EXPECT_GT(next.year, 2023);
  EXPECT_EQ((std::vector<int>{next.month, next.day, next.leap}), (std::vector<int>{2, 1, 1}));

  // No year up to the end of the calendar has a leap twelfth month: no notice at all.
  ReminderRecord never = WithTexts(RepeatMode::LunarYearly, At(2022, 1, 1, 9), "12", "1");
  never.nlry = 1;
  never = WithNotice(never, 2, DatePart::Day, At(2022, 6, 1));
  EXPECT_TRUE(IsEarlier(never.NoticeTime, At(2022, 6, 1)));
}

TEST(DueCheck, IntervalsWithoutNoticeVariantKeepTheirRule) {
  ReminderRecord r = Every(IntervalUnit::DayDigit, 5, At(2015, 6, 1, 7));
  r.tqsj = 2;
  r.tqdw = DatePart::Hour;
  r.NoticeTime = At(2015, 6, 15, 5);
  r.NoticeUnitsLeft = 2;
  EXPECT_FALSE(FiresAt(r, At(2015, 6, 15, 5)));
  DueOutcome o = CheckDue(r, MakeCheckMoment(At(2015, 6, 15, 7)));
  ASSERT_TRUE(o.report);
  EXPECT_EQ(Text(r.NoticeTime), "2015-06-15 05:00:00");
}

}  // namespace
}  // namespace workmemo
