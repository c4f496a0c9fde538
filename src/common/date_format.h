#pragma once
// Date-times as the lists, the database texts and the file names write them.
#include <string>

namespace workmemo {

// A date-time serial as text, rounded to the nearest second (23:59:59.6 is the next day):
//  0 "2016-02-07 08:05:09"  1 "2016-02-07"  2 "08:05:09"  3 "2016年02月07日"  4 "08时05分09秒"
//  5 "20160207"  6 "2016年2月7日"  7 "20160207080509"  8 as 5  9 "080509"  10 "02-07";
// any other style gives the empty text. The year has four digits ("0999") in every style but
// 6, which pads nothing: styles 0 and 1 are the forms dates are stored in, and the date
// columns take four-digit years only.
std::string FormatDateTime(double serial, int style);

}  // namespace workmemo
