#include "platform/text/text.h"

#include <gtest/gtest.h>

namespace text = platform::text;

namespace {
// "宋体" in GB18030 and in UTF-8; 丂 (81 40) has a trail byte below 0x7F.
const std::string kSongGb = "\xCB\xCE\xCC\xE5";
const std::string kSongUtf8 = "\xE5\xAE\x8B\xE4\xBD\x93";
const std::string kKaoGb = "\x81\x40";
// U+20000 is outside GBK: four bytes in GB18030.
const std::string kFourGb = "\x95\x32\x82\x36";
const std::string kFourUtf8 = "\xF0\xA0\x80\x80";
}  // namespace

TEST(Text, ConvertsBothWays) {
  EXPECT_EQ(text::ToUtf8(kSongGb), kSongUtf8);
  EXPECT_EQ(text::FromUtf8(kSongUtf8), kSongGb);
  EXPECT_EQ(text::FromUtf8(kFourUtf8), kFourGb);
  EXPECT_EQ(text::ToUtf8(kFourGb), kFourUtf8);
  EXPECT_EQ(text::ToUtf8("abc"), "abc");
  EXPECT_EQ(text::ToUtf8(""), "");
}

TEST(Text, BrokenBytesBecomeQuestionMarks) {
  EXPECT_EQ(text::FromUtf8("a\xFF" "b"), "a?b");
  EXPECT_EQ(text::ToUtf8("a\xCB"), "a?");
}

// Texts are converted through a buffer the thread keeps: a long one after short ones, a short
// one after a long one, and a text longer than the buffer keeps each come out whole and alone.
TEST(Text, TextsOfEveryLengthComeOutWholeOneAfterAnother) {
  for (const std::size_t count : {1u, 3u, 40000u, 2u, 100000u, 1u}) {
    SCOPED_TRACE(count);
    std::string gb, utf8;
    for (std::size_t i = 0; i < count; ++i) {
      gb += i % 2 == 0 ? kSongGb : kFourGb;
      utf8 += i % 2 == 0 ? kSongUtf8 : kFourUtf8;
    }
    const std::string fromUtf8 = text::FromUtf8(utf8);
    EXPECT_EQ(fromUtf8, gb);
    EXPECT_LT(fromUtf8.capacity() - fromUtf8.size(), 16u);  // no slack held by the text
    EXPECT_EQ(text::ToUtf8(gb), utf8);
  }
}

TEST(Text, CharacterWalk) {
  std::string s = "a" + kKaoGb + kFourGb + "b";
  EXPECT_EQ(text::CharLength(s, 0), 1u);
  EXPECT_EQ(text::CharLength(s, 1), 2u);
  EXPECT_EQ(text::CharLength(s, 3), 4u);
  EXPECT_EQ(text::CharLength(s, 7), 1u);
  EXPECT_EQ(text::CharLength(s, 8), 0u);
  EXPECT_EQ(text::CharCount(s), 4u);
  EXPECT_EQ(text::CharLength("\xCB", 0), 1u);  // a lone lead byte at the end
}

TEST(Text, CutPointNeverSplitsACharacter) {
  std::string s = "a" + kKaoGb + kFourGb + "b";
  struct Case { std::size_t max, cut; } cases[] = {
      {0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 3}, {6, 3}, {7, 7}, {8, 8}, {100, 8}};
  for (auto c : cases) EXPECT_EQ(text::CutPoint(s, c.max), c.cut) << c.max;
}

TEST(Text, FindAndBoundaries) {
  // "說" is D5 66: its trail byte is 'f'; searching for "f" must not land inside it.
  std::string s = "\xD5\x66" "f";
  EXPECT_EQ(text::FindChars(s, "f"), 2u);
  EXPECT_FALSE(text::IsCharBoundary(s, 1));
  EXPECT_TRUE(text::IsCharBoundary(s, 2));
  EXPECT_TRUE(text::IsCharBoundary(s, 3));
  EXPECT_EQ(text::FindChars(s, "x"), std::string::npos);
}

TEST(Text, AsciiCaseLeavesTrailBytesAlone) {
  // 丂 = 81 40 ('@'), 說 = D5 66 ('f'): only real ASCII letters change case.
  std::string s = "Ab\xD5\x66";
  EXPECT_EQ(text::AsciiUpper(s), "AB\xD5\x66");
  EXPECT_EQ(text::AsciiLower("\xD5\x46Q"), "\xD5\x46q");
  EXPECT_TRUE(text::EqualsIgnoreAsciiCase("GjSz", "gjsz"));
  EXPECT_FALSE(text::EqualsIgnoreAsciiCase("\xD5\x66", "\xD5\x46"));
}
