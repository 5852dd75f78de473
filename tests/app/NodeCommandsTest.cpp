// Node commands: series of dated and numbered nodes, clones, deleting into
// the trash holder, the query node, names from fields and the window font.

#include <QTimer>

#include "app/AppTestSupport.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/MemoHolderUI.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class NodeCommandsTest : public AppTest {
  protected:
    MemoHolder* current() { return window->getCurHolder(); }
    std::string currentName() { return window->getCurMemoNode()->getName_(); }
};

TEST_F(NodeCommandsTest, DateSeriesCoverTheYearMonthOrWeekAndEndOnTheLastDay) {
    openMemoFile({{"A", {"a1"}}});
    current()->putField_("FormatDate", "\"YYYYMMDD\"");
    EXPECT_EQ(window->makeYearNodes_(2024), 366);
    EXPECT_EQ(current()->count_(), 367);
    EXPECT_EQ(currentName(), "20241231");
    EXPECT_EQ(window->makeYearNodes_(2023), 365);
    EXPECT_TRUE(current()->changed);

    EXPECT_EQ(window->makeMonthNodes_(2025, 2), 28);
    EXPECT_EQ(currentName(), "20250228");
    // 10 March 2024 is a Sunday: its week began on Monday the 4th.
    const int before = current()->count_();
    EXPECT_EQ(window->makeWeekNodes_({2024, 3, 10}), 7);
    const int monday = current()->indexOf_(current()->byName_("20240304"));
    ASSERT_GE(monday, 0);
    EXPECT_EQ(current()->at_(monday + 6)->getName_(), "20240310");
    EXPECT_EQ(current()->count_(), before + 7);
}

TEST_F(NodeCommandsTest, NumberSeriesUseTheNumberPatternAndKeepTheCurrentNode) {
    openMemoFile({{"A", {"a", "b", "c", "d", "e"}}});
    MemoNode* was = window->getCurMemoNode();
    EXPECT_EQ(window->UINumbersPlus10(), 11);
    EXPECT_EQ(current()->count_(), 16);
    EXPECT_TRUE(current()->byName_("00005 "));
    EXPECT_TRUE(current()->byName_("00015 "));
    EXPECT_EQ(window->getCurMemoNode(), was);

    current()->putField_("FormatNumber", "\"No.%.3d\"");
    prompter->input("12").input("10");
    EXPECT_EQ(window->UINumberNodes(), 3) << "the ends are swapped";
    EXPECT_TRUE(current()->byName_("No.011"));
    prompter->input("3").input("");
    EXPECT_EQ(window->UINumberNodes(), -1) << "an empty answer ends the command";
}

TEST_F(NodeCommandsTest, ClonesGoBesideTheNodeAndTheLastBecomesCurrent) {
    openMemoFile({{"A", {"a", "b"}}});
    window->setCurMemoNode_(current()->byName_("b"));
    EXPECT_EQ(window->UIClone_(3), 3);
    EXPECT_EQ(current()->count_(), 5);
    EXPECT_NE(window->getCurMemoNode(), current()->byName_("b"));
    EXPECT_EQ(window->statusMessage(), "Done: Clone MemoNode 3");
    EXPECT_EQ(window->UIClone_(0), 0);
}

TEST_F(NodeCommandsTest, AHugeCloneCountIsBoundedAndBreakStopsIt) {
    openMemoFile({{"A", {"a"}}});
    // Break is pressed as soon as the loop lets window events through.
    QTimer::singleShot(0, window.get(), [this] { window->Break(); });
    const int made = window->UIClone_(2000000000);
    EXPECT_GE(made, 1);
    EXPECT_LT(made, 100000);
    EXPECT_EQ(current()->count_(), made + 1);
    EXPECT_EQ(window->statusMessage(), "Break: Clone MemoNode 100000");
    EXPECT_FALSE(window->isDoing());
}

