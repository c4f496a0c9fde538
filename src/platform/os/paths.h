#pragma once
// Where the program's files live. Paths are GB18030.
#include <string>

namespace platform::os {

// $WORKMEMO_HOME when set, else $XDG_DATA_HOME/workmemo (default ~/.local/share/workmemo).
// Not created here: the start-up creates it and its data/ directory.
std::string ProgramDirectory();
// The directory of the running executable (the "program directory" of the autorun texts).
std::string ExecutableDirectory();
// The absolute path of the running executable.
std::string ExecutablePath();
// $XDG_CONFIG_HOME (default ~/.config).
std::string ConfigHome();
// The name the logged-on user logs on with.
std::string UserName();

}  // namespace platform::os
