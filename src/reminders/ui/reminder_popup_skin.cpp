// The pop-up's look and place: size and position when it opens, the painting, the sprites of
// its body, and the two settings of its window menu.
#include <string>

#include "common/text_routines.h"
#include "platform/ui/app.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/ui/popup_layout_rules.h"
#include "reminders/ui/reminder_popup.h"
#include "reminders/ui/reminder_popup_units.h"
#include "shell/framed_window.h"
#include "shell/setting_switch.h"
#include "shell/settings.h"
#include "ui/field_pictures.h"
#include "ui/skin_entry_names.h"
#include "ui/skin_list_view_box.h"

namespace workmemo {

namespace ui = platform::ui;
using namespace popup;

namespace {

constexpr int kButtonWidth = 68;
constexpr int kButtonHeight = 24;
constexpr int kLeftColumn = 8;
constexpr int kMinutesLeft = 183;
constexpr int kMinutesTop = 296;
constexpr int kMinutesWidth = 83;
constexpr int kMinutesHeight = 26;
constexpr int kModeRightMargin = 3;

int AddPageButton(SpriteSet& sprites, std::string_view name, bool up, int x, int y, SpriteRoutine click) {
  const ListPictures& list = EmbeddedListPictures();
  const std::string* p = up ? list.up : list.down;
  return AddButtonSprite(sprites, name, {p[0], p[1], p[2]}, x, y, kPageButtonSize, kPageButtonSize,
                         std::move(click), false);
}

}  // namespace

void ReminderPopupWindow::RestorePopupPosition() {
  window_.Resize(kWidth, kHeight);
  window_.Unit(kTitleBox).SetGeometry(kFrameLeft, kTitleFrameTop, kFrameWidth, kTitleFrameHeight);
  window_.Unit(kContentBox).SetGeometry(kFrameLeft, kContentFrameTop, kFrameWidth, kContentFrameHeight);
  auto& remember = window_.UnitAs<ui::MenuItem>(kPositionItem);
  if (IsFlagOn(AccessConfigItem("gjsz", "txckwz", {}, true))) {
    remember.SetChecked(true);
    const int x = TextToInteger(AccessConfigItem("dstx", "txcWzX", {}, true));
    const int y = TextToInteger(AccessConfigItem("dstx", "txcWzY", {}, true));
    window_.Move(RememberedPopupPosition(x, kWidth, ui::ScreenWidth(), 0),
                 RememberedPopupPosition(y, kHeight, ui::ScreenHeight(), Settings().TaskbarHeight));
  } else {
    remember.SetChecked(false);
    // An alarm is meant to be seen: in the middle of the screen.
    window_.Move((ui::ScreenWidth() - kWidth) / 2, (ui::ScreenHeight() - kHeight) / 2);
  }
  window_.Unit(kCoverPanel).SetGeometry(2, kBandHeight, kWidth - 4, kHeight - 74);
}

void ReminderPopupWindow::PaintPopupWindow() {
  PaintFramedShellWindow(painter_, window_, 0);
  // The list of minutes lies under the painted body: only its drop-down list is seen.
  window_.Unit(kMinutesCombo).SendToBottom();
  // The cover shows the painted body it lies on.
  const ui::Unit& cover = window_.Unit(kCoverPanel);
  auto& panel = window_.UnitAs<ui::DrawPanel>(kCoverPanel);
  const auto& background = window_.UnitAs<ui::AnimationBox>(kBackgroundBox);
  panel.DrawPicture(background.Capture(cover.Left(), cover.Top(), cover.Width(), cover.Height()), 0, 0,
                    cover.Width(), cover.Height());
}

void ReminderPopupWindow::BuildPopupSkin() {
  sprites_.Bind(window_.UnitAs<ui::AnimationBox>(kBackgroundBox));
  const int buttonsTop = 290;
  AddSkinButtonSprite(sprites_, kOkSprite, "确定", 400, buttonsTop, kButtonWidth, kButtonHeight,
                      [this] { HandlePopupSnooze(); });
  AddSkinButtonSprite(sprites_, kPreviousSprite, "上一页", kLeftColumn, buttonsTop - 64, kButtonWidth,
                      kButtonHeight, [this] { ShowPreviousPopupRecord(); });
  AddSkinButtonSprite(sprites_, kNextSprite, "下一页", kLeftColumn, buttonsTop - 32, kButtonWidth,
                      kButtonHeight, [this] { ShowNextPopupRecord(); });
  AddSkinButtonSprite(sprites_, kPauseSprite, "暂停提醒", kLeftColumn, buttonsTop, kButtonWidth,
                      kButtonHeight, [this] { window_.UnitAs<ui::Menu>(kPauseMenu).PopupAtPointer(); });

  auto text = [this](std::string_view name, int x, int y) {
    sprites_.AddPlainPictureSprite(name, x, y, 0, 0, true, {});
  };
  text(kTitleCaptionSprite, 12, 62);
  text(kContentCaptionSprite, 12, 93);
  text(kCountCaptionSprite, 12, 134);
  const int size = Popup().PopupTextSize;
  PutText(kTitleCaptionSprite, "提醒标题：", size, kBlack);
  PutText(kContentCaptionSprite, "提醒内容：", size, kBlack);
  PutText(kCountCaptionSprite, "共有：", size, kBlack);

  sprites_.AddPlainPictureSprite(kTitleFrameSprite, kFrameLeft, kTitleFrameTop, 0, 0, true,
                                 FramedFieldPicture(kFrameWidth, kTitleFrameHeight));
  sprites_.AddPlainPictureSprite(kContentFrameSprite, kFrameLeft, kContentFrameTop, 0, 0, true,
                                 FramedFieldPicture(kFrameWidth, kContentFrameHeight));
  text(kTitleTextSprite, kFrameLeft + 4, kTitleFrameTop + 4);
  text(kContentTextSprite, kFrameLeft + 4, kContentFrameTop + 4);
  text(kCountSprite, 12, kCountTop);
  text(kKindSprite, 88, 280);
  text(kClockSprite, 88, 302);
  text(kStartSprite, 5, 330);
  text(kModeSprite, kWidth - kModeRightMargin, 330);

  const int buttonsLeft = kFrameLeft + kFrameWidth + 2;
  const int small = kPageButtonSize;
  AddPageButton(sprites_, kTitleUpSprite, true, buttonsLeft, kTitleFrameTop, [this] { PreviousTitlePage(); });
  AddPageButton(sprites_, kTitleDownSprite, false, buttonsLeft, kTitleFrameTop + kTitleFrameHeight - small,
                [this] { NextTitlePage(); });
  AddPageButton(sprites_, kContentUpSprite, true, buttonsLeft, kContentFrameTop,
                [this] { PreviousContentPage(); });
  AddPageButton(sprites_, kContentDownSprite, false, buttonsLeft,
                kContentFrameTop + kContentFrameHeight - small, [this] { NextContentPage(); });

  sprites_.AddPlainPictureSprite(kMinutesFrameSprite, kMinutesLeft, kMinutesTop, 0, 0, true,
                                 FramedFieldPicture(kMinutesWidth, kMinutesHeight));
  text(kMinutesSprite, kMinutesLeft + 3, kMinutesTop + 6);
  AddSkinButtonSprite(sprites_, kDropDownSprite, "下拉透明", kMinutesLeft + kMinutesWidth - small - 3,
                      kMinutesTop + (kMinutesHeight - small) / 2, small, small,
                      [this] { DropDownRemindAgainCombo(); });
  text(kMinutesCaptionSprite, kMinutesLeft + kMinutesWidth + 7, kMinutesTop + 6);
  PutText(kMinutesCaptionSprite, "分钟后再次提醒", size, kBlack);
  SetRemindAgainText("0");
}

void ReminderPopupWindow::PutText(std::string_view sprite, std::string_view text, int size,
                                  unsigned colour) {
  const int id = SpriteId(sprite);
  if (id == 0) return;
  SpriteTextStyle style;
  style.size = size;
  style.colour = colour;
  if (sprite == kModeSprite) {
    // Right-aligned: it ends a few pixels before the window's right edge.
    sprites_.PutSpriteText(id, 0, sprites_.SpriteTop(id), text, style);
    sprites_.MoveSprite(id, kWidth - kModeRightMargin - sprites_.SpriteWidth(id), sprites_.SpriteTop(id));
  } else if (sprite == kTitleTextSprite) {
    sprites_.PutSpriteText(id, sprites_.SpriteLeft(id), kTitleFrameTop, text, style, true, kTitleFrameHeight);
  } else {
    sprites_.PutSpriteText(id, sprites_.SpriteLeft(id), sprites_.SpriteTop(id), text, style);
  }
}

void ReminderPopupWindow::SetPopupTopmostFromConfig() {
  const bool on = AccessConfigItem("gjsz", "txckzd", {}, true) == "1";
  window_.SetTopmost(on);
  window_.UnitAs<ui::MenuItem>(kTopmostItem).SetChecked(on);
}

void ReminderPopupWindow::TogglePopupTopmost() {
  const bool on = Settings().PopupTopmost != 1;
  if (!StoreSwitchSetting("gjsz", "txckzd", on ? "1" : "0")) return;
  Settings().PopupTopmost = on ? 1 : 0;
  window_.SetTopmost(on);
  window_.UnitAs<ui::MenuItem>(kTopmostItem).SetChecked(on);
}

void ReminderPopupWindow::TogglePopupPositionMemory() {
  auto& item = window_.UnitAs<ui::MenuItem>(kPositionItem);
  const bool on = !item.IsChecked();
  if (!StoreSwitchSetting("gjsz", "txckwz", on ? "1" : "0")) return;
  item.SetChecked(on);
}

}  // namespace workmemo
