#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/digest.h"
#include "fixtures.h"
#include "platform/files/files.h"
#include "reminders/store/calendar.h"
#include "reminders/store/schedule.h"
#include "store_fixture.h"

namespace workmemo {
namespace {

using testing::At;
using testing::Reminder;
using testing::StoreTest;
using testing::Text;
namespace clk = platform::clock;

// A reminder with a distinct value in every column, quotes and four-byte characters included.
ReminderRecord Full() {
  ReminderRecord r;
  r.ksdate = At(2024, 3, 5, 8, 15, 30);
  r.jsdate = At(2024, 9, 1, 8, 15, 30);
  r.kstime = At(2024, 3, 5, 8, 15, 31);
  r.jstime = At(2024, 3, 5, 18, 0, 0);
  r.txdate = At(2024, 3, 6, 7, 0, 0);
  r.txfs = RepeatMode::Weekly;
  r.txrw = ReminderTask::LockComputer;
  r.cfsj = 7;
  r.cfdw = IntervalUnit::Day;
  r.tqdw = DatePart::Hour;
  r.txweek = "2-4-6";
  r.notxweek = "1-7";
  r.txmonth = "11";
  r.txdays = "29";
  r.nlyear = 2023;
  r.txlx = "工作";
  r.txbt = "O'Brien 的会议 'x'";
  r.txnr = "内容 ''两个'' 😀 \\ 完";
  r.txyy = "/home/u/声音.mp3";
  r.txcx = "/usr/bin/程序";
  r.txwy = "http://example.org/?q='a'";
  r.txzt = 1;
  r.nlry = 1;
  r.cfcs = 9;
  r.cfjs = 4;
  r.cfcsdw = RepeatCountUnit::TimesTotal;
  r.bytx = 1;
  r.djsj = 30;
  r.gbcksj = 60;
  r.gjys = 45;
  r.qzzx = 1;
  r.txdz = 1;
  return r;
}

// The same reminder with every column changed.
ReminderRecord Changed(ReminderRecord r) {
  r.ksdate = At(2025, 1, 2, 3, 4, 5);
  r.jsdate = At(2025, 1, 2, 3, 4, 5);
  r.kstime = At(2025, 1, 2, 3, 4, 6);
  r.jstime = At(2025, 1, 2, 23, 0, 0);
  r.txdate = At(2025, 1, 3, 0, 0, 1);
  r.txfs = RepeatMode::LunarYearly;
  r.txrw = ReminderTask::Remind;
  r.cfsj = -3;
  r.cfdw = IntervalUnit::Month;
  r.tqdw = DatePart::Minute;
  r.txweek = "1";
  r.notxweek = "";
  r.txmonth = "闰";
  r.txdays = "1";
  r.nlyear = 2020;
  r.txlx = "个人";
  r.txbt = "周报";
  r.txnr = "";
  r.txyy = "a.wav";
  r.txcx = "";
  r.txwy = "b";
  r.xctx = 1;
  r.txzt = 0;
  r.nlry = 0;
  r.cfcs = 2;
  r.cfjs = 1;
  r.bytx = 0;
  r.djsj = 0;
  r.gbcksj = 5;
  r.gjys = 0;
  r.qzzx = 0;
  r.txdz = 0;
  return r;
}

void ExpectSameColumns(const ReminderRecord& a, const ReminderRecord& b) {
  EXPECT_EQ(a.id, b.id);
  for (auto [x, y] : {std::pair{a.ksdate, b.ksdate}, {a.jsdate, b.jsdate}, {a.kstime, b.kstime},
                      {a.jstime, b.jstime}, {a.txdate, b.txdate}})
    EXPECT_EQ(Text(x), Text(y));
  const std::vector<std::pair<int, int>> ints = {
      {a.txfs, b.txfs}, {a.txrw, b.txrw}, {a.cfsj, b.cfsj}, {a.cfdw, b.cfdw}, {a.tqsj, b.tqsj},
      {a.tqdw, b.tqdw}, {a.nlyear, b.nlyear}, {a.xctx, b.xctx}, {a.txzt, b.txzt},
      {a.nlry, b.nlry}, {a.cfcs, b.cfcs}, {a.cfjs, b.cfjs}, {a.cfcsdw, b.cfcsdw},
      {a.bytx, b.bytx}, {a.djsj, b.djsj}, {a.gbcksj, b.gbcksj}, {a.gjys, b.gjys},
      {a.qzzx, b.qzzx}, {a.txdz, b.txdz}};
  for (std::size_t i = 0; i < ints.size(); ++i) EXPECT_EQ(ints[i].first, ints[i].second) << "integer " << i;
  const std::vector<std::pair<std::string, std::string>> texts = {
      {a.txweek, b.txweek}, {a.notxweek, b.notxweek}, {a.txmonth, b.txmonth},
      {a.txdays, b.txdays}, {a.txlx, b.txlx}, {a.txbt, b.txbt}, {a.txnr, b.txnr},
      {a.txyy, b.txyy}, {a.txcx, b.txcx}, {a.txwy, b.txwy}};
  for (std::size_t i = 0; i < texts.size(); ++i)
    EXPECT_EQ(texts[i].first, texts[i].second) << "text " << i << ": " << testsupport::Show(texts[i].second);
}

TEST_F(StoreTest, EveryColumnRoundTripsThroughInsertUpdateAndLoad) {
  const double added = At(2024, 3, 1, 10, 0, 0);
  clk::SetForTest(added);
  ReminderRecord a = Full();
  ASSERT_EQ(store.SaveReminder(a), 1);
  EXPECT_EQ(a.id, 10046);  // the image's counter stands at 10045
  ASSERT_EQ(store.Reminders().size(), 1u);
  ExpectSameColumns(store.Reminders()[0], a);

  store.LoadReminders();
  ASSERT_EQ(store.Reminders().size(), 1u);
  ExpectSameColumns(store.Reminders()[0], a);
  EXPECT_EQ(Text(Row(a.id).DateTime("tjdate")), Text(added));

  const double updated = At(2024, 3, 2, 11, 0, 0);
  clk::SetForTest(updated);
  ReminderRecord b = Changed(a);
  ASSERT_EQ(store.SaveReminder(b), 1);
  ExpectSameColumns(store.Reminders()[0], b);
  auto row = Row(a.id);
  EXPECT_EQ(Text(row.DateTime("tjdate")), Text(added));
  EXPECT_EQ(Text(row.DateTime("gxdate")), Text(updated));

  // A row that is not loaded is read from the table, so a save of it updates, not inserts.
  ASSERT_EQ(store.RemoveLoadedReminder(b.id), 1);
  ExpectSameColumns(store.CopyReminder(b.id), b);
  EXPECT_EQ(store.CopyReminder(4711).id, 0);

  int id = 0;
  double start = 0;
  std::string title;
  ASSERT_EQ(store.ReadNewestReminder(id, start, title), 1);
  EXPECT_EQ(id, b.id);
  EXPECT_EQ(Text(start), Text(b.ksdate));
  EXPECT_EQ(title, b.txbt);
  EXPECT_EQ(store.ReadReminderTitle(b.id), b.txbt);
  EXPECT_EQ(store.ReadReminderTitle(4711), "");
}

// A reminder of any year the table holds is written back: its insert, its update and its
// remind-again writes, the years before 1000 (as an import may bring them) included.
TEST_F(StoreTest, RemindersOfEveryYearAreWrittenBack) {
  clk::SetForTest(At(2024, 3, 1));
  for (int year : {1, 999, 1000, 9999}) {
    SCOPED_TRACE(year);
    const double start = clk::SerialFromFields({year, 6, 15, 8, 30, 0});
    ReminderRecord r = Reminder(RepeatMode::Once, start);
    r.id = 0;
    ASSERT_EQ(store.SaveReminder(r), 1);
    EXPECT_EQ(Text(Row(r.id).DateTime("ksdate")), Text(start));
    r.txbt = "changed";
    EXPECT_EQ(store.SaveReminder(r), 1);
    EXPECT_EQ(store.SetRemindAgain(r.id, 1, start + 1), 1);
    EXPECT_EQ(store.SetRemindAgain(r.id, 0, 0), 1);
    EXPECT_EQ(Text(Row(r.id).DateTime("txdate")), Text(start));
  }
}

// A new reminder takes the id its own insert produced, even when another row is newer by the
// time the newest row could be read.
TEST_F(StoreTest, ANewReminderTakesTheIdOfItsOwnInsert) {
  ASSERT_EQ(store.Connection().Execute("CREATE TEMP TRIGGER shadow AFTER INSERT ON txsj WHEN new.txbt<>'shadow' "
                                       "BEGIN INSERT INTO txsj(txbt) VALUES('shadow'); END"),
            1);
  ReminderRecord r = Reminder(RepeatMode::Once, At(2024, 4, 1));
  r.id = 0;
  r.txbt = "mine";
  ASSERT_EQ(store.SaveReminder(r), 1);
  EXPECT_EQ(store.ReadReminderTitle(r.id), "mine");
  ASSERT_EQ(store.Reminders().size(), 1u);
  EXPECT_EQ(store.Reminders()[0].id, r.id);
}

TEST_F(StoreTest, FailedSavesLeaveTheListAndTheCallerAlone) {
  clk::SetForTest(At(2024, 3, 1));
  const int kept = Add(Reminder(RepeatMode::Once, At(2024, 4, 1)));

  ReminderRecord missing = Reminder(RepeatMode::Once, At(2024, 4, 1));
  missing.id = 777;  // an update that changes no row is no save
  EXPECT_EQ(store.SaveReminder(missing), 0);

  ReminderRecord tooLong = Reminder(RepeatMode::Once, At(2024, 4, 1));
  tooLong.id = 0;
  tooLong.txbt = std::string(256, 'x');
  EXPECT_EQ(store.SaveReminder(tooLong), 0);
  EXPECT_EQ(tooLong.id, 0);
  ASSERT_EQ(store.Reminders().size(), 1u);
  EXPECT_EQ(store.Reminders()[0].id, kept);

  // A row that exists but is not loaded is written; the list stays as it was.
  ASSERT_EQ(store.RemoveLoadedReminder(kept), 1);
  ReminderRecord other = Reminder(RepeatMode::Daily, At(2024, 4, 2));
  other.id = kept;
  EXPECT_EQ(store.SaveReminder(other), 1);
  EXPECT_TRUE(store.Reminders().empty());
  EXPECT_EQ(Row(kept).Integer("txfs"), RepeatMode::Daily);
}

TEST_F(StoreTest, SavedAndLoadedNoticeFieldsAreComputedAtThatMoment) {
  const double now = At(2024, 7, 1, 8, 30, 0);
  clk::SetForTest(now);
  ReminderRecord r = Reminder(RepeatMode::Once, At(2024, 7, 1, 12));
  r.id = 0;
  r.tqsj = 2;
  r.tqdw = DatePart::Hour;
  ASSERT_EQ(store.SaveReminder(r), 1);
  int units = 0;
  const double expected = ComputeNoticeTime(store.Reminders()[0], units, now);
  EXPECT_EQ(Text(store.Reminders()[0].NoticeTime), Text(expected));
  EXPECT_EQ(store.Reminders()[0].NoticeUnitsLeft, units);
  EXPECT_EQ(units, 2);

  ReminderRecord plain = Reminder(RepeatMode::Once, At(2024, 7, 1, 12));
  plain.id = 0;
  plain.NoticeTime = 5;  // without notice the caller's fields stand
  plain.NoticeUnitsLeft = 7;
  ASSERT_EQ(store.SaveReminder(plain), 1);
  EXPECT_EQ(store.Reminders()[1].NoticeTime, 5);
  EXPECT_EQ(store.Reminders()[1].NoticeUnitsLeft, 7);
  store.LoadReminders();
  EXPECT_EQ(store.Reminders()[1].NoticeTime, 0);
}

// The rows the full load hands the list page are those the page's own query reads afterwards.
void ExpectRowsOfTheListPageQuery(ReminderStore& store, const ReminderList& page) {
  ReminderList read;
  const int found = store.SearchReminders("", "", read);
  ASSERT_EQ(found, static_cast<int>(read.size()));
  ASSERT_EQ(page.size(), read.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    ExpectSameColumns(page[i], read[i]);
  }
}

TEST_F(StoreTest, LoadCutsContentClearsSpentRemindAgainAndKeepsTotalCounters) {
  clk::SetForTest(At(2024, 2, 1));
  const double load = At(2024, 2, 10, 9, 0, 0);
  std::string content = "a";
  for (int i = 0; i < 75; ++i) content += "中";  // 151 bytes: byte 100 is inside a character

  auto add = [&](ReminderRecord r) { return Add(std::move(r)); };
  ReminderRecord base = Reminder(RepeatMode::Daily, At(2024, 2, 1, 8));
  const int longText = add(testing::With(base, [&](ReminderRecord& r) { r.txnr = content; }));
  const int stale = add(testing::With(base, [&](ReminderRecord& r) {
    r.xctx = 1;
    r.txdate = load - 1.0 / 86400;
  }));
  const int onTime = add(testing::With(base, [&](ReminderRecord& r) {
    r.xctx = 1;
    r.txdate = load;
  }));
  ReminderRecord sinceLoad = testing::Every(IntervalUnit::MinuteSinceLoad, 5, At(2024, 2, 1, 8));
  const int sinceLoadId = add(sinceLoad);
  const int sinceLoadPending = add(testing::With(sinceLoad, [&](ReminderRecord& r) {
    r.xctx = 1;
    r.txdate = load + 60.0 / 86400;
  }));
  auto counted = [&](int mode, int unit) {
    ReminderRecord r = Reminder(mode, At(2024, 2, 1, 8));
    r.cfdw = IntervalUnit::Day;
    r.cfsj = 1;
    r.cfcs = 5;
    r.cfjs = 3;
    r.cfcsdw = unit;
    return add(r);
  };
  const int dailyPerRun = counted(RepeatMode::Daily, RepeatCountUnit::TimesPerRun);
  const int dailyTotal = counted(RepeatMode::Daily, RepeatCountUnit::TimesTotal);
  const int intervalPerRun = counted(RepeatMode::Interval, RepeatCountUnit::TimesPerRun);

  clk::SetForTest(load);
  ReminderList page;
  ASSERT_EQ(store.LoadReminders({}, &page), 1);
  ExpectRowsOfTheListPageQuery(store, page);
  auto loaded = [&](int id) { return store.Reminders()[store.FindLoadedReminder(id) - 1]; };

  EXPECT_EQ(loaded(longText).txnr, content.substr(0, 99));
  EXPECT_EQ(store.CopyReminder(longText).txnr, content);

  EXPECT_EQ(loaded(stale).xctx, 0);
  EXPECT_EQ(Text(loaded(stale).txdate), Text(At(2024, 2, 1, 8)));
  EXPECT_EQ(Row(stale).Integer("xctx"), 0);
  EXPECT_EQ(Text(Row(stale).DateTime("txdate")), Text(At(2024, 2, 1, 8)));
  EXPECT_EQ(loaded(onTime).xctx, 1);
  EXPECT_EQ(Row(onTime).Integer("xctx"), 1);

  for (double t : {loaded(sinceLoadId).ksdate, loaded(sinceLoadId).jsdate, loaded(sinceLoadId).kstime,
                   loaded(sinceLoadId).jstime, loaded(sinceLoadId).txdate})
    EXPECT_EQ(Text(t), Text(load));
  EXPECT_EQ(Text(Row(sinceLoadId).DateTime("ksdate")), Text(At(2024, 2, 1, 8)));
  EXPECT_EQ(Text(loaded(sinceLoadPending).txdate), Text(load + 60.0 / 86400));
  EXPECT_EQ(loaded(sinceLoadPending).xctx, 1);

  EXPECT_EQ(loaded(dailyPerRun).cfjs, 0);
  EXPECT_EQ(loaded(dailyTotal).cfjs, 3);
  EXPECT_EQ(loaded(intervalPerRun).cfjs, 3);
}

// Rows an import put into the table join the list as a load takes them, after the reminders
// already loaded, which keep what this run gave them.
TEST_F(StoreTest, RowsAddedBehindTheListJoinItAsALoadTakesThemAndTheLoadedKeepTheirState) {
  const double now = At(2024, 2, 10, 9, 0, 0);
  clk::SetForTest(now);
  const int loaded = Add(Reminder(RepeatMode::Daily, At(2024, 2, 1, 8)));
  ASSERT_EQ(store.SetPaused(loaded, 2), 1);  // until the next load
  auto behind = [this](ReminderRecord r) {
    const int id = Add(std::move(r));
    store.RemoveLoadedReminder(id);
    return id;
  };
  const std::string content(150, 'c');
  const int later = behind(testing::With(Reminder(RepeatMode::Once, At(2024, 3, 1, 9)), [&](ReminderRecord& r) {
    r.txnr = content;
  }));
  const int spent = behind(testing::With(Reminder(RepeatMode::Once, At(2024, 2, 20, 9)), [&](ReminderRecord& r) {
    r.xctx = 1;
    r.txdate = now - 1.0 / 86400;
  }));

  ReminderList added;
  ASSERT_EQ(store.LoadRemindersAfter(loaded, &added), 1);
  std::vector<int> ids;
  for (const ReminderRecord& r : store.Reminders()) ids.push_back(r.id);
  EXPECT_EQ(ids, (std::vector<int>{loaded, spent, later}));
  ASSERT_EQ(added.size(), 2u);
  EXPECT_EQ(added[1].txnr, content);  // whole as read; the list keeps the start
  EXPECT_EQ(store.Reminders()[2].txnr, content.substr(0, 100));
  EXPECT_EQ(store.Reminders()[0].txzt, 1);
  EXPECT_EQ(Row(loaded).Integer("txzt"), 0);
  for (int xctx : {store.Reminders()[1].xctx, added[0].xctx, static_cast<int>(Row(spent).Integer("xctx"))})
    EXPECT_EQ(xctx, 0);
  ReminderList due;
  store.CollectDueReminders(At(2024, 3, 1, 9), due);
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].id, later);

