#pragma once
// The units of a templated window. Code reaches them by name through Window::Unit and
// casts with As<Kind>(); every text is GB18030.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/ui.h"

class QWidget;

namespace platform::ui {

class Window;

namespace detail {
class BoxWidget;
class PanelWidget;
class UnitAccess;
struct SharedPicture;
// A picture's bytes and its decoded image, held once for every unit that shows the same
// bytes; null for no picture.
using PictureRef = std::shared_ptr<const SharedPicture>;
const std::string& BytesOf(const PictureRef& picture);  // empty for null
}  // namespace detail

class Unit {
 public:
  virtual ~Unit();
  Unit(const Unit&) = delete;
  Unit& operator=(const Unit&) = delete;

  const std::string& Name() const { return name_; }
  UnitKind Kind() const { return kind_; }
  const std::string& Tag() const { return tag_; }
  void SetTag(std::string_view tag) { tag_ = tag; }
  Window& Owner() const { return owner_; }

  // Geometry relative to the window; units without a surface (timers, menus) answer 0.
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void Move(int x, int y);
  void Resize(int width, int height);
  void SetGeometry(int x, int y, int width, int height);

  // The unit's own visibility flag (a shown unit of a hidden window counts as visible).
  bool IsVisible() const;
  void SetVisible(bool visible);
  bool IsEnabled() const;
  void SetEnabled(bool enabled);

  virtual std::string Text() const;
  virtual void SetText(std::string_view text);
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& font);
  Colour BackgroundColour() const { return background_; }
  void SetBackgroundColour(Colour colour);
  Colour ForegroundColour() const { return foreground_; }
  void SetForegroundColour(Colour colour);

  // Z-order among the window's units: to the top (drawn over the others) or the bottom.
  void BringToTop();
  void SendToBottom();
  void SetFocus();
  bool HasFocus() const;

  // The unit as its kind's class; a unit of another kind is a TemplateError.
  template <class T>
  T& As() {
    T* typed = dynamic_cast<T*>(this);
    if (typed == nullptr) WrongKind();
    return *typed;
  }

 protected:
  Unit(Window& owner, UnitKind kind, std::string name);
  void Fire(Event event, EventArgs& args);
  void Fire(Event event);
  virtual void ColoursChanged() {}

  Window& owner_;
  UnitKind kind_;
  std::string name_;
  std::string tag_;
  std::string text_;
  Font font_;
  Colour background_ = 0xFFFFFF;
  Colour foreground_ = 0;
  QWidget* widget_ = nullptr;  // owned by the window's widget tree; null for units without a surface

 private:
  [[noreturn]] void WrongKind() const;
  friend class detail::UnitAccess;
};

enum class Align { Left, Centre, Right };

// Label and transparent label: a line (or wrapped block) of text; a transparent label
// draws no background. A label may carry a three-colour gradient background. A label that
// is its window's caption gives the window its title too, so the title the window system
// shows always says what the drawn caption says.
class Label : public Unit {
 public:
  Label(Window& owner, UnitKind kind, std::string name);
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override;
  void SetCaption(bool caption);
  void SetAlignment(Align align);
  void SetWordWrap(bool wrap);
  void SetGradient(Colour top, Colour middle, Colour bottom);
  void ClearGradient();
  bool HasGradient() const { return hasGradient_; }
  Colour GradientColour(int index) const { return gradient_[index < 0 || index > 2 ? 0 : index]; }

 private:
  void ColoursChanged() override;
  friend class detail::UnitAccess;
  bool hasGradient_ = false;
  Colour gradient_[3] = {0, 0, 0};
  Align align_ = Align::Left;
  bool wrap_ = false;
  bool caption_ = false;
};

