// The node view in the main window: saving an edit at once with "SAVE", and
// nodes edited in windows of their own.

#include <QPushButton>
#include <QTextCursor>
#include <filesystem>

#include "app/AppTestSupport.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/Sjis.h"
#include "views/TFormMemoNode.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class NodeViewSaveTest : public AppTest {
  protected:
    void openDiary() {
        writeMemoFile("diary.mxa", {{"work", {"w1", "w2"}}});
        makeWindow();
        ASSERT_EQ(window->_open_(path("diary.mxa")), 0);
    }
    void type(QPlainTextEdit* editor, const char* utf8) {
        QTextCursor cursor(editor->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(QString::fromUtf8(utf8));
    }
    MemoNode* node(const std::string& name) { return window->getCurHolder()->byName_(name); }
};

TEST_F(NodeViewSaveTest, SaveWritesTheEditIntoTheHoldersFileAtOnce) {
    openDiary();
    type(window->FrameMemoNode1->MemoNode0, "日本語 edited");
    window->toolButton("UISaveHolderNoMSG")->click();

    // The fixture saved the holder once already.
    EXPECT_TRUE(window->statusMessage().starts_with("Done: Saved size="))
        << window->statusMessage();
    EXPECT_NE(window->statusMessage().find("Bytes count of Nodes=2 CountSave=2 "),
              std::string::npos)
        << window->statusMessage();
    EXPECT_TRUE(window->statusMessage().ends_with(" " + path("work.mxh")));
    EXPECT_FALSE(window->getCurHolder()->changed);

    makeWindow();
    window->_open_(path("diary.mxa"));
    EXPECT_EQ(node("w1")->memo, Names{utf8ToSjis("日本語 edited")});
}

TEST_F(NodeViewSaveTest, EditsInEveryHolderAndModeSurviveClosingAndOpeningAgain) {
    writeMemoFile("diary.mxa", {{"work", {"w1", "w2"}}, {"plan", {"p1", "p2"}}});
    makeWindow();
    window->_open_(path("diary.mxa"));
    type(window->FrameMemoNode1->MemoNode0, "edited w1");
    window->changeHolder_(window->aFile->holderAt_(1));
    window->UIChangeTreeView();
    window->setCurMemoNode_(node("p2"));
    type(window->FrameMemoNode1->Memo_comment, "コメント");
    prompter->answer(Answer::YesToAll, "Shall I Save a MemoFile");
    EXPECT_TRUE(window->close());

    makeWindow();
    window->_open_(path("diary.mxa"));
    // The memo file reopens at the holder shown last, in its tree.
    ASSERT_EQ(window->getCurHolder()->getName_(), "plan");
    EXPECT_EQ(window->getCurHolder()->getField_("ModeNodesMngr"), "\"TreeView\"");
    EXPECT_EQ(node("p2")->comment, Names{utf8ToSjis("コメント")});
    EXPECT_EQ(node("p1")->memo, Names{"memo of p1"});
    window->changeHolder_(window->aFile->holderAt_(0));
    ASSERT_NE(node("w1"), nullptr);
    EXPECT_EQ(node("w1")->memo, Names{"edited w1"});
}

TEST_F(NodeViewSaveTest, AFailedSaveKeepsTheHolderChangedAndSaysError) {
    openDiary();
    type(window->FrameMemoNode1->MemoNode0, "edited");
    // A folder where the file should go cannot be replaced by the file.
    std::filesystem::remove(path("work.mxh"));
    std::filesystem::create_directory(path("work.mxh"));
    prompter->answer(Answer::No, "changed on disk since it was read");
    EXPECT_LT(window->UISaveHolderNoMSG(), 0);
    EXPECT_EQ(window->statusMessage(), "ERROR c:=2 in _UISaveHolder.");
    EXPECT_TRUE(window->getCurHolder()->changed);
    EXPECT_TRUE(logContains("ERROR c:=2 in _UISaveHolder."));
}

TEST_F(NodeViewSaveTest, ANodeInItsOwnWindowIsEditedThereWhileTheFrameStepsAside) {
    openDiary();
    window->show();
    MemoNode* w1 = node("w1");
    ASSERT_EQ(window->UIShowOtherWindow(), 0);
    EXPECT_EQ(window->statusMessage(), "Done: Show FormMemoNode w1");
    TFormMemoNode* own = TFormMemoNode::ownWindowOf(w1);
    ASSERT_NE(own, nullptr);
    EXPECT_TRUE(window->FrameMemoNode1->isHidden());

    type(own->frame()->MemoNode0, "typed apart");
    window->setCurMemoNode_(node("w2"));
    EXPECT_EQ(w1->memo, Names{"typed apart"});
    EXPECT_FALSE(window->FrameMemoNode1->isHidden());
    EXPECT_EQ(window->FrameMemoNode1->node(), node("w2"));

    window->setCurMemoNode_(w1);
    EXPECT_TRUE(window->FrameMemoNode1->isHidden());
    own->close();
    EXPECT_FALSE(window->FrameMemoNode1->isHidden());
    EXPECT_EQ(window->FrameMemoNode1->MemoNode0->toPlainText(), QStringLiteral("typed apart"));
}

TEST_F(NodeViewSaveTest, TheNodeWindowsSaveAsIsTheCommandLayers) {
    openDiary();
    MemoNode* w1 = node("w1");
    ASSERT_EQ(window->UIShowOtherWindow(), 0);
    TFormMemoNode* own = TFormMemoNode::ownWindowOf(w1);
    ASSERT_NE(own, nullptr);
    prompter->input(path("w1.txt"));
    EXPECT_EQ(own->SaveAs(), 0);
    EXPECT_EQ(readText("w1.txt"), "memo of w1\r\n");
    // Without a Filename before, the node takes the chosen one, as "Save As" does.
    EXPECT_EQ(w1->getField_("Filename"), "\"" + path("w1.txt") + "\"");
    own->close();
}

}  // namespace
}  // namespace zel
