#pragma once
// The today window besides its day list: the list style and the one-line scrolling strip, the
// window menu (opacity, style, top-most, position memory, hide when empty, close), the stored
// settings it applies on opening and writes, the save of its place on closing and the
// midnight refresh.
#include <string>
#include <vector>

#include "reminders/store/reminder_record.h"

namespace workmemo {

// The strip's texts for a day's reminders: per reminder a blank, the time of day, the repeat
// mode and the title (its first line when a line break comes before `titleBytes`, else cut to
// it), padded with blanks to 88 bytes and followed by "|" and the id. At least two texts:
// "今日没有提醒" twice for no reminder, the one text twice for one.
std::vector<std::string> MakeScrollTexts(const ReminderList& day, int titleBytes);

// The sprites of the title strip 动画框2: two texts and four edges.
void BuildTodayTitleSprites();
// Top-most, style, position and opacity from config.ini; the last step of opening.
void RestoreTodayWindowSettings();
void UseListStyle();
void UseScrollingStyle();
// The menu's 列表 and 滚动: the style is stored first and taken only when config.ini took it.
void ChooseListStyle();
void ChooseScrollingStyle();
// Whether the window is the one-line strip now.
bool InScrollingStyle();
// The strip's texts from the day list as it is now, shown from the first.
void BuildScrollTexts();
// A tick of 滚动显示时钟: both texts climb a pixel; one that reaches the text line rests.
void ScrollTodayStrip();
void SetTodayOpacity(int alpha);
void ToggleTodayWindowTopmost();
void ToggleTodayPositionMemory();
void ToggleHideTodayWhenEmpty();
void ShowTodayMenu();
// A left press on the strip: the edge or no sprite moves the window.
void PressTodayTitleStrip(int spriteId);
// A tick of 刷新时钟 (every second): on a new date the window shows the new today.
void RefreshTodayAtMidnight();
// The window is about to go: its place is written, the main menu's tick removed, the timers
// stopped and its sprites released.
void SaveTodayWindowState();

}  // namespace workmemo
