// The menu bar, the tab pop-up and the tool bar as the menu map declares them,
// over the one command table.

#include <QAbstractButton>
#include <QMenuBar>
#include <functional>
#include <nlohmann/json.hpp>
#include <set>

#include "AppTestSupport.h"
#include "app/commands/CommandListing.h"
#include "app/commands/CommandTable.h"
#include "app/commands/MenuMap.h"
#include "script/HostPrototypes.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/ViewText.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class MenuMapTest : public AppTest {};

// zel --commands: an item that runs two commands names both, in the text
// and the JSON listing alike; other items name one.
TEST_F(MenuMapTest, TheCommandListingNamesBothCommandsOfAnItem) {
    makeWindow();
    // The text line of the menu item at `path`.
    const std::string text = commandListing(*window, false);
    auto line = [&](const std::string& path) {
        const std::size_t at = text.find("menu\t" + path + "\t");
        if (at == std::string::npos) return std::string();
        return text.substr(at, text.find('\n', at) - at);
    };
    EXPECT_TRUE(
        line("&File/Save All Holders").ends_with("\tUISaveFileWithoutMSG\tUISaveAllHolders"))
        << line("&File/Save All Holders");
    EXPECT_TRUE(
        line("[MemoNode]/Save As && Explorer").ends_with("\tUISaveNodeAs\tUIExplorerFilename"));
    EXPECT_TRUE(line("&File/Propaty").ends_with("\tUIShowPropatyMXA2"));

    const auto json = nlohmann::json::parse(commandListing(*window, true));
    std::vector<std::string> twice;
    for (const auto& control : json["controls"]) {
        if (control["then"].get<std::string>().empty()) continue;
        twice.push_back(control["command"].get<std::string>() + " " +
                        control["then"].get<std::string>());
    }
    EXPECT_EQ(twice,
              (Names{"UISaveFileWithoutMSG UISaveAllHolders", "UISaveNodeAs UIExplorerFilename"}));
}

TEST_F(MenuMapTest, TheMenuBarHasTheTwelveMenusInOrder) {
    makeWindow();
    Names titles;
    for (QAction* action : window->menuBar()->actions()) titles.push_back(fromQt(action->text()));
    EXPECT_EQ(titles, (Names{"&File", "[Holder]", "MarkNode", "[MemoNode]", "NewNode", "[MarkWord]",
                             "Jump", "Scan", "[Form]", "Window", "[Install]", "&Help"}));
}

TEST_F(MenuMapTest, EveryMappedItemIsThereAndEnabledExactlyWhenItsCommandIsBuilt) {
    makeWindow();
    std::set<std::string> paths;
    for (const MenuItem& item : mainMenuMap()) {
        if (item.kind == MenuItemKind::Separator) continue;
        const std::string path = itemPath(item);
        SCOPED_TRACE(path);
        EXPECT_TRUE(paths.insert(path).second) << "one item per path";
        const CommandEntry* command = findCommand(item.command);
        ASSERT_NE(command, nullptr) << "the table lists " << item.command;
        if (!item.then.empty()) {
            ASSERT_NE(findCommand(item.then), nullptr);
        }
        // A caption is written once: a label only where the lists give another.
        if (!item.label.empty()) {
            EXPECT_NE(item.label,
                      commandCaption(item.then.empty() ? item.command : item.then, item.argument));
        }
        QAction* action = window->menuAction(path);
        ASSERT_NE(action, nullptr);
        const bool built = command->built() && (item.then.empty() || isCommandBuilt(item.then));
        EXPECT_EQ(action->isEnabled(), built);
        EXPECT_EQ(commandOf(action), item.command);
        if (command->argument == CommandArgument::None) {
            EXPECT_TRUE(item.argument.empty()) << "an argument for a command without one";
        }
        if (command->argument == CommandArgument::Number) {
            EXPECT_TRUE(readInteger(item.argument).has_value());
        }
    }
    // Captions byte for byte, full-width blank and double-byte marks included.
    EXPECT_TRUE(
        window->menuAction("MarkNode/UnMark\x81\x40"
                           "ALL"));
    EXPECT_EQ(window->menuAction("[MarkWord]/Add Head/\x81\x9C")->text(), QStringLiteral("●"));
    EXPECT_TRUE(window->menuAction("Jump/List/")) << "the list's fifth item has no caption";
    EXPECT_EQ(window->menuAction("[Form]/Size&&Pos/640x480")->text(), QStringLiteral("640x480"));
}

