// The artwork of the skin Green. No Chinese text lives in this file: captions come from the
// skin's source file, so the GB18030 execution charset of the tool never touches them.
#include "skingen_art.h"

#include <QFont>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace skingen {

bool SkinSource::Colour(const QString& nameOrHex, QColor* out) const {
  QString hex = nameOrHex;
  if (!hex.startsWith('#')) hex = root_.value("palette").toObject().value(nameOrHex).toString();
  const QColor colour = QColor::fromString(hex);
  if (!colour.isValid()) return false;
  *out = colour;
  return true;
}

QColor SkinSource::Colour(const QString& nameOrHex) const {
  QColor colour(Qt::magenta);  // loud, so that a misspelt palette name shows in the contact sheet
  Colour(nameOrHex, &colour);
  return colour;
}

QSize SkinSource::Size(const QString& key) const {
  const QJsonArray pair = root_.value(key).toArray();
  return QSize(pair.at(0).toInt(), pair.at(1).toInt());
}

int SkinSource::Int(const QString& key, int fallback) const {
  return root_.value(key).toInt(fallback);
}

namespace {

QColor WithAlpha(QColor colour, int alpha) {
  colour.setAlpha(alpha);
  return colour;
}

QImage NewImage(QSize size) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

// A painter for crisp artwork: antialiasing for curves, and the caller draws straight
// one-pixel lines on half-pixel centres so that they stay one pixel wide.
void Prepare(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QPainterPath Rounded(const QRectF& rect, qreal radius) {
  QPainterPath path;
  path.addRoundedRect(rect, radius, radius);
  return path;
}

QFont CaptionFont(const SkinSource& source, int pixelSize = 0) {
  QFont font(source.Text("captionFont"));
  font.setPixelSize(pixelSize > 0 ? pixelSize : source.Int("captionPixelSize", 12));
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

// Text centred in rect on whole pixels: the baseline is rounded so the strokes do not blur.
void DrawCentredText(QPainter& p, const QRectF& rect, const QString& text, const QFont& font,
                     const QColor& colour, const QColor& shadow = QColor()) {
  p.setFont(font);
  const QFontMetricsF metrics(font);
  const qreal width = metrics.horizontalAdvance(text);
  const qreal x = std::round(rect.left() + (rect.width() - width) / 2);
  const qreal baseline =
      std::round(rect.top() + (rect.height() - (metrics.ascent() + metrics.descent())) / 2 + metrics.ascent());
  if (shadow.isValid()) {
    p.setPen(shadow);
    p.drawText(QPointF(x, baseline + 1), text);
  }
  p.setPen(colour);
  p.drawText(QPointF(x, baseline), text);
}

QPen GlyphPen(const QColor& colour, qreal width) {
  QPen pen(colour, width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

// The small signs of title-bar and small buttons, centred on (cx, cy); scale 1 fits 16 px.
void DrawGlyph(QPainter& p, const QString& glyph, qreal cx, qreal cy, qreal scale, const QColor& colour) {
  p.save();
  p.setBrush(Qt::NoBrush);
  if (glyph == "close" || glyph == "cross") {
    const qreal r = (glyph == "close" ? 4.0 : 3.5) * scale;
    p.setPen(GlyphPen(colour, 1.6));
    p.drawLine(QPointF(cx - r, cy - r), QPointF(cx + r, cy + r));
    p.drawLine(QPointF(cx - r, cy + r), QPointF(cx + r, cy - r));
  } else if (glyph == "minimise") {
    p.fillRect(QRectF(std::round(cx - 5), std::round(cy + 2), 10, 2), colour);
  } else if (glyph == "menu") {
    for (int row = 0; row < 3; ++row) {
      p.fillRect(QRectF(std::round(cx - 6), std::round(cy - 5) + row * 4, 12, 2), colour);
    }
  } else if (glyph == "help") {
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    font.setBold(true);
    DrawCentredText(p, QRectF(cx - 8, cy - 9, 16, 18), "?", font, colour);
  } else if (glyph == "shirt") {
    QPainterPath shirt;
    shirt.moveTo(cx - 2.5, cy - 5.5);
    shirt.lineTo(cx - 7, cy - 3.5);
    shirt.lineTo(cx - 8.5, cy);
    shirt.lineTo(cx - 5.5, cy + 1);
    shirt.lineTo(cx - 5.5, cy + 6);
    shirt.lineTo(cx + 5.5, cy + 6);
    shirt.lineTo(cx + 5.5, cy + 1);
    shirt.lineTo(cx + 8.5, cy);
    shirt.lineTo(cx + 7, cy - 3.5);
    shirt.lineTo(cx + 2.5, cy - 5.5);
    shirt.quadTo(cx, cy - 2.5, cx - 2.5, cy - 5.5);
    shirt.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(shirt);
  } else if (glyph == "calendar") {
    // Whole pixels only: a 12 x 11 page with a filled head, two rings and a grid of days.
    const int left = int(std::round(cx - 6)), top = int(std::round(cy - 5));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(colour, 1));
    p.drawRect(QRect(left, top, 11, 10));
    p.fillRect(QRect(left, top, 12, 3), colour);
    p.fillRect(QRect(left + 3, top - 2, 1, 3), colour);
    p.fillRect(QRect(left + 8, top - 2, 1, 3), colour);
    for (int row = 0; row < 2; ++row) {
      for (int col = 0; col < 3; ++col) p.fillRect(QRect(left + 2 + col * 3, top + 5 + row * 3, 2, 2), colour);
    }
  } else if (glyph == "chevron") {
    const qreal r = 3.5 * scale;
    p.setPen(GlyphPen(colour, 1.7));
    p.drawPolyline(QList<QPointF>{{cx - r, cy - r / 2}, {cx, cy + r / 2 + 0.5}, {cx + r, cy - r / 2}});
  } else if (glyph == "refresh") {
    const qreal r = 3.9 * scale;
    p.setPen(GlyphPen(colour, 1.6));
    p.drawArc(QRectF(cx - r, cy - r, 2 * r, 2 * r), 70 * 16, 270 * 16);
    // The arrow head at the open end of the arc, pointing the way the arc turns (clockwise).
    const qreal a = 70.0 * M_PI / 180.0;
    const QPointF at(cx + r * std::cos(a), cy - r * std::sin(a));
    const QPointF along(std::sin(a), std::cos(a));
    const QPointF outward(std::cos(a), -std::sin(a));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF{at + along * 2.6, at - along * 1.2 + outward * 2.4, at - along * 1.2 - outward * 2.4});
  }
  p.restore();
}

// Navigation icons: line art in 32 x 32, white strokes over a faint white fill.
void DrawNavIcon(QPainter& p, const QString& glyph, QPointF origin, const QColor& ink) {
  p.save();
  p.translate(origin);
  const QPen pen = GlyphPen(ink, 2.0);
  const QBrush fill(WithAlpha(ink, 48));
  p.setPen(pen);
  p.setBrush(fill);
  if (glyph == "alarm") {
    p.setBrush(QBrush(ink));
    p.drawPie(QRectF(3, 3, 10, 10), 45 * 16, 180 * 16);
    p.drawPie(QRectF(19, 3, 10, 10), -45 * 16, 180 * 16);
    p.setBrush(fill);
    p.drawEllipse(QPointF(16, 17.5), 10.5, 10.5);
    p.drawLine(QPointF(16, 17.5), QPointF(16, 11));
    p.drawLine(QPointF(16, 17.5), QPointF(20.5, 20));
    p.drawLine(QPointF(9, 26.5), QPointF(6.5, 29.5));
    p.drawLine(QPointF(23, 26.5), QPointF(25.5, 29.5));
  } else if (glyph == "due") {
    p.drawRoundedRect(QRectF(4, 7, 24, 21), 3, 3);
    p.setBrush(QBrush(ink));
    p.drawRect(QRectF(4, 7, 24, 5));
    p.drawLine(QPointF(10, 4), QPointF(10, 9));
    p.drawLine(QPointF(22, 4), QPointF(22, 9));
    p.setBrush(Qt::NoBrush);
    p.setPen(GlyphPen(ink, 2.4));
    p.drawPolyline(QList<QPointF>{{10, 19.5}, {14.5, 23.5}, {22, 15.5}});
  } else if (glyph == "notes") {
    p.drawRoundedRect(QRectF(5, 4, 18, 24), 2, 2);
    for (int row = 0; row < 3; ++row) p.drawLine(QPointF(9, 11 + row * 5), QPointF(19, 11 + row * 5));
    QPainterPath pencil;
    pencil.moveTo(26.5, 10);
    pencil.lineTo(30, 13.5);
    pencil.lineTo(20, 25.5);
    pencil.lineTo(15.5, 27.5);
    pencil.lineTo(16.5, 22);
    pencil.closeSubpath();
    p.setBrush(QBrush(ink));
    p.setPen(GlyphPen(ink, 1.0));
    p.drawPath(pencil);
  } else if (glyph == "lock") {
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(10, 15);
    shackle.lineTo(10, 10);
    shackle.arcTo(QRectF(10, 3, 12, 14), 180, -180);
    shackle.lineTo(22, 15);
    p.drawPath(shackle);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(6, 14, 20, 15), 3, 3);
    p.setBrush(QBrush(ink));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 20), 2.4, 2.4);
    p.drawRect(QRectF(15, 21, 2, 4.5));
  } else if (glyph == "database") {
    QPainterPath body;
    body.moveTo(6, 8);
    body.lineTo(6, 25);
    body.arcTo(QRectF(6, 21.5, 20, 7), 180, 180);
    body.lineTo(26, 8);
    p.drawPath(body);
    p.drawEllipse(QRectF(6, 4.5, 20, 7));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6, 10.5, 20, 7), 180 * 16, 180 * 16);
    p.drawArc(QRectF(6, 16, 20, 7), 180 * 16, 180 * 16);
  } else if (glyph == "gear") {
    QPainterPath gear;
    const QPointF c(16, 16);
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
      const qreal angle = (i * 360.0 / (teeth * 4) - 5.6) * M_PI / 180.0;
      const bool outer = (i % 4) == 1 || (i % 4) == 2;
      const qreal r = outer ? 13.0 : 10.0;
      const QPointF point = c + QPointF(r * std::cos(angle), r * std::sin(angle));
      if (i == 0) gear.moveTo(point);
      else gear.lineTo(point);
    }
    gear.closeSubpath();
    gear.addEllipse(c, 4.2, 4.2);
    gear.setFillRule(Qt::OddEvenFill);
    p.drawPath(gear);
  }
  p.restore();
}

