#include "due_notes/due_editor.h"

#include <memory>
#include <string>
#include <string_view>

#include "common/text_routines.h"
#include "due_notes/due_panel.h"
#include "due_notes/due_statements.h"
#include "platform/clock/clock.h"
#include "platform/db/db.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/store/calendar.h"
#include "reminders/store/reminder_record.h"
#include "shell/data_files.h"
#include "shell/framed_window.h"
#include "shell/password_gate.h"
#include "shell/ui_state.h"
#include "ui/date_time_fields.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kWidth = 856;
constexpr int kHeight = 460;
constexpr int kCalendarLeft = 31;
constexpr int kCalendarTop = 75;
constexpr double kTolerance = 0.0000001;

constexpr char kAddTitle[] = "添加到期提醒";
constexpr char kModifyTitle[] = "修改到期提醒";
constexpr std::string_view kCustomerBox = "客户名称框";
constexpr std::string_view kTypeBox = "项目类型框";
constexpr std::string_view kNameBox = "项目名称框";
constexpr std::string_view kProgressBox = "完成进度框";
constexpr std::string_view kRemarkBox = "备注框";

// A box with the pick list under it and the button that drops the list down.
struct PickedField {
  std::string_view box;
  std::string_view combo;
  std::string_view button;
};
constexpr PickedField kPickedFields[] = {
    {kCustomerBox, "客户名称组合框", "客户名称下拉按钮"},
    {kTypeBox, "项目类型组合框", "项目类型下拉按钮"},
    {kNameBox, "项目名称组合框", "项目名称下拉按钮"},
    {kProgressBox, "完成进度组合框", "完成进度下拉按钮"},
};

// Enter moves along the form in this order; the last box hands on to the remark.
constexpr std::string_view kEnterOrder[] = {"年框1", "月框1", "日框1", kCustomerBox, kTypeBox,
                                            kNameBox, kProgressBox, kRemarkBox};

// The start date's boxes (suffix "") and the due date's (suffix "1"); the time boxes only
// serve the date check.
struct DateSet {
  const char* suffix;
  const char* calendarButton;
};
constexpr DateSet kStartDate = {"", "月历下拉按钮1"};
constexpr DateSet kDueDate = {"1", "月历下拉按钮2"};

struct EditorContext {
  ui::Window* window = nullptr;
  SkinPainter painter;  // DueEditorWindowPainter
  DropDownDatePicker picker;  // DueDatePicker
  // The date the start boxes show for a loaded row that has no start date (an imported one
  // can lack it); empty when the row has one. Left at that, the start date stays none.
  std::string noStartDateShownAs;
};

std::unique_ptr<EditorContext>& Context() {
  static std::unique_ptr<EditorContext> context;
  return context;
}

ui::Unit& Box(std::string_view name) { return Context()->window->Unit(name); }
ui::Unit& DateBox(const DateSet& set, std::string_view kind) {
  return Box(std::string(kind) + set.suffix);
}
template <class T>
T& UnitAs(std::string_view name) {
  return Context()->window->UnitAs<T>(name);
}

void CorrectDateSet(const DateSet& set) {
  CorrectDateTimeFields(DateBox(set, "年框"), DateBox(set, "月框"), DateBox(set, "日框"), DateBox(set, "时框"),
                        DateBox(set, "分框"), DateBox(set, "秒框"));
}

void CorrectBothDates() {
  CorrectDateSet(kStartDate);
  CorrectDateSet(kDueDate);
}

void WriteDate(const DateSet& set, double date) {
  const DateTimeParts p = SplitDateTime(date);
  DateBox(set, "年框").SetText(std::to_string(p.year));
  DateBox(set, "月框").SetText(PadTwoDigits(p.month));
  DateBox(set, "日框").SetText(PadTwoDigits(p.day));
}

std::string DateText(const DateSet& set) {
  return DateBox(set, "年框").Text() + "-" + DateBox(set, "月框").Text() + "-" + DateBox(set, "日框").Text();
}

