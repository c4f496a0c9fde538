// The list's own pictures, drawn once in code and kept as PNG bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/image/image.h"
#include "ui/skin_list_view_box.h"

namespace workmemo {

namespace {

using platform::image::Image;

struct Rgb {
  int r, g, b;
};

std::uint32_t Argb(Rgb c, int alpha = 255) {
  return (std::uint32_t(alpha) << 24) | (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) |
         std::uint32_t(c.b);
}

Rgb Mix(Rgb from, Rgb to, double t) {
  auto m = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
  return {m(from.r, to.r), m(from.g, to.g), m(from.b, to.b)};
}

Image Blank(int w, int h, std::uint32_t argb = 0) {
  Image img;
  img.width = w;
  img.height = h;
  img.pixels.assign(static_cast<std::size_t>(w) * h, argb);
  return img;
}

void Put(Image& img, int x, int y, std::uint32_t argb) {
  img.pixels[static_cast<std::size_t>(y) * img.width + x] = argb;
}

std::string Png(const Image& img) { return platform::image::EncodePng(img); }

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// A chevron three pixels thick on a transparent 20 x 20 ground, pointing up or down.
std::string Chevron(Rgb colour, bool up) {
  Image img = Blank(20, 20);
  const double tip = up ? 6.5 : 13.5, foot = up ? 13.5 : 6.5;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double d = std::min(SegmentDistance(px, py, 3.5, foot, 10, tip),
                                SegmentDistance(px, py, 10, tip, 16.5, foot));
      if (d <= 1.6) Put(img, x, y, Argb(colour));
    }
  return Png(img);
}

// A 20 x 25 block with a one-pixel frame, its inside brightening towards the centre.
std::string Thumb(Rgb frame, Rgb glow) {
  Image img = Blank(20, 25);
  for (int y = 0; y < 25; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool edge = x == 0 || y == 0 || x == 19 || y == 24;
      const double t = 1.0 - std::max(std::abs(x - 9.5) / 9.5, std::abs(y - 12) / 12.0);
      Put(img, x, y, Argb(edge ? frame : Mix(frame, glow, std::min(1.0, t * 1.6))));
    }
  return Png(img);
}

// A downward triangle on a transparent 12 x 12 ground.
std::string DropTriangle(Rgb colour) {
  Image img = Blank(12, 12);
  for (int row = 0; row < 5; ++row)
    for (int x = 1 + row; x <= 10 - row; ++x) Put(img, x, 3 + row, Argb(colour));
  return Png(img);
}

ListPictures Draw() {
  ListPictures p;
  p.selection = Png(Blank(2, 2, Argb({255, 217, 162}, 128)));
  p.rowLine = Png(Blank(1000, 1, Argb({180, 180, 180})));
  Image band = Blank(1000, 26);
  for (int y = 0; y < 26; ++y) {
    const std::uint32_t c = Argb(Mix({180, 180, 180}, {239, 239, 239}, y / 25.0), 128);
    std::fill_n(band.pixels.begin() + static_cast<std::ptrdiff_t>(y) * 1000, 1000, c);
  }
  p.headerBand = Png(band);
  p.columnLine = Png(Blank(1, 1000, Argb({180, 180, 180})));
  p.clear = Png(Blank(2, 2, Argb({255, 255, 255}, 3)));
  p.rowHover = Png(Blank(2, 2, Argb({0, 204, 255}, 46)));
  Image track = Blank(26, 300);
  for (int x = 0; x < 26; ++x) {
    const std::uint32_t c = Argb(Mix({214, 214, 214}, {129, 127, 127}, std::abs(x - 12.5) / 12.5));
    for (int y = 0; y < 300; ++y) Put(track, x, y, c);
  }
  p.track = Png(track);
  const Rgb states[3] = {{128, 128, 128}, {255, 126, 39}, {16, 222, 16}};
  for (int i = 0; i < 3; ++i) {
    p.up[i] = Chevron(states[i], true);
    p.down[i] = Chevron(states[i], false);
  }
  p.thumb[0] = Thumb({31, 154, 206}, {125, 255, 250});
  p.thumb[1] = Thumb({178, 136, 8}, {254, 246, 31});
  p.thumb[2] = Thumb({46, 165, 50}, {184, 255, 191});
  p.dropButton[0] = DropTriangle({120, 120, 120});
  p.dropButton[1] = DropTriangle({255, 138, 0});
  p.dropButton[2] = DropTriangle({0, 185, 9});
  return p;
}

}  // namespace

const ListPictures& EmbeddedListPictures() {
  static const ListPictures pictures = Draw();
  return pictures;
}

}  // namespace workmemo
