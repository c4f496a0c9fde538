// Any bytes given to the picture decoders (PNG, JPEG, BMP, GIF) end in a picture or in "no
// picture", never a crash, a hang or a huge allocation; a picture has a pixel for every
// position, its first frame is the picture, and it survives the program's own encoders.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/image/image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace image = platform::image;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const image::Image picture = image::Decode(bytes);
  const auto whole = [](const image::Image& p) {
    return p.empty() ? p.pixels.empty() : p.pixels.size() == static_cast<std::size_t>(p.width) * p.height;
  };
  if (!whole(picture)) __builtin_trap();
  const auto frames = image::DecodeFrames(bytes);
  if (frames.empty() != picture.empty()) __builtin_trap();
  for (const image::Frame& f : frames)
    if (f.image.empty() || !whole(f.image)) __builtin_trap();
  if (!frames.empty() && frames.front().image.pixels != picture.pixels) __builtin_trap();

  if (picture.empty() || picture.pixels.size() > (1u << 16)) return 0;
  if (image::Decode(image::EncodePng(picture)).pixels != picture.pixels) __builtin_trap();
  const image::Image bmp = image::Decode(image::EncodeBmp(picture));
  for (std::size_t i = 0; i < picture.pixels.size(); ++i)
    if (bmp.pixels.size() != picture.pixels.size() || bmp.pixels[i] != (picture.pixels[i] | 0xFF000000u))
      __builtin_trap();
  return 0;
}
