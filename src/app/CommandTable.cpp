#include "app/CommandTable.h"

#include "app/TFormMainScript.h"

namespace zel {

const std::vector<CommandEntry>& commandTable() {
    static const std::vector<CommandEntry> table = {
        {"UINewNode", "New", [](TFormMainScript& w) { return w.UINewNode(); }},
        {"UISaveHolderNoMSG", "Save(NoMessage)",
         [](TFormMainScript& w) { return static_cast<int>(w.UISaveHolderNoMSG()); }},
        {"UIShowReadWindow", "Read Window",
         [](TFormMainScript& w) { return w.UIShowReadWindow(); }},
        {"UIShowOtherWindow", "Other Window",
         [](TFormMainScript& w) { return w.UIShowOtherWindow(); }},
        {"Break", "Break", [](TFormMainScript& w) { return w.Break(); }},
        {"Done", "Done", [](TFormMainScript& w) { return w.Done(); }},
        {"UITerminate_", "Exit", [](TFormMainScript& w) { return w.UITerminate_(""); }},
        {"UIExit", "&Exit", [](TFormMainScript& w) { return w.UIExit(); }},
        {"UIExitAllYes", "Exit(All Yes)", [](TFormMainScript& w) { return w.UIExitAllYes(); }},
        {"UIShowVersion", "Version", [](TFormMainScript& w) { return w.UIShowVersion(); }},
        {"UIShowLog", "Log", [](TFormMainScript& w) { return w.UIShowLog(); }},
        {"UIShowAbout", "About", [](TFormMainScript& w) { return w.UIShowAbout(); }},
    };
    return table;
}

const CommandEntry* findCommand(std::string_view name) {
    for (const CommandEntry& entry : commandTable()) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

}  // namespace zel
