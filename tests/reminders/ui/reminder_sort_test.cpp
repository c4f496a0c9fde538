#include "reminders/ui/reminder_sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reminders/store/calendar.h"
#include "test_support.h"

namespace workmemo {
namespace {

using testsupport::Show;

ReminderRecord At(int id, int hour, int minute = 0, std::string title = {}) {
  ReminderRecord r;
  r.id = id;
  r.ksdate = MakeDateTime(2016, 2, 7 + id % 3, hour, minute, 0);
  r.txbt = std::move(title);
  return r;
}

std::vector<int> Ids(const ReminderList& list) {
  std::vector<int> ids;
  for (const ReminderRecord& r : list) ids.push_back(r.id);
  return ids;
}

TEST(ReminderSortTest, InsertPositionsFollowTheTieRules) {
  const std::vector<std::string> keys = {"08:00:00", "09:00:00", "12:00:00"};
  const std::vector<std::string> five = {"a", "b", "c", "d", "e"};
  struct Case {
    const std::vector<std::string>* keys;
    const char* key;
    int position;
  } cases[] = {
      {&keys, "08:00:00", 1},  // equal to the first (and below the last): before it
      {&keys, "12:00:00", 4},  // equal to the last: after it
      {&keys, "09:00:00", 3},  // met by the bisection: directly after it
      {&keys, "10:30:00", 3},
      {&keys, "07:00:00", 1},
      {&keys, "23:00:00", 4},
      {&five, "c", 4},  // the first middle probe is equal
      {&five, "b", 3},
      {&five, "bb", 3},
      {&five, "d", 5},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindSortedInsertPosition(*c.keys, c.key, SortKind::Text, true), c.position) << c.key;
  EXPECT_EQ(FindSortedInsertPosition({}, "x", SortKind::Text, true), 1);
  // One key: equal goes after it.
  EXPECT_EQ(FindSortedInsertPosition({"m"}, "m", SortKind::Text, true), 2);
}

TEST(ReminderSortTest, RecordsSortByTimeOfDayWithEqualTimesPlacedByTheBisection) {
  struct Case {
    const char* what;
    ReminderList input;
    std::vector<int> expected;
  } cases[] = {
      {"plain order", {At(1, 9), At(2, 8), At(3, 10)}, {2, 1, 3}},
      {"three equal, then an earlier one", {At(1, 9), At(2, 9), At(3, 9), At(4, 8)}, {4, 1, 2, 3}},
      // The fifth equals the key the bisection meets first: it lands straight after the
      // first 09:00, ahead of the third record, so equal times keep no input order.
      {"equal key met in the middle", {At(1, 8), At(2, 9), At(3, 9), At(4, 10), At(5, 9)}, {1, 2, 5, 3, 4}},
      {"one record", {At(7, 9)}, {7}},
      {"none", {}, {}},
  };
  for (Case& c : cases) {
    SortRemindersByField(c.input, "提醒时间：");
    EXPECT_EQ(Ids(c.input), c.expected) << c.what;
  }
}

TEST(ReminderSortTest, KeysByFieldLabelTrimmedOfBlanksAndFullWidthBlanks) {
  ReminderRecord r = At(1, 8, 5, "\xA1\xA1 周 会 \xA1\xA1 ");
  r.ksdate = MakeDateTime(2016, 2, 7, 8, 5, 9);
  r.txnr = "  内容";
  r.txlx = "工作";
  r.txfs = RepeatMode::Weekly;
  struct Case {
    const char* label;
    const char* key;
  } cases[] = {
      {"提醒标题：", "周 会"},  // the blank between the words stays
      {"提醒内容：", "内容"},
      {"提醒类型：", "工作"},
      {"提醒时间：", "08:05:09"},
      {"提醒方式：", "2"},
      {"提醒日期：", "2016-02-07 08:05:09"},
      {"", "2016-02-07 08:05:09"},
  };
  for (const Case& c : cases) EXPECT_EQ(Show(ReminderSortKey(r, c.label)), Show(c.key)) << Show(c.label);
  EXPECT_EQ(TrimSortKey("\xA1\xA1\xA1\xA1"), "");
  // 啊 ends in A1: a full-width blank after it is one character, not A1 A1 across the two.
  EXPECT_EQ(TrimSortKey("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
}

TEST(ReminderSortTest, TextsCompareByCharacterCodeNumbersAndDatesByValue) {
  struct Case {
    const char* a;
    const char* b;
    SortKind kind;
    bool caseSensitive;
    int result;
  } cases[] = {
      {"Zebra", "啊", SortKind::Text, true, -1},  // ASCII before any GBK character
      {"啊", "z", SortKind::Text, false, 1},
      {"Banana", "apple", SortKind::Text, true, -1},
      {"Banana", "apple", SortKind::Text, false, 1},
      {"APPLE", "apple", SortKind::Text, false, 0},
      // 丄 (81 41) and 乤 (81 61): trail bytes that read as "A" and "a" are never folded.
      {"\x81\x41", "\x81\x61", SortKind::Text, false, -1},
      {"\x81\x61", "\x81\x41", SortKind::Text, false, 1},
      {"ab", "abc", SortKind::Text, true, -1},
      {"", "", SortKind::Text, true, 0},
      {"10", "9", SortKind::Text, true, -1},
      {"10", "9", SortKind::Number, true, 1},
      {"1.00000001", "1", SortKind::Number, true, 0},
      {"x", "0", SortKind::Number, true, 0},
      {"2016-02-07 08:00:00", "2016-02-07", SortKind::DateTime, true, 1},
      {"2016-02-06 23:59:59", "2016-02-07", SortKind::DateTime, true, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CompareSortKeys(c.a, c.b, c.kind, c.caseSensitive), c.result)
        << Show(c.a) << " vs " << Show(c.b) << " kind " << static_cast<int>(c.kind);

  // Sorting titles: ASCII first, a leading full-width blank ignored.
  ReminderList titles = {At(1, 8, 0, "\xB0\xA1"), At(2, 8, 0, "\xA1\xA1Zebra"), At(3, 8, 0, "apple")};
  SortRemindersByField(titles, "提醒标题：");
  EXPECT_EQ(Ids(titles), (std::vector<int>{2, 3, 1}));
}

}  // namespace
}  // namespace workmemo
