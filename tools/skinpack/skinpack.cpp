// skinpack: writes a skin package from a manifest of named entries.
//
//   skinpack [--verify] <manifest> <output>
//
// The manifest is UTF-8 text, one entry a line, in package order (the first entry carries the
// product name):
//   <name> = text:<text>        the text, stored as GB18030
//   <name> = colour:#RRGGBB     stored as decimal text of red + green * 256 + blue * 65536
//   <name> = file:<path>        the bytes of a file, the path relative to the manifest
// Blank lines and lines starting with '#' are skipped. With --verify the written package is
// read back through the program's own reader and compared entry by entry.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/files.h"
#include "platform/text/text.h"
#include "ui/skin_package.h"

namespace {

using workmemo::SkinPackageContents;

void Fail(const std::string& message) { std::fprintf(stderr, "skinpack: %s\n", message.c_str()); }

std::optional<std::string> ParseColour(std::string_view hex) {
  if (hex.size() != 7 || hex[0] != '#') return std::nullopt;
  unsigned rgb = 0;
  const char* end = hex.data() + hex.size();
  const auto [ptr, ec] = std::from_chars(hex.data() + 1, end, rgb, 16);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  const unsigned red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
  return std::to_string(red + green * 256 + blue * 65536);
}

// The data of one manifest value, or nothing (with a message) when it cannot be made.
std::optional<std::string> EntryData(std::string_view value, const std::string& manifestDir) {
  if (value.starts_with("text:")) return platform::text::FromUtf8(value.substr(5));
  if (value.starts_with("colour:")) {
    std::optional<std::string> colour = ParseColour(value.substr(7));
    if (!colour) Fail("not a colour #RRGGBB: " + std::string(value));
    return colour;
  }
  if (value.starts_with("file:")) {
    const std::string path =
        platform::files::Join(manifestDir, platform::text::FromUtf8(value.substr(5)));
    std::optional<std::string> bytes = platform::files::ReadAll(path);
    if (!bytes) Fail("cannot read " + platform::text::ToUtf8(path));
    return bytes;
  }
  Fail("a value starts with text:, colour: or file: : " + std::string(value));
  return std::nullopt;
}

std::optional<SkinPackageContents> ReadManifest(const std::string& path) {
  const std::optional<std::string> text = platform::files::ReadAll(path);
  if (!text) {
    Fail("cannot read " + platform::text::ToUtf8(path));
    return std::nullopt;
  }
  const std::string dir = platform::files::DirName(path);
  SkinPackageContents entries;
  std::string_view rest = *text;
  for (int lineNumber = 1; !rest.empty(); ++lineNumber) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::size_t eq = line.find(" = ");
    if (eq == std::string_view::npos || eq == 0) {
      Fail("line " + std::to_string(lineNumber) + ": expected <name> = <kind>:<value>");
      return std::nullopt;
    }
    std::optional<std::string> data = EntryData(line.substr(eq + 3), dir);
    if (!data) return std::nullopt;
    entries.names.push_back(platform::text::FromUtf8(line.substr(0, eq)));
    entries.data.push_back(std::move(*data));
  }
  return entries;
}

// The plain package, or nothing (with a message) when an entry would not read back as
// written: a separator inside a name or data, a zero byte in a name, empty data.
std::optional<std::string> BuildPlain(const SkinPackageContents& entries) {
  if (entries.names.size() < 2) {
    Fail("a package holds at least two entries");
    return std::nullopt;
  }
  std::string plain;
  for (std::size_t i = 0; i < entries.names.size(); ++i) {
    const std::string& name = entries.names[i];
    const std::string& data = entries.data[i];
    const std::string shown = "entry " + std::to_string(i + 1) + " (" +
                              platform::text::ToUtf8(name) + ")";
    for (std::string_view field : {std::string_view(name), std::string_view(data)}) {
      if (field.find(workmemo::kSkinEntrySeparator) != std::string_view::npos ||
          field.find(workmemo::kSkinNameSeparator) != std::string_view::npos) {
        Fail(shown + ": its name or data holds a separator");
        return std::nullopt;
      }
    }
    if (name.find('\0') != std::string::npos) {
      Fail(shown + ": its name holds a zero byte");
      return std::nullopt;
    }
    if (data.empty()) {
      Fail(shown + ": its data is empty");
      return std::nullopt;
    }
    if (i > 0) plain += workmemo::kSkinEntrySeparator;
    plain += name;
    plain += workmemo::kSkinNameSeparator;
    plain += data;
  }
  return plain;
}

bool Verify(const std::string& output, const SkinPackageContents& entries) {
  const std::optional<std::string> file = platform::files::ReadAll(output);
  const std::optional<SkinPackageContents> read =
      file ? workmemo::ReadSkinPackage(*file) : std::nullopt;
  if (!read) {
    Fail("verify: the reader refuses the package");
    return false;
  }
  if (read->names != entries.names || read->data != entries.data) {
    Fail("verify: the package reads back differently");
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  bool verify = false;
  std::string args[2];
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--verify") {
      verify = true;
    } else if (count < 2) {
      args[count++] = platform::text::FromUtf8(arg);
    } else {
      count = 3;
    }
  }
  if (count != 2) {
    std::fprintf(stderr, "usage: skinpack [--verify] <manifest> <output>\n");
    return 2;
  }
  const std::optional<SkinPackageContents> entries = ReadManifest(args[0]);
  if (!entries) return 1;
  const std::optional<std::string> plain = BuildPlain(*entries);
  if (!plain) return 1;
  const std::string key = workmemo::DeriveSkinKey(workmemo::kSkinKeyMaterial);
  if (!platform::files::WriteAll(args[1], workmemo::Rc4Transform(*plain, key))) {
    Fail("cannot write " + platform::text::ToUtf8(args[1]));
    return 1;
  }
  if (verify && !Verify(args[1], *entries)) return 1;
  return 0;
}
