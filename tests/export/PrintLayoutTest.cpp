// The text printer's page layout against fixed metrics: A4 at 254 dpi (ten
// pixels a millimetre, page 2100 x 2970), every byte ten pixels wide, lines
// twenty pixels high.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>

#include "export/PrintFixedMetrics.h"
#include "export/PrintLayout.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

std::vector<std::string> numberedLines(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) lines.push_back("L" + std::to_string(i));
    return lines;
}

DateTime fixedNow() {
    DateTime t;
    t.year = 2024;
    t.month = 3;
    t.day = 5;
    t.hour = 9;
    t.minute = 7;
    t.second = 2;
    return t;
}

std::vector<std::string> dump(const std::vector<std::string>& lines, const PrintSettings& settings,
                              const FixedPrintShape& shape = {}) {
    PrintFixedMetrics metrics(shape);
    PrintDocument document;
    EXPECT_EQ(layoutPages(lines, settings, metrics, fixedNow(), {}, document), LayoutResult::Done);
    return printLayoutDump(document, settings);
}

// The runs of one page (from 1), without its "P" line.
std::vector<std::string> pageOf(const std::vector<std::string>& dumped, int page) {
    std::vector<std::string> runs;
    int current = 0;
    for (const std::string& line : dumped) {
        if (line[0] == 'P') {
            ++current;
        } else if (current == page) {
            runs.push_back(line);
        }
    }
    return runs;
}

int pageCount(const std::vector<std::string>& dumped) {
    return static_cast<int>(std::count_if(dumped.begin(), dumped.end(),
                                          [](const std::string& l) { return l[0] == 'P'; }));
}

TEST(PrintLayoutTest, OneLineAndEmptyTextEachMakeOnePage) {
    PrintSettings settings;
    EXPECT_THAT(dump({"hello"}, settings), ElementsAre("P 1 1 1", "T 0 0 \"hello\""));
    EXPECT_THAT(dump({}, settings), ElementsAre("P 1 1 1"));

    settings.setHeader("top");
    settings.setHeaderAlign(haLeft);
    settings.setFooter("end %p");
    settings.setFooterAlign(haRight);
    EXPECT_THAT(dump({}, settings),
                ElementsAre("P 1 1 1", "H 0 0 \"top\"", "F 2050 2940 \"end 1\""));
    // An empty header text takes no band even when aligned.
    settings.setHeader("");
    EXPECT_THAT(dump({"x"}, settings),
                ElementsAre("P 1 1 1", "T 0 0 \"x\"", "F 2050 2940 \"end 1\""));
}

TEST(PrintLayoutTest, ColumnsFillDownThenAcrossThenPages) {
    PrintSettings settings;
    settings.setColumnCount(2);
    // 148 slots a column: the column space of 4 mm puts column 2 at
    // (2100 - 40) / 2 + 40 = 1070.
    const auto dumped = dump(numberedLines(300), settings);
    EXPECT_EQ(pageCount(dumped), 2);
    const auto first = pageOf(dumped, 1);
    EXPECT_EQ(first.front(), "T 0 0 \"L1\"");
    EXPECT_THAT(first, Contains("T 0 2940 \"L148\""));
    EXPECT_THAT(first, Contains("T 1070 0 \"L149\""));
    EXPECT_EQ(first.back(), "T 1070 2940 \"L296\"");
    EXPECT_THAT(pageOf(dumped, 2), ElementsAre("T 0 0 \"L297\"", "T 0 20 \"L298\"",
                                               "T 0 40 \"L299\"", "T 0 60 \"L300\""));

    // The line margin adds to every step; three columns share the width.
    settings.setColumnCount(3);
    settings.setMarginLine(1);
    const auto spaced = dump(numberedLines(3), settings);
    EXPECT_THAT(spaced, ElementsAre("P 1 1 1", "T 0 0 \"L1\"", "T 0 30 \"L2\"", "T 0 60 \"L3\""));
    PrintFixedMetrics metrics;
    PageFrame frame;
    ASSERT_EQ(framePages(settings, metrics, 3, frame), LayoutResult::Done);
    EXPECT_EQ(frame.columnWidth, (2100 - 80) / 3);
}

