#include "ui/date_time_fields.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "gui_test.h"
#include "platform/clock/clock.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "test_support.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;

constexpr char kBoxes[] = R"({"width": 400, "height": 300, "units": [
  {"kind": "edit", "name": "y", "geometry": [0, 0, 40, 20]},
  {"kind": "edit", "name": "mo", "geometry": [40, 0, 20, 20]},
  {"kind": "edit", "name": "d", "geometry": [60, 0, 20, 20]},
  {"kind": "edit", "name": "h", "geometry": [80, 0, 20, 20]},
  {"kind": "edit", "name": "mi", "geometry": [100, 0, 20, 20]},
  {"kind": "edit", "name": "s", "geometry": [120, 0, 20, 20]},
  {"kind": "combo", "name": "kinds", "geometry": [0, 30, 80, 20], "items": ["a", "b"]},
  {"kind": "shape", "name": "frame", "geometry": [10, 60, 290, 237], "visible": false},
  {"kind": "draw_panel", "name": "panel", "geometry": [12, 62, 286, 233], "visible": false},
  {"kind": "draw_panel", "name": "backing", "geometry": [0, 0, 10, 10], "visible": false}
]})";

class DateTimeFieldsTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    // A Thursday, 8:05:09 on 11 February 2016.
    platform::clock::SetForTest(platform::clock::SerialFromFields({2016, 2, 11, 8, 5, 9}));
    window = ui::Window::FromJson(kBoxes, "Boxes");
  }
  void TearDown() override {
    window.reset();
    platform::clock::ClearForTest();
    GuiTest::TearDown();
  }
  using Six = std::array<std::string, 6>;
  Six Correct(const Six& in, int maxHour = kTimeOfDayMaxHour) {
    const char* names[] = {"y", "mo", "d", "h", "mi", "s"};
    for (int i = 0; i < 6; ++i) window->Unit(names[i]).SetText(in[i]);
    CorrectDateTimeFields(window->Unit("y"), window->Unit("mo"), window->Unit("d"), window->Unit("h"),
                          window->Unit("mi"), window->Unit("s"), maxHour);
    Six out;
    for (int i = 0; i < 6; ++i) out[i] = window->Unit(names[i]).Text();
    return out;
  }
  std::unique_ptr<ui::Window> window;
};

