#include "day_reminders.h"

#include <random>
#include <string>

#include "platform/clock/clock.h"
#include "platform/lunar/lunar.h"
#include "reminders/store/calendar.h"

namespace workmemo::simday {
namespace {

constexpr int kEverySecondReminders = 60;

struct Day {
  double start = 0;  // 00:00:00
  DateTimeParts parts;
  int weekday = 0;
  platform::lunar::LunarDate lunar;
  bool lunarKnown = false;
};

double At(const Day& day, std::int64_t secondOfDay, int dayOffset = 0) {
  return DateTimeFromSeconds(LinearSeconds(day.start) + (dayOffset * 86400LL) + secondOfDay);
}

void Notice(ReminderRecord& r, int amount, int unit) {
  r.tqsj = amount;
  r.tqdw = unit;
}

// Another weekday than the day's, as decimal text.
std::string OtherWeekday(const Day& day, int step) { return std::to_string((day.weekday - 1 + step) % 7 + 1); }

}  // namespace

std::vector<PlannedReminder> DayReminders(int count, double dayStart, int fromSecond, int toSecond,
                                          std::uint64_t seed) {
  Day day;
  day.start = dayStart;
  day.parts = SplitDateTime(dayStart);
  day.weekday = Weekday(dayStart);
  day.lunarKnown = platform::lunar::SolarToLunar(dayStart, day.lunar);
  std::mt19937_64 random(seed);
  std::uniform_int_distribution<int> anySecond(fromSecond, toSecond);
  const int everySecond = count >= 2 * kEverySecondReminders ? kEverySecondReminders : 0;

  std::vector<PlannedReminder> out;
  out.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    PlannedReminder p;
    ReminderRecord& r = p.record;
    r.txbt = "reminder " + std::to_string(i);
    r.txlx = "simulated";
    const int t = anySecond(random);
    r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = At(day, t);
    if (i < everySecond) {
      r.txfs = RepeatMode::Interval;
      r.cfdw = IntervalUnit::Minute;
      r.cfsj = 1;
      r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = At(day, i, -1);
      out.push_back(std::move(p));
      continue;
    }
    switch (i % 16) {
      case 0:  // once, every third with a notice counting minutes
        r.txfs = RepeatMode::Once;
        if (i % 3 == 0) Notice(r, 1 + i % 5, DatePart::Minute);
        break;
      case 1:  // daily, some not on this weekday, some with notices
        r.txfs = RepeatMode::Daily;
        r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = At(day, t, -10);
        if (i % 5 == 0) r.notxweek = std::to_string(day.weekday);
        if (i % 5 == 1) r.notxweek = OtherWeekday(day, 1) + "-" + OtherWeekday(day, 3);
        if (i % 7 == 1) Notice(r, 1 + i % 3, DatePart::Minute);
        break;
      case 2:
        r.txfs = RepeatMode::Weekly;
        r.txweek = i % 4 == 2 ? OtherWeekday(day, 2) : OtherWeekday(day, 5) + "-" + std::to_string(day.weekday);
        if (i % 3 == 2) Notice(r, 2, DatePart::Minute);
        break;
      case 3:
        r.txfs = RepeatMode::Monthly;
        r.txdays = std::to_string(day.parts.day);
        break;
      case 4:
        r.txfs = RepeatMode::Yearly;
        r.txmonth = std::to_string(day.parts.month);
        r.txdays = std::to_string(day.parts.day);
        break;
      case 5:  // every 1 to 30 minutes, some only within a daily window
        r.txfs = RepeatMode::Interval;
        r.cfdw = IntervalUnit::Minute;
        r.cfsj = 1 + i % 30;
        r.ksdate = r.jsdate = r.txdate = At(day, t, -2);
        if (i % 3 == 0) {
          r.kstime = At(day, std::max(fromSecond, t - 1800));
          r.jstime = At(day, std::min(toSecond, t + 1800));
        }
        if (i % 4 == 1) Notice(r, 1, DatePart::Minute);
        break;
      case 6:
        r.txfs = RepeatMode::Interval;
        r.cfdw = IntervalUnit::Hour;
        r.cfsj = 1 + i % 3;
        r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = At(day, t, -1);
        if (i % 5 == 0) Notice(r, 10, DatePart::Minute);
        break;
      case 7: {  // every n days, weeks, months or years
        static constexpr int kUnits[] = {IntervalUnit::Day, IntervalUnit::Week, IntervalUnit::Month, IntervalUnit::Year};
        r.txfs = RepeatMode::Interval;
        r.cfdw = kUnits[(i / 16) % 4];
        r.cfsj = 1 + i % 2;
        r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = At(day, t, r.cfdw == IntervalUnit::Day ? -2 : 0);
        if (i % 3 == 1) Notice(r, 1, DatePart::Hour);
        break;
      }
      case 8:  // the days whose number ends in the digit
        r.txfs = RepeatMode::Interval;
        r.cfdw = IntervalUnit::DayDigit;
        r.cfsj = day.parts.day % 10 + (i % 2) * 10;
        break;
      case 9:  // every n minutes from the load
        r.txfs = RepeatMode::Interval;
        r.cfdw = IntervalUnit::MinuteSinceLoad;
        r.cfsj = 1 + i % 20;
        break;
      case 10:
        r.txfs = RepeatMode::LunarOnce;
        r.nlyear = day.lunar.year;
        r.txmonth = std::to_string(day.lunar.month);
        r.txdays = std::to_string(day.lunar.day);
        r.nlry = day.lunar.leap;
        break;
      case 11:
        r.txfs = RepeatMode::LunarMonthly;
        r.txdays = std::to_string(day.lunar.day);
        if (i % 3 == 2) Notice(r, 3, DatePart::Minute);
        break;
      case 12:
        r.txfs = RepeatMode::LunarYearly;
        r.txmonth = std::to_string(day.lunar.month);
        r.txdays = std::to_string(day.lunar.day);
        r.nlry = day.lunar.leap;
        break;
      case 13:  // once, with a notice counting hours
        r.txfs = RepeatMode::Once;
        Notice(r, 1 + i % 2, DatePart::Hour);
        break;
      case 14:  // daily within a date range around the day
        r.txfs = RepeatMode::Daily;
        r.ksdate = r.kstime = r.txdate = At(day, t, -3);
        r.jsdate = r.jstime = At(day, t, i % 5 == 4 ? -1 : 3);  // some ended yesterday
        break;
      default:  // weekly with a notice counting hours
        r.txfs = RepeatMode::Weekly;
        r.txweek = std::to_string(day.weekday);
        Notice(r, 1, DatePart::Hour);
        break;
    }
    if (i % 23 == 3) r.txzt = 1;
    if (i % 29 == 5) {
      r.xctx = 1;
      r.txdate = At(day, anySecond(random));
    }
    if (i % 17 == 7) {
      r.cfcs = 1 + i % 4;
      r.cfcsdw = (i / 17) % 2 ? RepeatCountUnit::TimesTotal : RepeatCountUnit::TimesPerRun;
    }
    if (i % 11 == 2) p.reaction = Reaction::RemindAgain;
    if (i % 43 == 6) p.reaction = Reaction::Pause;
    if (i % 47 == 8) p.reaction = Reaction::PauseUntilNextLoad;
    out.push_back(std::move(p));
  }
  return out;
}

}  // namespace workmemo::simday
