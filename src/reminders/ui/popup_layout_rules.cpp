#include "reminders/ui/popup_layout_rules.h"

#include <algorithm>

#include "common/text_routines.h"

namespace workmemo {

int PopupPageCount(int lines, int perPage) {
  if (perPage < 1) perPage = 1;
  return std::max(1, (lines + perPage - 1) / perPage);
}

int ClampPopupPage(int page, int pageCount) {
  if (page <= 0) return 1;
  return page > pageCount ? std::max(1, pageCount) : page;
}

std::string PopupPageText(const std::vector<std::string>& lines, int page, int perPage) {
  std::string text;
  const int first = (page - 1) * perPage;
  for (int i = 0; i < perPage; ++i) {
    if (i > 0) text += "\r\n";
    const int line = first + i;
    if (line >= 0 && line < static_cast<int>(lines.size())) text += lines[static_cast<std::size_t>(line)];
  }
  return text;
}

std::string PopupKindText(const ReminderRecord& reminder) {
  if (reminder.IsNoticeFiring != 1) return "正式提醒";
  return "提前提醒 (离正式提醒时间还有： " + std::to_string(reminder.NoticeUnitsLeft) +
         DatePartName(reminder.tqdw) + ")";
}

int RemindAgainMinutes(std::string_view text) {
  return std::min(TextToInteger(text), kMaxRemindAgainMinutes);
}

int RememberedPopupPosition(int saved, int size, int screen, int reserve) {
  if (saved < 0) return 0;
  if (saved > screen - size) return std::max(0, screen - size - 5 - reserve);
  return saved;
}

}  // namespace workmemo
