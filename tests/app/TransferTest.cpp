// Moving and copying the current node to another holder, and the holder
// selection window that picks it.

#include "app/AppTestSupport.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"
#include "views/TFormSelectHolder.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;
using Links = std::vector<std::pair<std::string, std::string>>;

class TransferTest : public AppTest {
  protected:
    MemoNode* node(const std::string& holderName, const std::string& name) {
        return holder(holderName)->byName_(name);
    }
    void makeCurrent(const std::string& holderName, const std::string& name) {
        window->changeHolder_(holder(holderName));
        window->setCurMemoNode_(node(holderName, name));
    }
    // Shows the holder as a tree nested by the (child, parent) links.
    void makeTree(const std::string& holderName, const Links& links) {
        window->changeHolder_(holder(holderName));
        for (const auto& [child, parent] : links)
            node(holderName, child)->MemoNode::setParentNode_(*node(holderName, parent));
        window->showListMode(ListMode::Tree);
    }
    Names nodeNames(const std::string& holderName) {
        Names names;
        MemoHolder* shown = holder(holderName);
        for (int i = 0; i < shown->count_(); ++i) names.push_back(shown->at_(i)->getName_());
        return names;
    }
    // The tree lines as "a(b(c),d)".
    static std::string outline(const std::vector<TreeItem*>& items) {
        std::string text;
        for (const TreeItem* item : items) {
            if (!text.empty()) text += ",";
            text += item->node->getName_();
            if (!item->children.empty()) text += "(" + outline(item->children) + ")";
        }
        return text;
    }
    std::string outline(const std::string& holderName) {
        return outline(holder(holderName)->topLevelItems());
    }
    // The name of the node of the same holder that `child`'s ParentNodeID names.
    static std::string storedParent(const MemoNode* child) {
        const auto* owner = dynamic_cast<const MemoHolder*>(child->owner);
        const std::string id = stripQuotes(child->getField_("ParentNodeID"));
        for (int i = 0; owner && !id.empty() && i < owner->count_(); ++i)
            if (stripQuotes(owner->at_(i)->getField_("UID")) == id)
                return owner->at_(i)->getName_();
        return {};
    }
};

TEST_F(TransferTest, MoveFromACheckListTakesTheNodeAndTheSourceShowsTheNextOne) {
    openMemoFile({{"A", {"a1", "a2", "a3"}}, {"B", {"b1"}}, {"C", {"c1"}}});
    makeCurrent("A", "a2");
    MemoNode* moved = window->getCurMemoNode();
    prompter->chooseHolder("B");
    EXPECT_EQ(window->UIMove1To(), 1);
    EXPECT_EQ(prompter->offeredHolders, (Names{"B", "C"}));
    EXPECT_EQ(prompter->offeredCurrent, -1);
    EXPECT_EQ(nodeNames("A"), (Names{"a1", "a3"}));
    EXPECT_EQ(nodeNames("B"), (Names{"b1", "a2"}));
    EXPECT_EQ(node("B", "a2"), moved) << "the node itself moves, not a copy";
    EXPECT_EQ(moved->owner, holder("B"));
    EXPECT_EQ(holder("A")->getCurrent_(), node("A", "a3"));
    EXPECT_EQ(window->getCurHolder(), holder("B"));
    EXPECT_TRUE(holder("A")->changed);
    EXPECT_TRUE(holder("B")->changed);

    // The last node of the list moves to a new holder: the source keeps one new node.
    makeCurrent("C", "c1");
    prompter->chooseNewHolder();
    EXPECT_EQ(window->UIMove1To(), 1);
    ASSERT_EQ(holderNames().size(), 4u);
    MemoHolderUI* made = holder(holderNames().back());
    EXPECT_EQ(window->getCurHolder(), made);
    EXPECT_EQ(nodeNames(made->getName_()), (Names{"c1"}));
    EXPECT_EQ(made->modeInForce_(), kModeCheckList);
    ASSERT_EQ(holder("C")->count_(), 1);
    EXPECT_NE(holder("C")->at_(0)->getName_(), "c1");
    EXPECT_EQ(holder("C")->getCurrent_(), holder("C")->at_(0));
}

