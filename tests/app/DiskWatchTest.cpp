// The window follows its memo file while another program writes it: here the
// other program is the test, writing the files the way sync engines do
// (renamed over the old file) or in place.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextCursor>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/AppTestSupport.h"
#include "app/scripting/ScriptHost.h"
#include "app/window/DiskFollower.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/SafeFileWriter.h"
#include "text/Sjis.h"
#include "views/MemoNodeUI.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

// Lets window events through until `done` holds; false after ten seconds.
bool pumpUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 10000) return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

class DiskWatchTest : public AppTest {
  protected:
    // Nodes carry UIDs, as every node the window makes does.
    void openDiary() {
        writeMemoFile("memo.mxa", {{"work", {"w1", "w2", "w3"}}, {"plan", {"p1"}}});
        rewriteHolder("work.mxh", [](MemoHolder& holder) {
            for (int i = 0; i < holder.count_(); ++i) holder.at_(i)->newUID_();
        });
        makeWindow();
        ASSERT_EQ(window->_open_(path("memo.mxa")), 0);
        ASSERT_EQ(window->getCurHolder()->getName_(), "work");
        settle();
    }
    // Until the window took in what the files hold now.
    void settle() {
        ASSERT_TRUE(pumpUntil([this] { return !window->diskFollower().isLookPending(); }));
    }
    MemoNode* node(const std::string& name) const { return window->getCurHolder()->byName_(name); }
    void type(const char* utf8) {
        QTextCursor cursor(window->FrameMemoNode1->MemoNode0->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(QString::fromUtf8(utf8));
    }

    // The other program: reads the holder file, edits it, writes it back.
    void rewriteHolder(const std::string& file, const std::function<void(MemoHolder&)>& edit,
                       bool inPlace = false) {
        MemoFile other;
        MemoHolder* holder = other.createHolder_(-1);
        ASSERT_EQ(readHolderFile_(*holder, path(file)), 0);
        edit(*holder);
        std::string bytes;
        ASSERT_TRUE(holderFileBytes_(*holder, path(file), bytes));
        if (inPlace)
            writeText(file, bytes);
        else
            ASSERT_TRUE(writeFileSafely(path(file), bytes));
    }
    static void addNode(MemoHolder& holder, const std::string& name, const std::string& memo) {
        MemoNode* added = holder.makeNode_();
        added->putName_as_(name);
        added->memo = {memo};
    }
    // The holder file as any reader sees it.
    Names nodesOnDisk(const std::string& file) const {
        MemoFile reader;
        MemoHolder* holder = reader.createHolder_(-1);
        EXPECT_EQ(readHolderFile_(*holder, path(file)), 0);
        Names names;
        for (int i = 0; i < holder->count_(); ++i)
            names.push_back(holder->at_(i)->getName_() + ":" +
                            std::string(holder->at_(i)->memo.front()));
        return names;
    }
};

TEST_F(DiskWatchTest, AHolderWithoutChangesIsReloadedInPlaceOnTheSameNode) {
    openDiary();
    window->setCurMemoNode_(node("w2"));
    MemoNode* w1 = node("w1");
    MemoNode* w2 = node("w2");
    rewriteHolder("work.mxh", [](MemoHolder& holder) {
        holder.byName_("w2")->memo = {"w2 from the laptop"};
        holder.byName_("w2")->putName_as_("w2 renamed");
        addNode(holder, "w4", "new on the laptop");
    });

    ASSERT_TRUE(pumpUntil([this] { return node("w4") != nullptr; }));
    EXPECT_EQ(currentNodeNames(), (Names{"w1", "w2 renamed", "w3", "w4"}));
    EXPECT_EQ(node("w1"), w1) << "an unchanged node stays the same object";
    EXPECT_NE(dynamic_cast<MemoNodeUI*>(node("w4")), nullptr) << "a node that opens windows";
    EXPECT_EQ(window->getCurMemoNode(), w2) << "the current node is kept by its UID";
    EXPECT_EQ(w2->memo, Names{"w2 from the laptop"});
    EXPECT_FALSE(window->getCurHolder()->changed);
    EXPECT_EQ(window->statusMessage(), "Reloaded \"work\", changed on disk");
    EXPECT_TRUE(logContains("Reloaded the holder \"work\""));

    // The list shows the new nodes, and a save is not refused afterwards.
    EXPECT_EQ(holder("work")->checkListModel()->rowCount({}), 4);
    type("w2 edited here");
    window->UI2Model();
    EXPECT_TRUE(window->saveHolderToItsFile_(*window->getCurHolder()));
    EXPECT_EQ(nodesOnDisk("work.mxh"), (Names{"w1:memo of w1", "w2 renamed:w2 edited here",
                                              "w3:memo of w3", "w4:new on the laptop"}));
}

TEST_F(DiskWatchTest, UnsavedChangesAreMergedWithTheFileAndTheMergeSaves) {
    openDiary();
    window->setCurMemoNode_(node("w1"));
    type("w1 edited here");
    rewriteHolder(
        "work.mxh",
        [](MemoHolder& holder) {
            holder.byName_("w3")->memo = {"w3 from the laptop"};
            addNode(holder, "w4", "new on the laptop");
        },
        true);

    ASSERT_TRUE(pumpUntil([this] { return node("w4") != nullptr; }));
    EXPECT_EQ(node("w1")->memo, Names{"w1 edited here"}) << "the editor's text was kept";
    EXPECT_EQ(node("w3")->memo, Names{"w3 from the laptop"});
    EXPECT_TRUE(window->getCurHolder()->changed);
    EXPECT_EQ(window->getCurMemoNode(), node("w1"));
    EXPECT_TRUE(
        window->statusMessage().starts_with("Merged \"work\" with its file changed on disk"))
        << window->statusMessage();

    // The version merged is the one a save may write over.
    EXPECT_TRUE(window->saveHolderToItsFile_(*window->getCurHolder()));
    EXPECT_EQ(nodesOnDisk("work.mxh"), (Names{"w1:w1 edited here", "w2:memo of w2",
                                              "w3:w3 from the laptop", "w4:new on the laptop"}));
}

TEST_F(DiskWatchTest, BothSidesChangingANodeKeepTheirsBesideItAndListTheConflict) {
    openDiary();
    window->setCurMemoNode_(node("w2"));
    type("ours");
    // The merge's base is the file as the window read it, not the file now:
    // what only we deleted stays deleted, what only they changed is theirs.
    std::unique_ptr<MemoNode> gone = holder("work")->removeNode_(node("w3"));
    window->setCurMemoNode_(node("w2"));
    rewriteHolder("work.mxh", [](MemoHolder& holder) {
        holder.byName_("w2")->memo = {"theirs"};
        holder.byName_("w1")->memo = {"w1 theirs"};
    });

    ASSERT_TRUE(pumpUntil([this] { return window->getCurHolder()->count_() == 3; }));
    const Names names = currentNodeNames();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "w1");
    EXPECT_EQ(names[1], "w2");
    EXPECT_TRUE(names[2].starts_with("w2 (conflict ")) << names[2];
    EXPECT_EQ(node("w1")->memo, Names{"w1 theirs"});
    EXPECT_EQ(node("w2")->memo, Names{"ours"});
    EXPECT_EQ(node(names[2])->memo, Names{"theirs"});
    EXPECT_EQ(node(names[2])->getField_("ConflictFrom"), "\"work.mxh\"");
    EXPECT_TRUE(logContains("1 conflict(s) kept"));
    EXPECT_TRUE(logContains("  conflict: w2: changed on both sides"));
}

