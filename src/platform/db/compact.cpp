#include "platform/db/compact.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

#include "platform/files/files.h"
#include "platform/text/text.h"

namespace platform::db {
namespace {

class Handle {
 public:
  Handle() = default;
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  sqlite3*& get() { return db_; }
  void Close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
  }

 private:
  sqlite3* db_ = nullptr;
};

// Runs one statement with its text parameters bound (?1, ?2, ...) and hands each result row
// to `onRow`; false with the engine's message on failure.
template <typename OnRow>
bool Run(sqlite3* db, const std::string& sql, const std::vector<std::string>& params, std::string& error,
         OnRow onRow) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
  for (std::size_t i = 0; rc == SQLITE_OK && i < params.size(); ++i)
    rc = sqlite3_bind_text(stmt, static_cast<int>(i) + 1, params[i].data(), static_cast<int>(params[i].size()),
                           SQLITE_TRANSIENT);
  if (rc == SQLITE_OK) {
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) onRow(stmt);
  }
  sqlite3_finalize(stmt);
  if (rc == SQLITE_DONE) return true;
  error = sqlite3_errmsg(db);
  return false;
}

bool Run(sqlite3* db, const std::string& sql, const std::vector<std::string>& params, std::string& error) {
  return Run(db, sql, params, error, [](sqlite3_stmt*) {});
}

// Opens an existing file with `key` (UTF-8; empty: a plain file) and proves the key by
// reading the schema.
bool OpenKeyed(const std::string& nativePath, const std::string& key, Handle& h, std::string& error) {
  if (sqlite3_open_v2(nativePath.c_str(), &h.get(), SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    error = h.get() ? sqlite3_errmsg(h.get()) : "out of memory";
    return false;
  }
  if (!key.empty() && sqlite3_key(h.get(), key.data(), static_cast<int>(key.size())) != SQLITE_OK) {
    error = sqlite3_errmsg(h.get());
    return false;
  }
  return Run(h.get(), "SELECT count(*) FROM sqlite_master", {}, error);
}

std::string QuoteName(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

using TableCounts = std::vector<std::pair<std::string, std::int64_t>>;

// Every table of the file with its row count, by name.
bool CountRows(sqlite3* db, TableCounts& counts, std::string& error) {
  counts.clear();
  std::vector<std::string> names;
  if (!Run(db, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name", {}, error,
           [&names](sqlite3_stmt* s) { names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))); }))
    return false;
  for (const std::string& name : names) {
    std::int64_t rows = 0;
    if (!Run(db, "SELECT count(*) FROM " + QuoteName(name), {}, error,
             [&rows](sqlite3_stmt* s) { rows = sqlite3_column_int64(s, 0); }))
      return false;
    counts.emplace_back(name, rows);
  }
  return true;
}

// The copy stands for the source only when it opens with its key, is sound, and holds the
// same tables with the same number of rows.
bool ProveCopy(const std::string& nativeCopy, const std::string& key, const TableCounts& expected,
               std::string& error) {
  Handle copy;
  if (!OpenKeyed(nativeCopy, key, copy, error)) return false;
  std::string verdict;
  if (!Run(copy.get(), "PRAGMA integrity_check", {}, error, [&verdict](sqlite3_stmt* s) {
        const unsigned char* t = sqlite3_column_text(s, 0);
        verdict += t ? reinterpret_cast<const char*>(t) : "";
      }))
    return false;
  if (verdict != "ok") {
    error = "integrity check: " + verdict;
    return false;
  }
  TableCounts counts;
  if (!CountRows(copy.get(), counts, error)) return false;
  if (counts != expected) {
    error = "the copy does not hold the same tables and rows";
    return false;
  }
  return true;
}

}  // namespace

CompactResult CompactDatabaseFile(std::string_view path, std::string_view password,
                                  std::string_view newPassword) {
  CompactResult result;
  const std::string native = text::ToUtf8(path);
  struct stat original {};
  if (::stat(native.c_str(), &original) != 0 || !S_ISREG(original.st_mode)) {
    result.detail = "no such database file";
    return result;
  }

  TableCounts counts;
  {
    Handle source;
    if (!OpenKeyed(native, text::ToUtf8(password), source, result.detail) ||
        !CountRows(source.get(), counts, result.detail))
      return result;
    if (counts.empty()) {  // an empty file opens with any key; there is nothing to compact
      result.detail = "the file holds no table";
      return result;
    }

    const std::string temp = files::TempName(files::DirName(path), files::BaseName(path));
    const std::string nativeTemp = text::ToUtf8(temp);
    const auto fail = [&](CompactStatus status) {
      source.Close();
      files::Remove(temp);
      files::Remove(temp + "-journal");
      result.status = status;
      return result;
    };
    if (files::ShouldFailForTest(files::Op::Write)) {
      result.detail = std::strerror(errno);
      return fail(CompactStatus::Failed);
    }
    // The source connection may not create files; the copy is made empty beforehand, with
    // the original's permissions, and the export fills it.
    const int fd = ::open(nativeTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, original.st_mode & 07777);
    if (fd < 0) {
      result.detail = std::strerror(errno);
      return fail(CompactStatus::Failed);
    }
    ::fchmod(fd, original.st_mode & 07777);
    ::close(fd);
    // The file name goes in as a parameter, never into the statement.
    if (!Run(source.get(), "ATTACH DATABASE ?1 AS compacted KEY ?2", {nativeTemp, text::ToUtf8(newPassword)},
             result.detail))
      return fail(CompactStatus::Failed);
    if (!Run(source.get(), "SELECT sqlcipher_export('compacted')", {}, result.detail)) {
      const bool missing = result.detail.find("no such function") != std::string::npos;
      return fail(missing ? CompactStatus::NoEngine : CompactStatus::Failed);
    }
    // The export carries schema and rows but not the header numbers a program may keep.
    for (const char* pragma : {"user_version", "application_id"}) {
      std::int64_t value = 0;
      if (!Run(source.get(), std::string("PRAGMA main.") + pragma, {}, result.detail,
               [&value](sqlite3_stmt* s) { value = sqlite3_column_int64(s, 0); }) ||
          !Run(source.get(), std::string("PRAGMA compacted.") + pragma + "=" + std::to_string(value), {},
               result.detail))
        return fail(CompactStatus::Failed);
    }
    if (!Run(source.get(), "DETACH DATABASE compacted", {}, result.detail)) return fail(CompactStatus::Failed);
    source.Close();

    if (!ProveCopy(nativeTemp, text::ToUtf8(newPassword), counts, result.detail)) return fail(CompactStatus::Failed);
    if (!files::SyncFile(temp)) {
      result.detail = "cannot flush the copy";
      return fail(CompactStatus::Failed);
    }
    if (!files::Rename(temp, path)) {
      result.detail = std::strerror(errno);
      return fail(CompactStatus::NotReplaced);
    }
  }
  // The copy is in place; a failed flush of the directory cannot undo that.
  if (!files::SyncDirectory(files::DirName(path))) result.detail = "cannot flush the directory";
  result.status = CompactStatus::Ok;
  return result;
}

}  // namespace platform::db