TEST_F(TransferTest, MoveInATreeTakesTheSubtreeNestedAndTheSourceKeepsTheDepth) {
    openMemoFile({{"A", {"r1", "c1", "g1", "c2", "r2", "c3"}}, {"B", {"b1"}}});
    makeTree("B", {});
    makeTree("A", {{"c1", "r1"}, {"g1", "c1"}, {"c2", "r1"}, {"c3", "r2"}});
    ASSERT_EQ(outline("A"), "r1(c1(g1),c2),r2(c3)");

    makeCurrent("A", "c1");
    prompter->chooseHolder("B");
    EXPECT_EQ(window->UIMove1To(), 2);
    EXPECT_EQ(outline("A"), "r1(c2),r2(c3)");
    EXPECT_EQ(holder("A")->getCurrent_(), node("A", "c2")) << "the next line of the same depth";
    EXPECT_EQ(outline("B"), "b1,c1(g1)");
    EXPECT_EQ(storedParent(node("B", "g1")), "c1");
    EXPECT_EQ(window->getCurMemoNode(), node("B", "c1"));

    // With no line of its depth after it, the last one before it takes over.
    makeCurrent("A", "c3");
    prompter->chooseHolder("B");
    EXPECT_EQ(window->UIMove1To(), 1);
    EXPECT_EQ(outline("A"), "r1(c2),r2");
    EXPECT_EQ(holder("A")->getCurrent_(), node("A", "c2"));
}

TEST_F(TransferTest, MoveOfTheOnlyLineOfItsDepthLeavesANewNodeAndANewHolderShowsATree) {
    openMemoFile({{"A", {"r1", "c1", "g1"}}, {"B", {"b1"}}});
    makeTree("A", {{"c1", "r1"}, {"g1", "c1"}});
    makeCurrent("A", "c1");
    prompter->chooseNewHolder();
    EXPECT_EQ(window->UIMove1To(), 2);

    MemoHolderUI* made = holder(holderNames().back());
    EXPECT_EQ(window->getCurHolder(), made);
    EXPECT_EQ(made->modeInForce_(), kModeTree);
    EXPECT_EQ(outline(made->getName_()), "c1(g1)");
    ASSERT_EQ(holder("A")->count_(), 2);
    MemoNode* fresh = holder("A")->at_(1);
    EXPECT_NE(fresh->getName_(), "c1");
    EXPECT_EQ(holder("A")->getCurrent_(), fresh);
}

