#include <gtest/gtest.h>

#include "formats/Outline.h"
#include "object/Agents.h"

namespace zel {
namespace {

using Lines = std::vector<std::string>;

// The tree as indented lines: two blanks per level, block lines after "| ".
std::string shape(const OutlineItem& item, int depth = -1) {
    std::string out;
    if (depth >= 0) {
        out += std::string(2 * depth, ' ') + "[" + item.text + "]\n";
        for (const auto& line : item.block)
            out += std::string(2 * depth + 2, ' ') + "| " + line + "\n";
    }
    for (const auto& child : item.children) out += shape(*child, depth + 1);
    return out;
}

Outline read(const Lines& lines, bool poser) {
    Outline tree;
    readWholeOutline(tree, lines, nullptr, poser ? &poserKeywords() : nullptr);
    return tree;
}

Lines write(const Outline& tree) {
    Lines lines;
    EXPECT_EQ(writeOutline_(tree, &lines, nullptr), 0);
    return lines;
}

// An agent that asks for a break after `calm` questions.
class BreakingAgent : public AgentAPLAbs {
  public:
    explicit BreakingAgent(int calm) : calm_(calm) {}
    bool isBreak_() override { return --calm_ < 0; }
    int message_(std::string_view text) override {
        messages.emplace_back(text);
        return 0;
    }
    Lines messages;

