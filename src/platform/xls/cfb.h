#pragma once
// OLE2 compound files: the container of an .xls workbook's "Workbook" stream.
#include <string>
#include <string_view>

namespace platform::xls::cfb {

// A version-3 compound file (512-byte sectors) whose root storage holds one stream named
// `name` (ASCII). Streams shorter than 4096 bytes are padded with zeros up to that size, so
// the file needs no mini stream.
std::string Build(std::string_view name, std::string_view stream);

enum class ReadStatus { Ok, NotCompoundFile, Damaged, NotFound };

// The stream of the root storage named `name` (ASCII, case ignored). Every sector chain is
// checked against cycles and sectors beyond the file.
ReadStatus ReadStream(std::string_view file, std::string_view name, std::string& stream);

}  // namespace platform::xls::cfb