TEST(PrintLayoutTest, HeaderAndFooterKeywords) {
    PrintSettings settings;
    settings.setFileName("a : b");
    settings.setHeaderAlign(haLeft);
    settings.setHeader("Page %p of %f");
    settings.setFooterAlign(haCenter);
    settings.setFooter("%F");
    EXPECT_THAT(dump({"x"}, settings), ElementsAre("P 1 1 1", "H 0 0 \"Page 1 of a : b\"",
                                                   "T 0 30 \"x\"", "F 1040 2940 \" b\""));

    const DateTime now = fixedNow();
    EXPECT_EQ(expandPrintKeywords("%y/%m/%d 100%%", 1, "", now), "2024/3/5 100%");
    EXPECT_EQ(expandPrintKeywords("%t|%x|end%", 7, "", now), "09:07:02|x|end%");
    // A double-byte character after "%" is copied whole.
    EXPECT_EQ(expandPrintKeywords("%\x95\x5c", 1, "", now), "\x95\x5c");
    // 表 ends in the byte of "\": it is no separator.
    EXPECT_EQ(expandPrintKeywords("%F", 1, "dir\\\x95\x5cname", now), "\x95\x5cname");
    EXPECT_EQ(expandPrintKeywords("%F", 1, "c:\\memo\\h", now), "h");
}

TEST(PrintLayoutTest, LimitedPageRangeRenumbersFromTheStartPage) {
    PrintSettings settings;
    settings.setFooterAlign(haRight);
    settings.setFooter("%p");
    settings.setRangeOption(roLimited);
    settings.setStartPage(2);
    settings.setLastPage(3);
    // The footer band leaves 147 slots a page.
    const auto dumped = dump(numberedLines(400), settings);
    EXPECT_THAT(dumped, Contains("P 1 0 0"));
    EXPECT_THAT(dumped, Contains("P 2 1 1"));
    EXPECT_THAT(dumped, Contains("P 3 2 1"));
    const auto second = pageOf(dumped, 2);
    EXPECT_EQ(second.front(), "T 0 0 \"L148\"");
    EXPECT_EQ(second.back(), "F 2090 2940 \"1\"");
}

TEST(PrintLayoutTest, PageSelectionByRangeNumberAndParity) {
    PrintSettings settings;
    PrintDocument document;
    for (int number = 1; number <= 3; ++number) document.pages.push_back(PrintPage{number, {}});
    EXPECT_THAT(printedPages(document, settings), ElementsAre(0u, 1u, 2u));
    settings.setPageOption(poEven);
    EXPECT_THAT(printedPages(document, settings), ElementsAre(1u));
    settings.setPageOption(poOdd);
    EXPECT_THAT(printedPages(document, settings), ElementsAre(0u, 2u));
    settings.setRangeOption(roLimited);
    settings.setStartPage(2);
    EXPECT_THAT(printedPages(document, settings), ElementsAre(2u));
    settings.setStartPage(5);
    EXPECT_TRUE(printedPages(document, settings).empty());
    // Pages numbered below 1 (a range starting late) are never printed.
    EXPECT_FALSE(isPagePrinted(PrintSettings{}, 1, 0));
}

