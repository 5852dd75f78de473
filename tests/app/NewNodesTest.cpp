// New nodes of every kind and the children made from the current node.

#include <QDate>
#include <algorithm>

#include "app/AppTestSupport.h"
#include "formats/TContent.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/MemoHolderUI.h"
#include "views/NodeTreeModel.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class NewNodesTest : public AppTest {
  protected:
    MemoHolder* current() { return window->getCurHolder(); }
    MemoNode* node() { return window->getCurMemoNode(); }
    std::string today() {
        return QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString();
    }
    // A tree holder "T" of the nodes p and q, with p current.
    MemoNode* treeWithParent() {
        openMemoFile({{"T", {"p", "q"}}});
        current()->putField_("ModeNodesMngr", "\"TreeView\"");
        window->showListMode(ListMode::Tree);
        MemoNode* parent = current()->byName_("p");
        window->setCurMemoNode_(parent);
        return parent;
    }
    // The node's parent as the tree shows it; none at the top level.
    MemoNode* treeParentOf(MemoNode* child) {
        TreeItem* item = holder("T")->treeItemOf(child);
        return item && !item->isTopLevel() ? item->parent->node : nullptr;
    }
    void expectChildOf(MemoNode* parent) {
        ASSERT_NE(node(), parent);
        EXPECT_EQ(node()->getField_("ParentNodeID"), parent->getField_("UID"));
        EXPECT_FALSE(parent->getField_("UID").empty());
        EXPECT_EQ(treeParentOf(node()), parent);
        EXPECT_FALSE(window->isDoing());
    }
    static void giveBytes(MemoNode& node, std::string bytes) {
        auto body = std::make_unique<TContent>();
        body->stream = std::move(bytes);
        node.content = std::move(body);
        node.putField_("Content-Transfer-Encoding", "\"binary\"");
    }
};

TEST_F(NewNodesTest, FileNodesLoadTheChosenFileAndAFileThatCannotBeReadMakesNone) {
    openMemoFile({{"A", {"a"}}});
    writeText("notes.txt", "one\r\ntwo\r\n");
    prompter->input(path("notes.txt"));
    ASSERT_EQ(window->UINewNodeFile(), 0);
    EXPECT_EQ(node()->getName_(), path("notes.txt"));
    EXPECT_EQ(node()->memo, (Names{"one", "two"}));
    EXPECT_EQ(window->statusMessage(), "Done: New MemoNode File " + path("notes.txt"));

    const int count = current()->count_();
    MemoNode* before = node();
    prompter->input(path("gone.txt"));
    EXPECT_EQ(window->UINewNodeFile(), -1);
    EXPECT_EQ(window->statusMessage(), "Failure: New MemoNode File " + path("gone.txt"));
    EXPECT_EQ(current()->count_(), count);
    EXPECT_EQ(node(), before);

    prompter->input("", false);
    EXPECT_EQ(window->UINewNodeFile(), -1);
    EXPECT_EQ(window->statusMessage(), "Cancel: New MemoNode File");
    EXPECT_EQ(current()->count_(), count);
}

TEST_F(NewNodesTest, AddressQuestionsLeftAloneGiveTheManualsAddress) {
    openMemoFile({{"A", {"a"}}});
    const std::string manual = window->LabeledEdit_CmURL;
    prompter->input("", false);
    ASSERT_EQ(window->UINewNodeURL(), 0);
    EXPECT_EQ(node()->getField_("Filename"), "\"" + manual + "\"");
    EXPECT_EQ(window->statusMessage(), "Done: New MemoNode URL " + manual);

    prompter->input("  https://example.test/a  ");
    ASSERT_EQ(window->UINewNodeURL(), 0);
    EXPECT_EQ(node()->getName_(), "https://example.test/a");
    EXPECT_EQ(node()->getField_("Content-Transfer-Encoding"), "\"URL\"");
    EXPECT_EQ(node()->getField_("Filename"), "\"https://example.test/a\"");

    prompter->input(dir);
    ASSERT_EQ(window->UINewNodeURLDir(), 0);
    EXPECT_EQ(node()->getField_("Filename"), "\"" + dir + "/\"");

    window->LabeledEdit_CmURL.clear();
    prompter->input("http://");
    const int count = current()->count_();
    EXPECT_EQ(window->UINewNodeURL(), -1);
    EXPECT_EQ(window->statusMessage(), "Cancel \"New MemoNode URL\"");
    EXPECT_EQ(current()->count_(), count);
}

