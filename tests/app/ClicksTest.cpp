// What a click shows is what it does: the tab right-clicked is the holder its
// pop-up acts on, a tool bar click leaves the keyboard to the new node's
// editor, the status bar's counts follow every change, companion windows
// stay on the screen above the window, and the splash shows something.

#include <QApplication>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QWindow>

#include "app/AppTestSupport.h"
#include "app/ZelMain.h"
#include "app/window/TFormAbout.h"
#include "app/window/TFormLog.h"
#include "model/MemoNode.h"
#include "views/HolderTabs.h"
#include "views/TFrameMemoNode.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class ClicksTest : public AppTest {
  protected:
    MemoHolderUI* current() const { return holder(window->getCurHolder()->getName_()); }
    QString position() {
        QApplication::processEvents();
        return window->holderView().frame()->StatusBar2->findChild<QLabel*>()->text();
    }
    TFrameMemoNode* nodeFrame() { return window->nodeEditor()->nodeFrame(); }
    std::string currentPosition() const {
        return std::to_string(current()->indexOf_(window->getCurMemoNode()) + 1) + " / " +
               std::to_string(current()->count_());
    }
    void rightClickTab(int tab) {
        HolderTabs* tabs = window->holderView().tabs();
        const QPoint at = tabs->tabRect(tab).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, tabs->mapToGlobal(at));
        QApplication::sendEvent(tabs, &click);
        tabs->PopupMenuHolder->hide();
    }
    void tabPopup(const char* caption) {
        for (QAction* action : window->holderView().tabs()->PopupMenuHolder->actions())
            if (action->text() == QLatin1String(caption)) return action->trigger();
        ADD_FAILURE() << "no tab pop-up entry " << caption;
    }
};

TEST_F(ClicksTest, TheTabRightClickedIsTheHolderItsPopUpDeletesAndTheQuestionNamesIt) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}, {"C", {"c1"}}});
    window->resize(800, 600);
    window->show();
    window->changeHolder_(holder("A"));
    rightClickTab(1);
    EXPECT_EQ(window->getCurHolder(), holder("B"));
    prompter->answer(Answer::Yes, "Shall I delete Current Holder Realy ?\r\n\"B\"");
    tabPopup("Delete");
    EXPECT_EQ(holderNames(), (Names{"A", "C"}));
}

TEST_F(ClicksTest, ToolBarButtonsTakeNoFocusAndANewNodeTakesTheTyping) {
    openMemoFile({{"A", {"a1"}}});
    window->show();
    for (const char* name : {"UINewNode", "UINewNodeURL", "UINewNodeImage", "UINewHolder"})
        EXPECT_EQ(window->toolButton(name)->focusPolicy(), Qt::NoFocus) << name;
    EXPECT_EQ(window->CheckBox_UIReadOnly->focusPolicy(), Qt::NoFocus);

    window->toolButton("UINewNode")->click();
    ASSERT_EQ(current()->count_(), 2);
    EXPECT_EQ(window->focusWidget(), nodeFrame()->MemoNode0);

    // The holder list's pop-up makes nodes the same way.
    window->holderView().frame()->setFocus();
    ASSERT_EQ(window->holderView().runCommand("UINewNodeImage", ""), 0);
    ASSERT_EQ(current()->count_(), 3);
    EXPECT_TRUE(window->focusWidget() == nodeFrame()->Memo_comment ||
                window->focusWidget() == nodeFrame()->Memo_Fields)
        << "a picture takes no typing: its comment or fields box does";

    window->holderView().frame()->setFocus();
    window->UINewNode();
    EXPECT_NE(window->focusWidget(), nodeFrame()->MemoNode0)
        << "a script's command leaves the focus alone";
}

