#include "reminders/ui/reminder_detail_window.h"

#include <memory>

#include "platform/ui/app.h"
#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "reminders/ui/floating_window_holder.h"
#include "shell/data_files.h"
#include "shell/framed_window.h"
#include "shell/ui_state.h"
#include "ui/skin_painter.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kWidth = 450;
constexpr int kHeight = 300;
constexpr int kCaptionLeft = 30;
constexpr int kCaptionTop = 5;

// The painter of the loaded window, held with it.
struct DetailContext {
  SkinPainter painter;
};

FloatingWindowHolder<DetailContext>& Holder() {
  // Never destroyed at exit: a window must not outlive the application object.
  static auto& holder = *new FloatingWindowHolder<DetailContext>;
  return holder;
}

void LayOutDetailWindow(ui::Window& window) {
  window.Resize(kWidth, kHeight);
  window.Unit("标题标签").Move(kCaptionLeft, kCaptionTop);
}

void BindDetailEvents(ui::Window& w, DetailContext& ctx) {
  w.On({}, ui::Event::Created, [](ui::EventArgs&) { ShowDetailWindow(); });
  w.On({}, ui::Event::Destroying, [&ctx](ui::EventArgs&) { ctx.painter.ClearSprites(); });
  for (std::string_view button : {"取消提醒按钮", "关闭按钮"})
    w.On(button, ui::Event::Clicked, [&w](ui::EventArgs&) { w.Close(); });
  w.On("背景动画框", ui::Event::LeftDown, [&w](ui::EventArgs&) { ui::DragWindow(w); });
}

std::unique_ptr<DetailContext> MakeContext(ui::Window& window) {
  auto ctx = std::make_unique<DetailContext>();
  BindDetailEvents(window, *ctx);
  return ctx;
}

}  // namespace

DetailWindowState& DetailState() {
  static DetailWindowState state;
  return state;
}

ui::Window* ReminderDetailWindow() { return Holder().Current() != nullptr ? Holder().Window() : nullptr; }

void OpenDetailWindow() {
  Holder().Load(kDetailWindowName, MakeContext);
  Holder().Window()->Open(true);
}

void AttachDetailWindow(ui::Window& window) { Holder().Attach(window, MakeContext); }

void CloseDetailWindow() { Holder().Release(); }

void ShowDetailWindow() {
  DetailContext* ctx = Holder().Held();
  if (ctx == nullptr) return;
  ui::Window& w = *Holder().Window();
  LayOutDetailWindow(w);
  PaintFramedShellWindow(ctx->painter, w, Ui().LabelFontSize);
  w.Unit("标题标签").SetText("提醒内容");
  ShowReminderDetail();
}

void ShowReminderDetail() {
  ui::Window* w = Holder().Window();
  if (w == nullptr) return;
  DetailWindowState& st = DetailState();
  st.DetailReminderCopy = Databases().Reminders.CopyReminder(st.DetailReminderId);
  w->Unit(kDetailContentBox).SetText(st.DetailReminderCopy.txnr);
  w->Unit(kDetailTitleBox).SetText(st.DetailReminderCopy.txbt);
}

}  // namespace workmemo
