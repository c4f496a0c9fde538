#include "common/date_format.h"

#include "common/text_routines.h"
#include "platform/clock/clock.h"

namespace workmemo {

std::string FormatDateTime(double serial, int style) {
  const platform::clock::DateTimeFields f = platform::clock::FieldsFromSerial(serial);
  if (style == 6) {
    return std::to_string(f.year) + "年" + std::to_string(f.month) + "月" + std::to_string(f.day) + "日";
  }
  std::string year = std::to_string(f.year);
  if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
  const std::string month = PadTwoDigits(f.month), day = PadTwoDigits(f.day);
  const std::string hour = PadTwoDigits(f.hour), minute = PadTwoDigits(f.minute);
  const std::string second = PadTwoDigits(f.second);
  switch (style) {
    case 0: return year + "-" + month + "-" + day + " " + hour + ":" + minute + ":" + second;
    case 1: return year + "-" + month + "-" + day;
    case 2: return hour + ":" + minute + ":" + second;
    case 3: return year + "年" + month + "月" + day + "日";
    case 4: return hour + "时" + minute + "分" + second + "秒";
    case 5:
    case 8: return year + month + day;
    case 7: return year + month + day + hour + minute + second;
    case 9: return hour + minute + second;
    case 10: return month + "-" + day;
    default: return {};
  }
}

}  // namespace workmemo
