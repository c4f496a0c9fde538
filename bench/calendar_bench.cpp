// The month calendar view on panels of the calendar page's size with the page's settings and
// a page background picture, offscreen.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "calendar/month_calendar_view.h"
#include "platform/clock/clock.h"
#include "platform/image/image.h"
#include "platform/ui/app.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"

namespace {

namespace ui = platform::ui;
using workmemo::MonthCalendarView;

struct Page {
  std::unique_ptr<ui::Window> window;
  std::string pictureBytes;  // the page picture the view draws, held here
  MonthCalendarView view;

  explicit Page(bool withPicture = true) {
    window = ui::Window::FromJson(R"({"title": "bench", "width": 1096, "height": 588, "units": [
        {"kind": "draw_panel", "name": "calendar", "geometry": [0, 0, 1096, 588]},
        {"kind": "draw_panel", "name": "selection", "geometry": [0, 0, 100, 78], "visible": false},
        {"kind": "draw_panel", "name": "hover", "geometry": [0, 0, 100, 78], "visible": false}]})",
                                  "CalendarBench");
    window->Open(false);
    // The page picture is a capture of the main window's background, a 32-bit bitmap.
    platform::image::Image picture;
    picture.width = 1096;
    picture.height = 588;
    picture.pixels.resize(1096 * 588);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = 0xFF000000u | (i * 2654435761u >> 8);
    workmemo::CalendarLayout s;
    s.GridLeft = 10;
    s.GridTop = 66;
    s.CellWidth = 100;
    s.CellHeight = 78;
    s.GridColour = ui::Rgb(255, 0, 0);
    s.TodayColour = ui::Rgb(0, 136, 255);
    s.YearCaptionSize = 12;
    if (withPicture) {
      pictureBytes = platform::image::EncodeBmp(picture);
      s.BackgroundPicture = workmemo::PanelPicture{nullptr, &pictureBytes};
    }
    view.LayOutUnits(window->UnitAs<ui::DrawPanel>("calendar"), window->UnitAs<ui::DrawPanel>("selection"),
                     window->UnitAs<ui::DrawPanel>("hover"), s);
  }
};

void BM_DrawMonth(benchmark::State& state) {
  Page page;
  for (auto _ : state) {
    page.view.DrawMonth(2020, 5);
    page.view.DrawWeekdayHeader();
  }
}
BENCHMARK(BM_DrawMonth)->Unit(benchmark::kMillisecond);

// The same without a page picture: the panel's own colour behind the grid.
void BM_DrawMonthWithoutPicture(benchmark::State& state) {
  Page page(false);
  for (auto _ : state) {
    page.view.DrawMonth(2020, 5);
    page.view.DrawWeekdayHeader();
  }
}
BENCHMARK(BM_DrawMonthWithoutPicture)->Unit(benchmark::kMillisecond);

// One move from the middle of one day's cell to the next day's: the old cell put back, the
// new one saved and highlighted.
void BM_HoverMoveBetweenCells(benchmark::State& state) {
  Page page;
  page.view.DrawMonth(2020, 5);
  page.view.DrawWeekdayHeader();
  MonthCalendarView& v = page.view;
  int day = 10;
  for (auto _ : state) {
    day = day == 10 ? 11 : 10;
    v.TrackHover(v.CellLeft(day) + 50, v.CellTop(day) + 39);
  }
}
BENCHMARK(BM_HoverMoveBetweenCells)->Unit(benchmark::kMicrosecond);

// A move inside the cell already highlighted: nothing is drawn.
void BM_HoverMoveInsideACell(benchmark::State& state) {
  Page page;
  page.view.DrawMonth(2020, 5);
  MonthCalendarView& v = page.view;
  v.TrackHover(v.CellLeft(10) + 50, v.CellTop(10) + 39);
  int dx = 0;
  for (auto _ : state) {
    dx = (dx + 1) % 40;
    v.TrackHover(v.CellLeft(10) + 30 + dx, v.CellTop(10) + 39);
  }
}
BENCHMARK(BM_HoverMoveInsideACell);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  platform::clock::SetForTest(platform::clock::SerialFromFields({2020, 5, 12, 10, 0, 0}));
  ::benchmark::Initialize(&argc, argv);
  platform::ui::StartApplication(argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  platform::ui::StopApplication();
  return 0;
}
