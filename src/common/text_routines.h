#pragma once
// Small text routines every list, window and setting uses. Texts are GB18030 bytes.
#include <initializer_list>
#include <string>
#include <string_view>

namespace workmemo {

// Decimal text of n with "0" in front when n is at most 9 (7 -> "07", 12 -> "12").
std::string PadTwoDigits(int n);

// The text after the last "." of the path; the whole path when it holds no ".".
std::string GetFileExtension(std::string_view path);

// The first n bytes of the text, or fewer so that no character is cut in two; a copy when the
// text is shorter; empty for n of 0 or less.
std::string TruncateText(std::string_view text, int n);

// Whether text a sorts before text b: by their GBK bytes, which orders the common Chinese
// characters by their pinyin, with Latin letters compared without regard to case.
bool TextSortsBefore(std::string_view a, std::string_view b);

// The parts one after another, as a new byte set.
std::string JoinByteArrays(std::initializer_list<std::string_view> parts);

// The number at the start of a text: blanks, a sign, digits, a decimal point and an exponent;
// 0 when the text does not start with a number. Out-of-range values saturate.
double TextToNumber(std::string_view text);
// TextToNumber truncated toward zero and held within the 32-bit range.
int TextToInteger(std::string_view text);
// A stored flag is on when its text reads as 1 (within 1e-7).
bool IsFlagOn(std::string_view text);

// "无法写入目录：" with the directory, and a line on what to check: what a message says when
// a file could not be written there (read-only, full), so the user learns where it failed.
std::string CannotWriteDirectoryText(std::string_view directory);

}  // namespace workmemo
