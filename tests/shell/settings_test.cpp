#include "shell/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files/files.h"
#include "platform/os/autostart.h"
#include "platform/os/paths.h"
#include "test_support.h"

namespace {

using namespace workmemo;
namespace files = platform::files;

// The file LoadSettings leaves behind when it starts from an empty config.ini.
constexpr const char* kDefaults =
    "[dqtx]\ncxdqtxTs=8\nmdqtxbtx=1\n"
    "[dstx]\nkjxsdqtxSz=1\njttxzd=1\n"
    "[pltx]\npltxzd=1\n"
    "[gjsz]\njltxtjsz=1\ngbrjmmsz=0\nlbztdx=11\ntxckzd=1\n"
    "[xxtips]\nzxhtips=1\n";

// The settings of a start from an empty config.ini.
void ExpectDefaultSettings() {
  const ProgramSettings& s = Settings();
  EXPECT_EQ(s.HideTodayWindowWhenEmpty, 0);
  EXPECT_EQ(s.HideDueWindowWhenEmpty, 1);
  EXPECT_EQ(s.AutorunEnabled, 0);
  EXPECT_EQ(s.ShowTodayWindowAtStart, 0);
  EXPECT_EQ(s.ShowDueWindowAtStart, 1);
  EXPECT_EQ(s.KeepLastReminderSettings, 1);
  EXPECT_EQ(s.PasswordToClose, 0);
  EXPECT_EQ(s.ListFontSize, 11);
  EXPECT_EQ(s.TodayWindowTopmost, 1);
  EXPECT_EQ(s.PopupTopmost, 1);
  EXPECT_EQ(s.HideTrayNotice, 1);
  EXPECT_EQ(s.WindowsDriveLetter, "C");
}

class SettingsTest : public testsupport::TempHomeTest {
 protected:
  void SetUp() override {
    TempHomeTest::SetUp();
    Settings() = {};
  }
  void TearDown() override {
    files::ClearFaultsForTest();
    Settings() = {};
    TempHomeTest::TearDown();
  }
  void PutConfig(const std::string& content) { ASSERT_TRUE(files::WriteAll(ConfigFilePath(), content)); }
  std::string Config() { return files::ReadAll(ConfigFilePath()).value_or("<missing>"); }
  std::string AutostartFile() const { return configHome() + "/autostart/mrvbwl.desktop"; }
};

TEST_F(SettingsTest, ConfigItemsLiveInTheProgramDirectory) {
  EXPECT_EQ(ConfigFilePath(), home() + "/config.ini");
  // A read never supplies a default, whatever value the caller passes.
  EXPECT_EQ(AccessConfigItem("dstx", "mtxbxs", "1", true), "");
  EXPECT_FALSE(files::Exists(ConfigFilePath()));
  EXPECT_EQ(AccessConfigItem("pf", "yhtp1", "D:/图片/春.jpg"), "");
  EXPECT_EQ(AccessConfigItem("PF", "YHTP1", {}, true), "D:/图片/春.jpg");
  AccessConfigItem("pf", "yhtp1", "two\r\nlines");  // refused, not reported
  EXPECT_EQ(AccessConfigItem("pf", "yhtp1", {}, true), "D:/图片/春.jpg");
}

TEST_F(SettingsTest, LongValuesAreCutToTheReadBufferOnACharacterBoundary) {
  // Reads keep at most 10239 bytes and never half a character.
  const std::string a10237(10237, 'a');
  struct Case {
    std::string stored, read;
  } cases[] = {
      {a10237 + "中x", a10237 + "中"},
      {a10237 + "a中", a10237 + "a"},
      {a10237 + "ab", a10237 + "ab"},
  };
  for (const Case& c : cases) {
    PutConfig("[a]\nk=" + c.stored + "\n");
    EXPECT_EQ(AccessConfigItem("a", "k", {}, true), c.read);
  }
}

TEST_F(SettingsTest, EmptyConfigGetsExactlyTheDefaults) {
  for (bool fileExists : {false, true}) {
    SCOPED_TRACE(fileExists ? "empty file" : "no file");
    if (fileExists) PutConfig("");
    else files::Remove(ConfigFilePath());
    Settings() = {};
    LoadSettings();
    EXPECT_EQ(Config(), kDefaults);
    ExpectDefaultSettings();
    EXPECT_FALSE(files::Exists(AutostartFile()));
  }
}

TEST_F(SettingsTest, StoredItemsDecideTheSettings) {
  struct Case {
    const char* name;
    const char* config;
    int ProgramSettings::*setting;
    int expected;
    const char* storedAfter;  // the item's text afterwards
    const char* section;
    const char* key;
  } cases[] = {
      {"font 12", "[gjsz]\nlbztdx=12\n", &ProgramSettings::ListFontSize, 11, "11", "gjsz", "lbztdx"},
      {"font 8", "[gjsz]\nlbztdx=8\n", &ProgramSettings::ListFontSize, 11, "11", "gjsz", "lbztdx"},
      {"font x", "[gjsz]\nlbztdx=x\n", &ProgramSettings::ListFontSize, 11, "11", "gjsz", "lbztdx"},
      {"font 10", "[gjsz]\nlbztdx=10\n", &ProgramSettings::ListFontSize, 10, "10", "gjsz", "lbztdx"},
      {"font 9", "[gjsz]\nlbztdx= 9\n", &ProgramSettings::ListFontSize, 9, "9", "gjsz", "lbztdx"},
      {"font huge", "[gjsz]\nlbztdx=1e12\n", &ProgramSettings::ListFontSize, 11, "11", "gjsz", "lbztdx"},
      {"close 1.0", "[gjsz]\ngbrjmmsz=1.0\n", &ProgramSettings::PasswordToClose, 1, "1.0", "gjsz", "gbrjmmsz"},
      {"close yes", "[gjsz]\ngbrjmmsz=yes\n", &ProgramSettings::PasswordToClose, 0, "yes", "gjsz", "gbrjmmsz"},
      {"hide today", "[dstx]\nmtxbxs=1\n", &ProgramSettings::HideTodayWindowWhenEmpty, 1, "1", "dstx", "mtxbxs"},
      {"today at start", "[DSTX]\nKJXSJTTXSZ=1\n", &ProgramSettings::ShowTodayWindowAtStart, 1, "1", "dstx", "kjxsjttxSz"},
      {"due off", "[dstx]\nkjxsdqtxSz=0\n", &ProgramSettings::ShowDueWindowAtStart, 0, "0", "dstx", "kjxsdqtxSz"},
      {"hide due off", "[dqtx]\nmdqtxbtx=0\n", &ProgramSettings::HideDueWindowWhenEmpty, 0, "0", "dqtx", "mdqtxbtx"},
      {"keep off", "[gjsz]\njltxtjsz=0\n", &ProgramSettings::KeepLastReminderSettings, 0, "0", "gjsz", "jltxtjsz"},
      {"today topmost off", "[dstx]\njttxzd=0\n", &ProgramSettings::TodayWindowTopmost, 0, "0", "dstx", "jttxzd"},
      {"popup topmost 2", "[gjsz]\ntxckzd=2\n", &ProgramSettings::PopupTopmost, 0, "2", "gjsz", "txckzd"},
      {"tray notice off", "[xxtips]\nzxhtips=0\n", &ProgramSettings::HideTrayNotice, 0, "0", "xxtips", "zxhtips"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PutConfig(c.config);
    Settings() = {};
    LoadSettings();
    EXPECT_EQ(Settings().*c.setting, c.expected);
    EXPECT_EQ(AccessConfigItem(c.section, c.key, {}, true), c.storedAfter);
  }
}

TEST_F(SettingsTest, UnwritableConfigFallsBackToTheDefaultsInMemory) {
  files::InjectFaultForTest(files::Op::Write, files::Fault::DiskFull);
  LoadSettings();
  EXPECT_FALSE(files::Exists(ConfigFilePath()));
  ExpectDefaultSettings();
  EXPECT_EQ(ReadConfigItemOr("dqtx", "cxdqtxTs", "8"), "8");
}

TEST_F(SettingsTest, WindowsDirectoryIsNoPathOfThisSystem) {
  EXPECT_EQ(GetWindowsDirectory(1), GetWindowsDirectory().substr(0, 1));
  EXPECT_NE(platform::os::ProgramDirectory().substr(0, 1), GetWindowsDirectory(1));
  EXPECT_NE(platform::os::ExecutableDirectory().substr(0, 1), GetWindowsDirectory(1));
}

TEST_F(SettingsTest, RunValueHoldsTheQuotedProgramPathAndSuffix) {
  EXPECT_EQ(AccessRunValue("mrvbwl", RunValueOperation::Read), "");
  EXPECT_EQ(AccessRunValue("mrvbwl", RunValueOperation::Write, " aa"), "");
  EXPECT_EQ(AccessRunValue("mrvbwl", RunValueOperation::Read), ExpectedRunValue());
  EXPECT_EQ(ExpectedRunValue(),
            "\"" + platform::os::ExecutableDirectory() + "/shell_test\" aa");
  EXPECT_EQ(AccessRunValue("mrvbwl", RunValueOperation::Delete), "");
  EXPECT_FALSE(files::Exists(AutostartFile()));
  // A write the file system refuses leaves nothing to read back.
  files::InjectFaultForTest(files::Op::Write, files::Fault::IoError);
  AccessRunValue("mrvbwl", RunValueOperation::Write, " aa");
  EXPECT_EQ(AccessRunValue("mrvbwl", RunValueOperation::Read), "");
}

TEST_F(SettingsTest, AutorunCheckKeepsOnlyTheExactValue) {
  const std::string quotedPath = platform::os::QuoteExecArgument(platform::os::ExecutablePath());
  struct Case {
    const char* name;
    std::string stored;  // empty: no entry
    int enabled;
    bool kept;
  } cases[] = {
      {"equal", quotedPath + " aa", 1, true},
      {"without aa", quotedPath, 0, false},
      {"other directory", "\"/opt/elsewhere/shell_test\" aa", 0, false},
      {"unquoted", platform::os::ExecutablePath() + " aa", 0, false},
      {"absent", "", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.stored.empty()) {
      ASSERT_TRUE(platform::os::WriteAutostart("mrvbwl", c.stored));
    }
    EXPECT_EQ(CheckAutorunEntry(), c.enabled);
    EXPECT_EQ(platform::os::ReadAutostart("mrvbwl"), c.kept ? c.stored : "");
    platform::os::DeleteAutostart("mrvbwl");
  }
  EXPECT_FALSE(files::Exists(configHome() + "/autostart/mrvbwl.desktop"));
  ASSERT_TRUE(platform::os::WriteAutostart("mrvbwl", quotedPath + " aa"));
  LoadSettings();
  EXPECT_EQ(Settings().AutorunEnabled, 1);
}

TEST_F(SettingsTest, AutorunCheckInADirectoryThatCannotBeChanged) {
  // A value that cannot be deleted stays; the check still reports autorun off.
  ASSERT_TRUE(platform::os::WriteAutostart("mrvbwl", "\"/opt/old/workmemo\" aa"));
  files::InjectFaultForTest(files::Op::Remove, files::Fault::IoError);
  EXPECT_EQ(CheckAutorunEntry(), 0);
  files::ClearFaultsForTest();
  EXPECT_EQ(platform::os::ReadAutostart("mrvbwl"), "\"/opt/old/workmemo\" aa");
  // A regular file where the autostart directory belongs: nothing to read, nothing written.
  ASSERT_TRUE(platform::os::DeleteAutostart("mrvbwl"));
  ASSERT_TRUE(std::filesystem::remove(configHome() + "/autostart"));
  ASSERT_TRUE(files::WriteAll(configHome() + "/autostart", "not a directory"));
  EXPECT_EQ(CheckAutorunEntry(), 0);
  AccessRunValue("mrvbwl", RunValueOperation::Write, " aa");
  EXPECT_EQ(AccessRunValue("mrvbwl", RunValueOperation::Read), "");
  EXPECT_EQ(files::ReadAll(configHome() + "/autostart").value_or(""), "not a directory");
}

}  // namespace
