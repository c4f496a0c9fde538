#include "platform/image/image.h"
#include "platform/image/qimage_bridge.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include <cstdint>
#include <memory>
#include <string>

namespace {

using platform::image::Decode;
using platform::image::DecodeFrames;
using platform::image::Image;

// A 3 x 2 picture with a distinct colour per pixel, drawn by Qt and saved in `format`.
std::string Fixture(const char* format, bool alpha = false) {
  QImage img(3, 2, QImage::Format_ARGB32);
  const QRgb colours[6] = {qRgba(255, 0, 0, 255), qRgba(0, 255, 0, 255), qRgba(0, 0, 255, 255),
                           qRgba(255, 255, 0, 255), qRgba(0, 255, 255, 255),
                           qRgba(255, 0, 255, alpha ? 128 : 255)};
  for (int i = 0; i < 6; ++i) img.setPixel(i % 3, i / 3, colours[i]);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(img.save(&buffer, format, 100));
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Two 1 x 1 frames (red, then black) of 100 ms each, written out by hand.
const unsigned char kAnimatedGif[] = {
    'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,    // screen 1 x 1, 2-colour table
    0xFF, 0, 0, 0, 0, 0,                                     // red, black
    0x21, 0xF9, 4, 0, 10, 0, 0xFF, 0,                        // 100 ms
    0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0,    // frame: index 0
    0x21, 0xF9, 4, 0, 10, 0, 0xFF, 0,                        // 100 ms
    0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x49, 0x01, 0,    // frame: index 1
    0x3B};

std::string AnimatedGif() { return std::string(reinterpret_cast<const char*>(kAnimatedGif), sizeof kAnimatedGif); }

TEST(ImageDecode, ReadsEveryFormatIntoThirtyTwoBits) {
  struct Case {
    const char* format;
    bool exact;  // JPEG is lossy: colours only near
  };
  for (const Case& c : {Case{"PNG", true}, Case{"BMP", true}, Case{"JPG", false}}) {
    SCOPED_TRACE(c.format);
    const Image img = Decode(Fixture(c.format));
    ASSERT_EQ(img.width, 3);
    ASSERT_EQ(img.height, 2);
    ASSERT_EQ(img.pixels.size(), 6u);
    if (c.exact) {
      EXPECT_EQ(img.at(0, 0), 0xFFFF0000u);
      EXPECT_EQ(img.at(2, 0), 0xFF0000FFu);
      EXPECT_EQ(img.at(1, 1), 0xFF00FFFFu);
    } else {
      EXPECT_EQ(img.at(0, 0) >> 24, 0xFFu);
    }
  }
}

TEST(ImageDecode, PngKeepsItsAlpha) {
  const Image img = Decode(Fixture("PNG", true));
  ASSERT_FALSE(img.empty());
  EXPECT_EQ(img.at(2, 1) >> 24, 128u);
}

TEST(ImageDecode, GifGivesItsFirstFrameAndAllFrames) {
  const Image first = Decode(AnimatedGif());
  ASSERT_EQ(first.width, 1);
  EXPECT_EQ(first.at(0, 0), 0xFFFF0000u);
  const auto frames = DecodeFrames(AnimatedGif());
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1].image.at(0, 0), 0xFF000000u);
  EXPECT_EQ(frames[0].delayMs, 100);
}

TEST(ImageDecode, EmptyOrBrokenBytesAreNoPicture) {
  const std::string png = Fixture("PNG");
  const std::string jpeg = Fixture("JPG");
  const std::string bmp = Fixture("BMP");
  std::string flipped = png;
  flipped[png.size() - 18] ^= 0x55;  // inside the image data, before IEND: checksum fails
  const std::string cases[] = {
      "",
      "not a picture",
      png.substr(0, 8),                  // signature only
      png.substr(0, png.size() / 2),     // cut in the middle
      flipped,
      jpeg.substr(0, 3),
      jpeg.substr(0, jpeg.size() / 3),
      bmp.substr(0, 20),
      AnimatedGif().substr(0, 12),
      std::string("\x89PNG\r\n\x1A\n", 8) + std::string(100, '\xFF'),
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    EXPECT_TRUE(Decode(bytes).empty());
  }
}

