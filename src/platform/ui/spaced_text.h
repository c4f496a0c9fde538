#pragma once
// Multi-line text drawn with a comfortable line pitch. Header-only on Qt Gui so that the
// build-time picture tool spaces its paragraphs the same way as the window layer.
#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace platform::ui::detail {

// About 1.3 times the font's size in pixels, never tighter than the face's own line.
inline qreal ParagraphLinePitch(const QFont& font, const QPaintDevice* device, qreal natural) {
  const qreal dpi = device != nullptr ? device->logicalDpiY() : 96.0;
  const qreal pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * dpi / 72.0;
  return std::max(std::ceil(natural), std::round(1.3 * pixels));
}

// Draws `text` (LF breaks) into `area` in the painter's font and pen, top-aligned, with
// `alignment` across; wraps at word boundaries when `wrap`. Lines after the first follow at
// ParagraphLinePitch. Draws nothing and answers false when the text takes a single line,
// so that single lines keep QPainter::drawText's placement exactly.
inline bool DrawSpacedLines(QPainter& painter, const QRectF& area, Qt::Alignment alignment, bool wrap,
                            const QString& text) {
  QTextOption option(alignment);
  option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::NoWrap);
  const QFont font = painter.font();
  std::vector<std::unique_ptr<QTextLayout>> paragraphs;
  int lines = 0;
  qreal natural = 0;
  for (const QString& paragraph : text.split(QChar('\n'))) {
    auto layout = std::make_unique<QTextLayout>(paragraph, font, painter.device());
    layout->setTextOption(option);
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
      line.setLineWidth(area.width());
      natural = std::max(natural, line.height());
      ++lines;
    }
    layout->endLayout();
    paragraphs.push_back(std::move(layout));
  }
  if (lines < 2) return false;
  const qreal pitch = ParagraphLinePitch(font, painter.device(), natural);
  painter.save();
  painter.setClipRect(area, Qt::IntersectClip);
  qreal top = area.top();
  for (const auto& layout : paragraphs) {
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      line.draw(&painter, QPointF(area.left(), top - line.y()));
      top += pitch;
    }
  }
  painter.restore();
  return true;
}

}  // namespace platform::ui::detail
