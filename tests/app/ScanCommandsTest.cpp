// The search commands in the window: the menus, tool bar and pop-ups that run
// them, the windows on the real main window, replacements the close question
// and node windows respect, and New Child Grep.

#include <QTextCursor>

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "dialogs/ui/TFormEditSelNode.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "search/ui/TFormScanHolder.h"
#include "search/ui/TFormScanNode.h"
#include "views/TFormMemoNode.h"
#include "views/ViewText.h"

namespace zel {
namespace {

class ScanCommandsTest : public AppTest {
  protected:
    MemoNode* node(const std::string& holderName, const std::string& name) {
        return window->aFile->holderByName_(holderName)->byName_(name);
    }
    TFormScanHolder& holderWindow() {
        auto* form = window->existingCompanion<TFormScanHolder>();
        EXPECT_NE(form, nullptr);
        return *form;
    }
    TFormScanHolders& holdersWindow() {
        auto* form = window->existingCompanion<TFormScanHolders>();
        EXPECT_NE(form, nullptr);
        return *form;
    }
    static void type(QPlainTextEdit* editor, const char* utf8) {
        QTextCursor cursor(editor->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(QString::fromUtf8(utf8));
    }
};

TEST_F(ScanCommandsTest, MenusToolBarAndPopUpsRunTheSearchCommands) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    for (const char* path : {"Scan/Holders", "Scan/Holder", "Scan/Node", "[MemoNode]/Scan"}) {
        QAction* item = window->menuAction(path);
        ASSERT_NE(item, nullptr) << path;
        window->prepareMenu(qobject_cast<QMenu*>(item->parent()));
        EXPECT_TRUE(item->isEnabled()) << path;
    }
    window->toolButton("UIShowScanMemoHolders")->click();
    TFormScanHolders& several = holdersWindow();
    EXPECT_TRUE(several.isVisible());
    EXPECT_EQ(fromQt(several.windowTitle()), "FormScanHolder memo");
    EXPECT_EQ(several.checkedNames(), (std::vector<std::string>{"A"}));
    EXPECT_TRUE(logContains("Show FormScanHolders "));

    TFrameMemoHolder* frame = window->holderView().frame();
    frame->popupAction(frame->PopupMenuLB, "Scan Holder")->trigger();
    EXPECT_EQ(fromQt(holderWindow().windowTitle()), "FormScanHolder memo : A");
    EXPECT_TRUE(logContains("Show FormScanHolder "));
    frame->popupAction(frame->PopupMenuLB, "Scan Node")->trigger();
    auto* nodeWindow = window->existingCompanion<TFormScanNode>();
    ASSERT_NE(nodeWindow, nullptr);
    EXPECT_EQ(fromQt(nodeWindow->windowTitle()), "FormScanNode memo : A : a1");
    EXPECT_TRUE(logContains("Show FormScanMemoNode "));
    nodeWindow->close();

    // Kept: the second opening shows the same window.
    EXPECT_EQ(runCommand(*window, "UIShowScanMemoHolders"), 0);
    EXPECT_EQ(&holdersWindow(), &several);
}

TEST_F(ScanCommandsTest, AScanLineLeadsToItsNodeInAnotherHolder) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1", "target"}}});
    ASSERT_EQ(window->UIShowScanMemoHolders(), 0);
    TFormScanHolders& form = holdersWindow();
    form.CheckAll();
    form.ComboBox_KeyWord->setEditText(QStringLiteral("target"));
    form.Scan();
    ASSERT_EQ(form.listModel->rowCount(), 1);
    EXPECT_EQ(window->statusMessage(), "*Done Scan* count=1 keyWord=target");
    EXPECT_FALSE(window->isDoing());
    form.clickLine(false, 0);
    EXPECT_EQ(window->getCurHolder()->getName_(), "B");
    EXPECT_EQ(window->getCurMemoNode(), node("B", "target"));

