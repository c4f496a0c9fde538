// skingen: draws the skin "Green" from its source file and writes the manifest that skinpack
// packs: every entry the program looks up, pictures at the sizes the windows draw them.
//
//   skingen <source.json> <output directory> [--sheet <contact sheet.png>] [--icons <dir>]
//
// Writes <output directory>/Green.manifest and the pictures beside it; --sheet also draws a
// contact sheet of the pictures for looking at, --icons the program icon at 16, 24, 32 and
// 48 pixels as workmemo-<size>.png.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QString>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>

#include "platform/files/files.h"
#include "platform/text/text.h"
#include "skingen_art.h"
#include "skingen_sheet.h"
#include "ui/skin_entry_names.h"

namespace {

using workmemo::skin::LookedUpSkinEntry;
using workmemo::skin::SkinEntryKind;
namespace skin = workmemo::skin;
using skingen::SkinSource;

QString Q(std::string_view gb18030) { return QString::fromStdString(platform::text::ToUtf8(gb18030)); }

void Warn(const std::string& message) { std::fprintf(stderr, "skingen: %s\n", message.c_str()); }

// The festival whose pictures a background prefix ("圣诞图片") names; empty for none.
std::string_view FestivalOf(std::string_view prefix) {
  for (std::string_view festival : skin::kFestivals) {
    if (prefix.starts_with(festival)) return festival;
  }
  return {};
}

QImage BackgroundFor(const SkinSource& source, const LookedUpSkinEntry& entry, QSize size) {
  if (entry.base == skin::kSolidColourPicturePrefix) return skingen::DrawSolidColourPicture(source, entry.number, size);
  if (std::string_view festival = FestivalOf(entry.base); !festival.empty()) {
    return skingen::DrawFestivalPicture(source, Q(festival), entry.number, size);
  }
  return skingen::DrawBackground(source, entry.number, size);
}

QImage PictureFor(const SkinSource& source, const LookedUpSkinEntry& entry) {
  const QJsonObject frame = source.Object("frame");
  switch (entry.kind) {
    case SkinEntryKind::ButtonPicture: {
      bool known = false;
      const skingen::ButtonSpec spec = skingen::ButtonSpecFor(source, Q(entry.base), &known);
      if (!known) Warn("no button style for " + platform::text::ToUtf8(entry.base) + ", drawn as a captioned button");
      return skingen::DrawButton(source, spec, static_cast<skingen::ButtonState>(entry.number));
    }
    case SkinEntryKind::BackgroundPicture:
      // A plain colour is exact at any size, so its picture stays small; the others are
      // soft enough to be stretched over every window.
      return BackgroundFor(source, entry,
                           entry.base == skin::kSolidColourPicturePrefix ? QSize(16, 16) : source.Size("backgroundSize"));
    case SkinEntryKind::Thumbnail:
      return BackgroundFor(source, entry, source.Size("thumbnailSize"));
    case SkinEntryKind::FestivalIcon:
      return skingen::DrawFestivalIcon(source, Q(entry.base));
    case SkinEntryKind::ClockPicture:
      return skingen::DrawClockGlyph(source, entry.base == skin::kClockColon ? ':' : entry.base[0]);
    case SkinEntryKind::ListIcon:
      return skingen::DrawListIcon(source, entry.number);
    case SkinEntryKind::SkinPagePicture:
      return entry.base == skin::kThumbnailFrame ? skingen::DrawThumbnailFrame(source)
                                                 : skingen::DrawAddBackgroundPicture(source);
    default:
      break;
  }
  if (entry.base == skin::kContentRectangle) return skingen::DrawSolid(QSize(8, 8), source.Colour(frame.value("rectangle").toString()));
  const QColor outer = source.Colour(frame.value("outerLine").toString());
  const QColor inner = source.Colour(frame.value("innerLine").toString());
  if (entry.base == skin::kOuterHorizontalLine) return skingen::DrawSolid(QSize(16, 1), outer);
  if (entry.base == skin::kOuterVerticalLine) return skingen::DrawSolid(QSize(1, 16), outer);
  if (entry.base == skin::kInnerHorizontalLine) return skingen::DrawSolid(QSize(16, 1), inner);
  if (entry.base == skin::kInnerVerticalLine) return skingen::DrawSolid(QSize(1, 16), inner);
  if (entry.base != skin::kIcon) Warn("no picture kind for " + platform::text::ToUtf8(entry.base) + ", drawn as the icon");
  return skingen::DrawProgramIcon(20);
}

bool Save(const QImage& image, const std::string& path) {
  return image.convertToFormat(QImage::Format_ARGB32).save(QString::fromStdString(platform::text::ToUtf8(path)), "PNG");
}

std::string HexColour(const QColor& colour) { return colour.name(QColor::HexRgb).toUpper().toStdString(); }

struct Options {
  std::string source, outDir, sheet, iconDir;
};

bool ParseArguments(int argc, char** argv, Options* options) {
  if (argc < 3) return false;
  options->source = argv[1];
  options->outDir = argv[2];
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string_view flag = argv[i];
    if (flag == "--sheet") options->sheet = argv[i + 1];
    else if (flag == "--icons") options->iconDir = argv[i + 1];
    else return false;
  }
  return (argc - 3) % 2 == 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, &options)) {
    std::fprintf(stderr, "usage: skingen <source.json> <output directory> [--sheet <png>] [--icons <dir>]\n");
    return 2;
  }
  QGuiApplication app(argc, argv);  // fonts for the captions
  QFile file(QString::fromStdString(options.source));
  QJsonParseError error;
  const QJsonDocument document =
      file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll(), &error) : QJsonDocument();
  if (!document.isObject()) {
    Warn("cannot read the skin source " + options.source);
    return 1;
  }
  const SkinSource source(document.object());
  const std::string dir = platform::text::FromUtf8(options.outDir);
  if (!platform::files::MakeDirs(dir)) {
    Warn("cannot create " + options.outDir);
    return 1;
  }
  const int backgrounds = source.Int("backgroundPictures", 4);
  const int solidColours = source.Int("solidColourPictures", 1);
  const std::map<std::string_view, std::string> texts = {
      {skin::kSkinVersion, source.Text("version").toStdString()},
      {skin::kSkinName, source.Text("name").toStdString()},
      {skin::kBackgroundPictureCount, std::to_string(backgrounds)},
      {skin::kSolidColourPictureCount, std::to_string(solidColours)},
  };
  const QJsonObject colours = source.Object("colourEntries");

  std::string manifest = "# The skin \"Green\", drawn by skingen from resources/skin/Green.json.\n";
  manifest += platform::text::ToUtf8("产品名称 = text:") + platform::text::ToUtf8(skin::kProductName) + "\n";
  std::map<QString, QImage> pictures;
  int pictureNumber = 0;
  for (const LookedUpSkinEntry& entry : skin::LookedUpSkinEntries(backgrounds, solidColours)) {
    std::string value;
    const std::string utf8Name = platform::text::ToUtf8(entry.name);
    if (entry.kind == SkinEntryKind::Colour) {
      // A colour the source does not name yet takes the window colour and a warning, so
      // that a name added to the code never stops the build.
      QColor colour = source.Colour("body");
      if (!source.Colour(colours.value(QString::fromStdString(utf8Name)).toString(), &colour)) {
        Warn("no colour for " + utf8Name + " in the skin source, the window colour serves");
      }
      value = "colour:" + HexColour(colour);
    } else if (entry.kind == SkinEntryKind::Text) {
      auto it = texts.find(entry.name);
      if (it == texts.end()) {
        Warn("no text for " + utf8Name);
        return 1;
      }
      value = "text:" + it->second;
    } else {
      char name[24];
      std::snprintf(name, sizeof name, "p%03d.png", ++pictureNumber);
      const QImage picture = PictureFor(source, entry);
      if (!Save(picture, platform::files::Join(dir, name))) {
        Warn(std::string("cannot write ") + name);
        return 1;
      }
      pictures[QString::fromStdString(utf8Name)] = picture;
      value = std::string("file:") + name;
    }
    manifest += utf8Name + " = " + value + "\n";
  }
  if (!platform::files::WriteAll(platform::files::Join(dir, "Green.manifest"), manifest)) {
    Warn("cannot write the manifest");
    return 1;
  }
  if (!options.iconDir.empty()) {
    const std::string iconDir = platform::text::FromUtf8(options.iconDir);
    if (!platform::files::MakeDirs(iconDir)) return 1;
    for (int size : {16, 24, 32, 48}) {
      if (!Save(skingen::DrawProgramIcon(size), platform::files::Join(iconDir, "workmemo-" + std::to_string(size) + ".png"))) {
        Warn("cannot write the icons");
        return 1;
      }
    }
  }
  if (!options.sheet.empty() &&
      !skingen::DrawContactSheet(source, pictures).save(QString::fromStdString(options.sheet), "PNG")) {
    Warn("cannot write " + options.sheet);
    return 1;
  }
  return 0;
}
