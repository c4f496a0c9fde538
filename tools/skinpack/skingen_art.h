#pragma once
// The drawing of the skin Green: every picture of the package, drawn with QPainter from the
// skin's source file (resources/skin/Green.json). Texts here are Qt's (UTF-16); the caller
// converts entry names.
#include <QColor>
#include <QImage>
#include <QJsonObject>
#include <QSize>
#include <QString>

namespace skingen {

// The skin's source file, with colour names resolved through its one palette.
class SkinSource {
 public:
  explicit SkinSource(QJsonObject root) : root_(std::move(root)) {}

  const QJsonObject& Root() const { return root_; }
  // A palette name or a literal "#RRGGBB"; an unknown name is an error the caller reports.
  bool Colour(const QString& nameOrHex, QColor* out) const;
  QColor Colour(const QString& nameOrHex) const;
  QSize Size(const QString& key) const;  // a [width, height] pair of the root
  int Int(const QString& key, int fallback) const;
  QString Text(const QString& key) const { return root_.value(key).toString(); }
  QJsonObject Object(const QString& key) const { return root_.value(key).toObject(); }

 private:
  QJsonObject root_;
};

// How a button picture looks in one of its three states.
enum class ButtonState { Normal = 0, Hover = 1, Pressed = 2 };

struct ButtonSpec {
  QSize size;
  QString style;    // primary, secondary, title, nav, check, checked, plate, bare
  QString glyph;    // the drawn sign of title, nav, plate and bare buttons
  QString caption;  // the text of primary, secondary and nav buttons
};

// The spec of a tag from the source; a tag the source does not know gets a captioned
// secondary button with the tag as its caption, so a new name never breaks the build.
ButtonSpec ButtonSpecFor(const SkinSource& source, const QString& tag, bool* known);

QImage DrawButton(const SkinSource& source, const ButtonSpec& spec, ButtonState state);

// The program icon, a rounded tile with a clock face, at any size (16, 20, 24, 32, 48).
QImage DrawProgramIcon(int size);

// A plain picture of one colour (the content rectangle, the frame lines).
QImage DrawSolid(QSize size, const QColor& colour);

// Background n (1-based) of the skin, and the pictures of a festival, at the given size.
QImage DrawBackground(const SkinSource& source, int n, QSize size);
QImage DrawSolidColourPicture(const SkinSource& source, int n, QSize size);
QImage DrawFestivalPicture(const SkinSource& source, const QString& festival, int n, QSize size);
// The 20 x 20 decoration laid over navigation buttons on a festival day.
QImage DrawFestivalIcon(const SkinSource& source, const QString& festival);

// The skins page: the frame behind each thumbnail and the picture of an empty user slot.
QImage DrawThumbnailFrame(const SkinSource& source);
QImage DrawAddBackgroundPicture(const SkinSource& source);

// The 48 x 48 row icon of a reminder display state 0..7 (other states get state 0's).
QImage DrawListIcon(const SkinSource& source, int state);

// A clock digit '0'..'9' or the colon ':' of the desktop clock.
QImage DrawClockGlyph(const SkinSource& source, char glyph);

}  // namespace skingen