struct Fill {
  QColor top, bottom, border, text;
};

void DrawPlateButton(QPainter& p, QSize size, qreal radius, const Fill& fill, bool pressedShade) {
  const QRectF r(0.5, 0.5, size.width() - 1, size.height() - 1);
  QLinearGradient gradient(0, 0, 0, size.height());
  gradient.setColorAt(0, fill.top);
  gradient.setColorAt(1, fill.bottom);
  p.setPen(QPen(fill.border, 1));
  p.setBrush(gradient);
  p.drawPath(Rounded(r, radius));
  // A one-pixel highlight (raised) or shade (pressed) under the top edge.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(pressedShade ? QColor(0, 0, 0, 34) : QColor(255, 255, 255, 70));
  p.drawLine(QPointF(radius, 1), QPointF(size.width() - 1 - radius, 1));
  p.setRenderHint(QPainter::Antialiasing, true);
}

void DrawCaptioned(QPainter& p, const SkinSource& s, const ButtonSpec& spec, ButtonState state) {
  const bool primary = spec.style == "primary";
  const bool pressed = state == ButtonState::Pressed;
  Fill fill;
  if (primary) {
    switch (state) {
      case ButtonState::Normal: fill = {s.Colour("leafLight"), s.Colour("leaf"), s.Colour("leafDark"), Qt::white}; break;
      case ButtonState::Hover:
        fill = {s.Colour("leafLight").lighter(112), s.Colour("leafLight"), s.Colour("leafDark"), Qt::white};
        break;
      case ButtonState::Pressed:
        fill = {s.Colour("leafDark"), s.Colour("leaf").darker(108), s.Colour("pine"), Qt::white};
        break;
    }
  } else {
    switch (state) {
      case ButtonState::Normal: fill = {s.Colour("white"), s.Colour("mist"), s.Colour("sage"), s.Colour("inkSoft")}; break;
      case ButtonState::Hover: fill = {QColor("#F3FAF5"), QColor("#CBE6D3"), s.Colour("leaf"), s.Colour("leafDark")}; break;
      case ButtonState::Pressed:
        fill = {s.Colour("sageLight"), s.Colour("mist"), s.Colour("leafDark"), s.Colour("ink")};
        break;
    }
  }
  DrawPlateButton(p, spec.size, s.Int("cornerRadius", 4), fill, pressed);
  const QColor shadow = primary ? WithAlpha(s.Colour("pine"), 110) : QColor();
  DrawCentredText(p, QRectF(0, pressed ? 1 : 0, spec.size.width(), spec.size.height()), spec.caption,
                  CaptionFont(s), fill.text, shadow);
}

