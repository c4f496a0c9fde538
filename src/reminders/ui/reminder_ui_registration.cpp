#include "reminders/ui/reminder_ui_registration.h"

#include "platform/clock/clock.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_editor.h"
#include "reminders/ui/reminder_firing.h"
#include "reminders/ui/reminder_list_actions.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/reminder_views.h"
#include "reminders/ui/reminder_detail_window.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "reminders/ui/today_window.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/ui_state.h"

namespace workmemo {

namespace {

// A few reminders around today, one of each look the page shows.
ReminderList SampleReminders() {
  const double today = DateOf(platform::clock::Now());
  struct Sample {
    int days, hour, minute, mode, paused;
    const char* category;
    const char* title;
  };
  const Sample samples[] = {
      {-3, 9, 30, RepeatMode::Once, 0, "工作", "提交季度报告"},
      {0, 15, 0, RepeatMode::Daily, 0, "工作", "每天下午三点开会"},
      {1, 8, 5, RepeatMode::Weekly, 0, "生活", "去健身房锻炼身体"},
      {2, 12, 0, RepeatMode::Monthly, 1, "普通提醒", "交房租和水电费"},
      {5, 20, 0, RepeatMode::Yearly, 0, "生活", "妈妈的生日，记得提前订蛋糕和鲜花"},
      {10, 18, 30, RepeatMode::Interval, 0, "工作事务安排计划提醒", "整理文件"},
  };
  ReminderList list;
  int id = 10040;
  for (const Sample& s : samples) {
    ReminderRecord r;
    r.id = ++id;
    r.ksdate = today + s.days + (s.hour * 3600 + s.minute * 60) / 86400.0;
    r.kstime = r.ksdate;
    r.jsdate = r.ksdate;
    r.jstime = r.ksdate;
    r.txdate = r.ksdate;
    r.txfs = s.mode;
    r.cfsj = s.mode == RepeatMode::Interval ? 2 : 0;
    r.txzt = s.paused;
    r.txlx = s.category;
    r.txbt = s.title;
    list.push_back(r);
  }
  return list;
}

}  // namespace

void RegisterReminderUi() {
  RegisterPageLoader(std::string(kReminderPanelName), [](MainWindow& main) {
    LoadedPage loaded;
    loaded.window = platform::ui::Window::Load(kReminderPanelName);
    SetReminderPanelHost(PanelHostIn(main));
    SetUpTimedReminderPanel(*loaded.window);
    loaded.Layout = BuildReminderPanelSkin;
    return loaded;
  });
  RegisterReminderEditor();
  Seams().ListFontChanged.push_back([] {
    if (TimedReminderPanelWindow() == nullptr) return;
    SetReminderListHeaders();
    ShowReminderListPage(ListPages().ListPageNumber);
  });
  RegisterReminderFiring();
  Seams().ListFontChanged.push_back([] {
    if (TodayRemindersWindow() != nullptr) ShowDayListPage(ListPages().TodayFirstRow);
  });
  Seams().RelayoutForSkin.push_back({kSkinReminderListPage, [] {
                                       if (TimedReminderPanelWindow() == nullptr) return;
                                       BuildReminderPanelSkin();
                                       ShowReminderListPage(ListPages().ListPageNumber);
                                     }});
  Seams().RelayoutForSkin.push_back({kSkinTodayWindow, RelayoutTodayWindow});
  Seams().ShowTodayWindow = ShowTodayWindow;
  Seams().ShowTodayRemindersOn = ShowTodayRemindersOn;
  Seams().IsTodayWindowLoaded = [] { return TodayRemindersWindow() != nullptr; };
  Seams().TimedRemindersReread.push_back([] {
    ShowAllReminders();
    if (TodayRemindersWindow() != nullptr) ShowDayReminders(Run().ChosenDay);
  });
  Seams().TimedRemindersAdded.push_back([](const ReminderList& added) {
    AddListPageCopies(added);
    RefreshReminderViews();
  });
  Seams().LoadedCovers.push_back([] {
    std::vector<PasswordCover*> covers;
    if (PasswordCover* cover = TodayWindowCover()) covers.push_back(cover);
    return covers;
  });
  Seams().CloseLoadedWindows.push_back([] {
    CloseDetailWindow();
    CloseTodayWindow();
  });
  RegisterReminderListActions();
}

std::vector<std::pair<std::string, ReminderWindowSetup>> ReminderWindowSetups() {
  return {
      {std::string(kReminderPanelName),
       [](platform::ui::Window& page) {
         if (Settings().ListFontSize == 0) Settings().ListFontSize = 11;  // the default setting
         SetReminderPanelHost({nullptr, 2, 116, 1096, 588, PanelPicture{nullptr, &Ui().BackgroundPicture}});
         SetUpTimedReminderPanel(page);
         // Without a data file the page's query finds nothing; the samples follow it.
         page.On({}, platform::ui::Event::Created, [](platform::ui::EventArgs&) {
           InitialiseReminderPanel();
           ListPageReminders() = SampleReminders();
           ReminderListPages& st = ListPages();
           st.ListPageRowCount = static_cast<int>(ListPageReminders().size());
           st.ListPageScrollMax = LargestFirstRow(st.ListPageRowCount, st.ListPageVisibleRows);
           ShowReminderListPage(1);
         });
       }},
  };
}

}  // namespace workmemo
