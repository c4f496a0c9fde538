#include "reminders/ui/reminder_editor.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/lunar_names.h"
#include "editor_fixture.h"
#include "platform/lunar/lunar.h"
#include "reminders/ui/reminder_editor_units.h"

namespace workmemo::testing {
namespace {

using testsupport::Show;

TEST_F(EditorTest, OpensForANewReminderOfNowWithTheLastSound) {
  AccessConfigItem("tx", "txyy", "/home/u/音乐/闹钟.mp3");
  OpenEditor();
  EXPECT_EQ(Show(T("标题标签")), Show("添加定时提醒"));
  EXPECT_EQ(Show(T("提醒方式框")), Show("一次"));
  EXPECT_EQ(Show(T("提醒任务框")), Show("提醒"));
  EXPECT_EQ(Show(T("提醒类型框")), Show("普通提醒"));
  EXPECT_EQ(Show(T("提醒音乐框")), Show("/home/u/音乐/闹钟.mp3"));
  EXPECT_EQ(Date(), "2016-02-10");
  EXPECT_EQ(Time(), "09:30:00");
  EXPECT_EQ(EndDate(), "2016-02-10");
  EXPECT_FALSE(Shown("结束日期外形框"));
  EXPECT_FALSE(Shown("年框1"));
  EXPECT_FALSE(Shown("结束时间外形框"));
  EXPECT_TRUE(Shown("提前时间选择框"));
  EXPECT_TRUE(Shown("提前时间框"));
  EXPECT_FALSE(Shown("关机延时选择框"));
  EXPECT_FALSE(Shown("强制执行选择框"));
  for (const char* box : {"星期选择框", "周一选择按钮", "每月选择框", "循环选择框", "重复时间框", "农历一次选择框"})
    EXPECT_FALSE(Shown(box)) << Show(box);
  EXPECT_FALSE(Shown("月历外形框"));
  // The stacked boxes lie at one place and show the background under it.
  for (const char* box : {"每月选择框", "每年选择框", "循环选择框", "农历每年选择框"}) {
    EXPECT_EQ(W().Unit(box).Left(), W().Unit("星期选择框").Left());
    EXPECT_EQ(W().Unit(box).Top(), W().Unit("星期选择框").Top());
    EXPECT_FALSE(W().UnitAs<ui::PictureBox>(box).Picture().empty());
  }
  EXPECT_EQ(W().Unit("关机延时选择框").Top(), W().Unit("提前时间选择框").Top());
  EXPECT_EQ(W().Width(), 860);
  EXPECT_EQ(W().Height(), 546);
  // A box that loses the focus once the window has closed runs nothing: its year is left
  // uncorrected.
  Set("年框", "1900");
  window->Close();
  Fire("年框", ui::Event::FocusLost);
  EXPECT_EQ(T("年框"), "1900");
}

TEST_F(EditorTest, RequiredUnitsAreAskedForOneAtATimeAndNothingIsSaved) {
  struct Case {
    const char* what;
    std::function<void(EditorTest&)> fill;
    std::string message;
  } cases[] = {
      {"no second", [](EditorTest& t) { t.Set("秒框", ""); }, "请输入 秒"},
      {"no year", [](EditorTest& t) { t.Set("年框", ""); t.Set("秒框", ""); }, "提醒输入 年份"},
      {"range without end month",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "每天");
         t.Choose("提醒日期组合框", "开始日期");
         t.Set("月框1", "");
       },
       "提醒输入 月份"},
      {"no category", [](EditorTest& t) { t.Set("提醒类型框", ""); }, "请输入提醒类型！"},
      {"monthly without day",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "每月");
         t.Set("提醒日选择框_每月", "");
       },
       "请选择 提醒日"},
      {"interval without amount",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "循环");
         t.Set("重复时间框", "");
       },
       "请输入 重复时间"},
      {"interval of 0",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "循环");
         t.Set("重复时间框", "0");
       },
       "重复时间必须大于0！"},
      // Stored as its whole part, half a minute would be an interval of 0.
      {"interval of 0.5",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "循环");
         t.Set("重复时间框", "0.5");
       },
       "重复时间必须大于0！"},
      {"lunar once without month",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "农历(一次)");
         t.Set("提醒月选择框_农历一次", "");
       },
       "请选择 农历月份"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenEditor();
    messages.clear();
    c.fill(*this);
    Ok();
    EXPECT_EQ(Show(LastMessage()), Show(c.message));
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(Rows(), 0);
    window->Close();
  }
}

