#include "common/date_format.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/clock/clock.h"
#include "test_support.h"

namespace {

using workmemo::FormatDateTime;

double Serial(int y, int mo, int d, int h, int mi, int s) {
  return platform::clock::SerialFromFields({y, mo, d, h, mi, s});
}

TEST(FormatDateTime, EveryStyle) {
  const double t = Serial(2016, 2, 7, 8, 5, 9);
  const char* expected[] = {"2016-02-07 08:05:09", "2016-02-07",    "08:05:09",
                            "2016年02月07日",      "08时05分09秒",  "20160207",
                            "2016年2月7日",        "20160207080509", "20160207",
                            "080509",              "02-07"};
  for (int style = 0; style <= 10; ++style) {
    EXPECT_EQ(FormatDateTime(t, style), expected[style])
        << "style " << style << ": " << testsupport::Show(FormatDateTime(t, style));
  }
  EXPECT_EQ(FormatDateTime(t, 11), "");
  EXPECT_EQ(FormatDateTime(t, -1), "");
  EXPECT_EQ(FormatDateTime(Serial(2016, 12, 31, 23, 59, 59), 10), "12-31");
  EXPECT_EQ(FormatDateTime(Serial(2016, 1, 5, 0, 0, 0), 6), "2016年1月5日");
}

// The stored forms always carry four digits of year, as the date columns require.
TEST(FormatDateTime, YearsHaveFourDigitsExceptInStyleSix) {
  const struct {
    int year;
    const char* style0;
    const char* style5;
    const char* style6;
  } cases[] = {
      {1, "0001-02-07 08:05:09", "00010207", "1年2月7日"},
      {100, "0100-02-07 08:05:09", "01000207", "100年2月7日"},
      {999, "0999-02-07 08:05:09", "09990207", "999年2月7日"},
      {1000, "1000-02-07 08:05:09", "10000207", "1000年2月7日"},
      {9999, "9999-02-07 08:05:09", "99990207", "9999年2月7日"},
  };
  for (const auto& c : cases) {
    const double t = Serial(c.year, 2, 7, 8, 5, 9);
    EXPECT_EQ(FormatDateTime(t, 0), c.style0) << c.year;
    EXPECT_EQ(FormatDateTime(t, 1), std::string(c.style0).substr(0, 10)) << c.year;
    EXPECT_EQ(FormatDateTime(t, 5), c.style5) << c.year;
    EXPECT_EQ(FormatDateTime(t, 6), c.style6) << c.year;
  }
}

TEST(FormatDateTime, RoundsToTheNearestSecondWithCarry) {
  const double second = 1.0 / 86400;
  const double lastSecond = Serial(2016, 12, 31, 23, 59, 59);
  EXPECT_EQ(FormatDateTime(lastSecond + 0.6 * second, 0), "2017-01-01 00:00:00");
  EXPECT_EQ(FormatDateTime(lastSecond + 0.6 * second, 6), "2017年1月1日");
  EXPECT_EQ(FormatDateTime(lastSecond + 0.4 * second, 0), "2016-12-31 23:59:59");
  // A serial a hair below a whole second, as arithmetic on days leaves it.
  EXPECT_EQ(FormatDateTime(Serial(2016, 2, 29, 12, 0, 0) - 1e-10, 0), "2016-02-29 12:00:00");
}

}  // namespace
