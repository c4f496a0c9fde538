#include "platform/os/autostart.h"

#include <optional>

#include "platform/files/files.h"
#include "platform/os/paths.h"
#include "platform/text/text.h"

namespace platform::os {
namespace {

// The title desktops show for the entry.
constexpr std::string_view kEntryTitle = "枫汀阁工作备忘录";

std::string AutostartDirectory() { return files::Join(ConfigHome(), "autostart"); }

std::string EntryPath(std::string_view name) {
  return files::Join(AutostartDirectory(), std::string(name) + ".desktop");
}

}  // namespace

std::string QuoteExecArgument(std::string_view argument) {
  std::string out = "\"";
  // Walks characters: "\" and "`" can be trail bytes of GB18030 characters.
  for (std::size_t p = 0; p < argument.size();) {
    std::size_t n = text::CharLength(argument, p);
    if (n > 1) {
      out.append(argument.substr(p, n));
      p += n;
      continue;
    }
    char c = argument[p++];
    switch (c) {
      // Quoting escapes "\", then the string escape doubles that backslash again.
      case '\\': out += "\\\\\\\\"; break;
      case '"': out += "\\\\\""; break;
      case '`': out += "\\\\`"; break;
      case '$': out += "\\\\$"; break;
      case '%': out += "%%"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  out += '"';
  return out;
}

std::string ReadAutostart(std::string_view name) {
  std::optional<std::string> content = files::ReadAll(EntryPath(name));
  if (!content) return {};
  // The file is UTF-8, where no ASCII byte is ever part of a longer character.
  std::string_view rest = *content;
  bool inEntry = false;
  while (!rest.empty()) {
    std::size_t lf = rest.find('\n');
    std::string_view line = rest.substr(0, lf);
    rest = lf == std::string_view::npos ? std::string_view() : rest.substr(lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.front() == '[') {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    if (!inEntry || line.substr(0, 4) != "Exec") continue;
    std::string_view after = line.substr(4);
    std::size_t eq = after.find_first_not_of(' ');
    if (eq == std::string_view::npos || after[eq] != '=') continue;  // another key, e.g. Exec[x]
    after = after.substr(eq + 1);
    std::size_t start = after.find_first_not_of(' ');
    return text::FromUtf8(start == std::string_view::npos ? std::string_view() : after.substr(start));
  }
  return {};
}

bool WriteAutostart(std::string_view name, std::string_view exec) {
  if (exec.find_first_of("\r\n") != std::string_view::npos) return false;
  if (!files::MakeDirs(AutostartDirectory())) return false;
  std::string content = "[Desktop Entry]\nType=Application\nName=" + std::string(kEntryTitle) +
                        "\nExec=" + text::ToUtf8(exec) + "\n";
  return files::WriteAll(EntryPath(name), content);
}

bool DeleteAutostart(std::string_view name) {
  std::string path = EntryPath(name);
  if (!files::Exists(path)) return true;
  return files::Remove(path);
}

}  // namespace platform::os
