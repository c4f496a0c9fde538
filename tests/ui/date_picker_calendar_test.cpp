#include "ui/date_picker_calendar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gui_test.h"
#include "platform/clock/clock.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "test_support.h"

namespace workmemo {
namespace {

using platform::clock::DateTimeFields;
using platform::clock::FieldsFromSerial;
using platform::clock::SerialFromFields;
using testsupport::Show;

constexpr PickerColour kWhite = PickerRgb(255, 255, 255);
constexpr PickerColour kChosen = PickerRgb(170, 255, 255);
constexpr PickerColour kHover = PickerRgb(255, 255, 170);

// A panel of pixels: fills and copies change pixels, texts are recorded where they are drawn.
class PixelPanel : public PickerPanel {
 public:
  struct Text {
    int x, y;
    std::string text;
    PickerColour colour;
    int size;
  };
  explicit PixelPanel(int charWidth = 6) : charWidth_(charWidth), pixels_(kW * kH, kWhite) {}

  int Width() const override { return kW; }
  int Height() const override { return kH; }
  void Clear() override {
    std::fill(pixels_.begin(), pixels_.end(), kWhite);
    texts.clear();
  }
  void SetPenColour(PickerColour colour) override { pen = colour; }
  void SetTextColour(PickerColour colour) override { textColour_ = colour; }
  void SetFontSize(int points) override { fontSize = points; }
  int TextWidth(std::string_view text) const override { return charWidth_ * int(text.size()); }
  int TextHeight(std::string_view) const override { return 12; }
  void DrawText(int x, int y, std::string_view text) override {
    texts.push_back({x, y, std::string(text), textColour_, fontSize});
  }
  void DrawLine(int, int, int, int) override {}
  void GradientFill(int x, int y, int width, int height, PickerColour first, PickerColour,
                    PickerColour) override {
    for (int j = y; j < y + height; ++j)
      for (int i = x; i < x + width; ++i) Set(i, j, first);
  }
  void CopyFrom(const PickerPanel& source, int sx, int sy, int width, int height, int dx,
                int dy) override {
    const auto& from = static_cast<const PixelPanel&>(source);
    for (int j = 0; j < height; ++j)
      for (int i = 0; i < width; ++i) Set(dx + i, dy + j, from.At(sx + i, sy + j));
  }

  PickerColour At(int x, int y) const {
    return x < 0 || y < 0 || x >= kW || y >= kH ? kWhite : pixels_[y * kW + x];
  }
  // The last drawing of a text; nullptr when it was not drawn.
  const Text* Find(std::string_view text) const {
    for (auto it = texts.rbegin(); it != texts.rend(); ++it)
      if (it->text == text) return &*it;
    return nullptr;
  }

  std::vector<Text> texts;
  PickerColour pen = 0;
  int fontSize = 9;

 private:
  static constexpr int kW = kPickerPanelWidth, kH = kPickerPanelHeight;
  void Set(int x, int y, PickerColour c) {
    if (x >= 0 && y >= 0 && x < kW && y < kH) pixels_[y * kW + x] = c;
  }
  int charWidth_;
  PickerColour textColour_ = 0;
  std::vector<PickerColour> pixels_;
};

// Grid of the standard geometry: columns every 39 pixels from x 5, day rows every 29 from y 48.
constexpr int kRowsTop = 30 + 18;
int ColumnX(int column) { return 5 + column * 39 + 1; }
int RowY(int row) { return kRowsTop + row * 29 + 1; }

using HeaderTexts = std::vector<std::pair<int, std::string>>;

// The texts of the header line, by x.
HeaderTexts Header(const PixelPanel& panel) {
  HeaderTexts header;
  for (const PixelPanel::Text& t : panel.texts)
    if (t.y == 8) header.emplace_back(t.x, t.text);
  return header;
}

// Each arrow at the left edge of the box that answers it, the texts between them.
HeaderTexts ExpectedHeader(int year, const std::string& month) {
  return {{60, "<"}, {78, std::to_string(year)}, {120, ">"},
          {160, "<"}, {176, month},              {200, ">"}};
}

class DatePickerTest : public ::testing::Test {
 protected:
  void SetUp() override { SetToday(2016, 3, 7); }
  void TearDown() override { platform::clock::ClearForTest(); }
  static void SetToday(int year, int month, int day) {
    platform::clock::SetForTest(SerialFromFields({year, month, day, 10, 20, 30}));
  }
  void Open(int year, int month, int markedDay) {
    picker.Bind(drawing, backing);
    picker.DrawMonth(year, month, markedDay, markedDay);
  }
  // The mark a day's cell shows, read at the middle of the cell.
  PickerColour MarkOn(int day) const {
    const int index = day + picker.FirstWeekday - 1;
    return drawing.At(ColumnX(index % 7) + 19, RowY(index / 7) + 14);
  }
  // The middle of a grid cell by column and row (row 6 is the undrawn seventh row).
  static std::pair<int, int> CellPoint(int column, int row) {
    return {ColumnX(column) + 19, RowY(row) + 14};
  }
  std::pair<int, int> DayPoint(int day) const {
    const int index = day + picker.FirstWeekday - 1;
    return CellPoint(index % 7, index / 7);
  }
  PickerClick Click(std::pair<int, int> p, double& date) {
    return picker.HandleClick(p.first, p.second, date);
  }
  void Move(std::pair<int, int> p) { picker.HandleMouseMove(p.first, p.second); }