// A PNG of `width` x `height` whose header is all there is.
std::string PngHeaderOnly(std::uint32_t width, std::uint32_t height) {
  std::string png = Fixture("PNG");
  for (int i = 0; i < 4; ++i) {
    png[16 + i] = static_cast<char>(width >> (24 - 8 * i));
    png[20 + i] = static_cast<char>(height >> (24 - 8 * i));
  }
  return png.substr(0, 33);
}

TEST(ImageDecode, PicturesTooLargeToHoldAreRefusedBeforeTheyAreRead) {
  // A whole picture of 36 million pixels, one bit each: refused rather than decoded into
  // 144 MB of pixels.
  QImage mono(6000, 6000, QImage::Format_Mono);
  mono.fill(0);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(mono.save(&buffer, "PNG"));
  EXPECT_TRUE(Decode(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()))).empty());
  // Headers alone, asking for 1 GB and for 100 MB: refused before anything is allocated.
  EXPECT_TRUE(Decode(PngHeaderOnly(16000, 16000)).empty());
  EXPECT_TRUE(Decode(PngHeaderOnly(5000, 5000)).empty());
}

TEST(ImageDecode, RowsACutBitmapLacksAreBlackNotStaleMemory) {
  QImage white(16, 16, QImage::Format_RGB32);
  white.fill(Qt::white);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(white.save(&buffer, "BMP"));
  // Rows are stored from the bottom up: the cut takes the top half.
  const Image img = Decode(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()) - 16 * 16 * 2));
  ASSERT_EQ(img.height, 16);
  EXPECT_EQ(img.at(5, 15), 0xFFFFFFFFu);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(img.at(x, y), 0xFF000000u) << x << "," << y;
}

// Top-down 32-bit bitmaps are read directly, not by Qt's reader: each must give what that
// reader gives, whatever the offset of the pixels and the fourth byte of each.
TEST(ImageDecode, TopDownBitmapsReadAsQtReadsThem) {
  struct Case {
    std::uint32_t offset;
    unsigned char fourth;
  };
  for (const Case c : {Case{54, 0xFF}, Case{56, 0x00}, Case{60, 0x7F}, Case{54, 0x00}}) {
    SCOPED_TRACE(c.offset);
    std::string bytes = platform::image::BlankBmp(3, 2);
    bytes.erase(54, 2);  // BlankBmp's pixels start at 56
    bytes.insert(54, c.offset - 54, '\x5A');
    for (int i = 0; i < 4; ++i) bytes[10 + i] = static_cast<char>(c.offset >> (8 * i));
    for (int i = 0; i < 6; ++i) {
      const std::size_t at = c.offset + static_cast<std::size_t>(i) * 4;
      bytes[at] = static_cast<char>(10 * i);
      bytes[at + 1] = static_cast<char>(40 + i);
      bytes[at + 2] = static_cast<char>(200 - i);
      bytes[at + 3] = static_cast<char>(c.fourth);
    }
    const QImage viaQt = QImage::fromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), "BMP")
                             .convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(viaQt.isNull());
    const Image img = Decode(bytes);
    ASSERT_EQ(img.width, 3);
    ASSERT_EQ(img.height, 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(img.at(x, y), viaQt.pixel(x, y)) << x << "," << y;
    // Shown through a shared picture, the same colours, whether the pixels are used in place
    // or copied.
    const QImage shared = platform::image::SharedBitmap(std::make_shared<const std::string>(bytes));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(shared.pixel(x, y), viaQt.pixel(x, y)) << x << "," << y;
  }
}

