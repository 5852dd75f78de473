#include "app/commands/CommandListing.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <nlohmann/json.hpp>

#include "app/commands/CommandTable.h"
#include "app/commands/KeyMap.h"
#include "app/window/TFormMainZELX13c.h"
#include "text/Sjis.h"
#include "views/HolderFrameHost.h"

namespace zel {

namespace {

std::string utf8(const QString& text) {
    return text.toStdString();
}

std::string argumentKind(CommandArgument argument) {
    switch (argument) {
        case CommandArgument::Text:
            return "text";
        case CommandArgument::Number:
            return "number";
        default:
            return "none";
    }
}

void listMenu(const QMenu& menu, const std::string& place, const std::string& prefix,
              std::vector<ListedControl>& out) {
    for (QAction* action : menu.actions()) {
        ListedControl control{place, prefix, {}, {}, {}, "item", action->isEnabled(), {}};
        if (action->isSeparator()) {
            control.path += "-";
            control.kind = "separator";
            out.push_back(control);
            continue;
        }
        control.path += utf8(action->text());
        control.command = utf8(action->property(kCommandProperty).toString());
        control.argument = utf8(action->property(kArgumentProperty).toString());
        control.then = thenOf(action);
        control.shortcut = utf8(action->shortcut().toString(QKeySequence::PortableText));
        if (action->menu())
            control.kind = "submenu";
        else if (action->actionGroup() && action->isCheckable())
            control.kind = "radio";
        else if (action->isCheckable())
            control.kind = "check";
        out.push_back(control);
        if (action->menu()) listMenu(*action->menu(), place, control.path + "/", out);
    }
}

}  // namespace

std::vector<ListedControl> listControls(const TFormMainZELX13c& window) {
    std::vector<ListedControl> out;
    for (QAction* top : window.menuBar()->actions()) {
        out.push_back({"menu", utf8(top->text()), {}, {}, {}, "submenu", top->isEnabled(), {}});
        if (top->menu()) listMenu(*top->menu(), "menu", utf8(top->text()) + "/", out);
    }
    listMenu(*window.holderView().tabs()->PopupMenuHolder, "tabs", "", out);
    const TFrameMemoHolder* frame = window.FrameMemoHolder1;
    listMenu(*frame->PopupMenuLB, "PopupMenuLB", "", out);
    listMenu(*frame->PopupMenuTV, "PopupMenuTV", "", out);
    listMenu(*frame->PopupMenuLV, "PopupMenuLV", "", out);
    for (QObject* child : window.Panel_Tool->children()) {
        auto* control = qobject_cast<QAbstractButton*>(child);
        if (!control) continue;
        const bool isSwitch = qobject_cast<QCheckBox*>(control) != nullptr;
        out.push_back({"tool",
                       utf8(control->text()),
                       isSwitch ? std::string() : utf8(control->objectName()),
                       {},
                       {},
                       isSwitch ? "switch" : "button",
                       control->isEnabled(),
                       {}});
    }
    return out;
}

std::string commandListing(const TFormMainZELX13c& window, bool json) {
    const std::vector<ListedControl> controls = listControls(window);
    if (json) {
        nlohmann::ordered_json document;
        document["commands"] = nlohmann::ordered_json::array();
        for (const CommandEntry& entry : commandTable())
            document["commands"].push_back({{"name", std::string(entry.name)},
                                            {"caption", sjisToUtf8(entry.caption)},
                                            {"argument", argumentKind(entry.argument)},
                                            {"built", entry.built()},
                                            {"shortcut", std::string(keyOf(entry.name))}});
        document["controls"] = nlohmann::ordered_json::array();
        for (const ListedControl& control : controls)
            document["controls"].push_back({{"place", control.place},
                                            {"path", control.path},
                                            {"command", control.command},
                                            {"then", control.then},
                                            {"argument", control.argument},
                                            {"kind", control.kind},
                                            {"enabled", control.enabled},
                                            {"shortcut", control.shortcut}});
        return document.dump(1) + "\n";
    }
    std::string text;
    for (const CommandEntry& entry : commandTable())
        text += "command\t" + std::string(entry.name) + "\t" + argumentKind(entry.argument) + "\t" +
                (entry.built() ? "built" : "pending") + "\t" + sjisToUtf8(entry.caption) + "\t" +
                std::string(keyOf(entry.name)) + "\n";
    for (const ListedControl& control : controls) {
        text += control.place + "\t" + control.path + "\t" + control.kind + "\t" +
                (control.enabled ? "enabled" : "disabled");
        if (!control.command.empty()) text += "\t" + control.command;
        if (!control.then.empty()) text += "\t" + control.then;
        if (!control.argument.empty()) text += "\t\"" + control.argument + "\"";
        if (!control.shortcut.empty()) text += "\tkey " + control.shortcut;
        text += "\n";
    }
    return text;
}

}  // namespace zel
