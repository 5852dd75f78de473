#include <gtest/gtest.h>

#include "views/NodeViewLines.h"
#include "views/NodeViewText.h"

namespace zel {
namespace {

// 0xED40 is a NEC-selected IBM extension: through UTF-16 it comes back as
// the IBM code 0xFA5C.
const std::string kNecSelected = "\xED\x40";

TEST(NodeViewText, UntouchedLinesKeepTheirBytesAroundAnEditedOne) {
    const Lines original{"head " + kNecSelected, "middle", "tail " + kNecSelected};
    const QString shown = editorText(original);
    QString edited = shown;
    edited.replace(QStringLiteral("middle"), QStringLiteral("changed\nadded"));
    std::size_t replaced = 0;
    EXPECT_EQ(mergeEditedLines(original, shown, edited, replaced),
              (Lines{"head " + kNecSelected, "changed", "added", "tail " + kNecSelected}));
    EXPECT_EQ(replaced, 0u);
}

TEST(NodeViewText, AnEditedLineIsConvertedAndUnknownCharactersBecomeQuestionMarks) {
    const Lines original{kNecSelected};
    const QString shown = editorText(original);
    std::size_t replaced = 0;
    const Lines merged =
        mergeEditedLines(original, shown, shown + QString::fromUtf8("\xF0\x9F\x98\x80"), replaced);
    EXPECT_EQ(merged, (Lines{"\xFA\x5C?"}));
    EXPECT_EQ(replaced, 1u);
}

TEST(NodeViewText, EmptyTextsAndForeignLineCounts) {
    std::size_t replaced = 0;
    EXPECT_TRUE(mergeEditedLines({"a", "b"}, QStringLiteral("a\nb"), QString(), replaced).empty());
    // A memo without lines shows as one empty line; text typed into it counts.
    EXPECT_EQ(mergeEditedLines({}, QString(), QStringLiteral("x\n"), replaced), (Lines{"x", ""}));
    // When the node no longer matches what was shown, everything is converted.
    EXPECT_EQ(
        mergeEditedLines({"only"}, QStringLiteral("a\nb"), QStringLiteral("a\nc\r\nd"), replaced),
        (Lines{"a", "c", "d"}));
}

TEST(NodeViewLines, CommasTagsAndSorting) {
    EXPECT_EQ(splitAtCommas({"a,b,", "", "c"}), (Lines{"a,", "b,", "", "c"}));
    EXPECT_EQ(splitAtTags("x <a href=\"p>q\">link</a>\r\ntail"),
              (Lines{"x ", "<a href=\"p>q\">", "link", "</a>", "tail"}));
    Lines lines{"b", "C", "a", "A"};
    sortLinesIgnoringCase(lines);
    EXPECT_EQ(lines, (Lines{"A", "a", "b", "C"}));
}

}  // namespace
}  // namespace zel
