#include "platform/clock/clock.h"

#include <gtest/gtest.h>

#include <cmath>

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
