#include "platform/files/files.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "test_support.h"

namespace files = platform::files;

class Files : public ::testing::Test {
 protected:
  void TearDown() override { files::ClearFaultsForTest(); }
  testsupport::TempDir dir;
  static std::size_t Entries(const std::string& d) {
    std::size_t n = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(d)) ++n;
    return n;
  }
};

TEST_F(Files, WriteReadCopyRenameRemove) {
  // A GB18030 file name: 数据 .
  std::string name = dir.File("\xCA\xFD\xBE\xDD.dat");
  EXPECT_FALSE(files::Exists(name));
  ASSERT_TRUE(files::WriteAll(name, std::string("a\0b", 3)));
  EXPECT_EQ(files::ReadAll(name), std::string("a\0b", 3));
  EXPECT_EQ(files::Size(name), 3);
  ASSERT_TRUE(files::Copy(name, dir.File("copy")));
  EXPECT_EQ(files::ReadAll(dir.File("copy")), std::string("a\0b", 3));
  ASSERT_TRUE(files::Rename(dir.File("copy"), dir.File("moved")));
  EXPECT_FALSE(files::Exists(dir.File("copy")));
  EXPECT_TRUE(files::Remove(dir.File("moved")));
  EXPECT_EQ(files::Size(dir.File("moved")), -1);
  EXPECT_FALSE(files::ReadAll(dir.File("moved")).has_value());
  EXPECT_EQ(Entries(dir.path()), 1u);  // no temporary file left behind
}

// Only a regular file within the limit is read: a pipe is never waited on, a device that
// never ends and a file beyond the limit are refused before they fill memory.
TEST_F(Files, ReadAllReadsRegularFilesWithinTheLimitOnly) {
  const std::string pipe = dir.File("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  ASSERT_TRUE(files::WriteAll(dir.File("ten"), "0123456789"));
  struct Case {
    std::string path;
    std::int64_t limit;
    std::optional<std::string> expected;
  };
  for (const Case& c : {Case{dir.File("ten"), 10, "0123456789"}, Case{dir.File("ten"), 9, std::nullopt},
                        Case{dir.File("ten"), files::kNoSizeLimit, "0123456789"},
                        Case{"/dev/zero", 1 << 20, std::nullopt}, Case{"/dev/zero", files::kNoSizeLimit, std::nullopt},
                        Case{pipe, 1 << 20, std::nullopt}, Case{dir.path(), 1 << 20, std::nullopt}}) {
    SCOPED_TRACE(c.path + " " + std::to_string(c.limit));
    EXPECT_EQ(files::ReadAll(c.path, c.limit), c.expected);
  }
}

TEST_F(Files, FailedWritesLeaveTheOldContent) {
  std::string name = dir.File("f");
  ASSERT_TRUE(files::WriteAll(name, "old"));
  for (auto op : {files::Op::Write, files::Op::Rename}) {
    files::InjectFaultForTest(op, files::Fault::DiskFull);
    EXPECT_FALSE(files::WriteAll(name, "new"));
    files::ClearFaultsForTest();
    EXPECT_EQ(files::ReadAll(name), "old");
    EXPECT_EQ(Entries(dir.path()), 1u);
  }
  files::InjectFaultForTest(files::Op::Copy, files::Fault::IoError);
  EXPECT_FALSE(files::Copy(name, dir.File("c")));
  EXPECT_FALSE(files::Exists(dir.File("c")));
}

// A copy goes block by block: right on either side of a block's end and over many blocks; a
// pipe or a device is no source. A disk that fills up part-way leaves the target as it was,
// with its mode, and no temporary file.
TEST_F(Files, CopyGoesBlockByBlockAndAFailurePartWayLeavesTheTargetAsItWas) {
  const std::size_t block = files::kCopyBlockBytes;
  std::string source;
  for (std::size_t i = 0; source.size() < 3 * block + 7; ++i) source += static_cast<char>((i * 131 + i / 251) & 0xFF);
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, block - 1, block, block + 1, 3 * block + 7}) {
    SCOPED_TRACE(size);
    ASSERT_TRUE(files::WriteAll(dir.File("source"), std::string_view(source).substr(0, size)));
    ASSERT_TRUE(files::Copy(dir.File("source"), dir.File("copy")));
    EXPECT_TRUE(files::ReadAll(dir.File("copy")) == source.substr(0, size));
  }
  const std::string pipe = dir.File("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(files::Copy(pipe, dir.File("copy")));
  EXPECT_FALSE(files::Copy("/dev/zero", dir.File("copy")));
  EXPECT_TRUE(files::ReadAll(dir.File("copy")) == source);

  ASSERT_TRUE(files::WriteAll(dir.File("target"), "old"));
  ASSERT_EQ(::chmod(dir.File("target").c_str(), 0640), 0);
  files::InjectFaultForTest(files::Op::Write, files::Fault::DiskFull, 2);  // the third block
  EXPECT_FALSE(files::Copy(dir.File("source"), dir.File("target")));
  files::ClearFaultsForTest();
  EXPECT_TRUE(files::ReadAll(dir.File("target")) == "old");
  EXPECT_EQ(testsupport::ModeOf(dir.File("target")), "640");
  EXPECT_EQ(Entries(dir.path()), 4u);  // source, copy, pipe, target
}

TEST_F(Files, FaultAfterSkippedCalls) {
  files::InjectFaultForTest(files::Op::Write, files::Fault::IoError, 1);
  EXPECT_TRUE(files::WriteAll(dir.File("a"), "1"));
  EXPECT_FALSE(files::WriteAll(dir.File("b"), "2"));
}

