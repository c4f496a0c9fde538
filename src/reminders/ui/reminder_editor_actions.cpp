// The weekday buttons, the task with its delay and force tick, the no-pop-up tick, the sound,
// program and web page of a reminder, the content's clipboard menu, and 恢复默认设置.
#include <algorithm>
#include <functional>

#include "platform/clock/clock.h"
#include "platform/text/text.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/next_dates.h"
#include "reminders/ui/reminder_editor.h"
#include "reminders/ui/reminder_editor_units.h"
#include "shell/settings.h"

namespace workmemo::editor {

namespace ui = platform::ui;

namespace {

constexpr char kSoundFilter[] = "音乐文件(*.mp3;*.wav)|*.mp3;*.wav";
// Programs have no extension here: the program filter lists every file.
constexpr char kProgramFilter[] = "程序文件|*|音乐文件|*.mp3;*.wma;*.wav;*.mid|所有文件|*";

// The content a power task starts with when it is forced, and its bare name.
struct PowerWording {
  std::string_view task;
  std::string_view forced;
};
constexpr PowerWording kPowerWordings[] = {
    {"关机", "关机(不等待其它程序结束，直接关机！）"},
    {"重启", "重启(不等待其它程序结束，直接重启！）"},
    {"注销", "注销(不等待其它程序结束，直接注销！）"},
};

const PowerWording* PowerTask(std::string_view task) {
  for (const PowerWording& w : kPowerWordings) {
    if (w.task == task) return &w;
  }
  return nullptr;
}

ui::PictureButton& Button(std::string_view name) { return Unit(name).As<ui::PictureButton>(); }

void MoveStartDateToWeekday(int weekday) {
  if (!Is(kDateLabel, kSingleDate)) return;
  const double date = DateOnWeekdayOfThisWeek(weekday, platform::clock::Now());
  SetDateBoxes(kStartBoxes, date);
  SetDateBoxes(kEndBoxes, date);
  CorrectStartGroup();
  CorrectDateTimeFields(Unit("年框1"), Unit("月框1"), Unit("日框1"), Unit("时框"), Unit("分框"), Unit("秒框"));
}

// The last ticked day stays ticked in 每周 and in 每天 (a daily reminder that skips every day
// never fires); the start date then moves to the first ticked day of this week.
void ToggleWeekday(int weekday) {
  auto& ticked = Editor().WeekdayTicked;
  if (ticked[weekday - 1] == 1) {
    SetWeekday(weekday, 0);
    const bool none = std::find(ticked.begin(), ticked.end(), 1) == ticked.end();
    if (none && (Is(kModeBox, "每周") || Is(kModeBox, "每天"))) {
      ShowMessage("[每周]提醒，至少要选中一个星期！");
      SetWeekday(weekday, 1);
    }
  } else {
    SetWeekday(weekday, 1);
  }
  for (int first = 1; first <= 7; ++first) {
    if (ticked[first - 1] == 1) {
      MoveStartDateToWeekday(first);
      return;
    }
  }
}

void SelectReminderTask() {
  const ui::ComboBox& combo = Combo(kTaskCombo);
  const std::string task = combo.ItemText(combo.CurrentIndex());
  if (const std::string refusal = RefuseTask(Shape(), task); !refusal.empty()) {
    ShowMessage(refusal);
    return;
  }
  if (!Is(kTaskBox, task)) {
    SetText(kTitleBox, "");
    SetText(kContentBox, "");
  }
  SetText(kTaskBox, task);
  SetTick(kForceTick, 0);
  if (const PowerWording* power = PowerTask(task)) {
    SetTick(kForceTick, 1);
    SetText(kContentBox, power->forced);
  } else if (task == "关闭显示器" || task == "锁定计算机") {
    SetText(kContentBox, task);
  }
  ShowTaskBoxes(task);
  Focus(kCategoryBox);
  Focus(kTaskBox);
}

void ToggleForceExecution() {
  const PowerWording* power = PowerTask(Text(kTaskBox));
  if (power == nullptr) {
    ShowMessage("强制执行只支持[关机]、[重启]、[注销]任务！");
    return;
  }
  if (IsTicked(kForceTick) == 1) {
    SetTick(kForceTick, 0);
    SetText(kContentBox, power->task);
  } else {
    SetTick(kForceTick, 1);
    SetText(kContentBox, power->forced);
  }
}

void ChooseSoundFile() {
  auto& dialog = Unit("通用对话框1").As<ui::FileDialog>();
  dialog.SetFilter(kSoundFilter);
  const std::string last = AccessConfigItem("bwl", "yyml", {}, true);
  if (!last.empty()) dialog.SetInitialFolder(last);
  if (!dialog.Run()) return;
  SetText(kSoundBox, dialog.FileName());
  const std::string folder = DirectoryOfPath(Text(kSoundBox));
  if (folder != last) AccessConfigItem("bwl", "yyml", folder);
}

void ChooseProgramFile() {
  auto& dialog = Unit("通用对话框1").As<ui::FileDialog>();
  dialog.SetDialogKind(ui::FileDialogKind::Open);
  dialog.SetFilter(kProgramFilter);
  if (!dialog.Run()) return;
  SetText(kProgramBox, dialog.FileName());
  dialog.SetFileName("");
}

void RestoreEditorDefaults() {
  if (Editor().EditorReminder.id > 0) {
    ShowMessage("修改状态下不能恢复默认设置！");
    return;
  }
  ResetReminderEditor(0);
}

}  // namespace

int SetTick(std::string_view button, int on) { return Open()->painter.SetButtonPictures(Button(button), on); }

int IsTicked(std::string_view button) { return Open()->painter.IsCheckButtonOn(Button(button)); }

void SetWeekday(int weekday, int on) {
  if (weekday < 1 || weekday > 7) return;
  Editor().WeekdayTicked[weekday - 1] = SetTick(kWeekdayButtons[weekday - 1], on);
}

void ShowTaskBoxes(std::string_view task) {
  ShowGroup(kNoticeBox, task == kRemind);
  ShowGroup(kShutdownBox, PowerTask(task) != nullptr);
}

std::string DirectoryOfPath(std::string_view path) {
  // Walked by characters: a byte of a double-byte character is never taken for the "/".
  std::size_t end = 0;
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t length = platform::text::CharLength(path, i);
    if (length == 1 && path[i] == '/') end = i + 1;
    i += length;
  }
  return std::string(path.substr(0, end));
}

