// The holder tabs follow the memo file; the holder order window moves
// holders in its list and in the memo file at once.

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QWheelEvent>

#include "ViewsTestSupport.h"
#include "views/HolderTabs.h"
#include "views/TFormHolders.h"

namespace zel::test {
namespace {

std::vector<std::string> holderNames(const MemoFile& file) {
    HolderList list;
    file.listHolders_(list);
    std::vector<std::string> names;
    for (auto& entry : list) names.push_back(entry.first);
    return names;
}

TEST(HolderTabs, TabsShowTheHoldersInOrderAndFollowRenames) {
    ShownMemoFile file;
    MemoHolderUI& first = addHolder(file, "A", {"a"});
    MemoHolderUI& second = addHolder(file, "B", {"b"});
    HolderTabs tabs;
    tabs.bind(file);
    EXPECT_EQ(file.getDisplayMode_(), "\"TabControl\"");
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("B"));

    second.putName_as_("Renamed");
    EXPECT_EQ(tabs.tabText(1), QStringLiteral("Renamed"));

    std::vector<MemoHolder*> chosen;
    QObject::connect(&tabs, &HolderTabs::holderChosen,
                     [&chosen](MemoHolder* holder) { chosen.push_back(holder); });
    tabs.setCurrentIndex(1);
    EXPECT_EQ(chosen, std::vector<MemoHolder*>({&second}));

    file.currentHolder = &first;
    file.moveHolderRight_(0);
    tabs.refreshTabs();
    EXPECT_EQ(tabs.tabText(0), QStringLiteral("Renamed"));
    EXPECT_EQ(tabs.currentIndex(), 1) << "the current holder's tab stays selected";
    EXPECT_EQ(chosen.size(), 1u) << "refreshing is not a choice of the user";
}

// A memo file of `count` holders of no nodes, named "h0", "h1", ... or all
// asking for one name.
void fillHolders(MemoFile& file, int count, bool sameName) {
    for (int i = 0; i < count; ++i)
        file.createHolder_(-1)->putName_as_(sameName ? "holder" : "h" + std::to_string(i));
}

TEST(HolderTabs, AStripNarrowerThanItsTabsScrollsAndKeepsTheCurrentTabInSight) {
    ShownMemoFile file;
    fillHolders(file, 40, false);
    file.currentHolder = file.holderAt_(30);
    HolderTabs tabs;
    tabs.resize(300, 24);
    tabs.bind(file);
    tabs.show();
    EXPECT_EQ(tabs.currentIndex(), 30);
    const QRect current = tabs.tabRect(30);
    ASSERT_FALSE(current.isEmpty()) << "the current tab is scrolled into sight";
    EXPECT_LE(current.right(), 300);
    EXPECT_EQ(tabs.tabAt(current.center()), 30);
    EXPECT_TRUE(tabs.tabRect(0).isEmpty()) << "the first tabs are scrolled out";

    const int first = tabs.firstShownTab();
    QWheelEvent up(QPointF(5, 5), tabs.mapToGlobal(QPointF(5, 5)), {}, QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&tabs, &up);
    EXPECT_EQ(tabs.firstShownTab(), first - 1) << "the wheel scrolls one tab";
    EXPECT_EQ(tabs.currentIndex(), 30) << "scrolling chooses no holder";

    tabs.resize(3000, 24);
    EXPECT_EQ(tabs.firstShownTab(), 0) << "a strip wide enough shows the tabs from the first";
}

TEST(HolderTabs, ARightClickMakesItsTabCurrentBeforeThePopUpOpens) {
    ShownMemoFile file;
    fillHolders(file, 3, false);
    file.currentHolder = file.holderAt_(0);
    HolderTabs tabs;
    tabs.resize(400, 24);
    tabs.bind(file);
    tabs.show();
    MemoHolder* chosen = nullptr;
    bool currentWhenShown = false;
    QObject::connect(&tabs, &HolderTabs::holderChosen, [&](MemoHolder* holder) {
        chosen = holder;
        file.currentHolder = holder;
    });
    QObject::connect(tabs.PopupMenuHolder, &QMenu::aboutToShow,
                     [&] { currentWhenShown = file.currentHolder == file.holderAt_(2); });
    const QPoint at = tabs.tabRect(2).center();
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, tabs.mapToGlobal(at));
    QApplication::sendEvent(&tabs, &click);
    EXPECT_EQ(chosen, file.holderAt_(2));
    EXPECT_EQ(tabs.currentIndex(), 2);
    EXPECT_TRUE(currentWhenShown);
    EXPECT_TRUE(tabs.PopupMenuHolder->isVisible());
    tabs.PopupMenuHolder->hide();
}

// A hundred thousand holders, distinct or all asking for one name: the strip
// fills, shows the current holder's tab and refreshes without measuring
// every tab (the benchmark times it).
TEST(HolderTabs, AHundredThousandHoldersFillTheStrip) {
    for (bool sameName : {false, true}) {
        ShownMemoFile file;
        fillHolders(file, 100000, sameName);
        file.currentHolder = file.holderAt_(99999);
        HolderTabs tabs;
        tabs.resize(800, 24);
        tabs.bind(file);
        tabs.show();
        tabs.repaint();
        ASSERT_EQ(tabs.count(), 100000);
        EXPECT_EQ(tabs.currentIndex(), 99999);
        EXPECT_FALSE(tabs.tabRect(99999).isEmpty());
        EXPECT_EQ(tabs.tabText(99999).toStdString(), file.holderAt_(99999)->getName_());
        file.holderAt_(5)->putName_as_("renamed");
        EXPECT_EQ(tabs.tabText(5), QStringLiteral("renamed"));
    }
}

TEST(HolderOrder, EveryMoveChangesTheMemoFileAndCancelKeepsIt) {
    ShownMemoFile file;
    for (const char* name : {"A", "B", "C", "D"}) addHolder(file, name, {"x"});
    TFormHolders window;
    window.fill(file);
    window.ListBox1->setCurrentRow(2);
    EXPECT_EQ(window.moveTop(), 0);
    EXPECT_EQ(holderNames(file), std::vector<std::string>({"C", "A", "B", "D"}));
    EXPECT_EQ(window.moveUp(), -1) << "already first";
    EXPECT_EQ(window.moveBottom(), 3);
    EXPECT_EQ(window.moveDown(), -1) << "already last";
    window.dropEntry(3, 1);
    EXPECT_EQ(holderNames(file), std::vector<std::string>({"A", "C", "B", "D"}));
    window.reject();
    EXPECT_EQ(holderNames(file), std::vector<std::string>({"A", "C", "B", "D"}));
    EXPECT_EQ(window.ListBox1->item(1)->text(), QStringLiteral("C"));
}

}  // namespace
}  // namespace zel::test