  // Nothing is taken twice.
  ASSERT_EQ(store.LoadRemindersAfter(0, &added), 1);
  EXPECT_TRUE(added.empty());
  EXPECT_EQ(store.Reminders().size(), 3u);
}

TEST_F(StoreTest, LoadOrderIsStartThenIdWhateverTheQuery) {
  clk::SetForTest(At(2024, 1, 1));
  const double t1 = At(2024, 6, 1, 9), t2 = At(2024, 5, 1, 9);
  const int a = Add(Reminder(RepeatMode::Once, t1));
  const int b = Add(Reminder(RepeatMode::Once, t2));
  const int c = Add(Reminder(RepeatMode::Once, t1));
  const int d = Add(Reminder(RepeatMode::Once, t1));
  ReminderList page;
  store.LoadReminders("select * from txsj order by id desc", &page);
  std::vector<int> order;
  for (const ReminderRecord& r : store.Reminders()) order.push_back(r.id);
  EXPECT_EQ(order, (std::vector<int>{b, a, c, d}));
  EXPECT_EQ(page.size(), 4u);
  EXPECT_EQ(store.CountReminders(), 4);

  ReminderList fired;
  store.CollectDueReminders(t1, fired);
  order.clear();
  for (const ReminderRecord& r : fired) order.push_back(r.id);
  EXPECT_EQ(order, (std::vector<int>{a, c, d}));
  store.CollectRemindersOnDay(t2 + 0.5, fired);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_EQ(fired[0].id, b);
  EXPECT_EQ(store.GetReminderState(fired[0]), ReminderState::Pending);
}

