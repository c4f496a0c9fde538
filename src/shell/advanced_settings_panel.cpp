#include "shell/advanced_settings_panel.h"

#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/data_files.h"
#include "shell/message_box.h"
#include "shell/password_change.h"
#include "shell/password_gate.h"
#include "shell/run_state.h"
#include "shell/setting_switch.h"
#include "shell/settings.h"
#include "shell/ui_state.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr char kPageDrawPanel[] = "子窗口背景画板";
constexpr char kLoginBox[] = "用户密码登录选择框";
constexpr char kClosePasswordBox[] = "需要关闭软件密码选择框";
constexpr char kKeepAddSettingsBox[] = "记录添加设置选择框";
constexpr char kAutorunBox[] = "开机自动运行选择框";
constexpr char kShowTodayBox[] = "开机显示今日提醒选择框";
constexpr char kShowDueBox[] = "开机显示到期提醒选择框";
constexpr char kRunValueName[] = "mrvbwl";
constexpr char kQuietStartArgument[] = " aa";

// The label beside a check box: the box's name with "选择框" replaced by "标签".
std::string LabelOf(std::string_view box) {
  constexpr std::string_view kBoxSuffix = "选择框";
  return std::string(box.substr(0, box.size() - kBoxSuffix.size())) + "标签";
}

}  // namespace

AdvancedSettingsPanel::AdvancedSettingsPanel(ui::Window& window, PageHost host,
                                             AdvancedSettingsHooks hooks)
    : window_(window), host_(host), hooks_(std::move(hooks)) {
  window_.On({}, ui::Event::Created, [this](ui::EventArgs&) { LoadAdvancedSettingsPanel(); });
  const std::pair<const char*, void (AdvancedSettingsPanel::*)()> clicks[] = {
      {kLoginBox, &AdvancedSettingsPanel::TogglePasswordLogin},
      {kClosePasswordBox, &AdvancedSettingsPanel::ToggleClosePassword},
      {kKeepAddSettingsBox, &AdvancedSettingsPanel::ToggleKeepAddSettings},
      {kAutorunBox, &AdvancedSettingsPanel::ToggleAutorun},
      {kShowTodayBox, &AdvancedSettingsPanel::ToggleShowTodayAtStart},
      {kShowDueBox, &AdvancedSettingsPanel::ToggleShowDueAtStart},
  };
  for (const auto& [box, toggle] : clicks) {
    window_.On(box, ui::Event::Clicked, [this, toggle](ui::EventArgs&) { (this->*toggle)(); });
    // The text beside a box switches it as the box does.
    window_.On(LabelOf(box), ui::Event::LeftDown, [this, toggle](ui::EventArgs&) { (this->*toggle)(); });
  }
}

void AdvancedSettingsPanel::LoadAdvancedSettingsPanel() {
  window_.Move(host_.left, host_.top);
  window_.Resize(host_.width, host_.height);
  LayoutAdvancedSettingsPanel();
  ShowAdvancedSettingsStates();
  if (host_.mainWindow != nullptr) window_.SetParentWindow(host_.mainWindow);
}

void AdvancedSettingsPanel::LayoutAdvancedSettingsPanel() {
  PaintWindowArgs paint;
  paint.window = &window_;
  paint.backgroundBox = host_.backgroundBox;
  paint.compositingBox = host_.compositingBox;
  paint.childBox = host_.childBox;
  paint.childX = host_.left;
  paint.childY = host_.top;
  paint.childWidth = window_.Width();
  paint.childHeight = window_.Height();
  paint.backgroundPicture = Ui().BackgroundPicture;
  paint.transparency = Settings().SkinTransparency;
  paint.pageMode = 1;
  paint.pageDrawPanel = &window_.UnitAs<ui::DrawPanel>(kPageDrawPanel);
  paint.pagePicture = host_.panelAreaPicture.Get();
  paint.fontSize = Ui().LabelFontSize;
  painter_.PaintWindow(paint);
}

