#include "due_notes/note_editor.h"

#include <memory>
#include <string>

#include "common/text_routines.h"
#include "due_notes/notes_panel.h"
#include "platform/clock/clock.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/data_files.h"
#include "shell/framed_window.h"
#include "shell/shell_services.h"
#include "shell/ui_state.h"
#include "ui/date_time_fields.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kWidth = 856;
constexpr int kHeight = 486;
constexpr int kMargin = 3;
constexpr int kTitleBytes = 120;
// Where the calendar drops down: left of the date boxes, under the date row.
constexpr int kPickerLeft = 31;
constexpr int kPickerBelowButton = 109;

constexpr std::string_view kTitleLabel = "标题标签";
constexpr std::string_view kCloseButton = "关闭按钮";
constexpr std::string_view kYearBox = "记事年框";
constexpr std::string_view kMonthBox = "记事月框";
constexpr std::string_view kDayBox = "记事日框";
constexpr std::string_view kHourBox = "记事时框";
constexpr std::string_view kMinuteBox = "记事分框";
constexpr std::string_view kSecondBox = "记事秒框";
constexpr std::string_view kDateFrame = "结束日期外形框";
constexpr std::string_view kPickerButton = "月历下拉按钮1";
constexpr std::string_view kPickerFrame = "月历外形框";
constexpr std::string_view kPickerPanel = "画板1";
constexpr std::string_view kTypeBox = "记事本类型框";
constexpr std::string_view kTypeCombo = "记事本类型组合框";
constexpr std::string_view kTitleBox = "标题框";
constexpr std::string_view kContentBox = "记事框";

// The open editor's objects.
struct EditorContext {
  ui::Window* window = nullptr;
  SkinPainter painter;  // NoteEditorWindowPainter
  DropDownDatePicker picker;  // NoteDatePicker
};

std::unique_ptr<EditorContext>& Context() {
  static std::unique_ptr<EditorContext> context;
  return context;
}

ui::Unit& U(std::string_view name) { return Context()->window->Unit(name); }
ui::ComboBox& TypeCombo() { return Context()->window->UnitAs<ui::ComboBox>(kTypeCombo); }

void ShowMessage(std::string_view message) {
  if (Services().ShowMessageBox) Services().ShowMessageBox(message);
}

void CorrectDateBoxes() {
  CorrectDateTimeFields(U(kYearBox), U(kMonthBox), U(kDayBox), U(kHourBox), U(kMinuteBox), U(kSecondBox));
}

void ShowDate(double serial) {
  const platform::clock::DateTimeFields f = platform::clock::FieldsFromSerial(serial);
  U(kYearBox).SetText(std::to_string(f.year));
  U(kMonthBox).SetText(std::to_string(f.month));
  U(kDayBox).SetText(std::to_string(f.day));
}

void ToggleNoteDatePicker() {
  EditorContext& ctx = *Context();
  CorrectDateBoxes();
  // The button's place within its frame, as the calendar's place is reckoned from it.
  const int buttonTop = U(kPickerButton).Top() - U(kDateFrame).Top();
  ctx.picker.MoveTo(kPickerLeft, buttonTop + kPickerBelowButton);
  if (ctx.picker.IsOpen()) {
    ctx.picker.Close();
  } else {
    ctx.picker.OpenAt(U(kYearBox), U(kMonthBox), U(kDayBox));
  }
}

void PickNoteDate(int x, int y) {
  if (Context()->picker.Press(x, y, U(kYearBox), U(kMonthBox), U(kDayBox)) == PickerClick::Day) CorrectDateBoxes();
}

void BindEvents(ui::Window& w) {
  using ui::Event;
  auto click = [&w](std::string_view unit, std::function<void()> action) {
    w.On(unit, Event::Clicked, [action = std::move(action)](ui::EventArgs&) { action(); });
  };
  w.On({}, Event::Created, [](ui::EventArgs&) { LoadNoteEditor(); });
  w.On({}, Event::Destroying, [](ui::EventArgs&) {
    if (Context()) Context()->painter.ClearSprites();
  });
  click("图形按钮4", SaveNote);
  click("图形按钮5", [&w] {
    ResetNoteEditorFields();
    w.Close();
  });
  click(kCloseButton, [&w] { w.Close(); });
  click(kPickerButton, ToggleNoteDatePicker);
  w.On(kPickerPanel, Event::LeftDown, [](ui::EventArgs& a) { PickNoteDate(a.x, a.y); });
  w.On(kPickerPanel, Event::MouseMove, [](ui::EventArgs& a) { Context()->picker.Hover(a.x, a.y); });
  click("记事本类型下拉按钮", [] { ui::DropDownComboBox(TypeCombo()); });
  w.On(kTypeCombo, Event::Changed, [](ui::EventArgs&) {
    ui::ComboBox& combo = TypeCombo();
    U(kTypeBox).SetText(combo.ItemText(combo.CurrentIndex()));
  });
  // Enter moves along the form without reaching the box; the content takes it as a new line.
  const std::pair<std::string_view, std::string_view> enterOrder[] = {
      {kYearBox, kMonthBox}, {kMonthBox, kDayBox}, {kDayBox, kTitleBox}, {kTitleBox, kTypeBox}, {kTypeBox, kContentBox}};
  for (const auto& [from, to] : enterOrder) {
    w.On(from, Event::KeyDown, [to](ui::EventArgs& a) {
      if (a.key != 13) return;
      a.handled = true;
      U(to).SetFocus();
    });
  }
  w.On(kContentBox, Event::RightDown, [&w](ui::EventArgs&) { w.UnitAs<ui::Menu>("菜单").PopupAtPointer(); });
  click("复制", [&w] { w.UnitAs<ui::RichEditBox>(kContentBox).Copy(); });
  click("粘贴", [&w] { w.UnitAs<ui::RichEditBox>(kContentBox).Paste(); });
}

}  // namespace

