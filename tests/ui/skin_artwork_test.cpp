// The artwork of the built-in skin: every entry the code looks up is there, every picture
// decodes, and pictures have the sizes the windows draw them at.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/resources.h"
#include "platform/image/image.h"
#include "test_support.h"
#include "ui/skin_entry_names.h"
#include "ui/skin_package.h"

namespace workmemo {
namespace {

using platform::image::Image;
using testsupport::Show;
namespace skin = workmemo::skin;

class SkinArtworkTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const std::optional<std::string> file = platform::files::ReadResource(":/skin/Green.cskn");
    ASSERT_TRUE(file);
    const std::optional<SkinPackageContents> contents = ReadSkinPackage(*file);
    ASSERT_TRUE(contents);
    entries_ = new std::map<std::string, std::string>;
    // The first entry of a name wins, as in the program's lookup.
    for (std::size_t i = 0; i < contents->names.size(); ++i) entries_->emplace(contents->names[i], contents->data[i]);
  }
  static void TearDownTestSuite() {
    delete entries_;
    entries_ = nullptr;
  }

  static std::optional<std::string> Find(std::string_view name) {
    auto it = entries_->find(std::string(name));
    if (it == entries_->end()) return std::nullopt;
    return it->second;
  }
  static int Count(std::string_view name) { return std::stoi(Find(name).value_or("0")); }
  static Image Picture(std::string_view name) { return platform::image::Decode(Find(name).value_or("")); }
  static std::vector<skin::LookedUpSkinEntry> LookedUp() {
    return skin::LookedUpSkinEntries(Count(skin::kBackgroundPictureCount), Count(skin::kSolidColourPictureCount));
  }

  static std::map<std::string, std::string>* entries_;
};

std::map<std::string, std::string>* SkinArtworkTest::entries_ = nullptr;

TEST_F(SkinArtworkTest, EveryLookedUpPictureIsThereAndDecodes) {
  for (const skin::LookedUpSkinEntry& entry : LookedUp()) {
    ASSERT_TRUE(Find(entry.name)) << Show(entry.name);
    if (entry.kind == skin::SkinEntryKind::Colour || entry.kind == skin::SkinEntryKind::Text) continue;
    EXPECT_FALSE(Picture(entry.name).empty()) << Show(entry.name);
  }
  // The start falls back to the first plain colour, so it must exist whatever else is missing.
  EXPECT_FALSE(Picture(skin::NumberedName(skin::kSolidColourPicturePrefix, 1)).empty());
}

struct FixedSize {
  std::string_view name;
  int width;
  int height;
};

// Sizes the windows place these pictures at.
TEST_F(SkinArtworkTest, PicturesHaveTheSizesTheWindowsDrawThemAt) {
  const std::string normal(skin::kNormalPictureSuffix);
  const FixedSize sizes[] = {
      {skin::kIcon, 20, 20},
      {"关闭", 30, 18},          // close button of the boxes and the title bars
      {"确定", 68, 24},          // message, confirmation and pop-up buttons
      {"取消", 68, 24},
      {"暂停提醒", 68, 24},
      {"上一页", 68, 24},
      {"下一页", 68, 24},
      {"定时提醒导航", 68, 75},  // the navigation row
      {"高级设置导航", 68, 75},
      {"备份数据", 90, 24},      // the data maintenance page
      {"压缩数据", 90, 24},
      {skin::kThumbnailFrame, 220, 160},
      {skin::kAddBackgroundPicture, 200, 140},
  };
  for (const FixedSize& fixed : sizes) {
    std::string name(fixed.name);
    if (!Find(name)) name += normal;
    const Image picture = Picture(name);
    EXPECT_EQ(picture.width, fixed.width) << Show(name);
    EXPECT_EQ(picture.height, fixed.height) << Show(name);
  }
  for (const skin::LookedUpSkinEntry& entry : LookedUp()) {
    if (entry.kind != skin::SkinEntryKind::Thumbnail) continue;
    const Image thumbnail = Picture(entry.name);
    EXPECT_EQ(thumbnail.width, 200) << Show(entry.name);
    EXPECT_EQ(thumbnail.height, 140) << Show(entry.name);
  }
  // Frame lines are stretched along their length only: one pixel across.
  EXPECT_EQ(Picture(skin::kOuterHorizontalLine).height, 1);
  EXPECT_EQ(Picture(skin::kInnerHorizontalLine).height, 1);
  EXPECT_EQ(Picture(skin::kOuterVerticalLine).width, 1);
  EXPECT_EQ(Picture(skin::kInnerVerticalLine).width, 1);
}

