// OK (remind again in N minutes) and the two pauses of the pop-up, the minutes input, and the
// pop-up's handlers while a box they opened is up and the reminder tick runs meanwhile.
#include <gtest/gtest.h>

#include "platform/ui/test_driver.h"
#include "popup_fixture.h"
#include "reminders/ui/popup_layout_rules.h"

namespace workmemo::testing {
namespace {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;
using namespace popup;
using testsupport::Show;

constexpr double kMinute = 1.0 / 1440;

class RemindAgainTest : public PopupFixture {
 protected:
  // `count` reminders due in one second, shown by the pop-up; their ids in order.
  std::vector<int> PopTogether(int count, std::function<void(ReminderRecord&)> adjust = {}) {
    second += 60.0 / 86400;
    std::vector<int> ids;
    for (int i = 0; i < count; ++i) ids.push_back(SaveOnce(second, adjust));
    Fire(second);
    return ids;
  }
  const ReminderRecord* Loaded(int id) {
    const int p = Databases().Reminders.FindLoadedReminder(id);
    return p > 0 ? &Databases().Reminders.Reminders()[static_cast<std::size_t>(p) - 1] : nullptr;
  }
  int StoredPause(int id) {
    platform::db::RecordSet rows;
    rows.Open(Databases().Reminders.Connection(), "select txzt from txsj where id=" + std::to_string(id));
    return rows.Integer("txzt");
  }
  void Ok(std::string_view minutes) {
    Shown()->SetRemindAgainText(minutes);
    ClickSprite(kOkSprite);
  }
  double second = MakeDateTime(2016, 2, 7, 9, 0, 0);
};

TEST_F(RemindAgainTest, OkRemindsAgainOrClosesByItsMinutes) {
  const struct {
    const char* minutes;
    int queued, shownOf;  // the entry OK is pressed on, of `queued`
    int notice;
    // What follows: the counter ("" closed), the minutes stored (0 none) and a message.
    const char* counter;
    int remindIn;
    const char* message;
  } cases[] = {
      {"0", 2, 2, 0, "", 0, ""},
      {"", 2, 2, 0, "", 0, ""},
      {"abc", 2, 2, 0, "", 0, ""},
      {"-3", 1, 1, 0, "", 0, ""},
      {"2.9", 2, 2, 0, "1/1", 2, ""},
      {"15", 3, 2, 0, "2/2", 15, ""},
      {"5", 3, 3, 0, "2/2", 5, ""},
      {"5", 1, 1, 0, "", 5, ""},
      {"1e9", 1, 1, 0, "", kMaxRemindAgainMinutes, ""},
      {"10", 1, 1, 1, "1/1", 0, "[提前提醒]不支持设置几分钟后再次提醒！"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.minutes) + " on " + std::to_string(c.shownOf) + "/" + std::to_string(c.queued));
    messages.clear();
    const std::vector<int> ids = PopTogether(c.queued, [&c](ReminderRecord& r) { r.txbt = "x"; });
    // A notice is a copy the due check marked; the queue holds it as fired.
    for (ReminderRecord& queued : PopupQueue()) queued.IsNoticeFiring = c.notice;
    while (Popup().PopupCurrent > c.shownOf) Shown()->ShowPreviousPopupRecord();
    const double now = platform::clock::Now();
    Ok(c.minutes);

    EXPECT_EQ(Counter(), c.counter);
    const int handled = ids[static_cast<std::size_t>(c.shownOf) - 1];
    EXPECT_EQ(Loaded(handled)->xctx, c.remindIn > 0 ? 1 : 0);
    if (c.remindIn > 0) {
      EXPECT_NEAR(Loaded(handled)->txdate, now + c.remindIn * kMinute, 1e-6);
    }
    EXPECT_EQ(messages, c.message[0] ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    if (Shown() != nullptr) {
      EXPECT_EQ(Show(Text(kMinutesSprite)), Show(c.remindIn > 0 ? "0" : c.minutes));
      for (const ReminderRecord& left : PopupQueue()) EXPECT_TRUE(left.id != handled || c.notice) << left.id;
    } else {
      EXPECT_TRUE(PopupQueue().empty());
    }
    CloseReminderPopup();
  }
}

TEST_F(RemindAgainTest, OkOnTheSecondOfThreeShowsTheFormerThird) {
  const std::vector<int> ids = PopTogether(3);
  Shown()->ShowPreviousPopupRecord();
  Ok("15");
  ASSERT_EQ(PopupQueue().size(), 2u);
  EXPECT_EQ(PopupQueue()[1].id, ids[2]);
  EXPECT_EQ(Popup().PopupCurrent, 2);
  // The reminder fires again fifteen minutes on, to the second, and is queued once more.
  CloseReminderPopup();
  const double again = Loaded(ids[1])->txdate;
  Fire(again);
  ASSERT_EQ(PopupQueue().size(), 1u);
  EXPECT_EQ(PopupQueue()[0].id, ids[1]);
}

TEST_F(RemindAgainTest, AFailedRemindAgainStillTakesTheEntryOffAndSaysSoAtTheEnd) {
  const std::vector<int> ids = PopTogether(2);
  // Deleted since it was queued: the store no longer holds it.
  ASSERT_EQ(Databases().Reminders.RemoveLoadedReminder(ids[1]), 1);
  Ok("5");
  EXPECT_EQ(Counter(), "1/1");
  EXPECT_EQ(plainMessages, std::vector<std::string>{"修改提醒时间失败！"});
}

TEST_F(RemindAgainTest, PausesLastUntilTheReloadOrInTheTable) {
  // Two daily reminders at nine; the first paused until the next load, the second for good.
  second = MakeDateTime(2016, 2, 7, 9, 0, 0);
  std::vector<int> ids;
  for (int i = 0; i < 2; ++i) {
    ReminderRecord r;
    r.ksdate = r.kstime = r.txdate = second;
    r.jsdate = r.jstime = second + 30;
    r.txfs = RepeatMode::Daily;
    r.txbt = "daily " + std::to_string(i);
    ASSERT_EQ(Databases().Reminders.SaveReminder(r), 1);
    ids.push_back(r.id);
  }
  RefreshReminderList();
  Fire(second);
  ASSERT_EQ(Counter(), "2/2");
  script->AnswerMenu("永久暂停");
  ClickSprite(kPauseSprite);
  Shown()->ShowPreviousPopupRecord();
  script->AnswerMenu("临时暂停");
  ClickSprite(kPauseSprite);
  // The pop-up stays with both entries; the list page shows both paused.
  EXPECT_EQ(Counter(), "1/2");
  for (int id : ids) {
    const int p = FindReminderIndex(ListPageReminders(), id);
    ASSERT_GT(p, 0);
    EXPECT_EQ(ListPageReminders()[static_cast<std::size_t>(p) - 1].txzt, 1);
  }
  EXPECT_EQ(StoredPause(ids[0]), 0);
  EXPECT_EQ(StoredPause(ids[1]), 1);
  CloseReminderPopup();

  Fire(second + 1);  // the next day: neither fires
  EXPECT_EQ(Shown(), nullptr);
  Databases().Reminders.LoadReminders();  // as at the next start
  Fire(second + 2);
  EXPECT_EQ(Counter(), "1/1");
  EXPECT_EQ(PopupQueue()[0].id, ids[0]);
}

TEST_F(RemindAgainTest, AFailedPauseSaysSoAndChangesNothing) {
  const std::vector<int> ids = PopTogether(1);
  ASSERT_EQ(Databases().Reminders.Connection().Execute("delete from txsj where id=" + std::to_string(ids[0])), 1);
  Shown()->SetReminderPause(1);
  EXPECT_EQ(messages, std::vector<std::string>{"设置暂停状态失败，可能该提醒已删除！"});
  EXPECT_EQ(PopupQueue()[0].txzt, 0);
  EXPECT_EQ(Loaded(ids[0])->txzt, 0);
  EXPECT_EQ(Counter(), "1/1");
}

TEST_F(RemindAgainTest, TheMinutesAreTypedInTheBoxOrPickedFromTheList) {
  PopTogether(1);
  ui::Window& window = Shown()->window();
  EXPECT_EQ(Text(kMinutesSprite), "0");
  EXPECT_FALSE(window.Unit(kMinutesFrame).IsVisible());
  // Keys reach the box only while it is open.
  drive::Key(window.Unit(kMinutesBox), '7');
  EXPECT_EQ(window.Unit(kMinutesBox).Text(), "0");

  ClickSprite(kMinutesSprite);
  EXPECT_TRUE(window.Unit(kMinutesFrame).IsVisible());
  EXPECT_TRUE(window.Unit(kMinutesBox).IsVisible());
  window.Unit(kMinutesBox).SetText("12");
  EXPECT_EQ(Text(kMinutesSprite), "12");
  ClickSprite(kContentFrameSprite);  // any other sprite closes the box
  EXPECT_FALSE(window.Unit(kMinutesFrame).IsVisible());
  EXPECT_EQ(Text(kMinutesSprite), "12");

  auto& combo = window.UnitAs<ui::ComboBox>(kMinutesCombo);
  EXPECT_EQ(combo.ItemCount(), 18);
  combo.SetCurrentIndex(14);
  ui::EventArgs picked;
  window.Fire(kMinutesCombo, ui::Event::Changed, picked);  // as the user's choice reports it
  EXPECT_EQ(Text(kMinutesSprite), "30");
  const double now = platform::clock::Now();
  const int id = PopupQueue()[0].id;
  ClickSprite(kOkSprite);
  EXPECT_NEAR(Loaded(id)->txdate, now + 30 * kMinute, 1e-6);
}

// A box of the pop-up is modal, but the reminder tick and the auto-close keep running in its
// loop: they may refill the pop-up, close it and open the next while the handler waits.
TEST_F(RemindAgainTest, HandlersTouchNothingFreedWhileTheirBoxWasUp) {
  const std::vector<int> first = PopTogether(1, [](ReminderRecord& r) { r.gbcksj = 1; });
  PopupQueue()[0].IsNoticeFiring = 1;
  ui::Window* opened = &Shown()->window();
  int boxes = 0;
  onMessage = [&] {
    ++boxes;
    PopTogether(1);                      // a refill
    ASSERT_NE(Shown(), nullptr);
    Shown()->TickPopupAutoClose();       // the count runs out: closed, queue dropped
    EXPECT_EQ(Shown(), nullptr);
    PopTogether(1);                      // the next second opens a new pop-up
  };
  Ok("10");  // on a notice: its message box
  EXPECT_EQ(boxes, 1);
  ASSERT_NE(Shown(), nullptr);
  EXPECT_NE(&Shown()->window(), opened);
  EXPECT_EQ(Counter(), "1/1");

  // The wrong password's box, the same way.
  Settings().ViewRemindersNeedPassword = 1;
  CloseReminderPopup();
  PopTogether(1, [](ReminderRecord& r) { r.gbcksj = 1; });
  Shown()->window().Unit(kPasswordBox).SetText("wrong");
  drive::Key(Shown()->window().Unit(kPasswordBox), 13);
  EXPECT_EQ(boxes, 2);
  ASSERT_NE(Shown(), nullptr);
  EXPECT_EQ(Shown()->window().Unit(kPasswordBox).Text(), "");

  // A failed pause's box.
  onMessage = [&] {
    ++boxes;
    Shown()->TickPopupAutoClose();
  };
  CloseReminderPopup();
  const std::vector<int> gone = PopTogether(1, [](ReminderRecord& r) { r.gbcksj = 1; });
  ASSERT_EQ(Databases().Reminders.RemoveLoadedReminder(gone[0]), 1);
  script->AnswerMenu("临时暂停");
  ClickSprite(kPauseSprite);
  EXPECT_EQ(boxes, 3);
  EXPECT_EQ(Shown(), nullptr);
  (void)first;
}

}  // namespace
}  // namespace workmemo::testing
