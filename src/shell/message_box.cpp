#include "shell/message_box.h"

#include "platform/ui/routines.h"
#include "platform/ui/units.h"
#include "platform/ui/window.h"
#include "shell/framed_window.h"
#include "shell/settings.h"
#include "shell/ui_state.h"
#include "ui/skin_painter.h"
#include "ui/sprite_set.h"

namespace workmemo {

namespace ui = platform::ui;

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 260;
constexpr int kBodyTop = kFramedBodyTop;
constexpr int kBodyHeight = kHeight - kFramedBandsHeight;
constexpr int kButtonWidth = 68;
constexpr int kButtonHeight = 24;
// The list font before the settings are read.
constexpr int kDefaultListFontSize = 11;
constexpr int kEnterKey = 13;
constexpr int kEscapeKey = 27;
constexpr ui::Colour kBlack = ui::Rgb(0, 0, 0);
constexpr ui::Colour kWhite = ui::Rgb(255, 255, 255);
constexpr ui::Colour kRed = ui::Rgb(255, 0, 0);

constexpr std::string_view kBackgroundBox = "背景动画框";
constexpr std::string_view kChildBox = "子窗口背景动画框";
constexpr std::string_view kWrapBox = "超级编辑框1";

// One open box: what its handlers and sprites need while the window lives.
struct OpenBox {
  ui::Window& window;
  std::string message;
  std::string title;
  std::string detail;
  std::shared_ptr<int> answer;  // null for a message box
  SkinPainter painter;
  SpriteSet sprites;
  // This box's own picture of the area behind its body; pages keep theirs.
  std::string bodyBackground;

  OpenBox(ui::Window& w, std::string m, std::string t, std::string d, std::shared_ptr<int> a)
      : window(w), message(std::move(m)), title(std::move(t)), detail(std::move(d)),
        answer(std::move(a)) {}
  bool IsConfirm() const { return answer != nullptr; }
};

int ListFontSize() {
  const int size = Settings().ListFontSize;
  return size >= 1 ? size : kDefaultListFontSize;
}

// The text as the hidden rich-edit box wraps it in `font`.
std::vector<std::string> WrappedLines(ui::Window& window, std::string_view text, const ui::Font& font) {
  auto& box = window.UnitAs<ui::RichEditBox>(kWrapBox);
  box.SetFont(font);
  box.SetText(text);
  return box.DisplayLines();
}

// The text's hard lines (CR LF or LF); a byte 0x0A is never part of a character.
std::vector<std::string> HardLines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find('\n', start);
    std::string_view line = text.substr(start, end == std::string_view::npos ? end : end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    if (end == std::string_view::npos) return lines;
    start = end + 1;
  }
}

// The message as the hidden box wraps it, each paragraph on as many lines as at the full
// width but with lines as even as they can be: the box is narrowed as far as it goes without
// one more line, so a question never ends in a line of one or two characters.
std::vector<std::string> BalancedLines(ui::Window& window, std::string_view text, const ui::Font& font) {
  auto& box = window.UnitAs<ui::RichEditBox>(kWrapBox);
  const int fullWidth = box.Width();
  std::vector<std::string> lines;
  for (const std::string& paragraph : HardLines(text)) {
    std::vector<std::string> wrapped = WrappedLines(window, paragraph, font);
    const std::size_t count = wrapped.size();
    int narrow = 0;  // wraps into more lines
    int wide = fullWidth;  // wraps into `count` lines
    while (count > 1 && wide - narrow > 1) {
      const int middle = (narrow + wide) / 2;
      box.Resize(middle, box.Height());
      std::vector<std::string> tried = box.DisplayLines();
      if (tried.size() > count) {
        narrow = middle;
      } else {
        wide = middle;
        wrapped = std::move(tried);
      }
    }
    box.Resize(fullWidth, box.Height());
    lines.insert(lines.end(), wrapped.begin(), wrapped.end());
  }
  return lines;
}