// The plate that buttons without one of their own show under the pointer and when pressed.
void StatePlate(QPainter& p, ButtonState state, const QRectF& rect, qreal radius, const QPen& hoverPen,
                const QBrush& hover, const QPen& pressedPen, const QBrush& pressed) {
  if (state == ButtonState::Normal) return;
  p.setPen(state == ButtonState::Hover ? hoverPen : pressedPen);
  p.setBrush(state == ButtonState::Hover ? hover : pressed);
  p.drawPath(Rounded(rect, radius));
}

void DrawTitleButton(QPainter& p, const SkinSource& s, const ButtonSpec& spec, ButtonState state) {
  const bool close = spec.glyph == "close";
  StatePlate(p, state, QRectF(0.5, 0.5, spec.size.width() - 1, spec.size.height() - 1), 3, Qt::NoPen,
             close ? s.Colour("alert") : QColor(255, 255, 255, 52), Qt::NoPen,
             close ? s.Colour("alertDark") : QColor(0, 0, 0, 64));
  const qreal dy = state == ButtonState::Pressed ? 1 : 0;
  const QColor ink = state == ButtonState::Normal ? QColor(255, 255, 255, 225) : QColor(Qt::white);
  DrawGlyph(p, spec.glyph, spec.size.width() / 2.0, spec.size.height() / 2.0 + dy, 1.0, ink);
}

