#include "reminders/ui/today_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/database_constants.h"
#include "common/digest.h"
#include "gui_test.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/image/image.h"
#include "platform/ui/app.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_detail_window.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/reminder_ui_registration.h"
#include "reminders/ui/reminder_views.h"
#include "reminders/ui/today_window_context.h"
#include "reminders/ui/today_window_style.h"
#include "shell/data_files.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"
#include "shell/password_gate.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "shell/startup.h"
#include "test_support.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;
using testsupport::Show;

constexpr int kTaskbar = 40;

double Today(int hour, int minute = 0, int second = 0) { return MakeDateTime(2016, 2, 7, hour, minute, second); }

// The built-in skin, a fresh program directory and data file, the program's gate, and the
// clock at 2016-02-07 08:00:00.
class TodayWindowTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
    const auto skin = ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(skin.has_value());
    SkinEntryNames = skin->names;
    SkinEntryData = skin->data;
    Settings() = ProgramSettings();
    Settings().ListFontSize = 9;
    Settings().TaskbarHeight = kTaskbar;
    workmemo::Run().PasswordEntered = workmemo::Run().AskPasswordOnce = workmemo::Run().TimedReminderPageUnlocked = 0;
    platform::clock::SetForTest(Today(8));
    const std::string path = home.File("dstx2.dat");
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "dstx2.dat"));
    ASSERT_EQ(Databases().Reminders.OpenDatabase(path, kDatabasePassword), 1);
    Services().ShowMessageBox = [this](std::string_view m) { messages.emplace_back(m); };
    GateHooks hooks;
    hooks.LoadedCovers = [] { return AllLoadedCovers(); };
    gate = std::make_unique<PasswordGate>(
        workmemo::Run(), Settings(), StoredDigestCheck([] { return Databases().Reminders.ReadPasswordHash(); }), hooks);
    MainWindowAccess().Gate = [this] { return gate.get(); };
    Seams().LoadedCovers.push_back([] {
      std::vector<PasswordCover*> covers;
      if (PasswordCover* cover = TodayWindowCover()) covers.push_back(cover);
      return covers;
    });
  }
  void TearDown() override {
    CloseDetailWindow();
    CloseTodayWindow();
    Databases().Reminders.CloseDatabase();
    ListPages() = ReminderListPages();
    TodayState() = TodayWindowState();
    DetailState() = DetailWindowState();
    MainWindowAccess() = MainWindowSeam();
    Seams() = ModuleSeams();
    Services() = ShellServices();
    Settings() = ProgramSettings();
    gate.reset();
    platform::clock::ClearForTest();
    ::unsetenv("WORKMEMO_HOME");
    GuiTest::TearDown();
  }

  int Save(double start, std::string title, int mode = RepeatMode::Once, std::string content = {}) {
    ReminderRecord r;
    r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate = start;
    r.txfs = mode;
    r.txbt = std::move(title);
    r.txnr = std::move(content);
    r.txlx = "工作";
    EXPECT_EQ(Databases().Reminders.SaveReminder(r), 1);
    return r.id;
  }
  // Reminders today at 08:00 + i minutes, saved in reverse order of time, titled by their time.
  std::vector<int> SaveToday(int count) {
    std::vector<int> ids(static_cast<std::size_t>(count));
    for (int i = count - 1; i >= 0; --i)
      ids[static_cast<std::size_t>(i)] = Save(Today(9, i), "t" + std::to_string(i));
    return ids;
  }

  ui::Window& W() { return *TodayRemindersWindow(); }
  ui::AnimationBox& Box() { return W().UnitAs<ui::AnimationBox>(kTodayListBox); }
  SkinListView& List() { return TodayReminderList(); }
  std::string Caption() { return W().Unit(kTodayCaption).Text(); }
  std::string DateLabel() { return W().Unit(kTodayDateLabel).Text(); }
  void PressUnit(std::string_view unit) { drive::Press(W().Unit(unit), 3, 3); }
  void PressSprite(int sprite) {
    drive::Press(Box(), List().SpriteLeft(sprite) + 3, List().SpriteTop(sprite) + 3);
  }
  void ReleaseSprite(int sprite) {
    drive::Release(Box(), List().SpriteLeft(sprite) + 3, List().SpriteTop(sprite) + 3);
  }
  void DoubleClickRow(int row) {
    const int sprite = List().RowSprite(row);
    drive::DoubleClick(Box(), 200, List().SpriteTop(sprite) + 10);
  }
  void Tick(std::string_view timer) {
    ui::EventArgs args;
    W().Fire(timer, ui::Event::Timer, args);
  }
  std::vector<int> ShownIds() {
    std::vector<int> ids;
    for (int i = 1; i <= List().VisibleRowCount(); ++i)
      if (List().IsSpriteVisible(List().RowSprite(i))) ids.push_back(List().RowIdOfSprite(List().RowSprite(i)));
    return ids;
  }
  std::string Stored(const char* section, const char* key) { return AccessConfigItem(section, key, {}, true); }
  int CornerLeft(int width = 480) { return ui::ScreenWidth() - width - 5; }
  int CornerTop(int height = 360) { return ui::ScreenHeight() - height - kTaskbar - 5; }

  testsupport::TempDir home;
  std::unique_ptr<PasswordGate> gate;
  std::vector<std::string> messages;
};

