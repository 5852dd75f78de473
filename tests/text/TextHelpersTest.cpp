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
