#include "ui/skin_package.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "common/text_routines.h"
#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "platform/text/text.h"

namespace workmemo {

std::vector<std::string> SkinEntryNames;
std::vector<std::string> SkinEntryData;

namespace {

constexpr std::string_view kTestExpectedText = "测试皮肤文件";
constexpr std::string_view kLoadFailedMessage = "读取皮肤文件失败!";
constexpr std::string_view kBuiltInPackage = ":/skin/Green.cskn";
// A package is a few pictures; a file far larger (or a device that never ends) is no skin.
constexpr std::int64_t kSkinPackageFileLimit = 32 << 20;

SkinLoadServices DefaultServices() {
  return SkinLoadServices{
      [](const std::string& message) {
        std::fprintf(stderr, "%s\n", platform::text::ToUtf8(message).c_str());
      },
      [](int exitCode) { std::exit(exitCode); },
  };
}

SkinLoadServices& Services() {
  static SkinLoadServices services = DefaultServices();
  return services;
}

std::string_view UpToZero(std::string_view bytes) {
  return bytes.substr(0, bytes.find('\0'));
}

}  // namespace

int HexDigitValue(std::string_view digit) {
  if (digit.size() != 1) return 0;
  const char c = digit[0];
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

std::string DeriveSkinKey(std::string_view material) {
  const std::size_t half = material.size() / 2;
  std::string swapped;
  swapped.append(material.substr(half));
  swapped.append(material.substr(0, half));
  std::string interleaved;
  for (std::size_t j = 0; j < half; ++j) {
    interleaved.push_back(swapped[j]);
    interleaved.push_back(swapped[half + j]);
  }
  const std::string_view v = interleaved;
  const std::size_t vhalf = v.size() / 2;
  std::string digits;
  digits.append(v.substr(vhalf));
  digits.append(v.substr(0, vhalf));

  std::string key;
  for (std::size_t k = 0; k < digits.size(); k += 2) {
    const std::string_view a = std::string_view(digits).substr(k, 1);
    const std::string_view b = std::string_view(digits).substr(k + 1, 1);
    if (a == "0" && b == "0") continue;
    const int value = HexDigitValue(a) * 16 + HexDigitValue(b);
    // A zero byte ends the key text, as the key is held as text.
    if (value == 0) break;
    key.push_back(static_cast<char>(value));
  }
  return key;
}

std::string Rc4Transform(std::string_view data, std::string_view key) {
  std::array<unsigned char, 256> s;
  for (int i = 0; i < 256; ++i) s[i] = static_cast<unsigned char>(i);
  if (!key.empty()) {
    unsigned j = 0;
    for (std::size_t i = 0; i < 256; ++i) {
      j = (j + s[i] + static_cast<unsigned char>(key[i % key.size()])) & 0xFF;
      std::swap(s[i], s[j]);
    }
  }
  std::string out(data.size(), '\0');
  unsigned i = 0;
  unsigned j = 0;
  for (std::size_t n = 0; n < data.size(); ++n) {
    i = (i + 1) & 0xFF;
    j = (j + s[i]) & 0xFF;
    std::swap(s[i], s[j]);
    const unsigned char k = s[(s[i] + s[j]) & 0xFF];
    out[n] = static_cast<char>(static_cast<unsigned char>(data[n]) ^ k);
  }
  return out;
}

// The package is binary (pictures), so the separators are found as plain byte runs; the
// packer refuses names and data that hold them in the same way.
std::optional<SkinPackageContents> SplitSkinPackage(std::string_view plain) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = plain.find(kSkinEntrySeparator, start);
    if (at == std::string_view::npos) break;
    pieces.push_back(plain.substr(start, at - start));
    start = at + kSkinEntrySeparator.size();
  }
  if (start < plain.size()) pieces.push_back(plain.substr(start));
  if (pieces.size() < 2) return std::nullopt;

  SkinPackageContents contents;
  for (std::string_view piece : pieces) {
    const std::size_t at = piece.find(kSkinNameSeparator);
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view data = piece.substr(at + kSkinNameSeparator.size());
    // A second name separator ends the data; what follows it is not part of the entry.
    data = data.substr(0, data.find(kSkinNameSeparator));
    if (data.empty()) return std::nullopt;
    contents.names.emplace_back(UpToZero(piece.substr(0, at)));
    contents.data.emplace_back(data);
  }
  return contents;
}

std::optional<SkinPackageContents> ReadSkinPackage(std::string_view fileBytes) {
  return SplitSkinPackage(Rc4Transform(fileBytes, DeriveSkinKey(kSkinKeyMaterial)));
}

bool CarriesProductName(const SkinPackageContents& contents, std::string_view expected) {
  return !contents.data.empty() && UpToZero(contents.data.front()) == expected;
}

void SetSkinLoadServices(SkinLoadServices services) { Services() = std::move(services); }

void ResetSkinLoadServices() { Services() = DefaultServices(); }

bool LoadSkinPackage(std::string_view path, std::string_view expected) {
  const std::string file = platform::files::ReadAll(path, kSkinPackageFileLimit).value_or(std::string());
  std::optional<SkinPackageContents> contents = ReadSkinPackage(file);
  bool ok = false;
  if (contents) {
    ok = CarriesProductName(*contents, expected);
    SkinEntryNames = std::move(contents->names);
    SkinEntryData = std::move(contents->data);
  }
  if (!ok && expected != kTestExpectedText) {
    Services().showPlainMessage(std::string(kLoadFailedMessage));
    Services().exitProgram(kSkinLoadFailureExitCode);
  }
  return ok;
}

std::string SkinPackagePath(std::string_view programDirectory) {
  return platform::files::Join(platform::files::Join(programDirectory, "Skin"), "Green.cskn");
}

bool InstallBuiltInSkinPackage(std::string_view programDirectory) {
  const std::optional<std::string> builtIn = platform::files::ReadResource(kBuiltInPackage);
  if (!builtIn) return false;
  const std::string path = SkinPackagePath(programDirectory);
  if (platform::files::ReadAll(path, kSkinPackageFileLimit) == builtIn) return true;
  return platform::files::MakeDirs(platform::files::DirName(path)) &&
         platform::files::WriteAll(path, *builtIn);
}

bool InstallAndLoadSkinPackage(std::string_view programDirectory, std::string_view expected) {
  const std::string path = SkinPackagePath(programDirectory);
  if (!InstallBuiltInSkinPackage(programDirectory) && !platform::files::Exists(path)) {
    Services().showPlainMessage(CannotWriteDirectoryText(platform::files::DirName(path)));
    Services().exitProgram(kSkinLoadFailureExitCode);
    return false;
  }
  return LoadSkinPackage(path, expected);
}

}  // namespace workmemo
