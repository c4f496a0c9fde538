#pragma once
// Little-endian fields of the compound file and of BIFF records.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace platform::xls::bytes {

inline void Put8(std::string& out, unsigned v) { out.push_back(static_cast<char>(v & 0xFF)); }
inline void Put16(std::string& out, unsigned v) {
  Put8(out, v);
  Put8(out, v >> 8);
}
inline void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
inline void PutDouble(std::string& out, double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  Put32(out, static_cast<std::uint32_t>(bits));
  Put32(out, static_cast<std::uint32_t>(bits >> 32));
}
inline void Set32(std::string& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Readers: the caller has checked that the bytes are there.
inline unsigned Get8(std::string_view in, std::size_t at) {
  return static_cast<unsigned char>(in[at]);
}
inline unsigned Get16(std::string_view in, std::size_t at) {
  return Get8(in, at) | (Get8(in, at + 1) << 8);
}
inline std::uint32_t Get32(std::string_view in, std::size_t at) {
  return Get16(in, at) | (static_cast<std::uint32_t>(Get16(in, at + 2)) << 16);
}
inline std::uint64_t Get64(std::string_view in, std::size_t at) {
  return Get32(in, at) | (static_cast<std::uint64_t>(Get32(in, at + 4)) << 32);
}
inline double GetDouble(std::string_view in, std::size_t at) {
  std::uint64_t bits = Get64(in, at);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

}  // namespace platform::xls::bytes