NoteRecordRow& EditorNote() {
  static NoteRecordRow note;
  return note;
}

ui::Window* NoteEditorWindow() { return Context() ? Context()->window : nullptr; }

void SetUpNoteEditor(ui::Window& window) {
  Context() = std::make_unique<EditorContext>();
  Context()->window = &window;
  BindEvents(window);
}

void OpenNoteEditor() {
  // One editor at a time: it is modal over the notes page.
  if (NoteEditorWindow() != nullptr) return;
  std::unique_ptr<ui::Window> window = ui::Window::Load(kNoteEditorName);
  SetUpNoteEditor(*window);
  window->OpenModal();
  Context().reset();
}

void CloseNoteEditor() {
  if (ui::Window* window = NoteEditorWindow()) window->Close();
}

void LoadNoteEditor() {
  EditorContext& ctx = *Context();
  ui::Window& w = *ctx.window;
  w.Resize(kWidth, kHeight);
  U(kTitleLabel).Move(30, 5);
  U(kCloseButton).Move(kWidth - U(kCloseButton).Width() - kMargin, kMargin);
  PaintFramedShellWindow(ctx.painter, w, Ui().LabelFontSize);
  ctx.picker.Bind(U(kPickerFrame), w.UnitAs<ui::DrawPanel>(kPickerPanel), w.UnitAs<ui::DrawPanel>("画板2"));
  FillNoteTypeCombo(TypeCombo());
  ResetNoteEditorFields();
  if (NotesPage().SelectedNoteId < 1) {
    U(kTitleLabel).SetText("添加记事");
  } else {
    LoadNoteIntoEditor();
    U(kTitleLabel).SetText("修改记事");
  }
  U(kContentBox).SetFocus();
}

void FillNoteTypeCombo(ui::ComboBox& combo) {
  const std::vector<std::string> types = ReadNoteTypes(Databases());
  combo.ClearItems();
  if (types.empty()) combo.AddItem(kDefaultNoteType);
  for (const std::string& type : types) combo.AddItem(type);
}

void ResetNoteEditorFields() {
  EditorNote() = NoteRecordRow();
  ShowDate(platform::clock::Now());
  CorrectDateBoxes();
  if (U(kTypeBox).Text().empty()) U(kTypeBox).SetText(TypeCombo().ItemText(0));
  Context()->picker.Close();
  U(kTitleBox).SetText({});
  U(kContentBox).SetText({});
  U(kContentBox).SetFocus();
}

void LoadNoteIntoEditor() {
  const std::optional<NoteRecordRow> note = ReadNote(Databases(), NotesPage().SelectedNoteId);
  if (!note) {
    ShowMessage("读取记事本数据失败，可能该记录已删除！");
    return;
  }
  ShowDate(note->jsdate);
  EditorNote() = *note;
  U(kTitleBox).SetText(note->bt);
  U(kContentBox).SetText(note->nr);
  U(kTypeBox).SetText(note->lx);
  CorrectDateBoxes();
}

void SaveNote() {
  const std::string content = U(kContentBox).Text();
  if (content.empty()) {
    ShowMessage("请输入内容!");
    return;
  }
  const std::string type = U(kTypeBox).Text();
  if (type.empty()) {
    ShowMessage("请输入记事类型！");
    return;
  }
  std::string title = U(kTitleBox).Text();
  if (title.empty()) {
    title = TruncateText(content, kTitleBytes);
    U(kTitleBox).SetText(title);
  }
  CorrectDateBoxes();
  const double date = platform::clock::SerialFromFields(
      {TextToInteger(U(kYearBox).Text()), TextToInteger(U(kMonthBox).Text()), TextToInteger(U(kDayBox).Text()), 0, 0, 0});
  AddComboItemIfMissing(type, TypeCombo());
  NoteRecordRow& note = EditorNote();
  note.bt = title;
  note.nr = content;
  note.lx = type;
  note.jsdate = date;

  const int selected = NotesPage().SelectedNoteId;
  const double today = platform::clock::Now();
  if (selected <= 0) {
    if (InsertNoteRow(Databases(), note, today) != 1) {
      ShowMessage("添加记事失败！");
      return;
    }
    const NoteRecordRow added = note;
    ResetNoteEditorFields();
    AppendNoteToNotesPanel(added);
    return;
  }
  // The row of the note chosen on the page, also when it could not be read: a row deleted
  // meanwhile changes nothing and the save fails rather than adding a note.
  note.id = selected;
  if (UpdateNoteRow(Databases(), note, today) != 1) {
    ShowMessage("修改记事失败！");
    return;
  }
  const NoteRecordRow changed = note;
  ResetNoteEditorFields();
  ReplaceNoteInNotesPanel(changed);
  Context()->window->Close();
}

}  // namespace workmemo