// A damaged page must not empty the list: the load says it failed and keeps every reminder
// that still reads, in load order; a closed store's load fails with an empty list.
TEST(StoreDamage, ALoadOfADamagedTableFailsAndKeepsTheRowsThatRead) {
  testsupport::TempDir dir;
  const std::string path = dir.File("dstx2.dat");
  ASSERT_TRUE(testsupport::WriteDamagedReminderFile(path, 400));
  ReminderStore store;
  ASSERT_EQ(store.OpenDatabase(path, kDatabasePassword), 1);
  ReminderList page;
  EXPECT_EQ(store.LoadReminders({}, &page), 0);
  const ReminderList& list = store.Reminders();
  EXPECT_GT(list.size(), 300u);
  EXPECT_LT(list.size(), 400u);
  EXPECT_EQ(page.size(), list.size());
  EXPECT_EQ(list.front().txbt, "r1");
  EXPECT_EQ(list.back().txbt, "r400");
  EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                             [](const ReminderRecord& a, const ReminderRecord& b) { return a.id < b.id; }));
  EXPECT_EQ(list.front().txnr.size(), 100u);  // cut as in every load

  store.CloseDatabase();
  EXPECT_EQ(store.LoadReminders(), 0);
  EXPECT_TRUE(store.Reminders().empty());
}

