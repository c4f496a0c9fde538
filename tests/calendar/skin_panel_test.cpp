#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/skin_panel.h"
#include "calendar_fixture.h"
#include "platform/files/files.h"
#include "platform/image/image.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "shell/shell_services.h"
#include "shell/startup.h"

namespace workmemo::testing {
namespace {

namespace ui = platform::ui;

class SkinPanelTest : public CalendarTest {
 protected:
  void SetUp() override {
    CalendarTest::SetUp();
    ::setenv("WORKMEMO_HOME", home.path().c_str(), 1);
    OpenMainWindow();
    page = main->Page(kSkinPanelName);
    ASSERT_NE(page, nullptr);
    picture = home.File("own.bmp");
    platform::image::Image image{4, 3, std::vector<std::uint32_t>(12, 0xFF336699u)};
    ASSERT_TRUE(platform::files::WriteAll(picture, platform::image::EncodeBmp(image)));
  }
  int SlotSprite(int i) { return SkinPage().BackgroundSlotSprites.at(static_cast<std::size_t>(i) - 1); }
  int ColourSprite(int j) { return SkinPage().SolidColourSprites.at(static_cast<std::size_t>(j) - 1); }
  static std::string Pf(const char* key) { return AccessConfigItem("pf", key, {}, true); }
  void Release(int sprite, bool right = false) {
    ui::EventArgs args;
    args.objectId = sprite;
    page->Fire("背景动画框", right ? ui::Event::ObjectRightUp : ui::Event::ObjectLeftUp, args);
  }

