#pragma once
// GB18030 text: the program holds every text as GB18030 bytes (GBK for all GBK characters).
// This is the only place that converts to and from UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform::text {

// Conversions; a byte sequence that cannot be converted becomes '?' and the rest is kept.
std::string ToUtf8(std::string_view gb18030);
std::string FromUtf8(std::string_view utf8);

// Bytes of the character that starts at `pos`: 1 for ASCII (and stray bytes), 2 for a
// GBK pair, 4 when the second byte is 0x30-0x39. Never runs past the end of the text.
std::size_t CharLength(std::string_view text, std::size_t pos);

// The largest character boundary not beyond `maxBytes` (walking from the start).
std::size_t CutPoint(std::string_view text, std::size_t maxBytes);

// Whether `pos` falls on a character boundary, walking from the start.
bool IsCharBoundary(std::string_view text, std::size_t pos);

// Position of the first occurrence of `needle` that starts on a character boundary, or npos.
std::size_t FindChars(std::string_view text, std::string_view needle, std::size_t from = 0);

// Number of characters in the text.
std::size_t CharCount(std::string_view text);

// ASCII-only case folding; bytes of multi-byte characters are left untouched.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace platform::text
