// The HTML commands in the window: the pages written beside the holder's
// file, the opener called once with each, the node page's save question,
// the calendar dialog's answers, and failures that open nothing.

#include <filesystem>
#include <regex>

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Opener.h"
#include "platform/SafeFileWriter.h"
#include "support/TempFolder.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"

namespace zel {
namespace {

class ExportCommandsTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        opener_.emplace([this](std::string_view target, std::string_view) {
            opened.emplace_back(target);
            return true;
        });
        clock_.emplace([] { return DateTime{2024, 3, 5, 14, 7, 9}; });
    }
    void TearDown() override {
        clock_.reset();
        opener_.reset();
        AppTest::TearDown();
    }
    MemoHolder* current() { return window->getCurHolder(); }

    std::vector<std::string> opened;

  private:
    std::optional<ScopedDesktopOpener> opener_;
    std::optional<ScopedClock> clock_;
};

TEST_F(ExportCommandsTest, HolderPageBesideTheHolderFileOpenedOnce) {
    openMemoFile({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    current()->at_(0)->memo = {"x<y"};
    QAction* item = window->menuAction("[Holder]/Extra/HTML");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isEnabled());
    item->trigger();
    const std::string page = path("A.html");
    EXPECT_EQ(window->statusMessage(), "Done: Make & Save & Open HTML File " + page);
    EXPECT_EQ(opened, std::vector<std::string>{page});
    const std::string html = readText("A.html");
    EXPECT_NE(html.find("<a href=\"#1\">a2</a><BR>\r\n"), std::string::npos);
    EXPECT_NE(html.find("x&lt;y<BR>\r\n"), std::string::npos);
}

TEST_F(ExportCommandsTest, TreeLevelsComeFromTheHolderView) {
    openMemoFile({{"T", {"p", "c", "d"}}});
    MemoHolder& holder = *current();
    holder.byName_("p")->putField_("UID", "\"up\"");
    holder.byName_("c")->putField_("ParentNodeID", "\"up\"");
    holder.putField_("ModeNodesMngr", "\"TreeView\"");
    window->showListMode(ListMode::Tree);
    EXPECT_EQ(runCommand(*window, "UISaveHolderHTML"), 0);
    EXPECT_NE(readText("T.html").find("<a href=\"#0\">p</a><BR>\r\n<blockquote>\r\n"
                                      "<a href=\"#1\">c</a><BR>\r\n</blockquote>\r\n"
                                      "<a href=\"#2\">d</a><BR>\r\n"),
              std::string::npos);
}

TEST_F(ExportCommandsTest, AFailedWriteSaysFailureAndOpensNothing) {
    openMemoFile({{"A", {"a1"}}});
    std::filesystem::create_directory(path("A.html"));
    EXPECT_EQ(window->UISaveHolderHTML(), -1);
    EXPECT_EQ(window->statusMessage().rfind("Failure: Make & Save HTML File " + path("A.html"), 0),
              0u)
        << window->statusMessage();
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(std::filesystem::is_empty(path("A.html")));
    EXPECT_FALSE(window->isDoing());
}

TEST_F(ExportCommandsTest, NodePageAsksForItsFileAndCancelWritesNothing) {
    openMemoFile({{"A", {"a1", "n", "a3"}}});
    window->setCurMemoNode_(current()->byName_("n"));
    prompter->input(path("n.html"));
    EXPECT_EQ(runCommand(*window, "UISaveMemoNodeHTML"), 0);
    EXPECT_EQ(prompter->asked.back(), path("link.html"));  // the proposal
    EXPECT_EQ(window->statusMessage(), "Done: Make & Save & Open HTML File " + path("n.html"));
    EXPECT_NE(readText("n.html").find("<a name=\"3\"></a>\r\n"), std::string::npos);
    EXPECT_EQ(opened, std::vector<std::string>{path("n.html")});

    prompter->input("", false);
    EXPECT_EQ(window->UISaveMemoNodeHTML(), 0);
    EXPECT_EQ(window->statusMessage(), "Cancel: UISaveMemoNodeHTML");
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(ExportCommandsTest, NodePageNeverOffersOrReplacesAFileNotItsOwn) {
    test::TempFolder outside;
    const std::string victim = "<html>the user's own page</html>";
    ASSERT_TRUE(writeFileSafely(outside.path("victim.html"), victim));
    openMemoFile({{"A", {"n"}}});
    MemoNode* node = current()->byName_("n");
    node->putField_("Filename", "\"" + outside.path("victim.html") + "\"");
    window->setCurMemoNode_(node);
    writeText("mine.html", victim);
    const std::string holderFile = readText("A.mxh");

    // The proposal is in the holder's folder; taking it writes there.
    prompter->input(path("link.html"));
    EXPECT_EQ(window->UISaveMemoNodeHTML(), 0);
    EXPECT_EQ(prompter->asked.back(), path("link.html"));
    // A file that is not a page of ours, or a holder file, is not replaced.
    for (const std::string name : {"mine.html", "A.mxh"}) {
        prompter->input(path(name));
        EXPECT_EQ(window->UISaveMemoNodeHTML(), -1) << name;
        EXPECT_EQ(window->statusMessage().rfind("Failure: Make & Save HTML File " + path(name), 0),
                  0u)
            << window->statusMessage();
    }
    EXPECT_EQ(opened, std::vector<std::string>{path("link.html")});
    EXPECT_EQ(readText("mine.html"), victim);
    EXPECT_EQ(readText("A.mxh"), holderFile);
    std::string bytes;
    ASSERT_TRUE(readFile(outside.path("victim.html"), bytes));
    EXPECT_EQ(bytes, victim);
}

TEST_F(ExportCommandsTest, HolderListInTheCurrentFolderStampedWithTheTime) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    EXPECT_EQ(runCommand(*window, "UISaveHolderListHTML"), 0);
    EXPECT_TRUE(std::regex_match(window->statusMessage(),
                                 std::regex(R"(Done: \d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}:\d{3})")))
        << window->statusMessage();
    EXPECT_NE(
        readText("holders_memo.html").find("<a href=\"list_B.html\" target=\"left\">B</a> \r\n"),
        std::string::npos);
    EXPECT_EQ(opened, std::vector<std::string>{path("holders_memo.html")});
}

TEST_F(ExportCommandsTest, CalendarMonthAndListPagesAndCancel) {
    openMemoFile({{"D", {"20240305 Meeting", "20240331 Easter", "Shopping"}}});
    prompter->chooseCalendar(
        {CalendarChoice::Kind::Chosen, DateTime{2024, 3, 15}, CalendarLayout::Month});
    EXPECT_EQ(window->menuAction("[Holder]/Extra/HTML Calendar")->isEnabled(), true);
    EXPECT_EQ(runCommand(*window, "UISaveHolderHTMLCalendar"), 0);
    EXPECT_EQ(window->statusMessage(),
              "Done: Make & Save & Open HTML File " + path("D_202403.html"));
    const std::string month = readText("D_202403.html");
    EXPECT_NE(month.find("<DIV align=right>5</DIV>\r\n<a href=\"#0\">Meeting</a><BR>\r\n"
                         "<a href=\"#1\">*</a><BR>"),
              std::string::npos);
    EXPECT_NE(month.find("<DIV align=right>31</DIV>\r\n<a href=\"#2\">Easter</a>"),
              std::string::npos);

    prompter->chooseCalendar(
        {CalendarChoice::Kind::Chosen, DateTime{2024, 3, 15}, CalendarLayout::Week});
    EXPECT_EQ(runCommand(*window, "UISaveHolderHTMLCalendar"), 0);
    EXPECT_NE(readText("D_20240315.html").find("<a href=\"#2\">Shopping</a><BR>"),
              std::string::npos);

    prompter->chooseCalendar({});
    EXPECT_EQ(runCommand(*window, "UISaveHolderHTMLCalendar"), -8);
    EXPECT_EQ(window->statusMessage(), "Cancel");
    EXPECT_EQ(opened, (std::vector<std::string>{path("D_202403.html"), path("D_20240315.html")}));
}

}  // namespace
}  // namespace zel
