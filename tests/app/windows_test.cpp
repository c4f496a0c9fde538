// The program's windows in one main window, as the program registers them: the editors
// open over the main window and close, however the user closes them, without taking the
// program with them.
#include <gtest/gtest.h>

#include <QApplication>

#include <functional>
#include <string>
#include <utility>

#include "program_windows_fixture.h"
#include "due_notes/due_editor.h"
#include "due_notes/due_window.h"
#include "due_notes/note_editor.h"
#include "platform/ui/app.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/units.h"
#include "platform/ui/widgets.h"
#include "platform/ui/window.h"
#include "reminders/ui/reminder_editor.h"
#include "reminders/ui/reminder_list_page.h"
#include "reminders/ui/reminder_popup.h"
#include "reminders/ui/reminder_popup_units.h"
#include "reminders/ui/today_window.h"
#include "shell/help_window.h"
#include "stacking_order.h"
#include "window_system_click.h"

namespace workmemo {
namespace {

namespace ui = platform::ui;
namespace drive = platform::ui::testing;

// An editor as the user reaches it: the page, its 添加 button, a date box and 取消.
struct EditorCase {
  const char* page;
  const char* addButton;
  const char* dateBox;
  const char* cancelButton;
  ui::Window* (*open)();
};
const EditorCase kEditors[] = {
    {"TimedReminderPanel", "添加定时提醒按钮", "年框", "图形按钮5", ReminderEditorWindow},
    {"DuePanel", "添加到期提醒按钮", "年框1", "到期提醒取消按钮", DueEditorWindow},
    {"NotesPanel", "添加记事管理按钮", "记事年框", "图形按钮5", NoteEditorWindow},
};

using testsupport::StackingOrder;
QWidget* WidgetOf(ui::Window& w) { return StackingOrder::WidgetOf(w); }
bool IsOnTop(ui::Window& w) { return StackingOrder::IsOnTop(w); }

// The main window loaded and shown, and the windows without a place of their own placed
// over it, as the start does.
class WindowsTest : public ProgramWindowsTest {
 protected:
  void SetUp() override {
    ProgramWindowsTest::SetUp();
    PlaceWindowsOverMainWindow();
    main = &LoadProgramMainWindow();
    Startup().MainWindow = &main->Window();
    main->Window().Show();
  }
  void TearDown() override {
    Startup().MainWindow = nullptr;
    ProgramWindowsTest::TearDown();
  }
  // The editor opened by its page's 添加 button; `inside` runs in its modal loop.
  void OpenEditor(const EditorCase& editor, std::function<void(ui::Window&)> inside) {
    main->ShowPanel(editor.page);
    ui::Unit& add = main->Page(editor.page)->Unit(editor.addButton);
    script->AnswerWindow(std::move(inside));
    drive::Click(add, add.Width() / 2, add.Height() / 2);
  }

  // A one-time reminder of `second`, saved to the file and the store's list; its id.
  static int SaveReminderDueIn(double second) {
    ReminderRecord r;
    r.ksdate = r.kstime = r.jsdate = r.jstime = r.txdate = second;
    r.txbt = "会议";
    r.txlx = "工作";
    EXPECT_EQ(Databases().Reminders.SaveReminder(r), 1);
    return r.id;
  }

