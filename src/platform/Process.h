#pragma once
// Starting programs. Command lines and folders are Shift_JIS model text; a
// command line is split into words as a POSIX shell splits them (blanks,
// single and double quotes, backslash), with no expansion, and its first word
// is looked up in PATH.

#include <string>
#include <string_view>
#include <vector>

namespace zel {

// Runs `commandLine` in `folder` (the current folder when empty) with its
// standard output and error merged into one pipe and no input, reads the pipe
// to its end and appends every line to `target`: `prefix` + the line, LF
// ending a line and CR dropped; a last line without LF only when not empty.
// The output is taken as UTF-8 and stored as Shift_JIS. 0, or -1 when the
// program could not be started (nothing appended). The exit code is not read.
int runAndCapture(std::vector<std::string>& target, std::string_view folder,
                  std::string_view commandLine, std::string_view prefix);

// The command line that runs `command` through /bin/sh, for commands a user
// types (pipes, redirections, variables).
std::string shellCommandLine(std::string_view command);

// Starts `argv` in `folder` in a session of its own and does not wait for it;
// false when it could not be started.
bool startDetached(const std::vector<std::string>& argv, std::string_view folder = {});

struct FinishedRun {
    bool started = false;
    int exitCode = -1;               // -1 unless the program exited normally
    std::vector<std::string> lines;  // standard output and error, Shift_JIS
};
// Runs `argv` to its end, for short queries of desktop tools.
FinishedRun runToEnd(const std::vector<std::string>& argv, std::string_view folder = {});

}  // namespace zel
