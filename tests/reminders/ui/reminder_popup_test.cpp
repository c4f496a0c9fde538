// The reminder pop-up on a real window offscreen: paging, the kind of a firing, auto-close,
// its place, the password cover and its menus.
#include "reminders/ui/reminder_popup.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/ui/test_driver.h"
#include "popup_fixture.h"
#include "reminders/ui/popup_layout_rules.h"

namespace workmemo::testing {
namespace {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;
using namespace popup;
using testsupport::Show;

std::string Lines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += (i > 1 ? "\r\n" : "") + std::to_string(i);
  return text;
}

class PopupTest : public PopupFixture {
 protected:
  // A reminder saved and fired in its own second; the pop-up shows it.
  int Pop(std::function<void(ReminderRecord&)> adjust = {}) {
    next += 60.0 / 86400;
    const int id = SaveOnce(next, std::move(adjust));
    Fire(next);
    return id;
  }
  double next = MakeDateTime(2016, 2, 7, 9, 0, 0);
};

TEST_F(PopupTest, ATitleOfThreeLinesShowsALineAPage) {
  Pop([](ReminderRecord& r) { r.txbt = "第一行\r\n第二行\r\n第三行"; });
  ASSERT_NE(Shown(), nullptr);
  EXPECT_EQ(Popup().TitlePageCount, 3);
  EXPECT_TRUE(Visible(kTitleUpSprite));
  EXPECT_TRUE(Visible(kTitleDownSprite));
  EXPECT_EQ(Show(Text(kTitleTextSprite)), Show("第一行"));
  for (const char* expected : {"第二行", "第三行", "第三行"}) {
    ClickSprite(kTitleDownSprite);
    EXPECT_EQ(Show(Text(kTitleTextSprite)), Show(expected));
  }
  // The wheel over the title frame turns its pages too: towards the user is on, away is back.
  auto& box = Shown()->window().UnitAs<ui::AnimationBox>(kBackgroundBox);
  drive::Wheel(box, kFrameLeft + 20, kTitleFrameTop + 10, 120);
  EXPECT_EQ(Popup().TitlePage, 2);
  drive::Wheel(box, 40, kTitleFrameTop + 10, 120);  // outside both frames
  EXPECT_EQ(Popup().TitlePage, 2);
  // A long title breaks at the frame's width.
  Pop([](ReminderRecord& r) {
    r.txbt = "每周五下午三点整理本周的工作记录，汇总各项目的进度，准备下周一部门例会上的汇报材料";
  });
  EXPECT_EQ(Popup().TitlePageCount, 2);
  // A one-line title has no page buttons.
  Pop([](ReminderRecord& r) { r.txbt = "一行"; });
  EXPECT_EQ(Popup().TitlePageCount, 1);
  EXPECT_FALSE(Visible(kTitleUpSprite));
}

// Lines `first` to `last` of the texts above, then empty lines up to ten.
std::string PageOfLines(int first, int last) {
  std::string text;
  for (int i = 0; i < 10; ++i) {
    if (i > 0) text += "\r\n";
    if (first + i <= last) text += std::to_string(first + i);
  }
  return text;
}

TEST_F(PopupTest, ContentIsPagedTenLinesAPage) {
  const struct {
    int lines, pages, boxWidth;
    bool buttons;
    int lastPageFirst;
  } cases[] = {{1, 1, 376, false, 1}, {10, 1, 394, false, 1}, {11, 2, 394, true, 11}, {25, 3, 394, true, 21}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines);
    Pop([&c](ReminderRecord& r) { r.txnr = Lines(c.lines); });
    EXPECT_EQ(Popup().ContentLineCount, c.lines);
    EXPECT_EQ(Popup().ContentPageCount, c.pages);
    EXPECT_EQ(Shown()->window().Unit(kContentBox).Width(), c.boxWidth);
    EXPECT_EQ(Visible(kContentDownSprite), c.buttons);
    EXPECT_EQ(Text(kContentTextSprite), PageOfLines(1, std::min(c.lines, 10)));
    for (int click = 0; click < c.pages; ++click) Shown()->NextContentPage();
    EXPECT_EQ(Popup().ContentPage, c.pages);
    EXPECT_EQ(Text(kContentTextSprite), PageOfLines(c.lastPageFirst, c.lines));
    Shown()->ShowPopupContentPage(0);
    EXPECT_EQ(Popup().ContentPage, 1);
  }
}

