#include "shell/countdown_window.h"

#include <gtest/gtest.h>

#include "gui_test.h"
#include "platform/files/resources.h"
#include "platform/os/power.h"
#include "platform/text/text.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/reminder_record.h"
#include "shell/power_tasks.h"
#include "shell/settings.h"
#include "shell/ui_state.h"
#include "ui/skin_package.h"
#include "ui/skin_painter.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
using platform::os::PowerRequest;
using Call = platform::os::RecordingPowerBackend::Call;

class CountdownWindowTest : public testsupport::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    const auto contents =
        ReadSkinPackage(platform::files::ReadResource(":/skin/Green.cskn").value_or(""));
    ASSERT_TRUE(contents.has_value());
    SkinEntryNames = contents->names;
    SkinEntryData = contents->data;
    Ui().BackgroundPicture = FindSkinEntry("背景图片1");
    Settings().SkinTransparency = 10;
    PowerTasks() = PowerTaskState();
    platform::os::SetPowerBackend(&backend);
    startupWindow = LoadWindow("StartupWindow");
    countdown = std::make_unique<PowerCountdown>(Clock());
  }
  void TearDown() override {
    countdown.reset();
    startupWindow.reset();
    platform::os::SetPowerBackend(nullptr);
    PowerTasks() = PowerTaskState();
    SkinEntryNames.clear();
    SkinEntryData.clear();
    Ui() = UiState();
    Settings() = ProgramSettings();
    GuiTest::TearDown();
  }

  ui::Timer& Clock() { return startupWindow->UnitAs<ui::Timer>("关机时钟"); }
  // One second: 关机时钟 counts, then the window's display timer shows the count.
  void Second() {
    if (Clock().IsRunning()) countdown->Tick();
    if (ui::Window* w = countdown->LoadedWindow()) {
      ui::EventArgs args;
      w->Fire("时钟1", ui::Event::Timer, args);
    }
  }
  std::string Text(const char* unit) {
    return countdown->LoadedWindow()->Unit(unit).Text();
  }

  platform::os::RecordingPowerBackend backend;
  std::unique_ptr<ui::Window> startupWindow;
  std::unique_ptr<PowerCountdown> countdown;
};

TEST_F(CountdownWindowTest, RestartAfterTenSecondsIsRequestedOnceOnTheTenthTick) {
  ASSERT_TRUE(countdown->Start(ReminderTask::Restart, 10, 1));
  ASSERT_NE(countdown->LoadedWindow(), nullptr);
  EXPECT_EQ(Clock().Interval(), 1000);
  EXPECT_EQ(Text("标签2"), "离重启时间还有：");
  EXPECT_EQ(Text("标签1"), "10");
  for (int i = 1; i <= 9; ++i) {
    Second();
    EXPECT_EQ(Text("标签1"), std::to_string(10 - i));
    EXPECT_EQ(Text("标题标签"), "正在关机： " + std::to_string(10 - i) + "秒");
  }
  EXPECT_TRUE(backend.calls.empty());
  Second();  // the tenth: the request, and the window closes on its own
  EXPECT_EQ(backend.calls, (std::vector<Call>{{PowerRequest::Restart, true}}));
  EXPECT_EQ(countdown->LoadedWindow(), nullptr);
  EXPECT_FALSE(Clock().IsRunning());
  for (int i = 0; i < 3; ++i) Second();
  EXPECT_EQ(backend.calls.size(), 1u);
}

TEST_F(CountdownWindowTest, LogOffMapsToItsOwnRequestAndZeroDelayActsAtOnce) {
  EXPECT_EQ(ExitWindowsModeOfTask(ReminderTask::LogOff), 3);
  EXPECT_EQ(ExitWindowsModeOfTask(ReminderTask::Restart), 2);
  ASSERT_TRUE(countdown->Start(ReminderTask::LogOff, 0, 0));
  EXPECT_EQ(Text("标签2"), "离注销时间还有：");
  Second();
  EXPECT_EQ(backend.calls, (std::vector<Call>{{PowerRequest::LogOff, false}}));
  EXPECT_EQ(countdown->LoadedWindow(), nullptr);
}

TEST_F(CountdownWindowTest, ClosingAtFiveCancelsAndASecondReminderMeanwhileIsIgnored) {
  ASSERT_TRUE(countdown->Start(ReminderTask::Shutdown, 10, 0));
  for (int i = 0; i < 5; ++i) Second();
  EXPECT_FALSE(countdown->Start(ReminderTask::Restart, 3, 1));
  EXPECT_EQ(PowerTasks().PendingPowerTask, ReminderTask::Shutdown);
  EXPECT_EQ(Text("标签1"), "5");
  countdown->LoadedWindow()->UnitAs<ui::PictureButton>("关闭按钮").Click();
  EXPECT_EQ(countdown->LoadedWindow(), nullptr);
  EXPECT_FALSE(Clock().IsRunning());
  for (int i = 0; i < 10; ++i) Second();
  EXPECT_TRUE(backend.calls.empty());
  // A later power reminder starts afresh.
  ASSERT_TRUE(countdown->Start(ReminderTask::Shutdown, 1, 0));
  Second();
  EXPECT_EQ(backend.calls, (std::vector<Call>{{PowerRequest::Shutdown, false}}));
}

}  // namespace
}  // namespace workmemo
