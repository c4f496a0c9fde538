#pragma once
// Read-only resources compiled into the executable (templates, skin package, database
// images, pictures, help texts), by their resource path such as ":/db/dstx2.dat".
#include <optional>
#include <string>
#include <string_view>

namespace platform::files {

std::optional<std::string> ReadResource(std::string_view resourcePath);

}  // namespace platform::files