std::string FirstLine(ui::Window& window, std::string_view text, const ui::Font& font) {
  std::vector<std::string> lines = WrappedLines(window, text, font);
  return lines.empty() ? std::string() : lines.front();
}

ui::Font SongFont(int size, bool bold = false) {
  ui::Font font;
  font.name = "宋体";
  font.size = size;
  font.bold = bold;
  return font;
}

void CloseBox(OpenBox& box, int answer) {
  if (box.IsConfirm() && answer >= 0) *box.answer = answer;
  box.sprites.Clear();
  box.window.Close();
}

int AddButton(OpenBox& box, std::string_view name, std::string_view skinName, int x, int y,
              int width, int height, SpriteRoutine click) {
  return AddSkinButtonSprite(box.sprites, name, skinName, x, y, width, height, std::move(click));
}

int AddTextPlaceholder(OpenBox& box, std::string_view name, bool visible = true) {
  SpriteSpec spec;
  spec.name = name;
  spec.x = 0;
  spec.y = 80;
  spec.visible = visible;
  return box.sprites.AddPictureSprite(spec);
}

void LayOut(OpenBox& box) {
  ui::Window& window = box.window;
  if (box.IsConfirm()) {
    *box.answer = 0;
    Ui().ConfirmAnswer = 0;
  }
  window.Resize(kWidth, kHeight);
  auto& wrapBox = window.UnitAs<ui::RichEditBox>(kWrapBox);
  wrapBox.SetGeometry(wrapBox.Left(), 2000, kWidth - 8, kHeight - 90);

  auto& background = window.UnitAs<ui::AnimationBox>(kBackgroundBox);
  auto& childBox = window.UnitAs<ui::AnimationBox>(kChildBox);
  PaintFramedShellWindow(box.painter, window, Ui().LabelFontSize);
  box.bodyBackground =
      box.painter.SetUnitPictureFromBox(background, childBox, 0, kBodyTop, kWidth, kBodyHeight);

  background.SetGeometry(0, 0, kWidth, kHeight);
  box.sprites.Bind(background);
  OpenBox* self = &box;
  const int buttonTop = kHeight - 64;
  const int centre = (kWidth - kButtonWidth) / 2;
  if (box.IsConfirm()) {
    AddButton(box, "关闭按钮", "关闭", kWidth - 33, 3, 30, 18, [self] { CloseBox(*self, -1); });
    AddButton(box, "确定按钮", "确定", centre - 45, buttonTop, kButtonWidth, kButtonHeight,
              [self] { CloseBox(*self, 1); });
    AddButton(box, "取消按钮", "取消", centre + 45, buttonTop, kButtonWidth, kButtonHeight,
              [self] { CloseBox(*self, 0); });
  } else {
    const SpriteRoutine close = [self] { CloseBox(*self, -1); };
    AddButton(box, "关闭按钮", "关闭", kWidth - 33, 3, 30, 18, close);
    AddButton(box, "确定按钮", "确定", centre, buttonTop, kButtonWidth, kButtonHeight, close);
  }
  const int contentId = AddTextPlaceholder(box, "提示内容");
  const int titleId = AddTextPlaceholder(box, "提示标题");
  const int detailId = box.IsConfirm() ? AddTextPlaceholder(box, "提示内容1", false) : 0;

  const int listSize = ListFontSize();
  std::string wrapped;
  for (const std::string& line : BalancedLines(window, box.message, SongFont(listSize))) {
    if (!wrapped.empty()) wrapped += "\r\n";
    wrapped += line;
  }
  box.sprites.PutSpriteText(contentId, 30, 80, wrapped, {listSize, kBlack, false});
  background.SetObjectTextAlignment(contentId, ui::Align::Centre);
  const int w = box.sprites.SpriteWidth(contentId);
  const int h = box.sprites.SpriteHeight(contentId);
  // Centred across, and centred in the body lifted by 30 pixels.
  box.sprites.MoveSprite(contentId, (kWidth - w) / 2, (kBodyHeight - h) / 2 + kBodyTop - 30);

  const std::string title =
      box.title.empty() ? std::string("提示：") : FirstLine(window, box.title, SongFont(10, true));
  box.sprites.PutSpriteText(titleId, 28, 8, title, {10, kWhite, true});
  // The box draws its caption as a sprite; the window system shows the same words.
  window.SetTitle(title);

  if (box.IsConfirm() && !box.detail.empty()) {
    const std::string detail = FirstLine(window, box.detail, SongFont(listSize));
    box.sprites.PutSpriteText(detailId, 0, 0, detail, {listSize, kRed, false});
    const int w2 = box.sprites.SpriteWidth(detailId);
    box.sprites.MoveSprite(detailId, (kWidth - w2) / 2, box.sprites.SpriteTop(contentId) + h + 10);
    box.sprites.ShowSprite(detailId, true);
  }
}

