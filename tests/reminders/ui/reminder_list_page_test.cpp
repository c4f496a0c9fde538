#include "reminders/ui/reminder_list_page.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/database_constants.h"
#include "gui_test.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/image/image.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/ui/reminder_ui_registration.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "shell/main_window.h"
#include "shell/module_seams.h"
#include "shell/page_registry.h"
#include "shell/data_files.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "test_support.h"
#include "ui/skin_list_view_box.h"
#include "ui/skin_package.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;
using testsupport::Show;

ReminderRecord Record(int id, double start, int mode, std::string title, std::string category = "工作") {
  ReminderRecord r;
  r.id = id;
  r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate = start;
  r.txfs = mode;
  r.txbt = std::move(title);
  r.txlx = std::move(category);
  return r;
}

// The built-in skin loaded, a fresh data file opened by the program's store, and the list
// page loaded and set up as the main window does it.
class ReminderPageTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    const auto skin = ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(skin.has_value());
    SkinEntryNames = skin->names;
    SkinEntryData = skin->data;
    Settings().ListFontSize = 9;
    platform::clock::SetForTest(MakeDateTime(2016, 2, 7, 8, 0, 0));
    const std::string dataDir = home.File("data");
    ASSERT_TRUE(platform::files::MakeDirs(dataDir));
    const std::string path = dataDir + "/dstx2.dat";
    ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "dstx2.dat"));
    ASSERT_EQ(Databases().Reminders.OpenDatabase(path, kDatabasePassword), 1);
    Services().ShowMessageBox = [this](std::string_view m) { messages.emplace_back(m); };
    PanelActions().SortRemindersByField = [this](ReminderList&, std::string_view field) {
      sortFields.emplace_back(field);
    };
    PanelActions().OpenModifyReminderEditor = [this] { ++modifyOpened; };
    page = LoadWindow("TimedReminderPanel");
    SetReminderPanelHost({});
    SetUpTimedReminderPanel(*page);
    page->Open();
  }
  void TearDown() override {
    page->Close();
    page.reset();
    Databases().Reminders.CloseDatabase();
    ListPageReminders().clear();
    ListPages() = ReminderListPages();
    Services() = ShellServices();
    PanelActions() = ReminderPanelActions();
    platform::clock::ClearForTest();
    GuiTest::TearDown();
  }

  SkinListView& List() { return TimedReminderList(); }
  ui::AnimationBox& Box() { return page->UnitAs<ui::AnimationBox>(kReminderListBox); }
  int MidY(int sprite) { return List().SpriteTop(sprite) + List().SpriteHeight(sprite) / 2; }

  // The page's records replaced in place, as the page's actions do, and the page redrawn.
  void Hold(ReminderList records, int first = 1) {
    ListPageReminders() = std::move(records);
    ReminderListPages& st = ListPages();
    st.ListPageRowCount = static_cast<int>(ListPageReminders().size());
    st.ListPageScrollMax = LargestFirstRow(st.ListPageRowCount, st.ListPageVisibleRows);
    ShowReminderListPage(first);
  }
  ReminderList Numbered(int count) {
    ReminderList list;
    for (int k = 1; k <= count; ++k)
      list.push_back(Record(10000 + k, MakeDateTime(2016, 3, 1, 8, 0, 0) + k, RepeatMode::Once,
                            "title " + std::to_string(k)));
    return list;
  }
  std::vector<int> ShownIds() {
    std::vector<int> ids;
    for (int i = 1; i <= List().VisibleRowCount(); ++i)
      if (List().IsSpriteVisible(List().RowSprite(i))) ids.push_back(List().RowIdOfSprite(List().RowSprite(i)));
    return ids;
  }
  int Save(ReminderRecord r) {
    r.id = 0;
    EXPECT_EQ(Databases().Reminders.SaveReminder(r), 1);
    return r.id;
  }

  testsupport::TempDir home;
  std::unique_ptr<ui::Window> page;
  std::vector<std::string> messages, sortFields;
  int modifyOpened = 0;
};