  MainWindow* main = nullptr;
};

TEST_F(WindowsTest, ClosingAnEditorWithTheCursorInADateBoxEndsOnlyTheEditor) {
  const std::pair<const char*, std::function<void(ui::Window&, const EditorCase&)>> closes[] = {
      {"取消", [](ui::Window& w, const EditorCase& e) { drive::Click(w.Unit(e.cancelButton), 5, 5); }},
      {"close button", [](ui::Window& w, const EditorCase&) { drive::Click(w.Unit("关闭按钮"), 5, 5); }},
      {"window manager", [](ui::Window& w, const EditorCase&) { drive::CloseFromSystem(w); }},
  };
  for (const EditorCase& editor : kEditors) {
    for (const auto& [how, close] : closes) {
      SCOPED_TRACE(std::string(editor.page) + " / " + how);
      bool inDateBox = false;
      OpenEditor(editor, [&, close = close](ui::Window& w) {
        w.Activate();
        Pump();
        w.Unit(editor.dateBox).SetFocus();
        inDateBox = w.Unit(editor.dateBox).HasFocus();
        close(w, editor);
      });
      EXPECT_TRUE(inDateBox);
      EXPECT_EQ(editor.open(), nullptr);
      EXPECT_TRUE(main->Window().IsVisible());
    }
  }
  EXPECT_EQ(script->Unanswered(), 0);
}

// The editors open as the message boxes do: centred on the main window while it is shown
// (here where the user dragged it), else on the screen.
TEST_F(WindowsTest, EditorsOpenCentredOnTheMainWindowElseOnTheScreen) {
  ui::Window& mainWindow = main->Window();
  mainWindow.Move(-150, 60);
  const int mainMiddle = mainWindow.Top() + mainWindow.Height() / 2;
  for (const EditorCase& editor : kEditors) {
    SCOPED_TRACE(editor.page);
    for (const bool mainShown : {true, false}) {
      if (mainShown) mainWindow.Show();
      else mainWindow.Hide();
      int left = -1, middle = -1;
      OpenEditor(editor, [&](ui::Window& w) {
        left = w.Left();
        middle = w.Top() + w.Height() / 2;
        w.Close();
      });
      EXPECT_EQ(middle, mainShown ? mainMiddle : (ui::ScreenHeight() - ui::TaskbarHeight()) / 2);
      EXPECT_EQ(left, 0);  // wider than the test's screen: kept on it
    }
  }
}

// The 退出 question stays on top with the keyboard while a reminder pops up: the pop-up,
// top-most by its setting, comes up under the question and the question is answered as
// usual. The help window stays above the floating due-date window.
TEST_F(WindowsTest, BoxesAndTheHelpWindowStayAboveTheTopmostWindows) {
  AccessConfigItem("gjsz", "txckzd", "1");  // the pop-up top-most, as the first start writes it
  const double second = platform::clock::Now();
  SaveReminderDueIn(second);

  StackingOrder stacking;
  bool questionOnTop = false, popupOnTop = false, popupUnderQuestion = false, questionActive = false;
  script->AnswerWindow([&](ui::Window& question) {
    questionOnTop = IsOnTop(question);
    Seams().FireDueReminders(second);
    Pump(20);
    if (ReminderPopupWindow* popup = LoadedReminderPopup()) {
      popupOnTop = IsOnTop(popup->window());
      popupUnderQuestion = stacking.IsAbove(question, popup->window()) &&
                           StackingOrder::ShownWithoutTheKeyboard(popup->window());
    }
    questionActive = QApplication::activeWindow() == WidgetOf(question);
    drive::Key(question, 27);  // Escape: 取消
  });
  main->RequestExit();
  ASSERT_EQ(script->ModalWindows().size(), 1u);
  EXPECT_TRUE(questionOnTop);
  EXPECT_TRUE(popupOnTop);
  EXPECT_TRUE(popupUnderQuestion);
  EXPECT_TRUE(questionActive);
  EXPECT_TRUE(main->Window().IsVisible());  // not ended: the question was cancelled

  CallSeam(&ModuleSeams::ShowDueRemindersWindow);
  ShowHelpWindow();
  ASSERT_NE(OpenHelpWindow(), nullptr);
  EXPECT_TRUE(IsOnTop(OpenHelpWindow()->window()));
  CloseHelpWindow();
}

// An editor is a window the user stays in. Each window that can come up over it, before it
// opened or while it is open, stacks as its layer says: the floating due-date window, the
// today window (both top-most, as a fresh start has them) and the main window a show request
// brings up go under it; the pop-up (top-most or not), also one brought back from a
// minimise by a new reminder, goes above it. What comes up meanwhile leaves the box being
// typed in the keyboard.
TEST_F(WindowsTest, EveryWindowThatComesUpOverAnEditorStacksByItsLayerAndLeavesItTheKeyboard) {
  struct Comer {
    const char* what;
    std::function<ui::Window*()> bring;
    bool aboveEditor;
    bool alsoBefore;  // brought up before the editor opens as well
  };
  double second = platform::clock::Now();
  const auto firePopup = [&second]() -> ui::Window* {
    second += 1.0 / 86400;
    platform::clock::SetForTest(second);
    SaveReminderDueIn(second);
    Seams().FireDueReminders(second);
    ReminderPopupWindow* popup = LoadedReminderPopup();
    return popup != nullptr ? &popup->window() : nullptr;
  };
  const Comer comers[] = {
      {"floating due-date window", [] {
         CallSeam(&ModuleSeams::ShowDueRemindersWindow);
         return LoadedDueRemindersWindow();
       }, false, true},
      {"today window", [] {
         CallSeam(&ModuleSeams::ShowTodayWindow);
         return TodayRemindersWindow();
       }, false, true},
      {"show request", [this] {
         HandleShowRequest();
         return &main->Window();
       }, false, false},
      {"top-most pop-up", [&firePopup] {
         AccessConfigItem("gjsz", "txckzd", "1");
         return firePopup();
       }, true, true},
      {"pop-up not top-most", [&firePopup] {
         AccessConfigItem("gjsz", "txckzd", "0");
         return firePopup();
       }, true, true},
      {"minimised pop-up refilled", [&firePopup] {
         if (ReminderPopupWindow* popup = LoadedReminderPopup()) popup->window().Minimise();
         return firePopup();
       }, true, false},
  };
  for (const EditorCase& editor : kEditors) {
    for (const Comer& comer : comers) {
      for (const bool before : {false, true}) {
        if (before && !comer.alsoBefore) continue;
        SCOPED_TRACE(std::string(editor.page) + " / " + comer.what + (before ? " before" : " meanwhile"));
        CloseReminderPopup();
        if (std::string(comer.what) == "minimised pop-up refilled") firePopup();
        if (std::string(comer.what) == "show request") main->Window().Hide();  // in the tray
        else main->Window().Show();
        StackingOrder stacking;
        ui::Window* came = before ? comer.bring() : nullptr;
        bool stacked = false, withoutKeyboard = before, stillTyping = false, restored = true;
        OpenEditor(editor, [&](ui::Window& w) {
          w.Activate();
          Pump();
          ui::Unit& dateBox = w.Unit(editor.dateBox);
          dateBox.SetFocus();
          if (!before) came = comer.bring();
          Pump(20);
          if (came != nullptr) {
            stacked = comer.aboveEditor ? stacking.IsAbove(*came, w) : stacking.IsAbove(w, *came);
            if (!before) withoutKeyboard = StackingOrder::ShownWithoutTheKeyboard(*came);
            restored = came->IsVisible() && !came->IsMinimised();
          }
          stillTyping = WidgetOf(w)->focusWidget() == ui::detail::UnitAccess::WidgetOf(dateBox);
          w.Close();
        });
        ASSERT_NE(came, nullptr);
        EXPECT_TRUE(stacked);
        EXPECT_TRUE(withoutKeyboard);
        EXPECT_TRUE(stillTyping);
        EXPECT_TRUE(restored);
        CloseDueRemindersWindow();
        CloseTodayWindow();
      }
    }
  }
}

// While an editor is open the pop-up answers the mouse: its OK closes it. Its pause menu on
// the very reminder the editor modifies is refused and said, since the editor's save would
// undo it; on another reminder it pauses, and the editor's save keeps that.
TEST_F(WindowsTest, ThePopupAnswersWhileAnEditorIsOpenAndRefusesToPauseTheReminderBeingModified) {
  const auto clickPopup = [](std::string_view sprite) {
    auto& box = LoadedReminderPopup()->window().UnitAs<ui::AnimationBox>(popup::kBackgroundBox);
    const int id = LoadedReminderPopup()->SpriteId(sprite);
    testsupport::ClickThroughTheWindowSystem(box, box.ObjectLeft(id) + 3, box.ObjectTop(id) + 3);
  };
  double second = platform::clock::Now();
  const auto fire = [&second] {
    second += 1.0 / 86400;
    platform::clock::SetForTest(second);
    Seams().FireDueReminders(second);
  };

  // OK, in the add editor.
  bool closedByOk = false;
  OpenEditor(kEditors[0], [&](ui::Window& w) {
    SaveReminderDueIn(second + 1.0 / 86400);
    fire();
    if (LoadedReminderPopup() == nullptr) return w.Close();
    clickPopup(popup::kOkSprite);
    Pump(20);
    closedByOk = LoadedReminderPopup() == nullptr;
    w.Close();
  });
  EXPECT_TRUE(closedByOk);

  // The pause menu, in the editor of one of two reminders.
  const int edited = SaveReminderDueIn(second + 1.0 / 86400);
  const int other = SaveReminderDueIn(second + 2.0 / 86400);
  main->ShowPanel("TimedReminderPanel");
  TimedReminderList().SetSelectedId(edited);
  messages.clear();
  bool savedAndClosed = false;
  script->AnswerWindow([&](ui::Window& w) {
    fire();  // the edited reminder pops up
    script->AnswerMenu("永久暂停");
    clickPopup(popup::kPauseSprite);
    fire();  // then the other, shown on top
    script->AnswerMenu("永久暂停");
    clickPopup(popup::kPauseSprite);
    drive::Click(w.Unit("图形按钮4"), 5, 5);  // 确定: saved, the editor closes
    savedAndClosed = w.IsClosed();
    if (!savedAndClosed) w.Close();
  });
  OpenModifyReminderEditor();
  EXPECT_EQ(script->Unanswered(), 0);
  const std::vector<std::string> refused{"该提醒正在修改，请先关闭修改窗口！"};
  EXPECT_EQ(messages, refused);
  ReminderStore& store = Databases().Reminders;
  EXPECT_EQ(store.CopyReminder(edited).txzt, 0);
  EXPECT_EQ(store.CopyReminder(other).txzt, 1);
  EXPECT_TRUE(savedAndClosed);
}

}  // namespace
}  // namespace workmemo
