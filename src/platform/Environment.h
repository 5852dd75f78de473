#pragma once
// Facts about the user and the machine. Every path returned is a Shift_JIS
// model path; folders end with "/".

#include <string>
#include <string_view>

namespace zel {

// TMPDIR, else "/tmp/".
std::string tempDirectory();
// USER, else the name of the user's passwd entry.
std::string userName();
std::string computerName();
// HOME, else the passwd entry's home folder; ends with "/".
std::string homeDirectory();
// The working directory; ends with "/".
std::string currentDirectory();
std::string executablePath();
std::string executableDirectory();

// Where a settings file named `fileName` is read: beside the executable when
// it is there, else $XDG_CONFIG_HOME/zel/ (XDG_CONFIG_HOME defaulting to
// ~/.config), since installed programs live in read-only folders. The folder
// of the second choice may not exist yet; a writer creates it.
std::string configFilePath(std::string_view fileName, std::string_view exeDirectory);
inline std::string configFilePath(std::string_view fileName) {
    return configFilePath(fileName, executableDirectory());
}
inline std::string settingsFilePath() {
    return configFilePath("zel.ini");
}

}  // namespace zel