TEST_F(EditorTest, WeekdayListsTickAndReadTheButtons) {
  OpenEditor();
  Choose("提醒方式组合框", "每周");
  struct Case {
    bool skipped;  // the list names the days skipped
    std::string list, ticked, unticked;
  } cases[] = {
      {false, "2-4", "2-4", "1-3-5-6-7"},       {true, "1-7", "2-3-4-5-6", "1-7"},
      {false, "8--3-x-77", "3", "1-2-4-5-6-7"}, {true, "", "1-2-3-4-5-6-7", ""},
      {false, "", "", "1-2-3-4-5-6-7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    if (c.skipped) {
      ApplyNoWeekdayList(c.list);
    } else {
      ApplyWeekdayList(c.list);
    }
    EXPECT_EQ(BuildWeekdayList(), c.ticked);
    EXPECT_EQ(BuildNoWeekdayList(), c.unticked);
    const char* buttons[] = {"周日选择按钮", "周一选择按钮", "周二选择按钮", "周三选择按钮",
                             "周四选择按钮", "周五选择按钮", "周六选择按钮"};
    for (int d = 1; d <= 7; ++d) EXPECT_EQ(Editor().WeekdayTicked[d - 1] == 1, Ticked(buttons[d - 1])) << d;
  }
}

TEST_F(EditorTest, TheLastTickedWeekdayStaysTickedInBothWeekdayModes) {
  OpenEditor();
  Choose("提醒方式组合框", "每周");  // on a Wednesday: 周三 alone
  EXPECT_EQ(BuildWeekdayList(), "4");
  Click("周三选择按钮");
  EXPECT_EQ(Show(LastMessage()), Show("[每周]提醒，至少要选中一个星期！"));
  EXPECT_TRUE(Ticked("周三选择按钮"));
  EXPECT_EQ(Date(), "2016-02-10");

  // A daily reminder that skipped every day would never fire: 周二 is kept like 周一.
  Choose("提醒方式组合框", "每天");
  ApplyWeekdayList("3");
  messages.clear();
  Click("周二选择按钮");
  EXPECT_TRUE(Ticked("周二选择按钮"));
  ApplyWeekdayList("2");
  Click("周一选择按钮");
  EXPECT_TRUE(Ticked("周一选择按钮"));
  EXPECT_EQ(messages.size(), 2u);

  // Ticking moves the single date to the first ticked day of this Sunday-to-Saturday week.
  Click("周六选择按钮");
  EXPECT_EQ(Date(), "2016-02-08");
  Click("周一选择按钮");
  EXPECT_EQ(Date(), "2016-02-13");
  EXPECT_EQ(EndDate(), "2016-02-13");
  Choose("提醒日期组合框", "开始日期");
  Click("周日选择按钮");
  EXPECT_EQ(Date(), "2016-02-10");
}

// What the units say about a reminder: every shown unit that holds a part of it.
std::vector<std::string> Units(const EditorTest& t) {
  static const char* const kUnits[] = {
      "提醒方式框", "提醒任务框", "提醒类型框", "提醒日期标签", "提醒时间标签", "年框", "月框", "日框", "时框",
      "分框", "秒框", "年框1", "月框1", "日框1", "时框1", "分框1", "秒框1", "提醒标题框", "提醒内容框",
      "提前时间框", "提前单位标签", "关闭窗口框", "关机延时框", "提醒日选择框_每月", "提醒月选择框_每年",
      "提醒日选择框_每年", "重复时间框", "重复单位标签", "重复次数框", "重复次数单位标签",
      "提醒年选择框_农历一次", "提醒月选择框_农历一次", "提醒日选择框_农历一次", "提醒日选择框_农历每月",
      "提醒月选择框_农历每年", "提醒日选择框_农历每年"};
  std::vector<std::string> shown;
  for (const char* unit : kUnits) {
    if (t.W().Unit(unit).IsVisible()) shown.push_back(Show(unit) + "=" + Show(t.W().Unit(unit).Text()));
  }
  if (t.W().Unit("星期选择框").IsVisible()) shown.push_back("weekdays=" + BuildWeekdayList());
  return shown;
}

