#include "platform/os/autostart.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/files/files.h"
#include "test_support.h"

namespace {

namespace files = platform::files;
namespace os = platform::os;

class AutostartTest : public testsupport::TempHomeTest {
 protected:
  void TearDown() override {
    files::ClearFaultsForTest();
    TempHomeTest::TearDown();
  }
  std::string Dir() const { return configHome() + "/autostart"; }
  std::string Entry() const { return Dir() + "/mrvbwl.desktop"; }
};

TEST(QuoteExecArgument, QuotesAndEscapesAsDesktopEntriesRequire) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"/opt/work memo/bin", R"("/opt/work memo/bin")"},
      {R"(/a"b)", R"("/a\\"b")"},
      {"/a`b$c", R"("/a\\`b\\$c")"},
      {R"(/a\b)", R"("/a\\\\b")"},
      {"/100%", R"("/100%%")"},
      {"/a\tb\nc", R"("/a\tb\nc")"},
      // GB18030 characters whose trail bytes are "\" and "`" stay as they are.
      {"/\x81\x5C\x81\x60/\x81\x30\x81\x30", "\"/\x81\x5C\x81\x60/\x81\x30\x81\x30\""},
  };
  for (const Case& c : cases) EXPECT_EQ(os::QuoteExecArgument(c.in), c.out) << c.in;
}

TEST_F(AutostartTest, WriteReadDeleteRoundTrip) {
  EXPECT_EQ(os::ReadAutostart("mrvbwl"), "");
  const std::string exec = os::QuoteExecArgument("/opt/\xB1\xB8\xCD\xFC/workmemo") + " aa";
  ASSERT_TRUE(os::WriteAutostart("mrvbwl", exec));
  EXPECT_EQ(os::ReadAutostart("mrvbwl"), exec);
  EXPECT_EQ(files::ReadAll(Entry()).value_or(""),
            "[Desktop Entry]\nType=Application\nName=枫汀阁工作备忘录\n"
            "Exec=\"/opt/备忘/workmemo\" aa\n");
  ASSERT_TRUE(files::WriteAll(Dir() + "/other.desktop", "x"));
  EXPECT_TRUE(os::DeleteAutostart("mrvbwl"));
  EXPECT_FALSE(files::Exists(Entry()));
  EXPECT_TRUE(files::Exists(Dir() + "/other.desktop"));
  EXPECT_TRUE(os::DeleteAutostart("mrvbwl"));  // already gone
  EXPECT_EQ(os::ReadAutostart("mrvbwl"), "");
}

TEST_F(AutostartTest, ReadsOnlyTheExecKeyOfTheDesktopEntryGroup) {
  ASSERT_TRUE(files::MakeDirs(Dir()));
  ASSERT_TRUE(files::WriteAll(Entry(),
                              "[Desktop Action x]\r\nExec=wrong\r\n"
                              "[Desktop Entry]\r\nExecutable=no\r\nExec[de]=no\r\n"
                              "Exec = \"/bin/x\" aa\r\n"));
  EXPECT_EQ(os::ReadAutostart("mrvbwl"), "\"/bin/x\" aa");
}

TEST_F(AutostartTest, UnwritableDirectoryFailsWithoutAFile) {
  EXPECT_FALSE(os::WriteAutostart("mrvbwl", "\"/bin/x\" aa\n"));
  ASSERT_TRUE(files::WriteAll(Dir(), "a regular file where the directory belongs"));
  EXPECT_FALSE(os::WriteAutostart("mrvbwl", "\"/bin/x\" aa"));
  EXPECT_EQ(os::ReadAutostart("mrvbwl"), "");
  ASSERT_TRUE(files::Remove(Dir()));
  files::InjectFaultForTest(files::Op::Write, files::Fault::IoError);
  EXPECT_FALSE(os::WriteAutostart("mrvbwl", "\"/bin/x\" aa"));
  files::ClearFaultsForTest();
  EXPECT_FALSE(files::Exists(Entry()));
}

}  // namespace
