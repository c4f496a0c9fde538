#include "ui/date_picker_calendar.h"

#include <algorithm>
#include <string>

#include "common/days_in_month.h"
#include "common/text_routines.h"
#include "platform/clock/clock.h"
#include "platform/ui/units.h"
#include "ui/weekday_name.h"

namespace workmemo {
namespace {

constexpr PickerColour kBlack = PickerRgb(0, 0, 0);
constexpr PickerColour kRed = PickerRgb(255, 0, 0);
constexpr PickerColour kBlue = PickerRgb(0, 0, 255);
constexpr PickerColour kGridPen = PickerRgb(100, 100, 100);
constexpr PickerColour kChosenMark[3] = {PickerRgb(170, 255, 255), PickerRgb(81, 255, 255),
                                         PickerRgb(21, 255, 255)};
constexpr PickerColour kHoverMark[3] = {PickerRgb(255, 255, 170), PickerRgb(255, 255, 81),
                                        PickerRgb(255, 255, 21)};

// A rectangle of the header that answers a click; both edges belong to it.
struct HitBox {
  int left, right, top, bottom;
  bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};
constexpr HitBox kYearBack{60, 70, 8, 25};
constexpr HitBox kYearForward{120, 130, 8, 25};
constexpr HitBox kMonthBack{160, 170, 8, 25};
constexpr HitBox kMonthForward{200, 210, 8, 25};
constexpr HitBox kClose{260, 286, 2, 10};

// The header texts stand at fixed places, each arrow at the left edge of its hit box, so
// neither the font nor the year's width can push an arrow off the place that answers it.
constexpr int kHeaderTop = 8;
constexpr int kYearX = 78;
constexpr int kMonthX = 176;
constexpr int kHeaderFontSize = 12;
constexpr int kGridFontSize = 9;

// The years whose steps stay put; a step beyond them comes back to the current year.
constexpr int kFirstYear = 1901;
constexpr int kLastYear = 2049;

// 0 = Sunday .. 6 = Saturday.
int WeekdayColumn(int year, int month, int day) {
  // 1899-12-30, day 0 of the serial scale, was a Saturday.
  const std::int64_t days = platform::clock::DaysFromCivil(year, month, day);
  return int(((days + 6) % 7 + 7) % 7);
}

PickerColour ColumnColour(int column) { return column == 0 ? kRed : kBlack; }

int CurrentYear() { return platform::clock::FieldsFromSerial(platform::clock::Now()).year; }

}  // namespace

void DatePickerCalendar::Bind(PickerPanel& drawing, PickerPanel& backing) {
  DrawingPanel = &drawing;
  BackingPanel = &backing;
  drawing.SetPenColour(kGridPen);
  backing.SetFontSize(12);
  HoverMarkDay = 0;
  MarkedDay = 0;
  FirstWeekday = 0;
  LastPointerDay = 0;
  MonthLength = 0;
}

void DatePickerCalendar::DrawMonth(std::optional<int> year, int month, int day, int markedDay,
                                   const PickerGeometry& geometry) {
  GridLeft = geometry.gridLeft;
  GridTop = geometry.gridTop;
  WeekdayRowHeight = geometry.weekdayRowHeight;
  CellWidth = geometry.cellWidth;
  CellHeight = geometry.cellHeight;
  if (year) {
    Year = *year;
    Month = month;
    Day = day;
  } else {
    const platform::clock::DateTimeFields today =
        platform::clock::FieldsFromSerial(platform::clock::Now());
    Year = today.year;
    Month = today.month;
    Day = today.day;
  }
  MonthLength = DaysInMonth(Year, Month);
  FirstWeekday = MonthLength > 0 ? WeekdayColumn(Year, Month, 1) : 0;
  HoverMarkDay = 0;
  if (DrawingPanel == nullptr || BackingPanel == nullptr) return;
  PickerPanel& panel = *DrawingPanel;
  BackingPanel->Clear();
  panel.Clear();

  const int width = panel.Width();
  panel.SetTextColour(kBlue);
  panel.SetFontSize(kHeaderFontSize);
  panel.DrawText(kYearBack.left, kHeaderTop, "<");
  panel.DrawText(kYearX, kHeaderTop, std::to_string(Year));
  panel.DrawText(kYearForward.left, kHeaderTop, ">");
  panel.DrawText(kMonthBack.left, kHeaderTop, "<");
  panel.DrawText(kMonthX, kHeaderTop, PadTwoDigits(Month));
  panel.DrawText(kMonthForward.left, kHeaderTop, ">");

  panel.SetTextColour(kRed);
  panel.SetFontSize(kGridFontSize);
  panel.DrawText(width - 12, 2, "X");

  panel.SetTextColour(kBlack);
  const int gridRight = GridLeft + 7 * CellWidth + 8;
  const int rowsTop = GridTop + WeekdayRowHeight;
  panel.DrawLine(GridLeft, GridTop, gridRight, GridTop);
  panel.DrawLine(GridLeft, rowsTop, gridRight, rowsTop);
  for (int k = 0; k <= 7; ++k) {
    const int x = GridLeft + k * (CellWidth + 1);
    panel.DrawLine(x, GridTop, x, rowsTop);
  }
  const int headHeight = panel.TextHeight(WeekdayName(1));
  for (int c = 0; c < 7; ++c) {
    const std::string name = WeekdayName(c + 1);
    panel.SetTextColour(ColumnColour(c));
    panel.DrawText(GridLeft + c * (CellWidth + 1) + (CellWidth - panel.TextWidth(name)) / 2 + 1,
                   GridTop + (WeekdayRowHeight - headHeight) / 2, name);
  }
  panel.SetTextColour(kBlack);
  for (int r = 0; r <= 6; ++r) {
    const int y = rowsTop + r * (CellHeight + 1);
    panel.DrawLine(GridLeft, y, gridRight, y);
  }
  for (int k = 0; k <= 7; ++k) {
    const int x = GridLeft + k * (CellWidth + 1);
    panel.DrawLine(x, rowsTop, x, rowsTop + 6 * CellHeight + 7);
  }
  for (int d = 1; d <= MonthLength; ++d) DrawDayText(panel, d);
  panel.SetTextColour(kBlack);
  BackingPanel->CopyFrom(panel, 0, 0, width, panel.Height(), 0, 0);

  if (InMonth(markedDay)) {
    DrawMark(markedDay, true);
    MarkedDay = markedDay;
  }
}

int DatePickerCalendar::CellLeft(int day) const {
  const int index = day + FirstWeekday - 1;
  return GridLeft + (index % 7) * (CellWidth + 1) + 1;
}

int DatePickerCalendar::CellTop(int day) const {
  const int index = day + FirstWeekday - 1;
  return GridTop + WeekdayRowHeight + (index / 7) * (CellHeight + 1) + 1;
}

void DatePickerCalendar::DrawDayText(PickerPanel& panel, int day) {
  const std::string text = std::to_string(day);
  panel.SetTextColour(ColumnColour((day + FirstWeekday - 1) % 7));
  panel.DrawText(CellLeft(day) + (CellWidth - panel.TextWidth(text)) / 2,
                 CellTop(day) + (CellHeight - panel.TextHeight(text)) / 2 - 1, text);
}

void DatePickerCalendar::RestoreCell(int day) {
  // A marked day kept from a longer month has no cell here: nothing to restore.
  if (DrawingPanel == nullptr || BackingPanel == nullptr || !InMonth(day)) return;
  DrawingPanel->CopyFrom(*BackingPanel, CellLeft(day), CellTop(day), CellWidth, CellHeight,
                         CellLeft(day), CellTop(day));
}

void DatePickerCalendar::DrawMark(int day, bool chosen) {
  if (DrawingPanel == nullptr || !InMonth(day)) return;
  const PickerColour* colours = chosen ? kChosenMark : kHoverMark;
  DrawingPanel->GradientFill(CellLeft(day), CellTop(day), CellWidth, CellHeight, colours[0],
                             colours[1], colours[2]);
  DrawDayText(*DrawingPanel, day);
  DrawingPanel->SetTextColour(kBlack);
}

std::optional<int> DatePickerCalendar::DayAt(int x, int y) const {
  const int rowsTop = GridTop + WeekdayRowHeight;
  if (x < GridLeft || x > GridLeft + 7 * CellWidth + 7) return std::nullopt;
  if (y < rowsTop + 1 || y > rowsTop + 7 * CellHeight + 8) return std::nullopt;
  // The grid's right edge line lies one step past the last column; it belongs to that
  // column, not to the first cell of the next row.
  const int column = std::min((x - GridLeft) / (CellWidth + 1), 6);
  const int row = (y - rowsTop) / (CellHeight + 1);
  return column + 7 * row + 1 - FirstWeekday;
}

PickerClick DatePickerCalendar::HandleClick(int x, int y, double& date) {
  if (MonthLength == 0) return PickerClick::None;  // nothing drawn yet: no grid, no month
  if (const std::optional<int> d = DayAt(x, y)) {
    if (MarkedDay > 0 && MarkedDay != *d && InMonth(*d)) RestoreCell(MarkedDay);
    if (InMonth(*d)) {
      DrawMark(*d, true);
      MarkedDay = *d;
      Day = *d;
    }
    const platform::clock::DateTimeFields now =
        platform::clock::FieldsFromSerial(platform::clock::Now());
    const int day = std::min(MarkedDay >= 1 ? MarkedDay : now.day, MonthLength);
    date = platform::clock::SerialFromFields({Year, Month, day, now.hour, now.minute, now.second});
    return PickerClick::Day;
  }
  if (kYearBack.Contains(x, y)) {
    if (--Year < kFirstYear) Year = CurrentYear();
  } else if (kYearForward.Contains(x, y)) {
    if (++Year > kLastYear) Year = CurrentYear();
  } else if (kMonthBack.Contains(x, y)) {
    if (--Month < 1) {
      Month = 12;
      --Year;
    }
  } else if (kMonthForward.Contains(x, y)) {
    if (++Month > 12) {
      Month = 1;
      ++Year;
    }
  } else if (kClose.Contains(x, y)) {
    return PickerClick::Close;
  } else {
    return PickerClick::None;
  }
  Redraw();
  return PickerClick::None;
}

void DatePickerCalendar::Redraw() {
  DrawMonth(Year, Month, MarkedDay, MarkedDay,
            {GridLeft, GridTop, WeekdayRowHeight, CellWidth, CellHeight});
}

void DatePickerCalendar::HandleMouseMove(int x, int y) {
  const int h = HoverMarkDay;
  if (const std::optional<int> d = DayAt(x, y)) {
    if (h > 0 && h != *d) {
      if (h != MarkedDay) {
        RestoreCell(h);
      } else {
        DrawMark(h, true);
      }
    }
    if (InMonth(*d) && *d != LastPointerDay) {
      DrawMark(*d, false);
      HoverMarkDay = *d;
    }
    LastPointerDay = *d;
    return;
  }
  if (LastPointerDay == 0) return;
  if (h > 0) {
    RestoreCell(h);
    if (h == MarkedDay) DrawMark(h, true);
  }
  LastPointerDay = 0;
}

int DrawPanelPickerPanel::Width() const { return panel_.Width(); }
int DrawPanelPickerPanel::Height() const { return panel_.Height(); }
void DrawPanelPickerPanel::Clear() { panel_.Clear(); }
void DrawPanelPickerPanel::SetPenColour(PickerColour colour) { panel_.SetPen(colour); }
void DrawPanelPickerPanel::SetTextColour(PickerColour colour) { panel_.SetTextColour(colour); }

void DrawPanelPickerPanel::SetFontSize(int points) {
  platform::ui::Font font = panel_.GetFont();
  font.size = points;
  panel_.SetFont(font);
}

int DrawPanelPickerPanel::TextWidth(std::string_view text) const { return panel_.TextWidth(text); }
int DrawPanelPickerPanel::TextHeight(std::string_view text) const {
  return panel_.TextHeight(text);
}
void DrawPanelPickerPanel::DrawText(int x, int y, std::string_view text) {
  panel_.DrawText(x, y, text);
}
void DrawPanelPickerPanel::DrawLine(int x1, int y1, int x2, int y2) {
  panel_.DrawLine(x1, y1, x2, y2);
}
void DrawPanelPickerPanel::GradientFill(int x, int y, int width, int height, PickerColour first,
                                        PickerColour middle, PickerColour last) {
  panel_.GradientFill(x, y, width, height, first, middle, last, true);
}

void DrawPanelPickerPanel::CopyFrom(const PickerPanel& source, int sx, int sy, int width,
                                    int height, int dx, int dy) {
  if (const auto* from = dynamic_cast<const DrawPanelPickerPanel*>(&source))
    panel_.CopyRectangle(from->panel_, sx, sy, width, height, dx, dy);
}

}  // namespace workmemo
