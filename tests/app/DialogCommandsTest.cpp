// The editing dialogs in the window: their menu entries, the windows on the
// real main window, a mass edit the close question and the saved files keep,
// deleted nodes in open lists, the modal property dialogs and the name dialog.

#include <QApplication>
#include <QTimer>

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "dialogs/ui/TFormEditSelNode.h"
#include "dialogs/ui/TFormField.h"
#include "dialogs/ui/TFormHolder2.h"
#include "dialogs/ui/TFormMXA2.h"
#include "dialogs/ui/TFormName.h"
#include "dialogs/ui/TFormPropatyApl.h"
#include "dialogs/ui/TFormPropatyNode2.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/TFrameMemoNode.h"
#include "views/ViewText.h"

namespace zel {
namespace {

class DialogCommandsTest : public AppTest {
  protected:
    MemoNode* node(const std::string& holderName, const std::string& name) {
        return window->aFile->holderByName_(holderName)->byName_(name);
    }
    // Every node of every holder gets the field Kind: the field window lists
    // only nodes with fields.
    void giveEveryNodeAField() {
        MemoHolder* shown = window->getCurHolder();
        for (int i = 0; i < window->aFile->countOfHolders_(); ++i) {
            MemoHolder* each = window->aFile->holderAt_(i);
            window->changeHolder_(each);
            for (int n = 0; n < each->count_(); ++n) each->at_(n)->putField_("Kind", "\"memo\"");
            each->changed = false;
        }
        window->changeHolder_(shown);
        window->aFile->changed = false;
    }
    TFormField& fieldWindow() {
        EXPECT_EQ(runCommand(*window, "UIShowScanField"), 0);
        return *window->existingCompanion<TFormField>();
    }
    // Runs `act` on the modal dialog `W` once it is shown by what follows.
    template <class W>
    void whenShown(std::function<void(W&)> act) {
        QTimer::singleShot(0, window.get(), [act] {
            auto* dialog = qobject_cast<W*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no modal dialog";
                if (QWidget* other = QApplication::activeModalWidget()) other->close();
                return;
            }
            act(*dialog);
        });
    }
};

TEST_F(DialogCommandsTest, TheMenuEntriesAreEnabledAndTheFieldWindowOpens) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    for (const char* path :
         {"Scan/Field", "[Holder]/Fields", "[Holder]/Extra/Edit All MemoNode", "[Holder]/&Propaty",
          "&File/Propaty", "[MemoNode]/Rename", "[MemoNode]/Extra/Field2", "[Form]/Propaty"}) {
        QAction* item = window->menuAction(path);
        ASSERT_NE(item, nullptr) << path;
        window->prepareMenu(qobject_cast<QMenu*>(item->parent()));
        EXPECT_TRUE(item->isEnabled()) << path;
    }
    window->menuAction("Scan/Field")->trigger();
    auto* form = window->existingCompanion<TFormField>();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(fromQt(form->windowTitle()), "FormScanField memo");
    EXPECT_EQ(form->checkedHolders(), std::vector<MemoHolder*>{holder("A")});
    EXPECT_EQ(window->statusMessage().rfind("Show FormField ", 0), 0u);
    EXPECT_EQ(&fieldWindow(), form) << "kept";
}

TEST_F(DialogCommandsTest, AFieldSetAcrossHoldersIsKeptByTheCloseQuestion) {
    openMemoFile({{"A", {"a1", "a2"}}, {"B", {"b1"}}});
    giveEveryNodeAField();
    TFormField& form = fieldWindow();
    form.CheckAll();
    // Every node with fields and no Tag.
    form.RadioButton_Both->setChecked(true);
    form.ComboBox_Field->setEditText(QStringLiteral("Tag"));
    form.ComboBox_ReplaceValue->setEditText(QStringLiteral("2024"));
    form.Button_Set->click();
    EXPECT_EQ(form.StatusBar1->shown(), "*Done: Set count=3 KeyWord=Tag");
    EXPECT_EQ(node("B", "b1")->getField_("Tag"), "\"2024\"");
    EXPECT_TRUE(holder("A")->changed);
    EXPECT_TRUE(holder("B")->changed);
    EXPECT_EQ(window->statusMessage(), "*Done: Set count=3 KeyWord=Tag");

    prompter->answer(Answer::Yes, path("A.mxh")).answer(Answer::Yes, path("B.mxh"));
    EXPECT_TRUE(window->querySaveChanges_());
    EXPECT_NE(readText("A.mxh").find("Tag=\"2024\""), std::string::npos);
    EXPECT_NE(readText("B.mxh").find("Tag=\"2024\""), std::string::npos);
}