// Edit box: text handed out with CR LF line breaks; LF or CR LF accepted.
class EditBox : public Unit {
 public:
  EditBox(Window& owner, std::string name, bool multiLine, bool password);
  std::string Text() const override;
  void SetText(std::string_view text) override;
  bool IsMultiLine() const { return multiLine_; }
  void SetReadOnly(bool readOnly);
  void SetMaxLength(int bytes);
  // Selects `length` characters from `start`; a length of -1 selects the whole text.
  void Select(int start, int length);
  void SelectAll() { Select(0, -1); }
  std::string SelectedText() const;

 private:
  bool multiLine_;
};

// Rich edit box: text with CR LF line breaks; wraps at its width.
class RichEditBox : public Unit {
 public:
  RichEditBox(Window& owner, std::string name);
  std::string Text() const override;
  void SetText(std::string_view text) override;
  // The lines as the box wraps them at its width, hard line breaks included.
  std::vector<std::string> DisplayLines() const;
  void SetReadOnly(bool readOnly);
  void SelectAll();
  void Copy();
  void Paste();
  // Gives the selection (or, with none, what is typed next) this face and size; an empty
  // name or a size below 1 leaves that part unchanged.
  void ApplyCharFormat(std::string_view fontName, int size);
};

class ComboBox : public Unit {
 public:
  ComboBox(Window& owner, std::string name, bool editable);
  std::string Text() const override;
  void SetText(std::string_view text) override;
  void AddItem(std::string_view text);
  void RemoveItem(int index);
  void ClearItems();
  int ItemCount() const;
  std::string ItemText(int index) const;  // 0-based; empty outside the list
  void SetItemText(int index, std::string_view text);
  int CurrentIndex() const;  // -1 when nothing is chosen
  void SetCurrentIndex(int index);
  void DropDown();
  bool IsDroppedDown() const;
};

// Picture box: shows a picture (an animated GIF plays), stretched or at its natural size.
class PictureBox : public Unit {
 public:
  PictureBox(Window& owner, std::string name);
  void SetPicture(std::string_view bytes);
  const std::string& Picture() const { return picture_; }
  void SetStretch(bool stretch);
  // A transparent box paints its picture only: where the picture is clear, what lies behind
  // the box shows (a round icon on a gradient).
  void SetTransparent(bool transparent);
  bool IsAnimated() const;

 private:
  friend class detail::UnitAccess;
  std::string picture_;
  bool stretch_ = false;
  bool transparent_ = false;
};

enum class Shape { Rectangle, RoundedRectangle, Ellipse, HorizontalLine, VerticalLine };

class ShapeBox : public Unit {
 public:
  ShapeBox(Window& owner, std::string name);
  void SetShape(Shape shape);
  Colour FillColour() const { return background_; }
  void SetFillColour(Colour colour) { SetBackgroundColour(colour); }
  Colour LineColour() const { return foreground_; }
  void SetLineColour(Colour colour) { SetForegroundColour(colour); }
  void SetLineWidth(int width);
  void SetFilled(bool filled);

 private:
  friend class detail::UnitAccess;
  Shape shape_ = Shape::Rectangle;
  int lineWidth_ = 1;
  bool filled_ = true;
};

// Picture button: normal, hover and pressed pictures; Clicked on a release over it. Its text
// shows only where it has no picture (a skin's button picture carries its own caption).
class PictureButton : public Unit {
 public:
  PictureButton(Window& owner, std::string name);
  void SetPictures(std::string_view normal, std::string_view hover, std::string_view pressed);
  void SetNormalPicture(std::string_view bytes);
  void SetHoverPicture(std::string_view bytes);
  void SetPressedPicture(std::string_view bytes);
  const std::string& NormalPicture() const { return detail::BytesOf(pictures_[0]); }
  const std::string& HoverPicture() const { return detail::BytesOf(pictures_[1]); }
  const std::string& PressedPicture() const { return detail::BytesOf(pictures_[2]); }
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override;
  void Click();  // as a click of the user: runs the Clicked handler

 private:
  void Changed(int which);
  friend class detail::UnitAccess;
  detail::PictureRef pictures_[3];
};

