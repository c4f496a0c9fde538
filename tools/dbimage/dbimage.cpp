// Builds an empty data file at build time: runs the schema scripts, in order, in a fresh file
// encrypted with the database password, and moves it into place only when all went well.
//   dbimage <out.dat> <script.sql>...
#include <QByteArray>
#include <QCryptographicHash>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/database_constants.h"
#include "platform/db/db.h"

namespace {

bool Fail(const std::string& message) {
  std::fprintf(stderr, "dbimage: %s\n", message.c_str());
  return false;
}

// The stored form of the initial password: the lower-case MD5 of its bytes.
std::string InitialPasswordDigest() {
  const QByteArray bytes(workmemo::kInitialPassword);
  return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().toStdString();
}

// One statement per call: a statement ends with the line whose last character is ';'.
// Lines of "--" comments are left out.
bool RunScript(platform::db::Connection& db, const std::string& path) {
  std::ifstream in(path);
  if (!in) return Fail("cannot read " + path);
  const std::string placeholder = "@INITIAL_PASSWORD_DIGEST@";
  std::string statement, line;
  while (std::getline(in, line)) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line.compare(first, 2, "--") == 0) continue;
    for (std::size_t p; (p = line.find(placeholder)) != std::string::npos;)
      line.replace(p, placeholder.size(), InitialPasswordDigest());
    statement += line;
    statement += '\n';
    const auto last = line.find_last_not_of(" \t\r");
    if (line[last] != ';') continue;
    if (!db.Execute(statement)) return Fail(path + ": " + db.LastError() + "\n" + statement);
    statement.clear();
  }
  if (statement.find_first_not_of(" \t\r\n") != std::string::npos)
    return Fail(path + ": statement without ';' at the end");
  return true;
}

bool Build(const std::string& out, int scriptCount, char** scripts) {
  const std::string temp = out + ".tmp";
  std::filesystem::remove(temp);
  std::ofstream(temp, std::ios::binary).close();  // an empty file opens as an empty database
  {
    platform::db::Connection db;
    if (!db.Open(platform::db::ConnectionText(temp, workmemo::kDatabasePassword)))
      return Fail("cannot open " + temp + ": " + db.LastError());
    for (int i = 0; i < scriptCount; ++i)
      if (!RunScript(db, scripts[i])) return false;
    if (!db.Execute("PRAGMA integrity_check")) return Fail(db.LastError());
  }
  std::error_code ec;
  std::filesystem::rename(temp, out, ec);
  return ec ? Fail("cannot write " + out + ": " + ec.message()) : true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: dbimage <out.dat> <script.sql>...\n");
    return 2;
  }
  return Build(argv[1], argc - 2, argv + 2) ? 0 : 1;
}
