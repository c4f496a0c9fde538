#include "shell/help_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/image/image.h"
#include "platform/ui/app.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/settings.h"
#include "shell/tray_notice_window.h"
#include "shell/ui_state.h"
#include "test_support.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
using testsupport::Show;

class HelpWindowTest : public testsupport::TempHomeTest {
 protected:
  void SetUp() override {
    TempHomeTest::SetUp();
    script = std::make_unique<ui::testing::Script>();
    const auto contents = ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(contents.has_value());
    SkinEntryNames = contents->names;
    SkinEntryData = contents->data;
    Ui() = UiState();
    Settings() = ProgramSettings();
  }
  void TearDown() override {
    CloseHelpWindow();
    CloseTrayNotice();
    ui::ProcessEvents(0);
    script.reset();
    SkinEntryNames.clear();
    SkinEntryData.clear();
    Settings() = ProgramSettings();
    TempHomeTest::TearDown();
  }
  std::unique_ptr<ui::testing::Script> script;
};

struct TopicView {
  std::string topic;
  bool textShown = false;
  std::string text;
  bool guide1 = false;
  bool guide2 = false;
};

TopicView Look(HelpWindow& help) {
  ui::Window& w = help.window();
  auto& box = w.UnitAs<ui::AnimationBox>("背景动画框");
  return {help.HelpTopic(), w.Unit("说明标签").IsVisible(), w.Unit("说明标签").Text(),
          box.IsObjectVisible(help.GuidePictureId(1)), box.IsObjectVisible(help.GuidePictureId(2))};
}

TEST_F(HelpWindowTest, OpensOnTheWelcomeTextAndSwitchesTopicsByTheirLabels) {
  ShowHelpWindow();
  HelpWindow* help = OpenHelpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->window().Width(), 1000);
  EXPECT_EQ(help->window().Height(), 680);
  TopicView view = Look(*help);
  EXPECT_EQ(Show(view.topic), Show("欢迎使用"));
  EXPECT_TRUE(view.textShown);
  EXPECT_EQ(view.text, HelpTopicText(1));
  EXPECT_FALSE(view.guide1 || view.guide2);

  struct Case {
    const char* label;
    const char* topic;
    int text;  // the text topic shown, 0 for a picture
    bool guide1, guide2;
  };
  const Case cases[] = {
      {"透明标签3", "操作指南", 0, true, false},  {"透明标签2", "许可协议", 2, false, false},
      {"透明标签5", "操作指南1", 0, false, true}, {"透明标签4", "更新说明", 4, false, false},
      {"透明标签1", "欢迎使用", 1, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.label));
    ui::testing::Press(help->window().Unit(c.label), 5, 5);
    view = Look(*help);
    EXPECT_EQ(Show(view.topic), Show(c.topic));
    EXPECT_EQ(view.textShown, c.text != 0);
    if (c.text != 0) {
      EXPECT_EQ(view.text, HelpTopicText(c.text));
    }
    EXPECT_EQ(view.guide1, c.guide1);
    EXPECT_EQ(view.guide2, c.guide2);
    EXPECT_EQ(Show(help->window().Unit("透明标签5").Text()), Show("操作指南1 "));
  }

  // A second request brings the same window forward on the topic asked for.
  ShowHelpWindow("操作指南");
  EXPECT_EQ(OpenHelpWindow(), help);
  EXPECT_TRUE(Look(*help).guide1);
  // A repaint after a skin change keeps the guide picture of the topic.
  help->LayoutHelpWindow();
  EXPECT_TRUE(Look(*help).guide1);
  EXPECT_FALSE(Look(*help).guide2);
  // Each guide is shown at its own size: squeezed, its small texts would lose pixel rows.
  auto& box = help->window().UnitAs<ui::AnimationBox>("背景动画框");
  for (int guide : {1, 2}) {
    EXPECT_EQ(box.ObjectWidth(help->GuidePictureId(guide)), 860);
    EXPECT_EQ(box.ObjectHeight(help->GuidePictureId(guide)), 585);
  }

  help->window().UnitAs<ui::PictureButton>("关闭按钮").Click();
  EXPECT_EQ(OpenHelpWindow(), nullptr);
}

