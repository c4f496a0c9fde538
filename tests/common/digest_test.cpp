#include "common/digest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using workmemo::EncodePassword;
using workmemo::Md5Digest;

TEST(Md5Digest, Rfc1321Vectors) {
  struct Case {
    std::string in;
    const char* digest;
  } cases[] = {
      {"", "D41D8CD98F00B204E9800998ECF8427E"},
      {"a", "0CC175B9C0F1B6A831C399E269772661"},
      {"abc", "900150983CD24FB0D6963F7D28E17F72"},
      {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
      {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "D174AB98D277D9F5A5611C2C9F419D9F"},
      {"1234567890123456789012345678901234567890"
       "1234567890123456789012345678901234567890",
       "57EDF4A22BE3C955AC49DA2E2107B67A"},
  };
  for (const Case& c : cases) EXPECT_EQ(Md5Digest().Digest(c.in), c.digest) << c.in;
}

// Lengths around the padding boundary; those that leave 56 when divided by 64 get no padding,
// so their digests differ from RFC 1321 (which gives 3B0C8AC7... for 56 bytes).
TEST(Md5Digest, PaddingAroundFiftySix) {
  struct Case {
    std::size_t length;
    const char* digest;
  } cases[] = {
      {55, "EF1772B6DFF9A122358552954AD0DF65"},
      {56, "959729528C4D3149AAED8B0ACA8859BB"},
      {57, "652B906D60AF96844EBD21B674F35E93"},
      {64, "014842D480B571495A4A0363793F7367"},
      {120, "9636CF2D40650B47F6912AAC2B8A9649"},
      {184, "FDC3130C462F55DE938FC1FCADDE766E"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Md5Digest().Digest(std::string(c.length, 'a')), c.digest) << c.length;
  }
}

TEST(Md5Digest, InputOfTwoHundredFiftySixMebibytesGivesEmptyText) {
  constexpr std::size_t kLimit = 268435456;
  // Never read: the length alone decides, so the memory is left untouched.
  std::unique_ptr<char[]> big(new char[kLimit]);
  EXPECT_EQ(Md5Digest().Digest(std::string_view(big.get(), kLimit)), "");
  EXPECT_EQ(EncodePassword(std::string_view(big.get(), kLimit)), "");
}

TEST(EncodePassword, LowerCaseDigestOfTheBytesAsTyped) {
  EXPECT_EQ(EncodePassword("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(EncodePassword(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(EncodePassword("密码"), "d2293e30f0c964c5f6242486aa8a483c");  // GBK C3DC C2EB
  EXPECT_EQ(EncodePassword(" abc "), "01c9a8945abead949b46c77cf3245b8a");  // blanks count
  EXPECT_EQ(EncodePassword(std::string(56, 'a')), "959729528c4d3149aaed8b0aca8859bb");
}

}  // namespace
