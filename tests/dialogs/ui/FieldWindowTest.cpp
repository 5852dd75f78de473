#include <gtest/gtest.h>

#include "dialogs/ui/FakeDialogHost.h"
#include "dialogs/ui/TFormField.h"
#include "views/ViewText.h"

namespace zel {
namespace {

class FieldWindowTest : public ::testing::Test {
  protected:
    FieldWindowTest() {
        a = &host.addHolder("A", {{"a1", {"Date=\"1\""}}, {"a2", {"X=\"y\""}}, {"a3", {}}});
        b = &host.addHolder("B", {{"b1", {"date=\"2\""}}});
        later = &host.addHolder("C", {}, false);
        window.open(host);
    }
    std::vector<std::string> lines() const { return window.results().lines(); }
    void type(HistoryBox* box, const char* text) { box->setEditText(QString::fromUtf8(text)); }

    test::FakeDialogHost host;
    MemoHolder* a = nullptr;
    MemoHolder* b = nullptr;
    MemoHolder* later = nullptr;
    TFormField window;
};

TEST_F(FieldWindowTest, OpeningNamesTheMemoFileAndChecksTheCurrentHolder) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("FormScanField demo"));
    ASSERT_EQ(window.CheckListBox1->count(), 3);
    EXPECT_EQ(window.checkedHolders(), std::vector<MemoHolder*>{a});
    window.CheckAll();
    EXPECT_EQ(window.checkedHolders().size(), 3u);
    window.UncheckAll();
    type(window.ComboBox_Field, "Date");
    window.Button_Scan->click();
    EXPECT_EQ(window.StatusBar1->shown(), "no MemoHolder selected.");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(FieldWindowTest, AnEmptyKeyIsRefusedWithAWarning) {
    window.Button_Set->click();
    EXPECT_EQ(host.boxes, std::vector<std::string>{"warning: Field is Empty."});
    EXPECT_EQ(window.StatusBar1->shown(), "Field is Empty.");
    EXPECT_TRUE(std::find(host.calls.begin(), host.calls.end(), "UI2Model") == host.calls.end());
}

TEST_F(FieldWindowTest, SetOverCheckedHoldersLoadsThemWritesBackAndKeepsTheHistories) {
    window.CheckAll();
    type(window.ComboBox_Field, "Date");
    type(window.ComboBox_ReplaceValue, "2024");
    window.Button_Set->click();
    EXPECT_EQ(lines(), (std::vector<std::string>{"A : a1 : Date=\"2024\"", "B : b1 : Date=\"2024\"",
                                                 "C : fromFile : Date=\"2024\""}));
    EXPECT_EQ(window.StatusBar1->shown(), "*Done: Set count=3 KeyWord=Date");
    EXPECT_TRUE(a->changed && b->changed && later->changed);
    const std::vector<std::string> expected = {"UI2Model", "start Scan Field", "load C",
                                               "done *Done: Set count=3 KeyWord=Date", "Model2UI"};
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(window.ComboBox_Field->history().entries(), std::vector<std::string>{"Date"});
    EXPECT_EQ(window.ComboBox_ReplaceValue->history().entries(), std::vector<std::string>{"2024"});

    type(window.ComboBox_Field, "date");
    window.Button_ScanNot->click();
    EXPECT_EQ(window.ComboBox_Field->history().entries(), std::vector<std::string>{"date"})
        << "an equal entry in another letter case gives way";
    EXPECT_EQ(lines(), std::vector<std::string>{"A : a2 : date="});
}

TEST_F(FieldWindowTest, ResultLinesOfDeletedNodesAreSkipped) {
    window.CheckAll();
    type(window.ComboBox_Field, "date");
    window.Button_Scan->click();
    ASSERT_EQ(lines().size(), 3u);
    host.currentNode = a->byName_("a2");
    a->removeNode_(a->byName_("a1"));

    window.clickLine(0);
    EXPECT_EQ(host.currentNode, a->byName_("a2")) << "nothing happens on a dead line";
    window.clickLine(1);
    EXPECT_EQ(host.currentHolder, b);
    EXPECT_EQ(host.currentNode, b->byName_("b1"));

    window.Button_Mark->click();
    EXPECT_EQ(window.StatusBar1->shown(), "Done: Mark count=2");
    EXPECT_TRUE(b->byName_("b1")->isMarked_());

    window.Button_EditSel->click();
    ASSERT_EQ(host.edited.size(), 2u);
    EXPECT_EQ(host.edited[0].first, "1");
    host.editorAvailable = false;
    window.Button_EditSel->click();
    EXPECT_EQ(window.StatusBar1->shown(), "ERROR: FromEditSelNode = nil in TFormField.");
    window.Button_Clear->click();
    window.Button_EditSel->click();
    EXPECT_EQ(window.StatusBar1->shown(), "No MemoNode selected.");
}

TEST_F(FieldWindowTest, NewNodeWritesTheListOnlyIntoTheNodeItMade) {
    type(window.ComboBox_Field, "Date");
    window.Button_Scan->click();
    host.refuseNewNode = true;
    window.Button_NewNode->click();
    EXPECT_TRUE(host.inserted.empty());
    host.refuseNewNode = false;
    window.Button_NewNode->click();
    EXPECT_EQ(host.inserted, std::vector<std::string>{"A : a1 : Date=\"1\"\n"});
}

TEST_F(FieldWindowTest, TheDropDownsListTheCurrentHoldersKeysAndValues) {
    window.Button_Value->click();
    EXPECT_EQ(window.StatusBar1->shown(), "Field name is empty.");
    window.Button_FieldName->click();
    ASSERT_EQ(window.ComboBox_Field->count(), 2);
    EXPECT_EQ(window.ComboBox_Field->currentText(), QStringLiteral("Date"));
    window.Button_Value->click();
    EXPECT_EQ(window.ComboBox_Value->currentText(), QStringLiteral("1"));
}

TEST_F(FieldWindowTest, HolderFieldsDialogStoresChangedLinesOnly) {
    a->fields.clear();
    a->putField_("flagSort", "\"false\"");
    MemoNode* current = a->first_();
    a->setCurrent_(current);
    TFormHolderFields dialog;
    dialog.load(*a, host);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("FormHolderFields  A"));
    EXPECT_TRUE(dialog.store());
    EXPECT_FALSE(a->changed);

    dialog.Memo1->setPlainText(QStringLiteral("flagSort=\"true\"\n\nbad<key=\"1\""));
    EXPECT_FALSE(dialog.store());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(a->getField_("flagSort"), "\"false\"");

    dialog.Memo1->setPlainText(QStringLiteral("flagSort=\"true\"\n\nColor=\"clRed\""));
    EXPECT_TRUE(dialog.store());
    EXPECT_EQ(a->getField_("Color"), "\"clRed\"");
    EXPECT_TRUE(a->getSort_()) << "the sort flag follows the edited line";
    EXPECT_EQ(a->currentNode, current);
    EXPECT_TRUE(a->changed);
    EXPECT_EQ(host.calls.back(), "settings A");
}

}  // namespace
}  // namespace zel
