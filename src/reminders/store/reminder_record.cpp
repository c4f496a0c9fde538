#include "reminders/store/reminder_record.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace workmemo {
namespace {

// Full names of the repeat modes, then the short forms the lists show.
constexpr std::array<std::string_view, 9> kRepeatModeNames = {
    "一次", "每天", "每周", "每月", "每年", "循环", "农历(一次)", "农历(每月)", "农历(每年)"};
constexpr std::array<std::string_view, 9> kRepeatModeShortNames = {
    "一次", "每天", "每周", "每月", "每年", "循环", "*一次", "*每月", "*每年"};
constexpr std::array<std::string_view, 6> kTaskNames = {"提醒", "关机", "注销", "重启",
                                                        "关闭显示器", "锁定计算机"};
constexpr std::array<std::string_view, 9> kIntervalUnitNames = {"秒", "分", "时", "天", "周",
                                                                "月", "年", "号~", "分~"};
// Indexed by DatePart code; 0 has no name.
constexpr std::array<std::string_view, 9> kDatePartNames = {"", "年", "季", "月", "周",
                                                            "天", "时", "分", "秒"};
constexpr std::string_view kTimesPerRunName = "次";
constexpr std::string_view kTimesTotalName = "次~";

template <std::size_t N>
std::string NameOf(const std::array<std::string_view, N>& table, int code) {
  if (code < 0 || code >= static_cast<int>(N)) return {};
  return std::string(table[static_cast<std::size_t>(code)]);
}

template <std::size_t N>
int CodeOf(const std::array<std::string_view, N>& table, std::string_view name, int unknown) {
  auto it = std::find(table.begin(), table.end(), name);
  return it == table.end() ? unknown : static_cast<int>(std::distance(table.begin(), it));
}

}  // namespace

int FindReminderIndex(const ReminderList& list, int id) {
  auto it = std::find_if(list.begin(), list.end(), [id](const auto& r) { return r.id == id; });
  return it == list.end() ? 0 : static_cast<int>(std::distance(list.begin(), it)) + 1;
}

int RemoveReminderById(ReminderList& list, int id) {
  int pos = FindReminderIndex(list, id);
  if (pos == 0) return 0;
  list.erase(list.begin() + (pos - 1));
  return 1;
}

void ArrangeReminders(ReminderList& list, const std::vector<int>& order) {
  std::vector<bool> placed(list.size(), false);
  // Cycle by cycle: each record moves once, one record held aside per cycle.
  for (std::size_t first = 0; first < list.size(); ++first) {
    if (placed[first]) continue;
    ReminderRecord held = std::move(list[first]);
    std::size_t at = first;
    for (;;) {
      placed[at] = true;
      const auto from = static_cast<std::size_t>(order[at]);
      if (from == first) {
        list[at] = std::move(held);
        break;
      }
      list[at] = std::move(list[from]);
      at = from;
    }
  }
}

std::string RepeatModeName(int code, int style) {
  return style == 1 ? NameOf(kRepeatModeShortNames, code) : NameOf(kRepeatModeNames, code);
}

int RepeatModeFromName(std::string_view name) { return CodeOf(kRepeatModeNames, name, -1); }

std::string TaskName(int code) { return NameOf(kTaskNames, code); }

int TaskFromName(std::string_view name) { return CodeOf(kTaskNames, name, -1); }

std::string IntervalUnitName(int code) { return NameOf(kIntervalUnitNames, code); }

int IntervalUnitFromName(std::string_view name) { return CodeOf(kIntervalUnitNames, name, 0); }

int NoticeUnitFromName(std::string_view name) {
  if (name == kDatePartNames[DatePart::Minute]) return DatePart::Minute;
  if (name == kDatePartNames[DatePart::Hour]) return DatePart::Hour;
  return DatePart::Day;
}

std::string DatePartName(int part) { return NameOf(kDatePartNames, part); }

int CountUnitFromName(std::string_view name) {
  return name == kTimesTotalName ? RepeatCountUnit::TimesTotal : RepeatCountUnit::TimesPerRun;
}

std::string CountUnitName(int code) {
  return std::string(code == RepeatCountUnit::TimesTotal ? kTimesTotalName : kTimesPerRunName);
}

}  // namespace workmemo
