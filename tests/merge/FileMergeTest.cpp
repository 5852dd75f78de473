#include "merge/FileMerge.h"

#include <gtest/gtest.h>

#include "MergeTestSupport.h"
#include "platform/Compression.h"

namespace zel::test {
namespace {

using Names = std::vector<std::string>;

class FileMergeTest : public ::testing::Test, public ThreeVersions {
  protected:
    void SetUp() override { branchTwoNodes(); }

    std::string text(MemoHolder& holder) { return holderFileText_(holder); }

    static std::string packed(const std::string& text) {
        std::string bytes;
        EXPECT_TRUE(deflateBytes(text, bytes));
        return bytes;
    }

    static void readBack(const std::string& bytes, HolderCopy& copy) {
        std::string error;
        ASSERT_TRUE(readHolderCopy(bytes, "merged", copy, error)) << error;
    }
};

TEST_F(FileMergeTest, HolderFilesMergeInTheFormOursHas) {
    o().byName_("a")->memo.push_back("a2 ours");
    t().byName_("b")->memo.push_back("b2 theirs");
    const FileMerge merged = mergeFileBytes(packed(text(b())), packed(text(o())), text(t()));
    ASSERT_EQ(merged.status, MergeStatus::Clean) << merged.error;
    HolderCopy result;
    readBack(merged.bytes, result);
    EXPECT_TRUE(result.compressed);
    EXPECT_EQ(result.holder->getName_(), "work");
    EXPECT_EQ(memoOf(*result.holder->byName_("a")), (Names{"a1", "a2 ours"}));
    EXPECT_EQ(memoOf(*result.holder->byName_("b")), (Names{"b1", "b2 theirs"}));
}

TEST_F(FileMergeTest, AnEmptyBaseMergesTwoWayAndConflictsSayTheyWereKept) {
    o().byName_("a")->memo.push_back("a2 ours");
    addNode(t(), "c", "U3");
    const FileMerge merged = mergeFileBytes("", text(o()), text(t()));
    ASSERT_EQ(merged.status, MergeStatus::Conflicts) << merged.error;
    HolderCopy result;
    readBack(merged.bytes, result);
    EXPECT_FALSE(result.compressed);
    EXPECT_EQ(result.holder->count_(), 4);
    EXPECT_EQ(merged.report.conflicts.size(), 1u);
}

TEST_F(FileMergeTest, IndexesMergeTheirHolderLists) {
    MemoFile common, mine, others;
    for (MemoFile* file : {&common, &mine, &others}) {
        file->putName_as_("diary");
        file->createHolder_(-1)->putName_as_("work");
    }
    mine.createHolder_(-1)->putName_as_("mine");
    others.createHolder_(-1)->putName_as_("theirs");
    const FileMerge merged =
        mergeFileBytes(common.indexText_(), mine.indexText_(), others.indexText_());
    ASSERT_EQ(merged.status, MergeStatus::Clean) << merged.error;
    MemoFile result;
    std::vector<std::string> errors;
    ASSERT_EQ(readIndexText_(result, merged.bytes, errors), 0);
    EXPECT_EQ(result.countOfHolders_(), 3);
    EXPECT_NE(merged.bytes.find("<File name=\"diary\">"), std::string::npos);
}

TEST_F(FileMergeTest, WhatIsNoMemoFileOrNotOneKindFailsAndSaysWhy) {
    MemoFile index;
    index.createHolder_(-1);
    const std::string holder = text(o());
    EXPECT_EQ(mergeFileBytes(holder, "just text", holder).status, MergeStatus::Failed);
    const FileMerge mixed = mergeFileBytes(holder, holder, index.indexText_());
    EXPECT_EQ(mixed.status, MergeStatus::Failed);
    EXPECT_EQ(mixed.error, "the three versions are not the same kind of file");
    CapturedLog log;
    const FileMerge broken = mergeFileBytes(holder, holder, std::string(kBrokenHolder));
    EXPECT_EQ(broken.status, MergeStatus::Failed);
    EXPECT_FALSE(broken.error.empty());
}

}  // namespace
}  // namespace zel::test
