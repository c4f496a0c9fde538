#pragma once
// Decoding of the pictures that skins, windows and animation boxes show. Every picture
// becomes a 32-bit image; empty or undecodable bytes are "no picture", never an error.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::image {

// A 32-bit picture: pixels row by row from the top, each 0xAARRGGBB, not premultiplied.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  bool empty() const { return width <= 0 || height <= 0; }
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

enum class Format { None, Png, Jpeg, Bmp, Gif };

// The format the bytes announce by their signature; None for anything else.
Format Sniff(std::string_view bytes);

// The picture, or an empty Image ("no picture") for empty, unknown or broken bytes.
// An animated GIF gives its first frame.
Image Decode(std::string_view bytes);

// One frame of an animation and how long it stays, in milliseconds.
struct Frame {
  Image image;
  int delayMs = 0;
};

// Every frame of a GIF (one frame for a still picture of any format); empty for no picture.
std::vector<Frame> DecodeFrames(std::string_view bytes);

// A picture file the user chose (a background, for instance) is read whole only when it is
// a regular file of at most this size; anything else is "no picture".
inline constexpr std::int64_t kPictureFileLimit = 32 << 20;
// The bytes of that picture file, or empty bytes ("no picture").
std::string ReadPictureFile(std::string_view path);

// A picture as bytes that Decode reads back: a 32-bit bitmap (BMP) without alpha, its rows
// from the top and its pixels at a 4-byte boundary, the form in which surfaces hand out
// captured areas. Pictures in this form can be shown straight from their bytes.
std::string EncodeBmp(const Image& image);
// A bitmap of EncodeBmp's form, opaque black, for drawing straight into its pixels; empty
// for a size no picture may have.
std::string BlankBmp(int width, int height);

// The picture stretched smoothly to width x height; empty for an empty picture.
Image Scaled(const Image& image, int width, int height);
// The picture with every colour channel raised by `percent` per cent of its value, clamped
// at 255; alpha unchanged. 0 gives the picture as it is.
Image Brightened(const Image& image, int percent);

// A picture as PNG bytes with its alpha channel; empty bytes when the image is empty.
std::string EncodePng(const Image& image);

}  // namespace platform::image
