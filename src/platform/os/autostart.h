#pragma once
// Start at login: the run-at-login value `name` is the XDG autostart file
// $XDG_CONFIG_HOME/autostart/<name>.desktop, and its value is that file's Exec line.
// Nothing else in the autostart directory is ever touched. Texts are GB18030.
#include <string>
#include <string_view>

namespace platform::os {

// One argument as an Exec line holds it: in double quotes, with the quoting escapes, "%%" for
// "%" and the string escapes of desktop entries applied on top.
std::string QuoteExecArgument(std::string_view argument);

// The Exec value as written in the file; empty when the file or the line is absent.
std::string ReadAutostart(std::string_view name);

// Writes the file (and the autostart directory when missing) with `exec` as its Exec value,
// replacing the whole file atomically. False when it cannot be written or `exec` holds a
// line break.
bool WriteAutostart(std::string_view name, std::string_view exec);

// Deletes the file; true when it is gone afterwards.
bool DeleteAutostart(std::string_view name);

}  // namespace platform::os
