#!/usr/bin/python3
"""Writes src/platform/lunar/lunar_tables.inc: the Chinese lunar calendar for lunar years
1901-2049 and the days of the 24 solar terms for solar years 1901-2050, as the published
calendar has them.

The published calendar was reckoned at the Beijing meridian (local mean time, UTC+7:45:40)
until the end of 1928 and in UTC+8 from 1929 on, so a new moon or a term in the first
minutes after midnight UTC+8 before 1929 falls on the day before.

Where the published calendar begins a month on another day than the ephemeris gives, the
table takes the published day (PUBLISHED_MONTH_STARTS), because that is the calendar users
compare with:
- 1906: the published calendar, like every calendar of the years before 1912, was reckoned
  by the methods of its time, not by modern ephemerides. It began the fourth month on
  1906-04-24 after a third month of 30 days; the modern new moon fell at 23:52 of 1906-04-23
  at the Beijing meridian, which would begin the month a day earlier.
- 1978: the published calendar began the eighth month on 1978-09-02, the day before the
  astronomical new moon of 1978-09-03 00:08 UTC+8 (so 中秋 is 09-16).

Run by hand (needs Debian's python3-ephem, no network):
    /usr/bin/python3 tools/lunar/make_lunar_tables.py > src/platform/lunar/lunar_tables.inc
Events that fall within a few minutes of midnight in UTC+8 are listed on stderr, because
there the day they land on depends on the accuracy of the ephemeris.
"""
import datetime
import math
import sys

import ephem

FIRST_LUNAR_YEAR = 1901
LAST_LUNAR_YEAR = 2049
UTC8 = 8 * ephem.hour
BEIJING_MEAN_TIME = (7 + 45 / 60.0 + 40 / 3600.0) * ephem.hour
# 1929-01-01 00:00 UTC+8: from here on the calendar is reckoned in UTC+8.
UTC8_FROM = ephem.Date(datetime.datetime(1928, 12, 31, 16, 0, 0))
# Lunar months whose published first day differs from the computed one: computed -> published
# (see the top of this file for why each is there).
PUBLISHED_MONTH_STARTS = {
    datetime.date(1906, 4, 23): datetime.date(1906, 4, 24),
    datetime.date(1978, 9, 3): datetime.date(1978, 9, 2),
}
EPOCH = datetime.date(1899, 12, 30)
NEAR_MIDNIGHT_MINUTES = 10
near_midnight = []


def local_day(when, what):
    """The calendar day of a moment in the time the calendar was reckoned in, as a date;
    notes moments close to midnight."""
    offset, zone = (UTC8, "UTC+8") if when >= UTC8_FROM else (BEIJING_MEAN_TIME, "Beijing mean time")
    local = ephem.Date(when + offset).datetime()
    minutes = local.hour * 60 + local.minute + local.second / 60.0
    if minutes < NEAR_MIDNIGHT_MINUTES or minutes > 24 * 60 - NEAR_MIDNIGHT_MINUTES:
        near_midnight.append("%s at %s %s" % (what, local.strftime("%Y-%m-%d %H:%M:%S"), zone))
    return local.date()


def sun_longitude(when):
    """Apparent geocentric ecliptic longitude of the Sun, degrees, equinox of date."""
    sun = ephem.Sun(when)
    ecl = ephem.Ecliptic(ephem.Equatorial(sun.g_ra, sun.g_dec, epoch=when), epoch=when)
    return math.degrees(ecl.lon)


def term_moment(target, guess):
    """The moment near `guess` when the Sun's longitude equals `target` degrees."""
    when = ephem.Date(guess)
    for _ in range(50):
        diff = (target - sun_longitude(when) + 180.0) % 360.0 - 180.0
        if abs(diff) < 1e-7:
            break
        when = ephem.Date(when + diff * 365.2422 / 360.0)
    return when


# Term k of a solar year: 0 = minor cold (285 degrees) ... 23 = winter solstice (270 degrees).
# Odd k are the principal terms (multiples of 30 degrees).
def solar_terms(year):
    days = []
    for k in range(24):
        target = (285 + 15 * k) % 360
        guess = ephem.Date(datetime.datetime(year, 1, 6)) + k * 365.2422 / 24
        days.append(local_day(term_moment(target, guess), "term %d of %d" % (k, year)))
    return days