TEST_F(DiskWatchTest, OwnSavesAndUntouchedRewritesChangeNothing) {
    openDiary();
    MemoNode* w1 = node("w1");
    type("saved here");
    ASSERT_TRUE(window->saveHolderToItsFile_(*window->getCurHolder()));
    settle();
    // The same bytes written again by another program are no change either.
    writeText("work.mxh", readText("work.mxh"));
    window->diskFollower().takeChanges();
    settle();
    EXPECT_EQ(node("w1"), w1);
    EXPECT_FALSE(logContains("Reloaded"));
    EXPECT_FALSE(logContains("Merged"));
    EXPECT_TRUE(prompter->asked.empty());
}

TEST_F(DiskWatchTest, NothingIsTakenInWhileACommandRuns) {
    openDiary();
    rewriteHolder("work.mxh", [](MemoHolder& holder) { addNode(holder, "w4", "later"); });
    window->startDoing_("a long command");
    window->diskFollower().takeChanges();
    EXPECT_EQ(node("w4"), nullptr);
    window->doneDoing();
    EXPECT_TRUE(pumpUntil([this] { return node("w4") != nullptr; }));
}

TEST_F(DiskWatchTest, HoldersAddedToTheIndexAppearAndUnloadedOnesAreReadWhenShown) {
    openDiary();
    ASSERT_FALSE(holder("plan")->loaded);
    rewriteHolder("plan.mxh", [](MemoHolder& holder) { addNode(holder, "p2", "later"); });
    // Another device adds a holder: its file, then the index that lists it.
    writeMemoFile("other/memo.mxa",
                  {{"work", {"w1", "w2", "w3"}}, {"plan", {"p1"}}, {"ideas", {"i1"}}});
    std::filesystem::copy_file(path("other/ideas.mxh"), path("ideas.mxh"));
    MemoFile index;
    std::vector<std::string> errors;
    ASSERT_EQ(readIndexText_(index, readText("memo.mxa"), errors), 0);
    MemoHolder* ideas = index.createHolder_(-1);
    ideas->putName_as_("ideas");
    ASSERT_TRUE(writeFileSafely(path("memo.mxa"), index.indexText_()));

    ASSERT_TRUE(pumpUntil([this] { return holder("ideas") != nullptr; }));
    EXPECT_EQ(holderNames(), (Names{"work", "plan", "ideas"}));
    EXPECT_EQ(window->getCurHolder()->getName_(), "work");
    window->changeHolder_(holder("ideas"));
    EXPECT_EQ(currentNodeNames(), Names{"i1"});
    window->changeHolder_(holder("plan"));
    EXPECT_EQ(currentNodeNames(), (Names{"p1", "p2"}));
}