void BindActionHandlers(ui::Window& window) {
  using ui::Event;
  auto click = [&window](std::string_view unit, std::function<void()> action) {
    window.On(unit, Event::Clicked, [action = std::move(action)](ui::EventArgs&) { action(); });
  };
  for (int weekday = 1; weekday <= 7; ++weekday) click(kWeekdayButtons[weekday - 1], [weekday] { ToggleWeekday(weekday); });
  window.On(kTaskCombo, Event::Changed, [](ui::EventArgs&) { SelectReminderTask(); });
  click(kForceTick, ToggleForceExecution);
  click(kNoPopupTick, [] { SetTick(kNoPopupTick, IsTicked(kNoPopupTick) == 1 ? 0 : 1); });
  click("月历下拉按钮3", ChooseSoundFile);
  click("月历下拉按钮2", ChooseProgramFile);
  struct Cleared {
    std::string_view box;
    std::string_view button;
  };
  for (const Cleared& c : {Cleared{kSoundBox, "定时提醒清除按钮"}, Cleared{kProgramBox, "定时提醒清除按钮1"},
                           Cleared{kWebBox, "定时提醒清除按钮2"}}) {
    window.On(c.box, Event::TextChanged, [c](ui::EventArgs&) { Unit(c.button).SetVisible(!Text(c.box).empty()); });
    click(c.button, [c] {
      SetText(c.box, "");
      Unit(c.button).SetVisible(false);
    });
  }
  window.On(kTitleBox, Event::KeyDown, [](ui::EventArgs& a) {
    if (a.key != 13) return;
    a.handled = true;
    Focus(kContentBox);
  });
  window.On(kContentBox, Event::RightDown, [](ui::EventArgs&) { Unit("菜单").As<ui::Menu>().PopupAtPointer(); });
  click("复制", [] { Unit(kContentBox).As<ui::RichEditBox>().Copy(); });
  click("粘贴", [] { Unit(kContentBox).As<ui::RichEditBox>().Paste(); });

  // Lists that only copy the chosen item into the unit beside them.
  struct Copied {
    std::string_view list;
    std::string_view target;
  };
  for (const Copied& c : {Copied{"重复次数组合框", "重复次数单位标签"}, Copied{"重复单位选择组合框", kUnitLabel},
                          Copied{"提前单位组合框", "提前单位标签"}, Copied{"提醒类型组合框", kCategoryBox}}) {
    window.On(c.list, Event::Changed, [c](ui::EventArgs&) {
      const ui::ComboBox& combo = Combo(c.list);
      const std::string chosen = combo.ItemText(combo.CurrentIndex());
      // The interval unit obeys the rule the time kind does: a daily window keeps 分.
      if (c.target == kUnitLabel) {
        if (const std::string refusal = RefuseIntervalUnit(Shape(), chosen); !refusal.empty()) {
          ShowMessage(refusal);
          return;
        }
      }
      SetText(c.target, chosen);
      if (c.target == kCategoryBox) Focus(kCategoryBox);
    });
  }
  window.On("透明标签14", Event::LeftDown, [](ui::EventArgs&) { RestoreEditorDefaults(); });

  struct Dropped {
    std::string_view button;
    std::string_view list;
  };
  const Dropped drops[] = {
      {"图形按钮2", kTaskCombo},
      {"图形按钮3", "提醒类型组合框"},
      {"图形按钮10", "重复单位选择组合框"},
      {"图形按钮13", "重复次数组合框"},
      {"图形按钮17", "提前单位组合框"},
      {"图形按钮1", "日选择组合框_每月"},
      {"图形按钮8", "月份选择组合框_每年"},
      {"图形按钮9", "日选择组合框_每年"},
      {"图形按钮16", "年份选择组合框_农历一次"},
      {"图形按钮15", "月份选择组合框_农历一次"},
      {"图形按钮14", "日选择组合框_农历一次"},
      {"图形按钮19", "日选择组合框_农历每月"},
      {"图形按钮21", "月份选择组合框_农历每年"},
      {"图形按钮20", "日选择组合框_农历每年"},
  };
  for (const Dropped& d : drops) click(d.button, [list = d.list] { ui::DropDownComboBox(Combo(list)); });
}

}  // namespace workmemo::editor
