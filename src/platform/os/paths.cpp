#include "platform/os/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/files/files.h"
#include "platform/text/text.h"

namespace platform::os {
namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string Home() {
  std::string h = Env("HOME");
  return h.empty() ? std::string("/tmp") : h;
}

}  // namespace

std::string ProgramDirectory() {
  std::string dir = Env("WORKMEMO_HOME");
  if (dir.empty()) {
    std::string data = Env("XDG_DATA_HOME");
    if (data.empty() || data[0] != '/') data = Home() + "/.local/share";
    dir = data + "/workmemo";
  }
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return text::FromUtf8(dir);
}

std::string ExecutablePath() {
  std::string buf(4096, '\0');
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  buf.resize(static_cast<std::size_t>(n));
  return text::FromUtf8(buf);
}

std::string ExecutableDirectory() { return files::DirName(ExecutablePath()); }

std::string ConfigHome() {
  std::string dir = Env("XDG_CONFIG_HOME");
  if (dir.empty() || dir[0] != '/') dir = Home() + "/.config";
  return text::FromUtf8(dir);
}

std::string UserName() {
  if (const struct passwd* pw = ::getpwuid(::geteuid()); pw != nullptr && pw->pw_name != nullptr)
    return text::FromUtf8(pw->pw_name);
  return text::FromUtf8(Env("USER"));
}

}  // namespace platform::os
