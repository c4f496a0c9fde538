#pragma once
// Compaction of an encrypted data file in place: its content is exported into a fresh file
// beside it, which is checked and then renamed over the original. The live file is never
// removed first, so any failure leaves it as it was.
#include <string>
#include <string_view>

namespace platform::db {

enum class CompactStatus {
  Ok,
  NoEngine,     // the engine has no export into an encrypted file
  Failed,       // the file could not be read, or the copy not written or not proved sound
  NotReplaced,  // the copy is sound but could not take the original's place
};

struct CompactResult {
  CompactStatus status = CompactStatus::Failed;
  std::string detail;  // UTF-8, for diagnostics only
  bool ok() const { return status == CompactStatus::Ok; }
};

// Compacts the database file `path` (GB18030), opened with `password`; the copy is keyed
// with `newPassword` (empty: a plain file). The copy is accepted only when it opens with that
// key, holds every table of the source with as many rows, and passes the integrity check;
// it is flushed before the rename and the directory after. No connection may hold the file.
CompactResult CompactDatabaseFile(std::string_view path, std::string_view password,
                                  std::string_view newPassword);
inline CompactResult CompactDatabaseFile(std::string_view path, std::string_view password) {
  return CompactDatabaseFile(path, password, password);
}

}  // namespace platform::db
