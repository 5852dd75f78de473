// The holder search windows offscreen: their runs, texts and boxes, the
// buttons on the results, the holder check list, and stale result lines.

#include <gtest/gtest.h>

#include "search/ui/FakeSearchHost.h"
#include "search/ui/TFormScanHolder.h"
#include "views/ViewText.h"

namespace zel {
namespace {

using test::FakeSearchHost;

std::vector<std::string> shownLines(const ResultListModel& model) {
    std::vector<std::string> lines;
    for (int row = 0; row < model.rowCount(); ++row)
        lines.push_back(fromQt(model.index(row).data().toString()));
    return lines;
}

void type(QComboBox* box, const std::string& sjis) {
    box->setEditText(toQt(sjis));
}

bool has(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

TEST(ScanHolderWindow, OpensOnTheCurrentHolderAndScansNamesByDefault) {
    FakeSearchHost host;
    host.addHolder("h", {"abc1", "other"});
    TFormScanHolder window;
    ASSERT_TRUE(window.open(host));
    EXPECT_EQ(fromQt(window.windowTitle()), "FormScanHolder demo : h");
    EXPECT_TRUE(window.CheckBox_Name->isChecked());
    EXPECT_FALSE(window.CheckBox_Memo->isChecked());
    EXPECT_TRUE(window.CheckBox_Ignore->isChecked());
    EXPECT_FALSE(window.Button_EditSelect->isEnabled());

    type(window.ComboBox_KeyWord, "ABC");
    window.Button_Scan->click();
    EXPECT_EQ(shownLines(*window.listModel), (std::vector<std::string>{"h abc1"}));
    EXPECT_EQ(window.StatusBar1->shown(), "*Done Scan* ABC 1");
    EXPECT_TRUE(has(host.calls, "start Scan Holder"));
    EXPECT_TRUE(has(host.calls, "done *Done Scan* ABC 1"));
    EXPECT_EQ(host.history.entries(), (std::vector<std::string>{"ABC"}));
    EXPECT_EQ(window.ComboBox_KeyWord->count(), 1);

    type(window.ComboBox_KeyWord, "zzz");
    window.Scan();
    EXPECT_EQ(host.boxes, (std::vector<std::string>{"warning: *Done Scan* No match"}));
    EXPECT_EQ(window.StatusBar1->shown(), "*Done Scan* No match");
}

TEST(ScanHolderWindow, RefusesAnEmptyOrLossyKeywordAndRunsNothingWhileBusy) {
    FakeSearchHost host;
    host.addHolder("h", {"abc"});
    TFormScanHolder window;
    window.open(host);
    window.Grep();
    EXPECT_EQ(host.boxes, (std::vector<std::string>{"warning: KeyWord is Empty."}));
    EXPECT_EQ(window.StatusBar1->shown(), "KeyWord is Empty.");
    window.ComboBox_KeyWord->setEditText(QString::fromUtf8("\xF0\x9F\x98\x80"));
    window.Grep();
    EXPECT_EQ(host.boxes.back(), "warning: Failure: KeyWord cannot be held in Shift_JIS.");
    EXPECT_TRUE(host.history.entries().empty());

    host.busy = true;
    type(window.ComboBox_KeyWord, "abc");
    window.Scan();
    EXPECT_EQ(window.listModel->rowCount(), 0);
    EXPECT_TRUE(host.history.entries().empty());
}

TEST(ScanHolderWindow, ReplaceWritesEditorsBackMarksTheHolderAndRefusesReadOnlyUI) {
    FakeSearchHost host;
    MemoHolder& holder = host.addHolder("h", {"n"}, {{"ABC Abc abc Q"}});
    TFormScanHolder window;
    window.open(host);
    window.CheckBox_Memo->setChecked(true);
    type(window.ComboBox_KeyWord, "abc");
    type(window.ComboBox_ReplaceWord, "xyz");
    host.uiReadOnly = true;
    window.Replace();
    EXPECT_EQ(host.mainStatus, "UI ReadOnly");
    EXPECT_EQ(holder.at_(0)->memo[0], "ABC Abc abc Q");

    host.uiReadOnly = false;
    window.Replace();
    EXPECT_EQ(holder.at_(0)->memo[0], "xyz xyz xyz Q");
    EXPECT_EQ(shownLines(*window.listModel), (std::vector<std::string>{"h:n:replace Memo 000001"}));
    EXPECT_EQ(window.StatusBar1->shown(), "*Done Replace* count=1 KeyWord=abc");
    EXPECT_TRUE(holder.changed);
    const auto at = [&](const char* call) {
        return std::find(host.calls.begin(), host.calls.end(), call) - host.calls.begin();
    };
    EXPECT_LT(at("UI2Model"), at("start Replace Holder"));
    EXPECT_LT(at("replaced h"), at("Model2UI"));
    EXPECT_EQ(window.ComboBox_ReplaceWord->itemText(0), QStringLiteral("xyz"));

    window.Replace();
    EXPECT_EQ(host.boxes.back(), "confirmation: *Done Replace* No match KeyWord=abc");
}

TEST(ScanHolderWindow, ResultLinesGoToTheirNodesAndStaleOnesDoNothing) {
    FakeSearchHost host;
    host.addHolder("h1", {"x"});
    MemoHolder& second = host.addHolder("h2", {"abc1", "abc2"});
    TFormScanHolder window;
    window.open(host);
    host.currentHolder = &second;
    type(window.ComboBox_KeyWord, "abc");
    window.Scan();
    ASSERT_EQ(window.listModel->rowCount(), 2);
    host.currentHolder = host.file.holderAt_(0);
    host.calls.clear();
    window.clickLine(false, 1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"changeHolder h2", "current abc2"}));

