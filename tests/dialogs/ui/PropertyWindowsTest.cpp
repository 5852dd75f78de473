#include <gtest/gtest.h>

#include "dialogs/ui/FakeDialogHost.h"
#include "dialogs/ui/TFormHolder2.h"
#include "dialogs/ui/TFormMXA2.h"
#include "dialogs/ui/TFormPropatyApl.h"
#include "dialogs/ui/TFormPropatyNode2.h"
#include "platform/Clock.h"
#include "support/TempFolder.h"
#include "views/ViewText.h"

namespace zel {
namespace {

TEST(HolderPropertiesTest, APlainOkChangesNothingAndEditedControlsAreStored) {
    test::FakeDialogHost host;
    MemoHolder& h = host.addHolder("H", {{"n", {}}});
    h.putField_("CC", "\"cc@example.org\"");
    h.putField_("FileExt", "\".MXH\"");
    h.changed = false;
    const FieldList before = h.fields;
    TFormHolder2 dialog;
    ASSERT_EQ(dialog.loadRecord_(h), 0);
    EXPECT_EQ(dialog.RadioGroup_FileExt->itemText(), QStringLiteral(".mhz"));
    EXPECT_EQ(dialog.StaticText_CountOfNodes->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.storeRecord_(), -1) << "no owner link yet";
    dialog.setHost(&host);
    dialog.Button_OK->click();
    EXPECT_TRUE(h.fields == before);
    EXPECT_FALSE(h.changed);

    dialog.loadRecord_(h);
    dialog.setHost(&host);
    dialog.Edit_CC->clear();
    dialog.CheckBox_ReadOnly->setChecked(true);
    dialog.RadioGroup_NewNodeOP->setItemText(QStringLiteral("Current"));
    host.colour = QColor(0, 0, 255);
    dialog.StaticText_Color->click();
    dialog.Button_OK->click();
    EXPECT_EQ(h.getField_("CC"), "");
    EXPECT_TRUE(h.isReadOnly_());
    EXPECT_EQ(h.getField_("NewNodeOption"), "\"Current\"");
    EXPECT_EQ(h.getField_("Color"), "\"clBlue\"");
    EXPECT_EQ(h.getField_("FileExt"), "\".MXH\"");
    EXPECT_TRUE(h.changed);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"chooseColor", "switchReadOnly",
                                                    "readOnlyIndicator", "settings H"}));
}

TEST(HolderPropertiesTest, ExplorerShowsTheFolderOrSaysItIsMissing) {
    test::FakeDialogHost host;
    MemoHolder& h = host.addHolder("H", {});
    TFormHolder2 dialog;
    dialog.loadRecord_(h);
    dialog.setHost(&host);
    test::TempFolder folder;
    dialog.StaticText_FileName->setText(toQt(folder.path("h.mxh")));
    dialog.Button_Explorer->click();
    EXPECT_EQ(host.calls.back(), "explore " + folder.path() + "/");
    dialog.StaticText_FileName->setText(QStringLiteral("/nowhere/at/all/h.mxh"));
    dialog.Button_Explorer->click();
    EXPECT_EQ(host.boxes, std::vector<std::string>{"confirmation: /nowhere/at/all/h.mxh"});
}

TEST(MemoFilePropertiesTest, TheColourAndMemoAreStoredAndMarkTheFile) {
    test::FakeDialogHost host;
    host.file.memo = {"about"};
    TFormMXA2 dialog;
    dialog.loadRecord_(host.file);
    dialog.setHost(&host);
    EXPECT_EQ(dialog.StaticText_name->text(), QStringLiteral("demo"));
    dialog.Button_OK->click();
    EXPECT_FALSE(host.file.changed);
    dialog.loadRecord_(host.file);
    dialog.setHost(&host);
    dialog.Memo_Memo->setPlainText(QStringLiteral("about\nmore"));
    dialog.Button_OK->click();
    EXPECT_EQ(host.file.memo, (std::vector<std::string>{"about", "more"}));
    EXPECT_TRUE(host.file.changed);
}

class NodePropertiesWindowTest : public ::testing::Test {
  protected:
    NodePropertiesWindowTest() {
        h = &host.addHolder("H", {{"cur", {"Created=\"20200101 000000\""}},
                                  {"other", {"FlagLink=\"true\"", "Filename=\"/x\""}}});
        window.bind(host);
        host.calls.clear();
    }
    test::FakeDialogHost host;
    MemoHolder* h = nullptr;
    TFormPropatyNode2 window;
    ScopedClock clock{[] { return DateTime{2024, 1, 5, 9, 8, 7, 0}; }};
};

