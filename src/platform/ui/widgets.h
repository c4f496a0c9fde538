#pragma once
// Qt realisation of the window layer; included only by the layer's own sources.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QMovie>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/units.h"
#include "platform/ui/window.h"

class QEvent;
class QMouseEvent;

namespace platform::ui::detail {

struct SharedPicture {
  std::shared_ptr<const std::string> source;  // never null; `image` may show its pixels in place
  QImage image;  // null when the bytes are no picture
  const std::string& bytes() const { return *source; }
};
// The one SharedPicture of these bytes while any unit holds it, decoded once: a page
// background or a button's picture shown in many windows is kept once, not once per window.
// Null for empty bytes.
PictureRef SharePicture(std::string_view bytes);

QString ToQ(std::string_view gb18030);
std::string FromQ(const QString& text);
QColor ToQColor(Colour colour);
QFont ToQFont(const Font& font);
// The Song face's name as GB18030, the default face of templates and text objects.
const std::string& DefaultFaceName();
// CR LF and lone CR become LF (for Qt); the reverse for texts handed out.
QString ToQLines(std::string_view gb18030);
std::string FromQLines(const QString& text);
// The program's key code of a Qt key.
int KeyCode(int qtKey);
// The size of a text drawn in a font: widest line and height of all lines (CR LF breaks).
QSize TextExtent(const QString& text, const QFont& font);
// Lines from (x, y) down; with an alignment other than left, each line is placed within
// the widest line's width.
void DrawTextLines(class QPainter& painter, int x, int y, const QString& text, const QFont& font,
                   Align align = Align::Left);

// Reaches the private parts of units and windows from the layer's own code.
class UnitAccess {
 public:
  static QWidget*& WidgetOf(Unit& unit) { return unit.widget_; }
  static void Fire(Unit& unit, Event event, EventArgs& args) { unit.Fire(event, args); }
  static Label& AsLabel(Unit& unit) { return static_cast<Label&>(unit); }
  static bool Transparent(const Label& label) { return label.kind_ == UnitKind::TransparentLabel; }
  static const Colour* Gradient(const Label& l) { return l.hasGradient_ ? l.gradient_ : nullptr; }
  static Align AlignOf(const Label& l) { return l.align_; }
  static bool WrapOf(const Label& l) { return l.wrap_; }
  static const PictureBox& Box(const PictureBox& p) { return p; }
  static bool Stretch(const PictureBox& p) { return p.stretch_; }
  static bool TransparentBox(const PictureBox& p) { return p.transparent_; }
  static Shape ShapeOf(const ShapeBox& s) { return s.shape_; }
  static int LineWidth(const ShapeBox& s) { return s.lineWidth_; }
  static bool Filled(const ShapeBox& s) { return s.filled_; }
  static const PictureRef& Picture(const PictureButton& b, int i) { return b.pictures_[i]; }
  static void*& ActionOf(MenuItem& item) { return item.action_; }
  static std::vector<MenuItem*>& SubItems(MenuItem& item) { return item.subItems_; }
  static std::vector<MenuItem*>& Items(Menu& menu) { return menu.items_; }
  static class QMenu* MenuWidget(Menu& menu);
  static void SetChecked(MenuItem& item, bool c) { item.checked_ = c; }
  static std::vector<std::unique_ptr<Unit>>& Units(Window& w) { return w.units_; }
  static QWidget* WindowWidgetOf(Window& w);
  static std::map<std::string, Unit*, std::less<>>& ByName(Window& w) { return w.byName_; }
};

// The window's own surface.
class WindowWidget : public QWidget {
 public:
  explicit WindowWidget(Window& owner);
  Window& owner;
  // Lets the native window go; the next show makes a new one, which a window manager takes
  // for a window it has never seen.
  void DropNativeWindow() { destroy(); }