void AdvancedSettingsPanel::ShowAdvancedSettingsStates() {
  ProgramSettings& s = Settings();
  if (AccessRunValue(kRunValueName, RunValueOperation::Read) == ExpectedRunValue()) {
    Tick(kAutorunBox, s.AutorunEnabled, 1);
  }
  painter_.SetButtonPictures(Box(kLoginBox), s.LoginByPassword);
  painter_.SetButtonPictures(Box(kShowTodayBox), s.ShowTodayWindowAtStart);
  painter_.SetButtonPictures(Box(kShowDueBox), s.ShowDueWindowAtStart);
  painter_.SetButtonPictures(Box(kKeepAddSettingsBox), s.KeepLastReminderSettings);
  painter_.SetButtonPictures(Box(kClosePasswordBox), s.PasswordToClose);
}

ui::PictureButton& AdvancedSettingsPanel::Box(const char* name) {
  return window_.UnitAs<ui::PictureButton>(name);
}

void AdvancedSettingsPanel::Tick(const char* box, int& flag, int on) {
  flag = painter_.SetButtonPictures(Box(box), on);
}

void AdvancedSettingsPanel::TogglePasswordLogin() {
  int on;
  if (hooks_.TogglePasswordLogin) {
    on = hooks_.TogglePasswordLogin();
  } else {
    PasswordGate gate(Run(), Settings(), {}, {});
    on = workmemo::TogglePasswordLogin(gate, Databases());
  }
  Tick(kLoginBox, Settings().LoginByPassword, on);
}

void AdvancedSettingsPanel::ToggleConfigFlag(const char* box, int& flag, const char* section,
                                             const char* key, bool needsAutorun) {
  const int on = flag == 1 ? 0 : 1;
  // Showing a window at start means nothing unless the program starts at login.
  if (on == 1 && needsAutorun) {
    if (Settings().AutorunEnabled == 0) ToggleAutorun();
    if (Settings().AutorunEnabled != 1) return;
  }
  // The box shows what config.ini holds: a refused write leaves it as it was, and says so.
  if (!StoreSwitchSetting(section, key, on == 1 ? "1" : "0")) return;
  Tick(box, flag, on);
}

void AdvancedSettingsPanel::ToggleClosePassword() {
  ToggleConfigFlag(kClosePasswordBox, Settings().PasswordToClose, "gjsz", "gbrjmmsz", false);
}

void AdvancedSettingsPanel::ToggleKeepAddSettings() {
  ToggleConfigFlag(kKeepAddSettingsBox, Settings().KeepLastReminderSettings, "gjsz", "jltxtjsz",
                   false);
}

void AdvancedSettingsPanel::ToggleShowTodayAtStart() {
  ToggleConfigFlag(kShowTodayBox, Settings().ShowTodayWindowAtStart, "dstx", "kjxsjttxSz", true);
}

void AdvancedSettingsPanel::ToggleShowDueAtStart() {
  ToggleConfigFlag(kShowDueBox, Settings().ShowDueWindowAtStart, "dstx", "kjxsdqtxSz", true);
}

void AdvancedSettingsPanel::ToggleAutorun() {
  int& flag = Settings().AutorunEnabled;
  if (flag == 1) {
    Tick(kAutorunBox, flag, 0);
    AccessRunValue(kRunValueName, RunValueOperation::Delete);
    return;
  }
  AccessRunValue(kRunValueName, RunValueOperation::Write, kQuietStartArgument);
  // Only what reads back counts: a write the system refused leaves autorun off.
  if (AccessRunValue(kRunValueName, RunValueOperation::Read) == ExpectedRunValue()) {
    Tick(kAutorunBox, flag, 1);
    return;
  }
  ShowMessageBox(kAutorunFailedMessage);
  Tick(kAutorunBox, flag, 0);
}

}  // namespace workmemo
