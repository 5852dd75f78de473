#pragma once
// The one list of the commands of the command layer: each command once, with
// its name, its caption and how to run it. Menus, the tool bar, pop-ups and
// the script host are built from it or dispatch through it.

#include <functional>
#include <string_view>
#include <vector>

namespace zel {

class TFormMainScript;

struct CommandEntry {
    std::string_view name;     // the member's name, as scripts call it
    std::string_view caption;  // as the menu or tool bar carries it
    std::function<int(TFormMainScript&)> run;
};

const std::vector<CommandEntry>& commandTable();
// None when no command has that name (letter case counts).
const CommandEntry* findCommand(std::string_view name);

}  // namespace zel
