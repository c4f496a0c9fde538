#include "shell/advanced_settings_panel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <sys/wait.h>

#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/ini/ini.h"
#include "platform/os/autostart.h"
#include "platform/text/text.h"
#include "platform/ui/app.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/settings.h"
#include "shell/ui_state.h"
#include "test_support.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
namespace files = platform::files;
using testsupport::Show;

// The main window's three painting boxes, as a page inside it paints with them.
constexpr char kHostJson[] = R"({"title": "host", "width": 1100, "height": 728, "units": [
  {"kind": "animation_box", "name": "背景动画框", "geometry": [0, 0, 1100, 728]},
  {"kind": "animation_box", "name": "按钮动画框", "geometry": [0, 0, 68, 24], "visible": false},
  {"kind": "animation_box", "name": "子窗口背景动画框", "geometry": [2, 116, 1096, 588], "visible": false}]})";

std::string Without(std::string text, std::string_view cut) {
  for (std::size_t at; (at = text.find(cut)) != std::string::npos;) text.erase(at, cut.size());
  return text;
}

class AdvancedSettingsTest : public testsupport::TempHomeTest {
 protected:
  void SetUp() override {
    TempHomeTest::SetUp();
    script = std::make_unique<ui::testing::Script>();
    const auto contents = ReadSkinPackage(files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(contents.has_value());
    SkinEntryNames = contents->names;
    SkinEntryData = contents->data;
    Ui() = UiState();
    Settings() = ProgramSettings();
    host = ui::Window::FromJson(platform::text::ToUtf8(kHostJson), "host");
    PageHost where;
    where.mainWindow = host.get();
    where.backgroundBox = &host->UnitAs<ui::AnimationBox>("背景动画框");
    where.compositingBox = &host->UnitAs<ui::AnimationBox>("按钮动画框");
    where.childBox = &host->UnitAs<ui::AnimationBox>("子窗口背景动画框");
    where.panelAreaPicture = PanelPicture{nullptr, &panelAreaPicture};
    page = ui::Window::Load("AdvancedSettingsPanel");
    AdvancedSettingsHooks hooks;
    hooks.TogglePasswordLogin = [this] {
      ++loginToggles;
      Settings().LoginByPassword = Settings().LoginByPassword == 1 ? 0 : 1;
      return Settings().LoginByPassword;
    };
    panel = std::make_unique<AdvancedSettingsPanel>(*page, where, hooks);
  }
  void TearDown() override {
    files::ClearFaultsForTest();
    panel.reset();
    page.reset();
    host.reset();
    ui::ProcessEvents(0);
    script.reset();
    SkinEntryNames.clear();
    SkinEntryData.clear();
    Settings() = ProgramSettings();
    TempHomeTest::TearDown();
  }

  void OpenPage() { page->Open(false); }
  void Click(const char* box) { page->UnitAs<ui::PictureButton>(box).Click(); }
  bool Ticked(const char* box) { return page->Unit(box).Tag() == "选择选中"; }
  std::string Item(const char* section, const char* key) {
    return AccessConfigItem(section, key, {}, true);
  }
  std::string EntryPath() const { return configHome() + "/autostart/mrvbwl.desktop"; }
  // Answers the next message box, keeping its text.
  void ExpectMessage() {
    script->AnswerWindow([this](ui::Window& w) {
      auto& box = w.UnitAs<ui::AnimationBox>("背景动画框");
      message = Without(box.ObjectText(box.FindObject("提示内容")), "\r\n");
      w.Close();
    });
  }

  std::unique_ptr<ui::testing::Script> script;
  std::unique_ptr<ui::Window> host;
  std::unique_ptr<ui::Window> page;
  std::unique_ptr<AdvancedSettingsPanel> panel;
  std::string panelAreaPicture;
  std::string message;
  int loginToggles = 0;
};

TEST_F(AdvancedSettingsTest, AutorunOnWritesAValidEntryAndOffDeletesIt) {
  OpenPage();
  EXPECT_EQ(page->Left(), 2);
  EXPECT_EQ(page->Top(), 116);
  ASSERT_FALSE(Ticked("开机自动运行选择框"));
  Click("开机自动运行选择框");
  EXPECT_EQ(Settings().AutorunEnabled, 1);
  EXPECT_TRUE(Ticked("开机自动运行选择框"));
  EXPECT_EQ(AccessRunValue("mrvbwl", RunValueOperation::Read), ExpectedRunValue());
  ASSERT_TRUE(files::Exists(EntryPath()));

  // The desktop's own checker accepts the entry as written.
  const std::string command = "desktop-file-validate '" + EntryPath() + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  const int status = ::pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
  EXPECT_EQ(output, "");

  Click("开机自动运行选择框");
  EXPECT_EQ(Settings().AutorunEnabled, 0);
  EXPECT_FALSE(Ticked("开机自动运行选择框"));
  EXPECT_FALSE(files::Exists(EntryPath()));
  EXPECT_EQ(script->ModalWindows().size(), 0u);
}

TEST_F(AdvancedSettingsTest, AutorunWriteThatFailsShowsTheMessageAndUnticks) {
  OpenPage();
  files::InjectFaultForTest(files::Op::Write, files::Fault::DiskFull);
  ExpectMessage();
  Click("开机自动运行选择框");
  EXPECT_EQ(Show(message), Show(kAutorunFailedMessage));
  EXPECT_EQ(Settings().AutorunEnabled, 0);
  EXPECT_FALSE(Ticked("开机自动运行选择框"));
  EXPECT_FALSE(files::Exists(EntryPath()));
}

TEST_F(AdvancedSettingsTest, StartWindowsNeedAutorunAndStayOffWhenItFails) {
  OpenPage();
  struct Case {
    const char* box;
    const char* key;
    int ProgramSettings::*flag;
  };
  for (const Case& c : {Case{"开机显示今日提醒选择框", "kjxsjttxSz", &ProgramSettings::ShowTodayWindowAtStart},
                        Case{"开机显示到期提醒选择框", "kjxsdqtxSz", &ProgramSettings::ShowDueWindowAtStart}}) {
    SCOPED_TRACE(Show(c.box));
    files::Remove(ConfigFilePath());

    files::InjectFaultForTest(files::Op::Write, files::Fault::IoError);
    ExpectMessage();
    message.clear();
    Click(c.box);
    files::ClearFaultsForTest();
    EXPECT_EQ(Show(message), Show(kAutorunFailedMessage));
    EXPECT_EQ(Settings().*c.flag, 0);
    EXPECT_EQ(Settings().AutorunEnabled, 0);
    EXPECT_FALSE(Ticked(c.box));
    EXPECT_FALSE(Ticked("开机自动运行选择框"));
    EXPECT_EQ(Item("dstx", c.key), "");

    // With the entry written both boxes tick; unticking autorun leaves the start window on.
    Click(c.box);
    EXPECT_EQ(Settings().*c.flag, 1);
    EXPECT_EQ(Settings().AutorunEnabled, 1);
    EXPECT_TRUE(Ticked(c.box));
    EXPECT_TRUE(Ticked("开机自动运行选择框"));
    EXPECT_EQ(Item("dstx", c.key), "1");
    Click("开机自动运行选择框");
    EXPECT_TRUE(Ticked(c.box));
    EXPECT_EQ(Settings().*c.flag, 1);
    Click(c.box);
    EXPECT_EQ(Settings().*c.flag, 0);
    EXPECT_EQ(Item("dstx", c.key), "0");
  }
}

TEST_F(AdvancedSettingsTest, EachSwitchIsStoredAtOnce) {
  struct Case {
    const char* box;
    const char* section;
    const char* key;
    int ProgramSettings::*flag;
  };
  Settings().AutorunEnabled = 0;
  OpenPage();
  Click("开机自动运行选择框");  // the start windows need it
  ASSERT_EQ(Settings().AutorunEnabled, 1);
  const Case cases[] = {
      {"需要关闭软件密码选择框", "gjsz", "gbrjmmsz", &ProgramSettings::PasswordToClose},
      {"记录添加设置选择框", "gjsz", "jltxtjsz", &ProgramSettings::KeepLastReminderSettings},
      {"开机显示今日提醒选择框", "dstx", "kjxsjttxSz", &ProgramSettings::ShowTodayWindowAtStart},
      {"开机显示到期提醒选择框", "dstx", "kjxsdqtxSz", &ProgramSettings::ShowDueWindowAtStart},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.box));
    for (int expected : {1, 0, 1}) {
      Click(c.box);
      EXPECT_EQ(Settings().*c.flag, expected);
      EXPECT_EQ(Ticked(c.box), expected == 1);
      // Read from the file, not from memory: nothing waits for a later save.
      EXPECT_EQ(platform::ini::ReadItem(ConfigFilePath(), c.section, c.key), expected ? "1" : "0");
    }
  }
  // The login mode goes through its own switch, and the box follows what that gives.
  Click("用户密码登录选择框");
  EXPECT_EQ(loginToggles, 1);
  EXPECT_TRUE(Ticked("用户密码登录选择框"));
  Click("用户密码登录选择框");
  EXPECT_FALSE(Ticked("用户密码登录选择框"));
}