TEST_F(StoreTest, AFailedResetOfASpentRemindAgainShowsThePlainBoxAndGoesOn) {
  clk::SetForTest(At(2024, 2, 1));
  ReminderRecord r = Reminder(RepeatMode::Daily, At(2024, 2, 1, 8));
  r.xctx = 1;
  r.txdate = At(2024, 2, 1, 9);
  const int id = Add(r);
  std::vector<std::string> shown;
  store.SetPlainMessageBox([&](std::string_view text) { shown.emplace_back(text); });
  clk::SetForTest(At(2024, 2, 2));
  platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::IoError);
  ReminderList page;
  store.LoadReminders({}, &page);
  platform::files::ClearFaultsForTest();
  ExpectRowsOfTheListPageQuery(store, page);
  EXPECT_EQ(shown, std::vector<std::string>{"修改提醒时间失败！"});
  EXPECT_EQ(store.Reminders()[0].xctx, 0);  // memory never lets it fire again
  EXPECT_EQ(Row(id).Integer("xctx"), 1);
}

TEST_F(StoreTest, SearchReadsWholeRowsOfTheFieldsAndRepeatModeNames) {
  clk::SetForTest(At(2024, 1, 1));
  ReminderRecord r = Full();
  r.xctx = 0;
  r.txnr = std::string(150, 'c') + "尾";  // longer than a load keeps
  const int obrien = Add(r);
  const int weekly = Add(testing::With(Reminder(RepeatMode::Daily, At(2024, 1, 2)), [](ReminderRecord& x) {
    x.txbt = "周报";
    x.txlx = "个人";
    x.txnr = "abc";
  }));
  const int lunar = Add(testing::With(Reminder(RepeatMode::LunarMonthly, At(2024, 1, 3)), [](ReminderRecord& x) {
    x.txmonth = "1";
    x.txdays = "1";
  }));
  ReminderList found;
  ASSERT_EQ(store.SearchReminders("提醒标题：", "O'Brien", found), 1);
  EXPECT_EQ(found[0].id, obrien);
  EXPECT_EQ(found[0].txbt, r.txbt);
  EXPECT_EQ(found[0].txlx, r.txlx);
  EXPECT_EQ(found[0].txweek, r.txweek);
  EXPECT_EQ(found[0].cfcs, r.cfcs);
  // The whole row: the list page sorts and shows the real content and carries every column.
  EXPECT_EQ(found[0].txnr, r.txnr);
  EXPECT_EQ(found[0].txrw, r.txrw);
  EXPECT_EQ(found[0].cfjs, r.cfjs);
  EXPECT_EQ(found[0].txyy, r.txyy);
  EXPECT_EQ(found[0].gjys, r.gjys);

  struct Case {
    const char* label;
    const char* text;
    std::vector<int> ids;
  };
  const int percent = Add(testing::With(Reminder(RepeatMode::Once, At(2024, 1, 5)), [](ReminderRecord& x) {
    x.txbt = "100% 完成";
  }));
  const int thousand =
      Add(testing::With(Reminder(RepeatMode::Once, At(2024, 1, 6)), [](ReminderRecord& x) { x.txbt = "1000 件"; }));
  for (const Case& c : std::vector<Case>{{"提醒内容：", "ab", {weekly}},
                                         {"提醒内容：", "尾", {obrien}},
                                         {"提醒类型：", "工", {obrien}},
                                         // The repeat mode's display name holds the text.
                                         {"提醒方式：", "每", {weekly, lunar, obrien}},
                                         {"提醒方式：", "每周", {obrien}},
                                         {"提醒方式：", "农历", {lunar}},
                                         {"提醒方式：", "循环", {}},
                                         {"提醒方式：", "x", {}},
                                         {"提醒标题：", "100%", {percent}},  // '%' typed is no wildcard
                                         {"提醒标题：", "_", {}},
                                         {"", "ignored", {weekly, lunar, percent, thousand, obrien}},
                                         {"其他：", "", {}}}) {
    std::vector<int> ids;
    const int n = store.SearchReminders(c.label, c.text, found);
    for (const ReminderRecord& x : found) ids.push_back(x.id);
    EXPECT_EQ(ids, c.ids) << testsupport::Show(c.label) << testsupport::Show(c.text);
    EXPECT_EQ(n, static_cast<int>(c.ids.size()));
  }
}

