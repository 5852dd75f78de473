// MemoHolderUI answers the node-list operations through the control of its
// mode, and keeps order, marks and the tree across mode switches.

#include <gtest/gtest.h>

#include "ViewsTestSupport.h"
#include "views/MemoNodeUI.h"

namespace zel::test {
namespace {

using Names = std::vector<std::string>;

void showIn(FakeHost& host, MemoHolderUI& holder, std::string_view mode) {
    holder.putField_("ModeNodesMngr", "\"" + std::string(mode) + "\"");
    host.show(holder);
}

class EveryMode : public testing::TestWithParam<std::string_view> {};

TEST_P(EveryMode, AnswersTheNodeListOperationsInControlOrder) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a", "b", "c"});
    holder.byName_("b")->setMarked_(true);
    showIn(host, holder, GetParam());
    ASSERT_EQ(holder.modeInForce_(), GetParam());
    MemoNode* a = holder.at_(0);
    MemoNode* c = holder.at_(2);

    EXPECT_EQ(holder.count_(), 3);
    EXPECT_EQ(holder.countMarked_(), 1);
    NodeList marked;
    holder.collectMarked_(marked);
    ASSERT_EQ(marked.size(), 1u);
    EXPECT_EQ(marked[0].first, "b");
    EXPECT_EQ(holder.indexOf_(c), 2);
    EXPECT_EQ(holder.previous_(a), nullptr);
    EXPECT_EQ(holder.next_(c), nullptr);
    EXPECT_EQ(holder.last_(), c);
    EXPECT_EQ(holder.at_(3), nullptr);
    // Only the check list finds names regardless of letter case.
    EXPECT_EQ(holder.byName_("A") != nullptr, GetParam() == kModeCheckList);
    EXPECT_EQ(holder.byName_("a"), a);

    // The selected line is the current node.
    holder.setCurrent_(c);
    EXPECT_EQ(holder.getCurrent_(), c);

    // Insert: at the index in lines, right after the current node in the tree.
    holder.insertNode_(holder.newNode_(), "e", 1);
    EXPECT_EQ(namesInOrder(holder),
              GetParam() == kModeTree ? Names({"a", "b", "c", "e"}) : Names({"a", "e", "b", "c"}));
    holder.setCurrent_(a);
    EXPECT_EQ(holder.addNode_(holder.newNode_(), "d"), 4);
    EXPECT_EQ(namesInOrder(holder).back(), "d");
    // The tree selects what it adds; the other controls keep their selection.
    EXPECT_EQ(holder.getCurrent_()->getName_(), GetParam() == kModeTree ? "d" : "a");
    holder.setCurrent_(a);

    int former = -1;
    std::unique_ptr<MemoNode> taken = holder.removeNode_(holder.byName_("b"), &former);
    ASSERT_TRUE(taken);
    EXPECT_EQ(former, GetParam() == kModeTree ? 1 : 2);
    EXPECT_EQ(holder.count_(), 4);
    EXPECT_EQ(holder.getCurrent_(), a) << "removing another node keeps the current one";
}

TEST_P(EveryMode, RenamingShowsTheNewNameInTheControl) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a", "b"});
    showIn(host, holder, GetParam());
    holder.at_(1)->putName_as_("renamed");
    EXPECT_EQ(holder.at_(1)->getName_(), "renamed");
    QAbstractItemModel* model = GetParam() == kModeTree
                                    ? static_cast<QAbstractItemModel*>(holder.treeModel())
                                : GetParam() == kModeList ? holder.listModel()
                                                          : holder.checkListModel();
    EXPECT_EQ(model->index(1, 0).data().toString(), QStringLiteral("renamed"));
}

INSTANTIATE_TEST_SUITE_P(Modes, EveryMode, testing::Values(kModeCheckList, kModeTree, kModeList));

