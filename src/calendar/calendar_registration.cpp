#include "calendar/calendar_registration.h"

#include "calendar/desktop_clock_window.h"
#include "calendar/month_calendar_panel.h"
#include "calendar/month_calendar_view.h"
#include "calendar/skin_panel.h"
#include "platform/clock/clock.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"

namespace workmemo {

void RegisterCalendarUi() {
  RegisterPageLoader(kMonthCalendarPanelName, [](MainWindow& main) {
    LoadedPage loaded;
    loaded.window = platform::ui::Window::Load(kMonthCalendarPanelName);
    SetUpMonthCalendarPanel(main, *loaded.window);
    loaded.Layout = PaintMonthCalendarPanel;
    return loaded;
  });
  ModuleSeams& seams = Seams();
  seams.CalendarShownDay = CalendarShownDay;
  seams.ShowDesktopClock = ShowDesktopClock;
  seams.ToggleDesktopClock = ToggleDesktopClock;
  seams.TimedRemindersReread.push_back(DrawMonthCalendar);
  seams.TimedRemindersAdded.push_back([](const ReminderList&) { DrawMonthCalendar(); });
  seams.RelayoutForSkin.push_back({kSkinMonthCalendarPage, PaintMonthCalendarPanel});
  seams.RelayoutForSkin.push_back({kSkinDesktopClock, PaintClockWindow});
  // The main window releases the page with its other pages; afterwards nothing may reach it.
  seams.CloseLoadedWindows.push_back(ForgetMonthCalendarPanel);
  seams.CloseLoadedWindows.push_back(CloseDesktopClockAtEnd);
  RegisterSkinPanel();
}

std::vector<std::pair<std::string, CalendarWindowSetup>> CalendarWindowSetups(
    std::function<MainWindow&()> hostMainWindow) {
  // The page on a day of the shown month with another day selected and a third hovered.
  const auto page = [hostMainWindow](int year, int month, int today, int selected, int hovered) {
    return [=](platform::ui::Window& window) {
      platform::clock::SetForTest(MakeDateTime(year, month, today, 10, 0, 0));
      MainWindow& main = hostMainWindow();
      main.Load();
      SetUpMonthCalendarPanel(main, window);
      window.On({}, platform::ui::Event::Created, [=](platform::ui::EventArgs&) {
        InitialiseMonthCalendarPanel();
        MonthCalendarView& view = MonthCalendar();
        const auto pointAt = [&view](int day) { view.TrackHover(view.CellLeft(day) + 20, view.CellTop(day) + 20); };
        pointAt(selected);
        PickCalendarDay(0, 0);
        pointAt(hovered);
      });
    };
  };
  return {
      {kMonthCalendarPanelName, page(2020, 2, 10, 14, 20)},
      // May 2020: the first day of the leap fourth month on the 23rd.
      {std::string(kMonthCalendarPanelName) + ":闰月", page(2020, 5, 12, 23, 25)},
      // The skins page with its second thumbnail under the pointer.
      {kSkinPanelName,
       [hostMainWindow](platform::ui::Window& window) {
         MainWindow& main = hostMainWindow();
         main.Load();
         SetUpSkinPanel(main, window);
         window.On({}, platform::ui::Event::Created, [](platform::ui::EventArgs&) {
           InitialiseSkinPanel();
           HoverSkinThumbnail(SkinPage().BackgroundSlotSprites.at(1));
         });
       }},
      {"DesktopClockWindow",
       [](platform::ui::Window& window) {
         platform::clock::SetForTest(MakeDateTime(2020, 2, 10, 9, 5, 7));
         AttachDesktopClockWindow(window);
       }},
  };
}

}  // namespace workmemo
