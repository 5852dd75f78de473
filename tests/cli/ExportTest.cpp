// zel-tool export-html and calendar: where the pages go, what the clock and
// the tree give them, and how wrong calls are refused.

#include <filesystem>
#include <fstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"
#include "model/HolderFile.h"
#include "platform/FileSystem.h"
#include "support/HolderTestSupport.h"
#include "text/Sjis.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class ExportVerbs : public test::VerbTest {
  protected:
    void SetUp() override {
        std::filesystem::copy(test::fixture("diary"), folder.osPath("diary"),
                              std::filesystem::copy_options::recursive);
        // A tree holder of dated nodes with a stamped footer, as its own file.
        MemoFile file;
        MemoHolder& holder = *file.createHolder_(-1);
        holder.putField_("ModeNodesMngr", "\"TreeView\"");
        test::addTextNode(holder, "20240305 Meeting", {"room <2>"})->putField_("UID", "\"m\"");
        test::addTextNode(holder, "20240331 Easter")->putField_("ParentNodeID", "\"M\"");
        test::addTextNode(holder, "*HTML BODY FOOTER", {"made %DATE% %TIME%"});
        ASSERT_GT(saveHolderFile_(holder, folder.path("plan.mxh")), 0);
    }
    std::string page(std::string_view name) const {
        std::string bytes;
        EXPECT_TRUE(readFile(folder.path(name), bytes)) << name;
        return bytes;
    }
};

TEST_F(ExportVerbs, HolderPageBesideTheHolderFileWithTheFixedClockAndTheTree) {
    Outcome made = run({"export-html", arg("plan.mxh"), "--now", "20240305140709"});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out, arg("plan.html") + "\n");
    const std::string html = page("plan.html");
    EXPECT_THAT(html, StartsWith("<!doctype html public"));
    EXPECT_THAT(html, HasSubstr("<a href=\"#0\">20240305 Meeting</a><BR>\r\n<blockquote>\r\n"
                                "<a href=\"#1\">20240331 Easter</a><BR>\r\n</blockquote>\r\n"));
    EXPECT_THAT(html, HasSubstr("room &lt;2&gt;<BR>\r\n"));
    EXPECT_THAT(html, HasSubstr("made 2024/03/05 14:07:09\r\n</BODY>\r\n</HTML>\r\n"));
}

TEST_F(ExportVerbs, MemoFileHoldersNodesAndTheHolderList) {
    Outcome holder = run({"export-html", arg("diary/diary.mxa")});
    ASSERT_EQ(holder.status, 0) << holder.err;
    EXPECT_EQ(holder.out, arg("diary/work.html") + "\n");  // the current holder
    EXPECT_THAT(page("diary/work.html"), HasSubstr(utf8ToSjis("会議 &lt;10時&gt;<BR>")));

    std::filesystem::create_directory(folder.osPath("out"));
    Outcome node =
        run({"export-html", arg("diary/diary.mxa"), "work", "予定", "--out", arg("out")});
    ASSERT_EQ(node.status, 0) << node.err;
    EXPECT_EQ(node.out, arg("out/link.html") + "\n");
    EXPECT_THAT(page("out/link.html"), HasSubstr(utf8ToSjis("<TITLE>予定</TITLE>")));

    Outcome list = run({"export-html", "--holders", arg("diary/diary.mxa"), "--out", arg("out")});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_THAT(page("out/holders_diary.html"),
                HasSubstr("<a href=\"list_work.html\" target=\"left\">work</a> |\r\n"));
}