TEST_P(EveryMode, ManyNodesLeaveAtOnceInTheirOrder) {
    FakeHost host;
    Names names;
    for (int i = 0; i < 40; ++i) names.push_back("n" + std::to_string(i));
    MemoHolderUI& holder = addHolder(*host.file, "H", names);
    showIn(host, holder, GetParam());
    MemoNode* kept = holder.byName_("n1");
    holder.setCurrent_(kept);
    std::vector<MemoNode*> leaving;
    for (int i = 0; i < 40; i += 2) leaving.push_back(holder.byName_("n" + std::to_string(i)));
    const auto taken = holder.takeNodes_(leaving);
    ASSERT_EQ(taken.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(taken[i].first, "n" + std::to_string(2 * i));
        EXPECT_EQ(taken[i].second.get(), leaving[i]);
    }
    Names left;
    for (int i = 1; i < 40; i += 2) left.push_back("n" + std::to_string(i));
    EXPECT_EQ(namesInOrder(holder), left);
    EXPECT_EQ(holder.count_(), 20);
    EXPECT_EQ(holder.getCurrent_(), kept);
    if (NodeRowModel* model = holder.checkListModel(); model && GetParam() == kModeCheckList) {
        EXPECT_EQ(model->rowCount(), 20);
        EXPECT_EQ(model->nodeAt(0), kept);
    }
    EXPECT_EQ(holder.byName_("n2"), nullptr) << "the names left with their nodes";
}

TEST(HolderModes, AHolderNeverShownListsItsOwnOrderAndOpensAsACheckList) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"b", "a"});
    holder.putField_("ModeNodesMngr", "\"TreeView\"");
    EXPECT_EQ(holder.modeInForce_(), kModeNodes) << "not attached before the first show";
    EXPECT_EQ(holder.count_(), 2);

    MemoHolderUI& plain = addHolder(*host.file, "P", {"x"});
    host.show(plain);
    EXPECT_EQ(plain.getField_("ModeNodesMngr"), "\"CheckListBox\"");
    EXPECT_TRUE(plain.checkList());
}

TEST(HolderModes, SwitchingKeepsOrderAndMarks) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"c", "a", "b"});
    holder.byName_("a")->setMarked_(true);
    host.show(holder);
    const Names order{"c", "a", "b"};
    for (auto change : {&TFrameMemoHolder::switchToTree, &TFrameMemoHolder::switchToList,
                        &TFrameMemoHolder::switchToCheckList}) {
        ASSERT_EQ(((*host.frame).*change)(), 0);
        auto* control = qobject_cast<QAbstractItemView*>(holder.nodesControl_());
        if (!control) control = holder.listControl()->activeView();
        EXPECT_TRUE(control->selectionModel()->hasSelection()) << "the current line stays chosen";
        EXPECT_EQ(namesInOrder(holder), order);
        EXPECT_EQ(holder.countMarked_(), 1);
    }
    EXPECT_EQ(holder.checkListModel()->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
}

TEST(HolderModes, ATreeStoredParentsFirstNestsCompletely) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"r", "c1", "g1", "c2", "s", "lost"},
                                     {"", "r", "c1", "r", "", "nowhere"});
    showIn(host, holder, kModeTree);
    EXPECT_EQ(treeShape(holder), Names({"r:-", "c1:r", "g1:c1", "c2:r", "s:-", "lost:-"}));
    EXPECT_EQ(static_cast<MemoNodeUI*>(holder.byName_("g1"))->level_(), 2);
}

TEST(HolderModes, AChildListedBeforeItsParentCanStayAtTheTop) {
    FakeHost host;
    // c1 moves under p, so the walk passes over c2, which stays at the top.
    MemoHolderUI& holder = addHolder(*host.file, "H", {"c1", "c2", "p"}, {"p", "p", ""});
    showIn(host, holder, kModeTree);
    EXPECT_EQ(treeShape(holder), Names({"c2:-", "p:-", "c1:p"}));
}