void DrawNavButton(QPainter& p, const SkinSource& s, const ButtonSpec& spec, ButtonState state) {
  StatePlate(p, state, QRectF(1.5, 1.5, spec.size.width() - 3, spec.size.height() - 3), 6,
             QPen(QColor(255, 255, 255, 96), 1), QColor(255, 255, 255, 40), QPen(QColor(255, 255, 255, 56), 1),
             QColor(0, 0, 0, 52));
  const qreal dy = state == ButtonState::Pressed ? 1 : 0;
  const int iconX = (spec.size.width() - 32) / 2;
  DrawNavIcon(p, spec.glyph, QPointF(iconX, 8 + dy), Qt::white);
  DrawCentredText(p, QRectF(0, 46 + dy, spec.size.width(), 18), spec.caption, CaptionFont(s), Qt::white,
                  WithAlpha(s.Colour("pine"), 150));
}

void DrawCheckButton(QPainter& p, const SkinSource& s, const ButtonSpec& spec, ButtonState state) {
  const bool on = spec.style == "checked";
  const QRectF box(1.5, 1.5, spec.size.width() - 3, spec.size.height() - 3);
  QColor fill, border;
  if (on) {
    fill = state == ButtonState::Hover ? s.Colour("leafLight") : state == ButtonState::Pressed ? s.Colour("leafDark") : s.Colour("leaf");
    border = s.Colour("leafDark");
  } else {
    fill = state == ButtonState::Hover ? QColor("#E0F0E4") : state == ButtonState::Pressed ? s.Colour("mist") : s.Colour("white");
    border = state == ButtonState::Normal ? s.Colour("sage").darker(112) : s.Colour("leafDark");
  }
  p.setPen(QPen(border, 1));
  p.setBrush(fill);
  p.drawPath(Rounded(box, 2.5));
  if (on) {
    const qreal k = spec.size.width() / 16.0;
    p.setPen(GlyphPen(Qt::white, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QList<QPointF>{{4.6 * k, 8.2 * k}, {7.0 * k, 10.7 * k}, {11.6 * k, 5.4 * k}});
  }
}

void DrawSmallButton(QPainter& p, const SkinSource& s, const ButtonSpec& spec, ButtonState state) {
  const bool plate = spec.style == "plate";
  const QRectF r(0.5, 0.5, spec.size.width() - 1, spec.size.height() - 1);
  QColor ink = s.Colour("leafDark");
  if (plate) {
    const QColor fill = state == ButtonState::Hover ? QColor("#E3F1E7") : state == ButtonState::Pressed ? QColor("#CFE5D6") : s.Colour("paper");
    const QColor border = state == ButtonState::Normal ? s.Colour("sage") : s.Colour("leafDark");
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawPath(Rounded(r, 3));
  } else {
    StatePlate(p, state, r, 3, Qt::NoPen, QColor("#DCEEE2"), Qt::NoPen, QColor("#C2DECB"));
    if (state == ButtonState::Normal) ink = s.Colour("glyph");
    if (spec.glyph == "cross" && state == ButtonState::Hover) ink = s.Colour("alert");
  }
  const qreal scale = std::min(spec.size.width(), spec.size.height()) / 15.0;
  const qreal dy = state == ButtonState::Pressed ? 0.5 : 0;
  DrawGlyph(p, spec.glyph, spec.size.width() / 2.0, spec.size.height() / 2.0 + dy, scale, ink);
}

// A small deterministic generator, so that every build draws the same pictures.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
  qreal Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return (state_ >> 8) / double(1u << 24);
  }

 private:
  std::uint32_t state_;
};