TEST_F(MenuMapTest, EveryCommandOfTheTableIsReachable) {
    makeWindow();
    std::set<std::string> reached;
    for (const MenuItem& item : mainMenuMap()) {
        reached.emplace(item.command);
        reached.emplace(item.then);
    }
    for (const MenuItem& item : tabPopupMap()) reached.emplace(item.command);
    for (const ToolBarItem& item : toolBarMap()) reached.emplace(item.command);
    std::function<void(QMenu*)> walk = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->menu()) walk(action->menu());
            reached.insert(commandOf(action));
        }
    };
    TFrameMemoHolder* frame = window->FrameMemoHolder1;
    for (QMenu* popup : {frame->PopupMenuLB, frame->PopupMenuTV, frame->PopupMenuLV}) walk(popup);
    // Script routines run the commands of their names too ("function NAME(...").
    for (const std::string& line : hostPrototypeLines()) {
        const std::size_t start = line.find(' ');
        const std::size_t end = line.find_first_of("(:;", start + 1);
        if (start != std::string::npos && end != std::string::npos)
            reached.insert(line.substr(start + 1, end - start - 1));
    }
    std::set<std::string_view> names;
    for (const CommandEntry& entry : commandTable()) {
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name << " listed twice";
        EXPECT_TRUE(reached.count(std::string(entry.name))) << entry.name << " runs from nowhere";
    }
}

// The holder view's pop-ups sit below the command lists and name their
// commands as text: a misspelt name would leave an item that runs nothing.
TEST_F(MenuMapTest, EveryPopUpItemOfTheHolderViewNamesACommandOfTheTable) {
    makeWindow();
    std::set<std::string_view> known;
    for (const CommandEntry& entry : commandTable()) known.insert(entry.name);
    std::function<void(QMenu*)> walk = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            if (action->menu()) walk(action->menu());
            const std::string command = commandOf(action);
            if (command.empty()) continue;
            EXPECT_TRUE(known.count(command)) << command;
        }
    };
    TFrameMemoHolder* frame = window->FrameMemoHolder1;
    for (QMenu* popup : {frame->PopupMenuLB, frame->PopupMenuTV, frame->PopupMenuLV}) walk(popup);
}

TEST_F(MenuMapTest, OpeningAMenuWhileACommandRunsDisablesItsItems) {
    openMemoFile({{"A", {"a1", "a2"}}});
    QMenu* marks = window->mainMenu("MarkNode");
    window->startDoing_("long");
    window->prepareMenu(marks);
    for (QAction* action : marks->actions()) {
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->isEnabled()) << fromQt(action->text());
        }
    }
    window->doneDoing();
    window->prepareMenu(marks);
    for (QAction* action : marks->actions()) {
        if (action->isSeparator()) continue;
        EXPECT_EQ(action->isEnabled(), isCommandBuilt(commandOf(action))) << fromQt(action->text());
    }
    window->menuAction("MarkNode/Mark ALL")->trigger();
    EXPECT_TRUE(holder("A")->at_(1)->isMarked_());
}

TEST_F(MenuMapTest, CommandsRunByNameWithTheirArgument) {
    openMemoFile({{"A", {"a1"}}});
    EXPECT_EQ(runCommand(*window, "UIClone_", "3"), 3);
    EXPECT_EQ(currentNodeNames().size(), 4u);
    EXPECT_EQ(runCommand(*window, "UIClone_", "three"), kBadCommandArgument);
    EXPECT_EQ(runCommand(*window, "NoSuchCommand"), kUnknownCommand);
    // Any command still waiting for its member says so.
    for (const CommandEntry& entry : commandTable()) {
        if (entry.built() || entry.argument != CommandArgument::None) continue;
        prompter->answer(Answer::Ok, "Still not implemented. " + std::string(entry.name));
        EXPECT_EQ(runCommand(*window, entry.name), kCommandNotBuilt);
        break;
    }
}

TEST_F(MenuMapTest, TheTabPopUpAndTheToolBarFollowTheMap) {
    makeWindow();
    Names captions;
    for (QAction* action : window->tabPopupItems())
        captions.push_back(action->isSeparator() ? "-" : fromQt(action->text()));
    EXPECT_EQ(captions, (Names{"Rename", "Rename other", "-", "New", "New Left", "New Right", "-",
                               "->", "<-", "-", "Delete"}));
    Names controls;
    for (QObject* child : window->Panel_Tool->children())
        if (auto* widget = qobject_cast<QAbstractButton*>(child))
            controls.push_back(fromQt(widget->text()));
    EXPECT_EQ(controls, (Names{"ReadOnly", "Scan", "SAVE", "Break", "New", "URL", "Image", "Done",
                               "Exit", "Holder", "Internet", "UP", "DOWN"}));
    EXPECT_EQ(window->toolButton("UINewNodeURL")->toolTip(),
              QStringLiteral("Create New MemoNode. ( URL Type)"));
    for (const ToolBarItem& item : toolBarMap()) {
        if (item.command.empty()) continue;
        EXPECT_EQ(window->toolButton(item.command)->isEnabled(), isCommandBuilt(item.command))
            << item.command;
    }
}

}  // namespace
}  // namespace zel