TEST_F(HelpWindowTest, BuiltInTextsAndPicturesAreThere) {
  const std::string welcome = HelpTopicText(1);
  const std::string licence = HelpTopicText(2);
  const std::string updates = HelpTopicText(4);
  EXPECT_EQ(welcome.rfind("欢迎使用枫汀阁工作备忘录", 0), 0u) << Show(welcome);
  // The password feature promises only what a user can switch on: the pages and closing.
  const std::size_t passwords = welcome.find("密码管理：");
  ASSERT_NE(passwords, std::string::npos);
  const std::string passwordLine = welcome.substr(passwords, welcome.find('\n', passwords) - passwords);
  for (const char* unguarded : {"添加", "删除"})
    EXPECT_EQ(passwordLine.find(unguarded), std::string::npos) << Show(passwordLine);
  EXPECT_EQ(licence.rfind("最终用户许可协议", 0), 0u);
  EXPECT_NE(licence.find("枫汀阁工作备忘录"), std::string::npos);
  for (const char* heading : {"更新说明(3.2)：", "更新说明(3.1)：", "更新说明(3.0)："}) {
    EXPECT_NE(updates.find(heading), std::string::npos) << Show(heading);
  }
  EXPECT_EQ(HelpTopicText(3), "");
  struct Picture {
    const char* path;
    int width, height;
  };
  // The notice's picture has the size of its box: shown as drawn, nothing scaled away.
  for (const Picture& p : {Picture{":/help/guide1.png", 860, 585}, Picture{":/help/guide2.png", 860, 585},
                           Picture{":/help/tray_notice.png", 294, 160}}) {
    const auto image = platform::image::Decode(platform::files::ReadResource(p.path).value_or(""));
    EXPECT_EQ(image.width, p.width) << p.path;
    EXPECT_EQ(image.height, p.height) << p.path;
  }
}

TEST_F(HelpWindowTest, TrayNoticeCheckBoxAndItsLabelStoreTheChoice) {
  ShowTrayNotice();
  TrayNoticeWindow* notice = OpenTrayNotice();
  ASSERT_NE(notice, nullptr);
  ui::Window& w = notice->window();
  EXPECT_EQ(w.Width(), 499);
  EXPECT_EQ(w.Height(), 337);
  EXPECT_FALSE(w.UnitAs<ui::PictureBox>("图片框1").Picture().empty());
  auto& box = w.UnitAs<ui::PictureButton>("信息提示选择框");
  ASSERT_EQ(Show(box.Tag()), Show("选择"));

  box.Click();
  EXPECT_EQ(Settings().HideTrayNotice, 1);
  EXPECT_EQ(Show(box.Tag()), Show("选择选中"));
  EXPECT_EQ(AccessConfigItem("xxtips", "zxhtips", {}, true), "1");
  ui::testing::Press(w.Unit("透明标签2"), 5, 5);
  EXPECT_EQ(Settings().HideTrayNotice, 0);
  EXPECT_EQ(Show(box.Tag()), Show("选择"));
  EXPECT_EQ(AccessConfigItem("xxtips", "zxhtips", {}, true), "0");
  // A choice config.ini refuses is said and not shown as made.
  platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::DiskFull);
  script->AnswerWindow([](ui::Window& box) { box.Close(); });
  box.Click();
  platform::files::ClearFaultsForTest();
  EXPECT_EQ(script->ModalWindows(), std::vector<std::string>{"MessageBoxWindow"});
  EXPECT_EQ(Settings().HideTrayNotice, 0);
  EXPECT_EQ(Show(box.Tag()), Show("选择"));
  // The notice stays open until one of its buttons closes it.
  EXPECT_EQ(OpenTrayNotice(), notice);
  w.UnitAs<ui::PictureButton>("提示确定按钮").Click();
  EXPECT_EQ(OpenTrayNotice(), nullptr);
}

}  // namespace
}  // namespace workmemo