TEST_F(NewNodesTest, ImageNodesAreNamedByTheDateAndTheNodeCount) {
    openMemoFile(
        {{"A",
          {"n01", "n02", "n03", "n04", "n05", "n06", "n07", "n08", "n09", "n10", "n11", "n12"}}});
    current()->putField_("FormatDate", "\"YYYYMMDD\"");
    ASSERT_EQ(window->UINewNodeImage(), 0);
    EXPECT_EQ(node()->getName_(), today() + "_12.bmp");
    EXPECT_EQ(node()->getField_("Filename"), "\"./" + today() + "_12.bmp\"");
    EXPECT_EQ(window->statusMessage(), "Done: New Node Image");
}

TEST_F(NewNodesTest, ScreenCaptureFillsANewImageNodeAndShowsTheWindowAgain) {
    openMemoFile({{"A", {"a"}}});
    window->show();
    ASSERT_EQ(window->UINewNodeImageScreen(), 0);
    EXPECT_EQ(window->statusMessage(), "Done: New Node Image Screen");
    EXPECT_EQ(current()->count_(), 2);
    EXPECT_EQ(node()->getField_("Content-Type"), "\"image/bmp\"");
    ASSERT_TRUE(node()->content && node()->content->stream);
    EXPECT_EQ(node()->content->stream->substr(0, 2), "BM");
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isDoing());
}

TEST_F(NewNodesTest, ChildrenHangUnderTheNodeThatWasCurrent) {
    MemoNode* parent = treeWithParent();
    ASSERT_EQ(window->UINewChild(), 0);
    expectChildOf(parent);
    EXPECT_EQ(window->statusMessage(), "Done: New Child : " + node()->getName_());

    window->setCurMemoNode_(parent);
    prompter->input("", false);
    ASSERT_EQ(window->UINewChildURL(), 0);
    expectChildOf(parent);
    EXPECT_EQ(node()->getField_("Filename"), "\"" + window->LabeledEdit_CmURL + "\"");
    EXPECT_EQ(window->statusMessage(), "Done: New Child URL " + window->LabeledEdit_CmURL);

    window->setCurMemoNode_(parent);
    ASSERT_EQ(window->UINewChildImageScreen(), 0);
    expectChildOf(parent);
    EXPECT_EQ(node()->getField_("Content-Type"), "\"image/bmp\"");
    EXPECT_EQ(holder("T")->treeItemOf(parent)->children.size(), 3u);

    current()->setReadOnly_(true);
    EXPECT_EQ(window->UINewChild(), -1);
    EXPECT_EQ(holder("T")->treeItemOf(parent)->children.size(), 3u);
}

TEST_F(NewNodesTest, ACloneBecomesAChildOfItsOriginal) {
    MemoNode* parent = treeWithParent();
    parent->memo = {"original text"};
    ASSERT_EQ(window->UICloneNodeAndChild(), 0);
    expectChildOf(parent);
    EXPECT_EQ(node()->memo, (Names{"original text"}));
    EXPECT_NE(node()->getField_("UID"), parent->getField_("UID"));
    EXPECT_EQ(window->statusMessage(), "Done: Clone MemoNode And Child");
}

