// Commands that must refuse: removals under either read-only guard, copies
// into a read-only holder, new holders while a command runs, a reload that
// would drop changes; and the marks that keep changes from being lost.

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/HolderTabs.h"
#include "views/MemoNodeUI.h"
#include "views/TFormHolders.h"
#include "views/TFrameMemoNode.h"
#include "views/ViewText.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class CommandGuardsTest : public AppTest {
  protected:
    void markAll(const std::string& name) {
        MemoHolder* shown = holder(name);
        for (int i = 0; i < shown->count_(); ++i) setNodeMark(*shown->at_(i), true);
    }
    void triggerTab(const char* caption) {
        for (QAction* action : window->tabPopupItems())
            if (action->text() == QLatin1String(caption)) return action->trigger();
        ADD_FAILURE() << caption;
    }
};

TEST_F(CommandGuardsTest, CommandsThatRemoveNodesHonourBothReadOnlyGuards) {
    openMemoFile({{"A", {"a1", "a2", "a3"}}, {"B", {"b1"}}});
    markAll("A");
    setNodeMark(*holder("A")->at_(0), false);
    const char* removals[] = {"UIDeleteMarkNodes", "UIMoveMarksTo", "UIMoveMarksToSelf",
                              "UIMove1To"};
    holder("A")->putField_("FlagReadOnly", "\"true\"");
    for (const char* name : removals) {
        EXPECT_LT(runCommand(*window, name), 0) << name;
        EXPECT_EQ(window->statusMessage(), "This MemoHolder is Read Only. (A)") << name;
    }
    holder("A")->putField_("FlagReadOnly", "\"false\"");
    window->CheckBox_UIReadOnly->setChecked(true);
    for (const char* name : removals) {
        EXPECT_LT(runCommand(*window, name), 0) << name;
        EXPECT_EQ(window->statusMessage(), "UI ReadOnly") << name;
    }
    EXPECT_EQ(currentNodeNames(), (Names{"a1", "a2", "a3"}));
    EXPECT_EQ(holderNames(), (Names{"A", "B"})) << "no trash holder was made";
}

