#include "platform/clock/clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace clk = platform::clock;

TEST(Clock, SerialsOfKnownDates) {
  struct Case { clk::DateTimeFields f; double serial; } cases[] = {
      {{1899, 12, 30, 0, 0, 0}, 0.0},
      {{1900, 1, 1, 0, 0, 0}, 2.0},
      {{1900, 3, 1, 0, 0, 0}, 61.0},
      {{2000, 2, 29, 12, 0, 0}, 36585.5},
      {{2026, 12, 10, 6, 0, 0}, 46366.25},
      {{1899, 12, 29, 6, 0, 0}, -1.25},
      {{100, 1, 1, 0, 0, 0}, -657434.0},
      {{9999, 12, 31, 0, 0, 0}, 2958465.0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(clk::SerialFromFields(c.f), c.serial) << c.serial;
    EXPECT_EQ(clk::FieldsFromSerial(c.serial), c.f) << c.serial;
  }
}

TEST(Clock, RoundsToTheNearestSecondWithCarry) {
  double almostMidnight = 36585.0 + (86400.0 - 0.4) / 86400.0;
  EXPECT_EQ(clk::FieldsFromSerial(almostMidnight), (clk::DateTimeFields{2000, 3, 1, 0, 0, 0}));
  double halfPast = 36585.0 + 10.6 / 86400.0;
  EXPECT_EQ(clk::FieldsFromSerial(halfPast).second, 11);
}

TEST(Clock, SettableForTests) {
  clk::SetForTest(46366.25);
  EXPECT_DOUBLE_EQ(clk::Now(), 46366.25);
  clk::AdvanceForTest(61);
  EXPECT_EQ(clk::FieldsFromSerial(clk::Now()), (clk::DateTimeFields{2026, 12, 10, 6, 1, 1}));
  clk::ClearForTest();
  EXPECT_GT(clk::Now(), 46000.0);
  // The real clock reads whole seconds.
  double n = clk::Now() * 86400.0;
  EXPECT_NEAR(n, std::round(n), 1e-3);
}

TEST(Clock, StoredTextForms) {
  EXPECT_EQ(clk::FormatStored(36585.5), "2000-02-29 12:00:00");
  EXPECT_EQ(clk::FormatStoredDate(36585.5), "2000-02-29");
  EXPECT_EQ(clk::ParseStored("2000-02-29 12:00:00"), 36585.5);
  EXPECT_EQ(clk::ParseStored("2000-02-29"), 36585.0);
  EXPECT_EQ(clk::ParseStored("2000-02-29T12:00:00"), 36585.5);
  for (const char* bad : {"", "2000-02-30", "2001-02-29", "2000-13-01", "2000-01-01 24:00:00",
                          "2000-01-01 1:00:00", "abcd-ef-gh", "2000-01-01 12:00"})
    EXPECT_FALSE(clk::ParseStored(bad).has_value()) << bad;
}

TEST(Clock, UtcTestClockFollowsDaylightSavingChanges) {
  const auto previous = clk::SetTimeZoneForTest("America/New_York");
  struct Case {
    std::int64_t unix;
    clk::DateTimeFields wall;
    std::int64_t offset;
  } cases[] = {
      {1710053999, {2024, 3, 10, 1, 59, 59}, -5 * 3600},  // the last second before spring forward
      {1710054000, {2024, 3, 10, 3, 0, 0}, -4 * 3600},
      {1730613599, {2024, 11, 3, 1, 59, 59}, -4 * 3600},  // the last second before falling back
      {1730613600, {2024, 11, 3, 1, 0, 0}, -5 * 3600},
  };
  for (const Case& c : cases) {
    clk::SetUtcForTest(c.unix);
    const clk::WallClockReading r = clk::ReadWallClock();
    EXPECT_EQ(clk::FieldsFromSerial(r.now), c.wall) << c.unix;
    EXPECT_EQ(r.utcOffset, c.offset) << c.unix;
    EXPECT_EQ(clk::UtcOffsetSeconds(), c.offset) << c.unix;
    clk::ClearForTest();  // the offset at a given moment does not depend on the clock
    EXPECT_EQ(clk::UtcOffsetAt(c.unix + 25569LL * 86400), c.offset) << c.unix;
  }
  clk::SetUtcForTest(1710053999);
  clk::AdvanceForTest(1);  // along the UTC time line: across the skipped hour
  EXPECT_EQ(clk::FieldsFromSerial(clk::Now()), (clk::DateTimeFields{2024, 3, 10, 3, 0, 0}));
  clk::SetForTest(46366.25);  // a local time again: the offset is the real clock's
  EXPECT_EQ(clk::ReadWallClock().now, 46366.25);
  clk::ClearForTest();
  clk::SetTimeZoneForTest(previous);
}

TEST(Clock, RepeatedSpanIsTheDropOfTheOffsetOverASecondShownTwice) {
  struct Case {
    const char* zone;
    clk::DateTimeFields wall;
    std::int64_t span;
  } cases[] = {
      {"America/New_York", {2024, 11, 3, 1, 0, 0}, 3600},  // the hour falling back repeats
      {"America/New_York", {2024, 11, 3, 1, 59, 59}, 3600},
      {"America/New_York", {2024, 11, 3, 0, 59, 59}, 0},
      {"America/New_York", {2024, 11, 3, 2, 0, 0}, 0},
      {"America/New_York", {2024, 3, 10, 2, 30, 0}, 0},  // skipped by the spring forward
      {"Antarctica/Troll", {2011, 10, 30, 1, 0, 0}, 7200},  // back from 03:00 to 01:00
      {"Antarctica/Troll", {2011, 10, 30, 2, 59, 59}, 7200},
      {"Antarctica/Troll", {2011, 10, 30, 3, 0, 0}, 0},
      {"America/St_Johns", {2010, 11, 6, 23, 1, 0}, 3600},  // back from 00:01 to 23:01 the day before
      {"America/St_Johns", {2010, 11, 7, 0, 0, 59}, 3600},
      {"America/St_Johns", {2010, 11, 7, 0, 1, 0}, 0},
      {"Pacific/Kwajalein", {1969, 9, 30, 12, 0, 0}, 23 * 3600},  // a day, less an hour, again
      {"Asia/Shanghai", {2024, 6, 12, 12, 0, 0}, 0},
  };
  for (const Case& c : cases) {
    const auto previous = clk::SetTimeZoneForTest(c.zone);
    EXPECT_EQ(clk::RepeatedSpanAt(clk::SecondsFromSerial(clk::SerialFromFields(c.wall))), c.span)
        << c.zone << " " << c.wall.year << "-" << c.wall.month << "-" << c.wall.day << " " << c.wall.hour << ":"
        << c.wall.minute << ":" << c.wall.second;
    clk::SetTimeZoneForTest(previous);
  }
}