TEST_F(NewNodesTest, DumpTextNeedsBinaryContentAndDumpsItSixteenBytesALine) {
    MemoNode* parent = treeWithParent();
    const int count = current()->count_();
    EXPECT_EQ(window->UINewChildDumpText(), -1);
    EXPECT_EQ(window->statusMessage(), "Current MemoNode did not have binary content.");
    EXPECT_EQ(current()->count_(), count);

    giveBytes(*parent, "Hello, binary world");
    ASSERT_EQ(window->UINewChildDumpText(), 0);
    expectChildOf(parent);
    ASSERT_EQ(node()->memo.size(), 4u);
    EXPECT_EQ(node()->memo[0], "#size=19");
    EXPECT_EQ(node()->memo[3].substr(0, 14), "0000000010:42:");
    EXPECT_EQ(window->statusMessage(), "Done: New Child Bin->DumpText : " + node()->getName_());
}

TEST_F(NewNodesTest, CsvBecomesAnHTMLPageButBinaryNodesAreRefused) {
    MemoNode* parent = treeWithParent();
    parent->memo = {"a,,b"};
    ASSERT_EQ(window->UINewChildCSV2HTML(), 0);
    expectChildOf(parent);
    const Names& page = node()->memo;
    EXPECT_NE(std::find(page.begin(), page.end(), "<caption>p</caption>"), page.end());
    EXPECT_NE(std::find(page.begin(), page.end(), "    <td>&nbsp;</td>"), page.end());
    EXPECT_EQ(window->statusMessage(), "Done: New Child Executed : " + node()->getName_());

    window->setCurMemoNode_(parent);
    giveBytes(*parent, "xy");
    const int count = current()->count_();
    EXPECT_EQ(window->UINewChildCSV2HTML(), -1);
    EXPECT_EQ(window->statusMessage(), "Stop: Current MemoNode is binary.");
    EXPECT_EQ(current()->count_(), count);
}

TEST_F(NewNodesTest, DownloadChildrenCheckTheWebNodesPathFirst) {
    MemoNode* parent = treeWithParent();
    const int count = current()->count_();
    EXPECT_EQ(window->UINewChildDownloadeed(), -1);
    EXPECT_EQ(window->statusMessage(), "Current MemoNode does not have binary content.");

    parent->putField_("Content-Transfer-Encoding", "\"URL\"");
    EXPECT_EQ(window->UINewChildDownloadeed(), -1);
    EXPECT_EQ(window->statusMessage(), "ERROR: filename=\"\"");

    parent->putField_("Filename", "\"./missing.txt\"");
    EXPECT_EQ(window->UINewChildDownloadeed(), -1);
    EXPECT_EQ(window->statusMessage(), "ERROR: Not Found 10 " + dir + "/./missing.txt");

    parent->putField_("Filename", "\"" + path("absent.txt") + "\"");
    EXPECT_EQ(window->UINewChildDownloadeed(), -1);
    EXPECT_EQ(window->statusMessage(), "ERROR: Not Found 20 " + path("absent.txt"));
    EXPECT_EQ(current()->count_(), count);

    writeText("here.txt", "local line\r\n");
    parent->putField_("Filename", "\"./here.txt\"");
    ASSERT_EQ(window->UINewChildDownloadeed(), 0);
    expectChildOf(parent);
    EXPECT_EQ(node()->memo, (Names{"local line"}));
    EXPECT_EQ(node()->getField_("Filename"), "\"./here.txt\"");
    EXPECT_EQ(window->statusMessage(), "Done: New Child DownLoaded : " + node()->getName_());

    // A folder is there but cannot be loaded: no child is made.
    window->setCurMemoNode_(parent);
    parent->putField_("Filename", "\"" + dir + "/\"");
    const int withChild = current()->count_();
    EXPECT_EQ(window->UINewChildDownloadeed(), -1);
    EXPECT_EQ(window->statusMessage(), "ERROR: aMC=nil in UINewChildDownloadeed");
    EXPECT_EQ(current()->count_(), withChild);
    EXPECT_EQ(node(), parent);
}

}  // namespace
}  // namespace zel
