// The keyword test and the line filter: modes, inversion, numbering, the
// Shift_JIS fold and byte-wise matching across character boundaries.

#include <gtest/gtest.h>

#include <random>

#include "text/LineMatcher.h"
#include "text/Sjis.h"

namespace zel {
namespace {

const std::string kFullAbcSmall = "\x82\x81\x82\x82\x82\x83";    // ａｂｃ
const std::string kFullAbcCapital = "\x82\x60\x82\x61\x82\x62";  // ＡＢＣ
const std::string kKanaA = "\x83\x41";                           // ア: its second byte is "A"

TEST(LineFilter, ModesInversionNumberingAndMissingLists) {
    const Lines source{"abc", "xabc", "ab"};
    Lines out;
    EXPECT_EQ(grepTSL_(&source, "abc", &out, GrepHead, false, false, false), 1);
    EXPECT_EQ(out, (Lines{"abc"}));
    out.clear();
    EXPECT_EQ(grepTSL_(&source, "abc", &out, GrepTail, false, false, false), 2);
    EXPECT_EQ(out, (Lines{"abc", "xabc"}));
    out.clear();
    EXPECT_EQ(grepTSL_(&source, "", &out, GrepContains, false, false, false), 0);
    EXPECT_EQ(grepTSL_(&source, "", &out, GrepContains, true, false, false), 3);
    EXPECT_EQ(out, source);
    // The destination is not cleared; numbers count source lines from 1.
    EXPECT_EQ(grepTSL_(&source, "abc", &out, GrepContains, false, true, false), 2);
    EXPECT_EQ(out, (Lines{"abc", "xabc", "ab", "      1: abc", "      2: xabc"}));
    EXPECT_EQ(grepTSL_(&source, "ab", &out, GrepHead, true, true, false), 1);
    EXPECT_EQ(out.back(), "      2: xabc");

    EXPECT_EQ(grepTSL_(nullptr, "abc", &out, GrepContains, false, false, false), -9);
    EXPECT_EQ(grepTSL_(&source, "abc", nullptr, GrepContains, false, false, false), -8);
    EXPECT_EQ(out.size(), 6u);
}

TEST(LineFilter, AListFilteredIntoItselfReadsOnlyItsOwnLines) {
    Lines lines{"a1", "b", "a2"};
    EXPECT_EQ(grepTSL_(&lines, "a", &lines, GrepContains, false, true, false), 2);
    EXPECT_EQ(lines, (Lines{"a1", "b", "a2", "      1: a1", "      3: a2"}));
}

TEST(LineMatch, HeadAndTailNeedTheWholeKeywordAndAcceptAnEmptyOne) {
    EXPECT_FALSE(matchLine_("ab", GrepHead, "abc", false));
    EXPECT_FALSE(matchLine_("bc", GrepTail, "abc", false));
    EXPECT_TRUE(matchLine_("", GrepHead, "", false));
    EXPECT_TRUE(matchLine_("x", GrepTail, "", true));
    EXPECT_FALSE(matchLine_("x", GrepContains, "", false));
    EXPECT_TRUE(matchLine_("abcabc", GrepTail, "cabc", false));
    EXPECT_FALSE(matchLine_("ABCx", GrepHead, "abc", false));
    EXPECT_TRUE(matchLine_("ABCx", GrepHead, "abc", true));
    EXPECT_TRUE(matchLine_("x" + kFullAbcCapital, GrepTail, kFullAbcSmall, true));
}

TEST(LineMatch, FoldsAsciiAndFullWidthLettersButNeverKana) {
    EXPECT_TRUE(matchLine_("xx abc", GrepContains, "ABC", true));
    EXPECT_FALSE(matchLine_("xx abc", GrepContains, "ABC", false));
    EXPECT_TRUE(matchLine_(kFullAbcCapital, GrepContains, kFullAbcSmall, true));
    EXPECT_FALSE(matchLine_(kFullAbcCapital, GrepContains, kFullAbcSmall, false));
    // Greek Α/α and Cyrillic А/а, Ю/ю on both sides of the gap at 84 7F.
    EXPECT_TRUE(matchLine_("\x83\x9F", GrepContains, "\x83\xBF", true));
    EXPECT_TRUE(matchLine_("\x84\x40\x84\x5F", GrepContains, "\x84\x70\x84\x90", true));
    // ア is 83 41: byte-wise "A" is inside it, but folding leaves it alone.
    EXPECT_TRUE(matchLine_(kKanaA, GrepContains, "A", false));
    EXPECT_FALSE(matchLine_(kKanaA, GrepContains, "a", true));
    EXPECT_FALSE(matchLine_(kKanaA, GrepContains, "A", true));
}

TEST(LineMatch, AKeywordStraddlingTwoCharactersIsFound) {
    const std::string aI = "\x83\x41\x83\x43";  // アイ
    EXPECT_TRUE(matchLine_(aI, GrepContains, "\x41\x83", false));
    // Folded, the keyword's "A" becomes "a" while the trail byte 41 stays.
    EXPECT_FALSE(matchLine_(aI, GrepContains, "\x41\x83", true));
    EXPECT_TRUE(matchLine_("\x83\x7E\x83\x80", GrepContains, "\x7E\x83", true));  // ミム
}

// The anchored search against the plain definition, on lines crowded with
// the bytes where the fold is subtle: capitals and their small forms in all
// four rows, kana whose trail bytes look like letters, and a lone lead byte.
TEST(LineMatch, AgreesWithFoldThenSearchOnRandomShiftJisLines) {
    const std::vector<std::string> pieces{
        "A",        "a",        "Z",        "p",        "P",        "q",        " ",
        "\x82\x60", "\x82\x81", "\x82\x79", "\x82\x9A", "\x83\x9F", "\x83\xBF", "\x84\x40",
        "\x84\x70", "\x84\x4F", "\x84\x80", "\x84\x60", "\x84\x91", "\x83\x41", "\x83\x61",
        "\x83\x51", "\x88\x9F", "\x82\xA0", "\r"};
    std::mt19937 random(7);
    auto text = [&](int most) {
        std::string s;
        for (int n = static_cast<int>(random() % most); n > 0; --n)
            s += pieces[random() % pieces.size()];
        if (random() % 8 == 0) s += '\x82';  // a lead byte at the very end
        return s;
    };
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string line = text(round % 2 ? 12 : 48);
        std::string keyword = text(3);
        if (random() % 3 == 0 && line.size() > 2) {
            const std::size_t at = random() % (line.size() - 1);
            keyword = line.substr(at, 1 + random() % 3);  // often straddling
        }
        if (keyword.empty()) continue;
        for (bool ignoreCase : {false, true}) {
            const std::string hay = ignoreCase ? lowerText(line) : line;
            const std::string needle = ignoreCase ? lowerText(keyword) : keyword;
            const std::size_t expected = hay.find(needle);
            const LineMatcher matcher(keyword, ignoreCase);
            ASSERT_EQ(matcher.find(line), expected)
                << "line " << testing::PrintToString(line) << " keyword "
                << testing::PrintToString(keyword) << " ignoreCase " << ignoreCase;
            found += expected != std::string::npos;
            // Resuming at a character boundary that is given finds what a
            // search from the start would find from there.
            std::size_t boundary = 0;
            for (std::size_t steps = random() % 8; steps > 0 && boundary < line.size(); --steps)
                boundary += charLength(line, boundary);
            ASSERT_EQ(matcher.find(line, boundary, boundary), hay.find(needle, boundary))
                << "line " << testing::PrintToString(line) << " from " << boundary;
        }
    }
    EXPECT_GT(found, 2000);  // the rounds did exercise hits, not only misses
}

TEST(LineReplace, OnlyAtCharacterStartsAndWithoutRescanning) {
    std::string text = kKanaA + "A";
    EXPECT_TRUE(LineMatcher("A", false).replaceAll(text, "b"));
    EXPECT_EQ(text, kKanaA + "b");

    std::string straddled = "\x83\x41\x83\x43";
    EXPECT_FALSE(LineMatcher("\x41\x83", false).replaceAll(straddled, "x"));
    EXPECT_EQ(straddled, "\x83\x41\x83\x43");

    std::string grown = "a-a";
    EXPECT_TRUE(LineMatcher("a", false).replaceAll(grown, "aa"));
    EXPECT_EQ(grown, "aa-aa");
}

TEST(LineReplace, IgnoringCaseKeepsTheCaseOfTheRest) {
    std::string text = "ABC Abc abc Q";
    EXPECT_TRUE(LineMatcher("abc", true).replaceAll(text, "xyz"));
    EXPECT_EQ(text, "xyz xyz xyz Q");
    text = "ABC Abc abc Q";
    EXPECT_TRUE(LineMatcher("abc", true).replaceAll(text, ""));
    EXPECT_EQ(text, "   Q");
    text = "X" + kFullAbcCapital + "y";
    EXPECT_TRUE(LineMatcher(kFullAbcSmall, true).replaceAll(text, "-"));
    EXPECT_EQ(text, "X-y");
    std::string none = "nothing";
    EXPECT_FALSE(LineMatcher("", true).replaceAll(none, "x"));
    EXPECT_FALSE(LineMatcher("zz", true).replaceAll(none, "x"));
}

TEST(NumberPadding, WidthIsAMinimum) {
    std::string out;
    appendPadded(out, 3, 6, '0');
    appendNumberedLine(out, 12345678, "x");
    appendPadded(out, 0, 0, ' ');
    EXPECT_EQ(out, "00000312345678: x0");
}

}  // namespace
}  // namespace zel