TEST_F(DiskWatchTest, ConflictCopiesAreOfferedMergedAndMovedAside) {
    writeMemoFile("memo.mxa", {{"work", {"w1"}}});
    // A sync engine's copy: the same node changed, and a node added.
    MemoFile other;
    MemoHolder* copy = other.createHolder_(-1);
    ASSERT_EQ(readHolderFile_(*copy, path("work.mxh")), 0);
    copy->byName_("w1")->memo = {"w1 on the phone"};
    addNode(*copy, "w2", "from the phone");
    const std::string copyName = "work.sync-conflict-20240102-030405-PHONE.mxh";
    std::string bytes;
    ASSERT_TRUE(holderFileBytes_(*copy, path(copyName), bytes));
    writeText(copyName, bytes);
    const std::string laterCopy = "work.sync-conflict-20240105-030405-TABLET.mxh";
    writeText(laterCopy, bytes);

    makeWindow();
    prompter->answer(Answer::Yes, path(copyName)).answer(Answer::No, laterCopy);
    ASSERT_EQ(window->_open_(path("memo.mxa")), 0);
    ASSERT_TRUE(pumpUntil([this] { return prompter->asked.size() == 2; }));
    settle();

    EXPECT_EQ(currentNodeNames().size(), 3u) << "w1, its conflict copy and w2";
    EXPECT_NE(node("w2"), nullptr);
    EXPECT_EQ(node("w1")->memo, Names{"memo of w1"});
    EXPECT_TRUE(window->getCurHolder()->changed);
    EXPECT_FALSE(exists(copyName));
    EXPECT_TRUE(exists("conflicts/" + copyName));
    EXPECT_TRUE(exists(laterCopy)) << "declined: left";

    // A copy declined once is not offered again.
    window->diskFollower().takeChanges();
    EXPECT_EQ(prompter->asked.size(), 2u);
}

TEST_F(DiskWatchTest, AScriptWaitingWithSleepSeesTheReload) {
    openDiary();
    QTimer::singleShot(100, window.get(), [this] {
        rewriteHolder("work.mxh", [](MemoHolder& holder) { addNode(holder, "w4", "later"); });
    });
    const TPPARunResult result = window->scriptHost().runInPP1(
        "var i: integer; begin i := 0;"
        " while (UIMNMemoCount2('work', 'w4') < 1) and (i < 200) do begin Sleep(50); i := i + 1 "
        "end;"
        " if i < 200 then Print('seen') end.");
    EXPECT_TRUE(result.ok()) << result.message;
    window->scriptHost().flushLog();
    EXPECT_TRUE(logContains("seen"));
    EXPECT_NE(node("w4"), nullptr);
}

}  // namespace
}  // namespace zel
