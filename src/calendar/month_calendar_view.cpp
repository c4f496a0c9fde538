#include "calendar/month_calendar_view.h"

#include <string>

#include "calendar/day_texts.h"
#include "platform/clock/clock.h"
#include "platform/ui/units.h"
#include "reminders/store/calendar.h"
#include "ui/weekday_name.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kFirstShownYear = 1902;
constexpr int kLastShownYear = 2049;
constexpr const char* kHeaderFace = "宋体";


}  // namespace

MonthCalendarView& MonthCalendar() {
  static MonthCalendarView view;
  return view;
}

void MonthCalendarView::LayOutUnits(ui::DrawPanel& calendarPanel, ui::DrawPanel& selectionBuffer,
                                    ui::DrawPanel& hoverBuffer, const CalendarLayout& s) {
  CellWidth = s.CellWidth.value_or(48);
  CellHeight = s.CellHeight.value_or(38);
  GridLeft = s.GridLeft.value_or((calendarPanel.Width() - 7 * CellWidth - 8) / 2);
  GridTop = s.GridTop.value_or(20);
  WeekdayBandHeight = s.WeekdayBandHeight.value_or(20);
  HeaderFontSize = s.HeaderFontSize.value_or(9);
  HeaderColour = s.HeaderColour.value_or(ui::Rgb(0, 0, 255));
  HeaderBold = s.HeaderBold.value_or(false);
  DayFontSize = s.DayFontSize.value_or(12);
  TextColour = s.TextColour.value_or(ui::Rgb(0, 0, 0));
  DayBold = s.DayBold.value_or(true);
  GridColour = s.GridColour.value_or(ui::Rgb(192, 192, 192));
  TodayColour = s.TodayColour.value_or(ui::Rgb(255, 0, 255));
  SecondFontSize = s.SecondFontSize.value_or(9);
  SecondBold = s.SecondBold.value_or(false);
  HolidayColour = s.HolidayColour.value_or(ui::Rgb(255, 0, 0));
  SelectShades = s.SelectShades.value_or(
      CalendarShades{ui::Rgb(215, 255, 215), ui::Rgb(128, 255, 128), ui::Rgb(60, 255, 60)});
  HoverShades = s.HoverShades.value_or(
      CalendarShades{ui::Rgb(208, 255, 255), ui::Rgb(125, 255, 255), ui::Rgb(60, 255, 255)});
  MonthCaptionSize = s.MonthCaptionSize.value_or(20);
  MonthCaptionColour = s.MonthCaptionColour.value_or(ui::Rgb(255, 128, 0));
  MonthCaptionBold = s.MonthCaptionBold.value_or(true);
  MonthCaptionTop = s.MonthCaptionTop.value_or(GridTop - 30);
  YearCaptionTop = s.YearCaptionTop.value_or(GridTop - 20);
  YearCaptionSize = s.YearCaptionSize.value_or(20);
  YearCaptionColour = s.YearCaptionColour.value_or(ui::Rgb(255, 128, 0));
  YearCaptionBold = s.YearCaptionBold.value_or(true);
  BackgroundPicture = s.BackgroundPicture;

  CalendarPanel = &calendarPanel;
  SelectionBuffer = &selectionBuffer;
  HoverBuffer = &hoverBuffer;
  RowsTop = GridTop + WeekdayBandHeight;
  selectionBuffer.Resize(CellWidth, CellHeight);
  hoverBuffer.Resize(CellWidth, CellHeight);
  SelectDay = 0;
}

void MonthCalendarView::SetFont(int size, bool bold) {
  ui::Font font = CalendarPanel->GetFont();
  font.size = size;
  font.bold = bold;
  CalendarPanel->SetFont(font);
}

int MonthCalendarView::CellLeft(int day) const {
  const int k = day - 1 + FirstColumn;
  return GridLeft + (k % 7) * (CellWidth + 1) + 1;
}

int MonthCalendarView::CellTop(int day) const {
  const int k = day - 1 + FirstColumn;
  return RowsTop + (k / 7) * (CellHeight + 1) + 1;
}