// Draw panel: an image surface of the panel's size.
class DrawPanel : public Unit {
 public:
  DrawPanel(Window& owner, std::string name);
  void Clear();  // the whole surface in the background colour
  void SetPen(Colour colour, int width = 1);
  void SetTextColour(Colour colour);
  void DrawLine(int x1, int y1, int x2, int y2);
  void DrawRectangle(int x, int y, int width, int height);  // outline in the pen
  void FillRectangle(int x, int y, int width, int height, Colour colour);
  void DrawText(int x, int y, std::string_view text);  // top-left at (x, y), in the unit's font
  int TextWidth(std::string_view text) const;
  int TextHeight(std::string_view text) const;
  // Three colours from the first edge to the opposite one (top to bottom when vertical).
  void GradientFill(int x, int y, int width, int height, Colour first, Colour middle, Colour last,
                    bool vertical = true);
  // Draws a picture stretched into the rectangle; width or height 0 takes the picture's own.
  void DrawPicture(std::string_view bytes, int x, int y, int width = 0, int height = 0);
  void CopyRectangle(const DrawPanel& source, int sx, int sy, int width, int height, int dx, int dy);
  Colour PixelAt(int x, int y) const;
  std::string Capture(int x, int y, int width, int height) const;  // BMP bytes

 private:
  detail::PanelWidget* panel() const;
  Colour pen_ = 0;
  int penWidth_ = 1;
  Colour textColour_ = 0;
};

// Animation box: a surface of numbered picture and text objects. Ids run 1, 2, 3... per
// box and are never given out again; operations on an id the box does not hold do
// nothing, queries on it answer 0, an empty text or -1.
class AnimationBox : public Unit {
 public:
  AnimationBox(Window& owner, std::string name);
  int CreateObject(int x, int y, bool visible = true, std::string_view name = {});
  void DeleteObject(int id);
  void DeleteObjects(const std::vector<int>& ids);
  void DeleteAllObjects();
  bool HasObject(int id) const;
  std::vector<int> ObjectIds() const;  // drawing order, bottom first

  void SetObjectPicture(int id, std::string_view bytes);
  void SetObjectText(int id, std::string_view text, const Font& font, Colour colour);
  std::string ObjectText(int id) const;
  // Where each line of a text object of several lines lies across the object's width
  // (the widest line's): left (the default), centred or right.
  void SetObjectTextAlignment(int id, Align align);
  void SetObjectName(int id, std::string_view name);
  std::string ObjectName(int id) const;
  int FindObject(std::string_view name) const;  // topmost match; -1 when none

  void MoveObject(int id, int x, int y);
  int ObjectLeft(int id) const;
  int ObjectTop(int id) const;
  // Scale in thousandths of the natural size; both must be above 0, else nothing changes.
  void ScaleObject(int id, int horizontal, int vertical);
  // Scales to a size in pixels against the natural size; an object of natural size 0 stays.
  void ScaleObjectTo(int id, int width, int height);
  int ObjectWidth(int id) const;   // as drawn now, hidden or not
  int ObjectHeight(int id) const;
  void SetObjectTransparency(int id, int percent);  // 0 opaque, 100 invisible
  int ObjectTransparency(int id) const;
  void ShowObject(int id, bool visible);
  bool IsObjectVisible(int id) const;
  // Objects are drawn by layer, equal layers in creation order.
  void SetObjectLayer(int id, int layer);
  int ObjectLayer(int id) const;
  int ObjectAt(int x, int y) const;  // topmost shown object under the point, 0 for none

  // Background picture: mode 1 stretches, 2 centres, 3 tiles, others draw it top-left.
  void SetBackgroundPicture(std::string_view bytes, int mode);
  void SetBackgroundPicture(std::string_view bytes);
  const std::string& BackgroundPicture() const;
  void SetBackgroundMode(int mode);
  int BackgroundMode() const;
  // The box's drawing of a rectangle (clipped to the box; also of a hidden box) as
  // 32-bit BMP bytes; empty when nothing of it lies inside.
  std::string Capture(int x, int y, int width, int height) const;

