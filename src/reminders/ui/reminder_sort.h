#pragma once
// Ordering a reminder array by one display field, as both reminder lists show it. Each key is
// placed into the growing sorted keys by a bisection whose tie rules decide where equal keys
// land, so reminders with equal keys keep no simple input order: a key equal to the last one
// goes after it, one equal to the first (and below the last) before it, and one equal to a key
// the bisection meets directly after that key.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "reminders/store/reminder_record.h"

namespace workmemo {

// How two key texts compare: as numbers, as texts, or as date-times (their serials).
enum class SortKind : int { Number = 0, Text = 1, DateTime = 2 };

// The text without ASCII blanks and full-width blanks (A1 A1) at either end.
std::string TrimSortKey(std::string_view text);

// The trimmed key of a record under a field label: the title, content, category, time of day
// (hh:mm:ss) or repeat-mode code for "提醒标题：", "提醒内容：", "提醒类型：", "提醒时间：",
// "提醒方式："; the start date and time (YYYY-MM-DD hh:mm:ss) for any other label.
std::string ReminderSortKey(const ReminderRecord& record, std::string_view fieldLabel);

// -1, 0 or 1. Texts compare character by character by code (a double-byte character is one
// unit, so ASCII comes before Chinese); without case sensitivity only single-byte Latin letters
// are folded, never a trail byte that looks like one. Numbers and date-times within 1e-7 are
// equal; a text that is no number or date-time reads as 0.
int CompareSortKeys(std::string_view a, std::string_view b, SortKind kind, bool caseSensitive);

// The 1-based position, 1 .. count + 1, at which `key` goes into sorted keys, with the tie
// rules above. `keyAt` gives the key at a 1-based position.
int FindSortedInsertPosition(int count, const std::function<std::string_view(int)>& keyAt,
                             std::string_view key, SortKind kind, bool caseSensitive);
int FindSortedInsertPosition(const std::vector<std::string>& sortedKeys, std::string_view key,
                             SortKind kind, bool caseSensitive);

// Puts the records into ascending order of the field's key, inserting them one by one in input
// order. Returns the milliseconds the sort took.
std::int64_t SortRemindersByField(ReminderList& records, std::string_view fieldLabel,
                                  SortKind kind = SortKind::Text, bool caseSensitive = true);

}  // namespace workmemo