TEST_F(EditorTest, EachRepeatModeIsSavedLoadedBackAndFiresAtItsSecond) {
  struct Case {
    const char* what;
    std::function<void(EditorTest&)> fill;
    double fires;
    double silent;  // a second it must not fire in
  } cases[] = {
      {"once", [](EditorTest& t) { t.SetDate("2016", "02", "11"); t.SetTime("08", "00", "00"); },
       At(2016, 2, 11, 8), At(2016, 2, 12, 8)},
      {"daily but Saturday and Sunday",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "每天");
         t.Click("周六选择按钮");
         t.Click("周日选择按钮");
         t.SetTime("07", "45", "00");
       },
       At(2016, 2, 11, 7, 45), At(2016, 2, 13, 7, 45)},
      {"weekly on Monday and Wednesday",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "每周");
         t.Click("周一选择按钮");
         t.SetTime("08", "00", "00");
       },
       At(2016, 2, 15, 8), At(2016, 2, 16, 8)},
      {"monthly on the 31st",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "每月");
         t.Choose("日选择组合框_每月", "31");
         t.SetTime("09", "00", "00");
       },
       At(2016, 2, 29, 9), At(2016, 2, 28, 9)},
      {"yearly on 1 March",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "每年");
         t.Choose("月份选择组合框_每年", "3");
         t.Choose("日选择组合框_每年", "1");
         t.SetTime("06", "30", "00");
       },
       At(2016, 3, 1, 6, 30), At(2016, 3, 2, 6, 30)},
      {"every 30 minutes from 8 to 18",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "循环");
         t.Set("重复时间框", "30");
         t.Choose("提醒时间组合框", "开始时间");
         t.SetTime("08", "00", "00");
         t.Set("时框1", "18");
         t.Set("分框1", "00");
         t.Set("秒框1", "00");
       },
       At(2016, 2, 10, 10), At(2016, 2, 10, 10, 15)},
      {"every 5 minutes from the save",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "循环");
         t.Set("重复时间框", "5");
         t.Choose("重复单位选择组合框", "分~");
       },
       At(2016, 2, 10, 9, 35), At(2016, 2, 10, 9, 37)},
      {"countdown of 0:01:30",
       [](EditorTest& t) {
         t.Choose("提醒时间组合框", "倒计时间");
         t.SetTime("00", "01", "30");
       },
       At(2016, 2, 10, 9, 31, 30), At(2016, 2, 10, 9, 31, 29)},
      {"lunar once on 正月十五",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "农历(一次)");
         t.Choose("日选择组合框_农历一次", "十五");
         t.SetTime("21", "00", "00");
       },
       At(2016, 2, 22, 21), At(2016, 3, 23, 21)},
      {"lunar monthly on the 15th",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "农历(每月)");
         t.Choose("日选择组合框_农历每月", "十五");
         t.SetTime("20", "00", "00");
       },
       At(2016, 3, 23, 20), At(2016, 3, 22, 20)},
      {"lunar yearly on 正月十五",
       [](EditorTest& t) {
         t.Choose("提醒方式组合框", "农历(每年)");
         t.Choose("日选择组合框_农历每年", "十五");
         t.SetTime("20", "00", "00");
       },
       At(2017, 2, 11, 20), At(2016, 3, 23, 20)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetNow(At(2016, 2, 10, 9, 30, 0));
    OpenEditor();
    c.fill(*this);
    Set("提醒标题框", c.what);
    Set("提醒内容框", std::string(c.what) + "\r\n!");
    const std::vector<std::string> before = Units(*this);
    messages.clear();
    Ok();
    ASSERT_TRUE(messages.empty()) << Show(LastMessage());
    ASSERT_EQ(Rows(), 1);
    const int id = ListPageReminders().back().id;
    EXPECT_EQ(Show(T("标题标签")), Show("添加定时提醒"));  // an add stays open for the next one
    window->Close();

    OpenEditor(id);
    EXPECT_EQ(Show(T("标题标签")), Show("修改定时提醒"));
    EXPECT_EQ(Units(*this), before);
    window->Close();

    EXPECT_EQ(FiringAt(c.fires), std::vector<int>{id}) << Stamp(c.fires);
    EXPECT_EQ(FiringAt(c.silent), std::vector<int>{}) << Stamp(c.silent);
    ASSERT_EQ(Databases().Reminders.Connection().Execute("delete from txsj"), 1);
    Databases().Reminders.RemoveLoadedReminder(id);
  }
}

TEST_F(EditorTest, ADailyWindowKeepsItsIntervalInMinutes) {
  OpenEditor();
  Choose("提醒方式组合框", "循环");
  Set("重复时间框", "2");
  Choose("提醒时间组合框", "开始时间");
  for (const char* unit : {"时", "天", "分~"}) {
    messages.clear();
    Choose("重复单位选择组合框", unit);
    EXPECT_EQ(Show(LastMessage()), Show("开始时间 只支持[循环]-[分]提醒方式！")) << Show(unit);
    EXPECT_EQ(Show(T("重复单位标签")), Show("分"));
  }
  SetTime("08", "00", "00");
  Set("时框1", "18");
  Set("分框1", "00");
  Set("秒框1", "00");
  messages.clear();
  Ok();
  EXPECT_TRUE(messages.empty()) << Show(LastMessage());  // the reset after the add refuses nothing
  ASSERT_EQ(Rows(), 1);
  const int id = ListPageReminders().back().id;
  EXPECT_EQ(Databases().Reminders.CopyReminder(id).cfdw, IntervalUnit::Minute);
  EXPECT_EQ(FiringAt(At(2016, 2, 10, 10, 2)), std::vector<int>{id});
  EXPECT_EQ(FiringAt(At(2016, 2, 10, 20)), std::vector<int>{});

  // Without a window every unit is taken.
  Choose("提醒时间组合框", "提醒时间");
  Choose("重复单位选择组合框", "时");
  EXPECT_EQ(Show(T("重复单位标签")), Show("时"));
}

ReminderRecord LeapMonthReminder() {
  ReminderRecord r;
  r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = At(2020, 5, 27, 8);  // 闰四月初五
  r.txfs = RepeatMode::LunarOnce;
  r.nlyear = 2020;
  r.txmonth = "4";
  r.txdays = "5";
  r.nlry = 1;
  r.tqdw = DatePart::Minute;
  r.txlx = "生活";
  r.txbt = "外婆生日";
  r.txnr = "闰四月初五";
  return r;
}

