// The editor window itself: its objects, the boxes that hold other units, layout and skin,
// the created handler, the three openers behind the password gate, and their registration.
#include <memory>

#include "common/text_routines.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/ui/reminder_editor.h"
#include "reminders/ui/reminder_editor_units.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/timed_reminder_panel.h"
#include "shell/data_files.h"
#include "shell/framed_window.h"
#include "shell/module_seams.h"
#include "shell/password_gate.h"
#include "shell/run_state.h"
#include "shell/settings.h"
#include "shell/shell_services.h"
#include "shell/startup.h"
#include "shell/ui_state.h"

namespace workmemo {

namespace ui = platform::ui;

namespace editor {

namespace {

std::unique_ptr<EditorWindow>& Current() {
  static std::unique_ptr<EditorWindow> current;
  return current;
}

// The boxes whose members come and go with them. Their members are found by place in the
// template: a box lies under the units it holds.
constexpr std::string_view kGroupBoxes[] = {
    kWeekBox, kMonthlyBox, kYearlyBox, kIntervalBox, kLunarOnceBox, kLunarMonthlyBox, kLunarYearlyBox,
    kNoticeBox, kShutdownBox, "外形框9", kEndDateFrame, "外形框1", kEndTimeFrame};

bool HasSurface(const ui::Unit& unit) {
  switch (unit.Kind()) {
    case ui::UnitKind::Timer:
    case ui::UnitKind::Menu:
    case ui::UnitKind::MenuItem:
    case ui::UnitKind::FileDialog:
      return false;
    default:
      return true;
  }
}

bool Inside(const ui::Unit& unit, const ui::Unit& box) {
  return unit.Left() >= box.Left() && unit.Top() >= box.Top() &&
         unit.Left() + unit.Width() <= box.Left() + box.Width() &&
         unit.Top() + unit.Height() <= box.Top() + box.Height();
}

void FindGroups(EditorWindow& open) {
  const auto& units = open.window->Units();
  for (std::string_view name : kGroupBoxes) {
    UnitGroup group;
    group.box = &open.window->Unit(name);
    bool after = false;
    for (const auto& unit : units) {
      if (unit.get() == group.box) {
        after = true;
      } else if (after && HasSurface(*unit) && Inside(*unit, *group.box)) {
        group.members.push_back(unit.get());
      }
    }
    open.groups.emplace(std::string(name), std::move(group));
  }
}

UnitGroup& Group(std::string_view name) { return Open()->groups.find(name)->second; }

}  // namespace

EditorWindow* Open() { return Current().get(); }

ui::Unit& Unit(std::string_view name) { return Open()->window->Unit(name); }
ui::ComboBox& Combo(std::string_view name) { return Unit(name).As<ui::ComboBox>(); }
std::string Text(std::string_view name) { return Unit(name).Text(); }
void SetText(std::string_view name, std::string_view text) { Unit(name).SetText(text); }
bool Is(std::string_view name, std::string_view text) { return Text(name) == text; }
int NumberOf(std::string_view name) { return TextToInteger(Text(name)); }

void ShowGroup(std::string_view name, bool visible) {
  UnitGroup& group = Group(name);
  group.box->SetVisible(visible);
  for (ui::Unit* member : group.members) member->SetVisible(visible);
}

bool IsGroupShown(std::string_view name) { return Group(name).box->IsVisible(); }

void MoveGroup(std::string_view name, int left, int top) {
  UnitGroup& group = Group(name);
  const int dx = left - group.box->Left();
  const int dy = top - group.box->Top();
  group.box->Move(left, top);
  for (ui::Unit* member : group.members) member->Move(member->Left() + dx, member->Top() + dy);
}

void SetDateBoxesEnabled(bool enabled) {
  for (int i = 0; i < 3; ++i) Unit(kStartBoxes[i]).SetEnabled(enabled);
}

void HideModeBoxes() {
  for (std::string_view box : kModeBoxes) ShowGroup(box, false);
}

void ShowMessage(std::string_view message) {
  if (Services().ShowMessageBox) Services().ShowMessageBox(message);
}

void Focus(std::string_view name) { Unit(name).SetFocus(); }

EditorShape Shape() {
  return {Text(kModeBox), Text(kDateLabel), Text(kTimeLabel), Text(kUnitLabel), Text(kTaskBox)};
}

}  // namespace editor

using namespace editor;

ReminderEditorState& Editor() {
  static ReminderEditorState state;
  return state;
}

ui::Window* ReminderEditorWindow() { return Open() != nullptr ? Open()->window : nullptr; }

int ReminderIdInOpenEditor() { return ReminderEditorWindow() != nullptr ? Run().EditedReminderId : 0; }

void SetUpReminderEditor(ui::Window& window) {
  Current() = std::make_unique<EditorWindow>();
  Current()->window = &window;
  FindGroups(*Current());
  window.On({}, ui::Event::Created, [](ui::EventArgs&) { InitialiseReminderEditor(); });
  window.On({}, ui::Event::Destroying, [](ui::EventArgs&) {
    if (!Open()) return;
    Open()->painter.ClearSprites();
    Current().reset();
  });
  ui::Window* self = &window;
  window.On("关闭按钮", ui::Event::Clicked, [self](ui::EventArgs&) { self->Close(); });
  window.On("图形按钮5", ui::Event::Clicked, [self](ui::EventArgs&) {
    ResetReminderEditor(1);
    self->Close();
  });
  window.On("图形按钮4", ui::Event::Clicked, [](ui::EventArgs&) { SaveReminderFromEditor(); });
  window.On("背景动画框", ui::Event::LeftDown, [self](ui::EventArgs&) { ui::DragWindow(*self); });
  BindModeHandlers(window);
  BindDateHandlers(window);
  BindActionHandlers(window);
}

void LayOutReminderEditor() {
  EditorWindow& open = *Open();
  ui::Window& window = *open.window;
  window.Resize(860, 546);
  Unit("标题标签").Move(30, 5);
  ui::Unit& close = Unit("关闭按钮");
  close.Move(860 - close.Width() - 3, 3);
  open.datePicker.Bind(Unit("月历外形框"), Unit("画板1").As<ui::DrawPanel>(), Unit("画板2").As<ui::DrawPanel>());
  open.datePicker.MoveTo(41, 33);
  const ui::Unit& week = Unit(kWeekBox);
  for (std::string_view box : kModeBoxes) MoveGroup(box, week.Left(), week.Top());
  MoveGroup(kNoticeBox, week.Left(), Unit(kNoticeBox).Top());
  const ui::Unit& notice = Unit(kNoticeBox);
  MoveGroup(kShutdownBox, notice.Left(), notice.Top());
}

void SkinReminderEditor() {
  EditorWindow& open = *Open();
  PaintFramedShellWindow(open.painter, *open.window, Ui().LabelFontSize);
  // The stacked boxes show the painted background that lies under their place.
  auto& background = Unit("背景动画框").As<ui::AnimationBox>();
  auto capture = [&background](const ui::Unit& place) {
    return background.Capture(place.Left(), place.Top(), place.Width(), place.Height());
  };
  const std::string modePicture = capture(Unit(kWeekBox));
  for (std::string_view box : kModeBoxes) Unit(box).As<ui::PictureBox>().SetPicture(modePicture);
  const std::string taskPicture = capture(Unit(kNoticeBox));
  Unit(kNoticeBox).As<ui::PictureBox>().SetPicture(taskPicture);
  Unit(kShutdownBox).As<ui::PictureBox>().SetPicture(taskPicture);
}

void InitialiseReminderEditor() {
  if (!Open()) return;
  LayOutReminderEditor();
  SkinReminderEditor();
  ui::ComboBox& categories = Combo("提醒类型组合框");
  categories.ClearItems();
  for (const std::string& item : Databases().Reminders.CategoryComboItems(0)) categories.AddItem(item);
  ResetReminderEditor(Settings().KeepLastReminderSettings);
  FillLunarYearList(Combo("年份选择组合框_农历一次"));
  FillLunarDayNameList(Combo("日选择组合框_农历每月"));
  RunState& run = Run();
  ReminderEditorState& state = Editor();
  std::string title = "添加定时提醒";
  if (run.EditedReminderId > 0) {
    LoadReminderIntoEditor();
    if (state.CopyAndAddPending == 1) {
      run.EditedReminderId = 0;
      state.EditorReminder.id = 0;
    } else {
      title = "修改定时提醒";
    }
    state.CopyAndAddPending = 0;
  }
  SetText("标题标签", title);
  Focus(kContentBox);
}

namespace {

// One editor at a time: a request while it is open (the tray's) only shows it, before the
// request touches the edited id or a pending copy, so the open editor keeps its mode.
bool BroughtOpenEditorForward() {
  ui::Window* open = ReminderEditorWindow();
  if (open == nullptr) return false;
  open->Activate();
  return true;
}

void OpenEditorWindow() {
  std::unique_ptr<ui::Window> window = ui::Window::Load(kReminderEditorName);
  SetUpReminderEditor(*window);
  window->OpenModal();
  if (Open() != nullptr && Open()->window == window.get()) Current().reset();
}

}  // namespace

void OpenAddReminderEditor() {
  if (BroughtOpenEditorForward()) return;
  Editor().CopyAndAddPending = 0;
  Run().EditedReminderId = 0;
  if (ProgramGate().Guard(GuardedAction::AddReminder)) return;
  OpenEditorWindow();
}

void OpenModifyReminderEditor() {
  if (BroughtOpenEditorForward()) return;
  RunState& run = Run();
  run.EditedReminderId = TimedReminderList().SelectedId();
  if (run.EditedReminderId < 1) {
    ShowMessage("请选择要修改的记录！");
    return;
  }
  if (ProgramGate().Guard(GuardedAction::ModifyReminder)) return;
  OpenEditorWindow();
}

void CopyAndAddReminder() {
  if (BroughtOpenEditorForward()) return;
  const int id = TimedReminderList().SelectedId();
  Run().EditedReminderId = id;
  if (id < 1) {
    ShowMessage("请先选择要复制的定时提醒！");
    return;
  }
  Editor().CopyAndAddPending = 1;
  OpenModifyReminderEditor();
}

void RegisterReminderEditor() {
  // The password page replays the request it recorded; only there does a pending copy
  // survive the modify it goes through.
  Seams().OpenAddReminderEditor = OpenAddReminderEditor;
  Seams().OpenModifyReminderEditor = OpenModifyReminderEditor;
  ReminderPanelActions& actions = PanelActions();
  actions.OpenAddReminderEditor = OpenAddReminderEditor;
  actions.OpenModifyReminderEditor = [] {
    Editor().CopyAndAddPending = 0;
    OpenModifyReminderEditor();
  };
  actions.CopyAndAddReminder = CopyAndAddReminder;
}

}  // namespace workmemo
