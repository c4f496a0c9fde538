#pragma once
// The write of a settings switch, the one rule every switch and menu tick of the program
// follows: config.ini takes the setting first, and only then does the screen change.
#include <initializer_list>
#include <string_view>
#include <utility>

namespace workmemo {

// Stores one item; true when config.ini took it. A refused write is said in the program's
// message box, naming the directory that could not be written, and gives false: the caller
// then leaves the screen and its settings as they were.
bool StoreSwitchSetting(std::string_view section, std::string_view key, std::string_view value);
// The items of one section that stand for one choice, in one write: all or none.
bool StoreSwitchSettings(std::string_view section,
                         std::initializer_list<std::pair<std::string_view, std::string_view>> items);

}  // namespace workmemo
