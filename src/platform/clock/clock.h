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
void AdvanceForTest(double seconds);
void ClearForTest();

// Offset of local time from UTC, in seconds, at this moment of the real clock.
std::int64_t UtcOffsetSeconds();

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