TEST_F(DialogCommandsTest, LinesOfADeletedHolderAreSkipped) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    giveEveryNodeAField();
    TFormField& form = fieldWindow();
    form.CheckAll();
    form.RadioButton_Both->setChecked(true);
    form.ComboBox_Field->setEditText(QStringLiteral("Tag"));
    form.Button_Scan->click();
    ASSERT_EQ(form.results().size(), 2u);
    window->changeHolder_(holder("B"));
    prompter->answer(Answer::Yes, "delete");
    ASSERT_EQ(window->UIDeleteHolder(), 0);
    EXPECT_EQ(form.results().node(1), nullptr);

    form.clickLine(1);
    EXPECT_EQ(window->getCurHolder(), holder("A"));
    form.Button_Mark->click();
    EXPECT_EQ(form.StatusBar1->shown(), "Done: Mark count=1");
    EXPECT_TRUE(node("A", "a1")->isMarked_());
    EXPECT_EQ(form.checkedHolders(), std::vector<MemoHolder*>{holder("A")});
    form.Button_EditSel->click();
    auto* editor = window->existingCompanion<TFormEditSelNode>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->nodeModel->results().lines(), std::vector<std::string>{"0"});
}

TEST_F(DialogCommandsTest, EditAllMemoNodeRenamesTheHoldersNodesAndTheViewFollows) {
    openMemoFile({{"A", {"a1", "a2"}}});
    ASSERT_EQ(runCommand(*window, "UIEditAllMemoNode"), 0);
    EXPECT_EQ(window->statusMessage(), "Show FormEditSelNode ");
    auto* editor = window->existingCompanion<TFormEditSelNode>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->nodeModel->results().lines(), (std::vector<std::string>{"a1", "a2"}));
    editor->ComboBox_name->setEditText(QStringLiteral("x"));
    editor->Button_NameAddTailPlus->click();
    EXPECT_EQ(editor->StatusBar1->shown(), "Done: Add Tail Name+2");
    EXPECT_EQ(currentNodeNames(), (std::vector<std::string>{"a1 x", "a2 x"}));
    EXPECT_EQ(window->FrameMemoNode1->shownName(), window->getCurMemoNode()->getName_());
    EXPECT_TRUE(holder("A")->changed);

    holder("A")->setReadOnly_(true);
    EXPECT_EQ(runCommand(*window, "UIEditAllMemoNode"), -1);
}

TEST_F(DialogCommandsTest, HolderPropertiesStoreOnlyTheChangedSetting) {
    openMemoFile({{"A", {"a1"}}});
    holder("A")->putField_("CC", "\"cc@example.org\"");
    holder("A")->changed = false;
    whenShown<TFormHolder2>([](TFormHolder2& dialog) { dialog.Button_OK->click(); });
    EXPECT_EQ(runCommand(*window, "UIShowHolderPropaty"), -9);
    EXPECT_FALSE(holder("A")->changed) << "a plain OK changes nothing";

    whenShown<TFormHolder2>([](TFormHolder2& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Holder Propaty"));
        dialog.Edit_CC->clear();
        dialog.Button_OK->click();
    });
    window->menuAction("[Holder]/&Propaty")->trigger();
    EXPECT_EQ(holder("A")->getField_("CC"), "");
    EXPECT_TRUE(holder("A")->changed);
}