// A setting config.ini refuses is not shown as changed: the message names the directory and
// the box stays as the file has it, whether it was being ticked or unticked.
TEST_F(AdvancedSettingsTest, ASwitchTheSettingsFileRefusesSaysSoAndKeepsItsState) {
  OpenPage();
  const std::string expected = Show(Without(ConfigWriteFailedMessage(), "\r\n"));
  EXPECT_NE(expected.find(Show(home())), std::string::npos);
  for (int before : {0, 1}) {
    SCOPED_TRACE(before);
    ASSERT_TRUE(StoreConfigItem("gjsz", "gbrjmmsz", before == 1 ? "1" : "0"));
    if (Ticked("需要关闭软件密码选择框") != (before == 1)) Click("需要关闭软件密码选择框");
    files::InjectFaultForTest(files::Op::Write, files::Fault::DiskFull);
    ExpectMessage();
    message.clear();
    Click("需要关闭软件密码选择框");
    files::ClearFaultsForTest();
    EXPECT_EQ(Show(message), expected);
    EXPECT_EQ(Settings().PasswordToClose, before);
    EXPECT_EQ(Ticked("需要关闭软件密码选择框"), before == 1);
    EXPECT_EQ(Item("gjsz", "gbrjmmsz"), before == 1 ? "1" : "0");
  }
}

