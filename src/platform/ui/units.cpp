// The plain units: labels, edit boxes, combo box, picture box, shape box, picture button,
// timer, menu and file dialog.
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>

#include "platform/image/qimage_bridge.h"
#include "platform/ui/spaced_text.h"
#include "platform/ui/test_driver.h"
#include "platform/ui/widgets.h"

namespace platform::ui {

using detail::FromQ;
using detail::FromQLines;
using detail::ToQ;
using detail::ToQLines;

namespace detail {

// --- Label ---------------------------------------------------------------------------

LabelWidget::LabelWidget(Label& label, QWidget* parent) : QWidget(parent), label_(label) {}

void LabelWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (const Colour* g = UnitAccess::Gradient(label_)) {
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, ToQColor(g[0]));
    gradient.setColorAt(0.5, ToQColor(g[1]));
    gradient.setColorAt(1, ToQColor(g[2]));
    painter.fillRect(rect(), gradient);
  } else if (!UnitAccess::Transparent(label_)) {
    painter.fillRect(rect(), ToQColor(label_.BackgroundColour()));
  }
  painter.setPen(ToQColor(label_.ForegroundColour()));
  painter.setFont(font());
  Qt::Alignment across = Qt::AlignLeft;
  switch (UnitAccess::AlignOf(label_)) {
    case Align::Left: across = Qt::AlignLeft; break;
    case Align::Centre: across = Qt::AlignHCenter; break;
    case Align::Right: across = Qt::AlignRight; break;
  }
  const bool wrap = UnitAccess::WrapOf(label_);
  const QString text = ToQLines(label_.Text());
  // Paragraphs get room between their lines; a single line is drawn as it always was.
  if (DrawSpacedLines(painter, rect(), across, wrap, text)) return;
  painter.drawText(rect(), int(across | Qt::AlignTop) | (wrap ? Qt::TextWordWrap : 0), text);
}

void LabelWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    EventArgs args;
    UnitAccess::Fire(label_, Event::Clicked, args);
  }
}

// --- Shape box -----------------------------------------------------------------------

ShapeWidget::ShapeWidget(ShapeBox& shape, QWidget* parent) : QWidget(parent), shape_(shape) {}

void ShapeWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const int lw = std::max(1, UnitAccess::LineWidth(shape_));
  painter.setPen(QPen(ToQColor(shape_.LineColour()), lw));
  painter.setBrush(UnitAccess::Filled(shape_) ? QBrush(ToQColor(shape_.FillColour())) : QBrush());
  const QRect r = rect().adjusted(lw / 2, lw / 2, -(lw + 1) / 2, -(lw + 1) / 2);
  switch (UnitAccess::ShapeOf(shape_)) {
    case Shape::Rectangle: painter.drawRect(r); break;
    case Shape::RoundedRectangle: painter.drawRoundedRect(r, 6, 6); break;
    case Shape::Ellipse:
      painter.setRenderHint(QPainter::Antialiasing);
      painter.drawEllipse(r);
      break;
    case Shape::HorizontalLine: painter.drawLine(0, height() / 2, width(), height() / 2); break;
    case Shape::VerticalLine: painter.drawLine(width() / 2, 0, width() / 2, height()); break;
  }
}

// --- Picture box ---------------------------------------------------------------------

PictureWidget::PictureWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {}

void PictureWidget::SetPicture(std::string_view bytes) {
  movie_.reset();
  movieData_.reset();
  movieBytes_.reset();
  image_ = QImage();
  const auto frames = platform::image::DecodeFrames(bytes);
  if (frames.size() > 1) {
    movieBytes_ = std::make_unique<QByteArray>(bytes.data(), static_cast<qsizetype>(bytes.size()));
    movieData_ = std::make_unique<QBuffer>(movieBytes_.get());
    movieData_->open(QIODevice::ReadOnly);
    movie_ = std::make_unique<QMovie>(movieData_.get(), QByteArray("gif"));
    QObject::connect(movie_.get(), &QMovie::frameChanged, this, [this] { update(); });
    movie_->start();
  } else if (!frames.empty()) {
    image_ = platform::image::ToQImage(frames.front().image);
  }
  update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!UnitAccess::TransparentBox(box_)) painter.fillRect(rect(), ToQColor(box_.BackgroundColour()));
  const QImage frame = movie_ ? movie_->currentImage() : image_;
  if (frame.isNull()) return;
  // Smoothly: a thin stroke must not vanish from a picture drawn smaller than it is.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (UnitAccess::Stretch(box_)) painter.drawImage(rect(), frame);
  else painter.drawImage(0, 0, frame);
}