TEST_F(ReminderPageTest, TheListIsBuiltAsThePageNeedsIt) {
  EXPECT_EQ(ListPages().ListPageVisibleRows, 19);
  EXPECT_EQ(List().ListWidth(), 1096);
  EXPECT_EQ(List().ListHeight(), 588 - 46);
  EXPECT_EQ(List().ColumnCount(), 6);
  EXPECT_EQ(Show(List().QueryHeaderItem(2)), Show("提醒日期"));
  EXPECT_EQ(Show(List().QueryHeaderItem(6)), Show("提醒标题"));
  // Each caption is centred over its column both ways, as the centred cells below it are.
  for (int c = 2; c <= 6; ++c) {
    const int caption = List().HeaderItem(c);
    EXPECT_EQ(List().SpriteLeft(caption),
              List().ColumnLeft(c) + (List().ColumnWidth(c) - List().SpriteWidth(caption)) / 2 + 1) << c;
    EXPECT_EQ(List().SpriteTop(caption), (List().RowHeight() - List().SpriteHeight(caption)) / 2 + 2) << c;
  }
  EXPECT_EQ(page->Unit("界面功能框_提醒").Top(), 588 - 30 - 8);
  // An empty data file: no rows, no scroll bar.
  EXPECT_EQ(ListPages().ListPageRowCount, 0);
  EXPECT_TRUE(ShownIds().empty());
  EXPECT_FALSE(List().IsThumbVisible());
}

TEST_F(ReminderPageTest, FirstRowsAreClampedToTheLargestFirstRow) {
  struct Case {
    int records, first, expectedFirst, scrollMax;
    bool bar;
  } cases[] = {{40, 1, 1, 22, true}, {40, 30, 22, 22, true}, {40, 0, 1, 22, true},
               {25, 10, 7, 7, true}, {19, 5, 1, 1, false},   {0, 3, 1, 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.records) + " records from " + std::to_string(c.first));
    Hold(Numbered(c.records), c.first);
    EXPECT_EQ(ListPages().ListPageScrollMax, c.scrollMax);
    EXPECT_EQ(ListPages().ListPageNumber, c.expectedFirst);
    EXPECT_EQ(List().ScrollMax(), c.scrollMax);
    EXPECT_EQ(List().IsThumbVisible(), c.bar);
    const std::vector<int> ids = ShownIds();
    const int shown = std::min(19, c.records);
    ASSERT_EQ(static_cast<int>(ids.size()), shown);
    if (shown > 0) {
      EXPECT_EQ(ids.front(), 10000 + c.expectedFirst);
      EXPECT_EQ(ids.back(), 10000 + c.expectedFirst + shown - 1);
    }
  }
}

TEST_F(ReminderPageTest, RowsShowDateTimeModeCategoryAndCutTitles) {
  ReminderList records = {
      Record(1, MakeDateTime(2016, 2, 7, 8, 5, 9), RepeatMode::Daily, std::string(80, 'x'), "工作事务安排计划提醒"),
      Record(2, MakeDateTime(2016, 2, 8, 8, 5, 9), RepeatMode::Once, std::string(75, 'y') + "提醒", "a工作事务安排计划"),
      Record(3, MakeDateTime(2016, 2, 9, 8, 5, 9), RepeatMode::Once, "ten bytes!\r\nsecond line", "工作\r\n生活"),
      Record(4, MakeDateTime(2016, 2, 9, 9, 0, 0), RepeatMode::Once, std::string(76, 'z'), ""),
  };
  Hold(records);
  EXPECT_EQ(List().CellText(1, 2), "2016-02-07");
  EXPECT_EQ(List().CellText(1, 3), "08:05:09");
  EXPECT_EQ(Show(List().CellText(1, 4)), Show("每天"));
  EXPECT_EQ(List().CellText(1, 6), std::string(76, 'x') + "...");
  EXPECT_EQ(Show(List().CellText(1, 5)), Show("工作事务安排计划..."));
  // The 76th byte would be half a character: the cut falls one byte earlier.
  EXPECT_EQ(List().CellText(2, 6), std::string(75, 'y') + "...");
  EXPECT_EQ(Show(List().CellText(2, 5)), Show("a工作事务安排计..."));
  // A line break before the limit ends the text; its carriage return stays.
  EXPECT_EQ(List().CellText(3, 6), "ten bytes!\r");
  EXPECT_EQ(Show(List().CellText(3, 5)), Show("工作\r"));
  EXPECT_EQ(List().CellText(4, 6), std::string(76, 'z'));  // exactly the limit: uncut
  EXPECT_EQ(List().CellText(4, 5), "");
  // Icons drawn at 24 x 24 from the 48 x 48 pictures.
  EXPECT_EQ(List().SpriteWidth(List().CellSprite(1, 1)), 24);
  EXPECT_EQ(List().SpriteHeight(List().CellSprite(1, 1)), 24);
}

