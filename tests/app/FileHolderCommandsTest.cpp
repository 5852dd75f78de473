// The commands on the memo file and on whole holders: saving under the own
// name and another one, CSV tables as holders, renaming, deleting, copying.

#include <QAction>
#include <QPrinter>
#include <filesystem>

#include "app/AppTestSupport.h"
#include "app/window/MainHolderView.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/MemoHolderUI.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class FileHolderCommandsTest : public AppTest {
  protected:
    void show(const std::string& name) { window->changeHolder_(holder(name)); }
    void tabPopup(const char* caption) {
        for (QAction* action : window->holderView().tabs()->PopupMenuHolder->actions())
            if (action->text() == QLatin1String(caption)) return action->trigger();
        ADD_FAILURE() << "no tab pop-up entry " << caption;
    }
};

TEST_F(FileHolderCommandsTest, SavingTheMemoFileAsksFirstAndWritesTheCurrentHolder) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    show("B");
    prompter->answer(Answer::Cancel, "Could I save the file named \"" + path("memo.mxa"));
    EXPECT_EQ(window->UISaveFileWithMSG(), -1);
    EXPECT_EQ(window->statusMessage(), "Cancel: UISaveFileWithMSG");

    prompter->answer(Answer::Yes);
    const long long size = window->UISaveFileWithMSG();
    ASSERT_GT(size, 0);
    const std::string text = readText("memo.mxa");
    EXPECT_EQ(static_cast<long long>(text.size()), size);
    EXPECT_NE(text.find("CurrentHolder=\"B\""), std::string::npos);
    EXPECT_EQ(window->statusMessage(),
              "Done: Save MemoFole Size=" + std::to_string(size) + "bytes  " + path("memo.mxa"));
    EXPECT_FALSE(window->aFile->changed);
}

TEST_F(FileHolderCommandsTest, SavingIntoAMissingFolderMakesItOnlyWhenAllowed) {
    openMemoFile({{"A", {"a1"}}});
    window->aFile->setFilename(path("sub/deeper/memo.mxa"));
    prompter->answer(Answer::Cancel, "Make Directory ?  \"" + path("sub/deeper/") + "\"");
    EXPECT_EQ(window->UISaveFileWithoutMSG(), -1);
    EXPECT_FALSE(exists("sub"));
    prompter->answer(Answer::Yes);
    EXPECT_GT(window->UISaveFileWithoutMSG(), 0);
    EXPECT_TRUE(exists("sub/deeper/memo.mxa"));
}

TEST_F(FileHolderCommandsTest, SaveAsMAZElsewhereLoadsAndRewritesEveryHolder) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1", "b2"}}, {"C", {"c1"}}});
    ASSERT_FALSE(holder("C")->loaded);
    std::filesystem::create_directory(path("other"));
    prompter->input(path("other/moved.maz"));
    const long long size = window->saveAsMemoFile_(".maz");
    ASSERT_GT(size, 0);
    EXPECT_TRUE(exists("other/moved.maz"));
    EXPECT_TRUE(holder("C")->loaded);
    EXPECT_EQ(holder("B")->count_(), 2);
    for (const char* name : {"A", "B", "C"}) EXPECT_TRUE(holder(name)->changed) << name;
    EXPECT_EQ(window->aFile->getMemoFilePath_(), path("other/moved.maz"));
    EXPECT_NE(window->windowTitle().toStdString().find("moved.maz"), std::string::npos);

    // The container opens again with every holder's nodes.
    prompter->answer(Answer::No).answer(Answer::No).answer(Answer::No);
    ASSERT_TRUE(window->querySaveChanges_());
    ASSERT_EQ(window->_open_(path("other/moved.maz")), 0);
    EXPECT_EQ(holderNames(), (Names{"A", "B", "C"}));
    window->changeHolder_(holder("B"));
    EXPECT_EQ(currentNodeNames(), (Names{"b1", "b2"}));
}

TEST_F(FileHolderCommandsTest, SaveAsMXAElsewhereCarriesHoldersNotYetRead) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1", "b2"}}});
    ASSERT_FALSE(holder("B")->loaded);
    std::filesystem::create_directory(path("other"));
    prompter->input(path("other/moved.mxa"));
    ASSERT_GT(window->saveAsMemoFile_(".mxa"), 0);
    EXPECT_EQ(holder("B")->count_(), 2) << "read from the old folder, not lost";
    EXPECT_EQ(window->UISaveAllHolders(), 2);
    EXPECT_NE(readText("other/B.mxh").find("b2"), std::string::npos);
    EXPECT_TRUE(exists("B.mxh")) << "the old files stay";
}

