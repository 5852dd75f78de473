#pragma once
// The command table and every control that runs a command, as text: what
// "zel --commands" prints, so the menus can be compared with their map
// without a display.

#include <string>
#include <vector>

namespace zel {

class TFormMainZELX13c;

struct ListedControl {
    std::string place;     // "menu", "tabs", "PopupMenuLB", "PopupMenuTV", "PopupMenuLV", "tool"
    std::string path;      // captions joined by "/", UTF-8 ("-" for a separator)
    std::string command;   // empty for controls the window handles itself
    std::string then;      // the command run after it, for the few items that run two
    std::string argument;  // UTF-8
    std::string kind;      // "item", "separator", "check", "radio", "submenu", "button", "switch"
    bool enabled = false;
    std::string shortcut;  // the key that runs it ("Ctrl+S"); mostly empty
};

// Every menu item, pop-up entry and tool bar control of `window`, in order.
std::vector<ListedControl> listControls(const TFormMainZELX13c& window);
// The table and the controls, one per line, or as one JSON document.
std::string commandListing(const TFormMainZELX13c& window, bool json);

}  // namespace zel
