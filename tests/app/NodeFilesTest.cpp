// Saving a node's content to a file and reading nodes and holders again from
// their files.

#include <QDate>
#include <filesystem>

#include "app/AppTestSupport.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "support/LocalHttpServer.h"

namespace zel {
namespace {

using Lines = std::vector<std::string>;

class NodeFilesTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        writeMemoFile("memo.mxa", {{"A", {"a", "b", "c"}}});
        makeWindow();
        ASSERT_EQ(window->_open_(path("memo.mxa")), 0);
        window->setCurMemoNode_(node("a"));
    }
    MemoHolder* holder() { return window->getCurHolder(); }
    MemoNode* node(const std::string& name) { return window->getCurHolder()->byName_(name); }
    MemoNode& current() { return *window->getCurMemoNode(); }
    // The path the last file dialog proposed.
    const std::string& proposed() const { return prompter->asked.back(); }
};

TEST_F(NodeFilesTest, SaveAsProposesTheFileAndKeepsARelativeFilenameRelative) {
    current().putField_("Filename", "\"./sub/a.txt\"");
    prompter->input(path("out/b.txt"))
        .answer(Answer::Yes, "Make Directory")
        .answer(Answer::Yes, "Change Field named as \"Filename\" ?");
    ASSERT_EQ(window->UISaveNodeAs(), 0);
    EXPECT_EQ(prompter->asked.front(), path("sub/a.txt"));
    EXPECT_EQ(readText("out/b.txt"), "memo of a\r\n");
    EXPECT_EQ(current().getField_("Filename"), "\"./out/b.txt\"");
    EXPECT_TRUE(holder()->changed);
    EXPECT_EQ(window->statusMessage(), "Done: MemoNode SaveAs " + path("out/b.txt"));
}

TEST_F(NodeFilesTest, SaveAsWritesNothingWhenCancelledAndKeepsFieldsOnNo) {
    writeText("old.txt", "x");
    current().putField_("Filename", "\"" + path("old.txt") + "\"");
    prompter->input("", false);
    EXPECT_EQ(window->UISaveNodeAs(), -1);
    EXPECT_EQ(readText("old.txt"), "x");

    prompter->input(path("new.txt")).answer(Answer::No, "\"Filename\"");
    ASSERT_EQ(window->UISaveNodeAs(), 0);
    EXPECT_TRUE(exists("new.txt"));
    EXPECT_EQ(current().getField_("Filename"), "\"" + path("old.txt") + "\"");
}

TEST_F(NodeFilesTest, SaveAsOfAWebNodeProposesAnHtmlFileAndAsksForFilenameLocal) {
    current().putField_("Content-Transfer-Encoding", "\"URL\"");
    current().putField_("Filename", "\"http://example.invalid/dir/page.cgi\"");
    prompter->input("", false);
    window->UISaveNodeAs();
    EXPECT_EQ(proposed(), path("page.cgi.html"));

    current().putField_("FilenameLocal", "\"" + path("local.htm") + "\"");
    prompter->input(path("local.htm")).answer(Answer::Yes, "\"FilenameLocal\"");
    ASSERT_EQ(window->UISaveNodeAs(), 0);
    EXPECT_EQ(prompter->asked[prompter->asked.size() - 2], path("local.htm"));
    EXPECT_NE(readText("local.htm").find("<a href=\"http://example.invalid/dir/page.cgi\" >"),
              std::string::npos);
    EXPECT_EQ(current().getField_("FilenameLocal"), "\"" + path("local.htm") + "\"");
    EXPECT_EQ(current().getField_("Filename"), "\"http://example.invalid/dir/page.cgi\"");
}

TEST_F(NodeFilesTest, SaveAsNamesANewFileAndLogsItWhenAsked) {
    current().putField_("flagSaveAsLog", "\"true\"");
    prompter->input(path("log.txt"));
    ASSERT_EQ(window->UISaveNodeAs(), 0) << "no question: Filename was empty and is set";
    const std::string quoted = "\"" + path("log.txt") + "\"";
    EXPECT_EQ(current().getField_("Filename"), quoted);
    const std::string today = QDate::currentDate().toString("yyyyMMdd").toStdString();
    EXPECT_EQ(current().getField_("Filename" + today), quoted);
}