  private:
    int calm_;
};

const Lines kFigure = {"{", "figure", "{", "deltas x", "{", "1 2 3", "}", "}", "}"};

TEST(Outline, KeywordBlocksStayWholeOnlyForPoser) {
    EXPECT_EQ(shape(read(kFigure, true).root),
              "[figure]\n  [deltas x]\n    | {\n    | 1 2 3\n    | }\n");
    EXPECT_EQ(shape(read(kFigure, false).root), "[figure]\n  [deltas x]\n    [1 2 3]\n");
    // The keyword is the first word, in any letter case; the item keeps its text.
    EXPECT_EQ(shape(read({"GeomCustom\tq", "{", "{", "a", "}", "", "}", "next"}, true).root),
              "[GeomCustom\tq]\n  | {\n  | {\n  | a\n  | }\n  | \n  | }\n[next]\n");
    // A keyword without a block: the line after it is read as usual.
    EXPECT_EQ(shape(read({"deltas", "", "plain"}, true).root), "[deltas]\n[plain]\n");
}

TEST(Outline, EmptyBlocksBlankLinesAndUnbalancedBraces) {
    EXPECT_EQ(shape(read({"A", "{", "}"}, false).root), "[A]\n  []\n");
    EXPECT_EQ(shape(read({"  a  ", "", "\tb"}, false).root), "[a]\n[ ]\n[b]\n");
    // A stray "}" ends its level; what follows is still read, at the top.
    EXPECT_EQ(shape(read({"a", "}", "b", "{", "c"}, false).root), "[a]\n[b]\n  [c]\n");
    // A "{" before any item opens its block under the level's own parent.
    EXPECT_EQ(shape(read({"{", "{", "x", "}", "}"}, false).root), "[x]\n");
    Outline stray;
    EXPECT_EQ(readOutline_(stray, nullptr, {"a", "}", "b"}, nullptr, nullptr, 0), 2);
}

TEST(Outline, WritingIndentsByLevelAndReadsBackTheSameTree) {
    Outline tree = read(kFigure, true);
    EXPECT_EQ(write(tree), (Lines{"{", "figure", "\t{", "\tdeltas x", "\t\t{", "\t\t1 2 3", "\t\t}",
                                  "\t}", "}"}));
    tree.root.children[0]->addChild("added");
    const Lines again = write(tree);
    EXPECT_EQ(again[7], "\tadded");
    EXPECT_EQ(shape(read(again, true).root), shape(tree.root));

    Outline plain = read(kFigure, false);
    EXPECT_EQ(shape(read(write(plain), false).root), shape(plain.root));
    Lines none;
    EXPECT_EQ(writeOutline_(Outline{}, &none, nullptr), -1);
    EXPECT_EQ(writeOutline_(plain, nullptr, nullptr), -1);
}

TEST(Outline, NothingIsLostOnTheWayBack) {
    // A keyword block at the top level is written too.
    const Outline top = read({"deltas d", "{", "1", "}", "after"}, true);
    EXPECT_EQ(write(top), (Lines{"{", "deltas d", "\t{", "\t1", "\t}", "after", "}"}));
    EXPECT_EQ(shape(read(write(top), true).root), shape(top.root));

    // A long line comes back once, as it was.
    const std::string longLine(300, 'x');
    const Outline longTree = read({"a", "{", longLine, "}"}, false);
    EXPECT_EQ(longTree.root.children[0]->children[0]->text, "\\" + longLine);
    EXPECT_EQ(write(longTree), (Lines{"{", "a", "\t{", "\t" + longLine, "\t}", "}"}));

    // Children added under a keyword item are written after its block.
    Outline mixed = read({"deltas d", "{", "1", "}"}, true);
    mixed.root.children[0]->addChild("child");
    EXPECT_EQ(write(mixed),
              (Lines{"{", "deltas d", "\t{", "\t1", "\t}", "\t{", "\tchild", "\t}", "}"}));
}

TEST(Outline, BreaksLeaveTheTreeMarkedIncompleteAndTheWriterSaysSo) {
    Lines many;
    for (int i = 0; i < 50; ++i) {
        many.push_back("{");
        many.push_back("item" + std::to_string(i));
    }
    BreakingAgent agent(3);
    Outline tree;
    readWholeOutline(tree, many, &agent, nullptr);
    EXPECT_FALSE(tree.complete);
    EXPECT_LT(tree.itemCount(), 50u);

    BreakingAgent early(0);
    Outline none;
    EXPECT_EQ(readOutline_(none, nullptr, many, &early, nullptr, 0), -1);
    EXPECT_TRUE(none.empty());

    Outline full = read(many, false);
    ASSERT_TRUE(full.complete);
    Lines lines;
    BreakingAgent writer(0);
    EXPECT_EQ(writeOutline_(full, &lines, &writer), -2);
    // A calm agent counts the children and names every twentieth one.
    lines.clear();
    BreakingAgent calm(1 << 30);
    EXPECT_EQ(writeOutline_(full, &lines, &calm), 0);
    EXPECT_GT(calm.count, 0);
    ASSERT_FALSE(calm.messages.empty());
    EXPECT_EQ(calm.messages[0], "1/1 item10");
}

TEST(Outline, EveryLevelOfADeepChainKeepsItsOwnIndent) {
    // The writer's indents grow while shallower ones are still in use.
    constexpr int kDepth = 40;
    Outline chain;
    OutlineItem* at = &chain.root;
    for (int level = 0; level < kDepth; ++level) at = &at->addChild("x" + std::to_string(level));
    Lines expected{"{"};
    for (int level = 0; level < kDepth; ++level) {
        expected.push_back(std::string(level, '\t') + "x" + std::to_string(level));
        if (level + 1 < kDepth) expected.push_back(std::string(level + 1, '\t') + "{");
    }
    for (int level = kDepth - 1; level > 0; --level)
        expected.push_back(std::string(level, '\t') + "}");
    expected.push_back("}");
    EXPECT_EQ(write(chain), expected);
}

TEST(Outline, DeepNestingIsBoundedAndCopiesTakeTheWholeSubtree) {
    Lines deep(20000, "{");
    deep.push_back("bottom");
    const Outline tree = read(deep, false);
    EXPECT_TRUE(tree.complete);
    // Past the bound, the braces are items of their own.
    EXPECT_GT(tree.itemCount(), 1u);
    Lines written;
    EXPECT_EQ(writeOutline_(tree, &written, nullptr), 0);

    Outline figure = read(kFigure, false);
    OutlineItem copy;
    EXPECT_EQ(copySubtree_(*figure.root.children[0], copy), 2);
    EXPECT_EQ(shape(copy, -1), "[deltas x]\n  [1 2 3]\n");
    EXPECT_EQ(copy.text, "figure");
    EXPECT_EQ(copy.children[0]->parent, &copy);
    Outline poser = read(kFigure, true);
    copySubtree_(*poser.root.children[0]->children[0], copy);
    EXPECT_EQ(copy.block, (Lines{"{", "1 2 3", "}"}));
}

}  // namespace
}  // namespace zel