// The date of a set's boxes at 00:00:00.
double ReadDate(const DateSet& set) {
  return MakeDateTime(TextToInteger(DateBox(set, "年框").Text()), TextToInteger(DateBox(set, "月框").Text()),
                      TextToInteger(DateBox(set, "日框").Text()), 0, 0, 0);
}

// The start date to store: none while the boxes still show what a row without one loaded as.
double StartDateToStore() {
  const std::string& shown = Context()->noStartDateShownAs;
  if (!shown.empty() && DateText(kStartDate) == shown) return 0;
  return ReadDate(kStartDate);
}

const DateSet& CalendarSet() { return DueEditor().DueEditorDateField == 2 ? kDueDate : kStartDate; }

void ToggleCalendar(const DateSet& set, int field) {
  CorrectDateSet(set);
  DropDownDatePicker& picker = Context()->picker;
  picker.MoveTo(kCalendarLeft, kCalendarTop);
  DueEditor().DueEditorDateField = field;
  if (picker.IsOpen()) {
    picker.Close();
    return;
  }
  picker.OpenAt(DateBox(set, "年框"), DateBox(set, "月框"), DateBox(set, "日框"));
}

// A list emptied and given every value of a distinct query, in the order the engine gives.
int FillCombo(ui::ComboBox& combo, const std::string& sql, std::string_view column) {
  ProgramDatabases& db = Databases();
  combo.ClearItems();
  db.DueRecordSet.Open(db.DueConnection, sql);
  for (db.DueRecordSet.MoveFirst(); !db.DueRecordSet.Eof(); db.DueRecordSet.MoveNext()) {
    combo.AddItem(db.DueRecordSet.Text(column));
  }
  return combo.ItemCount();
}

void LearnPickedValues() {
  AddComboItemIfMissing(Box(kNameBox).Text(), UnitAs<ui::ComboBox>("项目名称组合框"));
  AddComboItemIfMissing(Box(kTypeBox).Text(), UnitAs<ui::ComboBox>("项目类型组合框"));
  AddComboItemIfMissing(Box(kCustomerBox).Text(), UnitAs<ui::ComboBox>("客户名称组合框"));
}

// The fields checked in order; the first failure's message, or none.
const char* ValidationMessage() {
  if (Box(kNameBox).Text().empty()) return "请输入项目名称！";
  if (Box(kTypeBox).Text().empty()) return "请输入项目类型！";
  const std::string progress = Box(kProgressBox).Text();
  if (progress.empty()) return "请输入项目进度！";
  const double value = TextToNumber(progress);
  if (value > 100 + kTolerance || value < -kTolerance) return "进度数值只能在0~100之间！";
  return nullptr;
}

void LayOut() {
  ui::Window& w = *Context()->window;
  w.Resize(kWidth, kHeight);
  ui::Unit& close = w.Unit("关闭按钮");
  close.Move(kWidth - close.Width() - 3, 3);
  EditorContext& ctx = *Context();
  ctx.picker.Bind(w.Unit("月历外形框"), w.UnitAs<ui::DrawPanel>("月历画板"), w.UnitAs<ui::DrawPanel>("月历画板1"));
  ctx.picker.MoveTo(kCalendarLeft, kCalendarTop);
  PaintFramedShellWindow(ctx.painter, w, Ui().LabelFontSize);
}

