// A click on a column header of the list sorts what the list shows, not the
// holder: its order, and so what saving writes, stays until a command
// changes it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QWheelEvent>

#include "ViewsTestSupport.h"

namespace zel::test {
namespace {

using Names = std::vector<std::string>;

constexpr int kNameColumn = 0;
constexpr int kSizeColumn = 1;

// A list of nodes with a "Size" column; `sizes` go with `names`, an empty
// size leaves the field out.
struct SizedList {
    FakeHost host;
    MemoHolderUI* holder = nullptr;

    SizedList(const Names& names, const Names& sizes) {
        holder = &addHolder(*host.file, "H", names);
        for (std::size_t i = 0; i < names.size(); ++i)
            if (!sizes[i].empty())
                holder->at_(static_cast<int>(i))->putField_("Size", "\"" + sizes[i] + "\"");
        holder->putField_("ModeNodesMngr", "\"ListView\"");
        host.show(*holder);
        holder->setReportColumns_({{"name", 60}, {"Size", 60}});
        host.frame->resize(600, 400);
        host.frame->show();
        holder->changed = false;
    }

    NodeListControl& list() const { return *holder->listControl(); }

    void clickHeader(int column) const {
        QHeaderView* header = list().reportView->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + 5, header->height() / 2);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, header->viewport()->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(header->viewport(), &event);
        }
    }

    // The names as the list shows them, line by line.
    Names shown() const {
        Names lines;
        for (int line = 0; line < list().lineCount(); ++line)
            lines.push_back(holder->listModel()->nodeAt(list().rowOfLine(line))->getName_());
        return lines;
    }

    void makeCurrent(const std::string& name) { host.setCurMemoNode_(holder->byName_(name)); }
    std::string current() const { return host.current ? host.current->getName_() : "-"; }
};

TEST(ListSort, HeaderClicksSortTheViewUpDownAndBackButNotTheHolder) {
    SizedList view({"b", "A", "c10", "C9"}, {"10", "9", "", "100"});
    view.makeCurrent("c10");

    view.clickHeader(kNameColumn);
    EXPECT_EQ(view.shown(), Names({"A", "b", "c10", "C9"})) << "letter case folds";
    view.clickHeader(kNameColumn);
    EXPECT_EQ(view.shown(), Names({"C9", "c10", "b", "A"}));
    view.clickHeader(kNameColumn);
    EXPECT_EQ(view.shown(), Names({"b", "A", "c10", "C9"})) << "a third click: the holder's order";

    view.clickHeader(kSizeColumn);
    EXPECT_EQ(view.shown(), Names({"A", "b", "C9", "c10"}))
        << "numbers by value without their quotes, before a node without the field";
    view.clickHeader(kSizeColumn);
    EXPECT_EQ(view.shown(), Names({"c10", "C9", "b", "A"}));

    EXPECT_EQ(namesInOrder(*view.holder), Names({"b", "A", "c10", "C9"}))
        << "the order saving writes stays";
    EXPECT_FALSE(view.holder->changed);
    EXPECT_EQ(view.holder->getCurrent_()->getName_(), "c10") << "the current line stays chosen";
    EXPECT_EQ(view.list().selectedRow(), 2);
    EXPECT_EQ(view.list().activeView()->currentIndex().row(), 0);
}

TEST(ListSort, KeysAndTheWheelFollowTheSortedLines) {
    SizedList view({"b", "a", "c"}, {"", "", ""});
    view.clickHeader(kNameColumn);
    view.clickHeader(kNameColumn);
    ASSERT_EQ(view.shown(), Names({"c", "b", "a"}));

    ASSERT_TRUE(view.host.frame->goToFirstOrLast(Qt::Key_Home));
    EXPECT_EQ(view.current(), "c");
    view.host.frame->goToFirstOrLast(Qt::Key_End);
    EXPECT_EQ(view.current(), "a");
    EXPECT_TRUE(view.host.frame->wheelStep(false));
    EXPECT_EQ(view.current(), "b");
    EXPECT_TRUE(view.host.frame->wheelStep(false));
    EXPECT_EQ(view.current(), "c");
    EXPECT_FALSE(view.host.frame->wheelStep(false)) << "the first line has none above";
}

TEST(ListSort, NewNodesAndReloadsStaySortedAndAMoveShowsTheHoldersOrder) {
    SizedList view({"d", "b"}, {"", ""});
    view.makeCurrent("b");
    view.clickHeader(kNameColumn);

    view.holder->addNode_(view.holder->newNode_(), "a");
    view.holder->insertNode_(view.holder->newNode_(), "c", 0);
    EXPECT_EQ(view.shown(), Names({"a", "b", "c", "d"})) << "new lines take their sorted place";
    EXPECT_EQ(namesInOrder(*view.holder), Names({"c", "d", "b", "a"}));

    view.holder->refreshControls_();
    EXPECT_EQ(view.shown(), Names({"a", "b", "c", "d"})) << "a reload keeps the sort";
    EXPECT_EQ(view.holder->getCurrent_()->getName_(), "b");

    ASSERT_TRUE(view.holder->moveLine_(3, 0));
    EXPECT_EQ(view.shown(), Names({"a", "c", "d", "b"}))
        << "a line moved in the holder's order is shown in that order";
    EXPECT_EQ(view.list().reportView->horizontalHeader()->sortIndicatorSection(), -1);
}

}  // namespace
}  // namespace zel::test
