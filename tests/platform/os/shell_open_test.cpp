#include "platform/os/shell_open.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "platform/text/text.h"
#include "test_support.h"

namespace {

using platform::os::OpenWithShell;
using platform::os::RecordingShellOpener;

class ShellOpenTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::os::SetShellOpener(&fake); }
  void TearDown() override { platform::os::SetShellOpener(nullptr); }

  // A file in the temporary directory (name in UTF-8), executable or not.
  std::string MakeFile(const std::string& name, bool executable) {
    const std::string path = dir.File(name);
    std::ofstream(path) << "#!/bin/sh\n";
    if (executable) ::chmod(path.c_str(), 0755);
    return path;
  }

  testsupport::TempDir dir;
  RecordingShellOpener fake;
};

TEST_F(ShellOpenTest, AnExecutableStartsWithAnArgumentVectorInItsFolder) {
  // Blanks and shell characters stay part of the one program path: no shell sees them.
  const std::string path = MakeFile("my tool;echo x.sh", true);
  EXPECT_GT(OpenWithShell(0, path), 32);
  ASSERT_EQ(fake.calls.size(), 1u);
  EXPECT_TRUE(fake.calls[0].program);
  EXPECT_EQ(fake.calls[0].target, path);
  EXPECT_TRUE(fake.calls[0].arguments.empty());
  EXPECT_EQ(fake.calls[0].workingDirectory, dir.path());
}

TEST_F(ShellOpenTest, DocumentsAndAddressesGoToTheOpener) {
  const std::string document = MakeFile("\xE8\xAE\xB0\xE4\xBA\x8B.txt", false);  // a Chinese name
  struct Case {
    std::string target;  // UTF-8
    std::string url;
  };
  const Case cases[] = {
      {document, "file://" + dir.path() + "/%E8%AE%B0%E4%BA%8B.txt"},
      {"http://example.com/a?b=1", "http://example.com/a?b=1"},
      {"https://example.com/", "https://example.com/"},
      {"www.example.com", "http://www.example.com"},
      {"mailto:someone@example.com", "mailto:someone@example.com"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    fake.calls.clear();
    EXPECT_GT(OpenWithShell(0, platform::text::FromUtf8(c.target)), 32);
    ASSERT_EQ(fake.calls.size(), 1u);
    EXPECT_FALSE(fake.calls[0].program);
    EXPECT_EQ(fake.calls[0].target, c.url);
  }
}

TEST_F(ShellOpenTest, NothingToOpenOrAFailedOpenIsReported) {
  EXPECT_EQ(OpenWithShell(0, ""), platform::os::kShellFileNotFound);
  EXPECT_EQ(OpenWithShell(0, dir.File("missing.exe")), platform::os::kShellFileNotFound);
  EXPECT_EQ(OpenWithShell(0, "C:\\Program Files\\a.exe"), platform::os::kShellFileNotFound);
  EXPECT_TRUE(fake.calls.empty());

  fake.succeed = false;
  EXPECT_LE(OpenWithShell(0, "http://example.com"), 32);
  EXPECT_LE(OpenWithShell(0, MakeFile("tool", true)), 32);
  EXPECT_EQ(fake.calls.size(), 2u);
}

}  // namespace