void FillVertical(QPainter& p, QSize size, const QColor& top, const QColor& bottom) {
  QLinearGradient gradient(0, 0, 0, size.height());
  gradient.setColorAt(0, top);
  gradient.setColorAt(1, bottom);
  p.fillRect(QRect(QPoint(0, 0), size), gradient);
}

// A soft round light: nothing but a radial gradient, so it survives being stretched.
void SoftSpot(QPainter& p, QPointF centre, qreal radius, const QColor& colour, int alpha) {
  QRadialGradient gradient(centre, radius);
  gradient.setColorAt(0, WithAlpha(colour, alpha));
  gradient.setColorAt(0.55, WithAlpha(colour, alpha * 2 / 5));
  gradient.setColorAt(1, WithAlpha(colour, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(gradient);
  p.drawEllipse(centre, radius, radius);
}

// Scattered soft lights, kept to the title band and the bottom strip: the body of a window
// shows its background through the content rectangle, and lights there look like stains.
void Bokeh(QPainter& p, QSize size, std::uint32_t seed, int count, const QColor& colour, qreal minRadius,
           qreal maxRadius, int minAlpha, int maxAlpha) {
  Random random(seed);
  const qreal unit = size.width() / 550.0;
  for (int i = 0; i < count; ++i) {
    const qreal x = random.Next() * size.width();
    const qreal band = random.Next();
    const qreal yFraction = band < 0.85 ? 0.15 * std::pow(random.Next(), 1.2) : 0.96 + 0.04 * random.Next();
    const qreal radius = (minRadius + random.Next() * (maxRadius - minRadius)) * unit;
    const int alpha = minAlpha + int(random.Next() * (maxAlpha - minAlpha));
    SoftSpot(p, QPointF(x, yFraction * size.height()), radius, colour, alpha);
  }
}

void Hills(QPainter& p, QSize size, const QColor& sky, const QColor& ground) {
  const qreal w = size.width(), h = size.height();
  struct Layer { qreal base, amplitude, phase, waves; qreal shade; };
  const Layer layers[] = {{0.62, 0.06, 0.4, 1.3, 0.35}, {0.72, 0.05, 2.1, 1.7, 0.6}, {0.83, 0.04, 4.0, 1.1, 0.9}};
  for (const Layer& layer : layers) {
    QPainterPath hill;
    hill.moveTo(0, h);
    for (int i = 0; i <= 64; ++i) {
      const qreal x = w * i / 64.0;
      const qreal y = h * (layer.base - layer.amplitude * std::sin(layer.phase + layer.waves * 2 * M_PI * i / 64.0));
      hill.lineTo(x, y);
    }
    hill.lineTo(w, h);
    hill.closeSubpath();
    // The crest blends into the sky, so the edge stays soft when the picture is stretched.
    QColor crest = sky;
    QColor foot = ground;
    const qreal t = layer.shade;
    foot = QColor::fromRgbF(sky.redF() + (ground.redF() - sky.redF()) * t, sky.greenF() + (ground.greenF() - sky.greenF()) * t,
                            sky.blueF() + (ground.blueF() - sky.blueF()) * t);
    QLinearGradient gradient(0, h * (layer.base - layer.amplitude), 0, h);
    gradient.setColorAt(0, WithAlpha(crest.lighter(106), 150));
    gradient.setColorAt(0.5, WithAlpha(foot, 235));
    gradient.setColorAt(1, foot);
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawPath(hill);
  }
}

void DrawScene(QPainter& p, const SkinSource& s, const QJsonObject& scene, QSize size, int n) {
  const QColor top = s.Colour(scene.value("top").toString());
  const QColor bottom = s.Colour(scene.value("bottom").toString());
  FillVertical(p, size, top, bottom);
  const QString kind = scene.value("scene").toString();
  const qreal w = size.width(), h = size.height();
  const qreal unit = w / 550.0;
  if (kind == "glow") {
    SoftSpot(p, QPointF(w * 0.2, h * 0.02), w * 0.75, Qt::white, 40);
    SoftSpot(p, QPointF(w * 0.95, h * 1.0), w * 0.45, QColor("#163326"), 70);
  } else if (kind == "band") {
    QLinearGradient band(0, 0, w, h);
    band.setColorAt(0.0, QColor(255, 255, 255, 0));
    band.setColorAt(0.38, QColor(255, 255, 255, 30));
    band.setColorAt(0.5, QColor(255, 255, 255, 8));
    band.setColorAt(0.62, QColor(255, 255, 255, 24));
    band.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, w, h), band);
  } else if (kind == "hills") {
    SoftSpot(p, QPointF(w * 0.78, h * 0.12), w * 0.35, QColor("#FFF6D8"), 46);
    Hills(p, size, top, bottom.darker(115));
  } else if (kind == "bokeh") {
    Bokeh(p, size, 40u + n, 16, QColor("#F4F7D8"), 14, 46, 18, 44);
  } else if (kind == "snow") {
    const QColor warm = s.Colour(scene.value("warm").toString());
    SoftSpot(p, QPointF(w * (0.15 + 0.22 * (n - 1)), h * 0.05), w * 0.45, warm, 30 + 6 * (n % 2));
    Bokeh(p, size, 100u + n, 36, s.Colour(scene.value("accent").toString()), 2.5, 7, 90, 170);
    Bokeh(p, size, 200u + n, 6, s.Colour(scene.value("accent").toString()), 10, 20, 12, 28);
  } else if (kind == "lantern") {
    const QColor gold = s.Colour(scene.value("accent").toString());
    SoftSpot(p, QPointF(w * (0.85 - 0.2 * (n - 1)), h * 0.0), w * 0.5, gold, 44);
    Bokeh(p, size, 300u + n, 20, gold, 3, 9, 70, 140);
    Bokeh(p, size, 400u + n, 5, QColor("#FFB36B"), 14, 26, 12, 28);
  }
  (void)unit;
}

}  // namespace