void SetUp(ui::Window& window, std::shared_ptr<OpenBox> box) {
  OpenBox* self = box.get();
  // A box that asks or tells something stays above every window, a pop-up that comes up
  // meanwhile included, so that nothing takes a click or a key meant for it.
  window.KeepAboveTopmostWindows();
  auto& background = window.UnitAs<ui::AnimationBox>(kBackgroundBox);
  RouteSpriteEvents(background, box->sprites);
  // The handlers own the box's state, so it lives exactly as long as the window.
  window.On({}, ui::Event::Created, [box](ui::EventArgs&) { LayOut(*box); });
  window.On({}, ui::Event::Destroying, [self](ui::EventArgs&) {
    if (!self->IsConfirm()) Ui().ConfirmAnswer = 0;
  });
  // Enter answers 确定 and Escape cancels, as the buttons do.
  window.On({}, ui::Event::KeyDown, [self](ui::EventArgs& args) {
    if (args.key == kEnterKey) CloseBox(*self, 1);
    if (args.key == kEscapeKey) CloseBox(*self, 0);
  });
  // The title strip drags the box; its right end is left to the close button.
  window.On(kBackgroundBox, ui::Event::LeftDown, [self](ui::EventArgs& args) {
    if (args.x < self->window.Width() - 60 && args.y < kBodyTop) ui::DragWindow(self->window);
  });
}

}  // namespace

void SetUpMessageBox(ui::Window& window, std::string message, std::string title) {
  SetUp(window, std::make_shared<OpenBox>(window, std::move(message), std::move(title),
                                          std::string(), nullptr));
}

void SetUpConfirmBox(ui::Window& window, std::string message, std::string title,
                     std::string detail, std::shared_ptr<int> answer) {
  if (!answer) answer = std::make_shared<int>(0);
  SetUp(window, std::make_shared<OpenBox>(window, std::move(message), std::move(title),
                                          std::move(detail), std::move(answer)));
}

void ShowMessageBox(std::string_view message, std::string_view title) {
  auto window = ui::Window::Load("MessageBoxWindow");
  SetUpMessageBox(*window, std::string(message), std::string(title));
  window->OpenModal();
}

int ShowConfirmBox(std::string_view message, std::string_view title, std::string_view detail) {
  auto window = ui::Window::Load("ConfirmBoxWindow");
  auto answer = std::make_shared<int>(0);
  SetUpConfirmBox(*window, std::string(message), std::string(title), std::string(detail), answer);
  window->OpenModal();
  // Left for the caller after the return, also when a box opened meanwhile answered too.
  Ui().ConfirmAnswer = *answer;
  return *answer;
}

std::vector<std::pair<std::string, WindowSetup>> ShellWindowSetups() {
  return {
      {"MessageBoxWindow",
       [](ui::Window& window) { SetUpMessageBox(window, "读取记事本数据库失败！请联系客服！", {}); }},
      {"ConfirmBoxWindow",
       [](ui::Window& window) {
         SetUpConfirmBox(window, "是否真的要删除选中的提醒？", {}, "每天下午三点开会", nullptr);
       }},
  };
}

}  // namespace workmemo
