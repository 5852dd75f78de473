#include "views/RenameRules.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

TEST(RenameRules, CountingChangesOnlyTheFirstWord) {
    EXPECT_EQ(nameCounted("page9 note", true), "page0 note");
    EXPECT_EQ(nameCounted("19", true), "20");
    EXPECT_EQ(nameCounted("x1y", true), "x2y");
    EXPECT_EQ(nameCounted("a10 b", false), "a09 b");
    EXPECT_EQ(nameCounted("0", false), "9");
    EXPECT_EQ(nameCounted("  plain name  ", true), "plain name");
}

TEST(RenameRules, CutPasteAndFileNameParts) {
    EXPECT_EQ(nameWithoutFirstWord("one two  three"), "two  three");
    EXPECT_EQ(nameWithoutFirstWord("single"), "");
    EXPECT_EQ(nameFromClipboard("a\r\nb\n"), "ab");
    EXPECT_EQ(fileNamePart("C:\\memo\\a.txt"), "a.txt");
    EXPECT_EQ(fileNamePart("/home/u/b.png"), "b.png");
    // The second byte of a double-byte character is never a separator.
    EXPECT_EQ(fileNamePart("dir\\\x95\x5c.txt"), "\x95\x5c.txt");
}

}  // namespace
}  // namespace zel
