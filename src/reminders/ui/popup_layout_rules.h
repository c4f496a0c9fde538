#pragma once
// The arithmetic of the reminder pop-up, apart from its window: pages of a text, the kind
// text of a firing, the remind-again minutes and the place a remembered position opens at.
#include <string>
#include <string_view>
#include <vector>

#include "reminders/store/reminder_record.h"

namespace workmemo {

inline constexpr int kPopupContentLinesPerPage = 10;

// Pages of `lines` lines at `perPage` lines a page: at least 1.
int PopupPageCount(int lines, int perPage);
// `page` held within 1..pageCount (1 for page 0 or below).
int ClampPopupPage(int page, int pageCount);
// Lines (page - 1) * perPage + 1 to page * perPage of `lines` joined by CR LF, lines past the
// end empty, so a short last page still has perPage lines.
std::string PopupPageText(const std::vector<std::string>& lines, int page, int perPage);

// "正式提醒" for the reminder itself; for an advance notice "提前提醒 (离正式提醒时间还有： "
// + the units left + the unit's name + ")".
std::string PopupKindText(const ReminderRecord& reminder);

// OK's minutes: the text read as a number with the fraction cut off (0 for a text that is no
// number), at most kMaxRemindAgainMinutes.
inline constexpr int kMaxRemindAgainMinutes = 100000;
int RemindAgainMinutes(std::string_view text);

// The left (or top) a remembered position opens at, for a window `size` long on a screen
// `screen` long: a negative value becomes 0; one that would put the window past the far
// edge (a smaller screen than when it was saved) comes back to `screen - size - 5 - reserve`,
// where `reserve` is the taskbar's height for the top and 0 for the left.
int RememberedPopupPosition(int saved, int size, int screen, int reserve);

}  // namespace workmemo