TEST(PrintLayoutTest, LineRangeAndNumbersWideEnoughForLargeNumbers) {
    PrintSettings settings;
    settings.setLineNumber(true);
    settings.setLineRangeOption(roLimited);
    settings.setStartLine(3);
    settings.setLastLine(4);
    EXPECT_THAT(dump(numberedLines(10), settings),
                ElementsAre("P 1 1 1", "N 20 0 \"1:\"", "T 40 0 \"L3\"", "N 20 20 \"2:\"",
                            "T 40 20 \"L4\""));
    settings.setFirstLineNumber(99998);
    EXPECT_THAT(dump(numberedLines(10), settings),
                ElementsAre("P 1 1 1", "N 20 0 \"99998:\"", "T 80 0 \"L3\"", "N 20 20 \"99999:\"",
                            "T 80 20 \"L4\""));

    // Every piece of a wrapped line repeats its number.
    PrintSettings wrapped;
    wrapped.setLineNumber(true);
    wrapped.setMarginLeft(100);
    wrapped.setMarginRight(90);  // 200 pixels: a strip of 3 cells and 17 for text
    EXPECT_THAT(
        dump({std::string(20, 'a')}, wrapped),
        ElementsAre("P 1 1 1", "N 1010 0 \"1:\"", "T 1030 0 \"" + std::string(17, 'a') + "\"",
                    "N 1010 20 \"1:\"", "T 1030 20 \"aaa\""));
}

TEST(PrintLayoutTest, TooSmallAreasAreRefusedBeforeAnyPage) {
    PrintFixedMetrics metrics({.paperWidthMm = 200});
    PrintSettings settings;
    settings.setMarginLeft(100);
    settings.setMarginRight(100);
    PrintDocument document;
    document.pages.emplace_back();
    EXPECT_EQ(layoutPages({"x"}, settings, metrics, fixedNow(), {}, document),
              LayoutResult::TooSmall);
    EXPECT_TRUE(document.pages.empty());

    PrintFixedMetrics low({.paperHeightMm = 200});
    PrintSettings tall;
    tall.setMarginTop(100);
    tall.setMarginBottom(100);
    EXPECT_EQ(layoutPages({"x"}, tall, low, fixedNow(), {}, document), LayoutResult::TooSmall);
    // One line slot is enough.
    tall.setMarginBottom(98);
    EXPECT_EQ(layoutPages({"x", "y"}, tall, low, fixedNow(), {}, document), LayoutResult::Done);
    EXPECT_EQ(document.pages.size(), 2u);

    // An italic font loses one character of the width; a column of one
    // character then has no room.
    PrintFixedMetrics italic({.paperWidthMm = 201, .italic = true});
    EXPECT_EQ(layoutPages({"x"}, settings, italic, fixedNow(), {}, document),
              LayoutResult::TooSmall);
}

TEST(PrintLayoutTest, BordersOfThePaperCountAgainstTheMargins) {
    // 5 mm unprintable on every side: the page is 2000 x 2870 and its
    // coordinates start at the border.
    PrintFixedMetrics metrics({.borderMm = 5});
    PrintSettings settings;
    settings.setMarginLeft(20);
    settings.setMarginTop(3);
    settings.setMarginRight(10);
    PageFrame frame;
    ASSERT_EQ(framePages(settings, metrics, 1, frame), LayoutResult::Done);
    EXPECT_EQ(frame.borderLeft, 50);
    EXPECT_EQ(frame.textLeft, 150);
    EXPECT_EQ(frame.textTop, 0);
    EXPECT_EQ(frame.textRight, 1950);
    EXPECT_EQ(frame.textBottom, 2870);
    EXPECT_EQ(millimetresToPixels(10, 600), 236);
    EXPECT_EQ(millimetresToPixels(1, 300), 12);
}

TEST(PrintLayoutTest, ProgressIsToldAndCancelStopsTheJob) {
    PrintFixedMetrics metrics;
    PrintDocument document;
    std::vector<int> told;
    auto record = [&](int percent) {
        told.push_back(percent);
        return true;
    };
    ASSERT_EQ(
        layoutPages(numberedLines(101), PrintSettings{}, metrics, fixedNow(), record, document),
        LayoutResult::Done);
    EXPECT_THAT(told, ElementsAre(0, 50, 100));
    told.clear();
    ASSERT_EQ(layoutPages({"one"}, PrintSettings{}, metrics, fixedNow(), record, document),
              LayoutResult::Done);
    EXPECT_THAT(told, ElementsAre(100));

    auto cancelLater = [&](int percent) { return percent < 50; };
    EXPECT_EQ(layoutPages(numberedLines(500), PrintSettings{}, metrics, fixedNow(), cancelLater,
                          document),
              LayoutResult::Cancelled);
    EXPECT_TRUE(document.pages.empty());
}