TEST_F(TodayWindowTest, OpensOnTodayInTimeOrderWithPausedRemindersAndAScrollBarPastNineRows) {
  const std::vector<int> ids = SaveToday(12);
  ASSERT_EQ(Databases().Reminders.SetPaused(ids[4], 1), 1);
  Save(Today(8) + 1, "tomorrow");
  ShowTodayWindow();
  ASSERT_NE(TodayRemindersWindow(), nullptr);
  EXPECT_EQ(W().Width(), 480);
  EXPECT_EQ(W().Height(), 360);
  EXPECT_EQ(W().Left(), CornerLeft());
  EXPECT_EQ(W().Top(), CornerTop());
  EXPECT_EQ(Show(Caption()), Show("今天提醒"));
  EXPECT_EQ(Show(DateLabel()), Show("日期：2016-02-07"));

  const ReminderListPages& st = ListPages();
  EXPECT_EQ(st.TodayRowCount, 12);
  EXPECT_EQ(st.TodayScrollMax, 4);
  EXPECT_EQ(st.TodayVisibleRows, 9);
  EXPECT_TRUE(List().IsThumbVisible());
  EXPECT_EQ(ShownIds(), std::vector<int>(ids.begin(), ids.begin() + 9));  // time order, paused included
  EXPECT_EQ(Show(List().CellText(1, 2)), Show("09:00:00 一次 t0"));

  // Nine reminders fit: no bar.
  for (int i = 9; i < 12; ++i) {
    Databases().Reminders.Connection().Execute("delete from txsj where id=" + std::to_string(ids[static_cast<std::size_t>(i)]));
    Databases().Reminders.RemoveLoadedReminder(ids[static_cast<std::size_t>(i)]);
  }
  RefreshReminderViews();
  EXPECT_EQ(ListPages().TodayRowCount, 9);
  EXPECT_EQ(ListPages().TodayScrollMax, 1);
  EXPECT_FALSE(List().IsThumbVisible());
}

TEST_F(TodayWindowTest, DayStepsAndTheMidnightRefreshFollowTheClock) {
  platform::clock::SetForTest(Today(23, 59, 59));
  ShowTodayWindow();
  struct Step {
    const char* label;
    double clock;  // 0: unchanged
    const char* caption;
    const char* date;
  } steps[] = {
      {"明天按钮标签", 0, "明天提醒", "日期：2016-02-08"},
      // After midnight 明天 counts from the new day.
      {"明天按钮标签", MakeDateTime(2016, 2, 8, 0, 0, 1), "明天提醒", "日期：2016-02-09"},
      {"今天按钮标签", 0, "今天提醒", "日期：2016-02-08"},
      {"下月标签", 0, "明天提醒", "日期：2016-02-09"},
      {"下月标签", 0, "2016-02-10", "日期：2016-02-10"},
      {"上月标签", 0, "明天提醒", "日期：2016-02-09"},
      {"昨天按钮标签", 0, "昨天提醒", "日期：2016-02-07"},
      {"上月标签", 0, "2016-02-06", "日期：2016-02-06"},
  };
  for (const Step& s : steps) {
    if (s.clock != 0) platform::clock::SetForTest(s.clock);
    PressUnit(s.label);
    EXPECT_EQ(Show(Caption()), Show(s.caption)) << Show(s.label) << " to " << s.date;
    EXPECT_EQ(Show(DateLabel()), Show(s.date));
  }

  // The midnight check runs every second; the first tick after the date changed shows the
  // new today, also when no tick fell on 00:00:00 itself.
  EXPECT_EQ(W().UnitAs<ui::Timer>("刷新时钟").Interval(), 1000);
  Tick("刷新时钟");
  EXPECT_EQ(Show(DateLabel()), Show("日期：2016-02-08"));  // the window opened on the 7th
  PressUnit("上月标签");
  platform::clock::SetForTest(MakeDateTime(2016, 2, 8, 23, 59, 59));
  Tick("刷新时钟");
  EXPECT_EQ(Show(DateLabel()), Show("日期：2016-02-07"));  // the same date: nothing happens
  platform::clock::SetForTest(MakeDateTime(2016, 2, 9, 0, 0, 3));
  Tick("刷新时钟");
  EXPECT_EQ(Show(DateLabel()), Show("日期：2016-02-09"));
  EXPECT_EQ(Show(Caption()), Show("今天提醒"));
}

