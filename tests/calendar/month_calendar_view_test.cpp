#include "calendar/month_calendar_view.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "gui_test.h"
#include "platform/clock/clock.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;

// The calendar page's settings on panels of the page's size.
CalendarLayout PageLayout() {
  CalendarLayout s;
  s.GridLeft = 10;
  s.GridTop = 66;
  s.CellWidth = 100;
  s.CellHeight = 78;
  s.GridColour = ui::Rgb(255, 0, 0);
  s.TodayColour = 16746496;
  s.MonthCaptionSize = 20;
  s.MonthCaptionColour = 8421376;
  s.YearCaptionSize = 12;
  s.YearCaptionColour = 16711824;
  return s;
}

bool Near(ui::Colour a, ui::Colour b, int tolerance = 8) {
  return std::abs(ui::Red(a) - ui::Red(b)) <= tolerance && std::abs(ui::Green(a) - ui::Green(b)) <= tolerance &&
         std::abs(ui::Blue(a) - ui::Blue(b)) <= tolerance;
}

class MonthCalendarViewTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    window = ui::Window::FromJson(R"({"title": "t", "width": 1096, "height": 588, "units": [
        {"kind": "draw_panel", "name": "calendar", "geometry": [0, 0, 1096, 588]},
        {"kind": "draw_panel", "name": "selection", "geometry": [96, 96, 24, 16], "visible": false},
        {"kind": "draw_panel", "name": "hover", "geometry": [64, 96, 24, 16], "visible": false}]})",
                                  "CalendarTest");
    window->Open(false);
    SetToday(2016, 2, 7);
    view.LayOutUnits(Panel("calendar"), Panel("selection"), Panel("hover"), PageLayout());
  }
  void TearDown() override {
    window->Close();
    window.reset();
    platform::clock::ClearForTest();
    GuiTest::TearDown();
  }
  ui::DrawPanel& Panel(const char* name) { return window->UnitAs<ui::DrawPanel>(name); }
  static void SetToday(int y, int m, int d) { platform::clock::SetForTest(MakeDateTime(y, m, d, 10, 0, 0)); }
  void Show(int y, int m) {
    view.LayOutUnits(Panel("calendar"), Panel("selection"), Panel("hover"), PageLayout());
    view.DrawMonth(y, m);
    view.DrawWeekdayHeader();
  }
  std::string Cell(int day) { return Panel("calendar").Capture(view.CellLeft(day), view.CellTop(day), 100, 78); }
  std::string Whole() { return Panel("calendar").Capture(0, 0, 1096, 588); }
  // The point a pointer at the middle of a day's cell has.
  void HoverDay(int day) { view.TrackHover(view.CellLeft(day) + 50, view.CellTop(day) + 39); }
  // The top left pixel of a day's cell: the first colour of a highlight, as near as the
  // gradient draws it.
  bool CornerIs(int day, ui::Colour colour) {
    return Near(Panel("calendar").PixelAt(view.CellLeft(day), view.CellTop(day)), colour);
  }

  std::unique_ptr<ui::Window> window;
  MonthCalendarView view;
};

TEST_F(MonthCalendarViewTest, DaysLieInTheirCellsAndTheGridKeepsItsLinesOutside) {
  EXPECT_EQ(view.RowsTop, 86);
  EXPECT_EQ(Panel("selection").Width(), 100);
  EXPECT_EQ(Panel("hover").Height(), 78);
  const struct {
    int y, m;
    int firstColumn, dayCount, lastRow;
  } months[] = {
      {2016, 10, 6, 31, 5},  // 1 October 2016, a Saturday: cells 6 to 36, six rows
      {2015, 2, 0, 28, 3},   // 1 February 2015, a Sunday: exactly four rows
      {2016, 2, 1, 29, 4},
  };
  for (const auto& c : months) {
    SCOPED_TRACE(std::to_string(c.y) + "-" + std::to_string(c.m));
    Show(c.y, c.m);
    EXPECT_EQ(view.FirstColumn, c.firstColumn);
    EXPECT_EQ(view.DayCount, c.dayCount);
    EXPECT_EQ(view.CellLeft(1), 10 + c.firstColumn * 101 + 1);
    EXPECT_EQ(view.CellTop(c.dayCount), 86 + c.lastRow * 79 + 1);
  }
  // The last column ends at 716; the right border line at 717 is outside, and a column's
  // left line belongs to that column.
  EXPECT_TRUE(view.IsOverGrid(716, 100));
  EXPECT_FALSE(view.IsOverGrid(717, 100));
  EXPECT_FALSE(view.IsOverGrid(9, 100));
  EXPECT_TRUE(view.IsOverGrid(10, 86));
  EXPECT_FALSE(view.IsOverGrid(10, 85));
  EXPECT_FALSE(view.IsOverGrid(100, 86 + 6 * 79 + 1));
  Show(2015, 2);
  view.TrackHover(10 + 101, 100);  // the left line of the Monday column
  EXPECT_EQ(view.HoverDay, 2);
  view.TrackHover(716, 86 + 3 * 79 + 5);  // the last column of the fourth row
  EXPECT_EQ(view.HoverDay, 28);
}

