#include "merge/IndexMerge.h"

#include <gtest/gtest.h>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

std::vector<std::string> holderNames(const MemoFile& file) {
    std::vector<std::string> names;
    for (int i = 0; i < file.countOfHolders_(); ++i) names.push_back(file.holderAt_(i)->getName_());
    return names;
}

// A memo file read from its index text, as the merge meets it.
void readIndex(MemoFile& file, const std::string& text) {
    std::vector<std::string> errors;
    ASSERT_EQ(readIndexText_(file, text, errors), 0);
    ASSERT_TRUE(errors.empty());
}

class IndexMergeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        base.putField_("Filename", "\"/memo/diary.mxa\"");
        base.memo = {"diary of the year", ""};
        base.createHolder_(-1)->putName_as_("work");
        base.createHolder_(-1)->putName_as_("old");
        readIndex(ours, base.indexText_());
        readIndex(theirs, base.indexText_());
    }

    MemoFile base, ours, theirs;
};

TEST_F(IndexMergeTest, HoldersAddedOnEitherSideAreKeptAndDeletedOnesGo) {
    theirs.createHolder_(1)->putName_as_("ideas");
    ours.createHolder_(-1)->putName_as_("mail");
    ours.removeHolder_(ours.holderByName_("old"));
    EXPECT_TRUE(mergeIntoMemoFile(ours, &base, theirs).clean());
    // Their new holder follows its predecessor and our new ones right after it.
    EXPECT_EQ(holderNames(ours), (Names{"work", "mail", "ideas"}));
}

TEST_F(IndexMergeTest, HolderFieldsMemoTextAndFieldsMergeThreeWay) {
    theirs.holderByName_("old")->putField_("FileExt", "\".mhz\"");
    ours.holderByName_("work")->setReadOnly_(true);
    theirs.memo.push_back("kept by both");
    ours.putField_("Color", "\"clRed\"");
    ours.putField_("CurrentHolder", "\"old\"");
    theirs.putField_("CurrentHolder", "\"work\"");
    EXPECT_TRUE(mergeIntoMemoFile(ours, &base, theirs).clean());
    EXPECT_EQ(ours.holderByName_("old")->getField_("FileExt"), "\".mhz\"");
    EXPECT_TRUE(ours.holderByName_("work")->isReadOnly_());
    EXPECT_EQ(ours.getField_("Color"), "\"clRed\"");
    EXPECT_EQ(ours.getField_("CurrentHolder"), "\"old\"");
    EXPECT_EQ(ours.memo, (std::vector<std::string>{"diary of the year", "", "kept by both"}));
}

TEST_F(IndexMergeTest, WhatBothChangedDifferentlyKeepsOursAndSaysSo) {
    ours.holderByName_("old")->putField_("FileExt", "\".mhz\"");
    theirs.holderByName_("old")->putField_("FileExt", "\".MXH\"");
    theirs.removeHolder_(theirs.holderByName_("work"));
    ours.holderByName_("work")->setReadOnly_(true);
    const MergeReport report = mergeIntoMemoFile(ours, &base, theirs);
    EXPECT_EQ(report.conflicts,
              (std::vector<std::string>{"holder work: deleted in theirs, changed in ours: kept",
                                        "holder old: FileExt changed on both sides, ours kept"}));
    EXPECT_EQ(holderNames(ours), (Names{"work", "old"}));
    EXPECT_EQ(ours.holderByName_("old")->getField_("FileExt"), "\".mhz\"");
}

}  // namespace
}  // namespace zel