TEST_F(StoreTest, PauseRemindAgainAndCounterActOnLoadedRemindersOnly) {
  clk::SetForTest(At(2024, 1, 1));
  const double start = At(2024, 1, 5, 9);
  const int id = Add(Reminder(RepeatMode::Daily, start));
  const int gone = Add(Reminder(RepeatMode::Daily, start));
  ASSERT_EQ(store.RemoveLoadedReminder(gone), 1);
  EXPECT_EQ(store.RemoveLoadedReminder(gone), 0);

  EXPECT_EQ(store.SetPaused(gone, 1), 0);
  EXPECT_EQ(store.SetRemindAgain(gone, 1, At(2024, 1, 6)), 0);
  EXPECT_EQ(store.SetRepeatCounter(gone, 5), 0);
  auto untouched = Row(gone);
  EXPECT_EQ(untouched.Integer("txzt"), 0);
  EXPECT_EQ(untouched.Integer("xctx"), 0);
  EXPECT_EQ(untouched.Integer("cfjs"), 0);

  EXPECT_EQ(store.SetPaused(id, 1), 1);
  EXPECT_EQ(Row(id).Integer("txzt"), 1);
  EXPECT_EQ(store.SetPaused(id, 0), 1);
  EXPECT_EQ(Row(id).Integer("txzt"), 0);
  EXPECT_EQ(store.SetPaused(id, 2), 1);
  EXPECT_EQ(store.Reminders()[0].txzt, 1);
  EXPECT_EQ(Row(id).Integer("txzt"), 0);
  EXPECT_EQ(store.SetPaused(id, 3), 0);
  store.LoadReminders();
  EXPECT_EQ(store.Reminders()[0].txzt, 0);

  EXPECT_EQ(store.SetRemindAgain(id, 1, At(2024, 1, 6, 7, 8, 9)), 1);
  EXPECT_EQ(Row(id).Integer("xctx"), 1);
  EXPECT_EQ(Text(Row(id).DateTime("txdate")), Text(At(2024, 1, 6, 7, 8, 9)));
  EXPECT_EQ(store.SetRemindAgain(id, 0, At(2030, 1, 1)), 1);  // clearing stores ksdate
  EXPECT_EQ(Text(Row(id).DateTime("txdate")), Text(start));
  EXPECT_EQ(store.SetRepeatCounter(id, 5), 1);
  EXPECT_EQ(Row(id).Integer("cfjs"), 5);

  // A row deleted behind the store's back: the pause is reported as failed and the loaded
  // reminder stays running, as the table (without the row) would load it.
  ASSERT_EQ(store.Connection().Execute("delete from txsj where id=" + std::to_string(id)), 1);
  EXPECT_EQ(store.SetPaused(id, 1), 0);
  EXPECT_EQ(store.Reminders()[0].txzt, 0);
}

