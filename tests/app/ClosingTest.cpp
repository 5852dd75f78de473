// The close question, the exit commands and the idle auto save.

#include <filesystem>

#include "app/AppTestSupport.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace zel {
namespace {

class ClosingTest : public AppTest {
  protected:
    // A memo file with two holders, opened; the memo file and both holders changed.
    void openChanged() {
        writeMemoFile("memo.mxa", {{"one", {"a"}}, {"two", {"b"}}});
        makeWindow();
        window->_open_(path("memo.mxa"));
        window->changeHolder_(window->aFile->holderAt_(1));
        for (const char* name : {"one", "two"}) {
            MemoHolder* holder = window->aFile->holderByName_(name);
            holder->first_()->memo = {std::string("edited ") + name};
            holder->changed = true;
        }
        window->aFile->putField_("Color", "\"clRed\"");
        window->Model2UI();
    }
    bool saved(const std::string& holderFile, const std::string& text) {
        return readText(holderFile).find(text) != std::string::npos;
    }
};

TEST_F(ClosingTest, YesSavesTheMemoFileAndEachChangedHolder) {
    openChanged();
    prompter->answer(Answer::Yes, "Shall I Save a MemoFile named as \r\n\"" + path("memo.mxa"))
        .answer(Answer::Yes, "Should I Save a MemoHolder named as \r\n\"" + path("one.mxh"))
        .answer(Answer::No, path("two.mxh"));
    EXPECT_TRUE(window->querySaveChanges_());
    EXPECT_NE(readText("memo.mxa").find("clRed"), std::string::npos);
    EXPECT_TRUE(saved("one.mxh", "edited one"));
    EXPECT_FALSE(saved("two.mxh", "edited two"));
    EXPECT_TRUE(window->aFile->holderByName_("two")->changed);
}

TEST_F(ClosingTest, CancelKeepsTheWindowOpenAndWritesNothingMore) {
    openChanged();
    prompter->answer(Answer::No).answer(Answer::Cancel);
    window->show();
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(saved("one.mxh", "edited"));
    EXPECT_EQ(readText("memo.mxa").find("clRed"), std::string::npos);
}

TEST_F(ClosingTest, YesToAllIsRememberedUntilUIExit) {
    openChanged();
    prompter->answer(Answer::YesToAll, "MemoFile");
    EXPECT_TRUE(window->querySaveChanges_());
    EXPECT_TRUE(saved("one.mxh", "edited one"));
    EXPECT_TRUE(saved("two.mxh", "edited two"));

    window->getCurHolder()->changed = true;
    EXPECT_TRUE(window->querySaveChanges_()) << "answered without a question";

    window->getCurHolder()->changed = true;
    prompter->answer(Answer::Cancel, "MemoHolder");
    window->show();
    window->UIExit();
    EXPECT_TRUE(window->isVisible()) << "UIExit asks again";
}

TEST_F(ClosingTest, ExitAllYesSavesEverythingWithoutAQuestion) {
    openChanged();
    window->show();
    window->UIExitAllYes();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(saved("one.mxh", "edited one"));
    EXPECT_TRUE(saved("two.mxh", "edited two"));
}

TEST_F(ClosingTest, TerminateNoEndsWithoutSavingAndCancelStays) {
    openChanged();
    window->show();
    prompter->answer(Answer::Cancel, "Terminate zel.exe \r\n\r\nYes: Terminate");
    window->UITerminate_("  ");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(applicationEnds, 0);
    prompter->answer(Answer::No, "Really?");
    window->UITerminate_("Really?");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(applicationEnds, 1);
    EXPECT_FALSE(saved("one.mxh", "edited"));
}

TEST_F(ClosingTest, FailedSaveKeepsTheWindowOpen) {
    openChanged();
    std::filesystem::remove(path("one.mxh"));
    std::filesystem::create_directory(path("one.mxh"));
    // The folder stands where the file was read from: another program's
    // doing, so nothing is written over it and a copy is offered.
    prompter->answer(Answer::No)
        .answer(Answer::Yes, "one.mxh")
        .answer(Answer::Yes, "two.mxh")
        .answer(Answer::No, "changed on disk since it was read")
        .answer(Answer::Ok, "ERROR");
    const std::string two = readText("two.mxh");
    EXPECT_FALSE(window->querySaveChanges_());
    EXPECT_TRUE(window->aFile->holderByName_("one")->changed);
    EXPECT_TRUE(window->aFile->holderByName_("two")->changed) << "all or nothing";
    EXPECT_EQ(readText("two.mxh"), two);
}

TEST_F(ClosingTest, AutoSaveOnlyAboveSixtySecondsAndOnlyChangedHolders) {
    openChanged();
    const QDateTime start = window->lastAutoSaveTime;
    window->putAutoSaveTime_(60);
    window->autoSaveOnIdle(start.addSecs(3600));
    EXPECT_FALSE(saved("one.mxh", "edited"));

    window->putAutoSaveTime_(61);
    window->autoSaveOnIdle(start.addSecs(61));
    EXPECT_FALSE(saved("one.mxh", "edited")) << "61 whole seconds are not more than 61";
    window->startDoing_("busy");
    window->autoSaveOnIdle(start.addSecs(62));
    EXPECT_FALSE(saved("one.mxh", "edited")) << "never while a command runs";
    window->doneDoing();

    window->autoSaveOnIdle(start.addSecs(62));
    EXPECT_TRUE(saved("one.mxh", "edited one"));
    EXPECT_TRUE(saved("two.mxh", "edited two"));
    EXPECT_FALSE(window->aFile->holderByName_("one")->changed);
    EXPECT_EQ(readText("memo.mxa").find("clRed"), std::string::npos)
        << "the memo file is not auto saved";
    EXPECT_NE(window->statusMessage().find(" Done Save Auto."), std::string::npos);
    EXPECT_EQ(window->lastAutoSaveTime, start.addSecs(62));
}

}  // namespace
}  // namespace zel
