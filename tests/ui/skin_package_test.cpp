#include "ui/skin_package.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/files.h"
#include "platform/files/resources.h"
#include "test_support.h"
#include "ui/skin_entry_names.h"

namespace workmemo {
namespace {

using testsupport::Show;

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Entry(std::string_view name, std::string_view data) {
  return std::string(name) + std::string(kSkinNameSeparator) + std::string(data);
}

// A plain package of the given entries, joined by the entry separator.
std::string Plain(const std::vector<std::string>& entries) {
  std::string plain;
  for (const std::string& entry : entries) {
    if (!plain.empty()) plain += kSkinEntrySeparator;
    plain += entry;
  }
  return plain;
}

std::string Encipher(std::string_view plain) {
  return Rc4Transform(plain, DeriveSkinKey(kSkinKeyMaterial));
}

TEST(SkinKeyTest, HexDigitValue) {
  const struct {
    const char* digit;
    int value;
  } cases[] = {{"0", 0}, {"9", 9}, {"A", 10}, {"F", 15}, {"a", 10}, {"f", 15},
               {"G", 0}, {"", 0},  {"AB", 0}, {" ", 0}};
  for (const auto& c : cases) EXPECT_EQ(HexDigitValue(c.digit), c.value) << '"' << c.digit << '"';
}

TEST(SkinKeyTest, DerivationRearrangesAndPairsDigits) {
  const struct {
    const char* material;
    const char* keyHex;
  } cases[] = {
      {"0123456789ABCDEF", "c4d5e6f78091a2b3"},
      {"abcd", "dbca"},      // lower-case digits count too
      {"00A1", "10a0"},      // halves swapped, interleaved, swapped again
      {"12G4", "4201"},      // a character that is no digit counts as 0
      {"0000", ""},          // every pair "00": the empty key
      {"0G00", ""},          // a pair worth 0 that is not "00" ends the key text
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Hex(DeriveSkinKey(c.material)), c.keyHex) << c.material;
}

TEST(SkinKeyTest, ProgramKeyMaterialGivesTheFullKey) {
  ASSERT_EQ(kSkinKeyMaterial.size(), 88u);
  for (char c : kSkinKeyMaterial) EXPECT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'));
  EXPECT_EQ(DeriveSkinKey(kSkinKeyMaterial).size(), 44u);
}

TEST(Rc4Test, Rfc6229Vectors) {
  const std::string zeros(32, '\0');
  const std::string key40("\x01\x02\x03\x04\x05", 5);
  const std::string stream = Rc4Transform(zeros, key40);
  EXPECT_EQ(Hex(stream.substr(0, 16)), "b2396305f03dc027ccc3524a0a1118a8");
  EXPECT_EQ(Hex(stream.substr(16, 16)), "6982944f18fc82d589c403a47a0d0919");
  const std::string key128("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10", 16);
  EXPECT_EQ(Hex(Rc4Transform(zeros, key128).substr(0, 16)), "9ac7cc9a609d1ef7b2932899cde41b97");
}

TEST(Rc4Test, EmptyKeyKeepsTheIdentityStateAndTwiceIsIdentity) {
  EXPECT_EQ(Hex(Rc4Transform(std::string(8, '\0'), "")), "0205070d0d171f28");
  EXPECT_EQ(Rc4Transform("", "key"), "");
  const std::string data = "皮肤\0data\xff" + std::string(300, 'x');
  EXPECT_EQ(Rc4Transform(Rc4Transform(data, "key"), "key"), data);
}

TEST(SkinPackageReaderTest, SplitsEntriesInFileOrder) {
  const auto contents = ReadSkinPackage(Encipher(Plain(
      {Entry("产品", "枫汀阁工作备忘录"), Entry("窗口背景颜色", "123"), Entry("窗口背景颜色", "456")})));
  ASSERT_TRUE(contents);
  EXPECT_EQ(contents->names, (std::vector<std::string>{"产品", "窗口背景颜色", "窗口背景颜色"}));
  // Both duplicates are kept in file order, so a lookup from the start finds the first.
  EXPECT_EQ(contents->data, (std::vector<std::string>{"枫汀阁工作备忘录", "123", "456"}));
  EXPECT_TRUE(CarriesProductName(*contents, "枫汀阁工作备忘录"));
  EXPECT_FALSE(CarriesProductName(*contents, "枫汀阁"));
}

TEST(SkinPackageReaderTest, TrailingSeparatorIsIgnored) {
  const std::string plain = Plain({Entry("a", "1"), Entry("b", "2")});
  const auto without = SplitSkinPackage(plain);
  const auto with = SplitSkinPackage(plain + std::string(kSkinEntrySeparator));
  ASSERT_TRUE(without && with);
  EXPECT_EQ(with->names, without->names);
  EXPECT_EQ(with->data, without->data);
}

TEST(SkinPackageReaderTest, DataEndsAtASecondNameSeparator) {
  const auto contents = SplitSkinPackage(Plain(
      {Entry("a", "1"), Entry("b", "kept" + std::string(kSkinNameSeparator) + "lost")}));
  ASSERT_TRUE(contents);
  EXPECT_EQ(contents->data[1], "kept");
}

TEST(SkinPackageReaderTest, NameEndsAtAZeroByte) {
  const auto contents =
      SplitSkinPackage(Plain({Entry("a", "1"), Entry(std::string("name\0tail", 9), "2")}));
  ASSERT_TRUE(contents);
  EXPECT_EQ(contents->names[1], "name");
}

TEST(SkinPackageReaderTest, PackagesOutsideTheFormatAreRefused) {
  const std::string sep(kSkinEntrySeparator);
  const struct {
    const char* what;
    std::string plain;
  } cases[] = {
      {"nothing", ""},
      {"one entry, even with the product name", Entry("a", "枫汀阁工作备忘录")},
      {"one entry and a trailing separator", Entry("a", "x") + sep},
      {"a separator at the start", sep + Plain({Entry("a", "1"), Entry("b", "2")})},
      {"an empty piece between two separators", Entry("a", "1") + sep + sep + Entry("b", "2")},
      {"a piece without name separator", Plain({Entry("a", "1"), "no separator"})},
      {"an entry without data", Plain({Entry("a", "1"), Entry("b", "")})},
  };
  for (const auto& c : cases) EXPECT_FALSE(SplitSkinPackage(c.plain)) << c.what;
}

TEST(SkinPackageReaderTest, WrongKeyGivesNoProductName) {
  const std::string plain = Plain({Entry("a", "枫汀阁工作备忘录"), Entry("b", "2")});
  const auto contents = ReadSkinPackage(Rc4Transform(plain, "another key"));
  EXPECT_FALSE(contents && CarriesProductName(*contents, "枫汀阁工作备忘录"));
}

// Records what the loader asks of the outside world instead of showing and exiting.
class SkinLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSkinLoadServices({[this](const std::string& m) { messages.push_back(m); },
                         [this](int code) { exitCodes.push_back(code); }});
    SkinEntryNames = {"before"};
    SkinEntryData = {"old"};
  }
  void TearDown() override {
    ResetSkinLoadServices();
    SkinEntryNames.clear();
    SkinEntryData.clear();
  }
  std::string WritePackage(const std::string& fileBytes) {
    const std::string path = dir.File("Green.cskn");
    EXPECT_TRUE(platform::files::WriteAll(path, fileBytes));
    return path;
  }