ButtonSpec ButtonSpecFor(const SkinSource& source, const QString& tag, bool* known) {
  const QJsonObject buttons = source.Object("buttons");
  *known = buttons.contains(tag);
  if (!*known) return {QSize(68, 24), "secondary", {}, tag};
  const QJsonObject o = buttons.value(tag).toObject();
  const QJsonArray size = o.value("size").toArray();
  return {QSize(size.at(0).toInt(), size.at(1).toInt()), o.value("style").toString(), o.value("glyph").toString(),
          o.value("caption").toString()};
}

QImage DrawButton(const SkinSource& source, const ButtonSpec& spec, ButtonState state) {
  QImage image = NewImage(spec.size);
  QPainter p(&image);
  Prepare(p);
  if (spec.style == "primary" || spec.style == "secondary") DrawCaptioned(p, source, spec, state);
  else if (spec.style == "title") DrawTitleButton(p, source, spec, state);
  else if (spec.style == "nav") DrawNavButton(p, source, spec, state);
  else if (spec.style == "check" || spec.style == "checked") DrawCheckButton(p, source, spec, state);
  else DrawSmallButton(p, source, spec, state);
  p.end();
  return image;
}

QImage DrawProgramIcon(int size) {
  QImage image = NewImage(QSize(size, size));
  QPainter p(&image);
  Prepare(p);
  const qreal s = size;
  const QRectF tile(0.5, 0.5, s - 1, s - 1);
  QLinearGradient gradient(0, 0, 0, s);
  gradient.setColorAt(0, QColor("#6BB98A"));
  gradient.setColorAt(1, QColor("#2F6B4A"));
  p.setPen(QPen(QColor("#1F3D2E"), 1));
  p.setBrush(gradient);
  p.drawPath(Rounded(tile, s * 0.22));
  // The clock face: white, with the hands at ten past ten in the skin's darkest green.
  const QPointF c(s / 2, s / 2 + s * 0.02);
  const qreal r = s * 0.33;
  p.setPen(s >= 24 ? QPen(QColor("#DCEBDF"), 1) : Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(c, r, r);
  if (s >= 32) {
    // Quarter-hour marks where there is room for them.
    p.setPen(GlyphPen(QColor("#8DB39C"), s / 32.0));
    for (int q = 0; q < 4; ++q) {
      const QPointF dir(std::cos(q * M_PI / 2), std::sin(q * M_PI / 2));
      p.drawLine(c + dir * r * 0.78, c + dir * r * 0.92);
    }
  }
  p.setPen(GlyphPen(QColor("#1F3D2E"), std::max(1.3, s / 14.0)));
  p.drawLine(c, c + QPointF(0, -r * 0.68));
  p.drawLine(c, c + QPointF(r * 0.55, r * 0.12));
  if (s >= 24) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#C0504D"));
    p.drawEllipse(c, s / 22.0, s / 22.0);
  }
  return image;
}

