#pragma once
// A window built from its template: resources/templates/<WindowName>.json, compiled in.
// Code reaches units by name (`window.Unit(name)`), walks them by kind in template order,
// and binds std::function handlers by (unit name, event); an empty unit name (or the
// window's own name) stands for the window itself.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui/ui.h"
#include "platform/ui/units.h"

namespace platform::ui {

namespace detail {
class WindowWidget;
class StackingWatch;
}

class Window {
 public:
  // The compiled-in template ":/templates/<name>.json"; a missing or malformed template,
  // or one naming an unknown unit kind, is a TemplateError.
  static std::unique_ptr<Window> Load(std::string_view name);
  // A template given as JSON text (UTF-8); `name` names it in messages.
  static std::unique_ptr<Window> FromJson(std::string_view json, std::string_view name);
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  const std::string& Name() const { return name_; }

  // The unit of that name; a name the template lacks is a TemplateError.
  platform::ui::Unit& Unit(std::string_view name) const;
  template <class T>
  T& UnitAs(std::string_view name) const {
    return Unit(name).template As<T>();
  }
  bool HasUnit(std::string_view name) const;
  // Units of one kind in template order.
  std::vector<platform::ui::Unit*> UnitsOfKind(UnitKind kind) const;
  const std::vector<std::unique_ptr<platform::ui::Unit>>& Units() const { return units_; }

  void On(std::string_view unit, Event event, Handler handler);
  bool HasHandler(std::string_view unit, Event event) const;
  // Runs the handler bound to (unit, event), if any; answers whether one ran. Once the
  // window's close has begun no handler runs, until it is opened again.
  bool Fire(std::string_view unit, Event event, EventArgs& args);

  // Runs the Created handler once, then shows the window unless `visible` is false.
  void Open(bool visible = true);
  // Runs the Created handler, shows the window modal and returns when it is closed. A
  // nested event loop runs meanwhile: timers keep running, and only the windows kept above
  // modal windows (see KeepAboveModalWindows) answer the user besides it. A window that
  // comes up meanwhile leaves the modal window the keyboard. While it is open the modal
  // window stacks above the top-most windows and under the windows kept above it.
  void OpenModal();
  // Runs the Destroying handler, hides the window and ends its modal loop; from here on no
  // other handler of the window runs (see Fire). The object itself stays until its owner
  // lets it go (never delete a window from its own handler).
  void Close();
  bool IsClosed() const { return closed_; }
  bool IsModalRunning() const { return modalDepth_ > 0; }

  void Show();
  void Hide();
  bool IsVisible() const;
  void Minimise();
  bool IsMinimised() const;
  // Brings the window to the front of its layer with the keyboard; the windows of the layers
  // above stay above it, and an open modal window keeps the keyboard.
  void Activate();
  // Brings a minimised or hidden window back on the screen at its place and in its layer, as
  // it first came up: without the keyboard while a modal window is open.
  void ShowRestored();

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void Move(int x, int y);
  void Resize(int width, int height);
  // Places the window centred on `owner` when that is shown (and not iconified), else on the
  // screen's free area, kept on the screen.
  void CentreOn(const Window* owner);
  // A window that its code never placed (with Move or CentreOn) is centred, when it is first
  // shown, on the window this answers (the program's main window; none: the screen).
  static void SetPlacementOwner(std::function<const Window*()> owner);

  std::string Title() const { return title_; }
  void SetTitle(std::string_view title);
  bool IsFrameless() const { return frameless_; }
  Colour BackgroundColour() const { return background_; }
  void SetBackgroundColour(Colour colour);

  void SetOpacity(int alpha);  // 0 transparent .. 255 opaque
  int Opacity() const { return alpha_; }
  // The windows stack in layers, from the top: the windows kept in front (below); the
  // windows kept above modal windows while a modal window is open; an open modal window;
  // the top-most windows; the rest. A window that comes up or is activated goes on top of
  // its layer, under the layers above it.
  void SetTopmost(bool topmost);
  bool IsTopmost() const { return topmost_; }
  // While it is shown, the window stays above every other window of the program, the
  // top-most ones and an open modal window too (the boxes that ask or tell something, and
  // the help window): it is top-most itself, and a window that shows meanwhile comes up
  // under it. Under a modal box that window leaves the box the keyboard.
  void KeepAboveTopmostWindows();
  bool IsKeptAboveTopmostWindows() const { return aboveTopmost_; }
  // While a modal window that is not kept in front is open (an editor), the window stacks
  // above it, top-most or not, and answers the mouse as the modal window does (the pop-up of
  // a reminder, which the user must reach); otherwise it keeps its own layer.
  void KeepAboveModalWindows();
  bool IsKeptAboveModalWindows() const { return aboveModal_; }
  // Lets the system move the window with the mouse while the button is held; called from
  // a left-button-down handler. False where the platform cannot (offscreen).
  bool StartDrag();
  // Makes this window a page inside `parent` (at its current left and top), or a window of
  // its own again with nullptr.
  void SetParentWindow(Window* parent);

  // The window drawn offscreen as PNG bytes, also when it is hidden.
  std::string SnapshotPng() const;
  std::uint64_t NativeId() const;

 private:
  enum class Layer { Rest, Topmost, Modal, AboveModal, Front };  // from the bottom

  Window();
  bool RunHandler(std::string_view unit, Event event, EventArgs& args);
  void ShowTopLevel();
  Layer StackLayer() const;
  void ApplyStaysOnTop();
  void LayerChanged();
  void Restack();
  void FollowOpenModalWindow();
  void EnterModal();
  void LeaveModal();
  static void RaiseLayersAbove(Layer layer);
  static void RaisedByWindowManager(Window& window);
  friend class detail::StackingWatch;
  static void ModalWindowsChanged();
  friend class detail::WindowWidget;
  friend class detail::UnitAccess;

  std::string name_;
  std::string title_;
  bool frameless_ = true;
  bool topmost_ = false;
  bool created_ = false;
  bool closed_ = false;
  bool placed_ = false;
  bool aboveTopmost_ = false;
  bool aboveModal_ = false;
  int modalDepth_ = 0;
  std::uint64_t raisedAt_ = 0;  // orders the windows of one layer: the last raised on top
  int alpha_ = 255;
  Colour background_ = 0xF0F0F0;
  std::unique_ptr<detail::WindowWidget> widget_;
  std::vector<std::unique_ptr<platform::ui::Unit>> units_;
  std::map<std::string, platform::ui::Unit*, std::less<>> byName_;
  std::map<std::pair<std::string, Event>, Handler> handlers_;
  void* loop_ = nullptr;  // the running modal loop
};

}  // namespace platform::ui