  testsupport::TempDir dir;
  std::vector<std::string> messages;
  std::vector<int> exitCodes;
};

const std::string kGoodPlain = Plain({Entry("产品", "枫汀阁工作备忘录"), Entry("图标", "png")});

TEST_F(SkinLoaderTest, GoodPackageFillsTheEntries) {
  EXPECT_TRUE(LoadSkinPackage(WritePackage(Encipher(kGoodPlain)), "枫汀阁工作备忘录"));
  EXPECT_EQ(SkinEntryNames, (std::vector<std::string>{"产品", "图标"}));
  EXPECT_EQ(SkinEntryData, (std::vector<std::string>{"枫汀阁工作备忘录", "png"}));
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(exitCodes.empty());
}

TEST_F(SkinLoaderTest, UnusablePackageShowsTheMessageAndEndsWithAFailureCode) {
  const struct {
    const char* what;
    std::optional<std::string> file;
  } cases[] = {
      {"missing file", std::nullopt},
      {"empty file", std::string()},
      {"wrong key", Rc4Transform(kGoodPlain, "another key")},
      {"another product", Encipher(Plain({Entry("产品", "别的产品"), Entry("b", "2")}))},
      {"one entry", Encipher(Entry("产品", "枫汀阁工作备忘录"))},
  };
  for (const auto& c : cases) {
    messages.clear();
    exitCodes.clear();
    const std::string path = c.file ? WritePackage(*c.file) : dir.File("missing.cskn");
    EXPECT_FALSE(LoadSkinPackage(path, "枫汀阁工作备忘录")) << c.what;
    EXPECT_EQ(messages, std::vector<std::string>{"读取皮肤文件失败!"}) << c.what;
    ASSERT_EQ(exitCodes.size(), 1u) << c.what;
    EXPECT_NE(exitCodes[0], 0) << c.what;
  }
}

TEST_F(SkinLoaderTest, TestTextNeverEndsTheProgram) {
  // A readable package of another product still fills the entries.
  EXPECT_FALSE(LoadSkinPackage(WritePackage(Encipher(kGoodPlain)), "测试皮肤文件"));
  EXPECT_EQ(SkinEntryNames, (std::vector<std::string>{"产品", "图标"}));
  // An unreadable one leaves them as they were.
  EXPECT_FALSE(LoadSkinPackage(dir.File("missing.cskn"), "测试皮肤文件"));
  EXPECT_EQ(SkinEntryNames, (std::vector<std::string>{"产品", "图标"}));
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(exitCodes.empty());
  // The test text itself in entry 1 passes the check.
  EXPECT_TRUE(LoadSkinPackage(WritePackage(Encipher(Plain({Entry("a", "测试皮肤文件"), Entry("b", "2")}))),
                              "测试皮肤文件"));
}

