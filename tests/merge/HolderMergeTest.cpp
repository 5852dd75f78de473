#include "merge/HolderMerge.h"

#include <gtest/gtest.h>

#include "MergeTestSupport.h"
#include "platform/Clock.h"

namespace zel::test {
namespace {

using Names = std::vector<std::string>;
using Lines = std::vector<std::string>;

const DateTime kMergeTime{2024, 3, 1, 14, 25, 30};

MemoNode* insertNode(MemoHolder& holder, int index, std::string_view name, std::string_view uid) {
    auto node = holder.newNode_();
    MemoNode* entered = node.get();
    holder.insertNode_(std::move(node), name, index);
    entered->putField_("UID", wrapQuotes(uid));
    return entered;
}

class HolderMergeTest : public ::testing::Test, public ThreeVersions {
  protected:
    // The base: nodes a, b, c with UIDs and a two-line memo each.
    void threeNodes() {
        addNode(b(), "a", "U1", {"a1", "a2"});
        addNode(b(), "b", "U2", {"b1", "b2"});
        addNode(b(), "c", "U3", {"c1", "c2"});
        branch();
    }

    MergeReport merge(bool withBase = true) {
        MergeOptions options;
        options.theirsLabel = "feature";
        options.when = kMergeTime;
        return mergeIntoHolder(o(), withBase ? &b() : nullptr, t(), options);
    }
};

TEST_F(HolderMergeTest, NodesChangedOnOneSideEachTakeThatSide) {
    threeNodes();
    o().byName_("a")->memo.setLine(0, "a1 ours");
    t().byName_("c")->memo.push_back("c3 theirs");
    t().byName_("b")->putName_as_("b renamed");
    const MergeReport report = merge();
    EXPECT_TRUE(report.clean());
    EXPECT_EQ(nodeNames(o()), (Names{"a", "b renamed", "c"}));
    EXPECT_EQ(memoOf(*o().byName_("a")), (Lines{"a1 ours", "a2"}));
    EXPECT_EQ(memoOf(*o().byName_("c")), (Lines{"c1", "c2", "c3 theirs"}));
}

TEST_F(HolderMergeTest, ANodeBothChangedApartMergesFieldsAndLines) {
    threeNodes();
    MemoNode& mine = *o().byName_("b");
    MemoNode& others = *t().byName_("b");
    mine.putField_("Color", "\"clRed\"");
    mine.memo.setLine(0, "b1 ours");
    mine.comment = {"note"};
    others.setMarked_(true);
    others.memo.push_back("b3 theirs");
    EXPECT_TRUE(merge().clean());
    const MemoNode& merged = *o().byName_("b");
    EXPECT_EQ(merged.getField_("Color"), "\"clRed\"");
    EXPECT_TRUE(merged.isMarked_());
    EXPECT_EQ(memoOf(merged), (Lines{"b1 ours", "b2", "b3 theirs"}));
    EXPECT_EQ(merged.comment, (Lines{"note"}));
    EXPECT_EQ(o().count_(), 3);
}

TEST_F(HolderMergeTest, WhatBothChangedDifferentlyIsKeptTwiceTheirsBesideOurs) {
    threeNodes();
    o().byName_("b")->putField_("Color", "\"clRed\"");
    o().byName_("b")->memo.setLine(0, "b1 ours");
    t().byName_("b")->putField_("Color", "\"clBlue\"");
    t().byName_("b")->memo.setLine(0, "b1 theirs");
    t().byName_("b")->memo.push_back("b3 theirs");
    const MergeReport report = merge();
    ASSERT_EQ(report.conflicts.size(), 1u);
    EXPECT_EQ(report.conflicts[0],
              "b: changed on both sides (field Color, Memo): theirs kept as "
              "b (conflict 20240301 142530)");
    EXPECT_EQ(nodeNames(o()), (Names{"a", "b", "b (conflict 20240301 142530)", "c"}));
    const MemoNode& mine = *o().at_(1);
    EXPECT_EQ(mine.getField_("Color"), "\"clRed\"");
    // Our node still has their clean change (the third line).
    EXPECT_EQ(memoOf(mine), (Lines{"b1 ours", "b2", "b3 theirs"}));
    const MemoNode& copy = *o().at_(2);
    EXPECT_EQ(copy.getField_("Color"), "\"clBlue\"");
    EXPECT_EQ(memoOf(copy), (Lines{"b1 theirs", "b2", "b3 theirs"}));
    EXPECT_EQ(copy.getField_(kConflictFromKey), "\"feature\"");
    EXPECT_FALSE(copy.getField_("UID").empty());
    EXPECT_NE(copy.getField_("UID"), mine.getField_("UID"));
}

TEST_F(HolderMergeTest, DeletedAndUnchangedGoesDeletedAndChangedStays) {
    threeNodes();
    o().removeNode_(o().byName_("a"));
    t().removeNode_(t().byName_("c"));
    o().byName_("c")->memo.push_back("c3 ours");
    const MergeReport report = merge();
    EXPECT_EQ(nodeNames(o()), (Names{"b", "c"}));
    EXPECT_EQ(memoOf(*o().byName_("c")), (Lines{"c1", "c2", "c3 ours"}));
    EXPECT_EQ(report.conflicts, (Lines{"c: deleted in theirs, changed in ours: kept"}));
}

TEST_F(HolderMergeTest, TheirNewNodesFollowTheirNearestKeptPredecessor) {
    threeNodes();
    insertNode(o(), 1, "x ours", "UX");
    insertNode(t(), 1, "y theirs", "UY");
    addNode(t(), "z theirs", "UZ");
    EXPECT_TRUE(merge().clean());
    EXPECT_EQ(nodeNames(o()), (Names{"a", "x ours", "y theirs", "b", "c", "z theirs"}));
}

TEST_F(HolderMergeTest, OrderFollowsOursUnlessOnlyTheyReordered) {
    threeNodes();
    t().nodes->moveChildTo_(2, 0);  // c a b
    addNode(o(), "d ours", "UD");
    EXPECT_TRUE(merge().clean());
    EXPECT_EQ(nodeNames(o()), (Names{"c", "d ours", "a", "b"}));

    ThreeVersions both;
    addNode(both.b(), "a", "U1");
    addNode(both.b(), "b", "U2");
    both.branch();
    both.o().nodes->moveChildTo_(1, 0);
    both.t().nodes->moveChildTo_(1, 0);
    addNode(both.t(), "c", "U3");
    mergeIntoHolder(both.o(), &both.b(), both.t());
    EXPECT_EQ(nodeNames(both.o()), (Names{"b", "a", "c"}));
}

TEST_F(HolderMergeTest, NodesWithoutUidMatchByNameAndPlaceAmongTheirNamesakes) {
    b().putField_("FlagSameName", "\"true\"");
    addNode(b(), "n", "", {"first"});
    addNode(b(), "n", "", {"second"});
    addNode(b(), "m", "", {"other"});
    branch();
    o().at_(2)->memo.setLine(0, "other ours");
    t().at_(1)->memo.setLine(0, "second theirs");
    EXPECT_TRUE(merge().clean());
    EXPECT_EQ(nodeNames(o()), (Names{"n", "n", "m"}));
    EXPECT_EQ(memoOf(*o().at_(0)), (Lines{"first"}));
    EXPECT_EQ(memoOf(*o().at_(1)), (Lines{"second theirs"}));
    EXPECT_EQ(memoOf(*o().at_(2)), (Lines{"other ours"}));
}

TEST_F(HolderMergeTest, KeptNodesStayTheSameObjectsAndTheCurrentNodeStaysCurrent) {
    threeNodes();
    MemoNode* a = o().byName_("a");
    MemoNode* bNode = o().byName_("b");
    o().setCurrent_(bNode);
    t().byName_("b")->memo.push_back("b3 theirs");
    t().removeNode_(t().byName_("c"));
    merge();
    EXPECT_EQ(o().at_(0), a);
    EXPECT_EQ(o().at_(1), bNode);
    EXPECT_EQ(o().getCurrent_(), bNode);
    EXPECT_EQ(memoOf(*bNode), (Lines{"b1", "b2", "b3 theirs"}));
    EXPECT_EQ(o().count_(), 2);
}

TEST_F(HolderMergeTest, WithOursAsItsOwnBaseTheResultIsTheirs) {
    threeNodes();
    t().byName_("a")->putField_("Color", "\"clRed\"");
    t().removeNode_(t().byName_("b"));
    addNode(t(), "d", "U4", {"new"});
    t().nodes->moveChildTo_(0, 2);
    t().putField_("NewNodeName", "\"Number\"");
    EXPECT_TRUE(mergeIntoHolder(o(), &o(), t()).clean());
    EXPECT_EQ(describeNodes(o()), describeNodes(t()));
    EXPECT_EQ(o().getNewNodeName_(), "\"Number\"");
}

TEST_F(HolderMergeTest, WithoutBaseNothingIsDeletedAndDifferencesAreKeptTwice) {
    threeNodes();
    o().removeNode_(o().byName_("a"));
    o().byName_("b")->memo.push_back("b3 ours");
    addNode(t(), "d", "U4");
    const MergeReport report = merge(false);
    EXPECT_EQ(report.conflicts.size(), 1u);
    EXPECT_EQ(nodeNames(o()), (Names{"a", "b", "b (conflict 20240301 142530)", "c", "d"}));
    EXPECT_EQ(memoOf(*o().at_(2)), (Lines{"b1", "b2"}));
}

TEST_F(HolderMergeTest, SettingsMergeLikeFieldsAndCountersTakeTheLater) {
    b().countSave = 4;
    threeNodes();
    o().countSave = 9;
    t().countSave = 6;
    t().putField_("NewNodeName", "\"Number\"");
    o().putField_("FormatDate", "\"YYYY-MM-DD\"");
    t().putField_("FormatDate", "\"YYMMDD\"");
    t().setSort_(true);
    t().setAscending_(false);
    const MergeReport report = merge();
    EXPECT_EQ(report.conflicts,
              (Lines{"holder setting FormatDate: changed on both sides, ours kept"}));
    EXPECT_EQ(o().getNewNodeName_(), "\"Number\"");
    EXPECT_EQ(o().getField_("FormatDate"), "\"YYYY-MM-DD\"");
    EXPECT_EQ(o().countSave, 9);
    // Their sorting, descending, applies to the merged list.
    EXPECT_EQ(nodeNames(o()), (Names{"c", "b", "a"}));
}

TEST_F(HolderMergeTest, TheMergedHolderWritesAndReadsBackUnchanged) {
    threeNodes();
    o().byName_("a")->putField_("Color", "\"clRed\"");
    t().byName_("a")->putField_("Color", "\"clBlue\"");
    merge();
    HolderCopy again;
    copyThroughText(o(), again);
    EXPECT_EQ(describeNodes(*again.holder), describeNodes(o()));
}

}  // namespace
}  // namespace zel::test
