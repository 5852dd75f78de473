#pragma once
// The program entry: "--help", "--version" and "--commands" answer on the terminal without
// a window; otherwise the main window starts with the first argument (or the
// default open file) and runs until it closes.

namespace zel {

int runZel(int argc, char** argv);

}  // namespace zel
