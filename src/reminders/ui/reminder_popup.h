#pragma once
// ReminderPopupWindow: the alarm of the timed reminders the reminder tick queued. It shows one
// queued reminder at a time with its counter k/n, whether the firing is an advance notice,
// its time, repeat mode, and its title and content a page at a time; each fill starts the
// sound of the newest entry and the programs and web pages of the entries queued since the
// last fill; it closes itself after the reminder's close delay, and covers the reminder with
// a password panel while viewing reminders is guarded. OK reminds again in N minutes and the
// pause menu pauses the reminder on display.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "reminders/store/reminder_record.h"
#include "shell/password_gate.h"
#include "ui/skin_painter.h"
#include "ui/sprite_set.h"

namespace platform::ui {
class Window;
}

namespace workmemo {

// The pop-up's program-wide state, zero at start and again once the pop-up is destroyed.
struct PopupState {
  int PopupCount = 0;    // n: entries counted at the last fill, less those OK removed
  int PopupCurrent = 0;  // k: the entry on display
  int TitleLineCount = 0;
  int TitlePageCount = 0;  // one line a page
  int TitlePage = 0;
  int ContentLineCount = 0;
  int ContentPageCount = 0;  // ten lines a page
  int ContentPage = 0;
  int PopupAutoCloseSeconds = 0;  // 0: no auto-close
  int PopupTextSize = 0;          // ListFontSize when the window opened
};
PopupState& Popup();

// PopupQueue: deep copies of the fired reminders the pop-up shows; the tick appends, OK
// removes the entry it handled, the destruction of the pop-up empties it.
ReminderList& PopupQueue();

class ReminderPopupWindow : public PasswordCover {
 public:
  // Binds the events of a freshly loaded ReminderPopupWindow; its created handler runs
  // ShowPopupWindow.
  explicit ReminderPopupWindow(platform::ui::Window& window);
  ReminderPopupWindow(const ReminderPopupWindow&) = delete;
  ReminderPopupWindow& operator=(const ReminderPopupWindow&) = delete;

  // Opening: size and place, paint, sprites, top-most, fill, cover, clock.
  void ShowPopupWindow();
  void RestorePopupPosition();
  void PaintPopupWindow();
  void BuildPopupSkin();
  void SetPopupTopmostFromConfig();

  // Fills from the newest entry of the queue and starts what the fill starts.
  void FillReminderPopup();
  // Shows entry PopupCurrent (clamped) and starts nothing.
  void ShowPopupRecord();
  void ShowPopupTitlePage(int page);
  void ShowPopupContentPage(int page);
  void ShowPreviousPopupRecord();
  void ShowNextPopupRecord();
  void PreviousTitlePage();
  void NextTitlePage();
  void PreviousContentPage();
  void NextContentPage();
  // A wheel turn at (x, y) of the window: the title or content page under the pointer moves
  // on for a turn towards the user (negative delta), back otherwise.
  void ScrollPopupPages(int x, int y, int delta);

  void ShowPopupClock();      // 时钟1, every 100 ms
  void TickPopupAutoClose();  // 时钟2, every second while the count runs
  void TogglePopupTopmost();
  void TogglePopupPositionMemory();
  void ConfirmPopupPassword();
  void ClosePopupWindow();
  // The window is about to be destroyed: the queue dropped, the sound stopped, the place kept.
  void SavePopupPosition();

  // The password cover.
  void HideCover() override;
  bool IsCoverShown() const;

  // Remind again and pause (remind_again.cpp).
  void HandlePopupSnooze();
  void SetReminderPause(int mode);
  void ShowRemindAgainBox(int spriteId);
  void CopyRemindAgainText();
  void PickRemindAgainMinutes();
  void DropDownRemindAgainCombo();
  bool IsRemindAgainBoxOpen() const;
  // The minutes text of the box and of its sprite.
  void SetRemindAgainText(std::string_view minutes);

  platform::ui::Window& window() { return window_; }
  SpriteSet& Sprites() { return sprites_; }
  // The id of the sprite of that name (0 when there is none) and the text it shows.
  int SpriteId(std::string_view name) const;
  std::string SpriteText(std::string_view name) const;
  const std::vector<std::string>& TitleLines() const { return titleLines_; }
  const std::vector<std::string>& ContentLines() const { return contentLines_; }

 private:
  void BindEvents();
  void ShowEntry(const ReminderRecord& entry);  // counter, kind, time, mode, title, content
  void PutText(std::string_view sprite, std::string_view text, int size, unsigned colour);
  std::vector<std::string> BreakLines(std::string_view box, std::string_view text, int scrollFrom);
  void ShowPageButtons(std::string_view up, std::string_view down, bool shown);
  void ShowCover(bool shown);
  void StartAutoClose(int seconds);
  void ShowAutoCloseSeconds();

  platform::ui::Window& window_;
  SkinPainter painter_;
  SpriteSet sprites_;
  std::vector<std::string> titleLines_;
  std::vector<std::string> contentLines_;
};

// The loaded pop-up, or null.
ReminderPopupWindow* LoadedReminderPopup();
// The reminder tick's step after a second that queued a copy: the loaded pop-up refills and
// comes back on the screen when it was minimised or hidden,
// else it is loaded and shown (its opening fills it).
void OpenOrRefillReminderPopup();
// Destroys the pop-up if it is loaded. The window object is let go later, never while a
// handler of a pop-up (or a box it opened) is still running.
void DestroyReminderPopup();
// Destroys the pop-up and lets go of every window object; only where no pop-up handler runs
// (the end of the program, tests).
void CloseReminderPopup();
// Its entries in the module seams: the password covers, the re-skinning and the end.
void RegisterReminderPopup();

}  // namespace workmemo
