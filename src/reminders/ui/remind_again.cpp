// Remind again in N minutes and the two pauses of the reminder on display in the pop-up, and
// the small input of the minutes: a text sprite, an edit box shown on demand, a drop-down list.
#include <string>

#include "platform/clock/clock.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/ui/popup_layout_rules.h"
#include "reminders/ui/reminder_editor.h"
#include "reminders/ui/reminder_popup.h"
#include "reminders/ui/reminder_popup_units.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "shell/data_files.h"
#include "shell/shell_services.h"

namespace workmemo {

namespace ui = platform::ui;
using namespace popup;

namespace {

constexpr double kMinutesPerDay = 1440.0;
constexpr std::string_view kMinuteUnits[] = {kMinutesFrame, kMinutesBox, kMinutesButton};

ReminderRecord* ShownEntry() {
  ReminderList& queue = PopupQueue();
  const int k = Popup().PopupCurrent;
  if (k < 1 || k > static_cast<int>(queue.size())) return nullptr;
  return &queue[static_cast<std::size_t>(k) - 1];
}

// One reminder's change mirrored on the list page, which is written again.
void ShowChangeOnListPage(const ReminderRecord& changed) {
  ReplaceListPageCopy(changed);
  RedrawReminderListPage();
}

void ShowMessage(std::string_view text, bool plain) {
  const ShellServices& s = Services();
  const auto& show = plain ? s.ShowPlainMessageBox : s.ShowMessageBox;
  if (show) show(text);
}

// The pop-up answers while an editor is open. The editor's save writes the whole reminder
// afresh, running and without a remind-again, so a pause or remind-again set meanwhile on
// the reminder it modifies would be undone without a word: it is refused, and said.
bool RefusedWhileInEditor(const ReminderRecord& entry) {
  if (entry.id <= 0 || entry.id != ReminderIdInOpenEditor()) return false;
  ShowMessage("该提醒正在修改，请先关闭修改窗口！", false);
  return true;
}

}  // namespace

void ReminderPopupWindow::HandlePopupSnooze() {
  const int minutes = RemindAgainMinutes(window_.Unit(kMinutesBox).Text());
  const double when = platform::clock::Now() + minutes / kMinutesPerDay;
  if (minutes <= 0) {
    DestroyReminderPopup();
    return;
  }
  ReminderRecord* entry = ShownEntry();
  if (entry == nullptr) return;
  if (entry->IsNoticeFiring != 0) {
    // Nothing of the pop-up is touched once the box has closed.
    ShowMessage("[提前提醒]不支持设置几分钟后再次提醒！", false);
    return;
  }
  if (RefusedWhileInEditor(*entry)) return;
  const int stored = Databases().Reminders.SetRemindAgain(entry->id, 1, when);
  if (stored == 1) {
    entry->xctx = 1;
    entry->txdate = when;
    ShowChangeOnListPage(*entry);
  }
  PopupState& s = Popup();
  PopupQueue().erase(PopupQueue().begin() + (s.PopupCurrent - 1));
  s.PopupCount -= 1;
  SetRemindAgainText("0");
  if (s.PopupCurrent <= s.PopupCount) {
    ShowPopupRecord();
  } else if (s.PopupCount > 0) {
    s.PopupCurrent -= 1;
    ShowPopupRecord();
  } else {
    DestroyReminderPopup();
  }
  // Said once the queue and the window are done with, so nothing runs after the box.
  if (stored != 1) ShowMessage("修改提醒时间失败！", true);
}

void ReminderPopupWindow::SetReminderPause(int mode) {
  ReminderRecord* entry = ShownEntry();
  if (entry == nullptr || RefusedWhileInEditor(*entry)) return;
  if (Databases().Reminders.SetPaused(entry->id, mode) != 1) {
    ShowMessage("设置暂停状态失败，可能该提醒已删除！", false);
    return;
  }
  entry->txzt = 1;
  ShowChangeOnListPage(*entry);
}

bool ReminderPopupWindow::IsRemindAgainBoxOpen() const { return window_.Unit(kMinutesFrame).IsVisible(); }

void ReminderPopupWindow::ShowRemindAgainBox(int spriteId) {
  sprites_.OnSpritePress(spriteId);
  const std::string name = sprites_.SpriteName(spriteId);
  if (name == kMinutesSprite || name == kMinutesFrameSprite) {
    for (std::string_view unit : kMinuteUnits) window_.Unit(unit).SetVisible(true);
    window_.Unit(kMinutesBox).SetFocus();
  } else if (IsRemindAgainBoxOpen()) {
    CopyRemindAgainText();
    for (std::string_view unit : kMinuteUnits) window_.Unit(unit).SetVisible(false);
  }
}

void ReminderPopupWindow::CopyRemindAgainText() {
  PutText(kMinutesSprite, window_.Unit(kMinutesBox).Text(), Popup().PopupTextSize, kBlack);
}

void ReminderPopupWindow::PickRemindAgainMinutes() {
  const auto& combo = window_.UnitAs<ui::ComboBox>(kMinutesCombo);
  SetRemindAgainText(combo.ItemText(combo.CurrentIndex()));
}

void ReminderPopupWindow::DropDownRemindAgainCombo() {
  ui::DropDownComboBox(window_.UnitAs<ui::ComboBox>(kMinutesCombo));
}

void ReminderPopupWindow::SetRemindAgainText(std::string_view minutes) {
  window_.Unit(kMinutesBox).SetText(minutes);
  PutText(kMinutesSprite, minutes, Popup().PopupTextSize, kBlack);
}

}  // namespace workmemo
