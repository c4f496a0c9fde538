#include "ui/field_pictures.h"

#include <map>
#include <utility>

#include "platform/image/image.h"

namespace workmemo {

std::string FramedFieldPicture(int width, int height) {
  static std::map<std::pair<int, int>, std::string> made;
  if (width < 1 || height < 1) return {};
  auto [it, fresh] = made.try_emplace({width, height});
  if (!fresh) return it->second;
  constexpr std::uint32_t kWhite = 0xFFFFFFFFu, kGrey = 0xFFA0A0A0u;
  platform::image::Image img;
  img.width = width;
  img.height = height;
  img.pixels.assign(static_cast<std::size_t>(width) * height, kWhite);
  for (int x = 0; x < width; ++x) {
    img.pixels[static_cast<std::size_t>(x)] = kGrey;
    img.pixels[static_cast<std::size_t>(height - 1) * width + x] = kGrey;
  }
  for (int y = 0; y < height; ++y) {
    img.pixels[static_cast<std::size_t>(y) * width] = kGrey;
    img.pixels[static_cast<std::size_t>(y) * width + width - 1] = kGrey;
  }
  it->second = platform::image::EncodePng(img);
  return it->second;
}

}  // namespace workmemo
