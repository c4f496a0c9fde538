#include "test_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/database_constants.h"
#include "platform/db/db.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/text/text.h"

namespace testsupport {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "workmemo-test-XXXXXX").string();
  char* made = ::mkdtemp(tmpl.data());
  if (made == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = made;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempHomeTest::SetUp() {
  home_ = new TempDir();
  config_ = new TempDir();
  ::setenv("WORKMEMO_HOME", home_->path().c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", config_->path().c_str(), 1);
}

void TempHomeTest::TearDown() {
  ::unsetenv("WORKMEMO_HOME");
  delete home_;
  delete config_;
  home_ = config_ = nullptr;
}

std::string ModeOf(const std::string& path) {
  struct stat st{};
  if (::lstat(path.c_str(), &st) != 0) return "missing";
  char mode[8];
  std::snprintf(mode, sizeof mode, "%o", static_cast<unsigned>(st.st_mode & 07777));
  return mode;
}

bool WriteDataFileFromImage(const std::string& path, std::string_view image) {
  const auto bytes = platform::files::ReadResource(":/db/" + std::string(image));
  return bytes.has_value() && platform::files::WriteAll(path, *bytes);
}

bool OverwriteBytes(const std::string& path, long offset, std::size_t count) {
  std::FILE* f = std::fopen(path.c_str(), "r+b");
  if (f == nullptr) return false;
  bool ok = std::fseek(f, offset, SEEK_SET) == 0;
  for (std::size_t i = 0; ok && i < count; ++i) ok = std::fputc(static_cast<int>((i * 131 + 7) & 0xFF), f) != EOF;
  return std::fclose(f) == 0 && ok;
}

bool WriteDamagedDataFile(const std::string& path, std::string_view image, int rows) {
  const std::string start = "'2024-01-01 10:00:00'";
  const std::string filler = "'" + std::string(300, 'x') + "'";
  std::string insert;
  if (image == "dstx2.dat")
    insert = "insert into txsj(ksdate,jsdate,kstime,jstime,txdate,txfs,txrw,txbt,txnr) select " + start +
             "," + start + "," + start + "," + start + "," + start + ",0,0,'r'||x," + filler;
  else if (image == "dqtx2.dat")
    insert = "insert into dqsj(xmmc,dqdate,ksdate,bz) select 'r'||x," + start + "," + start + "," + filler;
  else
    insert = "insert into jsbsj(bt,jsdate,nr) select 'r'||x," + start + "," + filler;
  if (!WriteDataFileFromImage(path, image)) return false;
  const std::int64_t imageBytes = platform::files::Size(path);
  {
    platform::db::Connection c;
    if (c.Open(platform::db::ConnectionText(path, workmemo::kDatabasePassword)) != 1) return false;
    // One statement: the rows' numbers come from a recursive row source.
    const std::string numbers = " from (with recursive n(x) as (select 1 union all select x+1 from n where x<" +
                                std::to_string(rows) + ") select x from n)";
    if (c.Execute(insert + numbers) != 1) return false;
  }
  // A 4 KB stretch in the middle of the pages the rows went to.
  const std::int64_t filled = platform::files::Size(path);
  const long middle = static_cast<long>((imageBytes + filled) / 2 / 4096 * 4096);
  return OverwriteBytes(path, middle, 4096);
}

bool CopyWithHotJournal(const std::string& path, const std::string& copy) {
  platform::db::Connection c;
  if (c.Open(platform::db::ConnectionText(path, workmemo::kDatabasePassword)) != 1) return false;
  if (c.Execute("PRAGMA cache_size=10") != 1 || c.Execute("BEGIN") != 1) return false;
  const std::string insert = "insert into jsbsj(bt,nr) values ('x','" + std::string(2000, 'n') + "')";
  for (int i = 0; i < 100; ++i) {
    if (c.Execute(insert) != 1) return false;
  }
  const bool copied = platform::files::Copy(path, copy) && platform::files::Copy(path + "-journal", copy + "-journal");
  return c.Execute("ROLLBACK") == 1 && copied;
}

PipeWatch::PipeWatch(std::vector<std::string> pipes, std::chrono::seconds patience) : pipes_(std::move(pipes)) {
  for (const std::string& pipe : pipes_) {
    if (::mkfifo(pipe.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed: " + pipe);
  }
  watcher_ = std::thread([this, patience] {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!done_.wait_for(lock, patience, [this] { return finished_; })) {
      // Opening for writing without waiting succeeds only when someone has it open to read.
      for (const std::string& pipe : pipes_) {
        const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        released_ = true;
        ::close(fd);
      }
    }
  });
}

bool PipeWatch::Finish() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
  }
  done_.notify_all();
  if (watcher_.joinable()) watcher_.join();
  return released_;
}

std::string Show(std::string_view gb18030) { return platform::text::ToUtf8(gb18030); }

}  // namespace testsupport