TEST_F(EditorTest, AnIntervalSinceTheSaveStartsAtTheSaveWhateverTheBoxesSay) {
  SetNow(At(2016, 2, 10, 10, 0, 0) + 0.4 / 86400);
  OpenEditor();
  Choose("提醒方式组合框", "循环");
  Choose("重复单位选择组合框", "分~");
  Set("重复时间框", "5");
  SetDate("2016", "03", "01");
  SetTime("08", "00", "00");
  Ok();
  const ReminderRecord saved = Databases().Reminders.CopyReminder(ListPageReminders().back().id);
  for (double field : {saved.ksdate, saved.jsdate, saved.kstime, saved.jstime, saved.txdate})
    EXPECT_EQ(Stamp(field), "2016-02-10 10:00:00");
  EXPECT_EQ(saved.cfdw, IntervalUnit::MinuteSinceLoad);
  EXPECT_EQ(saved.cfsj, 5);
}

TEST_F(EditorTest, ALeapMonthStaysALeapMonthThroughLoadAndSave) {
  const int id = SaveRecord(LeapMonthReminder());
  OpenEditor(id);
  EXPECT_EQ(Show(T("提醒月选择框_农历一次")), Show("四[闰月]"));
  EXPECT_EQ(Show(T("提醒日选择框_农历一次")), Show("初五"));
  EXPECT_EQ(W().UnitAs<ui::ComboBox>("日选择组合框_农历一次").ItemCount(),
            platform::lunar::LunarMonthDays(2020, 4, 1));
  Ok();
  EXPECT_TRUE(messages.empty()) << Show(LastMessage());
  EXPECT_TRUE(window->IsClosed());  // a modify closes
  const ReminderRecord saved = Databases().Reminders.CopyReminder(id);
  EXPECT_EQ(saved.nlry, 1);
  EXPECT_EQ(saved.txmonth, "4");
  EXPECT_EQ(saved.txdays, "5");
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(FiringAt(At(2020, 5, 27, 8)), std::vector<int>{id});
}

TEST_F(EditorTest, ALunarOnceYearKeepsTheLeapMonthOnlyWhereItIsAndDatesItThere) {
  OpenEditor();
  Choose("提醒方式组合框", "农历(一次)");
  Set("提醒月选择框_农历一次", FormatLunarMonth(4, 4));
  Set("提醒日选择框_农历一次", "初五");
  Choose("年份选择组合框_农历一次", "2020");  // its leap month is the fourth
  EXPECT_EQ(Show(T("提醒月选择框_农历一次")), Show("四[闰月]"));
  EXPECT_EQ(Date(), "2020-05-27");  // 闰四月初五, where the reminder will fire
  Choose("年份选择组合框_农历一次", "2016");  // no leap month
  EXPECT_EQ(Show(T("提醒月选择框_农历一次")), Show("四"));
  EXPECT_EQ(Date(), "2016-05-11");
  Ok();
  ASSERT_TRUE(messages.empty()) << Show(LastMessage());
  ASSERT_EQ(ListPageReminders().size(), 1u);
  EXPECT_EQ(Databases().Reminders.CopyReminder(ListPageReminders().back().id).nlry, 0);
}

TEST_F(EditorTest, TheLastDayOfALongerLeapMonthPresetsTheOrdinaryMonthsLastDay) {
  SetNow(At(2017, 8, 21, 10));  // 闰六月三十; the ordinary 六月 has 29 days
  OpenEditor();
  Choose("提醒方式组合框", "农历(一次)");
  EXPECT_EQ(Show(T("提醒月选择框_农历一次")), Show("六"));
  EXPECT_EQ(Show(T("提醒日选择框_农历一次")), Show("廿九"));
  EXPECT_EQ(Date(), "2017-07-22");
  Choose("提醒方式组合框", "农历(每年)");
  EXPECT_EQ(Show(T("提醒日选择框_农历每年")), Show("廿九"));
  window->Close();

  // A stored one-time lunar date the calendar does not have is refused, not saved again.
  ReminderRecord r = LeapMonthReminder();
  r.nlyear = 2017;
  r.txmonth = "6";
  r.txdays = "30";
  r.nlry = 0;
  const int id = SaveRecord(r);
  OpenEditor(id);
  messages.clear();
  Ok();
  EXPECT_EQ(Show(LastMessage()), Show("请选择 农历日"));
  EXPECT_FALSE(window->IsClosed());
  EXPECT_EQ(Databases().Reminders.CopyReminder(id).txbt, r.txbt);
  Choose("日选择组合框_农历一次", "廿九");
  messages.clear();
  Ok();
  EXPECT_TRUE(messages.empty()) << Show(LastMessage());
  EXPECT_EQ(Databases().Reminders.CopyReminder(id).txdays, "29");
}

