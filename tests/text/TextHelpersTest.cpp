#include "text/TextHelpers.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

using Cells = std::vector<std::string>;

TEST(Quotes, StripRemovesOneLayerOnlyFromAQuotedStart) {
    EXPECT_EQ(stripQuotes("\"abc\""), "abc");
    EXPECT_EQ(stripQuotes("\"abc"), "abc");
    EXPECT_EQ(stripQuotes("abc\""), "abc\"");
    EXPECT_EQ(stripQuotes("\"\""), "");
    EXPECT_EQ(stripQuotes("\""), "");
    EXPECT_EQ(stripQuotes("\"\"x\"\""), "\"x\"");
    EXPECT_EQ(stripQuotes(""), "");
}

TEST(Quotes, WrapAddsOnlyMissingQuotes) {
    EXPECT_EQ(wrapQuotes("abc"), "\"abc\"");
    EXPECT_EQ(wrapQuotes("abc\""), "\"abc\"");
    EXPECT_EQ(wrapQuotes("\"abc"), "\"abc\"");
    EXPECT_EQ(wrapQuotes(""), "\"\"");
    EXPECT_EQ(wrapQuotes("a", '\''), "'a'");
}

TEST(Quotes, SecondByteOfACharacterIsNotAQuote) {
    // ソ is 83 5C: its second byte is a backslash.
    EXPECT_EQ(stripQuotes("\\a\x83\x5C", '\\'), "a\x83\x5C");
    EXPECT_EQ(wrapQuotes("a\x83\x5C", '\\'), "\\a\x83\x5C\\");
    EXPECT_EQ(wrapQuotes("a\x83\x5C\\", '\\'), "\\a\x83\x5C\\");
}

TEST(Escaping, MarkupRoundTripsEveryText) {
    for (std::string text :
         {"", "plain", "a<b>&\"c\"", "&amp;", "&lt;&nbsp;", "\x83\x41&\x83\x5C"}) {
        EXPECT_EQ(unescapeMarkup(escapeMarkup(text)), text) << text;
    }
    EXPECT_EQ(escapeMarkup("<a href=\"x\">&</a>"), "&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;");
}

TEST(Escaping, UnescapeIgnoresCaseAndReplacesAmpLast) {
    EXPECT_EQ(unescapeMarkup("&NBSP;x"), " x");
    EXPECT_EQ(unescapeMarkup("&Lt;&GT;&QuOt;"), "<>\"");
    EXPECT_EQ(unescapeMarkup("&amp;lt;"), "&lt;");
    EXPECT_EQ(unescapeMarkup("&#65;"), "&#65;");
}

TEST(Escaping, HtmlKeepsQuotesAndProtectsOnlyTheFirstBlank) {
    EXPECT_EQ(escapeHTML("  a"), "&nbsp; a");
    EXPECT_EQ(escapeHTML("\"a & b\" <c>"), "\"a &amp; b\" &lt;c&gt;");
    EXPECT_EQ(escapeHTML(""), "");
}

TEST(FileNames, SafeFileNameReplacesReservedCharacters) {
    EXPECT_EQ(safeFileName("a/b:c"), "a_b_c");
    EXPECT_EQ(safeFileName("\\/:,;*?\"<>|"), "___________");
    EXPECT_EQ(safeFileName("notes.old v2"), "notes.old v2");
    // ソ (83 5C) and 表 (95 5C) keep their second byte.
    EXPECT_EQ(safeFileName("\x83\x5C\x95\x5C"), "\x83\x5C\x95\x5C");
}

TEST(FileNames, SafeFileNameNeverLeavesThePlannedFolder) {
    EXPECT_EQ(safeFileName(".."), "__");
    EXPECT_EQ(safeFileName("."), "_");
    EXPECT_EQ(safeFileName("../../etc/passwd"), ".._.._etc_passwd");
    EXPECT_EQ(safeFileName("a\nb\tc\x7F"), "a_b_c_");
    // A lead byte cannot hide a separator that is no valid second byte.
    EXPECT_EQ(safeFileName("\x81/x"), "\x81_x");
    EXPECT_EQ(safeFileName("\x81\x0Ax"), "\x81_x");
}

