#pragma once
// The keyboard: the one list of the keys that run commands. Each key runs one
// menu item (the first that runs its command with its argument); menus show
// it beside the caption, `zel --commands` lists it and `zel --help` prints
// it. A key that text boxes use for editing (Delete, Home, Ctrl+K) is never
// taken from them: it acts only where no text box has the focus.

#include <string>
#include <string_view>
#include <vector>

namespace zel {

// Where a key acts.
enum class KeyScope {
    // Anywhere in the main window (text boxes keep their editing keys).
    Window,
    // Only while the node list of the holder frame has the focus.
    NodeList,
};

struct CommandKey {
    std::string_view command;
    std::string_view argument;
    // As Qt writes a key sequence in its portable form ("Ctrl+Shift+S").
    std::string_view keys;
    KeyScope scope = KeyScope::Window;
    // What the key does, for --help and the manual page.
    std::string_view purpose = {};
};

const std::vector<CommandKey>& commandKeys();
// The key of the item that runs `command` with `argument`; empty when none.
std::string_view keyOf(std::string_view command, std::string_view argument = {});
// The keys as --help lists them, one per line.
std::string keyHelpText();

}  // namespace zel