TEST_F(NodeCommandsTest, DeletingMovesTheNodeIntoTheTrashButNeverTheLastOne) {
    openMemoFile({{"A", {"a", "b"}}});
    window->setCurMemoNode_(current()->byName_("a"));
    ASSERT_EQ(window->UIDeleteMemoNode(), 0);
    EXPECT_EQ(currentNodeNames(), (Names{"b"}));
    EXPECT_EQ(currentName(), "b");
    ASSERT_TRUE(holder("Trush"));
    EXPECT_TRUE(holder("Trush")->byName_("a"));
    EXPECT_EQ(holderNames(), (Names{"A", "Trush"}));
    EXPECT_EQ(window->holderView().tabs()->count(), 2) << "the trash shows as a tab";

    EXPECT_EQ(window->UIDeleteMemoNode(), -1);
    EXPECT_EQ(window->statusMessage(), "Could Not delete. Because There is One Node.");

    window->changeHolder_(holder("Trush"));
    window->setCurMemoNode_(holder("Trush")->byName_("a"));
    holder("Trush")->makeNode_();
    EXPECT_EQ(window->UIDeleteMemoNode(), -1) << "nothing is deleted inside the trash";
}

TEST_F(NodeCommandsTest, DeletingATreeNodeTakesItsSubtreeChildrenFirst) {
    openMemoFile({{"T", {"p", "c1", "g", "c2", "q"}}});
    MemoHolder* tree = current();
    for (const char* name : {"p", "c1", "g", "c2", "q"})
        tree->byName_(name)->putField_("UID", std::string("\"u") + name + "\"");
    tree->byName_("c1")->putField_("ParentNodeID", "\"up\"");
    tree->byName_("g")->putField_("ParentNodeID", "\"uc1\"");
    tree->byName_("c2")->putField_("ParentNodeID", "\"up\"");
    tree->putField_("ModeNodesMngr", "\"TreeView\"");
    window->showListMode(ListMode::Tree);
    window->setCurMemoNode_(tree->byName_("p"));

    ASSERT_EQ(window->UIDeleteMemoNode(), 0);
    EXPECT_EQ(currentNodeNames(), (Names{"q"}));
    EXPECT_EQ(currentName(), "q");
    std::vector<std::string> trashed;
    MemoHolder* trash = holder("Trush");
    for (int i = 0; i < trash->count_(); ++i) trashed.push_back(trash->at_(i)->getName_());
    EXPECT_EQ(trashed, (Names{"c2", "g", "c1", "p"}));
}

TEST_F(NodeCommandsTest, TheQueryNodeIsSetAndFoundByName) {
    openMemoFile({{"A", {"query", "x"}}});
    window->setCurMemoNode_(current()->byName_("query"));
    ASSERT_EQ(window->UISetQuery(), 0);
    EXPECT_EQ(current()->getField_("QueryNode"), "\"query\"");
    window->setCurMemoNode_(current()->byName_("x"));
    ASSERT_EQ(window->UIJumpQuery(), 0);
    EXPECT_EQ(currentName(), "query");
    current()->putField_("QueryNode", "\"gone\"");
    EXPECT_EQ(window->UIJumpQuery(), -1);
    EXPECT_EQ(window->statusMessage(), "Not found QueryNode named as gone");
}

TEST_F(NodeCommandsTest, FieldToNameKeepsTheOldNameAndNamesNodesWithoutTheField) {
    openMemoFile({{"A", {"say \"hi\"", "plain"}}});
    current()->byName_("say \"hi\"")->putField_("Title", "\"Greeting\"");
    prompter->input("Title");
    EXPECT_EQ(window->UIFieldToName(), 2);
    MemoNode* greeting = current()->byName_("Greeting");
    ASSERT_TRUE(greeting);
    EXPECT_EQ(greeting->getField_("OldName"), "\"say 'hi'\"");
    ASSERT_TRUE(current()->byName_("_"));
    EXPECT_EQ(current()->byName_("_")->getField_("OldName"), "\"plain\"");
}

TEST_F(NodeCommandsTest, FontStepsAreATenthRoundedToEvenAndNeverBelowFive) {
    makeWindow();
    auto sizeAfter = [&](int from, int (TFormMainScript::*step)()) {
        QFont font = window->font();
        font.setPointSize(from);
        window->setFont(font);
        return (window.get()->*step)();
    };
    EXPECT_EQ(sizeAfter(9, &TFormMainScript::UIFontSizeInc), 10);
    EXPECT_EQ(sizeAfter(15, &TFormMainScript::UIFontSizeInc), 17);
    EXPECT_EQ(sizeAfter(25, &TFormMainScript::UIFontSizeInc), 27);
    EXPECT_EQ(sizeAfter(6, &TFormMainScript::UIFontSizeDec), 5);
    EXPECT_EQ(sizeAfter(5, &TFormMainScript::UIFontSizeDec), 5);
    EXPECT_EQ(window->statusMessage(), "Done: Decrement FontSize 5");
}

}  // namespace
}  // namespace zel
