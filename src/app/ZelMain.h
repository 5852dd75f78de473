#pragma once
// The program entry: "--help", "--version" and "--commands" answer on the terminal without
// a window; otherwise the main window starts with the first argument (or the
// default open file) and runs until it closes.

#include <string>
#include <string_view>

namespace zel {

int runZel(int argc, char** argv);

// The embedded browser's Chromium flags: `given` (the user's), with
// "--no-sandbox" added for a process running as root, where Chromium's
// sandbox cannot start and would end the program.
std::string chromiumFlags(std::string_view given, bool asRoot);

}  // namespace zel
