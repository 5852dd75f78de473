// The holder, node and holder-list pages: golden pages byte for byte, the
// choice of templates, and pages made from hostile names and fields read back
// by a real HTML parser.

#include "export/HtmlPages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

#include "export/CalendarPages.h"
#include "export/ExportTestSupport.h"
#include "export/HtmlNodes.h"
#include "platform/SafeFileWriter.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

using test::NodeSpec;
using test::PageFixture;
using test::pageLines;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

std::string holderPageText(const MemoHolder& holder, const PageNodes& nodes) {
    return linesText(
        pageLines([&](PageSink& sink) { writeHolderPage(sink, holder, nodes, test::fixedNow()); }));
}

class HolderPage : public ::testing::Test {
  protected:
    MemoHolder& plainHolder() {
        return fixture.holder("h", {{"a", {"  a<b"}}, {"b", {}, {}, {"c&d"}}});
    }
    PageFixture fixture;
};

TEST_F(HolderPage, CheckListHolderWithEveryKindOfBodyMatchesTheGoldenPage) {
    MemoHolder& holder = fixture.holder(
        "h", {{"a", {"  a<b"}},
              {"b", {}, {}, {"c&d"}},
              {"pic",
               {},
               {{"Content-Type", "\"image/jpeg\""},
                {"Filename", "\"C:\\x.jpg\""},
                {"Width", "\"100\""}}},
              {"tbl", {"a,,b,", "x , y"}, {{"Content-Type", "\"text/csv\""}}},
              {"site",
               {},
               {{"Content-Transfer-Encoding", "\"URL\""}, {"Filename", "\"http://e.x/?a=1&b=2\""}}},
              {"*HTML BODY FOOTER", {"<p>%HOLDER.NAME% %node.name% %DATE% %TIME%</p>"}},
              {"*ignored", {"never shown"}}});
    holder.putField_("ModeNodesMngr", "\"CheckListBox\"");
    EXPECT_EQ(holderPageText(holder, PageFixture::listed(holder)),
              test::goldenPage("holder_page.html"));
}

TEST_F(HolderPage, TreeHolderNestsItsContentsAndPicksHeadersByLevel) {
    MemoHolder& holder =
        fixture.holder("t&t", {{"*HTML HEAD", {"  <TITLE>%HOLDER.NAME% pages</TITLE>"}},
                               {"*HTML BODY", {" bgcolor=white "}},
                               {"P", {"p"}, {{"UID", "\"1\""}}},
                               {"D", {"d"}},
                               {"C", {"c"}, {{"ParentNodeID", "\"1\""}}},
                               {"*HTML NODE HEADER LEVEL=1", {"<h2>%node.name%</h2>"}},
                               {"*HTML NODE FOOTER", {"<!-- end %NODE.NAME% -->"}}});
    holder.putField_("ModeNodesMngr", "\"TreeView\"");
    const PageNodes nodes = pageNodesOf(holder);
    EXPECT_EQ(holderPageText(holder, nodes), test::goldenPage("holder_tree.html"));

    // The holder's A choice wins over the level for every node.
    PageFixture::add(holder, {"*HTML NODE HEADER A", {"<h1>%NODE.NAME%</h1>"}});
    holder.putField_("HTML_HEADER", "\"A\"");
    const std::string chosen = holderPageText(holder, pageNodesOf(holder));
    for (std::string_view name : {"P", "C", "D"})
        EXPECT_THAT(chosen, HasSubstr("<h1>" + std::string(name) + "</h1>\r\n<a name="));
    EXPECT_THAT(chosen, Not(HasSubstr("<h2>")));
    // A "B" choice without its template falls back to the level and plain ones.
    holder.putField_("HTML_HEADER", "\"B\"");
    EXPECT_THAT(holderPageText(holder, pageNodesOf(holder)), HasSubstr("<h2>C</h2>"));
}

TEST_F(HolderPage, CommentsCanBeSwitchedOffByTheOptionsNode) {
    MemoHolder& holder = plainHolder();
    PageFixture::add(holder, {"*HTML", {}, {{"FlagHTMLComment", "\"false\""}}});
    const std::string page = holderPageText(holder, PageFixture::listed(holder));
    EXPECT_THAT(page, Not(HasSubstr("blockquote>\r\n<HR>")));
    EXPECT_THAT(page, Not(HasSubstr("c&amp;d")));
}