TEST_F(ReminderPageTest, SelectionFollowsItsRecordAndHidesWhileScrolledAway) {
  ReminderList records = Numbered(40);
  Hold(records);
  drive::Click(Box(), 600, MidY(List().RowSprite(5)));
  EXPECT_EQ(List().SelectedId(), 10005);
  const int bar = List().SelectionBar();
  EXPECT_TRUE(List().IsSpriteVisible(bar));

  // A record added in front moves the selected one a row down; the bar goes with it.
  records.insert(records.begin(), Record(99999, MakeDateTime(2016, 1, 1, 0, 0, 0), RepeatMode::Once, "new"));
  Hold(records, ListPages().ListPageNumber);
  EXPECT_EQ(List().SelectedId(), 10005);
  EXPECT_EQ(List().SpriteTop(bar), List().SpriteTop(List().RowSprite(6)));

  // Wheel turns scroll it away and back.
  for (int i = 0; i < 6; ++i) drive::Wheel(Box(), 600, 200, -120);
  EXPECT_EQ(ListPages().ListPageNumber, 7);
  EXPECT_FALSE(List().IsSpriteVisible(bar));
  drive::Wheel(Box(), 600, 200, 120);
  EXPECT_TRUE(List().IsSpriteVisible(bar));
  EXPECT_EQ(List().SpriteTop(bar), List().SpriteTop(List().RowSprite(1)));

  // A double click on a row opens it for editing.
  drive::DoubleClick(Box(), 600, MidY(List().RowSprite(3)));
  EXPECT_EQ(modifyOpened, 1);
}

TEST(ListIconTest, EightStatesHaveTheirOwnPictureAndAnyOtherStateTheFirst) {
  const auto skin = ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
  ASSERT_TRUE(skin.has_value());
  SkinEntryNames = skin->names;
  SkinEntryData = skin->data;
  std::vector<std::string> pictures;
  for (int state = 0; state < 8; ++state) {
    const std::string png = GetListIcon(state);
    const platform::image::Image img = platform::image::Decode(png);
    EXPECT_EQ(img.width, 48) << state;
    EXPECT_EQ(img.height, 48) << state;
    for (const std::string& earlier : pictures) EXPECT_NE(png, earlier) << state;
    pictures.push_back(png);
  }
  for (int other : {8, -1, 100}) EXPECT_EQ(GetListIcon(other), pictures[0]) << other;
}

TEST_F(ReminderPageTest, ThePageListsTheStoresRemindersAndItsQueries) {
  const int later = Save(Record(0, MakeDateTime(2016, 2, 9, 9, 0, 0), RepeatMode::Daily, "O'Brien 来电", "生活"));
  const int earlier = Save(Record(0, MakeDateTime(2016, 2, 8, 10, 0, 0), RepeatMode::Once, "提交报告"));
  ReminderRecord paused = Record(0, MakeDateTime(2016, 2, 10, 7, 0, 0), RepeatMode::Weekly, "周会");
  paused.txweek = "2";
  const int pausedId = Save(paused);
  ASSERT_EQ(Databases().Reminders.SetPaused(pausedId, 1), 1);
  workmemo::Run().EditedReminderId = 77;

  RefreshReminderList();
  EXPECT_EQ(ShownIds(), (std::vector<int>{earlier, later, pausedId}));
  EXPECT_EQ(ListPages().ListPageRowCount, 3);
  EXPECT_EQ(workmemo::Run().EditedReminderId, 0);
  EXPECT_EQ(Show(List().CellText(2, 6)), Show("O'Brien 来电"));
  EXPECT_EQ(Show(List().CellText(3, 4)), Show("每周"));

  // A query by category, then the refresh sprite brings every reminder back.
  auto& combo = page->UnitAs<ui::ComboBox>("查询项目类型组合框");
  combo.SetCurrentIndex(2);
  ui::EventArgs chosen;
  page->Fire("查询项目类型组合框", ui::Event::Changed, chosen);  // as the user's choice reports it
  EXPECT_EQ(Show(page->Unit(kReminderQueryFieldLabel).Text()), Show("提醒类型："));
  page->Unit(kReminderQueryBox).SetText("生活");
  drive::Key(page->Unit(kReminderQueryBox), 13);
  EXPECT_EQ(ShownIds(), std::vector<int>{later});
  ShowAllReminders();
  EXPECT_EQ(ShownIds().size(), 3u);
  EXPECT_EQ(page->Unit(kReminderQueryBox).Text(), "");

  // An empty query box asks for a text and leaves the list alone.
  page->UnitAs<ui::PictureButton>("定时提醒查询按钮").Click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(Show(messages[0]), Show("请输入要查询的提醒标题！"));
  EXPECT_EQ(ShownIds().size(), 3u);

  // A press on a column caption lists everything again, sorted by that column.
  drive::Press(Box(), List().SpriteLeft(List().HeaderCell(6)) + 5, MidY(List().HeaderCell(6)));
  ASSERT_FALSE(sortFields.empty());
  EXPECT_EQ(Show(sortFields.back()), Show("提醒标题："));
}

