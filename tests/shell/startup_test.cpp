#include "shell/startup.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/clock/clock.h"
#include "common/database_constants.h"
#include "platform/files/resources.h"
#include "platform/image/image.h"
#include "reminders/store/reminder_store.h"
#include "shell/settings.h"
#include "test_support.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace workmemo {
namespace {

using testsupport::Show;

TEST(StartupTest, TaskbarHeightAboveFiftyIsCappedAtForty) {
  EXPECT_EQ(CappedTaskbarHeight(60), 40);
  EXPECT_EQ(CappedTaskbarHeight(50), 50);
  EXPECT_EQ(CappedTaskbarHeight(0), 0);
}

TEST(StartupTest, TodayWindowOpensAtStartUnlessItWouldBeEmptyAndSaysSo) {
  testsupport::TempDir dir;
  const std::string path = dir.File("dstx2.dat");
  ASSERT_TRUE(testsupport::WriteDataFileFromImage(path, "dstx2.dat"));
  ReminderStore store;
  ASSERT_EQ(store.OpenDatabase(path, kDatabasePassword), 1);
  const double monday = platform::clock::SerialFromFields({2024, 3, 4, 9, 0, 0});
  const double tuesday = monday + 1;
  ReminderRecord r;
  r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate = monday + 0.25;
  r.txbt = "once on Monday";
  ASSERT_EQ(store.SaveReminder(r), 1);
  store.LoadReminders();

  struct Case {
    int showAtStart, hideWhenEmpty;
    double day;
    bool opens;
  } cases[] = {{0, 0, monday, false}, {0, 1, monday, false}, {1, 0, tuesday, true},
               {1, 1, monday, true},  {1, 1, tuesday, false}};
  for (const Case& c : cases) {
    ProgramSettings settings;
    settings.ShowTodayWindowAtStart = c.showAtStart;
    settings.HideTodayWindowWhenEmpty = c.hideWhenEmpty;
    EXPECT_EQ(TodayWindowOpensAtStart(settings, store, c.day), c.opens)
        << c.showAtStart << c.hideWhenEmpty << (c.day == monday ? " Monday" : " Tuesday");
  }
  store.CloseDatabase();
}

class BackgroundChoiceTest : public testsupport::TempHomeTest {
 protected:
  void SetUp() override {
    TempHomeTest::SetUp();
    const auto contents =
        ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(contents.has_value());
    SkinEntryNames = contents->names;
    SkinEntryData = contents->data;
    platform::clock::SetForTest(platform::clock::SerialFromFields({2024, 3, 5, 10, 0, 0}));
  }
  void TearDown() override {
    platform::clock::ClearForTest();
    SkinEntryNames.clear();
    SkinEntryData.clear();
    TempHomeTest::TearDown();
  }
};

TEST_F(BackgroundChoiceTest, StoredChoiceFestivalAndFallback) {
  const std::string picture = home() + "/mine.jpg";
  std::ofstream(picture) << "my own picture bytes";
  // Paths no picture is read from: a pipe nobody writes to would hang the start, a device
  // that never ends would eat memory, and a huge file is no picture either.
  const std::string pipe = home() + "/pipe.jpg";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string huge = home() + "/huge.jpg";
  std::ofstream(huge).close();
  std::filesystem::resize_file(huge, platform::image::kPictureFileLimit + 1);
  struct Case {
    const char* name;
    std::vector<std::pair<const char*, const char*>> items;  // [pf] key, value
    double day;  // 0: the fixture's ordinary day
    std::string expected;
  };
  const double christmas = platform::clock::SerialFromFields({2024, 12, 25, 9, 0, 0});
  const std::vector<Case> cases = {
      {"nothing stored: plain colour 1", {}, 0, FindSkinEntry("纯色图片1")},
      {"a numbered background", {{"bjtp", "2"}}, 0, FindSkinEntry("背景图片2")},
      {"a plain colour", {{"bjtp", "0"}, {"cstp", "2"}}, 0, FindSkinEntry("纯色图片2")},
      {"a user picture", {{"bjtp", "-2"}, {"yhtp2", picture.c_str()}}, 0, "my own picture bytes"},
      {"a missing user picture", {{"bjtp", "-2"}, {"yhtp2", "/nowhere/x.jpg"}}, 0,
       FindSkinEntry("纯色图片1")},
      {"a missing numbered entry", {{"bjtp", "999"}}, 0, FindSkinEntry("纯色图片1")},
      {"an endless device", {{"bjtp", "-1"}, {"yhtp1", "/dev/zero"}}, 0, FindSkinEntry("纯色图片1")},
      {"a pipe", {{"bjtp", "-1"}, {"yhtp1", pipe.c_str()}}, 0, FindSkinEntry("纯色图片1")},
      {"a directory", {{"bjtp", "-1"}, {"yhtp1", home().c_str()}}, 0, FindSkinEntry("纯色图片1")},
      {"a file beyond the picture limit", {{"bjtp", "-1"}, {"yhtp1", huge.c_str()}}, 0,
       FindSkinEntry("纯色图片1")},
      {"christmas wins over the stored choice", {{"bjtp", "2"}}, christmas,
       FindSkinEntry("圣诞图片1")},
      // The numbers are truncated toward zero and held within the 32-bit range.
      {"-0.6 is no user picture", {{"bjtp", "-0.6"}, {"yhtp1", picture.c_str()}}, 0, FindSkinEntry("纯色图片1")},
      {"2.9 is background 2", {{"bjtp", "2.9"}}, 0, FindSkinEntry("背景图片2")},
      {"a huge number names no entry", {{"bjtp", "1e20"}, {"cstp", "2"}}, 0, FindSkinEntry("纯色图片1")},
      {"the smallest integer names its user picture",
       {{"bjtp", "-2147483648"}, {"yhtp2147483648", picture.c_str()}}, 0, "my own picture bytes"},
      {"-1e20 reads as the smallest integer", {{"bjtp", "-1e20"}, {"yhtp2147483648", picture.c_str()}}, 0,
       "my own picture bytes"},
      {"plain colour 1.7 is colour 1", {{"bjtp", "0"}, {"cstp", "1.7"}}, 0, FindSkinEntry("纯色图片1")},
  };
  for (const Case& c : cases) {
    std::remove(ConfigFilePath().c_str());
    for (const auto& [key, value] : c.items) AccessConfigItem("pf", key, value);
    if (c.day != 0) platform::clock::SetForTest(c.day);
    EXPECT_FALSE(c.expected.empty()) << c.name;
    EXPECT_TRUE(ChooseBackgroundPicture() == c.expected) << c.name;  // no picture bytes printed
    platform::clock::SetForTest(platform::clock::SerialFromFields({2024, 3, 5, 10, 0, 0}));
  }
  // With nothing stored, the defaults are written on the way.
  std::remove(ConfigFilePath().c_str());
  ChooseBackgroundPicture();
  EXPECT_EQ(AccessConfigItem("pf", "bjtp", {}, true), "0");
  EXPECT_EQ(AccessConfigItem("pf", "cstp", {}, true), "1");
}

// [pf] pftmd is read as every other setting is: truncated toward zero and held within the
// 32-bit range, never rounded or wrapped; nothing is written.
TEST_F(BackgroundChoiceTest, SkinTransparencyIsTheChosenZeroOrOneToNinetyElseTen) {
  const struct {
    const char* stored;
    int transparency;
  } opacities[] = {{"", 10}, {"0", 0}, {"0.6", 10}, {"00", 10}, {"1", 1}, {"90.6", 90}, {"95", 10},
                   {"-0.6", 10}, {"1e20", 10}, {"-2147483648", 10}, {"4294967336", 10}};
  for (const auto& o : opacities) {
    std::remove(ConfigFilePath().c_str());
    if (*o.stored) AccessConfigItem("pf", "pftmd", o.stored);
    EXPECT_EQ(ReadSkinTransparency(), o.transparency) << o.stored;
    EXPECT_EQ(AccessConfigItem("pf", "pftmd", {}, true), o.stored);  // nothing written
  }
}

}  // namespace
}  // namespace workmemo