TEST_F(TodayWindowTest, TheCalendarDropsDownFromBothLabelsAndAPickedDayIsShown) {
  Save(MakeDateTime(2016, 2, 20, 10, 0, 0), "on the 20th");
  ShowTodayWindow();
  ui::Unit& frame = W().Unit(kTodayCalendarFrame);
  PressUnit("月历按钮标签");
  EXPECT_TRUE(frame.IsVisible());
  EXPECT_EQ(frame.Left(), 175);
  EXPECT_EQ(frame.Top(), 77);
  PressUnit("月历按钮标签");
  EXPECT_FALSE(frame.IsVisible());
  PressUnit(kTodayDateLabel);
  EXPECT_TRUE(frame.IsVisible());
  EXPECT_EQ(frame.Left(), 5);

  const DatePickerCalendar& picker = LoadedTodayContext()->picker;
  const int index = 20 + picker.FirstWeekday - 1;
  drive::Press(W().Unit(kTodayCalendarPanel), picker.GridLeft + (index % 7) * (picker.CellWidth + 1) + 5,
               picker.GridTop + picker.WeekdayRowHeight + (index / 7) * (picker.CellHeight + 1) + 5);
  EXPECT_FALSE(frame.IsVisible());
  EXPECT_EQ(Show(DateLabel()), Show("日期：2016-02-20"));
  EXPECT_EQ(ListPages().TodayRowCount, 1);
  // The close mark folds it up and keeps the day.
  PressUnit(kTodayDateLabel);
  drive::Press(W().Unit(kTodayCalendarPanel), 270, 5);
  EXPECT_FALSE(frame.IsVisible());
  EXPECT_EQ(Show(DateLabel()), Show("日期：2016-02-20"));
}

TEST_F(TodayWindowTest, AHeldScrollButtonWaitsFiveTicksThenStepsARowPerTick) {
  SaveToday(12);
  ShowTodayWindow();
  ui::Timer& repeat = W().UnitAs<ui::Timer>("时钟1");
  PressSprite(List().DownButton());
  EXPECT_EQ(ListPages().TodayFirstRow, 2);  // the press itself moves one row
  EXPECT_EQ(repeat.Interval(), 50);
  for (int tick = 1; tick <= 5; ++tick) {
    Tick("时钟1");
    EXPECT_EQ(ListPages().TodayFirstRow, 2) << "idle tick " << tick;
  }
  Tick("时钟1");
  EXPECT_EQ(ListPages().TodayFirstRow, 3);
  Tick("时钟1");
  EXPECT_EQ(ListPages().TodayFirstRow, 4);  // the last first row: the repeat stops
  EXPECT_EQ(repeat.Interval(), 0);
  EXPECT_EQ(List().RowIdOfSprite(List().RowSprite(1)), ListPages().TodayDayReminders[3].id);

  // Releasing stops the repeat at once; the wheel steps a row.
  PressSprite(List().UpButton());
  EXPECT_EQ(repeat.Interval(), 50);
  ReleaseSprite(List().UpButton());
  EXPECT_EQ(repeat.Interval(), 0);
  EXPECT_EQ(ListPages().TodayFirstRow, 3);
  drive::Wheel(Box(), 200, 200, 120);
  EXPECT_EQ(ListPages().TodayFirstRow, 2);
}