TEST_F(ClicksTest, ThePositionUnderTheListFollowsSortReverseAndNew) {
    openMemoFile({{"A", {"c", "a", "b"}}});
    window->setCurMemoNode_(current()->byName_("c"));
    EXPECT_EQ(position(), QStringLiteral("1 / 3"));
    ASSERT_GE(window->UISortMemoHolder(), 0);
    EXPECT_EQ(position(), QStringLiteral("3 / 3"));
    ASSERT_GE(window->UIReverseMemoHolder(), 0);
    EXPECT_EQ(position(), QStringLiteral("1 / 3"));
    ASSERT_EQ(window->UINewNode(), 0);
    ASSERT_EQ(current()->count_(), 4);
    EXPECT_EQ(position().toStdString(), currentPosition());

    window->UIChangeTreeView();
    window->setCurMemoNode_(current()->byName_("a"));
    ASSERT_GE(window->UIReverseMemoHolder(), 0);
    EXPECT_EQ(position().toStdString(), currentPosition());
}

TEST_F(ClicksTest, TheHolderCountFollowsTheTrashAppearing) {
    openMemoFile({{"A", {"a", "b"}}});
    EXPECT_EQ(window->statusHolderCount->text(), QStringLiteral("1"));
    ASSERT_EQ(window->UIDeleteMemoNode(), 0);
    ASSERT_TRUE(holder("Trush"));
    EXPECT_EQ(window->statusHolderCount->text(), QStringLiteral("2"));
}

TEST_F(ClicksTest, CompanionWindowsOpenOnTheScreenAboveTheWindow) {
    makeWindow();
    window->show();
    const QRect free = window->screen()->availableGeometry();
    window->showFormLog();
    QWidget* log = window->findChild<TFormLog*>();
    ASSERT_TRUE(log);
    log->hide();
    log->setGeometry(free.right() - 50, free.bottom() - 50, free.width() + 300, 200);
    log->show();
    EXPECT_TRUE(free.contains(log->frameGeometry())) << "moved and shrunk onto the screen";
    ASSERT_TRUE(log->windowHandle());
    EXPECT_EQ(log->windowHandle()->transientParent(), window->windowHandle());
    EXPECT_EQ(log->windowHandle()->type(), Qt::Dialog) << "the type a window manager keeps above";
}

TEST_F(ClicksTest, InputBoxesAreWideEnoughForTheirCaption) {
    makeWindow();
    const std::string caption = "Rename Current MemoHolder";
    const auto box = makeInputBox(window.get(), caption, "Input new Name.", "A");
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    EXPECT_GT(box->width(), metrics.horizontalAdvance(QString::fromStdString(caption)) + 100);
    EXPECT_EQ(box->textValue(), QStringLiteral("A"));
    EXPECT_EQ(box->labelText(), QStringLiteral("Input new Name."));
}

TEST_F(ClicksTest, TheSplashWithoutAPictureShowsTheProgramAndMakesWayForABox) {
    makeWindow();
    TFormAbout about(window.get());
    EXPECT_EQ(about.setAboutImage(""), -1);
    EXPECT_TRUE(about.Label1->text().startsWith(QStringLiteral("zel\n")));
    EXPECT_TRUE(about.Label1->text().contains(QStringLiteral("00.15.08")));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("FormAbout"));

    about.showFor(3000);
    QDialog box(window.get());
    box.setModal(true);
    box.show();
    about.countDown();
    EXPECT_FALSE(about.isVisible()) << "a box of the program is never hidden under the splash";
}

TEST(ChromiumFlags, RootGetsNoSandboxBesideTheUsersFlags) {
    EXPECT_EQ(chromiumFlags("", false), "");
    EXPECT_EQ(chromiumFlags("--disable-gpu", false), "--disable-gpu");
    EXPECT_EQ(chromiumFlags("", true), "--no-sandbox");
    EXPECT_EQ(chromiumFlags("--disable-gpu", true), "--disable-gpu --no-sandbox");
    EXPECT_EQ(chromiumFlags("--no-sandbox --x", true), "--no-sandbox --x");
}

}  // namespace
}  // namespace zel
