// Template expansion, safe addresses and sizes, file addresses, CSV tables
// and the node body, on their own.

#include "export/HtmlPieces.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "export/ExportTestSupport.h"

namespace zel {
namespace {

using test::NodeSpec;
using test::PageFixture;
using test::pageLines;
using ::testing::ElementsAre;

TEST(ExpandTemplateLine, PlaceholdersInAnyCaseInOnePass) {
    const PageContext context{"diary", true, test::fixedNow()};
    const std::string node = "n1";
    EXPECT_EQ(expandTemplateLine("<b>%node.name%</b> of %Holder.Name%", context, &node),
              "<b>n1</b> of diary");
    EXPECT_EQ(expandTemplateLine("%DATE% %time%", context, &node), "2024/03/05 14:07:09");
    // Without a node its placeholder stays, and so do unknown ones and lone "%".
    EXPECT_EQ(expandTemplateLine("%NODE.NAME% 100% %X% %%DATE%", context, nullptr),
              "%NODE.NAME% 100% %X% %2024/03/05");
    const PageContext noHolder{"", false, test::fixedNow()};
    EXPECT_EQ(expandTemplateLine("%HOLDER.NAME%", noHolder, nullptr), "%HOLDER.NAME%");
}

TEST(ExpandTemplateLine, SubstitutedNamesAreEscapedAndNeverExpandedAgain) {
    const PageContext context{"%DATE%<script>", true, test::fixedNow()};
    const std::string node = "%HOLDER.NAME%\"&";
    EXPECT_EQ(expandTemplateLine("[%HOLDER.NAME%] [%NODE.NAME%]", context, &node),
              "[%DATE%&lt;script&gt;] [%HOLDER.NAME%&quot;&amp;]");
}

TEST(SafeAddress, ScriptSchemesBecomeAnAnchorEverythingElseIsEscaped) {
    for (std::string_view bad : {"javascript:alert(1)", "  JavaScript:x", "java\tscript:x",
                                 "vbscript:msgbox", "\x01javascript:x"})
        EXPECT_EQ(safeAddress(bad), "#") << bad;
    EXPECT_EQ(safeAddress("http://e.x/?a=1&b=\"2\""), "http://e.x/?a=1&amp;b=&quot;2&quot;");
    // An entity does not sneak a colon past the test: "&" is escaped itself.
    EXPECT_EQ(safeAddress("javascript&#58;x"), "javascript&amp;#58;x");
    EXPECT_EQ(safeAddress("notes/javascript:x"), "notes/javascript:x");
}

TEST(DimensionValue, OnlyDigitsWithAnOptionalPercent) {
    EXPECT_EQ(dimensionValue("100"), "100");
    EXPECT_EQ(dimensionValue("50%"), "50%");
    for (std::string_view bad : {"", "%", "10 onload=x", "1e3", "-5", "\"7\""})
        EXPECT_EQ(dimensionValue(bad), "") << bad;
}

TEST(FileAddress, DrivesBecomeFileAddressesAndOnlyRealBackslashesTurn) {
    EXPECT_EQ(fileAddress("C:\\dir\\a.jpg"), "file:///C|/dir/a.jpg");
    EXPECT_EQ(fileAddress(".\\img\\b.png"), "./img/b.png");
    EXPECT_EQ(fileAddress("/home/u/c.png"), "/home/u/c.png");
    // 表 is 95 5C: its second byte is not a separator.
    EXPECT_EQ(fileAddress("D:\\\x95\x5C\\x.jpg"), "file:///D|/\x95\x5C/x.jpg");
    EXPECT_EQ(fileAddress("C:"), "C:");
}

TEST(CsvTable, CellsTrimmedEmptyOnesAsSpacesTrailingOneDropped) {
    const Lines lines = pageLines([](PageSink& sink) {
        putCsvTable(sink, {"a,,b,", " x , <y> "}, false);
    });
    EXPECT_THAT(lines,
                ElementsAre("<table BORDER>", "  <tr>", "    <td>a</td>", "    <td>&nbsp;</td>",
                            "    <td>b</td>", "  </tr>", "  <tr>", "    <td>x</td>",
                            "    <td>&lt;y&gt;</td>", "  </tr>", "</table>"));
    // A "," that is the second byte of a character does not split; raw cells
    // stay as written.
    const Lines raw = pageLines([](PageSink& sink) { putCsvTable(sink, {"\x81\x2C<i>,z"}, true); });
    EXPECT_THAT(raw, ElementsAre("<table BORDER>", "  <tr>", "    <td>\x81\x2C<i></td>",
                                 "    <td>z</td>", "  </tr>", "</table>"));
}

class NodeBody : public ::testing::Test {
  protected:
    Lines body(const NodeSpec& spec, bool comments = true) {
        MemoHolder& holder = fixture.holder("h", {spec});
        const PageNode entry{holder.at_(0), spec.name, -1};
        return pageLines([&](PageSink& sink) { putNodeBody(sink, entry, comments); });
    }
    PageFixture fixture;
};

TEST_F(NodeBody, MemoAndCommentEscapedOrRawWhenFlaggedAsHTML) {
    EXPECT_THAT(body({"n", {"  a<b", "x"}, {}, {"c&d"}}),
                ElementsAre("&nbsp; a&lt;b<BR>", "x<BR>", "<blockquote>", "<HR>", "c&amp;d<BR>",
                            "</blockquote>"));
    EXPECT_THAT(body({"n",
                      {"<i>m</i>"},
                      {{"FlagHTMLMemoAddBR", "\"false\""}, {"FlagHTMLCommentAddBR", "\"false\""}},
                      {"<u>c</u>"}}),
                ElementsAre("<i>m</i>", "<u>c</u>"));
    // Comments off, or a comment of blanks only: no block.
    EXPECT_THAT(body({"n", {"m"}, {}, {"c"}}, false), ElementsAre("m<BR>"));
    EXPECT_THAT(body({"n", {"m"}, {}, {" ", ""}}), ElementsAre("m<BR>"));
}

TEST_F(NodeBody, WebAddressImageAndCsvNodes) {
    EXPECT_THAT(body({"a<b",
                      {"ignored"},
                      {{"Content-Transfer-Encoding", "\"URL\""}, {"Filename", "\"http://e.x/\""}}}),
                ElementsAre("<a href=\"http://e.x/\">a&lt;b</a>"));
    EXPECT_THAT(body({"pic",
                      {},
                      {{"Content-Type", "\"image/png\""},
                       {"Filename", "\"C:\\x.png\""},
                       {"Width", "\"100\""},
                       {"Height", "\"1 onerror=alert(1)\""},
                       {"Link", "\"javascript:alert(2)\""}}}),
                ElementsAre("<a href=\"#\"><img SRC=\"file:///C|/x.png\" Width=100 ></a>"));
    EXPECT_THAT(body({"pic",
                      {},
                      {{"Content-Type", "\"image/gif\""},
                       {"Filename", "\"b.gif\""},
                       {"Height", "\"20%\""},
                       {"Link", "\"http://e.x/\""}}}),
                ElementsAre("<a href=\"http://e.x/\"><img SRC=\"b.gif\"  Height=20%></a>"));
    EXPECT_THAT(body({"t", {"1,2"}, {{"Content-Type", "\"text/csv\""}}}),
                ElementsAre("<table BORDER>", "  <tr>", "    <td>1</td>", "    <td>2</td>",
                            "  </tr>", "</table>"));
}

TEST(PageTemplates, FirstOfEachTrimmedNameAndStarNodesAreNeverContent) {
    PageFixture fixture;
    MemoHolder& holder = fixture.holder("h", {});
    holder.putField_("FlagSameName", "\"true\"");
    for (const NodeSpec& spec :
         std::vector<NodeSpec>{{" *HTML HEAD ", {"first"}},
                               {"a"},
                               {"*HTML HEAD", {"second"}},
                               {"*HTML", {}, {{"FlagHTMLComment", "\"false\""}}},
                               {"*unknown"},
                               {"*html body"},
                               {"b"}})
        PageFixture::add(holder, spec);
    PageNodes content;
    const PageTemplates templates(PageFixture::listed(holder), &content);
    ASSERT_NE(templates.get(PageTemplate::Head), nullptr);
    EXPECT_THAT(templates.get(PageTemplate::Head)->memo, ElementsAre("first"));
    EXPECT_EQ(templates.get(PageTemplate::Body), nullptr);  // names match exactly
    EXPECT_FALSE(templates.commentsOn());
    ASSERT_EQ(content.size(), 2u);
    EXPECT_EQ(content[0].name, "a");
    EXPECT_EQ(content[1].name, "b");
}

}  // namespace
}  // namespace zel