  PixelPanel drawing, backing;
  DatePickerCalendar picker;
};

TEST_F(DatePickerTest, BindSetsThePenAndTheBackingFontAndClearsTheMarks) {
  picker.MarkedDay = picker.HoverMarkDay = picker.LastPointerDay = 5;
  picker.Bind(drawing, backing);
  EXPECT_EQ(drawing.pen, PickerRgb(100, 100, 100));
  EXPECT_EQ(backing.fontSize, 12);
  EXPECT_EQ(picker.MarkedDay, 0);
  EXPECT_EQ(picker.HoverMarkDay, 0);
  EXPECT_EQ(picker.LastPointerDay, 0);
}

TEST_F(DatePickerTest, WithoutAYearShowsTodayUnmarked) {
  picker.Bind(drawing, backing);
  picker.DrawMonth(std::nullopt, 9, 9, 0);
  EXPECT_EQ(picker.ShownYear(), 2016);
  EXPECT_EQ(picker.ShownMonth(), 3);
  EXPECT_EQ(picker.ShownDay(), 7);
  EXPECT_EQ(picker.MarkedDay, 0);
  for (int d = 1; d <= 31; ++d) EXPECT_EQ(MarkOn(d), kWhite) << d;
}

TEST_F(DatePickerTest, DaysLieInTheirWeekdayColumns) {
  struct Case {
    int year, month, firstWeekday, length;
  } cases[] = {
      {2016, 2, 1, 29},  // leap February, the first a Monday
      {2016, 5, 0, 31},  // the first a Sunday
      {2016, 4, 5, 30},
      {1900, 2, 4, 28},  // 1900 is no leap year
      {1900, 12, 6, 31},
      {2000, 2, 2, 29},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
    Open(c.year, c.month, 0);
    EXPECT_EQ(picker.FirstWeekday, c.firstWeekday);
    EXPECT_EQ(picker.MonthLength, c.length);
    for (int d = 1; d <= c.length; ++d) {
      const PixelPanel::Text* t = drawing.Find(std::to_string(d));
      ASSERT_NE(t, nullptr) << d;
      const int index = d + c.firstWeekday - 1;
      // Centred in its cell: 38 - text width, halved, past the inner left edge.
      EXPECT_EQ(t->x, ColumnX(index % 7) + (38 - 6 * int(t->text.size())) / 2) << d;
      EXPECT_EQ(t->y, RowY(index / 7) + (28 - 12) / 2 - 1) << d;
      EXPECT_EQ(t->colour, index % 7 == 0 ? PickerRgb(255, 0, 0) : 0u) << d;
    }
    EXPECT_EQ(drawing.Find(std::to_string(c.length + 1)), nullptr);
  }
  // February 2016: day 29 in column 1 of row 4.
  Open(2016, 2, 0);
  EXPECT_EQ(drawing.Find("29")->x, ColumnX(1) + 13);
  EXPECT_EQ(drawing.Find("29")->y, RowY(4) + 7);
}

TEST_F(DatePickerTest, WeekdayHeadsAndTheFixedHeader) {
  for (int charWidth : {4, 6, 11}) {
    for (int year : {1900, 2016, 12345}) {
      SCOPED_TRACE("char width " + std::to_string(charWidth) + ", year " + std::to_string(year));
      PixelPanel panel(charWidth), spare(charWidth);
      picker.Bind(panel, spare);
      picker.DrawMonth(year, 7, 1, 0);
      const char* heads[] = {"日", "一", "二", "三", "四", "五", "六"};
      for (int c = 0; c < 7; ++c) {
        const PixelPanel::Text* t = panel.Find(heads[c]);
        ASSERT_NE(t, nullptr) << Show(heads[c]);
        EXPECT_EQ(t->x, 5 + c * 39 + (38 - 2 * charWidth) / 2 + 1);
        EXPECT_EQ(t->y, 30 + (18 - 12) / 2);
        EXPECT_EQ(t->colour, c == 0 ? PickerRgb(255, 0, 0) : 0u);
      }
      // The header stands where it stands whatever the font measures.
      for (const PixelPanel::Text& t : panel.texts)
        if (t.y == 8) {
          EXPECT_EQ(t.colour, PickerRgb(0, 0, 255));
          EXPECT_EQ(t.size, 12);
        }
      EXPECT_EQ(Header(panel), ExpectedHeader(year, "07"));
      const PixelPanel::Text* close = panel.Find("X");
      ASSERT_NE(close, nullptr);
      EXPECT_EQ(std::make_pair(close->x, close->y), std::make_pair(274, 2));
      EXPECT_EQ(close->colour, PickerRgb(255, 0, 0));
    }
  }
}

TEST_F(DatePickerTest, MarkedDayOutsideTheMonthIsKeptButNotShown) {
  Open(2016, 3, 31);
  EXPECT_EQ(MarkOn(31), kChosen);
  EXPECT_EQ(picker.MarkedDay, 31);
  double date = 0;
  Click({205, 15}, date);  // to April, 30 days
  EXPECT_EQ(picker.ShownMonth(), 4);
  EXPECT_EQ(picker.MarkedDay, 31);
  for (int d = 1; d <= 30; ++d) EXPECT_EQ(MarkOn(d), kWhite) << d;
  // The empty cell after the 30th answers the kept 31st, cut to the month's last day.
  ASSERT_EQ(Click(DayPoint(31), date), PickerClick::Day);
  EXPECT_EQ(FieldsFromSerial(date), (DateTimeFields{2016, 4, 30, 10, 20, 30}));
  Click({205, 15}, date);  // May has a 31st again
  EXPECT_EQ(MarkOn(31), kChosen);

  // A 31st passed straight to a 30-day month leaves the earlier mark number alone.
  picker.DrawMonth(2016, 6, 31, 31);
  EXPECT_EQ(picker.MarkedDay, 31);
  picker.MarkedDay = 12;
  picker.DrawMonth(2016, 6, 31, 31);
  EXPECT_EQ(picker.MarkedDay, 12);
  EXPECT_EQ(MarkOn(12), kWhite);
}

TEST_F(DatePickerTest, ClicksInTheGrid) {
  // February 2016: day 1 in column 1; the cell before it is column 0 of row 0; day 29 is the
  // last in row 4, so rows 5 and 6 are empty.
  struct Case {
    const char* what;
    int markedBefore;
    std::pair<int, int> point;
    int today;  // day of March 2016
    int expectedDay;
    int expectedMarked;
  } cases[] = {
      {"a day", 10, CellPoint(3, 2), 7, 17, 17},
      {"the marked day again", 10, CellPoint(3, 1), 7, 10, 10},
      {"before day 1, a day marked", 10, CellPoint(0, 0), 7, 10, 10},
      {"before day 1, none marked", 0, CellPoint(0, 0), 7, 7, 0},
      {"before day 1, none marked, today past the month's end", 0, CellPoint(0, 0), 31, 29, 0},
      {"an empty cell of the sixth row", 10, CellPoint(4, 5), 7, 10, 10},
      {"the seventh row, just below the grid", 10, {ColumnX(2), RowY(6)}, 7, 10, 10},
      {"the seventh row, its last pixel line", 0, {ColumnX(2), kRowsTop + 7 * 28 + 8}, 7, 7, 0},
      {"the grid's left line", 0, {5, RowY(1)}, 7, 7, 7},
      // The right edge line belongs to the last column (day 6), not to the next row's first cell.
      {"the grid's right line", 0, {5 + 7 * 38 + 7, RowY(0)}, 7, 6, 6},
      {"the first pixel row under the weekday row", 0, {ColumnX(5), kRowsTop + 1}, 7, 5, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetToday(2016, 3, c.today);
    Open(2016, 2, c.markedBefore);
    double date = -1;
    ASSERT_EQ(Click(c.point, date), PickerClick::Day);
    EXPECT_EQ(FieldsFromSerial(date), (DateTimeFields{2016, 2, c.expectedDay, 10, 20, 30}));
    EXPECT_EQ(picker.MarkedDay, c.expectedMarked);
    for (int d = 1; d <= 29; ++d)
      EXPECT_EQ(MarkOn(d), d == c.expectedMarked ? kChosen : kWhite) << d;
    EXPECT_EQ(picker.ShownDay(), c.expectedMarked);
  }
}

TEST_F(DatePickerTest, ClicksOutsideTheGridChangeNothing) {
  struct Case {
    const char* what;
    int x, y;
    PickerClick result;
  } cases[] = {
      {"the close mark", 274, 6, PickerClick::Close},
      {"the close mark's corner", 260, 2, PickerClick::Close},
      {"the close mark's far corner", 286, 10, PickerClick::Close},
      {"right of the year arrow", 71, 15, PickerClick::None},
      {"above the month arrow", 165, 7, PickerClick::None},
      {"the weekday row", 50, 40, PickerClick::None},
      {"below the seventh row", ColumnX(2), kRowsTop + 7 * 28 + 9, PickerClick::None},
      {"left of the grid", 4, RowY(2), PickerClick::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Open(2016, 2, 10);
    const std::size_t drawn = drawing.texts.size();
    double date = 123.0;
    EXPECT_EQ(picker.HandleClick(c.x, c.y, date), c.result);
    EXPECT_EQ(date, 123.0);
    EXPECT_EQ(picker.ShownYear(), 2016);
    EXPECT_EQ(picker.ShownMonth(), 2);
    EXPECT_EQ(picker.MarkedDay, 10);
    EXPECT_EQ(drawing.texts.size(), drawn);
  }
}

TEST_F(DatePickerTest, ArrowsStepTheYearAndTheMonth) {
  struct Case {
    const char* what;
    int year, month;
    int x, y;
    int expectedYear, expectedMonth;
  } cases[] = {
      {"year back", 1902, 5, 65, 15, 1901, 5},
      {"year back from 1901 to the current year", 1901, 5, 65, 15, 2016, 5},
      {"year back from 1900 to the current year", 1900, 12, 60, 8, 2016, 12},
      {"year forward", 2048, 5, 125, 15, 2049, 5},
      {"year forward from 2049 to the current year", 2049, 5, 130, 25, 2016, 5},
      {"month back", 2016, 5, 160, 8, 2016, 4},
      {"month back from January 1901 to December 1900", 1901, 1, 170, 25, 1900, 12},
      {"month forward", 2016, 5, 200, 20, 2016, 6},
      {"month forward from December 2049 to January 2050", 2049, 12, 210, 8, 2050, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Open(c.year, c.month, 15);
    Move(DayPoint(3));
    double date = 123.0;
    EXPECT_EQ(picker.HandleClick(c.x, c.y, date), PickerClick::None);
    EXPECT_EQ(date, 123.0);
    EXPECT_EQ(picker.ShownYear(), c.expectedYear);
    EXPECT_EQ(picker.ShownMonth(), c.expectedMonth);
    EXPECT_EQ(picker.ShownDay(), 15);
    EXPECT_EQ(picker.HoverMarkDay, 0);
    // The new month is drawn with the same day marked and without the hover mark.
    const std::string month = std::to_string(c.expectedMonth);
    EXPECT_EQ(Header(drawing),
              ExpectedHeader(c.expectedYear, c.expectedMonth < 10 ? "0" + month : month));
    for (int d = 1; d <= picker.MonthLength; ++d)
      EXPECT_EQ(MarkOn(d), d == 15 ? kChosen : kWhite) << d;
  }
}

TEST_F(DatePickerTest, HoverMarkFollowsThePointer) {
  Open(2016, 2, 10);
  Move(DayPoint(10));
  EXPECT_EQ(MarkOn(10), kHover);
  EXPECT_EQ(picker.HoverMarkDay, 10);

  Move(DayPoint(11));  // the chosen mark comes back on the day left
  EXPECT_EQ(MarkOn(10), kChosen);
  EXPECT_EQ(MarkOn(11), kHover);
  EXPECT_EQ(picker.LastPointerDay, 11);

  Move({DayPoint(11).first + 5, DayPoint(11).second});  // within the same cell: nothing changes
  EXPECT_EQ(MarkOn(11), kHover);

  Move(DayPoint(12));
  EXPECT_EQ(MarkOn(11), kWhite);
  EXPECT_EQ(MarkOn(12), kHover);

  Move(CellPoint(0, 0));  // the empty cell before day 1 takes the hover mark away
  EXPECT_EQ(MarkOn(12), kWhite);
  EXPECT_EQ(picker.LastPointerDay, 0);  // day 0: the cell before the first
  Move(CellPoint(3, 5));  // below the last day
  EXPECT_EQ(picker.LastPointerDay, 38);

  Move(DayPoint(10));
  EXPECT_EQ(MarkOn(10), kHover);
  Move({150, 15});  // out of the grid: the hover mark goes, the chosen mark stays
  EXPECT_EQ(MarkOn(10), kChosen);
  EXPECT_EQ(picker.LastPointerDay, 0);
  EXPECT_EQ(picker.HoverMarkDay, 10);

  Move(DayPoint(20));
  Move({5 + 7 * 38 + 8, 100});
  for (int d = 1; d <= 29; ++d) EXPECT_EQ(MarkOn(d), d == 10 ? kChosen : kWhite) << d;
}

TEST_F(DatePickerTest, ClickAfterHoverMovesTheChosenMark) {
  Open(2016, 2, 10);
  Move(DayPoint(20));
  double date = 0;
  ASSERT_EQ(Click(DayPoint(20), date), PickerClick::Day);
  EXPECT_EQ(MarkOn(10), kWhite);
  EXPECT_EQ(MarkOn(20), kChosen);
  Move(DayPoint(21));
  EXPECT_EQ(MarkOn(20), kChosen);
  EXPECT_EQ(MarkOn(21), kHover);
}

TEST_F(DatePickerTest, CopyKeepsEveryField) {
  Open(2016, 2, 10);
  Move(DayPoint(12));
  const DatePickerCalendar copy = picker;
  EXPECT_EQ(copy.ShownYear(), 2016);
  EXPECT_EQ(copy.MarkedDay, 10);
  EXPECT_EQ(copy.HoverMarkDay, 12);
  EXPECT_EQ(copy.FirstWeekday, 1);
  EXPECT_EQ(copy.DrawingPanel, &drawing);
}

TEST_F(DatePickerTest, ClickBeforeAnyMonthIsDrawnAnswersNothing) {
  picker.Bind(drawing, backing);
  double date = 5.0;
  EXPECT_EQ(picker.HandleClick(3, 3, date), PickerClick::None);
  EXPECT_EQ(date, 5.0);
}

// The picker on two real draw panels: marks are painted and copied back off.
class DatePickerOnDrawPanels : public testsupport::GuiTest {
 protected:
  void TearDown() override {
    platform::clock::ClearForTest();
    GuiTest::TearDown();
  }
};

TEST_F(DatePickerOnDrawPanels, MarksArePaintedAndRestored) {
  platform::clock::SetForTest(SerialFromFields({2016, 3, 7, 10, 20, 30}));
  auto window = platform::ui::Window::FromJson(
      R"({"units": [{"kind": "draw_panel", "name": "shown", "geometry": [0, 0, 286, 233]},
                    {"kind": "draw_panel", "name": "backing", "geometry": [0, 0, 286, 233]}]})",
      "PickerPanels");
  auto& shown = window->UnitAs<platform::ui::DrawPanel>("shown");
  DrawPanelPickerPanel drawing(shown);
  DrawPanelPickerPanel backing(window->UnitAs<platform::ui::DrawPanel>("backing"));
  DatePickerCalendar picker;
  picker.Bind(drawing, backing);
  picker.DrawMonth(2016, 2, 10, 10);
  // Near the top-left corner of a day's cell, clear of its text.
  auto corner = [&](int day) {
    const int index = day + picker.FirstWeekday - 1;
    return shown.PixelAt(ColumnX(index % 7) + 2, RowY(index / 7) + 2);
  };
  using platform::ui::Blue;
  using platform::ui::Red;
  const auto white = platform::ui::Rgb(255, 255, 255);
  EXPECT_LT(Red(corner(10)), 255);  // the chosen mark starts light cyan
  EXPECT_EQ(Blue(corner(10)), 255);
  EXPECT_EQ(corner(11), white);

  picker.HandleMouseMove(ColumnX(4) + 19, RowY(1) + 14);  // day 11
  EXPECT_EQ(Red(corner(11)), 255);  // the hover mark starts light yellow
  EXPECT_LT(Blue(corner(11)), 255);
  EXPECT_LT(Red(corner(10)), 255);

  picker.HandleMouseMove(150, 15);
  EXPECT_EQ(corner(11), white);
  EXPECT_LT(Red(corner(10)), 255);
}

}  // namespace
}  // namespace workmemo