void BindEvents(ui::Window& w) {
  using ui::Event;
  auto click = [&w](std::string_view unit, std::function<void()> action) {
    w.On(unit, Event::Clicked, [action = std::move(action)](ui::EventArgs&) { action(); });
  };
  click("到期提醒确认按钮", SaveDueRecord);
  ui::Window* self = &w;
  click("到期提醒取消按钮", [self] { self->Close(); });
  click("关闭按钮", [self] { self->Close(); });

  for (std::size_t i = 0; i + 1 < std::size(kEnterOrder); ++i) {
    w.On(kEnterOrder[i], Event::KeyDown, [next = kEnterOrder[i + 1]](ui::EventArgs& a) {
      if (a.key != 13) return;
      a.handled = true;
      Box(next).SetFocus();
    });
  }
  for (const DateSet* set : {&kStartDate, &kDueDate}) {
    for (const char* kind : {"年框", "月框", "日框"}) {
      const std::string name = std::string(kind) + set->suffix;
      w.On(name, Event::LeftUp, [name](ui::EventArgs&) { UnitAs<ui::EditBox>(name).SelectAll(); });
      w.On(name, Event::FocusLost, [](ui::EventArgs&) { CorrectBothDates(); });
    }
  }
  for (const PickedField& f : kPickedFields) {
    click(f.button, [combo = f.combo] { ui::DropDownComboBox(UnitAs<ui::ComboBox>(combo)); });
    w.On(f.combo, Event::Changed, [f](ui::EventArgs&) {
      const auto& combo = UnitAs<ui::ComboBox>(f.combo);
      Box(f.box).SetText(combo.ItemText(combo.CurrentIndex()));
    });
  }
  w.On(kRemarkBox, Event::RightDown, [](ui::EventArgs&) { UnitAs<ui::Menu>("菜单").PopupAtPointer(); });
  click("复制", [] { UnitAs<ui::RichEditBox>(kRemarkBox).Copy(); });
  click("粘贴", [] { UnitAs<ui::RichEditBox>(kRemarkBox).Paste(); });

  click(kStartDate.calendarButton, [] { ToggleCalendar(kStartDate, 1); });
  click(kDueDate.calendarButton, [] { ToggleCalendar(kDueDate, 2); });
  w.On("月历画板", Event::LeftDown, [](ui::EventArgs& a) {
    const DateSet& set = CalendarSet();
    Context()->picker.Press(a.x, a.y, DateBox(set, "年框"), DateBox(set, "月框"), DateBox(set, "日框"));
  });
  w.On("月历画板", Event::MouseMove, [](ui::EventArgs& a) { Context()->picker.Hover(a.x, a.y); });

  w.On({}, Event::Created, [](ui::EventArgs&) { LoadDueEditor(); });
  w.On({}, Event::Destroying, [](ui::EventArgs&) {
    // The year flag is left to the page's openers, which set both.
    DuePage().CopyAddOneMonth = 0;
    if (!Context()) return;
    Context()->painter.ClearSprites();
    Context().reset();
  });
}

}  // namespace

DueEditorState& DueEditor() {
  static DueEditorState state;
  return state;
}

void OpenDueEditor() {
  if (Context()) return;  // one editor at a time
  std::unique_ptr<ui::Window> window = ui::Window::Load("DueEditorWindow");
  SetUpDueEditor(*window);
  window->OpenModal();
}

void SetUpDueEditor(ui::Window& window) {
  Context() = std::make_unique<EditorContext>();
  Context()->window = &window;
  BindEvents(window);
}

ui::Window* DueEditorWindow() { return Context() ? Context()->window : nullptr; }

void LoadDueEditor() {
  if (!Context()) return;
  LayOut();
  ResetDueEditorFields();
  FillDueEditorCombos();
  DuePanelState& page = DuePage();
  ui::Unit& title = Box("标题标签");
  if (page.SelectedDueId <= 0) {
    title.SetText(kAddTitle);
    return;
  }
  LoadDueRecordIntoEditor();
  title.SetText(kModifyTitle);
  if (page.CopyAddOneMonth != 1 && page.CopyAddOneYear != 1) return;
  // A copy: saved as a new item, due a month (or a year) after the copied one.
  page.SelectedDueId = 0;
  const int part = page.CopyAddOneMonth == 1 ? DatePart::Month : DatePart::Year;
  WriteDate(kDueDate, AddToDate(ReadDate(kDueDate), part, 1));
  CorrectBothDates();
  title.SetText(kAddTitle);
}

void ResetDueEditorFields() {
  if (!Context()) return;
  Context()->noStartDateShownAs.clear();
  const double today = platform::clock::Now();
  for (const DateSet* set : {&kStartDate, &kDueDate}) {
    WriteDate(*set, today);
    for (const char* kind : {"时框", "分框", "秒框"}) DateBox(*set, kind).SetText("00");
  }
  CorrectBothDates();
  for (std::string_view box : {kCustomerBox, kNameBox, kTypeBox, kRemarkBox}) Box(box).SetText({});
  Box(kProgressBox).SetText("0");
  Box(kTypeBox).SetText(UnitAs<ui::ComboBox>("项目类型组合框").ItemText(0));
}

