// The tree shows its items as lines: opened items show their children,
// closed ones hide them, and the lines follow every change of the tree.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ViewsTestSupport.h"
#include "views/NodeControls.h"
#include "views/NodeTreeModel.h"

namespace zel::test {
namespace {

using Names = std::vector<std::string>;

Names lines(MemoHolderUI& holder) {
    Names shown;
    NodeTreeModel* model = holder.treeModel();
    for (int row = 0; row < model->rowCount(); ++row)
        shown.push_back(model->index(row, 0).data().toString().toStdString());
    return shown;
}

TreeItem* item(MemoHolderUI& holder, const char* name) {
    return holder.treeItemOf(holder.byName_(name));
}

std::string selectedLine(MemoHolderUI& holder) {
    TreeItem* chosen = holder.selectedTreeItem();
    return chosen ? chosen->node->getName_() : "";
}

// r has c1 (with g1) and c2; s has no child.
struct Family {
    FakeHost host;
    MemoHolderUI& holder;
    Family()
        : holder(
              addHolder(*host.file, "H", {"r", "c1", "g1", "c2", "s"}, {"", "r", "c1", "r", ""})) {
        holder.putField_("ModeNodesMngr", "\"TreeView\"");
        host.show(holder);
        host.frame->resize(600, 400);
        host.frame->show();
    }
    NodeTreeView* view() { return holder.treeView(); }
    QPoint pointOn(const char* name, bool onMark) {
        const QRect line = view()->visualRect(holder.treeModel()->indexOf(item(holder, name)));
        const int level = item(holder, name)->level();
        const int x = line.left() + level * view()->indentation() +
                      (onMark ? view()->indentation() / 2 : view()->indentation() + 20);
        return {x, line.center().y()};
    }
};

TEST(TreeLines, OpeningAndClosingShowAndHideChildrenAndKeepInnerState) {
    Family f;
    EXPECT_EQ(lines(f.holder), Names({"r", "s"}));
    NodeTreeModel* model = f.holder.treeModel();
    EXPECT_EQ(model->index(0, 0).data(NodeTreeModel::BranchRole).toInt(),
              NodeTreeModel::ClosedBranch);
    EXPECT_EQ(model->index(1, 0).data(NodeTreeModel::BranchRole).toInt(), NodeTreeModel::NoBranch);

    f.holder.setExpanded_(item(f.holder, "r"), true);
    EXPECT_EQ(lines(f.holder), Names({"r", "c1", "c2", "s"}));
    EXPECT_EQ(model->index(1, 0).data(NodeTreeModel::LevelRole).toInt(), 1);
    f.holder.setExpanded_(item(f.holder, "c1"), true);
    EXPECT_EQ(lines(f.holder), Names({"r", "c1", "g1", "c2", "s"}));
    f.holder.setExpanded_(item(f.holder, "r"), false);
    EXPECT_EQ(lines(f.holder), Names({"r", "s"}));
    f.holder.setExpanded_(item(f.holder, "r"), true);
    EXPECT_EQ(lines(f.holder), Names({"r", "c1", "g1", "c2", "s"})) << "c1 stayed open inside";
    EXPECT_EQ(selectedLine(f.holder), "r");
}

TEST(TreeLines, ChoosingAHiddenNodeOpensItsAncestors) {
    Family f;
    f.holder.setCurrent_(f.holder.byName_("g1"));
    EXPECT_EQ(lines(f.holder), Names({"r", "c1", "g1", "c2", "s"}));
    EXPECT_EQ(selectedLine(f.holder), "g1");
    // The node order does not depend on what is open.
    f.holder.setExpanded_(item(f.holder, "r"), false);
    EXPECT_EQ(f.holder.next_(f.holder.byName_("r"))->getName_(), "c1");
    EXPECT_EQ(f.holder.count_(), 5);
}

TEST(TreeLines, AnAppendedLastNodeAddsOneLineAtTheEnd) {
    Family f;
    f.holder.setCurrent_(f.holder.byName_("s"));
    std::vector<std::pair<int, int>> inserted;
    QObject::connect(
        f.holder.treeModel(), &QAbstractItemModel::rowsInserted,
        [&](const QModelIndex&, int first, int last) { inserted.emplace_back(first, last); });
    f.holder.addNode_(f.holder.newNode_(), "t");
    EXPECT_EQ(inserted, (std::vector<std::pair<int, int>>{{2, 2}}));
    EXPECT_EQ(lines(f.holder), Names({"r", "s", "t"}));
    EXPECT_EQ(selectedLine(f.holder), "t");
    f.holder.removeNode_(f.holder.byName_("t"));
    EXPECT_EQ(lines(f.holder), Names({"r", "s"}));
}

TEST(TreeLines, AChildAddedUnderAClosedItemOpensItAndGetsItsLine) {
    Family f;
    f.holder.setCurrent_(f.holder.byName_("s"));
    MemoNode* child = f.holder.newChildNode_(*f.holder.byName_("s"));
    ASSERT_TRUE(child);
    EXPECT_EQ(lines(f.holder), Names({"r", "s", child->getName_()}));
    EXPECT_EQ(f.holder.treeModel()->index(1, 0).data(NodeTreeModel::BranchRole).toInt(),
              NodeTreeModel::OpenBranch);
}

TEST(TreeLines, RemovingAClosedParentShowsItsChildrenInItsPlace) {
    Family f;
    f.holder.setCurrent_(f.holder.byName_("s"));
    f.holder.removeNode_(f.holder.byName_("r"));
    EXPECT_EQ(lines(f.holder), Names({"c1", "c2", "s"}));
    EXPECT_EQ(f.holder.treeModel()->index(0, 0).data(NodeTreeModel::LevelRole).toInt(), 0);
    EXPECT_EQ(selectedLine(f.holder), "s") << "the current line stays chosen";
    // Removing a hidden grandchild changes no line but the branch mark.
    f.holder.removeNode_(f.holder.byName_("g1"));
    EXPECT_EQ(lines(f.holder), Names({"c1", "c2", "s"}));
    EXPECT_EQ(f.holder.treeModel()->index(0, 0).data(NodeTreeModel::BranchRole).toInt(),
              NodeTreeModel::NoBranch);
}

TEST(TreeLines, AMovedItemStaysChosenAndKeepsItsOpenState) {
    Family f;
    f.holder.setExpanded_(item(f.holder, "r"), true);
    f.holder.setExpanded_(item(f.holder, "c1"), true);
    f.holder.setCurrent_(f.holder.byName_("c1"));
    f.holder.placeAfter_(item(f.holder, "c1"), item(f.holder, "s"));
    EXPECT_EQ(lines(f.holder), Names({"r", "c2", "s", "c1", "g1"}));
    EXPECT_EQ(selectedLine(f.holder), "c1");
    EXPECT_TRUE(f.holder.isExpanded_(item(f.holder, "c1")));
}

TEST(TreeLines, TheBranchMarkAndTheKeysOpenAndClose) {
    Family f;
    NodeTreeView* view = f.view();
    const auto click = [&](QEvent::Type type, const QPoint& at) {
        QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    };
    click(QEvent::MouseButtonPress, f.pointOn("r", true));
    EXPECT_EQ(lines(f.holder), Names({"r", "c1", "c2", "s"}));
    click(QEvent::MouseButtonPress, f.pointOn("r", true));
    EXPECT_EQ(lines(f.holder), Names({"r", "s"}));
    click(QEvent::MouseButtonDblClick, f.pointOn("r", false));
    EXPECT_EQ(lines(f.holder), Names({"r", "c1", "c2", "s"}));
    EXPECT_EQ(f.host.current, f.holder.byName_("r")) << "opening chooses no other node";

    const auto key = [&](int code) {
        QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    key(Qt::Key_Minus);
    EXPECT_EQ(lines(f.holder), Names({"r", "s"}));
    key(Qt::Key_Asterisk);
    EXPECT_EQ(lines(f.holder), Names({"r", "c1", "g1", "c2", "s"}));
    view->collapseAll();
    key(Qt::Key_Plus);
    EXPECT_EQ(lines(f.holder), Names({"r", "c1", "c2", "s"}));
}

}  // namespace
}  // namespace zel::test