TEST_F(HolderPage, GlossaryAndNumberHoldersGiveEmptyPages) {
    MemoHolder& holder = plainHolder();
    for (std::string_view layout : {"\"Glossary\"", "\"Number\""}) {
        holder.putField_("NewNodeName", layout);
        EXPECT_THAT(pageLines([&](PageSink& sink) {
                        writeHolderPage(sink, holder, PageFixture::listed(holder),
                                        test::fixedNow());
                    }),
                    IsEmpty());
    }
    holder.putField_("NewNodeName", "\"Daily\"");
    EXPECT_THAT(holderPageText(holder, PageFixture::listed(holder)), HasSubstr("<HTML>"));
}

TEST_F(HolderPage, WebAddressTemplateReplacesTheSectionButNotTheContentsLine) {
    MemoHolder& holder = fixture.holder(
        "h",
        {{"a", {"x"}},
         {"site", {}, {{"Content-Transfer-Encoding", "\"URL\""}, {"Filename", "\"http://e.x/\""}}},
         {"*HTML URL MemoNode", {"<li>%NODE.NAME%</li>"}}});
    const std::string page = holderPageText(holder, PageFixture::listed(holder));
    EXPECT_THAT(page, HasSubstr("<a href=\"#1\">site</a><BR>\r\n"));
    EXPECT_THAT(page, HasSubstr("x<BR>\r\n<li>site</li>\r\n</BODY>"));
    EXPECT_THAT(page, Not(HasSubstr("<a name=\"1\">")));
}

TEST(NodePage, MatchesTheGoldenPage) {
    PageFixture fixture;
    MemoHolder& holder = fixture.holder("h", {{"m"}, {"n", {"a\"b<c"}, {}, {"note"}}, {"o"}});
    const PageNodes nodes = PageFixture::listed(holder);
    const std::string page = linesText(pageLines(
        [&](PageSink& sink) { writeNodePage(sink, holder, nodes, nodes[1], test::fixedNow()); }));
    EXPECT_EQ(page, test::goldenPage("node_page.html"));
}

TEST(NodePage, TemplatesExpandWithTheNodeAndImagesLinkTheirFile) {
    PageFixture fixture;
    MemoHolder& holder = fixture.holder(
        "h",
        {{"*HTML HEAD", {"<TITLE>%NODE.NAME%</TITLE>"}},
         {"*HTML NODE HEADER", {"<h1>%NODE.NAME% in %HOLDER.NAME%</h1>"}},
         {"*HTML BODY FOOTER", {"<i>%NODE.NAME%</i>"}},
         {"p", {"hidden"}, {{"Content-Type", "\"image/jpeg\""}, {"Filename", "\"C:\\p.jpg\""}}}});
    const PageNodes nodes = PageFixture::listed(holder);
    EXPECT_THAT(pageLines([&](PageSink& sink) {
                    writeNodePage(sink, holder, nodes, nodes[3], test::fixedNow());
                }),
                ElementsAre(std::string(kDoctypeLine), "<HTML>", "<HEAD>", "<TITLE>p</TITLE>",
                            "</HEAD>", "<BODY>", "<h1>p in h</h1>", "<a name=\"4\"></a>",
                            "<img SRC=\"file:///C|/p.jpg\">", "<i>p</i>", "</BODY>", "</HTML>"));
}

TEST(HolderListPage, MatchesTheGoldenPage) {
    PageFixture fixture;
    fixture.file.setFilename("/tmp/F/work.mxa");
    fixture.holder("A", {});
    fixture.holder("B&C", {});
    const std::string page =
        linesText(pageLines([&](PageSink& sink) { writeHolderListPage(sink, fixture.file); }));
    EXPECT_EQ(page, test::goldenPage("holder_list.html"));
}

// How many nodes of `xpath` a real HTML parser finds in the page at `path`.
int countInPage(const std::string& path, const std::string& xpath) {
    const std::string command =
        "xmllint --html --xpath \"" + xpath + "\" '" + path + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return -1;
    std::array<char, 64> buffer{};
    std::string output;
    while (std::fgets(buffer.data(), buffer.size(), pipe.get())) output += buffer.data();
    try {
        return std::stoi(output);
    } catch (...) {
        return -1;
    }
}