void FillDueEditorCombos() {
  if (!Context()) return;
  if (FillCombo(UnitAs<ui::ComboBox>("项目名称组合框"), due_sql::ProjectNames(), "xmmc1") > 0) {
    Box(kNameBox).SetText({});
  }
  // Nothing is chosen in a freshly filled list: the type box is left empty.
  FillCombo(UnitAs<ui::ComboBox>("项目类型组合框"), due_sql::ProjectTypes(), "xmlx1");
  Box(kTypeBox).SetText({});
  if (FillCombo(UnitAs<ui::ComboBox>("客户名称组合框"), due_sql::CustomerNames(), "khmc1") > 0) {
    Box(kCustomerBox).SetText({});
  }
}

void LoadDueRecordIntoEditor() {
  if (!Context()) return;
  ProgramDatabases& db = Databases();
  platform::db::RecordSet& records = db.DueRecordSet;
  records.Open(db.DueConnection, due_sql::OneRow(DuePage().SelectedDueId));
  DueRows rows;
  if (LoadDueRows(records, rows) == 0) return;
  records.MoveFirst();
  const double start = records.DateTime("ksdate");
  WriteDate(kStartDate, start);
  DueRecordRow& edited = DueEditor().EditedDueRecord;
  edited = rows.front();
  WriteDate(kDueDate, edited.dqdate);
  Box(kCustomerBox).SetText(edited.khmc);
  Box(kNameBox).SetText(edited.xmmc);
  Box(kTypeBox).SetText(edited.xmlx);
  Box(kRemarkBox).SetText(edited.bz);
  Box(kProgressBox).SetText(edited.wcjd);
  CorrectBothDates();
  if (start == 0) Context()->noStartDateShownAs = DateText(kStartDate);
}

void SaveDueRecord() {
  if (!Context()) return;
  CorrectBothDates();
  if (const char* message = ValidationMessage()) {
    ShowDueMessage(message);
    return;
  }
  due_sql::DueItem item;
  item.dqdate = ReadDate(kDueDate);
  item.ksdate = StartDateToStore();
  item.khmc = Box(kCustomerBox).Text();
  item.xmlx = Box(kTypeBox).Text();
  item.xmmc = Box(kNameBox).Text();
  item.wcjd = TextToInteger(Box(kProgressBox).Text());
  item.bz = Box(kRemarkBox).Text();
  const double now = platform::clock::Now();
  DueRecordRow& edited = DueEditor().EditedDueRecord;
  edited.dqdate = item.dqdate;
  edited.khmc = item.khmc;
  edited.xmlx = item.xmlx;
  edited.xmmc = item.xmmc;
  edited.wcjd = std::to_string(item.wcjd);
  edited.bz = item.bz;

  ProgramDatabases& db = Databases();
  DuePanelState& page = DuePage();
  if (page.SelectedDueId < 1) {
    if (db.DueConnection.Execute(due_sql::Insert(item, now)) != 1) {
      ShowDueMessage("添加到期提醒失败！");
      return;
    }
    db.DueRecordSet.Open(db.DueConnection, due_sql::NewestRow());
    DueRows newest;
    if (LoadDueRows(db.DueRecordSet, newest) > 0) edited = newest.front();
    AppendDueRow(edited);
    LearnPickedValues();
    ResetDueEditorFields();
    return;
  }
  // A row deleted meanwhile changes nothing: the modification failed.
  if (ExecuteChangingRow(db.DueConnection, due_sql::Update(page.SelectedDueId, item, now)) != 1) {
    ShowDueMessage("修改到期提醒失败！");
    return;
  }
  LearnPickedValues();
  edited.id = page.SelectedDueId;
  ReplaceDueRow(edited);
  ResetDueEditorFields();
  Context()->window->Close();
}

}  // namespace workmemo