bool MonthCalendarView::IsOverGrid(int x, int y) const {
  return x >= GridLeft && x < GridLeft + 7 * CellWidth + 7 && y >= RowsTop &&
         y < RowsTop + 6 * CellHeight + 7;
}

void MonthCalendarView::DrawMonth(int year, int month) {
  ui::DrawPanel& panel = *CalendarPanel;
  const int width = panel.Width();
  const int height = panel.Height();
  if (const std::string& picture = BackgroundPicture.Get(); !picture.empty()) {
    panel.DrawPicture(picture, 0, 0, width, height);
  } else {
    // The weekday band keeps what it shows; its captions are drawn again over it.
    panel.FillRectangle(0, RowsTop, width, height - RowsTop, panel.BackgroundColour());
    panel.FillRectangle(0, 0, width, GridTop, panel.BackgroundColour());
  }

  if (month > 12) {
    month = 1;
    ++year;
  } else if (month < 1) {
    month = 12;
    --year;
  }
  const double now = platform::clock::Now();
  const DateTimeParts today = SplitDateTime(now);
  if (year < kFirstShownYear || year > kLastShownYear) year = today.year;

  DayCount = DaysInMonth(year, month);
  FirstColumn = Weekday(MakeDateTime(year, month, 1, 0, 0, 0)) - 1;
  ShownYearValue = year;
  ShownMonthValue = month;
  TodayDay = today.day;
  TodayMonth = today.month;
  TodayYear = today.year;
  // The saved hover picture belongs to the month that was shown: it must never be copied
  // onto this one.
  HoverDay = 0;
  HoverCell = 0;
  HoverBuffer->Clear();

  DrawCaption();
  DrawSecondCaption();
  DrawBackground();
  for (int d = 1; d <= DayCount; ++d) DrawDayTexts(d);
}

void MonthCalendarView::DrawDayTexts(int day) {
  ui::DrawPanel& panel = *CalendarPanel;
  const std::string number = std::to_string(day);
  SetFont(DayFontSize, DayBold);
  const int dw = panel.TextWidth(number);
  const int dh = panel.TextHeight(number);
  const SecondLine second = SecondLineOf(ShownYearValue, ShownMonthValue, day);
  SetFont(SecondFontSize, SecondBold);
  const int sw = panel.TextWidth(second.text);
  const int sh = panel.TextHeight(second.text);
  const int dx = (CellWidth - dw) / 2;
  const int dy = (CellHeight - dh - 2 - sh) / 2;

  const int x0 = CellLeft(day);
  const int y0 = CellTop(day);
  const bool sunday = (day - 1 + FirstColumn) % 7 == 0;
  const bool isToday = day == TodayDay && ShownMonthValue == TodayMonth && ShownYearValue == TodayYear;
  SetFont(DayFontSize, DayBold);
  panel.SetTextColour(isToday ? TodayColour : sunday ? HolidayColour : TextColour);
  panel.DrawText(x0 + dx, y0 + dy, number);

  const int sx = (CellWidth - sw) / 2;
  const int sy = dy + dh + 2;
  panel.SetTextColour(isToday ? TodayColour : (sunday || second.namesDay) ? HolidayColour : TextColour);
  SetFont(SecondFontSize, SecondBold);
  panel.DrawText(x0 + sx, y0 + sy, second.text);
}

void MonthCalendarView::DrawBackground() {
  ui::DrawPanel& panel = *CalendarPanel;
  panel.SetPen(GridColour);
  const int right = GridLeft + GridWidth();
  panel.DrawLine(GridLeft, GridTop, right, GridTop);
  panel.DrawLine(GridLeft, RowsTop, right, RowsTop);
  for (int i = 0; i <= 7; ++i) {
    const int x = GridLeft + i * (CellWidth + 1);
    panel.DrawLine(x, GridTop, x, RowsTop);
  }
  for (int j = 0; j <= 6; ++j) {
    const int y = RowsTop + j * (CellHeight + 1);
    panel.DrawLine(GridLeft, y, right, y);
  }
  for (int i = 0; i <= 7; ++i) {
    const int x = GridLeft + i * (CellWidth + 1);
    panel.DrawLine(x, RowsTop, x, RowsTop + 6 * CellHeight + 7);
  }
}