TEST_F(ExportVerbs, CalendarMonthAndListPages) {
    Outcome month = run({"calendar", arg("plan.mxh"), "", "2024", "3"});
    ASSERT_EQ(month.status, 0) << month.err;
    EXPECT_EQ(month.out, arg("plan_202403.html") + "\n");
    const std::string html = page("plan_202403.html");
    EXPECT_THAT(html, HasSubstr("<DIV align=right>5</DIV>\r\n<a href=\"#0\">Meeting</a><BR>"));
    EXPECT_THAT(html, HasSubstr("<DIV align=right>31</DIV>\r\n<a href=\"#1\">Easter</a><BR>"));

    Outcome list = run({"calendar", arg("plan.mxh"), "", "2024", "3", "--list", "--day", "15"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, arg("plan_20240315.html") + "\n");
    EXPECT_THAT(page("plan_20240315.html"), Not(HasSubstr("<TABLE")));
}

TEST_F(ExportVerbs, PagesStayInTheFolderAndReplaceOnlyPagesOfOurs) {
    const std::string victim = "<html>the user's own page</html>";
    std::filesystem::create_directory(folder.osPath("pages"));
    std::ofstream(folder.osPath("victim.html"), std::ios::binary) << victim;
    std::ofstream(folder.osPath("pages/mine.html"), std::ios::binary) << victim;
    MemoFile file;
    MemoHolder& holder = *file.createHolder_(-1);
    test::addTextNode(holder, "outside")
        ->putField_("Filename", "\"" + folder.path("victim.html") + "\"");
    test::addTextNode(holder, "up")->putField_("FilenameLocal", "\"..\\victim.html\"");
    test::addTextNode(holder, "inside")->putField_("Filename", "\"mine.html\"");
    ASSERT_GT(saveHolderFile_(holder, folder.path("pages/nodes.mxh")), 0);
    const std::string holderBytes = bytes("pages/nodes.mxh");

    // Named after a file elsewhere, the page is made in the holder's folder.
    for (const char* node : {"outside", "up"}) {
        Outcome made = run({"export-html", arg("pages/nodes.mxh"), "", node});
        ASSERT_EQ(made.status, 0) << made.err;
        EXPECT_EQ(made.out, arg("pages/link.html") + "\n");
    }
    // A file of that name in the folder that is not a page of ours is kept.
    Outcome refused = run({"export-html", arg("pages/nodes.mxh"), "", "inside"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, StartsWith("zel-tool: Failure: Make & Save HTML File " +
                                        arg("pages/mine.html") + " "));
    // So are a hand-made holder page and calendar page.
    std::ofstream(folder.osPath("pages/nodes.html"), std::ios::binary) << victim;
    std::ofstream(folder.osPath("pages/nodes_202403.html"), std::ios::binary) << victim;
    EXPECT_EQ(run({"export-html", arg("pages/nodes.mxh")}).status, 1);
    EXPECT_EQ(run({"calendar", arg("pages/nodes.mxh"), "", "2024", "3"}).status, 1);

    EXPECT_EQ(bytes("victim.html"), victim);
    EXPECT_EQ(bytes("pages/mine.html"), victim);
    EXPECT_EQ(bytes("pages/nodes.html"), victim);
    EXPECT_EQ(bytes("pages/nodes_202403.html"), victim);
    EXPECT_EQ(bytes("pages/nodes.mxh"), holderBytes);
    // A page of ours is written again.
    EXPECT_EQ(run({"export-html", arg("pages/nodes.mxh"), "", "up"}).status, 0);
}

TEST_F(ExportVerbs, AHolderFileAnswersToItsOwnHoldersName) {
    Outcome month = run({"calendar", arg("plan.mxh"), "Plan", "2024", "3"});
    ASSERT_EQ(month.status, 0) << month.err;
    EXPECT_EQ(month.out, arg("plan_202403.html") + "\n");
    Outcome holder = run({"export-html", arg("plan.mxh"), "plan"});
    ASSERT_EQ(holder.status, 0) << holder.err;
    EXPECT_EQ(holder.out, arg("plan.html") + "\n");
    Outcome node = run({"export-html", arg("plan.mxh"), "plan", "20240305 Meeting"});
    ASSERT_EQ(node.status, 0) << node.err;
    EXPECT_EQ(node.out, arg("link.html") + "\n");
    Outcome cat = run({"cat", arg("plan.mxh"), "plan", "20240305 Meeting"});
    ASSERT_EQ(cat.status, 0) << cat.err;
    EXPECT_THAT(cat.out, HasSubstr("room <2>"));
    Outcome layout = run({"layout", arg("plan.mxh"), "plan", "20240305 Meeting"});
    ASSERT_EQ(layout.status, 0) << layout.err;
    EXPECT_THAT(layout.out, HasSubstr("\"room <2>\""));

    Outcome other = run({"calendar", arg("plan.mxh"), "diary", "2024", "3"});
    EXPECT_EQ(other.status, 1);
    EXPECT_EQ(other.err, "zel-tool: No holder named diary in " + arg("plan.mxh") + "\n");
}

TEST_F(ExportVerbs, WrongCallsAndFailuresExitWithOne) {
    EXPECT_EQ(run({"calendar", arg("plan.mxh"), "", "2024", "13"}).status, 1);
    EXPECT_EQ(run({"calendar", arg("plan.mxh"), "", "2023", "2", "--day", "29"}).status, 1);
    EXPECT_EQ(run({"export-html", arg("plan.mxh"), "--now", "2024"}).status, 1);
    EXPECT_EQ(run({"export-html", arg("diary/diary.mxa"), "nobody"}).status, 1);
    EXPECT_EQ(run({"export-html", "--holders", arg("plan.mxh"), "x"}).status, 1);
    std::filesystem::create_directory(folder.osPath("plan.html"));
    Outcome blocked = run({"export-html", arg("plan.mxh")});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_THAT(blocked.err, StartsWith("zel-tool: Failure: Make & Save HTML File "));
}

}  // namespace
}  // namespace zel
