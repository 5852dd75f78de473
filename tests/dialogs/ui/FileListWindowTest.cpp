#include <gtest/gtest.h>

#include <QMimeData>
#include <QUrl>

#include "dialogs/ui/FakeFileListHost.h"
#include "dialogs/ui/TFormFileList.h"
#include "views/ViewText.h"

namespace zel {
namespace {

using Lines = std::vector<std::string>;

class FileListWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { file_.setFilename("/memo/memo.mxa"); }
    test::FakeFileListHost host;
    MemoFile& file_ = host.file;
    TFormFileList form;
};

TEST_F(FileListWindowTest, DroppedFilesListTheirNamesByDefault) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("FormFileList"));
    EXPECT_EQ(form.RadioGroup_DragAndDrop->itemText(),
              QStringLiteral("Extract FileName (noname.mxa)"));
    EXPECT_EQ(form.RadioGroup_DragAndDrop->button(0)->text(),
              QStringLiteral("FileName           (C:\\zel\\noname.mxa)"));
    EXPECT_EQ(form.templateLines(),
              (Lines{"FlagLink=\"true\"", "Created=\"20040102\"", "Modified=\"20040102\""}));

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/a/b.txt")),
                  QUrl(QStringLiteral("https://host/page.html")),
                  QUrl::fromLocalFile(QString::fromUtf8("/a/\xE6\x97\xA5 \xE6\x9C\xAC.txt"))});
    const Lines dropped = TFormFileList::droppedPaths(data);
    EXPECT_EQ(dropped, (Lines{"/a/b.txt", "/a/\x93\xfa \x96{.txt"}));
    form.dropPaths(dropped);
    EXPECT_EQ(form.lines(), (Lines{"b.txt", "\x93\xfa \x96{.txt"}));

    form.RadioGroup_DragAndDrop->setItemIndex(0);
    form.dropPaths({"/a/c.txt"});
    EXPECT_EQ(form.lines().back(), "/a/c.txt");
}

TEST_F(FileListWindowTest, TheListButtonsWorkOnTheEditorsLines) {
    form.open(host);
    form.setLines({"one", "two"});
    host.inputs = {"[", ""};
    form.Button_AddHead->click();
    form.Button_AddTail->click();  // cancelled: the proposed blank adds nothing
    EXPECT_EQ(form.lines(), (Lines{"[one", "[two"}));
    EXPECT_TRUE(host.called("input Add Head/Head word"));
    EXPECT_TRUE(host.called("input Add Tail/Tail word"));
    form.Button_Num->click();
    EXPECT_EQ(form.lines(), (Lines{"00001 [one", "00002 [two"}));
    form.Button_DelHead->click();
    form.Button_LinkHTML->click();
    EXPECT_EQ(form.lines().front(), "<a href=\"[one\" >[one</a>");
    form.Button_Clear->click();
    EXPECT_TRUE(form.lines().empty());
}

TEST_F(FileListWindowTest, MakeNodesFillsANewHolderAndShowsItsLastNode) {
    host.addHolder("A", {"a1"});
    form.open(host);
    form.setLines({"/d/one.txt", "", "/d/two.txt"});
    form.Button_MakeNodes->click();
    ASSERT_EQ(file_.countOfHolders_(), 2);
    MemoHolder* made = file_.holderAt_(1);
    EXPECT_EQ(made->count_(), 2);
    EXPECT_EQ(made->at_(0)->getField_("Filename"), "\"/d/one.txt\"");
    EXPECT_TRUE(made->changed);
    EXPECT_TRUE(file_.changed);
    EXPECT_EQ(host.calls, (Lines{"UI2Model", "newHolder", "start Make Nodes", "show two.txt",
                                 "done Done: count=2"}));
}

TEST_F(FileListWindowTest, IntoTheCurrentHolderOnlyAsTheGuardsAllow) {
    MemoHolder& current = host.addHolder("A", {"*", "a1"});
    current.at_(0)->putField_("Kind", "\"from pattern\"");
    form.open(host);
    form.setLines({"/d/x.txt"});
    form.RadioGroup_Holder->setItemIndex(1);
    host.readOnly = true;
    form.MakeNodes();
    host.busy = true;
    host.readOnly = false;
    form.MakeNodes();
    EXPECT_EQ(current.count_(), 2);
    EXPECT_EQ(host.calls, Lines{"refused"});

    host.busy = false;
    form.MakeNodes();
    ASSERT_EQ(current.count_(), 3);
    MemoNode* node = current.byName_("x.txt");
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->getField_("Kind"), "\"from pattern\"");
    EXPECT_TRUE(current.changed);
    EXPECT_TRUE(host.called("show x.txt"));
}

}  // namespace
}  // namespace zel