TEST_F(EditorTest, TheLunarYearListOffersOnlyTheYearsTheCalendarKnows) {
  struct Case {
    double now;
    const char* newest;
    const char* oldest;
    int count;
  } cases[] = {{At(2016, 6, 1), "2020", "1911", 110}, {At(2047, 6, 1), "2049", "1942", 108},
               {At(1950, 6, 1), "1954", "1901", 54}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.newest);
    SetNow(c.now);
    OpenEditor();
    const auto& years = W().UnitAs<ui::ComboBox>("年份选择组合框_农历一次");
    ASSERT_EQ(years.ItemCount(), c.count);
    EXPECT_EQ(years.ItemText(0), c.newest);
    EXPECT_EQ(years.ItemText(c.count - 1), c.oldest);
    window->Close();
  }
}

TEST_F(EditorTest, AModifyWritesItsOwnRowEvenWhenTheReminderIsNoLongerLoaded) {
  ReminderRecord r;
  r.ksdate = r.jsdate = r.kstime = r.jstime = r.txdate = At(2016, 3, 1, 8);
  r.txlx = "工作";
  r.txbt = "old";
  r.txnr = "old content";
  r.tqdw = DatePart::Minute;
  const int id = SaveRecord(r);
  Databases().Reminders.RemoveLoadedReminder(id);
  OpenEditor(id);
  EXPECT_EQ(Show(T("标题标签")), Show("修改定时提醒"));
  EXPECT_EQ(T("提醒内容框"), "old content");
  Set("提醒标题框", "new");
  Ok();
  EXPECT_TRUE(messages.empty()) << Show(LastMessage());
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(Databases().Reminders.ReadReminderTitle(id), "new");

  // A row deleted meanwhile is not written again as a new one.
  ASSERT_EQ(Databases().Reminders.Connection().Execute("delete from txsj"), 1);
  OpenEditor(id);
  Set("提醒类型框", "工作");
  Ok();
  EXPECT_EQ(Show(LastMessage()), Show("保存提醒失败!"));
  EXPECT_FALSE(window->IsClosed());
  EXPECT_EQ(Rows(), 0);
}

