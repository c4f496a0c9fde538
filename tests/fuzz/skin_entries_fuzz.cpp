// Any deciphered package bytes split into entries or are refused; an accepted package has at
// least two entries, none with empty data or a separator inside, and the product-name test
// looks only at the first entry.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ui/skin_package.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view plain(reinterpret_cast<const char*>(data), size);
  const auto contents = workmemo::SplitSkinPackage(plain);
  if (!contents) return 0;
  if (contents->names.size() != contents->data.size() || contents->names.size() < 2) __builtin_trap();
  for (std::size_t i = 0; i < contents->data.size(); ++i) {
    const std::string& d = contents->data[i];
    if (d.empty() || d.find(workmemo::kSkinEntrySeparator) != std::string::npos ||
        d.find(workmemo::kSkinNameSeparator) != std::string::npos)
      __builtin_trap();
  }
  const std::string& first = contents->data.front();
  if (!workmemo::CarriesProductName(*contents, first.substr(0, first.find('\0')))) __builtin_trap();
  return 0;
}
