#pragma once
// The one router of list events that every window with a SkinListView uses: it turns the
// events of the list's animation box and the ticks of two timers into the list's mouse
// operations, scrolling and page refills.
#include <functional>
#include <string>

#include "ui/skin_list_view.h"

namespace workmemo {

// What a window does for its list. Only showPage and the two timers are required.
struct ListRoutes {
  // Writes the page that starts at that first record.
  std::function<void(int firstRow)> showPage;
  // A click on a column caption (the timed-reminder page sorts by it).
  std::function<void(int column, const std::string& caption)> headerClicked;
  // A right click on a row, after that row was selected.
  std::function<void()> openRowMenu;
  // A right click on the list where no row is.
  std::function<void()> openListMenu;
  // A double click on a row.
  std::function<void(int id)> openRecord;
  // Interval in milliseconds of the scroll-button repeat timer and of the one-shot refill
  // timer of a thumb drag; 0 stops it.
  std::function<void(int milliseconds)> setRepeatInterval;
  std::function<void(int milliseconds)> setRefillInterval;
};

inline constexpr int kListRepeatMilliseconds = 50;
inline constexpr int kListRepeatIdleTicks = 5;
inline constexpr int kListRefillMilliseconds = 10;

class ListEventRouter {
 public:
  ListEventRouter(SkinListView& list, ListRoutes routes);

  // Events on an object of the box: the id of the object under the pointer (0 for none).
  void ObjectPressed(int objectId);
  void ObjectReleased(int objectId);
  void ObjectRightClicked(int objectId);
  void ObjectDoubleClicked(int objectId);
  void ObjectEntered(int objectId);
  void ObjectLeft(int objectId);
  // Events of the box itself, with the pointer's y in the box.
  void ButtonDown(int y);
  void ButtonUp(int y);
  void PointerMoved(int y);
  // Positive turns away from the user scroll up.
  void Wheel(int delta);
  void RepeatTick();
  void RefillTick();

  bool IsRepeating() const { return repeatStep_ != 0; }

 private:
  void ShowPage();
  void StopRepeat();

  SkinListView& list_;
  ListRoutes routes_;
  int grabOffset_ = 0;
  int lastY_ = -1;
  int lastDrag_ = 0;
  int repeatStep_ = 0;  // -1 up, 1 down, 0 not repeating
  int idleTicks_ = 0;
  // The toolkit may report the object's release before the box's button-up; a press on the
  // track is carried across so that the track click still happens.
  bool trackClickPending_ = false;
};

}  // namespace workmemo
