#include "platform/ini/ini.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/files/files.h"
#include "test_support.h"

namespace {

using platform::ini::ReadItem;
using platform::ini::WriteItem;
using platform::ini::WriteItems;
namespace files = platform::files;

class IniTest : public ::testing::Test {
 protected:
  void TearDown() override { files::ClearFaultsForTest(); }
  void Put(const std::string& content) { ASSERT_TRUE(files::WriteAll(path_, content)); }
  std::string Content() { return files::ReadAll(path_).value_or("<missing>"); }

  testsupport::TempDir dir_;
  std::string path_ = dir_.File("config.ini");
};

TEST_F(IniTest, AbsentFileSectionOrKeyReadsEmptyAndCreatesNothing) {
  EXPECT_EQ(ReadItem(path_, "gjsz", "lbztdx"), "");
  EXPECT_FALSE(files::Exists(path_));
  Put("[gjsz]\nlbztdx=10\n");
  EXPECT_EQ(ReadItem(path_, "dstx", "lbztdx"), "");
  EXPECT_EQ(ReadItem(path_, "gjsz", "txckzd"), "");
  EXPECT_EQ(ReadItem(path_, "gjsz", "lbztdx"), "10");
}

TEST_F(IniTest, MatchesIgnoringAsciiCaseAndSkipsBlanks) {
  Put("; settings\r\n  [ GJSZ ]  \r\n  LbZtDx =  10 \r\nkey without value\r\nempty=\r\n");
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"gjsz", "lbztdx", "10"},
      {"Gjsz", "LBZTDX", "10"},
      {"\x01\t gjsz", " \x1f lbztdx", "10"},  // leading bytes 1-32 are skipped
      {"gjsz ", "lbztdx\t", "10"},
      {"gjsz", "empty", ""},
      {" \t", "lbztdx", ""},  // nothing left of the section
      {"gjsz", "\x20\x20", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadItem(path_, c.section, c.key), c.expected) << c.section << "/" << c.key;
  }
  EXPECT_EQ(ReadItem("  \t" + path_, "gjsz", "lbztdx"), "10");
  EXPECT_EQ(ReadItem(" ", "gjsz", "lbztdx"), "");
}

TEST_F(IniTest, WriteCreatesFileAndSectionsAndReadsBack) {
  EXPECT_TRUE(WriteItem(path_, "dqtx", "cxdqtxTs", "8"));
  EXPECT_TRUE(WriteItem(path_, "dstx", "jttxzd", "1"));
  EXPECT_TRUE(WriteItem(path_, "DQTX", "mdqtxbtx", "1"));  // joins the existing section
  EXPECT_TRUE(WriteItem(path_, "dqtx", "CXDQTXTS", "9"));  // replaces in place
  EXPECT_EQ(Content(), "[dqtx]\ncxdqtxTs=9\nmdqtxbtx=1\n[dstx]\njttxzd=1\n");
  EXPECT_EQ(ReadItem(path_, "dqtx", "cxdqtxts"), "9");
  EXPECT_TRUE(WriteItem(path_, "dstx", "jttxzd", ""));
  EXPECT_EQ(ReadItem(path_, "dstx", "jttxzd"), "");
  EXPECT_EQ(Content(), "[dqtx]\ncxdqtxTs=9\nmdqtxbtx=1\n[dstx]\njttxzd=\n");
}

TEST_F(IniTest, WriteKeepsOtherLinesAndTheFilesLineBreaks) {
  Put("; comment\r\n[a]\r\nx=1\r\n\r\n[b]\r\ny=2");
  EXPECT_TRUE(WriteItem(path_, "a", "z", "3"));   // after the last item, before the blank line
  EXPECT_TRUE(WriteItem(path_, "b", "w", "4"));   // the last line had no line break
  EXPECT_TRUE(WriteItem(path_, "a", "x", " 5 "));
  EXPECT_EQ(Content(), "; comment\r\n[a]\r\nx= 5 \r\nz=3\r\n\r\n[b]\r\ny=2\r\nw=4\r\n");
  EXPECT_EQ(ReadItem(path_, "a", "x"), "5");
}