TEST_F(TodayWindowTest, TheDetailWindowShowsTheWholeContentAndFollowsPicks) {
  const std::string longContent = std::string(120, 'c') + "全文的结尾";
  const int first = Save(Today(9), "first", RepeatMode::Daily, longContent);
  const int second = Save(Today(10), "second", RepeatMode::Once, "short");
  SaveToday(10);
  Databases().Reminders.LoadReminders();  // the loaded list keeps only the start of a content
  ShowTodayWindow();
  ASSERT_LT(ListPages().TodayDayReminders[0].txnr.size(), longContent.size());

  // Nothing under the pointer, or an object that is no row: nothing opens.
  drive::DoubleClick(Box(), 200, 345);
  EXPECT_EQ(ReminderDetailWindow(), nullptr);

  const int firstRow = 1;  // 09:00 "first" comes before t0 at 09:00 (saved later)
  ASSERT_EQ(List().RowIdOfSprite(List().RowSprite(firstRow)), first);
  DoubleClickRow(firstRow);
  ui::Window* detail = ReminderDetailWindow();
  ASSERT_NE(detail, nullptr);
  EXPECT_EQ(detail->Width(), 450);
  EXPECT_EQ(detail->Height(), 300);
  EXPECT_EQ(Show(detail->Unit("标题标签").Text()), Show("提醒内容"));
  EXPECT_EQ(detail->Unit(kDetailTitleBox).Text(), "first");
  EXPECT_EQ(Show(detail->Unit(kDetailContentBox).Text()), Show(longContent));
  // Its 确定 looks as every other: the skin's picture alone, white on green.
  {
    const auto& ok = detail->UnitAs<ui::PictureButton>("取消提醒按钮");
    const platform::image::Image picture = platform::image::Decode(ok.NormalPicture());
    const platform::image::Image shot = platform::image::Decode(detail->SnapshotPng());
    ASSERT_EQ(picture.width, ok.Width());
    int differing = 0;
    for (int y = 0; y < ok.Height(); ++y)
      for (int x = 0; x < ok.Width(); ++x) differing += shot.at(ok.Left() + x, ok.Top() + y) != picture.at(x, y);
    EXPECT_EQ(differing, 0);
  }

  // A second pick refills the same window; a single press on a row switches it too, a press
  // on a scroll button does not.
  const int secondRow = 12;
  drive::Wheel(Box(), 200, 200, -120);
  drive::Wheel(Box(), 200, 200, -120);
  drive::Wheel(Box(), 200, 200, -120);
  drive::Wheel(Box(), 200, 200, -120);
  ASSERT_EQ(List().RowIdOfSprite(List().RowSprite(secondRow - 3)), second);
  DoubleClickRow(secondRow - 3);
  EXPECT_EQ(ReminderDetailWindow(), detail);
  EXPECT_EQ(detail->Unit(kDetailTitleBox).Text(), "second");
  EXPECT_EQ(detail->Unit(kDetailContentBox).Text(), "short");
  drive::Click(Box(), 200, List().SpriteTop(List().RowSprite(1)) + 10);
  const int rowOne = List().RowIdOfSprite(List().RowSprite(1));
  EXPECT_EQ(DetailState().DetailReminderId, rowOne);
  PressSprite(List().UpButton());
  ReleaseSprite(List().UpButton());
  EXPECT_EQ(DetailState().DetailReminderId, rowOne);

  // Both buttons only close it.
  detail->UnitAs<ui::PictureButton>("取消提醒按钮").Click();
  EXPECT_EQ(ReminderDetailWindow(), nullptr);
  DoubleClickRow(1);
  ASSERT_NE(ReminderDetailWindow(), nullptr);
  ReminderDetailWindow()->UnitAs<ui::PictureButton>("关闭按钮").Click();
  EXPECT_EQ(ReminderDetailWindow(), nullptr);
  EXPECT_EQ(Databases().Reminders.CountReminders(), 12);

  // A reminder deleted meanwhile shows empty texts and no message.
  DetailState().DetailReminderId = first;
  OpenDetailWindow();
  Databases().Reminders.Connection().Execute("delete from txsj where id=" + std::to_string(first));
  Databases().Reminders.RemoveLoadedReminder(first);
  ShowReminderDetail();
  EXPECT_EQ(ReminderDetailWindow()->Unit(kDetailTitleBox).Text(), "");
  EXPECT_EQ(ReminderDetailWindow()->Unit(kDetailContentBox).Text(), "");
  EXPECT_TRUE(messages.empty());
}

TEST(TodayStripTextTest, TextsOfADayPaddedCutAndNeverFewerThanTwo) {
  auto record = [](int id, std::string title) {
    ReminderRecord r;
    r.id = id;
    r.ksdate = MakeDateTime(2016, 2, 7, 8, 5, 9);
    r.txfs = RepeatMode::Daily;
    r.txbt = std::move(title);
    return r;
  };
  const std::string none = "今日没有提醒";
  EXPECT_EQ(MakeScrollTexts({}, 56), (std::vector<std::string>{none, none}));

  const std::vector<std::string> one = MakeScrollTexts({record(7, "开会")}, 56);
  const std::string row = "08:05:09 每天 开会";
  ASSERT_EQ(one.size(), 2u);
  EXPECT_EQ(one[0], " " + row + std::string(88 - row.size(), ' ') + "|7");
  EXPECT_EQ(one[1], one[0]);

  struct Case {
    std::string title;
    std::string shown;
  } cases[] = {
      {"123456789\r\nsecond", "123456789\r"},  // a break at byte 10: the first 10 bytes
      {std::string(60, 'x'), std::string(56, 'x')},
      {std::string(55, 'y') + "会议", std::string(55, 'y')},  // never half a character
      {std::string(56, 'z') + "\r\nnext", std::string(56, 'z')},  // the break lies past the budget
      {"", ""},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> texts = MakeScrollTexts({record(1, c.title), record(2, "b")}, 56);
    const std::string shownRow = "08:05:09 每天 " + c.shown;
    const std::size_t pad = shownRow.size() < 88 ? 88 - shownRow.size() : 0;
    EXPECT_EQ(Show(texts[0]), Show(" " + shownRow + std::string(pad, ' ') + "|1")) << Show(c.title);
    EXPECT_EQ(texts.size(), 2u);
  }
}