TEST_F(NodeFilesTest, AFailedSaveAsSaysSoAndLeavesTheFields) {
    std::filesystem::create_directories(path("taken"));
    prompter->input(path("taken"));
    EXPECT_EQ(window->UISaveNodeAs(), -1);
    EXPECT_EQ(window->statusMessage(), "ERROR: MemoNode SaveAs " + path("taken"));
    EXPECT_EQ(current().getField_("Filename"), "");
    EXPECT_FALSE(window->isDoing());
}

TEST_F(NodeFilesTest, SavingToItsOwnFileRefusesFoldersAndMemoFiles) {
    current().putField_("Filename", "\"./sub/\"");
    EXPECT_EQ(window->UISaveMemoNode_(current()), "");
    current().putField_("Filename", "\"" + path("x.MXA") + "\"");
    EXPECT_EQ(window->UISaveMemoNode_(current()), "");
    EXPECT_FALSE(exists("sub"));
    EXPECT_FALSE(exists("x.MXA"));
}

TEST_F(NodeFilesTest, SavingToItsOwnFileAsksBeforeOverwriting) {
    writeText("run.txt", "old");
    current().putField_("Filename", "\"./run.txt\"");
    const std::string target = path("run.txt");

    prompter->answer(Answer::No, "Overwrite ? " + target);
    EXPECT_EQ(window->UISaveMemoNode_(current()), target) << "the file there is still the one";
    EXPECT_EQ(readText("run.txt"), "old");
    prompter->answer(Answer::Cancel);
    EXPECT_EQ(window->UISaveMemoNode_(current()), "");
    EXPECT_EQ(readText("run.txt"), "old");
    prompter->answer(Answer::Yes);
    EXPECT_EQ(window->UISaveMemoNode_(current()), target);
    EXPECT_EQ(readText("run.txt"), "memo of a\r\n");

    current().memo = {"again"};
    current().putField_("FlagConfirmOverwrite", "\"false\"");
    EXPECT_EQ(window->UISaveMemoNode_(current()), target);
    EXPECT_EQ(readText("run.txt"), "again\r\n");
}

TEST_F(NodeFilesTest, SavingToItsOwnFileMakesAMissingFolderOnlyWhenAllowed) {
    current().putField_("Filename", "\"" + path("new/dir/run.txt") + "\"");
    prompter->answer(Answer::No, "Make Directory? ,Not Exist File Path.\r\n" + path("new/dir/"));
    EXPECT_EQ(window->UISaveMemoNode_(current()), "");
    EXPECT_FALSE(exists("new"));
    prompter->answer(Answer::Yes);
    EXPECT_EQ(window->UISaveMemoNode_(current()), path("new/dir/run.txt"));
    EXPECT_EQ(readText("new/dir/run.txt"), "memo of a\r\n");
}

TEST_F(NodeFilesTest, SavingToItsOwnFileAsksForANameWhenThereIsNone) {
    prompter->input("", false);
    EXPECT_EQ(window->UISaveMemoNode_(current()), "");
    prompter->input(path("named.txt"));
    EXPECT_EQ(window->UISaveMemoNode_(current()), path("named.txt"));
    EXPECT_TRUE(exists("named.txt"));

    node("b")->putField_("Filename", "\"http://example.invalid/tool.txt\"");
    EXPECT_EQ(window->UISaveMemoNode_(*node("b")), path("tool.txt"));
}

TEST_F(NodeFilesTest, ReloadingFromAMissingFileLeavesTheNodeUnchanged) {
    current().putField_("Filename", "\"./gone.txt\"");
    holder()->changed = false;
    EXPECT_EQ(window->UIReloadNode(), -1);
    EXPECT_EQ(window->statusMessage(), "Does Not exist. " + path("gone.txt"));
    EXPECT_EQ(current().memo, (Lines{"memo of a"}));
    EXPECT_FALSE(holder()->changed);
    EXPECT_FALSE(window->isDoing());

    writeText("gone.txt", "back\r\nagain");
    ASSERT_EQ(window->UIReloadNode(), 0);
    EXPECT_EQ(current().memo, (Lines{"back", "again"}));
    EXPECT_EQ(current().getField_("Filename"), "\"./gone.txt\"");
    EXPECT_TRUE(holder()->changed);
}

