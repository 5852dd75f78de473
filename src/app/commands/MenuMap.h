#pragma once
// The menu map: every item of the main menus, the tab pop-up and the tool bar
// as data over the command table. An item names the menu it stands in, the
// command it runs and the argument it passes; its caption is the one the
// command lists give that command and argument, so a caption is written in
// one place. The window builds its menus from these lists, so an item exists
// even while its command is not built, and is then disabled. Captions are
// Shift_JIS bytes, exactly as the menus carry them ("&" marks an
// accelerator, "&&" shows one "&").

#include <string>
#include <string_view>
#include <vector>

namespace zel {

enum class MenuItemKind { Item, Separator, Check, Radio };

struct MenuItem {
    // The captions from the menu down to the item's own menu, joined by "/";
    // submenus come into being where their caption first appears.
    std::string_view menu;
    std::string_view command = {};
    std::string_view argument = {};
    MenuItemKind kind = MenuItemKind::Item;
    // A second command run after the first ("Save All Holders").
    std::string_view then = {};
    // The item's own caption, where its place names it otherwise than the
    // command lists do (the "Jump" items, [MemoNode] "Print").
    std::string_view label = {};
};

// The twelve menus of the menu bar, in order.
const std::vector<MenuItem>& mainMenuMap();
// The holder tab strip's pop-up.
const std::vector<MenuItem>& tabPopupMap();

// The caption an item shows: its label; else, for an item that runs a second
// command, the second's caption; else the caption of its command and
// argument. "-" for a separator.
std::string_view itemCaption(const MenuItem& item);
// The captions from the menu down to the item, joined by "/".
std::string itemPath(const MenuItem& item);

struct ToolBarItem {
    // Empty for the two switches ("ReadOnly", "Internet").
    std::string_view command;
    std::string_view hint = {};
    // "Break", "Done", "Exit" and "Holder" act while a command runs.
    bool anyTime = false;
    // The caption where it is not the command's (the switches, "SAVE").
    std::string_view label = {};
};

// The tool bar's controls, left to right.
const std::vector<ToolBarItem>& toolBarMap();
std::string_view toolCaption(const ToolBarItem& item);

}  // namespace zel