  ui::Window* page = nullptr;
  std::string picture;
};

TEST_F(SkinPanelTest, TheSlotsAndColoursApplyAndAreStoredAsTheNextStartReadsThem) {
  const SkinPanelState& state = SkinPage();
  ASSERT_EQ(state.BackgroundSlots.size(), 4u);
  EXPECT_EQ(state.BackgroundSlots[0].IsUserSlot, 0);
  EXPECT_EQ(state.BackgroundSlots[1].IsUserSlot, 0);
  EXPECT_EQ(state.BackgroundSlots[2].IsUserSlot, 1);
  EXPECT_EQ(state.BackgroundSlots[3].IsUserSlot, 1);
  EXPECT_TRUE(state.BackgroundSlots[2].Thumbnail.empty());

  // Built-in slot 2.
  Release(SlotSprite(2));
  EXPECT_EQ(Pf("bjtp"), "2");
  EXPECT_EQ(Pf("cstp"), "0");
  EXPECT_EQ(Ui().BackgroundPicture, FindSkinEntry("背景图片2"));
  EXPECT_EQ(ChooseBackgroundPicture(), FindSkinEntry("背景图片2"));

  // An empty user slot asks for a file; cancelled, nothing changes.
  script->AnswerFile("");
  Release(SlotSprite(3));
  EXPECT_EQ(Pf("bjtp"), "2");
  EXPECT_TRUE(state.BackgroundSlots[2].Thumbnail.empty());

  script->AnswerFile(picture);
  Release(SlotSprite(3));
  EXPECT_EQ(Pf("bjtp"), "-3");
  EXPECT_EQ(Pf("yhtp3"), picture);
  const platform::image::Image thumbnail = platform::image::Decode(state.BackgroundSlots[2].Thumbnail);
  EXPECT_EQ(thumbnail.width, 200);
  EXPECT_EQ(thumbnail.height, 140);
  EXPECT_EQ(Ui().BackgroundPicture, platform::files::ReadAll(picture).value_or(""));
  EXPECT_EQ(ChooseBackgroundPicture(), Ui().BackgroundPicture);

  // A second left click applies it without a dialog; a right click asks again.
  const std::size_t dialogs = script->FileDialogs().size();
  Release(SlotSprite(2));
  Release(SlotSprite(3));
  EXPECT_EQ(script->FileDialogs().size(), dialogs);
  EXPECT_EQ(Pf("bjtp"), "-3");
  script->AnswerFile("");
  Release(SlotSprite(3), true);
  EXPECT_EQ(script->FileDialogs().size(), dialogs + 1);

  // A right click on a built-in slot or a colour does nothing.
  Release(SlotSprite(1), true);
  Release(ColourSprite(2), true);
  EXPECT_EQ(script->FileDialogs().size(), dialogs + 1);
  EXPECT_EQ(Pf("bjtp"), "-3");

  // Plain colour 3.
  Release(ColourSprite(3));
  EXPECT_EQ(Pf("cstp"), "3");
  EXPECT_EQ(Pf("bjtp"), "0");
  EXPECT_EQ(ChooseBackgroundPicture(), FindSkinEntry("纯色图片3"));

  // The user's file has gone: the slot applies no picture, and nothing fails.
  ASSERT_TRUE(platform::files::Remove(picture));
  Release(SlotSprite(3));
  EXPECT_EQ(Pf("bjtp"), "-3");
  EXPECT_TRUE(Ui().BackgroundPicture.empty());
}

TEST_F(SkinPanelTest, TheTransparencyIsAppliedStoredAndAChosenZeroKeptAtTheNextStart) {
  auto& combo = page->UnitAs<ui::ComboBox>("透明度组合框");
  combo.SetCurrentIndex(0);
  SetSkinTransparency();
  EXPECT_EQ(page->Unit("透明度框").Text(), "0");
  EXPECT_EQ(Settings().SkinTransparency, 0);
  EXPECT_EQ(ReadSkinTransparency(), 0);
  combo.SetCurrentIndex(5);
  SetSkinTransparency();
  EXPECT_EQ(Settings().SkinTransparency, 50);
  EXPECT_EQ(ReadSkinTransparency(), 50);
  AccessConfigItem("pf", "pftmd", "junk");
  EXPECT_EQ(ReadSkinTransparency(), 10);
}

// A choice config.ini refuses is not applied: the next start would not show it.
TEST_F(SkinPanelTest, AChoiceTheSettingsFileRefusesSaysSoAndChangesNothing) {
  std::vector<std::string> messages;
  Services().ShowMessageBox = [&messages](std::string_view m) { messages.emplace_back(m); };
  Release(SlotSprite(2));
  ASSERT_EQ(Pf("bjtp"), "2");
  const std::string background = Ui().BackgroundPicture;
  const int transparency = Settings().SkinTransparency;
  auto& combo = page->UnitAs<ui::ComboBox>("透明度组合框");

  platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::DiskFull);
  Release(ColourSprite(3));
  script->AnswerFile(picture);
  Release(SlotSprite(3));
  combo.SetCurrentIndex(5);
  SetSkinTransparency();
  platform::files::ClearFaultsForTest();
  EXPECT_EQ(messages, std::vector<std::string>(3, ConfigWriteFailedMessage()));
  EXPECT_EQ(Pf("bjtp"), "2");
  EXPECT_EQ(Pf("cstp"), "0");
  EXPECT_EQ(Pf("yhtp3"), "");
  EXPECT_EQ(Ui().BackgroundPicture, background);
  EXPECT_TRUE(SkinPage().BackgroundSlots[2].Thumbnail.empty());
  EXPECT_EQ(Settings().SkinTransparency, transparency);
  EXPECT_EQ(page->Unit("透明度框").Text(), std::to_string(transparency));
  // Once the file takes it again, so does the page.
  Release(ColourSprite(3));
  EXPECT_EQ(Pf("cstp"), "3");
  EXPECT_EQ(messages.size(), 3u);
}

TEST_F(SkinPanelTest, OnChristmasTheFestivalPicturesShowAndAMissingOneFallsBackToThePlainOne) {
  ReleaseProgramMainWindow();
  main = nullptr;
  SetNow(2016, 12, 25, 10, 0, 0);
  // Without the festival's second picture the slot stays the skin's own, never a user slot.
  for (std::size_t k = 0; k < SkinEntryNames.size(); ++k) {
    if (SkinEntryNames[k] == "圣诞图片2" || SkinEntryNames[k] == "圣诞图片2_缩略图") SkinEntryData[k].clear();
  }
  OpenMainWindow();
  page = main->Page(kSkinPanelName);
  const SkinPanelState& state = SkinPage();
  EXPECT_EQ(state.BackgroundSlots.at(0).Thumbnail, FindSkinEntry("圣诞图片1_缩略图"));
  EXPECT_EQ(state.BackgroundSlots.at(1).Thumbnail, FindSkinEntry("背景图片2_缩略图"));
  EXPECT_EQ(state.BackgroundSlots.at(1).IsUserSlot, 0);
  Release(SlotSprite(1));
  EXPECT_EQ(Ui().BackgroundPicture, FindSkinEntry("圣诞图片1"));
  Release(SlotSprite(2));
  EXPECT_EQ(Ui().BackgroundPicture, FindSkinEntry("背景图片2"));
  EXPECT_EQ(Pf("bjtp"), "2");
}

TEST_F(SkinPanelTest, AThumbnailUnderThePointerBrightensAndComesBackExactly) {
  const platform::image::Image grey{2, 1, {0xFF646464u, 0x80FAFAFAu}};
  const platform::image::Image bright = platform::image::Brightened(grey, 20);
  EXPECT_EQ(bright.pixels, (std::vector<std::uint32_t>{0xFF787878u, 0x80FFFFFFu}));
  EXPECT_EQ(platform::image::Brightened(grey, 0).pixels, grey.pixels);

  main->ShowPanel("更换皮肤");
  const std::string before = page->SnapshotPng();
  ui::EventArgs args;
  args.objectId = SlotSprite(1);
  page->Fire("背景动画框", ui::Event::ObjectEnter, args);
  EXPECT_NE(page->SnapshotPng(), before);
  page->Fire("背景动画框", ui::Event::ObjectLeave, args);
  EXPECT_EQ(page->SnapshotPng(), before);
}

TEST_F(SkinPanelTest, TheReSkinningRunsEveryStepInOrderBehindItsNotice) {
  std::vector<int> ran;
  auto& steps = Seams().RelayoutForSkin;
  for (int step : {kSkinHelpWindow, kSkinMainWindow, kSkinTodayWindow, kSkinNotesPage, kSkinDuePage})
    steps.push_back({step, [&ran, step] { ran.push_back(step); }});
  bool waitShown = false;
  steps.push_back({kSkinDuePage, [this, &waitShown] { waitShown = page->Unit("等待标签").IsVisible(); }});
  ApplySkinToAllWindows(30);
  EXPECT_EQ(ran, (std::vector<int>{kSkinMainWindow, kSkinDuePage, kSkinNotesPage, kSkinTodayWindow, kSkinHelpWindow}));
  EXPECT_TRUE(waitShown);
  EXPECT_FALSE(page->Unit("等待标签").IsVisible());
  EXPECT_EQ(Settings().SkinTransparency, 30);
}

}  // namespace
}  // namespace workmemo::testing