// The text beside each box switches it as a click on the box does.
TEST_F(AdvancedSettingsTest, TheTextBesideABoxSwitchesIt) {
  OpenPage();
  for (const char* label : {"需要关闭软件密码标签", "记录添加设置标签"}) {
    SCOPED_TRACE(Show(label));
    const std::string box = std::string(label).substr(0, std::string(label).size() - 4) + "选择框";
    const bool before = Ticked(box.c_str());
    ui::testing::Click(page->Unit(label), 5, 5);
    EXPECT_NE(Ticked(box.c_str()), before);
  }
  ui::testing::Click(page->Unit("用户密码登录标签"), 5, 5);
  EXPECT_EQ(loginToggles, 1);
}

TEST_F(AdvancedSettingsTest, PageShowsTheFlagsAndOnlyThisProgramsEntryAsAutorun) {
  Settings().PasswordToClose = 1;
  Settings().ShowDueWindowAtStart = 1;
  Settings().AutorunEnabled = 1;  // from the start-up check; the entry changed since
  ASSERT_TRUE(platform::os::WriteAutostart("mrvbwl", "\"/opt/elsewhere/workmemo\" aa"));
  OpenPage();
  EXPECT_FALSE(Ticked("开机自动运行选择框"));
  EXPECT_EQ(Settings().AutorunEnabled, 1);
  EXPECT_TRUE(Ticked("需要关闭软件密码选择框"));
  EXPECT_TRUE(Ticked("开机显示到期提醒选择框"));
  EXPECT_FALSE(Ticked("开机显示今日提醒选择框"));
  EXPECT_FALSE(Ticked("记录添加设置选择框"));

  Settings().AutorunEnabled = 0;
  AccessRunValue("mrvbwl", RunValueOperation::Write, " aa");
  panel->ShowAdvancedSettingsStates();
  EXPECT_TRUE(Ticked("开机自动运行选择框"));
  EXPECT_EQ(Settings().AutorunEnabled, 1);
}

}  // namespace
}  // namespace workmemo
