#pragma once
// Files by GB18030 path. Writes go through a temporary file beside the target and a rename,
// so a file is either its old or its new content, never half-written. What the program
// writes is the user's alone: a new file is made 0600 and a new directory 0700, while a file
// written over keeps the mode it had.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::files {

inline constexpr unsigned kPrivateFileMode = 0600;
inline constexpr unsigned kPrivateDirectoryMode = 0700;

bool Exists(std::string_view path);  // a file or a directory
bool IsDirectory(std::string_view path);
// A regular file (through links), told from its entry alone: the file is not opened, so a pipe
// with no writer is never waited on.
bool IsRegularFile(std::string_view path);
// The whole content of a regular file of at most `maxBytes` bytes; nullopt for anything
// else: a directory, a device such as /dev/zero that never ends, a pipe that would wait for
// a writer (it is never waited on), a larger file, or one that cannot be read.
inline constexpr std::int64_t kNoSizeLimit = INT64_MAX;
std::optional<std::string> ReadAll(std::string_view path, std::int64_t maxBytes = kNoSizeLimit);
// Whole-file replace: temporary file, flush to disk, rename, flush the directory.
bool WriteAll(std::string_view path, std::string_view bytes);
// Copies a regular file (never a pipe or a device) block by block, in the same memory
// whatever its size, through a temporary file beside `to`, flushed, and a rename; `to` is
// replaced when present and keeps its mode. A failure part-way leaves `to` as it was.
bool Copy(std::string_view from, std::string_view to);
inline constexpr std::size_t kCopyBlockBytes = std::size_t{1} << 20;  // read and written at a time
bool Remove(std::string_view path);
bool Rename(std::string_view from, std::string_view to);  // replaces `to`, keeping its mode
std::int64_t Size(std::string_view path);                 // -1 when missing
// Whether both paths exist and name the same file (through links and other spellings).
bool IsSameFile(std::string_view a, std::string_view b);
bool MakeDirs(std::string_view path);  // each directory it makes 0700
bool SyncFile(std::string_view path);
bool SyncDirectory(std::string_view path);
// A name for a new file in `dir` that does not exist yet, one no person would choose:
// dir/prefix.~workmemo-XXXXXXXXXXXX.tmp (12 random lowercase letters and digits).
std::string TempName(std::string_view dir, std::string_view prefix);
// Removes the temporary files that writes to `target` (WriteAll, Copy, and any TempName with
// the target's name as prefix, and a copy's own temporary file beside such a temporary target)
// leave beside it when the process is killed before the rename, and the database engine's
// journal of one: regular files named by TempName's pattern only. The number removed.
int RemoveLeftoverTemps(std::string_view target);
std::string DirName(std::string_view path);
std::string BaseName(std::string_view path);
std::string Join(std::string_view dir, std::string_view name);

// Fault injection for tests (they run as root, where permissions stop nothing): every call
// of `op` after `skip` successful ones fails with `fault` until cleared. Copy checks Copy once
// before it starts and Write before each block it writes.
enum class Op { Write, Copy, Rename, Remove, MakeDirs };
enum class Fault { DiskFull, IoError };
void InjectFaultForTest(Op op, Fault fault, int skip = 0);
void ClearFaultsForTest();

// Used by other platform modules that write files on their own (the database engine):
// true when an injected fault makes this operation fail now (errno is set).
bool ShouldFailForTest(Op op);

}  // namespace platform::files
