#pragma once
// The stored form of passwords: an MD5 digest written as hexadecimal digits.
#include <string>
#include <string_view>

namespace workmemo {

// MD5 of a byte set as 32 upper-case hexadecimal digits, each state word lowest byte first.
// Stored password digests depend on two departures from RFC 1321 that must stay: an input
// whose length leaves 56 when divided by 64 gets no padding at all (only the length follows
// it), and an input of 0x10000000 bytes or more gives the empty text.
class Md5Digest {
 public:
  std::string Digest(std::string_view data) const;
};

// The stored form of a password exactly as typed: its digest in lower case.
std::string EncodePassword(std::string_view password);

}  // namespace workmemo
