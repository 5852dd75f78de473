// What the menu layer does by itself: items on opening, the check items, the
// tool bar's switches and buttons, the status bar's pop-up, the size presets
// and the entries without a function.

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/TFrameMemoNode.h"
#include "views/ViewText.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class MenuBehaviourTest : public AppTest {
  protected:
    QAction* item(std::string_view path) {
        QAction* found = window->menuAction(path);
        EXPECT_NE(found, nullptr) << path;
        return found;
    }
    // Opens the menu above `path` (as a click on its title does) and triggers the item.
    void choose(std::string_view path) {
        window->prepareMenu(window->mainMenu(path.substr(0, path.find('/'))));
        QAction* action = item(path);
        ASSERT_TRUE(action->isEnabled()) << path;
        action->trigger();
    }
};

TEST_F(MenuBehaviourTest, TheNodeReadOnlyCheckFollowsTheNodesOwnFlagAndComesBackWithTheHolder) {
    openMemoFile({{"A", {"a1", "a2"}}});
    MemoHolder* a = holder("A");
    QAction* readOnly = item("[MemoNode]/ReadOnly");
    a->changed = false;
    choose("[MemoNode]/ReadOnly");
    EXPECT_TRUE(readOnly->isChecked());
    EXPECT_EQ(window->getCurMemoNode()->getField_("FlagReadOnly"), "\"true\"");
    EXPECT_TRUE(a->changed) << "the switched flag is saved with the holder";
    EXPECT_EQ(window->statusReadOnly->text(), QStringLiteral("RO"));

    window->setCurMemoNode_(a->byName_("a2"));
    window->prepareMenu(window->mainMenu("[MemoNode]"));
    EXPECT_FALSE(readOnly->isChecked()) << "the check shows the node now current";

    a->putField_("FlagReadOnly", "\"true\"");
    window->prepareMenu(window->mainMenu("[MemoNode]"));
    EXPECT_FALSE(readOnly->isVisible()) << "hidden while the holder is read-only";
    a->putField_("FlagReadOnly", "\"false\"");
    window->prepareMenu(window->mainMenu("[MemoNode]"));
    EXPECT_TRUE(readOnly->isVisible()) << "and shown again afterwards";
}

TEST_F(MenuBehaviourTest, CommentAndFieldChecksHideTheBoxesAndShowThemAtTheirHeight) {
    openMemoFile({{"A", {"a1"}}});
    window->resize(800, 600);
    window->show();
    TFrameMemoNode* frame = window->FrameMemoNode1;
    QApplication::processEvents();
    window->prepareMenu(window->mainMenu("[Form]"));
    const bool wasOpen = frame->isFieldsOpen();
    EXPECT_EQ(item("[Form]/Field")->isChecked(), wasOpen) << "the check shows the box";
    choose("[Form]/Field");
    EXPECT_EQ(frame->isFieldsOpen(), !wasOpen);
    EXPECT_EQ(item("[Form]/Field")->isChecked(), !wasOpen);
    choose("[Form]/Field");
    EXPECT_EQ(frame->isFieldsOpen(), wasOpen);
    choose("[Form]/Comment");
    window->prepareMenu(window->mainMenu("[Form]"));
    EXPECT_EQ(item("[Form]/Comment")->isChecked(), frame->isCommentOpen());
    EXPECT_EQ(item("[Form]/Field")->isChecked(), wasOpen);
}

TEST_F(MenuBehaviourTest, SizePresetsMoveTheWindowAndFitTheScreen) {
    openMemoFile({{"A", {"a1"}}});
    const QRect screen = window->screen()->geometry();
    choose("[Form]/Size&&Pos/640x480");
    EXPECT_EQ(window->pos(), QPoint(3, 3));
    EXPECT_EQ(window->size(), QSize(std::min(640, screen.width()), std::min(480, screen.height())));
    choose("[Form]/Size&&Pos/1600x1200");
    EXPECT_EQ(window->size(),
              QSize(std::min(1600, screen.width()), std::min(1200, screen.height())));
    EXPECT_EQ(runCommand(*window, "UISizePos_", "333"), -1) << "no such preset";
}

TEST_F(MenuBehaviourTest, DelHeadAnyAsksForTheCountAndRefusesWhatIsNoNumber) {
    openMemoFile({{"A", {"a1"}}});
    window->FrameMemoNode1->MemoNode0->setPlainText(QStringLiteral("abcdefghij"));
    window->FrameMemoNode1->MemoNode0->selectAll();
    prompter->input("", false);
    choose("[MarkWord]/DEL Head/Any");
    EXPECT_EQ(window->FrameMemoNode1->MemoNode0->toPlainText(), QStringLiteral("hij"))
        << "cancelled, the box's initial 7 counts";
    EXPECT_EQ(prompter->asked.back(), "Input number");
    prompter->input("x2");
    choose("[MarkWord]/DEL Head/Any");
    EXPECT_EQ(window->FrameMemoNode1->MemoNode0->toPlainText(), QStringLiteral("hij"));
    EXPECT_TRUE(window->statusMessage().starts_with("ERROR")) << window->statusMessage();
    window->startDoing_("long");
    EXPECT_EQ(window->UIDelHeadAny(), -1) << "asks nothing while a command runs";
    window->doneDoing();
}