TEST_F(DateTimeFieldsTest, EveryBoxIsBoundedAndPadded) {
  struct Case {
    const char* what;
    Six in, out;
    int maxHour = kTimeOfDayMaxHour;
  } cases[] = {
      {"valid, padded", {"2016", "3", "5", "7", "5", "0"}, {"2016", "03", "05", "07", "05", "00"}},
      {"years at the bounds", {"2049", "12", "31", "23", "59", "59"}, {"2049", "12", "31", "23", "59", "59"}},
      {"year 1900", {"1900", "1", "1", "0", "0", "0"}, {"2016", "01", "01", "00", "00", "00"}},
      {"year 2050", {"2050", "1", "1", "0", "0", "0"}, {"2016", "01", "01", "00", "00", "00"}},
      {"empty year, month and second", {"", "", "1", "1", "1", ""}, {"2016", "02", "01", "01", "01", "00"}},
      {"month 13 and 0", {"2015", "13", "1", "1", "1", "1"}, {"2015", "02", "01", "01", "01", "01"}},
      {"month 0", {"2015", "0", "1", "1", "1", "1"}, {"2015", "02", "01", "01", "01", "01"}},
      {"31 February in a leap year", {"2012", "02", "31", "1", "1", "1"}, {"2012", "02", "29", "01", "01", "01"}},
      {"31 February", {"2013", "02", "31", "1", "1", "1"}, {"2013", "02", "28", "01", "01", "01"}},
      {"day 0 is the last day", {"2015", "4", "0", "1", "1", "1"}, {"2015", "04", "30", "01", "01", "01"}},
      {"empty day", {"2015", "4", "", "1", "1", "1"}, {"2015", "04", "30", "01", "01", "01"}},
      // A day is bounded by the month the correction has just put in place.
      {"day after a replaced month", {"2015", "14", "30", "1", "1", "1"}, {"2015", "02", "28", "01", "01", "01"}},
      {"hour 24 of a time of day", {"2016", "1", "1", "24", "0", "0"}, {"2016", "01", "01", "08", "00", "00"}},
      {"hour 30 of a countdown", {"2016", "1", "1", "30", "0", "0"}, {"2016", "01", "01", "30", "00", "00"}, kCountdownMaxHour},
      {"hour 60 of a countdown", {"2016", "1", "1", "60", "0", "0"}, {"2016", "01", "01", "08", "00", "00"}, kCountdownMaxHour},
      {"minute 60, second -1", {"2016", "1", "1", "1", "60", "-1"}, {"2016", "01", "01", "01", "05", "09"}},
      {"text after a number", {"2016x", "3a", "7 ", "9:", "5", "b"}, {"2016x", "03", "07", "09", "05", "00"}},
      {"a fraction over the bound", {"2016", "12.5", "1", "1", "1", "1"}, {"2016", "02", "01", "01", "01", "01"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Correct(c.in, c.maxHour), c.out);
  }
}

TEST_F(DateTimeFieldsTest, ComboLearnsANewTextOnce) {
  auto& combo = window->UnitAs<ui::ComboBox>("kinds");
  EXPECT_EQ(AddComboItemIfMissing("b", combo), 1);
  EXPECT_EQ(AddComboItemIfMissing("c", combo), 0);
  EXPECT_EQ(AddComboItemIfMissing("c", combo), 1);
  ASSERT_EQ(combo.ItemCount(), 3);
  EXPECT_EQ(combo.ItemText(2), "c");
}

TEST_F(DateTimeFieldsTest, APickedDayFillsTheBoxesAndClosesTheCalendar) {
  DropDownDatePicker picker;
  auto& panel = window->UnitAs<ui::DrawPanel>("panel");
  auto& backing = window->UnitAs<ui::DrawPanel>("backing");
  picker.Bind(window->Unit("frame"), panel, backing);
  EXPECT_EQ(backing.Width(), 286);
  EXPECT_EQ(backing.Height(), 233);
  EXPECT_FALSE(picker.IsOpen());

  for (auto [name, text] : {std::pair{"y", "2016"}, {"mo", "03"}, {"d", "01"}})
    window->Unit(name).SetText(text);
  picker.MoveTo(310, 98);
  EXPECT_EQ(panel.Left(), 312);
  EXPECT_EQ(panel.Top(), 100);
  picker.OpenAt(window->Unit("y"), window->Unit("mo"), window->Unit("d"));
  EXPECT_TRUE(picker.IsOpen());
  EXPECT_TRUE(panel.IsVisible());
  EXPECT_EQ(picker.Calendar().ShownMonth(), 3);
  EXPECT_EQ(picker.Calendar().MarkedDay, 1);

  // An arrow only redraws: the month forward shows April.
  EXPECT_EQ(picker.Press(205, 15, window->Unit("y"), window->Unit("mo"), window->Unit("d")), PickerClick::None);
  EXPECT_TRUE(picker.IsOpen());
  // 1 April 2016 is a Friday: day 5 lies in the first row's Tuesday column.
  const DatePickerCalendar& cal = picker.Calendar();
  const int x = cal.GridLeft + 2 * (cal.CellWidth + 1) + 10;
  const int y = cal.GridTop + cal.WeekdayRowHeight + (cal.CellHeight + 1) + 10;
  EXPECT_EQ(picker.Press(x, y, window->Unit("y"), window->Unit("mo"), window->Unit("d")), PickerClick::Day);
  EXPECT_EQ(window->Unit("y").Text(), "2016");
  EXPECT_EQ(window->Unit("mo").Text(), "04");
  EXPECT_EQ(window->Unit("d").Text(), "05");
  EXPECT_FALSE(picker.IsOpen());
  EXPECT_FALSE(panel.IsVisible());

  picker.OpenAt(window->Unit("y"), window->Unit("mo"), window->Unit("d"));
  EXPECT_EQ(picker.Press(270, 5, window->Unit("y"), window->Unit("mo"), window->Unit("d")), PickerClick::Close);
  EXPECT_FALSE(picker.IsOpen());
  EXPECT_EQ(window->Unit("d").Text(), "05");
}

}  // namespace
}  // namespace workmemo
