// The holder view of the main window: the tab strip's commands, choosing a
// tab, and the list-mode switches of the main menu.

#include <QAction>
#include <QCheckBox>

#include "app/AppTestSupport.h"
#include "app/window/MainHolderView.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/MemoHolderUI.h"
#include "views/NodeControls.h"
#include "views/NodeRowModel.h"
#include "views/TFrameMemoNode.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class MainHolderViewTest : public AppTest {
  protected:
    MainHolderView& view() { return window->holderView(); }
    void show(const std::string& name) { window->changeHolder_(holder(name)); }
    Names tabTexts() {
        Names texts;
        for (int i = 0; i < view().tabs()->count(); ++i)
            texts.push_back(view().tabs()->tabText(i).toStdString());
        return texts;
    }
    // The tab strip shows the memo file's holders in order, with the
    // current holder's tab selected.
    void expectTabsFollowTheFile() {
        EXPECT_EQ(tabTexts(), holderNames());
        EXPECT_EQ(view().tabs()->currentIndex(),
                  window->aFile->indexOfHolder_(window->getCurHolder()));
    }
    void popup(const char* caption) {
        for (QAction* action : view().tabs()->PopupMenuHolder->actions())
            if (action->text() == QLatin1String(caption)) return action->trigger();
        ADD_FAILURE() << "no tab pop-up entry " << caption;
    }
    MemoHolderUI* shown() { return view().frame()->holder(); }
};

TEST_F(MainHolderViewTest, NewHoldersGoNextToTheCurrentOneFirstOrLastAndBecomeCurrent) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    EXPECT_FALSE(window->aFile->changed);

    show("A");
    ASSERT_EQ(window->UINewHolder(), 0);
    MemoHolder* next = window->getCurHolder();
    EXPECT_EQ(holderNames(), (Names{"A", next->getName_(), "B"}));
    EXPECT_EQ(window->statusMessage(), "Done: New MemoHolder " + next->getName_());
    EXPECT_TRUE(window->aFile->changed);
    EXPECT_EQ(shown(), next);
    // One fresh node, current and shown in the node view.
    ASSERT_EQ(next->count_(), 1);
    EXPECT_EQ(window->getCurMemoNode(), next->at_(0));
    EXPECT_EQ(window->FrameMemoNode1->node(), next->at_(0));
    expectTabsFollowTheFile();

    show("A");
    popup("New Left");
    MemoHolder* left = window->getCurHolder();
    EXPECT_NE(left, holder("A"));
    EXPECT_EQ(window->aFile->indexOfHolder_(left), 0);
    EXPECT_EQ(left->count_(), 1);
    expectTabsFollowTheFile();

    show("A");
    ASSERT_EQ(window->UINewHolderRight(), 0);
    MemoHolder* right = window->getCurHolder();
    EXPECT_EQ(holderNames(),
              (Names{left->getName_(), "A", next->getName_(), "B", right->getName_()}));
    expectTabsFollowTheFile();
}

TEST_F(MainHolderViewTest, ReadOnlyUIRefusesNewAndMovedHolders) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    window->CheckBox_UIReadOnly->setChecked(true);
    EXPECT_LT(window->UINewHolder(), 0);
    EXPECT_LT(window->UINewHolderLeft(), 0);
    EXPECT_LT(window->UINewHolderRight(), 0);
    EXPECT_LT(window->UIMoveHolderRight(), 0);
    EXPECT_EQ(window->statusMessage(), "UI ReadOnly");
    EXPECT_EQ(holderNames(), (Names{"A", "B"}));
    EXPECT_FALSE(window->aFile->changed);
}

TEST_F(MainHolderViewTest, MovesExchangeTheCurrentHolderWithItsNeighbourButNotPastTheEnds) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}, {"C", {"c1"}}});
    show("A");
    EXPECT_EQ(window->UIMoveHolderLeft(), 0);
    EXPECT_EQ(holderNames(), (Names{"A", "B", "C"}));
    EXPECT_FALSE(window->aFile->changed);

    popup("->");
    EXPECT_EQ(holderNames(), (Names{"B", "A", "C"}));
    EXPECT_TRUE(window->aFile->changed) << "the new order must reach the close question";
    EXPECT_EQ(window->getCurHolder(), holder("A"));
    expectTabsFollowTheFile();

    window->UIMoveHolderRight();
    window->UIMoveHolderRight();
    EXPECT_EQ(holderNames(), (Names{"B", "C", "A"}));
    expectTabsFollowTheFile();

    popup("<-");
    EXPECT_EQ(holderNames(), (Names{"B", "A", "C"}));
    EXPECT_EQ(window->getCurHolder(), holder("A"));
    expectTabsFollowTheFile();
}

