// skingen: draws the placeholder skin "Green" (solid pictures with a one-pixel border) for
// every entry the program looks up, and writes the manifest that skinpack packs.
//
//   skingen <output directory>
//
// Writes <output directory>/Green.manifest and the pictures beside it.
#include <QImage>
#include <QString>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>

#include "platform/files/files.h"
#include "platform/text/text.h"
#include "ui/skin_entry_names.h"

namespace {

using workmemo::skin::LookedUpSkinEntry;
using workmemo::skin::SkinEntryKind;
namespace skin = workmemo::skin;

constexpr int kBackgroundCount = 4;
constexpr int kSolidColourCount = 3;

struct Picture {
  int width;
  int height;
  unsigned fill;  // 0xRRGGBB
  unsigned border;
};

const std::map<std::string_view, unsigned>& Colours() {
  static const std::map<std::string_view, unsigned> colours = {
      {skin::kWindowBackgroundColour, 0xE8F5E9}, {skin::kShapeLineColour, 0x5A8F5E},
      {skin::kShapeFillColour, 0xFFFFFF},        {skin::kGradientColour1, 0xE8F5E9},
      {skin::kGradientColour2, 0xC8E6C9},        {skin::kGradientColour3, 0xA5D6A7},
      {skin::kMenuBackgroundColour, 0xF1F8F1},   {skin::kMenuLeftBorderColour, 0xC8E6C9},
      {skin::kMenuSelectionColour, 0x81C784},    {skin::kMenuSeparatorColour, 0xA5D6A7},
  };
  return colours;
}

const std::map<std::string_view, std::string>& Texts() {
  static const std::map<std::string_view, std::string> texts = {
      {skin::kSkinVersion, "1.0"},
      {skin::kSkinName, "绿色"},
      {skin::kBackgroundPictureCount, std::to_string(kBackgroundCount)},
      {skin::kSolidColourPictureCount, std::to_string(kSolidColourCount)},
  };
  return texts;
}

Picture ButtonPicture(const std::string& tag, int state) {
  static const unsigned kStateFill[] = {0x66BB6A, 0x81C784, 0x388E3C};
  unsigned fill = kStateFill[state];
  if (tag == skin::kCheckOnTag) fill = 0x2E7D32;
  static const std::map<std::string_view, std::pair<int, int>> sizes = {
      {"最小化", {30, 18}}, {"关闭", {30, 18}},   {"菜单", {30, 18}},
      {"帮助", {30, 18}},   {"皮肤", {30, 18}},   {"月历标题按钮", {30, 18}},
      {"选择", {16, 16}},   {"选择选中", {16, 16}}, {"下拉", {18, 18}},
      {"下拉透明", {18, 18}}, {"刷新小", {16, 16}}, {"刷新小透明", {16, 16}},
      {"删除小透明", {16, 16}}, {"上一页", {24, 24}}, {"下一页", {24, 24}},
  };
  std::pair<int, int> size = {68, 24};
  if (tag.ends_with("导航")) size = {100, 70};
  if (auto it = sizes.find(tag); it != sizes.end()) size = it->second;
  return {size.first, size.second, fill, 0x1B5E20};
}

// Each background n gets a shade of its own, so that a snapshot tells them apart.
unsigned Shade(unsigned base, int n) {
  const unsigned step = static_cast<unsigned>(n - 1) * 0x0C;
  unsigned r = (base >> 16) & 0xFF, g = (base >> 8) & 0xFF, b = base & 0xFF;
  r = r > step ? r - step : 0;
  g = g > step ? g - step : 0;
  b = b > step ? b - step : 0;
  return (r << 16) | (g << 8) | b;
}

Picture BackgroundPicture(const std::string& base, int n, bool thumbnail) {
  unsigned colour = 0x81C784;
  if (base == skin::kSolidColourPicturePrefix) colour = 0xF1F8E9;
  if (base.starts_with(skin::kChristmas)) colour = 0xEF9A9A;
  if (base.starts_with(skin::kSpringFestival)) colour = 0xFFCC80;
  const unsigned fill = Shade(colour, n);
  return thumbnail ? Picture{200, 140, fill, 0x1B5E20} : Picture{320, 200, fill, fill};
}

Picture PictureFor(const LookedUpSkinEntry& entry) {
  switch (entry.kind) {
    case SkinEntryKind::ButtonPicture:
      return ButtonPicture(entry.base, entry.number);
    case SkinEntryKind::BackgroundPicture:
      return BackgroundPicture(entry.base, entry.number, false);
    case SkinEntryKind::Thumbnail:
      return BackgroundPicture(entry.base, entry.number, true);
    case SkinEntryKind::FestivalIcon:
      return {20, 20, entry.base == skin::kChristmas ? 0xE53935u : 0xFB8C00u, 0x7F0000};
    case SkinEntryKind::ClockPicture:
      return {entry.base == skin::kClockColon ? 7 : 13, 23, 0x1B5E20, 0x0D3311};
    case SkinEntryKind::SkinPagePicture:
      return entry.base == skin::kThumbnailFrame ? Picture{220, 160, 0xFFFFFF, 0x9E9E9E}
                                                 : Picture{200, 140, 0xF5F5F5, 0x9E9E9E};
    default:
      break;
  }
  if (entry.base == skin::kContentRectangle) return {16, 16, 0xFFFFFF, 0xFFFFFF};
  if (entry.base == skin::kOuterHorizontalLine) return {16, 1, 0x2E5E32, 0x2E5E32};
  if (entry.base == skin::kOuterVerticalLine) return {1, 16, 0x2E5E32, 0x2E5E32};
  if (entry.base == skin::kInnerHorizontalLine) return {16, 1, 0xFFFFFF, 0xFFFFFF};
  if (entry.base == skin::kInnerVerticalLine) return {1, 16, 0xFFFFFF, 0xFFFFFF};
  return {20, 20, 0x43A047, 0x1B5E20};  // the window icon
}

bool WritePicture(const Picture& p, const std::string& path) {
  QImage image(p.width, p.height, QImage::Format_RGB32);
  image.fill(QColor::fromRgb(0xFF000000u | p.fill));
  for (int x = 0; x < p.width; ++x) {
    image.setPixel(x, 0, 0xFF000000u | p.border);
    image.setPixel(x, p.height - 1, 0xFF000000u | p.border);
  }
  for (int y = 0; y < p.height; ++y) {
    image.setPixel(0, y, 0xFF000000u | p.border);
    image.setPixel(p.width - 1, y, 0xFF000000u | p.border);
  }
  return image.save(QString::fromUtf8(platform::text::ToUtf8(path).c_str()), "PNG");
}

std::string HexColour(unsigned rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", rgb & 0xFFFFFF);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: skingen <output directory>\n");
    return 2;
  }
  const std::string dir = platform::text::FromUtf8(argv[1]);
  if (!platform::files::MakeDirs(dir)) {
    std::fprintf(stderr, "skingen: cannot create %s\n", argv[1]);
    return 1;
  }
  std::string manifest = "# The placeholder skin \"Green\", written by skingen.\n";
  manifest += platform::text::ToUtf8("产品名称 = text:") + platform::text::ToUtf8(skin::kProductName) + "\n";
  int pictureNumber = 0;
  for (const LookedUpSkinEntry& entry :
       skin::LookedUpSkinEntries(kBackgroundCount, kSolidColourCount)) {
    std::string value;
    if (entry.kind == SkinEntryKind::Colour) {
      auto it = Colours().find(entry.name);
      if (it == Colours().end()) {
        std::fprintf(stderr, "skingen: no colour for %s\n", platform::text::ToUtf8(entry.name).c_str());
        return 1;
      }
      value = "colour:" + HexColour(it->second);
    } else if (entry.kind == SkinEntryKind::Text) {
      auto it = Texts().find(entry.name);
      if (it == Texts().end()) {
        std::fprintf(stderr, "skingen: no text for %s\n", platform::text::ToUtf8(entry.name).c_str());
        return 1;
      }
      value = "text:" + platform::text::ToUtf8(it->second);
    } else {
      char file[24];
      std::snprintf(file, sizeof file, "p%03d.png", ++pictureNumber);
      if (!WritePicture(PictureFor(entry), platform::files::Join(dir, file))) {
        std::fprintf(stderr, "skingen: cannot write %s\n", file);
        return 1;
      }
      value = std::string("file:") + file;
    }
    manifest += platform::text::ToUtf8(entry.name) + " = " + value + "\n";
  }
  if (!platform::files::WriteAll(platform::files::Join(dir, "Green.manifest"), manifest)) {
    std::fprintf(stderr, "skingen: cannot write the manifest\n");
    return 1;
  }
  return 0;
}
