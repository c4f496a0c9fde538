#include "due_fixture.h"

#include "common/text_routines.h"
#include "due_notes/due_registration.h"
#include "platform/files/files.h"
#include "platform/ui/app.h"
#include "shell/main_window.h"
#include "shell/password_gate.h"
#include "shell/startup.h"

namespace workmemo::duetest {
namespace {

class DueWindowTest : public DueTest {
 protected:
  void TearDown() override {
    MainWindowAccess() = MainWindowSeam();
    DueTest::TearDown();
  }
  ui::Window& Open() {
    ShowDueRemindersWindow();
    ui::Window* w = LoadedDueRemindersWindow();
    EXPECT_NE(w, nullptr);
    return *w;
  }
  void Reopen() {
    CloseDueRemindersWindow();
    Open();
  }
  ui::Window& W() { return *LoadedDueRemindersWindow(); }
  ui::MenuItem& Item(std::string_view name) { return W().UnitAs<ui::MenuItem>(name); }
  static std::string Setting(std::string_view key) { return AccessConfigItem("dqtx", key, {}, true); }
  static void Store(std::string_view key, std::string_view value) { AccessConfigItem("dqtx", key, value); }
  // The text the query frame shows while the day box is hidden.
  std::string FrameText() {
    auto& box = W().UnitAs<ui::AnimationBox>("背景动画框");
    return box.ObjectText(box.FindObject("查询内容框标签"));
  }
  static int DefaultLeft() { return ui::ScreenWidth() - 605; }
  static int DefaultTop() { return ui::ScreenHeight() - 750 - 40 - 10; }
};

TEST_F(DueWindowTest, AFirstOpeningTakesTheDefaultsAndWritesTheTopmostFlag) {
  const int today = Add("今天", Today());
  Add("过期", Today() - 1);
  Add("八天后", Today() + 8);
  ui::Window& w = Open();
  EXPECT_EQ(w.Width(), 600);
  EXPECT_EQ(w.Height(), 375);
  EXPECT_EQ(w.Unit("到期查询框").Text(), "8");
  EXPECT_FALSE(w.Unit("到期查询框").IsVisible());
  EXPECT_EQ(FrameText(), "8");
  EXPECT_EQ(ShownIds(DueWindowList()), std::vector<int>{today});
  EXPECT_EQ(w.Left(), DefaultLeft());
  EXPECT_EQ(w.Top(), DefaultTop());
  EXPECT_TRUE(w.IsTopmost());
  EXPECT_TRUE(Item("窗口置顶显示").IsChecked());
  EXPECT_FALSE(Item("记录窗口位置").IsChecked());
  EXPECT_EQ(Setting("dqtxzd"), "1");
  EXPECT_EQ(w.Opacity(), 255);
  EXPECT_FALSE(w.Unit("密码验证画板").IsVisible());
  EXPECT_EQ(w.Unit("关闭按钮").Left(), 600 - w.Unit("关闭按钮").Width() - 3);
}

TEST_F(DueWindowTest, AnUnusableStoredDayCountBecomesEightAndIsWrittenBack) {
  const int soon = Add("七天后", Today() + 7);
  Add("九天后", Today() + 9);
  for (const char* stored : {"0", "abc", "-2", "0.00000001", "0.5", "0.99"}) {
    SCOPED_TRACE(stored);
    Store("cxdqtxTs", stored);
    ui::Window& w = Open();
    EXPECT_EQ(w.Unit("到期查询框").Text(), "8");
    EXPECT_EQ(ShownIds(DueWindowList()), std::vector<int>{soon});
    EXPECT_TRUE(messages.empty()) << Show(messages.back());
    // Any press on an object of the window's box stores the box's count.
    auto& box = w.UnitAs<ui::AnimationBox>("背景动画框");
    drive::Press(box, 300, MidY(DueWindowList(), DueWindowList().RowSprite(1)));
    EXPECT_EQ(Setting("cxdqtxTs"), "8");
    CloseDueRemindersWindow();
  }
  Store("cxdqtxTs", "10");
  Open();
  EXPECT_EQ(W().Unit("到期查询框").Text(), "10");
  EXPECT_EQ(ShownIds(DueWindowList()).size(), 2u);
}

TEST_F(DueWindowTest, QueriesByKindAndCountAndScrollsBeyondNineLines) {
  for (int k = 0; k < 10; ++k) Add("d" + std::to_string(k), Today() + k);
  const int late = Add("late", Today() - 3);
  ui::Window& w = Open();
  EXPECT_EQ(DueWindowData().DueWindowRowCount, 8);
  // A press on the frame opens the day box over it.
  auto& background = w.UnitAs<ui::AnimationBox>("背景动画框");
  const int frame = background.FindObject("查询内容框");
  drive::Press(background, background.ObjectLeft(frame) + 20, background.ObjectTop(frame) + 10);
  EXPECT_TRUE(w.Unit("到期查询框").IsVisible());
  w.Unit("到期查询框").SetText("30");
  drive::Key(w.Unit("到期查询框"), 13);
  EXPECT_EQ(DueWindowData().DueWindowRowCount, 10);
  EXPECT_TRUE(DueWindowList().IsThumbVisible());
  drive::Wheel(w.UnitAs<ui::AnimationBox>("背景动画框"), 300, 150, -120);
  EXPECT_EQ(DueWindowData().DueWindowFirstRow, 2);

  w.UnitAs<ui::ComboBox>("查询项目类型组合框").SetCurrentIndex(1);
  ui::EventArgs chosen;
  w.Fire("查询项目类型组合框", ui::Event::Changed, chosen);
  EXPECT_EQ(Show(w.Unit("查询项目类型标签").Text()), Show("过期几天内的提醒："));
  w.UnitAs<ui::PictureButton>("到期提醒查询按钮").Click();
  EXPECT_EQ(ShownIds(DueWindowList()), std::vector<int>{late});
  EXPECT_TRUE(IconIsPink(w, DueWindowList(), 1));

  w.Unit("到期查询框").SetText("0");
  drive::Key(w.Unit("到期查询框"), 13);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(Show(messages[0]), Show("天数必须大于0"));
  EXPECT_EQ(ShownIds(DueWindowList()), std::vector<int>{late});
}

TEST_F(DueWindowTest, OpacityIsStoredAsAByteAndAppliedBelowTheOpaqueValue) {
  Open();
  Item("50").Choose();
  EXPECT_EQ(Setting("dqtxtmd"), "128");
  EXPECT_EQ(W().Opacity(), 128);
  Reopen();
  EXPECT_EQ(W().Opacity(), 128);
  Item("100").Choose();
  EXPECT_EQ(Setting("dqtxtmd"), "255");
  Reopen();
  EXPECT_EQ(W().Opacity(), 255);
  struct Case {
    const char* stored;
    int opacity;
  } cases[] = {{"10", 255}, {"11", 11}, {"254", 254}, {"26.9", 26}, {"300", 255}, {"x", 255}};
  for (const Case& c : cases) {
    Store("dqtxtmd", c.stored);
    Reopen();
    EXPECT_EQ(W().Opacity(), c.opacity) << c.stored;
  }
}

TEST_F(DueWindowTest, MenuSwitchesFlipTheirChecksAndTheirKeys) {
  Settings().HideDueWindowWhenEmpty = 1;
  Open();
  ui::MenuItem& hide = Item("没到期提醒不显示");
  EXPECT_TRUE(hide.IsChecked());
  hide.Choose();
  EXPECT_FALSE(hide.IsChecked());
  EXPECT_EQ(Setting("mdqtxbtx"), "0");
  EXPECT_EQ(Settings().HideDueWindowWhenEmpty, 0);
  hide.Choose();
  EXPECT_TRUE(hide.IsChecked());
  EXPECT_EQ(Setting("mdqtxbtx"), "1");

  Item("窗口置顶显示").Choose();
  EXPECT_FALSE(W().IsTopmost());
  EXPECT_FALSE(Item("窗口置顶显示").IsChecked());
  EXPECT_EQ(Setting("dqtxzd"), "0");
  Reopen();
  EXPECT_FALSE(W().IsTopmost());
  Item("窗口置顶显示").Choose();
  EXPECT_TRUE(W().IsTopmost());
  EXPECT_EQ(Setting("dqtxzd"), "1");

  Item("关闭").Choose();
  EXPECT_EQ(LoadedDueRemindersWindow(), nullptr);
}

// A menu switch that config.ini refuses says so and changes nothing on the screen.
TEST_F(DueWindowTest, AMenuSwitchTheSettingsFileRefusesSaysSoAndChangesNothing) {
  Open();
  const char* const items[] = {"50", "窗口置顶显示", "记录窗口位置", "没到期提醒不显示"};
  auto state = [&] {
    std::string s = std::to_string(W().Opacity()) + " " + std::to_string(W().IsTopmost()) + " " +
                    std::to_string(Settings().HideDueWindowWhenEmpty) + " ";
    for (const char* item : items) s += Item(item).IsChecked() ? "1" : "0";
    return s + "\n" + platform::files::ReadAll(ConfigFilePath()).value_or("");
  };
  const std::string before = state();
  for (const char* item : items) {
    SCOPED_TRACE(item);
    messages.clear();
    platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::DiskFull);
    Item(item).Choose();
    platform::files::ClearFaultsForTest();
    EXPECT_EQ(messages, std::vector<std::string>{ConfigWriteFailedMessage()});
    EXPECT_EQ(state(), before);
  }
}

TEST_F(DueWindowTest, ARememberedPlaceComesBackAndAForgottenOneDoesNot) {
  Open();
  W().Move(100, 100);
  Item("记录窗口位置").Choose();
  EXPECT_EQ(Setting("dqtxWzSz"), "1");
  EXPECT_EQ(Setting("dqtxWzX"), "100");
  W().Move(120, 90);
  Reopen();  // the place is stored when the window goes
  EXPECT_EQ(W().Left(), 120);
  EXPECT_EQ(W().Top(), 90);
  EXPECT_TRUE(Item("记录窗口位置").IsChecked());

  // A stored place off the screen gives the corner place.
  CloseDueRemindersWindow();
  Store("dqtxWzX", "-1");
  Store("dqtxWzY", std::to_string(ui::ScreenHeight()));
  Open();
  EXPECT_EQ(W().Left(), DefaultLeft());
  EXPECT_EQ(W().Top(), DefaultTop() + 5);

  Item("记录窗口位置").Choose();
  EXPECT_EQ(Setting("dqtxWzSz"), "0");
  W().Move(100, 100);
  Reopen();
  EXPECT_EQ(Setting("dqtxWzX"), "100");
  EXPECT_EQ(W().Left(), DefaultLeft());
  EXPECT_EQ(W().Top(), DefaultTop());
}

TEST_F(DueWindowTest, ThePasswordCoverGivesWayToTheRightPassword) {
  RegisterDueUi();
  GateHooks hooks;
  hooks.ShowMessage = [this](std::string_view m) { messages.emplace_back(m); };
  hooks.LoadedCovers = [] { return AllLoadedCovers(); };
  PasswordGate gate(workmemo::Run(), Settings(), StoredDigestCheck([] { return Databases().Reminders.ReadPasswordHash(); }),
                    hooks);
  MainWindowAccess().Gate = [&gate] { return &gate; };
  Settings().LoginByPassword = 1;

  ui::Window& w = Open();
  ui::Unit& cover = w.Unit("密码验证画板");
  EXPECT_TRUE(cover.IsVisible());
  EXPECT_EQ(cover.Top(), 50);
  EXPECT_EQ(cover.Height(), 375 - 74);
  w.Unit("密码验证框").SetText("000000");
  drive::Press(w.Unit("透明标签3"), 5, 5);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(Show(messages[0]), Show("密码错误，请重新输入！"));
  EXPECT_TRUE(cover.IsVisible());
  EXPECT_EQ(w.Unit("密码验证框").Text(), "");

  w.Unit("密码验证框").SetText(kInitialPassword);
  drive::Press(w.Unit("透明标签3"), 5, 5);
  EXPECT_FALSE(cover.IsVisible());
  EXPECT_FALSE(w.Unit("密码验证框").IsVisible());
  EXPECT_EQ(workmemo::Run().PasswordEntered, 0);
  EXPECT_EQ(workmemo::Run().TimedReminderPageUnlocked, 1);

  // Covered again at the next opening; "log in once" remembers the password for the run.
  Reopen();
  EXPECT_TRUE(W().Unit("密码验证画板").IsVisible());
  workmemo::Run().AskPasswordOnce = 1;
  W().Unit("密码验证框").SetText(kInitialPassword);
  drive::Press(W().Unit("透明标签3"), 5, 5);
  EXPECT_EQ(workmemo::Run().PasswordEntered, 1);
  EXPECT_FALSE(W().Unit("密码验证画板").IsVisible());
  Reopen();
  EXPECT_FALSE(W().Unit("密码验证画板").IsVisible());
}

// The user's road through the windows: the due-date page of the main window, an item added in
// the editor, its progress set from the row menu, and the floating window listing it.
TEST_F(DueWindowTest, AnItemAddedOnThePageShowsInTheFloatingWindow) {
  RegisterDueUi();
  Settings().ListFontSize = 11;
  MainWindow main(Databases(), workmemo::Run(), Settings());
  main.Load();
  main.Window().Show();
  auto click = [](ui::Window& w, std::string_view unit) {
    ui::Unit& u = w.Unit(unit);
    drive::Click(u, u.Width() / 2, u.Height() / 2);
    Pump();
  };
  click(main.Window(), "到期提醒按钮");
  ui::Window* duePage = main.Page("DuePanel");
  ASSERT_NE(duePage, nullptr);
  EXPECT_TRUE(duePage->IsVisible());
  EXPECT_EQ(duePage->Left(), main.PanelArea().left);

  script->AnswerWindow([](ui::Window& editorWindow) {
    editorWindow.Unit("项目名称框").SetText("验收报告");
    editorWindow.Unit("项目类型框").SetText("软件开发");
    editorWindow.Unit("客户名称框").SetText("华东机电");
    editorWindow.Unit("日框1").SetText("12");
    editorWindow.UnitAs<ui::PictureButton>("到期提醒确认按钮").Click();
    editorWindow.Close();
  });
  click(*duePage, "添加到期提醒按钮");
  EXPECT_EQ(script->ModalWindows().back(), "DueEditorWindow");
  ASSERT_EQ(ShownIds(DuePanelList()).size(), 1u);
  const int id = ShownIds(DuePanelList()).front();
  EXPECT_EQ(Show(DuePanelList().CellText(1, 5)), Show("验收报告"));
  EXPECT_EQ(DuePanelList().CellText(1, 2), "2025-03-12");

  script->AnswerMenu("50");
  auto& box = duePage->UnitAs<ui::AnimationBox>("背景动画框");
  drive::Click(box, 400, MidY(DuePanelList(), DuePanelList().RowSprite(1)), drive::Button::Right);
  EXPECT_EQ(Row(id).Integer("wcjd"), 50);
  EXPECT_EQ(DuePanelList().CellText(1, 6), "50");

  main.Window().UnitAs<ui::MenuItem>("显示到期提醒窗口").Choose();
  ASSERT_NE(LoadedDueRemindersWindow(), nullptr);
  EXPECT_EQ(ShownIds(DueWindowList()), std::vector<int>{id});
  EXPECT_EQ(DueWindowList().CellText(1, 5), "50");
  EXPECT_EQ(Show(DueWindowList().CellText(1, 4)), Show("验收报告"));

  // The re-skinning lays the page out again where it stood.
  for (const auto& step : Seams().RelayoutForSkin) {
    if (step.step == kSkinDuePage) step.relayout();
  }
  EXPECT_EQ(ShownIds(DuePanelList()), std::vector<int>{id});

  // The list-font change redraws both lists where they stand; the end closes the window.
  main.SetListFontSize(10);
  EXPECT_EQ(Show(DuePanelList().QueryHeaderItem(6)), Show("完成进度"));
  EXPECT_EQ(DueWindowList().CellText(1, 5), "50");
  for (const auto& close : Seams().CloseLoadedWindows) close();
  EXPECT_EQ(LoadedDueRemindersWindow(), nullptr);
  EXPECT_FALSE(Setting("dqtxWzX").empty());
  duePage->Close();  // the page lets go of its boxes before the main window goes
}

}  // namespace
}  // namespace workmemo::duetest