// --- Picture button ------------------------------------------------------------------

ButtonWidget::ButtonWidget(PictureButton& button, QWidget* parent) : QWidget(parent), button_(button) {
  setMouseTracking(true);
}

void ButtonWidget::Reload(int which) {
  const PictureRef& picture = UnitAccess::Picture(button_, which);
  images_[which] = picture ? picture->image : QImage();
  update();
}

void ButtonWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QImage& image = images_[State()];
  if (!image.isNull()) {
    painter.drawImage(rect(), image);
    return;
  }
  const QString text = ToQ(button_.Text());
  if (!text.isEmpty()) {
    painter.setPen(ToQColor(button_.ForegroundColour()));
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text);
  }
}

void ButtonWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = true;
  update();
}

void ButtonWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  hover_ = rect().contains(event->position().toPoint());
  update();
  if (hover_) button_.Click();
}

void ButtonWidget::mouseMoveEvent(QMouseEvent* event) {
  const bool inside = rect().contains(event->position().toPoint());
  if (inside != hover_) {
    hover_ = inside;
    update();
  }
}

void ButtonWidget::leaveEvent(QEvent*) {
  hover_ = false;
  update();
}

}  // namespace detail

// --- Label ---------------------------------------------------------------------------

Label::Label(Window& owner, UnitKind kind, std::string name) : Unit(owner, kind, std::move(name)) {}

void Label::SetText(std::string_view text) {
  text_ = text;
  if (caption_) owner_.SetTitle(text_);
  if (widget_) widget_->update();
}
void Label::SetCaption(bool caption) {
  caption_ = caption;
  if (caption_) owner_.SetTitle(text_);
}
void Label::SetAlignment(Align align) {
  align_ = align;
  if (widget_) widget_->update();
}
void Label::SetWordWrap(bool wrap) {
  wrap_ = wrap;
  if (widget_) widget_->update();
}
void Label::SetGradient(Colour top, Colour middle, Colour bottom) {
  gradient_[0] = top;
  gradient_[1] = middle;
  gradient_[2] = bottom;
  hasGradient_ = true;
  if (widget_) widget_->update();
}
void Label::ClearGradient() {
  hasGradient_ = false;
  if (widget_) widget_->update();
}
void Label::ColoursChanged() {}

// --- Edit box ------------------------------------------------------------------------

EditBox::EditBox(Window& owner, std::string name, bool multiLine, bool)
    : Unit(owner, UnitKind::EditBox, std::move(name)), multiLine_(multiLine) {}

std::string EditBox::Text() const {
  if (auto* line = qobject_cast<QLineEdit*>(widget_)) return FromQLines(line->text());
  if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_)) return FromQLines(plain->toPlainText());
  return text_;
}

void EditBox::SetText(std::string_view text) {
  if (auto* line = qobject_cast<QLineEdit*>(widget_)) line->setText(ToQLines(text));
  else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_)) plain->setPlainText(ToQLines(text));
}

void EditBox::SetReadOnly(bool readOnly) {
  if (auto* line = qobject_cast<QLineEdit*>(widget_)) line->setReadOnly(readOnly);
  else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_)) plain->setReadOnly(readOnly);
}

void EditBox::SetMaxLength(int length) {
  if (auto* line = qobject_cast<QLineEdit*>(widget_)) line->setMaxLength(length > 0 ? length : 32767);
}

void EditBox::Select(int start, int length) {
  if (auto* line = qobject_cast<QLineEdit*>(widget_)) {
    if (length < 0) line->selectAll();
    else line->setSelection(start, length);
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_)) {
    if (length < 0) {
      plain->selectAll();
      return;
    }
    QTextCursor cursor = plain->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    plain->setTextCursor(cursor);
  }
}

std::string EditBox::SelectedText() const {
  if (auto* line = qobject_cast<QLineEdit*>(widget_)) return FromQ(line->selectedText());
  if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_)) return FromQLines(plain->textCursor().selectedText());
  return {};
}

// --- Rich edit box -------------------------------------------------------------------

