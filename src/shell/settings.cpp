#include "shell/settings.h"

#include "common/text_routines.h"
#include "platform/files/files.h"
#include "platform/ini/ini.h"
#include "platform/os/autostart.h"
#include "platform/os/paths.h"
#include "platform/text/text.h"

namespace workmemo {
namespace {

// Reads hand back what fits a buffer of this many bytes, its terminating zero included.
constexpr std::size_t kReadBufferBytes = 10240;

constexpr std::string_view kRunValueName = "mrvbwl";
constexpr std::string_view kQuietStartArgument = " aa";

// No Linux path starts with a drive letter, so nothing is ever taken for the Windows drive.
constexpr std::string_view kWindowsDirectory = "C:\\Windows";

int Flag(std::string_view text) { return IsFlagOn(text) ? 1 : 0; }

// The run directory, "/", the program file name, then the suffix, quoted for the Exec line.
std::string RunValueText(std::string_view suffix) {
  return platform::os::QuoteExecArgument(platform::os::ExecutablePath()) + std::string(suffix);
}

}  // namespace

ProgramSettings& Settings() {
  static ProgramSettings settings;
  return settings;
}

std::string ConfigFilePath() {
  return platform::files::Join(platform::os::ProgramDirectory(), "config.ini");
}

std::string DamagedConfigFileMessage() {
  const std::string path = ConfigFilePath();
  if (platform::ini::IsReadable(path)) return {};
  return "设置文件已损坏，将使用默认设置：\r\n" + path + "\r\n该文件保持原样，请检查或删除它！";
}

std::string AccessConfigItem(std::string_view section, std::string_view key,
                             std::string_view value, bool read) {
  const std::string path = ConfigFilePath();
  if (read) {
    std::string text = platform::ini::ReadItem(path, section, key);
    text.resize(platform::text::CutPoint(text, kReadBufferBytes - 1));
    return text;
  }
  platform::ini::WriteItem(path, section, key, value);
  return {};
}

bool StoreConfigItem(std::string_view section, std::string_view key, std::string_view value) {
  return platform::ini::WriteItem(ConfigFilePath(), section, key, value);
}

bool StoreConfigItems(std::string_view section,
                      std::initializer_list<std::pair<std::string_view, std::string_view>> items) {
  return platform::ini::WriteItems(ConfigFilePath(), section, items);
}

std::string ConfigWriteFailedMessage() {
  return "保存设置失败！\r\n" + CannotWriteDirectoryText(platform::files::DirName(ConfigFilePath()));
}

std::string ReadConfigItemOr(std::string_view section, std::string_view key,
                             std::string_view fallback) {
  std::string text = AccessConfigItem(section, key, {}, true);
  if (!text.empty()) return text;
  AccessConfigItem(section, key, fallback);
  text = AccessConfigItem(section, key, {}, true);
  return text.empty() ? std::string(fallback) : text;
}

void LoadSettings() {
  ProgramSettings& s = Settings();
  s.WindowsDriveLetter = GetWindowsDirectory(1);
  ReadConfigItemOr("dqtx", "cxdqtxTs", "8");
  s.HideTodayWindowWhenEmpty = Flag(AccessConfigItem("dstx", "mtxbxs", {}, true));
  s.HideDueWindowWhenEmpty = Flag(ReadConfigItemOr("dqtx", "mdqtxbtx", "1"));
  s.AutorunEnabled = CheckAutorunEntry();
  s.ShowTodayWindowAtStart = Flag(AccessConfigItem("dstx", "kjxsjttxSz", {}, true));
  s.ShowDueWindowAtStart = Flag(ReadConfigItemOr("dstx", "kjxsdqtxSz", "1"));
  ReadConfigItemOr("pltx", "pltxzd", "1");
  s.KeepLastReminderSettings = Flag(ReadConfigItemOr("gjsz", "jltxtjsz", "1"));
  s.PasswordToClose = Flag(ReadConfigItemOr("gjsz", "gbrjmmsz", "0"));
  s.ListFontSize = TextToInteger(ReadConfigItemOr("gjsz", "lbztdx", "11"));
  if (s.ListFontSize < 9 || s.ListFontSize > 11) {
    s.ListFontSize = 11;
    AccessConfigItem("gjsz", "lbztdx", "11");
  }
  s.TodayWindowTopmost = Flag(ReadConfigItemOr("dstx", "jttxzd", "1"));
  s.PopupTopmost = Flag(ReadConfigItemOr("gjsz", "txckzd", "1"));
  s.HideTrayNotice = Flag(ReadConfigItemOr("xxtips", "zxhtips", "1"));
}

std::string GetWindowsDirectory(int part) {
  if (part == 1) return std::string(kWindowsDirectory.substr(0, 1));
  return std::string(kWindowsDirectory);
}

std::string ExpectedRunValue() { return RunValueText(kQuietStartArgument); }

std::string AccessRunValue(std::string_view name, RunValueOperation operation,
                           std::string_view suffix) {
  switch (operation) {
    case RunValueOperation::Read:
      return platform::os::ReadAutostart(name);
    case RunValueOperation::Write:
      platform::os::WriteAutostart(name, RunValueText(suffix));
      return {};
    case RunValueOperation::Delete:
      platform::os::DeleteAutostart(name);
      return {};
  }
  return {};
}

int CheckAutorunEntry() {
  if (AccessRunValue(kRunValueName, RunValueOperation::Read).empty()) return 0;
  if (AccessRunValue(kRunValueName, RunValueOperation::Read) == ExpectedRunValue()) return 1;
  AccessRunValue(kRunValueName, RunValueOperation::Delete);
  return 0;
}

}  // namespace workmemo