TEST(BuiltInSkinTest, CarriesTheProductNameAndEveryLookedUpEntry) {
  const std::optional<std::string> file = platform::files::ReadResource(":/skin/Green.cskn");
  ASSERT_TRUE(file);
  const auto contents = ReadSkinPackage(*file);
  ASSERT_TRUE(contents);
  EXPECT_TRUE(CarriesProductName(*contents, skin::kProductName));

  auto find = [&](std::string_view name) -> std::optional<std::string> {
    auto it = std::find(contents->names.begin(), contents->names.end(), name);
    if (it == contents->names.end()) return std::nullopt;
    return contents->data[static_cast<std::size_t>(it - contents->names.begin())];
  };
  auto count = [&](std::string_view name) { return std::stoi(find(name).value_or("0")); };
  const int backgrounds = count(skin::kBackgroundPictureCount);
  const int solidColours = count(skin::kSolidColourPictureCount);
  // The skins page shows four slots; those beyond the skin's own pictures take the user's.
  EXPECT_EQ(backgrounds, 2);
  EXPECT_GE(solidColours, 1);
  for (const skin::LookedUpSkinEntry& entry : skin::LookedUpSkinEntries(backgrounds, solidColours)) {
    const std::optional<std::string> data = find(entry.name);
    ASSERT_TRUE(data) << Show(entry.name);
    if (entry.kind == skin::SkinEntryKind::Colour) {
      EXPECT_TRUE(std::all_of(data->begin(), data->end(), [](char c) { return c >= '0' && c <= '9'; }))
          << Show(entry.name);
    } else if (entry.kind != skin::SkinEntryKind::Text) {
      EXPECT_EQ(data->substr(0, 8), "\x89PNG\r\n\x1a\n") << Show(entry.name);
    }
  }
}

class InstallSkinTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::files::ClearFaultsForTest(); }
  std::string BuiltIn() { return platform::files::ReadResource(":/skin/Green.cskn").value_or(""); }
  // A package of an older build at the place the program reads its skin from.
  std::string WriteOlderPackage() {
    const std::string path = SkinPackagePath(home.path());
    EXPECT_TRUE(platform::files::MakeDirs(home.path() + "/Skin"));
    EXPECT_TRUE(platform::files::WriteAll(path, "an older skin"));
    return path;
  }
  testsupport::TempDir home;
};

TEST_F(InstallSkinTest, WritesAMissingPackage) {
  const std::string path = SkinPackagePath(home.path());
  EXPECT_EQ(path, home.path() + "/Skin/Green.cskn");
  EXPECT_TRUE(InstallBuiltInSkinPackage(home.path()));
  EXPECT_EQ(platform::files::ReadAll(path), BuiltIn());
}

TEST_F(InstallSkinTest, ReplacesADifferentPackageAndLeavesAnEqualOne) {
  const std::string path = WriteOlderPackage();
  EXPECT_TRUE(InstallBuiltInSkinPackage(home.path()));
  EXPECT_EQ(platform::files::ReadAll(path), BuiltIn());
  // An equal file is not written again: a failing write does not matter then.
  platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::DiskFull);
  EXPECT_TRUE(InstallBuiltInSkinPackage(home.path()));
  EXPECT_EQ(platform::files::ReadAll(path), BuiltIn());
}

TEST_F(InstallSkinTest, AFailedWriteIsReportedAndKeepsTheOldFile) {
  const std::string path = WriteOlderPackage();
  platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::DiskFull);
  EXPECT_FALSE(InstallBuiltInSkinPackage(home.path()));
  EXPECT_EQ(platform::files::ReadAll(path), "an older skin");
}

// A program directory that cannot be written at the first start is said to be just that,
// naming the directory, and not taken for an unreadable skin.
TEST_F(InstallSkinTest, AFirstStartInADirectoryThatCannotBeWrittenSaysSo) {
  std::vector<std::string> messages;
  std::vector<int> exits;
  SetSkinLoadServices({[&](const std::string& m) { messages.push_back(m); }, [&](int code) { exits.push_back(code); }});
  platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::DiskFull);
  EXPECT_FALSE(InstallAndLoadSkinPackage(home.path(), skin::kProductName));
  platform::files::ClearFaultsForTest();
  EXPECT_EQ(messages, std::vector<std::string>{"无法写入目录：" + home.path() + "/Skin\r\n请检查磁盘空间和写入权限！"});
  EXPECT_EQ(exits, std::vector<int>{kSkinLoadFailureExitCode});
  // With the package in place a refused rewrite does not matter: it loads.
  messages.clear();
  exits.clear();
  EXPECT_TRUE(InstallAndLoadSkinPackage(home.path(), skin::kProductName));
  platform::files::InjectFaultForTest(platform::files::Op::Write, platform::files::Fault::DiskFull);
  EXPECT_TRUE(InstallAndLoadSkinPackage(home.path(), skin::kProductName));
  EXPECT_TRUE(messages.empty());
  ResetSkinLoadServices();
}

}  // namespace
}  // namespace workmemo
