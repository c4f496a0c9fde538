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

// A modal window that is not kept in front (an editor) is a window like the others: one that
// comes up while it is open goes above it, top-most or not, without taking the keyboard, and
// stays there.
TEST_F(WindowOrderTest, AWindowThatComesUpOverAModalEditorStaysAboveItWithoutTheKeyboard) {
  for (const bool popupTopmost : {true, false}) {
    SCOPED_TRACE(popupTopmost ? "top-most" : "not top-most");
    testsupport::StackingOrder stacking;
    auto popup = LoadWindow("UnitKindsWindow");
    popup->SetTopmost(popupTopmost);
    auto editor = LoadWindow("UnitKindsWindow");
    bool editorOnTop = true, popupAbove = false, popupWithoutKeys = false, stillAbove = false;
    script->AnswerWindow([&](Window& w) {
      editorOnTop = testsupport::StackingOrder::IsOnTop(w);
      popup->Open();
      Pump(20);
      popupAbove = stacking.IsAbove(*popup, w);
      popupWithoutKeys = testsupport::StackingOrder::ShownWithoutTheKeyboard(*popup);
      popup->Activate();  // the user clicks it: it stays above
      Pump(20);
      stillAbove = stacking.IsAbove(*popup, w);
      w.Close();
    });
    editor->OpenModal();
    EXPECT_FALSE(editorOnTop);
    EXPECT_TRUE(popupAbove);
    EXPECT_TRUE(popupWithoutKeys);
    EXPECT_TRUE(stillAbove);
    popup->Close();
  }
}

}  // namespace