TEST_F(FileHolderCommandsTest, SaveAsRefusesAnExtensionNoSaveCouldWrite) {
    openMemoFile({{"A", {"a1"}}});
    prompter->input(path("memo.txt"));
    EXPECT_EQ(window->saveAsMemoFile_(".mxa"), -1);
    EXPECT_EQ(window->aFile->getMemoFilePath_(), path("memo.mxa")) << "the name stays";

    prompter->input(path("A.txt"));
    EXPECT_EQ(window->saveAsHolder_(".mxh"), -1);
    EXPECT_EQ(window->statusMessage(), "FileExtention is missmatch.  \"" + path("A.txt") + "\"");
    EXPECT_EQ(holder("A")->getField_("Filename").find("A.txt"), std::string::npos);
}

TEST_F(FileHolderCommandsTest, SaveAsHolderWritesTheChosenFormatAndKeepsTheName) {
    openMemoFile({{"A", {"a1", "a2"}}});
    holder("A")->changed = true;
    prompter->input(path("packed.mhz"));
    const long long size = window->saveAsHolder_(".mhz");
    ASSERT_GT(size, 0);
    EXPECT_EQ(prompter->asked.back(), path("A.mhz")) << "the holder's own file is proposed";
    EXPECT_EQ(window->statusMessage(), "Done size=" + std::to_string(size));
    EXPECT_FALSE(holder("A")->changed);
    EXPECT_EQ(holder("A")->getField_("Filename"), "\"" + path("packed.mhz") + "\"");
    // Compressed on disk, and the same nodes when read back.
    EXPECT_EQ(readText("packed.mhz").find("<Holder"), std::string::npos);
    auto back = std::make_unique<MemoHolder>();
    ASSERT_EQ(readHolderFile_(*back, path("packed.mhz")), 0);
    EXPECT_EQ(back->count_(), 2);

    // A holder whose own file is elsewhere has that file proposed.
    holder("A")->putField_("FlagExtra", "\"true\"");
    holder("A")->putField_("Filename", "\"" + path("own.mxh") + "\"");
    prompter->input(path("plain.mxh"));
    ASSERT_GT(window->saveAsHolder_(".mhz"), 0);
    EXPECT_EQ(prompter->asked.back(), path("own.mhz"));
}

TEST_F(FileHolderCommandsTest, ACSVTableBecomesAHolderNamedAfterTheFile) {
    openMemoFile({{"A", {"a1"}}});
    writeText("prices.csv", "# exported\r\nname,,price\r\napple,red,100\r\npear\r\n");
    prompter->input(path("prices.csv"));
    ASSERT_EQ(window->UIOpenCSV(), 0);
    MemoHolder* made = window->getCurHolder();
    ASSERT_TRUE(made);
    EXPECT_EQ(made->getName_(), "prices");
    EXPECT_TRUE(made->loaded);
    EXPECT_TRUE(window->aFile->changed);
    ASSERT_EQ(made->count_(), 2);
    MemoNode* apple = made->at_(0);
    EXPECT_EQ(apple->getField_("name"), "\"apple\"");
    EXPECT_EQ(apple->getField_("price"), "\"100\"");
    EXPECT_EQ(apple->getField_("02"), "\"red\"") << "an empty header cell is named by its place";
    EXPECT_EQ(made->at_(1)->fields.indexOf("price"), -1) << "a short line sets only its cells";
    EXPECT_EQ(window->holderView().tabs()->count(), 2);
}

TEST_F(FileHolderCommandsTest, RenamingAHolderSettlesATakenName) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    show("B");
    prompter->input("  A ");
    tabPopup("Rename");
    const std::string given = window->getCurHolder()->getName_();
    EXPECT_NE(given, "A");
    EXPECT_EQ(window->statusMessage(), "Changed MemoHolder Name " + given);
    EXPECT_TRUE(window->aFile->changed);
    EXPECT_EQ(holderNames(), (Names{"A", given}));

    prompter->input("   ");
    EXPECT_EQ(window->UIRenameHolder(), -1) << "a blank name is refused";
    tabPopup("Rename other");
    EXPECT_NE(window->getCurHolder()->getName_(), given);
    EXPECT_NE(window->getCurHolder()->getName_(), "A");
}