    form.Mark();
    EXPECT_TRUE(node("B", "target")->isMarked_());
    EXPECT_TRUE(holder("B")->changed);
}

TEST_F(ScanCommandsTest, AReplaceIsOfferedForSavingWhenTheWindowCloses) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    ASSERT_FALSE(holder("B")->loaded);  // read from its file by the run
    ASSERT_EQ(window->UIShowScanMemoHolders(), 0);
    TFormScanHolders& form = holdersWindow();
    form.CheckAll();
    form.ComboBox_KeyWord->setEditText(QStringLiteral("memo of b"));
    form.ComboBox_ReplaceWord->setEditText(QStringLiteral("found "));
    form.Replace();
    EXPECT_EQ(node("B", "b1")->memo[0], "found 1");
    EXPECT_EQ(window->statusMessage(), "*Done Replace* count=1 KeyWord=memo of b");
    EXPECT_FALSE(holder("A")->changed);
    prompter->answer(Answer::Yes, path("B.mxh"));
    EXPECT_TRUE(window->querySaveChanges_());
    EXPECT_NE(readText("B.mxh").find("found 1"), std::string::npos);
}

TEST_F(ScanCommandsTest, ANodeWindowNeitherLosesItsTypingNorUndoesTheReplace) {
    openMemoFile({{"A", {"a1"}}});
    window->show();
    MemoNode* a1 = node("A", "a1");
    ASSERT_EQ(window->UIShowOtherWindow(), 0);
    TFormMemoNode* own = TFormMemoNode::ownWindowOf(a1);
    ASSERT_NE(own, nullptr);
    type(own->frame()->MemoNode0, "typed abc");
    ASSERT_EQ(window->UIShowScanMemoHolder(), 0);
    TFormScanHolder& form = holderWindow();
    form.CheckBox_Memo->setChecked(true);
    form.ComboBox_KeyWord->setEditText(QStringLiteral("abc"));
    form.ComboBox_ReplaceWord->setEditText(QStringLiteral("xyz"));
    form.Replace();
    EXPECT_EQ(a1->memo, (std::vector<std::string>{"typed xyz"}));
    EXPECT_EQ(own->frame()->MemoNode0->toPlainText(), QStringLiteral("typed xyz"));
    own->close();
    EXPECT_EQ(a1->memo, (std::vector<std::string>{"typed xyz"}));
}

TEST_F(ScanCommandsTest, EditSelectHandsTheHitsToTheSelectedNodesEditor) {
    openMemoFile({{"A", {"abc1", "abc2", "abc3", "other"}}});
    ASSERT_EQ(window->UIShowScanMemoHolder(), 0);
    TFormScanHolder& form = holderWindow();
    EXPECT_TRUE(form.Button_EditSelect->isEnabled());
    form.ComboBox_KeyWord->setEditText(QStringLiteral("abc"));
    form.Scan();
    ASSERT_EQ(form.listModel->rowCount(), 3);
    form.Button_EditSelect->click();
    auto* editor = window->existingCompanion<TFormEditSelNode>();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->nodeModel->results().lines(), (std::vector<std::string>{"0", "1", "2"}));

    // A node deleted for good while the editor lists it (into the trash, and
    // the trash holder deleted) is skipped, not touched.
    window->setCurMemoNode_(node("A", "abc2"));
    ASSERT_EQ(window->UIDeleteMemoNode(), 0);
    window->changeHolder_(window->aFile->holderByName_(kTrashHolderName));
    prompter->answer(Answer::No, "Save Current Holder").answer(Answer::Yes, "delete");
    ASSERT_EQ(window->UIDeleteHolder(), 0);
    window->changeHolder_(holder("A"));
    EXPECT_EQ(editor->nodeModel->results().node(1), nullptr);
    holder("A")->changed = false;
    editor->ComboBox_Field->setEditText(QStringLiteral("Tag"));
    editor->ComboBox_Value->setEditText(QStringLiteral("x"));
    editor->Button_Set->click();
    EXPECT_EQ(editor->StatusBar1->shown(), "*Done Set Field count=2 Field=Tag Value=\"x\"");
    EXPECT_EQ(node("A", "abc1")->getField_("Tag"), "\"x\"");
    EXPECT_EQ(node("A", "abc3")->getField_("Tag"), "\"x\"");
    EXPECT_EQ(node("A", "other")->getField_("Tag"), "");
    EXPECT_TRUE(holder("A")->changed);
}

