#include "platform/clock/clock.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace platform::clock {
namespace {

std::mutex g_mutex;
std::optional<double> g_testNow;
// Set only by SetUtcForTest: the moment on the UTC time line and its offset.
std::optional<std::int64_t> g_testUtc;
std::int64_t g_testOffset = 0;

constexpr std::int64_t kEpochDays = 693899;  // days from 0000-03-01 based era to 1899-12-30

// Howard Hinnant's days-from-civil, rebased to 1899-12-30.
std::int64_t RawDaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe);
}

}  // namespace

std::int64_t DaysFromCivil(int year, int month, int day) {
  return RawDaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
         kEpochDays;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
  std::int64_t z = days + kEpochDays;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<int>(y + (m <= 2));
  month = static_cast<int>(m);
  day = static_cast<int>(d);
}

std::int64_t SecondsFromSerial(double serial) {
  // The fraction of a negative serial is a time of day after the day's start.
  double dayPart = std::trunc(serial);
  double frac = std::fabs(serial - dayPart);
  std::int64_t secs = static_cast<std::int64_t>(std::llround(frac * 86400.0));
  return static_cast<std::int64_t>(dayPart) * 86400 + secs;
}

double SerialFromSeconds(std::int64_t seconds) {
  std::int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
  std::int64_t rest = seconds - days * 86400;
  if (days >= 0) return static_cast<double>(days) + static_cast<double>(rest) / 86400.0;
  // Negative day: the time of day is added as a magnitude.
  return static_cast<double>(days) - static_cast<double>(rest) / 86400.0;
}

double SerialFromFields(const DateTimeFields& f) {
  std::int64_t days = DaysFromCivil(f.year, f.month, f.day);
  std::int64_t secs = days * 86400 + f.hour * 3600 + f.minute * 60 + f.second;
  return SerialFromSeconds(secs);
}

DateTimeFields FieldsFromSerial(double serial) {
  std::int64_t secs = SecondsFromSerial(serial);
  std::int64_t days = secs >= 0 ? secs / 86400 : -((-secs + 86399) / 86400);
  std::int64_t rest = secs - days * 86400;
  DateTimeFields f;
  CivilFromDays(days, f.year, f.month, f.day);
  f.hour = static_cast<int>(rest / 3600);
  f.minute = static_cast<int>((rest / 60) % 60);
  f.second = static_cast<int>(rest % 60);
  return f;
}

namespace {

WallClockReading LocalReading(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return {SerialFromFields({tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                            tm.tm_sec}),
          tm.tm_gmtoff};
}

void SetUtcLocked(std::int64_t unixSeconds) {
  const WallClockReading r = LocalReading(static_cast<std::time_t>(unixSeconds));
  g_testNow = r.now;
  g_testUtc = unixSeconds;
  g_testOffset = r.utcOffset;
}

}  // namespace

WallClockReading ReadWallClock() {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_testNow) return {*g_testNow, g_testUtc ? g_testOffset : LocalReading(std::time(nullptr)).utcOffset};
  }
  return LocalReading(std::time(nullptr));
}

double Now() { return ReadWallClock().now; }

std::int64_t UtcOffsetSeconds() { return ReadWallClock().utcOffset; }

std::int64_t UtcOffsetAt(std::int64_t utcSeconds) {
  constexpr std::int64_t kUnixEpochSeconds = 25569LL * 86400;  // 1970-01-01 on the serial scale
  return LocalReading(static_cast<std::time_t>(utcSeconds - kUnixEpochSeconds)).utcOffset;
}

std::int64_t RepeatedSpanAt(std::int64_t wallSeconds) {
  // A moment that shows the second lies within 15 hours of it (no offset is larger), and no
  // zone changes its offset twice within two days: the offsets a day before and after are the
  // only ones that can show it, and each does when the moment it names has that offset.
  constexpr std::int64_t kDay = 86400;
  const std::int64_t before = UtcOffsetAt(wallSeconds - kDay), after = UtcOffsetAt(wallSeconds + kDay);
  if (before <= after) return 0;
  const bool shownBefore = UtcOffsetAt(wallSeconds - before) == before;
  const bool shownAfter = UtcOffsetAt(wallSeconds - after) == after;
  return shownBefore && shownAfter ? before - after : 0;
}

void SetForTest(double serial) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_testNow = SerialFromSeconds(SecondsFromSerial(serial));
  g_testUtc.reset();
}

void SetUtcForTest(std::int64_t unixSeconds) {
  std::lock_guard<std::mutex> lock(g_mutex);
  SetUtcLocked(unixSeconds);
}

void AdvanceForTest(double seconds) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_testUtc)
    SetUtcLocked(*g_testUtc + std::llround(seconds));
  else if (g_testNow)
    g_testNow = SerialFromSeconds(SecondsFromSerial(*g_testNow) + std::llround(seconds));
}

std::optional<std::string> SetTimeZoneForTest(const std::optional<std::string>& zone) {
  const char* old = std::getenv("TZ");
  std::optional<std::string> previous;
  if (old != nullptr) previous = old;
  if (zone)
    ::setenv("TZ", zone->c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
  return previous;
}

void ClearForTest() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_testNow.reset();
  g_testUtc.reset();
}

std::string FormatStored(double serial) {
  DateTimeFields f = FieldsFromSerial(serial);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day, f.hour,
                f.minute, f.second);
  return buf;
}

std::string FormatStoredDate(double serial) {
  DateTimeFields f = FieldsFromSerial(serial);
  char buf[24];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", f.year, f.month, f.day);
  return buf;
}

std::optional<double> ParseStored(std::string_view text) {
  auto digits = [&](std::size_t pos, std::size_t n, int& out) {
    if (pos + n > text.size()) return false;
    int v = 0;
    for (std::size_t i = 0; i < n; ++i) {
      char c = text[pos + i];
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    out = v;
    return true;
  };
  DateTimeFields f;
  f.hour = f.minute = f.second = 0;
  if (!(digits(0, 4, f.year) && text.size() >= 10 && text[4] == '-' && digits(5, 2, f.month) &&
        text[7] == '-' && digits(8, 2, f.day)))
    return std::nullopt;
  if (text.size() != 10) {
    if (text.size() != 19 || (text[10] != ' ' && text[10] != 'T') || text[13] != ':' ||
        text[16] != ':' || !digits(11, 2, f.hour) || !digits(14, 2, f.minute) ||
        !digits(17, 2, f.second))
      return std::nullopt;
  }
  if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > 31 || f.hour > 23 || f.minute > 59 ||
      f.second > 59)
    return std::nullopt;
  int y, m, d;
  CivilFromDays(DaysFromCivil(f.year, f.month, f.day), y, m, d);
  if (m != f.month) return std::nullopt;  // 31 April and the like
  return SerialFromFields(f);
}

}  // namespace platform::clock