TEST_F(MainHolderViewTest, ChoosingATabShowsThatHolderAndItsNodes) {
    openMemoFile({{"A", {"a1", "a2"}}, {"B", {"b1", "b2", "b3"}}});
    show("A");
    view().tabs()->setCurrentIndex(1);
    EXPECT_EQ(window->getCurHolder(), holder("B"));
    EXPECT_EQ(shown(), holder("B"));
    EXPECT_EQ(currentNodeNames(), (Names{"b1", "b2", "b3"}));
    ASSERT_NE(window->FrameMemoNode1->node(), nullptr);
    EXPECT_EQ(window->FrameMemoNode1->node()->owner, holder("B"));
    EXPECT_EQ(window->statusMessage(), "B");
    // A's control steps aside for B's.
    auto* a = dynamic_cast<MemoHolderUI*>(holder("A"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->checkList(), nullptr);
    EXPECT_TRUE(a->checkList()->isHidden());
    EXPECT_FALSE(shown()->nodesControl_()->isHidden());

    view().tabs()->setCurrentIndex(0);
    EXPECT_EQ(window->getCurHolder(), holder("A"));
    EXPECT_EQ(currentNodeNames(), (Names{"a1", "a2"}));
}

TEST_F(MainHolderViewTest, WhileACommandRunsTabsMovesAndModeSwitchesAreRefused) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    show("A");
    window->startDoing_("something long");

    view().tabs()->setCurrentIndex(1);
    EXPECT_EQ(window->getCurHolder(), holder("A"));
    EXPECT_EQ(view().tabs()->currentIndex(), 0);

    EXPECT_LT(window->UIMoveHolderRight(), 0);
    EXPECT_EQ(holderNames(), (Names{"A", "B"}));

    window->UIChangeTreeView();
    EXPECT_EQ(holder("A")->getField_("ModeNodesMngr"), "\"CheckListBox\"");
    EXPECT_TRUE(window->statusMessage().starts_with("Now Doing")) << window->statusMessage();

    window->doneDoing();
    view().tabs()->setCurrentIndex(1);
    EXPECT_EQ(window->getCurHolder(), holder("B"));
}

TEST_F(MainHolderViewTest, ModeSwitchesChangeTheControlAndKeepOrderAndMarks) {
    openMemoFile({{"A", {"c", "a", "b"}}, {"B", {"b1"}}});
    show("A");
    auto* a = dynamic_cast<MemoHolderUI*>(holder("A"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->getField_("ModeNodesMngr"), "\"CheckListBox\"");
    view().frame()->markHandler(1, true);
    ASSERT_TRUE(a->byName_("a")->isMarked_());

    struct Step {
        int (TFormMainScript::*command)();
        const char* mode;
        const char* status;
    };
    const Step steps[] = {
        {&TFormMainScript::UIChangeTreeView, "TreeView", "Change TreeView"},
        {&TFormMainScript::UIChangeListView, "ListView", "Change ListView"},
        {&TFormMainScript::UIChangeCheckListBox, "CheckListBox", "Change CheckListBox"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.mode);
        EXPECT_EQ((window.get()->*step.command)(), 0);
        EXPECT_EQ(a->getField_("ModeNodesMngr"), "\"" + std::string(step.mode) + "\"");
        EXPECT_EQ(window->statusMessage(), step.status);
        QWidget* inForce = a->nodesControl_();
        ASSERT_NE(inForce, nullptr);
        EXPECT_FALSE(inForce->isHidden());
        for (QWidget* other :
             {static_cast<QWidget*>(a->checkList()), static_cast<QWidget*>(a->treeView()),
              static_cast<QWidget*>(a->listControl())}) {
            if (other && other != inForce) {
                EXPECT_TRUE(other->isHidden());
            }
        }
        EXPECT_EQ(currentNodeNames(), (Names{"c", "a", "b"}));
        EXPECT_TRUE(a->byName_("a")->isMarked_());
        EXPECT_FALSE(a->byName_("c")->isMarked_());
    }
    EXPECT_EQ(a->nodesControl_(), a->checkList());
    EXPECT_EQ(a->checkListModel()->data(a->checkListModel()->index(1, 0), Qt::CheckStateRole),
              QVariant(Qt::Checked));
    EXPECT_EQ(a->checkListModel()->data(a->checkListModel()->index(0, 0), Qt::CheckStateRole),
              QVariant(Qt::Unchecked));

    // Each holder keeps its own mode across tab changes.
    window->UIChangeTreeView();
    view().tabs()->setCurrentIndex(1);
    EXPECT_EQ(holder("B")->getField_("ModeNodesMngr"), "\"CheckListBox\"");
    view().tabs()->setCurrentIndex(0);
    EXPECT_EQ(a->nodesControl_(), a->treeView());
    EXPECT_FALSE(a->treeView()->isHidden());
    EXPECT_EQ(currentNodeNames(), (Names{"c", "a", "b"}));
}

}  // namespace
}  // namespace zel
