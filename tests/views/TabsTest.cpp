// The holder tabs follow the memo file; the holder order window moves
// holders in its list and in the memo file at once.

#include <gtest/gtest.h>

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
