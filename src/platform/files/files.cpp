#include "platform/files/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <mutex>
#include <random>
#include <vector>

#include "platform/text/text.h"

namespace platform::files {
namespace {

struct FaultState {
  bool active = false;
  Fault fault = Fault::IoError;
  int skip = 0;
};
std::mutex g_faultMutex;
std::array<FaultState, 5> g_faults;

std::string Native(std::string_view path) { return text::ToUtf8(path); }

bool WriteFd(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

// The mode a file written at `path` gets: the user's alone, unless it replaces a file whose
// mode someone chose, which it keeps.
mode_t ModeFor(const std::string& nativePath) {
  struct stat st{};
  if (::stat(nativePath.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 0777;
  return kPrivateFileMode;
}

// Opens a regular file for reading; -1 for anything else. Without O_NONBLOCK opening a pipe
// would wait until something writes to it, and a device such as /dev/zero never ends.
int OpenRegularFile(std::string_view path, struct stat& st) {
  int fd = ::open(Native(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

struct TempFile {
  std::string name;
  int fd = -1;
};

// A new temporary file beside `path`, open for writing, with the mode the file at `path` will
// have. Made without access for others from the start; the mode it ends with is set exactly,
// whatever the umask. fd is -1 when none could be made.
TempFile CreateTempBeside(std::string_view path) {
  TempFile temp{TempName(DirName(path), BaseName(path))};
  const std::string native = Native(temp.name);
  temp.fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kPrivateFileMode);
  if (temp.fd >= 0 && ::fchmod(temp.fd, ModeFor(Native(path))) != 0) {
    ::close(temp.fd);
    ::unlink(native.c_str());
    temp.fd = -1;
  }
  return temp;
}

// Flushes and closes a temporary file once all of it is `written`; it is removed when
// anything failed. Whether it is whole on disk.
bool FinishTemp(const TempFile& temp, bool written) {
  bool ok = written && ::fsync(temp.fd) == 0;
  ok = (::close(temp.fd) == 0) && ok;
  if (!ok) ::unlink(Native(temp.name).c_str());
  return ok;
}

// Gives a finished temporary file the name `path` and flushes the directory; the temporary
// file is removed when the rename fails, so `path` stays as it was.
bool RenameTempOver(const std::string& temp, std::string_view path) {
  if (::rename(Native(temp).c_str(), Native(path).c_str()) != 0) {
    ::unlink(Native(temp).c_str());
    return false;
  }
  SyncDirectory(DirName(path));
  return true;
}

// Copies the rest of `in` to `out` one block at a time, so a file of any size takes the same
// memory. An injected write fault fails the block it hits, as a disk filling up part-way would.
bool CopyBlocks(int in, int out) {
  const auto block = std::make_unique_for_overwrite<char[]>(kCopyBlockBytes);
  for (;;) {
    const ssize_t n = ::read(in, block.get(), kCopyBlockBytes);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    if (ShouldFailForTest(Op::Write) || !WriteFd(out, std::string_view(block.get(), static_cast<std::size_t>(n))))
      return false;
  }
}

}  // namespace

bool ShouldFailForTest(Op op) {
  std::lock_guard<std::mutex> lock(g_faultMutex);
  FaultState& s = g_faults[static_cast<std::size_t>(op)];
  if (!s.active) return false;
  if (s.skip > 0) {
    --s.skip;
    return false;
  }
  errno = s.fault == Fault::DiskFull ? ENOSPC : EIO;
  return true;
}

void InjectFaultForTest(Op op, Fault fault, int skip) {
  std::lock_guard<std::mutex> lock(g_faultMutex);
  g_faults[static_cast<std::size_t>(op)] = {true, fault, skip};
}

void ClearFaultsForTest() {
  std::lock_guard<std::mutex> lock(g_faultMutex);
  g_faults = {};
}

bool Exists(std::string_view path) {
  struct stat st{};
  return ::stat(Native(path).c_str(), &st) == 0;
}

bool IsDirectory(std::string_view path) {
  struct stat st{};
  return ::stat(Native(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsRegularFile(std::string_view path) {
  struct stat st{};
  return ::stat(Native(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> ReadAll(std::string_view path, std::int64_t maxBytes) {
  struct stat st{};
  const int fd = OpenRegularFile(path, st);
  if (fd < 0) return std::nullopt;
  if (st.st_size > maxBytes) {
    ::close(fd);
    return std::nullopt;
  }
  std::string out;
  out.reserve(static_cast<std::size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    // A file that grows while it is read stops at the limit as well.
    if (static_cast<std::int64_t>(out.size()) + n > maxBytes) {
      ::close(fd);
      return std::nullopt;
    }
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return out;
}

bool WriteAll(std::string_view path, std::string_view bytes) {
  if (ShouldFailForTest(Op::Write)) return false;
  const TempFile temp = CreateTempBeside(path);
  if (temp.fd < 0 || !FinishTemp(temp, WriteFd(temp.fd, bytes))) return false;
  if (ShouldFailForTest(Op::Rename)) {
    ::unlink(Native(temp.name).c_str());
    return false;
  }
  return RenameTempOver(temp.name, path);
}

bool Copy(std::string_view from, std::string_view to) {
  if (ShouldFailForTest(Op::Copy)) return false;
  struct stat st{};
  const int in = OpenRegularFile(from, st);
  if (in < 0) return false;
  const TempFile temp = CreateTempBeside(to);
  const bool copied = temp.fd >= 0 && CopyBlocks(in, temp.fd);
  ::close(in);
  return temp.fd >= 0 && FinishTemp(temp, copied) && RenameTempOver(temp.name, to);
}

bool Remove(std::string_view path) {
  if (ShouldFailForTest(Op::Remove)) return false;
  return ::unlink(Native(path).c_str()) == 0;
}

bool Rename(std::string_view from, std::string_view to) {
  if (ShouldFailForTest(Op::Rename)) return false;
  const std::string nativeFrom = Native(from);
  const std::string nativeTo = Native(to);
  struct stat replaced{};
  if (::stat(nativeTo.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode))
    ::chmod(nativeFrom.c_str(), replaced.st_mode & 0777);
  if (::rename(nativeFrom.c_str(), nativeTo.c_str()) != 0) return false;
  SyncDirectory(DirName(to));
  return true;
}

bool IsSameFile(std::string_view a, std::string_view b) {
  struct stat sa{}, sb{};
  if (::stat(Native(a).c_str(), &sa) != 0 || ::stat(Native(b).c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

std::int64_t Size(std::string_view path) {
  struct stat st{};
  if (::stat(Native(path).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  return static_cast<std::int64_t>(st.st_size);
}

bool MakeDirs(std::string_view path) {
  if (ShouldFailForTest(Op::MakeDirs)) return false;
  std::string native = Native(path);
  if (native.empty()) return false;
  for (std::size_t pos = 1; pos <= native.size(); ++pos) {
    if (pos == native.size() || native[pos] == '/') {
      std::string part = native.substr(0, pos);
      if (::mkdir(part.c_str(), kPrivateDirectoryMode) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat st{};
  return ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool SyncFile(std::string_view path) {
  int fd = ::open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

bool SyncDirectory(std::string_view path) {
  std::string native = Native(path.empty() ? std::string_view(".") : path);
  int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

namespace {

// What a temporary name adds to its target's name: the program's mark, a random part and
// ".tmp". No one names a file of their own like that, so the start can remove what a killed
// write left without touching the user's files.
constexpr std::string_view kTempMark = ".~workmemo-";
constexpr std::size_t kTempRandomChars = 12;
constexpr std::string_view kTempRandomAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::string_view kTempEnd = ".tmp";

// Whether `name` is `prefix` followed by one or more temporary parts (a copy to a temporary
// target writes through a temporary file of its own), or the engine's journal beside such a
// file.
bool IsTempNameOf(std::string_view name, std::string_view prefix) {
  if (!name.starts_with(prefix)) return false;
  std::string_view rest = name.substr(prefix.size());
  constexpr std::string_view kJournal = "-journal";
  if (rest.ends_with(kJournal)) rest.remove_suffix(kJournal.size());
  if (rest.empty()) return false;
  while (!rest.empty()) {
    if (!rest.starts_with(kTempMark)) return false;
    rest.remove_prefix(kTempMark.size());
    if (rest.size() < kTempRandomChars + kTempEnd.size()) return false;
    for (char c : rest.substr(0, kTempRandomChars)) {
      if (kTempRandomAlphabet.find(c) == std::string_view::npos) return false;
    }
    rest.remove_prefix(kTempRandomChars);
    if (!rest.starts_with(kTempEnd)) return false;
    rest.remove_prefix(kTempEnd.size());
  }
  return true;
}

}  // namespace

std::string TempName(std::string_view dir, std::string_view prefix) {
  static std::mutex rngMutex;  // a name may be taken on any thread
  static std::mt19937_64 rng{std::random_device{}()};
  std::string full;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    std::string name = std::string(prefix.empty() ? "tmp" : prefix);
    name += kTempMark;
    {
      std::lock_guard<std::mutex> lock(rngMutex);
      for (std::size_t i = 0; i < kTempRandomChars; ++i)
        name += kTempRandomAlphabet[rng() % kTempRandomAlphabet.size()];
    }
    name += kTempEnd;
    full = Join(dir, name);
    if (!Exists(full)) break;
  }
  return full;
}

int RemoveLeftoverTemps(std::string_view target) {
  // Matched on the native names: the folder's other names need not be text at all.
  const std::string dir = Native(DirName(target));
  const std::string prefix = Native(BaseName(target));
  DIR* listing = ::opendir(dir.c_str());
  if (listing == nullptr) return 0;
  std::vector<std::string> leftovers;
  while (const dirent* entry = ::readdir(listing)) {
    if (!IsTempNameOf(entry->d_name, prefix)) continue;
    const std::string path = dir + "/" + entry->d_name;
    struct stat st{};
    // A link or a folder of that name is no file of ours.
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) leftovers.push_back(path);
  }
  ::closedir(listing);
  int removed = 0;
  for (const std::string& path : leftovers) {
    if (!ShouldFailForTest(Op::Remove) && ::unlink(path.c_str()) == 0) ++removed;
  }
  return removed;
}

std::string DirName(std::string_view path) {
  // 0x2F is neither a lead byte nor a trail byte of GB18030 (trails are 0x30-0x39 and
  // 0x40-0xFE), so a byte search for '/' cannot land inside a character.
  std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  if (slash == 0) return "/";
  return std::string(path.substr(0, slash));
}

std::string BaseName(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string Join(std::string_view dir, std::string_view name) {
  if (dir.empty()) return std::string(name);
  std::string out(dir);
  if (out.back() != '/') out += '/';
  out += name;
  return out;
}

}  // namespace platform::files