TEST_F(TransferTest, RefusalsAndCancelsChangeNothing) {
    openMemoFile({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    makeCurrent("B", "b1");
    makeCurrent("A", "a1");
    auto expectUnchanged = [&] {
        EXPECT_EQ(holderNames(), (Names{"A", "B"}));
        EXPECT_EQ(nodeNames("A"), (Names{"a1", "a2"}));
        EXPECT_EQ(nodeNames("B"), (Names{"b1"}));
        EXPECT_FALSE(holder("A")->changed);
        EXPECT_FALSE(holder("B")->changed);
        EXPECT_EQ(window->getCurMemoNode(), node("A", "a1"));
    };

    prompter->cancelHolderChoice().cancelHolderChoice();
    EXPECT_LT(window->UIMove1To(), 0);
    EXPECT_EQ(window->UICopy1To(), 0);
    expectUnchanged();

    prompter->chooseHolder("A");
    EXPECT_LT(window->UIMove1To(), 0);
    EXPECT_EQ(window->statusMessage(), "Source Holder is Distination Holder !");
    expectUnchanged();

    // A holder listed as bare nodes: no new holder is left behind either.
    holder("A")->putField_("ModeNodesMngr", "\"Nodes\"");
    prompter->chooseNewHolder().answer(Answer::Ok, "ERROR: TFormMainScript.UIMove1To");
    EXPECT_LT(window->UIMove1To(), 0);
    prompter->chooseHolder("B").answer(Answer::Ok, "ERROR: TFormMainScript.UICopy1To");
    EXPECT_LT(window->UICopy1To(), 0);
    EXPECT_TRUE(logContains("ERROR: TFormMainScript.UIMove1To"));
    EXPECT_TRUE(logContains("ERROR: TFormMainScript.UICopy1To"));
    expectUnchanged();
}

TEST_F(TransferTest, CopyInATreeGivesEveryCopyANewIdentityUnderItsParentsCopy) {
    openMemoFile({{"A", {"r1", "c1", "g1", "g2", "h1"}}, {"B", {"b1"}}});
    makeTree("A", {{"c1", "r1"}, {"g1", "c1"}, {"g2", "c1"}, {"h1", "g2"}});
    makeCurrent("A", "c1");
    prompter->chooseHolder("B");
    EXPECT_EQ(window->UICopy1To(), 3) << "the node and its direct children";
    EXPECT_EQ(prompter->offeredHolders, (Names{"A", "B"}));
    EXPECT_EQ(prompter->offeredCurrent, 0);

    EXPECT_EQ(nodeNames("B"), (Names{"b1", "c1", "g1", "g2", "h1"}));
    for (const char* name : {"c1", "g1", "g2", "h1"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(node("B", name), node("A", name));
        EXPECT_NE(node("B", name)->getField_("UID"), "");
        EXPECT_NE(node("B", name)->getField_("UID"), node("A", name)->getField_("UID"));
    }
    EXPECT_EQ(storedParent(node("B", "g1")), "c1");
    EXPECT_EQ(storedParent(node("B", "g2")), "c1");
    EXPECT_EQ(storedParent(node("B", "h1")), "g2");
    EXPECT_EQ(window->getCurMemoNode(), node("B", "c1"));
    EXPECT_TRUE(holder("B")->changed);
    EXPECT_FALSE(holder("A")->changed);
    EXPECT_EQ(outline("A"), "r1(c1(g1,g2(h1)))");

    // Into the source itself: the copy stands beside the original, which
    // keeps its lines in their order.
    makeCurrent("A", "c1");
    prompter->chooseHolder("A");
    EXPECT_EQ(window->UICopy1To(), 3);
    EXPECT_EQ(outline("A"), "r1(c1(g1,g2(h1)),c2(g3,g4(h2)))");
    EXPECT_EQ(window->getCurMemoNode(), node("A", "c2"));
}

TEST_F(TransferTest, CopyFromACheckListKeepsTheUID) {
    openMemoFile({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    makeCurrent("A", "a1");
    const std::string uid = node("A", "a1")->newUID_();
    prompter->chooseHolder("B");
    EXPECT_EQ(window->UICopy1To(), 1);
    EXPECT_EQ(nodeNames("A"), (Names{"a1", "a2"}));
    EXPECT_EQ(nodeNames("B"), (Names{"b1", "a1"}));
    EXPECT_EQ(node("B", "a1")->getField_("UID"), uid);
    EXPECT_EQ(node("B", "a1")->memo, node("A", "a1")->memo);
    EXPECT_EQ(window->getCurMemoNode(), node("B", "a1"));
}

TEST(FormSelectHolderTest, ButtonsChooseTheSelectionANewHolderOrTheCurrentEntry) {
    TFormSelectHolder form;
    form.fill({"A", "B", "C"}, -1);
    EXPECT_FALSE(form.ButtonCurrent->isEnabled());
    EXPECT_EQ(form.selectedRow(), -1);
    form.ListBox1->setCurrentRow(2);
    form.ButtonOK->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.selectedRow(), 2);

    form.fill({"A", "B"}, 1);
    EXPECT_EQ(form.selectedRow(), -1) << "a new fill starts without a selection";
    form.ListBox1->setCurrentRow(0);
    form.ButtonNewHolder->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.selectedRow(), -1);

    form.ButtonCurrent->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.selectedRow(), 1);

    form.ButtonCancel->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace zel
