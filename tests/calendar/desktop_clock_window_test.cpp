#include "calendar/desktop_clock_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar_fixture.h"
#include "platform/files/files.h"
#include "platform/ui/app.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/shell_services.h"

namespace workmemo::testing {
namespace {

namespace ui = platform::ui;

TEST(PlaceClock, StoredPositionsComeBackOntoTheScreen) {
  const ClockScreen screen{1024, 768, 40};
  const struct {
    const char* left;
    const char* top;
    int x, y;
    bool write;
  } cases[] = {
      {"", "", 452, 672, true},         // the first run: centred above the taskbar, written
      {"", "300", 452, 672, true},      // no left: as the first run
      {"2000", "-30", 452, 0, false},   // beyond the right edge: centred; above the top: 0
      {"100", "800", 100, 672, false},  // below the bottom: above the taskbar
      {"905", "717", 905, 717, false},  // the last place that is still on the screen
      {"906", "718", 452, 672, false},
      {"-5", "abc", 0, 0, false},       // an unreadable number reads 0
  };
  for (const auto& c : cases) {
    const ClockPlacement p = PlaceClock(c.left, c.top, screen);
    EXPECT_EQ(p.left, c.x) << c.left << "," << c.top;
    EXPECT_EQ(p.top, c.y) << c.left << "," << c.top;
    EXPECT_EQ(p.write, c.write) << c.left << "," << c.top;
  }
}

TEST(ClockAlpha, StoredAndMenuOpacities) {
  const struct {
    const char* stored;
    int alpha;
  } stored[] = {{"", 255}, {"10", 255}, {"300", 255}, {"24", 255}, {"25", 25}, {"255", 255}, {"128", 128}};
  for (const auto& c : stored) EXPECT_EQ(ClockAlphaFromSetting(c.stored), c.alpha) << c.stored;
  const struct {
    const char* item;
    int alpha;
  } items[] = {{"10", 25}, {"50", 125}, {"90", 225}, {"100", 255}, {"110", 0}, {"", 0}};
  for (const auto& c : items) EXPECT_EQ(ClockAlphaOfMenuItem(c.item), c.alpha) << c.item;
}

class ClockTest : public CalendarTest {
 protected:
  static std::string Read(const char* section, const char* key) { return AccessConfigItem(section, key, {}, true); }
  ui::Window& Clock() { return *DesktopClockWindow(); }
  // The picture a sprite shows now, as the box draws it.
  std::string SpriteLook(const char* name) {
    auto& box = Clock().UnitAs<ui::AnimationBox>("动画框1");
    const int id = ClockSpriteId(name);
    return box.Capture(box.ObjectLeft(id), box.ObjectTop(id), box.ObjectWidth(id), box.ObjectHeight(id));
  }
  void ChooseMenuItem(const char* item) {
    Clock().UnitAs<ui::MenuItem>(item).Choose();
    Pump();
  }
};

TEST_F(ClockTest, TheDigitsShowTheTimeWithZeroFromItsOwnEntry) {
  SetNow(2016, 1, 31, 9, 5, 7);
  // A plain window colour behind the digits, so equal digits look equal wherever they stand.
  Ui().BackgroundPicture.clear();
  ShowDesktopClock();
  ASSERT_NE(DesktopClockWindow(), nullptr);
  EXPECT_EQ(Clock().Width(), kClockWidth);
  EXPECT_EQ(Clock().Height(), kClockHeight);
  EXPECT_EQ(DigitPicture(0), FindSkinEntry("0"));
  EXPECT_EQ(DigitPicture(9), FindSkinEntry("9"));
  EXPECT_FALSE(DigitPicture(0).empty());
  EXPECT_TRUE(DigitPicture(10).empty());
  EXPECT_TRUE(DigitPicture(-1).empty());
  const std::string zero = SpriteLook("时1");
  EXPECT_TRUE(SpriteLook("分1") == zero);
  EXPECT_TRUE(SpriteLook("秒1") == zero);
  for (const char* other : {"时2", "分2", "秒2"}) EXPECT_FALSE(SpriteLook(other) == zero) << other;
  EXPECT_FALSE(SpriteLook("时2") == SpriteLook("分2"));
  EXPECT_FALSE(SpriteLook("分2") == SpriteLook("秒2"));
  // 19:59:00: the hour's first digit and every digit of 9 look as they did.
  const std::string nine = SpriteLook("时2");
  SetNow(2016, 1, 31, 19, 59, 0);
  TickDesktopClock();
  EXPECT_TRUE(SpriteLook("分2") == nine);
  EXPECT_TRUE(SpriteLook("秒1") == zero);
  EXPECT_TRUE(SpriteLook("秒2") == zero);
  EXPECT_FALSE(SpriteLook("时1") == zero);
  EXPECT_EQ(Clock().UnitAs<ui::Timer>("时钟1").Interval(), 1000);
}

TEST_F(ClockTest, StoredOpacityOpensTheClockAtIt) {
  const struct {
    const char* stored;
    int alpha;
  } cases[] = {{"10", 255}, {"300", 255}, {"25", 25}};
  for (const auto& c : cases) {
    AccessConfigItem("szck", "tmd", c.stored);
    ShowDesktopClock();
    EXPECT_EQ(Clock().Opacity(), c.alpha) << c.stored;
    CloseDesktopClock();
  }
  ShowDesktopClock();
  ChooseMenuItem("100");
  EXPECT_EQ(Clock().Opacity(), 255);
  EXPECT_EQ(Read("szck", "tmd"), "255");
  ChooseMenuItem("30");
  EXPECT_EQ(Clock().Opacity(), 75);
  EXPECT_EQ(Read("szck", "tmd"), "75");
}

TEST_F(ClockTest, TheFirstRunPlacesTheClockAndWritesWhereAndThatItIsOpen) {
  ShowDesktopClock();
  const ClockScreen screen{ui::ScreenWidth(), ui::ScreenHeight(), 40};
  const ClockPlacement expected = PlaceClock("", "", screen);
  EXPECT_EQ(Clock().Left(), expected.left);
  EXPECT_EQ(Clock().Top(), expected.top);
  EXPECT_EQ(Read("ckwz", "szckwzX"), std::to_string(expected.left));
  EXPECT_EQ(Read("ckwz", "szckwzY"), std::to_string(expected.top));
  EXPECT_EQ(Read("szck", "szckxs"), "1");
  // Moves are written; while the clock is minimised nothing is.
  Clock().Move(20, 30);
  Pump();
  EXPECT_EQ(Read("ckwz", "szckwzX"), "20");
  EXPECT_EQ(Read("ckwz", "szckwzY"), "30");
  Clock().Minimise();
  Pump();
  ASSERT_TRUE(Clock().IsMinimised());
  Clock().Move(60, 70);
  Pump();
  EXPECT_EQ(Read("ckwz", "szckwzX"), "20");
  EXPECT_EQ(Read("ckwz", "szckwzY"), "30");
}

TEST_F(ClockTest, TopmostFromTheSettingAndFromTheMenu) {
  AccessConfigItem("szck", "zzzq", "1");
  ShowDesktopClock();
  EXPECT_TRUE(Clock().IsTopmost());
  EXPECT_TRUE(Clock().UnitAs<ui::MenuItem>("总在最前").IsChecked());
  ChooseMenuItem("总在最前");
  EXPECT_FALSE(Clock().IsTopmost());
  EXPECT_EQ(Read("szck", "zzzq"), "0");
  ChooseMenuItem("总在最前");
  EXPECT_TRUE(Clock().IsTopmost());
  EXPECT_EQ(Read("szck", "zzzq"), "1");
}

// A menu switch that config.ini refuses says so and changes neither the clock nor its tick.
TEST_F(ClockTest, AMenuSwitchTheSettingsFileRefusesSaysSoAndChangesNothing) {
  std::vector<std::string> messages;
  Services().ShowMessageBox = [&messages](std::string_view m) { messages.emplace_back(m); };
  ShowDesktopClock();
  auto state = [this] {
    return std::to_string(Clock().Opacity()) + " " + std::to_string(Clock().IsTopmost()) +
           std::to_string(Clock().UnitAs<ui::MenuItem>("总在最前").IsChecked()) + "\n" +
           platform::files::ReadAll(ConfigFilePath()).value_or("");
  };
  const std::string before = state();
  platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::DiskFull);
  ChooseMenuItem("50");
  ChooseMenuItem("总在最前");
  platform::files::ClearFaultsForTest();
  EXPECT_EQ(messages, std::vector<std::string>(2, ConfigWriteFailedMessage()));
  EXPECT_EQ(state(), before);
  Services() = ShellServices();
}

TEST_F(ClockTest, OpeningItAgainRaisesTheOneClock) {
  ShowDesktopClock();
  ui::Window* first = DesktopClockWindow();
  Clock().Move(20, 30);
  ShowDesktopClock();
  EXPECT_EQ(DesktopClockWindow(), first);
  EXPECT_EQ(Clock().Left(), 20) << "not loaded again, so not placed again";
}

TEST_F(ClockTest, ClosedFromItsMenuItStaysClosedFromTheMainMenuItComesBack) {
  OpenMainWindow();
  auto& item = main->Window().UnitAs<ui::MenuItem>("数字时钟");
  ShowDesktopClock();  // from the tray: the main menu item stays unticked
  EXPECT_FALSE(item.IsChecked());
  ChooseMenuItem("关闭");
  EXPECT_EQ(DesktopClockWindow(), nullptr);
  EXPECT_EQ(Read("szck", "szckxs"), "0");

  item.Choose();  // ToggleDesktopClock: ticks and opens
  Pump();
  EXPECT_TRUE(item.IsChecked());
  ASSERT_NE(DesktopClockWindow(), nullptr);
  EXPECT_EQ(Read("szck", "szckxs"), "1");
  item.Choose();  // and unticks and closes, leaving it open for the next start
  Pump();
  EXPECT_FALSE(item.IsChecked());
  EXPECT_EQ(DesktopClockWindow(), nullptr);
  EXPECT_EQ(Read("szck", "szckxs"), "1");

  item.Choose();
  Pump();
  ChooseMenuItem("关闭");  // the clock's own close takes the tick away too
  EXPECT_FALSE(item.IsChecked());
}

TEST_F(ClockTest, TheEndOfTheProgramClosesTheClockWithoutWritingIt) {
  ShowDesktopClock();
  for (const auto& close : Seams().CloseLoadedWindows) close();
  EXPECT_EQ(DesktopClockWindow(), nullptr);
  EXPECT_EQ(Read("szck", "szckxs"), "1");
}

TEST_F(ClockTest, ASkinChangeRepaintsTheOpenClockOnly) {
  const auto relayout = [] {
    for (const auto& entry : Seams().RelayoutForSkin)
      if (entry.step == kSkinDesktopClock) entry.relayout();
  };
  relayout();  // not loaded: nothing
  ShowDesktopClock();
  const std::string before = Clock().SnapshotPng();
  Ui().BackgroundPicture = FindSkinEntry("纯色图片1");
  relayout();
  EXPECT_NE(Clock().SnapshotPng(), before);
}

}  // namespace
}  // namespace workmemo::testing
