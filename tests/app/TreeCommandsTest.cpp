// Holder order commands in the check list, the tree and the list, and the
// tree commands: levels, children, indenting and new root nodes.

#include <QPlainTextEdit>

#include "app/AppTestSupport.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/TFrameMemoNode.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class TreeCommandsTest : public AppTest {
  protected:
    MemoHolderUI* current() { return dynamic_cast<MemoHolderUI*>(window->getCurHolder()); }
    MemoNode* node(const std::string& name) { return current()->byName_(name); }
    void select(const std::string& name) { window->setCurMemoNode_(node(name)); }
    QPlainTextEdit* memo() { return window->FrameMemoNode1->MemoNode0; }

    // A tree of `names`, each "child<parent" nested under its parent.
    void openTree(const Names& names) {
        Names plain;
        for (const std::string& name : names) plain.push_back(name.substr(0, name.find('<')));
        openMemoFile({{"T", plain}});
        for (const std::string& name : names) {
            const std::size_t mark = name.find('<');
            MemoNode* made = node(name.substr(0, mark));
            made->putField_("UID", wrapQuotes("u" + made->getName_()));
            if (mark != std::string::npos)
                made->putField_("ParentNodeID", wrapQuotes("u" + name.substr(mark + 1)));
        }
        current()->putField_("ModeNodesMngr", "\"TreeView\"");
        window->showListMode(ListMode::Tree);
    }

    // The tree as "A(a1 a2) B" in display order.
    std::string shape(const std::vector<TreeItem*>& items) {
        std::string text;
        for (const TreeItem* item : items) {
            if (!text.empty()) text += ' ';
            text += item->node->getName_();
            if (!item->children.empty()) text += "(" + shape(item->children) + ")";
        }
        return text;
    }
    std::string shape() { return shape(current()->topLevelItems()); }
    std::string parentOf(const std::string& name) {
        return stripQuotes(node(name)->getField_("ParentNodeID"));
    }
};

TEST_F(TreeCommandsTest, ReverseAndSortInATreeKeepChildrenWithTheirParents) {
    openTree({"B", "b2<B", "b1<B", "A", "a1<A", "C"});
    EXPECT_EQ(window->UIReverseMemoHolder(), 6);
    EXPECT_EQ(shape(), "C A(a1) B(b2 b1)");
    EXPECT_EQ(currentNodeNames(), (Names{"C", "A", "a1", "B", "b2", "b1"}))
        << "the node order follows the tree";
    EXPECT_EQ(window->statusMessage(), "UIReverseMemoHolder");

    EXPECT_EQ(window->UISortMemoHolder(), 6);
    EXPECT_EQ(shape(), "A(a1) B(b1 b2) C");
    EXPECT_EQ(window->statusMessage(), "Done:UISortMemoHolder");
    EXPECT_TRUE(current()->changed);
}

TEST_F(TreeCommandsTest, CheckListSortStaysOnUntilReversed) {
    openMemoFile({{"A", {"c", "a", "b"}}});
    window->showListMode(ListMode::CheckList);
    EXPECT_EQ(window->UISortMemoHolder(), 3);
    EXPECT_EQ(currentNodeNames(), (Names{"a", "b", "c"}));
    current()->putNameChild_as_(node("c"), "0");
    EXPECT_EQ(currentNodeNames(), (Names{"0", "a", "b"})) << "kept sorted from now on";

    window->UIReverseMemoHolder();
    EXPECT_FALSE(current()->getSort_());
    EXPECT_EQ(currentNodeNames(), (Names{"b", "a", "0"}));
    EXPECT_EQ(current()->checkListModel()->nodeAt(0)->getName_(), "b") << "the lines follow";
}

TEST_F(TreeCommandsTest, ListSortsByCaptionBothWays) {
    openMemoFile({{"A", {"b", "C", "a"}}});
    window->showListMode(ListMode::List);
    window->UISortMemoHolder();
    EXPECT_EQ(currentNodeNames(), (Names{"a", "b", "C"}));
    EXPECT_FALSE(current()->getSort_()) << "a list is sorted once";
    window->UIReverseMemoHolder();
    EXPECT_EQ(currentNodeNames(), (Names{"C", "b", "a"}));
    EXPECT_EQ(current()->listModel()->nodeAt(0)->getName_(), "C");
}

