#include "platform/os/shell_open.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "platform/text/text.h"
#include "test_support.h"

namespace {

using platform::os::OpenWithShell;
using platform::os::RecordingShellOpener;

class ShellOpenTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::os::SetShellOpener(&fake); }
  void TearDown() override {
    EXPECT_TRUE(platform::os::WaitForShellOpensForTest());
    platform::os::SetShellOpener(nullptr);
  }

  // A file in the temporary directory (name in UTF-8), executable or not.
  std::string MakeFile(const std::string& name, bool executable) {
    const std::string path = dir.File(name);
    std::ofstream(path) << "#!/bin/sh\n";
    if (executable) ::chmod(path.c_str(), 0755);
    return path;
  }

  // Opens `target` and answers the result code once the open has ended.
  static int Open(std::string_view target) {
    int result = 0;
    OpenWithShell(0, target, [&result](int code) { result = code; });
    EXPECT_TRUE(platform::os::WaitForShellOpensForTest());
    return result;
  }

  testsupport::TempDir dir;
  RecordingShellOpener fake;
};

TEST_F(ShellOpenTest, AnExecutableStartsWithAnArgumentVectorInItsFolder) {
  // Blanks and shell characters stay part of the one program path: no shell sees them.
  const std::string path = MakeFile("my tool;echo x.sh", true);
  EXPECT_GT(Open(path), 32);
  const auto calls = fake.Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_TRUE(calls[0].program);
  EXPECT_EQ(calls[0].target, path);
  EXPECT_TRUE(calls[0].arguments.empty());
  EXPECT_EQ(calls[0].workingDirectory, dir.path());
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
    fake.ClearCalls();
    EXPECT_GT(Open(platform::text::FromUtf8(c.target)), 32);
    const auto calls = fake.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FALSE(calls[0].program);
    EXPECT_EQ(calls[0].target, c.url);
  }
}

TEST_F(ShellOpenTest, NothingToOpenOrAFailedOpenIsReported) {
  EXPECT_EQ(Open(""), platform::os::kShellFileNotFound);
  EXPECT_EQ(Open(dir.File("missing.exe")), platform::os::kShellFileNotFound);
  EXPECT_EQ(Open("C:\\Program Files\\a.exe"), platform::os::kShellFileNotFound);
  EXPECT_TRUE(fake.Calls().empty());

  fake.SetSucceed(false);
  EXPECT_LE(Open("http://example.com"), 32);
  EXPECT_LE(Open(MakeFile("tool", true)), 32);
  EXPECT_EQ(fake.Calls().size(), 2u);
}

// A look at a path on a hung mount, or the start of a program there, waits for the server:
// neither runs on the calling thread, and only the answer comes back to it.
TEST_F(ShellOpenTest, TheLookAndTheStartRunAsideAndTheAnswerComesBackOnTheCallingThread) {
  struct ThreadOpener : RecordingShellOpener {
    FileFound FindFile(const std::string& path) override {
      looked = std::this_thread::get_id();
      return RecordingShellOpener::FindFile(path);
    }
    bool StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& workingDirectory) override {
      opened = std::this_thread::get_id();
      return RecordingShellOpener::StartProgram(program, arguments, workingDirectory);
    }
    bool OpenUrl(const std::string& url) override {
      opened = std::this_thread::get_id();
      return RecordingShellOpener::OpenUrl(url);
    }
    std::thread::id looked, opened;
  };
  const std::thread::id caller = std::this_thread::get_id();
  for (const std::string& target : {MakeFile("tool", true), MakeFile("notes.txt", false)}) {
    SCOPED_TRACE(target);
    ThreadOpener opener;
    platform::os::SetShellOpener(&opener);
    std::thread::id answered;
    OpenWithShell(0, target, [&answered](int) { answered = std::this_thread::get_id(); });
    EXPECT_TRUE(platform::os::WaitForShellOpensForTest());
    platform::os::SetShellOpener(&fake);
    EXPECT_EQ(opener.Calls().size(), 1u);
    EXPECT_NE(opener.looked, caller);
    EXPECT_NE(opener.opened, caller);
    EXPECT_EQ(answered, caller);
  }
}

}  // namespace