TEST_F(MonthCalendarViewTest, MonthsCarryIntoTheYearAndYearsOutsideTheRangeShowTheCurrentOne) {
  const struct {
    int y, m, shownYear, shownMonth;
  } cases[] = {
      {2016, 13, 2017, 1}, {2016, 0, 2015, 12}, {2050, 1, 2016, 1},
      {1901, 12, 2016, 12}, {1902, 1, 1902, 1},  {2049, 12, 2049, 12},
  };
  for (const auto& c : cases) {
    view.DrawMonth(c.y, c.m);
    EXPECT_EQ(view.ShownYear(), c.shownYear) << c.y << "-" << c.m;
    EXPECT_EQ(view.ShownMonth(), c.shownMonth) << c.y << "-" << c.m;
  }
}

TEST_F(MonthCalendarViewTest, TheDisplayedDayIsTodaysDayUnlessOneIsSelected) {
  SetToday(2016, 3, 31);
  Show(2016, 2);
  EXPECT_EQ(view.DisplayedDay(), 31);
  // A date made from it is the last day of February.
  EXPECT_EQ(SplitDateTime(MakeDateTime(view.ShownYear(), view.ShownMonth(), view.DisplayedDay(), 0, 0, 0)).day, 29);
  HoverDay(10);
  view.SelectHoveredDay(0, 0);
  EXPECT_EQ(view.DisplayedDay(), 10);
  // A new layout clears the selection.
  Show(2016, 2);
  EXPECT_EQ(view.DisplayedDay(), 31);
}

TEST_F(MonthCalendarViewTest, HoverAndSelectionPutBackTheExactPixelsOfACell) {
  Show(2016, 2);
  const std::string before = Whole();
  const std::string plain10 = Cell(10), plain11 = Cell(11);

  HoverDay(10);
  EXPECT_TRUE(CornerIs(10, view.HoverShades[0]));
  HoverDay(10);  // a move inside the cell draws nothing
  HoverDay(11);
  EXPECT_EQ(Cell(10), plain10);
  view.TrackHover(717, 100);
  EXPECT_EQ(view.HoverDay, 0);
  EXPECT_EQ(Whole(), before);

  HoverDay(10);
  view.SelectHoveredDay(0, 0);
  EXPECT_TRUE(CornerIs(10, view.SelectShades[0]));
  const std::string selected10 = Cell(10);
  HoverDay(11);
  EXPECT_EQ(Cell(10), selected10) << "leaving the selected day keeps its selection";
  view.SelectHoveredDay(0, 0);
  EXPECT_EQ(Cell(10), plain10) << "the old selection is taken off";
  view.SelectHoveredDay(0, 0);  // the selected day again: nothing
  EXPECT_EQ(view.SelectDay, 11);
  HoverDay(12);
  view.TrackHover(view.CellLeft(1) - 50, view.CellTop(1) + 10);  // the blank cell before the 1st
  EXPECT_EQ(view.HoverDay, 0);
  view.SelectHoveredDay(0, 0);
  EXPECT_EQ(view.SelectDay, 0);
  EXPECT_EQ(Whole(), before);
}

TEST_F(MonthCalendarViewTest, AMonthChangeForgetsTheHoveredCellOfTheMonthBefore) {
  Show(2016, 2);
  HoverDay(10);
  Show(2016, 3);
  const std::string march = Whole();
  EXPECT_EQ(view.HoverDay, 0);
  // Leaving the grid copies nothing of February onto March.
  view.TrackHover(717, 100);
  EXPECT_EQ(Whole(), march);
  // The pointer still in the same cell is highlighted again in the new month.
  HoverDay(10);
  EXPECT_EQ(view.HoverDay, 10);
  view.TrackHover(717, 100);
  EXPECT_EQ(Whole(), march);
}

// The number of pixels in a day's cell near `colour` (text edges are blended).
int CountColour(ui::DrawPanel& panel, int left, int top, ui::Colour colour) {
  int n = 0;
  for (int y = top; y < top + 78; ++y)
    for (int x = left; x < left + 100; ++x) n += Near(panel.PixelAt(x, y), colour, 60);
  return n;
}

TEST_F(MonthCalendarViewTest, TodayFestivalsAndSundaysHaveTheirColours) {
  const ui::Colour today = 16746496, red = ui::Rgb(255, 0, 0);
  SetToday(2016, 2, 7);  // a Sunday
  Show(2016, 2);
  ui::DrawPanel& p = Panel("calendar");
  auto count = [&](int day, ui::Colour c) { return CountColour(p, view.CellLeft(day), view.CellTop(day), c); };
  EXPECT_GT(count(7, today), 0);
  EXPECT_EQ(count(7, red), 0) << "today's Sunday is in today's colour only";
  EXPECT_GT(count(14, red), 0) << "a Sunday";
  EXPECT_GT(count(8, red), 0) << "春节 on a Monday: its second line";
  EXPECT_EQ(count(9, red), 0) << "an ordinary Tuesday";
  Show(2015, 2);
  EXPECT_EQ(count(7, today), 0) << "the same month of another year marks no day";
}

}  // namespace
}  // namespace workmemo
