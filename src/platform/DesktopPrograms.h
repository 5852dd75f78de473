#pragma once
// Desktop programs the window starts on the user's behalf (a calculator, a
// terminal) and how it finds them. Starting goes through a replaceable
// starter, so tests record what would run and start nothing.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zel {

// Starts `argv` (model text; the first word looked up in PATH) in
// `workingFolder` (empty: the current one) without waiting; false when
// nothing could be started.
using ProgramStarter =
    std::function<bool(const std::vector<std::string>& argv, std::string_view workingFolder)>;

// Installs `starter` (an empty one means starting for real) and returns the
// one it replaces.
ProgramStarter setProgramStarter(ProgramStarter starter);
bool startProgram(const std::vector<std::string>& argv, std::string_view workingFolder = {});

class ScopedProgramStarter {
  public:
    explicit ScopedProgramStarter(ProgramStarter starter)
        : previous_(setProgramStarter(std::move(starter))) {}
    ~ScopedProgramStarter() { setProgramStarter(std::move(previous_)); }
    ScopedProgramStarter(const ScopedProgramStarter&) = delete;
    ScopedProgramStarter& operator=(const ScopedProgramStarter&) = delete;

  private:
    ProgramStarter previous_;
};

// The full path of the executable file `name` names in PATH (or `name`
// itself when it holds a "/" and is executable); empty when there is none.
std::string findOnPath(std::string_view name);

// A file the desktop would run rather than open in a program: one with an
// execute bit, or a desktop entry (".desktop").
bool isProgramFile(std::string_view path);

// The calculator: the first of gnome-calculator, kcalc, galculator and xcalc
// found in PATH; empty when none is.
std::string findCalculator();
// The terminal: x-terminal-emulator, else the program $TERMINAL names; empty
// when neither is found.
std::string findTerminal();

}  // namespace zel
