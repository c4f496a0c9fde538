#include "common/text_routines.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "test_support.h"

namespace {

using namespace workmemo;
using testsupport::Show;

TEST(PadTwoDigits, PadsOnlyNumbersUpToNine) {
  struct Case {
    int n;
    const char* text;
  } cases[] = {{0, "00"}, {7, "07"}, {9, "09"}, {10, "10"}, {12, "12"}, {100, "100"}, {-3, "0-3"}};
  for (const Case& c : cases) EXPECT_EQ(PadTwoDigits(c.n), c.text) << c.n;
}

TEST(GetFileExtension, TextAfterTheLastPoint) {
  struct Case {
    std::string path, extension;
  } cases[] = {
      {"C:\\a\\b.c\\song.mp3", "mp3"},
      {"readme", "readme"},
      {"/home/u/歌曲.tar.MP3", "MP3"},
      {"/home/u/name.", ""},
      {"/home/u/.wav", "wav"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(GetFileExtension(c.path), c.extension) << Show(c.path);
}

TEST(TruncateText, NeverCutsACharacterInTwo) {
  struct Case {
    std::string text;
    int n;
    std::string expected;
  } cases[] = {
      {"abcdef", 3, "abc"},
      {"abc", 3, "abc"},
      {"ab", 3, "ab"},
      {"abc", 0, ""},
      {"abc", -1, ""},
      {"ab中文", 3, "ab"},
      {"中文ab", 3, "中"},
      {"中文ab", 4, "中文"},
      // Trail bytes below 0x7F: 丂 = 81 40, 說 = D5 66.
      {"丂說", 3, "丂"},
      {"a丂b", 2, "a"},
      {"a丂b", 3, "a丂"},
      {"說x", 2, "說"},
      // A four-byte character (𠀀 = 95 32 82 36).
      {"a𠀀b", 3, "a"},
      {"a𠀀b", 5, "a𠀀"},
      // The list pages cut at a line break keeping its carriage return.
      {"0123456789\r\nmore", 11, "0123456789\r"},
      {"中文\r\n说明", 5, "中文\r"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TruncateText(c.text, c.n), c.expected) << Show(c.text) << " n=" << c.n;
  }
}

TEST(JoinByteArrays, PartsInOrder) {
  EXPECT_EQ(JoinByteArrays({}), "");
  EXPECT_EQ(JoinByteArrays({"", ""}), "");
  EXPECT_EQ(JoinByteArrays({"ab", "", std::string_view("c\0d", 3)}), std::string("abc\0d", 5));
}

TEST(TextToNumber, DecimalTextsReadAsThemselvesAndOthersAsZero) {
  struct Case {
    const char* text;
    int integer;
    bool flag;
  } cases[] = {
      {"0", 0, false},       {"1", 1, true},      {"8", 8, false},
      {"9", 9, false},       {"10", 10, false},   {"11", 11, false},
      {"1.0", 1, true},      {"1.00000001", 1, true}, {"1.000001", 1, false},
      {" +1", 1, true},      {"-5", -5, false},   {"10.9", 10, false},
      {"12abc", 12, false},  {"yes", 0, false},   {"x", 0, false},
      {"", 0, false},        {"-", 0, false},     {"inf", 0, false},
      {"nan", 0, false},     {"0x10", 0, false},  {".5", 0, false},
      {"1e12", INT_MAX, false}, {"-99999999999", INT_MIN, false},
      {"1e400", INT_MAX, false}, {"1e-400", 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextToInteger(c.text), c.integer) << c.text;
    EXPECT_EQ(IsFlagOn(c.text), c.flag) << c.text;
  }
  EXPECT_DOUBLE_EQ(TextToNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(TextToNumber("-2.5e1"), -25);
}

}  // namespace