TEST_F(EditorTest, TitleAndContentFallBackOnEachOther) {
  struct Case {
    const char* what;
    const char* mode;
    std::string title, content, savedTitle, savedContent;
  } cases[] = {
      {"title only", "一次", "开会", "", "开会", "开会"},
      {"content only", "一次", "", "带上\r\n报告", "带上\r\n报告", "带上\r\n报告"},
      {"neither", "每周", "", "", "每周提醒", "每周提醒"},
      // The 82nd byte is the first of a character: the title stops before it.
      {"long content", "一次", "", std::string(81, 'a') + "中文", std::string(81, 'a'), std::string(81, 'a') + "中文"},
      {"long ASCII content", "一次", "", std::string(90, 'b'), std::string(82, 'b'), std::string(90, 'b')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenEditor();
    Choose("提醒方式组合框", c.mode);
    Set("提醒标题框", c.title);
    Set("提醒内容框", c.content);
    Ok();
    ASSERT_TRUE(messages.empty()) << Show(LastMessage());
    const ReminderRecord saved = Databases().Reminders.CopyReminder(ListPageReminders().back().id);
    EXPECT_EQ(Show(saved.txbt), Show(c.savedTitle));
    EXPECT_EQ(Show(saved.txnr), Show(c.savedContent));
    window->Close();
  }
}

TEST_F(EditorTest, AnAddStaysOpenAndResetsAsTheSettingSays) {
  Settings().KeepLastReminderSettings = 1;
  OpenEditor();
  Choose("提醒方式组合框", "每周");
  Click("周五选择按钮");
  Click("不弹出窗口选择框");
  Set("提醒类型框", "会议");
  Set("提前时间框", "10");
  Set("提醒标题框", "周会");
  SetTime("14", "00", "00");
  Ok();
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(Databases().Reminders.CopyReminder(ListPageReminders().back().id).txweek, "4-6");
  EXPECT_FALSE(window->IsClosed());
  // Kept: mode, category, amounts and the no-pop-up tick; cleared: title and content. The
  // mode is applied again from now: the weekday ticks are today's (周三) alone.
  EXPECT_EQ(Show(T("提醒方式框")), Show("每周"));
  EXPECT_TRUE(Shown("星期选择框"));
  EXPECT_EQ(BuildWeekdayList(), "4");
  EXPECT_FALSE(Ticked("周五选择按钮"));
  EXPECT_TRUE(Ticked("不弹出窗口选择框"));
  EXPECT_EQ(Show(T("提醒类型框")), Show("会议"));
  EXPECT_EQ(T("提前时间框"), "10");
  EXPECT_EQ(T("提醒标题框"), "");
  EXPECT_EQ(T("提醒内容框"), "");
  EXPECT_EQ(Time(), "09:30:00");
  // The new category is offered once, however often it is saved.
  Set("提醒标题框", "周会 2");
  Ok();
  const auto& categories = W().UnitAs<ui::ComboBox>("提醒类型组合框");
  int offered = 0;
  for (int i = 0; i < categories.ItemCount(); ++i) offered += categories.ItemText(i) == "会议" ? 1 : 0;
  EXPECT_EQ(offered, 1);
  window->Close();

  Settings().KeepLastReminderSettings = 0;
  OpenEditor();
  Choose("提醒方式组合框", "循环");
  Choose("提醒任务组合框", "关机");  // refused with 循环: the task stays 提醒
  EXPECT_EQ(Show(LastMessage()), Show("[关机]任务，不支持[循环]提醒方式！"));
  Click("不弹出窗口选择框");
  Set("提醒标题框", "活动");
  Ok();
  EXPECT_EQ(Show(T("提醒方式框")), Show("一次"));
  EXPECT_FALSE(Shown("循环选择框"));
  EXPECT_FALSE(Ticked("不弹出窗口选择框"));  // the full reset unticks it
  EXPECT_EQ(Date(), "2016-02-10");
  window->Close();

  // The full reset starts from the day the calendar page shows, at the current time.
  Seams().CalendarShownDay = [] { return std::optional<double>(At(2016, 5, 20, 1, 2, 3)); };
  SetNow(At(2016, 2, 10, 11, 12, 13));
  OpenEditor();
  EXPECT_EQ(Date(), "2016-05-20");
  EXPECT_EQ(EndDate(), "2016-05-20");
  EXPECT_EQ(Time(), "11:12:13");
  window->Close();
  Settings().KeepLastReminderSettings = 1;
  OpenEditor();
  EXPECT_EQ(Date(), "2016-02-10");
  Click("透明标签14");  // 恢复默认设置 while adding: the full reset
  Fire("透明标签14", ui::Event::LeftDown);
  EXPECT_EQ(Date(), "2016-05-20");
  window->Close();

  OpenEditor(ListPageReminders().front().id);
  messages.clear();
  Fire("透明标签14", ui::Event::LeftDown);
  EXPECT_EQ(Show(LastMessage()), Show("修改状态下不能恢复默认设置！"));
  EXPECT_EQ(Show(T("提醒方式框")), Show("每周"));
}

TEST_F(EditorTest, ModeDateKindAndTimeKindPresetTheDateAndTimeBoxes) {
  OpenEditor();
  Choose("提醒方式组合框", "每天");
  EXPECT_EQ(BuildWeekdayList(), "1-2-3-4-5-6-7");
  EXPECT_FALSE(Enabled("年框"));
  Choose("提醒方式组合框", "每周");
  EXPECT_EQ(BuildWeekdayList(), "4");  // today, a Wednesday

  // A refused choice leaves the mode as it was.
  Choose("提醒日期组合框", "开始日期");
  EXPECT_TRUE(Shown("结束日期外形框"));
  EXPECT_TRUE(Enabled("年框"));
  Choose("提醒方式组合框", "一次");
  EXPECT_EQ(Show(LastMessage()), Show("开始日期 不支持[一次]提醒方式！"));
  EXPECT_EQ(Show(T("提醒方式框")), Show("每周"));

  // Back to a single date, a monthly day 31 in February lands on 31 March at the current time.
  Choose("提醒方式组合框", "每月");
  Choose("日选择组合框_每月", "31");
  EXPECT_EQ(T("日框"), "31");  // with a date range only the day box takes it
  EXPECT_EQ(T("月框"), "02");
  Choose("提醒日期组合框", "提醒日期");
  EXPECT_EQ(Date(), "2016-03-31");
  EXPECT_EQ(EndDate(), "2016-03-31");
  EXPECT_FALSE(Shown("结束日期外形框"));
  EXPECT_FALSE(Enabled("年框"));

  // A countdown takes the date back to today, a single date and zero time.
  Choose("提醒方式组合框", "一次");
  Choose("提醒时间组合框", "倒计时间");
  EXPECT_EQ(Date(), "2016-02-10");
  EXPECT_EQ(Time(), "00:00:00");
  EXPECT_FALSE(Enabled("年框"));
  Choose("提醒日期组合框", "提醒日期");
  EXPECT_EQ(Show(LastMessage()), Show("当前为[倒计时间]提醒状态，不能支持设置提醒日期！"));
  Choose("提醒方式组合框", "一次");
  EXPECT_EQ(Show(LastMessage()), Show("倒计时间只支持[一次]提醒方式！"));
  Choose("提醒时间组合框", "提醒时间");
  EXPECT_EQ(Time(), "09:30:00");
  EXPECT_TRUE(Enabled("年框"));
  window->Close();

  // Yearly 29 February from 2025: 2028.
  SetNow(At(2025, 1, 10, 7));
  OpenEditor();
  Choose("提醒方式组合框", "每年");
  Choose("提醒日期组合框", "开始日期");
  Set("提醒月选择框_每年", "2");
  Set("提醒日选择框_每年", "29");
  Choose("提醒日期组合框", "提醒日期");
  EXPECT_EQ(Date(), "2028-02-29");
  window->Close();

  // 农历(一次) on a day of a leap month starts from the same day of the ordinary month.
  SetNow(At(2020, 5, 25, 7));  // 闰四月初三
  OpenEditor();
  Choose("提醒方式组合框", "农历(一次)");
  EXPECT_EQ(Date(), "2020-04-25");  // 四月初三
  EXPECT_EQ(Show(T("提醒月选择框_农历一次")), Show("四"));
  EXPECT_EQ(Show(T("提醒日选择框_农历一次")), Show("初三"));
  EXPECT_EQ(T("提醒年选择框_农历一次"), "2020");
}

TEST_F(EditorTest, MonthAndLunarPickersMoveTheStartDate) {
  SetNow(At(2016, 4, 15, 7));
  OpenEditor();
  Choose("提醒方式组合框", "每月");
  Choose("日选择组合框_每月", "31");
  EXPECT_EQ(Date(), "2016-05-31");
  EXPECT_EQ(EndDate(), "2016-05-31");
  SetNow(At(2016, 3, 20, 7));
  Choose("日选择组合框_每月", "5");
  EXPECT_EQ(Date(), "2016-03-05");  // a day already passed is not skipped
  Set("提醒日期标签", "");
  Choose("日选择组合框_每月", "6");
  ASSERT_EQ(plainMessages.size(), 1u);
  EXPECT_EQ(Show(plainMessages[0]), Show("信息显示错误，请点击取消按钮刷新界面！"));
  EXPECT_EQ(T("日框"), "6");
  window->Close();

  OpenEditor();
  Choose("提醒方式组合框", "每年");
  Set("提醒日选择框_每年", "31");
  Choose("月份选择组合框_每年", "4");
  EXPECT_EQ(T("提醒日选择框_每年"), "30");
  EXPECT_EQ(W().UnitAs<ui::ComboBox>("日选择组合框_每年").ItemCount(), 30);
  EXPECT_EQ(Date(), "2016-04-30");

  // The second lunar month of 2016 has 29 days: 三十 becomes 廿九.
  Choose("提醒方式组合框", "农历(每年)");
  Set("提醒日选择框_农历每年", "三十");
  Choose("月份选择组合框_农历每年", "二");
  EXPECT_EQ(Show(T("提醒日选择框_农历每年")), Show("廿九"));
  EXPECT_EQ(Date(), "2016-04-06");
  Choose("日选择组合框_农历每年", "初一");
  EXPECT_EQ(Date(), "2016-03-09");

  Choose("提醒方式组合框", "农历(每月)");
  Choose("日选择组合框_农历每月", "三十");  // today's lunar month (二月) is too short
  EXPECT_EQ(Date(), "2016-05-06");
}

TEST_F(EditorTest, TaskAndForceWriteTheirWording) {
  OpenEditor();
  Set("提醒标题框", "晚安");
  Set("提醒内容框", "睡觉");
  Choose("提醒任务组合框", "关机");
  EXPECT_EQ(T("提醒标题框"), "");
  EXPECT_EQ(Show(T("提醒内容框")), Show("关机(不等待其它程序结束，直接关机！）"));
  EXPECT_TRUE(Ticked("强制执行选择框"));
  EXPECT_TRUE(Shown("关机延时选择框"));
  EXPECT_TRUE(Shown("关机延时框"));
  EXPECT_FALSE(Shown("提前时间选择框"));
  Set("提醒标题框", "关机了");
  Click("强制执行选择框");
  EXPECT_FALSE(Ticked("强制执行选择框"));
  EXPECT_EQ(Show(T("提醒内容框")), Show("关机"));
  Choose("提醒任务组合框", "关机");  // the same task again: the title stays
  EXPECT_EQ(Show(T("提醒标题框")), Show("关机了"));
  EXPECT_TRUE(Ticked("强制执行选择框"));
  Set("关机延时框", "45");
  Ok();
  const ReminderRecord saved = Databases().Reminders.CopyReminder(ListPageReminders().back().id);
  EXPECT_EQ(saved.txrw, ReminderTask::Shutdown);
  EXPECT_EQ(saved.qzzx, 1);
  EXPECT_EQ(saved.gjys, 45);

  Choose("提醒任务组合框", "锁定计算机");
  EXPECT_EQ(Show(T("提醒内容框")), Show("锁定计算机"));
  EXPECT_FALSE(Shown("关机延时选择框"));
  EXPECT_FALSE(Shown("提前时间选择框"));
  Click("强制执行选择框");
  EXPECT_EQ(Show(LastMessage()), Show("强制执行只支持[关机]、[重启]、[注销]任务！"));
  Choose("提醒任务组合框", "重启");
  Click("强制执行选择框");
  Click("强制执行选择框");
  EXPECT_TRUE(Ticked("强制执行选择框"));
  EXPECT_EQ(Show(T("提醒内容框")), Show("重启(不等待其它程序结束，直接重启！）"));
  Choose("提醒任务组合框", "提醒");
  EXPECT_TRUE(Shown("提前时间选择框"));
  Set("提醒内容框", "x");
  Choose("提醒任务组合框", "提醒");
  EXPECT_EQ(T("提醒内容框"), "x");
  Click("不弹出窗口选择框");
  EXPECT_TRUE(Ticked("不弹出窗口选择框"));
}

TEST_F(EditorTest, ChoosersFillTheActionBoxesAndRememberTheSoundFolder) {
  OpenEditor();
  script->AnswerFile("/home/u/音乐/铃声.mp3");
  Click("月历下拉按钮3");
  EXPECT_EQ(Show(T("提醒音乐框")), Show("/home/u/音乐/铃声.mp3"));
  EXPECT_TRUE(Shown("定时提醒清除按钮"));
  EXPECT_EQ(Show(AccessConfigItem("bwl", "yyml", {}, true)), Show("/home/u/音乐/"));
  script->AnswerFile("/铃.wav");
  Click("月历下拉按钮3");
  EXPECT_EQ(AccessConfigItem("bwl", "yyml", {}, true), "/");
  // The dialog opened in the folder stored before.
  EXPECT_EQ(Show(W().UnitAs<ui::FileDialog>("通用对话框1").InitialFolder()), Show("/home/u/音乐/"));
  script->AnswerFile("");  // cancelled
  Click("月历下拉按钮3");
  EXPECT_EQ(T("提醒音乐框"), "/铃.wav");
  Click("定时提醒清除按钮");
  EXPECT_EQ(T("提醒音乐框"), "");
  EXPECT_FALSE(Shown("定时提醒清除按钮"));

  script->AnswerFile("/usr/bin/备份");
  Click("月历下拉按钮2");
  EXPECT_EQ(Show(T("提醒程序框")), Show("/usr/bin/备份"));
  EXPECT_EQ(W().UnitAs<ui::FileDialog>("通用对话框1").FileName(), "");
  EXPECT_NE(W().UnitAs<ui::FileDialog>("通用对话框1").Filter().find("|*|"), std::string::npos);
  Set("提醒网页框", "https://example.org");
  EXPECT_TRUE(Shown("定时提醒清除按钮2"));
  // The content's own menu copies and pastes through the clipboard.
  Set("提醒内容框", "带上报告");
  W().UnitAs<ui::RichEditBox>("提醒内容框").SelectAll();
  script->AnswerMenu("复制");
  Fire("提醒内容框", ui::Event::RightDown);
  Set("提醒内容框", "");
  script->AnswerMenu("粘贴");
  Fire("提醒内容框", ui::Event::RightDown);
  EXPECT_EQ(Show(T("提醒内容框")), Show("带上报告"));
  EXPECT_EQ(script->Menus().size(), 2u);
  EXPECT_EQ(editor::DirectoryOfPath("/a/文件/b.mp3"), "/a/文件/");
  EXPECT_EQ(editor::DirectoryOfPath("b.mp3"), "");
}

TEST_F(EditorTest, LeavingABoxCorrectsBothGroupsAndTheCalendarFillsTheChosenOne) {
  OpenEditor();
  SetTime("24", "7", "");
  Set("时框1", "25");
  Set("年框1", "1900");
  Fire("时框", ui::Event::FocusLost);
  EXPECT_EQ(Time(), "09:07:00");  // a time of day has no hour 24
  EXPECT_EQ(T("时框1"), "09");
  EXPECT_EQ(T("年框1"), "2016");
  Choose("提醒时间组合框", "倒计时间");
  Set("时框", "30");
  Fire("分框", ui::Event::FocusLost);
  EXPECT_EQ(T("时框"), "30");  // a countdown may run 59 hours
  Choose("提醒时间组合框", "提醒时间");

  // The calendar opens on a single date only for 一次 and 循环.
  Click("月历下拉按钮");
  EXPECT_TRUE(Shown("月历外形框"));
  EXPECT_EQ(W().Unit("月历外形框").Left(), 8);
  Click("月历下拉按钮");
  EXPECT_FALSE(Shown("月历外形框"));
  Choose("提醒方式组合框", "每天");
  Click("月历下拉按钮");
  EXPECT_FALSE(Shown("月历外形框"));
  // With a date range the end date's calendar stays open on a second press.
  Choose("提醒日期组合框", "开始日期");
  Click("月历下拉按钮1");
  Click("月历下拉按钮1");
  EXPECT_TRUE(Shown("月历外形框"));
  EXPECT_TRUE(Shown("画板1"));
  EXPECT_EQ(W().Unit("月历外形框").Left(), 310);
  EXPECT_EQ(Editor().DatePickerTarget, 2);
  ui::EventArgs press;
  press.x = 5 + 6 * 39 + 10;  // the Saturday column
  press.y = 30 + 18 + 10;     // of the first row: 6 February 2016
  W().Fire("画板1", ui::Event::LeftDown, press);
  EXPECT_EQ(EndDate(), "2016-02-06");
  EXPECT_EQ(Date(), "2016-02-10");
  EXPECT_FALSE(Shown("月历外形框"));
}

}  // namespace
}  // namespace workmemo::testing