QImage DrawSolid(QSize size, const QColor& colour) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(colour);
  return image;
}

QImage DrawBackground(const SkinSource& source, int n, QSize size) {
  QImage image = NewImage(size);
  QPainter p(&image);
  Prepare(p);
  const QJsonArray scenes = source.Root().value("backgrounds").toArray();
  DrawScene(p, source, scenes.at((n - 1) % scenes.size()).toObject(), size, n);
  return image;
}

QImage DrawSolidColourPicture(const SkinSource& source, int n, QSize size) {
  const QJsonArray colours = source.Root().value("solidColours").toArray();
  return DrawSolid(size, source.Colour(colours.at((n - 1) % colours.size()).toString()));
}

QImage DrawFestivalPicture(const SkinSource& source, const QString& festival, int n, QSize size) {
  QImage image = NewImage(size);
  QPainter p(&image);
  Prepare(p);
  DrawScene(p, source, source.Object("festivals").value(festival).toObject(), size, n);
  return image;
}

QImage DrawFestivalIcon(const SkinSource& source, const QString& festival) {
  QImage image = NewImage(QSize(20, 20));
  QPainter p(&image);
  Prepare(p);
  const QString scene = source.Object("festivals").value(festival).toObject().value("scene").toString();
  // Drawn a little under 20 pixels, so that in a navigation button's corner it keeps clear
  // of the button's own icon.
  p.scale(0.85, 0.85);
  if (scene == "snow") {
    // A small fir with a gold star and two red baubles.
    const QColor fir("#3E9A62"), edge("#1C4A31");
    p.setPen(QPen(edge, 1));
    p.setBrush(fir);
    p.drawPolygon(QPolygonF{{10, 2.5}, {15.5, 9.5}, {4.5, 9.5}});
    p.drawPolygon(QPolygonF{{10, 6}, {17.5, 15.5}, {2.5, 15.5}});
    p.setBrush(QColor("#7A4E2D"));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(8.5, 15.5, 3, 3));
    p.setBrush(QColor("#F2C94C"));
    p.drawEllipse(QPointF(10, 2.6), 2.0, 2.0);
    p.setBrush(QColor("#D2453D"));
    p.drawEllipse(QPointF(7.5, 12.5), 1.3, 1.3);
    p.drawEllipse(QPointF(12.8, 10.5), 1.2, 1.2);
  } else {
    // A red lantern with gold caps and a tassel.
    const QColor gold("#F2C76B");
    p.setPen(QPen(gold, 1));
    p.drawLine(QPointF(10, 0), QPointF(10, 3));
    QLinearGradient body(4, 0, 16, 0);
    body.setColorAt(0, QColor("#A82B26"));
    body.setColorAt(0.45, QColor("#E0513F"));
    body.setColorAt(1, QColor("#A82B26"));
    p.setPen(QPen(QColor("#7A1F1C"), 1));
    p.setBrush(body);
    p.drawEllipse(QRectF(3.5, 4, 13, 11));
    p.setPen(QPen(QColor(255, 210, 120, 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(7, 4.3, 6, 10.4));
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawRoundedRect(QRectF(6.5, 3, 7, 2), 0.8, 0.8);
    p.drawRoundedRect(QRectF(6.5, 14, 7, 2), 0.8, 0.8);
    p.setPen(QPen(gold, 1.2));
    p.drawLine(QPointF(10, 16), QPointF(10, 19.5));
  }
  return image;
}

QImage DrawThumbnailFrame(const SkinSource& s) {
  QImage image = NewImage(QSize(220, 160));
  QPainter p(&image);
  Prepare(p);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 26));
  p.drawPath(Rounded(QRectF(1, 2.5, 218, 157), 6));
  p.setPen(QPen(s.Colour("sageLight"), 1));
  p.setBrush(s.Colour("white"));
  p.drawPath(Rounded(QRectF(0.5, 0.5, 218, 157), 6));
  // A hairline around the place of the thumbnail, so light pictures keep an edge.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(s.Colour("sage"), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRect(9, 9, 201, 141));
  return image;
}