TEST_F(PopupTest, TheKindOfAFiringAndTheLinesOfTheStrip) {
  Pop([](ReminderRecord& r) { r.txfs = RepeatMode::Once; });
  EXPECT_EQ(Show(Text(kKindSprite)), Show("正式提醒"));
  EXPECT_EQ(Show(Text(kStartSprite)), Show("提醒时间：2016-02-07 09:01:00"));
  EXPECT_EQ(Show(Text(kModeSprite)), Show("提醒方式：[一次]"));
  auto& box = Shown()->window().UnitAs<ui::AnimationBox>(kBackgroundBox);
  const int mode = Shown()->SpriteId(kModeSprite);
  EXPECT_EQ(box.ObjectLeft(mode) + box.ObjectWidth(mode), kWidth - 3);
  EXPECT_EQ(Text(kClockSprite), "09:01:00");
  EXPECT_EQ(Shown()->window().UnitAs<ui::Timer>(kClockTimer).Interval(), 100);

  ReminderRecord notice;
  notice.IsNoticeFiring = 1;
  notice.NoticeUnitsLeft = 2;
  notice.tqdw = DatePart::Hour;
  EXPECT_EQ(Show(PopupKindText(notice)), Show("提前提醒 (离正式提醒时间还有： 2时)"));
  notice.NoticeUnitsLeft = 5;
  notice.tqdw = DatePart::Minute;
  EXPECT_EQ(Show(PopupKindText(notice)), Show("提前提醒 (离正式提醒时间还有： 5分)"));
}

TEST_F(PopupTest, AutoCloseCountsDownAndARefillStartsTheCountAgain) {
  Pop([](ReminderRecord& r) { r.gbcksj = 3; });
  ui::Window& window = Shown()->window();
  EXPECT_EQ(Show(window.Unit(kTitleLabel).Text()), Show("提醒：3"));
  EXPECT_EQ(window.UnitAs<ui::Timer>(kAutoCloseTimer).Interval(), 1000);
  Shown()->TickPopupAutoClose();
  Shown()->TickPopupAutoClose();
  EXPECT_EQ(Show(window.Unit(kTitleLabel).Text()), Show("提醒：1"));

  Pop([](ReminderRecord& r) { r.gbcksj = 2; });  // a refill of the same window
  ASSERT_EQ(&Shown()->window(), &window);
  EXPECT_EQ(Counter(), "2/2");
  EXPECT_EQ(Show(window.Unit(kTitleLabel).Text()), Show("提醒：2"));
  Shown()->TickPopupAutoClose();
  sound.calls.clear();
  Shown()->TickPopupAutoClose();
  EXPECT_EQ(Shown(), nullptr);
  EXPECT_TRUE(PopupQueue().empty());
  EXPECT_EQ(sound.calls.size(), 1u);  // the sound stopped with the window
  EXPECT_FALSE(AccessConfigItem("dstx", "txcWzX", {}, true).empty());

  // A reminder without a close delay stays.
  Pop();
  EXPECT_EQ(Show(Shown()->window().Unit(kTitleLabel).Text()), Show("提醒："));
  EXPECT_EQ(Shown()->window().UnitAs<ui::Timer>(kAutoCloseTimer).Interval(), 0);
}

// Minimised with its – button, the pop-up keeps its entries; the next reminder brings it
// back on the screen where it was, with every entry, and the newest on display.
TEST_F(PopupTest, AReminderThatFiresIntoAMinimisedPopupBringsItBack) {
  Pop();
  ui::Window& window = Shown()->window();
  window.Move(120, 90);
  drive::Click(window.Unit("最小化按钮"), 5, 5);
  ASSERT_TRUE(window.IsMinimised());
  EXPECT_EQ(Counter(), "1/1");
  Pop();  // a refill of the same window
  ASSERT_EQ(&Shown()->window(), &window);
  EXPECT_EQ(Counter(), "2/2");
  EXPECT_TRUE(window.IsVisible());
  EXPECT_FALSE(window.IsMinimised());
  EXPECT_EQ(std::pair(window.Left(), window.Top()), std::pair(120, 90));

  window.Hide();  // or hidden: shown again as well
  Pop();
  EXPECT_EQ(Counter(), "3/3");
  EXPECT_TRUE(window.IsVisible());
}

TEST_F(PopupTest, ARememberedPositionIsBroughtBackOntoTheScreen) {
  const struct {
    int saved, size, screen, reserve, opened;
  } cases[] = {
      {-40, 480, 1920, 0, 0},       {5000, 480, 1920, 0, 1435}, {100, 480, 1920, 0, 100},
      {1440, 480, 1920, 0, 1440},   {1441, 480, 1920, 0, 1435}, {5000, 350, 1080, 40, 685},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RememberedPopupPosition(c.saved, c.size, c.screen, c.reserve), c.opened) << c.saved;
  }
  AccessConfigItem("gjsz", "txckwz", "1");
  AccessConfigItem("dstx", "txcWzX", "-40");
  AccessConfigItem("dstx", "txcWzY", "abc");
  Pop();
  EXPECT_EQ(Shown()->window().Left(), 0);
  EXPECT_EQ(Shown()->window().Top(), 0);
  EXPECT_TRUE(Shown()->window().UnitAs<ui::MenuItem>(kPositionItem).IsChecked());
}