void MonthCalendarView::DrawWeekdayHeader() {
  ui::DrawPanel& panel = *CalendarPanel;
  ui::Font font = panel.GetFont();
  font.name = kHeaderFace;
  font.size = HeaderFontSize;
  font.bold = HeaderBold;
  panel.SetFont(font);
  for (int i = 1; i <= 7; ++i) {
    panel.SetTextColour(i == 1 ? HolidayColour : HeaderColour);
    const std::string name = WeekdayName(i);
    const int tw = panel.TextWidth(name);
    const int th = panel.TextHeight(name);
    panel.DrawText(GridLeft + (i - 1) * (CellWidth + 1) + 1 + (CellWidth - tw) / 2,
                   GridTop + (WeekdayBandHeight - th) / 2, name);
  }
  font.size = 9;
  font.bold = false;
  panel.SetFont(font);
  panel.SetTextColour(0);
}

void MonthCalendarView::DrawCaption() {
  ui::DrawPanel& panel = *CalendarPanel;
  SetFont(MonthCaptionSize, MonthCaptionBold);
  panel.SetTextColour(MonthCaptionColour);
  const std::string text = std::to_string(ShownMonthValue) + "月";
  panel.DrawText(GridLeft + (GridWidth() - panel.TextWidth(text)) / 2, MonthCaptionTop, text);
}

void MonthCalendarView::DrawSecondCaption() {
  ui::DrawPanel& panel = *CalendarPanel;
  SetFont(YearCaptionSize, YearCaptionBold);
  panel.SetTextColour(YearCaptionColour);
  const std::string text = std::to_string(ShownYearValue);
  panel.DrawText(GridLeft + GridWidth() - panel.TextWidth(text), YearCaptionTop, text);
}

void MonthCalendarView::DrawDayCell(int day, bool selected) {
  const CalendarShades& shades = selected ? SelectShades : HoverShades;
  CalendarPanel->GradientFill(CellLeft(day), CellTop(day), CellWidth, CellHeight, shades[0],
                              shades[1], shades[2]);
  DrawDayTexts(day);
}

void MonthCalendarView::RestoreFrom(ui::DrawPanel& buffer, int day) {
  CalendarPanel->CopyRectangle(buffer, 0, 0, CellWidth, CellHeight, CellLeft(day), CellTop(day));
}

void MonthCalendarView::SaveInto(ui::DrawPanel& buffer, int day) {
  buffer.CopyRectangle(*CalendarPanel, CellLeft(day), CellTop(day), CellWidth, CellHeight, 0, 0);
}

void MonthCalendarView::TrackHover(int x, int y) {
  if (!IsOverGrid(x, y)) {
    if (HoverDay >= 1) {
      RestoreFrom(*HoverBuffer, HoverDay);
      HoverDay = 0;
      HoverCell = 0;
    }
    return;
  }
  const int cell = (x - GridLeft) / (CellWidth + 1) + 7 * ((y - RowsTop) / (CellHeight + 1)) + 1;
  if (cell == HoverCell) return;
  const int day = cell - FirstColumn;
  if (day >= 1 && day <= DayCount) {
    if (HoverDay >= 1 && day != HoverDay) RestoreFrom(*HoverBuffer, HoverDay);
    SaveInto(*HoverBuffer, day);
    DrawDayCell(day, false);
    HoverDay = day;
    HoverCell = cell;
  } else {
    if (HoverDay > 0) RestoreFrom(*HoverBuffer, HoverDay);
    HoverDay = 0;
    HoverCell = 0;
  }
}

void MonthCalendarView::SelectHoveredDay(int, int) {
  if (HoverDay == SelectDay) return;
  if (SelectDay > 0) RestoreFrom(*SelectionBuffer, SelectDay);
  SelectDay = HoverDay;
  if (SelectDay == 0) return;
  SelectionBuffer->CopyRectangle(*HoverBuffer, 0, 0, HoverBuffer->Width(), HoverBuffer->Height(), 0, 0);
  DrawDayCell(SelectDay, true);
  SaveInto(*HoverBuffer, SelectDay);
}

}  // namespace workmemo