// The title bars step their buttons left by the close button's width, and the query bars
// place the two small sprites 18 pixels apart: wider pictures would overlap.
TEST_F(SkinArtworkTest, ButtonsFitTheirPlaces) {
  const int closeWidth = Picture(std::string("关闭") + std::string(skin::kNormalPictureSuffix)).width;
  for (std::string_view tag : {"最小化", "菜单", "帮助", "皮肤", "月历标题按钮"}) {
    EXPECT_LE(Picture(std::string(tag) + std::string(skin::kNormalPictureSuffix)).width, closeWidth) << Show(tag);
  }
  for (std::string_view tag : {"刷新小透明", "删除小透明"}) {
    EXPECT_LE(Picture(std::string(tag) + std::string(skin::kNormalPictureSuffix)).width, 18) << Show(tag);
  }
  // The festival decoration lies in a navigation button's corner, inside the button.
  for (std::string_view festival : skin::kFestivals) {
    const Image icon = Picture(std::string(festival) + std::string(skin::kFestivalIconSuffix));
    EXPECT_LE(icon.width, 34) << Show(festival);
    EXPECT_LE(icon.height, 34) << Show(festival);
  }
}

// Hover and pressed pictures lie over the normal one in place: same size, and each state
// visibly its own, or the button gives no feedback.
TEST_F(SkinArtworkTest, ButtonStatesShareASizeAndDiffer) {
  std::map<std::string, Image[3]> buttons;
  for (const skin::LookedUpSkinEntry& entry : LookedUp()) {
    if (entry.kind == skin::SkinEntryKind::ButtonPicture) buttons[entry.base][entry.number] = Picture(entry.name);
  }
  ASSERT_FALSE(buttons.empty());
  for (const auto& [tag, states] : buttons) {
    for (int state = 1; state < 3; ++state) {
      EXPECT_EQ(states[state].width, states[0].width) << Show(tag) << " state " << state;
      EXPECT_EQ(states[state].height, states[0].height) << Show(tag) << " state " << state;
    }
    EXPECT_NE(states[0].pixels, states[1].pixels) << Show(tag) << " hover looks like normal";
    EXPECT_NE(states[0].pixels, states[2].pixels) << Show(tag) << " pressed looks like normal";
    EXPECT_NE(states[1].pixels, states[2].pixels) << Show(tag) << " pressed looks like hover";
  }
}

// The desktop clock lays its eight pictures 12 pixels apart from y 16 in a 51-pixel window.
TEST_F(SkinArtworkTest, ClockDigitsShareOneCellOfTheClock) {
  const Image zero = Picture("0");
  EXPECT_LE(zero.width, 12);
  EXPECT_LE(16 + zero.height, 51 - 2);  // above the bottom frame line
  for (std::string_view glyph : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "点"}) {
    const Image picture = Picture(glyph);
    EXPECT_EQ(picture.width, zero.width) << Show(glyph);
    EXPECT_EQ(picture.height, zero.height) << Show(glyph);
    EXPECT_NE(picture.pixels, zero.pixels) << Show(glyph);
  }
}

// The tray and the desktop take the program icon at these sizes.
TEST(ProgramIconTest, IsBuiltInAtEverySizeTheDesktopAsksFor) {
  for (int size : {16, 24, 32, 48}) {
    const std::string path = ":/icons/workmemo-" + std::to_string(size) + ".png";
    const Image icon = platform::image::Decode(platform::files::ReadResource(path).value_or(""));
    EXPECT_EQ(icon.width, size) << path;
    EXPECT_EQ(icon.height, size) << path;
  }
}

}  // namespace
}  // namespace workmemo
