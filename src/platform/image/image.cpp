#include "platform/image/image.h"

#include <jpeglib.h>
#include <png.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/files/files.h"
#include "platform/image/qimage_bridge.h"

namespace platform::image {
namespace {

// Larger pictures come only from broken or hostile headers; refusing them before anything
// is allocated keeps a bad file from asking for gigabytes. The pixel bound is that of Qt's
// own picture reader: 128 MB of 32-bit pixels.
constexpr int kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = 32LL << 20;

bool SizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

// EncodeBmp's pixels start two bytes after its headers, at a 4-byte boundary, so a picture
// can show them where they lie.
constexpr std::size_t kBmpPixelOffset = 56;

bool StartsWith(std::string_view bytes, std::string_view sig) {
  return bytes.size() >= sig.size() && bytes.compare(0, sig.size(), sig) == 0;
}

Image Blank(int width, int height) {
  Image img;
  if (!SizeAllowed(width, height)) return img;
  img.width = width;
  img.height = height;
  img.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  return img;
}

// --- PNG -------------------------------------------------------------------------------

struct PngSource {
  std::string_view bytes;
  std::size_t pos = 0;
};

void PngRead(png_structp png, png_bytep out, png_size_t length) {
  auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
  if (src->bytes.size() - src->pos < length) png_error(png, "truncated");
  std::memcpy(out, src->bytes.data() + src->pos, length);
  src->pos += length;
}

void PngWarning(png_structp, png_const_charp) {}
void PngErrorExit(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Everything a decode allocates lives here, created before setjmp: a longjmp out of the
// library then skips no destructor.
struct DecodeState {
  Image result;
  std::vector<unsigned char> buffer;
  std::vector<unsigned char*> rows;
};

Image DecodePng(std::string_view bytes) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngErrorExit, PngWarning);
  if (png == nullptr) return {};
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return {};
  }
  PngSource src{bytes, 0};
  auto state = std::make_unique<DecodeState>();
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return {};
  }
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_set_read_fn(png, &src, PngRead);
  png_read_info(png, info);
  // Deflate shrinks at most 1032 to 1, so fewer bytes than that cannot hold the rows.
  const std::uint64_t rawBytes =
      static_cast<std::uint64_t>(png_get_image_height(png, info)) * (png_get_rowbytes(png, info) + 1);
  if (!SizeAllowed(png_get_image_width(png, info), png_get_image_height(png, info)) ||
      rawBytes / 1032 > bytes.size())
    png_error(png, "size");
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const int width = static_cast<int>(png_get_image_width(png, info));
  const int height = static_cast<int>(png_get_image_height(png, info));
  state->result = Blank(width, height);
  if (state->result.empty()) png_error(png, "size");
  state->buffer.resize(static_cast<std::size_t>(width) * height * 4);
  state->rows.resize(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y)
    state->rows[y] = state->buffer.data() + static_cast<std::size_t>(y) * width * 4;
  png_read_image(png, state->rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  Image& out = state->result;
  for (std::size_t i = 0; i < out.pixels.size(); ++i) {
    const unsigned char* p = state->buffer.data() + i * 4;
    out.pixels[i] = (std::uint32_t(p[3]) << 24) | (std::uint32_t(p[0]) << 16) |
                    (std::uint32_t(p[1]) << 8) | p[2];
  }
  return std::move(out);
}

void PngWrite(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void PngFlush(png_structp) {}

// --- JPEG ------------------------------------------------------------------------------

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}
void JpegSilence(j_common_ptr, int) {}

