// Where pages go and how they are written: names beside the holder's file,
// the node page's proposal, refusals and failures of the safe writer.

#include "export/HtmlOutput.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "export/ExportTestSupport.h"
#include "model/HolderFile.h"
#include "platform/SafeFileWriter.h"
#include "support/TempFolder.h"

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

TEST(NodePageName, APlainNameFromTheNodeNeverAPath) {
    PageFixture fixture;
    MemoHolder& holder = fixture.holder(
        "h", {{"abs", {}, {{"Filename", "\"C:\\doc\\page.htm\""}}},
              {"ext", {}, {{"Filename", "\"/elsewhere/doc.txt\""}}},
              {"local", {}, {{"Filename", "\"a.htm\""}, {"FilenameLocal", "\".\\img\\p.HTML\""}}},
              {"up", {}, {{"Filename", "\"../../../tmp/victim.html\""}}},
              {"web", {}, {{"Filename", "\"http://e.x/\""}}},
              {"dots", {}, {{"Filename", "\"..\""}}},
              {"none"}});
    const std::vector<std::string> expected{"page.htm",  "doc.txt.html", "p.HTML",   "victim.html",
                                            "link.html", "link.html",    "link.html"};
    for (int i = 0; i < holder.count_(); ++i)
        EXPECT_EQ(nodePageName(*holder.at_(i)), expected[i]) << holder.at_(i)->getName_();
    // A name cut to the file system keeps its ".html".
    MemoHolder& longer = fixture.holder(
        "l", {{"long", {}, {{"Filename", "\"" + std::string(300, 'n') + ".jpg\""}}}});
    const std::string name = nodePageName(*longer.at_(0));
    EXPECT_EQ(name.size(), 255u);
    EXPECT_THAT(name, ::testing::EndsWith(".html"));
}

TEST(NodePageName, ThePageGoesIntoTheFolderGivenUnderAnExistingNameElseLinkHtml) {
    test::TempFolder folder;
    test::TempFolder outside;
    ASSERT_TRUE(writeFileSafely(folder.path("page.htm"), "old"));
    ASSERT_TRUE(writeFileSafely(outside.path("victim.html"), "precious"));
    PageFixture fixture;
    MemoHolder& holder = fixture.holder(
        "h", {{"here", {}, {{"Filename", "\"" + outside.path("page.htm") + "\""}}},
              {"there", {}, {{"Filename", "\"" + outside.path("victim.html") + "\""}}}});
    const std::string in = folder.path() + "/";
    EXPECT_EQ(nodePagePath(in, *holder.at_(0)), folder.path("page.htm"));
    EXPECT_EQ(nodePagePath(in, *holder.at_(1)), folder.path("link.html"));
}

class SavePage : public ::testing::Test {
  protected:
    static void twoLines(PageSink& sink) {
        sink.line(kDoctypeLine);
        sink.join({"a", "b"});
    }
    std::string text(std::string_view name) const {
        std::string bytes;
        EXPECT_TRUE(readFile(folder.path(name), bytes)) << name;
        return bytes;
    }
    test::TempFolder folder;
};

TEST_F(SavePage, WritesEveryLineWithCrLf) {
    const std::string path = folder.path("p.html");
    ASSERT_TRUE(savePage(path, {}, twoLines));
    EXPECT_EQ(text("p.html"), std::string(kDoctypeLine) + "\r\nab\r\n");
    // No lines at all: an empty file, which a page may replace again.
    ASSERT_TRUE(savePage(path, {}, [](PageSink&) {}));
    EXPECT_EQ(text("p.html"), "");
    ASSERT_TRUE(savePage(path, {}, twoLines));
}

TEST_F(SavePage, NeverReplacesAFileThatIsNotOneOfOurPages) {
    const std::map<std::string, std::string> kept{
        {"mine.html", "<html><body>my own page</body></html>"},
        {"Short.HTM", "<!doc"},
        {"notes.txt", std::string(kDoctypeLine) + "\r\n"},
        {"work.mxh", "<Holder>"},
    };
    for (const auto& [name, bytes] : kept) {
        ASSERT_TRUE(writeFileSafely(folder.path(name), bytes));
        const IoResult refused = savePage(folder.path(name), {}, twoLines);
        EXPECT_FALSE(refused) << name;
        EXPECT_FALSE(refused.message.empty());
        EXPECT_EQ(text(name), bytes) << name;
    }
    // Not even as a new file: a page is never a memo or holder file.
    EXPECT_FALSE(savePage(folder.path("new.MHZ"), {}, twoLines));
    EXPECT_FALSE(std::filesystem::exists(folder.osPath("new.MHZ")));
    // A page of ours, in any letter case of its extension, is replaced.
    ASSERT_TRUE(writeFileSafely(folder.path("old.HTM"), std::string(kDoctypeLine) + "\r\nx\r\n"));
    EXPECT_TRUE(savePage(folder.path("old.HTM"), {}, twoLines));
    EXPECT_EQ(text("old.HTM"), std::string(kDoctypeLine) + "\r\nab\r\n");
}

TEST_F(SavePage, ALinkOutOfTheFolderIsNotFollowed) {
    test::TempFolder outside;
    const std::string ours = std::string(kDoctypeLine) + "\r\n";
    ASSERT_TRUE(writeFileSafely(outside.path("victim.html"), ours));
    std::filesystem::create_symlink(outside.osPath("victim.html"), folder.osPath("link.html"));
    EXPECT_FALSE(savePage(folder.path("link.html"), {}, twoLines));
    std::string bytes;
    ASSERT_TRUE(readFile(outside.path("victim.html"), bytes));
    EXPECT_EQ(bytes, ours);
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
