#include "dialogs/SelNodeEdit.h"

#include <gtest/gtest.h>

#include "dialogs/DialogTestSupport.h"
#include "dialogs/FieldEdit.h"
#include "formats/TContent.h"

namespace zel {
namespace {

using test::addHolder;
using test::nodeNamed;
using test::nodeNames;

std::vector<NodeRef> refsOf(const MemoHolder& holder) {
    std::vector<NodeRef> refs;
    for (std::size_t i = 0; i < holder.nodes->childCount(); ++i)
        refs.emplace_back(static_cast<MemoNode*>(holder.nodes->childAt(i)));
    return refs;
}

TEST(SelNodeEditTest, EachNameEditBuildsTheWantedNameAndCountsTheNodes) {
    struct Case {
        NameEdit edit;
        std::vector<std::string> names;
        std::string status;
    };
    const std::vector<Case> cases = {
        {NameEdit::InsertHead, {"xa", "xb"}, "Done: Insert Head Name 2"},
        {NameEdit::InsertHeadPlus, {"x a", "x b"}, "Done: Insert Head Name+ 2"},
        {NameEdit::AddTail, {"ax", "bx"}, "Done: Add Tail Name 2"},
        {NameEdit::AddTailPlus, {"a x", "b x"}, "Done: Add Tail Name+2"},
    };
    for (const Case& c : cases) {
        MemoFile file;
        MemoHolder& h = addHolder(file, "H", {{"a"}, {"b"}});
        const SelEditOutcome done = editNames(refsOf(h), c.edit, "x");
        EXPECT_EQ(nodeNames(h), c.names);
        EXPECT_EQ(done.status, c.status);
        EXPECT_TRUE(h.changed);
    }
}

TEST(SelNodeEditTest, ReplacingNamesLeavesTheHolderToMakeThemUnique) {
    MemoFile file;
    MemoHolder& h = addHolder(file, "H", {{"a"}, {"b"}, {"c"}});
    const SelEditOutcome done = editNames(refsOf(h), NameEdit::Replace, " memo");
    EXPECT_EQ(done.status, "Done: Replace Name 3");
    const auto names = nodeNames(h);
    EXPECT_EQ(names[0], " memo") << "the text is used untrimmed";
    EXPECT_NE(names[1], names[0]);
    EXPECT_NE(names[2], names[1]);
    EXPECT_NE(names[2], names[0]);
}

MemoHolder& sortedHolder(MemoFile& file, const std::string& name) {
    // Sorted: a1, a10, a2. With "x" added they sort as a10x, a1x, a2x.
    MemoHolder& holder = addHolder(file, name, {{"a2"}, {"a10"}, {"a1"}});
    holder.setSort_(true);
    holder.nodes->keepOrder_();
    return holder;
}

TEST(SelNodeEditTest, ASortedHolderIsSortedOnceAfterTheBatch) {
    MemoFile file;
    MemoHolder& sorted = sortedHolder(file, "S");
    MemoHolder& plain = addHolder(file, "P", {{"z"}, {"y"}});
    std::vector<NodeRef> refs = refsOf(sorted);
    for (const NodeRef& ref : refsOf(plain)) refs.push_back(ref);

    std::vector<std::string> resorted;
    std::vector<std::string> namesWhenSorted;
    SelEditHooks hooks;
    hooks.resort = [&](MemoHolder& holder) {
        resorted.push_back(holder.getName_());
        namesWhenSorted = nodeNames(holder);
        holder.nodes->keepOrder_();
    };
    editNames(refs, NameEdit::AddTail, "x", hooks);
    EXPECT_EQ(resorted, std::vector<std::string>{"S"});
    EXPECT_EQ(namesWhenSorted, (std::vector<std::string>{"a1x", "a10x", "a2x"}));
    EXPECT_EQ(nodeNames(sorted), (std::vector<std::string>{"a10x", "a1x", "a2x"}));
    EXPECT_TRUE(sorted.getSort_());
    EXPECT_EQ(nodeNames(plain), (std::vector<std::string>{"zx", "yx"}));

    // Without the hook the node list itself is sorted.
    MemoHolder& again = sortedHolder(file, "T");
    editNames(refsOf(again), NameEdit::AddTail, "x");
    EXPECT_EQ(nodeNames(again), (std::vector<std::string>{"a10x", "a1x", "a2x"}));
}

TEST(SelNodeEditTest, MemoEditsLeaveBinaryAndLinkedBodiesAlone) {
    MemoFile file;
    MemoHolder& h = addHolder(file, "H",
                              {{"image", {"Content-Transfer-Encoding=\"binary\""}},
                               {"t1"},
                               {"linked", {"FlagLink=\"true\"", "Filename=\"/x.txt\""}},
                               {"t2"}});
    nodeNamed(h, "t1").memo = {"old"};
    const SelEditOutcome head = editMemos(refsOf(h), TextEdit::InsertHead, "n1\nn2\n");
    EXPECT_EQ(head.status, "Done: Insert Head Memo 2");
    EXPECT_EQ(nodeNamed(h, "t1").memo, (Lines{"n1", "n2", "old"}));
    EXPECT_EQ(nodeNamed(h, "t2").memo, (Lines{"n1", "n2"}));
    EXPECT_TRUE(nodeNamed(h, "image").memo.empty());
    EXPECT_TRUE(nodeNamed(h, "linked").memo.empty());
    EXPECT_TRUE(h.changed);

    editMemos(refsOf(h), TextEdit::AddTail, "end");
    EXPECT_EQ(nodeNamed(h, "t1").memo, (Lines{"n1", "n2", "old", "end"}));
    const SelEditOutcome replaced = editMemos(refsOf(h), TextEdit::Replace, "only\r\nthis");
    EXPECT_EQ(replaced.status, "Done: Replace Memo 2");
    EXPECT_EQ(nodeNamed(h, "t2").memo, (Lines{"only", "this"}));
    EXPECT_EQ(editMemos(refsOf(h), TextEdit::Replace, " \n ").status, "Empty!");
}

TEST(SelNodeEditTest, CommentEditsChangeEveryNode) {
    MemoFile file;
    MemoHolder& h =
        addHolder(file, "H", {{"image", {"Content-Transfer-Encoding=\"binary\""}}, {"t"}});
    nodeNamed(h, "t").comment = {"c"};
    EXPECT_EQ(editComments(refsOf(h), TextEdit::AddTail, "x").status,
              "Done: Insert add Tail Comment 2");
    EXPECT_EQ(nodeNamed(h, "image").comment, Lines{"x"});
    EXPECT_EQ(nodeNamed(h, "t").comment, (Lines{"c", "x"}));
    editComments(refsOf(h), TextEdit::InsertHead, "0");
    EXPECT_EQ(nodeNamed(h, "t").comment, (Lines{"0", "c", "x"}));
}

TEST(SelNodeEditTest, SetQuotesTheValueOnceAndDeleteRemovesTheKey) {
    MemoFile file;
    MemoHolder& h = addHolder(file, "H", {{"a", {"K=\"old\"", "L=\"1\""}}, {"b"}, {"c"}});
    for (const char* typed : {"abc", "\"abc\""}) {
        const SelEditOutcome set = setFieldOfNodes(refsOf(h), "K", typed);
        EXPECT_EQ(set.status, "*Done Set Field count=3 Field=K Value=\"abc\"");
        EXPECT_EQ(nodeNamed(h, "a").fields[0], "K=\"abc\"") << "replaced in place";
        EXPECT_EQ(nodeNamed(h, "c").getField_("K"), "\"abc\"");
    }
    setFieldOfNodes(refsOf(h), "K", "");
    EXPECT_EQ(nodeNamed(h, "b").getField_("K"), "\"\"");

    const SelEditOutcome deleted = deleteFieldOfNodes(refsOf(h), "k");
    EXPECT_EQ(deleted.status, "*Done: Delete Field count=3 KeyWord=k");
    EXPECT_EQ(nodeNamed(h, "a").fields.size(), 1u);
    EXPECT_TRUE(nodeNamed(h, "b").fields.empty());
}

TEST(SelNodeEditTest, ChecksComeFirstAndARefusalChangesNothing) {
    MemoFile file;
    MemoHolder& h = addHolder(file, "H", {{"a"}, {"b"}});
    int before = 0, after = 0;
    SelEditHooks hooks{[&] { ++before; }, [&] { ++after; }, {}};

    const SelEditOutcome noKey = setFieldOfNodes({}, "", "v", hooks);
    EXPECT_EQ(noKey.status, kFieldIsEmpty) << "the key is tested before the list";
    EXPECT_TRUE(noKey.emptyKeyBox);
    EXPECT_EQ(deleteFieldOfNodes({}, "", hooks).status, kFieldIsEmpty);
    EXPECT_EQ(setFieldOfNodes(refsOf(h), "a=b", "v", hooks).status, kBadFieldKey);
    EXPECT_EQ(editNames({}, NameEdit::Replace, "", hooks).status, "No MemoNode selected.")
        << "the list is tested before the text";
    EXPECT_EQ(editNames(refsOf(h), NameEdit::Replace, "  ", hooks).status, "Empty KeyWord");
    EXPECT_EQ(editComments(refsOf(h), TextEdit::Replace, "", hooks).status, "Empty!");
    EXPECT_EQ(before + after, 0);
    EXPECT_FALSE(h.changed);

    editComments(refsOf(h), TextEdit::Replace, "c", hooks);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
}

TEST(SelNodeEditTest, DeletedNodesAreSkippedAndNotCounted) {
    MemoFile file;
    MemoHolder& h = addHolder(file, "H", {{"a"}, {"b"}, {"c"}});
    MemoHolder& other = addHolder(file, "O", {{"o"}});
    std::vector<NodeRef> refs = refsOf(h);
    refs.push_back(refsOf(other)[0]);
    h.removeNode_(&nodeNamed(h, "b"));
    // A node made now may take the freed place; the old reference must not reach it.
    test::addNode(h, {"new"});
    const SelEditOutcome renamed = editNames(refs, NameEdit::AddTail, "!");
    EXPECT_EQ(renamed.status, "Done: Add Tail Name 3");
    EXPECT_EQ(nodeNames(h), (std::vector<std::string>{"a!", "c!", "new"}));
    EXPECT_TRUE(other.changed);

    other.removeNode_(&nodeNamed(other, "o!"));
    h.removeNode_(&nodeNamed(h, "a!"));
    h.removeNode_(&nodeNamed(h, "c!"));
    EXPECT_EQ(setFieldOfNodes(refs, "K", "v").status, "No MemoNode selected.");
}

}  // namespace
}  // namespace zel