TEST_F(StoreTest, CategoryItemsOfEmptyAndFilledTables) {
  EXPECT_EQ(store.CategoryComboItems(0), std::vector<std::string>{"普通提醒"});
  EXPECT_EQ(store.CategoryComboItems(1), (std::vector<std::string>{"全部提醒", "普通提醒"}));
  clk::SetForTest(At(2024, 1, 1));
  // Each category once, sorted: Latin letters without regard to case, then Chinese by pinyin
  // (学 comes before 工 in code-point order).
  for (const char* category : {"学习", "Beta", "工作", "alpha", "个人", "工作"})
    Add(testing::With(Reminder(RepeatMode::Once, At(2024, 2, 1)), [&](ReminderRecord& r) { r.txlx = category; }));
  EXPECT_EQ(store.CategoryComboItems(1), (std::vector<std::string>{"全部提醒", "alpha", "Beta", "个人", "工作", "学习"}));
  EXPECT_EQ(store.CategoryComboItems(0), (std::vector<std::string>{"alpha", "Beta", "个人", "工作", "学习"}));
}

TEST_F(StoreTest, UserRowPasswordLoginModeAndProtectionFlags) {
  EXPECT_EQ(store.ReadPasswordHash(), EncodePassword(kInitialPassword));
  EXPECT_EQ(store.VerifyPassword(kInitialPassword), 1);
  EXPECT_EQ(store.VerifyPassword(""), 0);

  ProtectedActions rights{9, 9, 9, 9, 9, 9};
  EXPECT_EQ(store.ReadAdminRights(rights), 1);  // the image has none of the columns
  for (int v : {rights.cktxqx, rights.tjtxqx, rights.xgtxqx, rights.sctxqx, rights.txlqx, rights.jsbqx})
    EXPECT_EQ(v, 0);
  EXPECT_EQ(store.StoreAdminRights({1, 1, 1, 1, 1, 1}), 0);

  ASSERT_EQ(store.StorePassword(EncodePassword("Neu'")), 1);
  EXPECT_EQ(store.VerifyPassword("Neu'"), 1);
  EXPECT_EQ(store.VerifyPassword("neu'"), 0);
  EXPECT_EQ(store.VerifyPassword(kInitialPassword), 0);

  ASSERT_EQ(store.StoreLoginMode(5), 1);
  platform::db::RecordSet rs;
  rs.Open(store.Connection(), "select * from yhsj");
  EXPECT_EQ(rs.Integer("yhdlfs"), 1);

  for (const char* column : {"cktxqx", "tjtxqx", "xgtxqx", "sctxqx", "txlqx", "jsbqx"})
    ASSERT_EQ(store.Connection().Execute(std::string("alter table yhsj add column ") + column + " integer"), 1);
  ASSERT_EQ(store.StoreAdminRights({1, 2, 0, 1, 0, 3}), 1);
  ASSERT_EQ(store.ReadAdminRights(rights), 1);
  EXPECT_EQ((std::vector<int>{rights.cktxqx, rights.tjtxqx, rights.xgtxqx, rights.sctxqx, rights.txlqx,
                              rights.jsbqx}),
            (std::vector<int>{1, 2, 0, 1, 0, 3}));
}