TEST_F(MenuBehaviourTest, EntriesWithoutAFunctionSaySoOrDoNothing) {
    openMemoFile({{"A", {"b", "a"}}});
    prompter->answer(Answer::Ok, "Still not implemented. ");
    choose("[Holder]/Extra/Sort Field");
    EXPECT_EQ(prompter->asked.back(), "Still not implemented. ");
    EXPECT_EQ(currentNodeNames(), (Names{"b", "a"}));
    window->CheckBox_UIReadOnly->setChecked(true);
    choose("[Holder]/Extra/Group Tree");  // refused without a box
    window->CheckBox_UIReadOnly->setChecked(false);
    choose("Jump/Set");
    prompter->answer(Answer::Ok, "Still not implemented. ");
    choose("Jump/Pop");
    choose("[MemoNode]/Extra/HTML Page");
    EXPECT_EQ(prompter->asked.size(), 2u);
}

TEST_F(MenuBehaviourTest, TheReadOnlySwitchLocksTheEditorAndTheButtonsThatAddNodes) {
    openMemoFile({{"A", {"a1"}}});
    window->CheckBox_UIReadOnly->setChecked(true);
    for (const char* name : {"UINewNode", "UINewNodeURL", "UINewNodeImage"})
        EXPECT_FALSE(window->toolButton(name)->isEnabled()) << name;
    EXPECT_TRUE(window->FrameMemoNode1->MemoNode0->isReadOnly());
    Names disabled;
    for (QAction* action : window->tabPopupItems())
        if (!action->isSeparator() && !action->isEnabled())
            disabled.push_back(fromQt(action->text()));
    EXPECT_EQ(disabled, (Names{"Rename", "New", "Delete"}));
    ASSERT_TRUE(window->toolButton("UINewHolder")->isEnabled());
    window->toolButton("UINewHolder")->click();
    EXPECT_EQ(window->statusMessage(), "UI ReadOnly");
    EXPECT_EQ(holderNames(), (Names{"A"}));

    window->CheckBox_UIReadOnly->setChecked(false);
    EXPECT_TRUE(window->toolButton("UINewNode")->isEnabled());
    EXPECT_FALSE(window->FrameMemoNode1->MemoNode0->isReadOnly());

    window->startDoing_("long");
    window->CheckBox_UIReadOnly->setChecked(true);
    EXPECT_FALSE(window->CheckBox_UIReadOnly->isChecked()) << "no switching while busy";
    window->doneDoing();
}

TEST_F(MenuBehaviourTest, TheInternetSwitchSaysWhatItDoes) {
    openMemoFile({{"A", {"a1"}}});
    window->CheckBox_UIInternet->setChecked(false);
    EXPECT_EQ(window->statusMessage(), "turn off internet access");
    EXPECT_FALSE(window->internetEnabled());
    window->CheckBox_UIInternet->setChecked(true);
    EXPECT_EQ(window->statusMessage(), "turn on internet access");
}

TEST_F(MenuBehaviourTest, UpAndDownStepThroughTheNodesAndStopAtTheEnds) {
    openMemoFile({{"A", {"a1", "a2", "a3"}}});
    window->toolButton("UIChangeCurrentNodeNext")->click();
    EXPECT_EQ(window->getCurMemoNode()->getName_(), "a2");
    EXPECT_EQ(window->statusMessage(), "Done: Change CurrentNode Next: a2 1");
    EXPECT_EQ(window->UIChangeCurrentNodeNext(), 2);
    EXPECT_EQ(window->UIChangeCurrentNodeNext(), -1);
    EXPECT_EQ(window->statusMessage(), "Not Change CurrentNode Next.");
    EXPECT_EQ(window->UIChangeCurrentNodePre(), 1);
    window->UIChangeCurrentNodePre();
    EXPECT_EQ(window->UIChangeCurrentNodePre(), -1);
    EXPECT_EQ(window->statusMessage(), "Not Change CurrentNode Pre.");
    window->startDoing_("long");
    window->toolButton("UIChangeCurrentNodeNext")->click();
    EXPECT_EQ(window->getCurMemoNode()->getName_(), "a1") << "the buttons wait for no command";
    window->doneDoing();
}

TEST_F(MenuBehaviourTest, TheStatusBarCopiesItsMessageAndAClickClearsIt) {
    makeWindow();
    window->messageDoing_("abc");
    ASSERT_EQ(window->PopupMenuStatus->actions().size(), 1);
    QAction* copy = window->PopupMenuStatus->actions().front();
    EXPECT_EQ(copy->text(), QStringLiteral("Copy(&C)"));
    copy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("abc"));
    QMouseEvent click(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->statusMessagePanel, &click);
    EXPECT_TRUE(window->statusMessagePanel->text().isEmpty());
}

TEST_F(MenuBehaviourTest, HolderNamesWithAnAmpersandShowIt) {
    openMemoFile({{"R&D notes", {"a&b"}}, {"B", {"b1"}}});
    HolderTabs* tabs = window->holderView().tabs();
    // The strip draws a doubled "&", so the name shows as it is.
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("R&D notes"));
    tabs->refreshTabs();
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("R&D notes"));
    EXPECT_EQ(tabs->holderAt(0), holder("R&D notes"));
}

}  // namespace
}  // namespace zel
