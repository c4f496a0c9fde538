#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "main_window_fixture.h"
#include "platform/ui/app.h"
#include "shell/password_gate.h"
#include "shell/tray_notice_window.h"

namespace workmemo::testing {
namespace {

using testsupport::Show;

TEST_F(MainWindowTest, LoadLaysOutTheWindowAndPlacesEveryPageAsAChildOverPanelArea) {
  settings.TaskbarHeight = 40;
  MainWindow& m = Open();
  ui::Window& w = m.Window();
  EXPECT_EQ(w.Width(), 1100);
  EXPECT_EQ(w.Height(), 728);
  // Centred on the screen, in the height the desktop's panels leave free.
  EXPECT_EQ(w.Left(), static_cast<int>(std::lround((ui::ScreenWidth() - 1100) / 2.0)));
  EXPECT_EQ(w.Top(), static_cast<int>(std::lround((ui::ScreenHeight() - 728 - 40) / 2.0)));
  EXPECT_TRUE(w.IsFrameless());
  const PanelRect& area = m.PanelArea();
  EXPECT_EQ(std::vector<int>({area.left, area.top, area.width, area.height}),
            std::vector<int>({2, 116, 1096, 588}));
  // Each title-bar button lies the close button's width plus 1 left of the one before.
  int expectedLeft = 1100 - w.Unit("关闭按钮").Width() - 3;
  for (const char* name : {"关闭按钮", "最小化按钮1", "帮助按钮", "菜单按钮", "皮肤按钮", "月历标题按钮"}) {
    EXPECT_EQ(w.Unit(name).Left(), expectedLeft) << Show(name);
    EXPECT_EQ(w.Unit(name).Top(), 3) << Show(name);
    expectedLeft -= w.Unit("关闭按钮").Width() + 1;
  }
  EXPECT_EQ(w.Unit("版本号标签").Text(), "版本号：3.2");
  EXPECT_FALSE(m.PanelAreaPicture().empty());

  for (const std::string& name : PageWindowNames()) {
    ui::Window& page = Page(name);
    EXPECT_EQ(std::vector<int>({page.Left(), page.Top(), page.Width(), page.Height()}),
              std::vector<int>({2, 116, 1096, 588}))
        << name;
  }
  // The timed-reminder page is the first page; a page hides with its parent window.
  EXPECT_EQ(VisiblePages(), std::vector<std::string>{"TimedReminderPanel"});
  EXPECT_EQ(w.Unit("状态标签").Text(), "[定时提醒]");
  w.Hide();
  EXPECT_FALSE(Page("TimedReminderPanel").IsVisible());
}

TEST_F(MainWindowTest, EachNavigationButtonShowsItsPageOrThePasswordPage) {
  const struct {
    const char* button;
    int loginByPassword;
    int passwordEntered;
    const char* shown;
    const char* status;
    bool markerMoves;
  } cases[] = {
      {"定时提醒按钮", 0, 0, "TimedReminderPanel", "[定时提醒]", true},
      {"到期提醒按钮", 0, 0, "DuePanel", "[到期提醒]", true},
      {"记事管理按钮", 0, 0, "NotesPanel", "[记事管理]", true},
      {"定时提醒按钮", 1, 0, "PasswordCheckPanel", "[定时提醒]->[密码验证]", false},
      {"记事管理按钮", 1, 1, "NotesPanel", "[记事管理]", true},
      {"密码管理按钮", 0, 0, "PasswordCheckPanel", "[密码管理]->[密码验证]", false},
      {"密码管理按钮", 0, 1, "ChangePasswordPanel", "[密码管理]", true},
      {"备份数据按钮", 0, 1, "DataMaintenancePanel", "[备份数据]", true},
      {"高级设置按钮", 1, 1, "AdvancedSettingsPanel", "[高级设置]", true},
      {"高级设置按钮", 0, 0, "PasswordCheckPanel", "[高级设置]->[密码验证]", false},
      {"月历标题按钮", 1, 0, "MonthCalendarPanel", "[月历]", false},
      {"皮肤按钮", 1, 0, "SkinPanel", "[更换皮肤]", false},
  };
  MainWindow& m = Open();
  ui::AnimationBox& background = m.BackgroundBox();
  const int marker = background.FindObject("选中动画");
  ASSERT_GT(marker, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(Show(c.button) + " login " + std::to_string(c.loginByPassword) + " entered " +
                 std::to_string(c.passwordEntered));
    settings.LoginByPassword = c.loginByPassword;
    state.PasswordEntered = c.passwordEntered;
    // Start from the skins page, so every case is a change of page.
    m.OpenSkinPage();
    background.MoveObject(marker, 0, 110);
    ClickUnit(m.Window(), c.button);
    EXPECT_EQ(VisiblePages(), std::vector<std::string>{c.shown});
    EXPECT_EQ(Show(m.StatusText()), Show(c.status));
    const int expectedMarker = c.markerMoves ? m.Window().Unit(c.button).Left() + 16 : 0;
    EXPECT_EQ(background.ObjectLeft(marker), expectedMarker);
  }
}

TEST_F(MainWindowTest, CalendarVisitKeepsTheRequestAndTheUnlock) {
  settings.LoginByPassword = 1;
  MainWindow& m = Open();
  state.TimedReminderPageUnlocked = 1;
  ClickUnit(m.Window(), "月历标题按钮");
  ClickUnit(m.Window(), "定时提醒按钮");
  EXPECT_EQ(state.CurrentPageName, "定时提醒");
  EXPECT_EQ(state.TimedReminderPageUnlocked, 1);
  ClickUnit(m.Window(), "记事管理按钮");
  EXPECT_EQ(state.TimedReminderPageUnlocked, 0);
}

TEST_F(MainWindowTest, UnknownPageNameHidesEveryPage) {
  MainWindow& m = Open();
  state.CurrentPageName = "某页";
  m.ShowPanel("某页");
  EXPECT_TRUE(VisiblePages().empty());
  EXPECT_EQ(Show(m.StatusText()), Show("[某页]"));
}

// Clicks the confirmation box's button sprite of that name.
void AnswerConfirm(ui::testing::Script& script, std::string_view button) {
  script.AnswerWindow([name = std::string(button)](ui::Window& box) {
    auto& background = box.UnitAs<ui::AnimationBox>("背景动画框");
    const int id = background.FindObject(name);
    ASSERT_GT(id, 0);
    ui::testing::Click(background, background.ObjectLeft(id) + 5, background.ObjectTop(id) + 5);
  });
}

TEST_F(MainWindowTest, CloseButtonAsksAndEndsOnlyOnOk) {
  int closed = 0;
  Seams().CloseProgram = [&closed] { ++closed; };
  MainWindow& m = Open();
  AnswerConfirm(*script, "取消按钮");
  ClickUnit(m.Window(), "关闭按钮");
  EXPECT_EQ(closed, 0);
  AnswerConfirm(*script, "确定按钮");
  ClickUnit(m.Window(), "关闭按钮");
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(script->ModalWindows(), std::vector<std::string>({"ConfirmBoxWindow", "ConfirmBoxWindow"}));
  EXPECT_EQ(script->Unanswered(), 0);
}

TEST_F(MainWindowTest, CloseGuardedByPasswordEndsWithoutTheQuestion) {
  int closed = 0;
  Seams().CloseProgram = [&closed] { ++closed; };
  settings.PasswordToClose = 1;
  MainWindow& m = Open();
  ClickUnit(m.Window(), "关闭按钮");
  EXPECT_EQ(VisiblePages(), std::vector<std::string>{"PasswordCheckPanel"});
  EXPECT_EQ(Show(m.StatusText()), Show("[关闭]->[密码验证]"));
  ui::Window& check = Page("PasswordCheckPanel");
  check.Unit("密码验证框").SetText(kInitialPassword);
  ClickUnit(check, "密码验证确定按钮");
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(script->ModalWindows().empty());
}

TEST_F(MainWindowTest, ListFontSizeFromTheMenu) {
  int redrawn = 0;
  Seams().ListFontChanged.push_back([&] { redrawn = settings.ListFontSize; });
  MainWindow& m = Open();
  ui::Window& w = m.Window();
  EXPECT_TRUE(w.UnitAs<ui::MenuItem>("11 (默认)").IsChecked());
  w.UnitAs<ui::MenuItem>("10").Choose();
  EXPECT_EQ(settings.ListFontSize, 10);
  EXPECT_EQ(redrawn, 10);
  EXPECT_EQ(AccessConfigItem("gjsz", "lbztdx", {}, true), "10");
  EXPECT_TRUE(w.UnitAs<ui::MenuItem>("10").IsChecked());
  EXPECT_FALSE(w.UnitAs<ui::MenuItem>("11 (默认)").IsChecked());
  EXPECT_FALSE(w.UnitAs<ui::MenuItem>("9").IsChecked());
}

TEST_F(MainWindowTest, FontTipShowsUntilTheMenuIsOpened) {
  MainWindow& m = Open();
  ui::Window& w = m.Window();
  EXPECT_EQ(AccessConfigItem("txtips", "cdtips81", {}, true), "1");
  EXPECT_TRUE(w.Unit("提示按钮1").IsVisible());
  script->AnswerMenu("");
  ClickUnit(w, "菜单按钮");
  EXPECT_FALSE(w.Unit("提示按钮1").IsVisible());
  EXPECT_EQ(AccessConfigItem("txtips", "cdtips81", {}, true), "0");
  EXPECT_EQ(script->Menus().size(), 1u);
}

// One opening of the main window per case, so that each case has the test time of its own.
struct DueAtStartCase {
  const char* name;
  int hideWhenEmpty;
  const char* dueDate;  // empty: no row
  bool shown;
  bool ticked;
};
void PrintTo(const DueAtStartCase& c, std::ostream* os) { *os << c.name; }

class DueWindowAtStartTest : public MainWindowTest, public ::testing::WithParamInterface<DueAtStartCase> {};

TEST_P(DueWindowAtStartTest, ShownOnlyWhenSomethingFallsDue) {
  const DueAtStartCase& c = GetParam();
  ASSERT_EQ(data.DueConnection.Execute("delete from dqsj"), 1);
  if (*c.dueDate != '\0') {
    ASSERT_EQ(data.DueConnection.Execute(std::string("insert into dqsj(xmmc,dqdate) values ('a','") +
                                         c.dueDate + "')"),
              1);
  }
  AccessConfigItem("dqtx", "cxdqtxTs", "8");
  settings.ShowDueWindowAtStart = 1;
  settings.HideDueWindowWhenEmpty = c.hideWhenEmpty;
  int shown = 0;
  Seams().ShowDueRemindersWindow = [&shown] { ++shown; };
  MainWindow& m = Open();
  EXPECT_EQ(shown, c.shown ? 1 : 0);
  EXPECT_EQ(m.Window().UnitAs<ui::MenuItem>("显示到期提醒窗口").IsChecked(), c.ticked);
}

INSTANTIATE_TEST_SUITE_P(Cases, DueWindowAtStartTest,
                         ::testing::Values(DueAtStartCase{"NotHiddenWhenEmpty", 0, "", true, true},
                                           DueAtStartCase{"NothingDue", 1, "", false, false},
                                           DueAtStartCase{"OverdueOnly", 1, "2024-05-09", false, false},
                                           DueAtStartCase{"DueToday", 1, "2024-05-10", true, false},
                                           DueAtStartCase{"DueAfterTheDaysLookedAhead", 1, "2024-05-18", false,
                                                          false}),
                         [](const ::testing::TestParamInfo<DueAtStartCase>& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, AdvancedSettingsLoginSwitchLogsOutThroughTheMainWindowsGate) {
  // The page works on the program-wide state, as the program's main window does.
  Settings() = settings;
  Settings().LoginByPassword = 1;
  workmemo::Run() = RunState();
  workmemo::Run().PasswordEntered = 1;
  main = std::make_unique<MainWindow>(data, workmemo::Run(), Settings());
  main->Load();
  main->Window().Show();
  main->SetTitle(kMainTitleLoggedIn);
  ClickUnit(main->Window(), "高级设置按钮");
  ASSERT_EQ(VisiblePages(), std::vector<std::string>{"AdvancedSettingsPanel"});
  ui::Window& page = Page("AdvancedSettingsPanel");
  EXPECT_EQ(page.UnitAs<ui::PictureButton>("用户密码登录选择框").Tag(), "选择选中");

  ClickUnit(page, "用户密码登录选择框");
  EXPECT_EQ(Settings().LoginByPassword, 0);
  EXPECT_EQ(workmemo::Run().PasswordEntered, 0);
  EXPECT_EQ(page.UnitAs<ui::PictureButton>("用户密码登录选择框").Tag(), "选择");
  // The title no longer claims a login.
  EXPECT_EQ(Show(main->Window().Unit("标题标签").Text()), Show(kMainTitle));
  main.reset();
  Settings() = ProgramSettings();
  workmemo::Run() = RunState();
}

TEST_F(MainWindowTest, MinimisingWithoutATrayIconifiesAndShowsNoNotice) {
  MainWindow& m = Open();
  ClickUnit(m.Window(), "最小化按钮1");
  // Iconified, not hidden: without a tray icon only the desktop's task list brings it back.
  EXPECT_TRUE(m.Window().IsVisible());
  EXPECT_TRUE(m.Window().IsMinimised());
  EXPECT_EQ(OpenTrayNotice(), nullptr);
}

TEST_F(MainWindowTest, RegisteredLoaderReplacesTheEmptyPage) {
  int layouts = 0;
  RegisterPageLoader("DuePanel", [&layouts](MainWindow& m) {
    LoadedPage page = LoadEmptyPage(m, "DuePanel");
    page.window->SetTitle("registered");
    page.Layout = [&layouts] { ++layouts; };
    return page;
  });
  MainWindow& m = Open();
  EXPECT_EQ(Page("DuePanel").Title(), "registered");
  m.LayoutPage("DuePanel");
  EXPECT_EQ(layouts, 1);
  ClearPageLoaders();
}

}  // namespace
}  // namespace workmemo::testing