// --- The due check through the store -----------------------------------------------------

std::vector<int> Ids(const ReminderList& list) {
  std::vector<int> ids;
  for (const ReminderRecord& r : list) ids.push_back(r.id);
  return ids;
}

TEST_F(StoreTest, ATotalRepeatLimitIsStoredAndOutlivesReloads) {
  clk::SetForTest(At(2024, 1, 10, 7));
  auto limited = [&](int unit) {
    ReminderRecord r = Reminder(RepeatMode::Daily, At(2024, 1, 10, 8));
    r.cfcs = 2;
    r.cfcsdw = unit;
    return Add(r);
  };
  const int total = limited(RepeatCountUnit::TimesTotal);
  const int perRun = limited(RepeatCountUnit::TimesPerRun);
  store.LoadReminders();
  ReminderList fired;

  store.CollectDueReminders(At(2024, 1, 10, 8), fired);
  EXPECT_EQ(Ids(fired), (std::vector<int>{total, perRun}));
  EXPECT_EQ(fired[0].cfjs, 1);
  EXPECT_EQ(Row(total).Integer("cfjs"), 1);
  EXPECT_EQ(Row(perRun).Integer("cfjs"), 0);

  clk::SetForTest(At(2024, 1, 10, 9));
  store.LoadReminders();  // a restart: the total goes on, the per-run count starts afresh
  store.CollectDueReminders(At(2024, 1, 11, 8), fired);
  EXPECT_EQ(Ids(fired), (std::vector<int>{total, perRun}));
  EXPECT_EQ(Row(total).Integer("cfjs"), 2);
  store.CollectDueReminders(At(2024, 1, 12, 8), fired);
  EXPECT_EQ(Ids(fired), std::vector<int>{perRun});

  store.LoadReminders();
  store.CollectDueReminders(At(2024, 1, 13, 8), fired);
  EXPECT_EQ(Ids(fired), std::vector<int>{perRun});
  EXPECT_EQ(Row(total).Integer("cfjs"), 2);
}