TEST_F(PopupTest, TheWindowMenuStoresTopMostAndPositionMemoryOrSaysWhyNot) {
  AccessConfigItem("gjsz", "txckzd", "1");
  Settings().PopupTopmost = 1;
  Pop();
  ui::Window& window = Shown()->window();
  EXPECT_TRUE(window.IsTopmost());
  script->AnswerMenu(std::string(kTopmostItem));
  drive::Click(window.Unit("菜单按钮"), 5, 5);
  EXPECT_FALSE(window.IsTopmost());
  EXPECT_EQ(AccessConfigItem("gjsz", "txckzd", {}, true), "0");
  script->AnswerMenu(std::string(kPositionItem));
  drive::Click(window.Unit("菜单按钮"), 5, 5);
  EXPECT_EQ(AccessConfigItem("gjsz", "txckwz", {}, true), "1");
  EXPECT_TRUE(window.UnitAs<ui::MenuItem>(kPositionItem).IsChecked());

  // Refused by config.ini: said, and neither the window nor a tick nor a setting changes.
  platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::DiskFull);
  for (std::string_view item : {kTopmostItem, kPositionItem}) {
    script->AnswerMenu(std::string(item));
    drive::Click(window.Unit("菜单按钮"), 5, 5);
  }
  platform::files::ClearFaultsForTest();
  EXPECT_EQ(messages, std::vector<std::string>(2, ConfigWriteFailedMessage()));
  EXPECT_FALSE(window.IsTopmost());
  EXPECT_FALSE(window.UnitAs<ui::MenuItem>(kTopmostItem).IsChecked());
  EXPECT_EQ(Settings().PopupTopmost, 0);
  EXPECT_TRUE(window.UnitAs<ui::MenuItem>(kPositionItem).IsChecked());
  EXPECT_EQ(AccessConfigItem("gjsz", "txckzd", {}, true), "0");
  EXPECT_EQ(AccessConfigItem("gjsz", "txckwz", {}, true), "1");
}

TEST_F(PopupTest, ANewSkinLaysTheOpenPopupOutAgainOnTheSameEntry) {
  Pop([](ReminderRecord& r) { r.txbt = "first"; });
  Pop([](ReminderRecord& r) { r.txbt = "second"; });
  Shown()->ShowPreviousPopupRecord();
  Shown()->SetRemindAgainText("25");
  for (const auto& step : Seams().RelayoutForSkin) {
    if (step.step == kSkinReminderPopup) step.relayout();
  }
  EXPECT_EQ(Counter(), "1/2");
  EXPECT_EQ(Text(kTitleTextSprite), "first");
  EXPECT_EQ(Text(kMinutesSprite), "0");
  EXPECT_EQ(Shown()->window().Unit(kMinutesBox).Text(), "0");
}

class FakeCover : public PasswordCover {
 public:
  void HideCover() override { hidden = true; }
  bool hidden = false;
};

TEST_F(PopupTest, ThePasswordCoverHidesEveryCoverOnTheRightPassword) {
  Settings().ViewRemindersNeedPassword = 1;
  Pop([this](ReminderRecord& r) { r.txyy = MakeFile("a.wav"); });
  EXPECT_TRUE(Shown()->IsCoverShown());
  EXPECT_EQ(sound.calls.size(), 1u);  // the alarm sounds under the cover
  FakeCover other;
  Seams().LoadedCovers.push_back([&other] { return std::vector<PasswordCover*>{&other}; });

  ui::Unit& box = Shown()->window().Unit(kPasswordBox);
  box.SetText("wrong");
  drive::Key(box, 13);
  EXPECT_EQ(messages, std::vector<std::string>{"密码错误，请重新输入！"});
  EXPECT_EQ(box.Text(), "");
  EXPECT_TRUE(Shown()->IsCoverShown());

  workmemo::Run().AskPasswordOnce = 1;
  box.SetText("731862");
  drive::Click(Shown()->window().Unit(kPasswordConfirm), 2, 2);
  EXPECT_FALSE(Shown()->IsCoverShown());
  EXPECT_TRUE(other.hidden);
  EXPECT_EQ(workmemo::Run().PasswordEntered, 1);
  EXPECT_EQ(box.Text(), "");
  Seams().LoadedCovers.pop_back();

  // Logged in, the next pop-up opens uncovered.
  CloseReminderPopup();
  Pop();
  EXPECT_FALSE(Shown()->IsCoverShown());
}

}  // namespace
}  // namespace workmemo::testing