// The page with its real sort, as the program runs it.
class SortedReminderPageTest : public ReminderPageTest {
 protected:
  void SetUp() override {
    ReminderPageTest::SetUp();
    PanelActions().SortRemindersByField = ReminderPanelActions().SortRemindersByField;
  }
  void Query(int fieldIndex, std::string_view text) {
    page->UnitAs<ui::ComboBox>("查询项目类型组合框").SetCurrentIndex(fieldIndex);
    ui::EventArgs chosen;
    page->Fire("查询项目类型组合框", ui::Event::Changed, chosen);
    page->Unit(kReminderQueryBox).SetText(text);
    drive::Key(page->Unit(kReminderQueryBox), 13);
  }
  void PressHeader(int column) {
    drive::Press(Box(), List().SpriteLeft(List().HeaderCell(column)) + 5, MidY(List().HeaderCell(column)));
    drive::Release(Box(), List().SpriteLeft(List().HeaderCell(column)) + 5, MidY(List().HeaderCell(column)));
  }
  std::vector<std::string> ShownTitles() {
    std::vector<std::string> titles;
    for (std::size_t i = 1; i <= ShownIds().size(); ++i) titles.push_back(List().CellText(static_cast<int>(i), 6));
    return titles;
  }
};

TEST_F(SortedReminderPageTest, AHeaderSortListsEverythingSortedWhileTheSearchStaysInItsBox) {
  const double day = MakeDateTime(2016, 3, 1, 8, 0, 0);
  const int b = Save(Record(0, day, RepeatMode::Once, "b", "生活"));
  const int upperC = Save(Record(0, day + 1, RepeatMode::Daily, "C", "工作"));
  const int a = Save(Record(0, day + 2, RepeatMode::Once, "a", "生活"));
  // Contents that differ only past the 100 bytes a load keeps.
  ReminderRecord first = Record(0, day + 3, RepeatMode::Once, "long 1");
  first.txnr = std::string(110, 'x') + "b";
  ReminderRecord second = Record(0, day + 4, RepeatMode::Once, "long 2");
  second.txnr = std::string(110, 'x') + "a";
  const int long1 = Save(first), long2 = Save(second);

  Query(2, "生活");
  EXPECT_EQ(ShownIds(), (std::vector<int>{b, a}));
  PressHeader(6);
  // Case-sensitive: "C" before "a" and "b"; "long 1" and "long 2" after them.
  EXPECT_EQ(ShownIds(), (std::vector<int>{upperC, a, b, long1, long2}));
  EXPECT_EQ(Show(page->Unit(kReminderQueryBox).Text()), Show("生活"));
  EXPECT_EQ(Show(page->Unit(kReminderQueryFieldLabel).Text()), Show("提醒类型："));

  RefreshReminderList({}, {}, "提醒内容：");
  const std::vector<int> byContent = ShownIds();
  EXPECT_EQ(std::vector<int>(byContent.end() - 2, byContent.end()), (std::vector<int>{long2, long1}));
  EXPECT_EQ(ListPageReminders().back().txnr, first.txnr);  // whole contents on the page

  // 提醒方式 lists the reminders whose repeat mode's name holds the text.
  Query(3, "每天");
  EXPECT_EQ(ShownIds(), std::vector<int>{upperC});
  Query(3, "农历");
  EXPECT_TRUE(ShownIds().empty());
  EXPECT_TRUE(messages.empty());
}

// The today window's list as that window builds it: nine lines of 28 pixels, no header.
class DayListTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    Settings().ListFontSize = 9;
    platform::clock::SetForTest(MakeDateTime(2016, 2, 7, 8, 0, 0));
    window = ui::Window::FromJson(R"({"title": "t", "width": 300, "height": 400, "units": [
        {"kind": "animation_box", "name": "Box", "geometry": [0, 0, 300, 400]}]})", "DayWindow");
    surface = std::make_unique<AnimationBoxSurface>(window->UnitAs<ui::AnimationBox>("Box"));
    TodayReminderList() = SkinListView();
    TodayReminderList().Create(*surface, 9, 2, 0, 83, 300, 295, 28, false, EmbeddedListPictures());
    TodayReminderList().SetColumn(1, 2, 4, 24, 23);
    TodayReminderList().SetColumn(2, 32, 8);
  }
  void TearDown() override {
    TodayReminderList() = SkinListView();
    surface.reset();
    window.reset();
    ListPages() = ReminderListPages();
    platform::clock::ClearForTest();
    GuiTest::TearDown();
  }
  std::unique_ptr<ui::Window> window;
  std::unique_ptr<AnimationBoxSurface> surface;
};

