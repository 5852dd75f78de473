// Where pages go and how they are written: names beside the holder's file,
// the node page's proposal, refusals and failures of the safe writer.

#include "export/HtmlOutput.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "export/ExportTestSupport.h"
#include "model/HolderFile.h"
#include "platform/SafeFileWriter.h"
#include "platform/TempFolder.h"

namespace zel {
namespace {

using test::dayOf;
using test::PageFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST(PagePaths, BesideTheHolderFileAndNamedAfterTheDate) {
    EXPECT_EQ(holderPagePath("/m/diary.mxh"), "/m/diary.html");
    EXPECT_EQ(calendarPagePath("/m/diary.mxh", dayOf(2024, 3, 15), CalendarLayout::Month),
              "/m/diary_202403.html");
    EXPECT_EQ(calendarPagePath("/m/diary.mhz", dayOf(2024, 3, 5), CalendarLayout::Week),
              "/m/diary_20240305.html");
    PageFixture fixture;
    fixture.file.setFilename("/m/work.mxa");
    EXPECT_EQ(holderListPagePath(fixture.file, "/cwd/"), "/cwd/holders_work.html");
}

TEST(PagePaths, AHolderWithoutAFileUsesTheDefaultHolderPath) {
    // An unsaved memo file keeps its holders in the current folder.
    PageFixture fixture;
    MemoHolder& holder = fixture.holder("noname", {});
    EXPECT_EQ(calendarPagePath(holderFilePath_(holder), dayOf(2024, 3, 15), CalendarLayout::Month),
              "noname_202403.html");
}

TEST(NodePageProposal, AnExistingFileNamedByTheNodeElseLinkHtml) {
    test::TempFolder folder;
    ASSERT_TRUE(writeFileSafely(folder.path("page.htm"), "old"));
    ASSERT_TRUE(writeFileSafely(folder.path("doc.txt.html"), "old"));
    ASSERT_TRUE(std::filesystem::create_directory(folder.osPath("img")));
    ASSERT_TRUE(writeFileSafely(folder.path("img/p.HTML"), "old"));
    const std::string holderFile = folder.path("h.mxh");
    PageFixture fixture;
    MemoHolder& holder = fixture.holder(
        "h",
        {{"abs", {}, {{"Filename", "\"" + folder.path("page.htm") + "\""}}},
         {"ext", {}, {{"Filename", "\"" + folder.path("doc.txt") + "\""}}},
         {"local", {}, {{"Filename", "\"nothing.htm\""}, {"FilenameLocal", "\".\\img\\p.HTML\""}}},
         {"missing", {}, {{"Filename", "\"" + folder.path("gone.htm") + "\""}}},
         {"none"}});
    EXPECT_EQ(nodePageProposal(holderFile, *holder.at_(0)), folder.path("page.htm"));
    EXPECT_EQ(nodePageProposal(holderFile, *holder.at_(1)), folder.path("doc.txt.html"));
    EXPECT_EQ(nodePageProposal(holderFile, *holder.at_(2)), folder.path("./img/p.HTML"));
    EXPECT_EQ(nodePageProposal(holderFile, *holder.at_(3)), "link.html");
    EXPECT_EQ(nodePageProposal(holderFile, *holder.at_(4)), "link.html");
}

class SavePage : public ::testing::Test {
  protected:
    static void twoLines(PageSink& sink) {
        sink.line("<HTML>");
        sink.join({"a", "b"});
    }
    test::TempFolder folder;
};

TEST_F(SavePage, WritesEveryLineWithCrLf) {
    const std::string path = folder.path("p.html");
    ASSERT_TRUE(savePage(path, {}, twoLines));
    std::string bytes;
    ASSERT_TRUE(readFile(path, bytes));
    EXPECT_EQ(bytes, "<HTML>\r\nab\r\n");
    // No lines at all: an empty file.
    ASSERT_TRUE(savePage(path, {}, [](PageSink&) {}));
    ASSERT_TRUE(readFile(path, bytes));
    EXPECT_EQ(bytes, "");
}

TEST_F(SavePage, NeverReplacesADataFileOfTheMemoFile) {
    PageFixture fixture;
    fixture.file.setFilename(folder.path("work.mxa"));
    MemoHolder& holder = fixture.holder("h", {});
    holder.putField_("FlagExtra", "\"true\"");
    holder.putField_("Filename", "\"" + folder.path("h.html") + "\"");
    ASSERT_TRUE(writeFileSafely(folder.path("h.html"), "data"));
    const std::vector<std::string> data = dataFilesOf(holder);
    EXPECT_THAT(data, ElementsAre(folder.path("work.mxa"), folder.path("h.html")));

    const IoResult refused = savePage(holderPagePath(folder.path("h.html")), data, twoLines);
    EXPECT_FALSE(refused);
    EXPECT_THAT(pageFailureText("X", refused), StartsWith("Failure: Make & Save HTML File X "));
    // Also when the same file is named another way.
    EXPECT_FALSE(savePage(folder.path("sub/../h.html"), data, twoLines));
    std::filesystem::create_symlink(folder.osPath("h.html"), folder.osPath("alias.html"));
    EXPECT_FALSE(savePage(folder.path("alias.html"), data, twoLines));
    std::string bytes;
    ASSERT_TRUE(readFile(folder.path("h.html"), bytes));
    EXPECT_EQ(bytes, "data");
    EXPECT_TRUE(savePage(folder.path("other.html"), data, twoLines));
}

TEST_F(SavePage, AFolderInTheWayIsAFailureAndStaysAsItWas) {
    ASSERT_TRUE(std::filesystem::create_directory(folder.osPath("h.html")));
    const IoResult result = savePage(folder.path("h.html"), {}, twoLines);
    EXPECT_FALSE(result);
    EXPECT_FALSE(result.message.empty());
    EXPECT_TRUE(std::filesystem::is_directory(folder.osPath("h.html")));
    EXPECT_TRUE(std::filesystem::is_empty(folder.osPath("h.html")));
}

}  // namespace
}  // namespace zel
