#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

#include "platform/image/qimage_bridge.h"
#include "platform/text/text.h"
#include "platform/ui/widgets.h"

namespace platform::ui::detail {

const std::string& BytesOf(const PictureRef& picture) {
  static const std::string none;
  return picture ? picture->bytes() : none;
}

// Only the window thread shows pictures, so the list needs no lock.
PictureRef SharePicture(std::string_view bytes) {
  if (bytes.empty()) return nullptr;
  static std::vector<std::weak_ptr<const SharedPicture>> shared;
  PictureRef found;
  std::erase_if(shared, [&](const std::weak_ptr<const SharedPicture>& entry) {
    PictureRef held = entry.lock();
    if (!held) return true;
    if (!found && held->bytes() == bytes) found = std::move(held);
    return false;
  });
  if (found) return found;
  auto picture = std::make_shared<SharedPicture>();
  picture->source = std::make_shared<const std::string>(bytes);
  picture->image = platform::image::SharedBitmap(picture->source);
  shared.push_back(picture);
  return picture;
}

QString ToQ(std::string_view gb18030) {
  return QString::fromStdString(platform::text::ToUtf8(gb18030));
}

std::string FromQ(const QString& text) { return platform::text::FromUtf8(text.toStdString()); }

QColor ToQColor(Colour colour) { return QColor(Red(colour), Green(colour), Blue(colour)); }

const std::string& DefaultFaceName() {
  static const std::string name = platform::text::FromUtf8("宋体");
  return name;
}

QFont ToQFont(const Font& font) {
  QFont f(ToQ(font.name.empty() ? DefaultFaceName() : font.name));
  // A size of 0 ("none given") draws at the templates' usual 9 points.
  f.setPointSize(font.size > 0 ? font.size : 9);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikeOut);
  return f;
}

QString ToQLines(std::string_view gb18030) {
  QString text = ToQ(gb18030);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  return text;
}

std::string FromQLines(const QString& text) {
  QString out = text;
  out.replace(QChar(0x2029), QChar('\n'));  // paragraph separators of the text widgets
  out.replace(QChar(0x2028), QChar('\n'));
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return FromQ(out);
}

int KeyCode(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Space: return 32;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    default: break;
  }
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
  return qtKey & 0xFFFF;
}

QSize TextExtent(const QString& text, const QFont& font) {
  if (text.isEmpty()) return {0, 0};
  const QFontMetrics fm(font);
  const QStringList lines = text.split(QChar('\n'));
  int width = 0;
  for (const QString& line : lines) width = std::max(width, fm.horizontalAdvance(line));
  const int height = fm.height() + static_cast<int>(lines.size() - 1) * fm.lineSpacing();
  return {width, height};
}

void DrawTextLines(QPainter& painter, int x, int y, const QString& text, const QFont& font, Align align) {
  painter.setFont(font);
  const QFontMetrics fm(font);
  const int width = align == Align::Left ? 0 : TextExtent(text, font).width();
  int top = y;
  for (const QString& line : text.split(QChar('\n'))) {
    const int spare = width - fm.horizontalAdvance(line);
    const int left = align == Align::Centre ? x + spare / 2 : align == Align::Right ? x + spare : x;
    painter.drawText(left, top + fm.ascent(), line);
    top += fm.lineSpacing();
  }
}

}  // namespace platform::ui::detail
