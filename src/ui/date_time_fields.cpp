#include "ui/date_time_fields.h"

#include <string>

#include "common/days_in_month.h"
#include "common/text_routines.h"
#include "platform/clock/clock.h"
#include "platform/ui/units.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr double kTolerance = 0.0000001;
constexpr int kFirstYear = 1901;
constexpr int kLastYear = 2049;

bool Outside(const ui::Unit& box, int low, int high) {
  const double value = TextToNumber(box.Text());
  return value > high + kTolerance || value < low - kTolerance;
}

void ReplaceOutside(ui::Unit& box, int low, int high, int current) {
  if (Outside(box, low, high)) box.SetText(std::to_string(current));
}

void WriteTwoDigits(ui::Unit& box) {
  const double value = TextToNumber(box.Text());
  if (value < 10) box.SetText(PadTwoDigits(static_cast<int>(value)));
}

}  // namespace

void CorrectDateTimeFields(ui::Unit& year, ui::Unit& month, ui::Unit& day, ui::Unit& hour,
                           ui::Unit& minute, ui::Unit& second, int maxHour) {
  const platform::clock::DateTimeFields now = platform::clock::FieldsFromSerial(platform::clock::Now());
  ReplaceOutside(year, kFirstYear, kLastYear, now.year);
  ReplaceOutside(month, 1, 12, now.month);
  const int length = DaysInMonth(TextToInteger(year.Text()), TextToInteger(month.Text()));
  if (Outside(day, 1, length)) day.SetText(std::to_string(length));
  ReplaceOutside(hour, 0, maxHour, now.hour);
  ReplaceOutside(minute, 0, 59, now.minute);
  ReplaceOutside(second, 0, 59, now.second);
  for (ui::Unit* box : {&month, &day, &hour, &minute, &second}) WriteTwoDigits(*box);
}

int AddComboItemIfMissing(std::string_view text, ui::ComboBox& combo) {
  for (int i = 0; i < combo.ItemCount(); ++i) {
    if (combo.ItemText(i) == text) return 1;
  }
  combo.AddItem(text);
  return 0;
}

DropDownDatePicker::DropDownDatePicker() = default;
DropDownDatePicker::~DropDownDatePicker() = default;

void DropDownDatePicker::Bind(ui::Unit& frame, ui::DrawPanel& drawing, ui::DrawPanel& backing) {
  frame_ = &frame;
  drawing_ = &drawing;
  backing.Resize(drawing.Width(), drawing.Height());
  drawingPanel_ = std::make_unique<DrawPanelPickerPanel>(drawing);
  backingPanel_ = std::make_unique<DrawPanelPickerPanel>(backing);
  calendar_.Bind(*drawingPanel_, *backingPanel_);
}

bool DropDownDatePicker::IsOpen() const { return frame_ != nullptr && frame_->IsVisible(); }

void DropDownDatePicker::Close() {
  if (frame_ == nullptr) return;
  frame_->SetVisible(false);
  drawing_->SetVisible(false);
}

void DropDownDatePicker::MoveTo(int left, int top) {
  if (frame_ == nullptr) return;
  const int dx = left - frame_->Left();
  const int dy = top - frame_->Top();
  frame_->Move(left, top);
  drawing_->Move(drawing_->Left() + dx, drawing_->Top() + dy);
}

void DropDownDatePicker::OpenAt(const ui::Unit& year, const ui::Unit& month, const ui::Unit& day) {
  if (frame_ == nullptr) return;
  frame_->SetVisible(true);
  drawing_->SetVisible(true);
  frame_->BringToTop();
  drawing_->BringToTop();
  const int d = TextToInteger(day.Text());
  calendar_.DrawMonth(TextToInteger(year.Text()), TextToInteger(month.Text()), d, d);
}

PickerClick DropDownDatePicker::Press(int x, int y, ui::Unit& year, ui::Unit& month, ui::Unit& day) {
  double picked = 0;
  const PickerClick result = calendar_.HandleClick(x, y, picked);
  if (result == PickerClick::Day) {
    const platform::clock::DateTimeFields f = platform::clock::FieldsFromSerial(picked);
    year.SetText(PadTwoDigits(f.year));
    month.SetText(PadTwoDigits(f.month));
    day.SetText(PadTwoDigits(f.day));
  }
  if (result != PickerClick::None) Close();
  return result;
}

void DropDownDatePicker::Hover(int x, int y) { calendar_.HandleMouseMove(x, y); }

}  // namespace workmemo
