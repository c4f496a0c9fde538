#pragma once
// The settings file (config.ini): a plain INI file of GB18030 text, read one item at a time and
// written one item (or the items of one section that belong together) at a time. Sections and
// keys match without regard to ASCII case; every call reads the file anew and every write
// replaces the whole file atomically, so no state is kept between calls.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace platform::ini {

// A settings file is a few kilobytes; one beyond this size is taken for damaged: it reads as
// having no items and is never written over, so nothing of it is lost.
inline constexpr std::int64_t kFileLimit = 1 << 20;

// False when a file is there at `path` that cannot be read within kFileLimit (too large, not
// a regular file, unreadable); true for a readable file or none.
bool IsReadable(std::string_view path);

// The value of `key` in `section`, without the blanks around it; empty when the file, the
// section or the key is absent. Leading bytes 1-32 of path, section and key are skipped
// (trailing ones of section and key too); an argument left empty by that reads as empty.
std::string ReadItem(std::string_view path, std::string_view section, std::string_view key);

// Sets `key` in `section` to `value`, creating the file, the section and the key as needed;
// other lines stay as they are. Refused (false, file untouched) when the value holds a line
// break, when section or key is empty or holds a line break, when the key holds "=" or the
// section "]". False as well when the file cannot be read or written.
bool WriteItem(std::string_view path, std::string_view section, std::string_view key,
               std::string_view value);

// Sets several items of one section in one write of the file: all of them or, refused as
// above or failing, none.
bool WriteItems(std::string_view path, std::string_view section,
                std::initializer_list<std::pair<std::string_view, std::string_view>> items);

}  // namespace platform::ini
