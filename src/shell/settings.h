#pragma once
// config.ini in the program directory, the program-wide settings read from it at start, and
// the start-at-login entry.
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace workmemo {

// Program-wide settings held in memory after start: 0 (or empty) until the start-up sets
// them; the settings pages change a variable and its stored item together.
struct ProgramSettings {
  int ListFontSize = 0;  // 9, 10 or 11
  int SkinTransparency = 0;
  int TaskbarHeight = 0;
  int HideTodayWindowWhenEmpty = 0;
  int HideDueWindowWhenEmpty = 0;
  int TodayWindowTopmost = 0;
  int PopupTopmost = 0;
  int KeepLastReminderSettings = 0;
  int PasswordToClose = 0;
  int ShowTodayWindowAtStart = 0;
  int ShowDueWindowAtStart = 0;
  int AutorunEnabled = 0;
  int HideTrayNotice = 0;  // 1: no notice when the main window goes to the tray
  int LoginByPassword = 0;
  // The protection flags of the "admin" user, 1 when the action asks for the password.
  int ViewRemindersNeedPassword = 0;
  int AddReminderNeedsPassword = 0;
  int ModifyReminderNeedsPassword = 0;
  int DeleteReminderNeedsPassword = 0;
  int AddressBookNeedsPassword = 0;  // stored and copied, guards nothing
  int NotesNeedPassword = 0;         // stored and copied, guards nothing
  std::string WindowsDriveLetter;
};

ProgramSettings& Settings();

// The program directory + "/config.ini".
std::string ConfigFilePath();

// The message of a config.ini that cannot be read (beyond its size limit, or no regular
// file), naming it; empty when it reads or is absent. Every setting then takes its default
// and the file is left as it is.
std::string DamagedConfigFileMessage();

// Reads (read = true) or writes one item of config.ini. A read gives the stored text, empty
// when absent, and never supplies a default: `value` is ignored. A write stores `value` (an
// empty one writes the key with an empty value) and gives empty text; a failed write is not
// reported.
std::string AccessConfigItem(std::string_view section, std::string_view key,
                             std::string_view value = {}, bool read = false);

// Writes one item and tells whether config.ini took it. The settings switches write through
// it (StoreSwitchSetting, which also tells the user of a refusal), so a setting the file
// refused is neither shown nor kept as changed.
bool StoreConfigItem(std::string_view section, std::string_view key, std::string_view value);
// Several items of one section that stand for one choice, written in one write: all or none.
bool StoreConfigItems(std::string_view section,
                      std::initializer_list<std::pair<std::string_view, std::string_view>> items);
// What a switch shows when config.ini refused its setting: the directory that could not be
// written.
std::string ConfigWriteFailedMessage();

// The stored text of an item; when it is empty, `fallback` is written and the item read
// again. Should the file refuse the write, the fallback is used all the same.
std::string ReadConfigItemOr(std::string_view section, std::string_view key,
                             std::string_view fallback);

// Reads config.ini into Settings(), writing the defaults of missing items; once at start.
void LoadSettings();

// The Windows directory, a constant that no path of this system starts with; with part = 1
// only its first character (the drive letter).
std::string GetWindowsDirectory(int part = 0);

// The run-at-login value `name`: Read gives its text (empty when absent); Write stores the
// quoted path of this executable followed by `suffix`; Delete removes it. Write and Delete
// give empty text and report no failure.
enum class RunValueOperation { Read, Write, Delete };
std::string AccessRunValue(std::string_view name, RunValueOperation operation,
                           std::string_view suffix = {});

// The text the run-at-login value holds when autorun is on.
std::string ExpectedRunValue();

// The start-up check of the run-at-login value "mrvbwl": 1 when it holds exactly
// ExpectedRunValue(); a value that differs is deleted (0); an absent one is left alone (0).
int CheckAutorunEntry();

}  // namespace workmemo