TEST_F(IniTest, ACarriageReturnEndingTheFileEndsItsLastLine) {
  // Not even a lone lead byte before it takes the CR as its second byte.
  Put("[cx]\r\nhwnd=5\xA0\r");
  EXPECT_EQ(ReadItem(path_, "cx", "hwnd"), "5\xA0");
  EXPECT_TRUE(WriteItem(path_, "pf", "bjtp", "0"));
  EXPECT_EQ(ReadItem(path_, "cx", "hwnd"), "5\xA0");
  EXPECT_TRUE(WriteItem(path_, "cx", "yyx", "1"));
  EXPECT_EQ(Content(), "[cx]\r\nhwnd=5\xA0\r\nyyx=1\r\n[pf]\r\nbjtp=0\r\n");
}

TEST_F(IniTest, OnlyTheFirstSectionOfANameCounts) {
  Put("[a]\nx=1\n[b]\nq=0\n[A]\nx=2\ny=3\n");
  EXPECT_EQ(ReadItem(path_, "a", "x"), "1");
  EXPECT_EQ(ReadItem(path_, "a", "y"), "");
  EXPECT_TRUE(WriteItem(path_, "a", "y", "4"));
  EXPECT_EQ(Content(), "[a]\nx=1\ny=4\n[b]\nq=0\n[A]\nx=2\ny=3\n");
}

TEST_F(IniTest, Gb18030TextIsKeptAndNeverSplit) {
  // 0x815D has "]" as its trail byte; a four-byte character and a GBK value.
  const std::string section = "s\x81\x5D";
  const std::string value = "\xB1\xB3\xBE\xB0\x81\x30\x81\x30 D:/\xCD\xBC\xC6\xAC.jpg";
  EXPECT_TRUE(WriteItem(path_, section, "yhtp1", value));
  EXPECT_TRUE(WriteItem(path_, "t", "k", "v"));
  EXPECT_EQ(ReadItem(path_, section, "yhtp1"), value);
  EXPECT_EQ(ReadItem(path_, "s", "yhtp1"), "");
  EXPECT_EQ(ReadItem(path_, "t", "k"), "v");
}

TEST_F(IniTest, RefusedWritesLeaveTheFileUntouched) {
  Put("[a]\nx=1\n");
  EXPECT_FALSE(WriteItem(path_, "a", "x", "1\r\n[b]"));
  EXPECT_FALSE(WriteItem(path_, "a", "x", "line\nbreak"));
  EXPECT_FALSE(WriteItem(path_, "a", "k=y", "1"));
  EXPECT_FALSE(WriteItem(path_, "a]b", "x", "1"));
  EXPECT_FALSE(WriteItem(path_, " ", "x", "1"));
  EXPECT_FALSE(WriteItem(path_, "a", "", "1"));
  // Several items go in together or not at all.
  EXPECT_FALSE(WriteItems(path_, "a", {{"x", "2"}, {"k=y", "1"}}));
  EXPECT_EQ(Content(), "[a]\nx=1\n");
  EXPECT_TRUE(WriteItems(path_, "a", {{"x", "2"}, {"y", "3"}}));
  EXPECT_EQ(Content(), "[a]\nx=2\ny=3\n");
}

TEST_F(IniTest, FailedWriteKeepsTheOldFileWhole) {
  Put("[a]\nx=1\n");
  files::InjectFaultForTest(files::Op::Write, files::Fault::DiskFull);
  EXPECT_FALSE(WriteItem(path_, "a", "x", "2"));
  files::ClearFaultsForTest();
  EXPECT_EQ(Content(), "[a]\nx=1\n");
  EXPECT_FALSE(WriteItem(dir_.File("missing/config.ini"), "a", "x", "2"));
  Put("");
  EXPECT_FALSE(WriteItem(path_ + "/config.ini", "a", "x", "2"));  // parent is a regular file
}

TEST_F(IniTest, EveryCallReadsTheFileAgain) {
  Put("[a]\nx=1\n");
  EXPECT_EQ(ReadItem(path_, "a", "x"), "1");
  Put("[a]\nx=2\n");
  EXPECT_EQ(ReadItem(path_, "a", "x"), "2");
  EXPECT_TRUE(WriteItem(path_, "a", "y", "3"));
  EXPECT_EQ(Content(), "[a]\nx=2\ny=3\n");
}

}  // namespace
