// The keys: each runs one menu item, shown beside its caption; keys a text
// box edits with stay with the text box; Ctrl+S saves every changed file with
// no question; the lists obey Home and End; Ctrl+K finds a node of any holder.

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <map>

#include "app/AppTestSupport.h"
#include "app/commands/CommandListing.h"
#include "app/commands/CommandTable.h"
#include "app/commands/KeyMap.h"
#include "app/window/GoToNodeWindow.h"
#include "model/HolderFile.h"
#include "model/MemoNode.h"
#include "views/NodeControls.h"
#include "views/TFrameMemoNode.h"

// What QTest uses to offer a key to the shortcuts first.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods, const QString& text,
                                               bool autorep, ushort count);

namespace zel {
namespace {

using Names = std::vector<std::string>;

class KeysTest : public AppTest {
  protected:
    void showWindow() {
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        QApplication::processEvents();
    }
    // A key typed into `focus` as the desktop delivers it: the shortcuts
    // first, then the widget. True when a shortcut took it.
    bool type(QWidget* focus, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = {}) {
        focus->setFocus();
        QApplication::processEvents();
        if (qt_sendShortcutOverrideEvent(focus, 0, key, modifiers, text, false, 1)) return true;
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(focus, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(focus, &release);
        return false;
    }
    // The control of the current holder's list mode that takes the keys.
    QWidget* nodeList() {
        MemoHolderUI* shown = holder(window->getCurHolder()->getName_());
        if (shown->listMode() == ListMode::Tree) return shown->treeView();
        if (shown->listMode() == ListMode::List) return shown->listControl()->activeView();
        return shown->checkList();
    }
    QWidget* memoEditor() { return window->nodeEditor()->nodeFrame()->MemoNode0; }
    std::string holderFileText(const std::string& name) const {
        return readText(holderFilePath_(*holder(name)).substr(dir.size() + 1));
    }
    std::string currentName() const {
        return window->getCurMemoNode() ? window->getCurMemoNode()->getName_() : "";
    }
};

TEST_F(KeysTest, EveryKeyRunsOneItemAndTheListingShowsIt) {
    makeWindow();
    std::map<std::string, std::vector<ListedControl>> byKey;
    for (const ListedControl& control : listControls(*window))
        if (!control.shortcut.empty()) byKey[control.shortcut].push_back(control);
    EXPECT_EQ(byKey.size(), commandKeys().size());
    for (const CommandKey& key : commandKeys()) {
        const auto& bound = byKey[std::string(key.keys)];
        ASSERT_EQ(bound.size(), 1u) << key.keys;
        EXPECT_EQ(bound.front().command, key.command) << key.keys;
        EXPECT_EQ(bound.front().argument, key.argument) << key.keys;
        EXPECT_TRUE(bound.front().enabled) << key.keys;
        EXPECT_TRUE(isCommandBuilt(key.command)) << key.command;
    }
    // Both listings carry the keys: the commands' own and the items'.
    const std::string json = commandListing(*window, true);
    EXPECT_NE(json.find("\"shortcut\": \"Ctrl+K\""), std::string::npos);
    EXPECT_NE(commandListing(*window, false).find("\tkey Ctrl+Shift+S"), std::string::npos);
    // The new items come after the described ones.
    EXPECT_EQ(window->menuAction("&File/Save Everything")->shortcut().toString(),
              QStringLiteral("Ctrl+S"));
    EXPECT_NE(window->menuAction("&File/Recent"), nullptr);
}

TEST_F(KeysTest, CtrlSSavesTheMemoFileAndEveryChangedHolderWithoutAQuestion) {
    openMemoFile({{"a", {"a1", "a2"}}, {"b", {"b1"}}, {"c", {"c1"}}});
    showWindow();
    auto* editor = qobject_cast<QPlainTextEdit*>(memoEditor());
    window->changeHolder_(holder("b"));
    editor->selectAll();
    editor->insertPlainText(QStringLiteral("changed in b"));
    window->changeHolder_(holder("a"));
    editor->selectAll();
    editor->insertPlainText(QStringLiteral("changed in a"));
    const std::string untouched = holderFileText("c");
    ASSERT_FALSE(untouched.empty());
    ASSERT_TRUE(window->aFile->changed);

    EXPECT_TRUE(type(nodeList(), Qt::Key_S, Qt::ControlModifier));

    EXPECT_NE(holderFileText("a").find("changed in a"), std::string::npos);
    EXPECT_NE(holderFileText("b").find("changed in b"), std::string::npos);
    EXPECT_EQ(holderFileText("c"), untouched);
    EXPECT_FALSE(window->aFile->changed);
    EXPECT_FALSE(holder("a")->changed);
    EXPECT_FALSE(holder("b")->changed);
    EXPECT_TRUE(window->statusMessage().starts_with("Done: Save Everything"))
        << window->statusMessage();
    // Nothing changed: nothing written, and it says so.
    EXPECT_EQ(runCommand(*window, "UISaveEverything"), 0);
    EXPECT_EQ(window->statusMessage(), "Done: Save Everything: nothing changed");
}

TEST_F(KeysTest, DeleteActsInTheNodeListAndTextBoxesKeepTheirEditingKeys) {
    openMemoFile({{"a", {"a1", "a2", "a3"}}});
    showWindow();
    auto* editor = qobject_cast<QPlainTextEdit*>(memoEditor());
    ASSERT_NE(editor, nullptr);
    editor->setPlainText(QStringLiteral("xy"));
    editor->moveCursor(QTextCursor::Start);
    EXPECT_FALSE(type(editor, Qt::Key_Delete));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("y"));
    EXPECT_EQ(currentNodeNames(), (Names{"a1", "a2", "a3"}));