RichEditBox::RichEditBox(Window& owner, std::string name) : Unit(owner, UnitKind::RichEditBox, std::move(name)) {}

std::string RichEditBox::Text() const { return FromQLines(static_cast<QTextEdit*>(widget_)->toPlainText()); }

void RichEditBox::SetText(std::string_view text) { static_cast<QTextEdit*>(widget_)->setPlainText(ToQLines(text)); }

std::vector<std::string> RichEditBox::DisplayLines() const {
  auto* edit = static_cast<QTextEdit*>(widget_);
  // Laid out on a copy at the box's text width: a hidden box has no layout of its own.
  std::unique_ptr<QTextDocument> doc(edit->document()->clone());
  doc->setDefaultFont(edit->font());
  doc->setTextWidth(std::max(1, edit->width() - 2 * edit->frameWidth()));
  (void)doc->size();
  std::vector<std::string> lines;
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    QTextLayout* layout = block.layout();
    const QString text = block.text();
    if (layout == nullptr || layout->lineCount() == 0) {
      lines.push_back(FromQ(text));
      continue;
    }
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      QString part = text.mid(line.textStart(), line.textLength());
      while (part.endsWith(QChar(0x2028))) part.chop(1);
      lines.push_back(FromQ(part));
    }
  }
  return lines;
}

void RichEditBox::SetReadOnly(bool readOnly) { static_cast<QTextEdit*>(widget_)->setReadOnly(readOnly); }
void RichEditBox::SelectAll() { static_cast<QTextEdit*>(widget_)->selectAll(); }
void RichEditBox::Copy() { static_cast<QTextEdit*>(widget_)->copy(); }
void RichEditBox::Paste() { static_cast<QTextEdit*>(widget_)->paste(); }

void RichEditBox::ApplyCharFormat(std::string_view fontName, int size) {
  auto* edit = static_cast<QTextEdit*>(widget_);
  QTextCharFormat format;
  if (!fontName.empty()) format.setFontFamilies({ToQ(fontName)});
  if (size >= 1) format.setFontPointSize(size);
  edit->mergeCurrentCharFormat(format);
}

// --- Combo box -----------------------------------------------------------------------

namespace {
QComboBox* Combo(QWidget* w) { return static_cast<QComboBox*>(w); }
}  // namespace

ComboBox::ComboBox(Window& owner, std::string name, bool) : Unit(owner, UnitKind::ComboBox, std::move(name)) {}

std::string ComboBox::Text() const { return FromQ(Combo(widget_)->currentText()); }
void ComboBox::SetText(std::string_view text) {
  QComboBox* combo = Combo(widget_);
  if (combo->isEditable()) {
    combo->setEditText(ToQ(text));
    return;
  }
  const int index = combo->findText(ToQ(text));
  if (index >= 0) combo->setCurrentIndex(index);
}
void ComboBox::AddItem(std::string_view text) { Combo(widget_)->addItem(ToQ(text)); }
void ComboBox::RemoveItem(int index) { Combo(widget_)->removeItem(index); }
void ComboBox::ClearItems() { Combo(widget_)->clear(); }
int ComboBox::ItemCount() const { return Combo(widget_)->count(); }
std::string ComboBox::ItemText(int index) const {
  if (index < 0 || index >= ItemCount()) return {};
  return FromQ(Combo(widget_)->itemText(index));
}
void ComboBox::SetItemText(int index, std::string_view text) { Combo(widget_)->setItemText(index, ToQ(text)); }
int ComboBox::CurrentIndex() const { return Combo(widget_)->currentIndex(); }
void ComboBox::SetCurrentIndex(int index) { Combo(widget_)->setCurrentIndex(index); }
void ComboBox::DropDown() { Combo(widget_)->showPopup(); }
bool ComboBox::IsDroppedDown() const {
  QWidget* popup = QApplication::activePopupWidget();
  return popup != nullptr && widget_->isAncestorOf(popup);
}

// --- Picture box, shape box, picture button ------------------------------------------

PictureBox::PictureBox(Window& owner, std::string name) : Unit(owner, UnitKind::PictureBox, std::move(name)) {}

void PictureBox::SetPicture(std::string_view bytes) {
  picture_ = bytes;
  static_cast<detail::PictureWidget*>(widget_)->SetPicture(bytes);
}
void PictureBox::SetStretch(bool stretch) {
  stretch_ = stretch;
  widget_->update();
}
void PictureBox::SetTransparent(bool transparent) {
  transparent_ = transparent;
  widget_->update();
}
bool PictureBox::IsAnimated() const { return static_cast<detail::PictureWidget*>(widget_)->Animated(); }

