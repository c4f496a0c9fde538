#pragma once
// Shared test fixtures: a fresh program directory per test, and readable GB18030 output.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testsupport {

// A fresh temporary directory, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }  // UTF-8 == GB18030 for its ASCII name
  std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

 private:
  std::string path_;
};

// Sets WORKMEMO_HOME and XDG_CONFIG_HOME to fresh directories for the test's lifetime.
class TempHomeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  const std::string& home() const { return home_->path(); }
  const std::string& configHome() const { return config_->path(); }

 private:
  TempDir* home_ = nullptr;
  TempDir* config_ = nullptr;
};

// Writes the built-in empty data file `image` ("dstx2.dat", "dqtx2.dat", "jsb2.dat") to
// `path`; false when the image is not linked in or the write fails.
bool WriteDataFileFromImage(const std::string& path, std::string_view image);

// Overwrites `count` bytes of the file from `offset` with a fixed pattern, as a stray write or
// a failing disk would. False when the file cannot be written there.
bool OverwriteBytes(const std::string& path, long offset, std::size_t count);

// A data file written from its image ("dstx2.dat", "dqtx2.dat", "jsb2.dat") and filled with
// `rows` rows (reminders titled "r1".."rN" starting 2024-01-01 10:00, due-date items or notes
// named the same way), whose pages amid those rows are then overwritten: the table no
// longer reads as a whole, while its schema, most of its rows one by one and the "admin"
// row still read. False when the file could not be made.
bool WriteDamagedDataFile(const std::string& path, std::string_view image, int rows);
inline bool WriteDamagedReminderFile(const std::string& path, int rows) {
  return WriteDamagedDataFile(path, "dstx2.dat", rows);
}

// Copies the notes file at `path` to `copy` in the middle of a transaction whose rows no longer
// fit the cache, with its journal: a file half changed, and beside it the hot journal that
// would roll it back. `path` itself ends as it was. False when the pair could not be made.
bool CopyWithHotJournal(const std::string& path, const std::string& copy);

// The permission bits of the file or directory at `path` (not followed when a link) in
// octal, such as "600"; "missing" when there is none.
std::string ModeOf(const std::string& path);

// Named pipes made for code that must never wait on them. Should that code still be running
// after `patience`, every pipe gets a writer that closes at once, so a reader stuck on one
// sees its end and the test fails instead of hanging. Created before the code runs.
class PipeWatch {
 public:
  explicit PipeWatch(std::vector<std::string> pipes, std::chrono::seconds patience = std::chrono::seconds(10));
  ~PipeWatch() { Finish(); }
  PipeWatch(const PipeWatch&) = delete;
  PipeWatch& operator=(const PipeWatch&) = delete;
  // Ends the watch; true when some reader had to be let go.
  bool Finish();

 private:
  std::vector<std::string> pipes_;
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  bool released_ = false;
  std::thread watcher_;
};

// A GB18030 text shown as UTF-8 in failure messages.
std::string Show(std::string_view gb18030);

}  // namespace testsupport