TEST_F(DialogCommandsTest, MemoFilePropertiesTakeTheMemoText) {
    openMemoFile({{"A", {"a1"}}});
    whenShown<TFormMXA2>([](TFormMXA2& dialog) {
        dialog.Memo_Memo->setPlainText(QStringLiteral("about this file"));
        dialog.Button_OK->click();
    });
    EXPECT_EQ(runCommand(*window, "UIShowPropatyMXA2"), 0);
    EXPECT_EQ(window->aFile->memo, std::vector<std::string>{"about this file"});
    EXPECT_TRUE(window->aFile->changed);
}

TEST_F(DialogCommandsTest, ApplicationPropertiesChangeTheWindowsSettings) {
    openMemoFile({{"A", {"a1"}}});
    whenShown<TFormPropatyApl>([](TFormPropatyApl& dialog) {
        dialog.RadioGroup_DragAndDrop->button(2)->click();
        dialog.Edit_AutoSaveTime->setText(QStringLiteral("300"));
        emit dialog.Edit_AutoSaveTime->textEdited(QStringLiteral("300"));
        dialog.Button_CLOSE->click();
    });
    EXPECT_EQ(runCommand(*window, "UIShowApplicationPropaty"), 0);
    EXPECT_EQ(window->dropMode, DropExtractFileName);
    EXPECT_EQ(window->getAutoSaveTime(), 300);
    EXPECT_EQ(window->statusMessage().rfind("Close FormPropatyAPL ", 0), 0u);
}

TEST_F(DialogCommandsTest, NodePropertiesStampTheCurrentNode) {
    openMemoFile({{"A", {"a1"}}});
    ASSERT_EQ(runCommand(*window, "UIShowField"), 0);
    auto* form = window->existingCompanion<TFormPropatyNode2>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->StaticText_Name->text(), QStringLiteral("a1"));
    holder("A")->changed = false;
    form->CheckBox_Modified->setChecked(true);
    form->Button_OK->click();
    EXPECT_FALSE(node("A", "a1")->getField_("Modified").empty());
    EXPECT_NE(fromQt(window->FrameMemoNode1->Memo_Fields->toPlainText()).find("Modified="),
              std::string::npos)
        << "the fields editor shows the stamp";
    EXPECT_TRUE(holder("A")->changed);
}

TEST_F(DialogCommandsTest, TheNameDialogRenamesTheCurrentNode) {
    openMemoFile({{"A", {"a1"}}});
    whenShown<TFormName>([](TFormName& dialog) {
        EXPECT_EQ(fromQt(dialog.windowTitle()), "Change MemoNode's Name : memo : A");
        dialog.button(QStringLiteral("$1"), QString::fromUtf8("\xE2\x97\x8F"))->click();
        dialog.Button_OK->click();
    });
    EXPECT_EQ(runCommand(*window, "UIRenameNode"), 0);
    EXPECT_EQ(currentNodeNames(), std::vector<std::string>{"\x81\x9c a1"});
    EXPECT_TRUE(holder("A")->changed);

    whenShown<TFormName>([](TFormName& dialog) { dialog.Button_CANCEL->click(); });
    window->FrameMemoNode1->nameDialog();
    EXPECT_EQ(currentNodeNames(), std::vector<std::string>{"\x81\x9c a1"});

    holder("A")->first_()->setReadOnly_(true);
    EXPECT_EQ(runCommand(*window, "UIRenameNode"), -1);
    EXPECT_EQ(window->statusMessage(), "flagReadOnly=\"true\"");
}

TEST_F(DialogCommandsTest, HolderFieldsDialogEditsTheSettingsLines) {
    openMemoFile({{"A", {"a1"}}});
    whenShown<TFormHolderFields>([](TFormHolderFields& dialog) {
        dialog.Memo1->setPlainText(dialog.Memo1->toPlainText() + QStringLiteral("\nOwner=\"me\""));
        dialog.Button_OK->click();
    });
    EXPECT_EQ(runCommand(*window, "UIShowHolderFields"), 0);
    EXPECT_EQ(holder("A")->getField_("Owner"), "\"me\"");
    EXPECT_TRUE(holder("A")->changed);
    EXPECT_EQ(window->statusMessage(), "");
}

}  // namespace
}  // namespace zel