ShapeBox::ShapeBox(Window& owner, std::string name) : Unit(owner, UnitKind::ShapeBox, std::move(name)) {}
void ShapeBox::SetShape(Shape shape) {
  shape_ = shape;
  widget_->update();
}
void ShapeBox::SetLineWidth(int width) {
  lineWidth_ = width;
  widget_->update();
}
void ShapeBox::SetFilled(bool filled) {
  filled_ = filled;
  widget_->update();
}

PictureButton::PictureButton(Window& owner, std::string name)
    : Unit(owner, UnitKind::PictureButton, std::move(name)) {}

void PictureButton::Changed(int which) {
  if (widget_) static_cast<detail::ButtonWidget*>(widget_)->Reload(which);
}
void PictureButton::SetPictures(std::string_view normal, std::string_view hover, std::string_view pressed) {
  SetNormalPicture(normal);
  SetHoverPicture(hover);
  SetPressedPicture(pressed);
}
void PictureButton::SetNormalPicture(std::string_view bytes) {
  pictures_[0] = detail::SharePicture(bytes);
  Changed(0);
}
void PictureButton::SetHoverPicture(std::string_view bytes) {
  pictures_[1] = detail::SharePicture(bytes);
  Changed(1);
}
void PictureButton::SetPressedPicture(std::string_view bytes) {
  pictures_[2] = detail::SharePicture(bytes);
  Changed(2);
}
void PictureButton::SetText(std::string_view text) {
  text_ = text;
  if (widget_) widget_->update();
}
void PictureButton::Click() { Fire(Event::Clicked); }

// --- Timer ---------------------------------------------------------------------------

struct Timer::Impl {
  QTimer timer;
};

Timer::Timer(Window& owner, std::string name)
    : Unit(owner, UnitKind::Timer, std::move(name)), impl_(std::make_unique<Impl>()) {
  QObject::connect(&impl_->timer, &QTimer::timeout, [this] { Fire(Event::Timer); });
}
Timer::~Timer() = default;

void Timer::SetInterval(int milliseconds) {
  if (milliseconds <= 0) {
    impl_->timer.stop();
    impl_->timer.setInterval(0);
    return;
  }
  impl_->timer.start(milliseconds);
}
int Timer::Interval() const { return impl_->timer.isActive() ? impl_->timer.interval() : 0; }
bool Timer::IsRunning() const { return impl_->timer.isActive(); }

// --- Menu ----------------------------------------------------------------------------

struct Menu::Impl {
  std::unique_ptr<QMenu> menu;
};

Menu::Menu(Window& owner, std::string name)
    : Unit(owner, UnitKind::Menu, std::move(name)), impl_(std::make_unique<Impl>()) {
  impl_->menu = std::make_unique<QMenu>();
}
Menu::~Menu() = default;

namespace {
QString Hex(Colour c) { return detail::ToQColor(c).name(); }

void ApplyColours(QMenu& menu, const MenuColours& c) {
  menu.setStyleSheet(QStringLiteral(
                         "QMenu { background-color: %1; color: %5; border: 1px solid %4; }"
                         "QMenu::item { padding: 3px 20px 3px 24px; border-left: 20px solid %2; }"
                         "QMenu::item:selected { background-color: %3; }"
                         "QMenu::separator { height: 1px; background: %4; margin: 2px 4px; }")
                         .arg(Hex(c.background), Hex(c.leftBorder), Hex(c.selection), Hex(c.separator),
                              Hex(c.text)));
}
}  // namespace

QMenu* detail::UnitAccess::MenuWidget(Menu& menu) { return menu.impl_->menu.get(); }

void Menu::SetColours(const MenuColours& colours) {
  colours_ = colours;
  ApplyColours(*impl_->menu, colours);
  for (QMenu* sub : impl_->menu->findChildren<QMenu*>()) ApplyColours(*sub, colours);
}

void Menu::PopupAtPointer() { Popup(QCursor::pos().x(), QCursor::pos().y()); }