TEST_F(FileHolderCommandsTest, DeletingAHolderShowsItsNeighbourAndKeepsItsFile) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}, {"C", {"c1"}}});
    show("C");
    prompter->answer(Answer::Yes, "Shall I delete Current Holder Realy ?");
    tabPopup("Delete");
    EXPECT_EQ(holderNames(), (Names{"A", "B"}));
    EXPECT_EQ(window->getCurHolder(), holder("B")) << "the new last holder";
    EXPECT_TRUE(exists("C.mxh"));
    EXPECT_TRUE(window->aFile->changed);

    show("A");
    holder("A")->changed = true;
    prompter->answer(Answer::Cancel, "Shall I Save Current Holder ?");
    EXPECT_EQ(window->UIDeleteHolder(), -1);
    prompter->answer(Answer::No).answer(Answer::Yes);
    ASSERT_EQ(window->UIDeleteHolder(), 0);
    EXPECT_EQ(holderNames(), (Names{"B"}));
    EXPECT_EQ(window->getCurHolder(), holder("B")) << "the former second";
    EXPECT_EQ(currentNodeNames(), (Names{"b1"}));

    EXPECT_EQ(window->UIDeleteHolder(), -1);
    EXPECT_EQ(window->statusMessage(), "Don't Delete Holder.  Only One Holder!");
}

TEST_F(FileHolderCommandsTest, ACopiedHolderHasItsOwnNameFileAndMode) {
    openMemoFile({{"A", {"p", "c"}}});
    holder("A")->putField_("ModeNodesMngr", "\"TreeView\"");
    show("A");
    ASSERT_EQ(window->UICopyHolder(), 0);
    MemoHolder* copy = window->getCurHolder();
    EXPECT_EQ(copy->getName_(), "A_copy");
    EXPECT_EQ(copy->count_(), 2);
    EXPECT_NE(copy->at_(0), holder("A")->at_(0));
    EXPECT_EQ(holderFilePath_(*copy), path("A_copy.mxh"));
    EXPECT_EQ(static_cast<MemoHolderUI*>(copy)->modeInForce_(), "TreeView");

    // A holder kept in a folder of its own is copied beside it, never onto it.
    holder("A")->setFlagExtra_(true);
    holder("A")->putField_("Filename", "\"" + path("far/A.mxh") + "\"");
    show("A");
    ASSERT_EQ(window->UICopyHolder(), 0);
    EXPECT_EQ(holderFilePath_(*window->getCurHolder()),
              path("far/") + window->getCurHolder()->getName_() + ".mxh");
}

TEST_F(FileHolderCommandsTest, TheMenusRunTheCommandsAndShowTheListMode) {
    openMemoFile({{"A", {"a1"}}, {"B", {"b1"}}});
    ASSERT_TRUE(window->menuAction("&File/Save As MAZ"));
    ASSERT_TRUE(window->menuAction("[Holder]/SaveAs Force/MHZ(.mhz)"));
    EXPECT_FALSE(window->menuAction("[Holder]/No such item"));

    window->menuAction("[Holder]/TreeView")->trigger();
    EXPECT_EQ(static_cast<MemoHolderUI*>(window->getCurHolder())->modeInForce_(), "TreeView");
    EXPECT_TRUE(window->menuAction("[Holder]/TreeView")->isChecked());
    show(window->getCurHolder() == holder("A") ? "B" : "A");
    EXPECT_TRUE(window->menuAction("[Holder]/CheckListBox")->isChecked())
        << "the radio items follow the shown holder";

    prompter->answer(Answer::Yes, "Shall I delete Current Holder Realy ?");
    window->menuAction("[Holder]/Delete")->trigger();
    EXPECT_EQ(window->aFile->countOfHolders_(), 1);
}

TEST_F(FileHolderCommandsTest, HardcopyPrintsAPictureOfTheWindow) {
    openMemoFile({{"A", {"a1"}}});
    window->printer().setOutputFormat(QPrinter::PdfFormat);
    window->printer().setOutputFileName(QString::fromStdString(path("window.pdf")));
    ASSERT_EQ(window->UIHardcopy(), 0);
    EXPECT_EQ(window->statusMessage(), "Done: UIHardCopy. Check Printer.");
    EXPECT_EQ(readText("window.pdf").rfind("%PDF", 0), 0u);
}

}  // namespace
}  // namespace zel
