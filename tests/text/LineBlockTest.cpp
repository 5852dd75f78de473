#include "text/LineBlock.h"

#include <gtest/gtest.h>

#include <random>

namespace zel {
namespace {

// The block must behave as the list of strings it replaced, whatever is done
// to it: random edits are applied to both and compared after each.
TEST(LineBlock, EditsAgreeWithAListOfStrings) {
    std::mt19937 random(7);
    const std::vector<std::string> pieces{"", "a", "\x83\x41\x83\x42", "line with \n inside",
                                          std::string(40, 'x')};
    LineBlock block;
    Lines list;
    for (int step = 0; step < 2000; ++step) {
        const std::string& piece = pieces[random() % pieces.size()];
        const std::size_t at = list.empty() ? 0 : random() % list.size();
        switch (random() % 6) {
            case 0:
            case 1:
                block.push_back(piece);
                list.push_back(piece);
                break;
            case 2:
                if (list.empty()) break;
                block.setLine(at, piece);
                list[at] = piece;
                break;
            case 3:
                block.insert(at, piece);
                list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), piece);
                break;
            case 4:
                if (list.empty()) break;
                block.erase(at);
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            case 5:
                if (list.empty()) break;
                block.pop_back();
                list.pop_back();
                break;
        }
        ASSERT_EQ(block, list) << "step " << step;
    }
    EXPECT_EQ(block.lines(), list);
    EXPECT_EQ(LineBlock(list), block);
}

TEST(LineBlock, EmptyListAndOneEmptyLineDiffer) {
    LineBlock none;
    LineBlock oneEmpty{""};
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(oneEmpty.size(), 1u);
    EXPECT_FALSE(none == oneEmpty);
    EXPECT_EQ(linesText(none), "");
    EXPECT_EQ(linesText(oneEmpty), "\r\n");
}

TEST(LineBlock, TextHasABreakAfterEveryLineAndOffsetsNameTheirLine) {
    LineBlock block{"ab", "", "cde"};
    EXPECT_EQ(block.text(), "ab\n\ncde\n");
    EXPECT_EQ(block.textBytes(), 5u);
    EXPECT_EQ(block.lineAt(0), 0u);
    EXPECT_EQ(block.lineAt(2), 0u);  // a line's break belongs to it
    EXPECT_EQ(block.lineAt(3), 1u);
    EXPECT_EQ(block.lineAt(4), 2u);
    EXPECT_EQ(block.lineAt(6, 2), 2u);
    EXPECT_EQ(block.lineBegin(2), 4u);
    EXPECT_EQ(linesText(block), "ab\r\n\r\ncde\r\n");
}

TEST(LineBlock, AppendingItsOwnLineIsSafe) {
    LineBlock block{"first line, long enough to live on the heap"};
    for (int i = 0; i < 6; ++i) block.push_back(block[0]);
    block.setLine(1, block[0]);
    ASSERT_EQ(block.size(), 7u);
    for (std::string_view line : block) EXPECT_EQ(line, block[0]);
}

TEST(LineBlock, ClearEmptiesAndTheBlockStaysUsable) {
    LineBlock block;
    block.reserve(1000, 100000);
    block.push_back("x");
    block.clear();
    EXPECT_TRUE(block.empty());
    EXPECT_EQ(block.text().size(), 0u);
    block.push_back("y");
    EXPECT_EQ(block, (Lines{"y"}));
}

}  // namespace
}  // namespace zel