namespace {
MenuItem* FindItem(const std::vector<MenuItem*>& items, std::string_view name) {
  for (MenuItem* item : items) {
    if (item->Name() == name) return item;
    if (MenuItem* sub = FindItem(item->SubItems(), name)) return sub;
  }
  return nullptr;
}
}  // namespace

void Menu::Popup(int screenX, int screenY, MenuAnchor anchor) {
  if (auto* script = testing::Script::Current()) {
    script->NoteMenuPlace({screenX, screenY, anchor});
    std::string answer;
    if (script->TakeMenuAnswer(answer, name_) && !answer.empty()) {
      if (MenuItem* item = FindItem(items_, answer)) item->Choose();
    }
    return;
  }
  QMenu& menu = *impl_->menu;
  if (anchor == MenuAnchor::TopRight) {
    menu.ensurePolished();
    screenX -= menu.sizeHint().width();
  }
  menu.popup(QPoint(screenX, screenY));
}

bool Menu::IsShown() const { return impl_->menu->isVisible(); }

std::string Menu::SnapshotPng() const {
  QMenu& menu = *impl_->menu;
  menu.ensurePolished();
  menu.adjustSize();
  QImage image(menu.sizeHint(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  menu.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  return platform::image::EncodePng(platform::image::FromQImage(image));
}

MenuItem::MenuItem(Window& owner, std::string name) : Unit(owner, UnitKind::MenuItem, std::move(name)) {}

void MenuItem::SetText(std::string_view text) {
  text_ = text;
  if (action_) static_cast<QAction*>(action_)->setText(ToQ(text));
}
void MenuItem::SetChecked(bool checked) {
  checked_ = checked;
  if (action_) static_cast<QAction*>(action_)->setChecked(checked);
}
void MenuItem::SetItemEnabled(bool enabled) {
  enabled_ = enabled;
  if (action_) static_cast<QAction*>(action_)->setEnabled(enabled);
}
void MenuItem::Choose() {
  if (enabled_) Fire(Event::Clicked);
}

// --- File dialog ---------------------------------------------------------------------

FileDialog::FileDialog(Window& owner, std::string name) : Unit(owner, UnitKind::FileDialog, std::move(name)) {}

void FileDialog::SetDefaultExtension(std::string_view extension) {
  while (!extension.empty() && (extension.front() == '*' || extension.front() == '.')) extension.remove_prefix(1);
  defaultExtension_ = extension;
}

void FileDialog::AddDefaultExtension() {
  if (defaultExtension_.empty()) return;
  const std::size_t slash = fileName_.rfind('/');
  const std::size_t dot = fileName_.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return;
  if (dialogKind_ == FileDialogKind::Open && QFileInfo::exists(ToQ(fileName_))) return;
  fileName_ += "." + defaultExtension_;
}

bool FileDialog::Run() {
  if (auto* script = testing::Script::Current()) {
    std::string path;
    script->TakeFileAnswer(path, title_);
    if (path.empty()) return false;
    fileName_ = path;
    AddDefaultExtension();
    return true;
  }
  // "Excel|*.xls|All|*.*" becomes "Excel (*.xls);;All (*.*)"; split in UTF-8, where '|' is
  // never part of another character. The program's descriptions mostly carry their patterns
  // ("Excel文件 (*.xls)"), so the list shows the descriptions alone, without a second copy.
  const QStringList parts = ToQ(filter_).split(QChar('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    filters << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(QChar(';'), QChar(' ')));
  // Without a folder of the program's, the user's home: never the folder the program was
  // started from.
  QString start = folder_.empty() ? QDir::homePath() : ToQ(folder_);
  if (!fileName_.empty()) start = QFileInfo(ToQ(fileName_)).isAbsolute() ? ToQ(fileName_) : start + QChar('/') + ToQ(fileName_);
  // Top-most as the program's boxes are, so that a pop-up or another top-most window never
  // covers a dialog that holds the keyboard. Without a parent: a window manager raises a dialog that
  // belongs to another window together with that window's stack, under a pop-up shown since.
  QFileDialog dialog(nullptr, ToQ(title_), start);
  dialog.setNameFilters(filters);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(dialogKind_ == FileDialogKind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(dialogKind_ == FileDialogKind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const QString chosen = dialog.selectedFiles().constFirst();
  if (chosen.isEmpty()) return false;
  fileName_ = FromQ(chosen);
  AddDefaultExtension();
  return true;
}

}  // namespace platform::ui