TEST(FileNames, UrlToFileNameFollowsTheAddressShape) {
    EXPECT_EQ(urlToFileName(" \t"), "space.html");
    EXPECT_EQ(urlToFileName("http://host/a/b.html"), "httphostab.html");
    EXPECT_EQ(urlToFileName("http://host/"), "httphostindex.html");
    EXPECT_EQ(urlToFileName("http://host.org"), "httphost.org_index.html");
    EXPECT_EQ(urlToFileName("http://host.JP"), "httphost.JP_index.html");
    EXPECT_EQ(urlToFileName("http://host/doc.pdf"), "httphostdoc.pdf");
    EXPECT_EQ(urlToFileName("http://host/doc"), "httphostdoc");
    EXPECT_EQ(urlToFileName("http://host.jp/x.htm"), "httphost.jpx.htm");
    EXPECT_EQ(urlToFileName("http://host."), "httphost._index.html");
    EXPECT_EQ(urlToFileName("http://h/q?a=1&b=<2>"), "httphq?a=1&b=2");
    EXPECT_EQ(urlToFileName("http://h/A.Z"), "httphA.Z");
}

TEST(FileNames, UrlToFileNameNeverYieldsAPathOrAFolderName) {
    EXPECT_EQ(urlToFileName(".."), ".._index.html");
    EXPECT_EQ(urlToFileName(":\\"), "space.html");
    EXPECT_EQ(urlToFileName("http://h/a\x01.txt"), "httpha_.txt");
    EXPECT_EQ(urlToFileName("http://h/\x81/x.txt"), "httph\x81x.txt");
}

TEST(Splitting, SplitTextTrimsAllButTheLastCell) {
    EXPECT_EQ(splitText("a,,b", ","), (Cells{"a", "", "b"}));
    EXPECT_EQ(splitText("a,b,", ","), (Cells{"a", "b"}));
    EXPECT_EQ(splitText(" a ; b ", ";,"), (Cells{"a", " b "}));
    EXPECT_EQ(splitText("", ","), Cells{});
    EXPECT_EQ(splitText("\"a,b\"", ","), (Cells{"\"a", "b\""}));
}

TEST(Splitting, SplitQuotedKeepsQuotedSectionsTogether) {
    EXPECT_EQ(splitQuoted("a,\"b,c\",d", ","), (Cells{"a", "\"b,c\"", "d"}));
    EXPECT_EQ(splitQuoted("\"a\"\"b\",c", ","), (Cells{"\"a\"\"b\"", "c"}));
    EXPECT_EQ(splitQuoted("x='1 2' y=\"it's\"", " "), (Cells{"x='1 2'", "y=\"it's\""}));
    EXPECT_EQ(splitQuoted("\"open, never closed", ","), Cells{"\"open, never closed"});
}

TEST(Splitting, SecondBytesAreNeverDelimiters) {
    // ソ 83 5C, ポ 83 7C, ア 83 40 carry "\", "|" and "@" as second bytes.
    EXPECT_EQ(splitText("\x83\x5Cx\\y", "\\"), (Cells{"\x83\x5Cx", "y"}));
    EXPECT_EQ(splitText("\x83\x7C|\x83\x40@z", "|@"), (Cells{"\x83\x7C", "\x83\x40", "z"}));
    EXPECT_EQ(splitQuoted("'\x83\x5C'\\b", "\\"), (Cells{"'\x83\x5C'", "b"}));
}

}  // namespace
}  // namespace zel

