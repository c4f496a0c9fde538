#pragma once
// The dates the reminder editor presets from a repeat rule: the next day a weekly, monthly,
// yearly or lunar-monthly reminder may fall on, counted from `now`. Pure functions of their
// arguments; every result keeps the time of day of `now`.

namespace workmemo {

// The day of weekday w (1 = Sunday .. 7 = Saturday) from today on: today when it is that
// weekday, else the coming one. A w below 1 gives the coming Saturday (today on a Saturday).
double NextDateOnWeekday(int weekday, double now);
// The day of weekday w in today's Sunday-to-Saturday week, which lies in the past for a
// weekday earlier than today's.
double DateOnWeekdayOfThisWeek(int weekday, double now);
// Day d of the first month from this one on that has at least d days, trying at most 12
// further months; a day already passed this month is not skipped (31 in February: 31 March).
double NextDateWithDay(int day, double now);
// Month m, day d of the first year from this one on whose month m has at least d days,
// trying at most 12 further years (29 February from 2025: 2028).
double NextDateWithMonthDay(int month, int day, double now);
// Lunar day d in today's lunar month, or in the first following (ordinary) month long enough
// for it, trying at most 12 further months; only today's month keeps its leap flag. `now`
// itself outside the lunar calendar's years.
double NextDateWithLunarDay(int lunarDay, double now);

}  // namespace workmemo