TEST_F(StoreTest, RemindAgainPendingDueAndStaleAreClearedInTheTable) {
  clk::SetForTest(At(2024, 5, 1, 8));
  const int once = Add(Reminder(RepeatMode::Once, At(2024, 5, 1, 9)));
  const int daily = Add(Reminder(RepeatMode::Daily, At(2024, 5, 1, 10, 0, 5)));
  store.LoadReminders();
  ReminderList fired;
  store.CollectDueReminders(At(2024, 5, 1, 9), fired);
  ASSERT_EQ(Ids(fired), std::vector<int>{once});

  const double again = At(2024, 5, 1, 9, 30);
  ASSERT_EQ(store.SetRemindAgain(once, 1, again), 1);
  store.CollectDueReminders(again - 1.0 / 86400, fired);  // pending
  EXPECT_TRUE(fired.empty());
  EXPECT_EQ(Row(once).Integer("xctx"), 1);

  store.CollectDueReminders(again, fired);  // due
  ASSERT_EQ(Ids(fired), std::vector<int>{once});
  EXPECT_EQ(fired[0].IsNoticeFiring, 0);
  EXPECT_EQ(fired[0].xctx, 0);
  EXPECT_EQ(Row(once).Integer("xctx"), 0);
  EXPECT_EQ(Text(Row(once).DateTime("txdate")), Text(At(2024, 5, 1, 9)));
  store.CollectDueReminders(again, fired);  // the same second again
  EXPECT_TRUE(fired.empty());

  // After a restart in that very second the stored state does not fire it again.
  ReminderStore restarted;
  ASSERT_EQ(restarted.OpenDatabase(path, kDatabasePassword), 1);
  clk::SetForTest(again);
  restarted.LoadReminders();
  restarted.CollectDueReminders(again, fired);
  EXPECT_TRUE(fired.empty());
  restarted.CloseDatabase();

  // Stale: its second was never checked; it is cleared and the mode goes on in that check.
  ASSERT_EQ(store.SetRemindAgain(daily, 1, At(2024, 5, 1, 10)), 1);
  store.CollectDueReminders(At(2024, 5, 1, 10, 0, 5), fired);
  ASSERT_EQ(Ids(fired), std::vector<int>{daily});
  EXPECT_EQ(Row(daily).Integer("xctx"), 0);
  EXPECT_EQ(Text(Row(daily).DateTime("txdate")), Text(At(2024, 5, 1, 10, 0, 5)));
}

TEST_F(StoreTest, NoticesCountDownOncePerSecondCheckedEvenWhenTheTickIsLate) {
  clk::SetForTest(At(2024, 7, 1, 8, 30));
  ReminderRecord r = Reminder(RepeatMode::Once, At(2024, 7, 1, 12));
  r.tqsj = 3;
  r.tqdw = DatePart::Hour;
  Add(r);
  store.LoadReminders();

  // Every second from the load to past the occurrence, each checked by a tick that comes
  // three seconds late and twice: the second given decides, and nothing fires twice.
  std::vector<std::string> firings;
  ReminderList fired;
  const std::int64_t from = LinearSeconds(At(2024, 7, 1, 8, 30)), to = LinearSeconds(At(2024, 7, 1, 12, 0, 5));
  for (std::int64_t s = from; s <= to; ++s) {
    const double second = DateTimeFromSeconds(s);
    clk::SetForTest(second + 3.0 / 86400);
    for (int twice = 0; twice < 2; ++twice) {
      store.CollectDueReminders(second, fired);
      for (const ReminderRecord& f : fired)
        firings.push_back(Text(second) + (f.IsNoticeFiring ? " notice " + std::to_string(f.NoticeUnitsLeft) : ""));
    }
  }
  EXPECT_EQ(firings, (std::vector<std::string>{"2024-07-01 09:00:00 notice 3", "2024-07-01 10:00:00 notice 2",
                                               "2024-07-01 11:00:00 notice 1", "2024-07-01 12:00:00"}));
}

}  // namespace
}  // namespace workmemo