class Injection : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v xmllint >/dev/null 2>&1") != 0)
            GTEST_FAIL() << "xmllint (libxml2-utils) is needed to read the pages back";
    }
    // Script elements, event attributes and script addresses in the page.
    int executableParts(const Lines& lines) {
        const std::string path = folder.path("page" + std::to_string(++pages_) + ".html");
        EXPECT_TRUE(writeFileSafely(path, linesText(lines)));
        const int scripts = countInPage(path, "count(//script)");
        const int events = countInPage(path, "count(//@*[starts-with(name(),'on')])");
        const int addresses = countInPage(
            path, "count(//@*[contains(translate(.,'JAVSCRIPTB','javscriptb'),'script:')])");
        EXPECT_GE(scripts, 0);
        EXPECT_GE(events, 0);
        EXPECT_GE(addresses, 0);
        return scripts + events + addresses;
    }

    test::TempFolder folder;
    int pages_ = 0;
};

TEST_F(Injection, HostileNamesFieldsAndCellsProduceNoExecutableMarkup) {
    PageFixture fixture;
    const std::vector<NodeSpec> hostile = {
        {"20240305 <script>alert(1)</script>",
         {"<script>alert(2)</script>"},
         {},
         {"<body onload=alert(3)>"}},
        {"<img src=x onerror=alert(4)>", {"\"><svg onload=alert(5)>"}},
        {"link",
         {},
         {{"Content-Transfer-Encoding", "\"URL\""}, {"Filename", "\" javascript:alert(6)\""}}},
        {"pic\" onmouseover=\"alert(7)",
         {},
         {{"Content-Type", "\"image/jpeg\""},
          {"Filename", "\"x.jpg\\\" onerror=\\\"alert(8)\""},
          {"Width", "\"1 onload=alert(9)\""},
          {"Height", "\"2\""},
          {"Link", "\"VBScript:msgbox(10)\""}}},
        {"jpeg",
         {},
         {{"Content-Type", "\"image/jpeg\""}, {"Filename", "\"javascript:alert(11)\""}}},
        {"csv",
         {"<script>alert(12)</script>,<b onclick=alert(13)>x</b>"},
         {{"Content-Type", "\"text/csv\""}}},
        {"*HTML NODE HEADER", {"<h2>%NODE.NAME% / %HOLDER.NAME%</h2>"}},
    };
    MemoHolder& holder = fixture.holder("<script>alert(0)</script>", hostile);
    fixture.file.setFilename(folder.path("x<script>.mxa"));
    const PageNodes nodes = PageFixture::listed(holder);
    const DateTime now = test::fixedNow();

    EXPECT_EQ(executableParts(
                  pageLines([&](PageSink& sink) { writeHolderPage(sink, holder, nodes, now); })),
              0);
    for (std::size_t i = 0; i + 1 < nodes.size(); ++i)
        EXPECT_EQ(executableParts(pageLines(
                      [&](PageSink& sink) { writeNodePage(sink, holder, nodes, nodes[i], now); })),
                  0)
            << nodes[i].name;
    EXPECT_EQ(executableParts(
                  pageLines([&](PageSink& sink) { writeHolderListPage(sink, fixture.file); })),
              0);
    EXPECT_EQ(executableParts(pageLines(
                  [&](PageSink& sink) { writeMonthPage(sink, holder, nodes, now, now); })),
              0);
    EXPECT_EQ(executableParts(
                  pageLines([&](PageSink& sink) { writeListPage(sink, holder, nodes, now); })),
              0);
}

TEST_F(Injection, TheUsersOwnTemplatesAndHtmlLinesStayRawAndAreSeen) {
    // The parser does find what the user wrote on purpose, so the zero counts
    // above are real findings.
    PageFixture fixture;
    MemoHolder& holder = fixture.holder(
        "h", {{"*HTML BODY HEADER", {"<script>greet()</script>"}},
              {"n", {"<b onclick=go()>x</b>"}, {{"FlagHTMLMemoAddBR", "\"false\""}}}});
    const PageNodes nodes = PageFixture::listed(holder);
    EXPECT_EQ(executableParts(pageLines(
                  [&](PageSink& sink) { writeHolderPage(sink, holder, nodes, test::fixedNow()); })),
              2);
}

}  // namespace
}  // namespace zel