TEST_F(TodayWindowTest, TheStripClimbsRestsAndFollowsChangesOfTheDay) {
  const std::vector<int> ids = SaveToday(4);
  ShowTodayWindow();
  const int listTop = W().Top();
  W().UnitAs<ui::MenuItem>("滚动").Choose();
  EXPECT_EQ(W().Height(), 32);
  EXPECT_EQ(W().Top(), listTop + 313);
  EXPECT_TRUE(W().Unit(kTodayStripBox).IsVisible());
  EXPECT_EQ(W().UnitAs<ui::Timer>("滚动显示时钟").Interval(), 60);
  EXPECT_EQ(Stored("jtck", "xsfs"), "1");
  EXPECT_TRUE(W().UnitAs<ui::MenuItem>("滚动").IsChecked());
  EXPECT_FALSE(W().UnitAs<ui::MenuItem>("列表").IsChecked());

  // Each text climbs to the line and rests 40 ticks there; after the fourth, the first.
  TodayWindowState& st = TodayState();
  auto& strip = W().UnitAs<ui::AnimationBox>(kTodayStripBox);
  auto resting = [&] {
    for (int sprite : {st.ScrollTextSprite1, st.ScrollTextSprite2})
      if (strip.ObjectTop(sprite) == 10) return strip.ObjectText(sprite);
    return std::string();
  };
  EXPECT_EQ(resting(), st.ScrollTexts[0]);
  std::vector<std::string> rests;
  std::vector<int> gaps;  // ticks from one rest to the next: 40 at rest, then the climb
  int ticks = 0;
  for (int tick = 0; tick < 400 && rests.size() < 5; ++tick) {
    ScrollTodayStrip();
    ++ticks;
    if (st.ScrollPause == 40) {
      rests.push_back(resting());
      gaps.push_back(ticks);
      ticks = 0;
    }
  }
  EXPECT_EQ(rests, (std::vector<std::string>{st.ScrollTexts[1], st.ScrollTexts[2], st.ScrollTexts[3],
                                             st.ScrollTexts[0], st.ScrollTexts[1]}));
  // A text that leaves comes in again 32 pixels down, so the climbs alternate 30 and 35.
  EXPECT_EQ(gaps, (std::vector<int>{70, 75, 70, 75, 70}));

  // A reminder added or deleted elsewhere reaches the strip.
  std::vector<int> all = ids;
  all.push_back(Save(Today(7), "early"));
  RefreshReminderViews();
  ASSERT_EQ(st.ScrollTexts.size(), 5u);
  EXPECT_NE(st.ScrollTexts[0].find("early"), std::string::npos);
  for (int id : all) {
    Databases().Reminders.Connection().Execute("delete from txsj where id=" + std::to_string(id));
    Databases().Reminders.RemoveLoadedReminder(id);
  }
  RefreshReminderViews();
  EXPECT_EQ(st.ScrollTexts, (std::vector<std::string>{"今日没有提醒", "今日没有提醒"}));

  // Back to the list through the menu of a right click where the strip has no sprite: the
  // window grows upwards again and shows its rows.
  script->AnswerMenu("列表");
  drive::Click(strip, 470, 5, drive::Button::Right);
  EXPECT_EQ(script->Menus().size(), 1u);
  EXPECT_EQ(W().Height(), 360);
  EXPECT_EQ(W().Top(), listTop);
  EXPECT_FALSE(W().Unit(kTodayStripBox).IsVisible());
  EXPECT_EQ(W().UnitAs<ui::Timer>("滚动显示时钟").Interval(), 0);
  EXPECT_EQ(Stored("jtck", "xsfs"), "0");
}