QImage DrawAddBackgroundPicture(const SkinSource& s) {
  QImage image = NewImage(QSize(200, 140));
  QPainter p(&image);
  Prepare(p);
  p.fillRect(image.rect(), s.Colour("paper"));
  QPen dashed(s.Colour("sage"), 1);
  dashed.setDashPattern({4, 3});
  p.setPen(dashed);
  p.setBrush(Qt::NoBrush);
  p.drawPath(Rounded(QRectF(6.5, 6.5, 187, 127), 5));
  p.setPen(Qt::NoPen);
  p.setBrush(s.Colour("leaf"));
  p.drawEllipse(QPointF(100, 58), 17, 17);
  p.fillRect(QRect(99, 50, 2, 16), Qt::white);
  p.fillRect(QRect(92, 57, 16, 2), Qt::white);
  DrawCentredText(p, QRectF(0, 84, 200, 20), s.Text("addBackgroundCaption"), CaptionFont(s), s.Colour("inkSoft"));
  return image;
}

QImage DrawListIcon(const SkinSource& s, int state) {
  const QJsonObject icons = s.Object("listIcons");
  const QJsonArray states = icons.value("states").toArray();
  if (state < 0 || state >= states.size()) state = 0;
  const QJsonObject look = states.at(state).toObject();
  const QJsonArray face = look.value("face").toArray();
  QImage image = NewImage(QSize(48, 48));
  QPainter p(&image);
  Prepare(p);
  // The lists show it at half size, so every stroke is an even number of pixels on even
  // places: halved, it stays whole.
  QLinearGradient gradient(0, 6, 0, 42);
  gradient.setColorAt(0, s.Colour(face.at(0).toString()));
  gradient.setColorAt(1, s.Colour(face.at(1).toString()));
  p.setPen(QPen(s.Colour(look.value("rim").toString()), 4));
  p.setBrush(gradient);
  p.drawEllipse(QRectF(6, 6, 36, 36));
  const QColor hands = s.Colour(icons.value("hands").toString());
  p.setPen(Qt::NoPen);
  p.setBrush(WithAlpha(hands, 150));
  for (const QRectF& tick : {QRectF(23, 10, 2, 4), QRectF(23, 34, 2, 4), QRectF(10, 23, 4, 2), QRectF(34, 23, 4, 2)}) {
    p.drawRect(tick);
  }
  p.setPen(GlyphPen(hands, 4));
  p.drawLine(QPointF(24, 24), QPointF(24, 14));
  p.drawLine(QPointF(24, 24), QPointF(32, 28));
  return image;
}

QImage DrawClockGlyph(const SkinSource& s, char glyph) {
  const QJsonObject clock = s.Object("clock");
  const QJsonArray size = clock.value("size").toArray();
  QImage image = NewImage(QSize(size.at(0).toInt(), size.at(1).toInt()));
  QPainter p(&image);
  const QColor lit = s.Colour(clock.value("lit").toString());
  const QColor unlit = WithAlpha(s.Colour(clock.value("unlit").toString()), clock.value("unlitAlpha").toInt());
  const QColor shadow(0, 0, 0, clock.value("shadowAlpha").toInt());
  // Seven segments on whole pixels, two pixels thick: a top, b top right, c bottom right,
  // d bottom, e bottom left, f top left, g middle.
  const QRect segments[7] = {{3, 0, 6, 2}, {9, 2, 2, 6}, {9, 10, 2, 6}, {3, 16, 6, 2},
                             {1, 10, 2, 6}, {1, 2, 2, 6}, {3, 8, 6, 2}};
  static const char* const kLit[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
  auto paint = [&](QPoint offset, bool shadowPass) {
    if (glyph == ':') {
      for (int y : {4, 12}) p.fillRect(QRect(QPoint(5, y) + offset, QSize(2, 2)), shadowPass ? shadow : lit);
      return;
    }
    const std::string on = kLit[glyph - '0'];
    for (int i = 0; i < 7; ++i) {
      const bool isOn = on.find(char('a' + i)) != std::string::npos;
      if (shadowPass && !isOn) continue;
      p.fillRect(segments[i].translated(offset), shadowPass ? shadow : isOn ? lit : unlit);
    }
  };
  paint(QPoint(1, 1), true);
  paint(QPoint(0, 0), false);
  return image;
}

}  // namespace skingen
