#include "common/digest.h"

#include <array>
#include <cstdint>

namespace workmemo {
namespace {

constexpr std::size_t kMaxInput = 0x10000000;

// Additive constants T[i] = floor(|sin(i)| * 2^32) and the per-step shifts.
constexpr std::array<std::uint32_t, 64> kT = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
    0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
    0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
    0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
    0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
    0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
    0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
    0xeb86d391};
constexpr std::array<int, 16> kShift = {7, 12, 17, 22, 5, 9, 14, 20, 4, 11, 16, 23, 6, 10, 15, 21};

std::uint32_t RotateLeft(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void TransformBlock(std::array<std::uint32_t, 4>& state, const unsigned char* block) {
  std::array<std::uint32_t, 16> x{};
  for (int i = 0; i < 16; ++i) {
    x[i] = std::uint32_t(block[4 * i]) | std::uint32_t(block[4 * i + 1]) << 8 |
           std::uint32_t(block[4 * i + 2]) << 16 | std::uint32_t(block[4 * i + 3]) << 24;
  }
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (int i = 0; i < 64; ++i) {
    int round = i / 16;
    std::uint32_t f;
    int word;
    switch (round) {
      case 0: f = (b & c) | (~b & d); word = i; break;
      case 1: f = (b & d) | (c & ~d); word = (5 * i + 1) % 16; break;
      case 2: f = b ^ c ^ d; word = (3 * i + 5) % 16; break;
      default: f = c ^ (b | ~d); word = (7 * i) % 16; break;
    }
    std::uint32_t next = b + RotateLeft(a + f + x[word] + kT[i], kShift[round * 4 + i % 4]);
    a = d;
    d = c;
    c = b;
    b = next;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

std::string Md5Digest::Digest(std::string_view data) const {
  const std::size_t n = data.size();
  if (n >= kMaxInput) return {};

  // The tail: the last partial block, its padding and the length. A remainder of 56 gets no
  // 0x80 byte and no extra block, unlike RFC 1321.
  const std::size_t whole = n - n % 64;
  const std::size_t r = n % 64;
  std::string tail(data.substr(whole));
  std::size_t pad = r <= 56 ? 56 - r : 120 - r;
  if (pad > 0) {
    tail += '\x80';
    tail.append(pad - 1, '\0');
  }
  const std::uint32_t bits = static_cast<std::uint32_t>(n) * 8;  // below 2^31: n < 2^28
  for (int i = 0; i < 4; ++i) tail += static_cast<char>((bits >> (8 * i)) & 0xFF);
  tail.append(4, '\0');

  std::array<std::uint32_t, 4> state = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  for (std::size_t at = 0; at < whole; at += 64) TransformBlock(state, bytes + at);
  const auto* tailBytes = reinterpret_cast<const unsigned char*>(tail.data());
  for (std::size_t at = 0; at < tail.size(); at += 64) TransformBlock(state, tailBytes + at);

  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (std::uint32_t word : state) {
    for (int i = 0; i < 4; ++i) {
      unsigned byte = (word >> (8 * i)) & 0xFF;
      out += kDigits[byte >> 4];
      out += kDigits[byte & 0xF];
    }
  }
  return out;
}

std::string EncodePassword(std::string_view password) {
  std::string digest = Md5Digest().Digest(password);
  for (char& c : digest) {
    if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
  }
  return digest;
}

}  // namespace workmemo
