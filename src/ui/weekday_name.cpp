#include "ui/weekday_name.h"

namespace workmemo {

std::string WeekdayName(int weekday, bool withPrefix) {
  static const char* const kNames[7] = {"日", "一", "二", "三", "四", "五", "六"};
  if (weekday < 1 || weekday > 7) return {};
  std::string name = kNames[weekday - 1];
  return withPrefix ? "星期" + name : name;
}

}  // namespace workmemo
