#pragma once
// The one list of the commands of the command layer: each command once, under
// the name scripts call it by, with its caption and how to run it. Menus, the
// tool bar, the tab pop-up, the holder view's pop-ups and the script host all
// run commands through it; nothing runs a command beside it.
//
// A command named here whose member is not built yet has no `run`: every
// menu item, button or pop-up entry that names it is shown disabled, and
// running it by name says "Still not implemented. " and the name.

#include <functional>
#include <string_view>
#include <vector>

#include "app/commands/CommandKit.h"

namespace zel {

class TFormMainScript;

// What a command takes besides the window: nothing, a text or a number.
// Arguments always travel as text; a number is read from the whole trimmed text.
enum class CommandArgument { None, Text, Number };

struct CommandEntry {
    std::string_view name;     // the member's name, as scripts call it
    std::string_view caption;  // as the menu or tool bar carries it (Shift_JIS)
    CommandArgument argument = CommandArgument::None;
    std::function<int(TFormMainScript&, std::string_view argument)> run;

    bool built() const { return static_cast<bool>(run); }
};

const std::vector<CommandEntry>& commandTable();
// None when no command has that name (letter case counts).
const CommandEntry* findCommand(std::string_view name);
// True when the command exists and is built.
bool isCommandBuilt(std::string_view name);
// The caption of the menu item that runs `name` with `argument`: the one the
// command lists give that argument, else the command's own; empty for a name
// the table does not know.
std::string_view commandCaption(std::string_view name, std::string_view argument = {});

// Runs the command `name` with `argument` (ignored by a command without one).
// An unknown name gives kUnknownCommand; a command not built yet shows
// "Still not implemented. " + name and gives kCommandNotBuilt; a number
// argument that is not an integer gives kBadCommandArgument and runs nothing.
// A command that runs out of memory ends with "ERROR: not enough memory" in
// the status bar and gives kNotEnoughMemory; the window and its memo file
// stay as the command left them.
int runCommand(TFormMainScript& window, std::string_view name, std::string_view argument = {});

}  // namespace zel