TEST_F(TodayWindowTest, StoredSettingsApplyOnOpeningAndTheMenuStoresThem) {
  const int wide = ui::ScreenWidth();
  const int high = ui::ScreenHeight();
  struct Item {
    const char* section;
    const char* key;
    std::string value;
  };
  struct Case {
    const char* what;
    std::vector<Item> stored;
    int left, top, height, opacity;
    bool topmost;
  } cases[] = {
      {"first run", {}, CornerLeft(), CornerTop(), 360, 255, true},
      {"opacity 128", {{"dstx", "dstxtmd", "128"}}, CornerLeft(), CornerTop(), 360, 128, true},
      {"opacity 255 stays unlayered", {{"dstx", "dstxtmd", "255"}}, CornerLeft(), CornerTop(), 360, 255, true},
      {"opacity 10 stays opaque", {{"dstx", "dstxtmd", "10"}}, CornerLeft(), CornerTop(), 360, 255, true},
      {"opacity 11", {{"dstx", "dstxtmd", "11"}}, CornerLeft(), CornerTop(), 360, 11, true},
      {"not top-most", {{"dstx", "jttxzd", "0"}}, CornerLeft(), CornerTop(), 360, 255, false},
      {"saved place", {{"dstx", "jttxWzSz", "1"}, {"dstx", "jttxWzX", "100"}, {"dstx", "jttxWzY", "50"}},
       100, 50, 360, 255, true},
      {"saved place off the screen", {{"dstx", "jttxWzSz", "1"}, {"dstx", "jttxWzX", "5000"}, {"dstx", "jttxWzY", "-3"}},
       wide - 480 - 5, CornerTop(), 360, 255, true},
      {"saved place not remembered", {{"dstx", "jttxWzSz", "0"}, {"dstx", "jttxWzX", "100"}, {"dstx", "jttxWzY", "50"}},
       CornerLeft(), CornerTop(), 360, 255, true},
      {"strip style", {{"jtck", "xsfs", "1"}}, CornerLeft(), high - 32 - kTaskbar - 5, 32, 255, true},
      {"strip style at its saved place",
       {{"jtck", "xsfs", "1"}, {"dstx", "jttxWzSz", "1"}, {"dstx", "jttxWzX", "0"}, {"dstx", "jttxWzY", std::to_string(high - 32)}},
       0, high - 32, 32, 255, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::files::Remove(ConfigFilePath());
    for (const Item& item : c.stored) AccessConfigItem(item.section, item.key, item.value);
    ShowTodayWindow();
    EXPECT_EQ(W().Left(), c.left);
    EXPECT_EQ(W().Top(), c.top);
    EXPECT_EQ(W().Height(), c.height);
    EXPECT_EQ(W().Opacity(), c.opacity);
    EXPECT_EQ(W().IsTopmost(), c.topmost);
    EXPECT_EQ(W().UnitAs<ui::MenuItem>("窗口置顶显示").IsChecked(), c.topmost);
    EXPECT_EQ(Stored("dstx", "jttxzd"), c.topmost ? "1" : "0");  // written on the first run
    CloseTodayWindow();
  }

  // The menu: opacity 50% at once and stored; 100% stored as 255, which the next opening
  // leaves unlayered.
  platform::files::Remove(ConfigFilePath());
  ShowTodayWindow();
  W().UnitAs<ui::MenuItem>("透明度50").Choose();
  EXPECT_EQ(W().Opacity(), 128);
  EXPECT_EQ(Stored("dstx", "dstxtmd"), "128");
  CloseTodayWindow();
  ShowTodayWindow();
  EXPECT_EQ(W().Opacity(), 128);
  W().UnitAs<ui::MenuItem>("透明度100").Choose();
  EXPECT_EQ(Stored("dstx", "dstxtmd"), "255");

  W().UnitAs<ui::MenuItem>("窗口置顶显示").Choose();
  EXPECT_FALSE(W().IsTopmost());
  EXPECT_EQ(Settings().TodayWindowTopmost, 0);
  EXPECT_EQ(Stored("dstx", "jttxzd"), "0");

  W().Move(123, 45);
  W().UnitAs<ui::MenuItem>("记录窗口位置").Choose();
  EXPECT_EQ(Stored("dstx", "jttxWzSz"), "1");
  EXPECT_EQ(Stored("dstx", "jttxWzX"), "123");
  EXPECT_EQ(Stored("dstx", "jttxWzY"), "45");
  EXPECT_TRUE(W().UnitAs<ui::MenuItem>("记录窗口位置").IsChecked());
  W().UnitAs<ui::MenuItem>("记录窗口位置").Choose();
  EXPECT_EQ(Stored("dstx", "jttxWzSz"), "0");

  W().UnitAs<ui::MenuItem>("没提醒不显示").Choose();
  EXPECT_EQ(Stored("dstx", "mtxbxs"), "1");
  EXPECT_EQ(Settings().HideTodayWindowWhenEmpty, 1);
  W().UnitAs<ui::MenuItem>("没提醒不显示").Choose();
  EXPECT_EQ(Stored("dstx", "mtxbxs"), "0");

  // Closing writes the place even with the memory off; 关闭 of the menu closes.
  W().Move(210, 220);
  W().UnitAs<ui::MenuItem>("关闭").Choose();
  EXPECT_EQ(TodayRemindersWindow(), nullptr);
  EXPECT_EQ(Stored("dstx", "jttxWzX"), "210");
  EXPECT_EQ(Stored("dstx", "jttxWzY"), "220");
  ShowTodayWindow();
  EXPECT_EQ(W().Opacity(), 255);
}

// A menu switch that config.ini refuses says so and changes nothing: not the window, not its
// ticks, not the settings in memory.
TEST_F(TodayWindowTest, AMenuSwitchTheSettingsFileRefusesSaysSoAndChangesNothing) {
  platform::files::Remove(ConfigFilePath());
  ShowTodayWindow();
  const char* const items[] = {"透明度50", "滚动", "窗口置顶显示", "记录窗口位置", "没提醒不显示"};
  auto state = [this, &items] {
    std::string s = std::to_string(W().Opacity()) + " " + std::to_string(W().Height()) + " " +
                    std::to_string(W().Top()) + " " + std::to_string(W().IsTopmost()) + " " +
                    std::to_string(Settings().TodayWindowTopmost) + std::to_string(Settings().HideTodayWindowWhenEmpty) +
                    std::to_string(TodayState().RememberTodayPosition) + " ";
    for (const char* item : items) s += W().UnitAs<ui::MenuItem>(item).IsChecked() ? "1" : "0";
    return s + (W().UnitAs<ui::MenuItem>("列表").IsChecked() ? "1\n" : "0\n") +
           platform::files::ReadAll(ConfigFilePath()).value_or("");
  };
  const std::string before = state();
  for (const char* item : items) {
    SCOPED_TRACE(Show(item));
    messages.clear();
    platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::DiskFull);
    W().UnitAs<ui::MenuItem>(item).Choose();
    platform::files::ClearFaultsForTest();
    EXPECT_EQ(messages, std::vector<std::string>{ConfigWriteFailedMessage()});
    EXPECT_EQ(state(), before);
  }
  // Taken, the same choice changes the window.
  W().UnitAs<ui::MenuItem>("滚动").Choose();
  EXPECT_EQ(W().Height(), 32);
  EXPECT_EQ(Stored("jtck", "xsfs"), "1");
}