// A captured area is shown from its own bytes: no second copy of its pixels.
TEST(ImageDecode, OwnBitmapsAreShownInPlace) {
  Image img;
  img.width = 4;
  img.height = 3;
  for (std::uint32_t i = 0; i < 12; ++i) img.pixels.push_back(0xFF000000u | i * 0x010203u);
  auto bytes = std::make_shared<const std::string>(platform::image::EncodeBmp(img));
  const QImage shared = platform::image::SharedBitmap(bytes);
  EXPECT_EQ(reinterpret_cast<const char*>(shared.constBits()), bytes->data() + 56);
  EXPECT_EQ(Decode(*bytes).pixels, img.pixels);
  QImage drawn = shared;
  drawn.setPixel(0, 0, 0xFFFFFFFFu);  // a change is made on a copy
  EXPECT_EQ(shared.pixel(0, 0), img.at(0, 0));
  EXPECT_EQ(Decode(*bytes).pixels, img.pixels);
}

TEST(ImageEncode, BmpAndPngReadBack) {
  const Image img = Decode(Fixture("PNG", true));
  const Image viaPng = Decode(platform::image::EncodePng(img));
  EXPECT_EQ(viaPng.pixels, img.pixels);
  const Image viaBmp = Decode(platform::image::EncodeBmp(img));
  ASSERT_EQ(viaBmp.width, 3);
  EXPECT_EQ(viaBmp.at(0, 0), 0xFFFF0000u);
  EXPECT_EQ(viaBmp.at(2, 1), 0xFFFF00FFu);  // a bitmap has no alpha: opaque
  EXPECT_TRUE(platform::image::EncodeBmp(Image{}).empty());
}

}  // namespace

namespace {

// A 32-bit bitmap of `width` x `rows` (top-down when `topDown`) whose pixel data stops after
// its first row.
std::string ShortBitmap(int width, int rows, bool topDown) {
  std::string out = "BM";
  const auto le = [&out](std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  le(54 + width * 4 * rows, 4);
  le(0, 4);
  le(54, 4);
  le(40, 4);
  le(static_cast<std::uint32_t>(width), 4);
  le(static_cast<std::uint32_t>(topDown ? -rows : rows), 4);
  le(1, 2);
  le(32, 2);
  for (int i = 0; i < 6; ++i) le(0, 4);
  for (int x = 0; x < width; ++x) le(0x00336699u, 4);  // the one row the file holds
  return out;
}

}  // namespace

TEST(ImageDecode, TheRowsAShortBitmapLacksAreBlackInEitherRowOrder) {
  for (bool topDown : {true, false}) {
    SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
    const platform::image::Image picture = platform::image::Decode(ShortBitmap(64, 40, topDown));
    ASSERT_EQ(picture.width, 64);
    ASSERT_EQ(picture.height, 40);
    const int heldRow = topDown ? 0 : 39;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 64; ++x) {
        const std::uint32_t expected = y == heldRow ? 0xFF336699u : 0xFF000000u;
        ASSERT_EQ(picture.at(x, y), expected) << x << "," << y;
      }
    }
  }
}

TEST(ImageDecode, ABitmapWithAnUnknownHeaderSizeANegativeWidthOrPixelsBeyondItsEndIsNoPicture) {
  const auto withField = [](std::size_t at, std::uint32_t value) {
    std::string bytes = ShortBitmap(8, 2, false);
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
  };
  EXPECT_FALSE(platform::image::Decode(withField(14, 40)).empty());  // the sound one reads
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"header size 4", withField(14, 4)},
      {"header size 0x01ff0004", withField(14, 0x01ff0004u)},
      {"header size 44", withField(14, 44)},
      {"header size 0", withField(14, 0)},
      // found by the picture decoders' fuzz target: a 4-byte header and a negative width
      {"fuzzed", std::string("BMV\0\0\277\276\272\0\0(\0\0\0\004\0\0\0\376$\377\377\001\0 \0\0\0@\330 "
                              "\0\0\0\304\016\0\0\0\0\0\0\377bmp\036(\0\377<Zx<x\377", 56)},
      {"negative width", withField(18, static_cast<std::uint32_t>(-8))},
      {"zero height", withField(22, 0)},
      {"pixels beyond the end", withField(10, 0x81322213u)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_TRUE(platform::image::Decode(c.bytes).empty());
    EXPECT_TRUE(platform::image::DecodeFrames(c.bytes).empty());
  }
}
