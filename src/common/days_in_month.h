#pragma once
// The length of a month of the Gregorian calendar, which every date box and every schedule
// rule bounds its day by.

namespace workmemo {

// 28 to 31 (February has 29 days in years divisible by 4 and not by 100, or by 400); 0 for a
// year outside 100..9999 or a month outside 1..12.
int DaysInMonth(int year, int month);

}  // namespace workmemo
