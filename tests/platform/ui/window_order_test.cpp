// How windows close, where they open and how they stack, offscreen.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QTimer>

#include "gui_test.h"
#include "platform/text/text.h"
#include "platform/ui/app.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/widgets.h"
#include "platform/ui/window.h"
#include "stacking_order.h"
#include "window_system_click.h"

namespace {

using namespace platform::ui;
namespace drive = platform::ui::testing;

std::string G(const char* utf8) { return platform::text::FromUtf8(utf8); }

class WindowOrderTest : public testsupport::GuiTest {};

TEST_F(WindowOrderTest, NoHandlerRunsOnceItsWindowBeganToClose) {
  auto window = LoadWindow("UnitKindsWindow");
  auto context = std::make_unique<int>(7);
  std::vector<std::string> seen;
  window->On(G("标题编辑框"), Event::FocusLost,
             [&](EventArgs&) { seen.push_back("lost " + std::to_string(*context)); });
  window->On({}, Event::Destroying, [&](EventArgs&) {
    seen.push_back("destroying");
    context.reset();
  });
  window->On(G("确定按钮"), Event::Clicked, [&](EventArgs&) { window->Close(); });
  window->Open();
  window->Activate();
  Pump();
  window->Unit(G("标题编辑框")).SetFocus();
  Pump();
  ASSERT_TRUE(window->Unit(G("标题编辑框")).HasFocus());
  drive::Click(window->Unit(G("确定按钮")), 5, 5);
  Pump();
  EXPECT_EQ(seen, (std::vector<std::string>{"destroying"}));
}

// The program ends through its own end only: a window closed by the window manager while
// no other is on the screen (the pop-up while the main window waits in the tray) leaves the
// event loop running.
TEST_F(WindowOrderTest, ClosingTheLastWindowOnTheScreenDoesNotEndTheProgram) {
  auto window = LoadWindow("UnitKindsWindow");
  QTimer::singleShot(0, [&] {
    window->Open();
    drive::CloseFromSystem(*window);
    QTimer::singleShot(50, [] { QuitEventLoop(7); });
  });
  EXPECT_EQ(RunEventLoop(), 7);
  EXPECT_TRUE(window->IsClosed());
}

// A window that its code never placed opens as the message boxes do: centred on the owner
// while that is shown, else on the screen's free area. A window that placed itself keeps
// its place, and so does one opened a second time.
TEST_F(WindowOrderTest, AWindowWithoutAPlaceOpensCentredOnTheOwnerOrTheScreen) {
  auto owner = Window::FromJson(R"({"title": "main", "width": 300, "height": 200, "units": []})", "Main");
  owner->Move(40, 30);
  const Window* registered = owner.get();
  Window::SetPlacementOwner([&registered] { return registered; });
  const auto centre = [](const Window& w) { return std::pair{w.Left() + w.Width() / 2, w.Top() + w.Height() / 2}; };
  const std::pair screen{ScreenWidth() / 2, (ScreenHeight() - TaskbarHeight()) / 2};
  const std::pair ownerCentre{40 + 150, 30 + 100};
  struct Case {
    const char* what;
    bool ownerShown;
    bool registeredOwner;
    bool modal;
    std::pair<int, int> expected;
  } cases[] = {
      {"over the shown owner", true, true, false, ownerCentre},
      {"modal over the shown owner", true, true, true, ownerCentre},
      {"owner hidden", false, true, false, screen},
      {"no owner", true, false, true, screen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.ownerShown) owner->Open();
    else owner->Hide();
    registered = c.registeredOwner ? owner.get() : nullptr;
    auto window = LoadWindow("UnitKindsWindow");
    window->Resize(200, 100);
    std::pair<int, int> seen;
    if (c.modal) {
      script->AnswerWindow([&](Window& w) {
        seen = centre(w);
        w.Close();
      });
      window->OpenModal();
    } else {
      window->Open();
      seen = centre(*window);
    }
    EXPECT_EQ(seen, c.expected);
  }

  owner->Open();
  registered = owner.get();
  auto placed = LoadWindow("UnitKindsWindow");
  placed->Move(15, 25);
  placed->Open();
  EXPECT_EQ(std::pair(placed->Left(), placed->Top()), std::pair(15, 25));
  auto reopened = LoadWindow("UnitKindsWindow");
  reopened->Open();
  reopened->Close();
  reopened->Move(reopened->Left() + 7, reopened->Top());  // where the user dragged it
  const std::pair left{reopened->Left(), reopened->Top()};
  reopened->Open();
  EXPECT_EQ(std::pair(reopened->Left(), reopened->Top()), left);
  Window::SetPlacementOwner(nullptr);
}

// A modal box kept in front is top-most while it is up, so the program's floating top-most
// windows never cover it; one of them that comes up meanwhile (the pop-up of a reminder)
// goes under it without the keyboard, and activating it leaves the keyboard with the box. A
// window kept in front without being modal (the help window) is top-most too.
TEST_F(WindowOrderTest, AModalBoxStaysAboveTopmostWindowsAndKeepsTheKeyboard) {
  const auto widget = [](Window& w) { return detail::UnitAccess::WindowWidgetOf(w); };
  const auto onTop = [&](Window& w) { return widget(w)->windowFlags().testFlag(Qt::WindowStaysOnTopHint); };
  auto floating = LoadWindow("UnitKindsWindow");
  floating->SetTopmost(true);
  floating->Open();
  auto popup = LoadWindow("UnitKindsWindow");
  popup->SetTopmost(true);
  auto box = LoadWindow("UnitKindsWindow");
  bool boxOnTop = false, popupWithoutKeys = false;
  QWidget* activeAfterShow = nullptr;
  QWidget* activeAfterActivate = nullptr;
  script->AnswerWindow([&](Window& w) {
    boxOnTop = onTop(w);
    popup->Open();
    popupWithoutKeys = widget(*popup)->testAttribute(Qt::WA_ShowWithoutActivating);
    Pump(20);
    activeAfterShow = QApplication::activeWindow();
    floating->Activate();
    Pump(20);
    activeAfterActivate = QApplication::activeWindow();
    w.Close();
  });
  box->KeepAboveTopmostWindows();
  box->OpenModal();
  EXPECT_TRUE(boxOnTop);
  EXPECT_TRUE(popupWithoutKeys);
  EXPECT_EQ(activeAfterShow, widget(*box));
  EXPECT_EQ(activeAfterActivate, widget(*box));
  EXPECT_TRUE(box->IsKeptAboveTopmostWindows());

  // With no box up a window comes up with the keyboard again.
  popup->Close();
  popup->Open();
  EXPECT_FALSE(widget(*popup)->testAttribute(Qt::WA_ShowWithoutActivating));
  popup->Activate();
  Pump(20);
  EXPECT_EQ(QApplication::activeWindow(), widget(*popup));

  auto help = LoadWindow("UnitKindsWindow");
  EXPECT_FALSE(onTop(*help));
  help->KeepAboveTopmostWindows();
  help->Open();
  EXPECT_TRUE(onTop(*help));
  EXPECT_FALSE(help->IsTopmost());  // its own setting is untouched
}

// The layers while an editor is open, from the top: a box kept in front, the window kept
// above modal windows (the pop-up), the editor, the top-most windows, the rest. A window
// that comes up meanwhile takes its place without the keyboard, and the window kept above
// the editor answers the mouse as the editor does, while no other window does.
TEST_F(WindowOrderTest, WhileAnEditorIsOpenTheWindowsStackInLayersAndOnlyThePopupAnswersBesideIt) {
  for (const bool popupTopmost : {true, false}) {
    SCOPED_TRACE(popupTopmost ? "pop-up top-most" : "pop-up not top-most");
    testsupport::StackingOrder stacking;
    using testsupport::StackingOrder;
    const auto button = [](Window& w) -> Unit& { return w.Unit(G("确定按钮")); };
    std::vector<std::string> clicked;
    const auto counted = [&clicked](std::unique_ptr<Window> w, const char* name) {
      w->On(G("确定按钮"), Event::Clicked, [&clicked, name](EventArgs&) { clicked.emplace_back(name); });
      return w;
    };
    auto rest = counted(LoadWindow("UnitKindsWindow"), "rest");
    rest->Open();
    auto floating = counted(LoadWindow("UnitKindsWindow"), "floating");
    floating->SetTopmost(true);
    floating->Open();
    auto lateFloating = LoadWindow("UnitKindsWindow");
    lateFloating->SetTopmost(true);
    auto popup = counted(LoadWindow("UnitKindsWindow"), "pop-up");
    popup->KeepAboveModalWindows();
    popup->SetTopmost(popupTopmost);
    auto editor = LoadWindow("UnitKindsWindow");
    auto box = LoadWindow("UnitKindsWindow");
    box->KeepAboveTopmostWindows();

    bool editorOnTop = false, editorOverFloating = false, lateUnder = false, popupOver = false;
    bool withoutKeyboard = false, boxOverAll = false;
    script->AnswerWindow([&](Window& w) {
      editorOnTop = StackingOrder::IsOnTop(w);
      editorOverFloating = stacking.IsAbove(w, *floating) && stacking.IsAbove(w, *rest);
      lateFloating->Open();
      popup->Open();
      Pump(20);
      floating->Activate();  // the user cannot reach it, but the program may bring it forward
      Pump(20);
      lateUnder = stacking.IsAbove(w, *lateFloating) && stacking.IsAbove(w, *floating);
      popupOver = stacking.IsAbove(*popup, w) && StackingOrder::IsOnTop(*popup);
      withoutKeyboard = StackingOrder::ShownWithoutTheKeyboard(*lateFloating) &&
                        StackingOrder::ShownWithoutTheKeyboard(*popup);
      for (Window* other : {rest.get(), floating.get(), popup.get()})
        testsupport::ClickThroughTheWindowSystem(button(*other), 5, 5);
      script->AnswerWindow([&](Window& b) {
        boxOverAll = stacking.IsAbove(b, *popup) && stacking.IsAbove(b, w);
        testsupport::ClickThroughTheWindowSystem(button(*popup), 5, 5);  // the box blocks it
        b.Close();
      });
      box->OpenModal();
      w.Close();
    });
    editor->OpenModal();
    EXPECT_TRUE(editorOnTop);
    EXPECT_TRUE(editorOverFloating);
    EXPECT_TRUE(lateUnder);
    EXPECT_TRUE(popupOver);
    EXPECT_TRUE(withoutKeyboard);
    EXPECT_TRUE(boxOverAll);
    EXPECT_EQ(clicked, std::vector<std::string>{"pop-up"});
    // Closed, the editor leaves every window its own layer and input again.
    EXPECT_EQ(StackingOrder::IsOnTop(*popup), popupTopmost);
    clicked.clear();
    testsupport::ClickThroughTheWindowSystem(button(*rest), 5, 5);
    EXPECT_EQ(clicked, std::vector<std::string>{"rest"});
    popup->Close();
  }
}

}  // namespace