TEST_F(NodePropertiesWindowTest, OkStampsTheCurrentNodeBetweenTheFieldsEditorsWriteBackAndReload) {
    EXPECT_EQ(window.StaticText_Name->text(), QStringLiteral("cur"));
    EXPECT_TRUE(window.CheckBox_Created->isChecked());
    EXPECT_EQ(window.RadioGroup_flagLink->itemIndex(), -1);
    window.CheckBox_Modified->setChecked(true);
    window.CheckBox_Creater->setChecked(true);
    window.Button_OK->click();
    MemoNode* cur = h->byName_("cur");
    EXPECT_EQ(cur->getField_("Modified"), "\"20240105 090807\"");
    EXPECT_EQ(cur->getField_("Created"), "\"20200101 000000\"");
    EXPECT_EQ(cur->getField_("Creater"), "\"tester\"");
    EXPECT_EQ(cur->getField_("FlagLink"), "\"false\"");
    EXPECT_TRUE(h->changed);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"saveFields cur", "loadFields cur", "settings H"}));
}

TEST_F(NodePropertiesWindowTest, ANewCurrentNodeIsBoundBeforeAnythingIsWritten) {
    window.CheckBox_Modified->setChecked(true);
    host.currentNode = h->byName_("other");
    EXPECT_EQ(window.OK(), -1);
    EXPECT_EQ(h->byName_("other")->getField_("Modified"), "");
    EXPECT_EQ(window.StaticText_Name->text(), QStringLiteral("other"));
    EXPECT_EQ(window.RadioGroup_flagLink->itemIndex(), 0);
    EXPECT_FALSE(window.CheckBox_Modified->isChecked());
}

TEST_F(NodePropertiesWindowTest, BasicPutRefusesAnEmptyTargetListAndBadKeys) {
    window.RadioGroup_EditTarget->setItemIndex(1);
    window.ComboBox_Field->setEditText(QStringLiteral("K"));
    window.ComboBox_value->setEditText(QStringLiteral("\"abc\""));
    window.Button_BasicPut->click();
    EXPECT_EQ(host.boxes, std::vector<std::string>{"warning: No Node !"});
    window.RadioGroup_EditTarget->setItemIndex(2);
    window.Button_BasicPut->click();
    EXPECT_EQ(h->byName_("other")->getField_("K"), "\"abc\"");
    EXPECT_EQ(h->byName_("cur")->getField_("K"), "\"abc\"");
    window.ComboBox_Field->setEditText(QStringLiteral("a=b"));
    EXPECT_EQ(window.BasicPut(), -1);
    EXPECT_EQ(host.boxes.back(), "warning: " + std::string(kBadFieldKey));
}

TEST_F(NodePropertiesWindowTest, OnlyChosenValuesReachOtherTargets) {
    window.RadioGroup_EditTarget->setItemIndex(2);
    window.Button_OK->click();
    EXPECT_EQ(h->byName_("other")->getField_("Filename"), "\"/x\"");
    EXPECT_EQ(h->byName_("other")->getField_("FlagLink"), "\"true\"");
    host.chosenPath = "/chosen.txt";
    window.StaticText_Filename->setText(QStringLiteral("ignored"));
    window.chooseFilename();
    EXPECT_EQ(host.calls.back(), "openFile ignored");
    window.RadioGroup_flagLink->button(1)->click();
    window.Button_OK->click();
    EXPECT_EQ(h->byName_("other")->getField_("Filename"), "/chosen.txt");
    EXPECT_EQ(h->byName_("other")->getField_("FlagLink"), "\"false\"");
}

TEST(ApplicationPropertiesTest, ShowsAndChangesTheWindowsSettings) {
    test::FakeDialogHost host;
    host.drop = 2;
    host.autoSave = 120;
    TFormPropatyApl dialog;
    dialog.load(host);
    EXPECT_EQ(dialog.RadioGroup_DragAndDrop->itemIndex(), 2);
    EXPECT_EQ(dialog.Edit_AutoSaveTime->text(), QStringLiteral("120"));
    dialog.RadioGroup_DragAndDrop->button(1)->click();
    EXPECT_EQ(host.drop, 1);

    test::TempFolder folder;
    host.chosenPath = folder.path();
    dialog.Button_SetTempDir->click();
    EXPECT_EQ(host.tempDirectory, folder.path() + "/");
    EXPECT_EQ(dialog.StaticTextTempDir->text(), toQt(folder.path() + "/"));
    dialog.Button_Explorer->click();
    EXPECT_EQ(host.calls.back(), "explore " + folder.path() + "/");
    host.tempDirectory = "/nowhere/";
    dialog.Button_Explorer->click();
    EXPECT_EQ(host.boxes, std::vector<std::string>{"confirmation: \"/nowhere/\" not exists."});

    host.chosenFont = QFont(QStringLiteral("Serif"), 17);
    dialog.Button_Font->click();
    EXPECT_EQ(dialog.font().pointSize(), 17);
}

}  // namespace
}  // namespace zel
