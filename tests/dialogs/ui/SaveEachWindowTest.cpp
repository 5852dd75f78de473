#include <gtest/gtest.h>

#include <fstream>

#include "dialogs/ui/FakeFileListHost.h"
#include "dialogs/ui/TFormSaveEach.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"
#include "views/ViewText.h"

namespace zel {
namespace {

using Lines = std::vector<std::string>;

class SaveEachWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.file.setFilename(dir.path("memo.mxa"));
        MemoHolder& holder = host.addHolder("H", {"a", "b"});
        holder.at_(0)->putField_("Filename", "\"/x/a.txt\"");
        holder.at_(0)->memo = {"alpha"};
        holder.at_(1)->putField_("Filename", "\"b.txt\"");
        holder.at_(1)->setMarked_(true);
        holder.changed = false;
    }
    test::TempFolder dir;
    test::FakeFileListHost host;
    TFormSaveEach form;
};

TEST_F(SaveEachWindowTest, SavesIntoTheMemoFilesFolderAskingBeforeWritingOver) {
    form.open(host, false);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("FormSaveEach"));
    EXPECT_EQ(form.directory(), dir.path() + "/");
    EXPECT_TRUE(form.CheckBox_DefineDirectory->isChecked());
    EXPECT_TRUE(form.CheckBox_ConfirmWriteOver->isChecked());
    std::ofstream(dir.osPath("b.txt")) << "old b";
    host.answers = {HostAnswer::No};
    form.Button_SaveEach->click();
    EXPECT_EQ(form.logLines(),
              (Lines{"Save a : " + dir.path("a.txt"),
                     "Should Not Save name=\"b\" Filename=\"" + dir.path("b.txt") + "\"",
                     "Done: count of the Files saved=1"}));
    EXPECT_EQ(host.calls.front(), "UI2Model");
    EXPECT_TRUE(host.called("ask Shall I Write Over \"" + dir.path("b.txt") + "\" ?"));
    EXPECT_EQ(host.calls.back(), "done Done: count of the Files saved=1");
    std::string text;
    readFile(dir.path("a.txt"), text);
    EXPECT_EQ(text, "alpha\r\n");
}

TEST_F(SaveEachWindowTest, MarkedOnlyChangeFilenameAndTheFolderChooser) {
    form.open(host, true);
    EXPECT_TRUE(form.CheckBox_MarkNodeOnly->isChecked());
    host.inputs = {dir.path("out")};
    form.StaticText1->clicked();
    EXPECT_EQ(form.directory(), dir.path("out") + "/");
    EXPECT_TRUE(host.called("directory " + dir.path() + "/"));
    form.CheckBox_ChangeFilename->setChecked(true);
    form.SaveEach();
    EXPECT_EQ(form.logLines().back(), "Done: count of the Files saved=1");
    EXPECT_EQ(host.current->at_(1)->getField_("Filename"), dir.path("out/b.txt"));
    EXPECT_TRUE(host.called("fields changed H"));
    form.Button_Clear->click();
    EXPECT_TRUE(form.logLines().empty());

    form.Button_Break->click();
    form.SaveEach();
    EXPECT_EQ(form.logLines(), (Lines{"*Break*", "ERROR: SaveEach"}));
}

}  // namespace
}  // namespace zel
