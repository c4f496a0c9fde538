// Any bytes read as a skin package file (enciphered as a whole) end in entries or a refusal,
// never a crash; entries always come in pairs of a name and data.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ui/skin_package.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto contents = workmemo::ReadSkinPackage(std::string_view(reinterpret_cast<const char*>(data), size));
  if (contents && (contents->names.size() != contents->data.size() || contents->names.size() < 2)) __builtin_trap();
  return 0;
}