TEST_F(NodeFilesTest, ReloadingNeedsAFileNameAndLeavesWebNodesAlone) {
    EXPECT_EQ(window->UIReloadNode(), -7);
    EXPECT_EQ(window->statusMessage(), "Do not reload. because filename is empty.");

    current().putField_("Content-Transfer-Encoding", "\"URL\"");
    current().putField_("Filename", "\"http://127.0.0.1:1/never\"");
    EXPECT_EQ(window->UIReloadNode(), 0);
    EXPECT_EQ(current().getField_("Content-Transfer-Encoding"), "\"URL\"");
}

TEST_F(NodeFilesTest, ReloadingAnAddressDownloadsItAndKeepsTheAddress) {
    test::LocalHttpServer server;
    server.answer("/note.txt", {200, "from the web\r\n", ""});
    const std::string address = server.url("/note.txt");
    current().putField_("Filename", "\"" + address + "\"");
    ASSERT_EQ(window->UIReloadNode(), 0);
    EXPECT_EQ(current().memo, (Lines{"from the web"}));
    EXPECT_EQ(current().getField_("Filename"), "\"" + address + "\"");

    const std::string missing = server.url("/missing.txt");
    current().putField_("Filename", "\"" + missing + "\"");
    EXPECT_EQ(window->UIReloadNode(), -1);
    EXPECT_EQ(window->statusMessage(), "Not found " + missing);
    EXPECT_EQ(current().memo, (Lines{"from the web"}));
}

TEST_F(NodeFilesTest, ReloadEachAddsUpTheCountsAndSkipsWebNodes) {
    writeText("one.txt", "first");
    writeText("two.txt", "second");
    node("a")->putField_("Filename", "\"./one.txt\"");
    node("b")->putField_("Filename", "\"" + path("two.txt") + "\"");
    node("c")->putField_("Filename", "\"./absent.txt\"");
    MemoNode* web = holder()->makeNode_();
    web->putField_("Content-Transfer-Encoding", "\"URL\"");
    web->putField_("Filename", "\"http://127.0.0.1:1/never\"");

    EXPECT_EQ(window->UIReLoadEach(), 2);
    EXPECT_EQ(window->statusMessage(), "Done:UIReLoadEach 2");
    EXPECT_EQ(node("a")->memo, (Lines{"first"}));
    EXPECT_EQ(node("b")->memo, (Lines{"second"}));
    EXPECT_EQ(node("c")->memo, (Lines{"memo of c"}));
    EXPECT_EQ(web->getField_("Content-Transfer-Encoding"), "\"URL\"");
}

TEST_F(NodeFilesTest, ReloadingTheHolderReadsItsFileAgain) {
    const std::string file = holderFilePath_(*holder());
    current().memo = {"edited"};
    holder()->makeNode_()->putName_as_("extra");
    window->aFile->changed = false;

    ASSERT_EQ(window->UIReloadMemoHolder(), 0);
    EXPECT_EQ(currentNodeNames(), (Lines{"a", "b", "c"}));
    EXPECT_EQ(node("a")->memo, (Lines{"memo of a"}));
    EXPECT_EQ(window->getCurHolder()->getName_(), "A");
    EXPECT_TRUE(window->aFile->changed);
    EXPECT_EQ(window->statusMessage(), "Done:UIReLoadMemoHolder " + file);
}

TEST_F(NodeFilesTest, ReloadingAHolderWhoseFileIsGoneKeepsItsNodes) {
    std::filesystem::remove(holderFilePath_(*holder()));
    current().memo = {"edited"};
    EXPECT_EQ(window->UIReloadMemoHolder(), -1);
    EXPECT_EQ(currentNodeNames(), (Lines{"a", "b", "c"}));
    EXPECT_EQ(current().memo, (Lines{"edited"}));
    EXPECT_FALSE(window->isDoing());
}

}  // namespace
}  // namespace zel