TEST_F(TreeCommandsTest, CheckListMovesStopAtTheEnds) {
    openMemoFile({{"A", {"a", "b", "c", "d"}}});
    window->showListMode(ListMode::CheckList);
    select("c");
    EXPECT_EQ(window->UIMoveNodeTop(), 1);
    EXPECT_EQ(currentNodeNames(), (Names{"c", "a", "b", "d"}));
    EXPECT_EQ(window->UIMoveNodeUp(), 0) << "already first";
    EXPECT_EQ(window->UIMoveNodeDown(), 1);
    EXPECT_EQ(currentNodeNames(), (Names{"a", "c", "b", "d"}));
    EXPECT_EQ(window->UIMoveNodeBottom(), 1);
    EXPECT_EQ(currentNodeNames(), (Names{"a", "b", "d", "c"}));
    EXPECT_EQ(window->UIMoveNodeDown(), 0) << "already last";
    EXPECT_EQ(window->UIMoveNodeUp(), 1);
    EXPECT_EQ(currentNodeNames(), (Names{"a", "b", "c", "d"}));
    EXPECT_EQ(current()->getCurrent_(), node("c")) << "the moved line stays selected";
}

TEST_F(TreeCommandsTest, TreeMovesStayAmongSiblingsAndKeepTheExpansion) {
    openTree({"A", "a1<A", "a2<A", "a3<A", "x<a3", "B"});
    TreeItem* a3 = current()->treeItemOf(node("a3"));
    current()->setExpanded_(a3, true);
    select("a3");
    EXPECT_EQ(window->UIMoveNodeTop(), 1);
    EXPECT_EQ(shape(), "A(a3(x) a1 a2) B");
    EXPECT_TRUE(current()->isExpanded_(a3));
    EXPECT_EQ(window->UIMoveNodeUp(), 0) << "first of its siblings";
    EXPECT_EQ(window->UIMoveNodeDown(), 1);
    EXPECT_EQ(shape(), "A(a1 a3(x) a2) B");
    EXPECT_EQ(window->UIMoveNodeBottom(), 1);
    EXPECT_EQ(shape(), "A(a1 a2 a3(x)) B");
    EXPECT_EQ(window->UIMoveNodeDown(), 0) << "never out of its parent";
    EXPECT_EQ(parentOf("a3"), "uA");
    EXPECT_TRUE(current()->isExpanded_(a3));
    EXPECT_EQ(currentNodeNames(), (Names{"A", "a1", "a2", "a3", "x", "B"}));

    select("B");
    EXPECT_EQ(window->UIMoveNodeUp(), 1);
    EXPECT_EQ(shape(), "B A(a1 a2 a3(x))");
}

TEST_F(TreeCommandsTest, IndentAndOutdentRewriteTheParentLinks) {
    openTree({"A", "a1<A", "B", "C"});
    current()->setExpanded_(current()->treeItemOf(node("A")), true);
    select("B");
    EXPECT_EQ(window->UIIndentNode(), 1) << "the line above is deeper: B joins a1";
    EXPECT_EQ(shape(), "A(a1 B) C");
    EXPECT_EQ(parentOf("B"), "uA");

    select("C");
    EXPECT_EQ(window->UIIndentNode(), 1) << "the line above is B, deeper still";
    EXPECT_EQ(shape(), "A(a1 B C)");
    EXPECT_EQ(window->UIIndentNode(), 1) << "B is level with C: C becomes its child";
    EXPECT_EQ(shape(), "A(a1 B(C))");
    EXPECT_EQ(parentOf("C"), "uB");
    select("a1");
    EXPECT_EQ(window->UIIndentNode(), 0) << "the line above is the parent";

    select("B");
    EXPECT_EQ(window->UIOutdentNode(), 1);
    EXPECT_EQ(shape(), "A(a1) B(C)");
    EXPECT_TRUE(node("B")->getField_("ParentNodeID").empty()) << "top level has no link";
    EXPECT_EQ(window->UIOutdentNode(), 0);
    select("C");
    EXPECT_EQ(window->UIOutdentNode(), 1);
    EXPECT_EQ(shape(), "A(a1) B C") << "placed right after its former parent";
}

TEST_F(TreeCommandsTest, ParentLinkOfTheShownNodeAndItsFieldEditsBothSurvive) {
    openTree({"A", "B"});
    select("B");
    window->FrameMemoNode1->Memo_Fields->appendPlainText(QStringLiteral("Note=\"typed\""));
    window->UIIndentNode();
    EXPECT_TRUE(window->FrameMemoNode1->Memo_Fields->toPlainText().contains("ParentNodeID"));
    // Writing the editor back keeps the new link and the edit made before.
    window->UI2Model();
    EXPECT_EQ(parentOf("B"), "uA");
    EXPECT_EQ(node("B")->getField_("Note"), "\"typed\"");
}

