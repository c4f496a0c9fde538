#include "reminders/ui/reminder_actions.h"

#include "common/text_routines.h"
#include "platform/os/shell_open.h"
#include "platform/os/sound.h"
#include "platform/text/text.h"

namespace workmemo {

namespace {

constexpr std::string_view kWebPrefix = "http://";

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSchemeChar(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '.' || c == '-';
}

// Scans ASCII bytes only: a byte of a double-byte character ends the scheme.
bool HasScheme(std::string_view address) {
  if (platform::text::AsciiUpper(address.substr(0, 7)) == "MAILTO:") return true;
  if (address.empty() || !IsAsciiLetter(address[0])) return false;
  std::size_t p = 1;
  while (p < address.size() && IsSchemeChar(address[p])) ++p;
  return address.substr(p, 3) == "://";
}

}  // namespace

std::string WebPageAddress(std::string_view address) {
  if (HasScheme(address)) return std::string(address);
  return std::string(kWebPrefix) + std::string(address);
}

void PlayReminderSound(std::string_view path) {
  if (path.empty()) return;
  if (platform::text::AsciiUpper(GetFileExtension(path)) == "MP3")
    platform::os::PlayMp3File(path);
  else
    platform::os::PlaySoundFile(path);
}

void OpenReminderProgramAndPage(ReminderRecord& reminder) {
  std::string page;
  if (!reminder.txwy.empty()) page = reminder.txwy = WebPageAddress(reminder.txwy);
  auto openPage = [page] {
    if (!page.empty()) platform::os::OpenWithShell(0, page);
  };
  // The page waits for the program's start, as it did when both ran here.
  if (!reminder.txcx.empty())
    platform::os::OpenWithShell(0, reminder.txcx, [openPage](int) { openPage(); });
  else
    openPage();
}

void RunReminderActions(ReminderRecord& reminder) {
  PlayReminderSound(reminder.txyy);
  OpenReminderProgramAndPage(reminder);
}

void StopMusic() { platform::os::StopSoundPlayback(); }

}  // namespace workmemo