std::vector<std::string> pieces(std::string_view line, int cells) {
    PrintFixedMetrics metrics;
    std::vector<std::string> out;
    for (std::string_view piece : wrapPrintLine(line, cells * 10, metrics)) out.emplace_back(piece);
    return out;
}

TEST(PrintLayoutTest, WrappingKeepsWordsAndCharactersWhole) {
    // After the last blank that fits; the blank stays on its piece.
    EXPECT_THAT(pieces("the quick brown fox", 12), ElementsAre("the quick ", "brown fox"));
    // A rest that already fits is not broken again.
    EXPECT_THAT(pieces("aaaaaaa bb cc", 10), ElementsAre("aaaaaaa ", "bb cc"));
    // A word wider than the width is cut at the width.
    const std::string word(300, 'w');
    const auto cut = pieces(word, 80);
    ASSERT_EQ(cut.size(), 4u);
    EXPECT_EQ(cut[0].size(), 80u);
    EXPECT_EQ(cut[3].size(), 60u);
    // Double-byte text breaks after any character, never inside one: "あいうえお".
    const std::string kana = "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8";
    EXPECT_THAT(pieces(kana, 5), ElementsAre(kana.substr(0, 4), kana.substr(4, 4), kana.substr(8)));
    // A word running on after a double-byte character breaks after that character.
    EXPECT_THAT(pieces("\x82\xa0xyzw", 4), ElementsAre("\x82\xa0", "xyzw"));
    // A character wider than the width still makes a piece of its own, and a
    // lone lead byte at the end is one character.
    EXPECT_THAT(pieces(kana.substr(0, 4), 1), ElementsAre(kana.substr(0, 2), kana.substr(2, 2)));
    EXPECT_THAT(pieces("ab\x82", 2), ElementsAre("ab", "\x82"));
    EXPECT_THAT(pieces("", 3), ElementsAre(""));
}

TEST(PrintLayoutTest, TabsExpandToEightColumnStops) {
    EXPECT_EQ(expandPrintTabs("a\tb"), "a       b");
    EXPECT_EQ(expandPrintTabs("\t\x82\xa0\tz"), std::string(8, ' ') + "\x82\xa0" + "      z");
    EXPECT_THAT(dump({"\tx"}, PrintSettings{}), ElementsAre("P 1 1 1", "T 0 0 \"        x\""));
}

// With one cell per byte and words shorter than the width, the pieces are
// those of GNU fold -s.
TEST(PrintLayoutTest, WrappingMatchesFoldOnWordText) {
    std::mt19937 random(22);
    std::uniform_int_distribution<int> wordLength(1, 11);
    std::uniform_int_distribution<int> letter('a', 'z');
    std::vector<std::string> lines;
    for (int l = 0; l < 200; ++l) {
        std::string line;
        const int words = 1 + l % 23;
        for (int w = 0; w < words; ++w) {
            if (w) line += ' ';
            const int length = wordLength(random);
            for (int c = 0; c < length; ++c) line += static_cast<char>(letter(random));
        }
        lines.push_back(line);
    }
    test::TempFolder folder;
    {
        std::ofstream out(folder.osPath("words.txt"));
        for (const std::string& line : lines) out << line << '\n';
    }
    const std::string command = "fold -s -w 37 '" + folder.osPath("words.txt").string() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string folded;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) folded.append(buffer, n);
    ASSERT_EQ(::pclose(pipe), 0);

    std::string ours;
    for (const std::string& line : lines)
        for (const std::string& piece : pieces(line, 37)) ours += piece + "\n";
    EXPECT_EQ(ours, folded);
}

}  // namespace
}  // namespace zel