TEST_F(TodayWindowTest, ThePasswordPanelCoversTheListUntilTheGateAcceptsThePassword) {
  ASSERT_EQ(Databases().Reminders.StorePassword(EncodePassword("geheim")), 1);
  SaveToday(2);
  Settings().LoginByPassword = 1;
  ShowTodayWindow();
  ui::Unit& panel = W().Unit(kTodayPasswordPanel);
  ui::Unit& box = W().Unit(kTodayPasswordBox);
  EXPECT_TRUE(panel.IsVisible());
  EXPECT_EQ(panel.Left(), 2);
  EXPECT_EQ(panel.Top(), 50);
  EXPECT_EQ(panel.Width(), 476);
  EXPECT_EQ(panel.Height(), 286);

  box.SetText("wrong");
  PressUnit("透明标签3");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(Show(messages[0]), Show("密码错误，请重新输入！"));
  EXPECT_TRUE(panel.IsVisible());
  EXPECT_EQ(box.Text(), "");

  // Enter confirms like 确认; without "log in once" only the timed-reminder page unlocks.
  box.SetText("geheim");
  drive::Key(box, 13);
  EXPECT_FALSE(panel.IsVisible());
  EXPECT_FALSE(box.IsVisible());
  EXPECT_EQ(workmemo::Run().TimedReminderPageUnlocked, 1);
  EXPECT_EQ(workmemo::Run().PasswordEntered, 0);
  EXPECT_EQ(box.Text(), "");

  // With "log in once" the login is remembered and every loaded cover goes.
  CloseTodayWindow();
  ShowTodayWindow();
  ASSERT_TRUE(W().Unit(kTodayPasswordPanel).IsVisible());
  workmemo::Run().AskPasswordOnce = 1;
  W().Unit(kTodayPasswordBox).SetText("geheim");
  PressUnit("透明标签3");
  EXPECT_EQ(workmemo::Run().PasswordEntered, 1);
  EXPECT_FALSE(W().Unit(kTodayPasswordPanel).IsVisible());
  CloseTodayWindow();
  ShowTodayWindow();
  EXPECT_FALSE(W().Unit(kTodayPasswordPanel).IsVisible());
}

