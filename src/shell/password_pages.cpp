#include "shell/password_pages.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "common/database_constants.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/main_window.h"
#include "shell/password_change.h"
#include "shell/ui_state.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kEnterKey = 13;

// Binds the created handler of a password page: it places the page over PanelArea, paints it
// with its own painter (then runs `afterPaint`) and shows the initial password on
// `hintLabel`. Gives the page's layout.
std::function<void()> SetUpPasswordPage(MainWindow& main, ui::Window& window, std::string_view hintLabel,
                                        std::function<void(ui::Window&, SkinPainter&)> afterPaint = {}) {
  ui::Window* page = &window;
  MainWindow* mainWindow = &main;
  auto painter = std::make_shared<SkinPainter>();
  auto layout = [mainWindow, page, painter, afterPaint = std::move(afterPaint)] {
    mainWindow->PaintPage(*page, *painter, Ui().LabelFontSize);
    if (afterPaint) afterPaint(*page, *painter);
  };
  window.On({}, ui::Event::Created, [mainWindow, page, layout, hint = std::string(hintLabel)](ui::EventArgs&) {
    mainWindow->PlacePage(*page);
    layout();
    page->Unit(hint).SetText(std::string("初始密码：") + kInitialPassword);
  });
  return layout;
}

}  // namespace

LoadedPage LoadPasswordCheckPanel(MainWindow& main) {
  LoadedPage loaded{ui::Window::Load("PasswordCheckPanel"), {}};
  loaded.Layout = SetUpPasswordCheckPanel(main, *loaded.window);
  return loaded;
}

LoadedPage LoadChangePasswordPanel(MainWindow& main) {
  LoadedPage loaded{ui::Window::Load("ChangePasswordPanel"), {}};
  loaded.Layout = SetUpChangePasswordPanel(main, *loaded.window);
  return loaded;
}

std::function<void()> SetUpPasswordCheckPanel(MainWindow& main, ui::Window& window) {
  MainWindow* mainWindow = &main;
  // The paint gives the check button the pictures of its template tag; its state goes back on.
  std::function<void()> layout = SetUpPasswordPage(
      main, window, "提示标签2", [mainWindow](ui::Window& page, SkinPainter& painter) {
        painter.SetButtonPictures(page.UnitAs<ui::PictureButton>("一次输入密码选择框"),
                                  mainWindow->State().AskPasswordOnce);
      });
  ui::Window* page = &window;
  auto& box = page->UnitAs<ui::EditBox>("密码验证框");
  auto confirm = [mainWindow, &box] {
    const std::string typed = box.Text();
    // Emptied before the request runs: a correct password may end the program.
    box.SetText("");
    mainWindow->Gate().ConfirmPasswordPrompt(typed);
  };
  page->On("密码验证确定按钮", ui::Event::Clicked, [confirm](ui::EventArgs&) { confirm(); });
  page->On("密码验证框", ui::Event::KeyDown, [confirm](ui::EventArgs& args) {
    if (args.key != kEnterKey) return;
    args.handled = true;
    confirm();
  });
  const ui::Handler toggle = [mainWindow](ui::EventArgs&) { mainWindow->Gate().ToggleAskPasswordOnce(); };
  page->On("一次输入密码选择框", ui::Event::Clicked, toggle);
  page->On("提示标签3", ui::Event::LeftDown, toggle);  // its text switches it as the box does
  return layout;
}

std::function<void()> SetUpChangePasswordPanel(MainWindow& main, ui::Window& window) {
  MainWindow* mainWindow = &main;
  std::function<void()> layout = SetUpPasswordPage(main, window, "透明标签1");
  ui::Window* page = &window;
  auto& oldBox = page->UnitAs<ui::EditBox>("原密码框");
  auto& newBox = page->UnitAs<ui::EditBox>("新密码框");
  auto& confirmBox = page->UnitAs<ui::EditBox>("新密码框1");
  auto readForm = [&oldBox, &newBox, &confirmBox] {
    return PasswordChangeForm{oldBox.Text(), newBox.Text(), confirmBox.Text()};
  };
  auto writeForm = [&oldBox, &newBox, &confirmBox](const PasswordChangeForm& form) {
    oldBox.SetText(form.oldPassword);
    newBox.SetText(form.newPassword);
    confirmBox.SetText(form.confirmation);
  };
  page->On("确定按钮", ui::Event::Clicked, [mainWindow, readForm, writeForm](ui::EventArgs&) {
    PasswordChangeForm form = readForm();
    ChangePassword(form, mainWindow->Data(), mainWindow->Gate());
    writeForm(form);
  });
  page->On("取消按钮", ui::Event::Clicked, [mainWindow, readForm, writeForm](ui::EventArgs&) {
    PasswordChangeForm form = readForm();
    CancelChangePassword(form, mainWindow->Gate());
    writeForm(form);
  });
  return layout;
}

}  // namespace workmemo