TEST_F(ScanCommandsTest, ReplaceRefusesWhileTheUIIsReadOnlyAndNewNodeTakesTheList) {
    openMemoFile({{"A", {"abc1", "abc2"}}});
    ASSERT_EQ(window->UIShowScanMemoHolder(), 0);
    TFormScanHolder& form = holderWindow();
    form.ComboBox_KeyWord->setEditText(QStringLiteral("abc"));
    form.ComboBox_ReplaceWord->setEditText(QStringLiteral("x"));
    window->CheckBox_UIReadOnly->setChecked(true);
    form.Replace();
    EXPECT_EQ(window->statusMessage(), "UI ReadOnly");
    EXPECT_NE(node("A", "abc1"), nullptr);
    window->CheckBox_UIReadOnly->setChecked(false);

    form.Scan();
    form.NewNode();
    EXPECT_EQ(window->getCurMemoNode()->memo, (std::vector<std::string>{"A abc1", "A abc2"}));
    EXPECT_EQ(window->getCurHolder()->count_(), 3);
}

TEST_F(ScanCommandsTest, NewChildGrepFromThePopUpsAndTheDialog) {
    openMemoFile({{"A", {"source"}}});
    MemoNode* source = node("A", "source");
    source->memo = {"<a href=x>", "plain abc", "<A HREF=y>"};
    window->Model2UI();
    TFrameMemoHolder* frame = window->holderView().frame();
    frame->popupAction(frame->PopupMenuTV, "New Child/Grep/<a href")->trigger();
    MemoNode* child = window->getCurMemoNode();
    ASSERT_NE(child, source);
    EXPECT_TRUE(child->getName_().ends_with(" Grep <a href"));
    EXPECT_EQ(child->memo, (std::vector<std::string>{"<a href=x>", "<A HREF=y>"}));
    EXPECT_EQ(child->getField_("ParentNodeID"), source->getField_("UID"));
    EXPECT_EQ(window->statusMessage(), "Done: New Child Grep5 : <a href");

    window->setCurMemoNode_(source);
    prompter->cancelGrep();
    EXPECT_EQ(runCommand(*window, "UINewChildGrep5", ""), -1);
    EXPECT_EQ(window->statusMessage(), "Cancel \"New Child Grep\"");
    GrepChoice blank;
    blank.keyword = "   ";
    prompter->chooseGrep(blank);
    EXPECT_EQ(runCommand(*window, "UINewChildGrep5", ""), -1);
    EXPECT_EQ(window->statusMessage(), "Cancel \"New Child Grep Any\"");

    GrepChoice inverted;
    inverted.keyword = "abc";
    inverted.invert = true;
    inverted.numbered = true;
    prompter->chooseGrep(inverted);
    frame->popupAction(frame->PopupMenuTV, "New Child/Grep/Any")->trigger();
    EXPECT_EQ(prompter->offeredGrep.keyword, "   ");  // shown as last confirmed
    child = window->getCurMemoNode();
    EXPECT_TRUE(child->getName_().ends_with(" Grep abc NOT "));
    EXPECT_EQ(child->memo,
              (std::vector<std::string>{"      1: <a href=x>", "      3: <A HREF=y>"}));

    // The dialog's settings stay for the items that do not ask.
    window->setCurMemoNode_(source);
    frame->popupAction(frame->PopupMenuTV, "New Child/Grep/<img")->trigger();
    EXPECT_EQ(window->getCurMemoNode()->memo,
              (std::vector<std::string>{"      1: <a href=x>", "      2: plain abc",
                                        "      3: <A HREF=y>"}));
    EXPECT_EQ(window->getCurHolder()->count_(), 4);

    window->CheckBox_UIReadOnly->setChecked(true);
    EXPECT_EQ(runCommand(*window, "UINewChildGrep5", "abc"), -1);
    EXPECT_EQ(window->getCurHolder()->count_(), 4);
}

}  // namespace
}  // namespace zel
