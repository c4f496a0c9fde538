#include "reminders/ui/reminder_sort.h"

#include <chrono>
#include <cmath>
#include <optional>

#include "common/date_format.h"
#include "common/text_routines.h"
#include "platform/clock/clock.h"
#include "platform/text/text.h"

namespace workmemo {

namespace {

constexpr double kNumberTolerance = 1e-7;
constexpr unsigned char kFullWidthBlankByte = 0xA1;  // the full-width blank is A1 A1

// The character at `pos` as one number: its bytes read high byte first.
std::uint32_t CharCode(std::string_view text, std::size_t pos, std::size_t length, bool foldCase) {
  std::uint32_t code = 0;
  for (std::size_t i = 0; i < length; ++i) code = (code << 8) | static_cast<unsigned char>(text[pos + i]);
  if (foldCase && length == 1 && code >= 'A' && code <= 'Z') code += 'a' - 'A';
  return code;
}

int CompareTexts(std::string_view a, std::string_view b, bool caseSensitive) {
  std::size_t pa = 0, pb = 0;
  while (pa < a.size() && pb < b.size()) {
    const std::size_t la = platform::text::CharLength(a, pa), lb = platform::text::CharLength(b, pb);
    const std::uint32_t ca = CharCode(a, pa, la, !caseSensitive), cb = CharCode(b, pb, lb, !caseSensitive);
    // A longer character has the larger code: a four-byte one sorts after every pair.
    if (la != lb) return la < lb ? -1 : 1;
    if (ca != cb) return ca < cb ? -1 : 1;
    pa += la;
    pb += lb;
  }
  if (pa < a.size()) return 1;
  if (pb < b.size()) return -1;
  return 0;
}

double KeyValue(std::string_view text, SortKind kind) {
  if (kind == SortKind::Number) return TextToNumber(text);
  return platform::clock::ParseStored(text).value_or(0.0);
}

bool IsBlankAt(std::string_view text, std::size_t pos, std::size_t length) {
  if (length == 1) return text[pos] == ' ';
  return length == 2 && static_cast<unsigned char>(text[pos]) == kFullWidthBlankByte &&
         static_cast<unsigned char>(text[pos + 1]) == kFullWidthBlankByte;
}

}  // namespace

std::string TrimSortKey(std::string_view text) {
  // Walked from the start: A1 can also be the trail byte of another character.
  std::size_t begin = text.size(), end = 0;
  for (std::size_t p = 0; p < text.size();) {
    const std::size_t length = platform::text::CharLength(text, p);
    if (!IsBlankAt(text, p, length)) {
      if (begin == text.size()) begin = p;
      end = p + length;
    }
    p += length;
  }
  return begin < end ? std::string(text.substr(begin, end - begin)) : std::string();
}

std::string ReminderSortKey(const ReminderRecord& record, std::string_view fieldLabel) {
  std::string key;
  if (fieldLabel == "提醒标题：")
    key = record.txbt;
  else if (fieldLabel == "提醒内容：")
    key = record.txnr;
  else if (fieldLabel == "提醒类型：")
    key = record.txlx;
  else if (fieldLabel == "提醒时间：")
    key = FormatDateTime(record.ksdate, 2);
  else if (fieldLabel == "提醒方式：")
    key = std::to_string(record.txfs);
  else
    key = FormatDateTime(record.ksdate, 0);
  return TrimSortKey(key);
}

int CompareSortKeys(std::string_view a, std::string_view b, SortKind kind, bool caseSensitive) {
  if (kind == SortKind::Text) return CompareTexts(a, b, caseSensitive);
  const double va = KeyValue(a, kind), vb = KeyValue(b, kind);
  if (std::fabs(va - vb) <= kNumberTolerance) return 0;
  return va < vb ? -1 : 1;
}

int FindSortedInsertPosition(int count, const std::function<std::string_view(int)>& keyAt,
                             std::string_view key, SortKind kind, bool caseSensitive) {
  if (count <= 0) return 1;
  auto compare = [&](int position) { return CompareSortKeys(key, keyAt(position), kind, caseSensitive); };
  if (compare(count) >= 0) return count + 1;
  if (compare(1) <= 0) return 1;
  int lo = 1, hi = count;
  while (lo < hi - 1) {
    const int mid = (lo + hi) / 2;
    const int c = compare(mid);
    if (c == 0) {
      lo = mid;
      break;
    }
    if (c < 0)
      hi = mid;
    else
      lo = mid;
  }
  return lo + 1;
}

int FindSortedInsertPosition(const std::vector<std::string>& sortedKeys, std::string_view key,
                             SortKind kind, bool caseSensitive) {
  return FindSortedInsertPosition(
      static_cast<int>(sortedKeys.size()),
      [&sortedKeys](int position) { return std::string_view(sortedKeys[static_cast<std::size_t>(position) - 1]); },
      key, kind, caseSensitive);
}

std::int64_t SortRemindersByField(ReminderList& records, std::string_view fieldLabel, SortKind kind,
                                  bool caseSensitive) {
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::string> keys;
  keys.reserve(records.size());
  for (const ReminderRecord& r : records) keys.push_back(ReminderSortKey(r, fieldLabel));
  // The sorted order as input positions; only these small numbers move on an insertion.
  std::vector<int> order;
  order.reserve(records.size());
  const auto keyAt = [&](int position) {
    return std::string_view(keys[static_cast<std::size_t>(order[static_cast<std::size_t>(position) - 1])]);
  };
  for (std::size_t i = 0; i < records.size(); ++i) {
    const int p = FindSortedInsertPosition(static_cast<int>(order.size()), keyAt, keys[i], kind, caseSensitive);
    order.insert(order.begin() + (p - 1), static_cast<int>(i));
  }
  ArrangeReminders(records, order);
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace workmemo