TEST_F(Files, ParentThatIsAFileStopsAWrite) {
  ASSERT_TRUE(files::WriteAll(dir.File("plain"), "x"));
  EXPECT_FALSE(files::WriteAll(dir.File("plain/child"), "y"));
  EXPECT_FALSE(files::MakeDirs(dir.File("plain/sub")));
  EXPECT_TRUE(files::MakeDirs(dir.File("a/b/c")));
  EXPECT_TRUE(files::IsDirectory(dir.File("a/b/c")));
}

// What the program writes is the user's alone, whatever the umask; a file it writes over
// keeps the mode it had.
TEST_F(Files, NewFilesAndDirectoriesAreTheUsersAloneAndReplacedFilesKeepTheirMode) {
  const mode_t umask = ::umask(0);
  ASSERT_TRUE(files::WriteAll(dir.File("source"), "data"));
  ::chmod(dir.File("source").c_str(), 0644);
  for (const char* name : {"written", "copied", "renamed"}) {
    ASSERT_TRUE(files::WriteAll(dir.File(std::string("old-") + name), "old"));
    ::chmod(dir.File(std::string("old-") + name).c_str(), 0640);
  }
  ASSERT_TRUE(files::WriteAll(dir.File("to-rename"), "new"));

  EXPECT_TRUE(files::WriteAll(dir.File("new-written"), "new"));
  EXPECT_TRUE(files::Copy(dir.File("source"), dir.File("new-copied")));
  EXPECT_TRUE(files::MakeDirs(dir.File("made/inner")));
  EXPECT_TRUE(files::WriteAll(dir.File("old-written"), "new"));
  EXPECT_TRUE(files::Copy(dir.File("source"), dir.File("old-copied")));
  EXPECT_TRUE(files::Rename(dir.File("to-rename"), dir.File("old-renamed")));
  ::umask(umask);

  const struct {
    const char* name;
    const char* mode;
  } cases[] = {
      {"new-written", "600"}, {"new-copied", "600"},  {"made", "700"},        {"made/inner", "700"},
      {"old-written", "640"}, {"old-copied", "640"}, {"old-renamed", "640"}, {"source", "644"},
  };
  for (const auto& c : cases) EXPECT_EQ(testsupport::ModeOf(dir.File(c.name)), c.mode) << c.name;
}

TEST(FilePaths, Parts) {
  EXPECT_EQ(files::DirName("/a/b/c.txt"), "/a/b");
  EXPECT_EQ(files::DirName("c.txt"), ".");
  EXPECT_EQ(files::BaseName("/a/b/c.txt"), "c.txt");
  EXPECT_EQ(files::Join("/a/", "b"), "/a/b");
  EXPECT_EQ(files::Join("/a", "b"), "/a/b");
}

// What a killed write leaves beside its target goes, a killed copy to a temporary target
// included; any other file beside it stays, even one whose name comes close or that a person
// named .tmp.
TEST_F(Files, LeftoverTempsOfATargetAreRemovedAndNothingElse) {
  const std::string target = dir.File("dstx2.dat");
  ASSERT_TRUE(files::WriteAll(target, "live"));
  const std::string made = files::TempName(dir.path(), "dstx2.dat");
  const std::string copyInProgress = files::TempName(dir.path(), files::BaseName(made));
  const struct {
    std::string name;
    bool leftover;
  } cases[] = {
      {files::BaseName(made), true},
      {files::BaseName(copyInProgress), true},
      {"dstx2.dat.~workmemo-a1b2c3d4e5f6.tmp", true},
      {"dstx2.dat.~workmemo-a1b2c3d4e5f6.tmp-journal", true},
      {"dstx2.dat.~workmemo-a1b2c3d4e5f6.tmp.~workmemo-0000zzzz9999.tmp", true},
      {"dstx2.dat", false},
      {"dstx2.dat.backup.tmp", false},
      {"dstx2.dat.a1b2c3.tmp", false},
      {"dstx2.dat.tmp", false},
      {"dstx2.dat.~workmemo-A1B2C3D4E5F6.tmp", false},
      {"dstx2.dat.~workmemo-a1b2c3d4e5f.tmp", false},
      {"dstx2.dat.~workmemo-a1b2c3d4e5f6.tmp.bak", false},
      {"dstx2.dat.~workmemo-a1b2c3d4e5f6.tmp.notes1.tmp", false},
      {"dstx2.dat.~workmemo-a1b2c3d4e5f6.txt", false},
      {"dstx2.dat~workmemo-a1b2c3d4e5f6.tmp", false},
      {"dqtx2.dat.~workmemo-a1b2c3d4e5f6.tmp", false},
      {"my dstx2.dat.~workmemo-a1b2c3d4e5f6.tmp", false},
  };
  for (const auto& c : cases) {
    if (c.name != "dstx2.dat") {
      ASSERT_TRUE(files::WriteAll(dir.File(c.name), "copy"));
    }
  }
  // Only regular files: a folder of that name stays, and so does a link and what it names.
  const std::string folder = "dstx2.dat.~workmemo-aaaaaaaaaaaa.tmp";
  const std::string link = "dstx2.dat.~workmemo-bbbbbbbbbbbb.tmp";
  ASSERT_TRUE(files::MakeDirs(dir.File(folder)));
  ASSERT_EQ(::symlink(dir.File("dqtx2.dat.~workmemo-a1b2c3d4e5f6.tmp").c_str(), dir.File(link).c_str()), 0);

  EXPECT_EQ(files::RemoveLeftoverTemps(target), 5);
  for (const auto& c : cases) EXPECT_EQ(files::Exists(dir.File(c.name)), !c.leftover) << c.name;
  EXPECT_TRUE(files::IsDirectory(dir.File(folder)));
  EXPECT_EQ(files::ReadAll(dir.File(link)), "copy");
  EXPECT_EQ(files::RemoveLeftoverTemps(dir.File("missing/dstx2.dat")), 0);
}
