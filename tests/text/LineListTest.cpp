#include "text/LineList.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

TEST(LineEdits, BlankTrimPrefixSuffixAndHeads) {
    Lines lines{" a ", "", " \t", "b"};
    EXPECT_EQ(removeBlankLines(lines), 2u);
    EXPECT_EQ(lines, (Lines{" a ", "b"}));
    EXPECT_EQ(trimLines(lines), 2u);
    EXPECT_EQ(appendToLines(lines, ";"), 2u);
    EXPECT_EQ(lines, (Lines{"a;", "b;"}));

    Lines withEmpty{"x", ""};
    prefixLines(withEmpty, "> ", true);
    EXPECT_EQ(withEmpty, (Lines{"> x", ""}));
    prefixLines(withEmpty, "#", false);
    EXPECT_EQ(withEmpty, (Lines{"#> x", "#"}));

    Lines heads{
        "\x83\x41"
        "bc",
        "abcd", "a"};
    cutLineHeads(heads, 2);
    EXPECT_EQ(heads, (Lines{"c", "cd", ""}));
    cutLineHeads(heads, 0);
    EXPECT_EQ(heads, (Lines{"c", "cd", ""}));
}

TEST(LineEdits, NumberingUsesTheFormatOrTheDefault) {
    Lines lines{"x", "y"};
    numberLines(lines, " ", 1);
    EXPECT_EQ(lines, (Lines{"00000001:x", "00000002:y"}));
    Lines five{"x"};
    numberLines(five, "%.5d:", 9);
    EXPECT_EQ(five, Lines{"00009:x"});
    Lines bad{"x"};
    numberLines(bad, "%s", 3);
    EXPECT_EQ(bad, Lines{"00000003:x"});
}

TEST(LineOrder, SortUniqueKeepsCaseVariants) {
    Lines lines{"b", "a", "B", "a", "\x82\x60", "\x82\x81"};
    sortUnique(lines);
    EXPECT_EQ(lines, (Lines{"a", "B", "b", "\x82\x60", "\x82\x81"}));
    reverseLines(lines);
    EXPECT_EQ(lines.front(), "\x82\x81");
}

TEST(LineOrder, MarkRepeatsComparesWithTheUnmarkedLine) {
    Lines lines{"x", "x", "x", "y", "X"};
    EXPECT_EQ(markRepeats(lines), 2u);
    EXPECT_EQ(lines, (Lines{"x", "* x", "* x", "y", "X"}));
}

TEST(LineLists, AppendAndCount) {
    Lines a{"one"}, b{"Two two", "TWO"};
    EXPECT_EQ(appendLines(a, b), 2u);
    EXPECT_EQ(a, (Lines{"one", "Two two", "TWO"}));
    EXPECT_EQ(appendLines(a, a), 3u);
    EXPECT_EQ(a.size(), 6u);
    EXPECT_EQ(a[5], "TWO");
    EXPECT_EQ(countInLines(b, "two"), 3u);
    EXPECT_EQ(countInLines(b, ""), 0u);
}

TEST(LineLists, UniqueNamesFollowTheNamingRule) {
    EXPECT_EQ(uniqueNameInList({"a"}, "b"), "b");
    EXPECT_EQ(uniqueNameInList({"x", "y", "z", "memo"}, "Memo"), "Memo_03");
    EXPECT_EQ(uniqueNameInList({"Note1", "note2"}, "note1"), "note3");
    Lines allDigits;
    for (char c = '0'; c <= '9'; ++c) allDigits.push_back(std::string("Note") + c);
    EXPECT_EQ(uniqueNameInList(allDigits, "Note1"), "Note1_100");
    allDigits.erase(allDigits.begin());
    EXPECT_EQ(uniqueNameInList(allDigits, "Note1"), "Note0");
}

TEST(Html, CsvRowsAndPage) {
    Lines rows;
    csvToHTMLRows({"a,,b <c>"}, rows);
    EXPECT_EQ(rows, (Lines{"  <tr>", "    <td>a</td>", "    <td>&nbsp;</td>", "    <td>b <c></td>",
                           "  </tr>"}));
    Lines page;
    csvToHTMLPage({"x"}, page, "Cap", "zel");
    ASSERT_EQ(page.size(), 15u);
    EXPECT_EQ(page[4], "   <meta name=\"GENERATOR\" content=\"zel\">");
    EXPECT_EQ(page[8], "<caption>Cap</caption>");
    EXPECT_EQ(page[9], "  <tr>");
    EXPECT_EQ(page.back(), "</html>");
}

TEST(Html, HexDumpGroupsSumsAndOffsets) {
    Lines out;
    EXPECT_EQ(hexDump(out, "Hello", 16), 5u);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], "#size=5");
    EXPECT_EQ(out[1], "#Address :Sum:00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ");
    EXPECT_EQ(out[2], "0000000000:F4:48 65 6C 6C 6F ");

    Lines twenty;
    hexDump(twenty, std::string(16, ' ') + "\xFF\x01\x02\x03", 16);
    ASSERT_EQ(twenty.size(), 4u);
    EXPECT_EQ(twenty[2].substr(0, 14), "0000000000:00:");
    EXPECT_EQ(twenty[3], "0000000010:05:FF 01 02 03 ");

    Lines empty;
    EXPECT_EQ(hexDump(empty, "", 16), 0u);
    EXPECT_EQ(empty.size(), 2u);
    Lines zeroWidth;
    hexDump(zeroWidth, "ab", 0);
    EXPECT_EQ(zeroWidth,
              (Lines{"#size=2", "#Address :Sum:00 ", "0000000000:61:61 ", "0000000001:62:62 "}));
}

}  // namespace
}  // namespace zel
