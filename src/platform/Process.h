#pragma once
// Starting programs. Command lines and folders are Shift_JIS model text; a
// command line is split into words as a POSIX shell splits them (blanks,
// single and double quotes, backslash), with no expansion, and its first word
// is looked up in PATH.

#include <functional>
#include <optional>
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

// A program started without waiting whose end can be asked for, so a caller
// can wait for it in slices and keep its own events going.
class RunningProgram {
  public:
    RunningProgram() = default;
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Starts `program` (looked up in PATH when it has no "/") with the words
    // of `arguments` after it, no shell in between; false when it could not
    // be started.
    bool start(std::string_view program, std::string_view arguments, std::string_view folder = {});
    // Its exit code once it has ended (-1 unless it exited normally); none
    // while it runs. A program left running is reaped when it ends.
    std::optional<int> poll();

  private:
    int pid_ = -1;
    bool reaped_ = true;
};

struct FinishedRun {
    bool started = false;
    int exitCode = -1;               // -1 unless the program exited normally
    std::vector<std::string> lines;  // standard output and error, Shift_JIS
};
// Runs `argv` to its end, for short queries of desktop tools.
FinishedRun runToEnd(const std::vector<std::string>& argv, std::string_view folder = {});

struct CapturedRun {
    bool started = false;
    bool broken = false;             // Break stopped the program
    bool cut = false;                // it wrote more than the limit and was stopped
    int exitCode = -1;               // -1 unless the program exited normally
    std::vector<std::string> lines;  // standard output and error, Shift_JIS
};
// Runs `argv` (no shell in between) for a command the user started: its
// merged output is kept up to `limit` bytes, and `poll` is asked about every
// 50 ms while it runs (it lets window events through and answers whether
// Break was pressed). Break, or output beyond the limit, stops the program
// and whatever it started (SIGTERM to its process group, SIGKILL a second
// later); the lines written until then are kept.
CapturedRun runCaptured(const std::vector<std::string>& argv, std::string_view folder,
                        std::size_t limit, const std::function<bool()>& poll);

}  // namespace zel
