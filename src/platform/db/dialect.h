#pragma once
// The SQL dialect the program writes, on top of the engine: "select top N", now(),
// datediff('d', a, b) in local calendar days, and a like that ignores letter case.
#include <string>
#include <string_view>

struct sqlite3;

namespace platform::db::dialect {

// Rewrites "select top N ..." into "select ... LIMIT N"; other statements pass unchanged.
std::string Translate(std::string_view utf8Sql);

// Registers now(), datediff() and like() on a connection; false when the engine refuses.
bool Register(sqlite3* db);

// The like of the program: '%' any run, '_' one character, case ignored (UTF-8 texts); a
// character after `escape` (0: none) stands for itself.
bool Like(std::string_view pattern, std::string_view text, char32_t escape = 0);

}  // namespace platform::db::dialect