def main():
    terms = {y: solar_terms(y) for y in range(FIRST_LUNAR_YEAR - 1, LAST_LUNAR_YEAR + 3)}
    principal = sorted(d for y in terms for k, d in enumerate(terms[y]) if k % 2 == 1)
    solstice = {y: terms[y][23] for y in terms}

    moons = []
    when = ephem.Date(datetime.datetime(FIRST_LUNAR_YEAR - 1, 10, 1))
    end = ephem.Date(datetime.datetime(LAST_LUNAR_YEAR + 2, 3, 1))
    while when < end:
        when = ephem.next_new_moon(when)
        day = local_day(when, "new moon")
        moons.append(PUBLISHED_MONTH_STARTS.get(day, day))
        when = ephem.Date(when + 1)

    def month11(year):
        """Index in `moons` of the lunation that holds the winter solstice of `year`."""
        s = solstice[year]
        return max(i for i, d in enumerate(moons) if d <= s)

    # Number every lunation from month 11 of 1900 on.
    numbered = {}  # index in moons -> (month number, leap)
    for year in range(FIRST_LUNAR_YEAR, LAST_LUNAR_YEAR + 2):
        a, b = month11(year - 1), month11(year)
        leap_index = None
        if b - a == 13:
            for i in range(a, b):
                if not any(moons[i] <= d < moons[i + 1] for d in principal):
                    leap_index = i
                    break
            assert leap_index is not None, year
        else:
            assert b - a == 12, (year, b - a)
        number = 10
        for i in range(a, b):
            if i == leap_index:
                numbered[i] = (number, 1)
            else:
                number = number % 12 + 1
                numbered[i] = (number, 0)

    years = []
    starts = [i for i in sorted(numbered) if numbered[i] == (1, 0)]
    for first, following in zip(starts, starts[1:]):
        year = moons[first].year
        if not FIRST_LUNAR_YEAR <= year <= LAST_LUNAR_YEAR:
            continue
        bits, leap = 0, 0
        for n, i in enumerate(range(first, following)):
            length = (moons[i + 1] - moons[i]).days
            assert length in (29, 30), (year, n, length)
            if length == 30:
                bits |= 1 << n
            if numbered[i][1]:
                leap = numbered[i][0]
        assert (following - first == 13) == (leap != 0), year
        years.append((year, moons[first], bits, leap, following - first))
    assert [y[0] for y in years] == list(range(FIRST_LUNAR_YEAR, LAST_LUNAR_YEAR + 1))

    out = sys.stdout
    out.write("// Generated by tools/lunar/make_lunar_tables.py from the ephemeris, at the Beijing\n"
              "// meridian before 1929 and in UTC+8 after, with the published starts of 1906's fourth\n"
              "// and 1978's eighth month.\n")
    out.write("// Do not edit by hand: run the generator again.\n\n")
    out.write("// Lunar years %d-%d: new-year day (month * 100 + day of the same solar year),\n"
              "// month lengths (bit n set: the n-th month of the year, leap month included,\n"
              "// has 30 days), leap month (0 = none).\n" % (FIRST_LUNAR_YEAR, LAST_LUNAR_YEAR))
    out.write("constexpr LunarYearRow kLunarYears[] = {\n")
    for year, first, bits, leap, count in years:
        out.write("    {%d, 0x%04x, %d},  // %d\n" %
                  (first.month * 100 + first.day, bits, leap, year))
    out.write("};\n\n")
    out.write("// Solar years %d-%d: day of the month of the 24 solar terms, from minor cold\n"
              "// (January) to the winter solstice (December), two per month.\n" %
              (FIRST_LUNAR_YEAR, LAST_LUNAR_YEAR + 1))
    out.write("constexpr unsigned char kSolarTermDays[][24] = {\n")
    for year in range(FIRST_LUNAR_YEAR, LAST_LUNAR_YEAR + 2):
        days = terms[year]
        for k, d in enumerate(days):
            assert d.year == year and d.month == k // 2 + 1, (year, k, d)
        out.write("    {%s},  // %d\n" % (", ".join(str(d.day) for d in days), year))
    out.write("};\n")

    for line in near_midnight:
        sys.stderr.write("near midnight: %s\n" % line)


if __name__ == "__main__":
    main()
