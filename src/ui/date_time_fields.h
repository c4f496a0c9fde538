#pragma once
// What the editors share about their date and time boxes: the correction that keeps a group
// of six boxes a valid date and time, the drop-down calendar that fills a date group, and the
// combo boxes that learn a newly typed value.
#include <memory>
#include <string_view>

#include "ui/date_picker_calendar.h"

namespace platform::ui {
class ComboBox;
class DrawPanel;
class Unit;
}  // namespace platform::ui

namespace workmemo {

// The hours of a time of day end at 23; the same boxes hold up to 59 hours of a countdown.
inline constexpr int kTimeOfDayMaxHour = 23;
inline constexpr int kCountdownMaxHour = 59;

// Corrects six edit boxes, read again step by step: a year outside 1901..2049, a month outside
// 1..12, an hour outside 0..maxHour, a minute or second outside 0..59 become the current one;
// a day outside the month given by the corrected year and month becomes its last day. Month,
// day, hour, minute and second below 10 are then written with two digits ("7" -> "07").
// A box reads as the number its text starts with, 0 when it starts with none.
void CorrectDateTimeFields(platform::ui::Unit& year, platform::ui::Unit& month, platform::ui::Unit& day,
                           platform::ui::Unit& hour, platform::ui::Unit& minute, platform::ui::Unit& second,
                           int maxHour = kTimeOfDayMaxHour);

// Appends `text` to the combo box's items unless an item equals it; 1 when one did, 0 when
// it was added.
int AddComboItemIfMissing(std::string_view text, platform::ui::ComboBox& combo);

// A DatePickerCalendar dropped down on a window: a frame unit (shown while the calendar is
// open) with the draw panel the user sees over it, and a hidden backing panel.
class DropDownDatePicker {
 public:
  DropDownDatePicker();
  ~DropDownDatePicker();
  DropDownDatePicker(const DropDownDatePicker&) = delete;
  DropDownDatePicker& operator=(const DropDownDatePicker&) = delete;

  // The backing panel takes the drawing panel's size, and the calendar is bound to both.
  void Bind(platform::ui::Unit& frame, platform::ui::DrawPanel& drawing, platform::ui::DrawPanel& backing);
  bool IsOpen() const;
  void Close();
  // Moves the frame, the drawing panel keeping its place on it.
  void MoveTo(int left, int top);
  // Shows the frame and draws the month of the three boxes' date with that day marked.
  void OpenAt(const platform::ui::Unit& year, const platform::ui::Unit& month, const platform::ui::Unit& day);
  // A left press on the drawing panel. A picked day is written into the three boxes in
  // two-digit form and closes the calendar; the close mark closes it; an arrow redraws it.
  PickerClick Press(int x, int y, platform::ui::Unit& year, platform::ui::Unit& month, platform::ui::Unit& day);
  void Hover(int x, int y);

  DatePickerCalendar& Calendar() { return calendar_; }

 private:
  DatePickerCalendar calendar_;
  platform::ui::Unit* frame_ = nullptr;
  platform::ui::DrawPanel* drawing_ = nullptr;
  std::unique_ptr<PickerPanel> drawingPanel_;
  std::unique_ptr<PickerPanel> backingPanel_;
};

}  // namespace workmemo