 protected:
  void paintEvent(class QPaintEvent*) override;
  void closeEvent(class QCloseEvent* event) override;
  void moveEvent(class QMoveEvent*) override;
  void keyPressEvent(class QKeyEvent* event) override;
  bool event(QEvent* event) override;
};

// Turns a unit's mouse, key and focus events into the window's events; the unit's own
// widget handles them afterwards.
class EventRelay : public QObject {
 public:
  EventRelay(Unit& unit, QWidget* target);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Unit& unit_;
  QWidget* target_;
};

class LabelWidget : public QWidget {
 public:
  LabelWidget(Label& label, QWidget* parent);

 protected:
  void paintEvent(class QPaintEvent*) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  Label& label_;
};

class ShapeWidget : public QWidget {
 public:
  ShapeWidget(ShapeBox& shape, QWidget* parent);

 protected:
  void paintEvent(class QPaintEvent*) override;

 private:
  ShapeBox& shape_;
};

class PictureWidget : public QWidget {
 public:
  PictureWidget(PictureBox& box, QWidget* parent);
  void SetPicture(std::string_view bytes);
  bool Animated() const { return movie_ != nullptr; }

 protected:
  void paintEvent(class QPaintEvent*) override;

 private:
  PictureBox& box_;
  QImage image_;
  std::unique_ptr<class QBuffer> movieData_;
  std::unique_ptr<QByteArray> movieBytes_;
  std::unique_ptr<QMovie> movie_;
};

class ButtonWidget : public QWidget {
 public:
  ButtonWidget(PictureButton& button, QWidget* parent);
  void Reload(int which);
  int State() const { return pressed_ ? 2 : (hover_ ? 1 : 0); }

 protected:
  void paintEvent(class QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent*) override;

 private:
  PictureButton& button_;
  QImage images_[3];
  bool hover_ = false;
  bool pressed_ = false;
};

class PanelWidget : public QWidget {
 public:
  PanelWidget(DrawPanel& panel, QWidget* parent);
  QImage& Surface();  // grown to the panel's size first
  QRect Area() const;  // the surface's rectangle at the panel's size
  // The picture becomes the surface as it is, sharing its pixels until something is drawn.
  void ReplaceSurface(const QImage& picture);

 protected:
  void paintEvent(class QPaintEvent*) override;

 private:
  DrawPanel& panel_;
  QImage surface_;
};

struct BoxObject {
  int id = 0;
  std::string name;
  int x = 0;
  int y = 0;
  int layer = 0;
  int scaleX = 1000;
  int scaleY = 1000;
  int transparency = 0;
  bool visible = true;
  QImage picture;         // natural size; null when the object draws text or nothing
  PictureRef pictureSource;  // keeps `picture` shared with every other holder of its bytes
  bool hasText = false;
  std::string text;
  QFont font;
  QColor colour;
  Align align = Align::Left;
  QSize DrawnSize() const;
};

class BoxWidget : public QWidget {
 public:
  BoxWidget(AnimationBox& box, QWidget* parent);
  BoxObject* Find(int id);
  const BoxObject* Find(int id) const;
  int Create(int x, int y, bool visible, std::string_view name);
  void Delete(int id);
  void DeleteAll();
  void Restack();  // stable sort by layer
  const std::vector<BoxObject>& Objects() const { return objects_; }
  int ObjectAt(QPoint point) const;
  void Render(class QPainter& painter, QRect area) const;
  void SetBackground(std::string_view bytes);
  const std::string& BackgroundBytes() const { return BytesOf(backgroundSource_); }
  int backgroundMode = 0;

 protected:
  void paintEvent(class QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent*) override;

 private:
  void Track(int id);
  AnimationBox& box_;
  std::vector<BoxObject> objects_;
  int nextId_ = 1;
  int hoverId_ = 0;
  PictureRef backgroundSource_;
  QImage background_;
};

// Opens every modal loop of the layer the same way: consults an installed test script
// first. Answers whether the question was answered by the script.
bool ScriptActive();

}  // namespace platform::ui::detail
