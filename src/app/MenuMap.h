#pragma once
// The menu map: every item of the main menus, the tab pop-up and the tool bar
// as data over the command table. An item names the command it runs (and the
// argument it passes); the window builds its menus from these lists, so an
// item exists even while its command is not built, and is then disabled.
// Captions are Shift_JIS bytes, exactly as the menus carry them ("&" marks
// an accelerator, "&&" shows one "&").

#include <string_view>
#include <vector>

namespace zel {

enum class MenuItemKind { Item, Separator, Check, Radio };

struct MenuItem {
    // The captions from the menu down to the item, joined by "/"; the last
    // one is the item's own ("-" for a separator). Submenus come into being
    // where their caption first appears.
    std::string_view path;
    std::string_view command = {};
    std::string_view argument = {};
    MenuItemKind kind = MenuItemKind::Item;
    // A second command run after the first ("Save All Holders").
    std::string_view then = {};
};

// The twelve menus of the menu bar, in order.
const std::vector<MenuItem>& mainMenuMap();
// The holder tab strip's pop-up; paths are the bare captions.
const std::vector<MenuItem>& tabPopupMap();

struct ToolBarItem {
    std::string_view caption;
    // Empty for the two switches ("ReadOnly", "Internet").
    std::string_view command;
    std::string_view hint = {};
    // "Break", "Done", "Exit" and "Holder" act while a command runs.
    bool anyTime = false;
};

// The tool bar's controls, left to right.
const std::vector<ToolBarItem>& toolBarMap();

// The caption of a path's last piece, and the menu path above it.
std::string_view itemCaption(std::string_view path);
std::string_view parentPath(std::string_view path);

}  // namespace zel