TEST(HolderModes, TreeToListAndBackRebuildsTheTreeFromTheFields) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"p", "q", "c"}, {"", "", "p"});
    showIn(host, holder, kModeTree);
    EXPECT_EQ(namesInOrder(holder), Names({"p", "c", "q"}));
    host.frame->switchToList();
    EXPECT_EQ(namesInOrder(holder), Names({"p", "c", "q"})) << "the list flattens the tree";
    holder.moveLine_(0, 2);
    host.frame->switchToTree();
    EXPECT_EQ(treeShape(holder), Names({"q:-", "p:-", "c:p"}));
}

TEST(HolderModes, TreeAddsBesideTheCurrentNodeAndKeepsTheParentLink) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"p", "c", "q"}, {"", "p", ""});
    showIn(host, holder, kModeTree);
    host.setCurMemoNode_(holder.byName_("c"));
    MemoNode* child = holder.newChildNode_(*holder.byName_("p"));
    EXPECT_EQ(treeShape(holder).at(2), child->getName_() + ":p");
    EXPECT_EQ(child->getField_("ParentNodeID"), "\"up\"");

    // Removing a parent keeps its children, in its place and with its parent.
    holder.setCurrent_(holder.byName_("q"));
    auto removed = holder.removeNode_(holder.byName_("p"));
    EXPECT_EQ(holder.count_(), 3);
    EXPECT_EQ(treeShape(holder).front(), "c:-");
    EXPECT_EQ(holder.byName_("c")->getField_("ParentNodeID"), "");
}

TEST(HolderModes, TreeHelpersWalkLevelsAndReverseChildren) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a", "a1", "a2", "a3", "b", "b1"},
                                     {"", "a", "a", "a", "", "b"});
    showIn(host, holder, kModeTree);
    TreeItem* a = holder.treeItemOf(holder.byName_("a"));
    TreeItem* a3 = holder.treeItemOf(holder.byName_("a3"));
    EXPECT_EQ(holder.nextSameLevel_(a3), holder.treeItemOf(holder.byName_("b1")));
    EXPECT_EQ(holder.prevSameLevel_(holder.treeItemOf(holder.byName_("b"))), a);
    NodeList below;
    holder.listDescendants_(a, below);
    EXPECT_EQ(below.size(), 3u);
    holder.reverseChildren_(a);
    EXPECT_EQ(namesInOrder(holder), Names({"a", "a3", "a2", "a1", "b", "b1"}));
    holder.placeAfter_(holder.treeItemOf(holder.byName_("b1")), a3);
    EXPECT_EQ(treeShape(holder), Names({"a:-", "a3:a", "b1:a", "a2:a", "a1:a", "b:-"}));
}

TEST(HolderModes, ACopyOfANodeGetsANewUIDBesideTheCurrentNode) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a", "b"}, {"", ""});
    host.show(holder);
    host.setCurMemoNode_(holder.byName_("b"));
    MemoNode* copy = holder.addCopyOfNode_(*holder.byName_("a"));
    EXPECT_EQ(holder.indexOf_(copy), 1) << "at the current node's index";
    EXPECT_NE(copy->getField_("UID"), holder.byName_("a")->getField_("UID"));
    EXPECT_TRUE(holder.changed);
}

TEST(HolderModes, MarksSetThroughTheMarkSetterShowInTheCheckBox) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a"});
    host.show(holder);
    setNodeMark(*holder.at_(0), true);
    EXPECT_EQ(holder.at_(0)->getField_("flagMarked"), "\"true\"");
    EXPECT_EQ(holder.checkListModel()->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
}

TEST(HolderModes, ClearingDestroysTheControlsAndDetaches) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a"});
    host.show(holder);
    holder.clear_();
    EXPECT_FALSE(holder.attached);
    EXPECT_FALSE(holder.checkList());
    EXPECT_EQ(host.frame->holder(), nullptr);
}

}  // namespace
}  // namespace zel::test
