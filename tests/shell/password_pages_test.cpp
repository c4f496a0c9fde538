#include "shell/password_pages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/digest.h"
#include "main_window_fixture.h"

namespace workmemo::testing {
namespace {

using testsupport::Show;

class PasswordPagesTest : public MainWindowTest {
 protected:
  std::string StoredPassword(platform::db::Connection& connection) {
    platform::db::RecordSet rs;
    if (rs.Open(connection, "select top 1 * from yhsj") != 1 || rs.Eof()) return "(none)";
    return rs.Text("mm");
  }
};

TEST_F(PasswordPagesTest, PagesShowTheInitialPassword) {
  Open();
  EXPECT_EQ(Page("PasswordCheckPanel").Unit("提示标签2").Text(), "初始密码：731862");
  EXPECT_EQ(Page("ChangePasswordPanel").Unit("透明标签1").Text(), "初始密码：731862");
}

TEST_F(PasswordPagesTest, WrongPasswordKeepsTheRequestThenEnterPerformsIt) {
  settings.LoginByPassword = 1;
  MainWindow& m = Open();
  ASSERT_EQ(VisiblePages(), std::vector<std::string>{"PasswordCheckPanel"});
  ui::Window& check = Page("PasswordCheckPanel");
  auto& box = check.UnitAs<ui::EditBox>("密码验证框");

  box.SetText("123");
  ClickUnit(check, "密码验证确定按钮");
  EXPECT_EQ(messages, std::vector<std::string>{"密码错误，请重新输入！初始密码：731862"});
  EXPECT_EQ(box.Text(), "");
  EXPECT_EQ(VisiblePages(), std::vector<std::string>{"PasswordCheckPanel"});
  EXPECT_EQ(Show(m.StatusText()), Show("[定时提醒]->[密码验证]"));

  box.SetText(kInitialPassword);
  ui::testing::Key(box, 13);
  Pump();
  EXPECT_EQ(VisiblePages(), std::vector<std::string>{"TimedReminderPanel"});
  EXPECT_EQ(Show(m.StatusText()), Show("[定时提醒]"));
  EXPECT_EQ(box.Text(), "");
  // Not ticked: the login is not remembered.
  EXPECT_EQ(state.PasswordEntered, 0);
  EXPECT_EQ(state.TimedReminderPageUnlocked, 1);
}

TEST_F(PasswordPagesTest, LogInOnceRemembersUntilLogOut) {
  settings.LoginByPassword = 1;
  MainWindow& m = Open();
  ui::Window& check = Page("PasswordCheckPanel");
  auto& tick = check.UnitAs<ui::PictureButton>("一次输入密码选择框");
  EXPECT_EQ(tick.Tag(), "选择");
  ClickUnit(check, "一次输入密码选择框");
  EXPECT_EQ(state.AskPasswordOnce, 1);
  EXPECT_EQ(tick.Tag(), "选择选中");
  EXPECT_EQ(tick.NormalPicture(), FindSkinEntry("选择选中正常图片"));
  // Its text switches it as the box does.
  ClickUnit(check, "提示标签3");
  EXPECT_EQ(state.AskPasswordOnce, 0);
  EXPECT_EQ(tick.Tag(), "选择");
  ClickUnit(check, "提示标签3");
  EXPECT_EQ(state.AskPasswordOnce, 1);

  check.Unit("密码验证框").SetText(kInitialPassword);
  ClickUnit(check, "密码验证确定按钮");
  EXPECT_EQ(state.PasswordEntered, 1);
  EXPECT_EQ(Show(m.Window().Unit("标题标签").Text()), Show("枫汀阁工作备忘录 (已登录)"));
  ClickUnit(m.Window(), "备份数据按钮");
  EXPECT_EQ(VisiblePages(), std::vector<std::string>{"DataMaintenancePanel"});

  m.Window().UnitAs<ui::MenuItem>("退出登录").Choose();
  Pump();
  EXPECT_EQ(state.PasswordEntered, 0);
  EXPECT_EQ(Show(m.Window().Unit("标题标签").Text()), Show("枫汀阁工作备忘录"));
  EXPECT_EQ(VisiblePages(), std::vector<std::string>{"PasswordCheckPanel"});
}

TEST_F(PasswordPagesTest, ChangePasswordThroughThePageWritesAllThreeDatabases) {
  state.PasswordEntered = 1;
  MainWindow& m = Open();
  ClickUnit(m.Window(), "密码管理按钮");
  ASSERT_EQ(VisiblePages(), std::vector<std::string>{"ChangePasswordPanel"});
  ui::Window& page = Page("ChangePasswordPanel");
  page.Unit("原密码框").SetText(kInitialPassword);
  page.Unit("新密码框").SetText("新密码'1");
  page.Unit("新密码框1").SetText("新密码'1");
  ClickUnit(page, "确定按钮");

  EXPECT_EQ(messages, std::vector<std::string>{"修改密码成功！新密码： 新密码'1"});
  const std::string stored = EncodePassword("新密码'1");
  EXPECT_EQ(StoredPassword(data.Reminders.Connection()), stored);
  EXPECT_EQ(StoredPassword(data.DueConnection), stored);
  EXPECT_EQ(StoredPassword(data.NotesConnection), stored);
  for (const char* box : {"原密码框", "新密码框", "新密码框1"}) EXPECT_EQ(page.Unit(box).Text(), "") << Show(box);
  EXPECT_EQ(VisiblePages(), std::vector<std::string>{"TimedReminderPanel"});

  // The new password now opens the guarded pages.
  state.PasswordEntered = 0;
  ClickUnit(m.Window(), "高级设置按钮");
  Page("PasswordCheckPanel").Unit("密码验证框").SetText("新密码'1");
  ClickUnit(Page("PasswordCheckPanel"), "密码验证确定按钮");
  EXPECT_EQ(VisiblePages(), std::vector<std::string>{"AdvancedSettingsPanel"});
}

TEST_F(PasswordPagesTest, RefusedChangeKeepsTheBoxesAndCancelEmptiesThem) {
  state.PasswordEntered = 1;
  MainWindow& m = Open();
  m.OpenPasswordPage();
  ui::Window& page = Page("ChangePasswordPanel");
  page.Unit("原密码框").SetText("000000");
  page.Unit("新密码框").SetText("abc");
  page.Unit("新密码框1").SetText("abc");
  ClickUnit(page, "确定按钮");
  EXPECT_EQ(messages, std::vector<std::string>{"原密码错误,请重新输入原密码！"});
  EXPECT_EQ(page.Unit("原密码框").Text(), "000000");
  EXPECT_EQ(VisiblePages(), std::vector<std::string>{"ChangePasswordPanel"});

  ClickUnit(page, "取消按钮");
  for (const char* box : {"原密码框", "新密码框", "新密码框1"}) EXPECT_EQ(page.Unit(box).Text(), "") << Show(box);
  EXPECT_EQ(VisiblePages(), std::vector<std::string>{"TimedReminderPanel"});
  EXPECT_EQ(StoredPassword(data.Reminders.Connection()), EncodePassword(kInitialPassword));
}

}  // namespace
}  // namespace workmemo::testing
