#include "merge/DiskUpdate.h"

#include <gtest/gtest.h>

#include "MergeTestSupport.h"

namespace zel::test {
namespace {

using Lines = std::vector<std::string>;

// The window's holder (ours), the bytes it last read (base) and the file
// another program wrote since (theirs).
class DiskUpdateTest : public ::testing::Test, public ThreeVersions {
  protected:
    void SetUp() override {
        branchTwoNodes();
        lastRead = holderFileText_(b());
    }

    std::string lastRead;
};

TEST_F(DiskUpdateTest, AFileAsLastReadChangesNothing) {
    o().byName_("a")->memo.push_back("unsaved");
    o().changed = true;
    const HolderUpdate update = updateHolderFromDisk(lastRead, o(), lastRead);
    EXPECT_EQ(update.kind, HolderUpdateKind::Unchanged);
    EXPECT_EQ(memoOf(*o().byName_("a")), (Lines{"a1", "unsaved"}));
}

TEST_F(DiskUpdateTest, AHolderWithoutUnsavedChangesBecomesTheFileKeepingItsNodes) {
    MemoNode* current = o().byName_("b");
    o().setCurrent_(current);
    t().byName_("b")->memo.push_back("b2");
    addNode(t(), "c", "U3");
    const HolderUpdate update = updateHolderFromDisk(lastRead, o(), holderFileText_(t()));
    EXPECT_EQ(update.kind, HolderUpdateKind::Reloaded);
    EXPECT_EQ(describeNodes(o()), describeNodes(t()));
    EXPECT_EQ(o().getCurrent_(), current);
    EXPECT_FALSE(o().changed);
}

TEST_F(DiskUpdateTest, UnsavedChangesAreMergedWithTheFilesOnes) {
    o().byName_("a")->memo.push_back("a2 unsaved");
    o().changed = true;
    t().byName_("b")->memo.push_back("b2 on disk");
    t().removeNode_(t().byName_("a"));
    const HolderUpdate update = updateHolderFromDisk(lastRead, o(), holderFileText_(t()));
    EXPECT_EQ(update.kind, HolderUpdateKind::Merged);
    EXPECT_EQ(update.report.conflicts, (Lines{"a: deleted in theirs, changed in ours: kept"}));
    EXPECT_EQ(memoOf(*o().byName_("b")), (Lines{"b1", "b2 on disk"}));
    EXPECT_EQ(memoOf(*o().byName_("a")), (Lines{"a1", "a2 unsaved"}));
    EXPECT_TRUE(o().changed);
}

TEST_F(DiskUpdateTest, AnUnreadableFileLeavesTheHolderAsItWas) {
    const std::vector<std::string> before = describeNodes(o());
    CapturedLog log;
    const HolderUpdate update = updateHolderFromDisk(lastRead, o(), kBrokenHolder);
    EXPECT_EQ(update.kind, HolderUpdateKind::Failed);
    EXPECT_FALSE(update.error.empty());
    EXPECT_EQ(describeNodes(o()), before);
}

TEST_F(DiskUpdateTest, AConflictCopyMergesTwoWayMarkedWithItsName) {
    t().byName_("a")->memo.setLine(0, "a1 elsewhere");
    addNode(t(), "c", "U3");
    MergeOptions options;
    options.theirsLabel = "notes.sync-conflict-20240301-142530-ABCDEF1.mxh";
    const HolderUpdate update = mergeCopyIntoHolder(o(), holderFileText_(t()), options);
    EXPECT_EQ(update.kind, HolderUpdateKind::Merged);
    ASSERT_EQ(o().count_(), 4);
    EXPECT_EQ(o().at_(1)->getField_("ConflictFrom"),
              "\"notes.sync-conflict-20240301-142530-ABCDEF1.mxh\"");
    EXPECT_EQ(memoOf(*o().at_(1)), (Lines{"a1 elsewhere"}));
    EXPECT_EQ(o().at_(3)->getName_(), "c");
}

}  // namespace
}  // namespace zel::test
