#pragma once
// The skin package: one file of named entries (pictures, colours, texts), enciphered as a
// whole with RC4 under a key built from the program's key material. Read once at start.
// Included by build tools compiled as UTF-8 too, so this header holds no non-ASCII literal.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace workmemo {

// "\xA1\xF4\xA1\xF9" and "\xA1\xF1\xA1\xF9" are the GBK texts of the two separators.
inline constexpr std::string_view kSkinEntrySeparator = "\xA1\xF4\xA1\xF9";
inline constexpr std::string_view kSkinNameSeparator = "\xA1\xF1\xA1\xF9";

// 88 upper-case hexadecimal digits; the key is derived from them at every load. No pair of
// the derived order is "00", so the key is the full 44 bytes.
inline constexpr std::string_view kSkinKeyMaterial =
    "69CECDC95E2FB50AD66621DE2137B53D70DDB15AA42E89D2FD9D4332B55F2E39E2A7EC1C45C098873BCFE0A0";

// The loaded entries, in file order (index 0 is the package's first entry). Written only by
// LoadSkinPackage; read only by the painter's lookup.
extern std::vector<std::string> SkinEntryNames;
extern std::vector<std::string> SkinEntryData;

// Value 0..15 of one hexadecimal digit ("a".."f" too); 0 for anything else, the empty text
// and texts of more than one character included.
int HexDigitValue(std::string_view digit);

// The RC4 key built from key material: halves exchanged, interleaved, exchanged again, then
// each pair of digits one byte; "00" pairs give no byte. Ends at the first zero byte.
std::string DeriveSkinKey(std::string_view material);

// RC4 over data; the same call enciphers and deciphers. An empty key leaves the state the
// identity permutation.
std::string Rc4Transform(std::string_view data, std::string_view key);

// Entries of a package, names and data at the same index.
struct SkinPackageContents {
  std::vector<std::string> names;
  std::vector<std::string> data;
};

// Splits a deciphered package. Nothing when it holds fewer than two entries or a piece
// without a name separator or without data (a damaged file).
std::optional<SkinPackageContents> SplitSkinPackage(std::string_view plain);

// Deciphers package file bytes with the program's key and splits them.
std::optional<SkinPackageContents> ReadSkinPackage(std::string_view fileBytes);

// Whether the data of the first entry, as text up to its first zero byte, is `expected`.
bool CarriesProductName(const SkinPackageContents& contents, std::string_view expected);

// What the loader needs of the outside world when a package is unusable: the system's plain
// message box (OK button only, no caption) and the end of the program. The defaults write
// the message to standard error and call std::exit; the start-up wires the real box.
struct SkinLoadServices {
  std::function<void(const std::string& message)> showPlainMessage;
  std::function<void(int exitCode)> exitProgram;
};
void SetSkinLoadServices(SkinLoadServices services);
void ResetSkinLoadServices();

inline constexpr int kSkinLoadFailureExitCode = 1;

// Reads the package at `path` into SkinEntryNames / SkinEntryData and checks that its first
// entry carries `expected`. An unusable package shows the failure message and ends the
// program, unless `expected` is the test text; true when the check passed.
bool LoadSkinPackage(std::string_view path, std::string_view expected);

// <programDirectory>/Skin/Green.cskn
std::string SkinPackagePath(std::string_view programDirectory);

// Writes the built-in package to SkinPackagePath(programDirectory) when that file is missing
// or its bytes differ; false when the built-in copy is missing or the write fails.
bool InstallBuiltInSkinPackage(std::string_view programDirectory);

// The start's skin: the built-in package installed into the program directory, then loaded.
// When the package can be neither written nor found there, the message says that its
// directory cannot be written (not that the skin is unreadable) and the program ends as for
// an unusable package. True when the skin is loaded.
bool InstallAndLoadSkinPackage(std::string_view programDirectory, std::string_view expected);

}  // namespace workmemo
