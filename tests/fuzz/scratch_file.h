#pragma once
// A file of the fuzz process's own for the readers that take a path: in memory under /dev/shm
// when there is one (every write is flushed to disk otherwise), removed when the process ends.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

class ScratchFile {
 public:
  explicit ScratchFile(const char* name) {
    const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
    path_ = std::string(dir != nullptr ? dir : "/tmp") + "/workmemo-fuzz-" + std::to_string(::getpid()) + "-" + name;
  }
  ~ScratchFile() { ::unlink(path_.c_str()); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  const std::string& path() const { return path_; }
  bool Write(const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out.flush());
  }

 private:
  std::string path_;
};