    EXPECT_TRUE(type(nodeList(), Qt::Key_Delete));
    EXPECT_EQ(currentNodeNames(), (Names{"a2", "a3"}));
    ASSERT_NE(holder("Trush"), nullptr);
    EXPECT_EQ(holder("Trush")->byName_("a1")->memo, (std::vector<std::string>{"y"}));
}

TEST_F(KeysTest, CtrlTabStepsThroughTheHoldersRoundEitherEnd) {
    openMemoFile({{"a", {"a1"}}, {"b", {"b1"}}, {"c", {"c1"}}});
    showWindow();
    window->changeHolder_(holder("a"));
    EXPECT_TRUE(type(nodeList(), Qt::Key_Tab, Qt::ControlModifier));
    EXPECT_EQ(window->getCurHolder()->getName_(), "b");
    EXPECT_TRUE(type(memoEditor(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier));
    EXPECT_EQ(window->getCurHolder()->getName_(), "a");
    EXPECT_EQ(runCommand(*window, "UIPreviousHolder"), 2);
    EXPECT_EQ(window->getCurHolder()->getName_(), "c");
    EXPECT_EQ(runCommand(*window, "UINextHolder"), 0);
    EXPECT_EQ(window->getCurHolder()->getName_(), "a");
}

TEST_F(KeysTest, HomeAndEndGoToTheFirstAndLastNodeInEveryListMode) {
    openMemoFile({{"a", {"a1", "a2", "a3", "a4"}}});
    showWindow();
    for (const char* mode : {"UIChangeCheckListBox", "UIChangeTreeView", "UIChangeListView"}) {
        ASSERT_GE(runCommand(*window, mode), 0) << mode;
        window->setCurMemoNode_(window->getCurHolder()->at_(1));
        type(nodeList(), Qt::Key_End);
        EXPECT_EQ(currentName(), "a4") << mode;
        type(nodeList(), Qt::Key_Home);
        EXPECT_EQ(currentName(), "a1") << mode;
    }
}

TEST_F(KeysTest, CtrlKFindsANodeOfAHolderNotLoadedAndMakesItCurrent) {
    openMemoFile({{"notes", {"Meeting plan", "Shopping"}},
                  {"later", {"zeta one", "Go To Node", "zeta two"}}});
    showWindow();
    window->changeHolder_(holder("notes"));
    ASSERT_FALSE(window->aFile->holderByName_("later")->loaded);

    EXPECT_TRUE(type(nodeList(), Qt::Key_K, Qt::ControlModifier));
    auto* finder = window->findChild<GoToNodeWindow*>();
    ASSERT_NE(finder, nullptr);
    EXPECT_TRUE(finder->isVisible());
    finder->line->setText(QStringLiteral("ZETA"));
    ASSERT_EQ(finder->matches->count(), 2);
    EXPECT_EQ(finder->matches->item(0)->text(), QStringLiteral("later / zeta one"));
    EXPECT_TRUE(window->aFile->holderByName_("later")->loaded == false);
    finder->line->setText(QStringLiteral("gtn"));
    ASSERT_EQ(finder->matches->count(), 1);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(finder->line, &enter);

    EXPECT_FALSE(finder->isVisible());
    EXPECT_EQ(window->getCurHolder()->getName_(), "later");
    EXPECT_TRUE(window->getCurHolder()->loaded);
    EXPECT_EQ(currentName(), "Go To Node");
}

TEST_F(KeysTest, TheFinderReadsAHolderFileAgainWhenItChanged) {
    openMemoFile({{"notes", {"a"}}, {"later", {"old name"}}});
    window->changeHolder_(holder("notes"));
    ASSERT_EQ(runCommand(*window, "UIGoToNode"), 0);
    auto* finder = window->findChild<GoToNodeWindow*>();
    finder->line->setText(QStringLiteral("name"));
    ASSERT_EQ(finder->matches->count(), 1);
    finder->hide();
    writeText("later.mxh",
              "<Holder name=\"later\">\r\n<Record name=\"new name\">\r\n"
              "</Record>\r\n<Record name=\"other name\">\r\n</Record>\r\n"
              "</Holder>\r\n");
    ASSERT_EQ(runCommand(*window, "UIGoToNode"), 0);
    finder->line->setText(QStringLiteral("name"));
    ASSERT_EQ(finder->matches->count(), 2);
    EXPECT_TRUE(finder->choose(1));
    EXPECT_EQ(currentName(), "other name");
}

}  // namespace
}  // namespace zel
