#pragma once
// The one clock of the program, and the date-time serial it is read as: a double count of
// days since 1899-12-30 00:00 local time, the fraction being the time of day, whole seconds.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::clock {

struct DateTimeFields {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
  bool operator==(const DateTimeFields&) const = default;
};

// The local wall clock in whole seconds, or the time a test set.
double Now();
void SetForTest(double serial);
// The test clock at the local time of a moment given in seconds since 1970-01-01 UTC, in the
// process's time zone, with that moment's UTC offset: a test can walk across a daylight-saving
// change. AdvanceForTest then moves along that UTC time line.
void SetUtcForTest(std::int64_t unixSeconds);
void AdvanceForTest(double seconds);
void ClearForTest();

// Makes `zone` (a TZ value such as "America/New_York"; nullopt: none set) the process's time
// zone and gives back the one it replaces, for a test to put back.
std::optional<std::string> SetTimeZoneForTest(const std::optional<std::string>& zone);

// Offset of local time from UTC, in seconds, at this moment of the real clock (or of the
// moment SetUtcForTest set).
std::int64_t UtcOffsetSeconds();

// Offset of local time from UTC, in seconds, at a moment given in whole seconds since
// 1899-12-30 00:00 UTC, in the process's time zone: where a daylight-saving change fell
// between two readings.
std::int64_t UtcOffsetAt(std::int64_t utcSeconds);
// When the process's time zone shows the local wall-clock second `wallSeconds` (whole seconds
// on the serial scale) twice, its offset having dropped over it: by how much, in seconds,
// which is the length of the stretch of wall clock shown twice; 0 when it shows it once or never.
std::int64_t RepeatedSpanAt(std::int64_t wallSeconds);

// The wall clock and the UTC offset from one reading, so that the two never stand on
// different sides of a daylight-saving change.
struct WallClockReading {
  double now = 0;
  std::int64_t utcOffset = 0;
};
WallClockReading ReadWallClock();

// Days from 1899-12-30 to the given proleptic Gregorian date (may be negative).
std::int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(std::int64_t days, int& year, int& month, int& day);

// Serial of exact calendar fields (no overflow handling: fields must be in range).
double SerialFromFields(const DateTimeFields& f);
// Fields of a serial, rounded to the nearest second (a time that rounds to 24:00 carries
// into the next day). Negative serials follow the date-time convention that the fraction
// is the time of day counted from the day's start.
DateTimeFields FieldsFromSerial(double serial);
// Whole seconds since the epoch of the serial scale, rounded to the nearest second.
std::int64_t SecondsFromSerial(double serial);
double SerialFromSeconds(std::int64_t seconds);

// "YYYY-MM-DD HH:MM:SS" and "YYYY-MM-DD": the stored text forms of date-times.
std::string FormatStored(double serial);
std::string FormatStoredDate(double serial);
// Accepts both stored forms (and "YYYY-MM-DDTHH:MM:SS"); nullopt for anything else.
std::optional<double> ParseStored(std::string_view text);

}  // namespace platform::clock
