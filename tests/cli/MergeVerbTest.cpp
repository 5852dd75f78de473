// zel-tool merge as git's merge driver, and merge-copy on the conflict copies
// a sync engine leaves beside a memo file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "cli/CliTestSupport.h"
#include "merge/FileMerge.h"
#include "platform/FileSystem.h"
#include "support/HolderTestSupport.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using Names = std::vector<std::string>;

struct NodeSpec {
    std::string name;
    std::string uid;
    std::string memo;
};

// The text of a holder file named "work" holding `nodes`.
std::string holderText(const std::vector<NodeSpec>& nodes) {
    MemoFile file;
    MemoHolder* holder = file.createHolder_(-1);
    holder->putName_as_("work");
    for (const NodeSpec& spec : nodes)
        test::addTextNode(*holder, spec.name, {spec.memo})
            ->putField_("UID", "\"" + spec.uid + "\"");
    return holderFileText_(*holder);
}

class MergeVerbTest : public test::VerbTest {
  protected:
    void put(std::string_view name, const std::string& bytes) {
        std::ofstream(folder.osPath(name), std::ios::binary) << bytes;
    }

    // The nodes of the holder file `name` as "name:first memo line".
    Names nodesOf(std::string_view name) const {
        HolderCopy copy;
        std::string error;
        EXPECT_TRUE(readHolderCopy(bytes(name), name, copy, error)) << error;
        Names nodes;
        for (int i = 0; i < copy.holder->count_(); ++i) {
            const MemoNode& node = *copy.holder->at_(i);
            nodes.push_back(node.getName_() + ":" +
                            (node.memo.empty() ? "" : std::string(node.memo[0])));
        }
        return nodes;
    }

    const std::vector<NodeSpec> base{{"a", "U1", "a1"}, {"b", "U2", "b1"}};
};

TEST_F(MergeVerbTest, MergeWritesIntoOursAndExitsAsAMergeDriver) {
    put("base", holderText(base));
    put("ours", holderText({{"a", "U1", "a ours"}, {"b", "U2", "b1"}}));
    put("theirs", holderText({{"a", "U1", "a1"}, {"b", "U2", "b theirs"}, {"c", "U3", "c1"}}));
    const Outcome clean = run({"merge", arg("base"), arg("ours"), arg("theirs")});
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_EQ(nodesOf("ours"), (Names{"a:a ours", "b:b theirs", "c:c1"}));

    put("ours", holderText({{"a", "U1", "a ours"}, {"b", "U2", "b1"}}));
    put("theirs", holderText({{"a", "U1", "a theirs"}, {"b", "U2", "b1"}}));
    const std::string oursBefore = bytes("ours");
    const Outcome conflict = run({"merge", arg("base"), arg("ours"), arg("theirs"), "--out",
                                  arg("out"), "--label", "laptop"});
    EXPECT_EQ(conflict.status, 1);
    EXPECT_THAT(conflict.out, HasSubstr("1 conflict(s) kept"));
    EXPECT_THAT(conflict.out,
                HasSubstr("a: changed on both sides (Memo): theirs kept as a (conflict "));
    EXPECT_EQ(bytes("ours"), oursBefore);
    EXPECT_THAT(bytes("out"), HasSubstr("ConflictFrom=\"laptop\""));
}

TEST_F(MergeVerbTest, MergeTroubleIsStatusTwoWithNothingWritten) {
    put("base", holderText(base));
    put("ours", "not a memo file");
    EXPECT_EQ(run({"merge", arg("base"), arg("ours"), arg("base")}).status, 2);
    EXPECT_EQ(bytes("ours"), "not a memo file");
    EXPECT_EQ(run({"merge", arg("base"), arg("missing"), arg("base")}).status, 2);
    EXPECT_EQ(run({"merge", arg("base"), arg("base")}).status, 2);
}

TEST_F(MergeVerbTest, MergeCopyMergesEveryCopyOfAMemoFileAndMovesItAway) {
    MemoFile index;
    index.createHolder_(-1)->putName_as_("work");
    put("diary.mxa", index.indexText_());
    put("work.mxh", holderText({{"a", "U1", "a1"}, {"b", "U2", "b here"}}));
    put("work.sync-conflict-20240301-142530-ABCDEF1.mxh",
        holderText({{"a", "U1", "a1"}, {"b", "U2", "b there"}, {"c", "U3", "c there"}}));
    index.createHolder_(-1)->putName_as_("ideas");
    put("diary.sync-conflict-20240301-142530-ABCDEF1.mxa", index.indexText_());
    put("ideas.mxh", holderText({}));

    const Outcome merged = run({"merge-copy", arg("diary.mxa")});
    EXPECT_EQ(merged.status, 1) << merged.err;
    EXPECT_THAT(merged.out,
                HasSubstr("work.sync-conflict-20240301-142530-ABCDEF1.mxh: merged into "));
    EXPECT_THAT(merged.out, HasSubstr("b: changed on both sides (Memo)"));
    const Names nodes = nodesOf("work.mxh");
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(nodes[1], "b:b here");
    EXPECT_THAT(nodes[2], HasSubstr("(conflict "));
    EXPECT_THAT(nodes[2], HasSubstr(":b there"));
    EXPECT_EQ(nodes[3], "c:c there");
    EXPECT_THAT(bytes("work.mxh"),
                HasSubstr("ConflictFrom=\"work.sync-conflict-20240301-142530-ABCDEF1.mxh\""));
    EXPECT_THAT(bytes("diary.mxa"), HasSubstr("<Holder name=\"ideas\">"));
    EXPECT_TRUE(
        fileExists(folder.path("conflicts/work.sync-conflict-20240301-142530-ABCDEF1.mxh")));
    EXPECT_TRUE(
        fileExists(folder.path("conflicts/diary.sync-conflict-20240301-142530-ABCDEF1.mxa")));
    EXPECT_FALSE(fileExists(folder.path("work.sync-conflict-20240301-142530-ABCDEF1.mxh")));

    const Outcome again = run({"merge-copy", arg("diary.mxa")});
    EXPECT_EQ(again.status, 0);
    EXPECT_THAT(again.out, HasSubstr("no conflict copies"));
    EXPECT_EQ(run({"merge-copy", arg("diary.maz")}).status, 2);
}

}  // namespace
}  // namespace zel