TEST_F(CommandGuardsTest, NothingIsCopiedOrMovedIntoAReadOnlyHolder) {
    openMemoFile({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    window->changeHolder_(holder("B"));
    window->changeHolder_(holder("A"));
    holder("B")->putField_("FlagReadOnly", "\"true\"");
    setNodeMark(*holder("A")->at_(1), true);
    prompter->chooseHolder("B").chooseHolder("B").chooseHolder("B");
    EXPECT_EQ(window->UICopyMarksTo(), -1);
    EXPECT_EQ(window->UICopy1To(), -1);
    EXPECT_EQ(window->UIMoveMarksTo(), -1);
    EXPECT_EQ(window->statusMessage(), "This MemoHolder is Read Only. (B)");
    EXPECT_EQ(holder("B")->count_(), 1);
    EXPECT_EQ(holder("A")->count_(), 2);
}

TEST_F(CommandGuardsTest, NewHoldersWaitForTheRunningCommand) {
    openMemoFile({{"A", {"a1"}}});
    window->startDoing_("long");
    EXPECT_EQ(window->UINewHolder(), -1);
    triggerTab("New Left");
    triggerTab("New Right");
    window->toolButton("UINewHolder")->click();
    EXPECT_TRUE(window->isDoing()) << "the running command keeps its busy state";
    EXPECT_EQ(holderNames(), (Names{"A"}));
    window->doneDoing();
    triggerTab("New Right");
    EXPECT_EQ(holderNames().size(), 2u);
}

TEST_F(CommandGuardsTest, ReloadingAChangedHolderAsksFirst) {
    openMemoFile({{"A", {"a1", "a2"}}});
    holder("A")->makeNode_()->putName_as_("extra");
    holder("A")->changed = true;
    prompter->answer(Answer::Cancel, "Shall I reload it and lose the changes ?");
    EXPECT_EQ(window->UIReloadMemoHolder(), -1);
    EXPECT_EQ(currentNodeNames().size(), 3u);
    EXPECT_EQ(window->statusMessage(), "Cancel: UIReloadMemoHolder");
    prompter->answer(Answer::Yes);
    EXPECT_EQ(window->UIReloadMemoHolder(), 0);
    EXPECT_EQ(currentNodeNames().size(), 2u);
}

TEST_F(CommandGuardsTest, MovesInTheHolderOrderWindowReachTheCloseQuestion) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    window->aFile->changed = false;
    TFormHolders order;
    order.fill(*window->aFile);
    order.ListBox1->setCurrentRow(1);
    EXPECT_EQ(order.moveTop(), 0);
    EXPECT_EQ(holderNames(), (Names{"B", "A"}));
    EXPECT_TRUE(window->aFile->changed);
}

TEST_F(CommandGuardsTest, TheFieldsListNamesEveryFieldOnce) {
    openMemoFile({{"A", {"a1", "a2"}}});
    holder("A")->at_(0)->putField_("Price", "\"1\"");
    holder("A")->at_(1)->putField_("price", "\"2\"");
    holder("A")->at_(1)->putField_("Shop", "\"x\"");
    QPlainTextEdit* memo = window->FrameMemoNode1->MemoNode0;
    memo->clear();
    memo->setFocus();
    const int count = window->UIFieldsList2Sel();
    const QStringList lines = memo->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(count, lines.size());
    EXPECT_EQ(lines.count(QStringLiteral("Price")) + lines.count(QStringLiteral("price")), 1);
    EXPECT_TRUE(lines.contains(QStringLiteral("Shop")));
    window->CheckBox_UIReadOnly->setChecked(true);
    EXPECT_EQ(window->UIFieldsList2Sel(), -1);
}

TEST_F(CommandGuardsTest, ExecuteRunsTheNodesFileAndKeepsItsOutputInAChild) {
    openMemoFile({{"A", {"script"}}});
    window->UIChangeTreeView();
    MemoNode* script = window->getCurMemoNode();
    // Lines end in CR LF on disk; the comment keeps the CR away from the fd.
    script->memo = {"echo \"out $1\"", "echo err >&2 #"};
    script->putField_("Filename", "\"" + path("run.sh") + "\"");
    ASSERT_EQ(window->UINewChildExecuted(), 0);
    MemoNode* child = window->getCurMemoNode();
    ASSERT_NE(child, script);
    EXPECT_EQ(child->memo, (std::vector<std::string>{"out ", "err"}));
    EXPECT_EQ(child->getField_("ParentNodeID"), script->getField_("UID"));
    EXPECT_EQ(window->statusMessage(), "Done: New Child Executed : " + child->getName_());

    // A field value is one argument: blanks and shell syntax in it stay text.
    window->setCurMemoNode_(script);
    script->putField_("Word", "\"a b; touch " + path("hacked") + "\"");
    script->putField_("CommandLine", "\"sh " + path("run.sh") + " %Word%\"");
    prompter->answer(Answer::Yes, "Overwrite ? ");
    ASSERT_EQ(window->UINewChildExecuted(), 0);
    EXPECT_EQ(window->getCurMemoNode()->memo.front(), "out a b; touch " + path("hacked"));
    EXPECT_FALSE(exists("hacked"));
}

TEST_F(CommandGuardsTest, ExecuteRefusesBinaryNodesAndReadOnlyHolders) {
    openMemoFile({{"A", {"bin"}}});
    window->getCurMemoNode()->putField_("Content-Transfer-Encoding", "\"binary\"");
    EXPECT_EQ(window->UINewChildExecuted(), -105);
    EXPECT_EQ(window->statusMessage(), "Stop: Current MemoNode is binary.");
    holder("A")->putField_("FlagReadOnly", "\"true\"");
    EXPECT_EQ(window->UINewChildExecuted(), -107);
    window->CheckBox_UIReadOnly->setChecked(true);
    EXPECT_EQ(window->UINewChildExecuted(), -108);
}

}  // namespace
}  // namespace zel
