#include "platform/text/text.h"

#include <iconv.h>

#include <cerrno>

namespace platform::text {
namespace {

// One converter per direction and thread: opening iconv costs more than most conversions.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

bool IsAscii(std::string_view in) {
  for (const char c : in)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::string Convert(const Converter& converter, std::string_view in) {
  if (in.empty()) return {};
  // ASCII has the same bytes in UTF-8 and GB18030; most stored texts (dates, codes, names of
  // files) are nothing else.
  if (IsAscii(in)) return std::string(in);
  if (!converter.ok()) return std::string(in);
  // Converted into a buffer the thread keeps, then handed out at its exact length: a loaded
  // list of thousands of texts holds no slack, and no buffer is allocated and cleared per text.
  thread_local std::string buffer;
  if (buffer.size() < in.size() * 4 + 16) buffer.resize(in.size() * 4 + 16);
  iconv_t cd = converter.get();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  char* dst = buffer.data();
  std::size_t dstLeft = buffer.size();
  const auto grow = [&] {
    const std::size_t used = static_cast<std::size_t>(dst - buffer.data());
    buffer.resize(buffer.size() * 2);
    dst = buffer.data() + used;
    dstLeft = buffer.size() - used;
  };
  while (srcLeft > 0) {
    std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    if (r != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      grow();
      continue;
    }
    // Invalid or incomplete input: write '?' and skip one byte.
    if (dstLeft == 0) grow();
    *dst++ = '?';
    --dstLeft;
    ++src;
    --srcLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  std::string out(buffer.data(), static_cast<std::size_t>(dst - buffer.data()));
  // A very long text leaves no large buffer behind.
  if (buffer.size() > (std::size_t{1} << 16)) std::string().swap(buffer);
  return out;
}

}  // namespace

std::string ToUtf8(std::string_view gb18030) {
  thread_local Converter converter("UTF-8", "GB18030");
  return Convert(converter, gb18030);
}

std::string FromUtf8(std::string_view utf8) {
  thread_local Converter converter("GB18030", "UTF-8");
  return Convert(converter, utf8);
}

std::size_t CharLength(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  auto b = static_cast<unsigned char>(text[pos]);
  if (b < 0x81 || b > 0xFE) return 1;
  if (pos + 1 >= text.size()) return 1;
  auto b2 = static_cast<unsigned char>(text[pos + 1]);
  if (b2 >= 0x30 && b2 <= 0x39) return pos + 4 <= text.size() ? 4 : text.size() - pos;
  return 2;
}

std::size_t CutPoint(std::string_view text, std::size_t maxBytes) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t n = CharLength(text, pos);
    if (pos + n > maxBytes) break;
    pos += n;
  }
  return pos;
}

bool IsCharBoundary(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return pos == text.size();
  std::size_t p = 0;
  while (p < pos) p += CharLength(text, p);
  return p == pos;
}

std::size_t FindChars(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
  std::size_t p = 0;
  while (p < from && p < text.size()) p += CharLength(text, p);
  for (; p + needle.size() <= text.size(); p += CharLength(text, p)) {
    if (text.compare(p, needle.size(), needle) == 0) return p;
  }
  return std::string_view::npos;
}

std::size_t CharCount(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t p = 0; p < text.size(); p += CharLength(text, p)) ++n;
  return n;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (std::size_t p = 0; p < out.size();) {
    std::size_t n = CharLength(out, p);
    if (n == 1 && out[p] >= 'A' && out[p] <= 'Z') out[p] = static_cast<char>(out[p] - 'A' + 'a');
    p += n;
  }
  return out;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (std::size_t p = 0; p < out.size();) {
    std::size_t n = CharLength(out, p);
    if (n == 1 && out[p] >= 'a' && out[p] <= 'z') out[p] = static_cast<char>(out[p] - 'a' + 'A');
    p += n;
  }
  return out;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  // Column lookups call this for every field read, so it allocates nothing.
  if (a.size() != b.size()) return false;
  for (std::size_t p = 0; p < a.size();) {
    std::size_t n = CharLength(a, p);
    if (n != CharLength(b, p)) return false;
    if (n == 1) {
      char x = a[p], y = b[p];
      if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
      if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
      if (x != y) return false;
    } else if (a.compare(p, n, b, p, n) != 0) {
      return false;
    }
    p += n;
  }
  return true;
}

}  // namespace platform::text
