// The draw panel: an image surface that the program draws on.
#include <QLinearGradient>
#include <QPainter>

#include "platform/image/qimage_bridge.h"
#include "platform/ui/widgets.h"

namespace platform::ui {

namespace detail {

PanelWidget::PanelWidget(DrawPanel& panel, QWidget* parent) : QWidget(parent), panel_(panel) {
  setMouseTracking(true);
}

QRect PanelWidget::Area() const { return QRect(0, 0, std::max(1, width()), std::max(1, height())); }

void PanelWidget::ReplaceSurface(const QImage& picture) {
  surface_ = picture;
  update();
}

QImage& PanelWidget::Surface() {
  const QSize want = Area().size();
  if (surface_.size() != want) {
    // Growing or shrinking keeps what was drawn; new parts show the background colour.
    QImage grown(want, QImage::Format_ARGB32);
    grown.fill(ToQColor(panel_.BackgroundColour()));
    if (!surface_.isNull()) {
      QPainter painter(&grown);
      painter.drawImage(0, 0, surface_);
    }
    surface_ = std::move(grown);
  }
  return surface_;
}

void PanelWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, Surface());
}

}  // namespace detail

namespace {
struct Canvas {
  explicit Canvas(detail::PanelWidget* w) : widget(w), painter(&w->Surface()) {}
  ~Canvas() {
    painter.end();
    widget->update();
  }
  detail::PanelWidget* widget;
  QPainter painter;
};
}  // namespace

DrawPanel::DrawPanel(Window& owner, std::string name) : Unit(owner, UnitKind::DrawPanel, std::move(name)) {}

detail::PanelWidget* DrawPanel::panel() const { return static_cast<detail::PanelWidget*>(widget_); }

void DrawPanel::Clear() {
  panel()->Surface().fill(detail::ToQColor(background_));
  panel()->update();
}

void DrawPanel::SetPen(Colour colour, int width) {
  pen_ = colour;
  penWidth_ = std::max(1, width);
}

void DrawPanel::SetTextColour(Colour colour) { textColour_ = colour; }

void DrawPanel::DrawLine(int x1, int y1, int x2, int y2) {
  Canvas c(panel());
  c.painter.setPen(QPen(detail::ToQColor(pen_), penWidth_));
  c.painter.drawLine(x1, y1, x2, y2);
}

void DrawPanel::DrawRectangle(int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  Canvas c(panel());
  c.painter.setPen(QPen(detail::ToQColor(pen_), penWidth_));
  c.painter.drawRect(x, y, width - 1, height - 1);
}

void DrawPanel::FillRectangle(int x, int y, int width, int height, Colour colour) {
  Canvas c(panel());
  c.painter.fillRect(x, y, width, height, detail::ToQColor(colour));
}

void DrawPanel::DrawText(int x, int y, std::string_view text) {
  Canvas c(panel());
  c.painter.setPen(detail::ToQColor(textColour_));
  detail::DrawTextLines(c.painter, x, y, detail::ToQLines(text), detail::ToQFont(font_));
}

int DrawPanel::TextWidth(std::string_view text) const {
  return detail::TextExtent(detail::ToQLines(text), detail::ToQFont(font_)).width();
}

int DrawPanel::TextHeight(std::string_view text) const {
  // An empty text still has the height of a line, as a text extent measures it.
  const QString q = detail::ToQLines(text);
  return detail::TextExtent(q.isEmpty() ? QStringLiteral(" ") : q, detail::ToQFont(font_)).height();
}

void DrawPanel::GradientFill(int x, int y, int width, int height, Colour first, Colour middle, Colour last,
                             bool vertical) {
  if (width <= 0 || height <= 0) return;
  QLinearGradient gradient(x, y, vertical ? x : x + width, vertical ? y + height : y);
  gradient.setColorAt(0, detail::ToQColor(first));
  gradient.setColorAt(0.5, detail::ToQColor(middle));
  gradient.setColorAt(1, detail::ToQColor(last));
  Canvas c(panel());
  c.painter.fillRect(x, y, width, height, gradient);
}

namespace {
// The picture drawn last, decoded: a page draws the same background before every month.
// Shared with the units that show the same bytes, so a page background is held once.
const QImage& Decoded(std::string_view bytes) {
  static detail::PictureRef last;
  static const QImage none;
  if (bytes.empty()) return none;
  if (!last || last->bytes() != bytes) last = detail::SharePicture(bytes);
  return last->image;
}
}  // namespace

void DrawPanel::DrawPicture(std::string_view bytes, int x, int y, int width, int height) {
  const QImage& image = Decoded(bytes);
  if (image.isNull()) return;
  const QRect target(x, y, width > 0 ? width : image.width(), height > 0 ? height : image.height());
  // An opaque picture that covers the whole surface replaces it: the surface then shares the
  // picture's pixels until something is drawn on it, so pages showing one background hold it once.
  if (target == panel()->Area() && target.size() == image.size() && !image.hasAlphaChannel()) {
    panel()->ReplaceSurface(image);
    return;
  }
  Canvas c(panel());
  if (target.size() == image.size()) {
    c.painter.drawImage(target.topLeft(), image);
    return;
  }
  c.painter.setRenderHint(QPainter::SmoothPixmapTransform);
  c.painter.drawImage(target, image);
}

void DrawPanel::CopyRectangle(const DrawPanel& source, int sx, int sy, int width, int height, int dx, int dy) {
  if (width <= 0 || height <= 0) return;
  const QImage part = source.panel()->Surface().copy(sx, sy, width, height);
  Canvas c(panel());
  c.painter.setCompositionMode(QPainter::CompositionMode_Source);
  c.painter.drawImage(dx, dy, part);
}

Colour DrawPanel::PixelAt(int x, int y) const {
  const QImage& surface = panel()->Surface();
  if (!surface.valid(x, y)) return 0;
  const QColor c = surface.pixelColor(x, y);
  return Rgb(c.red(), c.green(), c.blue());
}

std::string DrawPanel::Capture(int x, int y, int width, int height) const {
  return platform::image::EncodeBmp(panel()->Surface(), QRect(x, y, width, height));
}

}  // namespace platform::ui