// The module as the program starts it: its seams, the main window's menu item and the end.
TEST_F(TodayWindowTest, TheModuleAnswersTheSeamsTicksTheMainMenuAndClosesItsWindowsAtTheEnd) {
  ProgramDatabases& data = Databases();
  for (const char* image : {"dqtx2.dat", "jsb2.dat"})
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(home.File(image), image));
  ASSERT_EQ(data.DueConnection.Open(platform::db::ConnectionText(home.File("dqtx2.dat"), kDatabasePassword)), 1);
  ASSERT_EQ(data.NotesConnection.Open(platform::db::ConnectionText(home.File("jsb2.dat"), kDatabasePassword)), 1);
  SaveToday(12);
  Save(MakeDateTime(2016, 2, 20, 10, 0, 0), "on the 20th");
  for (int k = 0; k < 20; ++k) Save(MakeDateTime(2016, 3, 1, 10, 0, 0) + k, "later " + std::to_string(k));
  ClearPageLoaders();
  Seams() = ModuleSeams();
  RegisterReminderUi();
  MainWindow& main = LoadProgramMainWindow();
  auto& item = main.Window().UnitAs<ui::MenuItem>(kTodayMainMenuItem);
  EXPECT_FALSE(item.IsChecked());

  ASSERT_TRUE(Seams().IsTodayWindowLoaded);
  EXPECT_FALSE(Seams().IsTodayWindowLoaded());
  item.Choose();
  ASSERT_NE(TodayRemindersWindow(), nullptr);
  EXPECT_TRUE(item.IsChecked());
  EXPECT_TRUE(Seams().IsTodayWindowLoaded());
  EXPECT_EQ(AllLoadedCovers(), std::vector<PasswordCover*>{TodayWindowCover()});

  // The calendar page's 查看 shows a day in the open window.
  ASSERT_TRUE(Seams().ShowTodayRemindersOn);
  Seams().ShowTodayRemindersOn(MakeDateTime(2016, 2, 20, 0, 0, 0));
  EXPECT_EQ(Show(DateLabel()), Show("日期：2016-02-20"));
  EXPECT_EQ(ListPages().TodayRowCount, 1);

  // The re-skinning: the list page keeps its first row, the today window starts again at its
  // first row of the same day.
  std::vector<int> steps;
  for (const auto& entry : Seams().RelayoutForSkin) {
    if (entry.step == kSkinReminderListPage || entry.step == kSkinTodayWindow) steps.push_back(entry.step);
  }
  EXPECT_EQ(steps, (std::vector<int>{kSkinReminderListPage, kSkinTodayWindow}));
  PressUnit("今天按钮标签");
  drive::Wheel(Box(), 200, 200, -120);
  ShowReminderListPage(3);
  for (const auto& entry : Seams().RelayoutForSkin) entry.relayout();
  EXPECT_EQ(ListPages().ListPageNumber, 3);
  EXPECT_EQ(ListPages().TodayFirstRow, 1);
  EXPECT_EQ(ListPages().TodayRowCount, 12);
  EXPECT_EQ(List().VisibleRowCount(), 9);

  // Its close button removes the tick; the day seam loads a closed window.
  W().UnitAs<ui::PictureButton>("关闭按钮").Click();
  EXPECT_EQ(TodayRemindersWindow(), nullptr);
  EXPECT_FALSE(item.IsChecked());
  EXPECT_FALSE(Seams().IsTodayWindowLoaded());
  EXPECT_TRUE(AllLoadedCovers().empty());
  Seams().ShowTodayRemindersOn(MakeDateTime(2016, 2, 20, 0, 0, 0));
  ASSERT_NE(TodayRemindersWindow(), nullptr);
  EXPECT_EQ(Show(DateLabel()), Show("日期：2016-02-20"));
  EXPECT_TRUE(item.IsChecked());

  // The end closes both windows of the module.
  DoubleClickRow(1);
  ASSERT_NE(ReminderDetailWindow(), nullptr);
  for (const auto& close : Seams().CloseLoadedWindows) close();
  EXPECT_EQ(TodayRemindersWindow(), nullptr);
  EXPECT_EQ(ReminderDetailWindow(), nullptr);
  ReleaseProgramMainWindow();
  ClearPageLoaders();
  data.DueConnection.Close();
  data.NotesConnection.Close();
  ListPageReminders().clear();
}

}  // namespace
}  // namespace workmemo