    second.removeNode_(second.byName_("abc1"));
    host.calls.clear();
    window.clickLine(false, 0);
    window.clickLine(false, 7);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(window.listModel->index(0).data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(window.listModel->index(1).data(Qt::ForegroundRole).isValid());

    window.Mark();
    EXPECT_EQ(window.StatusBar1->shown(), "Done: Mark count=1");
    EXPECT_TRUE(second.byName_("abc2")->isMarked_());
    second.removeNode_(second.byName_("abc2"));
    window.Unmark();
    EXPECT_EQ(window.StatusBar1->shown(), "Done: Unmark count=0");
}

TEST(ScanHolderWindow, MarkCountsANodeOnceForEachOfItsLines) {
    FakeSearchHost host;
    MemoHolder& holder = host.addHolder("h", {"n"}, {{"abc", "abc", "abc"}});
    TFormScanHolder window;
    window.open(host);
    window.CheckBox_Memo->setChecked(true);
    type(window.ComboBox_KeyWord, "abc");
    type(window.ComboBox_ReplaceWord, "x");
    window.Replace();
    window.Mark();
    EXPECT_EQ(window.StatusBar1->shown(), "Done: Mark count=3");
    EXPECT_TRUE(holder.at_(0)->isMarked_());
}

TEST(ScanHolderWindow, EditSelectNewNodeClearAndTheUnbuiltButtons) {
    FakeSearchHost host;
    host.addHolder("h", {"abc1", "abc2"});
    TFormScanHolder window;
    window.open(host);
    window.EditSelect();
    EXPECT_EQ(window.StatusBar1->shown(), "No MemoNode selected.");
    type(window.ComboBox_KeyWord, "abc");
    window.Scan();
    window.EditSelect();
    EXPECT_EQ(window.StatusBar1->shown(), "ERROR: FormEditSelNode = nil.");
    host.editorAvailable = true;
    window.open(host);
    EXPECT_TRUE(window.Button_EditSelect->isEnabled());
    window.EditSelect();
    ASSERT_EQ(host.edited.size(), 2u);
    EXPECT_EQ(host.edited[1].first, "1");
    EXPECT_EQ(host.edited[1].second.get(), host.file.holderAt_(0)->byName_("abc2"));

    window.NewNode();
    EXPECT_EQ(host.editorMemo, (std::vector<std::string>{"h abc1", "h abc2"}));
    window.Clear();
    EXPECT_EQ(window.listModel->rowCount(), 0);

    window.Button_CopyHolder->click();
    EXPECT_EQ(host.boxes.back(), "information: Still Not Impliment");
    window.AllOn();
    EXPECT_TRUE(window.CheckBox_Field->isChecked());
    window.AllOff();
    EXPECT_FALSE(window.CheckBox_Name->isChecked());
    EXPECT_TRUE(window.CheckBox_Ignore->isChecked());
}

TEST(ScanHoldersWindow, TheCheckListRemembersCheckedHoldersAcrossUpdate) {
    FakeSearchHost host;
    host.addHolder("h1", {"a"});
    MemoHolder& second = host.addHolder("h2", {"b"});
    host.currentHolder = &second;
    TFormScanHolders window;
    ASSERT_TRUE(window.open(host));
    EXPECT_EQ(fromQt(window.windowTitle()), "FormScanHolder demo");
    EXPECT_EQ(window.PageControl1->currentWidget(), window.TabSheet_Grep);
    EXPECT_EQ(window.checkedNames(), (std::vector<std::string>{"h2"}));
    window.CheckAll();
    window.CheckListBox_Holders->item(1)->setCheckState(Qt::Unchecked);
    host.file.createHolder_(0)->putName_as_("h0");
    window.UpdateHolders();
    EXPECT_EQ(window.CheckListBox_Holders->count(), 3);
    EXPECT_EQ(window.checkedNames(), (std::vector<std::string>{"h1"}));
    window.UncheckAll();
    EXPECT_TRUE(window.checkedNames().empty());
    window.Button_CopyHolder->click();
    EXPECT_EQ(host.boxes.back(), "confirmation: Still  Not Impliment");
}

TEST(ScanHoldersWindow, GrepSaysNoMatchOnlyWhenTheGrepAreaIsEmpty) {
    FakeSearchHost host;
    host.addHolder("h1", {"a"}, {{"zz"}});
    host.addHolder("h2", {"b"}, {{"x abc"}});
    TFormScanHolders window;
    window.open(host);
    window.CheckAll();
    type(window.ComboBox_KeyWord, "abc");
    window.Grep();
    EXPECT_EQ(shownLines(*window.grepModel),
              (std::vector<std::string>{"h2:b:Memo:000001:      1: x abc"}));
    EXPECT_EQ(window.listModel->rowCount(), 0);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(window.StatusBar1->shown(), "*Grep* abc h2");

    type(window.ComboBox_KeyWord, "qqq");
    window.Grep();
    EXPECT_EQ(host.boxes, (std::vector<std::string>{"confirmation: No match"}));
    EXPECT_EQ(window.StatusBar1->shown(), "No match");
    EXPECT_EQ(host.history.entries(), (std::vector<std::string>{"qqq", "abc"}));
}

TEST(ScanHoldersWindow, UnloadedHoldersAreLoadedThroughTheMainWindow) {
    FakeSearchHost host;
    host.addHolder("h1", {"a"});
    MemoHolder& unread = host.addHolder("h2", {});
    unread.loaded = false;
    TFormScanHolders window;
    window.open(host);
    window.CheckAll();
    type(window.ComboBox_KeyWord, "a");
    window.Scan();
    EXPECT_TRUE(has(host.calls, "load h2"));
    EXPECT_EQ(window.StatusBar1->shown(), "*Done Scan* count=1 keyWord=a");
}

}  // namespace
}  // namespace zel