TEST_F(DayListTest, RowsJoinTimeModeAndTitleFromTheFirstRowOn) {
  ReminderListPages& st = ListPages();
  for (int k = 1; k <= 12; ++k)
    st.TodayDayReminders.push_back(Record(k, MakeDateTime(2016, 2, 7, 8, 5, 9), RepeatMode::Daily, "短标题"));
  st.TodayDayReminders[3].txbt = "ten bytes!\r\nsecond line";
  st.TodayDayReminders[4].txbt = std::string(60, 'x');
  st.TodayRowCount = 12;
  st.TodayScrollMax = LargestFirstRow(12, st.TodayVisibleRows);
  ShowDayListPage(10);
  EXPECT_EQ(st.TodayFirstRow, 4);
  SkinListView& list = TodayReminderList();
  EXPECT_EQ(list.RowIdOfSprite(list.RowSprite(1)), 4);
  EXPECT_EQ(list.CellText(1, 2), "08:05:09 \xC3\xBF\xCC\xEC ten bytes!\r");
  EXPECT_EQ(list.CellText(2, 2), "08:05:09 \xC3\xBF\xCC\xEC " + std::string(52, 'x') + "...");
  EXPECT_EQ(Show(list.CellText(3, 2)), Show("08:05:09 每天 短标题"));
  EXPECT_TRUE(list.IsThumbVisible());
  EXPECT_EQ(list.ScrollMax(), 4);

  // Fewer reminders than lines: the rest hidden, no scroll bar.
  st.TodayDayReminders.resize(2);
  st.TodayRowCount = 2;
  st.TodayScrollMax = 1;
  ShowDayListPage(4);
  EXPECT_EQ(st.TodayFirstRow, 1);
  EXPECT_FALSE(list.IsSpriteVisible(list.RowSprite(3)));
  EXPECT_FALSE(list.IsThumbVisible());
}

}  // namespace
}  // namespace workmemo

namespace workmemo {
namespace {

// The page as the main window loads it once this module has registered it.
TEST(ReminderPageRegistrationTest, TheMainWindowLoadsTheListPageOverItsPageArea) {
  testsupport::TempDir home;
  ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
  auto script = std::make_unique<platform::ui::testing::Script>();
  const auto skin = ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
  ASSERT_TRUE(skin.has_value());
  SkinEntryNames = skin->names;
  SkinEntryData = skin->data;
  Settings().ListFontSize = 11;
  ProgramDatabases& data = Databases();
  for (const char* image : {"dstx2.dat", "dqtx2.dat", "jsb2.dat"})
    ASSERT_TRUE(platform::files::WriteAll(home.File(image), *platform::files::ReadResource(std::string(":/db/") + image)));
  ASSERT_EQ(data.Reminders.OpenDatabase(home.File("dstx2.dat"), kDatabasePassword), 1);
  ASSERT_EQ(data.DueConnection.Open(platform::db::ConnectionText(home.File("dqtx2.dat"), kDatabasePassword)), 1);
  ASSERT_EQ(data.NotesConnection.Open(platform::db::ConnectionText(home.File("jsb2.dat"), kDatabasePassword)), 1);
  ReminderRecord r = Record(0, MakeDateTime(2030, 1, 2, 3, 4, 5), RepeatMode::Once, "registered");
  ASSERT_EQ(data.Reminders.SaveReminder(r), 1);

  ClearPageLoaders();
  Seams() = ModuleSeams();
  RegisterReminderUi();
  {
    MainWindow main(data, workmemo::Run(), Settings());
    main.Load();
    ui::Window* page = main.Page(kReminderPanelName);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page, TimedReminderPanelWindow());
    EXPECT_EQ(page->Left(), main.PanelArea().left);
    EXPECT_EQ(page->Top(), main.PanelArea().top);
    EXPECT_EQ(TimedReminderList().RowIdOfSprite(TimedReminderList().RowSprite(1)), r.id);
    main.SetListFontSize(9);
    EXPECT_EQ(TimedReminderList().CellText(1, 6), "registered");
  }
  ClearPageLoaders();
  Seams() = ModuleSeams();
  data.Reminders.CloseDatabase();
  data.DueConnection.Close();
  data.NotesConnection.Close();
  ListPageReminders().clear();
  ListPages() = ReminderListPages();
  ::unsetenv("WORKMEMO_HOME");
}

}  // namespace
}  // namespace workmemo
