#include "platform/db/dialect.h"

#include <QChar>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include "platform/clock/clock.h"
#include "platform/text/text.h"

namespace platform::db::dialect {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Matches `word` (ASCII, case ignored) at `pos` followed by at least one blank; moves `pos`
// past the blanks.
bool TakeWord(std::string_view s, std::size_t& pos, std::string_view word) {
  if (s.size() - pos < word.size() + 1) return false;
  if (!text::EqualsIgnoreAsciiCase(s.substr(pos, word.size()), word)) return false;
  std::size_t p = pos + word.size();
  if (!IsBlank(s[p])) return false;
  while (p < s.size() && IsBlank(s[p])) ++p;
  pos = p;
  return true;
}

std::u32string DecodeUtf8(std::string_view s) {
  std::u32string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((c & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if (!ok) {  // a stray byte stands for itself and matches only itself
      out.push_back(0xDC00 + b);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

char32_t Fold(char32_t c) { return c < 0x80 ? (c >= 'A' && c <= 'Z' ? c + 32 : c) : QChar::toCaseFolded(c); }

// The calendar day of a stored date text or a date-time serial; nullopt for NULL or junk.
std::optional<std::int64_t> CalendarDay(sqlite3_value* v) {
  std::optional<double> serial;
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      serial = sqlite3_value_double(v);
      break;
    case SQLITE_TEXT: {
      const char* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
      serial = clock::ParseStored(std::string_view(t, static_cast<std::size_t>(sqlite3_value_bytes(v))));
      break;
    }
    default:
      break;
  }
  if (!serial) return std::nullopt;
  const clock::DateTimeFields f = clock::FieldsFromSerial(*serial);
  return clock::DaysFromCivil(f.year, f.month, f.day);
}

void NowFunction(sqlite3_context* ctx, int, sqlite3_value**) {
  const std::string now = clock::FormatStored(clock::Now());
  sqlite3_result_text(ctx, now.c_str(), static_cast<int>(now.size()), SQLITE_TRANSIENT);
}

// datediff(interval, a, b): calendar days from a to b; only the day interval is known.
void DateDiffFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const char* interval = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  if (interval == nullptr || !text::EqualsIgnoreAsciiCase(interval, "d")) {
    sqlite3_result_error(ctx, "datediff: only the interval 'd' is supported", -1);
    return;
  }
  const auto from = CalendarDay(argv[1]);
  const auto to = CalendarDay(argv[2]);
  if (!from || !to) {
    sqlite3_result_null(ctx);
    return;
  }
  sqlite3_result_int64(ctx, *to - *from);
}

std::string_view ValueText(sqlite3_value* v) {
  const char* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
  return t ? std::string_view(t, static_cast<std::size_t>(sqlite3_value_bytes(v))) : std::string_view();
}

// The engine calls like(pattern, text) for "text like pattern", and like(pattern, text, e)
// for "text like pattern escape e".
void LikeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i) {
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
  }
  char32_t escape = 0;
  if (argc == 3) {
    const std::u32string e = DecodeUtf8(ValueText(argv[2]));
    if (e.size() != 1) {
      sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
      return;
    }
    escape = e.front();
  }
  const std::string pattern(ValueText(argv[0]));  // the second read may move the first
  sqlite3_result_int(ctx, Like(pattern, ValueText(argv[1]), escape) ? 1 : 0);
}

}  // namespace

std::string Translate(std::string_view sql) {
  std::size_t pos = 0;
  while (pos < sql.size() && IsBlank(sql[pos])) ++pos;
  const std::size_t selectEnd = pos + 6;
  if (!TakeWord(sql, pos, "select")) return std::string(sql);
  if (!TakeWord(sql, pos, "top")) return std::string(sql);
  const std::size_t digits = pos;
  while (pos < sql.size() && sql[pos] >= '0' && sql[pos] <= '9') ++pos;
  if (pos == digits || pos == sql.size() || !IsBlank(sql[pos])) return std::string(sql);
  const std::string_view count = sql.substr(digits, pos - digits);
  std::size_t end = sql.size();
  while (end > pos && (IsBlank(sql[end - 1]) || sql[end - 1] == ';')) --end;
  // The limit goes on a line of its own so that a trailing "--" comment cannot swallow it.
  std::string out(sql.substr(0, selectEnd));
  out += ' ';
  out += sql.substr(pos, end - pos);
  out += "\nLIMIT ";
  out += count;
  return out;
}

bool Like(std::string_view pattern, std::string_view text, char32_t escape) {
  // The pattern as tokens: U'%' and U'_' stand for themselves only when they are wildcards,
  // an escaped character is a literal (kept with the flag bit 1 << 31, which no code point
  // has), so "100\%" matches "100%" alone.
  constexpr char32_t kLiteral = 0x80000000u;
  std::u32string p;
  const std::u32string raw = DecodeUtf8(pattern);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (escape != 0 && raw[i] == escape && i + 1 < raw.size()) p += raw[++i] | kLiteral;
    else p += raw[i];
  }
  const auto same = [](char32_t token, char32_t c) { return Fold(token & ~kLiteral) == Fold(c); };
  const std::u32string s = DecodeUtf8(text);
  std::size_t pi = 0, si = 0, starP = std::u32string::npos, starS = 0;
  while (si < s.size()) {
    if (pi < p.size() && p[pi] == U'%') {
      starP = ++pi;
      starS = si;
    } else if (pi < p.size() && (p[pi] == U'_' || same(p[pi], s[si]))) {
      ++pi;
      ++si;
    } else if (starP != std::u32string::npos) {
      pi = starP;
      si = ++starS;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == U'%') ++pi;
  return pi == p.size();
}

bool Register(sqlite3* db) {
  return sqlite3_create_function(db, "now", 0, SQLITE_UTF8, nullptr, NowFunction, nullptr, nullptr) ==
             SQLITE_OK &&
         sqlite3_create_function(db, "datediff", 3, SQLITE_UTF8, nullptr, DateDiffFunction, nullptr,
                                 nullptr) == SQLITE_OK &&
         sqlite3_create_function(db, "like", 2, SQLITE_UTF8, nullptr, LikeFunction, nullptr, nullptr) ==
             SQLITE_OK &&
         sqlite3_create_function(db, "like", 3, SQLITE_UTF8, nullptr, LikeFunction, nullptr, nullptr) ==
             SQLITE_OK;
}

}  // namespace platform::db::dialect