Image DecodeJpeg(std::string_view bytes) {
  jpeg_decompress_struct cinfo;
  JpegError err;
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegErrorExit;
  err.mgr.emit_message = JpegSilence;
  auto state = std::make_unique<DecodeState>();
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return {};
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (!SizeAllowed(cinfo.image_width, cinfo.image_height)) JpegErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
  // A progressive picture keeps all its coefficients in memory; the bound stops a header
  // that asks for more than a picture of the largest size allowed needs.
  cinfo.mem->max_memory_to_use = 512L << 20;
  cinfo.out_color_space = JCS_RGB;  // also turns grey and YCbCr into RGB
  jpeg_start_decompress(&cinfo);
  Image& out = state->result;
  out = Blank(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
  if (out.empty() || cinfo.output_components != 3) JpegErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
  state->buffer.resize(static_cast<std::size_t>(out.width) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    JSAMPROW rowp = state->buffer.data();
    jpeg_read_scanlines(&cinfo, &rowp, 1);
    std::uint32_t* line = out.pixels.data() + static_cast<std::size_t>(y) * out.width;
    for (int x = 0; x < out.width; ++x) {
      const unsigned char* p = state->buffer.data() + x * 3;
      line[x] = 0xFF000000u | (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | p[2];
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return std::move(out);
}

// --- BMP and GIF through Qt ------------------------------------------------------------

QByteArray Bytes(std::string_view bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::int64_t ReadLE(std::string_view bytes, std::size_t at, int size) {
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  if (size == 4) return static_cast<std::int32_t>(value);
  return static_cast<std::int64_t>(value);
}

// An uncompressed bitmap shorter than its header says, padded with zero bytes to its whole
// length: Qt's reader would leave the rows it lacks as whatever memory held (a top-down
// bitmap is read into a picture of its own, so clearing one beforehand does not reach it).
// Only for bitmaps BitmapHeaderKnown let through: their pixels start within the file.
QByteArray PaddedBitmap(std::string_view bytes) {
  QByteArray data = Bytes(bytes);
  if (bytes.size() < 54 || ReadLE(bytes, 14, 4) < 40) return data;
  const std::int64_t offset = static_cast<std::uint32_t>(ReadLE(bytes, 10, 4));
  const std::int64_t width = ReadLE(bytes, 18, 4);
  const std::int64_t height = ReadLE(bytes, 22, 4);
  const std::int64_t bits = ReadLE(bytes, 28, 2);
  const std::int64_t compression = static_cast<std::uint32_t>(ReadLE(bytes, 30, 4));
  const std::int64_t rows = height < 0 ? -height : height;
  if ((compression != 0 && compression != 3) || bits < 1 || bits > 32 || !SizeAllowed(width, rows)) return data;
  // Qt may start the pixels after the header and palette rather than at a damaged offset:
  // counted from the later of the two, with room for the largest palette, every row it reads
  // is there.
  const std::int64_t start = std::max<std::int64_t>(offset, 14 + ReadLE(bytes, 14, 4)) + 1024;
  const std::int64_t whole = start + (width * bits + 31) / 32 * 4 * rows;
  if (whole > static_cast<std::int64_t>(bytes.size()))
    data.append(static_cast<qsizetype>(whole - static_cast<std::int64_t>(bytes.size())), '\0');
  return data;
}

// Where a 32-bit uncompressed bitmap with its rows from the top keeps its pixels: `offset`
// bytes in, `width` * 4 bytes a row. Nothing for any other bytes, or for such a bitmap whose
// pixels do not all lie within its bytes.
struct BitmapPixels {
  int width = 0;
  int height = 0;
  std::size_t offset = 0;
};

std::optional<BitmapPixels> TopDownBitmapPixels(std::string_view bytes) {
  if (bytes.size() < 54 || !StartsWith(bytes, "BM") || ReadLE(bytes, 14, 4) != 40) return std::nullopt;
  if (ReadLE(bytes, 28, 2) != 32 || ReadLE(bytes, 30, 4) != 0) return std::nullopt;
  const std::int64_t width = ReadLE(bytes, 18, 4);
  const std::int64_t height = -ReadLE(bytes, 22, 4);
  const std::int64_t offset = static_cast<std::uint32_t>(ReadLE(bytes, 10, 4));
  if (!SizeAllowed(width, height) || offset < 54) return std::nullopt;
  if (offset + width * height * 4 > static_cast<std::int64_t>(bytes.size())) return std::nullopt;
  return BitmapPixels{static_cast<int>(width), static_cast<int>(height), static_cast<std::size_t>(offset)};
}

// A bitmap's info header is one of the sizes its versions define, its width and height are
// within the picture limits and its pixels start within the file: Qt reads other headers, widths and offsets
// (the offset as a signed number) as best it can, into a picture it does not wholly fill, so
// the same bytes gave different pictures from one read to the next.
bool BitmapHeaderKnown(std::string_view bytes) {
  if (bytes.size() < 26) return false;
  if (static_cast<std::uint32_t>(ReadLE(bytes, 10, 4)) > bytes.size()) return false;
  const std::int64_t headerSize = static_cast<std::uint32_t>(ReadLE(bytes, 14, 4));
  switch (headerSize) {
    case 12: return SizeAllowed(ReadLE(bytes, 18, 2), ReadLE(bytes, 20, 2));
    case 40: case 52: case 56: case 64: case 108: case 124: {
      // Refused here, before Qt: its reader gives no size for some of these and then spends
      // seconds on a picture millions of pixels wide.
      const std::int64_t height = ReadLE(bytes, 22, 4);
      return SizeAllowed(ReadLE(bytes, 18, 4), height < 0 ? -height : height);
    }
    default: return false;
  }
}

std::vector<Frame> DecodeWithQt(std::string_view bytes, const char* format, bool allFrames) {
  QByteArray data = std::string_view(format) == "bmp" ? PaddedBitmap(bytes) : Bytes(bytes);
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setDecideFormatFromContent(false);
  const QSize size = reader.size();
  if (size.isValid() && !SizeAllowed(size.width(), size.height())) return {};
  std::vector<Frame> frames;
  for (;;) {
    // Qt's readers fill the picture they are given when its size and format fit, and leave
    // alone what a short or damaged file does not cover: cleared first, that is black
    // rather than whatever memory held before.
    QImage img;
    if (reader.imageFormat() != QImage::Format_Invalid && size.isValid()) {
      img = QImage(size, reader.imageFormat());
      img.fill(0);
    }
    if (!reader.read(&img)) break;
    Image decoded = FromQImage(img);
    if (decoded.empty()) break;
    frames.push_back(Frame{std::move(decoded), reader.nextImageDelay()});
    if (!allFrames || !reader.supportsAnimation() || !reader.canRead()) break;
  }
  return frames;
}

std::vector<Frame> DecodeAll(std::string_view bytes, bool allFrames) {
  switch (Sniff(bytes)) {
    case Format::Png: {
      Image img = DecodePng(bytes);
      if (img.empty()) return {};
      return {Frame{std::move(img), 0}};
    }
    case Format::Jpeg: {
      Image img = DecodeJpeg(bytes);
      if (img.empty()) return {};
      return {Frame{std::move(img), 0}};
    }
    case Format::Bmp: {
      if (!BitmapHeaderKnown(bytes)) return {};
      // The form captured areas take is read directly: no reader, no padded copy.
      if (const std::optional<BitmapPixels> plain = TopDownBitmapPixels(bytes)) {
        Image img = Blank(plain->width, plain->height);
        std::memcpy(img.pixels.data(), bytes.data() + plain->offset, img.pixels.size() * 4);
        for (std::uint32_t& px : img.pixels) px |= 0xFF000000u;  // the fourth byte is not alpha
        return {Frame{std::move(img), 0}};
      }
      return DecodeWithQt(bytes, "bmp", false);
    }
    case Format::Gif: return DecodeWithQt(bytes, "gif", allFrames);
    case Format::None: break;
  }
  return {};
}

void PutLE(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

Format Sniff(std::string_view bytes) {
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) return Format::Png;
  if (StartsWith(bytes, "\xFF\xD8\xFF")) return Format::Jpeg;
  if (StartsWith(bytes, "BM")) return Format::Bmp;
  if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return Format::Gif;
  return Format::None;
}

Image Decode(std::string_view bytes) {
  std::vector<Frame> frames = DecodeAll(bytes, false);
  if (frames.empty()) return {};
  return std::move(frames.front().image);
}

std::vector<Frame> DecodeFrames(std::string_view bytes) { return DecodeAll(bytes, true); }

std::string EncodeBmp(const Image& image) {
  if (image.empty()) return {};
  std::string out = BlankBmp(image.width, image.height);
  if (out.empty()) return out;
  char* at = out.data() + kBmpPixelOffset;
  for (std::uint32_t px : image.pixels) {
    px |= 0xFF000000u;  // B G R, then 0xFF
    std::memcpy(at, &px, 4);
    at += 4;
  }
  return out;
}

std::string BlankBmp(int width, int height) {
  if (!SizeAllowed(width, height)) return {};
  const std::uint32_t rowBytes = static_cast<std::uint32_t>(width) * 4;
  const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(height);
  std::string out;
  out.reserve(kBmpPixelOffset + dataBytes);
  out += "BM";
  PutLE(out, static_cast<std::uint32_t>(kBmpPixelOffset) + dataBytes, 4);
  PutLE(out, 0, 4);
  PutLE(out, static_cast<std::uint32_t>(kBmpPixelOffset), 4);
  PutLE(out, 40, 4);  // BITMAPINFOHEADER
  PutLE(out, static_cast<std::uint32_t>(width), 4);
  PutLE(out, static_cast<std::uint32_t>(-height), 4);  // negative: rows from the top
  PutLE(out, 1, 2);
  PutLE(out, 32, 2);
  PutLE(out, 0, 4);  // BI_RGB
  PutLE(out, dataBytes, 4);
  PutLE(out, 3780, 4);  // 96 DPI
  PutLE(out, 3780, 4);
  PutLE(out, 0, 4);
  PutLE(out, 0, 4);
  out.resize(kBmpPixelOffset + dataBytes, '\0');
  for (std::size_t i = kBmpPixelOffset + 3; i < out.size(); i += 4) out[i] = '\xFF';
  return out;
}

Image Scaled(const Image& image, int width, int height) {
  if (image.empty() || width <= 0 || height <= 0) return {};
  return FromQImage(
      ToQImage(image).scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

Image Brightened(const Image& image, int percent) {
  Image out = image;
  if (percent == 0) return out;
  const auto raise = [percent](std::uint32_t channel) -> std::uint32_t {
    const std::uint32_t raised = channel + channel * static_cast<std::uint32_t>(percent) / 100;
    return raised > 255 ? 255 : raised;
  };
  for (std::uint32_t& p : out.pixels) {
    p = (p & 0xFF000000u) | (raise((p >> 16) & 0xFF) << 16) | (raise((p >> 8) & 0xFF) << 8) | raise(p & 0xFF);
  }
  return out;
}

std::string EncodePng(const Image& image) {
  if (image.empty()) return {};
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngErrorExit, PngWarning);
  if (png == nullptr) return {};
  png_infop info = png_create_info_struct(png);
  std::vector<png_byte> rgba(image.pixels.size() * 4);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    const std::uint32_t px = image.pixels[i];
    rgba[i * 4 + 0] = static_cast<png_byte>(px >> 16);
    rgba[i * 4 + 1] = static_cast<png_byte>(px >> 8);
    rgba[i * 4 + 2] = static_cast<png_byte>(px);
    rgba[i * 4 + 3] = static_cast<png_byte>(px >> 24);
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
  for (int y = 0; y < image.height; ++y) rows[y] = rgba.data() + static_cast<std::size_t>(y) * image.width * 4;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    return {};
  }
  png_set_write_fn(png, &out, PngWrite, PngFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

QImage ToQImage(const Image& image) {
  if (image.empty()) return {};
  QImage out(image.width, image.height, QImage::Format_ARGB32);
  for (int y = 0; y < image.height; ++y)
    std::memcpy(out.scanLine(y), image.pixels.data() + static_cast<std::size_t>(y) * image.width,
                static_cast<std::size_t>(image.width) * 4);
  return out;
}

Image FromQImage(const QImage& source) {
  if (source.isNull()) return {};
  QImage img = source.convertToFormat(QImage::Format_ARGB32);
  Image out = Blank(img.width(), img.height());
  if (out.empty()) return out;
  for (int y = 0; y < img.height(); ++y)
    std::memcpy(out.pixels.data() + static_cast<std::size_t>(y) * out.width, img.constScanLine(y),
                static_cast<std::size_t>(out.width) * 4);
  return out;
}

QImage DecodeToQImage(std::string_view bytes) { return ToQImage(Decode(bytes)); }

namespace {
// The pixels of an EncodeBmp-form bitmap as Format_RGB32 rows, when they can be used in place:
// at a 4-byte boundary in memory and every fourth byte 0xFF, as Format_RGB32 requires.
const uchar* PixelsInPlace(std::string_view bytes, BitmapPixels& where) {
  const std::optional<BitmapPixels> plain = TopDownBitmapPixels(bytes);
  if (!plain) return nullptr;
  const auto* pixels = reinterpret_cast<const uchar*>(bytes.data() + plain->offset);
  if (reinterpret_cast<std::uintptr_t>(pixels) % 4 != 0) return nullptr;
  where = *plain;
  return pixels;
}

void ReleaseBytes(void* held) { delete static_cast<std::shared_ptr<const std::string>*>(held); }
}  // namespace

QImage SharedBitmap(std::shared_ptr<const std::string> bytes) {
  if (!bytes) return {};
  BitmapPixels where;
  const uchar* pixels = PixelsInPlace(*bytes, where);
  if (pixels != nullptr) {
    const std::size_t count = static_cast<std::size_t>(where.width) * where.height;
    bool opaque = true;
    for (std::size_t i = 0; i < count && opaque; ++i) opaque = pixels[i * 4 + 3] == 0xFF;
    if (opaque) {
      return QImage(pixels, where.width, where.height, static_cast<qsizetype>(where.width) * 4,
                    QImage::Format_RGB32, ReleaseBytes, new std::shared_ptr<const std::string>(bytes));
    }
  }
  return DecodeToQImage(*bytes);
}

QImage DrawableBitmap(std::string& bytes) {
  BitmapPixels where;
  if (PixelsInPlace(bytes, where) == nullptr) return {};
  return QImage(reinterpret_cast<uchar*>(bytes.data() + where.offset), where.width, where.height,
                static_cast<qsizetype>(where.width) * 4, QImage::Format_RGB32);
}

std::string EncodeBmp(const QImage& image, QRect area) {
  area = area.intersected(image.rect());
  if (area.isEmpty()) return {};
  if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32)
    return EncodeBmp(image.copy(area).convertToFormat(QImage::Format_ARGB32), QRect(QPoint(), area.size()));
  std::string out = BlankBmp(area.width(), area.height());
  if (out.empty()) return out;
  char* at = out.data() + kBmpPixelOffset;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y)) + area.left();
    for (int x = 0; x < area.width(); ++x) {
      const std::uint32_t px = row[x] | 0xFF000000u;
      std::memcpy(at, &px, 4);
      at += 4;
    }
  }
  return out;
}

std::string ReadPictureFile(std::string_view path) {
  return files::ReadAll(path, kPictureFileLimit).value_or(std::string());
}

}  // namespace platform::image
