#include "ui/skin_list_view_router.h"

#include <utility>

#include "common/text_routines.h"

namespace workmemo {

ListEventRouter::ListEventRouter(SkinListView& list, ListRoutes routes)
    : list_(list), routes_(std::move(routes)) {}

void ListEventRouter::ShowPage() {
  if (routes_.showPage) routes_.showPage(list_.ScrollPosition());
}

void ListEventRouter::StopRepeat() {
  repeatStep_ = 0;
  idleTicks_ = 0;
  if (routes_.setRepeatInterval) routes_.setRepeatInterval(0);
}

void ListEventRouter::ObjectPressed(int objectId) {
  const std::string name = list_.SpriteName(objectId);
  list_.OnScrollButtonPress(objectId);
  if (name == kListUpButtonName || name == kListDownButtonName) {
    ShowPage();
    repeatStep_ = name == kListUpButtonName ? -1 : 1;
    idleTicks_ = 0;
    if (routes_.setRepeatInterval) routes_.setRepeatInterval(kListRepeatMilliseconds);
  } else if (name.size() > kListHeaderCellSuffix.size() &&
             name.ends_with(kListHeaderCellSuffix)) {
    const int column =
        TextToInteger(std::string_view(name).substr(0, name.size() - kListHeaderCellSuffix.size()));
    if (routes_.headerClicked) routes_.headerClicked(column, list_.QueryHeaderItem(column));
  }
}

void ListEventRouter::ObjectReleased(int objectId) {
  // A release anywhere ends the press: also off every object, or the repeat would run on.
  if (list_.IsTrackPressed()) trackClickPending_ = true;
  list_.OnSpriteRelease(objectId);
  StopRepeat();
}

void ListEventRouter::ObjectRightClicked(int objectId) {
  const auto& menu = list_.SelectRowOfSprite(objectId) == kListRowSuffix ? routes_.openRowMenu : routes_.openListMenu;
  if (menu) menu();
}

void ListEventRouter::ObjectDoubleClicked(int objectId) {
  const int id = list_.RowIdOfSprite(objectId);
  if (id > 0 && routes_.openRecord) routes_.openRecord(id);
}

void ListEventRouter::ObjectEntered(int objectId) { list_.OnSpriteEnter(objectId); }

void ListEventRouter::ObjectLeft(int objectId) { list_.OnScrollButtonLeave(objectId); }

void ListEventRouter::ButtonDown(int y) {
  trackClickPending_ = false;
  grabOffset_ = y - list_.ThumbTop();
}

void ListEventRouter::ButtonUp(int y) {
  const bool trackClick = list_.IsTrackPressed() || trackClickPending_;
  trackClickPending_ = false;
  if (!trackClick) return;
  list_.ScrollToPointer(y);
  ShowPage();
}

void ListEventRouter::PointerMoved(int y) {
  if (y == lastY_) return;
  lastY_ = y;
  if (!list_.IsThumbPressed()) return;
  const int position = list_.DragThumb(y, grabOffset_);
  if (position == lastDrag_) return;
  lastDrag_ = position;
  if (routes_.setRefillInterval) routes_.setRefillInterval(kListRefillMilliseconds);
}

void ListEventRouter::Wheel(int delta) {
  if (delta == 0) return;
  list_.SetScrollPosition(1, delta > 0 ? -1 : 1, true);
  ShowPage();
}

void ListEventRouter::RepeatTick() {
  if (repeatStep_ == 0) {
    if (routes_.setRepeatInterval) routes_.setRepeatInterval(0);
    return;
  }
  if (idleTicks_ < kListRepeatIdleTicks) {
    ++idleTicks_;
    return;
  }
  const int limit = repeatStep_ < 0 ? list_.ScrollMin() : list_.ScrollMax();
  if (list_.ScrollPosition() == limit) {
    StopRepeat();
    return;
  }
  list_.SetScrollPosition(1, repeatStep_, true);
  ShowPage();
  if (list_.ScrollPosition() == limit) StopRepeat();
}

void ListEventRouter::RefillTick() {
  if (routes_.setRefillInterval) routes_.setRefillInterval(0);
  ShowPage();
}

}  // namespace workmemo
