#pragma once
// The timed-reminder list page "定时提醒" of the main window: the list of all reminders or
// of a query's result, one screen at a time, the query bar below it, and the page's buttons
// and menus, whose actions the reminder editor and the list actions hand in.
#include <functional>
#include <string>
#include <string_view>

#include "reminders/store/reminder_record.h"
#include "reminders/ui/reminder_sort.h"
#include "shell/page_registry.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

// What the page needs of the main window it lies in.
using ReminderPanelHost = PanelHost;
void SetReminderPanelHost(ReminderPanelHost host);

// The page's buttons, row menu, page menu and double click reach these; an empty one does
// nothing. The sort is the one of the header press and of every query: by the field's key,
// texts compared case-sensitively.
struct ReminderPanelActions {
  std::function<void()> OpenAddReminderEditor;
  std::function<void()> OpenModifyReminderEditor;
  std::function<void()> DeleteReminder;
  std::function<void()> ResumeReminder;  // 置提醒状态
  std::function<void()> PauseReminder;   // 置暂停状态
  std::function<void()> CopyAndAddReminder;
  std::function<void()> MoveReminderToNotes;
  std::function<void()> DeleteAllReminders;
  std::function<void(ReminderList& records, std::string_view fieldLabel)> SortRemindersByField =
      [](ReminderList& records, std::string_view fieldLabel) { workmemo::SortRemindersByField(records, fieldLabel); };
};
ReminderPanelActions& PanelActions();

// Names of the page's units and sprites that other pages and tests reach.
inline constexpr std::string_view kReminderPanelName = "TimedReminderPanel";
inline constexpr std::string_view kReminderListBox = "背景动画框";
inline constexpr std::string_view kReminderBarBox = "界面功能动画框_提醒";
inline constexpr std::string_view kReminderQueryBox = "查询内容框";
inline constexpr std::string_view kReminderQueryFieldLabel = "透明标签1";
inline constexpr std::string_view kReminderQueryFrameSprite = "提醒查询内容框";
inline constexpr std::string_view kReminderQueryTextSprite = "提醒查询内容";
inline constexpr std::string_view kReminderRefreshSprite = "提醒刷新按钮";
inline constexpr std::string_view kReminderClearSprite = "提醒清除按钮";

// Binds the page's events to a freshly loaded TimedReminderPanel; its created handler runs
// InitialiseReminderPanel. The page is the program's one list page until it is destroyed.
void SetUpTimedReminderPanel(platform::ui::Window& page);
// The loaded page, nullptr before SetUpTimedReminderPanel and after its destruction.
platform::ui::Window* TimedReminderPanelWindow();

// The created handler: place, paint, build the list, list every reminder, become a page of
// the main window.
void InitialiseReminderPanel();
// The page over the page area, its function bar 8 pixels above the page's bottom.
void PlaceReminderPanel();
// Paints the page from the skin and, the first time, builds the query bar's sprites.
void BuildReminderPanelSkin();
// Builds TimedReminderList on the page: 19 lines of 27 pixels under a header, six columns.
void BuildReminderListColumns();
// The captions of columns 2 to 6 at the list font size.
void SetReminderListHeaders();

// The page's query and fill: reminders whose field (label "提醒标题：", "提醒内容：" or
// "提醒类型：") holds `text`, every reminder for an empty label; sorted by `sortField`; the
// first screen shown with no selection.
void RefreshReminderList(std::string_view fieldLabel = {}, std::string_view text = {},
                         std::string_view sortField = {});
void ShowAllReminders();
void ClearReminderQuery();
void RunReminderQuery();
void SelectReminderQueryField();

// One reminder changed elsewhere (fired, reminded again, paused): the page's copy with its id
// replaced by `record`. False, and nothing changed, when the page does not hold it.
bool ReplaceListPageCopy(const ReminderRecord& record);
// Reminders added elsewhere (an import) as copies after the page's rows, which keep their
// places; the counts follow, the page is not redrawn.
void AddListPageCopies(const ReminderList& added);
// The page's rows written again at the current first row, when the page is loaded.
void RedrawReminderListPage();

}  // namespace workmemo
