#include "platform/ini/ini.h"

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/files/files.h"
#include "platform/text/text.h"

namespace platform::ini {
namespace {

bool IsBlank(unsigned char b) { return b >= 1 && b <= 32; }

std::string_view SkipLeading(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsBlank(static_cast<unsigned char>(s[i]))) ++i;
  return s.substr(i);
}

// Trailing blanks are found by walking characters, so a multi-byte character is never split.
std::string_view Trim(std::string_view s) {
  s = SkipLeading(s);
  std::size_t end = 0;
  for (std::size_t p = 0; p < s.size();) {
    std::size_t n = text::CharLength(s, p);
    if (n > 1 || !IsBlank(static_cast<unsigned char>(s[p]))) end = p + n;
    p += n;
  }
  return s.substr(0, end);
}

struct Line {
  std::size_t start = 0;  // first byte of the line
  std::size_t end = 0;    // end of its text, before "\r\n" or "\n"
  std::size_t next = 0;   // start of the following line
};

// Line breaks are found byte by byte: CR and LF are never part of a GB18030 character (every
// trail byte is 0x30 or above), so this cannot split one.
std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t lf = content.find('\n', start);
    Line line;
    line.start = start;
    if (lf == std::string_view::npos) {
      // A file cut after the CR of its last CR LF ends that line with the CR all the same.
      line.next = content.size();
      line.end = content.back() == '\r' ? line.next - 1 : line.next;
    } else {
      line.end = (lf > start && content[lf - 1] == '\r') ? lf - 1 : lf;
      line.next = lf + 1;
    }
    lines.push_back(line);
    start = line.next;
  }
  return lines;
}

// The name of a section header line ("[name]"); false for any other line.
bool SectionName(std::string_view trimmed, std::string_view& name) {
  if (trimmed.empty() || trimmed[0] != '[') return false;
  std::string_view rest = trimmed.substr(1);
  std::size_t close = text::FindChars(rest, "]");
  name = Trim(close == std::string_view::npos ? rest : rest.substr(0, close));
  return true;
}

// Splits "key=value" into its trimmed parts; false for a line without "=".
bool KeyValue(std::string_view trimmed, std::string_view& key, std::string_view& value) {
  std::size_t eq = text::FindChars(trimmed, "=");
  if (eq == std::string_view::npos) return false;
  key = Trim(trimmed.substr(0, eq));
  value = Trim(trimmed.substr(eq + 1));
  return true;
}

// Where an item lives in the file: its section's header line, its own line, and the end of
// the section's last non-empty line (where a new key goes). Only the first section of a name
// is used, by reads and writes alike.
struct Location {
  bool sectionFound = false;
  bool keyFound = false;
  Line keyLine;
  std::size_t insertAt = 0;
};

Location Locate(std::string_view content, std::string_view section, std::string_view key) {
  Location loc;
  bool inSection = false;
  for (const Line& line : SplitLines(content)) {
    std::string_view trimmed = Trim(content.substr(line.start, line.end - line.start));
    std::string_view name;
    if (SectionName(trimmed, name)) {
      if (inSection) break;
      if (text::EqualsIgnoreAsciiCase(name, section)) {
        inSection = loc.sectionFound = true;
        loc.insertAt = line.next;
      }
      continue;
    }
    if (!inSection || trimmed.empty()) continue;
    loc.insertAt = line.next;
    std::string_view k, v;
    if (KeyValue(trimmed, k, v) && text::EqualsIgnoreAsciiCase(k, key)) {
      loc.keyFound = true;
      loc.keyLine = line;
      break;
    }
  }
  return loc;
}

// A byte test is exact here for the same reason as in SplitLines.
bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

bool IsReadable(std::string_view path) {
  path = SkipLeading(path);
  return !files::Exists(path) || files::ReadAll(path, kFileLimit).has_value();
}

std::string ReadItem(std::string_view path, std::string_view section, std::string_view key) {
  path = SkipLeading(path);
  section = Trim(section);
  key = Trim(key);
  if (path.empty() || section.empty() || key.empty()) return {};
  std::optional<std::string> content = files::ReadAll(path, kFileLimit);
  if (!content) return {};
  Location loc = Locate(*content, section, key);
  if (!loc.keyFound) return {};
  const Line& line = loc.keyLine;
  std::string_view k, v;
  KeyValue(Trim(std::string_view(*content).substr(line.start, line.end - line.start)), k, v);
  return std::string(v);
}

namespace {

// Sets one item in the file's text; false when the item may not be written.
bool SetItem(std::string& content, std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  if (section.empty() || key.empty()) return false;
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  if (text::FindChars(key, "=") != std::string_view::npos) return false;
  if (text::FindChars(section, "]") != std::string_view::npos) return false;

  if (!content.empty() && content.back() == '\r') content += '\n';  // its last line break, made whole
  // New lines follow the file's own line breaks.
  std::size_t firstLf = content.find('\n');
  const char* nl = (firstLf != std::string::npos && firstLf > 0 && content[firstLf - 1] == '\r')
                       ? "\r\n"
                       : "\n";
  std::string item = std::string(key) + "=" + std::string(value);

  Location loc = Locate(content, section, key);
  if (loc.keyFound) {
    // Only the value changes: the key keeps its spelling and place.
    std::string_view line =
        std::string_view(content).substr(loc.keyLine.start, loc.keyLine.end - loc.keyLine.start);
    std::size_t valueAt = loc.keyLine.start + text::FindChars(line, "=") + 1;
    content.replace(valueAt, loc.keyLine.end - valueAt, value);
  } else if (loc.sectionFound) {
    std::string insert = item + nl;
    if (loc.insertAt == content.size() && !content.empty() && content.back() != '\n') {
      insert = nl + insert;
    }
    content.insert(loc.insertAt, insert);
  } else {
    if (!content.empty() && content.back() != '\n') content += nl;
    content += "[" + std::string(section) + "]" + nl + item + nl;
  }
  return true;
}

}  // namespace

bool WriteItem(std::string_view path, std::string_view section, std::string_view key,
               std::string_view value) {
  return WriteItems(path, section, {{key, value}});
}

bool WriteItems(std::string_view path, std::string_view section,
                std::initializer_list<std::pair<std::string_view, std::string_view>> items) {
  path = SkipLeading(path);
  if (path.empty()) return false;
  std::string content;
  if (files::Exists(path)) {
    std::optional<std::string> read = files::ReadAll(path, kFileLimit);
    if (!read) return false;
    content = std::move(*read);
  }
  for (const auto& [key, value] : items)
    if (!SetItem(content, section, key, value)) return false;
  return files::WriteAll(path, content);
}

}  // namespace platform::ini
