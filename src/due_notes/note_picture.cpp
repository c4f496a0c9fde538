#include "due_notes/note_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/image/image.h"

namespace workmemo {

namespace {

constexpr int kSize = 48;
constexpr std::uint32_t kPaper = 0xFFFFF8DCu;
constexpr std::uint32_t kPaperEdge = 0xFF8C7A55u;
constexpr std::uint32_t kRuling = 0xFF9DBBD8u;
constexpr std::uint32_t kBinding = 0xFF3F7F5Fu;
constexpr std::uint32_t kRing = 0xFF5A5A5Au;
constexpr std::uint32_t kPenBody = 0xFFD9822Bu;
constexpr std::uint32_t kPenEdge = 0xFF7A4410u;
constexpr std::uint32_t kPenTip = 0xFF303030u;

struct Canvas {
  platform::image::Image img;
  Canvas() {
    img.width = kSize;
    img.height = kSize;
    img.pixels.assign(static_cast<std::size_t>(kSize) * kSize, 0u);
  }
  void Set(int x, int y, std::uint32_t colour) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return;
    img.pixels[static_cast<std::size_t>(y) * kSize + x] = colour;
  }
  void Fill(int x0, int y0, int x1, int y1, std::uint32_t colour) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Set(x, y, colour);
  }
  void Frame(int x0, int y0, int x1, int y1, std::uint32_t colour) {
    for (int x = x0; x <= x1; ++x) {
      Set(x, y0, colour);
      Set(x, y1, colour);
    }
    for (int y = y0; y <= y1; ++y) {
      Set(x0, y, colour);
      Set(x1, y, colour);
    }
  }
};

// Distance of (px, py) from the segment (ax, ay)-(bx, by), and where along it the foot lies.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by, double& along) {
  const double dx = bx - ax, dy = by - ay;
  along = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(px - (ax + along * dx), py - (ay + along * dy));
}

}  // namespace

const std::string& NotePicture() {
  static const std::string png = [] {
    Canvas c;
    // The pad: paper with a darker edge, a green binding strip with rings, ruled lines.
    c.Fill(6, 8, 37, 44, kPaper);
    c.Frame(6, 8, 37, 44, kPaperEdge);
    c.Fill(6, 5, 37, 11, kBinding);
    for (int ring = 10; ring <= 34; ring += 6) c.Fill(ring, 3, ring + 1, 8, kRing);
    for (int line = 17; line <= 40; line += 5) c.Fill(10, line, 33, line, kRuling);
    // The pen across the pad's lower right, tip down to the left.
    const double ax = 43, ay = 14, bx = 22, by = 40;
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        double along = 0;
        const double d = SegmentDistance(x + 0.5, y + 0.5, ax, ay, bx, by, along);
        if (along > 0.88 && d <= 2.6 * (1.0 - along) / 0.12 + 0.3) {
          c.Set(x, y, kPenTip);
        } else if (along <= 0.88 && d <= 2.1) {
          c.Set(x, y, kPenBody);
        } else if (along <= 0.88 && d <= 3.0) {
          c.Set(x, y, kPenEdge);
        }
      }
    }
    return platform::image::EncodePng(c.img);
  }();
  return png;
}

}  // namespace workmemo
