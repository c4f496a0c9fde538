#include "common/days_in_month.h"

namespace workmemo {

int DaysInMonth(int year, int month) {
  if (year < 100 || year > 9999 || month < 1 || month > 12) return 0;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace workmemo
