#include "common/text_routines.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/text/text.h"

namespace workmemo {

std::string PadTwoDigits(int n) {
  std::string digits = std::to_string(n);
  return n <= 9 ? "0" + digits : digits;
}

std::string GetFileExtension(std::string_view path) {
  std::size_t dot = std::string_view::npos;
  for (std::size_t p = 0; p < path.size(); p += platform::text::CharLength(path, p)) {
    if (path[p] == '.') dot = p;
  }
  if (dot == std::string_view::npos) return std::string(path);
  return std::string(path.substr(dot + 1));
}

std::string TruncateText(std::string_view text, int n) {
  if (n <= 0) return {};
  auto limit = static_cast<std::size_t>(n);
  if (text.size() < limit) return std::string(text);
  return std::string(text.substr(0, platform::text::CutPoint(text, limit)));
}

bool TextSortsBefore(std::string_view a, std::string_view b) {
  // std::string compares its bytes as unsigned, so double-byte characters sort after ASCII.
  return platform::text::AsciiLower(a) < platform::text::AsciiLower(b);
}

std::string JoinByteArrays(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out.append(part);
  return out;
}

double TextToNumber(std::string_view text) {
  std::size_t p = 0;
  while (p < text.size() && (text[p] == ' ' || text[p] == '\t')) ++p;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  // Only plain decimal forms: from_chars would also take "inf", "nan" and hexadecimal.
  if (p >= text.size() || !(std::isdigit(static_cast<unsigned char>(text[p])) ||
                            (text[p] == '.' && p + 1 < text.size() &&
                             std::isdigit(static_cast<unsigned char>(text[p + 1]))))) {
    return 0;
  }
  double value = 0;
  const char* first = text.data() + p;
  auto [end, ec] = std::from_chars(first, text.data() + text.size(), value,
                                   std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // Too large saturates; too small is as good as zero. The exponent's sign tells which.
    std::string_view number(first, static_cast<std::size_t>(end - first));
    std::size_t e = number.find_first_of("eE");
    bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
    value = tiny ? 0 : std::numeric_limits<double>::max();
  } else if (ec != std::errc()) {
    return 0;
  }
  return negative ? -value : value;
}

int TextToInteger(std::string_view text) {
  double v = std::trunc(TextToNumber(text));
  if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

bool IsFlagOn(std::string_view text) { return std::fabs(TextToNumber(text) - 1.0) <= 1e-7; }

std::string CannotWriteDirectoryText(std::string_view directory) {
  return "无法写入目录：" + std::string(directory) + "\r\n请检查磁盘空间和写入权限！";
}

}  // namespace workmemo
