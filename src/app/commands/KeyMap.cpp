#include "app/commands/KeyMap.h"

#include <algorithm>

#include "app/commands/CommandNames.h"

namespace zel {

const std::vector<CommandKey>& commandKeys() {
    using namespace commands;
    static const std::vector<CommandKey> keys = {
        {UISaveEverything,
         {},
         "Ctrl+S",
         KeyScope::Window,
         "save the memo file and every changed holder, without a question"},
        {saveAsMemoFile_, ".mxa", "Ctrl+Shift+S", KeyScope::Window, "save the memo file as"},
        {UIOpenMXA, {}, "Ctrl+O", KeyScope::Window, "open a memo file"},
        {UINewNode, {}, "Ctrl+N", KeyScope::Window, "new node"},
        {UIShowScanMemoNode, {}, "Ctrl+F", KeyScope::Window, "search in the node"},
        {UIShowScanMemoHolders, {}, "Ctrl+Shift+F", KeyScope::Window, "search the holders"},
        {UIPrintMemoNode, {}, "Ctrl+P", KeyScope::Window, "print the node"},
        {UIRenameNode, {}, "F2", KeyScope::Window, "rename the node"},
        {UIDeleteMemoNode,
         {},
         "Del",
         KeyScope::NodeList,
         "delete the node into the trash holder (in the node list)"},
        {UIGoToNode, {}, "Ctrl+K", KeyScope::Window, "go to a node of any holder by its name"},
        {UINextHolder, {}, "Ctrl+Tab", KeyScope::Window, "next holder"},
        {UIPreviousHolder, {}, "Ctrl+Shift+Tab", KeyScope::Window, "previous holder"},
        {UIShowManualInternet, {}, "F1", KeyScope::Window, "the manual"},
    };
    return keys;
}

std::string_view keyOf(std::string_view command, std::string_view argument) {
    for (const CommandKey& key : commandKeys())
        if (key.command == command && key.argument == argument) return key.keys;
    return {};
}

std::string keyHelpText() {
    static constexpr std::string_view kEnds = "Home, End";
    std::size_t widest = kEnds.size();
    for (const CommandKey& key : commandKeys()) widest = std::max(widest, key.keys.size());
    const auto line = [widest](std::string_view keys, std::string_view purpose) {
        std::string text = "  " + std::string(keys);
        text.resize(2 + widest + 2, ' ');
        return text + std::string(purpose) + "\n";
    };
    std::string text;
    for (const CommandKey& key : commandKeys()) text += line(key.keys, key.purpose);
    return text + line(kEnds, "first and last node (in the node list)");
}

}  // namespace zel