 private:
  detail::BoxWidget* box() const;
};

class Timer : public Unit {
 public:
  Timer(Window& owner, std::string name);
  ~Timer() override;
  void SetInterval(int milliseconds);  // 0 stops the timer
  int Interval() const;
  bool IsRunning() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

class MenuItem;

// Colours of a skinned pop-up menu.
struct MenuColours {
  Colour background = 0xFFFFFF;
  Colour leftBorder = 0xF0F0F0;
  Colour selection = 0xFFCC99;
  Colour separator = 0xC0C0C0;
  Colour text = 0;
  bool operator==(const MenuColours&) const = default;
};

// Which corner of a pop-up menu lies at the point it is opened at.
enum class MenuAnchor { TopLeft, TopRight };

// Pop-up menu; its items are units of their own (kind MenuItem), found by name.
class Menu : public Unit {
 public:
  Menu(Window& owner, std::string name);
  ~Menu() override;
  const std::vector<MenuItem*>& Items() const { return items_; }
  void SetColours(const MenuColours& colours);
  const MenuColours& Colours() const { return colours_; }
  void PopupAtPointer();
  // TopRight opens the menu towards the left of the point, as a menu at a screen's right edge
  // wants.
  void Popup(int screenX, int screenY, MenuAnchor anchor = MenuAnchor::TopLeft);
  bool IsShown() const;
  // The menu drawn offscreen as it pops up, as PNG bytes.
  std::string SnapshotPng() const;

 private:
  friend class detail::UnitAccess;
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::vector<MenuItem*> items_;
  MenuColours colours_;
};

class MenuItem : public Unit {
 public:
  MenuItem(Window& owner, std::string name);
  std::string Text() const override { return text_; }
  void SetText(std::string_view text) override;
  bool IsChecked() const { return checked_; }
  void SetChecked(bool checked);
  bool IsItemEnabled() const { return enabled_; }
  void SetItemEnabled(bool enabled);
  const std::vector<MenuItem*>& SubItems() const { return subItems_; }
  void Choose();  // as if the user picked it: runs the Clicked handler

 private:
  friend class detail::UnitAccess;
  void* action_ = nullptr;  // the toolkit's action of this item
  std::vector<MenuItem*> subItems_;
  bool checked_ = false;
  bool enabled_ = true;
};

enum class FileDialogKind { Open, Save };

// Common file dialog. The filter is pairs of description and patterns separated by '|',
// e.g. "Excel|*.xls|All|*.*".
class FileDialog : public Unit {
 public:
  FileDialog(Window& owner, std::string name);
  void SetDialogKind(FileDialogKind kind) { dialogKind_ = kind; }
  FileDialogKind DialogKind() const { return dialogKind_; }
  void SetTitle(std::string_view title) { title_ = title; }
  const std::string& Title() const { return title_; }
  void SetFilter(std::string_view filter) { filter_ = filter; }
  const std::string& Filter() const { return filter_; }
  void SetInitialFolder(std::string_view folder) { folder_ = folder; }
  const std::string& InitialFolder() const { return folder_; }
  void SetFileName(std::string_view name) { fileName_ = name; }
  const std::string& FileName() const { return fileName_; }
  // Added to a chosen name that has no extension ("*.xls", ".xls" or "xls"), on a save
  // dialog always and on an open dialog when no file of the name as typed exists.
  void SetDefaultExtension(std::string_view extension);
  const std::string& DefaultExtension() const { return defaultExtension_; }
  // Runs the dialog modally; true with FileName() set when a file was chosen.
  bool Run();

 private:
  FileDialogKind dialogKind_ = FileDialogKind::Open;
  std::string title_;
  std::string filter_;
  std::string folder_;
  std::string fileName_;
  std::string defaultExtension_;  // without its "*." or "."
  void AddDefaultExtension();
};

}  // namespace platform::ui
