#include "common/date_format.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(FormatDateTime(Serial(100, 1, 1, 0, 0, 0), 0), "100-01-01 00:00:00");
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