namespace zel {
namespace {

TEST(Words, SplitFirstWordStopsAtTheFirstBlankOrTab) {
    // ★ is 81 9A.
    EXPECT_EQ(splitFirstWord("\x81\x9A 20060301 memo"),
              (std::pair<std::string, std::string>{"\x81\x9A", "20060301 memo"}));
    EXPECT_EQ(splitFirstWord("word\t rest  "),
              (std::pair<std::string, std::string>{"word", "rest"}));
    EXPECT_EQ(splitFirstWord("word "), (std::pair<std::string, std::string>{"word", ""}));
    EXPECT_EQ(splitFirstWord(" lead"), (std::pair<std::string, std::string>{"", "lead"}));
    EXPECT_EQ(splitFirstWord("alone"), (std::pair<std::string, std::string>{"alone", ""}));
}

TEST(Words, CountOccurrencesIsNonOverlappingOnCharacterBoundaries) {
    EXPECT_EQ(countOccurrences("aaaa", "aa"), 2u);
    EXPECT_EQ(countOccurrences("", "a"), 0u);
    EXPECT_EQ(countOccurrences("abc", ""), 0u);
    // 83 41 83 41: "A" (41) only appears as a second byte.
    EXPECT_EQ(countOccurrences("\x83\x41\x83\x41", "A"), 0u);
}

TEST(Digits, ClassifyAndCollect) {
    EXPECT_TRUE(isAllDigits(""));
    EXPECT_TRUE(isAllDigits("0123"));
    EXPECT_FALSE(isAllDigits("12a"));
    EXPECT_FALSE(containsDigit(""));
    EXPECT_TRUE(containsDigit("memo7"));
    EXPECT_EQ(digitsOnly("2006/03-01 x"), "20060301");
}

TEST(Digits, IntegersAreReadFromTheWholeTrimmedText) {
    EXPECT_EQ(readInteger(" 42 "), 42);
    EXPECT_EQ(readInteger("-7"), -7);
    EXPECT_EQ(readInteger("+7"), 7);
    for (const char* refused : {"", " ", "-", "+", "12a", "1 2", "0x10", "99999999999999999999"})
        EXPECT_FALSE(readInteger(refused)) << refused;
}

TEST(Digits, CountersCarryAndBorrowWithinTheLastRun) {
    EXPECT_EQ(incrementDigits("memo19"), "memo20");
    EXPECT_EQ(incrementDigits("x9y"), "x0y");
    EXPECT_EQ(incrementDigits("2006/1/31"), "2006/1/32");
    EXPECT_EQ(decrementDigits("memo2"), "memo1");
    EXPECT_EQ(decrementDigits("memo10"), "memo09");
    EXPECT_EQ(decrementDigits("memo0"), "memo9");
    EXPECT_EQ(decrementDigits("00"), "99");
    EXPECT_EQ(decrementDigits("a0b"), "a9b");
    EXPECT_EQ(decrementDigits("none"), "none");
}

TEST(Digits, TensLeaveTheLastDigitAlone) {
    EXPECT_EQ(incrementTens("memo15"), "memo25");
    EXPECT_EQ(incrementTens("memo95"), "memo05");
    EXPECT_EQ(incrementTens("1995"), "2005");
    EXPECT_EQ(incrementTens("memo5"), "memo5");
    EXPECT_EQ(incrementTens("5memo"), "5memo");
    EXPECT_EQ(incrementTens("a1b5"), "a2b5");
    EXPECT_EQ(decrementTens("memo25"), "memo15");
    EXPECT_EQ(decrementTens("1005"), "0995");
}

TEST(Cutting, HeadAndTailStopAtDelimiters) {
    const std::string delimiters = " \\/:.\t";
    EXPECT_EQ(cutHead("C:\\memo\\a.txt", delimiters), ":\\memo\\a.txt");
    EXPECT_EQ(cutHead(":\\memo\\a.txt", delimiters), "\\memo\\a.txt");
    EXPECT_EQ(cutHead("abcdef", delimiters), "def");
    EXPECT_EQ(cutHead("abc", delimiters), "bc");
    EXPECT_EQ(cutHead("ab", delimiters), "ab");
    EXPECT_EQ(cutHead("   ", delimiters), "   ");
    EXPECT_EQ(cutTail("C:\\memo\\a.txt", delimiters), "C:\\memo\\a.");
    EXPECT_EQ(cutTail("C:\\memo\\a.", delimiters), "C:\\memo\\");
    EXPECT_EQ(cutTail("abcdef", delimiters), "ab");
}

TEST(Cutting, HeadAndTailNeverSplitACharacter) {
    // ソ 83 5C ends in a backslash byte, which is no delimiter.
    EXPECT_EQ(cutHead("x\x83\x5C\x83\x5Cyz", "\\"), "yz");
    EXPECT_EQ(cutTail("ab\\\x83\x5C\x83\x5C", "\\"), "ab\\");
    EXPECT_EQ(cutHead("\x83\x41\x83\x41", "\\"), "\x83\x41");
}

TEST(Cutting, FirstAndLastCharacters) {
    EXPECT_EQ(cutFirstChar("a"), "");
    EXPECT_EQ(cutFirstChar("\x83\x41z"), "z");
    EXPECT_EQ(cutFirstChars("\x83\x41"
                            "bcd",
                            2),
              "cd");
    EXPECT_EQ(cutFirstChars("abc", 3), "");
    EXPECT_EQ(cutFirstChars("abc", 0), "abc");
    EXPECT_EQ(cutLastChar("a"), "");
    EXPECT_EQ(cutLastChar("ab"), "a");
    EXPECT_EQ(cutLastChar("a\x83\x5C"), "a");
    // A lone lead byte at the end is one character of its own.
    EXPECT_EQ(cutLastChar("\x83\x41\x83"), "\x83\x41");
}

}  // namespace
}  // namespace zel
