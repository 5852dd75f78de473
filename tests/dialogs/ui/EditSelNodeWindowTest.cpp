#include <gtest/gtest.h>

#include "dialogs/ui/FakeDialogHost.h"
#include "dialogs/ui/TFormEditSelNode.h"
#include "views/ViewText.h"

namespace zel {
namespace {

class EditSelNodeWindowTest : public ::testing::Test {
  protected:
    EditSelNodeWindowTest() {
        h = &host.addHolder("H", {{"a", {}}, {"b", {}}, {"c", {}}});
        std::vector<std::pair<std::string, NodeRef>> list;
        for (const char* name : {"a", "c"}) list.emplace_back(name, NodeRef(h->byName_(name)));
        window.open(host, list);
        host.calls.clear();
    }

    test::FakeDialogHost host;
    MemoHolder* h = nullptr;
    TFormEditSelNode window;
};

TEST_F(EditSelNodeWindowTest, TheListShowsTheOpenersLinesAndNamesChangeByButton) {
    EXPECT_EQ(window.nodeModel->results().lines(), (std::vector<std::string>{"a", "c"}));
    window.ComboBox_name->setEditText(QStringLiteral("x"));
    window.Button_NameAddTailPlus->click();
    EXPECT_EQ(window.StatusBar1->shown(), "Done: Add Tail Name+2");
    EXPECT_NE(h->byName_("a x"), nullptr);
    EXPECT_NE(h->byName_("c x"), nullptr);
    EXPECT_NE(h->byName_("b"), nullptr);
    EXPECT_TRUE(h->changed);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"UI2Model", "Model2UI"}));
    EXPECT_EQ(window.ComboBox_name->history().entries(), std::vector<std::string>{"x"});
    EXPECT_EQ(window.nodeModel->results().lines(), (std::vector<std::string>{"a", "c"}))
        << "the editor never changes its list";
}

TEST_F(EditSelNodeWindowTest, FieldsMemosAndCommentsReachTheListedNodes) {
    window.Button_Set->click();
    EXPECT_EQ(host.boxes, std::vector<std::string>{"warning: Field is Empty."});
    window.ComboBox_Field->setEditText(QStringLiteral("K"));
    window.ComboBox_Value->setEditText(QStringLiteral("\"v\""));
    window.Button_Set->click();
    EXPECT_EQ(window.StatusBar1->shown(), "*Done Set Field count=2 Field=K Value=\"v\"");
    EXPECT_EQ(h->byName_("c")->getField_("K"), "\"v\"");
    EXPECT_EQ(h->byName_("b")->getField_("K"), "");

    window.Memo_Memo->setPlainText(QStringLiteral("line"));
    window.Button_MemoAddTail->click();
    EXPECT_EQ(h->byName_("a")->memo, std::vector<std::string>{"line"});
    window.Memo_Comment->setPlainText(QStringLiteral("note"));
    window.Button_CommentReplace->click();
    EXPECT_EQ(window.StatusBar1->shown(), "Done: Replace Comment 2");

    window.Button_Delete->click();
    EXPECT_EQ(h->byName_("a")->getField_("K"), "");
}

TEST_F(EditSelNodeWindowTest, UpdateFieldListsTheCurrentHoldersKeysAndKeepsTheText) {
    h->byName_("b")->putField_("Zeta", "\"1\"");
    h->byName_("a")->putField_("alpha", "\"1\"");
    window.ComboBox_Field->setEditText(QStringLiteral("typed"));
    window.Button_UpdateField->click();
    ASSERT_EQ(window.ComboBox_Field->count(), 2);
    EXPECT_EQ(window.ComboBox_Field->itemText(0), QStringLiteral("alpha"));
    EXPECT_EQ(window.ComboBox_Field->currentText(), QStringLiteral("typed"));
}

TEST_F(EditSelNodeWindowTest, NodesDeletedAfterTheListWasHandedOverAreSkipped) {
    h->removeNode_(h->byName_("a"));
    window.ComboBox_name->setEditText(QStringLiteral("!"));
    window.Button_NameAddTail->click();
    EXPECT_EQ(window.StatusBar1->shown(), "Done: Add Tail Name 1");
    EXPECT_NE(h->byName_("c!"), nullptr);
    h->removeNode_(h->byName_("c!"));
    window.Button_NameAddTail->click();
    EXPECT_EQ(window.StatusBar1->shown(), "No MemoNode selected.");
}

}  // namespace
}  // namespace zel
