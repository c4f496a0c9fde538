#pragma once
// MonthCalendarView: one month of the solar calendar on a draw panel, a grid of 7 columns
// (Sunday first) and 6 rows of day cells under a band of weekday captions, with the month
// and the year above it. Each cell shows its day number and the day's second line (a
// festival, a term or the lunar day). The cell under the mouse and the selected cell are
// highlighted with gradients, and a highlight is taken off by copying the cell's earlier
// picture back from one of two one-cell buffer panels, so a mouse move never redraws the
// month.
#include <array>
#include <optional>
#include <string>

#include "platform/ui/ui.h"
#include "shell/panel_picture.h"

namespace platform::ui {
class DrawPanel;
}

namespace workmemo {

using CalendarColour = platform::ui::Colour;
// Light, middle and dark colour of a highlight gradient.
using CalendarShades = std::array<CalendarColour, 3>;

// The settings of LayOutUnits; an unset one takes its default.
struct CalendarLayout {
  std::optional<int> GridLeft;  // default: the grid centred on the panel
  std::optional<int> GridTop;   // 20
  std::optional<int> CellWidth;   // 48
  std::optional<int> CellHeight;  // 38
  std::optional<int> WeekdayBandHeight;  // 20
  std::optional<int> HeaderFontSize;     // 9
  std::optional<CalendarColour> HeaderColour;  // blue
  std::optional<bool> HeaderBold;              // no
  std::optional<int> DayFontSize;              // 12
  std::optional<CalendarColour> TextColour;    // black
  std::optional<bool> DayBold;                 // yes
  std::optional<CalendarColour> GridColour;    // silver
  std::optional<CalendarColour> TodayColour;   // magenta
  std::optional<int> SecondFontSize;           // 9
  std::optional<bool> SecondBold;              // no
  std::optional<CalendarColour> HolidayColour;  // red
  std::optional<CalendarShades> SelectShades;   // greens
  std::optional<CalendarShades> HoverShades;    // cyans
  std::optional<int> MonthCaptionSize;          // 20
  std::optional<CalendarColour> MonthCaptionColour;  // orange
  std::optional<bool> MonthCaptionBold;              // yes
  std::optional<int> MonthCaptionTop;   // GridTop - 30
  std::optional<int> YearCaptionTop;    // GridTop - 20
  std::optional<int> YearCaptionSize;   // 20
  std::optional<CalendarColour> YearCaptionColour;  // orange
  std::optional<bool> YearCaptionBold;              // yes
  PanelPicture BackgroundPicture;  // none
};

class MonthCalendarView {
 public:
  // Takes the three panels and the settings; draws nothing. The buffers become one cell
  // large and the selection is cleared.
  void LayOutUnits(platform::ui::DrawPanel& calendarPanel, platform::ui::DrawPanel& selectionBuffer,
                   platform::ui::DrawPanel& hoverBuffer, const CalendarLayout& settings);
  // The whole month; a month beyond 1..12 carries into the year, and a year outside
  // 1902..2049 shows the current year. The hover is forgotten.
  void DrawMonth(int year, int month);
  void DrawWeekdayHeader();
  void DrawBackground();  // the grid lines
  void DrawCaption();     // the month above the grid
  void DrawSecondCaption();  // the year at the grid's right end
  // One day's cell with the selection (selected) or the hover highlight.
  void DrawDayCell(int day, bool selected);
  // A mouse move at (x, y) on the calendar panel: the cell under it is highlighted.
  void TrackHover(int x, int y);
  // A click: selects the day TrackHover last recorded (none on a blank cell).
  void SelectHoveredDay(int x, int y);

  int ShownYear() const { return ShownYearValue; }
  int ShownMonth() const { return ShownMonthValue; }
  // The selected day, else today's day of month (which the shown month may not have).
  int DisplayedDay() const { return SelectDay > 0 ? SelectDay : TodayDay; }

  // Whether (x, y) lies over the grid's day rows (the right and bottom lines are outside).
  bool IsOverGrid(int x, int y) const;
  // The drawing origin of a day's cell on the calendar panel.
  int CellLeft(int day) const;
  int CellTop(int day) const;

  int GridLeft = 0;
  int GridTop = 0;
  int WeekdayBandHeight = 0;
  int CellWidth = 0;
  int CellHeight = 0;
  platform::ui::DrawPanel* CalendarPanel = nullptr;
  platform::ui::DrawPanel* SelectionBuffer = nullptr;
  platform::ui::DrawPanel* HoverBuffer = nullptr;
  int RowsTop = 0;
  int HeaderFontSize = 0;
  CalendarColour HeaderColour = 0;
  bool HeaderBold = false;
  int DayFontSize = 0;
  CalendarColour TextColour = 0;
  bool DayBold = false;
  CalendarColour GridColour = 0;
  CalendarColour TodayColour = 0;
  int SecondFontSize = 0;
  bool SecondBold = false;
  CalendarColour HolidayColour = 0;
  int ShownYearValue = 0;
  int ShownMonthValue = 0;
  int TodayDay = 0;
  int FirstColumn = 0;  // 0 = Sunday
  int DayCount = 0;
  int HoverCell = 0;  // 1..42, 0 = none
  int HoverDay = 0;
  int SelectDay = 0;
  CalendarShades SelectShades{};
  CalendarShades HoverShades{};
  int TodayMonth = 0;
  int MonthCaptionSize = 0;
  CalendarColour MonthCaptionColour = 0;
  bool MonthCaptionBold = false;
  int TodayYear = 0;
  int MonthCaptionTop = 0;
  int YearCaptionTop = 0;
  int YearCaptionSize = 0;
  CalendarColour YearCaptionColour = 0;
  bool YearCaptionBold = false;
  PanelPicture BackgroundPicture;  // looked up each time a month is drawn

 private:
  int GridWidth() const { return 7 * CellWidth + 8; }
  void SetFont(int size, bool bold);
  // The day's number and second line over the cell as it is now.
  void DrawDayTexts(int day);
  void RestoreFrom(platform::ui::DrawPanel& buffer, int day);
  void SaveInto(platform::ui::DrawPanel& buffer, int day);
};

// The program's one month calendar.
MonthCalendarView& MonthCalendar();

}  // namespace workmemo