TEST_F(TreeCommandsTest, NewRootNodesAdoptTheFormerTopLevelOrChildren) {
    openTree({"A", "a1<A", "a2<A", "B"});
    select("a1");
    EXPECT_EQ(window->UINewRootNodeTV(), 2);
    EXPECT_EQ(window->statusMessage(), "Done:UINewRootNodeTV count=2");
    ASSERT_EQ(current()->topLevelItems().size(), 1u);
    MemoNode* root = current()->topLevelItems().front()->node;
    const std::string rootUID = stripQuotes(root->getField_("UID"));
    ASSERT_FALSE(rootUID.empty());
    EXPECT_EQ(parentOf("A"), rootUID);
    EXPECT_EQ(parentOf("B"), rootUID);
    EXPECT_EQ(shape(), root->getName_() + "(A(a1 a2) B)");
    EXPECT_EQ(window->getCurMemoNode(), node("a1"));

    select("A");
    EXPECT_EQ(window->UINewRootNode(), 2);
    EXPECT_EQ(window->statusMessage(), "Done:UINewRootNode count=2");
    TreeItem* a = current()->treeItemOf(node("A"));
    ASSERT_EQ(a->children.size(), 1u);
    MemoNode* middle = a->children.front()->node;
    EXPECT_EQ(stripQuotes(middle->getField_("ParentNodeID")), "uA");
    EXPECT_EQ(parentOf("a1"), stripQuotes(middle->getField_("UID")));
    EXPECT_EQ(shape(a->children), middle->getName_() + "(a1 a2)");
    EXPECT_EQ(window->getCurMemoNode(), node("A"));
}

TEST_F(TreeCommandsTest, ListsOfLevelsAndChildrenGoIntoTheMemoBox) {
    openTree({"A", "a1<A", "g<a1", "a2<A", "B"});
    select("B");
    memo()->clear();
    EXPECT_EQ(window->UIListLevel0Plus(), 2);
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("A 2\nB 0\n"));
    EXPECT_EQ(window->statusMessage(), "Done count=2");

    select("A");
    memo()->clear();
    EXPECT_EQ(window->UIListChild(), 3);
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("a1\n  g\na2\n"));
    EXPECT_EQ(window->statusMessage(), "Done:UIListChild count Of Child=3");
    memo()->clear();
    EXPECT_EQ(window->UIListChild1(), 2);
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("a1\na2\n"));

    EXPECT_EQ(window->UIUpdateLevel(), 5);
    EXPECT_EQ(node("g")->getField_("Level"), "\"2\"");
    EXPECT_EQ(node("B")->getField_("Level"), "\"0\"");
}

TEST_F(TreeCommandsTest, ExpandingOpensWholeSubtreesAndUnexpandOnlyTheTop) {
    openTree({"A", "a1<A", "g<a1", "B"});
    EXPECT_EQ(window->UIExpandAll(), 2);
    TreeItem* a = current()->treeItemOf(node("A"));
    TreeItem* a1 = current()->treeItemOf(node("a1"));
    EXPECT_TRUE(a->expanded && a1->expanded);
    window->UIUnexpand();
    EXPECT_FALSE(a->expanded);
    EXPECT_TRUE(a1->expanded) << "descendants keep their state";
}

TEST_F(TreeCommandsTest, ChildrenAreSortedReversedAndRenamedOneLevelDeep) {
    openTree({"P", "/d/b.txt<P", "/d/a.txt<P", "x<P", "/d/deep<x"});
    select("P");
    EXPECT_EQ(window->UISortChild1(), 3);
    EXPECT_EQ(shape(), "P(/d/a.txt /d/b.txt x(/d/deep))");
    EXPECT_EQ(window->UIReverseChild1(), 3);
    EXPECT_EQ(shape(), "P(x(/d/deep) /d/b.txt /d/a.txt)");
    EXPECT_EQ(window->statusMessage(), "Done:UIReverseChild1 count=3");
    EXPECT_EQ(window->UIExtractFilenameChild1(), 3);
    EXPECT_EQ(shape(), "P(x(/d/deep) b.txt a.txt)");
    select("b.txt");
    EXPECT_EQ(window->UIExtractFilenameChild1(), 0);
    EXPECT_EQ(window->statusMessage(), "No Child");
}

TEST_F(TreeCommandsTest, TreeCommandsRefuseOutsideTheTree) {
    openMemoFile({{"A", {"b", "a"}}});
    window->showListMode(ListMode::CheckList);
    EXPECT_EQ(window->UISortChild1(), -1);
    EXPECT_EQ(window->statusMessage(), "Not TreeView in UISortChild1");
    EXPECT_EQ(window->UIReverseChild1(), -1);
    EXPECT_EQ(window->statusMessage(), "Not TreeView in UIReverseChild1");
    for (auto command : {&TFormMainScript::UIListChild, &TFormMainScript::UIIndentNode,
                         &TFormMainScript::UINewRootNodeTV, &TFormMainScript::UIListLevel0}) {
        window->messageDoing_("");
        EXPECT_EQ((window.get()->*command)(), -1);
        EXPECT_EQ(window->statusMessage(), "Not TreeView");
    }
    EXPECT_EQ(currentNodeNames(), (Names{"b", "a"}));
    EXPECT_EQ(current()->count_(), 2);
}

}  // namespace
}  // namespace zel
